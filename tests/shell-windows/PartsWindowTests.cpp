// The parts window in the running editor: picking parts with the pointer, the pen blocks the
// pick becomes, the value limit, zoom, the transparent colour and invisible part, images
// opened, dropped and closed, and a new map never meeting the old map's table.
#include "ToolWindowFixture.h"
#include "editor/render/RasterPrimitives.h"
#include "editor/shell/input/MapViewWidget.h"

#include <QScrollBar>
#include <QUrl>

using TPartsWindow = TToolWindowFixture;

namespace
{
uint32_t Gradient(int column, int row)
{
    return static_cast<uint32_t>((column * 12) << 16 | (row * 12) << 8 | 0x40);
}
} // namespace

TEST_F(TPartsWindow, DragsPickClampedRectanglesThatBecomePenBlocks)
{
    StartShown();
    OpenThroughButton(WriteParts("tiles.bmp", 16, 16, Gradient));
    TMap *map = MapDocument();
    ASSERT_NE(map->GetLayerChip(0), nullptr);
    EXPECT_TRUE(Parts()->Button("ToolButton3")->isEnabled());
    EXPECT_EQ(Seam->OpenRequests.at(0).FilterIndex, 2);

    // From part (5, 3) to the left, beyond column 0 and outside the view.
    DragInParts(
        PartCentre(5, 3),
        {PartCentre(3, 3), PartCentre(0, 3), {PartCentre(0, 3).x() - 60, PartCentre(0, 3).y()}});
    TSelection pick = Parts()->GetSelectedInfo();
    EXPECT_EQ(pick.Active, 1);
    EXPECT_EQ(pick.X, 0);
    EXPECT_EQ(pick.DX, 5);
    EXPECT_EQ(pick.Y, 3);
    EXPECT_EQ(pick.DY, 0);
    EXPECT_EQ(pick.Index, 48);
    EXPECT_EQ(Parts()->StatusText(1).toStdString(), "Selection(0, 3)-(5, 3)");

    // A 3 × 2 rectangle at (2, 1) with 16 columns.
    DragInParts(PartCentre(2, 1), {PartCentre(3, 2), PartCentre(4, 2)});
    EXPECT_EQ(PenWords(), (std::vector<uint16_t>{18, 19, 20, 34, 35, 36}));
    EXPECT_EQ(Parts()->StatusText(2).toStdString(), "Select(18 ... 36)");
    TModified request;
    ASSERT_TRUE(Parts()->SetCurrentData(request));
    EXPECT_EQ(request.SrcPitch, 2);
    EXPECT_EQ(request.Source.DY, 1);

    // The pen paints the block where the map view is pressed, as one undo step.
    Form->show();
    Settle();
    QWidget *mapView = Form->MapView();
    const QPoint cell(5 * Form->ViewState().ViewCellWidth + 10,
                      4 * Form->ViewState().ViewCellHeight + 10);
    QTest::mousePress(mapView, Qt::LeftButton, Qt::NoModifier, cell);
    QTest::mouseRelease(mapView, Qt::LeftButton, Qt::NoModifier, cell);
    const std::vector<uint16_t> &cells = map->GetLayer(0).Data;
    EXPECT_EQ(cells[4 * 100 + 5], 18);
    EXPECT_EQ(cells[4 * 100 + 7], 20);
    EXPECT_EQ(cells[5 * 100 + 6], 35);
    Form->MenuItem("UndoMenuItem")->trigger();
    EXPECT_EQ(cells[5 * 100 + 6], 0);

    // The picture: the image under the grid, the pick framed in white.
    const TPixelBuffer &back = Parts()->Back();
    EXPECT_EQ(back.Pixel(6 * 32 + 10, 5 * 32 + 10) & 0xFFFFFF, Gradient(6, 5));
    EXPECT_EQ(back.Pixel(2 * 32 + 1, 1 * 32 + 1), 0xFFFFFFu);
    EXPECT_EQ(back.Pixel(6 * 32, 5 * 32 + 10), ColorToPixel32(Form->ViewState().GridColor));

    // Hovering names the part; a click picks one part; the keys move the pick.
    Hover(Parts()->View(), PartCentre(3, 2));
    EXPECT_EQ(Parts()->StatusText(0).toStdString(), "Corsor(3, 2)=(35)");
    DragInParts(PartCentre(7, 0), {});
    EXPECT_EQ(PenWords(), (std::vector<uint16_t>{7}));
    EXPECT_EQ(Parts()->StatusText(2).toStdString(), "Select(7)");
    Parts()->SelectchipAxial(1);
    Parts()->SelectchipAxial(3);
    EXPECT_EQ(PenWords(), (std::vector<uint16_t>{24}));
    Parts()->Selectchip(-1);
    EXPECT_FALSE(Parts()->SetCurrentData(request));
    EXPECT_EQ(Parts()->StatusText(2).toStdString(), "Selection N/A");
    Parts()->Selectchip(33);
    EXPECT_EQ(Parts()->GetSelectedInfo().X, 1);
    EXPECT_EQ(Parts()->GetSelectedInfo().Y, 2);
}

