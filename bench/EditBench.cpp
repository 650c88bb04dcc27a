// Editing speed. Following the mouse with the pen through the real main window on a
// 1920 × 1080 view at 100 % (the state machine, the write, the partial recomposition and the
// copy to the window's buffer), against a full recomposition and copy of the same view
// measured in the same run, on a 256 × 256 map with 4 layers and on a 10000 × 10000 map with 8
// layers; moving a floating block the same way; and the map and log work of lifting a
// 256 × 256 block off 8 layers, moving it 100 cells and putting it down, and its undo.
#include "editor/edit/EditController.h"
#include "editor/edit/FloatingBlocks.h"
#include "editor/parts/ChipForm.h"
#include "editor/shell/MainForm.h"
#include "editor/shell/MapDocument.h"
#include "editor/shell/Startup.h"
#include "editor/shell/input/MapViewWidget.h"
#include "editor/shell/input/ToolInput.h"
#include "editor/shell/language/Language.h"
#include "editor/shell/windows/LayerForm.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>

namespace fs = std::filesystem;

namespace
{

constexpr int32_t kPart = 32;
constexpr int32_t kViewWidth = 1920;
constexpr int32_t kViewHeight = 1080;

fs::path ProgramFolder()
{
    static const fs::path folder = [] {
        const fs::path path = fs::temp_directory_path() / "tessella-edit-bench";
        fs::remove_all(path);
        fs::create_directories(path / "Plugins");
        for (const char *name : {"tzp.so", "gridcsv.so"})
            fs::copy_file(fs::path(TESSELLA_BUILD_DIR) / "Plugins" / name, path / "Plugins" / name);
        // A parts image of 16 × 16 parts, each with a pattern of its own.
        QImage parts(16 * kPart, 16 * kPart, QImage::Format_RGB32);
        for (int32_t y = 0; y < parts.height(); ++y)
            for (int32_t x = 0; x < parts.width(); ++x)
                parts.setPixel(x, y, 0xFF000000u | static_cast<uint32_t>(x * 131 + y * 7919));
        parts.save(QString::fromStdString((path / "parts.bmp").string()));
        return path;
    }();
    return folder;
}

// The editor showing a Width × Height map of Layers layers with parts images and varied
// cells, its map view exactly 1920 × 1080 pixels.
struct TEditor {
    std::unique_ptr<TMainForm> Form;

