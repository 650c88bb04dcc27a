#include "EditorFixture.h"
#include "editor/shell/ChipForm.h"
#include "editor/shell/LayerForm.h"

#include <fstream>

using TFileCommands = TEditorFixture;

namespace
{

void Paint(uint16_t value)
{
    TMap *map = MapDocument();
    map->BeginModify();
    TModified pen;
    pen.Target.Active = 1;
    pen.Target.X = 3;
    pen.Target.Y = 2;
    pen.Source.Active = 1;
    pen.Data = {value};
    map->WriteData(pen, 256);
    map->EndModify();
}

uint16_t PaintedCell()
{
    return MapDocument()->GetLayer(0).Data[2 * 100 + 3];
}

} // namespace

TEST_F(TFileCommands, MissingFileReportsTheProjectPluginsErrorAndLeavesADefaultMap)
{
    CopyPlugins();
    ASSERT_TRUE(Start());
    Paint(9);
    EXPECT_FALSE(Form->OpenFile((Folder / "x.tzp").string()));
    EXPECT_EQ(Seam->MessageTexts(),
              std::vector<std::string>{
                  "The error occurred while reading x.tzp. (File error!(5)@tzp.so)"});
    EXPECT_EQ(MapDocument()->Width(), 100);
    EXPECT_EQ(PaintedCell(), 0);
    EXPECT_EQ(Form->DocumentName, "Untitled");
}

TEST_F(TFileCommands, SaveAsProjectThenOpenBringsTheMapBack)
{
    CopyPlugins();
    ASSERT_TRUE(Start());
    Form->LayerForm()->AddLayer("second");
    Paint(42);
    const std::string path = (Folder / "level.tzp").string();
    Seam->SaveAnswers.push_back(TFileDialogResult{path, 1});
    ASSERT_TRUE(Form->SaveAs());
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(Form->DocumentName, "level.tzp");
    EXPECT_FALSE(MapDocument()->IsModified());
    EXPECT_EQ(Form->FormatTittle(), "Tessella level.tzp(8bit)  @ 100%(second) ");

    Form->CreateNewMap(5, 5, 1, 32, 32, 8, true);
    ASSERT_TRUE(Form->OpenFile(path));
    EXPECT_TRUE(Seam->Messages.empty()) << Seam->MessageTexts()[0];
    ASSERT_EQ(MapDocument()->LayerCount(), 2);
    EXPECT_EQ(MapDocument()->GetLayerName(1), "second");
    EXPECT_EQ(PaintedCell(), 42);
    EXPECT_EQ(Form->DocumentPath, path);
    EXPECT_FALSE(MapDocument()->IsModified());
}

TEST_F(TFileCommands, CsvFilesGoThroughTheCsvPluginChosenByExtension)
{
    CopyPlugins();
    ASSERT_TRUE(Start());
    Paint(7);
    const std::string path = (Folder / "level.csv").string();
    // The project filter is chosen in the dialog, but the name decides the writer.
    Seam->SaveAnswers.push_back(TFileDialogResult{path, 1});
    ASSERT_TRUE(Form->SaveAs());
    ASSERT_TRUE(std::filesystem::exists(path));
    EXPECT_FALSE(std::filesystem::exists(Folder / "level.tzp"));
    Form->CreateNewMap(5, 5, 1, 32, 32, 8, true);
    ASSERT_TRUE(Form->OpenFile(path));
    EXPECT_TRUE(Seam->Messages.empty());
    EXPECT_EQ(MapDocument()->Width(), 100);
    EXPECT_EQ(PaintedCell(), 7);
    EXPECT_EQ(Form->DocumentName, "level.csv");
    EXPECT_FALSE(MapDocument()->IsModified());
}

TEST_F(TFileCommands, FailedSaveAsKeepsTheUnsavedMarkAndTheName)
{
    CopyPlugins();
    ASSERT_TRUE(Start());
    Paint(5);
    Seam->SaveAnswers.push_back(
        TFileDialogResult{(Folder / "missing-folder" / "a.tzp").string(), 1});
    EXPECT_FALSE(Form->SaveAs());
    ASSERT_EQ(Seam->Messages.size(), 1u);
    EXPECT_EQ(Seam->Messages[0].Text.rfind("The error occurred while writing a.tzp.(", 0), 0u)
        << Seam->Messages[0].Text;
    EXPECT_TRUE(MapDocument()->IsModified());
    EXPECT_EQ(Form->DocumentName, "Untitled");
}

TEST_F(TFileCommands, FailedOpenDoesNotTakeTheFilesName)
{
    CopyPlugins();
    ASSERT_TRUE(Start());
    const std::string path = (Folder / "broken.tzp").string();
    {
        std::ofstream(path) << "RIFF garbage";
    }
    Seam->OpenAnswers.push_back(TFileDialogResult{path, 1});
    Form->Open();
    EXPECT_EQ(Form->DocumentName, "Untitled");
    EXPECT_TRUE(Form->DocumentPath.empty());
}

