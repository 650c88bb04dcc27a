// Real editor processes under Xvfb, driven as a user drives them (mouse and keys through
// xdotool): work painted, its recovery copy awaited, the editor killed with SIGKILL and
// started again, the question answered. Skipped where Xvfb or xdotool is missing.
#include "tests/common/PluginTestSupport.h"

#include <QProcess>
#include <QStandardPaths>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <sstream>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{

using namespace std::chrono_literals;

// The cells of layer 0 of a project file, read through the built plug-in; empty when the
// file cannot be read.
std::vector<uint16_t> ProjectCells(const std::string &path)
{
    TDynamicLibrary library(std::string(TESSELLA_BUILD_DIR) + "/Plugins/tzp.so");
    auto import = library.Function<FilePluginImportProc>("Import");
    PluginMapRecord record{};
    TessellaWindow window{};
    window.StructSize = sizeof window;
    if (import == nullptr || import(&window, path.c_str(), &record,
                                    [](int32_t, int32_t, const char *) { return 1; }) != prSuccess)
        return {};
    std::vector<uint16_t> cells(record.Layers[0].Cells,
                                record.Layers[0].Cells + record.Width * record.Height);
    FreeImportedRecord(record);
    return cells;
}

// A project of 40 × 30 cells, every cell part 3, with a parts image beside it.
void WriteProjectFile(const std::string &path, const std::string &image)
{
    std::vector<uint16_t> cells(40 * 30, 3);
    PluginLayerRecord layer{};
    std::string name = "ground";
    std::string reference = image;
    layer.Name = name.data();
    layer.PartsImage = reference.data();
    layer.Visible = 1;
    layer.Cells = cells.data();
    PluginMapRecord record{};
    record.Width = 40;
    record.Height = 30;
    record.PartsWidth = 16;
    record.PartsHeight = 16;
    record.LayerCount = 1;
    record.BitCount = 8;
    record.PathMode = 1;
    record.EditorFlags[0] = 1;
    record.Zoom = 256;
    record.Layers = &layer;
    TDynamicLibrary library(std::string(TESSELLA_BUILD_DIR) + "/Plugins/tzp.so");
    auto exportProc = library.Function<FilePluginExportProc>("Export");
    TessellaWindow window{};
    window.StructSize = sizeof window;
    ASSERT_NE(exportProc, nullptr);
    ASSERT_EQ(exportProc(&window, path.c_str(), &record,
                         [](int32_t, int32_t, const char *) { return 1; }),
              prSuccess);
}

