#include "model/pagefill.h"

#include <QtGlobal>

#include <cstdint>

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#include <unistd.h>
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
