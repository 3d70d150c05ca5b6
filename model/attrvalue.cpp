#include "model/attrvalue.h"

#include "model/nametable.h"
#include "model/nodearena.h"

#include <cstdint>
#include <cstring>
#include <limits>

namespace {

// A block holds the length in 4 bytes, or 0xffffffff and then the length in 8 bytes for a
// value of four billion characters and more, then the characters.
constexpr quint32 longMark = std::numeric_limits<quint32>::max();

std::size_t headerSize(qsizetype size) { return quint64(size) < longMark ? 4 : 12; }

} // namespace

Attrvalue Attrvalue::make(QStringView text, Nodearena* arena)
{
    if (text.isEmpty())
        return Attrvalue();
    if (const QString* const kept = Nametable::keepValue(text))
        return shared(kept);
    return own(text, arena);
}

Attrvalue Attrvalue::shared(const QString* kept) { return Attrvalue(quintptr(kept)); }

Attrvalue Attrvalue::own(QStringView text, Nodearena* arena)
{
    const qsizetype size = text.size();
    if (size == 0)
        return Attrvalue();
    const std::size_t header = headerSize(size);
    const std::size_t bytes = header + std::size_t(size) * sizeof(char16_t);
    char* const block = arena ? static_cast<char*>(arena->allocate(bytes, 4))
                              : static_cast<char*>(::operator new(bytes));
    if (header == 4) {
        const quint32 length = quint32(size);
        std::memcpy(block, &length, 4);
    } else {
        const quint64 length = quint64(size);
        std::memcpy(block, &longMark, 4);
        std::memcpy(block + 4, &length, 8);
    }
    std::memcpy(block + header, text.utf16(), std::size_t(size) * sizeof(char16_t));
    return Attrvalue(quintptr(block) | 1);
}

QStringView Attrvalue::view() const
{
    if (!isOwn())
        return m_bits ? QStringView(*reinterpret_cast<const QString*>(m_bits)) : QStringView();
    const char* const block = ownBlock();
    quint32 length = 0;
    std::memcpy(&length, block, 4);
    if (length != longMark)
        return QStringView(reinterpret_cast<const char16_t*>(block + 4), qsizetype(length));
    quint64 longLength = 0;
    std::memcpy(&longLength, block + 4, 8);
    return QStringView(reinterpret_cast<const char16_t*>(block + 12), qsizetype(longLength));
}

QString Attrvalue::toString() const
{
    if (!isOwn())
        return m_bits ? *reinterpret_cast<const QString*>(m_bits) : QString();
    return view().toString();
}

Attrvalue Attrvalue::copy(Nodearena* arena) const { return isOwn() ? own(view(), arena) : *this; }

void Attrvalue::release(bool inArena)
{
    if (isOwn() && !inArena)
        ::operator delete(const_cast<char*>(ownBlock()));
    m_bits = 0;
}
