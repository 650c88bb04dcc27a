// The dialog commands through the real main window: each dialog is filled and its buttons
// pressed by a script, then the map, its log, the settings and the messages are checked.
#include "DialogScript.h"
#include "EditorFixture.h"
#include "editor/parts/ChipForm.h"
#include "editor/parts/ChipTable.h"
#include "editor/shell/settings/IniFile.h"
#include "editor/shell/windows/LayerForm.h"
#include "tests/support/ScriptedDialogRunner.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QStatusBar>
#include <fstream>

namespace
{

using TDialogCommands = TEditorFixture;
using TTexts = std::vector<std::string>;

// One recorded write of Value at (X, Y) of a layer: an undoable step.
void Paint(int32_t layer, int32_t x, int32_t y, uint16_t value)
{
    TMap *map = MapDocument();
    map->BeginModify();
    TModified pen;
    pen.Layer = layer;
    pen.Target = {1, x, y, 0, 0, 0};
    pen.Source.Active = 1;
    pen.Data = {value};
    map->WriteData(pen, 65536);
    map->EndModify();
}

uint16_t Cell(int32_t layer, int32_t x, int32_t y)
{
    const TMap *map = MapDocument();
    return map->GetLayer(layer).Data[static_cast<size_t>(y * map->Width() + x)];
}

// Every entry of the list shows its whole name once the dialog is laid out.
void ExpectWholeEntries(QDialog &dialog, QListWidget &list)
{
    // A list on a page of its own is laid out once its page shows.
    for (QWidget *page = &list; page->parentWidget() != nullptr; page = page->parentWidget())
        if (auto *pages = qobject_cast<QStackedWidget *>(page->parentWidget()))
            pages->setCurrentWidget(page);
    dialog.show();
    QCoreApplication::processEvents();
    for (int i = 0; i < list.count(); ++i) {
        const QListWidgetItem *item = list.item(i);
        EXPECT_LE(list.visualItemRect(item).left() +
                      list.fontMetrics().horizontalAdvance(item->text()),
                  list.viewport()->width())
            << item->text().toStdString();
        EXPECT_EQ(item->toolTip(), item->text());
    }
    dialog.hide();
}

TIniFile SavedSettings(const std::filesystem::path &folder)
{
    TIniFile ini((folder / "Tessella.ini").string());
    EXPECT_EQ(ini.Load(), TIniReadResult::Read);
    return ini;
}

} // namespace

