// Picking parts in the parts window: pressing, dragging and releasing in the view, picking by
// number and by arrow keys, the pen data the pick becomes, the invisible part and the
// transparent colour taken from the image.
#include "ChipForm.h"

#include "ChipTable.h"
#include "editor/map/DialogSeam.h"
#include "editor/map/MapDataUnit.h"
#include "editor/render/RasterPrimitives.h"

namespace
{
// Pointer positions left of or above the view belong to the cells before the first one.
int32_t FloorDiv(int32_t A, int32_t B)
{
    return A >= 0 ? A / B : -((-A + B - 1) / B);
}

QString Text(int32_t index, const char *english)
{
    return QString::fromStdString(Dialogs().GetLangString(index, english));
}
} // namespace

void TChipForm::FixSelection(TSelection &Selection, int32_t AlignX)
{
    if (Selection.DX < 0) {
        Selection.X += Selection.DX;
        Selection.DX = -Selection.DX;
    }
    if (Selection.DY < 0) {
        Selection.Y += Selection.DY;
        Selection.DY = -Selection.DY;
    }
    Selection.Index = Selection.Y * AlignX + Selection.X;
}

bool TChipForm::IsValidPart(int32_t Column, int32_t Row) const
{
    return Column >= 0 && Row >= 0 && Column < AlignX() && Row < AlignY() &&
           static_cast<int64_t>(Row) * AlignX() + Column < ValueLimit();
}

void TChipForm::ViewMouseDown(int32_t X, int32_t Y, bool Ctrl)
{
    const TMap *map = FHost.Map();
    if (map == nullptr || !map->IsReady() || !FTable)
        return;
    if (Ctrl) {
        PickTransparentColor(X, Y);
        return;
    }
    const int32_t cellX = FloorDiv(X, FCellWidth);
    const int32_t cellY = FloorDiv(Y, FCellHeight);
    const int32_t column = cellX + FScrollX;
    const int32_t row = cellY + FScrollY;
    if (!IsValidPart(column, row))
        return;
    FSelection = TSelection{1, column, row, 0, 0, column + row * AlignX()};
    FPressCellX = cellX;
    FPressCellY = cellY;
    FHost.ExitPattern();
    FDragging = true;
    UpdatePickCanvas();
}

void TChipForm::ViewMouseMove(int32_t X, int32_t Y)
{
    const int32_t cellX = FloorDiv(X, FCellWidth);
    const int32_t cellY = FloorDiv(Y, FCellHeight);
    if (FDragging) {
        if (cellX == FPressCellX && cellY == FPressCellY)
            return;
        FPressCellX = cellX;
        FPressCellY = cellY;
        FSelection.DX = cellX + FScrollX - FSelection.X;
        FSelection.DY = cellY + FScrollY - FSelection.Y;
        // The rectangle stays within the image's columns and rows on every side.
        if (FSelection.X + FSelection.DX < 0)
            FSelection.DX = -FSelection.X;
        if (FSelection.X + FSelection.DX >= AlignX())
            FSelection.DX = AlignX() - FSelection.X - 1;
        if (FSelection.Y + FSelection.DY < 0)
            FSelection.DY = -FSelection.Y;
        if (FSelection.Y + FSelection.DY >= AlignY())
            FSelection.DY = AlignY() - FSelection.Y - 1;
        UpdatePickCanvas();
    }
    const int32_t column = cellX + FScrollX;
    const int32_t row = cellY + FScrollY;
    if (IsValidPart(column, row))
        SetStatus(0, Text(1, "Corsor") + QString("(%1, %2)=(%3)")
                                             .arg(column)
                                             .arg(row)
                                             .arg(static_cast<int64_t>(row) * AlignX() + column));
    else
        SetStatus(0, Text(1, "Corsor") + "(" + Text(27, "Invalid parts") + ")");
}

void TChipForm::ViewMouseUp()
{
    FDragging = false;
    if (FKeepOnScreenPending) {
        FKeepOnScreenPending = false;
        KeepRightEdgeOnScreen();
    }
    if (!FTable)
        return;
    FixSelection(FSelection, AlignX());
    if (!FSelection.Active)
        return;
    if (FSelection.Index >= ValueLimit() || FSelection.X >= AlignX() || FSelection.Y >= AlignY()) {
        FSelection.Active = 0;
        UpdatePickCanvas();
        return;
    }
    const TSelection &s = FSelection;
    SetStatus(1,
              Text(2, "Selection") +
                  QString("(%1, %2)-(%3, %4)").arg(s.X).arg(s.Y).arg(s.X + s.DX).arg(s.Y + s.DY));
    const TChipFormLook look = FHost.Look();
    if (s.DX > 0 || s.DY > 0)
        SetStatus(2, Text(26, "Select") +
                         QString("(%1 ... %2)").arg(s.Index).arg(s.DY * AlignX() + s.Index + s.DX));
    else if (look.UseInvisiblePart && s.Index == look.InvisiblePart)
        SetStatus(2, Text(26, "Select") + "(" + Text(28, "Invisible parts") + ")");
    else
        SetStatus(2, Text(26, "Select") + QString("(%1)").arg(s.Index));
    UpdatePickCanvas();
}

