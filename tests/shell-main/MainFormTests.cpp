#include "EditorFixture.h"
#include "editor/parts/ChipForm.h"
#include "editor/shell/ViewZoom.h"
#include "editor/shell/windows/LayerForm.h"

#include <fstream>

#include "editor/plugins/FilePluginHost.h"
#include <QAction>
#include <QDropEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QUrl>
#include <fstream>
#include <sstream>
#include <sys/resource.h>
#include <unistd.h>

using TStartup = TEditorFixture;

TEST_F(TStartup, WithoutFilePluginsStopsWithCodeMinus2)
{
    EXPECT_FALSE(Start());
    EXPECT_EQ(Seam->MessageTexts(), (std::vector<std::string>{"File I/O plug-in was not found.",
                                                              "A fatal error occurred!(code:-2)"}));
    EXPECT_FALSE(std::filesystem::exists(Folder / "Tessella.ini"));
}

TEST_F(TStartup, UnreadableSettingsStopWithCodeMinus1)
{
    CopyPlugins();
    std::filesystem::create_directories(Folder / "Tessella.ini"); // a folder, not a file
    EXPECT_FALSE(Start());
    ASSERT_FALSE(Seam->Messages.empty());
    EXPECT_EQ(Seam->Messages.back().Text, "A fatal error occurred!(code:-1)");
}

TEST_F(TStartup, FirstStartShowsTheDefaultMap)
{
    CopyPlugins();
    ASSERT_TRUE(Start());
    EXPECT_TRUE(Seam->Messages.empty());
    TMap *map = MapDocument();
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(map->Width(), 100);
    EXPECT_EQ(map->Height(), 100);
    EXPECT_EQ(map->BitCount(), 8);
    EXPECT_EQ(map->PartsWidth(), 32);
    EXPECT_EQ(map->LayerCount(), 1);
    EXPECT_EQ(Form->FormatTittle(), "Tessella Untitled(8bit)  @ 100%(Layer0) ");
    EXPECT_EQ(Form->width(), 680);
    EXPECT_EQ(Form->height(), 650);
    EXPECT_TRUE(Form->ViewState().ShowGrid);
    EXPECT_TRUE(Form->ViewState().ShowCGrid);
    EXPECT_FALSE(Form->ViewState().ShowNumber);
    EXPECT_TRUE(Form->MenuItem("ShowGridMenuItem")->isChecked());
    EXPECT_TRUE(Form->ToolButton("ShowGridTollButton")->isChecked());
    // The tool windows' buttons are down from the start, before the main window shows.
    for (const char *button : {"PartsWinToolButton", "LayerWinToolButton", "PreWinToolButton"})
        EXPECT_TRUE(Form->ToolButton(button)->isChecked()) << button;
    map->SetModified();
    EXPECT_EQ(Form->FormatTittle(), "Tessella Untitled(8bit)  @ 100%(Layer0) *");
}

TEST_F(TStartup, TitleOfA16BitMapAtTwiceThePartSize)
{
    CopyPlugins();
    ASSERT_TRUE(Start());
    Form->CreateNewMap(10, 10, 1, 16, 16, 16, true);
    for (int step = 0; step < 20 && Form->ViewState().ViewCellWidth < 32; ++step)
        Form->Zoom().EditZoomInMenuItemClick();
    ASSERT_EQ(Form->ViewState().ViewCellWidth, 32);
    MapDocument()->SetModified();
    EXPECT_EQ(Form->FormatTittle(), "Tessella Untitled(16bit)  @ 200%(Layer0) *");
}

