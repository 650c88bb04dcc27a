// The layer window in the running editor: the reversed list, adding, deleting, swapping by
// dragging, duplicating, options, merging, the layer limit and the visibility ticks, each
// checked in the map, the list and the other views.
#include "ToolWindowFixture.h"
#include "editor/shell/dialogs/CopyLayerDialog.h"
#include "editor/shell/dialogs/NewLayerDialog.h"
#include "editor/shell/windows/LayerList.h"
#include "tests/support/ScriptedDialogRunner.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

using TLayerWindow = TToolWindowFixture;

namespace
{
std::vector<std::string> ListTexts(const TLayerList *list)
{
    std::vector<std::string> texts;
    for (int i = 0; i < list->count(); ++i)
        texts.push_back(list->item(i)->text().toStdString());
    return texts;
}

std::vector<std::string> LayerNames()
{
    std::vector<std::string> names;
    for (int32_t i = 0; i < MapDocument()->LayerCount(); ++i)
        names.push_back(MapDocument()->GetLayerName(i));
    return names;
}

// A point on a list entry, right of the check boxes (or on them).
QPoint OnEntry(const TLayerList *list, int row, bool onCheckBox = false)
{
    const QRect rect = list->visualItemRect(list->item(row));
    return {onCheckBox ? rect.left() + 6 : rect.left() + 60, rect.center().y()};
}
} // namespace

TEST_F(TLayerWindow, TheListShowsTheTopLayerFirstAndDeletionsMoveTheCurrentLayer)
{
    StartShown();
    EXPECT_EQ(Layers()->StatusText().toStdString(), "Layer:1"); // the default map's layer added
    Layers()->resize(200, 300);
    Layers()->Button("AddLayerToolButton")->trigger();
    Layers()->Button("AddLayerToolButton")->trigger();
    Settle();
    TLayerList *list = Layers()->List();
    EXPECT_EQ(ListTexts(list), (std::vector<std::string>{"Layer2", "Layer1", "Layer0"}));
    EXPECT_EQ(Layers()->GetCurrentLayerIndex(), 2);
    EXPECT_EQ(Layers()->StatusText().toStdString(), "Layer:3");
    EXPECT_TRUE(Layers()->Button("DelLayerToolButton")->isEnabled());

    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, OnEntry(list, 2));
    EXPECT_EQ(Layers()->GetCurrentLayerIndex(), 0);
    EXPECT_NE(Form->FormatTittle().find("(Layer0)"), std::string::npos);
    EXPECT_EQ(Form->ViewState().CurrentLayer, 0);
    // Below the entries the current layer stays current and marked.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(60, list->viewport()->height() - 3));
    EXPECT_EQ(Layers()->GetCurrentLayerIndex(), 0);
    EXPECT_EQ(list->selectedItems().size(), 1);

    Seam->Answers = {TAnswer::No};
    Layers()->Button("DelLayerToolButton")->trigger();
    EXPECT_EQ(MapDocument()->LayerCount(), 3);
    // The bottom layer goes: the top one becomes current.
    Seam->Answers = {TAnswer::Yes};
    Form->MenuItem("DeleteLayerMenuItem")->trigger();
    EXPECT_EQ(Seam->Questions.back().Caption, "Caution");
    EXPECT_EQ(Seam->Questions.back().Text, "The layer deletion cannot cancel. Do you continue?");
    EXPECT_EQ(LayerNames(), (std::vector<std::string>{"Layer1", "Layer2"}));
    EXPECT_EQ(Layers()->GetCurrentLayerIndex(), 1);
    EXPECT_EQ(list->currentRow(), 0);

    // Another entry: the one that takes its place becomes current.
    Layers()->Button("AddLayerToolButton")->trigger(); // Layer3 on top
    Layers()->SelectLayer(1);
    Seam->Answers = {TAnswer::Yes};
    Layers()->DeleteCurrentLayer();
    EXPECT_EQ(LayerNames(), (std::vector<std::string>{"Layer1", "Layer3"}));
    EXPECT_EQ(list->currentRow(), 1);
    EXPECT_EQ(Layers()->GetCurrentLayerIndex(), 0);

    Seam->Answers = {TAnswer::Yes};
    Layers()->DeleteCurrentLayer();
    EXPECT_FALSE(Layers()->Button("DelLayerToolButton")->isEnabled());
    EXPECT_FALSE(Form->MenuItem("DeleteLayerMenuItem")->isEnabled());
    Layers()->DeleteCurrentLayer();
    EXPECT_EQ(Seam->MessageTexts().back(),
              "The layer cannot be deleted any more. A layer is indispensable for one.");
    EXPECT_EQ(MapDocument()->LayerCount(), 1);
    EXPECT_EQ(Layers()->StatusText().toStdString(), "Layer1"); // after a deletion
}

