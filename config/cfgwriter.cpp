#include "config/cfgwriter.h"

#include "config/cfgkeys.h"
#include "output/savefile.h"
#include "run/logger.h"

#include <QIODevice>
#include <algorithm>

namespace {

// Characters XML 1.0 cannot carry even as a reference; they are left out of the file so it stays
// well-formed.
bool isXmlChar(char16_t c)
{
    return c >= 0x20 ? (c != 0xFFFE && c != 0xFFFF) : (c == 0x09 || c == 0x0A || c == 0x0D);
}

// Escapes text for element content (attribute false) or a double-quoted attribute value.
// Besides "&" and "<" (and '"' in attributes): ">" closing "]]", which content may not contain,
// a carriage return, which a reader would turn into a line feed, and in attributes tab and line
// feed, which a reader would turn into blanks. Content of white space only is written as
// references.
QString escaped(const QString& text, bool attribute)
{
    // A reader drops element content made of white space only; as references it stays text.
    const bool blankContent = !attribute && !text.isEmpty()
        && std::all_of(text.cbegin(), text.cend(),
            [](QChar c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; });
    if (blankContent) {
        QString out;
        for (const QChar c : text)
            out += QLatin1String("&#") + QString::number(c.unicode()) + QLatin1Char(';');
        return out;
    }
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        switch (c) {
        case u'&':
            out += QLatin1String("&amp;");
            break;
        case u'<':
            out += QLatin1String("&lt;");
            break;
        case u'>':
            if (i >= 2 && text.at(i - 1) == u']' && text.at(i - 2) == u']')
                out += QLatin1String("&gt;");
            else
                out += QChar(c);
            break;
        case u'"':
            out += attribute ? QLatin1String("&quot;") : QLatin1String("\"");
            break;
        case u'\r':
            out += QLatin1String("&#13;");
            break;
        case u'\t':
        case u'\n':
            if (attribute)
                out += QLatin1String("&#") + QString::number(int(c)) + QLatin1Char(';');
            else
                out += QChar(c);
            break;
        default:
            if (isXmlChar(c))
                out += QChar(c);
            break;
        }
    }
    return out;
}

QString yesNo(bool value) { return value ? QStringLiteral("yes") : QStringLiteral("no"); }

void logOpenFailure(const QString& path)
{
    Logger::instance().write(
        QStringLiteral("Error while trying to open configuration file ") + path, Logger::Error,
        Logger::FileAndWindow);
}

} // namespace

QString configFileText(const QStringList& values, const QList<Anchor>& anchors)
{
    QString text = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                  "<zov_cfg>\n"
                                  "  <parameters>\n");
    const QVector<Cfgkey>& keys = cfgKeys();
    for (qsizetype i = 0; i < keys.size(); ++i) {
        const QString key = QString::fromLatin1(keys.at(i).key);
        text += QLatin1String("    <") + key + QLatin1Char('>') + escaped(values.value(i), false)
            + QLatin1String("</") + key + QLatin1String(">\n");
    }
    text += QLatin1String("  </parameters>\n  <anchors>\n");
    for (const Anchor& anchor : anchors) {
        text += QLatin1String("    <zovanchor name=\"") + escaped(anchor.name, true)
            + QLatin1String("\" absolute=\"") + yesNo(anchor.absolute)
            + QLatin1String("\" normalize-spaces=\"") + yesNo(anchor.normalizeSpaces)
            + QLatin1String("\">\n      <path>") + escaped(anchor.path, false)
            + QLatin1String("</path>\n    </zovanchor>\n");
    }
    text += QLatin1String("  </anchors>\n</zov_cfg>\n");
    return text;
}

int writeConfigFile(const QString& path, const QStringList& values, const QList<Anchor>& anchors)
{
    const QByteArray bytes = configFileText(values, anchors).toUtf8();
    // The new text replaces the old file only once it is completely on disk.
    QString reason;
    const Saveresult saved = saveWhole(
        path,
        [&bytes](QIODevice* device) {
            return device->write(bytes) == bytes.size() ? QString() : device->errorString();
        },
        &reason);
    if (saved != Saveresult::Saved) {
        logOpenFailure(path);
        return -1020;
    }
    return 0;
}
