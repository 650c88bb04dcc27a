// The parts window with a 4096 × 4096 parts image (16 384 parts of 32 × 32 in a 16-bit map
// without fixed alignment): opening the image into the window, one redraw of a 1024 × 768
// view at 100 % and at the smallest zoom, and a drag selection that follows the pointer.
// Opening is compared with reading the file's bytes, each redraw and drag step with memcpy of
// the view's pixels, all measured in the same run; a drag step's goal is under 1 ms.
#include "editor/map/MapDataUnit.h"
#include "editor/parts/ChipForm.h"
#include "editor/parts/ChipTable.h"
#include "editor/parts/ChipView.h"
#include "editor/render/BackgroundBitmap.h"

#include <QApplication>
#include <QImage>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <vector>

namespace fs = std::filesystem;

namespace
{

constexpr int kImageSide = 4096;
constexpr int kViewWidth = 1024;
constexpr int kViewHeight = 768;

// The main window as the parts window needs it: one 16-bit map with image alignment.
class TBenchHost : public TChipFormHost
{
public:
    TMap Document;
    TPixelBuffer Background = MakeBackgroundBitmap();

    TBenchHost()
    {
        Document.Initialize(64, 64, 32, 32, 16);
        Document.AddLayer("Layer0", nullptr, 0);
    }
    int32_t CurrentLayer() const override { return 0; }
    bool UseFixedAlignment() const override { return false; }
    std::string ProjectFolder() const override { return std::string(); }
    TMap *Map() const override { return const_cast<TMap *>(&Document); }
    TChipFormLook Look() const override { return TChipFormLook(); }
    const TPixelBuffer *BackgroundBitmap() const override { return &Background; }
    int32_t ZoomRatio() const override { return 32; }
    int32_t PartsWindowZoom() const override { return 256; }
    std::vector<TSusieSetting> ImagePluginSettings() const override { return {}; }
    TProgressProc ImagePluginProgress() const override { return {}; }
    QIcon ToolIcon(const char *, const QString &) const override { return QIcon(); }
    void SetInvisiblePart(uint16_t) override {}
    void SetTransColor(uint32_t) override {}
    void ExitPattern() override {}
    bool Find(uint16_t, bool) override { return false; }
    void PartsImageChanged() override {}
    void ToggleWindowCommand() override {}
    bool KeyPress(QKeyEvent *) override { return false; }
    bool KeyRelease(QKeyEvent *) override { return false; }
    bool Wheel(QWheelEvent *) override { return false; }
};

fs::path Folder()
{
    static const fs::path folder = [] {
        const fs::path path = fs::temp_directory_path() / "tessella-parts-window-bench";
        fs::remove_all(path);
        fs::create_directories(path / "Plugins");
        return path;
    }();
    return folder;
}

// A 24-bit BMP of 4096 × 4096 pixels, every part a colour of its own.
std::string LargeImage()
{
    static const std::string file = [] {
        QImage image(kImageSide, kImageSide, QImage::Format_RGB888);
        for (int y = 0; y < kImageSide; ++y) {
            uchar *row = image.scanLine(y);
            for (int x = 0; x < kImageSide; ++x) {
                row[x * 3] = static_cast<uchar>(x / 32 * 2);
                row[x * 3 + 1] = static_cast<uchar>(y / 32 * 2);
                row[x * 3 + 2] = static_cast<uchar>((x ^ y) & 0xFF);
            }
        }
        const std::string path = (Folder() / "large.bmp").string();
        image.save(QString::fromStdString(path), "BMP");
        return path;
    }();
    return file;
}

struct TWindow {
    TBenchHost Host;
    TChipForm Form{Host, Folder().string(), nullptr};

    TWindow()
    {
        Form.show();
        Form.resize(kViewWidth, kViewHeight + 60);
        QCoreApplication::processEvents();
        Form.Init();
    }
    // The view as laid out: back buffer and scroll bars for the window's size.
    void Open()
    {
        Form.AddMapChip(LargeImage());
        QCoreApplication::processEvents();
    }
    void Redraw()
    {
        Form.UpdateFullCanvas();
        Form.View()->repaint();
    }
};

double BestOf(int runs, const std::function<void()> &work)
{
    double best = 1e9;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
    }
    return best;
}

// Reading the image file's bytes into memory.
double FileReadSeconds()
{
    static const double seconds = BestOf(5, [] {
        std::ifstream in(LargeImage(), std::ios::binary);
        std::vector<char> bytes(static_cast<size_t>(fs::file_size(LargeImage())));
        in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        benchmark::DoNotOptimize(bytes.data());
    });
    return seconds;
}

// memcpy of the pixels of one view.
double ViewMemcpySeconds(const TPixelBuffer &View)
{
    const size_t bytes = static_cast<size_t>(View.Height()) * View.RowBytes();
    std::vector<uint8_t> from(bytes, 1), to(bytes, 0);
    std::memcpy(to.data(), from.data(), bytes);
    return BestOf(50, [&] {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    });
}

template <typename F> void TimeEach(benchmark::State &State, double Baseline, F Work)
{
    double best = 1e9;
    for (auto _ : State) {
        const auto start = std::chrono::steady_clock::now();
        Work();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
    }
    State.counters["best_ms"] = best * 1e3;
    State.counters["baseline_ms"] = Baseline * 1e3;
    State.counters["ratio"] = best / Baseline;
}

void BM_OpenLargeImage(benchmark::State &State)
{
    TWindow window;
    const double baseline = FileReadSeconds();
    TimeEach(State, baseline, [&window] {
        window.Form.Init(); // a fresh table, so the file is read again
        window.Open();
    });
    State.counters["parts"] = window.Form.Table()->ChipAlignX() * window.Form.Table()->ChipAlignY();
}
BENCHMARK(BM_OpenLargeImage)->Unit(benchmark::kMillisecond)->Iterations(5);

// Arg: the zoom step count (0: 100 %, 5: the smallest size, 12 of 32 pixels).
void BM_Redraw(benchmark::State &State)
{
    TWindow window;
    window.Open();
    for (int i = 0; i < State.range(0); ++i)
        window.Form.ZoomOut();
    window.Redraw();
    const double baseline = ViewMemcpySeconds(window.Form.Back());
    TimeEach(State, baseline, [&window] { window.Redraw(); });
    State.counters["cell_px"] = window.Form.PartsCellWidth();
}
BENCHMARK(BM_Redraw)->Arg(0)->Arg(5)->Unit(benchmark::kMillisecond);

// A drag over the view: each move reaches a new part and redraws the growing rectangle.
// Arg: the zoom step count, as for the redraws.
void BM_DragSelectionMove(benchmark::State &State)
{
    TWindow window;
    window.Open();
    for (int i = 0; i < State.range(0); ++i)
        window.Form.ZoomOut();
    const int cell = window.Form.PartsCellWidth();
    window.Form.ViewMouseDown(5, 5, false);
    const double baseline = ViewMemcpySeconds(window.Form.Back());
    int step = 0;
    TimeEach(State, baseline, [&window, &step, cell] {
        step = (step + 1) % 20;
        window.Form.ViewMouseMove(5 + cell * (step + 1), 5 + cell * (step + 1) * 3 / 4);
        window.Form.View()->repaint();
    });
    window.Form.ViewMouseUp();
}
BENCHMARK(BM_DragSelectionMove)->Arg(0)->Arg(5)->Unit(benchmark::kMillisecond);

} // namespace
