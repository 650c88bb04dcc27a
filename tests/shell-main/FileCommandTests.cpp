#include "EditorFixture.h"
#include "editor/parts/ChipForm.h"
#include "editor/shell/windows/LayerForm.h"
#include "editor/shell/windows/PreviewForm.h"

#include <QAction>
#include <QImage>
#include <algorithm>
#include <fstream>

using TFileCommandTests = TEditorFixture;

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

// A missing file is said to be missing before any plug-in is asked; a file no plug-in reads
// names the formats that can be opened. Either way the open map stays.
TEST_F(TFileCommandTests, MissingAndUnreadableFilesSaySoAndKeepTheMap)
{
    CopyPlugins();
    ASSERT_TRUE(Start());
    Paint(9);
    EXPECT_FALSE(Form->Files().OpenFile((Folder / "x.tzp").string()));
    std::ofstream((Folder / "notes.txt").string()) << "shopping list\n";
    EXPECT_FALSE(Form->Files().OpenFile((Folder / "notes.txt").string()));
    EXPECT_EQ(Seam->MessageTexts(),
              (std::vector<std::string>{
                  "x.tzp was not found.",
                  "The plug-in that supported reading this file was not found. (Tessella "
                  "Project File (*.tzp), CSV Project File(*.csv))"}));
    EXPECT_EQ(MapDocument()->Width(), 100);
    EXPECT_EQ(PaintedCell(), 9);
    EXPECT_EQ(Form->Project().DocumentName, "Untitled");
}

TEST_F(TFileCommandTests, SaveAsProjectThenOpenBringsTheMapBack)
{
    CopyPlugins();
    ASSERT_TRUE(Start());
    Form->LayerForm()->AddLayer("second");
    Paint(42);
    const std::string path = (Folder / "level.tzp").string();
    Seam->SaveAnswers.push_back(TFileDialogResult{path, 1});
    ASSERT_TRUE(Form->Files().SaveAs());
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(Form->Project().DocumentName, "level.tzp");
    EXPECT_FALSE(MapDocument()->IsModified());
    EXPECT_EQ(Form->FormatTittle(), "Tessella level.tzp(8bit)  @ 100%(second) ");

    Form->CreateNewMap(5, 5, 1, 32, 32, 8, true);
    ASSERT_TRUE(Form->Files().OpenFile(path));
    EXPECT_TRUE(Seam->Messages.empty()) << Seam->MessageTexts()[0];
    EXPECT_FALSE(Form->MenuItem("SaveMenuItem")->isEnabled()); // nothing to save yet
    EXPECT_FALSE(Form->ToolButton("SaveToolButton")->isEnabled());
    ASSERT_EQ(MapDocument()->LayerCount(), 2);
    EXPECT_EQ(MapDocument()->GetLayerName(1), "second");
    EXPECT_EQ(PaintedCell(), 42);
    EXPECT_EQ(Form->Project().DocumentPath, path);
    EXPECT_FALSE(MapDocument()->IsModified());
}

TEST_F(TFileCommandTests, CsvFilesGoThroughTheCsvPluginChosenByExtension)
{
    CopyPlugins();
    ASSERT_TRUE(Start());
    Paint(7);
    const std::string path = (Folder / "level.csv").string();
    // The project filter is chosen in the dialog, but the name decides the writer.
    Seam->SaveAnswers.push_back(TFileDialogResult{path, 1});
    ASSERT_TRUE(Form->Files().SaveAs());
    ASSERT_TRUE(std::filesystem::exists(path));
    EXPECT_FALSE(std::filesystem::exists(Folder / "level.tzp"));
    Form->CreateNewMap(5, 5, 1, 32, 32, 8, true);
    ASSERT_TRUE(Form->Files().OpenFile(path));
    EXPECT_TRUE(Seam->Messages.empty());
    EXPECT_EQ(MapDocument()->Width(), 100);
    EXPECT_EQ(PaintedCell(), 7);
    EXPECT_EQ(Form->Project().DocumentName, "level.csv");
    EXPECT_FALSE(MapDocument()->IsModified());
}

