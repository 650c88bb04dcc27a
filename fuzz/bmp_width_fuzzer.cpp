// Feeds arbitrary bytes to the BMP header reader that old project files depend on.
#include "plugins/project/BmpWidth.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    uint32_t width = 0;
    if (ParseBmpWidth(data, size, size, width) && (width == 0 || width > 0x7FFFFFFF))
        std::abort();
    return 0;
}
