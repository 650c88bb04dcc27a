// The recovery copy of unsaved work, driven through the real main window: when it is
// written and removed, what comes back from it at the next start, and what happens to
// copies that cannot be read or written.
#include "editor/parts/ChipForm.h"
#include "editor/plugins/RecoveryCopy.h"
#include "editor/shell/recovery/RecoveryController.h"
#include "editor/shell/windows/LayerForm.h"
#include "tests/shell-main/EditorFixture.h"

#include <QImage>
#include <QSignalSpy>
#include <QStatusBar>
#include <common/ImportedRecord.h>
#include <common/platform/DynamicLibrary.h>
#include <cstdlib>
#include <fstream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{

class TRecoveryTests : public TEditorFixture
{
protected:
    void SetUp() override
    {
        TEditorFixture::SetUp();
        CopyPlugins();
        setenv("XDG_STATE_HOME", (Folder / "state").c_str(), 1);
        RecoveryFolder = (Folder / "state" / "Tessella" / "recovery").string();
        SetInterval(1);
    }
    void TearDown() override
    {
        chmod(RecoveryFolder.c_str(), 0700);
        TEditorFixture::TearDown();
    }

    void SetInterval(int seconds)
    {
        std::ofstream((Folder / "Tessella.ini").string())
            << "[General]\nRecoveryInterval=" << seconds << "\n";
    }
    TRecoveryController &Recovery() { return *Form->findChild<TRecoveryController *>(); }
    // What losing focus does, then waiting for the writer and taking its outcome.
    void LoseFocusAndWait()
    {
        Recovery().Poll(true);
        Recovery().Writer().Wait();
        Recovery().Poll();
    }
    void Paint(int32_t layer, int32_t x, int32_t y, uint16_t value)
    {
        TMap *map = MapDocument();
        map->BeginModify();
        TModified pen;
        pen.Layer = layer;
        pen.Target.Active = 1;
        pen.Target.X = x;
        pen.Target.Y = y;
        pen.Source.Active = 1;
        pen.Data = {value};
        map->WriteData(pen, 256);
        map->EndModify();
    }
    uint16_t Cell(int32_t layer, int32_t x, int32_t y)
    {
        return MapDocument()
            ->GetLayer(layer)
            .Data[static_cast<size_t>(y * MapDocument()->Width() + x)];
    }
    std::string Plugin() const { return (Folder / "Plugins" / "tzp.so").string(); }
    std::vector<std::string> RecoveryEntries() const
    {
        std::vector<std::string> names;
        std::error_code error;
        for (const fs::directory_entry &entry : fs::directory_iterator(RecoveryFolder, error))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    // The editor ends without cleaning up: its copy stays under the id of a dead editor.
    TRecoveryFiles LeaveAsDeadEditors(const std::string &id)
    {
        const TRecoveryFiles &own = Recovery().OwnFiles();
        const TRecoveryFiles dead{RecoveryFolder, id};
        fs::copy_file(own.CopyPath(), dead.CopyPath());
        fs::copy_file(own.RecordPath(), dead.RecordPath());
        return dead;
    }
    void Restart()
    {
        Form.reset();
        FinishEditor();
        ASSERT_TRUE(Start());
    }

    std::string RecoveryFolder;
};

// The parts-image reference a project file holds for a layer, as stored.
std::string StoredReference(const std::string &plugin, const std::string &path, uint32_t layer)
{
    TDynamicLibrary library(plugin);
    auto import = library.Function<FilePluginImportProc>("Import");
    PluginMapRecord record{};
    TessellaWindow window{};
    window.StructSize = sizeof window;
    if (import == nullptr || import(&window, path.c_str(), &record,
                                    [](int32_t, int32_t, const char *) { return 1; }) != prSuccess)
        return "(unreadable)";
    std::string stored = layer < record.LayerCount && record.Layers[layer].PartsImage != nullptr
                             ? record.Layers[layer].PartsImage
                             : "";
    FreeImportedRecord(record);
    return stored;
}

} // namespace