TEST_F(TDialogCommands, NewMapChecksEachFieldAndRemembersTheDefaults)
{
    CopyPlugins();
    ASSERT_TRUE(Start());
    TScopedDialogRunner runner;
    runner->Steps.push_back([&](QDialog &dialog) {
        Type(dialog, "MapWidthEdit", "1");
        EXPECT_EQ(Press(dialog, "OkButton"), QDialog::Rejected);
        EXPECT_EQ(Seam->MessageTexts(), TTexts{"Please input from 2 to 10000 for a width. "});
        QLineEdit *width = Field<QLineEdit>(dialog, "MapWidthEdit");
        EXPECT_EQ(width->text(), "2");
        EXPECT_EQ(width->cursorPosition(), 1);
        // A text that is no number counts as 2; the height's upper limit is set back.
        Type(dialog, "MapWidthEdit", "abc");
        Type(dialog, "MapHeightEdit", "20000");
        EXPECT_EQ(Press(dialog, "OkButton"), QDialog::Rejected);
        EXPECT_EQ(Seam->MessageTexts().back(), "Please input from 2 to 10000 for a height. ");
        EXPECT_EQ(Field<QLineEdit>(dialog, "MapHeightEdit")->text(), "10000");
        Type(dialog, "MapHeightEdit", "30");
        Type(dialog, "PartsWidthEdit", "256");
        EXPECT_EQ(Press(dialog, "OkButton"), QDialog::Rejected);
        EXPECT_EQ(Seam->MessageTexts().back(), "Please input from 2 to 255 pixel for a width.");
        EXPECT_EQ(Field<QLineEdit>(dialog, "PartsWidthEdit")->text(), "255");
        Type(dialog, "PartsWidthEdit", "16");
        EXPECT_EQ(Field<QLineEdit>(dialog, "LayersEdit")->text(), "1");
        Type(dialog, "LayersEdit", "256");
        EXPECT_EQ(Press(dialog, "OkButton"), QDialog::Rejected);
        EXPECT_EQ(Seam->MessageTexts().back(),
                  "Please input from 1 to 255 for the number of layers.");
        EXPECT_EQ(Field<QLineEdit>(dialog, "LayersEdit")->text(), "255");
        Type(dialog, "LayersEdit", "3");
        Check(dialog, "Bits8Radio");
        Check(dialog, "FixedCheck");
        Check(dialog, "DefaultCheck");
        return Press(dialog, "OkButton");
    });
    Form->NewMenuItemClick();
    EXPECT_EQ(Seam->Messages.size(), 4u);
    const TMap *map = MapDocument();
    EXPECT_EQ(map->LayerCount(), 3);
    EXPECT_EQ(map->GetLayerName(2), "Layer2");
    EXPECT_EQ(map->Width(), 2);
    EXPECT_EQ(map->Height(), 30);
    EXPECT_EQ(map->PartsWidth(), 16);
    EXPECT_EQ(map->BitCount(), 8);
    EXPECT_TRUE(Form->Project().FixedAlignment());
    const TIniFile saved = SavedSettings(Folder);
    EXPECT_EQ(saved.ReadInteger("NewDialog", "size", 0), 8);
    EXPECT_EQ(saved.ReadInteger("NewDialog", "align", 1), 0);
    EXPECT_EQ(saved.ReadInteger("NewDialog", "mapWidth", 0), 2);
    EXPECT_EQ(saved.ReadInteger("NewDialog", "partsWidth", 0), 16);

    // The next dialog opens with these choices; Cancel leaves map and settings alone.
    const std::string settingsBefore = saved.SaveToBytes();
    runner->Steps.push_back([&](QDialog &dialog) {
        EXPECT_TRUE(Field<QRadioButton>(dialog, "Bits8Radio")->isChecked());
        EXPECT_TRUE(Field<QCheckBox>(dialog, "FixedCheck")->isChecked());
        EXPECT_EQ(Field<QLineEdit>(dialog, "MapHeightEdit")->text(), "30");
        Check(dialog, "Bits16Radio");
        Check(dialog, "DefaultCheck");
        return Press(dialog, "CancelButton");
    });
    Form->NewMenuItemClick();
    EXPECT_EQ(MapDocument(), map);
    EXPECT_EQ(map->BitCount(), 8);
    EXPECT_EQ(SavedSettings(Folder).SaveToBytes(), settingsBefore);

    // Without the defaults box the bits still start as the last new map's.
    runner->Steps.push_back([&](QDialog &dialog) {
        EXPECT_EQ(Field<QLineEdit>(dialog, "LayersEdit")->text(), "3");
        Check(dialog, "Bits16Radio");
        return Press(dialog, "OkButton");
    });
    runner->Steps.push_back([&](QDialog &dialog) {
        EXPECT_TRUE(Field<QRadioButton>(dialog, "Bits16Radio")->isChecked());
        return Press(dialog, "CancelButton");
    });
    Form->NewMenuItemClick();
    EXPECT_EQ(MapDocument()->BitCount(), 16);
    Form->NewMenuItemClick();
    EXPECT_EQ(SavedSettings(Folder).ReadInteger("NewDialog", "size", 0), 8);
    EXPECT_TRUE(runner->Steps.empty());
}

