// The parts window: the current layer's parts image, from which parts are picked. It owns
// the table of loaded parts images; the map's layers only refer to them.
#pragma once

#include "ToolWindow.h"
#include "editor/parts/ChipTable.h"

#include <memory>
#include <string>

class TMainForm;

class TChipForm : public TToolWindow, public TChipPositions, public TChipTableHost
{
    Q_OBJECT
public:
    TChipForm(TMainForm *owner, const std::string &programFolder);
    ~TChipForm() override;

    // Resets the palette for the current map document: frees every loaded image and rescans
    // the image plug-ins.
    void Init();
    // Loads (or reuses) an image and attaches it to the current layer.
    bool AddMapChip(const std::string &fileName);

    // The picked parts: a copy of the selection (part columns and rows of the image).
    TSelection GetSelectedInfo() const { return FSelection; }
    // Fills Request's Source, SrcPitch and Data with the selected parts' numbers; false
    // (Request untouched) without a map or a selection.
    bool SetCurrentData(TModified &Request) const;
    // Selects one part by number; a negative number drops the selection.
    void Selectchip(int32_t ChipNumber);
    // Moves the selection one part: 0 left, 1 right, 2 up, 3 down.
    void SelectchipAxial(int32_t Direction);

    bool GetImagePosition(int32_t ChipNumber, int32_t LayerIndex, int32_t &X,
                          int32_t &Y) const override;
    TChipTable *Table() const { return FTable.get(); }

private:
    int32_t CurrentLayer() const override;
    bool UseFixedAlignment() const override;
    std::string ProjectFolder() const override;

    TMainForm *FOwner;
    std::string FProgramFolder;
    std::unique_ptr<TChipTable> FTable;
    TSelection FSelection{1, 0, 0, 0, 0, 0};
};
