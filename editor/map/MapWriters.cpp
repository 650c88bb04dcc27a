// The recorded cell writers: block write, tiled write and flood fill.
#include "MapDataUnit.h"

#include "DialogSeam.h"
#include "RegionFill.h"
#include "common/platform/LargeBuffer.h"

#include <algorithm>
#include <new>

void TMap::ClipToMap(TModified &Request) const
{
    TSelection &target = Request.Target;
    TSelection &source = Request.Source;
    int64_t read = 0;
    int64_t skip = 0;
    const bool clipped = target.Y < 0 || target.X < 0;
    if (target.Y < 0) {
        read += static_cast<int64_t>(-target.Y) * (static_cast<int64_t>(source.DX) + 1);
        source.Y += -target.Y;
        target.DY += target.Y;
        source.DY = target.DY;
        target.Y = 0;
    }
    if (target.X < 0) {
        source.X += -target.X;
        target.DX += target.X;
        source.DX = target.DX;
        target.X = 0;
        skip = static_cast<int64_t>(Request.SrcPitch) - source.DX;
        read += skip;
        Request.SrcPitch = source.DX;
    }
    source.Index = FWidth * source.Y + source.X;
    target.Index = FWidth * target.Y + target.X;
    if (!clipped)
        return; // the data is unchanged

    const std::vector<uint16_t> copy = std::move(Request.Data);
    Request.Data.clear();
    if (source.DX < 0 || source.DY < 0)
        return; // nothing of the block lies inside the map
    const int64_t total = static_cast<int64_t>(copy.size());
    Request.Data.reserve(static_cast<size_t>((static_cast<int64_t>(source.DX) + 1) *
                                             (static_cast<int64_t>(source.DY) + 1)));
    for (int64_t row = 0; row <= source.DY; ++row) {
        for (int64_t column = 0; column <= source.DX; ++column, ++read) {
            if (read < 0 || read >= total)
                return; // a short block: the writer beeps where the data ends
            Request.Data.push_back(copy[static_cast<size_t>(read)]);
        }
        read += skip;
    }
}

// Puts the request's values with their top-left at (X, Y), extent (EX, EY), cut at the
// map's right and bottom edges. Returns false when the data ran out (after a beep).
bool TMap::PutCells(const TModified &Request, int32_t X, int32_t Y, int32_t EX, int32_t EY,
                    int32_t Limit, int32_t &WrittenWidth, int32_t &WrittenHeight)
{
    int64_t columns = static_cast<int64_t>(EX) + 1;
    int64_t rows = static_cast<int64_t>(EY) + 1;
    int64_t rowSkip = static_cast<int64_t>(Request.SrcPitch) - EX;
    if (X + columns > FWidth) {
        columns = static_cast<int64_t>(FWidth) - X;
        rowSkip = static_cast<int64_t>(Request.Source.DX) + 1 - columns;
    }
    if (Y + rows > FHeight)
        rows = static_cast<int64_t>(FHeight) - Y;
    columns = std::max<int64_t>(columns, 0);
    rows = std::max<int64_t>(rows, 0);
    WrittenWidth = static_cast<int32_t>(columns);
    WrittenHeight = static_cast<int32_t>(rows);

    std::vector<uint16_t> &cells = FLayers[static_cast<size_t>(Request.Layer)].Data;
    const int64_t cellCount = static_cast<int64_t>(cells.size());
    const int64_t dataCount = static_cast<int64_t>(Request.Data.size());
    int64_t read = 0;
    for (int64_t r = 0; r < rows; ++r) {
        const int64_t rowStart = (static_cast<int64_t>(Y) + r) * FWidth + X;
        for (int64_t c = 0; c < columns; ++c) {
            if (read < 0 || read >= dataCount) {
                Dialogs().Beep();
                return false;
            }
            const uint16_t value = Request.Data[static_cast<size_t>(read)];
            const int64_t cell = rowStart + c;
            if (value < Limit && cell >= 0 && cell < cellCount)
                cells[static_cast<size_t>(cell)] = value;
            ++read;
        }
        read += rowSkip;
    }
    return true;
}