TEST_F(TDialogCommands, ResizeAsksBeforeCuttingAndRefusesSizesBelowOne)
{
    CopyPlugins();
    ASSERT_TRUE(Start());
    Form->SetInvisiblePart(true, 9);
    Paint(0, 3, 2, 5);
    Paint(0, 99, 99, 6);
    TScopedDialogRunner runner;
    runner->Steps.push_back([&](QDialog &dialog) {
        EXPECT_EQ(Field<QLabel>(dialog, "BeforeWidthLabel")->text(), "100 Parts");
        EXPECT_EQ(Field<QLineEdit>(dialog, "WidthEdit")->text(), "100");
        Type(dialog, "WidthEdit", "0");
        EXPECT_EQ(Press(dialog, "OkButton"), QDialog::Rejected);
        EXPECT_EQ(Seam->MessageTexts(), TTexts{"Please input 1 or more for a width."});
        Type(dialog, "WidthEdit", "120");
        Type(dialog, "HeightEdit", "-4");
        EXPECT_EQ(Press(dialog, "OkButton"), QDialog::Rejected);
        EXPECT_EQ(Seam->MessageTexts().back(), "Please input 1 or more for a height.");
        // Rows are cut off: the question's Cancel keeps the dialog open.
        Type(dialog, "HeightEdit", "90");
        EXPECT_EQ(Press(dialog, "OkButton"), QDialog::Rejected);
        EXPECT_EQ(Seam->Questions.size(), 1u);
        Seam->Answers.push_back(TAnswer::Ok);
        return Press(dialog, "OkButton");
    });
    Form->ResizeMenuItemClick();
    ASSERT_EQ(Seam->Questions.size(), 2u);
    EXPECT_EQ(Seam->Questions[0].Caption, "Caution");
    EXPECT_EQ(Seam->Questions[0].Text, "Is it all right although some maps are cut off?");
    TMap *map = MapDocument();
    EXPECT_EQ(map->Width(), 120);
    EXPECT_EQ(map->Height(), 90);
    EXPECT_EQ(Cell(0, 3, 2), 5);
    EXPECT_EQ(Cell(0, 110, 5), 9); // new cells hold the invisible part
    // Older steps knew another row width; they are gone rather than replayed wrongly.
    EXPECT_FALSE(map->CanUndo());
    EXPECT_TRUE(map->IsModified());
    EXPECT_FALSE(Form->Progress().Running());

    // Growing both ways asks nothing.
    runner->Steps.push_back([&](QDialog &dialog) {
        Type(dialog, "WidthEdit", "130");
        Type(dialog, "HeightEdit", "90");
        return Press(dialog, "OkButton");
    });
    Form->ResizeMenuItemClick();
    EXPECT_EQ(map->Width(), 130);
    EXPECT_EQ(Seam->Questions.size(), 2u);
}

// A resize the machine cannot hold and one whose temporary folder is missing: a catalogue
// message each, every layer as it was, and the map still saves, undoes and resizes.
TEST_F(TDialogCommands, RefusedResizesLeaveTheMapUsable)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer aborts on a 2 TB request instead of failing it";
#endif
    CopyPlugins();
    ASSERT_TRUE(Start());
    Form->LayerForm()->AddLayer("top");
    Paint(0, 3, 2, 5);
    Paint(1, 4, 4, 6);
    const auto resizeTo = [&](const char *width, const char *height) {
        TScopedDialogRunner runner;
        runner->Steps.push_back([&](QDialog &dialog) {
            Type(dialog, "WidthEdit", width);
            Type(dialog, "HeightEdit", height);
            Seam->Answers.push_back(TAnswer::Ok); // rows may be cut off
            return Press(dialog, "OkButton");
        });
        Form->ResizeMenuItemClick();
    };
    resizeTo("1000000", "1000000");
    EXPECT_EQ(Seam->MessageTexts(), TTexts{"Not enough memory."});
    const char *oldTemp = std::getenv("TMPDIR");
    const std::string kept = oldTemp != nullptr ? oldTemp : "";
    setenv("TMPDIR", "/nonexistent-tessella-temp", 1);
    resizeTo("15", "11");
    oldTemp != nullptr ? setenv("TMPDIR", kept.c_str(), 1) : unsetenv("TMPDIR");
    EXPECT_EQ(Seam->MessageTexts().back(),
              "The map cannot be resized: the temporary folder /nonexistent-tessella-temp is "
              "missing, full or not writable.");
    TMap *map = MapDocument();
    EXPECT_EQ(map->Width(), 100);
    for (int32_t layer = 0; layer < 2; ++layer)
        EXPECT_EQ(map->GetLayer(layer).Data.size(), 10000u);
    EXPECT_EQ(Cell(0, 3, 2), 5);
    EXPECT_EQ(Cell(1, 4, 4), 6);
    EXPECT_FALSE(Form->Progress().Running());

    Seam->SaveAnswers.push_back(TFileDialogResult{(Folder / "kept.tzp").string(), 1});
    EXPECT_TRUE(Form->Files().SaveAs());
    Form->Edit().UndoMenuItemClick();
    EXPECT_EQ(Cell(1, 4, 4), 0);
    resizeTo("15", "11");
    EXPECT_EQ(map->Width(), 15);
    EXPECT_EQ(Cell(0, 3, 2), 5);
    EXPECT_EQ(Seam->MessageTexts().size(), 2u);
}

