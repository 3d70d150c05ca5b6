#include "model/zovnode.h"

#include "model/nametable.h"

#include <QPair>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <new>
#include <utility>

namespace {

const QString kindNames[] = {
    QStringLiteral("#text"),
    QStringLiteral("#comment"),
    QStringLiteral("#cdata"),
};

// Room for count strings in arena, not yet constructed.
QString* stringsIn(Nodearena& arena, int count)
{
    return static_cast<QString*>(arena.allocate(sizeof(QString) * size_t(count), alignof(QString)));
}

// count empty values in arena.
Attrvalue* valuesIn(Nodearena& arena, int count)
{
    auto* const values = static_cast<Attrvalue*>(
        arena.allocate(sizeof(Attrvalue) * size_t(count), alignof(Attrvalue)));
    std::uninitialized_default_construct_n(values, count);
    return values;
}

// Length-prefixed so that where one string ends and the next begins is never in doubt.
void appendField(QString& out, QStringView field)
{
    out += QString::number(field.size());
    out += QLatin1Char(':');
    out += field;
}

void appendAttributePair(QString& out, QStringView name, QStringView value)
{
    out += QLatin1Char('@');
    appendField(out, name);
    appendField(out, value);
}

// Opens an element in a fingerprint; its attributes and children follow, ')' closes it.
void appendElementHead(QString& out, const Zovnode* element, bool simplify, bool ignoreAttributes,
    bool ignoreAttributeOrder)
{
    out += QLatin1Char('E');
    appendField(out, simplify ? element->text().simplified() : element->text());
    const int count = element->attributeStringCount();
    if (ignoreAttributes || count == 0)
        return;
    if (ignoreAttributeOrder) {
        out += element->sortedAttributeText();
        return;
    }
    for (int i = 0; i + 1 < count; i += 2)
        appendAttributePair(out, element->attributeView(i), element->attributeView(i + 1));
}

} // namespace

Zovnode::Zovnode(Nodekind kind)
    : m_kind(quint8(kind))
{
}

void Zovnode::holdName(const QString*& slot, QStringView name)
{
    releaseName(slot);
    slot = Nametable::keep(name);
    if (!slot) {
        slot = new QString(name.toString());
        m_storage |= OwnName;
    }
}

void Zovnode::releaseName(const QString*& slot)
{
    if (m_storage & OwnName)
        delete slot;
    slot = nullptr;
    m_storage &= quint8(~OwnName);
}

void Zovnode::shareName(const QString*& slot, const Zovnode& source)
{
    // A kept name is shared as it is; only a name of the source's own needs a lookup.
    if (source.isElement() && !(source.m_storage & OwnName)) {
        releaseName(slot);
        slot = static_cast<const Zovelementnode&>(source).m_name;
    } else {
        holdName(slot, source.text());
    }
}

Zovtextnode::Zovtextnode(const QString& text, Nodekind kind)
    : Zovnode(kind)
    , m_text(text)
{
}

template <typename T> void Zovnode::release(T* node)
{
    if (node->m_storage & InArena)
        node->~T();
    else
        delete node;
}

void Zovnode::destroy(Zovnode* node)
{
    if (!node || (node->m_storage & Shared))
        return;
    switch (node->kind()) {
    case Element:
        release(static_cast<Zovelementnode*>(node));
        break;
    case Attrelement:
        release(static_cast<Zovattrelementnode*>(node));
        break;
    case Pi:
        release(static_cast<Zovpinode*>(node));
        break;
    default:
        release(static_cast<Zovtextnode*>(node));
        break;
    }
}

void Zovnode::destroyShared(Zovnode* node)
{
    node->m_storage &= quint8(~Shared);
    destroy(node);
}

Zovnode* Zovnode::shallowCopy(const Zovnode* source, Nodearena* arena)
{
    switch (source->kind()) {
    case Pi:
        return arena ? inArena<Zovpinode>(*arena, source->text(), source->value())
                     : new Zovpinode(source->text(), source->value());
    case Element:
        return arena ? inArena<Zovelementnode>(*arena, source) : new Zovelementnode(source);
    case Attrelement: {
        if (!arena)
            return source->copyWithoutChildren();
        return inArena<Zovattrelementnode>(
            *arena, *static_cast<const Zovattrelementnode*>(source), *arena);
    }
    default:
        return arena ? inArena<Zovtextnode>(*arena, source->text(), source->kind())
                     : new Zovtextnode(source->text(), source->kind());
    }
}