void TChipForm::ViewDoubleClick()
{
    if (!FSelection.Active || !FTable)
        return;
    if (FSelection.Index < static_cast<int64_t>(AlignX()) * AlignY()) {
        FHost.SetInvisiblePart(static_cast<uint16_t>(FSelection.Index));
        UpdatePickCanvas();
    }
}

bool TChipForm::SetCurrentData(TModified &Request) const
{
    if (FHost.Map() == nullptr || !FSelection.Active)
        return false;
    const int32_t columns = AlignX();
    Request.Source = FSelection;
    Request.SrcPitch = FSelection.DX;
    Request.Data.resize(static_cast<size_t>(FSelection.DX + 1) *
                        static_cast<size_t>(FSelection.DY + 1));
    for (int32_t i = 0; i <= FSelection.DY; ++i)
        for (int32_t j = 0; j <= FSelection.DX; ++j)
            Request.Data[static_cast<size_t>(j + (FSelection.DX + 1) * i)] =
                static_cast<uint16_t>((i + FSelection.Y) * columns + j + FSelection.X);
    return true;
}

void TChipForm::Selectchip(int32_t ChipNumber)
{
    const int32_t columns = AlignX();
    if (ChipNumber < 0 || columns <= 0) {
        FSelection.Active = 0;
        SetStatus(2, Text(10, "Selection N/A"));
    } else {
        FSelection = TSelection{1, ChipNumber % columns, ChipNumber / columns, 0, 0, ChipNumber};
        SetStatus(2, Text(26, "Select") + QString("(%1)").arg(ChipNumber));
    }
    UpdatePickCanvas();
}

void TChipForm::SelectchipAxial(int32_t Direction)
{
    const int32_t columns = AlignX();
    int32_t x = FSelection.X;
    int32_t y = FSelection.Y;
    switch (Direction) {
    case 0:
        if (x > 0)
            --x;
        break;
    case 1:
        if (x < columns - FSelection.DX - 1)
            ++x;
        break;
    case 2:
        if (y > 0)
            --y;
        break;
    case 3:
        if (y < AlignY() - FSelection.DY - 1)
            ++y;
        break;
    default:
        return;
    }
    const int64_t index = x + static_cast<int64_t>(columns) * y;
    if (index >= ValueLimit())
        return;
    FSelection.X = x;
    FSelection.Y = y;
    FSelection.Index = static_cast<int32_t>(index);
    FSelection.Active = 1;
    SetStatus(2, Text(26, "Select") + QString("(%1)").arg(index));
    FHost.ExitPattern();
    UpdatePickCanvas();
}

void TChipForm::PickTransparentColor(int32_t X, int32_t Y)
{
    const TMap *map = FHost.Map();
    uint32_t pixel = 0;
    bool found = false;
    if (TPixelBuffer *image = CurrentImage()) {
        // The image pixel shown under the pointer: the inverse of the picture's scaling.
        const int32_t shownWidth = ScaledImageSize(image->Width(), FCellWidth, map->PartsWidth());
        const int32_t shownHeight =
            ScaledImageSize(image->Height(), FCellHeight, map->PartsHeight());
        if (X >= 0 && Y >= 0 && X < shownWidth && Y < shownHeight) {
            const auto xs =
                static_cast<int64_t>(static_cast<double>(image->Width()) / shownWidth * 256.0);
            const auto ys =
                static_cast<int64_t>(static_cast<double>(image->Height()) / shownHeight * 256.0);
            const int64_t ix = static_cast<int64_t>(map->PartsWidth()) * FScrollX + ((X * xs) >> 8);
            const int64_t iy =
                static_cast<int64_t>(map->PartsHeight()) * FScrollY + ((Y * ys) >> 8);
            if (ix < image->Width() && iy < image->Height()) {
                pixel = image->Pixel(static_cast<int32_t>(ix), static_cast<int32_t>(iy));
                found = true;
            }
        }
    }
    if (!found) {
        // Beyond the image (or without one) the window's own picture is what is shown.
        if (X < 0 || Y < 0 || X >= FBack.Width() || Y >= FBack.Height())
            return;
        pixel = FBack.Pixel(X, Y);
    }
    const uint32_t color = PixelToColor(pixel);
    const QString text = QString("(R, G, B) = (%1, %2, %3) : ")
                             .arg(color & 0xFF)
                             .arg((color >> 8) & 0xFF)
                             .arg((color >> 16) & 0xFF) +
                         QString::fromStdString(Dialogs().GetLangMessage(
                             27, "Is this color set as a transparent color?"));
    if (Dialogs().AskQuestion("Tessella", text.toStdString(), TQuestionButtons::YesNo,
                              TQuestionIcon::Question) == TAnswer::Yes)
        FHost.SetTransColor(color);
}
