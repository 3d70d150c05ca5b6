#include "model/nodearena.h"

#include "model/pagefill.h"
#include "model/zovnode.h"

#include <algorithm>
#include <memory>

Nodearena::~Nodearena()
{
    for (Zovnode* const node : m_shared)
        Zovnode::destroyShared(node);
    for (const auto& [strings, count] : m_kept)
        std::destroy_n(strings, count);
}

const QString* Nodearena::keepStrings(const QString* strings, int count)
{
    if (count <= 0)
        return nullptr;
    // Room first, so that recording the copies cannot fail after they are made; growing
    // geometrically, as an exact reserve would copy the list on every call.
    if (m_kept.size() == m_kept.capacity())
        m_kept.reserve(2 * m_kept.size() + 16);
    auto* const copies
        = static_cast<QString*>(allocate(sizeof(QString) * size_t(count), alignof(QString)));
    std::uninitialized_copy(strings, strings + count, copies);
    m_kept.emplace_back(copies, count);
    return copies;
}

void Nodearena::grow(std::size_t atLeast)
{
    // Small trees (configuration files, tests) stay small; large ones get large blocks, so the
    // number of blocks stays low.
    constexpr std::size_t first = std::size_t(4) << 10;
    constexpr std::size_t largest = std::size_t(1) << 20;
    const std::size_t size = std::max(atLeast, std::clamp(m_reserved, first, largest));
    m_blocks.push_back(std::unique_ptr<char[]>(new char[size]));
    m_block = m_blocks.back().get();
    if (size >= largest)
        fillPages(m_block, size);
    m_used = 0;
    m_capacity = size;
    m_reserved += size;
}
