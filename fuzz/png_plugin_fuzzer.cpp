// Feeds arbitrary bytes to the PNG image plug-in's entry points, as memory input.
#include "common/SusiePlugin.h"

#include <cstdlib>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    std::vector<char> head(3072, 0);
    std::memcpy(head.data(), Data, Size < 2048 ? Size : 2048);
    IsSupported("fuzz.png", head.data());

    const char *buffer = Size > 0 ? reinterpret_cast<const char *>(Data) : "";
    SusiePictureInfo info{};
    GetPictureInfo(buffer, static_cast<intptr_t>(Size), SUSIE_INPUT_MEMORY, &info);

    void *header = nullptr;
    void *bits = nullptr;
    if (GetPicture(buffer, static_cast<intptr_t>(Size), SUSIE_INPUT_MEMORY, &header, &bits, nullptr,
                   0) == SUSIE_SUCCESS) {
        // Touch the whole bitmap so that a short allocation shows.
        const auto *h = static_cast<const uint8_t *>(header);
        int32_t width, height;
        std::memcpy(&width, h + 4, 4);
        std::memcpy(&height, h + 8, 4);
        const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
        volatile uint8_t sum = 0;
        const auto *b = static_cast<const uint8_t *>(bits);
        for (size_t i = 0; i < stride * static_cast<size_t>(height); i += 61)
            sum = static_cast<uint8_t>(sum + b[i]);
        std::free(header);
        std::free(bits);
    } else if (header != nullptr || bits != nullptr) {
        std::abort(); // a failure must hand nothing back
    }
    return 0;
}
