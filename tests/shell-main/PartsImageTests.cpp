// Parts images as a newcomer meets them: a PNG with transparent areas asks once whether they
// are the transparent colour, the layer options open an image file of their own, an empty
// parts window says what to do, its status panels show their whole texts and a find that
// fails says so.
#include "DialogScript.h"
#include "EditingFixture.h"
#include "editor/parts/ChipTable.h"
#include "editor/parts/ChipView.h"
#include "tests/support/ScriptedDialogRunner.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>

namespace
{

constexpr uint32_t kMagenta = 0xFF00FF;
constexpr uint32_t kBlue = 0x0000FF;
constexpr uint32_t kYellow = 0xFFFF00;

class TPartsImages : public TEditingFixture
{
protected:
    // The editor with the PNG image plug-in beside it.
    void StartWithPng(int32_t Width, int32_t Height, int32_t Layers)
    {
        std::filesystem::create_directories(Folder / "Plugins");
        std::filesystem::copy_file(std::filesystem::path(TESSELLA_BUILD_DIR) / "Plugins" /
                                       "png.spi",
                                   Folder / "Plugins" / "png.spi");
        StartWithMap(Width, Height, Layers);
    }
    // Three parts of 16 pixels: 0 wholly transparent, 1 blue on its left half and
    // transparent on its right, 2 yellow.
    std::string WriteTiles(const char *name)
    {
        QImage tiles(3 * kPart, kPart, QImage::Format_ARGB32);
        for (int32_t y = 0; y < kPart; ++y)
            for (int32_t x = 0; x < 3 * kPart; ++x) {
                const int32_t part = x / kPart;
                const bool left = x % kPart < kPart / 2;
                tiles.setPixel(x, y,
                               part == 2           ? 0xFF000000u | kYellow
                               : part == 1 && left ? 0xFF000000u | kBlue
                                                   : 0x00000000u);
            }
        const std::string path = (Folder / name).string();
        EXPECT_TRUE(tiles.save(QString::fromStdString(path), "PNG"));
        return path;
    }
    // The colour shown in the left or the right half of a map cell (0x00RRGGBB).
    uint32_t Half(int32_t x, int32_t y, bool left) const
    {
        const TMapViewState &view = Form->ViewState();
        const int32_t px = (x - view.ScrollX) * view.ViewCellWidth + (left ? 3 : kPart - 3);
        const int32_t py = (y - view.ScrollY) * view.ViewCellHeight + kPart / 2;
        TPixelBuffer &back = Form->BackBuffer();
        if (back.BitsPerPixel() == 24) {
            const uint8_t *pixel = back.Row(py) + 3 * px;
            return pixel[0] | pixel[1] << 8 | pixel[2] << 16;
        }
        return back.Row32(py)[px] & 0xFFFFFF;
    }
    void AttachToLayer(int32_t layer, const std::string &path)
    {
        Form->LayerForm()->SelectLayer(layer);
        ASSERT_TRUE(Form->ChipForm()->AddMapChip(path));
    }
    std::vector<std::string> QuestionTexts()
    {
        std::vector<std::string> texts;
        for (const TAskedQuestion &question : Seam->Questions)
            texts.push_back(question.Caption + ": " + question.Text);
        return texts;
    }
};

} // namespace

