// Writes the PNG plug-in fuzzer's seed corpus: every kind of picture the tests use.
#include "tests/plugin-png/PngTestImages.h"

#include <cstdio>
#include <filesystem>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
        return 2;
    }
    std::filesystem::create_directories(argv[1]);
    int written = 0;
    for (const auto &[name, image] : AllTestPngs()) {
        if (!WritePngFile((std::filesystem::path(argv[1]) / (name + ".png")).string(), image)) {
            std::fprintf(stderr, "cannot write %s\n", name.c_str());
            return 1;
        }
        ++written;
    }
    std::printf("png seed corpus: %d files\n", written);
    return 0;
}
