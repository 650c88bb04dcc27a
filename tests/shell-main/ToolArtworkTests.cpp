// Our own tool bar icons and tool cursors: every icon name the tool bars use has a sharp
// image of its own, the tool bars show ours when the desktop has no icon theme, and every
// tool cursor is an image whose hot spot touches what it draws.
#include "EditorFixture.h"
#include "editor/shell/ToolBarIcons.h"
#include "editor/shell/input/ToolCursors.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QToolBar>

namespace
{

// Opaque and clear pixels both present: a shape, not an empty or a filled square.
bool IsAShape(const QImage &image)
{
    bool opaque = false;
    bool clear = false;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const int alpha = qAlpha(image.pixel(x, y));
            opaque = opaque || alpha == 255;
            clear = clear || alpha == 0;
        }
    return opaque && clear;
}

using TToolBarArtwork = TEditorFixture;

} // namespace

TEST(TToolArtwork, EveryIconNameHasItsOwnImageDrawnForEachPixelRatio)
{
    const char *names[] = {"document-new",
                           "document-open",
                           "document-save",
                           "edit-cut",
                           "edit-copy",
                           "edit-paste",
                           "edit-undo",
                           "edit-redo",
                           "draw-freehand",
                           "draw-brush",
                           "draw-eraser",
                           "color-fill",
                           "edit-select",
                           "color-picker",
                           "transform-move",
                           "view-grid",
                           "tessella-cursor-grid",
                           "weather-fog",
                           "mark-location",
                           "format-list-numbered",
                           "zoom-in",
                           "zoom-out",
                           "applications-graphics",
                           "view-list-details",
                           "zoom-fit-best",
                           "insert-image",
                           "edit-clear",
                           "edit-find",
                           "go-up",
                           "list-add",
                           "list-remove",
                           "document-properties"};
    for (const char *name : names) {
        SCOPED_TRACE(name);
        const QIcon icon = OwnToolBarIcon(name);
        ASSERT_FALSE(icon.isNull());
        for (qreal ratio : {1.0, 1.5, 2.0}) {
            const QPixmap pixmap = icon.pixmap(QSize(16, 16), ratio);
            // Drawn at the screen's own pixel size, never blown up from a smaller one.
            EXPECT_EQ(pixmap.size(), QSize(16, 16) * ratio);
            EXPECT_TRUE(IsAShape(pixmap.toImage()));
        }
    }
    EXPECT_TRUE(OwnToolBarIcon("no-such-icon").isNull());
}

TEST_F(TToolBarArtwork, WithoutAnIconThemeEveryToolButtonShowsOurIcon)
{
    const QStringList themePaths = QIcon::themeSearchPaths();
    QIcon::setThemeSearchPaths({});
    CopyPlugins();
    ASSERT_TRUE(Start());
    int buttons = 0;
    for (QWidget *window : QApplication::topLevelWidgets())
        for (QToolBar *bar : window->findChildren<QToolBar *>())
            for (QAction *action : bar->actions()) {
                if (action->isSeparator())
                    continue;
                SCOPED_TRACE(action->objectName().toStdString());
                // Only our own icons carry a 64 x 64 image; a drawn letter has just 32 x 32.
                EXPECT_TRUE(action->icon().availableSizes().contains(QSize(64, 64)));
                ++buttons;
            }
    EXPECT_GE(buttons, 25);
    QIcon::setThemeSearchPaths(themePaths);
}

TEST(TToolArtwork, EveryToolCursorIsAnImageWithItsHotSpotOnTheDrawing)
{
    for (int32_t number = 1; number <= 7; ++number) {
        SCOPED_TRACE(number);
        const QCursor cursor = ToolCursor(number);
        ASSERT_EQ(cursor.shape(), Qt::BitmapCursor);
        const QImage image = cursor.pixmap().toImage();
        ASSERT_EQ(image.deviceIndependentSize().toSize(), QSize(32, 32));
        EXPECT_TRUE(IsAShape(image));
        const QPoint hotSpot = cursor.hotSpot();
        EXPECT_EQ(hotSpot, ToolCursorHotSpot(number));
        ASSERT_TRUE(QRect(0, 0, 32, 32).contains(hotSpot));
        // The point that acts lies on the drawn tip, not in empty space beside it.
        const QPoint pixel = (QPointF(hotSpot) * image.devicePixelRatio()).toPoint();
        bool touches = false;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const QPoint p = pixel + QPoint(dx, dy);
                touches = touches || (image.rect().contains(p) && qAlpha(image.pixel(p)) >= 128);
            }
        EXPECT_TRUE(touches);
    }
    EXPECT_EQ(ToolCursor(0).shape(), Qt::ArrowCursor);
    EXPECT_EQ(ToolCursor(8).shape(), Qt::ArrowCursor);
}