const QString& Zovnode::emptyString()
{
    static const QString empty;
    return empty;
}

const Zovelementnode* Zovnode::element() const
{
    return isElementKind(kind()) ? static_cast<const Zovelementnode*>(this) : nullptr;
}

const Zovattrelementnode* Zovnode::attributed() const
{
    return m_kind == Attrelement ? static_cast<const Zovattrelementnode*>(this) : nullptr;
}

const QString& Zovnode::name() const
{
    if (m_kind <= Cdata)
        return kindNames[m_kind];
    if (m_kind == Pi)
        return static_cast<const Zovpinode*>(this)->name();
    return text();
}

const QString& Zovnode::value() const
{
    return m_kind == Pi ? static_cast<const Zovpinode*>(this)->value() : emptyString();
}

bool Zovnode::hasAttributes() const
{
    const Zovattrelementnode* const node = attributed();
    return node && node->hasAttributes();
}

bool Zovnode::hasChildren() const
{
    const Zovelementnode* const node = element();
    return node && node->hasChildren();
}

int Zovnode::attributeStringCount() const
{
    const Zovattrelementnode* const node = attributed();
    return node ? node->attributeStringCount() : 0;
}

QString Zovnode::attributeString(int i) const
{
    const Zovattrelementnode* const node = attributed();
    return node ? node->attributeString(i) : QString();
}

QStringView Zovnode::attributeView(int i) const
{
    const Zovattrelementnode* const node = attributed();
    return node ? node->attributeView(i) : QStringView();
}

QString Zovnode::attributeValue(const QString& name) const
{
    const Zovattrelementnode* const node = attributed();
    return node ? node->attributeValue(name) : QString();
}

Childspan Zovnode::children() const
{
    const Zovelementnode* const node = element();
    return node ? node->children() : Childspan();
}

// The mutators cast constness away from element(): this node is not const.
Zovnode* Zovnode::appendChild(Zovnode* node)
{
    const Zovelementnode* const self = element();
    return self ? const_cast<Zovelementnode*>(self)->appendChild(node) : nullptr;
}

Zovnode* Zovnode::copyWithoutChildren() const
{
    const Zovattrelementnode* const node = attributed();
    return node ? node->copyWithoutChildren() : nullptr;
}

void Zovnode::squeezeChildren()
{
    if (const Zovelementnode* const self = element())
        const_cast<Zovelementnode*>(self)->squeezeChildren();
}

Zovnode* Zovnode::appendMark(const QString& text)
{
    const Zovelementnode* const self = element();
    return self ? const_cast<Zovelementnode*>(self)->appendMark(text) : nullptr;
}

Zovnode* Zovnode::copyChild(const Zovnode* source, bool deep)
{
    const Zovelementnode* const self = element();
    return self ? const_cast<Zovelementnode*>(self)->copyChild(source, deep) : nullptr;
}

int Zovnode::attributeIndex(const QString& name) const
{
    const Zovattrelementnode* const node = attributed();
    return node ? node->attributeIndex(name) : -1;
}

Zovnode* Zovnode::findPath(const QStringList& path) const
{
    const Zovelementnode* const node = element();
    return node ? node->findPath(path) : nullptr;
}

bool Zovnode::isCharacterData() const { return m_kind <= Cdata; }

QString Zovnode::attributeText() const
{
    const Zovattrelementnode* const node = attributed();
    return node ? node->attributeText() : QString();
}

QString Zovnode::sortedAttributeText() const
{
    const Zovattrelementnode* const node = attributed();
    return node ? node->sortedAttributeText() : QString();
}

QString Zovnode::sortedAttributeNames() const
{
    const Zovattrelementnode* const node = attributed();
    return node ? node->sortedAttributeNames() : QString();
}

QString Zovnode::sortedAttributeValues() const
{
    const Zovattrelementnode* const node = attributed();
    return node ? node->sortedAttributeValues() : QString();
}

QString Zovnode::descendantAttributeText(bool sorted) const
{
    const Zovelementnode* const node = element();
    return node ? node->descendantAttributeText(sorted) : QString();
}

QStringList Zovnode::attributeList() const
{
    const Zovattrelementnode* const node = attributed();
    return node ? node->attributeList() : QStringList();
}

