// The map view's zoom as users of other programs reach for it: the keypad keys as each
// platform reports them, the main keyboard's keys, View > Zoom To, Fit Map in Window and
// Ctrl+Shift+wheel about the pointer.
#include "EditingFixture.h"
#include "editor/shell/ViewZoom.h"

#include <QApplication>
#include <QScrollBar>
#include <QWheelEvent>

namespace
{

class TViewZoomTest : public TEditingFixture
{
protected:
    void Start(int32_t Width, int32_t Height)
    {
        StartWithMap(Width, Height, 1);
        QApplication::setActiveWindow(Form.get());
    }
    int32_t MapCell() const { return Form->ViewState().ViewCellWidth; }
    int32_t PartsCell() const { return Form->ChipForm()->PartsCellWidth(); }
    // A key as the shortcuts see it: a keypad key comes with the keypad modifier from most
    // platforms, and without it from X11's key mapper.
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers)
    {
        QTest::keyClick(View(), key, modifiers);
    }
    // The map cell under a view pixel.
    QPoint CellUnder(QPoint pixel) const
    {
        const TMapViewState &view = Form->ViewState();
        return {view.ScrollX + pixel.x() / view.ViewCellWidth,
                view.ScrollY + pixel.y() / view.ViewCellHeight};
    }
    void Wheel(QPoint pixel, int turn, Qt::KeyboardModifiers modifiers)
    {
        QWheelEvent wheel(pixel, View()->mapToGlobal(pixel), QPoint(), QPoint(0, turn),
                          Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(View(), &wheel);
    }
};

} // namespace

TEST_F(TViewZoomTest, KeypadKeysWorkLikeTheMainKeyboardsWithAndWithoutTheKeypadModifier)
{
    Start(20, 20);
    // Parts of 16 pixels and the zoom step 32/256: two pixels a step.
    const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
    const Qt::KeyboardModifiers ctrlAlt = Qt::ControlModifier | Qt::AltModifier;
    for (const Qt::KeyboardModifiers keypad : {Qt::KeypadModifier, Qt::NoModifier}) {
        Key(Qt::Key_Plus, ctrl | keypad);
        EXPECT_EQ(MapCell(), 18) << keypad;
        Key(Qt::Key_Minus, ctrl | keypad);
        Key(Qt::Key_Minus, ctrl | keypad);
        EXPECT_EQ(MapCell(), 14) << keypad;
        Key(Qt::Key_Enter, ctrl | keypad);
        EXPECT_EQ(MapCell(), 16) << keypad;

        Key(Qt::Key_Plus, ctrlAlt | keypad);
        EXPECT_EQ(PartsCell(), 18) << keypad;
        Key(Qt::Key_Minus, ctrlAlt | keypad);
        Key(Qt::Key_Minus, ctrlAlt | keypad);
        EXPECT_EQ(PartsCell(), 14) << keypad;
        Key(Qt::Key_Enter, ctrlAlt | keypad);
        EXPECT_EQ(PartsCell(), 16) << keypad;
        EXPECT_EQ(MapCell(), 16) << "the parts keys leave the map alone";
    }
    // The main keyboard: Ctrl+= and Ctrl++ in, Ctrl+- out, Ctrl+0 and Ctrl+Enter reset.
    Key(Qt::Key_Equal, ctrl);
    Key(Qt::Key_Plus, ctrl);
    EXPECT_EQ(MapCell(), 20);
    Key(Qt::Key_0, ctrl);
    EXPECT_EQ(MapCell(), 16);
    Key(Qt::Key_Minus, ctrl);
    EXPECT_EQ(MapCell(), 14);
    Key(Qt::Key_Return, ctrl);
    EXPECT_EQ(MapCell(), 16);
    Key(Qt::Key_Equal, ctrlAlt);
    EXPECT_EQ(PartsCell(), 18);
    Key(Qt::Key_Return, ctrlAlt);
    EXPECT_EQ(PartsCell(), 16);
}

TEST_F(TViewZoomTest, ZoomToTakesEachStepAtOnceAndFitShowsTheWholeMapAsLargeAsItGoes)
{
    Start(20, 12);
    const std::pair<const char *, int32_t> steps[] = {
        {"ZoomTo32MenuItem", 2},   {"ZoomTo64MenuItem", 4},   {"ZoomTo128MenuItem", 8},
        {"ZoomTo256MenuItem", 16}, {"ZoomTo512MenuItem", 32}, {"ZoomTo768MenuItem", 48},
    };
    for (const auto &[item, cell] : steps) {
        Form->MenuItem(item)->trigger();
        EXPECT_EQ(MapCell(), cell) << item;
        EXPECT_EQ(Form->ViewState().ViewCellHeight, cell) << item;
    }
    EXPECT_NE(Form->FormatTittle().find("@ 300%"), std::string::npos) << Form->FormatTittle();

    // Ctrl+9: no scroll bar, every cell on the screen, and one pixel more would not fit.
    Key(Qt::Key_9, Qt::ControlModifier);
    const QSize area = Form->centralWidget()->size();
    const int32_t cell = MapCell();
    EXPECT_LE(20 * cell, area.width());
    EXPECT_LE(12 * Form->ViewState().ViewCellHeight, area.height());
    EXPECT_TRUE(20 * (cell + 1) > area.width() || 12 * (cell + 1) > area.height()) << cell;
    EXPECT_FALSE(Form->findChildren<QScrollBar *>().isEmpty());
    for (QScrollBar *bar : Form->centralWidget()->findChildren<QScrollBar *>())
        EXPECT_FALSE(bar->isVisible());
    EXPECT_EQ(Form->ViewState().ScrollX, 0);
    // The zoom stays for the next map, as every zoom does: parts twice as large, cells too.
    Form->CreateNewMap(20, 12, 1, 32, 32, 8, true);
    EXPECT_EQ(MapCell(), 2 * cell);
}

TEST_F(TViewZoomTest, CtrlShiftWheelZoomsAboutThePointerAndTheOtherWheelsStillScroll)
{
    Start(120, 100);
    Form->ScrollView(40, 40);
    Form->RedrawAll();
    const QPoint pointer(203, 150);
    const QPoint under = CellUnder(pointer);
    Wheel(pointer, 120, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(MapCell(), 18);
    EXPECT_EQ(CellUnder(pointer), under);
    Wheel(pointer, -120, Qt::ControlModifier | Qt::ShiftModifier);
    Wheel(pointer, -120, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(MapCell(), 14);
    EXPECT_EQ(CellUnder(pointer), under);
    EXPECT_EQ(PixelsDifferingFromAFullRedraw(), 0);

    const TMapViewState before = Form->ViewState();
    Wheel(pointer, -120, Qt::ControlModifier);
    EXPECT_EQ(Form->ViewState().ScrollX, before.ScrollX + 1);
    Wheel(pointer, -120, Qt::NoModifier);
    EXPECT_EQ(Form->ViewState().ScrollY, before.ScrollY + 1);
    EXPECT_EQ(MapCell(), 14);
}
