#include "SelectionRules.h"

void FixSelection(TSelection &S, int32_t MapWidth)
{
    if (S.DX < 0) {
        S.X += S.DX;
        S.DX = -S.DX;
    }
    if (S.DY < 0) {
        S.Y += S.DY;
        S.DY = -S.DY;
    }
    S.Index = MapWidth * S.Y + S.X;
}

void ClipSelection(TSelection &S, int32_t MapWidth, int32_t MapHeight)
{
    if (S.X < 0) {
        S.DX += S.X;
        S.X = 0;
    } else if (S.X + S.DX >= MapWidth) {
        S.DX = MapWidth - 1 - S.X;
    }
    if (S.Y < 0) {
        S.DY += S.Y;
        S.Y = 0;
    } else if (S.Y + S.DY >= MapHeight) {
        S.DY = MapHeight - 1 - S.Y;
    }
    S.Index = MapWidth * S.Y + S.X;
}

bool IsFailedSelection(const TSelection &S, int32_t MapWidth, int32_t MapHeight)
{
    const int64_t cells = static_cast<int64_t>(MapWidth) * MapHeight;
    return !S.Active || S.X < 0 || S.X > MapWidth - 1 || S.Y < 0 || S.Y > MapHeight - 1 ||
           S.DX < 0 || S.DX > MapWidth - 1 || S.DY < 0 || S.DY > MapHeight - 1 || S.Index < 0 ||
           S.Index > cells - 1;
}

bool LiesInsideMap(const TSelection &S, int32_t MapWidth, int32_t MapHeight)
{
    return !IsFailedSelection(S, MapWidth, MapHeight) &&
           static_cast<int64_t>(S.X) + S.DX < MapWidth &&
           static_cast<int64_t>(S.Y) + S.DY < MapHeight;
}

TSelection CellSelection(int32_t X, int32_t Y, int32_t MapWidth)
{
    return TSelection{1, X, Y, 0, 0, Y * MapWidth + X};
}

bool SelectionContains(const TSelection &S, int32_t Column, int32_t Row)
{
    return S.X <= Column && Column <= S.X + S.DX && S.Y <= Row && Row <= S.Y + S.DY;
}

bool BlockOverlapsMap(const TSelection &S, int32_t MapWidth, int32_t MapHeight)
{
    return S.X + S.DX >= 0 && S.Y + S.DY >= 0 && S.X < MapWidth && S.Y < MapHeight;
}

int32_t PasteOrigin(int32_t MapSize, int32_t ViewPixels, int32_t CellPixels, int32_t Scroll,
                    int32_t Extent)
{
    const bool fits = CellPixels <= 0 || static_cast<int64_t>(MapSize) * CellPixels <= ViewPixels;
    const int32_t middle = fits ? (MapSize - 1) / 2 : (ViewPixels / CellPixels) / 2 + Scroll;
    return middle - Extent / 2;
}

int64_t FindStartIndex(const TSelection &Selection, bool FoundMark)
{
    // A find result at cell 0 must not be found again and again.
    if (Selection.Active && (Selection.Index != 0 || FoundMark))
        return static_cast<int64_t>(Selection.Index) + 1;
    return 0;
}
