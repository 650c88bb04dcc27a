// The real editor with a small map whose parts are solid colours, driven by the pointer and
// the keyboard through its map view as a user would.
#pragma once

#include "EditorFixture.h"
#include "editor/parts/ChipForm.h"
#include "editor/shell/input/MapViewWidget.h"
#include "editor/shell/windows/LayerForm.h"

#include <QImage>
#include <QTest>
#include <fstream>

class TEditingFixture : public TEditorFixture
{
protected:
    static constexpr int32_t kPart = 16;

    // Starts the editor on a Width × Height map of 16 × 16 parts with Layers layers, each
    // layer drawing from a parts image where part n is a solid colour of its own.
    void StartWithMap(int32_t Width, int32_t Height, int32_t Layers, uint8_t Bits = 8,
                      const std::string &ini = "[General]\nUseEraser=1\n")
    {
        CopyPlugins();
        std::ofstream(Folder / "Tessella.ini") << ini;
        ASSERT_TRUE(Start());
        Form->show();
        Form->resize(680, 650);
        QCoreApplication::processEvents();
        Form->CreateNewMap(Width, Height, Layers, kPart, kPart, Bits, true);
        QImage parts(16 * kPart, 4 * kPart, QImage::Format_RGB32);
        for (int32_t n = 0; n < 64; ++n)
            for (int32_t y = 0; y < kPart; ++y)
                for (int32_t x = 0; x < kPart; ++x)
                    parts.setPixel((n % 16) * kPart + x, (n / 16) * kPart + y, PartColour(n));
        const std::string file = (Folder / "parts.bmp").string();
        ASSERT_TRUE(parts.save(QString::fromStdString(file)));
        for (int32_t layer = 0; layer < Layers; ++layer) {
            Form->LayerForm()->SelectLayer(layer);
            ASSERT_TRUE(Form->ChipForm()->AddMapChip(file));
        }
        Form->LayerForm()->SelectLayer(0);
        QCoreApplication::processEvents();
        Form->FormResize();
    }

    static uint32_t PartColour(int32_t n)
    {
        return 0xFF000000u | ((0x203040u + n * 0x0B0D11u) & 0xFFFFFF);
    }

    TMapViewWidget *View() const { return Form->MapView(); }
    TMap &Map() const { return *MapDocument(); }
    uint16_t Cell(int32_t layer, int32_t x, int32_t y) const
    {
        return Map().GetLayer(layer).Data[static_cast<size_t>(y * Map().Width() + x)];
    }
    void SetCell(int32_t layer, int32_t x, int32_t y, uint16_t value)
    {
        Map().GetLayer(layer).Data[static_cast<size_t>(y * Map().Width() + x)] = value;
    }
    // The colour the back buffer shows near the middle of a map cell, off the selection's
    // hatch lines.
    uint32_t Shown(int32_t x, int32_t y) const
    {
        const TMapViewState &view = Form->ViewState();
        const int32_t px = (x - view.ScrollX) * view.ViewCellWidth + view.ViewCellWidth / 2 + 2;
        const int32_t py = (y - view.ScrollY) * view.ViewCellHeight + view.ViewCellHeight / 2;
        return 0xFF000000u | (Form->BackBuffer().Row32(py)[px] & 0xFFFFFF);
    }

    // The screen after the partial updates of a gesture is the screen a full recomposition
    // gives: no stale pixels anywhere. Returns the number of differing pixels.
    int64_t PixelsDifferingFromAFullRedraw() const
    {
        TPixelBuffer &back = Form->BackBuffer();
        std::vector<uint32_t> shown;
        for (int32_t y = 0; y < back.Height(); ++y)
            shown.insert(shown.end(), back.Row32(y), back.Row32(y) + back.Width());
        Form->RedrawAll();
        int64_t differing = 0;
        for (int32_t y = 0; y < back.Height(); ++y)
            for (int32_t x = 0; x < back.Width(); ++x)
                differing +=
                    ((shown[static_cast<size_t>(y) * back.Width() + x] ^ back.Row32(y)[x]) &
                     0xFFFFFF) != 0;
        return differing;
    }

    // The view pixel inside map cell (x, y), offset from its top-left by (dx, dy).
    QPoint At(int32_t x, int32_t y, int32_t dx = 4, int32_t dy = 4) const
    {
        const TMapViewState &view = Form->ViewState();
        return {(x - view.ScrollX) * view.ViewCellWidth + dx,
                (y - view.ScrollY) * view.ViewCellHeight + dy};
    }
    void Press(int32_t x, int32_t y, Qt::MouseButton button = Qt::LeftButton,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::mousePress(View(), button, modifiers, At(x, y));
    }
    void MoveTo(int32_t x, int32_t y, int32_t dx = 4, int32_t dy = 4)
    {
        QTest::mouseMove(View(), At(x, y, dx, dy));
    }
    void Release(int32_t x, int32_t y, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseRelease(View(), button, Qt::NoModifier, At(x, y));
    }
    // A drag cell by cell along a row or a column.
    void Drag(int32_t x0, int32_t y0, int32_t x1, int32_t y1,
              Qt::MouseButton button = Qt::LeftButton,
              Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        Press(x0, y0, button, modifiers);
        int32_t x = x0;
        int32_t y = y0;
        while (x != x1 || y != y1) {
            x += (x1 > x) - (x1 < x);
            y += (y1 > y) - (y1 < y);
            MoveTo(x, y);
        }
        Release(x1, y1, button);
    }
    void Tool(uint8_t tool) { Form->ToolInput().ToolMenuItemClick(tool); }
    size_t LogLength() const { return Map().ModifyRecords().size(); }
};