TEST_F(TPartsImages, ATransparentPngAsksOnceAndYesLetsTheLowerLayersThroughAboveTheBottomOne)
{
    StartWithPng(8, 6, 2);
    const std::string tiles = WriteTiles("tiles.png");
    for (int32_t x = 0; x < 8; ++x)
        for (int32_t y = 0; y < 6; ++y)
            SetCell(0, x, y, 2);
    SetCell(0, 2, 2, 1);
    SetCell(1, 3, 2, 1);
    Seam->Answers.push_back(TAnswer::Yes);
    AttachToLayer(0, tiles);
    AttachToLayer(1, tiles);
    Form->RedrawAll();
    // Asked once the load is over; until then the transparent pixels are magenta.
    EXPECT_TRUE(Seam->Questions.empty());
    EXPECT_EQ(Half(4, 2, true), kMagenta);
    QCoreApplication::processEvents();
    EXPECT_EQ(
        QuestionTexts(),
        std::vector<std::string>{
            "Tessella: tiles.png has transparent areas. Use them as the transparent colour?"});
    EXPECT_TRUE(Form->ViewState().TransEnabled);
    EXPECT_EQ(Form->ViewState().TransColor, 0x00FF00FFu);
    EXPECT_TRUE(Form->MenuItem("DoTransMenuItem")->isChecked());
    // The upper layer lets the lower one through; the bottom layer stays opaque.
    EXPECT_EQ(Half(3, 2, true), kBlue);
    EXPECT_EQ(Half(3, 2, false), kYellow);
    EXPECT_EQ(Half(4, 2, false), kYellow);
    EXPECT_EQ(Half(2, 2, true), kBlue);
    EXPECT_EQ(Half(2, 2, false), kMagenta);

    // Once per image: not again when it is read again, whatever the colour is then.
    Form->DoTransMenuItemClick();
    ASSERT_FALSE(Form->ViewState().TransEnabled);
    Form->ChipForm()->CloseImageClick();
    AttachToLayer(1, tiles);
    // Another image answered No changes nothing and is not asked about again either.
    const std::string other = WriteTiles("other.png");
    AttachToLayer(1, other);
    QCoreApplication::processEvents();
    Form->ChipForm()->CloseImageClick();
    AttachToLayer(1, other);
    QCoreApplication::processEvents();
    EXPECT_EQ(Seam->Questions.size(), 2u);
    EXPECT_FALSE(Form->ViewState().TransEnabled);

    // A project that has the colour already is not asked about: the question waits until
    // the open has taken over the file's transparent colour.
    Form->DoTransMenuItemClick();
    AttachToLayer(1, tiles);
    const std::string project = (Folder / "beach.tzp").string();
    Seam->SaveAnswers.push_back(TFileDialogResult{project, 1});
    ASSERT_TRUE(Form->Files().SaveAs());
    Form.reset();
    FinishEditor();
    ASSERT_TRUE(Start());
    ASSERT_TRUE(Form->Files().OpenFile(project));
    QCoreApplication::processEvents();
    EXPECT_EQ(Seam->Questions.size(), 2u);
    EXPECT_TRUE(Form->ViewState().TransEnabled);
    EXPECT_TRUE(Seam->Messages.empty()) << Seam->MessageTexts()[0];
}

TEST_F(TPartsImages, LayerOptionsBrowseForAnImageFileOfTheirOwn)
{
    StartWithPng(8, 6, 2);
    const std::string tiles = WriteTiles("tiles.png");
    TScopedDialogRunner runner;
    runner->Steps.push_back([&](QDialog &dialog) {
        Seam->OpenAnswers.push_back(TFileDialogResult{tiles, 2});
        ::Press(dialog, "BrowseButton");
        EXPECT_EQ(Field<QComboBox>(dialog, "ImageList")->currentText(), "tiles.png");
        return ::Press(dialog, "OkButton");
    });
    Form->LayerForm()->SelectLayer(1);
    Form->LayerForm()->OpenCurrentLayerSetting();
    ASSERT_EQ(Seam->OpenRequests.size(), 1u);
    EXPECT_NE(Seam->OpenRequests[0].Filter.find("*.png"), std::string::npos);
    EXPECT_EQ(Seam->OpenRequests[0].InitialDir, std::string(std::getenv("HOME")));
    const TMapChip *chip = Map().GetLayerChip(1);
    ASSERT_NE(chip, nullptr);
    EXPECT_EQ(chip->FileName, tiles);
    EXPECT_NE(Map().GetLayerChip(0), chip);
    EXPECT_EQ(Form->ChipForm()->Table()->GetMapChipCount(), 2);

    // A browsed file that cannot be read leaves the layer's image.
    std::ofstream(Folder / "broken.png") << "\x89PNG\r\n\x1a\n broken";
    runner->Steps.push_back([&](QDialog &dialog) {
        Seam->OpenAnswers.push_back(TFileDialogResult{(Folder / "broken.png").string(), 2});
        ::Press(dialog, "BrowseButton");
        return ::Press(dialog, "OkButton");
    });
    Form->LayerForm()->OpenCurrentLayerSetting();
    EXPECT_EQ(Map().GetLayerChip(1), chip);
    EXPECT_EQ(Seam->Messages.size(), 1u);
}

