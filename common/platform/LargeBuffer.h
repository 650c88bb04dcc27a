// Large buffers about to be filled for the first time (whole layers of cells): the kernel
// is asked to back them with huge pages, so filling them takes one page fault per 2 MiB
// instead of one per 4 KiB, which is most of the cost of reading a large map. A hint only:
// nothing changes where the system does not follow it.
#pragma once

#include <cstddef>

void AdviseHugePages(void *data, size_t size);
