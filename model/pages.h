#pragma once

#include <cstddef>

// Size of the large pages that the page helpers align to.
constexpr std::size_t hugePageSize = std::size_t(2) << 20;

// Asks the system for the pages of a freshly allocated block at once, where touching them one
// by one costs a page fault per 4 kB (a fifth of the parse time of a large document). Only
// whole pages inside the block are asked for; does nothing where the system cannot.
void fillPages(void* data, std::size_t size);

// Asks the system to back the whole large pages inside a block not yet written to with large
// pages. A large tree and its indexes are read at random; with 4 kB pages most of those reads
// first miss the address cache, and more so the larger the document. Does nothing where the
// system cannot.
void adviseHugePages(void* data, std::size_t size);

// A block of size bytes (a multiple of hugePageSize) aligned to hugePageSize and advised as
// above, its pages filled; nullptr when no memory is left. Free it with releaseHugeBlock.
void* allocateHugeBlock(std::size_t size);
// Returns a block of allocateHugeBlock with its size; does nothing for nullptr.
void releaseHugeBlock(void* block, std::size_t size);
