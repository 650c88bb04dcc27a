// The three tool windows as windows: created as the settings say, closed and shown through
// the Window menu, rolled up and down, the overview steering the map view, and quitting the
// program with all of them open.
#include "ToolWindowFixture.h"
#include "editor/render/MapViewMath.h"
#include "editor/shell/input/ToolCursors.h"
#include "editor/shell/windows/PreviewView.h"

#include <QTimer>
#include <QToolBar>
#include <fstream>
#include <sstream>

using TToolWindowLife = TToolWindowFixture;

namespace
{
std::string ReadFile(const std::filesystem::path &path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}
} // namespace

TEST_F(TToolWindowLife, QuittingWithEveryToolWindowOpenEndsTheProgramAndWritesTheSettingsOnce)
{
    StartShown();
    Preview()->MinimizeButton()->trigger(); // the overview rolled up
    ASSERT_TRUE(Preview()->RolledUp());
    const int overviewHeight = Preview()->OrgHeight();
    ASSERT_TRUE(Parts()->isVisible() && Layers()->isVisible() && Preview()->isVisible());

    // Ctrl+Q's command inside the running event loop: the loop has to end by itself.
    QTimer::singleShot(0, Form.get(), [this] { Form->MenuItem("QuitMenuItem")->trigger(); });
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    watchdog.start(10000);
    EXPECT_EQ(QCoreApplication::exec(), 0);
    watchdog.stop();
    EXPECT_FALSE(Form->isVisible());

    const std::string ini = ReadFile(Folder / "Tessella.ini");
    for (const char *key : {"PartsWinVisible=1", "LayerWinVisible=1", "OverviewWinVisible=1",
                            "OverviewWinMinimized=1", "PartsWinMinimized=0"})
        EXPECT_NE(ini.find(key), std::string::npos) << key << "\n" << ini;
    EXPECT_NE(ini.find("OverviewWinHeight=" + std::to_string(overviewHeight)), std::string::npos)
        << ini;
    // Written once: closing again writes nothing.
    std::filesystem::remove(Folder / "Tessella.ini");
    Preview()->close();
    Form->close();
    EXPECT_FALSE(std::filesystem::exists(Folder / "Tessella.ini"));
}

TEST_F(TToolWindowLife, CloseBoxesAndTheWindowMenuShowAndHideTheWindowsAlike)
{
    StartShown();
    const std::tuple<QWidget *, const char *, const char *> windows[] = {
        {Parts(), "PartsWindowMenuItem", "PartsWinToolButton"},
        {Layers(), "LayerWindowMenuItem", "LayerWinToolButton"},
        {Preview(), "OVWindowMenuItem", "PreWinToolButton"},
    };
    for (const auto &[window, menu, button] : windows) {
        EXPECT_TRUE(window->close()) << menu;
        EXPECT_FALSE(window->isVisible()) << menu;
        EXPECT_FALSE(Form->MenuItem(menu)->isChecked()) << menu;
        EXPECT_FALSE(Form->ToolButton(button)->isChecked()) << menu;
    }
    Form->ToolButton("PreWinToolButton")->trigger();
    EXPECT_TRUE(Preview()->isVisible());
    EXPECT_TRUE(Form->MenuItem("OVWindowMenuItem")->isChecked());
    Form->close();
    const std::string ini = ReadFile(Folder / "Tessella.ini");
    for (const char *key : {"PartsWinVisible=0", "LayerWinVisible=0", "OverviewWinVisible=1"})
        EXPECT_NE(ini.find(key), std::string::npos) << key << "\n" << ini;
}