TEST_F(TFileCommandTests, FailedSaveAsKeepsTheUnsavedMarkAndTheName)
{
    CopyPlugins();
    ASSERT_TRUE(Start());
    Paint(5);
    Seam->SaveAnswers.push_back(
        TFileDialogResult{(Folder / "missing-folder" / "a.tzp").string(), 1});
    EXPECT_FALSE(Form->Files().SaveAs());
    ASSERT_EQ(Seam->Messages.size(), 1u);
    EXPECT_EQ(Seam->Messages[0].Text.rfind("The error occurred while writing a.tzp.(", 0), 0u)
        << Seam->Messages[0].Text;
    EXPECT_TRUE(MapDocument()->IsModified());
    EXPECT_EQ(Form->Project().DocumentName, "Untitled");
}

TEST_F(TFileCommandTests, FailedOpenDoesNotTakeTheFilesName)
{
    CopyPlugins();
    ASSERT_TRUE(Start());
    const std::string path = (Folder / "broken.tzp").string();
    {
        std::ofstream(path) << "RIFF garbage";
    }
    Seam->OpenAnswers.push_back(TFileDialogResult{path, 1});
    Form->Files().Open();
    EXPECT_EQ(Form->Project().DocumentName, "Untitled");
    EXPECT_TRUE(Form->Project().DocumentPath.empty());
}

// Open, Reload and Import of a file the plug-in refuses: the error, and then the map, its
// undo history, its title and the tool windows exactly as they were.
TEST_F(TFileCommandTests, FailedOpenReloadAndImportLeaveTheMapAndTheToolWindows)
{
    CopyPlugins();
    std::filesystem::copy_file(std::filesystem::path(TESSELLA_BUILD_DIR) / "tests" / "plugins" /
                                   "test_failing_import.so",
                               Folder / "Plugins" / "test_failing_import.so");
    ASSERT_TRUE(Start());
    Form->show();
    const std::string saved = (Folder / "level.tzp").string();
    Seam->SaveAnswers.push_back(TFileDialogResult{saved, 1});
    Paint(3);
    ASSERT_TRUE(Form->Files().SaveAs());
    Paint(9);
    const std::string title = Form->FormatTittle();
    // The project plug-in takes the file for its own and fails half-way through it.
    const std::string broken = (Folder / "broken.tzp").string();
    std::filesystem::copy_file(saved, broken);
    std::filesystem::resize_file(broken, std::filesystem::file_size(broken) / 2);
    const auto expectUnchanged = [&](const char *command) {
        SCOPED_TRACE(command);
        ASSERT_EQ(Seam->Messages.size(), 1u);
        EXPECT_EQ(Seam->Messages[0].Text.rfind("The error occurred while reading ", 0), 0u)
            << Seam->Messages[0].Text;
        Seam->Messages.clear();
        EXPECT_EQ(PaintedCell(), 9);
        EXPECT_TRUE(MapDocument()->IsModified());
        EXPECT_TRUE(MapDocument()->CanUndo());
        EXPECT_EQ(Form->FormatTittle(), title);
        EXPECT_EQ(Form->Project().DocumentPath, saved);
        for (QWidget *window :
             {static_cast<QWidget *>(Form->ChipForm()), static_cast<QWidget *>(Form->LayerForm()),
              static_cast<QWidget *>(Form->PreviewForm())})
            EXPECT_TRUE(window->isVisible()) << window->objectName().toStdString();
        EXPECT_TRUE(Form->MenuItem("PartsWindowMenuItem")->isChecked());
    };

    Seam->Answers.push_back(TAnswer::No);
    Seam->OpenAnswers.push_back(TFileDialogResult{broken, 1});
    Form->Files().Open();
    expectUnchanged("open");

    const std::string brokenImport = (Folder / "level.brk").string();
    std::ofstream(brokenImport) << "x";
    Seam->Answers.push_back(TAnswer::No);
    Seam->OpenAnswers.push_back(TFileDialogResult{brokenImport, 1});
    Form->Files().ImportFile();
    expectUnchanged("import");

    std::filesystem::copy_file(broken, saved, std::filesystem::copy_options::overwrite_existing);
    Seam->Answers.push_back(TAnswer::Ok);
    Form->Files().ReOpenMenuItemClick();
    expectUnchanged("reload");

    MapDocument()->Undo(*std::make_unique<TSelection>());
    EXPECT_EQ(PaintedCell(), 3);
}

