#include "model/treebuilder.h"

#include "model/nametable.h"
#include "model/nodearena.h"
#include "model/sizedvector.h"
#include "model/texthash.h"

#include <QSet>
#include <algorithm>
#include <limits>
#include <utility>

namespace {

// The slot of table (open addressing, at most half full, so every probe ends) that holds text,
// else the free slot where it belongs.
template <typename Slot> Slot& probe(QVector<Slot>& table, size_t hash, QStringView text)
{
    const size_t mask = size_t(table.size()) - 1;
    for (size_t k = hash & mask;; k = (k + 1) & mask) {
        Slot& slot = table[qsizetype(k)];
        if (slot.isFree() || (slot.hash == hash && slot.view() == text))
            return slot;
    }
}

// Doubles table and puts every taken slot where it now belongs; throws std::bad_alloc like
// sizedVector.
template <typename Slot> void growSlots(QVector<Slot>& table)
{
    QVector<Slot> old = sizedVector<Slot>(table.size() * 2);
    old.swap(table);
    for (Slot& slot : old) {
        if (!slot.isFree())
            probe(table, slot.hash, slot.view()) = std::move(slot);
    }
}

} // namespace

Stringtable::Stringtable(qsizetype capacity, Stringpool& pool)
    : m_pool(pool)
    , m_capacity(capacity)
    , m_slots(sizedVector<Slot>(64))
{
}

QString Stringtable::intern(QStringView text)
{
    // Null and empty compare equal, yet an instruction without data differs from one with
    // empty data; neither costs an allocation, so neither needs sharing.
    if (text.isEmpty())
        return text.toString();
    const size_t hash = textHash(text);
    Slot& slot = probe(m_slots, hash, text);
    if (!slot.isFree())
        return slot.text;
    QString copy = m_pool.copy(text);
    if (m_size < m_capacity) {
        slot.hash = hash;
        slot.text = copy;
        if (++m_size * 2 > m_slots.size())
            growSlots(m_slots);
    }
    return copy;
}

Valuecache::Valuecache()
    : m_slots(sizedVector<Slot>(64))
{
}

const QString* Valuecache::keep(QStringView text)
{
    const size_t hash = textHash(text);
    Slot& slot = probe(m_slots, hash, text);
    if (!slot.isFree())
        return slot.kept;
    const QString* const kept = Nametable::keepValue(text);
    if (kept) {
        slot.hash = hash;
        slot.kept = kept;
        if (++m_size * 2 > m_slots.size())
            growSlots(m_slots);
    }
    return kept;
}

namespace {

constexpr QStringView xmlUri = u"http://www.w3.org/XML/1998/namespace";
constexpr QStringView xmlnsUri = u"http://www.w3.org/2000/xmlns/";

QString illegalDeclaration() { return QStringLiteral("Illegal namespace declaration."); }

QString undeclared(QStringView prefix)
{
    return QStringLiteral("Namespace prefix '%1' not declared").arg(prefix);
}

QStringView prefixOf(QStringView qualified)
{
    const qsizetype colon = qualified.indexOf(u':');
    return colon < 0 ? QStringView() : qualified.left(colon);
}

// Longer texts rarely repeat; looking them up would only cost time.
constexpr qsizetype sharedTextLength = 16;

} // namespace