void Zovnode::setAttributeList(const QStringList& list)
{
    if (const Zovattrelementnode* const node = attributed())
        const_cast<Zovattrelementnode*>(node)->setAttributeList(list);
}

QString Zovnode::contentString(
    bool simplify, bool ignoreAttributes, bool ignoreAttributeOrder) const
{
    if (const Zovelementnode* const node = element())
        return node->contentString(simplify, ignoreAttributes, ignoreAttributeOrder);
    if (m_kind == Pi)
        return static_cast<const Zovpinode*>(this)->contentString(
            simplify, ignoreAttributes, ignoreAttributeOrder);
    QString out;
    switch (kind()) {
    case Text:
        out += QLatin1Char('T');
        appendField(out, simplify ? text().simplified() : text());
        return out;
    case Comment:
        out += QLatin1Char('C');
        break;
    case Cdata:
        out += QLatin1Char('D');
        break;
    default:
        // Not a known kind: tag with the number so it can equal no character node.
        out += QLatin1Char('N');
        out += QString::number(int(m_kind));
        break;
    }
    appendField(out, text());
    return out;
}

void Zovnode::setText(const QString& text)
{
    if (m_kind == Text)
        static_cast<Zovtextnode*>(this)->m_text = text;
}

void Zovnode::linkPartner(Zovnode* other)
{
    if ((m_storage & Linked) || !other)
        return;
    m_partner = other;
    m_storage |= Linked;
    if (!(other->m_storage & Linked)) {
        other->m_partner = this;
        other->m_storage |= Linked;
    }
}

Zovelementnode::Zovelementnode(QStringView name)
    : Zovelementnode(name, Element)
{
}

Zovelementnode::Zovelementnode(const Zovnode* nameSource)
    : Zovelementnode(nameSource, Element)
{
}

Zovelementnode::Zovelementnode(QStringView name, Nodekind kind)
    : Zovnode(kind)
{
    holdName(m_name, name);
}

Zovelementnode::Zovelementnode(const Zovnode* nameSource, Nodekind kind)
    : Zovnode(kind)
{
    shareName(m_name, *nameSource);
}

Zovelementnode::~Zovelementnode()
{
    releaseName(m_name);
    if (m_count == 0)
        return;
    // Frees the subtree with an explicit stack: recursion would follow document depth. Each
    // element is emptied before it is freed, so no destructor below this one walks again.
    QVector<Zovnode*> pending;
    auto take = [&pending](Zovelementnode* node) {
        for (Zovnode* const child : node->children())
            pending.append(child);
        node->dropChildren();
    };
    take(this);
    while (!pending.isEmpty()) {
        Zovnode* const node = pending.takeLast();
        if (!node)
            continue;
        if (isElementKind(node->kind()))
            take(static_cast<Zovelementnode*>(node));
        destroy(node);
    }
}

const QString& Zovelementnode::name() const { return *m_name; }

bool Zovelementnode::hasChildren() const { return m_count > 0; }

Childspan Zovelementnode::children() const { return Childspan(childData(), m_count); }

namespace {

// Room of an array of the node's own that holds count children (more than one).
qsizetype roomFor(qsizetype count)
{
    qsizetype room = 2;
    while (room < count)
        room *= 2;
    return room;
}

Zovnode** reallocateChildren(Zovnode** array, qsizetype room)
{
    void* const moved = std::realloc(array, sizeof(Zovnode*) * size_t(room));
    if (!moved)
        throw std::bad_alloc();
    return static_cast<Zovnode**>(moved);
}

} // namespace

void Zovelementnode::growChildren()
{
    const qsizetype count = m_count;
    if (count == 1) {
        Zovnode** const array = reallocateChildren(nullptr, roomFor(2));
        array[0] = m_single;
        m_array = array;
    } else if (m_storage & ChildrenInArena) {
        Zovnode** const array = reallocateChildren(nullptr, roomFor(count + 1));
        std::copy(m_array, m_array + count, array);
        m_array = array;
    } else if ((m_storage & ChildrenExact) || count == roomFor(count)) {
        m_array = reallocateChildren(m_array, roomFor(count + 1));
    }
    m_storage &= quint8(~(ChildrenInArena | ChildrenExact));
}

void Zovelementnode::dropChildren()
{
    if (m_count > 1 && !(m_storage & ChildrenInArena))
        std::free(m_array);
    m_single = nullptr;
    m_count = 0;
    m_storage &= quint8(~(ChildrenInArena | ChildrenExact));
}