TEST_F(TPartsWindow, PartsFromTheValueLimitOnCannotBePicked)
{
    StartShown();
    // An 8-bit map whose alignment comes from an image 20 parts wide: 13 rows hold part 255.
    Form->CreateNewMap(10, 10, 1, 32, 32, 8, false);
    Parts()->resize(700, 560);
    Settle();
    OpenThroughButton(WriteParts("wide.bmp", 20, 14, Gradient));
    ASSERT_EQ(Parts()->Table()->ChipAlignX(), 20);
    ASSERT_EQ(Parts()->Table()->ChipAlignY(), 13);

    DragInParts(PartCentre(15, 12), {});
    EXPECT_EQ(PenWords(), (std::vector<uint16_t>{255}));
    DragInParts(PartCentre(16, 12), {}); // part 256: the pick stays
    EXPECT_EQ(PenWords(), (std::vector<uint16_t>{255}));
    Hover(Parts()->View(), PartCentre(17, 12));
    EXPECT_EQ(Parts()->StatusText(0).toStdString(), "Corsor(Invalid parts)");
    // Part 255 is closed by grid lines, part 256 is not.
    const uint32_t grid = ColorToPixel32(Form->ViewState().GridColor);
    const TPixelBuffer &back = Parts()->Back();
    const int y = (12 - Parts()->PartsScrollY()) * 32 + 10;
    EXPECT_EQ(back.Pixel((16 - Parts()->PartsScrollX()) * 32, y), grid);
    EXPECT_NE(back.Pixel((17 - Parts()->PartsScrollX()) * 32, y), grid);
}

TEST_F(TPartsWindow, ZoomStepsStopAtTwiceAndAboveAQuarterOfThePartSize)
{
    StartShown();
    std::vector<int32_t> sizes;
    for (int i = 0; i < 10; ++i) {
        Form->MenuItem("PartsZoomInMenuItem")->trigger();
        sizes.push_back(Parts()->PartsCellWidth());
    }
    EXPECT_EQ(sizes, (std::vector<int32_t>{36, 40, 44, 48, 52, 56, 60, 64, 64, 64}));
    EXPECT_FALSE(Parts()->Button("ToolButton5")->isEnabled());
    EXPECT_EQ(Parts()->GetZoomRatio(), 512);
    Form->MenuItem("PartsZoomNormMenuItem")->trigger();
    EXPECT_EQ(Parts()->PartsCellWidth(), 32);
    sizes.clear();
    for (int i = 0; i < 7; ++i) {
        Parts()->Button("ToolButton6")->trigger();
        sizes.push_back(Parts()->PartsCellHeight());
    }
    EXPECT_EQ(sizes, (std::vector<int32_t>{28, 24, 20, 16, 12, 12, 12}));
    // The button says the next step would be refused.
    EXPECT_FALSE(Parts()->Button("ToolButton6")->isEnabled());
    EXPECT_TRUE(Parts()->Button("ToolButton5")->isEnabled());
}

