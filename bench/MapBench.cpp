// Speed and memory of the map document's bulk work: flood fill, a long pen stroke with
// its undo and redo, resizing a large map, scrolling a layer.
#include "common/platform/LargeBuffer.h"
#include "editor/map/MapDataUnit.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace
{

std::unique_ptr<TMap> MakeMap(int32_t width, int32_t height)
{
    auto map = std::make_unique<TMap>();
    map->Initialize(width, height, 32, 32, 16);
    map->AddLayer("Layer0", nullptr, 0);
    return map;
}

TModified Pen(int32_t x, int32_t y, uint16_t value)
{
    TModified pen;
    pen.Target.Active = 1;
    pen.Target.X = x;
    pen.Target.Y = y;
    pen.Source.Active = 1;
    pen.Data = {value};
    return pen;
}

// Peak resident memory in bytes since the last reset (Linux).
void ResetPeakMemory()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

double StatusBytes(const std::string &wanted)
{
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == wanted) {
            double kib = 0;
            status >> kib;
            return kib * 1024.0;
        }
    }
    return 0;
}

// The memory work any fill of a whole 4096 x 4096 layer does: the layer copied into a new
// record array, every cell written, the layer copied into a second new array (best of
// several, in seconds). The fills below report their time as a ratio to it.
double FillBaselineSeconds()
{
    static const double seconds = [] {
        std::vector<uint16_t> cells(size_t{4096} * 4096, 0);
        double best = 1e9;
        for (int i = 0; i < 20; ++i) {
            const auto start = std::chrono::steady_clock::now();
            std::vector<uint16_t> before;
            before.reserve(cells.size());
            AdviseHugePages(before.data(), cells.size() * 2);
            before.assign(cells.begin(), cells.end());
            std::fill(cells.begin(), cells.end(), static_cast<uint16_t>(i + 1));
            std::vector<uint16_t> after;
            after.reserve(cells.size());
            AdviseHugePages(after.data(), cells.size() * 2);
            after.assign(cells.begin(), cells.end());
            benchmark::DoNotOptimize(before.data());
            benchmark::DoNotOptimize(after.data());
            const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
            best = std::min(best, took.count());
        }
        return best;
    }();
    return seconds;
}

// Fills from the centre of a 4096 x 4096 layer, alternating the value so that each fill
// covers the region again, and reports the fastest fill against the baseline.
void TimeFills(benchmark::State &state, TMap &map)
{
    FillBaselineSeconds();
    TModified request = Pen(0, 0, 1);
    const std::vector<uint16_t> &cells = map.GetLayer(0).Data;
    double best = 1e9;
    for (auto _ : state) {
        // The value the seed's region does not hold, so that every fill covers it again.
        request.Data[0] = cells[2048 * 4096 + 2048] == 7 ? 8 : 7;
        const auto start = std::chrono::steady_clock::now();
        map.FillArea(2048, 2048, request);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
        state.PauseTiming();
        map.FlushModify();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * 4096 * 4096);
    state.counters["best_ms"] = best * 1e3;
    state.counters["baseline_ms"] = FillBaselineSeconds() * 1e3;
    state.counters["ratio_to_baseline"] = best / FillBaselineSeconds();
}

// Goal: at most 40 ms.
void BM_FillAreaUniform4096(benchmark::State &state)
{
    auto map = MakeMap(4096, 4096);
    TimeFills(state, *map);
}
BENCHMARK(BM_FillAreaUniform4096)->Unit(benchmark::kMillisecond);

// Scattered walls: a third of the cells, at random, so that the open cells form one winding
// region of row spans about three cells long, the hardest case for a fill that works by spans.
void BM_FillAreaScattered4096(benchmark::State &state)
{
    auto map = MakeMap(4096, 4096);
    std::vector<uint16_t> &cells = map->GetLayer(0).Data;
    uint32_t random = 12345;
    for (uint16_t &cell : cells) {
        random = random * 1664525u + 1013904223u;
        cell = (random >> 16) % 100 < 33 ? 1 : 7;
    }
    cells[2048 * 4096 + 2048] = 7;
    TimeFills(state, *map);
}
BENCHMARK(BM_FillAreaScattered4096)->Unit(benchmark::kMillisecond);

void BM_PenStroke10000Cells(benchmark::State &state)
{
    auto map = MakeMap(1000, 1000);
    for (auto _ : state) {
        map->BeginModify();
        for (int32_t i = 0; i < 10000; ++i) {
            TModified pen = Pen(i % 1000, i / 1000 * 7, static_cast<uint16_t>(i));
            map->WriteData(pen, 65536);
        }
        map->EndModify();
        state.PauseTiming();
        map->FlushModify();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_PenStroke10000Cells)->Unit(benchmark::kMillisecond);

void BM_UndoRedoOfA10000CellStroke(benchmark::State &state)
{
    auto map = MakeMap(1000, 1000);
    map->BeginModify();
    for (int32_t i = 0; i < 10000; ++i) {
        TModified pen = Pen(i % 1000, i / 1000 * 7, static_cast<uint16_t>(i));
        map->WriteData(pen, 65536);
    }
    map->EndModify();
    TSelection changed;
    for (auto _ : state) {
        map->Undo(changed);
        map->Redo(changed);
    }
    state.counters["per_step_ms"] =
        benchmark::Counter(2.0 * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_UndoRedoOfA10000CellStroke)->Unit(benchmark::kMillisecond);

void BM_ResizeMap8192To8000Rows(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        const double baseline = StatusBytes("VmRSS:");
        auto map = MakeMap(8192, 8192);
        const double mapBytes = 8192.0 * 8192.0 * 2.0;
        ResetPeakMemory();
        state.ResumeTiming();
        map->ResizeMap(8192, 8000, nullptr, 0, 1, 3);
        state.PauseTiming();
        const double peak = StatusBytes("VmHWM:");
        state.counters["map_MiB"] = mapBytes / 1048576.0;
        // Resident memory at the peak of the resize, less what the process held before
        // the map existed: the goal is at most map + one new layer.
        state.counters["peak_MiB"] = (peak - baseline) / 1048576.0;
        state.counters["new_layer_MiB"] = 8192.0 * 8000.0 * 2.0 / 1048576.0;
        map.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ResizeMap8192To8000Rows)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ScrollMap4096(benchmark::State &state)
{
    auto map = MakeMap(4096, 4096);
    for (auto _ : state) {
        map->ScrollMap(17, -5, 0, nullptr);
        state.PauseTiming();
        map->FlushModify();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ScrollMap4096)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
