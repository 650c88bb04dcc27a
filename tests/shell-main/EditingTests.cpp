// Editing on the map through the real main window: pointer gestures, keys, the selection,
// floating blocks, patterns, the clipboard and undo, checked on the map, the log, the state
// and the screen.
#include "EditingFixture.h"
#include "editor/map/TessellaClipboardUnit.h"
#include "tests/map/MapTestSupport.h"

#include <QAction>

using TEditing = TEditingFixture;

TEST_F(TEditing, PenDragIsOneUndoStepAndMovingWithinACellWritesNothing)
{
    StartWithMap(30, 20, 1);
    Form->ChipForm()->Selectchip(5);
    const size_t before = LogLength();

    Press(2, 2);
    EXPECT_EQ(Cell(0, 2, 2), 5);
    EXPECT_TRUE(Map().InModify());
    const size_t afterPress = LogLength();
    const std::string status = Form->StatusText(0);
    MoveTo(2, 2, 12, 9); // same cell, other pixel
    EXPECT_EQ(LogLength(), afterPress);
    EXPECT_EQ(Form->StatusText(0), status);
    MoveTo(3, 2);
    MoveTo(4, 2);
    MoveTo(5, 2);
    EXPECT_EQ(Form->StatusText(0), "Corsor(5, 2)=(5)");
    Release(5, 2);

    EXPECT_FALSE(Map().InModify());
    // mtBegin, four one-cell records, mtEnd, and the free slot.
    ASSERT_EQ(LogLength(), before + 6);
    for (int32_t x = 2; x <= 5; ++x) {
        EXPECT_EQ(Cell(0, x, 2), 5) << x;
        EXPECT_EQ(Shown(x, 2), PartColour(5)) << x;
    }
    EXPECT_EQ(Shown(6, 2), PartColour(0));
    EXPECT_EQ(PixelsDifferingFromAFullRedraw(), 0);
    EXPECT_TRUE(Form->MenuItem("UndoMenuItem")->isEnabled());

    Form->Edit().UndoMenuItemClick();
    for (int32_t x = 2; x <= 5; ++x)
        EXPECT_EQ(Cell(0, x, 2), 0) << x;
    EXPECT_EQ(Shown(3, 2), PartColour(0));
    EXPECT_EQ(PixelsDifferingFromAFullRedraw(), 0);
    EXPECT_FALSE(Map().CanUndo());
    Form->Edit().RedoMenuItemClick();
    EXPECT_EQ(Cell(0, 5, 2), 5);

    // The middle button paints exactly like the left one and closes its group.
    Drag(2, 6, 4, 6, Qt::MiddleButton);
    EXPECT_EQ(Cell(0, 3, 6), 5);
    EXPECT_FALSE(Map().InModify());
    EXPECT_EQ(Form->ViewState().ToolMode, tmPen);

    // A press beyond the map's right edge changes nothing; a second button during a drag
    // does not end the drag.
    const size_t settled = LogLength();
    ASSERT_GT(Form->ViewState().ViewWidth, 32 * kPart);
    Press(31, 3);
    Release(31, 3);
    EXPECT_EQ(LogLength(), settled);
    Press(8, 8);
    QTest::mousePress(View(), Qt::RightButton, Qt::NoModifier, At(9, 8));
    QTest::mouseRelease(View(), Qt::RightButton, Qt::NoModifier, At(9, 8));
    EXPECT_TRUE(Map().InModify());
    EXPECT_EQ(Form->ViewState().ToolMode, tmPen);
    Release(9, 8);
    EXPECT_FALSE(Map().InModify());
}

