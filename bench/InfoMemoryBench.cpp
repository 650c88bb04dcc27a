// Peak memory of `Tessella --info` on a 1.6 GB project (16 layers of 8192 x 6144 cells),
// against the bytes of its cells: the project is written once by the project plug-in, then
// the program runs as a child process and its peak resident size is read when it ends.
// Goal: about one copy of the cells.
#include "plugins/project/ProjectFilePlugin.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace fs = std::filesystem;

namespace
{

constexpr uint32_t kWidth = 8192;
constexpr uint32_t kHeight = 6144;
constexpr int kLayers = 16;

int32_t GoOn(int32_t, int32_t, const char *)
{
    return 1;
}

// The project, written on first use; its cells' size in bytes.
const fs::path &Project(uint64_t &CellBytes)
{
    static const fs::path path = [] {
        const fs::path file = fs::temp_directory_path() / "tessella-info-bench.tzp";
        std::vector<std::vector<uint16_t>> cells(kLayers);
        std::vector<std::string> names(kLayers);
        std::vector<PluginLayerRecord> layers(kLayers);
        for (int l = 0; l < kLayers; ++l) {
            cells[l].resize(size_t{kWidth} * kHeight);
            for (size_t i = 0; i < cells[l].size(); ++i)
                cells[l][i] = static_cast<uint16_t>((i * 7 + static_cast<size_t>(l)) % 300);
            names[l] = "Layer" + std::to_string(l);
            layers[l] = {names[l].data(), nullptr, 1, cells[l].data()};
        }
        PluginMapRecord record{};
        record.Width = kWidth;
        record.Height = kHeight;
        record.PartsWidth = record.PartsHeight = 32;
        record.LayerCount = kLayers;
        record.BitCount = 16;
        record.Layers = layers.data();
        record.UseInvisiblePart = 1;
        record.InvisiblePart = 0;
        record.Zoom = 256;
        TessellaWindow window{};
        window.StructSize = sizeof window;
        if (ExportProjectFile(&window, file.c_str(), &record, GoOn) != prSuccess)
            std::abort();
        return file;
    }();
    CellBytes = uint64_t{kWidth} * kHeight * 2 * kLayers;
    return path;
}

// Runs the program with Arguments, its output thrown away; its peak resident size in bytes,
// or 0 when it failed.
double PeakOfRun(const std::vector<std::string> &Arguments)
{
    const std::string program = std::string(TESSELLA_BUILD_DIR) + "/Tessella";
    std::vector<char *> argv{const_cast<char *>(program.c_str())};
    for (const std::string &argument : Arguments)
        argv.push_back(const_cast<char *>(argument.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int spawned =
        posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return 0;
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return 0;
    return static_cast<double>(usage.ru_maxrss) * 1024.0; // KiB on Linux
}

void BM_InfoPeakMemory(benchmark::State &State)
{
    uint64_t cellBytes = 0;
    const fs::path &file = Project(cellBytes);
    double peak = 0;
    for (auto _ : State) {
        peak = PeakOfRun({"--info", file.string()});
        if (peak == 0) {
            State.SkipWithError("Tessella --info failed");
            return;
        }
    }
    State.counters["cells_MiB"] = static_cast<double>(cellBytes) / 1048576.0;
    State.counters["peak_MiB"] = peak / 1048576.0;
    State.counters["peak_over_cells"] = peak / static_cast<double>(cellBytes);
}
BENCHMARK(BM_InfoPeakMemory)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ignored;
    fs::remove(fs::temp_directory_path() / "tessella-info-bench.tzp", ignored);
    return 0;
}