TEST_F(TDialogCommands, BitCountChangeRenumbersEveryLayerAndEmptiesTheLog)
{
    CopyPlugins();
    ASSERT_TRUE(Start());
    Form->CreateNewMap(10, 10, 2, 32, 32, 8, true);
    Paint(0, 0, 0, 17);
    Paint(1, 4, 4, 17);
    Paint(1, 5, 5, 3);
    Form->SetInvisiblePart(true, 5);
    TScopedDialogRunner runner;
    runner->Steps.push_back([&](QDialog &dialog) {
        EXPECT_TRUE(Field<QRadioButton>(dialog, "BeforeBits8Radio")->isChecked());
        EXPECT_FALSE(Field<QRadioButton>(dialog, "BeforeBits8Radio")->isEnabled());
        EXPECT_TRUE(Field<QCheckBox>(dialog, "FixedCheck")->isChecked());
        Check(dialog, "Bits16Radio");
        return Press(dialog, "OkButton");
    });
    Form->ChangeBitCountDialogMenuItemClick();
    const TMap *map = MapDocument();
    EXPECT_EQ(map->BitCount(), 16);
    EXPECT_EQ(Cell(0, 0, 0), 257);
    EXPECT_EQ(Cell(1, 4, 4), 257);
    EXPECT_EQ(Cell(1, 5, 5), 3);
    EXPECT_EQ(Form->InvisiblePart(), 0);
    EXPECT_FALSE(map->CanUndo());
    EXPECT_TRUE(map->IsModified());
    EXPECT_NE(Form->FormatTittle().find("(16bit)"), std::string::npos);

    // Back to 8 bits with a free alignment: a layer without image counts the 16 columns of
    // the new bit count, so part 257 (column 1, row 1) becomes 17 again.
    runner->Steps.push_back([&](QDialog &dialog) {
        Check(dialog, "Bits8Radio");
        Check(dialog, "FixedCheck", false);
        return Press(dialog, "OkButton");
    });
    Form->ChangeBitCountDialogMenuItemClick();
    EXPECT_EQ(map->BitCount(), 8);
    EXPECT_FALSE(Form->Project().FixedAlignment());
    EXPECT_EQ(Cell(0, 0, 0), 17);
    EXPECT_EQ(Cell(1, 4, 4), 17);
    EXPECT_EQ(Cell(1, 5, 5), 3);
    EXPECT_TRUE(Seam->Questions.empty()); // nothing was lost, nothing was asked
}

