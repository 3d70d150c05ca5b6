#include "model/zovtree.h"

#include "model/treebuilder.h"
#include "model/utf8reader.h"

#include <QDebug>
#include <QFileDevice>
#include <QIODevice>
#include <QTextStream>
#include <QXmlStreamReader>
#include <cstring>
#include <utility>

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

Zovtree::~Zovtree() { Zovnode::destroy(m_root); }

Nodearena& Zovtree::arena()
{
    if (m_arenas.isEmpty())
        m_arenas.append(std::make_shared<Nodearena>());
    return *m_arenas.first();
}

void Zovtree::shareStorage(const Zovtree& other)
{
    for (const std::shared_ptr<Nodearena>& storage : other.m_arenas) {
        if (!m_arenas.contains(storage))
            m_arenas.append(storage);
    }
}

QString Zovtree::load(QIODevice* device)
{
    m_readFast = false;
    if (!m_root && !device->isSequential()) {
        const qint64 start = device->pos();
        // Its own arena: a document declined late must not leave a tree's worth of it behind.
        auto storage = std::make_shared<Nodearena>();
        {
            Treebuilder builder(*storage, m_finished);
            QString encoding;
            if (readUtf8Document(device, builder, encoding)) {
                m_root = builder.takeRoot();
                m_documentEncoding = encoding;
                m_arenas.prepend(std::move(storage));
                m_readFast = true;
                return QString();
            }
        }
        if (!device->seek(start))
            return QStringLiteral("The file could not be read: ") + device->errorString();
    }
    return parse(device, nullptr);
}

QString Zovtree::loadStreamed(QIODevice* device)
{
    m_readFast = false;
    return parse(device, nullptr);
}

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
    return 0;
}

QString Zovtree::encoding() const
{
    return m_documentEncoding.isEmpty() ? QStringLiteral("UTF-8") : m_documentEncoding;
}

namespace {

// Whether text is an XML name: the reader does not check a processing instruction's target, and
// a writer cannot put back one that is not.
bool isXmlName(QStringView text)
{
    if (text.isEmpty())
        return false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const char16_t u = c.unicode();
        bool allowed = false;
        if (u >= 0x80)
            allowed = c.isLetterOrNumber() || c.isMark() || c.isSurrogate() || u == 0xB7;
        else
            allowed = (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || u == '_' || u == ':'
                || (i > 0 && ((u >= '0' && u <= '9') || u == '-' || u == '.'));
        if (!allowed)
            return false;
    }
    return true;
}

// Reads a few bytes of its own, then the wrapped device. The reader recognises UTF-16 without a
// byte-order mark only in little-endian order; handing it the mark makes big-endian work too.
class Prefixeddevice : public QIODevice {
public:
    Prefixeddevice(const QByteArray& prefix, QIODevice* device)
        : m_prefix(prefix)
        , m_device(device)
    {
        open(QIODevice::ReadOnly);
    }

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override
    {
        return m_prefix.size() - m_offset + m_device->bytesAvailable()
            + QIODevice::bytesAvailable();
    }
    bool atEnd() const override
    {
        return m_offset == m_prefix.size() && m_device->atEnd() && QIODevice::atEnd();
    }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        const qint64 own = qMin(maxSize, qint64(m_prefix.size() - m_offset));
        std::memcpy(data, m_prefix.constData() + m_offset, size_t(own));
        m_offset += own;
        if (own == maxSize)
            return own;
        const qint64 more = m_device->read(data + own, maxSize - own);
        if (more < 0)
            return own > 0 ? own : -1;
        return own + more;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    const QByteArray m_prefix;
    QIODevice* const m_device;
    qsizetype m_offset = 0;
};

} // namespace

QString Zovtree::parse(QIODevice* device, Tokenlog* log)
{
    Prefixeddevice withMark(QByteArrayLiteral("\xFE\xFF"), device);
    const bool bigEndianWithoutMark = device->peek(2) == QByteArray("\0<", 2);
    QXmlStreamReader reader(bigEndianWithoutMark ? static_cast<QIODevice*>(&withMark) : device);
    Entityresolver resolver;
    reader.setEntityResolver(&resolver);
    reader.setNamespaceProcessing(false);
    Treebuilder builder(arena(), m_finished);

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
            if (!builder.isOpen() && m_root) {
                // The reader refuses a second document element, so only a reused tree gets here.
                reader.raiseError(QStringLiteral("The tree already holds a document element."));
                break;
            }
            for (const QXmlStreamAttribute& attribute : reader.attributes())
                builder.addAttribute(attribute.qualifiedName(), attribute.value());
            const QString namespaceError = builder.startElement(reader.qualifiedName());
            if (!namespaceError.isEmpty())
                reader.raiseError(namespaceError);
            break;
        }
        case QXmlStreamReader::EndElement:
            builder.endElement();
            break;
        case QXmlStreamReader::Characters:
            // Outside the document element there is no place for it; the reader should never
            // deliver such text, and the builder drops it if it does.
            if (reader.isCDATA())
                builder.characters(reader.text(), Cdata);
            else if (!reader.isWhitespace())
                builder.characters(reader.text(), Text);
            break;
        case QXmlStreamReader::Comment:
            builder.comment(reader.text());
            break;
        case QXmlStreamReader::ProcessingInstruction:
            if (!isXmlName(reader.processingInstructionTarget())) {
                reader.raiseError(QStringLiteral("Invalid processing instruction name."));
                break;
            }
            builder.processingInstruction(
                reader.processingInstructionTarget(), reader.processingInstructionData());
            break;
        default:
            break;
        }
    }
    // After an error the tree keeps what was read.
    if (builder.hasRoot())
        m_root = builder.takeRoot();

    if (!reader.hasError())
        return QString();
    // A file that failed to deliver its bytes explains an early end better than the reader can.
    const auto* file = qobject_cast<const QFileDevice*>(device);
    if (file && file->error() == QFileDevice::ReadError)
        return QStringLiteral("The file could not be read: ") + file->errorString();
    return reader.errorString();
}
