// A map with parts images the tests draw themselves, and a reference of what a cell shows.
#pragma once

#include "editor/map/MapDataUnit.h"
#include "editor/render/BackgroundBitmap.h"
#include "editor/render/MapViewRenderer.h"
#include "editor/render/RasterPrimitives.h"

#include <memory>
#include <vector>

// Part n lies at column n mod Columns, row n div Columns.
class TFixedColumns : public TChipPositions
{
public:
    int32_t Columns = 4;
    int32_t PartsWidth = 8;
    int32_t PartsHeight = 8;
    bool GetImagePosition(int32_t ChipNumber, int32_t, int32_t &X, int32_t &Y) const override
    {
        X = PartsWidth * (ChipNumber % Columns);
        Y = PartsHeight * (ChipNumber / Columns);
        return true;
    }
};

// Every pixel of every part is unique: image tag, part number and the pixel's place in it.
inline uint32_t PartPixel(uint32_t Tag, uint32_t Part, int32_t X, int32_t Y)
{
    return (Tag << 20) | ((Part & 0xF) << 16) | (static_cast<uint32_t>(X) << 8) |
           static_cast<uint32_t>(Y);
}

constexpr uint32_t kKeyColor = 0x00FF00FF; // colour value RGB(255, 0, 255)
constexpr uint32_t kKeyPixel = 0x00FF00FF;

inline uint32_t CheckerPixel(int32_t X, int32_t Y)
{
    return ((X % 8 < 4) == (Y % 8 < 4)) ? 0x00D0D0D0u : 0x00FFFFFFu;
}

class TRenderFixture
{
public:
    TMap Map;
    std::vector<std::unique_ptr<TMapChip>> Chips;
    TFixedColumns Parts;
    TMapViewState State;
    TPixelBuffer Back;
    TPixelBuffer Background = MakeBackgroundBitmap();

    // A ready map of Layers layers, every cell 0, and a view of ViewWidth × ViewHeight at
    // 100 % with every overlay off.
    void MakeView(int32_t Width, int32_t Height, int32_t PartsWidth, int32_t PartsHeight,
                  int32_t Layers, int32_t ViewWidth, int32_t ViewHeight)
    {
        Map.Initialize(Width, Height, PartsWidth, PartsHeight, 8);
        for (int32_t i = 0; i < Layers; ++i)
            Map.AddLayer("Layer" + std::to_string(i), nullptr, 0);
        Parts.PartsWidth = PartsWidth;
        Parts.PartsHeight = PartsHeight;
        State.ViewReady = true;
        State.Initialized = true;
        State.ViewWidth = ViewWidth;
        State.ViewHeight = ViewHeight;
        State.ViewCellWidth = PartsWidth;
        State.ViewCellHeight = PartsHeight;
        State.CurrentLayer = 0;
        State.ShowGrid = false;
        State.ShowCGrid = false;
        Back.SetSize(ViewWidth, ViewHeight, 32);
    }

    // Gives the layer an image of Parts.Columns × Rows parts tagged Tag. KeyLeftHalf makes
    // the left half of every part the key colour.
    TPixelBuffer &GiveImage(int32_t Layer, uint32_t Tag, int32_t Rows = 4, bool KeyLeftHalf = false)
    {
        const int32_t pw = Parts.PartsWidth;
        const int32_t ph = Parts.PartsHeight;
        auto image = std::make_unique<TPixelBuffer>(Parts.Columns * pw, Rows * ph, 32);
        for (int32_t y = 0; y < image->Height(); ++y)
            for (int32_t x = 0; x < image->Width(); ++x) {
                const uint32_t part = static_cast<uint32_t>((y / ph) * Parts.Columns + x / pw);
                image->SetPixel(x, y,
                                KeyLeftHalf && x % pw < pw / 2
                                    ? kKeyPixel
                                    : PartPixel(Tag, part, x % pw, y % ph));
            }
        auto chip = std::make_unique<TMapChip>();
        TPixelBuffer &result = *image;
        chip->Image = std::move(image);
        Map.SetLayerChip(Layer, chip.get());
        Chips.push_back(std::move(chip));
        return result;
    }

    void SetCell(int32_t Layer, int32_t X, int32_t Y, uint16_t Value)
    {
        Map.GetLayer(Layer).Data[static_cast<size_t>(Y) * Map.Width() + X] = Value;
    }

    // Cell values v(x, y) = (x + 2y) mod Modulo in every layer.
    void FillPattern(int32_t Modulo)
    {
        for (int32_t l = 0; l < Map.LayerCount(); ++l)
            for (int32_t y = 0; y < Map.Height(); ++y)
                for (int32_t x = 0; x < Map.Width(); ++x)
                    SetCell(l, x, y, static_cast<uint16_t>((x + 2 * y + l) % Modulo));
    }

    TMapViewRenderer Renderer() { return TMapViewRenderer(Map, State, Parts, Back, &Background); }

    // What the layers alone (normal display, no overlays) put at view pixel (X, Y).
    uint32_t Expected(int32_t X, int32_t Y) const
    {
        const int32_t cw = State.ViewCellWidth;
        const int32_t ch = State.ViewCellHeight;
        const int32_t pw = Map.PartsWidth();
        const int32_t ph = Map.PartsHeight();
        const int32_t mx = X / cw + State.ScrollX;
        const int32_t my = Y / ch + State.ScrollY;
        uint32_t pixel = CheckerPixel(X, Y);
        if (mx >= Map.Width() || my >= Map.Height())
            return pixel;
        for (int32_t l = 0; l < Map.LayerCount(); ++l) {
            if (State.CurrentLayerOnly && l != State.CurrentLayer)
                continue;
            const TMapLayer &layer = Map.GetLayer(l);
            if (!layer.Visible || layer.Chip == nullptr)
                continue;
            const uint16_t v = layer.Data[static_cast<size_t>(my) * Map.Width() + mx];
            if (State.UseInvisiblePart && v == State.InvisiblePart)
                continue;
            const bool keyed = State.TransEnabled && l != 0;
            const int32_t ox = X % cw;
            const int32_t oy = Y % ch;
            int32_t sx, sy;
            if (keyed || cw < pw || ch < ph) {
                sx = static_cast<int32_t>(ox * static_cast<int64_t>(pw * 256 / cw) / 256);
                sy = static_cast<int32_t>(oy * static_cast<int64_t>(ph * 256 / ch) / 256);
            } else {
                sx = ox * pw / cw;
                sy = oy * ph / ch;
            }
            int32_t ix, iy;
            Parts.GetImagePosition(v, l, ix, iy);
            const auto *image = static_cast<const TPixelBuffer *>(layer.Chip->Image.get());
            if (iy + sy >= image->Height())
                continue;
            const uint32_t src = image->Pixel(ix + sx, iy + sy);
            if (keyed && src == ColorToPixel32(State.TransColor))
                continue;
            pixel = src;
        }
        return pixel;
    }

    // Counts pixels of the back buffer that differ from Expected within Rect.
    int CountMismatches(const TPixelRect &Rect) const
    {
        int mismatches = 0;
        for (int32_t y = Rect.Top; y < Rect.Bottom; ++y)
            for (int32_t x = Rect.Left; x < Rect.Right; ++x)
                if (Back.Pixel(x, y) != Expected(x, y))
                    ++mismatches;
        return mismatches;
    }
};
