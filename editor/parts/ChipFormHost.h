// What the parts window asks of the main window, so that it never includes the shell: the
// map and current layer, the display switches its picture follows, the invisible part and the
// transparent colour it sets, the commands it invokes, the redraws of the other views, and
// where its keys and wheel turns go. The main window implements it.
#pragma once

#include "ChipTable.h"

#include <QIcon>
#include <cstdint>
#include <string>
#include <vector>

class QKeyEvent;
class QWheelEvent;
class TMap;
class TPixelBuffer;

// The main window's switches the parts window's picture follows, read at every redraw.
struct TChipFormLook {
    bool ShowGrid = true;      // the main window's grid switch
    bool SyncMainGrid = false; // setting "SyncMainGrid": the parts grid follows that switch
    uint32_t GridColor = 0xA4A0A0;
    bool UseTranslucentSelect = false;
    uint32_t HighlightColor = 0xD77800; // colour values are 0x00BBGGRR
    bool UseInvisiblePart = false;
    uint16_t InvisiblePart = 0;
};

// CurrentLayer, UseFixedAlignment and ProjectFolder come from TChipTableHost.
class TChipFormHost : public TChipTableHost
{
public:
    // The open map; null while none exists.
    virtual TMap *Map() const = 0;
    virtual TChipFormLook Look() const = 0;
    // The view background brush; null paints white.
    virtual const TPixelBuffer *BackgroundBitmap() const = 0;
    // The zoom step of the zoom commands (setting "ZoomRatio"), in 256ths of the part size.
    virtual int32_t ZoomRatio() const = 0;
    // The zoom a new document starts the window at, in 256ths.
    virtual int32_t PartsWindowZoom() const = 0;
    // The image plug-ins' enabled states from the settings, in their stored order.
    virtual std::vector<TSusieSetting> ImagePluginSettings() const = 0;
    // Where the image plug-ins report their progress while they read a picture.
    virtual TProgressProc ImagePluginProgress() const = 0;
    virtual QIcon ToolIcon(const char *themeName, const QString &fallbackLetter) const = 0;

    // Double click: the invisible part; the host redraws the map view and the overview.
    virtual void SetInvisiblePart(uint16_t part) = 0;
    // Ctrl+click: the transparent colour (0x00BBGGRR); turns transparency on through its
    // menu command when it is off, else redraws the map view and the overview.
    virtual void SetTransColor(uint32_t color) = 0;
    // Picking parts leaves pattern mode: the pick is the pen again.
    virtual void ExitPattern() = 0;
    // Selects the next cell of the current layer holding Value; false when there is none.
    virtual bool Find(uint16_t value, bool wrap) = 0;
    // A parts image was attached or detached: the main tool bar, map view and overview.
    virtual void PartsImageChanged() = 0;
    // The window's close box: the Window menu's "Parts Window" command, so its mark follows.
    virtual void ToggleWindowCommand() = 0;

    // Keys and wheel turns the window does not use itself; true when used.
    virtual bool KeyPress(QKeyEvent *event) = 0;
    virtual bool KeyRelease(QKeyEvent *event) = 0;
    virtual bool Wheel(QWheelEvent *event) = 0;
};
