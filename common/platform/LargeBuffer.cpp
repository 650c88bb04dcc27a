#include "common/platform/LargeBuffer.h"

#include <cstdint>
#include <sys/mman.h>

void AdviseHugePages(void *data, size_t size)
{
    constexpr uintptr_t hugePage = uintptr_t{2} << 20;
    if (data == nullptr || size < 2 * hugePage)
        return;
    // Only the whole huge pages inside the buffer: the advice must not reach memory the
    // buffer does not own.
    const uintptr_t begin = (reinterpret_cast<uintptr_t>(data) + hugePage - 1) & ~(hugePage - 1);
    const uintptr_t end = (reinterpret_cast<uintptr_t>(data) + size) & ~(hugePage - 1);
    if (end > begin)
        (void)madvise(reinterpret_cast<void *>(begin), end - begin, MADV_HUGEPAGE);
}
