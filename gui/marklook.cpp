#include "gui/marklook.h"

#include "compare/changekind.h"
#include "config/cfgstore.h"
#include "model/zovnode.h"

#include <QCoreApplication>

namespace {

} // namespace

QVector<Textrun> splitMarked(const QString& text, const Textmarkers& markers)
{
    struct Pair {
        const QString& start;
        const QString& end;
        Textrun::Kind kind;
    };
    const Pair pairs[] = { { markers.delStart, markers.delEnd, Textrun::Deleted },
        { markers.insStart, markers.insEnd, Textrun::Inserted } };

    QVector<Textrun> runs;
    QString plain;
    qsizetype pos = 0;
    while (pos < text.size()) {
        // The nearest start marker that has its end marker after it.
        qsizetype best = -1;
        qsizetype bestEnd = -1;
        const Pair* found = nullptr;
        for (const Pair& pair : pairs) {
            if (pair.start.isEmpty() || pair.end.isEmpty())
                continue;
            const qsizetype at = text.indexOf(pair.start, pos);
            if (at < 0 || (found && at >= best))
                continue;
            const qsizetype end = text.indexOf(pair.end, at + pair.start.size());
            if (end < 0)
                continue;
            best = at;
            bestEnd = end;
            found = &pair;
        }
        if (!found) {
            plain += text.mid(pos);
            break;
        }
        plain += text.mid(pos, best - pos);
        if (!plain.isEmpty())
            runs.append({ plain, Textrun::Plain });
        plain.clear();
        const qsizetype inner = best + found->start.size();
        if (bestEnd > inner)
            runs.append({ text.mid(inner, bestEnd - inner), found->kind });
        pos = bestEnd + found->end.size();
    }
    if (!plain.isEmpty())
        runs.append({ plain, Textrun::Plain });
    return runs;
}

Marklook::Marklook()
{
    const Cfgstore& cfg = Cfgstore::instance();
    m_markers = { cfg.getString(QStringLiteral("txtinsstart")),
        cfg.getString(QStringLiteral("txtinsend")), cfg.getString(QStringLiteral("txtdelstart")),
        cfg.getString(QStringLiteral("txtdelend")) };
    m_textsDiffed = cfg.getBool(QStringLiteral("do_txtdiff"));
    m_attributesDiffed = cfg.getBool(QStringLiteral("cmp_attr_contents"));
}

int Marklook::kind(const QString& mark) const
{
    if (mark.isEmpty())
        return -1;
    const int classified = m_classifier.kind(mark);
    if (classified != 0)
        return classified;
    for (int k = complete_match; k <= element_deleted; ++k) {
        if (mark == m_classifier.text(k))
            return k;
    }
    return 0;
}

int Marklook::shownKind(int kind, bool shifted) const
{
    return ::shownKind(kind, shifted && !m_shiftedAsMoved);
}

int Marklook::inheritedKind(int kind)
{
    switch (kind) {
    case position_change:
    case attribute_change:
    case position_and_attribute_change:
        return complete_match;
    default:
        return kind;
    }
}

bool Marklook::isChange(int shown) { return shown > complete_match && shown <= element_deleted; }

QColor Marklook::colour(int shown)
{
    switch (icon(shown)) {
    case Icon::Red:
        return QColor(Qt::red);
    case Icon::Blue:
        return QColor(Qt::blue);
    case Icon::Light:
        return QColor(Qt::gray);
    case Icon::Purple:
        return QColor(Qt::magenta);
    case Icon::Normal:
        break;
    }
    return QColor();
}

bool Marklook::coloursAttributes(int shown)
{
    return colour(shown).isValid() && shown != content_change
        && shown != position_and_content_change;
}

Marklook::Icon Marklook::icon(int shown)
{
    switch (shown) {
    case content_change:
    case attribute_and_content_change:
    case position_and_content_change:
    case position_and_content_and_attribute_change:
        return Icon::Red;
    case position_change:
    case element_added:
        return Icon::Blue;
    case element_deleted:
        return Icon::Light;
    case attribute_change:
    case position_and_attribute_change:
        return Icon::Purple;
    default:
        return Icon::Normal;
    }
}

QVector<int> Marklook::countShown(const Zovnode* resultRoot) const
{
    QVector<int> counts(shiftedEntry + 1, 0);
    visitMarks(resultRoot, m_classifier, [&](const Zovnode* mark, int stored) {
        const bool keptOrder = mark->isShifted() && isPositionKind(stored);
        ++counts[shownKind(stored, keptOrder)];
        counts[shiftedEntry] += keptOrder ? 1 : 0;
    });
    return counts;
}

QString Marklook::label(int entry)
{
    static const char* const labels[] = {
        QT_TRANSLATE_NOOP("", "unchanged"),
        QT_TRANSLATE_NOOP("", "moved"),
        QT_TRANSLATE_NOOP("", "changed"),
        QT_TRANSLATE_NOOP("", "attributes"),
        QT_TRANSLATE_NOOP("", "changed+attr."),
        QT_TRANSLATE_NOOP("", "moved+changed"),
        QT_TRANSLATE_NOOP("", "moved+attr."),
        QT_TRANSLATE_NOOP("", "moved+changed+attr."),
        QT_TRANSLATE_NOOP("", "added"),
        QT_TRANSLATE_NOOP("", "deleted"),
        QT_TRANSLATE_NOOP("", "shifted"),
    };
    if (entry < complete_match || entry > shiftedEntry)
        return QString();
    return QCoreApplication::translate("", labels[entry - 1]);
}
