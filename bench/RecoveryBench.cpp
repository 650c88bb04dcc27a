// What a recovery copy costs on a 4096 × 4096 map of 16 layers (512 MiB of cells): the
// pause its snapshot makes on the window's thread, against a plain copy of all cells in
// the same run, and the time the worker needs to write the copy through the project
// plug-in.
#include "editor/plugins/RecoveryCopy.h"
#include "editor/plugins/RecoverySnapshot.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <filesystem>
#include <memory>
#include <vector>

namespace
{

constexpr int32_t Side = 4096;
constexpr int32_t Layers = 16;

struct TBenchProject {
    TMap Map;
    TProjectDocument Document{[this] { return &Map; }};
    TBenchProject()
    {
        Map.Initialize(Side, Side, 32, 32, 16);
        for (int32_t i = 0; i < Layers; ++i)
            Map.AddLayer("layer " + std::to_string(i), nullptr, i);
    }
};

TBenchProject &Project()
{
    static TBenchProject project;
    return project;
}

void Stroke(TMap &map, int32_t layer, uint16_t value)
{
    map.BeginModify();
    TModified pen;
    pen.Layer = layer;
    pen.Target.Active = 1;
    pen.Target.X = value % Side;
    pen.Target.Y = value % Side;
    pen.Source.Active = 1;
    pen.Data = {value};
    map.WriteData(pen, 65536);
    map.EndModify();
}

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The baseline: every cell of every layer copied, as a snapshot without reuse would.
void BM_PlainCopyOfAllCells(benchmark::State &state)
{
    TMap &map = Project().Map;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        std::vector<std::vector<uint16_t>> copy;
        copy.reserve(Layers);
        for (int32_t i = 0; i < Layers; ++i)
            copy.push_back(map.GetLayer(i).Data);
        state.SetIterationTime(Seconds(start));
        benchmark::DoNotOptimize(copy.data());
    }
}
BENCHMARK(BM_PlainCopyOfAllCells)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

// The recovery snapshot after a stroke on one layer: the pause painting sees.
void BM_SnapshotAfterAStroke(benchmark::State &state)
{
    TBenchProject &project = Project();
    TRecoverySnapshotTaker taker;
    taker.Take(project.Document);
    uint16_t value = 1;
    size_t copied = 0;
    for (auto _ : state) {
        Stroke(project.Map, value % Layers, value);
        ++value;
        const Clock::time_point start = Clock::now();
        const TRecoverySnapshot snapshot = taker.Take(project.Document);
        state.SetIterationTime(Seconds(start));
        copied += taker.CopiedLayers();
        benchmark::DoNotOptimize(snapshot.Layers.data());
    }
    state.counters["layers copied"] =
        benchmark::Counter(static_cast<double>(copied), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_SnapshotAfterAStroke)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

// The first snapshot after a file was opened has every layer to copy; it is taken in steps
// of 32 MiB with the event loop running between them, as the editor does. The time is the
// longest single step: the pause painting sees.
void BM_FirstSnapshotLongestStep(benchmark::State &state)
{
    TBenchProject &project = Project();
    size_t steps = 0;
    for (auto _ : state) {
        TRecoverySnapshotTaker taker;
        double longest = 0;
        for (bool complete = false; !complete;) {
            const Clock::time_point start = Clock::now();
            complete = taker.CopyAhead(project.Document, 32u << 20);
            longest = std::max(longest, Seconds(start));
            ++steps;
        }
        const Clock::time_point start = Clock::now();
        const TRecoverySnapshot snapshot = taker.Take(project.Document);
        longest = std::max(longest, Seconds(start));
        state.SetIterationTime(longest);
        benchmark::DoNotOptimize(snapshot.Layers.data());
    }
    state.counters["steps"] =
        benchmark::Counter(static_cast<double>(steps), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_FirstSnapshotLongestStep)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

// The worker's part: the whole project written through the project plug-in, made durable
// and renamed into place.
void BM_WriteCopyInTheBackground(benchmark::State &state)
{
    TBenchProject &project = Project();
    TRecoverySnapshotTaker taker;
    const TRecoverySnapshot snapshot = taker.Take(project.Document);
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "tessella-recovery-bench";
    std::filesystem::create_directories(folder);
    const std::string plugin = std::string(TESSELLA_BUILD_DIR) + "/Plugins/tzp.so";
    for (auto _ : state) {
        const int32_t result =
            WriteRecoveryCopy(snapshot, plugin, (folder / "copy.tzp").string(), nullptr);
        if (result != 0) {
            state.SkipWithError("the copy could not be written");
            break;
        }
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_WriteCopyInTheBackground)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
