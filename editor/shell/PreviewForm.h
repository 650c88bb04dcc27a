// The overview window: the whole map at a few pixels per cell with the map view's frame.
#pragma once

#include "ToolWindow.h"

class TMainForm;

class TPreviewForm : public TToolWindow
{
    Q_OBJECT
public:
    explicit TPreviewForm(TMainForm *owner);

    int32_t PreviewScale() const { return FScale; }
    void InitPreview(int32_t scale);
    void UpdatePreview();

private:
    TMainForm *FOwner;
    int32_t FScale = 2;
};
