// The main window as the window-message interface sees it.
#pragma once

#include "WindowMessageHost.h"

class TMainForm;

class TMainFormMessageHost : public TWindowMessageHost
{
public:
    explicit TMainFormMessageHost(TMainForm &form) : FForm(form) {}

    TMap *Map() override;
    TSelection GetSelection() const override;
    void SetSelection(const TSelection &selection) override;
    void RedrawCells(const TSelection &area) override;
    void CellsChanged() override;
    bool PartsAlignmentNotFixed() const override;
    int32_t GetMaxIndex() const override;
    bool CreateNewMap(int32_t width, int32_t height, int32_t layerCount, int32_t partsWidth,
                      int32_t partsHeight, uint8_t bitCount, bool fixedAlignment) override;

private:
    TMainForm &FForm;
};