class TEditorProcesses : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (QStandardPaths::findExecutable("Xvfb").isEmpty() ||
            QStandardPaths::findExecutable("xdotool").isEmpty())
            GTEST_SKIP() << "Xvfb and xdotool are needed";
        Root = Folder.Root();
        // A program folder of the tests' own, so its settings file is theirs.
        const fs::path program = fs::path(Root) / "program";
        fs::create_directories(program);
        std::error_code error;
        fs::create_hard_link(fs::path(TESSELLA_BUILD_DIR) / "Tessella", program / "Tessella",
                             error);
        if (error)
            fs::copy_file(fs::path(TESSELLA_BUILD_DIR) / "Tessella", program / "Tessella");
        fs::create_directory_symlink(fs::path(TESSELLA_BUILD_DIR) / "Plugins", program / "Plugins");
        fs::create_directory_symlink(fs::path(TESSELLA_BUILD_DIR) / "Languages",
                                     program / "Languages");
        std::ofstream((program / "Tessella.ini").string())
            << "[General]\nLanguage=english\nRecoveryInterval=1\n";
        Program = (program / "Tessella").string();
        fs::create_directories(fs::path(Root) / "run");
        fs::permissions(fs::path(Root) / "run", fs::perms::owner_all);
        RecoveryFolder = Root + "/state/Tessella/recovery";

        // A display of the tests' own.
        for (Display = 90 + static_cast<int>(getpid() % 100);; ++Display)
            if (!fs::exists("/tmp/.X11-unix/X" + std::to_string(Display)) &&
                !fs::exists("/tmp/.X" + std::to_string(Display) + "-lock"))
                break;
        Server.start("Xvfb", {QString(":%1").arg(Display), "-screen", "0", "1280x1024x24",
                              "-nolisten", "tcp", "-noreset"});
        ASSERT_TRUE(Server.waitForStarted());
        for (int i = 0; i < 200 && !fs::exists("/tmp/.X11-unix/X" + std::to_string(Display)); ++i)
            Server.waitForFinished(50);
        ASSERT_EQ(Server.state(), QProcess::Running) << Server.readAllStandardError().toStdString();

        const fs::path image = fs::path(Root) / "maps" / "parts.bmp";
        fs::create_directories(image.parent_path());
        std::vector<uint8_t> bmp = TBytes()
                                       .Text("BM")
                                       .U32(54 + 256 * 16 * 3)
                                       .U32(0)
                                       .U32(54)
                                       .U32(40)
                                       .U32(256)
                                       .U32(16)
                                       .U16(1)
                                       .U16(24)
                                       .U32(0)
                                       .U32(256 * 16 * 3)
                                       .U32(0)
                                       .U32(0)
                                       .U32(0)
                                       .U32(0)
                                       .Repeat(0x80, 256 * 16 * 3)
                                       .Data;
        WriteFileBytes(image.string(), bmp);
        Level = Root + "/maps/level.tzp";
        WriteProjectFile(Level, "parts.bmp");
        Other = Root + "/maps/other.tzp";
        WriteProjectFile(Other, "parts.bmp");
    }

    void TearDown() override
    {
        for (auto &editor : Editors)
            if (editor->state() != QProcess::NotRunning) {
                editor->kill();
                editor->waitForFinished();
            }
        if (Server.state() != QProcess::NotRunning) {
            Server.terminate();
            Server.waitForFinished();
        }
    }

    QProcessEnvironment Environment() const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("DISPLAY", QString(":%1").arg(Display));
        environment.insert("QT_QPA_PLATFORM", "xcb");
        environment.insert("XDG_STATE_HOME", QString::fromStdString(Root + "/state"));
        environment.insert("XDG_RUNTIME_DIR", QString::fromStdString(Root + "/run"));
        environment.insert("XDG_CONFIG_HOME", QString::fromStdString(Root + "/config"));
        environment.insert("LANG", "C.UTF-8");
        environment.remove("LC_ALL");
        environment.remove("WAYLAND_DISPLAY");
        return environment;
    }

    QProcess &StartEditor(const std::string &file)
    {
        Editors.push_back(std::make_unique<QProcess>());
        QProcess &editor = *Editors.back();
        editor.setProcessEnvironment(Environment());
        editor.setProcessChannelMode(QProcess::ForwardedChannels);
        editor.start(QString::fromStdString(Program), {QString::fromStdString(file)});
        EXPECT_TRUE(editor.waitForStarted());
        return editor;
    }

    std::string Run(const QString &program, const QStringList &arguments)
    {
        QProcess process;
        process.setProcessEnvironment(Environment());
        process.start(program, arguments);
        process.waitForFinished(30000);
        return QString::fromUtf8(process.readAllStandardOutput()).trimmed().toStdString();
    }
    std::string Xdo(const QStringList &arguments) { return Run("xdotool", arguments); }

    // The first visible window whose title matches; empty when none shows within the time.
    std::string WaitForWindow(const QString &title, std::chrono::milliseconds time = 20s)
    {
        for (auto end = std::chrono::steady_clock::now() + time;
             std::chrono::steady_clock::now() < end; std::this_thread::sleep_for(100ms)) {
            const std::string found = Xdo({"search", "--onlyvisible", "--name", title});
            if (!found.empty())
                return found.substr(0, found.find('\n'));
        }
        return std::string();
    }
    std::string Title(const std::string &window)
    {
        return Xdo({"getwindowname", QString::fromStdString(window)});
    }
    void Keys(const std::string &window, const QString &keys)
    {
        Xdo({"windowfocus", "--sync", QString::fromStdString(window)});
        std::this_thread::sleep_for(200ms);
        Xdo({"key", "--clearmodifiers", keys});
    }
    // A stroke across the middle of the map view with the pen.
    void PaintStroke(const std::string &window)
    {
        const std::string geometry =
            Xdo({"getwindowgeometry", "--shell", QString::fromStdString(window)});
        std::map<std::string, int> values;
        std::istringstream lines(geometry);
        for (std::string line; std::getline(lines, line);)
            if (const size_t equals = line.find('='); equals != std::string::npos)
                values[line.substr(0, equals)] = std::atoi(line.c_str() + equals + 1);
        const int x = values["X"], y = values["Y"], width = values["WIDTH"],
                  height = values["HEIGHT"];
        const int startX = x + width / 3, startY = y + height / 2;
        Xdo({"mousemove", "--sync", QString::number(startX), QString::number(startY)});
        Xdo({"mousedown", "1"});
        for (int step = 1; step <= 8; ++step)
            Xdo({"mousemove", "--sync", QString::number(startX + step * 16),
                 QString::number(startY)});
        Xdo({"mouseup", "1"});
    }
    std::vector<std::string> Copies() const
    {
        std::vector<std::string> copies;
        std::error_code error;
        for (const fs::directory_entry &entry : fs::directory_iterator(RecoveryFolder, error))
            if (entry.path().extension() == ".tzp")
                copies.push_back(entry.path().string());
        std::sort(copies.begin(), copies.end());
        return copies;
    }
    bool WaitFor(const std::function<bool()> &done, std::chrono::milliseconds time = 20s)
    {
        for (auto end = std::chrono::steady_clock::now() + time;
             std::chrono::steady_clock::now() < end; std::this_thread::sleep_for(100ms))
            if (done())
                return true;
        return done();
    }
    void Kill(QProcess &editor)
    {
        ::kill(static_cast<pid_t>(editor.processId()), SIGKILL);
        editor.waitForFinished();
    }

    TTempFolder Folder;
    std::string Root;
    std::string Program;
    std::string RecoveryFolder;
    std::string Level;
    std::string Other;
    int Display = 0;
    QProcess Server;
    std::vector<std::unique_ptr<QProcess>> Editors;
};

} // namespace

