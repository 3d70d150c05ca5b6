#include "model/zovtree.h"

#include "config/cfgstore.h"
#include "output/resultwriter.h"

#include <QByteArray>
#include <QIODevice>
#include <QVector>

#include <cstring>

// Writes XML text exactly as the toolkit's stream writer does for the calls made here (same
// escaping, same auto-formatting), encoded as UTF-8 straight from the stored texts into a
// buffer that goes to the device in large pieces. The toolkit's writer copies and escapes every
// text one character at a time and encodes it in a second pass; this one does both in one.
class Zovtree::Textsink {
public:
    explicit Textsink(QIODevice* device)
        : m_device(device)
        , m_buffer(2 * pieceSize, Qt::Uninitialized)
    {
    }

    void setAutoFormatting(bool on) { m_autoFormatting = on; }
    bool autoFormatting() const { return m_autoFormatting; }
    void setIndent(int spaces) { m_indent = QByteArray(spaces, ' '); }

    // Auto-formatting opens the document element on a new line even at the start of the
    // output; the caller decides what precedes it, so that line feed is dropped.
    void dropLeadingLineFeed() { m_dropLeadingLineFeed = true; }

    void startElement(const QString& name)
    {
        if (!finishStartElement(false) && m_autoFormatting)
            indent(m_depth);
        ++m_depth;
        append('<');
        appendUtf8(name);
        m_inStartElement = m_lastWasStartElement = true;
    }

    void attribute(QStringView name, QStringView value)
    {
        append(' ');
        appendUtf8(name);
        append("=\"");
        appendUtf8(value, Attribute);
        append('"');
    }

    void endElement(const QString& name)
    {
        if (m_depth == 0)
            return;
        if (m_inStartElement) {
            append("/>");
            m_lastWasStartElement = m_inStartElement = false;
            --m_depth;
            return;
        }
        if (!finishStartElement(false) && !m_lastWasStartElement && m_autoFormatting)
            indent(m_depth - 1);
        m_lastWasStartElement = false;
        --m_depth;
        append("</");
        appendUtf8(name);
        append('>');
    }

    void characters(const QString& text)
    {
        finishStartElement(true);
        appendUtf8(text, Content);
    }

    void comment(const QString& text)
    {
        if (!finishStartElement(false) && m_autoFormatting)
            indent(m_depth);
        append("<!--");
        appendUtf8(text);
        append("-->");
        m_inStartElement = m_lastWasStartElement = false;
    }

    void cdata(const QString& text)
    {
        finishStartElement(true);
        append("<![CDATA[");
        if (text.contains(QLatin1String("]]>")))
            appendUtf8(
                QString(text).replace(QLatin1String("]]>"), QLatin1String("]]]]><![CDATA[>")));
        else
            appendUtf8(text);
        append("]]>");
    }

    void processingInstruction(const QString& target, const QString& data)
    {
        if (!finishStartElement(false) && m_autoFormatting)
            indent(m_depth);
        append("<?");
        appendUtf8(target);
        // A null data (an unset mark text) is written without the blank, an empty one with it.
        if (!data.isNull()) {
            append(' ');
            appendUtf8(data);
        }
        append("?>");
    }

    void lineFeed() { append('\n'); }

    // Sends the gathered bytes once they have reached the piece size, or at once when final.
    void drain(bool final)
    {
        if (m_size < pieceSize && !final)
            return;
        const char* data = m_buffer.constData();
        qsizetype size = m_size;
        if (m_dropLeadingLineFeed && size > 0 && data[0] == '\n') {
            ++data;
            --size;
        }
        m_dropLeadingLineFeed = false;
        m_device->write(data, size);
        m_size = 0;
    }

private:
    static constexpr qsizetype pieceSize = 1 << 15;

    enum Escaping { Verbatim, Content, Attribute };

    // Room for n more bytes; the buffer grows only for a long indent.
    char* room(qsizetype n)
    {
        if (m_size + n > m_buffer.size())
            m_buffer.resize(qMax(m_buffer.size() * 2, m_size + n));
        return m_buffer.data() + m_size;
    }

    void append(char c)
    {
        *room(1) = c;
        ++m_size;
    }

    void append(const char* text, qsizetype n)
    {
        std::memcpy(room(n), text, size_t(n));
        m_size += n;
    }

    template <size_t N> void append(const char (&literal)[N]) { append(literal, N - 1); }

    // UTF-8 of text, markup escaped as escaping says. A surrogate without its other half (no
    // parsed document holds one) becomes U+FFFD, as the toolkit's encoder writes it. Long texts
    // go out in slices, so the buffer stays at about a piece.
    void appendUtf8(QStringView text, Escaping escaping = Verbatim)
    {
        constexpr qsizetype slice = 1 << 12;
        const char16_t* const units = text.utf16();
        const qsizetype n = text.size();
        qsizetype i = 0;
        while (i < n) {
            const qsizetype end = qMin(n, i + slice);
            // "&quot;" is the longest a unit grows to; a slice may end inside a pair.
            char* out = room(6 * (end - i + 1));
            char* const start = out;
            for (; i < end; ++i) {
                if (escaping == Verbatim || !needsEscape(units[i]))
                    out = encode(units, n, i, out);
                else
                    out = escape(units[i], escaping == Attribute, out);
            }
            m_size += out - start;
            drain(false);
        }
    }

