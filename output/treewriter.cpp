#include "model/zovtree.h"

#include "config/cfgstore.h"
#include "output/resultwriter.h"

#include <QVector>
#include <QXmlStreamWriter>
#include <memory>

QString Zovtree::write(QIODevice* device)
{
    if (!m_root)
        return QString();
    // The writer always produces UTF-8; the result file's declaration is made to say so.
    const auto writer = std::make_unique<QXmlStreamWriter>(device);
    m_writer = writer.get();
    const Cfgstore& cfg = Cfgstore::instance();
    if (cfg.getInt(QStringLiteral("savemode")) == 1) {
        m_writer->setAutoFormatting(true);
        const int indent = cfg.getInt(QStringLiteral("element_indent"));
        if (indent > 0)
            m_writer->setAutoFormattingIndent(indent);
    } else {
        m_writer->setAutoFormatting(false);
    }
    writeNode(m_root);
    m_writer = nullptr;
    return QString();
}

void Zovtree::writeNode(const Zovnode* element)
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
