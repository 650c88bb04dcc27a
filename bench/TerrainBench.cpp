// Terrain painting speed through the real main window on a 1920 × 1080 view: a terrain brush
// of 8 cells dragged over 100 cells (the state machine, the choice of parts, the write, the
// partial recomposition and the copy to the window) on a 4096 × 4096 map, against the same on
// a 256 × 256 map measured in the same run (the move must not grow with the map) and against
// a full recomposition of the view; and a terrain fill of a 512 × 512 region with its redraw.
#include "editor/edit/EditController.h"
#include "editor/map/TerrainLayouts.h"
#include "editor/parts/ChipForm.h"
#include "editor/parts/TerrainSetFile.h"
#include "editor/shell/MainForm.h"
#include "editor/shell/MapDocument.h"
#include "editor/shell/Startup.h"
#include "editor/shell/input/MapViewWidget.h"
#include "editor/shell/input/ToolInput.h"
#include "editor/shell/windows/LayerForm.h"

#include <QApplication>
#include <QImage>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <filesystem>
#include <memory>
#include <vector>

namespace fs = std::filesystem;

namespace
{

constexpr int32_t kPart = 32;
constexpr int32_t kViewWidth = 1920;
constexpr int32_t kViewHeight = 1080;

// A program folder with the file plug-ins and a parts image of 16 × 16 parts whose first 4 × 4
// block is a grass (1) and water (2) corner set in the 16-part layout, in "parts.tsx".
fs::path ProgramFolder()
{
    static const fs::path folder = [] {
        const fs::path path = fs::temp_directory_path() / "tessella-terrain-bench";
        fs::remove_all(path);
        fs::create_directories(path / "Plugins");
        for (const char *name : {"tzp.so", "gridcsv.so"})
            fs::copy_file(fs::path(TESSELLA_BUILD_DIR) / "Plugins" / name, path / "Plugins" / name);
        QImage parts(16 * kPart, 16 * kPart, QImage::Format_RGB32);
        for (int32_t y = 0; y < parts.height(); ++y)
            for (int32_t x = 0; x < parts.width(); ++x)
                parts.setPixel(x, y, 0xFF000000u | static_cast<uint32_t>(x * 131 + y * 7919));
        parts.save(QString::fromStdString((path / "parts.bmp").string()));
        std::unique_ptr<TTerrainSetFile> file =
            TTerrainSetFile::Create((path / "parts.tsx").string(), "parts.bmp", parts.width(),
                                    parts.height(), kPart, kPart);
        TTerrainSet set;
        set.Name = "Ground";
        set.Colours = {{"Grass", 0x00AA00, -1, 1.0}, {"Water", 0x0000FF, -1, 1.0}};
        const TTerrainLayoutBlock block = TerrainLayoutBlock(TTerrainLayout::Corner16, 1, 2);
        for (int32_t i = 0; i < 16; ++i)
            set.Tiles[(i / 4) * 16 + i % 4] = block.Ids[static_cast<size_t>(i)];
        file->Tileset().Sets.push_back(set);
        std::string error;
        file->Write(error);
        return path;
    }();
    return folder;
}

// The editor on a Width × Height map of grass with the terrain brush chosen, water picked.
struct TEditor {
    std::unique_ptr<TMainForm> Form;

