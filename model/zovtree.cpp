#include "model/zovtree.h"

#include <QDebug>
#include <QIODevice>
#include <QTextStream>
#include <QXmlStreamReader>

Entityresolver::~Entityresolver() = default;

QString Entityresolver::resolveUndeclaredEntity(const QString& name)
{
    // The reader parses the replacement again, so the text keeps "&name;" literally.
    return QStringLiteral("&amp;") + name + QLatin1Char(';');
}

// Collects what the reader reports about the document besides its content.
class Zovtree::Tokenlog {
public:
    void record(const QXmlStreamReader& reader);
    const QString& text() const { return m_text; }

private:
    template <typename... Parts> void append(const Parts&... parts)
    {
        ((m_text += QStringView(parts)), ...);
    }

    QString m_text;
};

void Zovtree::Tokenlog::record(const QXmlStreamReader& reader)
{
    switch (reader.tokenType()) {
    case QXmlStreamReader::StartDocument:
        qDebug("StartDocument");
        append(u":documentEncoding ", reader.documentEncoding(), u":documentVersion ",
            reader.documentVersion(), u":isStandaloneDocument ",
            reader.isStandaloneDocument() ? u"true " : u"false ");
        break;
    case QXmlStreamReader::StartElement:
        if (!reader.namespaceUri().isEmpty())
            append(u"\nStartElement namespaceUri ", reader.namespaceUri());
        for (const QXmlStreamNamespaceDeclaration& declaration : reader.namespaceDeclarations()) {
            append(u"\nStartElement NamespaceDeclaration prefix ", declaration.prefix(),
                u" namespaceUri ", declaration.namespaceUri());
        }
        break;
    case QXmlStreamReader::EndElement:
        qDebug("EndElement");
        if (!reader.namespaceUri().isEmpty())
            append(u"\nEndElement namespaceUri ", reader.namespaceUri());
        break;
    case QXmlStreamReader::DTD:
        append(u":DTD ", reader.text());
        for (const QXmlStreamNotationDeclaration& notation : reader.notationDeclarations()) {
            append(u":NotationDeclaration name ", notation.name(),
                u":NotationDeclaration publicId ", notation.publicId(),
                u":NotationDeclaration systemId ", notation.systemId());
        }
        for (const QXmlStreamEntityDeclaration& entity : reader.entityDeclarations()) {
            append(u":EntityDeclaration name ", entity.name(), u":EntityDeclaration notationName ",
                entity.notationName(), u":EntityDeclaration publicId ", entity.publicId(),
                u":EntityDeclaration systemId ", entity.systemId(), u":EntityDeclaration value ",
                entity.value());
        }
        break;
    case QXmlStreamReader::EntityReference:
        qDebug().noquote() << QStringLiteral("EntityReference %1 text: %2")
                                  .arg(reader.name().toString(), reader.text().toString());
        append(u"\nEntityReference name ", reader.name(), u" text ", reader.text());
        break;
    default:
        break;
    }
}

Zovtree::Zovtree() = default;

Zovtree::~Zovtree()
{
    delete m_root;
    // A failed load leaves the open elements stacked; free every entry, not just the top.
    while (m_stackTop) {
        Openelement* const next = m_stackTop->next;
        delete m_stackTop;
        m_stackTop = next;
    }
}

QString Zovtree::load(QIODevice* device) { return parse(device, nullptr); }

QString Zovtree::loadWithLog(QIODevice* device, QIODevice* logDevice)
{
    Tokenlog log;
    const QString error = parse(device, &log);
    if (logDevice) {
        QTextStream stream(logDevice);
        stream << log.text();
        stream.flush();
        logDevice->close();
    }
    return error;
}

int Zovtree::setRoot(const Zovnode* node)
{
    if (m_root)
        return -1100;
    if (node && node->kind() == Element)
        m_root = new Zovelementnode(node->text());
    else if (node && node->kind() == Attrelement)
        m_root = node->copyWithoutChildren();
    if (!m_root) {
        qDebug("Error: called setroot with invalide node type!");
        return -1105;
    }
    m_current = m_root;
    return 0;
}

QString Zovtree::encoding() const
{
    return m_documentEncoding.isEmpty() ? QStringLiteral("UTF-8") : m_documentEncoding;
}

QString Zovtree::parse(QIODevice* device, Tokenlog* log)
{
    QXmlStreamReader reader(device);
    Entityresolver resolver;
    reader.setEntityResolver(&resolver);
    reader.setNamespaceProcessing(false);

    while (!reader.atEnd()) {
        if (reader.hasError())
            break;
        reader.readNext();
        if (log)
            log->record(reader);

        switch (reader.tokenType()) {
        case QXmlStreamReader::StartDocument:
            m_documentEncoding = reader.documentEncoding().toString();
            break;
        case QXmlStreamReader::StartElement: {
            const QString name = reader.qualifiedName().toString();
            const QXmlStreamAttributes attributes = reader.attributes();
            if (!m_current && m_root) {
                // The reader refuses a second document element, so only a reused tree gets here.
                reader.raiseError(QStringLiteral("The tree already holds a document element."));
                break;
            }
            Zovnode* const element = attributes.isEmpty()
                ? static_cast<Zovnode*>(new Zovelementnode(name))
                : new Zovattrelementnode(name, attributes);
            if (!m_current) {
                m_root = element;
                m_stackTop = new Openelement { nullptr, nullptr };
            } else {
                m_stackTop = new Openelement { m_stackTop, m_current };
                m_current->appendChild(element);
            }
            m_current = element;
            break;
        }
        case QXmlStreamReader::EndElement:
            if (m_current)
                m_current->squeezeChildren();
            if (m_stackTop) {
                Openelement* const top = m_stackTop;
                m_current = top->node;
                m_stackTop = top->next;
                delete top;
            } else {
                m_current = nullptr;
            }
            break;
        case QXmlStreamReader::Characters:
            // Outside the document element there is no place for it; the reader should never
            // deliver such text, and it is dropped if it does.
            if (!m_current)
                break;
            if (reader.isCDATA())
                m_current->appendChild(new Zovnode(reader.text().toString(), Cdata));
            else if (!reader.isWhitespace())
                m_current->appendChild(new Zovnode(reader.text().toString(), Text));
            break;
        case QXmlStreamReader::Comment:
            if (m_current)
                m_current->appendChild(new Zovnode(reader.text().toString(), Comment));
            break;
        case QXmlStreamReader::ProcessingInstruction:
            if (m_current) {
                m_current->appendChild(
                    new Zovpinode(reader.processingInstructionTarget().toString(),
                        reader.processingInstructionData().toString()));
            }
            break;
        default:
            break;
        }
    }

    return reader.hasError() ? reader.errorString() : QString();
}