TEST_F(TFileCommands, SaveWithoutChangesDoesNothingAndNoWriterForNoExtension)
{
    CopyPlugins();
    ASSERT_TRUE(Start());
    EXPECT_FALSE(Form->Save());
    EXPECT_TRUE(Seam->SaveRequests.empty());
    EXPECT_FALSE(Form->SaveFile((Folder / "noextension").string(), pfProject));
    EXPECT_EQ(
        Seam->MessageTexts(),
        std::vector<std::string>{"The plug-in that supported writing this file was not found."});
}

TEST_F(TFileCommands, SaveQuestionOnCloseCanCancel)
{
    CopyPlugins();
    ASSERT_TRUE(Start());
    Paint(1);
    Seam->Answers.push_back(TAnswer::Cancel);
    EXPECT_FALSE(Form->SaveMessage());
    ASSERT_EQ(Seam->Questions.size(), 1u);
    EXPECT_EQ(Seam->Questions[0].Caption, "Tessella");
    EXPECT_EQ(Seam->Questions[0].Text, "Save changes to Untitled?");
    Seam->Answers.push_back(TAnswer::No);
    EXPECT_TRUE(Form->SaveMessage());
}

TEST_F(TFileCommands, DialogFiltersListTheQualifyingPlugins)
{
    CopyPlugins();
    ASSERT_TRUE(Start());
    EXPECT_EQ(Form->OpenDialogFilter(pfProject), "All Files|*.tzp;*.csv;|Tessella Project File "
                                                 "(*.tzp)|*.tzp|CSV Project File(*.csv)|*.csv|");
    EXPECT_EQ(Form->ProjectPlugin, 1);
}

TEST_F(TFileCommands, ReloadAsksBeforeDroppingChangesAndReadsTheFileAgain)
{
    CopyPlugins();
    ASSERT_TRUE(Start());
    Paint(4);
    const std::string path = (Folder / "level.tzp").string();
    Seam->SaveAnswers.push_back(TFileDialogResult{path, 1});
    ASSERT_TRUE(Form->SaveAs());
    Paint(8);
    Seam->Answers.push_back(TAnswer::Cancel);
    Form->ReOpenMenuItemClick();
    EXPECT_EQ(PaintedCell(), 8);
    ASSERT_EQ(Seam->Questions.size(), 1u);
    EXPECT_EQ(Seam->Questions[0].Text, "Do you continue annulling the change to level.tzp?");
    Seam->Answers.push_back(TAnswer::Ok);
    Form->ReOpenMenuItemClick();
    EXPECT_EQ(PaintedCell(), 4);
    EXPECT_FALSE(MapDocument()->IsModified());
    EXPECT_EQ(Form->DocumentName, "level.tzp");
}

// The export-only TMX plug-in: offered by Export only, chosen by the name's extension,
// never by Save As (it is no project format) and never for opening.
TEST_F(TFileCommands, ExportWritesTmxThroughTheExportOnlyPlugin)
{
    CopyPlugins();
    std::filesystem::copy_file(std::filesystem::path(TESSELLA_BUILD_DIR) / "Plugins" / "tmx.so",
                               Folder / "Plugins" / "tmx.so");
    ASSERT_TRUE(Start());
    EXPECT_EQ(Form->SaveDialogFilter(pfExport), "Tiled Map(*.tmx)|*.tmx|");
    EXPECT_EQ(Form->OpenDialogFilter(pfProject), "All Files|*.tzp;*.csv;|Tessella Project File "
                                                 "(*.tzp)|*.tzp|CSV Project File(*.csv)|*.csv|");
    Paint(3);
    const std::string path = (Folder / "level.tmx").string();
    Seam->SaveAnswers.push_back(TFileDialogResult{path, 1});
    ASSERT_TRUE(Form->Exportfile());
    const std::string tmx = [&] {
        std::ifstream in(path);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }();
    EXPECT_EQ(tmx.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<map version=\"1.8\" "
                        "orientation=\"orthogonal\" renderorder=\"right-down\" width=\"100\" "
                        "height=\"100\" tilewidth=\"32\" tileheight=\"32\"",
                        0),
              0u);
    EXPECT_NE(tmx.find(" <layer id=\"1\" name=\"Layer0\" width=\"100\" height=\"100\">"),
              std::string::npos);
    EXPECT_TRUE(Seam->Messages.empty());
    // The map is still unsaved: an export is no save.
    EXPECT_TRUE(MapDocument()->IsModified());

    EXPECT_FALSE(Form->SaveFile((Folder / "other.tmx").string(), pfProject));
    EXPECT_FALSE(Form->OpenFile(path));
    EXPECT_EQ(
        Seam->MessageTexts(),
        (std::vector<std::string>{"The plug-in that supported writing this file was not found.",
                                  "The plug-in that supported reading this file was not found."}));
}
