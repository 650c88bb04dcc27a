// File plug-in throughput in the temporary folder:
//   tzp: a 2048 x 2048 map with 16 layers (128 MiB of cells) exported (as a new file and
//        over the previous one, each on the disk before it takes the name) and imported
//        (from the page cache), and a memcpy of the same bytes to compare; saving over the
//        previous file against saving a new one, alternately in the same run (goal: not
//        slower);
//   CSV: a 1024 x 1024 map with 4 layers, in bytes of text per second.
#include "plugins/csv/CsvFilePlugin.h"
#include "plugins/project/ProjectFilePlugin.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace
{

int32_t GoOn(int32_t, int32_t, const char *)
{
    return 1;
}

std::string BenchFolder()
{
    static const std::string folder = [] {
        const char *base = std::getenv("TMPDIR");
        std::string pattern =
            std::string(base != nullptr && *base ? base : "/tmp") + "/tessella-bench-XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr)
            std::abort();
        return pattern;
    }();
    return folder;
}

// A map whose cells look like a real one: mostly small part numbers.
struct TBenchMap {
    TBenchMap(uint32_t width, uint32_t height, int layers, uint32_t maxPart)
    {
        std::mt19937 random(1234);
        std::uniform_int_distribution<uint32_t> part(0, maxPart);
        Names.resize(layers);
        Cells.resize(layers);
        Layers.resize(layers);
        for (int i = 0; i < layers; ++i) {
            Names[i] = "Layer " + std::to_string(i);
            Cells[i].resize(size_t{width} * height);
            for (uint16_t &cell : Cells[i])
                cell = static_cast<uint16_t>(part(random));
            Layers[i].Name = Names[i].data();
            Layers[i].PartsImage = nullptr;
            Layers[i].Visible = 1;
            Layers[i].Cells = Cells[i].data();
        }
        Record.Width = width;
        Record.Height = height;
        Record.PartsWidth = 32;
        Record.PartsHeight = 32;
        Record.LayerCount = static_cast<uint8_t>(layers);
        Record.BitCount = 16;
        Record.Layers = Layers.data();
        Record.Zoom = 256;
    }
    uint64_t CellBytes() const
    {
        return uint64_t{Record.Width} * Record.Height * 2 * Layers.size();
    }

    std::vector<std::string> Names;
    std::vector<std::vector<uint16_t>> Cells;
    std::vector<PluginLayerRecord> Layers;
    PluginMapRecord Record{};
};

TBenchMap &LargeProjectMap()
{
    static TBenchMap map(2048, 2048, 16, 4095);
    return map;
}

TBenchMap &CsvMap()
{
    static TBenchMap map(1024, 1024, 4, 4095);
    return map;
}

void FreeRecord(PluginMapRecord &record)
{
    for (int i = 0; record.Layers != nullptr && i < record.LayerCount; ++i) {
        TessellaFree(record.Layers[i].Name);
        TessellaFree(record.Layers[i].PartsImage);
        TessellaFree(record.Layers[i].Cells);
    }
    TessellaFree(record.Layers);
    TessellaFree(record.Comment);
    TessellaFree(record.HiddenData);
    record = PluginMapRecord{};
}

double Seconds(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

uint64_t FileSize(const std::string &path)
{
    struct stat info {
    };
    return stat(path.c_str(), &info) == 0 ? static_cast<uint64_t>(info.st_size) : 0;
}

TessellaWindow Window()
{
    TessellaWindow window{};
    window.StructSize = sizeof window;
    return window;
}

// Saving as a new file; the file of the previous round is removed untimed.
void TzpExport(benchmark::State &state)
{
    TBenchMap &map = LargeProjectMap();
    TessellaWindow window = Window();
    const std::string path = BenchFolder() + "/large.tzp";
    for (auto _ : state) {
        state.PauseTiming();
        std::remove(path.c_str());
        state.ResumeTiming();
        if (ExportProjectFile(&window, path.c_str(), &map.Record, GoOn) != prSuccess)
            state.SkipWithError("export failed");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * map.CellBytes()));
}

// Saving over the previous file; the file system's work of releasing the old one is left
// to a background thread.
void TzpExportReplacing(benchmark::State &state)
{
    TBenchMap &map = LargeProjectMap();
    TessellaWindow window = Window();
    const std::string path = BenchFolder() + "/large.tzp";
    for (auto _ : state) {
        if (ExportProjectFile(&window, path.c_str(), &map.Record, GoOn) != prSuccess)
            state.SkipWithError("export failed");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * map.CellBytes()));
}

