#include "model/nodearena.h"

#include "model/pages.h"
#include "model/zovnode.h"

#include <algorithm>
#include <memory>

Nodearena::~Nodearena()
{
    for (Zovnode* const node : m_shared)
        Zovnode::destroyShared(node);
    for (const auto& [strings, count] : m_kept)
        std::destroy_n(strings, count);
    for (const Block& block : m_blocks) {
        if (block.huge)
            releaseHugeBlock(block.data, block.size);
        else
            delete[] block.data;
    }
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
    // Small trees (configuration files, tests) stay small; large ones get large blocks on large
    // pages, so the number of blocks stays low and reading the tree at random stays cheap.
    constexpr std::size_t first = std::size_t(4) << 10;
    constexpr std::size_t largest = hugePageSize;
    const std::size_t size = std::max(atLeast, std::clamp(m_reserved, first, largest));
    if (m_blocks.size() == m_blocks.capacity())
        m_blocks.reserve(2 * m_blocks.size() + 16);
    Block block { nullptr, size, size >= largest };
    if (block.huge) {
        block.size = (size + hugePageSize - 1) & ~(hugePageSize - 1);
        block.data = static_cast<char*>(allocateHugeBlock(block.size));
        if (!block.data)
            throw std::bad_alloc();
    } else {
        block.data = new char[size];
    }
    m_blocks.push_back(block);
    m_block = block.data;
    m_used = 0;
    m_capacity = block.size;
    m_reserved += block.size;
}
