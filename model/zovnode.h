#pragma once

#include <QString>
#include <QStringList>
#include <QVector>
#include <QXmlStreamAttributes>

#include "model/attrvalue.h"
#include "model/childspan.h"

#include <memory>

class Nodearena;
class Zovattrelementnode;
class Zovelementnode;

// What a node stands for; fixed at construction.
enum Nodekind : qint32 {
    Text = 0,
    Comment = 1,
    Cdata = 2,
    Pi = 3,
    Element = 4,
    Attrelement = 5,
};

inline bool isElementKind(Nodekind kind) { return kind == Element || kind == Attrelement; }

// One node of a document tree: character data (Zovtextnode), an element (Zovelementnode,
// Zovattrelementnode) or a processing instruction (Zovpinode). Nodes know neither their parent nor
// their change kind. Operations on a node of the wrong kind answer with empty values, never fail.
// There is no virtual table: a large document has tens of millions of nodes, so each operation
// dispatches on the kind instead, and nodes are freed through destroy, never with delete.
class Zovnode {
public:
    ~Zovnode() = default;

    Zovnode(const Zovnode&) = delete;
    Zovnode& operator=(const Zovnode&) = delete;

    // Kind name ("#text", "#comment", "#cdata"), element name, or a processing instruction's data.
    const QString& name() const;
    // A processing instruction's data; empty for every other kind.
    const QString& value() const;
    bool hasAttributes() const;
    // True when the node has at least one child.
    bool hasChildren() const;
    // Twice the number of attributes; 0 for nodes without attributes.
    int attributeStringCount() const;
    // Attribute string i (name at even, value at odd positions); empty when i is out of range.
    QString attributeString(int i) const;
    // As attributeString, without a copy; valid as long as the node and its attributes are.
    QStringView attributeView(int i) const;
    // Value of the first attribute with this name; empty when there is none.
    QString attributeValue(const QString& name) const;
    // The children; false when the node never had a child (and for non-elements).
    Childspan children() const;
    // Takes ownership and appends; returns the node, or null (and takes nothing) on a non-element.
    Zovnode* appendChild(Zovnode* node);
    // A new attribute element with the same name and attributes; null for every other kind.
    Zovnode* copyWithoutChildren() const;
    void squeezeChildren();
    // Appends a ZOV processing instruction with the text as data; null on a non-element.
    Zovnode* appendMark(const QString& text);
    // Appends a copy of source (deep: with its whole subtree) carrying source's partner;
    // returns the copy, or null on a non-element.
    Zovnode* copyChild(const Zovnode* source, bool deep);
    // Even position of the first attribute with this name, or -1.
    int attributeIndex(const QString& name) const;
    // Element reached by following the names below this node; null when a step fails.
    Zovnode* findPath(const QStringList& path) const;
    bool isCharacterData() const;
    // All attribute strings concatenated in stored order.
    QString attributeText() const;
    // Name/value pairs sorted by name, each pair delimited so no two lists give equal text.
    QString sortedAttributeText() const;
    QString sortedAttributeNames() const;
    QString sortedAttributeValues() const;
    // Attribute texts of all descendants in document order (not the node's own).
    QString descendantAttributeText(bool sorted) const;
    QStringList attributeList() const;
    void setAttributeList(const QStringList& list);
    // Unambiguous fingerprint of the subtree: equal exactly when the subtrees are equal under
    // the three flags.
    QString contentString(bool simplify, bool ignoreAttributes, bool ignoreAttributeOrder) const;

    // The text of character data, an element's name, a processing instruction's target.
    const QString& text() const;
    Nodekind kind() const { return Nodekind(m_kind); }
    Zovnode* partner() const { return (m_storage & Linked) ? m_partner : nullptr; }
    // Replaces the text of a Text node; ignored for every other kind.
    void setText(const QString& text);
    // Links this node to other unless it has a partner already; other gets this node back
    // when it has none.
    void linkPartner(Zovnode* other);

    // On a change mark of a position kind: the pair kept its order among its siblings, so only
    // insertions or deletions before it changed its index. False on every other node.
    bool isShifted() const { return m_shifted; }
    void setShifted(bool on) { m_shifted = on; }

    // Per-run cache of an element's structural hash, filled when the tree is loaded and read
    // by the comparison before it links the element; 0 for every other kind, whose hash is
    // quick to make from its own text (see nodeFingerprint), and once the element is linked.
    size_t fingerprint() const;
    // Ignored for every kind but elements, and for a linked element.
    void setFingerprint(size_t value);

    static const QString& emptyString();

