// Feeds arbitrary text to the CSV importer. Whatever it accepts must hold every byte it
// claims, mark each layer 0 or 1, survive a save and read back the same; whatever it
// refuses must leave nothing owned.
#include "fuzz/FuzzSupport.h"
#include "plugins/csv/CsvFilePlugin.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string path = fuzz::WriteInput("input.csv", data, size);
    IsCsvFileSupported(path.c_str());

    TessellaWindow window = fuzz::Window();
    PluginMapRecord record{};
    if (ImportCsvFile(&window, path.c_str(), &record, fuzz::GoOn) != prSuccess) {
        fuzz::CheckFailure(record);
        return 0;
    }
    fuzz::TouchRecord(record);
    // A layer is shown or hidden; the reader hands back 1 for any visibility it shows.
    for (int i = 0; i < record.LayerCount; ++i)
        if (record.Layers[i].Visible > 1)
            std::abort();
    if (record.LayerCount == 0) {
        // Such a file has cell blocks but no layer for them; its export has no block at
        // all, which the format does not read back.
        fuzz::FreeRecord(record);
        return 0;
    }

    // Texts may lose what the format cannot hold (an incomplete double-byte character cut
    // off by a NUL), so they are checked by writing the record read back once more.
    const std::string saved = fuzz::Folder() + "/saved.csv";
    const std::string resaved = fuzz::Folder() + "/resaved.csv";
    if (ExportCsvFile(&window, saved.c_str(), &record, fuzz::GoOn) != prSuccess)
        std::abort();
    PluginMapRecord again{};
    const uint8_t align = record.AlignFlags == 255 ? 0 : record.AlignFlags & 1;
    if (ImportCsvFile(&window, saved.c_str(), &again, fuzz::GoOn) != prSuccess ||
        !fuzz::SameLayers(record, again, false) || again.AlignFlags != align ||
        again.TransColor != record.TransColor || again.InvisiblePart != record.InvisiblePart)
        std::abort();
    if (ExportCsvFile(&window, resaved.c_str(), &again, fuzz::GoOn) != prSuccess ||
        fuzz::ReadFile(saved) != fuzz::ReadFile(resaved))
        std::abort();
    fuzz::FreeRecord(again);
    fuzz::FreeRecord(record);
    return 0;
}
