#include "model/zovtree.h"

#include <QDebug>
#include <QFileDevice>
#include <QHash>
#include <QIODevice>
#include <QSet>
#include <QTextStream>
#include <QVarLengthArray>
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
    return 0;
}

QString Zovtree::encoding() const
{
    return m_documentEncoding.isEmpty() ? QStringLiteral("UTF-8") : m_documentEncoding;
}

namespace {

bool hasControlCharacter(QStringView text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x20)
            return true;
    }
    return false;
}

// Names stay qualified (namespace processing is off), yet a document that is not
// namespace-well-formed (undeclared or illegally declared prefixes, one attribute given twice under
// two prefixes of the same namespace) could not be read back by a namespace-aware reader; this
// tracks the declarations in scope to refuse it.
class Prefixscope {
public:
    // Declares the element's prefixes; returns the error text, or empty when the element is fine.
    QString enter(const QString& name, const QXmlStreamAttributes& attributes)
    {
        m_marks.append(m_declared.size());
        for (const QXmlStreamAttribute& attribute : attributes) {
            const QStringView qualified = attribute.qualifiedName();
            const QStringView uri = attribute.value();
            if (qualified == u"xmlns") {
                if (uri == xmlnsUri || uri == xmlUri)
                    return illegalDeclaration();
            } else if (qualified.startsWith(u"xmlns:")) {
                const QString prefix = qualified.mid(6).toString();
                if ((prefix == u"xml") != (uri == xmlUri) || uri == xmlnsUri || uri.isEmpty()
                    || prefix == u"xmlns")
                    return illegalDeclaration();
                m_declared.append(prefix);
                m_inScope[prefix].append(uri.toString());
            }
        }
        if (!isDeclared(prefixOf(name)))
            return undeclared(prefixOf(name));
        QSet<QString> expanded;
        for (const QXmlStreamAttribute& attribute : attributes) {
            const QStringView qualified = attribute.qualifiedName();
            const QStringView prefix = prefixOf(qualified);
            if (prefix == u"xmlns" || qualified == u"xmlns")
                continue;
            if (!isDeclared(prefix))
                return undeclared(prefix);
            if (prefix.isEmpty())
                continue;
            const QString key
                = uriOf(prefix) + QLatin1Char(' ') + qualified.mid(prefix.size() + 1).toString();
            if (expanded.contains(key))
                return QStringLiteral("Attribute '%1' redefined.").arg(qualified);
            expanded.insert(key);
        }
        return QString();
    }

    void leave()
    {
        if (m_marks.isEmpty())
            return;
        const qsizetype mark = m_marks.takeLast();
        while (m_declared.size() > mark) {
            const QString prefix = m_declared.takeLast();
            QStringList& uris = m_inScope[prefix];
            uris.removeLast();
            if (uris.isEmpty())
                m_inScope.remove(prefix);
        }
    }

private:
    static constexpr QStringView xmlUri = u"http://www.w3.org/XML/1998/namespace";
    static constexpr QStringView xmlnsUri = u"http://www.w3.org/2000/xmlns/";

    static QString illegalDeclaration() { return QStringLiteral("Illegal namespace declaration."); }
    static QString undeclared(QStringView prefix)
    {
        return QStringLiteral("Namespace prefix '%1' not declared").arg(prefix);
    }

    static QStringView prefixOf(QStringView qualified)
    {
        const qsizetype colon = qualified.indexOf(u':');
        return colon < 0 ? QStringView() : qualified.left(colon);
    }

    bool isDeclared(QStringView prefix) const
    {
        return prefix.isEmpty() || prefix == u"xml" || m_inScope.contains(prefix.toString());
    }

    QString uriOf(QStringView prefix) const
    {
        if (prefix == u"xml")
            return xmlUri.toString();
        return m_inScope.value(prefix.toString()).constLast();
    }

    QVector<qsizetype> m_marks;
    QVector<QString> m_declared;
    QHash<QString, QStringList> m_inScope;
};

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

// Gives equal strings of one load one shared buffer: element and attribute names repeat on
// every element, and so do many short values. Only the first entries are kept, so a document
// of unique values cannot grow the table without bound.
class Stringtable {
public:
    explicit Stringtable(qsizetype capacity)
        : m_capacity(capacity)
        , m_slots(64)
    {
    }

    // The shared copy of text; a new copy when text is not (and can no longer be) in the table.
    QString intern(QStringView text)
    {
        const size_t hash = qHash(text);
        Slot& slot = find(hash, text);
        if (!slot.text.isNull())
            return slot.text;
        QString copy = text.toString();
        if (m_size < m_capacity && !copy.isNull()) {
            slot.hash = hash;
            slot.text = copy;
            if (++m_size * 2 > m_slots.size())
                grow();
        }
        return copy;
    }

private:
    struct Slot {
        size_t hash = 0;
        QString text;
    };

    // The slot that holds text, else the free slot where it belongs.
    Slot& find(size_t hash, QStringView text)
    {
        const size_t mask = size_t(m_slots.size()) - 1;
        for (size_t k = hash & mask;; k = (k + 1) & mask) {
            Slot& slot = m_slots[qsizetype(k)];
            if (slot.text.isNull() || (slot.hash == hash && slot.text == text))
                return slot;
        }
    }

