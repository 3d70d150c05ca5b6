#pragma once

#include <QString>
#include <QStringView>

class Nodearena;

// One attribute value in 8 bytes, where a QString takes 24 and attribute-heavy documents hold
// tens of millions of values: either a string of the process-wide value table (see
// Nametable::keepValue), or characters of the value's own, placed in an arena or on the heap
// and preceded by their length. A value knows nothing of where its characters are; its owner
// releases heap values (see release) and must not let arena values outlive the arena.
class Attrvalue {
public:
    Attrvalue() = default;

    // The table's copy of text when the table keeps it, else characters of the value's own in
    // arena (on the heap when arena is null); throws std::bad_alloc like the arena.
    static Attrvalue make(QStringView text, Nodearena* arena);
    // A value that points at kept, a string that outlives every node (Nametable::keepValue).
    static Attrvalue shared(const QString* kept);
    // Characters of the value's own, as make places them, without asking the table.
    static Attrvalue own(QStringView text, Nodearena* arena);

    QStringView view() const;
    QString toString() const;
    // The same value for a node in arena (on the heap when null): a table string is shared,
    // characters of the value's own are copied. Throws std::bad_alloc like make.
    Attrvalue copy(Nodearena* arena) const;
    // Frees characters of the value's own that are on the heap; nothing for the others. The
    // value is empty afterwards.
    void release(bool inArena);

private:
    explicit Attrvalue(quintptr bits)
        : m_bits(bits)
    {
    }
    bool isOwn() const { return m_bits & 1; }
    const char* ownBlock() const { return reinterpret_cast<const char*>(m_bits & ~quintptr(1)); }

    // Null for the empty value; a table string's address; or the address of the value's own
    // block with the lowest bit set (blocks are aligned to 4).
    quintptr m_bits = 0;
};
