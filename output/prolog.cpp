#include "output/prolog.h"

#include <QIODevice>
#include <QRegularExpression>
#include <QStringDecoder>

namespace {

// The encoding a byte-order mark or the first characters of "<?xml" reveal; empty when the
// document starts in an ASCII-compatible encoding.
QByteArray encodingFromStart(const QByteArray& head)
{
    const auto starts = [&head](std::initializer_list<unsigned char> bytes) {
        if (head.size() < qsizetype(bytes.size()))
            return false;
        qsizetype i = 0;
        for (const unsigned char b : bytes) {
            if (static_cast<unsigned char>(head.at(i++)) != b)
                return false;
        }
        return true;
    };
    if (starts({ 0x00, 0x00, 0xFE, 0xFF }) || starts({ 0x00, 0x00, 0x00, 0x3C }))
        return "UTF-32BE";
    if (starts({ 0xFF, 0xFE, 0x00, 0x00 }) || starts({ 0x3C, 0x00, 0x00, 0x00 }))
        return "UTF-32LE";
    if (starts({ 0xFE, 0xFF }) || starts({ 0x00, 0x3C }))
        return "UTF-16BE";
    if (starts({ 0xFF, 0xFE }) || starts({ 0x3C, 0x00 }))
        return "UTF-16LE";
    if (starts({ 0xEF, 0xBB, 0xBF }))
        return "UTF-8";
    return QByteArray();
}

// The encoding named in an XML declaration at the start of an ASCII-compatible document.
QByteArray declaredEncoding(const QByteArray& head)
{
    if (!head.startsWith("<?xml"))
        return QByteArray();
    const qsizetype end = head.indexOf("?>");
    const QByteArray declaration = end < 0 ? head : head.left(end);
    static const QRegularExpression pattern(
        QStringLiteral("\\sencoding\\s*=\\s*([\"'])([A-Za-z][A-Za-z0-9._-]*)\\1"));
    const QRegularExpressionMatch match = pattern.match(QString::fromLatin1(declaration));
    return match.hasMatch() ? match.captured(2).toLatin1() : QByteArray();
}

// Decodes the device chunk by chunk, only as far as the scan asks for.
class Prologscanner {
public:
    Prologscanner(QIODevice* device, const QByteArray& encoding)
        : m_device(device)
        , m_decoder(encoding.constData())
    {
        if (!m_decoder.isValid())
            m_decoder = QStringDecoder(QStringDecoder::Utf8);
    }

    QString scan()
    {
        qsizetype i = 0;
        while (available(i + 1)) {
            if (m_text.at(i) != QLatin1Char('<')) {
                ++i;
                continue;
            }
            if (!available(i + 2))
                break;
            const QChar next = m_text.at(i + 1);
            if (next == QLatin1Char('?')) {
                i = skipPast(QStringLiteral("?>"), i + 2);
            } else if (next == QLatin1Char('!')) {
                i = startsAt(QStringLiteral("<!--"), i) ? skipPast(QStringLiteral("-->"), i + 4)
                                                        : skipDeclaration(i + 2);
            } else {
                return m_text.left(i);
            }
        }
        return m_text;
    }

private:
    // Whether the text holds at least n characters, decoding more as needed.
    bool available(qsizetype n)
    {
        while (m_text.size() < n) {
            if (m_device->atEnd())
                return false;
            const QByteArray chunk = m_device->read(16384);
            if (chunk.isEmpty())
                return false;
            m_text += m_decoder.decode(chunk);
        }
        return true;
    }

    bool startsAt(const QString& needle, qsizetype at)
    {
        return available(at + needle.size())
            && QStringView(m_text).mid(at, needle.size()) == needle;
    }

    // The position after the next occurrence of needle, or the end of the text.
    qsizetype skipPast(const QString& needle, qsizetype from)
    {
        for (;;) {
            const qsizetype found = m_text.indexOf(needle, from);
            if (found >= 0)
                return found + needle.size();
            const qsizetype size = m_text.size();
            if (!available(size + 1))
                return m_text.size();
            from = qMax(from, size - needle.size() + 1);
        }
    }

    // The position after the ">" that closes a "<!" declaration such as DOCTYPE, stepping over
    // quoted literals, comments and processing instructions of an internal subset.
    qsizetype skipDeclaration(qsizetype i)
    {
        int brackets = 0;
        while (available(i + 1)) {
            const QChar c = m_text.at(i);
            if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
                i = skipPast(QString(c), i + 1);
            } else if (startsAt(QStringLiteral("<!--"), i)) {
                i = skipPast(QStringLiteral("-->"), i + 4);
            } else if (startsAt(QStringLiteral("<?"), i)) {
                i = skipPast(QStringLiteral("?>"), i + 2);
            } else if (c == QLatin1Char('[')) {
                ++brackets;
                ++i;
            } else if (c == QLatin1Char(']')) {
                --brackets;
                ++i;
            } else if (c == QLatin1Char('>') && brackets <= 0) {
                return i + 1;
            } else {
                ++i;
            }
        }
        return m_text.size();
    }

    QIODevice* m_device;
    QStringDecoder m_decoder;
    QString m_text;
};

} // namespace

QString readPrologText(QIODevice* device)
{
    const QByteArray head = device->peek(1024);
    // A byte-order mark outranks the declaration.
    QByteArray encoding = encodingFromStart(head);
    if (encoding.isEmpty())
        encoding = declaredEncoding(head);
    if (encoding.isEmpty())
        encoding = "UTF-8";
    return Prologscanner(device, encoding).scan();
}

QString declareUtf8(const QString& prolog)
{
    if (!prolog.startsWith(QLatin1String("<?xml")))
        return prolog;
    const qsizetype end = prolog.indexOf(QLatin1String("?>"));
    if (end < 0)
        return prolog;
    static const QRegularExpression pattern(
        QStringLiteral("(\\sencoding\\s*=\\s*)([\"'])[^\"']*\\2"));
    QString declaration = prolog.left(end);
    declaration.replace(pattern, QStringLiteral("\\1\\2UTF-8\\2"));
    return declaration + prolog.mid(end);
}