TEST_F(TPartsWindow, CtrlClickTakesTheTransparentColourAndDoubleClickTheInvisiblePart)
{
    StartShown();
    OpenThroughButton(WriteParts("keyed.bmp", 16, 16, [](int column, int row) {
        return column == 3 && row == 0 ? 0xFF00FFu : Gradient(column, row);
    }));
    // At twice the size the pointer still finds the image pixel it shows.
    for (int i = 0; i < 8; ++i)
        Form->MenuItem("PartsZoomInMenuItem")->trigger();
    ASSERT_EQ(Parts()->PartsCellWidth(), 64);
    Seam->Answers = {TAnswer::No, TAnswer::Yes};
    QTest::mouseClick(Parts()->View(), Qt::LeftButton, Qt::ControlModifier, PartCentre(2, 0));
    EXPECT_FALSE(Form->ViewState().TransEnabled);
    QTest::mouseClick(Parts()->View(), Qt::LeftButton, Qt::ControlModifier, PartCentre(3, 0));
    ASSERT_EQ(Seam->Questions.size(), 2u);
    EXPECT_EQ(Seam->Questions[0].Caption, "Tessella");
    EXPECT_EQ(Seam->Questions[0].Text,
              "(R, G, B) = (24, 0, 64) : Is this color set as a transparent color?");
    EXPECT_EQ(Seam->Questions[1].Text,
              "(R, G, B) = (255, 0, 255) : Is this color set as a transparent color?");
    EXPECT_EQ(Form->ViewState().TransColor, 0x00FF00FFu);
    EXPECT_TRUE(Form->ViewState().TransEnabled);
    EXPECT_TRUE(Form->MenuItem("DoTransMenuItem")->isChecked());
    EXPECT_EQ(Parts()->GetSelectedInfo().Index, 0); // a Ctrl+click picks nothing

    DoubleClick(Parts()->View(), PartCentre(7, 0));
    EXPECT_TRUE(Form->ViewState().UseInvisiblePart);
    EXPECT_EQ(Form->ViewState().InvisiblePart, 7);
    EXPECT_EQ(Parts()->StatusText(2).toStdString(), "Select(Invisible parts)");
    // With the translucent look off, the invisible part is framed in red.
    QTest::mouseClick(Parts()->View(), Qt::LeftButton, Qt::NoModifier, PartCentre(9, 0));
    EXPECT_EQ(Parts()->Back().Pixel(7 * 64 + 1, 1), ColorToPixel32(0x0000FF));
}

TEST_F(TPartsWindow, ImagesOpenDropAndCloseForEveryLayerThatUsesThem)
{
    StartShown();
    const std::string first = WriteParts("first.bmp", 4, 4, Gradient);
    const std::string second = WriteParts("second.bmp", 4, 4, Gradient);
    Layers()->AddLayer("Upper");
    Parts()->FilesDropped({QUrl::fromLocalFile(QString::fromStdString(first)),
                           QUrl::fromLocalFile(QString::fromStdString(second))});
    TMap *map = MapDocument();
    ASSERT_EQ(Parts()->Table()->GetMapChipCount(), 2);
    EXPECT_EQ(map->GetLayerChip(1)->FileName, second);

    Layers()->SelectLayer(0);
    OpenThroughButton(second); // the loaded entry is reused
    EXPECT_EQ(Parts()->Table()->GetMapChipCount(), 2);
    EXPECT_EQ(map->GetLayerChip(0), map->GetLayerChip(1));

    Parts()->Button("ToolButton3")->trigger();
    EXPECT_EQ(map->GetLayerChip(0), nullptr);
    EXPECT_EQ(map->GetLayerChip(1), nullptr);
    EXPECT_EQ(Parts()->Table()->GetMapChipCount(), 1);
    EXPECT_FALSE(Parts()->Button("ToolButton3")->isEnabled());

    // The find button looks for the picked part in the current layer; none there: a beep.
    Parts()->Selectchip(0);
    Parts()->Button("ToolButton7")->trigger();
    EXPECT_EQ(Seam->Beeps, 0);
    EXPECT_TRUE(Form->ViewState().Selection.Active);
    EXPECT_TRUE(Form->ViewState().FoundMark);
    Parts()->Selectchip(5);
    Parts()->Button("ToolButton7")->trigger();
    EXPECT_EQ(Seam->Beeps, 1);
    // A missing file is named without its folder.
    Parts()->AddMapChip((Folder / "gone.bmp").string());
    EXPECT_EQ(Seam->MessageTexts().back(), "gone.bmp was not found.");
}

