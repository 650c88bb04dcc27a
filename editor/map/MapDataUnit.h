// The map document: layers of 16-bit cells, the modification log behind undo and redo,
// whole-map transforms and the recorded cell writers. Knows nothing of windows: beeps and
// error boxes go through the dialog seam.
#pragma once

#include "DefineUnit.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

// Raised by operations that give up ("failed : create layer.", "TMap.ScrollMap : failed").
class EMapAbort : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Raised when the temporary folder that holds layers during a resize cannot be used.
class ETemporaryFolderFailure : public EMapAbort
{
public:
    explicit ETemporaryFolderFailure(std::string Folder)
        : EMapAbort("TMap.ResizeMap : failed"), FFolder(std::move(Folder))
    {
    }
    const std::string &Folder() const { return FFolder; }

private:
    std::string FFolder;
};

struct TMapLayer {
    std::vector<uint16_t> Data; // Width × Height chip numbers, row-major
    TMapChip *Chip = nullptr;   // parts image, owned by the parts palette; may be null
    std::string Name;
    bool Visible = true;
};

enum TModifyType : uint8_t {
    mtEmpty = 0,
    mtData = 1,
    mtBegin = 2,
    mtEnd = 3,
};

struct TModifyRecord {
    TModifyType Kind = mtEmpty;
    int32_t Layer = 0;
    int32_t StartIndex = 0;
    int32_t Width = 0;
    int32_t Height = 0;
    int32_t Count = 0;
    std::vector<uint16_t> Before;
    std::vector<uint16_t> After;
};

class TMap
{
public:
    TMap();
    ~TMap();
    TMap(const TMap &) = delete;
    TMap &operator=(const TMap &) = delete;

    // Whole document.
    bool Initialize(int32_t Width, int32_t Height, int32_t PartsWidth, int32_t PartsHeight,
                    uint8_t BitCount);
    void ClearLayers();

    // Queries.
    int32_t Width() const { return FWidth; }
    int32_t Height() const { return FHeight; }
    void GetSize(int32_t &Width, int32_t &Height) const;
    int32_t PartsWidth() const { return FPartsWidth; }
    int32_t PartsHeight() const { return FPartsHeight; }
    void GetPartsSize(int32_t &PartsWidth, int32_t &PartsHeight) const;
    int32_t LayerCount() const { return static_cast<int32_t>(FLayers.size()); }
    bool IsReady() const { return FReady; }
    bool IsModified() const { return FModified; }
    uint8_t BitCount() const { return FBitCount; }
    // Number of cells of one layer; may exceed 2^31 only in theory, so 64 bits.
    int64_t CellCount() const { return static_cast<int64_t>(FWidth) * FHeight; }

    // Flags.
    void SetModified() { FModified = true; }
    void ClearModified() { FModified = false; }
    void SetPartsSize(uint16_t PartsWidth, uint16_t PartsHeight);

    // Layer list.
    bool AddLayer(const std::string &Name, TMapChip *Chip, int32_t FillValue);
    // The same with the layer's Width × Height cells copied from Cells (a loaded file),
    // which spares filling a layer that is overwritten at once.
    bool AddLayer(const std::string &Name, TMapChip *Chip, const uint16_t *Cells);
    // The same taking over Cells, which must hold Width × Height values; nothing is
    // allocated for the cells, so adding a layer read beforehand cannot run out of memory.
    bool AddLayer(const std::string &Name, TMapChip *Chip, std::vector<uint16_t> &&Cells);
    bool DuplicateLayer(int32_t Index, const std::string &Name);
    void DeleteLayer(int32_t Index);
    void SwapLayers(int32_t A, int32_t B);
    bool MergeLayer(int32_t Dest, int32_t Source, uint16_t Transparent);

