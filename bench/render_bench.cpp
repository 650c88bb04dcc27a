// Map view composition speed: a 1920 × 1080 view of 32 × 32 parts with 4 visible layers and
// the transparent colour on, at every zoom, and a partial update of one cell. Each
// composition reports its time as a ratio to memcpy of 4 × 1920 × 1080 pixels (one frame per
// layer) measured in the same run (goal: at most 1.5).
#include "editor/map/MapDataUnit.h"
#include "editor/render/BackgroundBitmap.h"
#include "editor/render/MapViewRenderer.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstring>
#include <memory>
#include <vector>

namespace
{

constexpr int32_t kViewWidth = 1920;
constexpr int32_t kViewHeight = 1080;
constexpr int32_t kParts = 32;
constexpr int32_t kColumns = 16;
constexpr uint32_t kKey = 0x00FF00FF;

class TColumns : public TChipPositions
{
public:
    bool GetImagePosition(int32_t ChipNumber, int32_t, int32_t &X, int32_t &Y) const override
    {
        X = kParts * (ChipNumber % kColumns);
        Y = kParts * (ChipNumber / kColumns);
        return true;
    }
};

// One memcpy of 4 × 1920 × 1080 32-bit pixels, into memory already in use; its seconds.
double MemcpyOnce()
{
    static std::vector<uint8_t> from(size_t{4} * kViewWidth * kViewHeight * 4, 1);
    static std::vector<uint8_t> to(from.size(), 0);
    const auto start = std::chrono::steady_clock::now();
    std::memcpy(to.data(), from.data(), from.size());
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    return took.count();
}

struct TScene {
    TMap Map;
    std::vector<std::unique_ptr<TMapChip>> Chips;
    TColumns Parts;
    TMapViewState State;
    TPixelBuffer Back;
    TPixelBuffer Background = MakeBackgroundBitmap();

    explicit TScene(int32_t CellSize)
    {
        Map.Initialize(256, 256, kParts, kParts, 8);
        for (int32_t l = 0; l < 4; ++l) {
            Map.AddLayer("Layer" + std::to_string(l), nullptr, 0);
            auto image = std::make_unique<TPixelBuffer>(kColumns * kParts, kColumns * kParts);
            for (int32_t y = 0; y < image->Height(); ++y)
                for (int32_t x = 0; x < image->Width(); ++x) {
                    const bool hole = l > 0 && ((x / 8 + y / 8 + l) % 3 == 0);
                    image->SetPixel(x, y, hole ? kKey : static_cast<uint32_t>(x * 131 + y * 7 + l));
                }
            auto chip = std::make_unique<TMapChip>();
            chip->Image = std::move(image);
            Map.SetLayerChip(l, chip.get());
            Chips.push_back(std::move(chip));
            std::vector<uint16_t> &data = Map.GetLayer(l).Data;
            for (size_t i = 0; i < data.size(); ++i)
                data[i] = static_cast<uint16_t>((i * 7 + static_cast<size_t>(l) * 13) % 256);
        }
        State.ViewReady = State.Initialized = true;
        State.ViewWidth = kViewWidth;
        State.ViewHeight = kViewHeight;
        State.ViewCellWidth = State.ViewCellHeight = CellSize;
        State.CurrentLayer = 0;
        State.TransEnabled = true;
        State.TransColor = kKey;
        State.ShowGrid = false;
        State.ShowCGrid = false;
        Back.SetSize(kViewWidth, kViewHeight);
    }
};

// Runs Compose once per iteration, and a memcpy after it, each timed on the wall clock. The
// fastest of each, taken from the same stretch of time, so that other work on the machine
// counts against neither.
template <typename F> void TimeCompositions(benchmark::State &State, F Compose)
{
    MemcpyOnce(); // touches every page first
    double best = 1e9;
    double bestMemcpy = 1e9;
    for (auto _ : State) {
        const auto start = std::chrono::steady_clock::now();
        Compose();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
        bestMemcpy = std::min(bestMemcpy, MemcpyOnce());
    }
    State.counters["best_ms"] = best * 1e3;
    State.counters["memcpy_ms"] = bestMemcpy * 1e3;
    State.counters["ratio_to_memcpy"] = best / bestMemcpy;
}

// At every zoom the view offers with the default zoom step (an eighth of the 32-pixel part):
// cells of 4 (12.5 %) to 96 pixels (300 %).
void BM_FullComposition(benchmark::State &State)
{
    TScene scene(static_cast<int32_t>(State.range(0)));
    TimeCompositions(State, [&scene] {
        TMapViewRenderer(scene.Map, scene.State, scene.Parts, scene.Back, &scene.Background)
            .ComposeFull();
        benchmark::DoNotOptimize(scene.Back.Bits());
    });
}
BENCHMARK(BM_FullComposition)
    ->ArgName("cell_px")
    ->DenseRange(4, 96, 4)
    ->Unit(benchmark::kMillisecond);

void BM_FullCompositionWithGrid(benchmark::State &State)
{
    TScene scene(kParts);
    scene.State.ShowGrid = true;
    TimeCompositions(State, [&scene] {
        TMapViewRenderer(scene.Map, scene.State, scene.Parts, scene.Back, &scene.Background)
            .ComposeFull();
        benchmark::DoNotOptimize(scene.Back.Bits());
    });
}
BENCHMARK(BM_FullCompositionWithGrid)->Unit(benchmark::kMillisecond);

void BM_PartialUpdateOneCell(benchmark::State &State)
{
    TScene scene(kParts);
    TMapViewRenderer(scene.Map, scene.State, scene.Parts, scene.Back, &scene.Background)
        .ComposeFull();
    for (auto _ : State) {
        TMapViewRenderer renderer(scene.Map, scene.State, scene.Parts, scene.Back,
                                  &scene.Background);
        benchmark::DoNotOptimize(renderer.ComposeRegion(30, 16, 0, 0));
    }
}
BENCHMARK(BM_PartialUpdateOneCell)->Unit(benchmark::kMicrosecond);

void BM_Memcpy(benchmark::State &State)
{
    const size_t bytes = size_t{4} * kViewWidth * kViewHeight * 4;
    std::vector<uint8_t> from(bytes, 1), to(bytes, 0);
    for (auto _ : State) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
