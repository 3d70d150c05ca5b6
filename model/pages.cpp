#include "model/pages.h"

#include <QtGlobal>

#include <cstdint>
#include <new>

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#include <unistd.h>
#endif

// Under the address sanitizer the large blocks come from operator new, so that it still sees
// writes past their ends.
#if defined(__SANITIZE_ADDRESS__)
#define ZOV_ADDRESS_SANITIZER
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZOV_ADDRESS_SANITIZER
#endif
#endif

#if defined(Q_OS_LINUX) && !defined(ZOV_ADDRESS_SANITIZER)
#define ZOV_MAPPED_BLOCKS
#endif

void fillPages(void* data, std::size_t size)
{
#if defined(Q_OS_LINUX) && defined(MADV_POPULATE_WRITE)
    static const auto page = std::uintptr_t(sysconf(_SC_PAGESIZE));
    const auto begin = (std::uintptr_t(data) + page - 1) & ~(page - 1);
    const auto end = (std::uintptr_t(data) + size) & ~(page - 1);
    // Kernels before 5.14 refuse the advice; the pages then come one fault at a time.
    if (end > begin)
        madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
#else
    Q_UNUSED(data);
    Q_UNUSED(size);
#endif
}

void adviseHugePages(void* data, std::size_t size)
{
#if defined(Q_OS_LINUX) && defined(MADV_HUGEPAGE)
    const auto begin = (std::uintptr_t(data) + hugePageSize - 1) & ~(hugePageSize - 1);
    const auto end = (std::uintptr_t(data) + size) & ~(hugePageSize - 1);
    // Where large pages are off or the advice is refused, the block keeps small pages.
    if (end > begin)
        madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#else
    Q_UNUSED(data);
    Q_UNUSED(size);
#endif
}

void* allocateHugeBlock(std::size_t size)
{
#ifdef ZOV_MAPPED_BLOCKS
    // Map one large page more than asked, then give back what lies outside the aligned block.
    void* const mapped = mmap(
        nullptr, size + hugePageSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED)
        return nullptr;
    const auto start = std::uintptr_t(mapped);
    const auto begin = (start + hugePageSize - 1) & ~(hugePageSize - 1);
    if (begin > start)
        munmap(mapped, begin - start);
    const auto tail = start + size + hugePageSize - (begin + size);
    if (tail > 0)
        munmap(reinterpret_cast<void*>(begin + size), tail);
    void* const block = reinterpret_cast<void*>(begin);
    adviseHugePages(block, size);
    fillPages(block, size);
    return block;
#else
    void* const block = ::operator new(size, std::align_val_t(hugePageSize), std::nothrow);
    if (block) {
        adviseHugePages(block, size);
        fillPages(block, size);
    }
    return block;
#endif
}

void releaseHugeBlock(void* block, std::size_t size)
{
    if (!block)
        return;
#ifdef ZOV_MAPPED_BLOCKS
    munmap(block, size);
#else
    Q_UNUSED(size);
    ::operator delete(block, std::align_val_t(hugePageSize));
#endif
}
