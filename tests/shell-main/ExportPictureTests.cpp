// File > Export Picture...: the picture written is the one the command line's --render
// draws from the saved map at the same zoom, for the whole map and for a selection.
#include "DialogScript.h"
#include "EditingFixture.h"
#include "editor/shell/ViewZoom.h"
#include "tests/support/ScriptedDialogRunner.h"

#include <QCheckBox>
#include <QComboBox>
#include <QProcess>

namespace
{

class TExportPicture : public TEditingFixture
{
protected:
    // --render of the file at Zoom percent, by the built program with no display.
    QImage Render(const std::string &map, const char *zoom)
    {
        const std::string picture = (Folder / "render.png").string();
        QProcess render;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("DISPLAY");
        environment.remove("QT_QPA_PLATFORM");
        render.setProcessEnvironment(environment);
        render.start(QString(TESSELLA_BUILD_DIR) + "/Tessella",
                     {"--render", QString::fromStdString(map), QString::fromStdString(picture),
                      "--zoom", zoom});
        EXPECT_TRUE(render.waitForFinished(60000));
        EXPECT_EQ(render.exitCode(), 0) << render.readAllStandardError().toStdString();
        return QImage(QString::fromStdString(picture)).convertToFormat(QImage::Format_RGB32);
    }
    // The command with its options answered: the zoom shown as Zoom, the selection or not.
    void Export(const std::string &picture, const char *zoom, bool selectionOnly,
                const char *preset = "100 %")
    {
        TScopedDialogRunner runner;
        runner->Steps.push_back([&](QDialog &dialog) {
            auto *zooms = Field<QComboBox>(dialog, "ZoomList");
            EXPECT_EQ(zooms->count(), 7);
            EXPECT_EQ(zooms->currentText().toStdString(), preset);
            zooms->setCurrentIndex(zooms->findText(zoom));
            Check(dialog, "SelectionCheck", selectionOnly);
            return ::Press(dialog, "OkButton");
        });
        Seam->SaveAnswers.push_back(TFileDialogResult{picture, 1});
        Form->MenuItem("ExportPictureMenuItem")->trigger();
        EXPECT_TRUE(runner->Steps.empty());
    }
};

} // namespace

TEST_F(TExportPicture, ThePictureIsTheOneRenderDrawsAtTheSameZoom)
{
    StartWithMap(30, 20, 2, 8, "[General]\nProgressForceTime=0\n");
    for (int32_t x = 0; x < 30; ++x)
        for (int32_t y = 0; y < 20; ++y) {
            SetCell(0, x, y, static_cast<uint16_t>((x * 7 + y * 3) % 64));
            SetCell(1, x, y, static_cast<uint16_t>((x + y) % 5 == 0 ? 9 : 3));
        }
    // Part 3 of the upper layer is the transparent colour: the lower layer shows through.
    const uint32_t rgb = PartColour(3) & 0xFFFFFF;
    Seam->ColorAnswers.push_back((rgb & 0xFF) << 16 | (rgb & 0xFF00) | (rgb >> 16 & 0xFF));
    Form->TransColorMenuItemClick();
    Form->DoTransMenuItemClick();
    ASSERT_TRUE(Form->ViewState().TransEnabled);
    const std::string project = (Folder / "level.tzp").string();
    Seam->SaveAnswers.push_back(TFileDialogResult{project, 1});
    ASSERT_TRUE(Form->Files().SaveAs());

    // A view zoom the list lacks offers the parts' own size.
    Form->Zoom().EditZoomInMenuItemClick();
    const std::string whole = (Folder / "whole.png").string();
    Export(whole, "50 %", false);
    EXPECT_FALSE(Form->Progress().Running());
    EXPECT_EQ(Seam->SaveRequests.back().InitialDir, Folder.string());
    const QImage rendered = Render(project, "50");
    const QImage exported =
        QImage(QString::fromStdString(whole)).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(exported.size(), QSize(30 * 8, 20 * 8));
    EXPECT_TRUE(exported == rendered);

    // The selection alone, as a BMP: the same cells cut out of the whole picture.
    Form->Zoom().ZoomToClick(512);
    Tool(tmSelect);
    Drag(7, 5, 3, 2);
    const std::string part = (Folder / "part.bmp").string();
    Export(part, "100 %", true, "200 %");
    const QImage full = Render(project, "100");
    const QImage cut = QImage(QString::fromStdString(part)).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(cut.size(), QSize(5 * kPart, 4 * kPart));
    EXPECT_TRUE(cut == full.copy(3 * kPart, 2 * kPart, 5 * kPart, 4 * kPart));
    EXPECT_TRUE(Seam->Messages.empty()) << Seam->MessageTexts()[0];
}
