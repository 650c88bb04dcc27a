// Feeds arbitrary bytes to the image header reader of the TMX plug-in.
#include "plugins/tmx/ImageSize.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    TImageSize result;
    if (ParseImageSize(data, size, result) && (result.Width <= 0 || result.Height <= 0))
        std::abort();
    return 0;
}