Zovnode* Zovelementnode::appendChild(Zovnode* node)
{
    if (!node)
        return nullptr;
    if (m_count == 0) {
        m_single = node;
    } else {
        growChildren();
        m_array[m_count] = node;
    }
    ++m_count;
    return node;
}

void Zovelementnode::adoptChildren(Zovnode* const* array, int count)
{
    if (count <= 0 || m_count > 0)
        return;
    if (count == 1) {
        m_single = array[0];
    } else {
        // The arena array is the node's own from now on; it is never freed, and an append
        // copies it out first.
        m_array = const_cast<Zovnode**>(array);
        m_storage |= ChildrenInArena;
    }
    m_count = count;
}

void Zovelementnode::adoptCopied(Zovnode* const* children, int count, Nodearena& arena)
{
    if (count <= 0 || m_count > 0)
        return;
    if (count > 1) {
        auto* const array = static_cast<Zovnode**>(
            arena.allocate(sizeof(Zovnode*) * size_t(count), alignof(Zovnode*)));
        std::copy(children, children + count, array);
        children = array;
    }
    adoptChildren(children, count);
}

void Zovelementnode::takeChildren(Zovelementnode& from)
{
    if (m_count > 0 || &from == this)
        return;
    constexpr quint8 childFlags = ChildrenInArena | ChildrenExact;
    m_single = std::exchange(from.m_single, nullptr);
    m_count = std::exchange(from.m_count, 0);
    m_storage = quint8((m_storage & ~childFlags) | (from.m_storage & childFlags));
    from.m_storage &= quint8(~childFlags);
}

void Zovelementnode::squeezeChildren()
{
    if (m_count < 2 || (m_storage & (ChildrenInArena | ChildrenExact))
        || m_count == roomFor(m_count))
        return;
    m_array = reallocateChildren(m_array, m_count);
    m_storage |= ChildrenExact;
}

Zovnode* Zovelementnode::releaseChild(qsizetype index)
{
    if (index < 0 || index >= m_count)
        return nullptr;
    return std::exchange(const_cast<Zovnode**>(childData())[index], nullptr);
}

Zovnode* Zovelementnode::appendMark(const QString& text)
{
    return appendChild(new Zovpinode(QStringLiteral("ZOV"), text));
}

Zovnode* Zovelementnode::copyChild(const Zovnode* source, bool deep)
{
    if (!source)
        return nullptr;

    // Each frame copies the children of source into copy. The child count is fixed when the
    // frame starts, so copying a subtree into itself cannot run forever. Partners are linked
    // as each frame finishes: children before their parent.
    struct Frame {
        const Zovnode* source;
        Zovnode* copy;
        int next;
        int count;
    };
    auto childCount = [deep](const Zovnode* node) {
        const Childspan list = node->children();
        return deep && list ? int(list->size()) : 0;
    };

    const int rootCount = childCount(source);
    Zovnode* const result = appendChild(shallowCopy(source));
    if (!result)
        return nullptr;
    QVector<Frame> stack { { source, result, 0, rootCount } };
    while (!stack.isEmpty()) {
        Frame& top = stack.last();
        if (top.next == top.count) {
            top.copy->linkPartner(top.source->partner());
            stack.removeLast();
            continue;
        }
        const Zovnode* const child = top.source->children()->at(top.next++);
        if (!child)
            continue;
        Zovnode* const copy = top.copy->appendChild(shallowCopy(child));
        stack.append({ child, copy, 0, childCount(child) });
    }
    return result;
}

Zovnode* Zovelementnode::findPath(const QStringList& path) const
{
    const Zovnode* node = this;
    Zovnode* found = nullptr;
    for (const QString& step : path) {
        const Childspan list = node->children();
        if (!list)
            return nullptr;
        const auto it = std::find_if(list->cbegin(), list->cend(),
            [&step](const Zovnode* child) { return child && child->text() == step; });
        if (it == list->cend() || !isElementKind((*it)->kind()))
            return nullptr;
        found = *it;
        node = found;
    }
    return found;
}

QString Zovelementnode::descendantAttributeText(bool sorted) const
{
    QString out;
    // Pre-order walk with an explicit stack of (element, next child index).
    QVector<QPair<const Zovnode*, int>> stack { { this, 0 } };
    while (!stack.isEmpty()) {
        auto& top = stack.last();
        const Childspan list = top.first->children();
        if (!list || top.second >= list->size()) {
            stack.removeLast();
            continue;
        }
        const Zovnode* const child = list->at(top.second++);
        if (!child)
            continue;
        out += sorted ? child->sortedAttributeText() : child->attributeText();
        if (child->hasChildren())
            stack.append({ child, 0 });
    }
    return out;
}

