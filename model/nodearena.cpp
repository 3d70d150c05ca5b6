#include "model/nodearena.h"

#include <algorithm>

void Nodearena::grow(std::size_t atLeast)
{
    // Small trees (configuration files, tests) stay small; large ones get large blocks, so the
    // number of blocks stays low.
    constexpr std::size_t first = std::size_t(4) << 10;
    constexpr std::size_t largest = std::size_t(1) << 20;
    const std::size_t size = std::max(atLeast, std::clamp(m_reserved, first, largest));
    m_blocks.push_back(std::unique_ptr<char[]>(new char[size]));
    m_block = m_blocks.back().get();
    m_used = 0;
    m_capacity = size;
    m_reserved += size;
}
