// Feeds arbitrary bytes to the metafile reader (EMF, and WMF placeable or plain). The input
// ends where an unreadable page begins, so that a read past its end faults even inside
// libuemf, which the sanitizers do not see into. A refusal is a std::runtime_error; what
// is accepted is a picture of the size allowed with the fourth byte of every pixel 0.
#include "editor/parts/PictureLoader.h"

#include <QGuiApplication>

#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <sys/mman.h>
#include <unistd.h>

namespace
{

// Small pictures keep the runs fast; sizes past this are refused like larger ones.
constexpr int64_t kMaxPixels = int64_t{1} << 16;

// The input copied to the end of readable memory.
class TGuardedInput
{
public:
    TGuardedInput(const uint8_t *Data, size_t Size)
    {
        const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
        FLength = (Size + page - 1) / page * page + page;
        void *memory =
            mmap(nullptr, FLength, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (memory == MAP_FAILED)
            std::abort();
        FMemory = static_cast<uint8_t *>(memory);
        if (mprotect(FMemory + FLength - page, page, PROT_NONE) != 0)
            std::abort();
        FData = FMemory + FLength - page - Size;
        if (Size != 0)
            std::memcpy(FData, Data, Size);
    }
    ~TGuardedInput() { munmap(FMemory, FLength); }
    const uint8_t *Data() const { return FData; }

private:
    uint8_t *FMemory = nullptr;
    uint8_t *FData = nullptr;
    size_t FLength = 0;
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Text needs the font database of a GUI application.
    static QGuiApplication application(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const TGuardedInput input(data, size);
    IsMetafile(input.Data(), size);
    TPixelBuffer picture;
    try {
        DecodeMetafile(input.Data(), size, picture, kMaxPixels);
    } catch (const std::runtime_error &) {
        return 0;
    }
    if (picture.IsEmpty() || int64_t{picture.Width()} * picture.Height() > kMaxPixels ||
        picture.BitsPerPixel() != 32)
        std::abort();
    for (int32_t y = 0; y < picture.Height(); ++y)
        for (int32_t x = 0; x < picture.Width(); ++x)
            if ((picture.Pixel(x, y) >> 24) != 0)
                std::abort();
    return 0;
}
