// Large maps through the real main window: a 10000 × 10000 map of 8 layers on a 1920 × 1080
// view. Dragging the view with the hand tool at the smallest view scale and at 100 % (each
// step: the scroll, the recomposition and the copy to the window; goal under 16 ms), and the
// overview's refresh after a pen stroke and after a change of the whole map (goal under
// 50 ms). Each reports its best time and the ratio to a full recomposition and copy of the
// same view measured in the same run.
#include "editor/edit/EditController.h"
#include "editor/parts/ChipForm.h"
#include "editor/shell/MainForm.h"
#include "editor/shell/MapDocument.h"
#include "editor/shell/Startup.h"
#include "editor/shell/ViewZoom.h"
#include "editor/shell/input/MapViewWidget.h"
#include "editor/shell/input/ToolInput.h"
#include "editor/shell/windows/LayerForm.h"
#include "editor/shell/windows/PreviewForm.h"
#include "editor/shell/windows/PreviewView.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>

namespace fs = std::filesystem;

namespace
{

constexpr int32_t kPart = 32;
constexpr int32_t kMapSide = 10000;
constexpr int32_t kLayers = 8;
constexpr int32_t kViewWidth = 1920;
constexpr int32_t kViewHeight = 1080;

// The program folder; ZoomRatio is the zoom step of the settings file (16 to 128).
fs::path ProgramFolder(int32_t ZoomRatio)
{
    const fs::path path =
        fs::temp_directory_path() / ("tessella-scroll-bench-" + std::to_string(ZoomRatio));
    fs::remove_all(path);
    fs::create_directories(path / "Plugins");
    for (const char *name : {"tzp.so", "gridcsv.so"})
        fs::copy_file(fs::path(TESSELLA_BUILD_DIR) / "Plugins" / name, path / "Plugins" / name);
    std::ofstream(path / "Tessella.ini") << "[General]\r\nZoomRatio=" << ZoomRatio << "\r\n";
    // 16 × 16 parts; the upper layers' parts have a transparent quarter.
    QImage parts(16 * kPart, 16 * kPart, QImage::Format_RGB32);
    for (int32_t y = 0; y < parts.height(); ++y)
        for (int32_t x = 0; x < parts.width(); ++x)
            parts.setPixel(x, y, 0xFF000000u | static_cast<uint32_t>(x * 131 + y * 7919));
    parts.save(QString::fromStdString((path / "parts.bmp").string()));
    return path;
}

struct TEditor {
    fs::path Folder;
    std::unique_ptr<TMainForm> Form;