    TEditor(int32_t Width, int32_t Height)
    {
        Form = StartEditor(ProgramFolder().string());
        QCoreApplication::sendPostedEvents();
        Form->show();
        Form->CreateNewMap(Width, Height, 1, kPart, kPart, 8, true);
        Form->LayerForm()->SelectLayer(0);
        Form->ChipForm()->AddMapChip((ProgramFolder() / "parts.bmp").string());
        for (int step = 0; step < 4; ++step) {
            const TMapViewState &view = Form->ViewState();
            Form->resize(Form->width() + kViewWidth - view.ViewWidth,
                         Form->height() + kViewHeight - view.ViewHeight);
            QCoreApplication::processEvents();
            Form->FormResize();
        }
        QCoreApplication::processEvents();
        Form->ChipForm()->UpdateFullCanvas();
        Form->ChipForm()->Terrain().Choose({0, 2});
        Form->ToolInput().ToolMenuItemClick(tmTerrain);
        Form->ToolInput().SetTerrainBrush(8, false);
        Form->Edit().SetTerrainSeed(1);
    }
    ~TEditor()
    {
        Form.reset();
        FinishEditor();
    }
    bool Ready() const
    {
        return Form->ViewState().ViewWidth == kViewWidth &&
               Form->ViewState().ViewHeight == kViewHeight &&
               Form->ChipForm()->Terrain().Choice().IsChosen();
    }
    static int32_t Pixel(int32_t cell) { return cell * kPart + kPart / 2; }
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

// The mean move of the small map's run, for the large map's ratio.
double SmallMapMove = 0;

// One stroke of the brush over 100 cells: along a row of the view and back, each move into
// the next cell. Every iteration paints water, then grass over it again, so each move changes
// cells.
void BrushStroke(TEditor &editor, uint8_t Terrain, std::vector<double> &Moves)
{
    TMainForm &form = *editor.Form;
    form.ChipForm()->Terrain().Choose({0, Terrain});
    TToolInput &input = form.ToolInput();
    input.FormMouseDown(Qt::LeftButton, Qt::NoModifier, TEditor::Pixel(6), TEditor::Pixel(16));
    int32_t column = 6;
    int32_t step = 1;
    for (int32_t move = 0; move < 100; ++move) {
        column += step;
        if (column == 55 || column == 6)
            step = -step;
        const auto start = std::chrono::steady_clock::now();
        input.FormMouseMove(Qt::LeftButton, TEditor::Pixel(column), TEditor::Pixel(16 + move % 2));
        QCoreApplication::processEvents(); // the window copies what changed
        Moves.push_back(Seconds(start));
    }
    input.FormMouseUp(Qt::LeftButton, Qt::NoButton);
}

void BrushMoves(benchmark::State &State, int32_t Size)
{
    TEditor editor(Size, Size);
    if (!editor.Ready()) {
        State.SkipWithError("the view or the terrain could not be set up");
        return;
    }
    const double full = FullUpdateSeconds(editor);
    std::vector<double> moves;
    uint8_t terrain = 2;
    for (auto _ : State) {
        BrushStroke(editor, terrain, moves);
        terrain = terrain == 2 ? 1 : 2;
    }
    double mean = 0;
    for (double move : moves)
        mean += move / static_cast<double>(moves.size());
    std::sort(moves.begin(), moves.end());
    State.counters["move_mean_ms"] = mean * 1e3;
    State.counters["move_median_ms"] = moves[moves.size() / 2] * 1e3;
    State.counters["move_p95_ms"] = moves[moves.size() * 95 / 100] * 1e3;
    State.counters["move_worst_ms"] = moves.back() * 1e3;
    State.counters["full_update_ms"] = full * 1e3;
    if (Size <= 256)
        SmallMapMove = mean;
    else if (SmallMapMove > 0)
        State.counters["over_256x256"] = mean / SmallMapMove;
}

void BM_TerrainBrush8_100Moves_256x256(benchmark::State &State)
{
    BrushMoves(State, 256);
}
BENCHMARK(BM_TerrainBrush8_100Moves_256x256)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_TerrainBrush8_100Moves_4096x4096(benchmark::State &State)
{
    BrushMoves(State, 4096);
}
BENCHMARK(BM_TerrainBrush8_100Moves_4096x4096)->Unit(benchmark::kMillisecond)->Iterations(10);

// A 512 × 512 lake of water in grass filled with grass, and its redraw; undone between runs.
void BM_TerrainFill512x512(benchmark::State &State)
{
    TEditor editor(1024, 1024);
    if (!editor.Ready()) {
        State.SkipWithError("the view or the terrain could not be set up");
        return;
    }
    TMainForm &form = *editor.Form;
    // Water from (100, 100) to (611, 611), its transitions around it.
    std::vector<uint16_t> &cells = MapDocument()->GetLayer(0).Data;
    const auto bits = [](int32_t x, int32_t y) {
        const auto water = [](int32_t cx, int32_t cy) {
            return cx >= 100 && cx <= 612 && cy >= 100 && cy <= 612;
        };
        return water(x, y) * 1 + water(x + 1, y) * 2 + water(x, y + 1) * 4 +
               water(x + 1, y + 1) * 8;
    };
    for (int32_t y = 0; y < 1024; ++y)
        for (int32_t x = 0; x < 1024; ++x) {
            const int32_t b = bits(x, y);
            cells[static_cast<size_t>(y) * 1024 + x] = static_cast<uint16_t>((b / 4) * 16 + b % 4);
        }
    form.RedrawAll();
    form.ChipForm()->Terrain().Choose({0, 1});
    double best = 1e9;
    for (auto _ : State) {
        const auto start = std::chrono::steady_clock::now();
        const bool filled = form.Edit().TerrainFill(300, 300);
        QCoreApplication::processEvents();
        best = std::min(best, Seconds(start));
        if (!filled) {
            State.SkipWithError("the fill did nothing");
            return;
        }
        State.PauseTiming();
        form.Edit().UndoMenuItemClick();
        MapDocument()->FlushModify();
        State.ResumeTiming();
    }
    State.counters["fill_best_ms"] = best * 1e3;
}
BENCHMARK(BM_TerrainFill512x512)->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace
