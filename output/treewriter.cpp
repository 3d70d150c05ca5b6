#include "model/zovtree.h"

#include "config/cfgstore.h"
#include "output/resultwriter.h"

#include <QIODevice>
#include <QStringEncoder>
#include <QVector>

// Writes XML text into a buffer exactly as the toolkit's stream writer does for the calls made
// here (same escaping, same auto-formatting), and hands the device UTF-8 in large pieces. The
// toolkit's writer copies and escapes every text one character at a time; this one copies runs
// that need no escaping at once, which makes writing several times faster.
class Zovtree::Textsink {
public:
    explicit Textsink(QIODevice* device)
        : m_device(device)
    {
    }

    void setAutoFormatting(bool on) { m_autoFormatting = on; }
    bool autoFormatting() const { return m_autoFormatting; }
    void setIndent(int spaces) { m_indent = QString(spaces, QLatin1Char(' ')); }

    // Auto-formatting opens the document element on a new line even at the start of the
    // output; the caller decides what precedes it, so that line feed is dropped.
    void dropLeadingLineFeed() { m_dropLeadingLineFeed = true; }

    void startElement(const QString& name)
    {
        if (!finishStartElement(false) && m_autoFormatting)
            indent(m_depth);
        ++m_depth;
        m_buffer += QLatin1Char('<');
        m_buffer += name;
        m_inStartElement = m_lastWasStartElement = true;
    }

    void attribute(QStringView name, QStringView value)
    {
        m_buffer += QLatin1Char(' ');
        m_buffer += name;
        m_buffer += QLatin1String("=\"");
        appendEscaped(value, true);
        m_buffer += QLatin1Char('"');
    }

    void endElement(const QString& name)
    {
        if (m_depth == 0)
            return;
        if (m_inStartElement) {
            m_buffer += QLatin1String("/>");
            m_lastWasStartElement = m_inStartElement = false;
            --m_depth;
            return;
        }
        if (!finishStartElement(false) && !m_lastWasStartElement && m_autoFormatting)
            indent(m_depth - 1);
        m_lastWasStartElement = false;
        --m_depth;
        m_buffer += QLatin1String("</");
        m_buffer += name;
        m_buffer += QLatin1Char('>');
    }

    void characters(const QString& text)
    {
        finishStartElement(true);
        appendEscaped(text, false);
    }

    void comment(const QString& text)
    {
        if (!finishStartElement(false) && m_autoFormatting)
            indent(m_depth);
        m_buffer += QLatin1String("<!--");
        m_buffer += text;
        m_buffer += QLatin1String("-->");
        m_inStartElement = m_lastWasStartElement = false;
    }

    void cdata(const QString& text)
    {
        finishStartElement(true);
        m_buffer += QLatin1String("<![CDATA[");
        if (text.contains(QLatin1String("]]>")))
            m_buffer
                += QString(text).replace(QLatin1String("]]>"), QLatin1String("]]]]><![CDATA[>"));
        else
            m_buffer += text;
        m_buffer += QLatin1String("]]>");
    }

    void processingInstruction(const QString& target, const QString& data)
    {
        if (!finishStartElement(false) && m_autoFormatting)
            indent(m_depth);
        m_buffer += QLatin1String("<?");
        m_buffer += target;
        // A null data (an unset mark text) is written without the blank, an empty one with it.
        if (!data.isNull()) {
            m_buffer += QLatin1Char(' ');
            m_buffer += data;
        }
        m_buffer += QLatin1String("?>");
    }

    void lineFeed() { m_buffer += QLatin1Char('\n'); }

    // Sends the gathered text once it has reached the piece size, or at once when final.
    void drain(bool final)
    {
        if (m_buffer.size() < pieceSize && !final)
            return;
        if (m_dropLeadingLineFeed && m_buffer.startsWith(QLatin1Char('\n')))
            m_buffer.remove(0, 1);
        m_dropLeadingLineFeed = false;
        m_device->write(m_encoder.encode(m_buffer));
        m_buffer.resize(0);
    }

private:
    static constexpr qsizetype pieceSize = 1 << 15;

    // Closes a pending start tag; returns whether content was written since the last tag.
    bool finishStartElement(bool contents)
    {
        const bool hadSomethingWritten = m_wroteSomething;
        m_wroteSomething = contents;
        if (!m_inStartElement)
            return hadSomethingWritten;
        m_buffer += QLatin1Char('>');
        m_inStartElement = false;
        return hadSomethingWritten;
    }

    void indent(int level)
    {
        m_buffer += QLatin1Char('\n');
        for (int i = level; i > 0; --i)
            m_buffer += m_indent;
    }

    static bool needsEscape(char16_t c)
    {
        return c < 0x20 || c == u'<' || c == u'>' || c == u'&' || c == u'"' || c >= 0xfffe;
    }

    // Markup characters become references; characters XML cannot hold (controls other than
    // tab, line feed and carriage return, U+FFFE, U+FFFF) are dropped. In attributes the three
    // white-space controls become character references too.
    void appendEscaped(QStringView text, bool escapeWhitespace)
    {
        const char16_t* const begin = text.utf16();
        const qsizetype size = text.size();
        qsizetype plain = 0;
        for (qsizetype i = 0; i < size; ++i) {
            const char16_t c = begin[i];
            if (!needsEscape(c))
                continue;
            m_buffer += QStringView(begin + plain, i - plain);
            plain = i + 1;
            switch (c) {
            case u'<':
                m_buffer += QLatin1String("&lt;");
                break;
            case u'>':
                m_buffer += QLatin1String("&gt;");
                break;
            case u'&':
                m_buffer += QLatin1String("&amp;");
                break;
            case u'"':
                m_buffer += QLatin1String("&quot;");
                break;
            case u'\t':
                m_buffer += escapeWhitespace ? QLatin1String("&#9;") : QLatin1String("\t");
                break;
            case u'\n':
                m_buffer += escapeWhitespace ? QLatin1String("&#10;") : QLatin1String("\n");
                break;
            case u'\r':
                m_buffer += escapeWhitespace ? QLatin1String("&#13;") : QLatin1String("\r");
                break;
            default:
                break;
            }
        }
        m_buffer += QStringView(begin + plain, size - plain);
    }

    QIODevice* m_device;
    QString m_buffer;
    QStringEncoder m_encoder { QStringEncoder::Utf8 };
    QString m_indent = QStringLiteral("    ");
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
