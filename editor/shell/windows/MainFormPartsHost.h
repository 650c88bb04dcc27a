// The main window as the parts window sees it (TChipFormHost): the map and its current layer,
// the display switches, the invisible part and transparent colour, the editing entry points,
// the redraws of the other views and the main window's key and wheel handlers.
#pragma once

#include "editor/parts/ChipFormHost.h"

#include <set>
#include <string>

class TMainForm;

class TMainFormPartsHost : public TChipFormHost
{
public:
    explicit TMainFormPartsHost(TMainForm &form) : FForm(form) {}

    int32_t CurrentLayer() const override;
    bool UseFixedAlignment() const override;
    std::string ProjectFolder() const override;
    void TransparentImageLoaded(const std::string &FileName) override;
    TMap *Map() const override;
    TChipFormLook Look() const override;
    const TPixelBuffer *BackgroundBitmap() const override;
    int32_t ZoomRatio() const override;
    int32_t PartsWindowZoom() const override;
    std::vector<TSusieSetting> ImagePluginSettings() const override;
    TProgressProc ImagePluginProgress() const override;
    QIcon ToolIcon(const char *themeName, const QString &fallbackLetter) const override;
    void SetInvisiblePart(uint16_t part) override;
    void SetTransColor(uint32_t color) override;
    void ExitPattern() override;
    bool Find(uint16_t value, bool wrap) override;
    void PartsImageChanged() override;
    void ToggleWindowCommand() override;
    bool KeyPress(QKeyEvent *event) override;
    bool KeyRelease(QKeyEvent *event) override;
    bool Wheel(QWheelEvent *event) override;

private:
    // "%s has transparent areas. Use them as the transparent colour?", once per image.
    void AskAboutTransparentAreas(const std::string &FileName);

    TMainForm &FForm;
    std::set<std::string> FAskedAboutTransparency;
};
