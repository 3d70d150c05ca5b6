#include "output/reportformat.h"

#include "compare/changekind.h"
#include "config/cfgstore.h"
#include "output/changereport.h"

#include <QJsonArray>

namespace {

// Characters of a text shown in a line, and of the inline difference.
constexpr qsizetype textWidth = 60;
constexpr qsizetype diffWidth = 80;
// A common start longer than this is cut down to its last few characters.
constexpr qsizetype keptContext = 10;
constexpr qsizetype longPrefix = 20;

const char* const red = "\x1b[31m";
const char* const green = "\x1b[32m";
const char* const blue = "\x1b[34m";
const char* const plain = "\x1b[0m";

QString coloured(const QString& text, const char* code, bool colour)
{
    return colour ? QLatin1String(code) + text + QLatin1String(plain) : text;
}

// The text in double quotes with quotes, backslashes and control characters escaped.
QString quoted(const QString& text)
{
    QString out;
    out.reserve(text.size() + 2);
    out += QLatin1Char('"');
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '"':
            out += QLatin1String("\\\"");
            break;
        case '\\':
            out += QLatin1String("\\\\");
            break;
        case '\n':
            out += QLatin1String("\\n");
            break;
        case '\t':
            out += QLatin1String("\\t");
            break;
        case '\r':
            out += QLatin1String("\\r");
            break;
        default:
            if (c.unicode() < 0x20 || c.unicode() == 0x7f)
                out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    out += QLatin1Char('"');
    return out;
}

// The part of text from start, at most width characters, quoted, with an ellipsis where text
// was cut.
QString shortened(const QString& text, qsizetype start, qsizetype width)
{
    start = qBound(qsizetype(0), start, text.size());
    const bool cutEnd = text.size() - start > width;
    QString shown = quoted(text.mid(start, width));
    if (start > 0)
        shown.prepend(QStringLiteral("\u2026"));
    if (cutEnd)
        shown += QStringLiteral("\u2026");
    return shown;
}

// Where two texts start to differ, less a little context; 0 when they differ early.
qsizetype commonStart(const QString& a, const QString& b)
{
    const qsizetype limit = qMin(a.size(), b.size());
    qsizetype p = 0;
    while (p < limit && a.at(p) == b.at(p))
        ++p;
    return p > longPrefix ? p - keptContext : 0;
}

qsizetype firstMarker(const QString& text)
{
    const Cfgstore& cfg = Cfgstore::instance();
    qsizetype first = -1;
    for (const char* key : { "txtinsstart", "txtdelstart" }) {
        const QString marker = cfg.getString(QLatin1String(key));
        const qsizetype at = marker.isEmpty() ? -1 : text.indexOf(marker);
        if (at >= 0 && (first < 0 || at < first))
            first = at;
    }
    return first > longPrefix ? first - keptContext : 0;
}

QString attributeDetails(const Changerecord& record, bool colour)
{
    QStringList parts;
    for (const Attributedifference& d : record.attributes) {
        switch (d.change) {
        case Attributedifference::Added:
            parts << coloured(QStringLiteral("+@") + d.name + QLatin1Char('=')
                    + shortened(d.newValue, 0, textWidth),
                green, colour);
            break;
        case Attributedifference::Removed:
            parts << coloured(QStringLiteral("-@") + d.name + QLatin1Char('=')
                    + shortened(d.oldValue, 0, textWidth),
                red, colour);
            break;
        case Attributedifference::Changed: {
            const qsizetype start = commonStart(d.oldValue, d.newValue);
            parts << QLatin1Char('@') + d.name + QStringLiteral(": ")
                    + coloured(shortened(d.oldValue, start, textWidth), red, colour)
                    + QStringLiteral(" \u2192 ")
                    + coloured(shortened(d.newValue, start, textWidth), green, colour);
            break;
        }
        }
    }
    if (record.attributeOrderChanged)
        parts << QStringLiteral("attribute order changed");
    return parts.join(QLatin1String(", "));
}

QString textDetails(const Changerecord& record, bool colour)
{
    if (record.pathOld.isEmpty())
        return coloured(shortened(record.newText, 0, textWidth), green, colour);
    if (record.pathNew.isEmpty())
        return coloured(shortened(record.oldText, 0, textWidth), red, colour);
    const qsizetype start = commonStart(record.oldText, record.newText);
    QString details = coloured(shortened(record.oldText, start, textWidth), red, colour)
        + QStringLiteral(" \u2192 ")
        + coloured(shortened(record.newText, start, textWidth), green, colour);
    if (!record.inlineDiff.isEmpty())
        details += QStringLiteral(", inline: ")
            + shortened(record.inlineDiff, firstMarker(record.inlineDiff), diffWidth);
    return details;
}

QString nodeName(int node)
{
    switch (node) {
    case Text:
        return QStringLiteral("text");
    case Cdata:
        return QStringLiteral("cdata");
    case Comment:
        return QStringLiteral("comment");
    case Pi:
        return QStringLiteral("processing-instruction");
    default:
        return QStringLiteral("element");
    }
}

QJsonValue pathValue(const QString& path)
{
    return path.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(path);
}

// Keys go in in sorted order, which the object keeps anyway, so each insert appends.
QJsonObject changeJson(const Changerecord& record)
{
    QJsonObject change;
    if (!record.attributes.isEmpty() || record.attributeOrderChanged) {
        QJsonArray attributes;
        for (const Attributedifference& d : record.attributes) {
            static const char* const changes[] = { "added", "removed", "changed" };
            QJsonObject attribute;
            attribute.insert(QLatin1String("change"), QLatin1String(changes[d.change]));
            attribute.insert(QLatin1String("name"), d.name);
            if (d.change != Attributedifference::Removed)
                attribute.insert(QLatin1String("new"), d.newValue);
            if (d.change != Attributedifference::Added)
                attribute.insert(QLatin1String("old"), d.oldValue);
            attributes.append(attribute);
        }
        change.insert(QLatin1String("attribute_order_changed"), record.attributeOrderChanged);
        change.insert(QLatin1String("attributes"), attributes);
    }
    change.insert(QLatin1String("kind"), changekindKey(record.kind));
    const bool positional = isPositionKind(record.kind);
    change.insert(QLatin1String("moved"), positional && !record.shifted);
    change.insert(QLatin1String("node"), nodeName(record.node));
    change.insert(QLatin1String("path_new"), pathValue(record.pathNew));
    change.insert(QLatin1String("path_old"), pathValue(record.pathOld));
    if (positional)
        change.insert(QLatin1String("shift"), record.shift);
    change.insert(QLatin1String("shifted"), positional && record.shifted);
    if (record.hasText) {
        if (!record.inlineDiff.isEmpty())
            change.insert(QLatin1String("text_diff"), record.inlineDiff);
        if (!record.pathNew.isEmpty())
            change.insert(QLatin1String("text_new"), record.newText);
        if (!record.pathOld.isEmpty())
            change.insert(QLatin1String("text_old"), record.oldText);
    }
    return change;
}

} // namespace

