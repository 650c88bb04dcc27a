#include "../shell-main/EditorFixture.h"
#include "editor/shell/windows/PreviewForm.h"
#include "editor/shell/windows/PreviewView.h"

#include <QAction>
#include <QTest>

using TPreviewWindow = TEditorFixture;

TEST_F(TPreviewWindow, ScaleButtonsStopAtOneAndFour)
{
    CopyPlugins();
    ASSERT_TRUE(Start());
    TPreviewForm *preview = Form->PreviewForm();
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->PreviewScale(), 2);
    for (int i = 0; i < 5; ++i)
        preview->EnlargeButton()->trigger();
    EXPECT_EQ(preview->PreviewScale(), 4);
    EXPECT_FALSE(preview->EnlargeButton()->isEnabled());
    for (int i = 0; i < 5; ++i)
        preview->ReduceButton()->trigger();
    EXPECT_EQ(preview->PreviewScale(), 1);
    EXPECT_FALSE(preview->ReduceButton()->isEnabled());
    EXPECT_TRUE(preview->EnlargeButton()->isEnabled());
}

TEST_F(TPreviewWindow, PressingInThePreviewMovesTheMapView)
{
    CopyPlugins();
    ASSERT_TRUE(Start());
    Form->show();
    TPreviewForm *preview = Form->PreviewForm();
    preview->show();
    preview->resize(300, 300);
    QCoreApplication::processEvents();
    Form->FormResize();
    ASSERT_EQ(Form->ViewState().ScrollX, 0);
    // Scale 2: pixel (160, 120) is map cell (80, 60), far right of and below the view.
    QTest::mouseClick(preview->View(), Qt::LeftButton, Qt::NoModifier, QPoint(160, 120));
    QCoreApplication::processEvents();
    EXPECT_GT(Form->ViewState().ScrollX, 0);
    EXPECT_GT(Form->ViewState().ScrollY, 0);
    TPixelRect frame;
    ASSERT_TRUE(preview->ViewFrame(frame));
}