    TEditor(int32_t Width, int32_t Height, int32_t Layers)
    {
        Form = StartEditor(ProgramFolder().string());
        QCoreApplication::sendPostedEvents();
        Form->show();
        Form->CreateNewMap(Width, Height, Layers, kPart, kPart, 8, true);
        const std::string parts = (ProgramFolder() / "parts.bmp").string();
        for (int32_t layer = 0; layer < Layers; ++layer) {
            Form->LayerForm()->SelectLayer(layer);
            Form->ChipForm()->AddMapChip(parts);
            std::vector<uint16_t> &cells = MapDocument()->GetLayer(layer).Data;
            for (size_t i = 0; i < cells.size(); ++i)
                cells[i] = static_cast<uint16_t>((i * 7 + static_cast<size_t>(layer) * 13) % 256);
        }
        Form->ChipForm()->Selectchip(5);
        // Grow the window until the view area is the size wanted.
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
    QWidget *View() const { return Form->MapView(); }
    // The pointer at the middle of view cell (X, Y).
    static int32_t Pixel(int32_t cell) { return cell * kPart + kPart / 2; }
};

double Seconds(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The best of several full recompositions and copies of the whole view to the window.
double FullUpdateSeconds(TEditor &editor)
{
    double best = 1e9;
    for (int i = 0; i < 20; ++i) {
        const auto start = std::chrono::steady_clock::now();
        editor.Form->RedrawAll();
        editor.View()->repaint();
        best = std::min(best, Seconds(start));
    }
    return best;
}

// The pen follows the mouse back and forth along a row of the view: each move enters a new
// cell, writes it, recomposes it and copies it to the window.
void PenMoves(benchmark::State &State, int32_t Width, int32_t Height, int32_t Layers)
{
    TEditor editor(Width, Height, Layers);
    if (!editor.HasTheView()) {
        State.SkipWithError("the view could not be made 1920 x 1080");
        return;
    }
    const double full = FullUpdateSeconds(editor);
    TMainForm &form = *editor.Form;
    form.ToolInput().FormMouseDown(Qt::LeftButton, Qt::NoModifier, TEditor::Pixel(10),
                                   TEditor::Pixel(10));
    int32_t column = 10;
    int32_t step = 1;
    double best = 1e9;
    for (auto _ : State) {
        column += step;
        if (column == 50 || column == 10)
            step = -step;
        const auto start = std::chrono::steady_clock::now();
        form.ToolInput().FormMouseMove(Qt::LeftButton, TEditor::Pixel(column), TEditor::Pixel(10));
        QCoreApplication::processEvents(); // the window copies what changed
        best = std::min(best, Seconds(start));
    }
    form.ToolInput().FormMouseUp(Qt::LeftButton, Qt::NoButton);
    State.counters["move_best_ms"] = best * 1e3;
    State.counters["full_update_ms"] = full * 1e3;
    State.counters["full_over_move"] = full / best;
}

void BM_PenMove_256x256_4Layers(benchmark::State &State)
{
    PenMoves(State, 256, 256, 4);
}
BENCHMARK(BM_PenMove_256x256_4Layers)->Unit(benchmark::kMicrosecond)->Iterations(4000);

void BM_PenMove_10000x10000_8Layers(benchmark::State &State)
{
    PenMoves(State, 10000, 10000, 8);
}
BENCHMARK(BM_PenMove_10000x10000_8Layers)->Unit(benchmark::kMicrosecond)->Iterations(4000);

// A lifted 8 × 8 block dragged back and forth by one cell: each move recomposes the cells it
// left and entered.
void BM_FloatingBlockMove(benchmark::State &State)
{
    TEditor editor(256, 256, 4);
    if (!editor.HasTheView()) {
        State.SkipWithError("the view could not be made 1920 x 1080");
        return;
    }
    const double full = FullUpdateSeconds(editor);
    TMainForm &form = *editor.Form;
    form.ToolInput().ToolMenuItemClick(tmSelect);
    form.ToolInput().FormMouseDown(Qt::LeftButton, Qt::NoModifier, TEditor::Pixel(10),
                                   TEditor::Pixel(10));
    form.ToolInput().FormMouseMove(Qt::LeftButton, TEditor::Pixel(17), TEditor::Pixel(17));
    form.ToolInput().FormMouseUp(Qt::LeftButton, Qt::NoButton);
    form.ToolInput().FormMouseDown(Qt::LeftButton, Qt::NoModifier, TEditor::Pixel(12),
                                   TEditor::Pixel(12));
    int32_t column = 12;
    int32_t step = 1;
    double best = 1e9;
    for (auto _ : State) {
        column += step;
        if (column == 40 || column == 12)
            step = -step;
        const auto start = std::chrono::steady_clock::now();
        form.ToolInput().FormMouseMove(Qt::LeftButton, TEditor::Pixel(column), TEditor::Pixel(12));
        QCoreApplication::processEvents();
        best = std::min(best, Seconds(start));
    }
    form.ToolInput().FormMouseUp(Qt::LeftButton, Qt::NoButton);
    form.Edit().UnSelect(false);
    State.counters["move_best_ms"] = best * 1e3;
    State.counters["full_update_ms"] = full * 1e3;
    State.counters["full_over_move"] = full / best;
}
BENCHMARK(BM_FloatingBlockMove)->Unit(benchmark::kMicrosecond)->Iterations(2000);

// The map and log work of moving a selection: 256 × 256 cells on 8 layers.
struct TLiftScene {
    TMap Map;
    TLiftRequest Lift;
    TLiftScene()
    {
        Map.Initialize(1024, 1024, kPart, kPart, 8);
        for (int32_t layer = 0; layer < 8; ++layer) {
            Map.AddLayer("Layer" + std::to_string(layer), nullptr, 0);
            std::vector<uint16_t> &cells = Map.GetLayer(layer).Data;
            for (size_t i = 0; i < cells.size(); ++i)
                cells[i] = static_cast<uint16_t>((i + static_cast<size_t>(layer)) % 256);
            Lift.Layers.push_back(layer);
        }
        Lift.Selection = {1, 100, 100, 255, 255, 100 * 1024 + 100};
    }
    void MoveBy100()
    {
        Map.BeginModify();
        std::vector<TModified> blocks = LiftBlocks(Map, Lift);
        TSelection at = Lift.Selection;
        at.X += 100;
        at.Y += 100;
        PutBlocksDown(Map, blocks, at, 256);
        Map.EndModify();
    }
};

void BM_Lift256x256x8_Move100_PutDown(benchmark::State &State)
{
    TLiftScene scene;
    for (auto _ : State) {
        scene.MoveBy100();
        State.PauseTiming();
        scene.Map.FlushModify();
        State.ResumeTiming();
    }
}
BENCHMARK(BM_Lift256x256x8_Move100_PutDown)->Unit(benchmark::kMillisecond)->Iterations(30);

void BM_UndoOfThatMove(benchmark::State &State)
{
    TLiftScene scene;
    for (auto _ : State) {
        State.PauseTiming();
        scene.MoveBy100();
        State.ResumeTiming();
        TSelection changed;
        scene.Map.Undo(changed);
        benchmark::DoNotOptimize(changed);
        State.PauseTiming();
        scene.Map.FlushModify();
        State.ResumeTiming();
    }
}
BENCHMARK(BM_UndoOfThatMove)->Unit(benchmark::kMillisecond)->Iterations(30);

} // namespace