TEST_F(TRecoveryTests, ACopyIsKeptWhileWorkIsUnsavedAndGoesWithSaveNewMapAndCleanExit)
{
    ASSERT_TRUE(Start());
    const TRecoveryFiles files = Recovery().OwnFiles();
    LoseFocusAndWait();
    EXPECT_FALSE(fs::exists(RecoveryFolder)) << "nothing unsaved, nothing written";

    // Written an interval after a change, not before.
    Paint(0, 3, 2, 9);
    Recovery().Poll();
    EXPECT_FALSE(Recovery().Writer().Busy());
    EXPECT_FALSE(fs::exists(files.CopyPath()));
    std::this_thread::sleep_for(std::chrono::milliseconds(1100));
    Recovery().Poll();
    Recovery().Writer().Wait();
    Recovery().Poll();
    ASSERT_TRUE(fs::exists(files.CopyPath()));
    struct stat info {
    };
    ASSERT_EQ(stat(RecoveryFolder.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    const std::optional<TRecoveryRecord> record = ReadRecoveryRecord(files.RecordPath());
    ASSERT_TRUE(record);
    EXPECT_EQ(record->DocumentName, "Untitled");
    EXPECT_EQ(record->DocumentPath, "");
    EXPECT_EQ(CheckRecoveryCopy(Plugin(), files.CopyPath()), prSuccess);
    EXPECT_EQ(
        RecoveryEntries(),
        (std::vector<std::string>{files.Id + ".lock", files.Id + ".recovery", files.Id + ".tzp"}));

    // A clean save removes the copy; new work brings it back; a new map removes it again.
    Seam->SaveAnswers.push_back(TFileDialogResult{(Folder / "level.tzp").string(), 1});
    ASSERT_TRUE(Form->Files().SaveAs());
    Recovery().Poll();
    EXPECT_FALSE(fs::exists(files.CopyPath()));
    EXPECT_FALSE(fs::exists(files.RecordPath()));
    Paint(0, 4, 2, 8);
    LoseFocusAndWait();
    ASSERT_TRUE(fs::exists(files.CopyPath()));
    EXPECT_EQ(ReadRecoveryRecord(files.RecordPath())->DocumentPath,
              (Folder / "level.tzp").string());
    Form->CreateNewMap(20, 20, 1, 32, 32, 8, true);
    Recovery().Poll();
    EXPECT_FALSE(fs::exists(files.CopyPath()));

    // Opening another file removes it too, and a clean exit leaves nothing at all.
    Paint(0, 1, 1, 5);
    LoseFocusAndWait();
    ASSERT_TRUE(fs::exists(files.CopyPath()));
    Seam->Answers.push_back(TAnswer::No); // "Save changes to Untitled?"
    ASSERT_TRUE(Form->Files().OpenDocument((Folder / "level.tzp").string()));
    Recovery().Poll();
    EXPECT_FALSE(fs::exists(files.CopyPath()));
    Paint(0, 1, 1, 5);
    LoseFocusAndWait();
    ASSERT_TRUE(fs::exists(files.CopyPath()));
    Form.reset();
    EXPECT_EQ(RecoveryEntries(), std::vector<std::string>{});
    EXPECT_TRUE(Seam->Messages.empty());

    // RecoveryInterval=0 writes nothing, not even on losing focus.
    SetInterval(0);
    FinishEditor();
    ASSERT_TRUE(Start());
    Paint(0, 1, 1, 5);
    LoseFocusAndWait();
    EXPECT_EQ(RecoveryEntries(), std::vector<std::string>{});
}

// A copy that a dead editor left comes back, when the user says Yes, as unsaved work under
// the document's own name and path: every layer, cell, parts image, the comment and the
// way references are stored. Save then writes the original file. No deletes a copy, Later
// keeps it for the next start, and the copy of an editor that still runs is not offered.
TEST_F(TRecoveryTests, YesBringsTheWorkBackUnderItsNameAndPathNoDeletesLaterKeeps)
{
    QImage parts(64, 32, QImage::Format_RGB32);
    parts.fill(Qt::darkGreen);
    const std::string image = (Folder / "parts.bmp").string();
    ASSERT_TRUE(parts.save(QString::fromStdString(image)));
    fs::create_directories(Folder / "maps");
    const std::string level = (Folder / "maps" / "level.tzp").string();

    ASSERT_TRUE(Start());
    ASSERT_TRUE(Form->ChipForm()->AddMapChip(image));
    Form->LayerForm()->AddLayer("second");
    Form->Project().SetComment("bridge at the north gate");
    Seam->SaveAnswers.push_back(TFileDialogResult{level, 1});
    ASSERT_TRUE(Form->Files().SaveAs());
    Paint(0, 3, 2, 9);
    Paint(1, 5, 5, 7);
    LoseFocusAndWait();
    const TRecoveryFiles dead = LeaveAsDeadEditors("1-1");
    // The copy refers to the parts image by its full path, wherever the copy is read.
    std::string absolute = image;
    std::replace(absolute.begin(), absolute.end(), '/', '\\');
    EXPECT_EQ(StoredReference(Plugin(), dead.CopyPath(), 0), absolute);

    // An editor that still runs keeps its copy to itself.
    {
        TFileLock running;
        ASSERT_TRUE(running.TryAcquire(dead.LockPath()));
        Restart();
        EXPECT_TRUE(Seam->Questions.empty());
        EXPECT_EQ(Form->Project().DocumentName, "Untitled");
    }
    Seam->Answers.push_back(TAnswer::Yes);
    Restart();
    ASSERT_EQ(Seam->Questions.size(), 1u);
    EXPECT_EQ(Seam->Questions[0].Text, "Unsaved changes to level.tzp were recovered. Open them?");
    EXPECT_EQ(Form->Project().DocumentName, "level.tzp");
    EXPECT_EQ(Form->Project().DocumentPath, level);
    EXPECT_TRUE(MapDocument()->IsModified());
    EXPECT_EQ(Form->windowTitle().toStdString().back(), '*');
    ASSERT_EQ(MapDocument()->LayerCount(), 2);
    EXPECT_EQ(MapDocument()->GetLayerName(1), "second");
    EXPECT_EQ(Cell(0, 3, 2), 9);
    EXPECT_EQ(Cell(1, 5, 5), 7);
    ASSERT_NE(MapDocument()->GetLayerChip(0), nullptr);
    EXPECT_EQ(fs::path(MapDocument()->GetLayerChip(0)->FileName), fs::path(image));
    EXPECT_EQ(Form->Project().Comment(), "bridge at the north gate");
    EXPECT_TRUE(Form->Project().RelativePaths());
    // The copy is this editor's own now, until the work is saved.
    EXPECT_FALSE(fs::exists(dead.CopyPath()));
    EXPECT_TRUE(fs::exists(Recovery().OwnFiles().CopyPath()));
    ASSERT_TRUE(Form->Files().Save());
    EXPECT_EQ(Seam->SaveRequests.size(), 1u) << "Save asked where to write";
    EXPECT_EQ(StoredReference(Plugin(), level, 0), "..\\parts.bmp");
    Recovery().Poll();
    EXPECT_EQ(RecoveryEntries(), std::vector<std::string>{Recovery().OwnFiles().Id + ".lock"});

    // Two more dead editors' copies, the older one put off, the newer one deleted.
    Paint(0, 6, 6, 4);
    LoseFocusAndWait();
    const TRecoveryFiles older = LeaveAsDeadEditors("2-1");
    const TRecoveryFiles newer = LeaveAsDeadEditors("3-1");
    fs::last_write_time(older.CopyPath(), fs::file_time_type::clock::now() - std::chrono::hours(2));
    Seam->Answers = {TAnswer::No}; // "Save changes to level.tzp?"
    Form->CreateNewMap(20, 20, 1, 32, 32, 8, true);
    Seam->Questions.clear();
    Seam->Answers = {TAnswer::Later, TAnswer::No};
    Restart();
    EXPECT_EQ(Seam->Questions.size(), 2u);
    EXPECT_TRUE(fs::exists(older.CopyPath()));
    EXPECT_FALSE(fs::exists(newer.CopyPath()));
    EXPECT_FALSE(fs::exists(newer.RecordPath()));
    Seam->Questions.clear();
    Restart(); // an unanswered box is Later
    EXPECT_EQ(Seam->Questions.size(), 1u);
    EXPECT_TRUE(fs::exists(older.CopyPath()));
    EXPECT_TRUE(Seam->Messages.empty()) << Seam->MessageTexts()[0];
}

// A copy cut short at any 4 KiB boundary (a power cut while it was copied elsewhere, a full
// disk) is refused without a question, kept as ".broken" and reported once.
TEST_F(TRecoveryTests, CopiesCutAtEvery4KiBBoundaryAreSetAsideAsBrokenAndReportedOnce)
{
    ASSERT_TRUE(Start());
    Form->LayerForm()->AddLayer("second");
    for (int32_t i = 0; i < 60; ++i)
        Paint(i % 2, i, i, static_cast<uint16_t>(i + 1));
    LoseFocusAndWait();
    const TRecoveryFiles &own = Recovery().OwnFiles();
    const uintmax_t size = fs::file_size(own.CopyPath());
    ASSERT_GT(size, 8u * 4096u);
    std::vector<TRecoveryFiles> cut;
    for (uintmax_t length = 0; length < size; length += 4096) {
        const TRecoveryFiles files = LeaveAsDeadEditors("9-" + std::to_string(length / 4096));
        fs::resize_file(files.CopyPath(), length);
        cut.push_back(files);
    }
    Seam->Answers = {TAnswer::No}; // "Save changes to Untitled?" is not asked at exit
    Restart();
    EXPECT_TRUE(Seam->Questions.empty());
    ASSERT_EQ(Seam->Messages.size(), cut.size());
    for (const TRecoveryFiles &files : cut) {
        EXPECT_FALSE(fs::exists(files.CopyPath()));
        EXPECT_TRUE(fs::exists(files.CopyPath() + ".broken")) << files.Id;
        EXPECT_FALSE(fs::exists(files.LockPath()));
    }
    EXPECT_EQ(Seam->Messages[0].Text,
              "A recovery copy cannot be read; it is kept as " + cut[0].CopyPath() + ".broken.");
    EXPECT_EQ(Form->Project().DocumentName, "Untitled");
    Seam->Messages.clear();
    Restart();
    EXPECT_TRUE(Seam->Messages.empty());
    EXPECT_TRUE(Seam->Questions.empty());
}

// A copy that cannot be written is said once in the status bar, never in a box, tried
// again later, and never touches the user's own file.
TEST_F(TRecoveryTests, AFolderThatCannotBeWrittenGivesOneStatusNoteAndNoBox)
{
    const bool root = geteuid() == 0;
    // Root writes into any folder: a folder below /proc cannot be made even by root.
    if (root)
        setenv("XDG_STATE_HOME", "/proc/1/tessella-state", 1);
    else {
        fs::create_directories(RecoveryFolder);
        chmod(RecoveryFolder.c_str(), 0500);
    }
    ASSERT_TRUE(Start());
    QSignalSpy notes(Form->statusBar(), &QStatusBar::messageChanged);
    Paint(0, 3, 2, 9);
    for (int i = 0; i < 3; ++i) {
        LoseFocusAndWait();
        Paint(0, 3, 2, static_cast<uint16_t>(10 + i));
    }
    ASSERT_EQ(notes.count(), 1);
    EXPECT_NE(notes[0][0].toString().indexOf("cannot be kept for recovery"), -1);
    EXPECT_TRUE(Seam->Messages.empty());
    EXPECT_TRUE(Seam->Questions.empty());
    EXPECT_TRUE(MapDocument()->IsModified());
}

// A write that fails once the folder was made (the copy's name is taken by a folder) is
// noted once too; once writing works again the copy is there.
TEST_F(TRecoveryTests, AWriteThatFailsIsNotedOnceAndTriedAgain)
{
    ASSERT_TRUE(Start());
    const TRecoveryFiles files = Recovery().OwnFiles();
    fs::create_directories(files.CopyPath());
    fs::create_directories(files.CopyPath() + "/blocker");
    QSignalSpy notes(Form->statusBar(), &QStatusBar::messageChanged);
    Paint(0, 3, 2, 9);
    LoseFocusAndWait();
    Paint(0, 3, 3, 9);
    LoseFocusAndWait();
    EXPECT_EQ(notes.count(), 1);
    fs::remove_all(files.CopyPath());
    LoseFocusAndWait();
    EXPECT_EQ(CheckRecoveryCopy(Plugin(), files.CopyPath()), prSuccess);
    EXPECT_TRUE(Seam->Messages.empty());
}
