// The progress window and what it holds back, through the real main window.
#include "DialogScript.h"
#include "EditorFixture.h"
#include "editor/parts/ChipForm.h"
#include "editor/shell/progress/ProgressForm.h"
#include "editor/shell/windows/LayerForm.h"
#include "tests/support/ScriptedDialogRunner.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTest>
#include <QTimer>
#include <fstream>
#include <thread>

namespace
{

class TProgressTests : public TEditorFixture
{
protected:
    // Starts the editor with the given delay before the progress window shows.
    bool StartWithDelay(int32_t milliseconds)
    {
        CopyPlugins();
        std::filesystem::copy_file(std::filesystem::path(TESSELLA_BUILD_DIR) / "Plugins" /
                                       "png.spi",
                                   Folder / "Plugins" / "png.spi");
        std::ofstream ini(Folder / "Tessella.ini");
        ini << "[General]\nProgressForceTime=" << milliseconds << "\n";
        ini.close();
        if (!Start())
            return false;
        Form->show();
        QApplication::setActiveWindow(Form.get());
        return true;
    }
};

// Counts the progress windows that were shown.
class TShowCounter : public QObject
{
public:
    TShowCounter() { qApp->installEventFilter(this); }
    ~TShowCounter() override { qApp->removeEventFilter(this); }
    int Shown = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && qobject_cast<TProgressForm *>(watched) != nullptr)
            ++Shown;
        return false;
    }
};

void Sleep(int milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

} // namespace

TEST_F(TProgressTests, CallbackShowsMovesAndEndsAProgress)
{
    ASSERT_TRUE(StartWithDelay(0));
    EXPECT_EQ(TMainForm::ProgressProc(0, 10, "start"), 1);
    TProgressForm *progress = Form->Progress().Form();
    ASSERT_NE(progress, nullptr);
    EXPECT_TRUE(progress->Cancelable());
    EXPECT_FALSE(progress->isVisible());
    EXPECT_EQ(Form->windowTitle(), "please wait...");
    EXPECT_EQ(progress->findChild<QLabel *>("MessageLabel")->text(), "Processing...");

    Sleep(5);
    EXPECT_EQ(TMainForm::ProgressProc(5, 10, "half way"), 1);
    EXPECT_TRUE(progress->isVisible());
    EXPECT_EQ(progress->Position(), 5);
    EXPECT_EQ(progress->findChild<QLabel *>("MessageLabel")->text(), "half way");
    EXPECT_EQ(progress->windowTitle(), "Tessella");
    EXPECT_FALSE(Form->isVisible());
    EXPECT_FALSE(Form->ChipForm()->isVisible());

    EXPECT_EQ(TMainForm::ProgressProc(11, 10, ""), 0);
    EXPECT_EQ(TMainForm::ProgressProc(10, 10, ""), 1);
    EXPECT_EQ(Form->Progress().Form(), nullptr);
    EXPECT_FALSE(progress->isVisible());
    EXPECT_TRUE(Form->isVisible());
    EXPECT_TRUE(Form->ChipForm()->isVisible());
    EXPECT_EQ(Form->windowTitle().toStdString(), Form->FormatTittle());
}

TEST_F(TProgressTests, AShortProgressNeverShowsAndNegativeStartsHaveNoAbortButton)
{
    ASSERT_TRUE(StartWithDelay(300));
    TShowCounter shows;
    EXPECT_EQ(TMainForm::ProgressProc(0, 10, ""), 1);
    EXPECT_EQ(TMainForm::ProgressProc(5, 10, "x"), 1);
    EXPECT_EQ(TMainForm::ProgressProc(10, 10, ""), 1);
    EXPECT_EQ(shows.Shown, 0);
    EXPECT_TRUE(Form->isVisible());

    EXPECT_EQ(TMainForm::ProgressProc(-5, -5, "initializing..."), 1);
    ASSERT_NE(Form->Progress().Form(), nullptr);
    EXPECT_FALSE(Form->Progress().Form()->Cancelable());
    EXPECT_EQ(Form->Progress().Form()->Maximum(), 5);
    EXPECT_EQ(TMainForm::ProgressProc(-2, -2, ""), 1);
    EXPECT_FALSE(Form->Progress().Form()->ShowText());
    EXPECT_EQ(TMainForm::ProgressProc(-1, -1, "finishing..."), 1);
    EXPECT_EQ(Form->Progress().Form(), nullptr);
    EXPECT_EQ(shows.Shown, 0);
}

TEST_F(TProgressTests, AbortStopsTheResizeAndLeavesTheMapAsItWas)
{
    ASSERT_TRUE(StartWithDelay(0));
    Form->CreateNewMap(300, 200, 3, 32, 32, 8, true);
    TMap *map = MapDocument();
    map->GetLayer(2).Data[299] = 4;
    // Once the window shows, the user presses its abort button.
    QTimer user;
    user.setInterval(0);
    int presses = 0;
    QObject::connect(&user, &QTimer::timeout, [&] {
        if (Form->Progress().Form() != nullptr && Form->Progress().Form()->isVisible() &&
            presses == 0) {
            ++presses;
            QTest::mouseClick(Form->Progress().Form()->AbortButton(), Qt::LeftButton);
        }
    });
    user.start();
    TScopedDialogRunner runner;
    runner->Steps.push_back([&](QDialog &dialog) {
        Type(dialog, "WidthEdit", "500");
        Type(dialog, "HeightEdit", "400");
        return Press(dialog, "OkButton");
    });
    Form->ResizeMenuItemClick();
    user.stop();
    EXPECT_EQ(presses, 1);
    EXPECT_EQ(map->Width(), 300);
    EXPECT_EQ(map->Height(), 200);
    for (int32_t layer = 0; layer < 3; ++layer)
        EXPECT_EQ(map->GetLayer(layer).Data.size(), 300u * 200u);
    EXPECT_EQ(map->GetLayer(2).Data[299], 4);
    EXPECT_TRUE(Seam->Messages.empty());
    EXPECT_EQ(Form->Progress().Form(), nullptr);
    EXPECT_TRUE(Form->isVisible());
}