QString Prefixscope::enter(
    const QString& name, const QString* names, const Attrvalue* values, qsizetype count)
{
    ++m_depth;
    const qsizetype before = m_declared.size();
    bool anyPrefix = false;
    for (qsizetype k = 0; k < count; ++k) {
        const QStringView qualified = names[k];
        const QStringView uri = values[k].view();
        if (qualified == u"xmlns") {
            if (uri == xmlnsUri || uri == xmlUri)
                return illegalDeclaration();
        } else if (qualified.startsWith(u"xmlns:")) {
            const QString prefix = qualified.mid(6).toString();
            if ((prefix == u"xml") != (uri == xmlUri) || uri == xmlnsUri || uri.isEmpty()
                || prefix == u"xmlns")
                return illegalDeclaration();
            if (m_declared.size() == before)
                m_marks.append({ m_depth, before });
            m_declared.append(prefix);
            m_inScope[prefix].append(uri.toString());
        }
        anyPrefix = anyPrefix || qualified.contains(u':');
    }
    if (!isDeclared(prefixOf(name)))
        return undeclared(prefixOf(name));
    if (!anyPrefix)
        return QString();
    QSet<QString> expanded;
    for (qsizetype k = 0; k < count; ++k) {
        const QStringView qualified = names[k];
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

void Prefixscope::leave()
{
    if (m_depth == 0)
        return;
    const qsizetype depth = m_depth--;
    if (m_marks.isEmpty() || m_marks.last().depth != depth)
        return;
    const qsizetype mark = m_marks.takeLast().declared;
    while (m_declared.size() > mark) {
        const QString prefix = m_declared.takeLast();
        QStringList& uris = m_inScope[prefix];
        uris.removeLast();
        if (uris.isEmpty())
            m_inScope.remove(prefix);
    }
}

bool Prefixscope::isDeclared(QStringView prefix) const
{
    return prefix.isEmpty() || prefix == u"xml" || m_inScope.contains(prefix.toString());
}

QString Prefixscope::uriOf(QStringView prefix) const
{
    if (prefix == u"xml")
        return xmlUri.toString();
    return m_inScope.value(prefix.toString()).constLast();
}

Treebuilder::Treebuilder(Nodearena& arena, std::function<void(Zovnode*)> finished)
    : m_arena(arena)
    , m_finished(std::move(finished))
    , m_names(1 << 16, m_pool)
    , m_values(1 << 12, m_pool)
{
}

Treebuilder::~Treebuilder() { Zovnode::destroy(takeRoot()); }

QString Treebuilder::shortText(QStringView text)
{
    return text.size() <= sharedTextLength ? m_values.intern(text) : m_pool.copy(text);
}

const QString* Treebuilder::sharedNames(const QString* names, qsizetype count)
{
    constexpr qsizetype keptLists = 1 << 12;
    size_t hash = size_t(count);
    for (qsizetype i = 0; i < count; ++i)
        hash = hash * 31 + textHash(names[i]);
    for (auto it = m_nameLists.constFind(hash); it != m_nameLists.cend() && it.key() == hash;
         ++it) {
        const Namelist& list = it.value();
        if (list.count != count)
            continue;
        qsizetype k = 0;
        while (k < count && list.names[k] == names[k])
            ++k;
        if (k == count)
            return list.names;
    }
    const QString* const kept = m_arena.keepStrings(names, int(count));
    if (m_nameLists.size() < keptLists)
        m_nameLists.insert(hash, { kept, count });
    return kept;
}

void Treebuilder::addAttribute(QStringView name, QStringView value)
{
    m_attrNames.append(m_names.intern(name));
    const QString* const kept = value.isEmpty() || value.size() > Nametable::sharedValueLength
        ? nullptr
        : m_attributeValues.keep(value);
    m_attrValues.append(kept ? Attrvalue::shared(kept) : Attrvalue::own(value, &m_arena));
}

QString Treebuilder::startElement(QStringView qualifiedName)
{
    // The element is made first so that its name is looked up once; one that is refused is
    // freed again, and its room in the arena goes with the failed load.
    Zovelementnode* element = nullptr;
    const qsizetype attributes = m_attrNames.size();
    if (attributes == 0) {
        element = Zovnode::inArena<Zovelementnode>(m_arena, qualifiedName);
    } else {
        const QString* const names = sharedNames(m_attrNames.constData(), attributes);
        element = Zovnode::inArena<Zovattrelementnode>(
            m_arena, qualifiedName, int(2 * attributes), names, m_attrValues.constData(), m_arena);
    }
    const QString error = m_prefixes.enter(
        element->text(), m_attrNames.constData(), m_attrValues.constData(), attributes);
    m_attrNames.clear();
    m_attrValues.clear();
    if (!error.isEmpty()) {
        Zovnode::destroy(element);
        return error;
    }
    if (m_open.isEmpty()) {
        m_root = element;
        m_children.resize(0);
    }
    // Positions are kept in 32 bits; no document that fits in memory gets near the limit.
    if (m_children.size() >= qsizetype(std::numeric_limits<quint32>::max())) {
        Zovnode::destroy(element);
        return QStringLiteral("Document too large.");
    }
    m_children.append(element);
    m_open.append(quint32(m_children.size()));
    return QString();
}

void Treebuilder::endElement()
{
    m_prefixes.leave();
    if (m_open.isEmpty())
        return;
    auto* const element = static_cast<Zovelementnode*>(m_children[qsizetype(m_open.last()) - 1]);
    close();
    if (m_finished)
        m_finished(element);
}

void Treebuilder::characters(QStringView text, Nodekind kind)
{
    if (!m_open.isEmpty())
        add(Zovnode::inArena<Zovtextnode>(m_arena, shortText(text), kind));
}

void Treebuilder::comment(QStringView text)
{
    if (!m_open.isEmpty())
        add(Zovnode::inArena<Zovtextnode>(m_arena, m_pool.copy(text), Comment));
}

void Treebuilder::processingInstruction(QStringView target, QStringView data)
{
    if (!m_open.isEmpty())
        add(Zovnode::inArena<Zovpinode>(m_arena, target, shortText(data)));
}

Zovnode* Treebuilder::takeRoot()
{
    while (!m_open.isEmpty())
        close();
    return std::exchange(m_root, nullptr);
}

void Treebuilder::add(Zovnode* node) { m_children.append(node); }

void Treebuilder::close()
{
    const qsizetype firstChild = qsizetype(m_open.takeLast());
    auto* const element = static_cast<Zovelementnode*>(m_children[firstChild - 1]);
    element->adoptCopied(
        m_children.constData() + firstChild, int(m_children.size() - firstChild), m_arena);
    // The element itself stays: it is a child of the one now innermost.
    m_children.resize(firstChild);
}