    // Layer properties.
    TMapLayer &GetLayer(int32_t Index) { return FLayers[static_cast<size_t>(Index)]; }
    const TMapLayer &GetLayer(int32_t Index) const { return FLayers[static_cast<size_t>(Index)]; }
    std::string GetLayerName(int32_t Index) const;
    void SetLayerName(int32_t Index, const std::string &Name);
    TMapChip *GetLayerChip(int32_t Index) const;
    void SetLayerChip(int32_t Index, TMapChip *Chip);
    void ClearLayerChip(int32_t Index);
    bool GetLayerVisible(int32_t Index) const;
    void SetLayerVisible(int32_t Index, bool Visible);
    // 0 <= Index <= LayerCount - 1 and Index <= 255.
    bool IsValidLayer(int32_t Index) const;

    // Block read: copies Request.Source of layer Request.Layer into Request.Data.
    bool ReadData(TModified &Request) const;

    // Modification log.
    bool BeginModify();
    bool EndModify();
    bool InModify() const;
    // Closes a group that was opened and got no record, without a sound.
    void DropEmptyModify();
    bool CanUndo() const;
    bool CanRedo() const;
    void Undo(TSelection &Changed);
    void Redo(TSelection &Changed);
    void FlushModify();
    const std::vector<TModifyRecord> &ModifyRecords() const { return FModifyRecords; }
    int32_t ModifyCursor() const { return FModifyCursor; }

    // Recorded cell writers.
    void ClipToMap(TModified &Request) const;
    bool WriteData(TModified &Request, int32_t Limit);
    bool WriteTiledData(TModified &Request, int32_t Limit);
    void FillArea(int32_t X, int32_t Y, const TModified &Request);

    // Transforms.
    void ResizeMap(int32_t NewWidth, int32_t NewHeight, const TProgressProc &Progress,
                   uint16_t FillValue, uint8_t VerticalAnchor, uint8_t HorizontalAnchor);
    bool ScrollMap(int32_t DX, int32_t DY, int32_t LayerIndex, const TProgressProc &Progress);
    void RemapChipNumbers(int32_t OldColumns, int32_t NewColumns, uint8_t BitCount,
                          uint16_t DefaultValue, int32_t LayerIndex);
    // How many cells of the layer RemapChipNumbers would give a number at or above the new
    // bit count's value limit (and so reset).
    int64_t CountRemapOverflows(int32_t OldColumns, int32_t NewColumns, uint8_t BitCount,
                                int32_t LayerIndex) const;
    bool ReplaceChip(uint16_t FindValue, uint16_t ReplaceValue, int32_t LayerIndex);
    // The cell scan behind the main window's Find: index of the first cell at or after
    // StartIndex of the layer that holds Value, or -1.
    int64_t FindChip(uint16_t Value, int32_t LayerIndex, int64_t StartIndex) const;

    // Debug dumps ("map.txt", "modify.txt") into Folder, the current folder when empty.
    bool DebugOut_Map(const std::string &Folder = std::string()) const;
    bool DebugOut_Modify(const std::string &Folder = std::string()) const;

private:
    TModifyRecord &CursorRecord() { return FModifyRecords[static_cast<size_t>(FModifyCursor)]; }
    const TModifyRecord *RecordBeforeCursor() const;
    void NextRecord();
    void AbandonGroup(int32_t Slot);
    void PrepareLayerRecord(int32_t LayerIndex);
    void SaveCells(bool After, int32_t X, int32_t Y, int32_t DX, int32_t DY, int32_t LayerIndex);
    bool PutCells(const TModified &Request, int32_t X, int32_t Y, int32_t EX, int32_t EY,
                  int32_t Limit, int32_t &WrittenWidth, int32_t &WrittenHeight);
    void Replay(const TModifyRecord &Record, bool UseAfter, int32_t Box[4], TSelection &Changed);
    void ReportLayerNotFound(int32_t Layer) const;

    std::vector<TMapLayer> FLayers;
    int32_t FWidth = 1;
    int32_t FHeight = 1;
    int32_t FPartsWidth = 32;
    int32_t FPartsHeight = 32;
    uint8_t FBitCount = 0;
    std::vector<TModifyRecord> FModifyRecords;
    int32_t FModifyCursor = 0;
    bool FReady = false;
    bool FModified = false;
};
