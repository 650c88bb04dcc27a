// Whole gestures through the edit controller on a map, with a small fake of its window:
// strokes, lifting and moving blocks, cut, copy, delete and paste, each checked on the map,
// the log and what the window was asked to show.
#include "editor/edit/EditController.h"
#include "editor/map/TessellaClipboardUnit.h"
#include "tests/map/MapTestSupport.h"
#include "tests/support/ScriptedDialogSeam.h"

#include <gtest/gtest.h>

namespace
{

class TFakeEditWindow : public TEditWindow
{
public:
    explicit TFakeEditWindow(TMapViewState &View) : FView(View) {}

    void UpdateCanvas(int32_t X, int32_t Y, int32_t DX, int32_t DY) override
    {
        Shown.push_back(TSelection{1, X, Y, DX, DY, 0});
    }
    void RedrawAll() override { ++FullRedraws; }
    void RefreshOverview() override {}
    void RefreshOverviewCells(const TSelection &Cells) override { Overview.push_back(Cells); }
    void RefreshCommands() override {}
    void ShowSelectionStatus() override {}
    int32_t CurrentLayer() const override { return Layer; }
    bool LayerShown(int32_t) const override { return true; }
    bool PickedParts(TModified &Request) const override
    {
        Request.Source = TSelection{1, 0, 0, 0, 0, 0};
        Request.SrcPitch = 0;
        Request.Data = {Picked};
        return true;
    }
    TSelection PickedPartsArea() const override { return TSelection{1, 0, 0, 0, 0, 0}; }
    void MarkPickedPart(int32_t) override {}
    int32_t ImageColumns(uint8_t, int32_t) const override { return 16; }
    void PartsLayoutChanged() override {}
    void ViewLayoutChanged() override {}
    void ChooseTool(uint8_t Tool) override { FView.ToolMode = Tool; }
    void RestoreToolCursor() override {}
    void ClearCursorFrame() override {}
    void ScrollView(int32_t, int32_t) override {}
    void GestureEnded() override { ++GesturesEnded; }

    int32_t Layer = 0;
    uint16_t Picked = 7;
    std::vector<TSelection> Shown;
    std::vector<TSelection> Overview;
    int32_t FullRedraws = 0;
    int32_t GesturesEnded = 0;

private:
    TMapViewState &FView;
};

class TEditGestures : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Map = MakeMap(12, 10, 2);
        for (int32_t layer = 0; layer < 2; ++layer)
            FillWithIndices(*Map, layer);
        View.ViewWidth = 12 * 16;
        View.ViewHeight = 10 * 16;
        View.ViewCellWidth = View.ViewCellHeight = 16;
        View.ToolMode = tmSelect;
    }

    // A rectangle picked with the select tool from (X0, Y0) to (X1, Y1), as a drag does it.
    void Select(int32_t X0, int32_t Y0, int32_t X1, int32_t Y1)
    {
        Edit.SelectCellForTool(X0, Y0);
        View.Dragging = true;
        Edit.DragSelectionTo(X1, Y1);
        Edit.ReleaseSelect();
        View.Dragging = false;
    }
    uint16_t At(int32_t layer, int32_t x, int32_t y) const { return Cell(*Map, layer, x, y); }
    static uint16_t Index(int32_t x, int32_t y) { return static_cast<uint16_t>(y * 12 + x); }
    void Undo() { Edit.UndoMenuItemClick(); }

    TScopedDialogSeam Seam;
    std::unique_ptr<TMap> Map;
    TMapViewState View;
    TProjectDocument Project{[this] { return Map.get(); }};
    TFakeEditWindow Window{View};
    TEditController Edit{Project, View, Window};
};

} // namespace

TEST_F(TEditGestures, APenStrokeIsOneStepAndShowsOnlyItsCells)
{
    View.ToolMode = tmPen;
    ASSERT_TRUE(Edit.BeginStroke(1, 1));
    View.Dragging = true;
    Edit.StrokeTo(2, 1);
    Edit.StrokeTo(3, 2);
    Edit.EndGesture();
    EXPECT_EQ(At(0, 1, 1), 7);
    EXPECT_EQ(At(0, 2, 1), 7);
    EXPECT_EQ(At(0, 3, 2), 7);
    EXPECT_EQ(At(1, 1, 1), Index(1, 1));
    // Each write showed its own cell; the overview heard of the whole stroke once.
    for (const TSelection &shown : Window.Shown)
        EXPECT_TRUE(shown.DX == 0 && shown.DY == 0);
    ASSERT_EQ(Window.Overview.size(), 1u);
    EXPECT_EQ((std::vector<int32_t>{Window.Overview[0].X, Window.Overview[0].Y,
                                    Window.Overview[0].DX, Window.Overview[0].DY}),
              (std::vector<int32_t>{1, 1, 2, 1}));
    EXPECT_FALSE(View.Dragging);
    Undo();
    EXPECT_EQ(At(0, 2, 1), Index(2, 1));
    EXPECT_EQ(At(0, 3, 2), Index(3, 2));
    EXPECT_FALSE(Map->CanUndo());
    Edit.RedoMenuItemClick();
    EXPECT_EQ(At(0, 3, 2), 7);
}