TEST_F(TStartup, SettingsAreWrittenAtCloseAndReadAgain)
{
    CopyPlugins();
    {
        std::ofstream ini(Folder / "Tessella.ini");
        ini << "[general]\nzoomratio=5\nShowNumber=1\n[Window]\nMainWinZoom=3\nMainWinLeft=20\n";
    }
    ASSERT_TRUE(Start());
    EXPECT_TRUE(Form->ViewState().ShowNumber);
    Form->ShowGridMenuItemClick(); // grid off
    EXPECT_FALSE(Form->ViewState().ShowGrid);
    Form->close();
    std::ifstream in(Folder / "Tessella.ini");
    std::stringstream text;
    text << in.rdbuf();
    const std::string ini = text.str();
    EXPECT_NE(ini.find("ShowGrid=0"), std::string::npos) << ini;
    EXPECT_NE(ini.find("ShowNumber=1"), std::string::npos) << ini;
    EXPECT_NE(ini.find("MainWinWidth=680"), std::string::npos) << ini;
    EXPECT_NE(ini.find("LayerWinVisible="), std::string::npos) << ini;
    EXPECT_NE(ini.find("zoomratio=5"), std::string::npos) << ini; // unknown content kept
}

using TToolButtonMediator = TEditorFixture;

TEST_F(TToolButtonMediator, EnabledStatesFollowTheDocument)
{
    CopyPlugins();
    ASSERT_TRUE(Start());
    Form->ToolButtonMediator();
    EXPECT_TRUE(Form->MenuItem("OpenMenuItem")->isEnabled());
    EXPECT_FALSE(Form->MenuItem("SaveMenuItem")->isEnabled()); // nothing changed yet
    EXPECT_FALSE(Form->MenuItem("CutMenuItem")->isEnabled());
    EXPECT_FALSE(Form->MenuItem("FillMenuItem")->isEnabled());
    EXPECT_FALSE(Form->MenuItem("DeleteLayerMenuItem")->isEnabled());
    EXPECT_FALSE(Form->MenuItem("SelectUpperMenuItem")->isEnabled());
    EXPECT_FALSE(Form->MenuItem("SelectLowerMenuItem")->isEnabled());
    EXPECT_FALSE(Form->MenuItem("UndoMenuItem")->isEnabled());
    // Both shipped plug-ins are project formats only.
    EXPECT_FALSE(Form->MenuItem("ImportMenuItem")->isEnabled());
    EXPECT_FALSE(Form->MenuItem("ExportMenuItem")->isEnabled());

    Form->LayerForm()->AddLayer("top");
    TMap *map = MapDocument();
    map->BeginModify();
    TModified pen;
    pen.Target.Active = 1;
    pen.Source.Active = 1;
    pen.Data = {3};
    map->WriteData(pen, 256);
    map->EndModify();
    Form->ToolButtonMediator();
    EXPECT_TRUE(Form->MenuItem("SaveMenuItem")->isEnabled());
    EXPECT_TRUE(Form->MenuItem("UndoMenuItem")->isEnabled());
    EXPECT_TRUE(Form->MenuItem("DeleteLayerMenuItem")->isEnabled());
    EXPECT_FALSE(Form->MenuItem("SelectUpperMenuItem")->isEnabled()); // the new top layer
    EXPECT_TRUE(Form->MenuItem("SelectLowerMenuItem")->isEnabled());
    Form->Edit().UndoMenuItemClick();
    EXPECT_EQ(map->GetLayer(1).Data[0], 0);
    EXPECT_TRUE(Form->MenuItem("RedoMenuItem")->isEnabled());
}

TEST_F(TToolButtonMediator, EscapeTwiceHidesThenShowsTheCheckedToolWindows)
{
    CopyPlugins();
    ASSERT_TRUE(Start());
    Form->show();
    Form->WindowMenuItemClick("LayerWindowMenuItem"); // uncheck: layer window hidden
    EXPECT_FALSE(Form->MenuItem("LayerWindowMenuItem")->isChecked());
    Form->HideTollWindows();
    EXPECT_FALSE(Form->ChipForm()->isVisible());
    EXPECT_FALSE(Form->LayerForm()->isVisible());
    Form->HideTollWindows();
    EXPECT_TRUE(Form->ChipForm()->isVisible());
    EXPECT_FALSE(Form->LayerForm()->isVisible());
}

