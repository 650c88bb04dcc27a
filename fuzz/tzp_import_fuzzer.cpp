// Feeds arbitrary bytes to the project-file importer. Whatever it accepts must hold every
// byte it claims, survive a save and read back the same; whatever it refuses must leave
// nothing owned.
#include "fuzz/FuzzSupport.h"
#include "plugins/project/BmpWidth.h"
#include "plugins/project/ProjectFilePlugin.h"

namespace
{

// A 24-bit bitmap 160 pixels wide, for the old layout's parts images.
void WritePartsImage()
{
    const uint32_t width = 160;
    const uint32_t height = 1;
    const uint32_t pixels = width * 3 * height;
    uint8_t header[54] = {'B', 'M'};
    auto put32 = [&](int at, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            header[at + i] = static_cast<uint8_t>(v >> (8 * i));
    };
    put32(2, 54 + pixels);
    put32(10, 54);
    put32(14, 40);
    put32(18, width);
    put32(22, height);
    header[26] = 1;
    header[28] = 24;
    std::string bytes(reinterpret_cast<char *>(header), sizeof header);
    bytes.append(pixels, '\0');
    const std::string path = fuzz::WriteInput(
        "tiles.bmp", reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size());
    fuzz::Answer() = path;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    WritePartsImage();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string path = fuzz::WriteInput("input.tzp", data, size);
    IsProjectFileSupported(path.c_str());

    TessellaWindow window = fuzz::Window();
    PluginMapRecord record{};
    if (ImportProjectFile(&window, path.c_str(), &record, fuzz::GoOn) != prSuccess) {
        fuzz::CheckFailure(record);
        return 0;
    }
    fuzz::TouchRecord(record);

    const std::string saved = fuzz::Folder() + "/saved.tzp";
    if (ExportProjectFile(&window, saved.c_str(), &record, fuzz::GoOn) != prSuccess)
        std::abort();
    PluginMapRecord again{};
    if (ImportProjectFile(&window, saved.c_str(), &again, fuzz::GoOn) != prSuccess ||
        !fuzz::SameLayers(record, again) || again.Zoom != record.Zoom ||
        again.TransColor != record.TransColor || again.InvisiblePart != record.InvisiblePart ||
        again.HiddenSize != record.HiddenSize || !fuzz::SameText(again.Comment, record.Comment))
        std::abort();
    fuzz::FreeRecord(again);
    fuzz::FreeRecord(record);
    return 0;
}