TEST_F(TEditGestures, LiftMoveAndDropIsOneStep)
{
    Select(1, 1, 2, 2);
    ASSERT_TRUE(Edit.LiftSelection(false, false));
    View.Dragging = true;
    Edit.MoveFloatingSelection(3, 1);
    Edit.EndDrag(); // the release: the block stays lifted
    EXPECT_TRUE(View.Floating);
    Edit.UnSelect(true);
    EXPECT_EQ(At(0, 4, 2), Index(1, 1));
    EXPECT_EQ(At(0, 5, 3), Index(2, 2));
    EXPECT_EQ(At(0, 1, 1), 0); // where the block was
    Undo();
    EXPECT_EQ(At(0, 1, 1), Index(1, 1));
    EXPECT_EQ(At(0, 4, 2), Index(4, 2));
    EXPECT_FALSE(Map->CanUndo());
}

// Delete and Cut of a floating block take the block away: the cells it floated over keep
// their values, and one undo gives back the map from before the lift, on every layer lifted.
TEST_F(TEditGestures, DeleteAndCutOfAFloatingBlockRemoveTheBlockInOneStep)
{
    Select(1, 1, 2, 2);
    ASSERT_TRUE(Edit.LiftSelection(true, false)); // Shift: every visible layer
    Edit.MoveFloatingSelection(4, 0);
    Edit.DelSelectionMenuItemClick();
    EXPECT_FALSE(View.Floating);
    EXPECT_TRUE(Edit.FloatingBlocks().empty() || !View.Floating);
    for (int32_t layer = 0; layer < 2; ++layer) {
        EXPECT_EQ(At(layer, 5, 1), Index(5, 1)) << layer;
        EXPECT_EQ(At(layer, 6, 2), Index(6, 2)) << layer;
        EXPECT_EQ(At(layer, 1, 1), 0) << layer;
    }
    Undo();
    for (int32_t layer = 0; layer < 2; ++layer)
        EXPECT_EQ(At(layer, 1, 1), Index(1, 1)) << layer;
    EXPECT_FALSE(Map->CanUndo());

    Select(3, 3, 4, 4);
    ASSERT_TRUE(Edit.LiftSelection(false, false));
    Edit.MoveFloatingSelection(0, 2);
    ASSERT_TRUE(Edit.CutToCurrentSelection(true));
    EXPECT_EQ(At(0, 3, 5), Index(3, 5));
    EXPECT_EQ(At(0, 3, 3), 0);
    TModified copied;
    Edit.Clipboard()->GetData(copied, 8);
    EXPECT_EQ(copied.Data,
              (std::vector<uint16_t>{Index(3, 3), Index(4, 3), Index(3, 4), Index(4, 4)}));
    Undo();
    EXPECT_EQ(At(0, 3, 3), Index(3, 3));
}

// A drag to the left and up ended by a command is normalised like a drag that was let go.
TEST_F(TEditGestures, ADragEndedByDeleteIsNormalised)
{
    Edit.SelectCellForTool(5, 5);
    View.Dragging = true;
    Edit.DragSelectionTo(3, 4);
    Edit.DelSelectionMenuItemClick();
    const TSelection s = Edit.GetSelection();
    EXPECT_EQ((std::vector<int32_t>{s.Active, s.X, s.Y, s.DX, s.DY, s.Index}),
              (std::vector<int32_t>{1, 3, 4, 2, 1, 4 * 12 + 3}));
    // Without an invisible part, Delete writes the picked part.
    for (int32_t y = 4; y <= 5; ++y)
        for (int32_t x = 3; x <= 5; ++x)
            EXPECT_EQ(At(0, x, y), 7) << x << "," << y;
    EXPECT_TRUE(Edit.CopyOfCurrentSelection());
}

// A floating block moved over the map's top-left edge is copied whole, and a paste floats
// it where the view shows it until it is put down, in one step.
TEST_F(TEditGestures, ABlockOverTheEdgeCopiesWholeAndPastesAsOneStep)
{
    Select(0, 0, 1, 1);
    ASSERT_TRUE(Edit.LiftSelection(false, true)); // Ctrl: a copy
    Edit.MoveFloatingSelection(-1, -1);
    ASSERT_TRUE(Edit.CopyOfCurrentSelection());
    EXPECT_TRUE(View.Floating);
    EXPECT_EQ(View.Selection.X, -1);
    TModified copied;
    Edit.Clipboard()->GetData(copied, 8);
    EXPECT_EQ(copied.Data,
              (std::vector<uint16_t>{Index(0, 0), Index(1, 0), Index(0, 1), Index(1, 1)}));
    Edit.UnSelect(true);
    EXPECT_EQ(At(0, 0, 0), Index(1, 1));

    ASSERT_TRUE(Edit.PasteToCurrentSelection());
    EXPECT_EQ(View.ToolMode, tmSelect);
    EXPECT_TRUE(View.Floating);
    const TSelection at = View.Selection;
    Edit.UnSelect(true);
    EXPECT_EQ(At(0, at.X, at.Y), Index(0, 0));
    EXPECT_EQ(At(0, at.X + 1, at.Y + 1), Index(1, 1));
    Undo();
    EXPECT_EQ(At(0, at.X + 1, at.Y + 1), Index(at.X + 1, at.Y + 1));
}