TEST_F(TToolWindowLife, ToolWindowsComeUpAsTheSettingsSayAndRollUpToTheirToolBars)
{
    CopyPlugins();
    {
        std::ofstream ini(Folder / "Tessella.ini");
        ini << "[General]\nPWinAlpha=128\n[Window]\nPartsWinVisible=0\nLayerWinMinimized=1\n"
               "LayerWinHeight=300\nOverviewWinLeft=40\nOverviewWinTop=50\n";
    }
    ASSERT_TRUE(Start());
    Form->show();
    Settle();
    EXPECT_FALSE(Parts()->isVisible());
    EXPECT_FALSE(Form->MenuItem("PartsWindowMenuItem")->isChecked());
    EXPECT_FALSE(Form->ToolButton("PartsWinToolButton")->isChecked());
    EXPECT_NEAR(Parts()->windowOpacity(), 128 / 255.0, 0.01);
    EXPECT_EQ(Preview()->pos(), QPoint(40, 50));
    EXPECT_EQ(Parts()->Button("ToolButton2")->toolTip().toStdString(), "Open parts image");
    EXPECT_EQ(Layers()->Button("AddLayerToolButton")->toolTip().toStdString(),
              "Creates a new layer");
    EXPECT_EQ(Preview()->MinimizeButton()->toolTip().toStdString(), "Minimize the window");

    // The layer window starts rolled up: its list is hidden and it unrolls to 300 pixels.
    EXPECT_TRUE(Layers()->RolledUp());
    EXPECT_FALSE(Layers()->List()->isVisible());
    EXPECT_TRUE(Layers()->Button("ToolButton4")->isChecked());
    EXPECT_LE(Layers()->height(), Layers()->findChild<QToolBar *>()->sizeHint().height());
    Layers()->Button("ToolButton4")->trigger();
    EXPECT_FALSE(Layers()->RolledUp());
    EXPECT_EQ(Layers()->height(), 300);
    EXPECT_EQ(Layers()->maximumHeight(), 587);
    Settle();
    Layers()->Button("ToolButton4")->trigger(); // shown with its list: it shrinks all the same
    EXPECT_LE(Layers()->height(), Layers()->findChild<QToolBar *>()->sizeHint().height());
    Layers()->Button("ToolButton4")->trigger();

    // The parts window rolls up and comes back at its height, laid out again.
    Form->WindowMenuItemClick("PartsWindowMenuItem");
    Parts()->resize(400, 420);
    Settle();
    Parts()->Button("ToolButton13")->trigger();
    EXPECT_TRUE(Parts()->RolledUp());
    EXPECT_TRUE(Parts()->Button("ToolButton13")->isChecked());
    Parts()->Button("ToolButton13")->trigger();
    Settle();
    EXPECT_EQ(Parts()->height(), 420);
    EXPECT_FALSE(Parts()->Back().IsEmpty());
}

TEST_F(TToolWindowLife, PressingAndDraggingInTheOverviewCentresTheMapViewThere)
{
    StartShown();
    Preview()->resize(300, 300);
    Settle();
    Form->FormResize();
    QWidget *view = Preview()->View();
    const TMapViewState &state = Form->ViewState();
    // The screen cursors "CR_HAND" (3) and "CR_CLOSEHAND" (4).
    auto shows = [view](int32_t number) {
        return view->cursor().pixmap().toImage() == ToolCursor(number).pixmap().toImage() &&
               view->cursor().shape() == ToolCursor(number).shape();
    };
    auto centred = [&state](int32_t cellX, int32_t cellY) {
        return state.ScrollX ==
                   CentredScrollPosition(cellX, 100, state.ViewWidth, state.ViewCellWidth) &&
               state.ScrollY ==
                   CentredScrollPosition(cellY, 100, state.ViewHeight, state.ViewCellHeight);
    };
    // Scale 2: the pixel (80, 60) is map cell (40, 30).
    QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, QPoint(80, 60));
    EXPECT_TRUE(centred(40, 30)) << state.ScrollX << ", " << state.ScrollY;
    EXPECT_GT(state.ScrollX, 0);
    EXPECT_TRUE(shows(4));
    QTest::mouseMove(view, QPoint(120, 100));
    EXPECT_TRUE(centred(60, 50)) << state.ScrollX << ", " << state.ScrollY;
    QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, QPoint(120, 100));
    EXPECT_TRUE(shows(3));
    EXPECT_FALSE(shows(4));
    // The frame follows the map view.
    TPixelRect frame;
    ASSERT_TRUE(Preview()->ViewFrame(frame));
    EXPECT_EQ(frame.Left, 2 * (state.ScrollX - Preview()->PreviewScrollX()));
}