    // Frees a node made with new or placed in an arena (see inArena); null does nothing. Owners
    // free their nodes through this, never with delete, since arena nodes must not be deleted.
    static void destroy(Zovnode* node);
    // A node of type T built in arena; it must be freed with destroy (or by its owner) and
    // must not outlive the arena.
    template <typename T, typename... Args> static T* inArena(Nodearena& arena, Args&&... args);
    // As inArena, for a node that many parents hold and none owns: destroy leaves it alone and
    // the arena destroys it when it goes. Only for nodes that never change once placed.
    template <typename T, typename... Args>
    static T* sharedInArena(Nodearena& arena, Args&&... args);
    // A copy of source with its kind and strings, no children and no partner, in arena when it
    // is given, else on the heap.
    static Zovnode* shallowCopy(const Zovnode* source, Nodearena* arena = nullptr);

protected:
    enum Storageflag : quint8 {
        InArena = 1,
        // More than one child and their array is exactly as long as the list (see
        // squeezeChildren), so the next append moves them.
        ChildrenExact = 2,
        ChildrenInArena = 4,
        AttributesInArena = 8,
        // The attribute names belong to someone else (see Nodearena::keepStrings).
        SharedNames = 16,
        // The name (of an element) or target (of an instruction) is a copy of the node's own,
        // not one that Nametable keeps.
        OwnName = 32,
        // m_partner holds the partner; before that, an element's fingerprint is there.
        Linked = 64,
        // Held by many parents and owned by the arena (see sharedInArena).
        Shared = 128,
    };

    explicit Zovnode(Nodekind kind);
    bool isElement() const { return m_kind == Element || m_kind == Attrelement; }
    // Points slot at name: the copy Nametable keeps, else a copy of the node's own.
    void holdName(const QString*& slot, QStringView name);
    // Points slot at the name of source, as holdName would.
    void shareName(const QString*& slot, const Zovnode& source);
    // Frees what holdName made of the node's own.
    void releaseName(const QString*& slot);

    quint8 m_kind;
    bool m_shifted = false;
    quint8 m_storage = 0;
    // Child count of an element; sits in what would be padding.
    qint32 m_count = 0;
    // An element is compared before it is linked, and never again after, so its fingerprint
    // and its partner share the room.
    union {
        Zovnode* m_partner = nullptr;
        size_t m_fingerprint;
    };

private:
    friend class Nodearena;

    const Zovelementnode* element() const;
    const Zovattrelementnode* attributed() const;
    template <typename T> static void release(T* node);
    // Frees a node of sharedInArena; only for its arena.
    static void destroyShared(Zovnode* node);
};

// Character data: text, comment or CDATA.
class Zovtextnode final : public Zovnode {
public:
    Zovtextnode(const QString& text, Nodekind kind);

private:
    friend class Zovnode;
    QString m_text;
};

// Element without attributes; owns its children.
class Zovelementnode : public Zovnode {
public:
    explicit Zovelementnode(QStringView name);
    // An element with the name of nameSource, an element, and nothing else of it.
    explicit Zovelementnode(const Zovnode* nameSource);
    ~Zovelementnode();

    const QString& name() const;
    bool hasChildren() const;
    Childspan children() const;
    Zovnode* appendChild(Zovnode* node);
    void squeezeChildren();
    Zovnode* appendMark(const QString& text);
    Zovnode* copyChild(const Zovnode* source, bool deep);
    Zovnode* findPath(const QStringList& path) const;
    QString descendantAttributeText(bool sorted) const;
    QString contentString(bool simplify, bool ignoreAttributes, bool ignoreAttributeOrder) const;

    // Gives child index to the caller and leaves null in its place, for a tree that is about
    // to be released; null when index is out of range. The caller frees it with destroy.
    Zovnode* releaseChild(qsizetype index);
    // Gives a node that has no children yet the count children held in array, which lives in
    // the arena of the node's tree and is kept when count is above 1; a later appendChild moves
    // them into an array of the node's own.
    void adoptChildren(Zovnode* const* array, int count);
    // As adoptChildren for count children held elsewhere: more than one are first copied into
    // one array of arena, of exactly their number. Throws std::bad_alloc like the arena.
    void adoptCopied(Zovnode* const* children, int count, Nodearena& arena);
    // Takes over the children of from, which is left without any; does nothing when this node
    // has children already.
    void takeChildren(Zovelementnode& from);

protected:
    Zovelementnode(QStringView name, Nodekind kind);
    Zovelementnode(const Zovnode* nameSource, Nodekind kind);

private:
    Zovnode* const* childData() const { return m_count == 1 ? &m_single : m_array; }
    // Makes room for one more child; throws std::bad_alloc like operator new.
    void growChildren();
    // Frees the array (not the children) and leaves the node without children.
    void dropChildren();