    void grow()
    {
        QVector<Slot> old(m_slots.size() * 2);
        old.swap(m_slots);
        for (Slot& slot : old) {
            if (!slot.text.isNull())
                find(slot.hash, slot.text) = std::move(slot);
        }
    }

    qsizetype m_capacity;
    qsizetype m_size = 0;
    // Open addressing, at most half full, so every probe ends at a free slot.
    QVector<Slot> m_slots;
};

// Longer texts rarely repeat; looking them up would only cost time.
constexpr qsizetype sharedTextLength = 16;

} // namespace

QString Zovtree::parse(QIODevice* device, Tokenlog* log)
{
    Prefixeddevice withMark(QByteArrayLiteral("\xFE\xFF"), device);
    const bool bigEndianWithoutMark = device->peek(2) == QByteArray("\0<", 2);
    QXmlStreamReader reader(bigEndianWithoutMark ? static_cast<QIODevice*>(&withMark) : device);
    Entityresolver resolver;
    reader.setEntityResolver(&resolver);
    reader.setNamespaceProcessing(false);
    Prefixscope prefixes;
    Stringtable names(1 << 16);
    Stringtable values(1 << 12);
    QVarLengthArray<QString, 16> attributeStrings;
    const auto shortText = [&values](QStringView text) {
        return text.size() <= sharedTextLength ? values.intern(text) : text.toString();
    };
    Nodearena& storage = arena();
    const std::function<void(Zovnode*)> finished = m_finished;

    // The open elements, innermost last, and the children read so far for each of them: a
    // child list goes into the arena in one piece when its element ends.
    struct Openelement {
        Zovelementnode* element;
        qsizetype firstChild;
    };
    QVector<Openelement> open;
    QVector<Zovnode*> children;
    const auto add = [&](Zovnode* node) {
        children.append(node);
        if (finished)
            finished(node);
    };
    const auto close = [&]() {
        const Openelement level = open.takeLast();
        const qsizetype count = children.size() - level.firstChild;
        if (count > 0) {
            auto* const array = static_cast<Zovnode**>(
                storage.allocate(sizeof(Zovnode*) * size_t(count), alignof(Zovnode*)));
            std::copy(children.cbegin() + level.firstChild, children.cend(), array);
            level.element->adoptChildren(array, int(count));
            children.resize(level.firstChild);
        }
    };

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
            const QString name = names.intern(reader.qualifiedName());
            const QXmlStreamAttributes attributes = reader.attributes();
            if (open.isEmpty() && m_root) {
                // The reader refuses a second document element, so only a reused tree gets here.
                reader.raiseError(QStringLiteral("The tree already holds a document element."));
                break;
            }
            const QString namespaceError = prefixes.enter(name, attributes);
            if (!namespaceError.isEmpty()) {
                reader.raiseError(namespaceError);
                break;
            }
            Zovelementnode* element = nullptr;
            if (attributes.isEmpty()) {
                element = Zovnode::inArena<Zovelementnode>(storage, name);
            } else {
                attributeStrings.clear();
                for (const QXmlStreamAttribute& attribute : attributes) {
                    attributeStrings.append(names.intern(attribute.qualifiedName()));
                    attributeStrings.append(shortText(attribute.value()));
                }
                element = Zovnode::inArena<Zovattrelementnode>(storage, name,
                    int(attributeStrings.size()), attributeStrings.constData(), storage);
            }
            if (open.isEmpty())
                m_root = element;
            else
                children.append(element);
            open.append({ element, children.size() });
            break;
        }
        case QXmlStreamReader::EndElement:
            prefixes.leave();
            if (!open.isEmpty()) {
                Zovelementnode* const element = open.last().element;
                close();
                if (finished)
                    finished(element);
            }
            break;
        case QXmlStreamReader::Characters:
            // Outside the document element there is no place for it; the reader should never
            // deliver such text, and it is dropped if it does.
            if (open.isEmpty())
                break;
            if (reader.isCDATA())
                add(Zovnode::inArena<Zovnode>(storage, shortText(reader.text()), Cdata));
            else if (!reader.isWhitespace())
                add(Zovnode::inArena<Zovnode>(storage, shortText(reader.text()), Text));
            break;
        case QXmlStreamReader::Comment:
            if (!open.isEmpty())
                add(Zovnode::inArena<Zovnode>(storage, reader.text().toString(), Comment));
            break;
        case QXmlStreamReader::ProcessingInstruction:
            // The reader lets control characters through in a target, which no writer can put
            // back into well-formed XML.
            if (hasControlCharacter(reader.processingInstructionTarget())) {
                reader.raiseError(QStringLiteral("Invalid XML character."));
                break;
            }
            if (!open.isEmpty()) {
                add(Zovnode::inArena<Zovpinode>(storage,
                    names.intern(reader.processingInstructionTarget()),
                    shortText(reader.processingInstructionData())));
            }
            break;
        default:
            break;
        }
    }
    // After an error the tree keeps what was read: the open elements get their children.
    while (!open.isEmpty())
        close();

    if (!reader.hasError())
        return QString();
    // A file that failed to deliver its bytes explains an early end better than the reader can.
    const auto* file = qobject_cast<const QFileDevice*>(device);
    if (file && file->error() == QFileDevice::ReadError)
        return QStringLiteral("The file could not be read: ") + file->errorString();
    return reader.errorString();
}
