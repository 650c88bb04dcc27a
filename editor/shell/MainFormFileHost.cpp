#include "MainFormFileHost.h"

#include "MainForm.h"
#include "editor/edit/EditController.h"
#include "editor/parts/ChipForm.h"
#include "editor/plugins/FileCommands.h"
#include "editor/shell/settings/Settings.h"
#include "editor/shell/settings/SettingsFile.h"
#include "editor/shell/windows/LayerForm.h"
#include "editor/shell/windows/PreviewForm.h"

#include <QScrollBar>

void TMainFormFileHost::EndGesture()
{
    FForm.FEdit->EndGesture();
}

void TMainFormFileHost::HideToolWindows()
{
    FForm.HideAllClients();
}

void TMainFormFileHost::ShowToolWindows()
{
    FForm.ShowAllClients();
}

void TMainFormFileHost::SetViewReady(bool Ready)
{
    FForm.FViewReady = Ready;
}

void TMainFormFileHost::ShowForMessage()
{
    FForm.show();
}

void TMainFormFileHost::ResetLayers()
{
    FForm.FChipForm->Init();
    FForm.FLayerForm->Init();
}

bool TMainFormFileHost::AddLoadedLayer(const std::string &Name, std::vector<uint16_t> &&Cells)
{
    return FForm.FLayerForm->AddLoadedLayer(Name, std::move(Cells));
}

void TMainFormFileHost::SetLayerShown(int32_t Index, bool Visible)
{
    FForm.FLayerForm->SetLayerVisibleState(Index, Visible);
}

void TMainFormFileHost::AttachPartsImage(const std::string &Resolved)
{
    FForm.FChipForm->AddMapChip(Resolved);
}

void TMainFormFileHost::FileOpened()
{
    FForm.ApplyEditorFlags();
    FForm.Init();
    FForm.FViewReady = true;
    FForm.FormResize();
    FForm.FHorzScrollBar->setValue(0);
    FForm.FVertScrollBar->setValue(0);
    if (FForm.FPreviewForm != nullptr)
        FForm.FPreviewForm->InitPreview(FForm.FOverviewScale);
    FForm.ToolButtonMediator();
    FForm.ShowAllClients();
}

void TMainFormFileHost::CreateDefaultMap()
{
    FForm.CreateNewMap(100, 100, 1, 32, 32, 8, true);
}

void TMainFormFileHost::RecentDocumentsChanged()
{
    // Kept at once: the list outlives a program that never gets to close.
    WriteRecentFiles(SettingsFile(), FForm.Files().Recent().Paths());
    SaveSettingsFile();
}

void TMainFormFileHost::RefreshCommands()
{
    FForm.ToolButtonMediator();
}

void TMainFormFileHost::RedrawAll()
{
    FForm.RedrawAll();
}

ProgressProc TMainFormFileHost::Progress() const
{
    return &TMainForm::ProgressProc;
}

TessellaWindow *TMainFormFileHost::WindowHandle()
{
    return FForm.WindowHandle();
}