TEST_F(TProgressTests, CommandsAndClosingWaitForARunningSave)
{
    ASSERT_TRUE(StartWithDelay(300));
    Form->CreateNewMap(50, 50, 4, 32, 32, 8, true);
    MapDocument()->SetModified();
    const std::string path = (Folder / "busy.tzp").string();
    Seam->SaveAnswers.push_back(TFileDialogResult{path, 1});
    TScopedDialogRunner runner; // a New dialog that got through would be recorded here
    bool running = false;
    // While the plug-in writes, the user presses Ctrl+O and Ctrl+N and closes the window.
    QTimer::singleShot(0, [&] {
        running = Form->Progress().Running();
        QTest::keyClick(Form.get(), Qt::Key_O, Qt::ControlModifier);
        QTest::keyClick(Form.get(), Qt::Key_N, Qt::ControlModifier);
        Form->close();
    });
    ASSERT_TRUE(Form->Files().SaveAs());
    EXPECT_TRUE(running);
    // Nothing reached the commands: not even the save question they ask first.
    EXPECT_TRUE(Seam->Questions.empty());
    EXPECT_TRUE(Seam->OpenRequests.empty());
    EXPECT_TRUE(runner->Shown.empty());
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(MapDocument()->LayerCount(), 4);
    EXPECT_TRUE(Form->isVisible()); // the close is answered once the save has ended

    // After the end the same key works again, and the close request is answered.
    QTest::keyClick(Form.get(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(Seam->OpenRequests.size(), 1u);
    QCoreApplication::sendPostedEvents();
    EXPECT_FALSE(Form->isVisible());
}

// The PNG plug-in reports a start and then one step per row; a picture cut short inside its
// pixel data never reaches the last row.
TEST_F(TProgressTests, AnImageThatFailsHalfWayEndsItsProgressAndLeavesAnOuterOneRunning)
{
    ASSERT_TRUE(StartWithDelay(0));
    QImage noise(600, 600, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < noise.height(); ++y)
        for (int x = 0; x < noise.width(); ++x)
            noise.setPixel(x, y, random.generate() & 0xFFFFFF);
    const std::filesystem::path good = Folder / "good.png";
    const std::filesystem::path cut = Folder / "cut.png";
    ASSERT_TRUE(noise.save(QString::fromStdString(good.string())));
    std::filesystem::copy_file(good, cut);
    std::filesystem::resize_file(cut, std::filesystem::file_size(good) / 3);

    EXPECT_FALSE(Form->ChipForm()->AddMapChip(cut.string()));
    ASSERT_EQ(Seam->Messages.size(), 1u);
    EXPECT_EQ(Seam->Messages[0].Text.rfind("Cannot open the cut.png.", 0), 0u);
    EXPECT_FALSE(Form->Progress().Running());
    EXPECT_TRUE(Form->isVisible());
    EXPECT_EQ(Form->windowTitle().toStdString(), Form->FormatTittle());

    // An image overwritten by a broken copy, reloaded as the editor is activated again.
    ASSERT_TRUE(Form->ChipForm()->AddMapChip(good.string()));
    std::filesystem::copy_file(cut, good, std::filesystem::copy_options::overwrite_existing);
    Form->ChipForm()->CheckMapChipChanged();
    EXPECT_FALSE(Form->Progress().Running());
    EXPECT_TRUE(Form->isVisible());

    // Inside an open that loads each layer's image, neither a failed nor a whole picture
    // touches the open's own display.
    std::filesystem::copy_file(cut, Folder / "cut2.png");
    ASSERT_TRUE(noise.save(QString::fromStdString((Folder / "whole.png").string())));
    EXPECT_EQ(TMainForm::ProgressProc(0, 10, "opening"), 1);
    EXPECT_EQ(TMainForm::ProgressProc(3, 10, "opening"), 1);
    EXPECT_FALSE(Form->ChipForm()->AddMapChip((Folder / "cut2.png").string()));
    EXPECT_TRUE(Form->ChipForm()->AddMapChip((Folder / "whole.png").string()));
    ASSERT_TRUE(Form->Progress().Running());
    EXPECT_EQ(Form->Progress().Form()->Maximum(), 10);
    EXPECT_EQ(Form->Progress().Form()->Position(), 3);
    EXPECT_EQ(Form->windowTitle(), "please wait...");
    EXPECT_EQ(TMainForm::ProgressProc(10, 10, ""), 1);
    EXPECT_FALSE(Form->Progress().Running());
    EXPECT_TRUE(Form->isVisible());
}