    friend class Zovnode;
    const QString* m_name = nullptr;
    // Most elements have one child (a text), held in place; more are in an array in the
    // tree's arena (see adoptChildren) or of the node's own, with room for a power of two.
    union {
        Zovnode* m_single = nullptr;
        Zovnode** m_array;
    };
};

// Element with attributes, held as alternating name and value strings in document order.
class Zovattrelementnode final : public Zovelementnode {
public:
    Zovattrelementnode(QStringView name, const QXmlStreamAttributes& attributes);
    Zovattrelementnode(QStringView name, int count, const QString* strings);
    // Copies the count strings into arrays in arena.
    Zovattrelementnode(QStringView name, int count, const QString* strings, Nodearena& arena);
    // A copy of source's name and attributes in arena, without children or partner.
    Zovattrelementnode(const Zovattrelementnode& source, Nodearena& arena);
    // Takes the names from names, an array that outlives the node and may be shared by many
    // (see Nodearena::keepStrings), and the count / 2 values, whose own characters are in arena;
    // the value array is copied into arena.
    Zovattrelementnode(QStringView name, int count, const QString* names, const Attrvalue* values,
        Nodearena& arena);
    ~Zovattrelementnode();

    bool hasAttributes() const;
    int attributeStringCount() const;
    QString attributeString(int i) const;
    QStringView attributeView(int i) const;
    QString attributeValue(const QString& name) const;
    Zovnode* copyWithoutChildren() const;
    int attributeIndex(const QString& name) const;
    QString attributeText() const;
    QString sortedAttributeText() const;
    QString sortedAttributeNames() const;
    QString sortedAttributeValues() const;
    QStringList attributeList() const;
    void setAttributeList(const QStringList& list);

private:
    void freeAttributes();
    void copyAttributes(int count, const QString* strings);
    void copyAttributes(int count, const QString* strings, Nodearena& arena);

    // The m_attrCount attribute strings are split in two arrays: equal name lists repeat on
    // most elements of a document, so the loader shares them. Each array is in an arena or of
    // its own, and so are the values' own characters.
    const QString* m_names = nullptr;
    Attrvalue* m_values = nullptr;
    qint32 m_attrCount = 0;
};

// Processing instruction: text() holds the target, value() and name() the data.
class Zovpinode final : public Zovnode {
public:
    Zovpinode(QStringView target, const QString& data);
    ~Zovpinode();

    const QString& name() const;
    const QString& value() const;
    QString contentString(bool simplify, bool ignoreAttributes, bool ignoreAttributeOrder) const;

private:
    friend class Zovnode;
    const QString* m_target = nullptr;
    QString m_data;
};

// Owns a node of any kind through Zovnode::destroy: a plain std::unique_ptr<Zovnode> would run
// the base destructor on an element.
struct Zovnodedeleter {
    void operator()(Zovnode* node) const { Zovnode::destroy(node); }
};
using Zovnodeptr = std::unique_ptr<Zovnode, Zovnodedeleter>;

inline const QString& Zovnode::text() const
{
    if (isElement())
        return *static_cast<const Zovelementnode*>(this)->m_name;
    if (m_kind == Pi)
        return *static_cast<const Zovpinode*>(this)->m_target;
    return static_cast<const Zovtextnode*>(this)->m_text;
}

inline size_t Zovnode::fingerprint() const
{
    Q_ASSERT(!isElement() || !(m_storage & Linked));
    return isElement() && !(m_storage & Linked) ? m_fingerprint : 0;
}

inline void Zovnode::setFingerprint(size_t value)
{
    if (isElement() && !(m_storage & Linked))
        m_fingerprint = value;
}

#include "model/nodearena.h"

template <typename T, typename... Args> T* Zovnode::inArena(Nodearena& arena, Args&&... args)
{
    T* const node = arena.create<T>(std::forward<Args>(args)...);
    static_cast<Zovnode*>(node)->m_storage |= InArena;
    return node;
}

template <typename T, typename... Args> T* Zovnode::sharedInArena(Nodearena& arena, Args&&... args)
{
    // Room first, so that a node once built is always kept.
    arena.reserveShared();
    T* const node = inArena<T>(arena, std::forward<Args>(args)...);
    static_cast<Zovnode*>(node)->m_storage |= Shared;
    arena.keepShared(node);
    return node;
}