// The pointer is reported now and then: a stroke that jumps cells between two reports still
// writes every cell of the line between them, as one undo step.
TEST_F(TEditing, AQuickStrokeLeavesNoGaps)
{
    StartWithMap(30, 20, 1);
    Form->ChipForm()->Selectchip(5);
    Press(2, 2);
    MoveTo(8, 5);
    Release(8, 5);
    for (int32_t x = 2; x <= 8; ++x) {
        int32_t painted = 0;
        for (int32_t y = 0; y < 20; ++y)
            painted += Cell(0, x, y) == 5 ? 1 : 0;
        EXPECT_EQ(painted, 1) << x;
    }
    EXPECT_EQ(Cell(0, 8, 5), 5);
    EXPECT_EQ(Cell(0, 5, 3) + Cell(0, 5, 4), 5); // the middle of the line
    EXPECT_EQ(PixelsDifferingFromAFullRedraw(), 0);
    Form->Edit().UndoMenuItemClick();
    for (int32_t x = 2; x <= 8; ++x)
        for (int32_t y = 0; y < 20; ++y)
            ASSERT_EQ(Cell(0, x, y), 0) << x << "," << y;
}

TEST_F(TEditing, RightDragTakesAPatternAndReturnsToThePen)
{
    StartWithMap(30, 20, 1);
    SetCell(0, 1, 1, 7);
    SetCell(0, 2, 1, 8);
    SetCell(0, 1, 2, 9);
    SetCell(0, 2, 2, 10);
    const size_t before = LogLength();
    Press(1, 1, Qt::RightButton);
    EXPECT_EQ(Form->ViewState().ToolMode, tmPattern);
    MoveTo(2, 2);
    Release(2, 2, Qt::RightButton);

    EXPECT_EQ(Form->ViewState().ToolMode, tmPen);
    EXPECT_TRUE(Form->MenuItem("PenToolMenuItem")->isChecked());
    ASSERT_TRUE(Form->Edit().PatternMode());
    EXPECT_EQ(Form->Edit().PatternData().Data, (std::vector<uint16_t>{7, 8, 9, 10}));
    EXPECT_FALSE(Form->ViewState().Selection.Active);
    EXPECT_EQ(LogLength(), before);

    // The pen stamps the pattern; a dragged selection leftwards is normalised.
    Press(10, 10);
    Release(10, 10);
    EXPECT_EQ(Cell(0, 10, 10), 7);
    EXPECT_EQ(Cell(0, 11, 11), 10);
    EXPECT_EQ(Shown(11, 10), PartColour(8));

    Tool(tmSelect);
    Drag(5, 5, 2, 3);
    const TSelection s = Form->ViewState().Selection;
    EXPECT_EQ((std::vector<int32_t>{s.X, s.Y, s.DX, s.DY}), (std::vector<int32_t>{2, 3, 3, 2}));
    EXPECT_EQ(Form->StatusText(1), "Selection(2, 3)-(5, 5)");
    EXPECT_TRUE(Form->MenuItem("CopyMenuItem")->isEnabled());
    Form->Edit().DoNotSelectMenuItemClick();
    EXPECT_EQ(Form->StatusText(1), "Selection N/A");
    EXPECT_FALSE(Form->MenuItem("CopyMenuItem")->isEnabled());

    // A command that ends the right button's drag early gives the tool back as well.
    const std::pair<const char *, void (TEditController::*)()> commands[] = {
        {"Ctrl+D", &TEditController::DoNotSelectMenuItemClick},
        {"Ctrl+Z", &TEditController::UndoMenuItemClick},
        {"Delete", &TEditController::DelSelectionMenuItemClick},
        {"Ctrl+V", &TEditController::PasteMenuItemClick},
    };
    Form->Edit().Clipboard()->SetData(Block(0, 0, 0, 1, 1, {3}), 8);
    for (const auto &[command, run] : commands) {
        Tool(tmFill);
        Press(3, 3, Qt::RightButton);
        MoveTo(4, 4);
        ASSERT_EQ(Form->ViewState().ToolMode, tmPattern) << command;
        (Form->Edit().*run)();
        // A paste chooses the select tool for its block, as it always does.
        const uint8_t expected = std::string(command) == "Ctrl+V" ? tmSelect : tmFill;
        EXPECT_EQ(Form->ViewState().ToolMode, expected) << command;
        Release(4, 4, Qt::RightButton);
        EXPECT_EQ(Form->ViewState().ToolMode, expected) << command;
        Form->Edit().UnSelect(true);
    }
}