// Cells the new numbering cannot hold are only reset once the user agrees.
TEST_F(TDialogCommands, BitCountChangeAsksBeforeResettingCells)
{
    CopyPlugins();
    ASSERT_TRUE(Start());
    Form->CreateNewMap(10, 10, 1, 32, 32, 16, true);
    Paint(0, 1, 1, 3000); // column 184, row 11: 360 in rows of 16
    Paint(0, 2, 2, 4000);
    Paint(0, 3, 3, 7);
    TScopedDialogRunner runner;
    const auto toEightBits = [&](TAnswer answer) {
        runner->Steps.push_back([&](QDialog &dialog) {
            Check(dialog, "Bits8Radio");
            return Press(dialog, "OkButton");
        });
        Seam->Answers.push_back(answer);
        Form->ChangeBitCountDialogMenuItemClick();
    };
    toEightBits(TAnswer::Cancel);
    ASSERT_EQ(Seam->Questions.size(), 1u);
    EXPECT_EQ(Seam->Questions[0].Caption, "Caution");
    EXPECT_EQ(Seam->Questions[0].Text, "2 cells use parts above 255 and will be reset. Continue?");
    const TMap *map = MapDocument();
    EXPECT_EQ(map->BitCount(), 16);
    EXPECT_EQ(Cell(0, 1, 1), 3000);
    EXPECT_TRUE(map->CanUndo());
    toEightBits(TAnswer::Ok);
    EXPECT_EQ(map->BitCount(), 8);
    EXPECT_EQ(Cell(0, 1, 1), 0);
    EXPECT_EQ(Cell(0, 2, 2), 0);
    EXPECT_EQ(Cell(0, 3, 3), 7);
}

TEST_F(TDialogCommands, ReplaceAndScrollAreOneUndoStepEach)
{
    CopyPlugins();
    ASSERT_TRUE(Start());
    Form->CreateNewMap(4, 3, 1, 32, 32, 8, true);
    Form->LayerForm()->AddLayer("top"); // the current layer
    Paint(0, 0, 0, 7);
    Paint(1, 0, 0, 7);
    Paint(1, 1, 0, 8);
    TScopedDialogRunner runner;
    runner->Steps.push_back([&](QDialog &dialog) {
        for (const char *wrong : {"256", "-1", "abc"}) {
            Type(dialog, "SearchEdit", wrong);
            EXPECT_EQ(Press(dialog, "OkButton"), QDialog::Rejected) << wrong;
        }
        EXPECT_EQ(Seam->MessageTexts(), TTexts(3, "Please input the integer from 0 to 255."));
        Type(dialog, "SearchEdit", "7");
        Type(dialog, "ReplaceEdit", "9");
        return Press(dialog, "OkButton");
    });
    Form->ReplaceMenuItemClick();
    EXPECT_EQ(Cell(1, 0, 0), 9);
    EXPECT_EQ(Cell(0, 0, 0), 7); // only the current layer
    EXPECT_EQ(Form->statusBar()->currentMessage().toStdString(), "1 cells replaced");

    // A positive horizontal offset moves the picture right, wrapping; one layer only.
    runner->Steps.push_back([&](QDialog &dialog) {
        EXPECT_EQ(Field<QLineEdit>(dialog, "HorizontalEdit")->text(), "0");
        EXPECT_TRUE(Field<QRadioButton>(dialog, "AllLayersRadio")->isChecked());
        Type(dialog, "HorizontalEdit", "3");
        Check(dialog, "CurrentLayerRadio");
        return Press(dialog, "OkButton");
    });
    Form->ScrollMenuItemClick();
    EXPECT_EQ(Cell(1, 3, 0), 9);
    EXPECT_EQ(Cell(1, 0, 0), 8);
    EXPECT_EQ(Cell(0, 0, 0), 7);

    // An offset far beyond the width still wraps (the smallest integer too), all layers.
    runner->Steps.push_back([&](QDialog &dialog) {
        Type(dialog, "HorizontalEdit", "-2147483648");
        Type(dialog, "VerticalEdit", "1");
        return Press(dialog, "OkButton");
    });
    Form->ScrollMenuItemClick();
    EXPECT_EQ(Cell(0, 0, 1), 7);
    EXPECT_EQ(Cell(1, 3, 1), 9);

    Form->Edit().UndoMenuItemClick();
    EXPECT_EQ(Cell(0, 0, 0), 7);
    EXPECT_EQ(Cell(1, 3, 0), 9);
    Form->Edit().UndoMenuItemClick();
    EXPECT_EQ(Cell(1, 0, 0), 9);
    Form->Edit().UndoMenuItemClick();
    EXPECT_EQ(Cell(1, 0, 0), 7);
    EXPECT_FALSE(Form->Progress().Running());
}