QString Zovelementnode::contentString(
    bool simplify, bool ignoreAttributes, bool ignoreAttributeOrder) const
{
    QString out;
    appendElementHead(out, this, simplify, ignoreAttributes, ignoreAttributeOrder);
    QVector<QPair<const Zovnode*, int>> stack { { this, 0 } };
    while (!stack.isEmpty()) {
        auto& top = stack.last();
        const Childspan list = top.first->children();
        if (!list || top.second >= list->size()) {
            out += QLatin1Char(')');
            stack.removeLast();
            continue;
        }
        const Zovnode* const child = list->at(top.second++);
        if (!child)
            continue;
        if (isElementKind(child->kind())) {
            appendElementHead(out, child, simplify, ignoreAttributes, ignoreAttributeOrder);
            stack.append({ child, 0 });
        } else {
            out += child->contentString(simplify, ignoreAttributes, ignoreAttributeOrder);
        }
    }
    return out;
}

Zovattrelementnode::Zovattrelementnode(QStringView name, const QXmlStreamAttributes& attributes)
    : Zovelementnode(name, Attrelement)
{
    QStringList strings;
    strings.reserve(attributes.size() * 2);
    for (const QXmlStreamAttribute& attribute : attributes) {
        strings.append(attribute.qualifiedName().toString());
        strings.append(attribute.value().toString());
    }
    copyAttributes(int(strings.size()), strings.constData());
}

Zovattrelementnode::Zovattrelementnode(QStringView name, int count, const QString* strings)
    : Zovelementnode(name, Attrelement)
{
    if (strings && count > 0)
        copyAttributes(count, strings);
}

Zovattrelementnode::Zovattrelementnode(
    QStringView name, int count, const QString* strings, Nodearena& arena)
    : Zovelementnode(name, Attrelement)
{
    if (strings && count > 0)
        copyAttributes(count, strings, arena);
}

Zovattrelementnode::Zovattrelementnode(const Zovattrelementnode& source, Nodearena& arena)
    : Zovelementnode(&source, Attrelement)
{
    const int count = source.m_attrCount;
    if (count <= 0)
        return;
    // The arrays first and then the names, which cannot fail, so that the node is whole
    // (with empty values) should a value's characters find no room.
    m_values = valuesIn(arena, count / 2);
    auto* const names = stringsIn(arena, (count + 1) / 2);
    std::uninitialized_copy(source.m_names, source.m_names + (count + 1) / 2, names);
    m_names = names;
    m_storage |= AttributesInArena;
    m_attrCount = count;
    for (int i = 0; i < count / 2; ++i)
        m_values[i] = source.m_values[i].copy(&arena);
}

Zovattrelementnode::Zovattrelementnode(
    QStringView name, int count, const QString* names, const Attrvalue* values, Nodearena& arena)
    : Zovelementnode(name, Attrelement)
{
    if (!names || !values || count <= 0)
        return;
    m_names = names;
    m_storage |= AttributesInArena | SharedNames;
    m_values = valuesIn(arena, count / 2);
    std::copy(values, values + count / 2, m_values);
    m_attrCount = count;
}

Zovattrelementnode::~Zovattrelementnode() { freeAttributes(); }

void Zovattrelementnode::freeAttributes()
{
    const int names = (m_attrCount + 1) / 2;
    const int values = m_attrCount / 2;
    if (m_storage & AttributesInArena) {
        if (!(m_storage & SharedNames)) {
            for (int i = 0; i < names; ++i)
                m_names[i].~QString();
        }
    } else {
        delete[] m_names;
        for (int i = 0; i < values; ++i)
            m_values[i].release(false);
        delete[] m_values;
    }
    m_names = nullptr;
    m_values = nullptr;
    m_attrCount = 0;
    m_storage &= quint8(~(AttributesInArena | SharedNames));
}