TEST_F(TFileCommandTests, SaveWithoutChangesDoesNothingAndNoWriterForNoExtension)
{
    CopyPlugins();
    ASSERT_TRUE(Start());
    EXPECT_FALSE(Form->Files().Save());
    EXPECT_TRUE(Seam->SaveRequests.empty());
    EXPECT_FALSE(Form->Files().SaveFile((Folder / "noextension").string(), pfProject));
    EXPECT_EQ(
        Seam->MessageTexts(),
        std::vector<std::string>{"The plug-in that supported writing this file was not found."});
}

TEST_F(TFileCommandTests, SaveQuestionOnCloseCanCancel)
{
    CopyPlugins();
    ASSERT_TRUE(Start());
    Paint(1);
    Seam->Answers.push_back(TAnswer::Cancel);
    EXPECT_FALSE(Form->Files().SaveMessage());
    ASSERT_EQ(Seam->Questions.size(), 1u);
    EXPECT_EQ(Seam->Questions[0].Caption, "Tessella");
    EXPECT_EQ(Seam->Questions[0].Text, "Save changes to Untitled?");
    Seam->Answers.push_back(TAnswer::No);
    EXPECT_TRUE(Form->Files().SaveMessage());
}

TEST_F(TFileCommandTests, DialogFiltersListTheQualifyingPlugins)
{
    CopyPlugins();
    ASSERT_TRUE(Start());
    EXPECT_EQ(Form->Files().OpenDialogFilter(pfProject),
              "All Files|*.tzp;*.csv;|Tessella Project File "
              "(*.tzp)|*.tzp|CSV Project File(*.csv)|*.csv|");
    EXPECT_EQ(Form->Project().ProjectPlugin, 1);
}

TEST_F(TFileCommandTests, ReloadAsksBeforeDroppingChangesAndReadsTheFileAgain)
{
    CopyPlugins();
    ASSERT_TRUE(Start());
    Paint(4);
    const std::string path = (Folder / "level.tzp").string();
    Seam->SaveAnswers.push_back(TFileDialogResult{path, 1});
    ASSERT_TRUE(Form->Files().SaveAs());
    Paint(8);
    Seam->Answers.push_back(TAnswer::Cancel);
    Form->Files().ReOpenMenuItemClick();
    EXPECT_EQ(PaintedCell(), 8);
    ASSERT_EQ(Seam->Questions.size(), 1u);
    EXPECT_EQ(Seam->Questions[0].Text, "Do you continue annulling the change to level.tzp?");
    Seam->Answers.push_back(TAnswer::Ok);
    Form->Files().ReOpenMenuItemClick();
    EXPECT_EQ(PaintedCell(), 4);
    EXPECT_FALSE(MapDocument()->IsModified());
    EXPECT_EQ(Form->Project().DocumentName, "level.tzp");
}