TEST_F(TLayerWindow, DraggingTheTopEntryOntoTheBottomSwapsTheFirstAndLastLayers)
{
    StartShown();
    Form->CreateNewMap(8, 8, 4, 32, 32, 8, true);
    Layers()->resize(200, 220);
    Settle();
    TMap *map = MapDocument();
    for (int32_t i = 0; i < 4; ++i)
        map->GetLayer(i).Data[0] = static_cast<uint16_t>(10 + i);
    // A recorded edit of layer 3: after the swap its undo would write into another layer.
    TModified pen;
    pen.Layer = 3;
    pen.Target.Active = 1;
    pen.Data = {7};
    map->BeginModify();
    map->WriteData(pen, 256);
    map->EndModify();
    ASSERT_TRUE(map->CanUndo());

    TLayerList *list = Layers()->List();
    ASSERT_EQ(list->currentRow(), 0);
    // Dropped on the check boxes nothing happens.
    QTest::mousePress(list->viewport(), Qt::LeftButton, Qt::NoModifier, OnEntry(list, 0));
    QTest::mouseMove(list->viewport(), OnEntry(list, 2));
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, Qt::NoModifier, OnEntry(list, 3, true));
    EXPECT_EQ(LayerNames(), (std::vector<std::string>{"Layer0", "Layer1", "Layer2", "Layer3"}));

    QTest::mousePress(list->viewport(), Qt::LeftButton, Qt::NoModifier, OnEntry(list, 0));
    QTest::mouseMove(list->viewport(), OnEntry(list, 1));
    QTest::mouseMove(list->viewport(), OnEntry(list, 3));
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, Qt::NoModifier, OnEntry(list, 3));
    EXPECT_EQ(LayerNames(), (std::vector<std::string>{"Layer3", "Layer1", "Layer2", "Layer0"}));
    EXPECT_EQ(map->GetLayer(0).Data[0], 7);
    EXPECT_EQ(map->GetLayer(3).Data[0], 10);
    EXPECT_EQ(map->GetLayer(1).Data[0], 11);
    EXPECT_EQ(ListTexts(list), (std::vector<std::string>{"Layer0", "Layer2", "Layer1", "Layer3"}));
    EXPECT_EQ(Layers()->GetCurrentLayerIndex(), 0);
    EXPECT_FALSE(map->CanUndo());
    EXPECT_FALSE(Form->MenuItem("UndoMenuItem")->isEnabled());
}

TEST_F(TLayerWindow, OptionsRenameAndSetImagesAndADuplicateIsPresetToCopyOfItsSource)
{
    StartShown();
    const std::string tiles = WriteParts("tiles.bmp", 4, 4, [](int, int) { return 0x336699u; });
    OpenThroughButton(tiles);
    Layers()->Button("AddLayerToolButton")->trigger(); // Layer1, no image, current
    TMap *map = MapDocument();
    TScopedDialogRunner runner;

    // Options of the new layer: renamed and given the loaded image.
    runner->Steps.push_back([](QDialog &dialog) {
        auto *images = dialog.findChild<QComboBox *>("ImageList");
        EXPECT_EQ(images->count(), 2);
        EXPECT_EQ(images->itemText(0).toStdString(), "tiles.bmp");
        EXPECT_EQ(images->currentText().toStdString(), "N/A");
        dialog.findChild<QLineEdit *>("NameEdit")->setText("Ground");
        images->setCurrentIndex(0);
        return int(QDialog::Accepted);
    });
    Form->MenuItem("LayerOptionMenuItem")->trigger();
    EXPECT_EQ(runner->Shown.back(), "TNewLayerDialog|Layer option");
    EXPECT_EQ(map->GetLayerName(1), "Ground");
    EXPECT_EQ(Layers()->List()->item(0)->text().toStdString(), "Ground");
    EXPECT_EQ(map->GetLayerChip(1), Parts()->Table()->GetMapChipAddr(0));
    EXPECT_TRUE(Parts()->Button("ToolButton3")->isEnabled());

    // The duplicate.
    map->GetLayer(1).Data[5] = 9;
    std::string preset;
    std::string source;
    runner->Steps.push_back([&](QDialog &dialog) {
        preset = dialog.findChild<QLineEdit *>("NewNameEdit")->text().toStdString();
        source = dialog.findChild<QLabel *>("SourceName")->text().toStdString();
        return int(QDialog::Accepted);
    });
    Layers()->Button("CopyLayerToolButton")->trigger();
    EXPECT_EQ(runner->Shown.back(), "TCopyLayerDialog|Duplicate layer");
    EXPECT_EQ(preset, "Copy of Ground");
    EXPECT_EQ(source, "Ground");
    ASSERT_EQ(map->LayerCount(), 3);
    EXPECT_EQ(map->GetLayerName(2), "Copy of Ground");
    EXPECT_EQ(map->GetLayer(2).Data[5], 9);
    EXPECT_EQ(map->GetLayerChip(2), map->GetLayerChip(1));
    EXPECT_EQ(Layers()->GetCurrentLayerIndex(), 2);
    EXPECT_EQ(Layers()->StatusText().toStdString(), "Layer3"); // after a duplicate

    // "N/A" takes the image away; a cancelled "Add Layer..." adds nothing.
    runner->Steps.push_back([](QDialog &dialog) {
        dialog.findChild<QComboBox *>("ImageList")->setCurrentIndex(1);
        return int(QDialog::Accepted);
    });
    Layers()->OpenCurrentLayerSetting();
    EXPECT_EQ(map->GetLayerChip(2), nullptr);
    EXPECT_FALSE(Parts()->Button("ToolButton3")->isEnabled());
    runner->Steps.push_back([](QDialog &dialog) {
        EXPECT_EQ(dialog.findChild<QLineEdit *>("NameEdit")->text().toStdString(), "Layer3");
        EXPECT_EQ(dialog.findChild<QComboBox *>("ImageList")->currentIndex(), 0);
        return int(QDialog::Rejected);
    });
    Form->MenuItem("AddLayerMenuItem")->trigger();
    EXPECT_EQ(map->LayerCount(), 3);
    runner->Steps.push_back([](QDialog &) { return int(QDialog::Accepted); });
    Form->MenuItem("AddLayerMenuItem")->trigger();
    ASSERT_EQ(map->LayerCount(), 4);
    EXPECT_EQ(map->GetLayerName(3), "Layer3");
    EXPECT_EQ(map->GetLayerChip(3), Parts()->Table()->GetMapChipAddr(0));
}

