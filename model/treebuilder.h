#pragma once

#include "model/stringpool.h"
#include "model/zovnode.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QVarLengthArray>
#include <QVector>
#include <functional>

class Nodearena;

// Gives equal strings of one load one shared buffer: attribute names repeat on every element,
// and so do many short texts (element names and short attribute values are kept by Nametable).
// Only the first entries are kept, so a document of unique texts cannot grow the table without
// bound.
class Stringtable {
public:
    // New copies come from pool, which must outlive the table.
    Stringtable(qsizetype capacity, Stringpool& pool);

    // The shared copy of text; a new copy when text is not (and can no longer be) in the table.
    QString intern(QStringView text);

private:
    struct Slot {
        bool isFree() const { return text.isNull(); }
        QStringView view() const { return text; }
        size_t hash = 0;
        QString text;
    };

    Stringpool& m_pool;
    qsizetype m_capacity;
    qsizetype m_size = 0;
    // Open addressing, at most half full, so every probe ends at a free slot.
    QVector<Slot> m_slots;
};

// Finds the shared copies of short attribute values (Nametable::keepValue) without taking the
// table's lock for every value: each load asks the table once per distinct value.
class Valuecache {
public:
    Valuecache();

    // The shared copy of text; null when the table does not keep it.
    const QString* keep(QStringView text);

private:
    struct Slot {
        bool isFree() const { return !kept; }
        QStringView view() const { return *kept; }
        size_t hash = 0;
        const QString* kept = nullptr;
    };

    qsizetype m_size = 0;
    // Open addressing, at most half full; the table's bound bounds it too.
    QVector<Slot> m_slots;
};

// Names stay qualified (namespace processing is off), yet a document that is not
// namespace-well-formed (undeclared or illegally declared prefixes, one attribute given twice
// under two prefixes of the same namespace) could not be read back by a namespace-aware reader;
// this tracks the declarations in scope to refuse it.
class Prefixscope {
public:
    // Declares the element's prefixes from its count attributes; returns the error text, or
    // empty when the element is fine.
    QString enter(
        const QString& name, const QString* names, const Attrvalue* values, qsizetype count);
    void leave();

private:
    bool isDeclared(QStringView prefix) const;
    QString uriOf(QStringView prefix) const;

    // Only elements that declare prefixes leave a mark, so a deep document costs nothing here.
    struct Mark {
        qsizetype depth;
        qsizetype declared;
    };
    QVector<Mark> m_marks;
    qsizetype m_depth = 0;
    QVector<QString> m_declared;
    QHash<QString, QStringList> m_inScope;
};

// Makes the nodes of one document as a reader reports them: nodes go into the arena, a child
// list goes into the arena in one piece when its element ends, and finished is called for
// every element at its end tag.
class Treebuilder {
public:
    Treebuilder(Nodearena& arena, std::function<void(Zovnode*)> finished);
    // Frees whatever was built and not taken with takeRoot.
    ~Treebuilder();

    Treebuilder(const Treebuilder&) = delete;
    Treebuilder& operator=(const Treebuilder&) = delete;

    // Attribute of the element about to start, in document order.
    void addAttribute(QStringView name, QStringView value);
    // Starts an element with the attributes added since the last start; returns the namespace
    // error text (and builds nothing), or empty.
    QString startElement(QStringView name);
    // Ends the innermost open element; does nothing when none is open.
    void endElement();
    // Text or CDATA, comment or processing instruction below the innermost open element;
    // dropped when none is open.
    void characters(QStringView text, Nodekind kind);
    void comment(QStringView text);
    void processingInstruction(QStringView target, QStringView data);

    bool hasRoot() const { return m_root; }
    bool isOpen() const { return !m_open.isEmpty(); }
    // Closes what is still open (a document cut short keeps what was read) and gives the
    // document element to the caller; null when there was none.
    Zovnode* takeRoot();

private:
    QString shortText(QStringView text);
    // The count attribute names, kept by the arena and shared with earlier elements that had
    // the same names in the same order.
    const QString* sharedNames(const QString* names, qsizetype count);
    void add(Zovnode* node);
    void close();

    Nodearena& m_arena;
    const std::function<void(Zovnode*)> m_finished;
    Stringpool m_pool;
    Stringtable m_names;
    Stringtable m_values;
    Valuecache m_attributeValues;
    Prefixscope m_prefixes;
    // The attributes of the element about to start; own characters of values are in the arena.
    QVarLengthArray<QString, 8> m_attrNames;
    QVarLengthArray<Attrvalue, 8> m_attrValues;
    struct Namelist {
        const QString* names;
        qsizetype count;
    };
    // By a hash of the names; only the first lists are kept, as in the string tables.
    QMultiHash<size_t, Namelist> m_nameLists;
    // The children read so far of every open element, innermost last; the open elements are
    // among them (the document element first), each just before its own children.
    QVector<Zovnode*> m_children;
    // Per open element, where its children begin in m_children; 32 bits halve the cost of a
    // deep document.
    QVector<quint32> m_open;
    Zovnode* m_root = nullptr;
};