// The export-only TMX plug-in: offered by Export only, chosen by the name's extension,
// never by Save As (it is no project format) and never for opening.
TEST_F(TFileCommandTests, ExportWritesTmxAndTheTmxPluginOpensTiledMaps)
{
    CopyPlugins();
    std::filesystem::copy_file(std::filesystem::path(TESSELLA_BUILD_DIR) / "Plugins" / "tmx.so",
                               Folder / "Plugins" / "tmx.so");
    ASSERT_TRUE(Start());
    EXPECT_EQ(Form->Files().SaveDialogFilter(pfExport), "Tiled Map(*.tmx;*.tmj)|*.tmx;*.tmj|");
    // Tiled maps are read, not projects: Open offers them, Save never writes over one.
    EXPECT_EQ(Form->Files().OpenDialogFilter(pfProject | pfImport),
              "All Files|*.tzp;*.tmx;*.tmj;*.csv;|Tessella Project File (*.tzp)|*.tzp|Tiled "
              "Map(*.tmx;*.tmj)|*.tmx;*.tmj|CSV Project File(*.csv)|*.csv|");
    EXPECT_EQ(Form->Files().OpenDialogFilter(pfImport),
              "All Files|*.tmx;*.tmj;|Tiled Map(*.tmx;*.tmj)|*.tmx;*.tmj|");
    Paint(3);
    const std::string path = (Folder / "level.tmx").string();
    Seam->SaveAnswers.push_back(TFileDialogResult{path, 1});
    ASSERT_TRUE(Form->Files().Exportfile());
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
    EXPECT_FALSE(Form->Files().SaveFile((Folder / "other.tmx").string(), pfProject));
    EXPECT_EQ(Seam->MessageTexts(),
              std::vector<std::string>{"The plug-in that supported writing this file was not "
                                       "found."});

    // The exported map opens again (its layer had no parts image, so its cells are empty),
    // without a word: it holds nothing the map cannot.
    Seam->Messages.clear();
    ASSERT_TRUE(Form->Files().OpenFile(path));
    EXPECT_TRUE(Seam->Messages.empty());
    EXPECT_EQ(MapDocument()->Width(), 100);
    EXPECT_EQ(PaintedCell(), 255);

    // What a map cannot hold is named in one information box, and the map opens.
    std::ofstream(Folder / "things.tmx")
        << "<map orientation=\"orthogonal\" width=\"3\" height=\"2\" tilewidth=\"16\" "
           "tileheight=\"16\"><layer name=\"Ground\" width=\"3\" height=\"2\"/><objectgroup "
           "name=\"Things\"/></map>";
    Seam->OpenAnswers.push_back(TFileDialogResult{(Folder / "things.tmx").string(), 1});
    Seam->Answers.push_back(TAnswer::No); // the painted map is not kept
    // The box comes once the map it speaks of is in the window.
    int32_t widthShownWithTheNotice = 0;
    Seam->OnMessage = [&](const TShownMessage &) {
        widthShownWithTheNotice = MapDocument()->Width();
    };
    ASSERT_TRUE(Form->Files().Open());
    Seam->OnMessage = nullptr;
    EXPECT_EQ(widthShownWithTheNotice, 3);
    ASSERT_EQ(Seam->Messages.size(), 1u);
    EXPECT_EQ(Seam->Messages[0].Kind, mkInformation);
    EXPECT_EQ(Seam->Messages[0].Text,
              "things.tmx: left out what the map cannot hold: the object layer \"Things\".");
    EXPECT_EQ(MapDocument()->Width(), 3);
    // It is the document under its own name; Save asks where to write it as a project.
    EXPECT_EQ(Form->Project().DocumentName, "things.tmx");
    EXPECT_TRUE(Form->Project().DocumentPath.empty());
    EXPECT_EQ(Form->FormatTittle().rfind("Tessella things.tmx(", 0), 0u);
    MapDocument()->SetModified();
    Form->Files().Save();
    ASSERT_EQ(Seam->SaveRequests.size(), 2u);
    EXPECT_EQ(Seam->SaveRequests.back().FileName, "things");
    EXPECT_EQ(Seam->SaveRequests.back().DefaultExt, "tzp");

    // A broken one says what is wrong before the error, and leaves the map that was open.
    Seam->Messages.clear();
    std::ofstream(Folder / "broken.tmx") << "<map orientation=\"orthogonal\"";
    EXPECT_FALSE(Form->Files().OpenFile((Folder / "broken.tmx").string()));
    ASSERT_EQ(Seam->Messages.size(), 2u);
    EXPECT_EQ(Seam->Messages[0].Kind, mkInformation);
    EXPECT_EQ(Seam->Messages[0].Text.rfind("broken.tmx: the XML is broken at line 1", 0), 0u);
    EXPECT_EQ(Seam->Messages[1].Kind, mkError);
    EXPECT_EQ(Seam->Messages[1].Text,
              "The error occurred while reading broken.tmx. (The file is broken!(4)@tmx.so)");
    EXPECT_EQ(MapDocument()->Width(), 3);
}

