// What the file commands ask of the window they run in, so that they never include the
// shell: ending the running gesture, the layer and parts windows an import refills, the
// views and tool windows around a transfer, the fresh map after a failure, the enabled
// states, the progress callback and the handle plug-ins get.
#pragma once

#include "common/TessellaPlugin.h"

#include <cstdint>
#include <string>
#include <vector>

class TFileCommandWindow
{
public:
    virtual ~TFileCommandWindow() = default;

    // A floating block is put down and the modification group closed.
    virtual void EndGesture() = 0;
    // The tool windows go away while a plug-in reads, and come back after it.
    virtual void HideToolWindows() = 0;
    virtual void ShowToolWindows() = 0;
    // Drawing stops while a file replaces the map, and starts again.
    virtual void SetViewReady(bool Ready) = 0;
    // A failure is about to be told: the main window is shown first.
    virtual void ShowForMessage() = 0;

    // The import target's window side: the layer and parts windows start empty, take each
    // layer with its cells and visibility, and load each parts image.
    virtual void ResetLayers() = 0;
    virtual bool AddLoadedLayer(const std::string &Name, std::vector<uint16_t> &&Cells) = 0;
    virtual void SetLayerShown(int32_t Index, bool Visible) = 0;
    virtual void AttachPartsImage(const std::string &Resolved) = 0;
    // A file was taken over: the views start at the top-left at the saved zoom.
    virtual void FileOpened() = 0;
    // The map was given up half-way through an import: the default map takes its place.
    virtual void CreateDefaultMap() = 0;

    // A document was opened or saved: the recent documents changed.
    virtual void RecentDocumentsChanged() = 0;

    // The enabled states of the commands and the title; everything drawn again.
    virtual void RefreshCommands() = 0;
    virtual void RedrawAll() = 0;
    // Where plug-ins report their progress, and the handle they get.
    virtual ProgressProc Progress() const = 0;
    virtual TessellaWindow *WindowHandle() = 0;
};