TEST_F(TEditing, TemporaryToolsAndLettersFollowTheKeys)
{
    StartWithMap(100, 100, 1);
    Tool(tmEraser);
    EXPECT_TRUE(Form->MenuItem("EraserToolMenuItem")->isChecked());
    EXPECT_EQ(Form->MenuItem("PenToolMenuItem")->isChecked(), false);
    QTest::keyPress(View(), Qt::Key_Space);
    EXPECT_EQ(Form->ViewState().ToolMode, tmHand);
    QTest::keyPress(View(), Qt::Key_Space, Qt::NoModifier, -1); // held: repeats change nothing
    QTest::keyRelease(View(), Qt::Key_Space);
    EXPECT_EQ(Form->ViewState().ToolMode, tmEraser);
    EXPECT_TRUE(Form->ToolButton("EraserToolButton")->isChecked());

    QTest::keyClick(View(), 'Z');
    EXPECT_EQ(Form->ViewState().ToolMode, tmEraser);
    QTest::keyClick(View(), Qt::Key_C);
    EXPECT_EQ(Form->ViewState().ToolMode, tmSelect);
    QTest::keyClick(View(), Qt::Key_Z);
    EXPECT_EQ(Form->ViewState().ToolMode, tmPen);
    EXPECT_FALSE(Form->MenuItem("EraserToolMenuItem")->isChecked());
    // "s": a select mode that only the cursor shows.
    QTest::keyClick(View(), Qt::Key_S);
    EXPECT_EQ(Form->ViewState().ToolMode, tmSelect);
    EXPECT_TRUE(Form->MenuItem("PenToolMenuItem")->isChecked());
    QTest::keyClick(View(), Qt::Key_S);
    EXPECT_EQ(Form->ViewState().ToolMode, tmPen);

    // W shows only the current layer while it is held.
    QTest::keyPress(View(), Qt::Key_W);
    EXPECT_TRUE(Form->ViewState().CurrentLayerOnly);
    QTest::keyRelease(View(), Qt::Key_W);
    EXPECT_FALSE(Form->ViewState().CurrentLayerOnly);

    // Arrow keys and the wheel scroll, the hand drags the view.
    const int32_t scrollY = Form->ViewState().ScrollY;
    QTest::keyClick(View(), Qt::Key_Down);
    EXPECT_EQ(Form->ViewState().ScrollY, scrollY + 2);
    QWheelEvent wheel(QPointF(10, 10), View()->mapToGlobal(QPointF(10, 10)), QPoint(),
                      QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(View(), &wheel);
    EXPECT_EQ(Form->ViewState().ScrollY, scrollY + 3);
    Tool(tmHand);
    Drag(5, 6, 5, 5);
    EXPECT_EQ(Form->ViewState().ScrollY, scrollY + 4);

    // Space let go while the view is being dragged: the drag finishes, then the tool returns.
    Tool(tmEraser);
    QTest::keyPress(View(), Qt::Key_Space);
    Press(5, 8);
    QTest::keyRelease(View(), Qt::Key_Space);
    EXPECT_EQ(Form->ViewState().ToolMode, tmHand);
    MoveTo(5, 7);
    Release(5, 7);
    EXPECT_EQ(Form->ViewState().ScrollY, scrollY + 5);
    EXPECT_EQ(Form->ViewState().ToolMode, tmEraser);
    EXPECT_EQ(Map().ModifyCursor(), 0);
}

TEST_F(TEditing, OneUndoAfterPuttingALiftedBlockDownRestoresEverything)
{
    StartWithMap(30, 20, 1);
    for (int32_t x = 2; x <= 4; ++x)
        for (int32_t y = 2; y <= 3; ++y)
            SetCell(0, x, y, static_cast<uint16_t>(10 + x + y));
    const std::vector<uint16_t> original = Map().GetLayer(0).Data;
    Tool(tmSelect);
    Drag(2, 2, 4, 3);
    const size_t before = LogLength();

    Press(3, 2);
    EXPECT_TRUE(Form->ViewState().Floating);
    EXPECT_EQ(Cell(0, 2, 2), 0); // cleared under the block
    MoveTo(4, 2);
    MoveTo(5, 2);
    MoveTo(5, 3);
    Release(5, 3);
    EXPECT_TRUE(Form->ViewState().Floating);
    EXPECT_TRUE(Map().InModify()); // the group stays open until the block is put down
    EXPECT_EQ(Form->ViewState().Selection.X, 4);
    EXPECT_EQ(Shown(4, 3), PartColour(14)); // the block is drawn where it floats
    EXPECT_EQ(PixelsDifferingFromAFullRedraw(), 0);

    Form->Edit().DoNotSelectMenuItemClick();
    EXPECT_FALSE(Form->ViewState().Floating);
    EXPECT_FALSE(Map().InModify());
    EXPECT_EQ(Cell(0, 4, 3), 14);
    EXPECT_EQ(Cell(0, 6, 4), 17);
    EXPECT_EQ(Cell(0, 2, 2), 0);
    EXPECT_GT(LogLength(), before);
    EXPECT_EQ(PixelsDifferingFromAFullRedraw(), 0);

    Form->Edit().UndoMenuItemClick();
    EXPECT_EQ(Map().GetLayer(0).Data, original);
    EXPECT_EQ(Map().ModifyCursor(), static_cast<int32_t>(before) - 1);
    EXPECT_EQ(Map().ModifyRecords()[Map().ModifyCursor()].Kind, mtBegin);

    // An undo while a block floats puts it down first, so redo brings the move back whole.
    Press(3, 3); // outside any selection now: a new one
    Release(3, 3);
    Press(3, 3);
    MoveTo(3, 4);
    Form->Edit().UndoMenuItemClick();
    EXPECT_FALSE(Form->ViewState().Floating);
    EXPECT_FALSE(Map().InModify());
    EXPECT_EQ(Map().GetLayer(0).Data, original);
    Release(3, 4);
    EXPECT_EQ(Map().GetLayer(0).Data, original);
    Form->Edit().RedoMenuItemClick();
    EXPECT_EQ(Cell(0, 3, 3), 0);
    EXPECT_EQ(Cell(0, 3, 4), 16);
}

// Layer changes renumber layers: a block floating above a layer is put down before the
// layers move, never into a layer that is gone.
TEST_F(TEditing, ALayerChangePutsAFloatingBlockDownFirst)
{
    StartWithMap(30, 20, 3);
    Form->LayerForm()->SelectLayer(2);
    SetCell(2, 2, 2, 7);
    Tool(tmSelect);
    Drag(2, 2, 3, 3);
    Press(2, 2);
    MoveTo(4, 2);
    Release(4, 2);
    ASSERT_TRUE(Form->ViewState().Floating);
    Seam->Answers.push_back(TAnswer::Yes);
    Form->LayerForm()->DeleteCurrentLayer();
    EXPECT_TRUE(Seam->Messages.empty()) << Seam->MessageTexts()[0];
    EXPECT_FALSE(Form->ViewState().Floating);
    EXPECT_FALSE(Map().InModify());
    ASSERT_EQ(Map().LayerCount(), 2);

    // The same for a swap: the block lands in its own layer, which then moves.
    Form->LayerForm()->SelectLayer(1);
    SetCell(1, 2, 2, 9);
    Drag(2, 2, 2, 2);
    Press(2, 2);
    MoveTo(5, 5);
    Release(5, 5);
    ASSERT_TRUE(Form->ViewState().Floating);
    Form->LayerForm()->SwapCurrentWith(1); // the bottom entry: layer 0
    EXPECT_TRUE(Seam->Messages.empty()) << Seam->MessageTexts()[0];
    EXPECT_FALSE(Map().InModify());
    EXPECT_EQ(Cell(0, 5, 5), 9);
    EXPECT_EQ(Cell(0, 2, 2), 0);
}

TEST_F(TEditing, ShiftLiftsEveryVisibleLayerAndCtrlLeavesACopy)
{
    StartWithMap(30, 20, 3);
    for (int32_t layer = 0; layer < 3; ++layer)
        for (int32_t x = 2; x <= 3; ++x)
            SetCell(layer, x, 2, static_cast<uint16_t>(20 + layer * 4 + x));
    Form->RedrawAll();
    // Layer 0 hidden: its cells stay; the blocks are those of layers 1 and 2.
    Form->LayerForm()->SetLayerVisibleState(0, false);
    Form->LayerForm()->SelectLayer(2);
    Tool(tmSelect);
    Drag(2, 2, 3, 2);

    Press(2, 2, Qt::LeftButton, Qt::ShiftModifier);
    ASSERT_TRUE(Form->ViewState().Floating);
    ASSERT_EQ(Form->Edit().FloatingBlocks().size(), 2u);
    EXPECT_EQ(Form->Edit().FloatingBlocks()[0].Layer, 1);
    EXPECT_EQ(Cell(0, 2, 2), 22);
    EXPECT_EQ(Cell(1, 2, 2), 0);
    EXPECT_EQ(Cell(2, 3, 2), 0);
    MoveTo(3, 2);
    MoveTo(4, 2);
    MoveTo(5, 2);
    Release(5, 2);

    // Ctrl+press on the floating block puts it down and lifts a copy that moves on (with
    // Shift, of every visible layer again).
    Press(5, 2, Qt::LeftButton, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(Form->ViewState().Floating);
    EXPECT_EQ(Cell(1, 5, 2), 26);
    EXPECT_EQ(Cell(2, 6, 2), 31);
    MoveTo(5, 3);
    MoveTo(5, 4);
    Release(5, 4);
    Form->Edit().DoNotSelectMenuItemClick();
    for (int32_t layer = 1; layer <= 2; ++layer) {
        EXPECT_EQ(Cell(layer, 5, 2), 20 + layer * 4 + 2) << layer;
        EXPECT_EQ(Cell(layer, 5, 4), 20 + layer * 4 + 2) << layer;
        EXPECT_EQ(Cell(layer, 6, 4), 20 + layer * 4 + 3) << layer;
    }
    EXPECT_EQ(Cell(0, 5, 4), 0);
    // The copy and the move are one undo step each.
    Form->Edit().UndoMenuItemClick();
    EXPECT_EQ(Cell(2, 5, 4), 0);
    EXPECT_EQ(Cell(2, 5, 2), 30);
    Form->Edit().UndoMenuItemClick();
    EXPECT_EQ(Cell(2, 2, 2), 30);
    EXPECT_EQ(Cell(2, 5, 2), 0);
    EXPECT_EQ(PixelsDifferingFromAFullRedraw(), 0);
}

TEST_F(TEditing, PasteFloatsAtTheCentreOfTheViewAcrossBitCounts)
{
    StartWithMap(30, 20, 1);
    SetCell(0, 1, 1, 17);
    SetCell(0, 2, 1, 3);
    SetCell(0, 3, 1, 18);
    Tool(tmSelect);
    Drag(1, 1, 3, 1);
    ASSERT_TRUE(Form->Edit().CopyOfCurrentSelection());
    EXPECT_TRUE(Form->ToolButton("PasteToolButton")->isEnabled());

    // A 16-bit map of 100 × 100 cells, wider than the view.
    Form->CreateNewMap(100, 100, 1, kPart, kPart, 16, true);
    Form->ScrollView(50, 40);
    const TMapViewState &view = Form->ViewState();
    Form->MenuItem("PasteMenuItem")->trigger();
    ASSERT_TRUE(view.Floating);
    EXPECT_EQ(view.ToolMode, tmSelect);
    EXPECT_EQ(view.Selection.X, (view.ViewWidth / view.ViewCellWidth) / 2 + view.ScrollX - 1);
    EXPECT_EQ(view.Selection.Y, (view.ViewHeight / view.ViewCellHeight) / 2 + view.ScrollY);
    EXPECT_EQ(Form->Edit().FloatingBlocks()[0].Data, (std::vector<uint16_t>{257, 3, 258}));
    const TSelection at = view.Selection;
    Form->Edit().DoNotSelectMenuItemClick();
    EXPECT_EQ(Cell(0, at.X, at.Y), 257);
    EXPECT_EQ(Cell(0, at.X + 2, at.Y), 258);
    EXPECT_EQ(PixelsDifferingFromAFullRedraw(), 0);
    Form->Edit().UndoMenuItemClick();
    EXPECT_EQ(Cell(0, at.X, at.Y), 0);

    // Back to 8 bits: 257 is 17 again. A map that fits the view takes its middle.
    TModified block;
    block.Source = {1, 0, 0, 4, 2, 0};
    block.SrcPitch = 4;
    block.Data.assign(15, 257);
    Form->Edit().Clipboard()->SetData(block, 16);
    Form->CreateNewMap(30, 20, 1, kPart, kPart, 8, true);
    ASSERT_TRUE(Form->Edit().PasteToCurrentSelection());
    EXPECT_EQ(view.Selection.X, 12); // (30 - 1) / 2 - 4 / 2
    EXPECT_EQ(view.Selection.Y, 8);  // (20 - 1) / 2 - 2 / 2
    EXPECT_EQ(Form->Edit().FloatingBlocks()[0].Data[0], 17);
    // A second paste puts the first down.
    ASSERT_TRUE(Form->Edit().PasteToCurrentSelection());
    EXPECT_EQ(Cell(0, 12, 8), 17);

    // The debug command dumps the map, the log, the screen and the clipboard's block.
    Form->MenuItem("DebugMenuItem")->trigger();
    for (const char *name : {"map.txt", "modify.txt", "main-scrn.bmp", "copy.txt"})
        EXPECT_TRUE(std::filesystem::exists(Folder / name)) << name;
}

TEST_F(TEditing, AHiddenCurrentLayerRefusesEveryTool)
{
    StartWithMap(30, 20, 1);
    Form->LayerForm()->SetLayerVisibleState(0, false);
    const size_t before = LogLength();
    const std::string refusal = "Since the selection layer is not displayed, it cannot edit.";
    size_t shown = 0;
    for (uint8_t tool : {tmPen, tmTiledPen, tmEraser, tmFill, tmPattern, tmSelect}) {
        Tool(tool);
        Drag(3, 3, 4, 3);
        ASSERT_EQ(Seam->Messages.size(), ++shown) << int(tool);
        EXPECT_EQ(Seam->Messages.back().Kind, mkInformation);
        EXPECT_EQ(Seam->Messages.back().Text, refusal);
    }
    Tool(tmPen);
    Drag(3, 3, 4, 3, Qt::RightButton);
    EXPECT_EQ(Seam->Messages.size(), shown + 1);
    EXPECT_EQ(Form->ViewState().ToolMode, tmPen);
    EXPECT_EQ(LogLength(), before);
    EXPECT_FALSE(Map().InModify());
    EXPECT_EQ(Cell(0, 3, 3), 0);
}

TEST_F(TEditing, FillTiledPenDeleteAndFindEachDoOneThing)
{
    StartWithMap(30, 20, 1);
    // A closed ring of 9s around (5..6, 5..6).
    for (int32_t i = 4; i <= 7; ++i) {
        SetCell(0, i, 4, 9);
        SetCell(0, i, 7, 9);
        SetCell(0, 4, i, 9);
        SetCell(0, 7, i, 9);
    }
    Form->RedrawAll();
    Form->ChipForm()->Selectchip(3);
    Tool(tmFill);
    Press(5, 5);
    Release(5, 5);
    EXPECT_EQ(Cell(0, 6, 6), 3);
    EXPECT_EQ(Cell(0, 8, 8), 0);
    EXPECT_EQ(Shown(5, 6), PartColour(3));
    EXPECT_EQ(PixelsDifferingFromAFullRedraw(), 0);
    Form->Edit().UndoMenuItemClick();
    EXPECT_EQ(Cell(0, 6, 6), 0);
    EXPECT_EQ(PixelsDifferingFromAFullRedraw(), 0);

    // The tiled pen repeats a 2 × 2 pattern over a dragged 5 × 3 rectangle in one step.
    SetCell(0, 20, 10, 1);
    SetCell(0, 21, 10, 2);
    SetCell(0, 20, 11, 17);
    SetCell(0, 21, 11, 18);
    Form->RedrawAll();
    Drag(20, 10, 21, 11, Qt::RightButton);
    ASSERT_TRUE(Form->Edit().PatternMode());
    Tool(tmTiledPen);
    const int32_t before = Map().ModifyCursor();
    Drag(10, 14, 14, 16);
    EXPECT_EQ(Map().ModifyCursor(), before + 3);
    EXPECT_EQ(Cell(0, 14, 14), 1);
    EXPECT_EQ(Cell(0, 13, 15), 18);
    EXPECT_EQ(Cell(0, 11, 16), 2);
    EXPECT_EQ(PixelsDifferingFromAFullRedraw(), 0);

    // Delete clears the selection with the pattern's first part (no invisible part set).
    Tool(tmSelect);
    Drag(10, 14, 11, 14);
    QTest::keyClick(View(), Qt::Key_Delete);
    EXPECT_EQ(Cell(0, 11, 14), 1);
    EXPECT_EQ(PixelsDifferingFromAFullRedraw(), 0);
    Form->Edit().ExitPattern();

    // Find walks the matches of the current layer, wrapping at the end.
    EXPECT_TRUE(Form->Edit().Find(9, true));
    EXPECT_EQ(Form->ViewState().Selection.Index, 4 * 30 + 4);
    EXPECT_TRUE(Form->ViewState().FoundMark);
    EXPECT_TRUE(Form->Edit().Find(9, true));
    EXPECT_EQ(Form->ViewState().Selection.Index, 4 * 30 + 5);
    EXPECT_FALSE(Form->Edit().Find(250, true));
    EXPECT_EQ(PixelsDifferingFromAFullRedraw(), 0);
}

TEST_F(TEditing, CommandsDuringAGestureNeverSplitOrNestItsGroup)
{
    StartWithMap(30, 20, 1);
    Form->ChipForm()->Selectchip(4);
    // Undo in the middle of a stroke ends it first: the stroke so far is taken back whole.
    Press(2, 2);
    MoveTo(3, 2);
    Form->Edit().UndoMenuItemClick();
    EXPECT_FALSE(Map().InModify());
    EXPECT_EQ(Cell(0, 2, 2), 0);
    MoveTo(4, 2);
    Release(4, 2);
    EXPECT_EQ(Cell(0, 4, 2), 0);

    // Space during a stroke closes it before the hand takes over.
    Press(2, 5);
    QTest::keyPress(View(), Qt::Key_Space);
    EXPECT_FALSE(Map().InModify());
    MoveTo(3, 5);
    Release(3, 5);
    QTest::keyRelease(View(), Qt::Key_Space);
    EXPECT_EQ(Form->ViewState().ToolMode, tmPen);
    EXPECT_EQ(Cell(0, 3, 5), 0);

    // Every group in the log is closed and none nests.
    int depth = 0;
    for (const TModifyRecord &record : Map().ModifyRecords()) {
        if (record.Kind == mtBegin) {
            EXPECT_EQ(depth++, 0);
        }
        if (record.Kind == mtEnd) {
            EXPECT_EQ(--depth, 0);
        }
    }
    EXPECT_EQ(depth, 0);

    // Saving puts a floating block down first, so the file holds what the view shows.
    SetCell(0, 8, 8, 6);
    Tool(tmSelect);
    Drag(8, 8, 8, 8);
    Drag(8, 8, 9, 8);
    ASSERT_TRUE(Form->ViewState().Floating);
    const std::string file = (Folder / "saved.csv").string();
    ASSERT_TRUE(Form->Files().SaveFile(file, 0));
    EXPECT_FALSE(Form->ViewState().Floating);
    EXPECT_EQ(Cell(0, 9, 8), 6);
    EXPECT_FALSE(Map().InModify());
}
