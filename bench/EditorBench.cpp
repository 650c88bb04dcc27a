// The editor as a user meets it: start-up to the first painted default map, and opening a
// large project compared with the project plug-in's own import of the same file.
#include "common/ImportedRecord.h"
#include "common/TessellaPlugin.h"
#include "common/platform/DynamicLibrary.h"
#include "editor/plugins/FileCommands.h"
#include "editor/shell/MainForm.h"
#include "editor/shell/MapDocument.h"
#include "editor/shell/Startup.h"
#include "editor/shell/language/Language.h"

#include <QApplication>
#include <QImage>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <vector>

namespace fs = std::filesystem;

namespace
{

fs::path ProgramFolder()
{
    static const fs::path folder = [] {
        const fs::path path = fs::temp_directory_path() / "tessella-editor-bench";
        fs::remove_all(path);
        fs::create_directories(path / "Plugins");
        for (const char *name : {"tzp.so", "gridcsv.so", "png.spi"})
            fs::copy_file(fs::path(TESSELLA_BUILD_DIR) / "Plugins" / name, path / "Plugins" / name);
        return path;
    }();
    return folder;
}

int32_t GoOn(int32_t, int32_t, const char *)
{
    return 1;
}

// A 2048 × 2048 project with 16 layers, written once by the project plug-in itself.
fs::path LargeProject()
{
    static const fs::path file = [] {
        const fs::path path = ProgramFolder() / "large.tzp";
        const uint32_t side = 2048;
        std::vector<std::vector<uint16_t>> cells(16, std::vector<uint16_t>(side * side));
        std::vector<PluginLayerRecord> layers(16);
        std::vector<std::string> names(16);
        for (size_t l = 0; l < 16; ++l) {
            for (size_t i = 0; i < cells[l].size(); ++i)
                cells[l][i] = static_cast<uint16_t>((i + l) % 256);
            names[l] = "Layer" + std::to_string(l);
            layers[l] = {names[l].data(), nullptr, 1, cells[l].data()};
        }
        PluginMapRecord record{};
        record.Width = record.Height = side;
        record.PartsWidth = record.PartsHeight = 32;
        record.LayerCount = 16;
        record.BitCount = 8;
        record.Layers = layers.data();
        record.Zoom = 256;
        TessellaWindow window{};
        TDynamicLibrary library((ProgramFolder() / "Plugins" / "tzp.so").string());
        auto exportProc = library.Function<FilePluginExportProc>("Export");
        if (exportProc == nullptr || exportProc(&window, path.c_str(), &record, GoOn) != prSuccess)
            std::abort();
        return path;
    }();
    return file;
}

// A 1024 × 1024 project of 4 layers whose parts come from a 512 × 512 PNG (256 parts of
// 32 × 32): what a user's first open of a real map looks like.
fs::path ProjectWithPngParts()
{
    static const fs::path file = [] {
        const fs::path folder = ProgramFolder();
        QImage parts(512, 512, QImage::Format_RGB32);
        for (int y = 0; y < parts.height(); ++y)
            for (int x = 0; x < parts.width(); ++x)
                parts.setPixel(x, y, qRgb(x / 2, y / 2, (x ^ y) & 0xFF));
        const fs::path image = folder / "parts.png";
        if (!parts.save(QString::fromStdString(image.string())))
            std::abort();
        const fs::path path = folder / "png-parts.tzp";
        const uint32_t side = 1024;
        const size_t layerCount = 4;
        std::vector<std::vector<uint16_t>> cells(layerCount, std::vector<uint16_t>(side * side));
        std::vector<PluginLayerRecord> layers(layerCount);
        std::vector<std::string> names(layerCount);
        std::string imageName = image.string();
        for (size_t l = 0; l < layerCount; ++l) {
            for (size_t i = 0; i < cells[l].size(); ++i)
                cells[l][i] = static_cast<uint16_t>((i * 7 + l) % 256);
            names[l] = "Layer" + std::to_string(l);
            layers[l] = {names[l].data(), imageName.data(), 1, cells[l].data()};
        }
        PluginMapRecord record{};
        record.Width = record.Height = side;
        record.PartsWidth = record.PartsHeight = 32;
        record.LayerCount = static_cast<uint8_t>(layerCount);
        record.BitCount = 8;
        record.Layers = layers.data();
        record.Zoom = 256;
        TessellaWindow window{};
        TDynamicLibrary library((folder / "Plugins" / "tzp.so").string());
        auto exportProc = library.Function<FilePluginExportProc>("Export");
        if (exportProc == nullptr || exportProc(&window, path.c_str(), &record, GoOn) != prSuccess)
            std::abort();
        return path;
    }();
    return file;
}

// From the start to the first composed and shown map: with no file (the default map), and
// with the PNG-parts project given on the command line.
void StartUpToFirstPaintedMap(benchmark::State &state, const std::string &file)
{
    for (auto _ : state) {
        std::unique_ptr<TMainForm> form = StartEditor(ProgramFolder().string(), file);
        if (!form) {
            state.SkipWithError("start-up failed");
            return;
        }
        form->show();
        QCoreApplication::sendPostedEvents(); // the first map, or the file
        form->RedrawAll();
        QCoreApplication::processEvents();
        state.PauseTiming();
        if (!file.empty() && (MapDocument()->Width() != 1024 || MapDocument()->LayerCount() != 4)) {
            state.SkipWithError("the project did not open");
            return;
        }
        form.reset();
        FinishEditor();
        fs::remove(ProgramFolder() / "Tessella.ini");
        state.ResumeTiming();
    }
}

void BM_StartUpToFirstPaintedMap(benchmark::State &state)
{
    StartUpToFirstPaintedMap(state, "");
}
BENCHMARK(BM_StartUpToFirstPaintedMap)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_StartUpWithPngPartsProject(benchmark::State &state)
{
    const fs::path file = ProjectWithPngParts();
    StartUpToFirstPaintedMap(state, file.string());
    state.SetLabel("goal: within 2x BM_StartUpToFirstPaintedMap");
}
BENCHMARK(BM_StartUpWithPngPartsProject)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_PluginImportOfLargeProject(benchmark::State &state)
{
    const fs::path file = LargeProject();
    TDynamicLibrary library((ProgramFolder() / "Plugins" / "tzp.so").string());
    auto importProc = library.Function<FilePluginImportProc>("Import");
    TessellaWindow window{};
    for (auto _ : state) {
        PluginMapRecord record{};
        if (importProc(&window, file.c_str(), &record, GoOn) != prSuccess) {
            state.SkipWithError("import failed");
            return;
        }
        FreeImportedRecord(record);
    }
}
BENCHMARK(BM_PluginImportOfLargeProject)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_EditorOpenOfLargeProject(benchmark::State &state)
{
    const fs::path file = LargeProject();
    std::unique_ptr<TMainForm> form = StartEditor(ProgramFolder().string());
    QCoreApplication::sendPostedEvents();
    for (auto _ : state) {
        if (!form->Files().OpenFile(file.string())) {
            state.SkipWithError("open failed");
            break;
        }
    }
    form.reset();
    FinishEditor();
}
BENCHMARK(BM_EditorOpenOfLargeProject)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