QString kindLabel(int kind)
{
    const QString text = Cfgstore::instance().getString(changekindKey(kind));
    return text.isEmpty() ? changekindKey(kind) : text;
}

QString changeLine(const Changerecord& record, bool colour)
{
    const int shown = shownKind(record.kind, record.shifted);
    QString label;
    const char* code = blue;
    if (shown == complete_match) {
        label = record.shifted ? QStringLiteral("shifted") : kindLabel(shown);
        code = nullptr;
    } else {
        label = kindLabel(shown);
        if (shown == element_added)
            code = green;
        else if (shown == element_deleted)
            code = red;
    }
    QString line = code ? coloured(label, code, colour) : label;
    line += QStringLiteral(": ") + (record.pathNew.isEmpty() ? record.pathOld : record.pathNew);
    if (!record.pathNew.isEmpty() && !record.pathOld.isEmpty() && record.pathOld != record.pathNew)
        line += QStringLiteral(" (was ") + record.pathOld + QLatin1Char(')');
    const QString details
        = record.hasText ? textDetails(record, colour) : attributeDetails(record, colour);
    if (!details.isEmpty())
        line += QLatin1Char(' ') + details;
    return line + QLatin1Char('\n');
}

QString reportText(const Changereport& report, bool colour)
{
    QString text;
    for (const Changerecord& record : report.changes)
        text += changeLine(record, colour);
    return text;
}

QJsonObject reportJson(const Changereport& report, const QString& fileOld, const QString& fileNew)
{
    const Cfgstore& cfg = Cfgstore::instance();
    QJsonObject settings;
    for (const char* key : { "use_hashmode", "enable_shiftmode", "enable_contentmode",
             "normalize_spaces", "ignore_attributes", "ignore_attribute_order", "cmp_attr_contents",
             "do_txtdiff", "txtdiff_casesensitive" })
        settings.insert(QLatin1String(key), cfg.getBool(QLatin1String(key)));
    settings.insert(QLatin1String("exclude_from_contentmode"),
        cfg.getString(QLatin1String("exclude_from_contentmode")));

    QJsonObject counts;
    int positions = 0;
    for (int kind = complete_match; kind <= element_deleted; ++kind) {
        const int count = report.counts.value(kind);
        counts.insert(changekindKey(kind), count);
        positions += isPositionKind(kind) ? count : 0;
    }
    counts.insert(QLatin1String("moved"), positions - report.shifted);
    counts.insert(QLatin1String("shifted"), report.shifted);

    QJsonArray changes;
    for (const Changerecord& record : report.changes)
        changes.append(changeJson(record));

    QJsonObject document;
    document.insert(QLatin1String("file_old"), fileOld);
    document.insert(QLatin1String("file_new"), fileNew);
    document.insert(QLatin1String("settings"), settings);
    document.insert(QLatin1String("equal"), report.equal);
    document.insert(QLatin1String("counts"), counts);
    document.insert(QLatin1String("changes"), changes);
    return document;
}