void Zovattrelementnode::copyAttributes(int count, const QString* strings)
{
    freeAttributes();
    if (count <= 0)
        return;
    QString* const names = new QString[size_t((count + 1) / 2)];
    for (int i = 0; i < count; i += 2)
        names[i / 2] = strings[i];
    m_names = names;
    // Counted first, so that freeAttributes frees the values made should one fail.
    m_values = new Attrvalue[size_t(count / 2)];
    m_attrCount = count;
    for (int i = 1; i < count; i += 2)
        m_values[i / 2] = Attrvalue::make(strings[i], nullptr);
}

void Zovattrelementnode::copyAttributes(int count, const QString* strings, Nodearena& arena)
{
    freeAttributes();
    // As in the copy constructor: the node is whole before the values are made.
    m_values = valuesIn(arena, count / 2);
    auto* const names = stringsIn(arena, (count + 1) / 2);
    for (int i = 0; i < count; i += 2)
        new (names + i / 2) QString(strings[i]);
    m_names = names;
    m_storage |= AttributesInArena;
    m_attrCount = count;
    for (int i = 1; i < count; i += 2)
        m_values[i / 2] = Attrvalue::make(strings[i], &arena);
}

bool Zovattrelementnode::hasAttributes() const { return m_attrCount > 0; }

int Zovattrelementnode::attributeStringCount() const { return m_attrCount; }

QString Zovattrelementnode::attributeString(int i) const
{
    if (i < 0 || i >= m_attrCount)
        return QString();
    return (i & 1) ? m_values[i / 2].toString() : m_names[i / 2];
}

QStringView Zovattrelementnode::attributeView(int i) const
{
    if (i < 0 || i >= m_attrCount)
        return QStringView();
    return (i & 1) ? m_values[i / 2].view() : QStringView(m_names[i / 2]);
}

QString Zovattrelementnode::attributeValue(const QString& name) const
{
    const int index = attributeIndex(name);
    return index < 0 ? QString() : attributeString(index + 1);
}

Zovnode* Zovattrelementnode::copyWithoutChildren() const
{
    const QStringList strings = attributeList();
    return new Zovattrelementnode(text(), int(strings.size()), strings.constData());
}

int Zovattrelementnode::attributeIndex(const QString& name) const
{
    for (int i = 0; i < m_attrCount; i += 2) {
        if (m_names[i / 2] == name)
            return i;
    }
    return -1;
}

QString Zovattrelementnode::attributeText() const
{
    if (m_attrCount == 0)
        return QString();
    qsizetype length = 0;
    for (int i = 0; i < m_attrCount; ++i)
        length += attributeView(i).size();
    QString out;
    out.reserve(length);
    for (int i = 0; i < m_attrCount; ++i)
        out += attributeView(i);
    return out;
}

QString Zovattrelementnode::sortedAttributeText() const
{
    QVector<QPair<QStringView, QStringView>> pairs;
    pairs.reserve(m_attrCount / 2);
    for (int i = 0; i + 1 < m_attrCount; i += 2)
        pairs.append({ m_names[i / 2], m_values[i / 2].view() });
    std::sort(pairs.begin(), pairs.end());
    QString out;
    for (const auto& pair : pairs)
        appendAttributePair(out, pair.first, pair.second);
    return out;
}

QString Zovattrelementnode::sortedAttributeNames() const
{
    QStringList names(m_names, m_names + (m_attrCount + 1) / 2);
    names.sort();
    return names.join(QString());
}

QString Zovattrelementnode::sortedAttributeValues() const
{
    QStringList values;
    values.reserve(m_attrCount / 2);
    for (int i = 0; i < m_attrCount / 2; ++i)
        values.append(m_values[i].toString());
    values.sort();
    return values.join(QString());
}

QStringList Zovattrelementnode::attributeList() const
{
    QStringList strings;
    strings.reserve(m_attrCount);
    for (int i = 0; i < m_attrCount; ++i)
        strings.append(attributeString(i));
    return strings;
}

void Zovattrelementnode::setAttributeList(const QStringList& list)
{
    copyAttributes(int(list.size()), list.constData());
}

Zovpinode::Zovpinode(QStringView target, const QString& data)
    : Zovnode(Pi)
    , m_data(data)
{
    holdName(m_target, target);
}

Zovpinode::~Zovpinode() { releaseName(m_target); }

const QString& Zovpinode::name() const { return m_data; }

const QString& Zovpinode::value() const { return m_data; }

QString Zovpinode::contentString(bool, bool, bool) const
{
    QString out = QStringLiteral("P");
    appendField(out, *m_target);
    appendField(out, m_data);
    return out;
}
