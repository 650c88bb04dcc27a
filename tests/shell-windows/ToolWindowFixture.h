// The real editor with its tool windows shown at a useful size, and the gestures the tests
// make in them: parts images written by the test, pointer drags in the parts window.
#pragma once

#include "../shell-main/EditorFixture.h"
#include "editor/parts/ChipForm.h"
#include "editor/parts/ChipTable.h"
#include "editor/parts/ChipView.h"
#include "editor/shell/windows/LayerForm.h"
#include "editor/shell/windows/LayerList.h"
#include "editor/shell/windows/PreviewForm.h"

#include <QAction>
#include <QImage>
#include <QMouseEvent>
#include <QTest>
#include <functional>

class TToolWindowFixture : public TEditorFixture
{
protected:
    // Starts the editor with the default map and every window shown; the parts window is
    // wide enough for 16 columns of 32-pixel parts.
    void StartShown()
    {
        CopyPlugins();
        ASSERT_TRUE(Start());
        Form->show();
        Parts()->resize(600, 500);
        Settle();
    }

    static void Settle()
    {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
    }

    TChipForm *Parts() const { return Form->ChipForm(); }
    TLayerForm *Layers() const { return Form->LayerForm(); }
    TPreviewForm *Preview() const { return Form->PreviewForm(); }

    // A BMP of Columns × Rows parts of 32 pixels; Colour gives each part's colour 0xRRGGBB.
    std::string WriteParts(const std::string &name, int columns, int rows,
                           const std::function<uint32_t(int, int)> &colour)
    {
        QImage image(columns * 32, rows * 32, QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                image.setPixel(x, y, 0xFF000000u | colour(x / 32, y / 32));
        const std::string path = (Folder / name).string();
        EXPECT_TRUE(image.save(QString::fromStdString(path), "BMP"));
        return path;
    }

    // Opens the image through the parts window's open button and its file dialog.
    void OpenThroughButton(const std::string &path)
    {
        Seam->OpenAnswers.push_back(TFileDialogResult{path, 2});
        Parts()->Button("ToolButton2")->trigger();
        Settle();
    }

    // The view pixel at the centre of part (Column, Row) as shown now.
    QPoint PartCentre(int column, int row) const
    {
        return {(column - Parts()->PartsScrollX()) * Parts()->PartsCellWidth() +
                    Parts()->PartsCellWidth() / 2,
                (row - Parts()->PartsScrollY()) * Parts()->PartsCellHeight() +
                    Parts()->PartsCellHeight() / 2};
    }

    // Presses at From, moves through the points of Path and releases at the last.
    void DragInParts(QPoint from, const std::vector<QPoint> &path,
                     Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget *view = Parts()->View();
        QTest::mousePress(view, Qt::LeftButton, modifiers, from);
        QPoint last = from;
        for (const QPoint &to : path) {
            QTest::mouseMove(view, to);
            last = to;
        }
        QTest::mouseRelease(view, Qt::LeftButton, modifiers, last);
    }

    // A move without a button held, delivered to the widget itself (the offscreen platform
    // has no pointer to move).
    static void Hover(QWidget *widget, QPoint at)
    {
        QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(widget, &move);
    }

    // A double click as the platform delivers it: press, release, double click, release.
    static void DoubleClick(QWidget *widget, QPoint at)
    {
        QTest::mousePress(widget, Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseRelease(widget, Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseDClick(widget, Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseRelease(widget, Qt::LeftButton, Qt::NoModifier, at);
    }

    std::vector<uint16_t> PenWords() const
    {
        TModified request;
        if (!Parts()->SetCurrentData(request))
            return {};
        return request.Data;
    }
};