TEST_F(TToolButtonMediator, QuarterScaleOfTinyPartsChangesNothing)
{
    CopyPlugins();
    ASSERT_TRUE(Start());
    Form->CreateNewMap(10, 10, 1, 2, 2, 8, true);
    const int32_t before = Form->ViewState().ViewCellWidth;
    Form->Zoom().ViewScaleClick(4);
    EXPECT_EQ(Form->ViewState().ViewCellWidth, before);
    Form->CreateNewMap(10, 10, 1, 32, 32, 8, true);
    Form->Zoom().ViewScaleClick(4);
    EXPECT_EQ(Form->ViewState().ViewCellWidth, 8);
    EXPECT_EQ(Form->FormatTittle().find("@ 25%"), std::string("Tessella Untitled(8bit)  ").size());
}

TEST_F(TStartup, OnlyPluginsWithFlags16ExactlyGetAPluginMenuItem)
{
    CopyPlugins();
    std::filesystem::create_directories(Folder / "Plugins" / "more");
    for (const char *name : {"test_command_16.so", "test_command_17.so"})
        std::filesystem::copy_file(std::filesystem::path(TESSELLA_BUILD_DIR) / "tests" / "plugins" /
                                       name,
                                   Folder / "Plugins" / "more" / name);
    ASSERT_TRUE(Start());
    QMenu *pluginMenu = nullptr;
    for (QAction *top : Form->menuBar()->actions())
        if (top->text() == "Plug-in")
            pluginMenu = top->menu();
    ASSERT_NE(pluginMenu, nullptr);
    ASSERT_EQ(pluginMenu->actions().size(), 1);
    EXPECT_EQ(pluginMenu->actions()[0]->text(), "Test command 16");
    pluginMenu->actions()[0]->trigger();
    EXPECT_TRUE(std::filesystem::exists(Folder / "command-ran-16"));
    EXPECT_TRUE(Form->Plugins()->HasImportPlugin()); // 17 carries the import bit
    EXPECT_EQ(Form->Plugins()->PluginList()[0].FileName, "Plugins/tzp.so");
}

TEST_F(TStartup, ClosingMaximizedStoresTheBoundsFromBefore)
{
    CopyPlugins();
    ASSERT_TRUE(Start());
    Form->show();
    Form->setGeometry(10, 20, 700, 600);
    QCoreApplication::processEvents();
    Form->showMaximized();
    QCoreApplication::processEvents();
    ASSERT_TRUE(Form->isMaximized());
    Form->close();
    std::ifstream in(Folder / "Tessella.ini");
    std::stringstream text;
    text << in.rdbuf();
    const std::string ini = text.str();
    EXPECT_NE(ini.find("MainWinMaximized=1"), std::string::npos) << ini;
    EXPECT_NE(ini.find("MainWinWidth=700"), std::string::npos) << ini;
    EXPECT_NE(ini.find("MainWinHeight=600"), std::string::npos) << ini;

    Form.reset();
    FinishEditor();
    ASSERT_TRUE(Start());
    EXPECT_TRUE(Form->windowState() & Qt::WindowMaximized);
}

TEST_F(TStartup, DroppingThreeFilesOpensOnlyTheFirst)
{
    CopyPlugins();
    ASSERT_TRUE(Start());
    std::vector<std::string> paths;
    for (const char *name : {"one.csv", "two.csv", "three.csv"}) {
        const std::string path = (Folder / name).string();
        MapDocument()->SetModified();
        Seam->SaveAnswers.push_back(TFileDialogResult{path, 1});
        ASSERT_TRUE(Form->Files().SaveAs());
        paths.push_back(path);
    }
    Form->CreateNewMap(5, 5, 1, 32, 32, 8, true);
    Form->FilesDropped({QUrl::fromLocalFile(QString::fromStdString(paths[0])),
                        QUrl::fromLocalFile(QString::fromStdString(paths[1])),
                        QUrl::fromLocalFile(QString::fromStdString(paths[2]))});
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(Form->Project().DocumentName, "one.csv");
    EXPECT_EQ(MapDocument()->Width(), 100);
}

// A link in "Plugins" that leads back up is followed once: every plug-in is loaded once.
TEST_F(TStartup, APluginFolderLinkedIntoItselfIsScannedOnce)
{
    CopyPlugins();
    std::filesystem::create_directory_symlink(Folder / "Plugins", Folder / "Plugins" / "loop");
    ASSERT_TRUE(Start());
    ASSERT_EQ(Form->Plugins()->PluginList().size(), 2u);
    EXPECT_EQ(Form->Plugins()->PluginList()[0].FileName, "Plugins/tzp.so");
}

