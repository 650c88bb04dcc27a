// The layer window: the map's layers, topmost first, with their visibility check marks; the
// selected entry is the current layer every tool works on. It adds, duplicates, deletes,
// merges, renames and swaps layers and chooses their parts images: each operation changes
// the map first, then the list, then refreshes the other views.
#pragma once

#include "editor/parts/ToolWindow.h"

#include <functional>
#include <string>
#include <vector>

class QAction;
class QLabel;
class QListWidgetItem;
class QMenu;
class TLayerList;
class TMainForm;
class TMap;
class TNewLayerDialog;
struct TMapChip;

class TLayerForm : public TToolWindow
{
    Q_OBJECT
public:
    explicit TLayerForm(TMainForm *owner);

    // Empties the list for a new map.
    void Init();
    // Creates a layer in the map with this name and image and makes it current, without
    // asking: new maps add their layers here. False when refused.
    bool AddLayer(const std::string &name, TMapChip *chip = nullptr);
    // The same for a loaded file's layer, taking over its Width × Height cells.
    bool AddLoadedLayer(const std::string &name, std::vector<uint16_t> &&cells);
    // "Add Layer...": asks the name and the parts image first.
    bool AddLayerWithDialog();
    // The tool button: a layer named after AddCount, without a parts image.
    void AddLayerToolButtonClick();
    void CopyCurrentLayer();
    void DeleteCurrentLayer();
    // Merges the current layer onto the one below it.
    void MergeCurrentLayer();
    void OpenCurrentLayerSetting();
    // The current layer and the one of list entry TargetRow change places; the moved layer
    // stays current at its new place.
    void SwapCurrentWith(int targetRow);
    void CheckDelLayerButton();

    // -1 when the list is empty.
    int32_t GetCurrentLayerIndex() const;
    // The same without the empty check.
    int32_t GetCurrentMapIndex() const;
    bool GetLayerVisibleState(int32_t layerIndex) const;
    bool SetLayerVisibleState(int32_t layerIndex, bool visible);
    void SelectLayer(int32_t layerIndex);
    int32_t AddCount() const { return FAddCount; }

    TLayerList *List() const { return FList; }
    QString StatusText() const;
    QAction *Button(const char *objectName) const;
    QAction *MenuEntry(const char *objectName) const;

    // The list's keys and wheel that belong to the main window.
    void ForwardListKeyPress(QKeyEvent *event);
    void ForwardListKeyRelease(QKeyEvent *event);
    bool ForwardListWheel(QWheelEvent *event);
    void ShowContextMenu(const QPoint &globalPosition);

protected:
    bool ForwardKeyPress(QKeyEvent *event) override;
    bool ForwardKeyRelease(QKeyEvent *event) override;
    bool ForwardWheel(QWheelEvent *event) override;
    void RollUpChanged() override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void EndGestureBeforeLayersMove();
    // Runs Add on the map; a refusal or no memory is told to the user.
    bool AddLayerThrough(const std::string &name, const std::function<void(TMap &)> &add);
    QAction *AddButton(const char *objectName, const char *themeName, const char *letter,
                       void (TLayerForm::*handler)());
    QAction *AddMenuEntry(const char *objectName, const std::string &caption,
                          void (TLayerForm::*handler)());
    void ToolButton4Click();
    int32_t ListRowOf(int32_t layerIndex) const;
    int32_t LayerOfRow(int32_t row) const;
    bool LayerLimitReached();
    // A new top entry, checked as the map's layer is shown, made current.
    void InsertTopEntry(const std::string &name, bool visible);
    void ItemChanged(QListWidgetItem *item);
    void CurrentRowChanged();
    // Layer indices moved: the undo log would write into the wrong layers.
    void ForgetUndo();
    // After every change: the parts window, the title, the enabled states, the map view, the
    // overview, this window's delete button and status text.
    void RefreshViews();
    void UpdateStatus(bool AfterAdding = false);
    // The image names for the dialogs and the entry of Chip among them (the count for none).
    std::vector<std::string> ImageNames() const;
    int ImageIndexOf(const TMapChip *chip) const;
    TMapChip *ImageAt(int index) const;
    // The dialog's "Browse..." for a picture file, starting where the user works.
    void OfferImageBrowse(TNewLayerDialog &dialog) const;

    TMainForm *FOwner;
    TLayerList *FList;
    QLabel *FStatus;
    QMenu *FMenu;
    int32_t FAddCount = 0;
    bool FFilling = false;
};