TEST_F(TDialogCommands, FillDialogChoosesWhatTheSelectionIsFilledWith)
{
    CopyPlugins();
    ASSERT_TRUE(Start());
    Form->CreateNewMap(3, 2, 1, 32, 32, 8, true);
    Form->SetInvisiblePart(true, 9);
    Paint(0, 1, 1, 4);
    ASSERT_TRUE(Form->Edit().SelectAll(true));
    TScopedDialogRunner runner;
    runner->Steps.push_back([&](QDialog &dialog) {
        auto *types = Field<QComboBox>(dialog, "FillTypeCombo");
        EXPECT_EQ(types->count(), 2);
        EXPECT_EQ(types->currentIndex(), 0);
        EXPECT_EQ(types->itemText(1), "Invisible parts");
        types->setCurrentIndex(1);
        return Press(dialog, "OkButton");
    });
    Form->FillMenuItemClick();
    for (int32_t y = 0; y < 2; ++y)
        for (int32_t x = 0; x < 3; ++x)
            EXPECT_EQ(Cell(0, x, y), 9) << x << "," << y;
    Form->Edit().UndoMenuItemClick();
    EXPECT_EQ(Cell(0, 1, 1), 4);
    EXPECT_EQ(Cell(0, 0, 0), 0);

    // Cancel fills nothing.
    ASSERT_TRUE(Form->Edit().SelectAll(true));
    runner->Steps.push_back([&](QDialog &dialog) { return Press(dialog, "CancelButton"); });
    Form->FillMenuItemClick();
    EXPECT_EQ(Cell(0, 0, 0), 0);
}

TEST_F(TDialogCommands, ProjectOptionsCheckTheInvisiblePartAgainstTheBitCount)
{
    CopyPlugins();
    ASSERT_TRUE(Start());
    TScopedDialogRunner runner;
    runner->Steps.push_back([&](QDialog &dialog) {
        QLineEdit *number = Field<QLineEdit>(dialog, "InvisibleNumberEdit");
        EXPECT_FALSE(number->isEnabled());
        Check(dialog, "InvisibleCheck");
        EXPECT_TRUE(number->isEnabled());
        Type(dialog, "InvisibleNumberEdit", "300");
        EXPECT_EQ(Press(dialog, "OkButton"), QDialog::Rejected);
        EXPECT_EQ(Seam->MessageTexts(), TTexts{"Please input the integer from 0 to 255."});
        return Press(dialog, "CancelButton");
    });
    Form->ProjectMenuItemClick();
    EXPECT_FALSE(Form->UseInvisiblePart());
    EXPECT_FALSE(MapDocument()->IsModified());

    Form->CreateNewMap(10, 10, 1, 32, 32, 16, false);
    runner->Steps.push_back([&](QDialog &dialog) {
        EXPECT_TRUE(Field<QRadioButton>(dialog, "RelativeRadio")->isChecked());
        Check(dialog, "InvisibleCheck");
        Type(dialog, "InvisibleNumberEdit", "300");
        Check(dialog, "FileNameRadio");
        Field<QPlainTextEdit>(dialog, "CommentMemo")->setPlainText("two\nlines");
        return Press(dialog, "OkButton");
    });
    Form->ProjectMenuItemClick();
    EXPECT_EQ(Seam->Messages.size(), 1u);
    EXPECT_TRUE(Form->UseInvisiblePart());
    EXPECT_EQ(Form->InvisiblePart(), 300);
    EXPECT_FALSE(Form->Project().RelativePaths());
    EXPECT_EQ(Form->Project().Comment(), "two\nlines");
    EXPECT_TRUE(MapDocument()->IsModified());
}