// New and replacing saves in turn, so that both meet the same state of the machine; the
// best of each and their ratio.
void TzpReplacingAgainstNew(benchmark::State &state)
{
    TBenchMap &map = LargeProjectMap();
    TessellaWindow window = Window();
    const std::string path = BenchFolder() + "/large.tzp";
    double bestNew = 1e9;
    double bestReplacing = 1e9;
    for (auto _ : state) {
        state.PauseTiming();
        std::remove(path.c_str());
        state.ResumeTiming();
        auto start = std::chrono::steady_clock::now();
        if (ExportProjectFile(&window, path.c_str(), &map.Record, GoOn) != prSuccess)
            state.SkipWithError("export failed");
        bestNew = std::min(bestNew, Seconds(start));
        start = std::chrono::steady_clock::now();
        if (ExportProjectFile(&window, path.c_str(), &map.Record, GoOn) != prSuccess)
            state.SkipWithError("export failed");
        bestReplacing = std::min(bestReplacing, Seconds(start));
    }
    state.counters["new_GBps"] = static_cast<double>(map.CellBytes()) / bestNew / 1e9;
    state.counters["replacing_GBps"] = static_cast<double>(map.CellBytes()) / bestReplacing / 1e9;
    state.counters["replacing_over_new"] = bestReplacing / bestNew;
}

void TzpImport(benchmark::State &state)
{
    TBenchMap &map = LargeProjectMap();
    TessellaWindow window = Window();
    const std::string path = BenchFolder() + "/large-read.tzp";
    if (ExportProjectFile(&window, path.c_str(), &map.Record, GoOn) != prSuccess)
        state.SkipWithError("export failed");
    for (auto _ : state) {
        PluginMapRecord record{};
        if (ImportProjectFile(&window, path.c_str(), &record, GoOn) != prSuccess)
            state.SkipWithError("import failed");
        state.PauseTiming();
        FreeRecord(record);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * map.CellBytes()));
}

// The yardstick: copying the same cells once, into memory already in use.
void TzpMemcpyBaseline(benchmark::State &state)
{
    TBenchMap &map = LargeProjectMap();
    std::vector<std::vector<uint16_t>> copy(map.Cells.size());
    for (size_t i = 0; i < copy.size(); ++i)
        copy[i].assign(map.Cells[i].size(), 1);
    for (auto _ : state) {
        for (size_t i = 0; i < copy.size(); ++i)
            std::memcpy(copy[i].data(), map.Cells[i].data(), map.Cells[i].size() * 2);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * map.CellBytes()));
}

void CsvExport(benchmark::State &state)
{
    TBenchMap &map = CsvMap();
    TessellaWindow window = Window();
    const std::string path = BenchFolder() + "/map.csv";
    for (auto _ : state) {
        state.PauseTiming();
        std::remove(path.c_str());
        state.ResumeTiming();
        if (ExportCsvFile(&window, path.c_str(), &map.Record, GoOn) != prSuccess)
            state.SkipWithError("export failed");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * FileSize(path)));
}

void CsvImport(benchmark::State &state)
{
    TBenchMap &map = CsvMap();
    TessellaWindow window = Window();
    const std::string path = BenchFolder() + "/map-read.csv";
    if (ExportCsvFile(&window, path.c_str(), &map.Record, GoOn) != prSuccess)
        state.SkipWithError("export failed");
    for (auto _ : state) {
        PluginMapRecord record{};
        if (ImportCsvFile(&window, path.c_str(), &record, GoOn) != prSuccess)
            state.SkipWithError("import failed");
        state.PauseTiming();
        FreeRecord(record);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * FileSize(path)));
}

} // namespace

BENCHMARK(TzpMemcpyBaseline)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(TzpExport)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(TzpExportReplacing)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(TzpReplacingAgainstNew)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(12);
BENCHMARK(TzpImport)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(CsvExport)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(CsvImport)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    const std::string folder = BenchFolder();
    for (const char *name : {"large.tzp", "large-read.tzp", "map.csv", "map-read.csv"})
        std::remove((folder + "/" + name).c_str());
    rmdir(folder.c_str());
    return 0;
}
