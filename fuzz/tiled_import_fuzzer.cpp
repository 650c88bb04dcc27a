// Feeds arbitrary bytes to the Tiled map importer as a map file (XML or JSON, the reader
// chooses by the first character), beside tilesets and a picture the maps may refer to.
// Whatever it accepts must hold every byte it claims, tell the user at most once, and
// survive a TMX export that reads back with the same cells; whatever it refuses must say
// why once and leave nothing owned.
#include "fuzz/FuzzSupport.h"
#include "plugins/tmx/PngFile.h"
#include "plugins/tmx/TiledImport.h"
#include "plugins/tmx/TmxWriter.h"

namespace
{

size_t Notices = 0;

void CountNotice(TessellaWindow *, const char *text)
{
    if (text == nullptr || *text == '\0')
        std::abort();
    ++Notices;
}

void WriteText(const char *name, const std::string &text)
{
    fuzz::WriteInput(name, reinterpret_cast<const uint8_t *>(text.data()), text.size());
}

// A 16 × 24 picture of 8-pixel tiles, some transparent, and tilesets that use it in the
// ways a map can refer to: XML and JSON, grid-sized, tall with margins, with a trans colour.
void WriteTilesets()
{
    TRgbaImage image;
    image.Resize(16, 24);
    for (int32_t y = 0; y < 24; ++y)
        for (int32_t x = 0; x < 16; ++x) {
            uint8_t *p = image.At(x, y);
            p[0] = static_cast<uint8_t>(x * 16);
            p[1] = static_cast<uint8_t>(y * 10);
            p[2] = (x + y) % 5 == 0 ? 0 : 200;
            p[3] = x % 8 < 2 && y % 8 < 3 ? 0 : 255;
        }
    const std::vector<uint8_t> png = EncodePng(image, "fuzz");
    fuzz::WriteInput("tiles.png", png.data(), png.size());
    WriteText("tiles.tsx", "<tileset name=\"tiles\" tilewidth=\"8\" tileheight=\"8\">"
                           "<image source=\"tiles.png\"/><wangsets><wangset name=\"w\" "
                           "type=\"corner\" tile=\"1\"><wangcolor name=\"a\" color=\"#ff0000\" "
                           "tile=\"2\"/><wangtile tileid=\"1\" wangid=\"0,1,0,1,0,1,0,1\"/>"
                           "</wangset></wangsets></tileset>");
    WriteText("tall.tsx", "<tileset name=\"tall\" tilewidth=\"7\" tileheight=\"11\" margin=\"1\" "
                          "spacing=\"1\"><tileoffset x=\"-3\" y=\"2\"/><image source=\"tiles.png\" "
                          "trans=\"00c8c8\"/></tileset>");
    WriteText("tiles.tsj", "{\"name\":\"json\",\"tilewidth\":8,\"tileheight\":16,"
                           "\"image\":\"tiles.png\",\"transparentcolor\":\"#ff00ff\"}");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    WriteTilesets();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string path = fuzz::WriteInput("input.tmx", data, size);
    IsTiledFileSupported(path.c_str());

    TessellaWindow window = fuzz::Window();
    window.ShowNotice = CountNotice;
    // Small maps only: a layer of a few bytes may name any size.
    TReadLimits limits;
    limits.MaxCells = 1 << 16;
    PluginMapRecord record{};
    Notices = 0;
    if (ImportTiledFile(&window, path.c_str(), &record, fuzz::GoOn, limits) != prSuccess) {
        fuzz::CheckFailure(record);
        if (Notices != 1)
            std::abort();
        return 0;
    }
    if (Notices > 1 || record.LayerCount == 0 || (record.BitCount != 8 && record.BitCount != 16))
        std::abort();
    fuzz::TouchRecord(record);
    for (int i = 0; i < record.LayerCount; ++i)
        for (uint64_t k = 0; k < uint64_t{record.Width} * record.Height; ++k)
            if (record.BitCount == 8 && record.Layers[i].Cells[k] > 255)
                std::abort();

    // Out as TMX and in again: the same cells in the same layers.
    const std::string saved = fuzz::Folder() + "/saved.tmx";
    if (WriteTmxFile(saved.c_str(), record, fuzz::GoOn) != prSuccess)
        std::abort();
    PluginMapRecord again{};
    if (ImportTiledFile(&window, saved.c_str(), &again, fuzz::GoOn, limits) != prSuccess ||
        !fuzz::SameLayers(record, again, false))
        std::abort();
    fuzz::FreeRecord(again);
    fuzz::FreeRecord(record);
    return 0;
}