namespace
{

std::vector<uint8_t> ReadBytes(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::string &path, const std::vector<uint8_t> &bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char *>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

// The data byte at offset of the first chunk with this identifier.
uint8_t &ChunkByte(std::vector<uint8_t> &bytes, const char *id, size_t offset)
{
    const auto found = std::search(bytes.begin(), bytes.end(), id, id + 4);
    EXPECT_NE(found, bytes.end()) << id;
    return *(found + 8 + static_cast<std::ptrdiff_t>(offset));
}

} // namespace

// The byte after the transparent colour and the byte after the invisible part travel from
// file to file; a new map stores 255 in both.
TEST_F(TFileCommandTests, ReservedProjectBytesAreCarriedAndDefaultTo255)
{
    CopyPlugins();
    ASSERT_TRUE(Start());
    const std::string first = (Folder / "first.tzp").string();
    Seam->SaveAnswers.push_back(TFileDialogResult{first, 1});
    ASSERT_TRUE(Form->Files().SaveAs());
    std::vector<uint8_t> bytes = ReadBytes(first);
    EXPECT_EQ(ChunkByte(bytes, "ColK", 5), 255);
    EXPECT_EQ(ChunkByte(bytes, "InvC", 3), 255);

    ChunkByte(bytes, "ColK", 5) = 7;
    ChunkByte(bytes, "InvC", 3) = 8;
    const std::string second = (Folder / "second.tzp").string();
    WriteBytes(second, bytes);
    ASSERT_TRUE(Form->Files().OpenFile(second));
    const std::string third = (Folder / "third.tzp").string();
    Seam->SaveAnswers.push_back(TFileDialogResult{third, 1});
    ASSERT_TRUE(Form->Files().SaveAs());
    bytes = ReadBytes(third);
    EXPECT_EQ(ChunkByte(bytes, "ColK", 5), 7);
    EXPECT_EQ(ChunkByte(bytes, "InvC", 3), 8);
}

// A project's invisible part is what the map view leaves out: the cell of the upper layer
// that holds it shows the layer below.
TEST_F(TFileCommandTests, TheOpenedProjectsInvisiblePartIsNotDrawn)
{
    CopyPlugins();
    QImage parts(24, 8, QImage::Format_RGB32);
    parts.fill(Qt::red);
    for (int y = 0; y < 8; ++y)
        for (int x = 8; x < 24; ++x)
            parts.setPixel(x, y, x < 16 ? 0xFF00FF00u : 0xFF0000FFu);
    ASSERT_TRUE(parts.save(QString::fromStdString((Folder / "parts.bmp").string()), "BMP"));
    // Two layers of 2 × 1 cells: blue (part 2) below, the invisible part 1 and red above.
    WriteBytes((Folder / "map.csv").string(), [] {
        const std::string text = "2,1,8,8,2,8,0,0,1,1,0,0\n\"bottom\",\"parts.bmp\",1\n"
                                 "\"top\",\"parts.bmp\",1\n2,2\n\n1,0\n";
        return std::vector<uint8_t>(text.begin(), text.end());
    }());
    ASSERT_TRUE(Start());
    Form->show();
    ASSERT_TRUE(Form->Files().OpenFile((Folder / "map.csv").string()));
    ASSERT_TRUE(Seam->Messages.empty()) << Seam->MessageTexts()[0];
    Form->RedrawAll();
    const TPixelBuffer &view = Form->BackBuffer();
    EXPECT_EQ(view.Pixel(3, 3), 0x0000FFu); // the bottom layer's blue through the hole
    EXPECT_EQ(view.Pixel(11, 3), 0xFF0000u);
}

// A plug-in whose import fails has freed what it allocated; the editor frees only the layer
// array the record still holds, reports the failure and goes on with a new map.
TEST_F(TFileCommandTests, AFailedImportFreesOnlyTheLayerArray)
{
    CopyPlugins();
    std::filesystem::copy_file(std::filesystem::path(TESSELLA_BUILD_DIR) / "tests" / "plugins" /
                                   "test_failing_import.so",
                               Folder / "Plugins" / "test_failing_import.so");
    ASSERT_TRUE(Start());
    WriteBytes((Folder / "level.brk").string(), {1, 2, 3});
    EXPECT_FALSE(Form->Files().OpenFile((Folder / "level.brk").string()));
    EXPECT_EQ(Seam->MessageTexts(),
              std::vector<std::string>{"The error occurred while reading level.brk. (The file is "
                                       "broken!(4)@test_failing_import.so)"});
    EXPECT_EQ(MapDocument()->Width(), 100);
}