TEST_F(TPartsWindow, NewMapsAndOpenedFilesNeverMeetTheOldMapsTable)
{
    StartShown();
    OpenThroughButton(WriteParts("tiles.bmp", 16, 16, Gradient));
    const std::string project = (Folder / "with-image.tzp").string();
    Seam->SaveAnswers.push_back(TFileDialogResult{project, 1});
    ASSERT_TRUE(Form->Files().SaveAs());

    // A 16-bit map: the table is new and numbers parts with the new map's 256 columns.
    Form->CreateNewMap(20, 20, 2, 32, 32, 16, true);
    ASSERT_NE(Parts()->Table(), nullptr);
    EXPECT_EQ(Parts()->Table()->GetMapChipCount(), 0);
    EXPECT_EQ(MapDocument()->GetLayerChip(0), nullptr);
    int32_t x = 0;
    int32_t y = 0;
    ASSERT_TRUE(Parts()->GetImagePosition(257, 0, x, y));
    EXPECT_EQ(x, 32);
    EXPECT_EQ(y, 32);
    EXPECT_EQ(Parts()->PartsCellWidth(), 32);

    ASSERT_TRUE(Form->Files().OpenFile(project));
    EXPECT_EQ(Parts()->Table()->GetMapChipCount(), 1);
    EXPECT_EQ(MapDocument()->GetLayerChip(0), Parts()->Table()->GetMapChipAddr(0));
    EXPECT_TRUE(Parts()->Button("ToolButton3")->isEnabled());
}

// After a bit-count or part-size change the parts window is laid out at once: every part of
// the image can be scrolled to, and the part drawn under the pointer is the part picked.
TEST_F(TPartsWindow, BitCountAndPartSizeChangesLayTheWindowOutAtOnce)
{
    StartShown();
    OpenThroughButton(WriteParts("wide.bmp", 32, 2, Gradient));
    QScrollBar *across = Parts()->findChild<QScrollBar *>();
    ASSERT_NE(across, nullptr);
    ASSERT_EQ(across->orientation(), Qt::Horizontal);
    Form->Edit().ChangeBitCount(16, false); // the image's own 32 columns
    const int32_t columnsShown = Parts()->View()->width() / Parts()->PartsCellWidth();
    EXPECT_GE(across->maximum() + columnsShown, 31);
    across->setValue(across->maximum());
    Settle();
    Parts()->ViewMouseDown(PartCentre(31, 0).x(), PartCentre(31, 0).y(), false);
    Parts()->ViewMouseUp();
    EXPECT_EQ(Parts()->GetSelectedInfo().X, 31);

    Seam->Messages.clear();
    Form->Edit().ChangePartsSize(16, 16);
    EXPECT_EQ(Parts()->PartsCellWidth(), 16);
    EXPECT_EQ(Parts()->PartsCellHeight(), 16);
    across->setValue(0);
    Settle();
    Parts()->ViewMouseDown(PartCentre(3, 1).x(), PartCentre(3, 1).y(), false);
    Parts()->ViewMouseUp();
    EXPECT_EQ(Parts()->GetSelectedInfo().X, 3);
    EXPECT_EQ(Parts()->GetSelectedInfo().Y, 1);
}