// Paint, wait for the copy, SIGKILL; the next start asks, Yes brings back every change as
// unsaved work under the original name and path, Save writes the original file, and a
// clean exit leaves no recovery file. The command line lists and writes the copy too.
TEST_F(TEditorProcesses, KilledEditorsWorkComesBackAndSaveWritesTheOriginal)
{
    const std::vector<uint16_t> original = ProjectCells(Level);
    ASSERT_EQ(original.size(), 40u * 30u);
    QProcess &first = StartEditor(Level);
    const std::string window = WaitForWindow("^Tessella level\\.tzp");
    ASSERT_FALSE(window.empty());
    PaintStroke(window);
    ASSERT_TRUE(WaitFor([&] { return Title(window).back() == '*'; })) << Title(window);
    ASSERT_TRUE(WaitFor([&] { return Copies().size() == 1; }));
    ASSERT_TRUE(WaitFor([&] { return ProjectCells(Copies()[0]) != original; }));
    Kill(first);
    const std::vector<uint16_t> painted = ProjectCells(Copies()[0]);

    // The command line lists the copy and writes it out, with no display.
    const std::string listing = Run(QString::fromStdString(Program), {"--recover"});
    EXPECT_NE(listing.find("1\tlevel.tzp\t" + Level + "\t"), std::string::npos) << listing;
    const std::string written = Root + "/written.tzp";
    Run(QString::fromStdString(Program), {"--recover", "1", QString::fromStdString(written)});
    EXPECT_EQ(ProjectCells(written), painted);

    StartEditor(Level);
    const std::string question = WaitForWindow("^Tessella$");
    ASSERT_FALSE(question.empty()) << "no question at the next start";
    Keys(question, "y");
    const std::string restored = WaitForWindow("^Tessella level\\.tzp.*\\*$");
    ASSERT_FALSE(restored.empty()) << "the recovered work is not shown as unsaved";
    Keys(restored, "ctrl+s");
    ASSERT_TRUE(WaitFor([&] { return ProjectCells(Level) == painted; }));
    ASSERT_TRUE(WaitFor([&] { return Title(restored).back() != '*'; }));
    Keys(restored, "ctrl+q");
    ASSERT_TRUE(Editors.back()->waitForFinished(20000));
    EXPECT_EQ(Editors.back()->exitCode(), 0);
    EXPECT_TRUE(Copies().empty());
    EXPECT_TRUE(fs::is_empty(RecoveryFolder));
}

// Two editors at once keep two copies and neither offers the other's; once both are
// killed the next start offers both, and No removes each.
TEST_F(TEditorProcesses, TwoEditorsKeepTwoCopiesAndNoRemovesThem)
{
    QProcess &first = StartEditor(Level);
    const std::string one = WaitForWindow("^Tessella level\\.tzp");
    ASSERT_FALSE(one.empty());
    PaintStroke(one);
    ASSERT_TRUE(WaitFor([&] { return Copies().size() == 1; }));

    QProcess &second = StartEditor(Other);
    const std::string two = WaitForWindow("^Tessella other\\.tzp");
    ASSERT_FALSE(two.empty());
    std::this_thread::sleep_for(1500ms); // the offer runs right after the first map
    EXPECT_TRUE(Xdo({"search", "--onlyvisible", "--name", "^Tessella$"}).empty())
        << "the running editor's copy was offered";
    PaintStroke(two);
    ASSERT_TRUE(WaitFor([&] { return Copies().size() == 2; }));

    Kill(first);
    Kill(second);
    StartEditor(Level);
    for (int i = 0; i < 2; ++i) {
        const std::string question = WaitForWindow("^Tessella$");
        ASSERT_FALSE(question.empty()) << "question " << i;
        Keys(question, "n");
        ASSERT_TRUE(WaitFor([&] { return Copies().size() == static_cast<size_t>(1 - i); }));
    }
    const std::string window = WaitForWindow("^Tessella level\\.tzp");
    ASSERT_FALSE(window.empty());
    EXPECT_NE(Title(window).back(), '*') << Title(window);
}
