// File > Recent Files and where file dialogs start: both follow the documents opened and
// saved, and both outlive a restart through the settings file.
#include "EditorFixture.h"
#include "editor/parts/ChipForm.h"
#include "tests/support/ScriptedDialogRunner.h"

#include <QAction>
#include <QMenu>
#include <cstdlib>

namespace
{

class TRecentFiles : public TEditorFixture
{
protected:
    // The entries as the menu shows them when it opens: text, hint and enabled state.
    std::vector<std::tuple<std::string, std::string, bool>> Entries() const
    {
        QMenu *menu = Form->findChild<QMenu *>("RecentFilesMenu");
        EXPECT_NE(menu, nullptr);
        emit menu->aboutToShow();
        std::vector<std::tuple<std::string, std::string, bool>> entries;
        for (QAction *action : menu->actions())
            if (action->objectName().startsWith("RecentFile"))
                entries.emplace_back(action->text().toStdString(), action->toolTip().toStdString(),
                                     action->isEnabled());
        return entries;
    }
    QAction *Entry(int number) const
    {
        return Form->findChild<QMenu *>("RecentFilesMenu")
            ->findChild<QAction *>(QString("RecentFile%1").arg(number));
    }
    void SaveAs(const std::filesystem::path &path)
    {
        MapDocument()->SetModified();
        Seam->SaveAnswers.push_back(TFileDialogResult{path.string(), 1});
        ASSERT_TRUE(Form->Files().SaveAs());
    }
    std::string Path(const char *name) const { return (Folder / name).string(); }
};

} // namespace

TEST_F(TRecentFiles, TheListSurvivesARestartGreysADeletedFileAndReopensTheLastClosedOne)
{
    CopyPlugins();
    ASSERT_TRUE(Start());
    std::filesystem::create_directories(Folder / "maps");
    SaveAs(Folder / "maps" / "beach.tzp");
    SaveAs(Folder / "maps" / "cave.tzp");
    SaveAs(Folder / "maps" / "beach.tzp"); // saved again: first, once
    for (int i = 0; i < 11; ++i)
        SaveAs(Folder / ("level" + std::to_string(i) + ".tzp"));
    // Ten at most, newest first, numbered for the keyboard.
    const auto entries = Entries();
    ASSERT_EQ(entries.size(), 10u);
    EXPECT_EQ(std::get<0>(entries[0]), "&1 level10.tzp");
    EXPECT_EQ(std::get<0>(entries[9]), "1&0 level1.tzp");
    EXPECT_EQ(std::get<1>(entries[0]), Path("level10.tzp"));

    Seam->OpenAnswers.push_back(TFileDialogResult{(Folder / "maps" / "beach.tzp").string(), 1});
    Form->Files().Open();
    EXPECT_EQ(Form->Project().DocumentName, "beach.tzp");
    Form->close();
    Form.reset();
    FinishEditor();

    std::filesystem::remove(Folder / "level9.tzp");
    ASSERT_TRUE(Start());
    const auto again = Entries();
    ASSERT_EQ(again.size(), 10u);
    EXPECT_EQ(std::get<1>(again[0]), (Folder / "maps" / "beach.tzp").string());
    EXPECT_EQ(std::get<1>(again[1]), Path("level10.tzp"));
    // The deleted file stays, greyed, its path the hint.
    EXPECT_EQ(std::get<0>(again[2]), "&3 level9.tzp");
    EXPECT_EQ(std::get<1>(again[2]), Path("level9.tzp"));
    EXPECT_FALSE(std::get<2>(again[2]));
    EXPECT_TRUE(std::get<2>(again[1]));

    // An entry opens its file; Ctrl+Shift+T then reopens the one it replaced, the newest
    // document that is not open.
    Entry(1)->trigger();
    EXPECT_EQ(Form->Project().DocumentPath, (Folder / "maps" / "beach.tzp").string());
    Form->MenuItem("ReopenClosedMenuItem")->trigger();
    EXPECT_EQ(Form->Project().DocumentPath, Path("level10.tzp"));
    Form->MenuItem("ReopenClosedMenuItem")->trigger();
    EXPECT_EQ(Form->Project().DocumentPath, (Folder / "maps" / "beach.tzp").string());
    EXPECT_EQ(Form->MenuItem("ReopenClosedMenuItem")->shortcut(),
              QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T));
    EXPECT_TRUE(Seam->Messages.empty()) << Seam->MessageTexts()[0];
}

TEST_F(TRecentFiles, FileDialogsStartWhereTheUserWorksNeverInTheProgramsFolder)
{
    CopyPlugins();
    ASSERT_TRUE(Start());
    const std::string home = std::getenv("HOME");
    // The first start: the home folder, for every dialog.
    Form->Files().Open();
    Form->ChipForm()->OpenImageClick();
    MapDocument()->SetModified();
    Form->Files().SaveAs();
    ASSERT_EQ(Seam->OpenRequests.size(), 2u);
    EXPECT_EQ(Seam->OpenRequests[0].InitialDir, home);
    EXPECT_EQ(Seam->OpenRequests[1].InitialDir, home);
    EXPECT_EQ(Seam->SaveRequests.back().InitialDir, home);

    // Beside the open document.
    const std::filesystem::path work = Folder / "work";
    std::filesystem::create_directories(work);
    SaveAs(work / "a.tzp");
    Form->Files().Open();
    Form->ChipForm()->OpenImageClick();
    EXPECT_EQ(Seam->OpenRequests[2].InitialDir, work.string());
    EXPECT_EQ(Seam->OpenRequests[3].InitialDir, work.string());

    // A new map, also after a restart: the folder of the last file opened or saved.
    Form->CreateNewMap(10, 10, 1, 32, 32, 8, true);
    Form->Files().Open();
    EXPECT_EQ(Seam->OpenRequests.back().InitialDir, work.string());
    Form->close();
    Form.reset();
    FinishEditor();
    ASSERT_TRUE(Start());
    Form->Files().Open();
    Form->ChipForm()->OpenImageClick();
    MapDocument()->SetModified();
    Form->Files().SaveAs();
    for (const TFileDialogRequest &request : Seam->OpenRequests)
        EXPECT_NE(request.InitialDir, Folder.string()) << request.Title;
    EXPECT_EQ(Seam->OpenRequests.back().InitialDir, work.string());
    EXPECT_EQ(Seam->SaveRequests.back().InitialDir, work.string());
}