// A file named on the command line without a folder is the one in the folder the program
// was started from, although start-up makes the program's folder current.
TEST_F(TStartup, ARelativeCommandLineFileIsTakenFromTheStartFolder)
{
    CopyPlugins();
    const std::filesystem::path maps = Folder / "maps";
    std::filesystem::create_directories(maps);
    std::ofstream(maps / "map.csv") << "3,2,32,32,1,8,0,0,0,0,0,0\n\"a\",\"\",1\n1,2,3\n4,5,6\n";
    std::filesystem::current_path(maps);
    char program[] = "Tessella";
    char name[] = "map.csv";
    char *argv[] = {program, name, nullptr};
    const std::string openFile = CommandLineFile(2, argv);
    Form = StartEditor(Folder.string(), openFile);
    ASSERT_TRUE(Form);
    QCoreApplication::sendPostedEvents();
    EXPECT_TRUE(Seam->Messages.empty()) << Seam->MessageTexts()[0];
    EXPECT_EQ(Form->Project().DocumentPath, (maps / "map.csv").string());
    EXPECT_EQ(MapDocument()->Width(), 3);
}

// A first file no plug-in reads: the error, then the default map, fully usable (Save As
// writes a project the project plug-in reads back); a map no reader would take back is
// refused before any writer sees it.
TEST_F(TStartup, AnUnreadableFirstFileLeavesTheDefaultMap)
{
    CopyPlugins();
    std::ofstream(Folder / "notes.txt") << "not a map\n";
    Form = StartEditor(Folder.string(), (Folder / "notes.txt").string());
    ASSERT_TRUE(Form);
    QCoreApplication::sendPostedEvents();
    ASSERT_EQ(Seam->Messages.size(), 1u);
    EXPECT_EQ(Seam->Messages[0].Text.rfind("The plug-in that supported reading", 0), 0u);
    EXPECT_EQ(MapDocument()->LayerCount(), 1);
    EXPECT_EQ(Form->FormatTittle(), "Tessella Untitled(8bit)  @ 100%(Layer0) ");
    const std::string saved = (Folder / "saved.tzp").string();
    Seam->SaveAnswers.push_back(TFileDialogResult{saved, 1});
    ASSERT_TRUE(Form->Files().SaveAs());
    ASSERT_TRUE(Form->Files().OpenFile(saved));
    EXPECT_EQ(Seam->Messages.size(), 1u);

    MapDocument()->ClearLayers();
    const std::string empty = (Folder / "empty.tzp").string();
    Seam->SaveAnswers.push_back(TFileDialogResult{empty, 1});
    EXPECT_FALSE(Form->Files().SaveAs());
    EXPECT_FALSE(std::filesystem::exists(empty));
    EXPECT_EQ(Seam->Messages.back().Text,
              "The error occurred while writing empty.tzp.(The map cannot be written: its size, "
              "layers or bit count are missing.)");
}

// A new map that cannot be made is a failure, also for the window-message caller.
TEST_F(TStartup, ANewMapThatCannotBeMadeIsReportedAsFailed)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer reserves more address space than any limit leaves";
#endif
    CopyPlugins();
    ASSERT_TRUE(InitLanguage(Folder.string()));
    ReplaceMapDocument(std::make_unique<TMap>());
    TMainForm form(Folder.string()); // before the tool windows exist
    ASSERT_TRUE(form.Initialized());
    rlimit previous{};
    ASSERT_EQ(getrlimit(RLIMIT_AS, &previous), 0);
    long pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    rlimit small = previous;
    small.rlim_cur =
        static_cast<rlim_t>(pages) * static_cast<rlim_t>(sysconf(_SC_PAGESIZE)) + (64u << 20);
    ASSERT_EQ(setrlimit(RLIMIT_AS, &small), 0);
    const bool made = form.CreateNewMap(10000, 10000, 1, 32, 32, 8, true); // 200 MB of cells
    setrlimit(RLIMIT_AS, &previous);
    EXPECT_FALSE(made);
}