TEST_F(TPartsImages, TheEmptyWindowSaysWhatToDoAndTheStatusPanelsShowWholeTexts)
{
    StartWithMap(40, 30, 1);
    TChipForm *parts = Form->ChipForm();
    parts->show();
    QCoreApplication::processEvents();
    auto gridPixels = [parts] {
        int64_t count = 0;
        for (int32_t y = 0; y < parts->Back().Height(); ++y)
            for (int32_t x = 0; x < parts->Back().Width(); ++x)
                count += (parts->Back().Row32(y)[x] & 0xFFFFFF) == 0xA0A0A4;
        return count;
    };
    EXPECT_TRUE(parts->View()->Hint().isEmpty());
    EXPECT_GT(gridPixels(), 0);
    Form->LayerForm()->AddLayer("empty");
    EXPECT_EQ(parts->View()->Hint().toStdString(),
              "Open a parts image with the first button, or drop an image file here");
    EXPECT_EQ(gridPixels(), 0);
    Form->LayerForm()->SelectLayer(0);
    EXPECT_TRUE(parts->View()->Hint().isEmpty());

    // A rectangle of parts far in, the window at the screen's right edge: every panel as
    // wide as its whole text, the window wider and moved left so that all of it shows.
    const QRect screen = parts->screen()->availableGeometry();
    parts->move(screen.right() - parts->frameGeometry().width() + 1, parts->y());
    const int widthBefore = parts->width();
    const auto layOut = [] {
        for (int pass = 0; pass < 3; ++pass) // the layout requests travel up one level a pass
            QCoreApplication::processEvents();
    };
    // While the button is down the parts stay under the pointer: the move waits.
    const int leftBefore = parts->x();
    parts->ViewMouseDown(10 * kPart + 2, 2 * kPart + 2, false);
    parts->ViewMouseMove(15 * kPart + 2, 3 * kPart + 2);
    layOut();
    EXPECT_EQ(parts->x(), leftBefore);
    parts->ViewMouseUp();
    parts->ViewMouseMove(13 * kPart + 2, 3 * kPart + 2);
    layOut();
    EXPECT_EQ(parts->StatusText(0).toStdString(), "Corsor(13, 3)=(61)");
    EXPECT_EQ(parts->StatusText(1).toStdString(), "Selection(10, 2)-(15, 3)");
    EXPECT_EQ(parts->StatusText(2).toStdString(), "Select(42 ... 63)");
    const QList<QLabel *> panels =
        parts->findChildren<QStatusBar *>().front()->findChildren<QLabel *>();
    ASSERT_EQ(panels.size(), 3);
    for (QLabel *panel : panels)
        EXPECT_GE(panel->width(), panel->sizeHint().width()) << panel->text().toStdString();
    EXPECT_GT(parts->width(), widthBefore);
    EXPECT_LE(parts->frameGeometry().right(), screen.right());
    EXPECT_GE(parts->x(), screen.left());

    // Find says when the picked parts are not in the layer.
    parts->Selectchip(40);
    parts->FindClick();
    EXPECT_EQ(Seam->Beeps, 1);
    EXPECT_EQ(Form->statusBar()->currentMessage().toStdString(), "Part 40 is not in this layer.");
}
