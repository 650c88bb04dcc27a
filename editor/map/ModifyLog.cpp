// The modification log: groups of before/after records behind undo and redo.
#include "MapDataUnit.h"

#include "DialogSeam.h"
#include "common/platform/LargeBuffer.h"

#include <algorithm>

namespace
{

TModifyRecord Marker(TModifyType kind)
{
    TModifyRecord record;
    record.Kind = kind;
    record.Before.assign(1, 0);
    record.After.assign(1, 0);
    return record;
}

} // namespace

const TModifyRecord *TMap::RecordBeforeCursor() const
{
    if (FModifyCursor < 1)
        return nullptr;
    return &FModifyRecords[static_cast<size_t>(FModifyCursor - 1)];
}

void TMap::NextRecord()
{
    // Grown before the cursor moves, so running out of memory leaves the cursor valid.
    FModifyRecords.resize(static_cast<size_t>(FModifyCursor) + 2);
    ++FModifyCursor;
    FModifyRecords[static_cast<size_t>(FModifyCursor)] = TModifyRecord();
}

// Puts back the layers of the whole-layer records after Slot (whose layer kept its size)
// and drops those records, so an operation that failed half-way leaves no trace.
void TMap::AbandonGroup(int32_t Slot)
{
    for (int32_t i = FModifyCursor; i > Slot; --i) {
        const TModifyRecord &record = FModifyRecords[static_cast<size_t>(i)];
        if (record.Kind != mtData || !IsValidLayer(record.Layer))
            continue;
        std::vector<uint16_t> &cells = FLayers[static_cast<size_t>(record.Layer)].Data;
        if (record.StartIndex == 0 && record.Before.size() == cells.size())
            std::copy(record.Before.begin(), record.Before.end(), cells.begin());
    }
    FModifyRecords.resize(static_cast<size_t>(Slot) + 1);
    FModifyCursor = Slot;
    CursorRecord() = TModifyRecord();
}

bool TMap::BeginModify()
{
    const TModifyRecord *previous = RecordBeforeCursor();
    if (previous != nullptr && previous->Kind == mtBegin) {
        Dialogs().Beep();
        return false;
    }
    CursorRecord() = Marker(mtBegin);
    NextRecord();
    return true;
}

bool TMap::EndModify()
{
    const TModifyRecord *previous = RecordBeforeCursor();
    if (previous == nullptr || previous->Kind == mtEnd) {
        // No group is open.
        Dialogs().Beep();
        return false;
    }
    if (previous->Kind == mtBegin) {
        // An empty group vanishes.
        Dialogs().Beep();
        FModifyRecords.erase(FModifyRecords.begin() + FModifyCursor);
        --FModifyCursor;
        CursorRecord() = TModifyRecord();
        return false;
    }
    CursorRecord() = Marker(mtEnd);
    NextRecord();
    return true;
}

void TMap::DropEmptyModify()
{
    const TModifyRecord *previous = RecordBeforeCursor();
    if (previous != nullptr && previous->Kind == mtBegin)
        AbandonGroup(FModifyCursor - 1);
}

bool TMap::InModify() const
{
    const TModifyRecord *previous = RecordBeforeCursor();
    return previous != nullptr && previous->Kind != mtEnd;
}

bool TMap::CanUndo() const
{
    const TModifyType kind = FModifyRecords[static_cast<size_t>(FModifyCursor)].Kind;
    return FModifyCursor > 0 && (kind == mtEmpty || kind == mtBegin);
}

bool TMap::CanRedo() const
{
    const int32_t last = static_cast<int32_t>(FModifyRecords.size()) - 1;
    return FModifyCursor < last &&
           FModifyRecords[static_cast<size_t>(FModifyCursor)].Kind == mtBegin;
}

void TMap::FlushModify()
{
    FModifyRecords.clear();
    FModifyRecords.shrink_to_fit();
    FModifyRecords.resize(1);
    FModifyCursor = 0;
}

// Writes one record's Before or After values back and widens the changed box
// (Box = MinX, MinY, MaxX, MaxY; MaxX = MaxY = -1 while empty). Cells that no longer
// exist — the layer was deleted, or the map shrank since the record was made — are skipped.
void TMap::Replay(const TModifyRecord &Record, bool UseAfter, int32_t Box[4], TSelection &Changed)
{
    if (FWidth <= 0)
        return;
    const int32_t x0 = Record.StartIndex % FWidth;
    const int32_t y0 = Record.StartIndex / FWidth;
    const int32_t x1 = x0 + Record.Width;
    const int32_t y1 = y0 + Record.Height;
    if (Box[2] == -1 && Box[3] == -1) {
        Box[0] = x0;
        Box[1] = y0;
        Box[2] = x1;
        Box[3] = y1;
    }
    Box[0] = std::min(Box[0], x0);
    Box[1] = std::min(Box[1], y0);
    Box[2] = std::max(Box[2], x1);
    Box[3] = std::max(Box[3], y1);
    Changed.Active = 1;

    if (!IsValidLayer(Record.Layer))
        return;
    std::vector<uint16_t> &cells = FLayers[static_cast<size_t>(Record.Layer)].Data;
    const std::vector<uint16_t> &values = UseAfter ? Record.After : Record.Before;
    const int64_t cellCount = static_cast<int64_t>(cells.size());
    const int64_t valueCount = static_cast<int64_t>(values.size());
    for (int64_t r = 0; r < Record.Height; ++r) {
        for (int64_t c = 0; c < Record.Width; ++c) {
            if (x0 + c >= FWidth)
                break;
            const int64_t cell = Record.StartIndex + c + r * FWidth;
            const int64_t value = r * Record.Width + c;
            if (cell < 0 || cell >= cellCount || value >= valueCount)
                continue;
            cells[static_cast<size_t>(cell)] = values[static_cast<size_t>(value)];
        }
    }
}