    // Writes the character at units[i] and moves i past it; returns the end of what it wrote.
    static char* encode(const char16_t* units, qsizetype n, qsizetype& i, char* out)
    {
        char32_t c = units[i];
        if (c < 0x80) {
            *out++ = char(c);
            return out;
        }
        if (c < 0x800) {
            *out++ = char(0xc0 | (c >> 6));
            *out++ = char(0x80 | (c & 0x3f));
            return out;
        }
        if (QChar::isSurrogate(c)) {
            if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(units[i + 1])) {
                c = QChar::surrogateToUcs4(char16_t(c), units[++i]);
                *out++ = char(0xf0 | (c >> 18));
                *out++ = char(0x80 | ((c >> 12) & 0x3f));
                *out++ = char(0x80 | ((c >> 6) & 0x3f));
                *out++ = char(0x80 | (c & 0x3f));
                return out;
            }
            c = QChar::ReplacementCharacter;
        }
        *out++ = char(0xe0 | (c >> 12));
        *out++ = char(0x80 | ((c >> 6) & 0x3f));
        *out++ = char(0x80 | (c & 0x3f));
        return out;
    }

    // Closes a pending start tag; returns whether content was written since the last tag.
    bool finishStartElement(bool contents)
    {
        const bool hadSomethingWritten = m_wroteSomething;
        m_wroteSomething = contents;
        if (!m_inStartElement)
            return hadSomethingWritten;
        append('>');
        m_inStartElement = false;
        return hadSomethingWritten;
    }

    void indent(int level)
    {
        append('\n');
        for (int i = level; i > 0; --i)
            append(m_indent.constData(), m_indent.size());
    }

    static bool needsEscape(char16_t c)
    {
        return c < 0x20 || c == u'<' || c == u'>' || c == u'&' || c == u'"' || c >= 0xfffe;
    }

    // Markup characters become references; characters XML cannot hold (controls other than
    // tab, line feed and carriage return, U+FFFE, U+FFFF) are dropped. In attributes the three
    // white-space controls become character references too.
    static char* escape(char16_t c, bool inAttribute, char* out)
    {
        const auto put = [out](auto& reference) {
            constexpr size_t size = sizeof(reference) - 1;
            std::memcpy(out, reference, size);
            return out + size;
        };
        switch (c) {
        case u'<':
            return put("&lt;");
        case u'>':
            return put("&gt;");
        case u'&':
            return put("&amp;");
        case u'"':
            return put("&quot;");
        case u'\t':
            return inAttribute ? put("&#9;") : put("\t");
        case u'\n':
            return inAttribute ? put("&#10;") : put("\n");
        case u'\r':
            return inAttribute ? put("&#13;") : put("\r");
        default:
            return out;
        }
    }

    QIODevice* m_device;
    // m_size bytes of it are written; the rest is room.
    QByteArray m_buffer;
    qsizetype m_size = 0;
    QByteArray m_indent = QByteArrayLiteral("    ");
    int m_depth = 0;
    bool m_autoFormatting = false;
    bool m_inStartElement = false;
    bool m_lastWasStartElement = false;
    bool m_wroteSomething = false;
    bool m_dropLeadingLineFeed = false;
};

QString Zovtree::write(QIODevice* device)
{
    if (!m_root)
        return QString();
    // The writer always produces UTF-8; the result file's declaration is made to say so.
    Textsink sink(device);
    const Cfgstore& cfg = Cfgstore::instance();
    const bool formatted = cfg.getInt(QStringLiteral("savemode")) == 1;
    if (formatted) {
        sink.dropLeadingLineFeed();
        sink.setAutoFormatting(true);
        const int indent = cfg.getInt(QStringLiteral("element_indent"));
        if (indent > 0)
            sink.setIndent(indent);
    }
    writeNode(m_root, sink);
    // A human-readable file ends its last line like any text file.
    if (formatted)
        sink.lineFeed();
    sink.drain(true);
    return QString();
}

void Zovtree::writeNode(const Zovnode* element, Textsink& sink)
{
    // Documents can nest far deeper than the call stack allows, so open elements are kept
    // on an explicit stack.
    // Kept to 16 bytes: a chain of a million elements holds a frame for each.
    struct Frame {
        const Zovnode* element;
        qint32 next;
        bool skipNext;
    };
    // Auto-formatting indents every line by its depth, which makes the file grow with the
    // square of the nesting; below this depth the content is written without added white space.
    const qsizetype formattedDepth = 100;
    const bool formatting = sink.autoFormatting();
    const Markfilter filter;
    const QString zovTarget = QStringLiteral("ZOV");
    QVector<Frame> open;

    const auto startElement = [&](const Zovnode* node) {
        sink.startElement(node->text());
        if (node->hasAttributes()) {
            const int count = node->attributeStringCount();
            for (int i = 0; i + 1 < count; i += 2)
                sink.attribute(node->attributeView(i), node->attributeView(i + 1));
        }
        open.append(Frame { node, 0, false });
        if (formatting && open.size() == formattedDepth)
            sink.setAutoFormatting(false);
    };

    startElement(element);
    while (!open.isEmpty()) {
        sink.drain(false);
        Frame& frame = open.last();
        const Childspan children = frame.element->children();
        if (!children || frame.next >= children->size()) {
            sink.endElement(frame.element->text());
            if (formatting && open.size() == formattedDepth)
                sink.setAutoFormatting(true);
            open.removeLast();
            continue;
        }
        const Zovnode* child = children->at(frame.next++);
        if (frame.skipNext) {
            frame.skipNext = false;
            continue;
        }
        switch (child->kind()) {
        case Text:
            sink.characters(child->text());
            break;
        case Comment:
            sink.comment(child->text());
            break;
        case Cdata:
            sink.cdata(child->text());
            break;
        case Pi:
            if (child->text() == zovTarget) {
                const QString& data = child->value();
                if (filter.written(data))
                    sink.processingInstruction(zovTarget, data);
                frame.skipNext = filter.skipsNext(data);
            } else {
                sink.processingInstruction(child->text(), child->value());
            }
            break;
        case Element:
        case Attrelement:
            startElement(child); // invalidates frame
            break;
        }
    }
}
