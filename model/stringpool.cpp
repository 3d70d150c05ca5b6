#include "model/stringpool.h"

#include "model/pagefill.h"

#include <cstring>

namespace {

// Code units of the first and of the largest blocks (small documents stay small), and the
// longest text that goes into a block: longer ones would leave blocks half empty and keep them
// alive for one text.
constexpr qsizetype firstBlockUnits = 512;
constexpr qsizetype largestBlockUnits = 65536;
constexpr qsizetype longestPooled = 256;

} // namespace

Stringpool::Stringpool()
    : m_blockUnits(firstBlockUnits)
{
}

Stringpool::~Stringpool() { release(); }

void Stringpool::release()
{
    if (m_block && !m_block->deref())
        QTypedArrayData<char16_t>::deallocate(m_block);
    m_block = nullptr;
    m_next = m_end = nullptr;
}

QString Stringpool::copy(QStringView text)
{
    const qsizetype size = text.size();
    if (size == 0 || size > longestPooled)
        return text.toString();
    // Each text keeps its terminating null, which QString promises to its readers.
    if (m_end - m_next < size + 1) {
        release();
        const auto [block, data] = QTypedArrayData<char16_t>::allocate(m_blockUnits);
        if (!block)
            return text.toString();
        if (m_blockUnits == largestBlockUnits)
            fillPages(data, size_t(m_blockUnits) * sizeof(char16_t));
        m_block = block;
        m_next = data;
        m_end = data + m_blockUnits;
        m_blockUnits = qMin(2 * m_blockUnits, largestBlockUnits);
    }
    char16_t* const start = m_next;
    std::memcpy(start, text.utf16(), size_t(size) * sizeof(char16_t));
    start[size] = u'\0';
    m_next += size + 1;
    m_block->ref();
    return QString(QString::DataPointer(m_block, start, size));
}