TEST_F(TLayerWindow, MergingPutsTheCurrentLayerOntoTheOneBelowAndTheLimitIs255Layers)
{
    StartShown();
    Layers()->Button("AddLayerToolButton")->trigger();
    TMap *map = MapDocument();
    std::fill(map->GetLayer(0).Data.begin(), map->GetLayer(0).Data.end(), 3);
    map->GetLayer(1).Data[1] = 5; // the other cells hold 0, the invisible part
    Layers()->SelectLayer(0);
    Layers()->CheckDelLayerButton();
    EXPECT_FALSE(Layers()->MenuEntry("N2")->isEnabled());
    Layers()->SelectLayer(1);
    Layers()->CheckDelLayerButton();
    ASSERT_TRUE(Layers()->MenuEntry("N2")->isEnabled());
    Seam->Answers = {TAnswer::Yes};
    Layers()->MenuEntry("N2")->trigger();
    EXPECT_EQ(Seam->Questions.back().Text, "The layer merge cannot cancel. Do you continue?");
    ASSERT_EQ(map->LayerCount(), 1);
    EXPECT_EQ(map->GetLayer(0).Data[0], 3);
    EXPECT_EQ(map->GetLayer(0).Data[1], 5);
    EXPECT_EQ(Layers()->GetCurrentLayerIndex(), 0);
    EXPECT_EQ(Layers()->StatusText().toStdString(), "Layer1"); // after a merge

    for (int i = 1; i < 255; ++i)
        ASSERT_TRUE(Layers()->AddLayer("L" + std::to_string(i)));
    TScopedDialogRunner runner;
    Layers()->Button("AddLayerToolButton")->trigger();
    Layers()->CopyCurrentLayer();
    EXPECT_EQ(map->LayerCount(), 255);
    EXPECT_TRUE(runner->Shown.empty());
    const std::string limit =
        "The numbers of layers which can be created are 255 layers. It is over a maximum.";
    EXPECT_EQ(Seam->MessageTexts(), (std::vector<std::string>{limit, limit}));
}

TEST_F(TLayerWindow, ClearingATickHidesTheLayerInTheMapViewAndTheOverview)
{
    StartShown();
    OpenThroughButton(WriteParts("blue.bmp", 4, 4, [](int, int) { return 0x2040C0u; }));
    Settle();
    ASSERT_FALSE(Preview()->Screen().IsEmpty());
    EXPECT_EQ(Preview()->Screen().Pixel(2, 2) & 0xFFFFFF, 0x2040C0u);
    EXPECT_EQ(Form->BackBuffer().Pixel(5, 5) & 0xFFFFFF, 0x2040C0u);

    TLayerList *list = Layers()->List();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, OnEntry(list, 0, true));
    EXPECT_FALSE(MapDocument()->GetLayerVisible(0));
    EXPECT_FALSE(Layers()->GetLayerVisibleState(0));
    EXPECT_NE(Preview()->Screen().Pixel(2, 2) & 0xFFFFFF, 0x2040C0u);
    EXPECT_NE(Form->BackBuffer().Pixel(5, 5) & 0xFFFFFF, 0x2040C0u);
    EXPECT_FALSE(Form->MenuItem("ReplaceMenuItem")->isEnabled());

    // A double click on the check box toggles it once and opens no dialog.
    TScopedDialogRunner runner;
    DoubleClick(list->viewport(), OnEntry(list, 0, true));
    EXPECT_TRUE(MapDocument()->GetLayerVisible(0));
    EXPECT_TRUE(runner->Shown.empty());
    EXPECT_EQ(Preview()->Screen().Pixel(2, 2) & 0xFFFFFF, 0x2040C0u);
    // Right of it, the options open.
    DoubleClick(list->viewport(), OnEntry(list, 0));
    ASSERT_EQ(runner->Shown.size(), 1u);
    EXPECT_EQ(runner->Shown[0], "TNewLayerDialog|Layer option");
}