TEST_F(TDialogCommands, PartsSizeChangesOnlyWhenItDiffers)
{
    CopyPlugins();
    ASSERT_TRUE(Start());
    TScopedDialogRunner runner;
    runner->Steps.push_back([&](QDialog &dialog) {
        EXPECT_EQ(Field<QLabel>(dialog, "BeforeWidthLabel")->text(), "32 Pixel");
        Type(dialog, "WidthEdit", "65536"); // its low 16 bits are 0
        EXPECT_EQ(Press(dialog, "OkButton"), QDialog::Rejected);
        Type(dialog, "WidthEdit", "0");
        EXPECT_EQ(Press(dialog, "OkButton"), QDialog::Rejected);
        return Press(dialog, "CancelButton");
    });
    Form->ChangePartsSizeMenuItemClick();
    EXPECT_EQ(Seam->MessageTexts(), TTexts(2, "Please input 1 or more for a width."));

    Form->Edit().ChangePartsSize(32, 32);
    EXPECT_EQ(Seam->Messages.size(), 2u);
    runner->Steps.push_back([&](QDialog &dialog) {
        Type(dialog, "WidthEdit", "16");
        Type(dialog, "HeightEdit", "24");
        return Press(dialog, "OkButton");
    });
    Form->ChangePartsSizeMenuItemClick();
    ASSERT_EQ(Seam->Messages.size(), 3u);
    EXPECT_EQ(Seam->Messages[2].Kind, mkInformation);
    EXPECT_EQ(Seam->Messages[2].Text,
              "Parts size was changed. Please load a new parts image that suits the size.");
    EXPECT_EQ(MapDocument()->PartsWidth(), 16);
    EXPECT_EQ(MapDocument()->PartsHeight(), 24);
    EXPECT_EQ(Form->ViewState().ViewCellWidth, 16);
    EXPECT_TRUE(MapDocument()->IsModified());
}

TEST_F(TDialogCommands, EnvironmentOptionsTakeColoursAndRewriteTheImagePluginOrder)
{
    CopyPlugins();
    for (const char *name : {"fake_red.spi", "fake_green.spi"})
        std::filesystem::copy_file(std::filesystem::path(TESSELLA_FAKE_SPI_DIR) / name,
                                   Folder / "Plugins" / name);
    ASSERT_TRUE(Start());
    TSusiePluginHost &susie = Form->ChipForm()->Table()->SusiePlugins();
    ASSERT_EQ(susie.Plugins().size(), 2u);
    const std::string first = susie.Plugins()[0].Info.Name;
    const std::string second = susie.Plugins()[1].Info.Name;
    TScopedDialogRunner runner;
    runner->Steps.push_back([&](QDialog &dialog) {
        Seam->ColorAnswers.push_back(0x00123456u);
        Press(dialog, "GridColorBox");
        EXPECT_EQ(Seam->ColorRequests, std::vector<uint32_t>{0xA4A0A0u});

        auto *files = Field<QListWidget>(dialog, "FilePluginList");
        EXPECT_EQ(files->count(), 2);
        ExpectWholeEntries(dialog, *files);
        ExpectWholeEntries(dialog, *Field<QListWidget>(dialog, "SusiePluginList"));
        EXPECT_FALSE(Field<QPushButton>(dialog, "FilePluginSettingButton")->isEnabled());

        auto *images = Field<QListWidget>(dialog, "SusiePluginList");
        EXPECT_EQ(images->item(0)->text().toStdString(), first);
        images->setCurrentRow(1);
        EXPECT_EQ(Field<QPushButton>(dialog, "SusieSettingButton")->isEnabled(),
                  susie.Plugins()[1].Info.HasConfigDialog);
        Press(dialog, "UpButton");
        // The list follows the order shown at once.
        EXPECT_EQ(susie.Plugins()[0].Info.Name, second);
        EXPECT_EQ(images->currentRow(), 0);
        images->item(1)->setCheckState(Qt::Unchecked);
        return Press(dialog, "OkButton");
    });
    Form->OptionMenuItemClick();
    EXPECT_EQ(Form->ViewState().GridColor, 0x00123456u);
    EXPECT_TRUE(MapDocument()->IsModified());
    EXPECT_FALSE(susie.Plugins()[1].Info.Enabled);
    const TIniFile saved = SavedSettings(Folder);
    const std::vector<std::string> keys = saved.KeyNames("spi");
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(saved.ReadInteger("spi", keys[0], -1), 1);
    EXPECT_EQ(saved.ReadInteger("spi", keys[1], -1), 0);
    EXPECT_EQ(std::filesystem::path(susie.Plugins()[0].Path).filename().string(), keys[0]);

    // The image plug-ins report to the same progress display: a picture's last report ends
    // a progress that was running.
    const std::filesystem::path picture = Folder / "tiles.fake";
    std::ofstream(picture) << "FAKE" << std::string(96, 'x');
    EXPECT_EQ(TMainForm::ProgressProc(0, 10, ""), 1);
    ASSERT_TRUE(Form->Progress().Running());
    EXPECT_TRUE(Form->ChipForm()->AddMapChip(picture.string()));
    EXPECT_FALSE(Form->Progress().Running());
}

