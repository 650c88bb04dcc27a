// The layer window: the map's layers, topmost first, with their visibility check marks;
// the selected entry is the current layer every tool works on.
#pragma once

#include "ToolWindow.h"

#include <string>

class QLabel;
class QListWidget;
class QListWidgetItem;
class TMainForm;
struct TMapChip;

class TLayerForm : public TToolWindow
{
    Q_OBJECT
public:
    explicit TLayerForm(TMainForm *owner);

    // Empties the list for a new map.
    void Init();
    // Creates a layer in the map with this name and image and makes it current. Named
    // layers come from new maps and loaded files; false when the map refused.
    // Cells, when given, are the layer's Width × Height values (from a loaded file).
    bool AddLayer(const std::string &name, TMapChip *chip = nullptr,
                  const uint16_t *cells = nullptr);

    // -1 when the list is empty.
    int32_t GetCurrentLayerIndex() const;
    bool GetLayerVisibleState(int32_t layerIndex) const;
    bool SetLayerVisibleState(int32_t layerIndex, bool visible);
    void SelectLayer(int32_t layerIndex);
    int32_t AddCount() const { return FAddCount; }

private:
    int32_t ListRowOf(int32_t layerIndex) const;
    void ItemChanged(QListWidgetItem *item);
    void UpdateStatus();

    TMainForm *FOwner;
    QListWidget *FList;
    QLabel *FStatus;
    int32_t FAddCount = 0;
    bool FFilling = false;
};
