// What reporting to the progress window costs a long operation: a resize of a 2000 × 2000
// map with four layers, once without a progress callback (the baseline) and once through
// the main window's callback, which lets pending events run while the layers are rebuilt.
#include "editor/shell/MainForm.h"
#include "editor/shell/MapDocument.h"
#include "editor/shell/Startup.h"
#include "editor/shell/language/Language.h"
#include "editor/shell/progress/ProgressDisplay.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace
{

double BaselineMilliseconds = 0.0;

std::unique_ptr<TMainForm> StartWithFourLayers()
{
    const fs::path folder = fs::temp_directory_path() / "tessella-progress-bench";
    fs::remove_all(folder);
    fs::create_directories(folder / "Plugins");
    for (const char *name : {"tzp.so", "gridcsv.so"})
        fs::copy_file(fs::path(TESSELLA_BUILD_DIR) / "Plugins" / name, folder / "Plugins" / name);
    std::unique_ptr<TMainForm> form = StartEditor(folder.string());
    if (form) {
        QCoreApplication::sendPostedEvents();
        form->CreateNewMap(2000, 2000, 4, 32, 32, 16, true);
    }
    return form;
}

// Grows and shrinks the map again: two resizes per iteration.
void Resize(benchmark::State &state, const TProgressProc &progress)
{
    TMap *map = MapDocument();
    for (auto _ : state) {
        map->ResizeMap(2500, 2500, progress, 0, 1, 3);
        map->ResizeMap(2000, 2000, progress, 0, 1, 3);
    }
}

void BM_ResizeWithoutProgress(benchmark::State &state)
{
    std::unique_ptr<TMainForm> form = StartWithFourLayers();
    Resize(state, TProgressProc());
    form.reset();
    FinishEditor();
}

void BM_ResizeThroughTheProgressWindow(benchmark::State &state)
{
    std::unique_ptr<TMainForm> form = StartWithFourLayers();
    Resize(state, form->Progress().Callback());
    form.reset();
    FinishEditor();
}

} // namespace

int main(int argc, char **argv)
{
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    // Each run reports its time against the baseline measured just before it.
    class TRatioReporter : public benchmark::ConsoleReporter
    {
    public:
        void ReportRuns(const std::vector<Run> &runs) override
        {
            std::vector<Run> annotated = runs;
            for (Run &run : annotated) {
                const double milliseconds = run.GetAdjustedRealTime();
                if (run.benchmark_name().find("WithoutProgress") != std::string::npos)
                    BaselineMilliseconds = milliseconds;
                else if (BaselineMilliseconds > 0.0)
                    run.counters["vs_baseline"] = milliseconds / BaselineMilliseconds;
            }
            ConsoleReporter::ReportRuns(annotated);
        }
    } reporter;
    benchmark::RegisterBenchmark("BM_ResizeWithoutProgress", BM_ResizeWithoutProgress)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(5);
    benchmark::RegisterBenchmark("BM_ResizeThroughTheProgressWindow",
                                 BM_ResizeThroughTheProgressWindow)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(5);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