TEST_F(TDialogCommands, AboutBoxKeepsTheLanguageForTheNextStartAndMakesAssociations)
{
    CopyPlugins();
    std::filesystem::create_directories(Folder / "Languages");
    std::filesystem::copy_file(std::filesystem::path(TESSELLA_SOURCE_DIR) / "languages" /
                                   "japanese.ini",
                               Folder / "Languages" / "japanese.ini");
    {
        std::ofstream ini(Folder / "Tessella.ini");
        ini << "[General]\nLanguage=english\n";
    }
    const std::filesystem::path xdg = Folder / "xdg";
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString((xdg / "data").string()));
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString((xdg / "config").string()));
    qputenv("XDG_DATA_DIRS", QByteArray::fromStdString((xdg / "system").string()));
    ASSERT_TRUE(Start());
    TScopedDialogRunner runner;
    runner->Steps.push_back([&](QDialog &dialog) {
        EXPECT_EQ(Field<QLabel>(dialog, "VersionLabel")->text().left(8), "version ");
        auto *languages = Field<QListWidget>(dialog, "LanguageList");
        EXPECT_EQ(languages->count(), 2);
        EXPECT_EQ(languages->currentItem()->text(), "english");
        auto *plugins = Field<QListWidget>(dialog, "PluginList");
        EXPECT_EQ(plugins->count(), 2);
        EXPECT_EQ(plugins->currentItem(), nullptr);
        ExpectWholeEntries(dialog, *plugins);
        auto *tzp = Field<QPushButton>(dialog, "AccButton");
        EXPECT_EQ(tzp->text(), "Createtzpfile association");
        tzp->click();
        EXPECT_EQ(tzp->text(), "Removetzpfile association");
        EXPECT_TRUE(
            std::filesystem::exists(xdg / "data" / "applications" / "tessella-tzpfile.desktop"));
        tzp->click();
        EXPECT_EQ(tzp->text(), "Createtzpfile association");
        EXPECT_FALSE(
            std::filesystem::exists(xdg / "data" / "applications" / "tessella-tzpfile.desktop"));
        languages->setCurrentRow(1);
        return Press(dialog, "OkButton");
    });
    Form->VersionMenuItemClick();
    qunsetenv("XDG_DATA_HOME");
    qunsetenv("XDG_CONFIG_HOME");
    qunsetenv("XDG_DATA_DIRS");
    EXPECT_EQ(SavedSettings(Folder).ReadString("General", "Language", ""), "japanese");
    EXPECT_EQ(GetLangString(0, "Untitled"), "Untitled"); // from the next start on

    Form.reset();
    FinishEditor();
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Look in:"), "Look in:");
    ASSERT_TRUE(Start());
    EXPECT_EQ(GetLangString(0, "Untitled"), "無題");
    EXPECT_EQ(Form->Project().DocumentName, "無題");
    // Qt's own dialogs speak the language too, while this editor runs.
    EXPECT_NE(QCoreApplication::translate("QFileDialog", "Look in:"), "Look in:");
    Form.reset();
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Look in:"), "Look in:");
}