namespace
{

void FillChanged(const int32_t Box[4], int32_t MapWidth, TSelection &Changed)
{
    if (!Changed.Active)
        return;
    Changed.X = Box[0];
    Changed.Y = Box[1];
    Changed.DX = Box[2] - 1 - Box[0];
    Changed.DY = Box[3] - 1 - Box[1];
    Changed.Index = Changed.Y * MapWidth + Changed.X;
}

} // namespace

void TMap::Undo(TSelection &Changed)
{
    Changed.Active = 0;
    if (!CanUndo())
        return;
    --FModifyCursor;
    int32_t box[4] = {0, 0, -1, -1};
    while (CursorRecord().Kind != mtBegin && FModifyCursor > 0) {
        --FModifyCursor;
        const TModifyRecord &record = CursorRecord();
        if (record.Kind == mtData)
            Replay(record, false, box, Changed);
    }
    FillChanged(box, FWidth, Changed);
    FModified = true;
}

void TMap::Redo(TSelection &Changed)
{
    Changed.Active = 0;
    const int32_t last = static_cast<int32_t>(FModifyRecords.size()) - 1;
    if (!CanRedo())
        return;
    int32_t box[4] = {0, 0, -1, -1};
    while (CursorRecord().Kind != mtEnd && FModifyCursor < last) {
        const TModifyRecord &record = CursorRecord();
        if (record.Kind == mtData)
            Replay(record, true, box, Changed);
        ++FModifyCursor;
    }
    // Past the group's end; a group left open when it was undone has no end marker,
    // and the cursor then stays on the final slot.
    FModifyCursor = std::min(FModifyCursor + 1, last);
    FillChanged(box, FWidth, Changed);
    FModified = true;
}

// A record covering the whole layer; Before holds the layer's cells as they are now
// (save-before over the whole map); the caller takes After once the layer has changed.
void TMap::PrepareLayerRecord(int32_t LayerIndex)
{
    TModifyRecord &record = CursorRecord();
    const std::vector<uint16_t> &cells = FLayers[static_cast<size_t>(LayerIndex)].Data;
    // A whole layer is new memory filled at once: huge pages spare most of the page faults.
    record.Before.clear();
    record.Before.reserve(cells.size());
    AdviseHugePages(record.Before.data(), cells.size() * sizeof(uint16_t));
    record.Before.assign(cells.begin(), cells.end());
    record.After.clear();
    record.Kind = mtData;
    record.StartIndex = 0;
    record.Layer = LayerIndex;
    record.Width = FWidth;
    record.Height = FHeight;
    record.Count = static_cast<int32_t>(std::min<int64_t>(CellCount(), INT32_MAX));
}

// save-before / save-after over the rectangle (X, Y) + (DX, DY), cut at the map's
// right and bottom edges.
void TMap::SaveCells(bool After, int32_t X, int32_t Y, int32_t DX, int32_t DY, int32_t LayerIndex)
{
    TModifyRecord &record = CursorRecord();
    std::vector<uint16_t> &values = After ? record.After : record.Before;
    record.Count = 0;
    if (LayerIndex < 0 || LayerIndex >= LayerCount())
        return;
    const std::vector<uint16_t> &cells = FLayers[static_cast<size_t>(LayerIndex)].Data;
    int64_t width = static_cast<int64_t>(DX) + 1;
    int64_t height = static_cast<int64_t>(DY) + 1;
    if (X + width > FWidth)
        width = static_cast<int64_t>(FWidth) - X;
    if (Y + height > FHeight)
        height = static_cast<int64_t>(FHeight) - Y;
    const int64_t cellCount = static_cast<int64_t>(cells.size());
    const int64_t valueCount = static_cast<int64_t>(values.size());

    // The whole layer at once: the common case of bulk operations.
    if (X == 0 && Y == 0 && width == FWidth && height == FHeight && valueCount >= cellCount &&
        width * height == cellCount) {
        std::copy(cells.begin(), cells.end(), values.begin());
        record.Count = static_cast<int32_t>(cellCount);
        return;
    }
    int64_t count = 0;
    for (int64_t r = 0; r < height; ++r) {
        for (int64_t c = 0; c < width; ++c, ++count) {
            const int64_t cell = (static_cast<int64_t>(Y) + r) * FWidth + X + c;
            if (cell < 0 || cell >= cellCount || count >= valueCount)
                continue;
            values[static_cast<size_t>(count)] = cells[static_cast<size_t>(cell)];
        }
    }
    record.Count = static_cast<int32_t>(count);
}
