#include "model/zovtree.h"

#include "config/cfgstore.h"
#include "output/resultwriter.h"

#include <QStringEncoder>
#include <QVector>
#include <QXmlStreamWriter>
#include <memory>

// Gathers the writer's text and hands it to the device as UTF-8 in large pieces: a device
// write and an encoding per token would cost more than producing the XML.
class Zovtree::Textsink {
public:
    explicit Textsink(QIODevice* device)
        : m_device(device)
    {
    }

    QString* buffer() { return &m_buffer; }

    // Auto-formatting opens the document element on a new line even at the start of the
    // output; the caller decides what precedes it, so that line feed is dropped.
    void dropLeadingLineFeed() { m_dropLeadingLineFeed = true; }

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

    QIODevice* m_device;
    QString m_buffer;
    QStringEncoder m_encoder { QStringEncoder::Utf8 };
    bool m_dropLeadingLineFeed = false;
};

QString Zovtree::write(QIODevice* device)
{
    if (!m_root)
        return QString();
    // The writer always produces UTF-8; the result file's declaration is made to say so.
    Textsink sink(device);
    const auto writer = std::make_unique<QXmlStreamWriter>(sink.buffer());
    m_writer = writer.get();
    const Cfgstore& cfg = Cfgstore::instance();
    const bool formatted = cfg.getInt(QStringLiteral("savemode")) == 1;
    if (formatted) {
        sink.dropLeadingLineFeed();
        m_writer->setAutoFormatting(true);
        const int indent = cfg.getInt(QStringLiteral("element_indent"));
        if (indent > 0)
            m_writer->setAutoFormattingIndent(indent);
    } else {
        m_writer->setAutoFormatting(false);
    }
    writeNode(m_root, sink);
    // A human-readable file ends its last line like any text file.
    if (formatted)
        sink.buffer()->append(QLatin1Char('\n'));
    sink.drain(true);
    m_writer = nullptr;
    return QString();
}

void Zovtree::writeNode(const Zovnode* element, Textsink& sink)
{
    // Documents can nest far deeper than the call stack allows, so open elements are kept
    // on an explicit stack.
    struct Frame {
        const Zovnode* element;
        qsizetype next;
        bool skipNext;
    };
    // Auto-formatting indents every line by its depth, which makes the file grow with the
    // square of the nesting; below this depth the content is written without added white space.
    const qsizetype formattedDepth = 100;
    const bool formatting = m_writer->autoFormatting();
    const Markfilter filter;
    const QString zovTarget = QStringLiteral("ZOV");
    QVector<Frame> open;

    const auto startElement = [&](const Zovnode* node) {
        m_writer->writeStartElement(node->text());
        if (node->hasAttributes()) {
            const int count = node->attributeStringCount();
            for (int i = 0; i + 1 < count; i += 2)
                m_writer->writeAttribute(node->attributeString(i), node->attributeString(i + 1));
        }
        open.append(Frame { node, 0, false });
        if (formatting && open.size() == formattedDepth)
            m_writer->setAutoFormatting(false);
    };

    startElement(element);
    while (!open.isEmpty()) {
        sink.drain(false);
        Frame& frame = open.last();
        const QVector<Zovnode*>* children = frame.element->children();
        if (!children || frame.next >= children->size()) {
            m_writer->writeEndElement();
            if (formatting && open.size() == formattedDepth)
                m_writer->setAutoFormatting(true);
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
            m_writer->writeCharacters(child->text());
            break;
        case Comment:
            m_writer->writeComment(child->text());
            break;
        case Cdata:
            m_writer->writeCDATA(child->text());
            break;
        case Pi:
            if (child->text() == zovTarget) {
                const QString& data = child->value();
                if (filter.written(data))
                    m_writer->writeProcessingInstruction(zovTarget, data);
                frame.skipNext = filter.skipsNext(data);
            } else {
                m_writer->writeProcessingInstruction(child->text(), child->value());
            }
            break;
        case Element:
        case Attrelement:
            startElement(child); // invalidates frame
            break;
        }
    }
}