    explicit TEditor(int32_t ZoomRatio) : Folder(ProgramFolder(ZoomRatio))
    {
        Form = StartEditor(Folder.string());
        QCoreApplication::sendPostedEvents();
        Form->show();
        Form->CreateNewMap(kMapSide, kMapSide, kLayers, kPart, kPart, 8, true);
        const std::string parts = (Folder / "parts.bmp").string();
        for (int32_t layer = 0; layer < kLayers; ++layer) {
            Form->LayerForm()->SelectLayer(layer);
            Form->ChipForm()->AddMapChip(parts);
            std::vector<uint16_t> &cells = MapDocument()->GetLayer(layer).Data;
            for (size_t i = 0; i < cells.size(); ++i)
                cells[i] = static_cast<uint16_t>((i * 7 + i / kMapSide * 3 + layer * 13) % 256);
        }
        Form->ChipForm()->Selectchip(5);
        for (int step = 0; step < 4; ++step) {
            const TMapViewState &view = Form->ViewState();
            Form->resize(Form->width() + kViewWidth - view.ViewWidth,
                         Form->height() + kViewHeight - view.ViewHeight);
            QCoreApplication::processEvents();
            Form->FormResize();
        }
        QCoreApplication::processEvents();
    }
    ~TEditor()
    {
        Form.reset();
        FinishEditor();
    }
    bool HasTheView() const
    {
        return Form->ViewState().ViewWidth == kViewWidth &&
               Form->ViewState().ViewHeight == kViewHeight;
    }
    // Zooms out as far as the zoom step allows.
    void ZoomOutFully()
    {
        for (int i = 0; i < 64; ++i)
            Form->Zoom().EditZoomOutMenuItemClick();
        QCoreApplication::processEvents();
    }
    // The map view centred on the middle of the map.
    void Centre()
    {
        Form->ScrollView(kMapSide / 2, kMapSide / 2);
        Form->RedrawAll();
        QCoreApplication::processEvents();
    }
};

double Seconds(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double FullUpdateSeconds(TEditor &editor)
{
    double best = 1e9;
    for (int i = 0; i < 10; ++i) {
        const auto start = std::chrono::steady_clock::now();
        editor.Form->RedrawAll();
        editor.Form->MapView()->repaint();
        best = std::min(best, Seconds(start));
    }
    return best;
}

// The hand tool drags the view: each mouse move of a few cells scrolls the view and shows it.
void HandDrag(benchmark::State &State, int32_t ZoomRatio, bool ZoomedOut)
{
    TEditor editor(ZoomRatio);
    if (!editor.HasTheView()) {
        State.SkipWithError("the view could not be made 1920 x 1080");
        return;
    }
    if (ZoomedOut)
        editor.ZoomOutFully();
    editor.Centre();
    const double full = FullUpdateSeconds(editor);
    TMainForm &form = *editor.Form;
    const int32_t cw = form.ViewState().ViewCellWidth;
    const int32_t ch = form.ViewState().ViewCellHeight;
    form.ToolInput().ToolMenuItemClick(tmHand);
    const int32_t x0 = kViewWidth / 2;
    const int32_t y0 = kViewHeight / 2;
    form.ToolInput().FormMouseDown(Qt::LeftButton, Qt::NoModifier, x0, y0);
    // Three cells across and two down per move, back and forth over 40 moves.
    int32_t step = 0;
    int32_t direction = 1;
    double best = 1e9;
    double worst = 0;
    for (auto _ : State) {
        step += direction;
        if (step == 20 || step == -20)
            direction = -direction;
        const auto start = std::chrono::steady_clock::now();
        form.ToolInput().FormMouseMove(Qt::LeftButton, x0 + step * 3 * cw + cw / 2,
                                       y0 + step * 2 * ch + ch / 2);
        form.MapView()->repaint(); // the copy to the window
        const double took = Seconds(start);
        best = std::min(best, took);
        worst = std::max(worst, took);
    }
    form.ToolInput().FormMouseUp(Qt::LeftButton, Qt::NoButton);
    State.counters["cell_px"] = cw;
    State.counters["step_best_ms"] = best * 1e3;
    State.counters["step_worst_ms"] = worst * 1e3;
    State.counters["full_update_ms"] = full * 1e3;
    State.counters["step_over_full"] = best / full;
}

// The smallest scale of the default zoom step (4-pixel cells) and of the finest one the
// settings allow (2-pixel cells), and 100 %.
void BM_HandDragSmallestScale(benchmark::State &State)
{
    HandDrag(State, 32, true);
}
BENCHMARK(BM_HandDragSmallestScale)->Unit(benchmark::kMillisecond)->Iterations(200);

void BM_HandDragFinestZoomStepSmallestScale(benchmark::State &State)
{
    HandDrag(State, 16, true);
}
BENCHMARK(BM_HandDragFinestZoomStepSmallestScale)->Unit(benchmark::kMillisecond)->Iterations(200);

void BM_HandDrag100Percent(benchmark::State &State)
{
    HandDrag(State, 32, false);
}
BENCHMARK(BM_HandDrag100Percent)->Unit(benchmark::kMillisecond)->Iterations(200);

// The overview as large as a screen allows at each of its scales, after a pen stroke across
// the map view (the overview redraws the stroke's rectangle) and after a change of the whole
// map (it redraws everything).
void OverviewRefresh(benchmark::State &State, bool WholeMap)
{
    TEditor editor(32);
    if (!editor.HasTheView()) {
        State.SkipWithError("the view could not be made 1920 x 1080");
        return;
    }
    TMainForm &form = *editor.Form;
    TPreviewForm &overview = *form.PreviewForm();
    overview.show();
    overview.resize(1000, 1000);
    for (int i = 0; i < 4 && overview.PreviewScale() > State.range(0); ++i)
        overview.ReduceButton()->trigger();
    for (int i = 0; i < 4 && overview.PreviewScale() < State.range(0); ++i)
        overview.EnlargeButton()->trigger();
    QCoreApplication::processEvents();
    editor.ZoomOutFully();
    form.ScrollView(0, 0);
    form.RedrawAll();
    QCoreApplication::processEvents();
    form.ToolInput().ToolMenuItemClick(tmPen);
    const int32_t cw = form.ViewState().ViewCellWidth;
    double best = 1e9;
    for (auto _ : State) {
        State.PauseTiming();
        form.ToolInput().FormMouseDown(Qt::LeftButton, Qt::NoModifier, cw / 2, cw / 2);
        for (int32_t k = 1; k <= 40; ++k)
            form.ToolInput().FormMouseMove(Qt::LeftButton, k * 40 + cw / 2, k * 26 + cw / 2);
        State.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        if (WholeMap) {
            form.ToolInput().FormMouseUp(Qt::LeftButton, Qt::NoButton);
            overview.UpdatePreview();
        } else {
            form.ToolInput().FormMouseUp(Qt::LeftButton, Qt::NoButton);
        }
        overview.View()->repaint();
        best = std::min(best, Seconds(start));
        State.PauseTiming();
        form.Edit().UndoMenuItemClick();
        QCoreApplication::processEvents();
        State.ResumeTiming();
    }
    const double full = FullUpdateSeconds(editor);
    State.counters["overview_px"] = overview.Screen().Width() * 1.0 * overview.Screen().Height();
    State.counters["refresh_best_ms"] = best * 1e3;
    State.counters["view_full_update_ms"] = full * 1e3;
}

void BM_OverviewAfterStroke(benchmark::State &State)
{
    OverviewRefresh(State, false);
}
BENCHMARK(BM_OverviewAfterStroke)
    ->ArgName("scale")
    ->DenseRange(1, 4)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);

void BM_OverviewOfTheWholeMap(benchmark::State &State)
{
    OverviewRefresh(State, true);
}
BENCHMARK(BM_OverviewOfTheWholeMap)
    ->ArgName("scale")
    ->DenseRange(1, 4)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);

} // namespace