bool TMap::WriteData(TModified &Request, int32_t Limit)
{
    if (!Request.Target.Active || Request.Data.empty())
        return false;
    if (Request.Layer < 0 || Request.Layer > LayerCount() - 1) {
        ReportLayerNotFound(Request.Layer);
        return false;
    }
    try {
        ClipToMap(Request);
        TModifyRecord &record = CursorRecord();
        record.Before.assign(Request.Data.size(), 0);
        record.After.assign(Request.Data.size(), 0);
        record.StartIndex = Request.Target.Index;
        record.Layer = Request.Layer;
        record.Count = 0;
        record.Kind = mtData;

        const TSelection &target = Request.Target;
        const TSelection &source = Request.Source;
        int32_t writtenWidth = 0;
        int32_t writtenHeight = 0;
        SaveCells(false, target.X, target.Y, source.DX, source.DY, Request.Layer);
        PutCells(Request, target.X, target.Y, source.DX, source.DY, Limit, writtenWidth,
                 writtenHeight);
        SaveCells(true, target.X, target.Y, source.DX, source.DY, Request.Layer);
        record.Width = writtenWidth;
        record.Height = writtenHeight;
        NextRecord();
        FModified = true;
        return true;
    } catch (const std::bad_alloc &) {
        return false;
    }
}

bool TMap::WriteTiledData(TModified &Request, int32_t Limit)
{
    if (!Request.Target.Active)
        return false;
    if (Request.Layer < 0 || Request.Layer > LayerCount() - 1 || Request.Data.empty())
        return false;
    try {
        ClipToMap(Request);
        const TSelection &target = Request.Target;
        const TSelection &source = Request.Source;
        if (target.DX < 0 || target.DY < 0 || source.DX < 0 || source.DY < 0)
            return false;
        const int64_t tileWidth = static_cast<int64_t>(source.DX) + 1;
        const int64_t tileHeight = static_cast<int64_t>(source.DY) + 1;
        const int64_t tileColumns = (static_cast<int64_t>(target.DX) + tileWidth) / tileWidth;
        const int64_t tileRows = (static_cast<int64_t>(target.DY) + tileHeight) / tileHeight;

        TModifyRecord &record = CursorRecord();
        const size_t size = static_cast<size_t>((static_cast<int64_t>(target.DX) + 1) *
                                                (static_cast<int64_t>(target.DY) + 1));
        record.Before.assign(size, 0);
        record.After.assign(size, 0);
        record.Kind = mtData;
        record.StartIndex = target.Index;
        record.Layer = Request.Layer;
        record.Width = target.DX + 1;
        record.Height = target.DY + 1;
        record.Count = 0;
        SaveCells(false, target.X, target.Y, target.DX, target.DY, Request.Layer);

        const int64_t lastColumn = static_cast<int64_t>(target.X) + target.DX;
        const int64_t lastRow = static_cast<int64_t>(target.Y) + target.DY;
        for (int64_t g = 0; g < tileRows; ++g) {
            for (int64_t h = 0; h < tileColumns; ++h) {
                const int64_t x = target.X + h * tileWidth;
                const int64_t y = target.Y + g * tileHeight;
                const int64_t extentX = std::min<int64_t>(source.DX, lastColumn - x);
                const int64_t extentY = std::min<int64_t>(source.DY, lastRow - y);
                int32_t writtenWidth = 0;
                int32_t writtenHeight = 0;
                PutCells(Request, static_cast<int32_t>(x), static_cast<int32_t>(y),
                         static_cast<int32_t>(extentX), static_cast<int32_t>(extentY), Limit,
                         writtenWidth, writtenHeight);
            }
        }
        SaveCells(true, target.X, target.Y, target.DX, target.DY, Request.Layer);
        NextRecord();
        FModified = true;
        return true;
    } catch (const std::bad_alloc &) {
        return false;
    }
}

void TMap::FillArea(int32_t X, int32_t Y, const TModified &Request)
{
    if (!FReady || !Request.Source.Active || Request.Data.empty())
        return;
    if (X < 0 || X >= FWidth || Y < 0 || Y >= FHeight)
        return;
    if (Request.Layer < 0 || Request.Layer >= LayerCount())
        return;
    std::vector<uint16_t> &cells = FLayers[static_cast<size_t>(Request.Layer)].Data;
    if (static_cast<int64_t>(cells.size()) != CellCount())
        return;
    const uint16_t oldValue = cells[static_cast<size_t>(static_cast<int64_t>(Y) * FWidth + X)];
    const uint16_t newValue = Request.Data[0];
    if (newValue == oldValue)
        return;
    try {
        BeginModify();
        PrepareLayerRecord(Request.Layer);
        FillRegion(cells.data(), FWidth, FHeight, X, Y, oldValue, newValue);
        std::vector<uint16_t> &after = CursorRecord().After;
        after.reserve(cells.size());
        AdviseHugePages(after.data(), cells.size() * sizeof(uint16_t));
        after.assign(cells.begin(), cells.end()); // save-after
        NextRecord();
        EndModify();
        FModified = true;
    } catch (const std::bad_alloc &) {
        // The log record could not be made: leave the group to the next command.
    }
}
