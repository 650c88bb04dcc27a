// The main window as the file commands' window: its layer and parts windows for an import,
// its views and tool windows around a transfer, its progress and its window handle.
#pragma once

#include "editor/plugins/FileCommandWindow.h"

class TMainForm;

class TMainFormFileHost : public TFileCommandWindow
{
public:
    explicit TMainFormFileHost(TMainForm &Form) : FForm(Form) {}

    void EndGesture() override;
    void HideToolWindows() override;
    void ShowToolWindows() override;
    void SetViewReady(bool Ready) override;
    void ShowForMessage() override;
    void ResetLayers() override;
    bool AddLoadedLayer(const std::string &Name, std::vector<uint16_t> &&Cells) override;
    void SetLayerShown(int32_t Index, bool Visible) override;
    void AttachPartsImage(const std::string &Resolved) override;
    void FileOpened() override;
    void CreateDefaultMap() override;
    void RecentDocumentsChanged() override;
    void RefreshCommands() override;
    void RedrawAll() override;
    ProgressProc Progress() const override;
    TessellaWindow *WindowHandle() override;

private:
    TMainForm &FForm;
};
