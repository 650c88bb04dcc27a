#include "MainFormPartsHost.h"

#include "LayerForm.h"
#include "PreviewForm.h"
#include "editor/edit/EditController.h"
#include "editor/map/DialogSeam.h"
#include "editor/parts/TransparentAreas.h"
#include "editor/plugins/FileCommands.h"
#include "editor/plugins/FileNameText.h"
#include "editor/shell/MainForm.h"
#include "editor/shell/MapDocument.h"
#include "editor/shell/ToolBarIcons.h"
#include "editor/shell/input/ToolInput.h"
#include "editor/shell/language/LangTexts.h"
#include "editor/shell/language/Language.h"
#include "editor/shell/progress/ProgressDisplay.h"
#include "editor/shell/settings/Settings.h"
#include "editor/shell/settings/SettingsFile.h"

#include <QAction>
#include <QStatusBar>
#include <QTimer>

int32_t TMainFormPartsHost::CurrentLayer() const
{
    return FForm.LayerForm() != nullptr ? FForm.LayerForm()->GetCurrentLayerIndex() : -1;
}

bool TMainFormPartsHost::UseFixedAlignment() const
{
    return FForm.Project().FixedAlignment();
}

std::string TMainFormPartsHost::ProjectFolder() const
{
    return FForm.Files().DialogFolder();
}

void TMainFormPartsHost::TransparentImageLoaded(const std::string &FileName)
{
    // Asked once the load is over: an open loads the images before it takes over the
    // file's transparent colour, which may already be the one asked about.
    if (FAskedAboutTransparency.count(FileName) == 0)
        QTimer::singleShot(0, &FForm, [this, FileName] { AskAboutTransparentAreas(FileName); });
}

void TMainFormPartsHost::AskAboutTransparentAreas(const std::string &FileName)
{
    if (FForm.Progress().Running()) {
        QTimer::singleShot(50, &FForm, [this, FileName] { AskAboutTransparentAreas(FileName); });
        return;
    }
    const TMapViewState &view = FForm.ViewState();
    if (FAskedAboutTransparency.count(FileName) != 0 ||
        (view.TransEnabled && view.TransColor == kTransparentAreaColor))
        return;
    FAskedAboutTransparency.insert(FileName);
    const std::string question = ReplacePlaceholder(
        GetLangMessage(LangMessage::TransparentAreasQuestion), FileNameOnly(FileName));
    if (Dialogs().AskQuestion("Tessella", question, TQuestionButtons::YesNo,
                              TQuestionIcon::Question) == TAnswer::Yes)
        SetTransColor(kTransparentAreaColor);
}

TMap *TMainFormPartsHost::Map() const
{
    return MapDocument();
}

TChipFormLook TMainFormPartsHost::Look() const
{
    const TMapViewState &view = FForm.ViewState();
    TChipFormLook look;
    look.ShowGrid = view.ShowGrid;
    // Read at every redraw, so a changed settings file takes effect at once.
    look.SyncMainGrid = ReadSyncMainGrid(SettingsFile());
    look.GridColor = view.GridColor;
    look.UseTranslucentSelect = view.UseTranslucentSelect;
    look.HighlightColor = view.HighlightColor;
    look.UseInvisiblePart = view.UseInvisiblePart;
    look.InvisiblePart = view.InvisiblePart;
    return look;
}

const TPixelBuffer *TMainFormPartsHost::BackgroundBitmap() const
{
    return &FForm.FBackground;
}

int32_t TMainFormPartsHost::ZoomRatio() const
{
    return FForm.FSettings.ZoomRatio;
}

int32_t TMainFormPartsHost::PartsWindowZoom() const
{
    return FForm.FPartsWindowZoom;
}

std::vector<TSusieSetting> TMainFormPartsHost::ImagePluginSettings() const
{
    std::vector<TSusieSetting> settings;
    for (const std::string &name : ReadImagePluginOrder(SettingsFile()))
        settings.push_back({name, ReadImagePluginEnabled(SettingsFile(), name)});
    return settings;
}

TProgressProc TMainFormPartsHost::ImagePluginProgress() const
{
    return FForm.Progress().NestedCallback();
}

QIcon TMainFormPartsHost::ToolIcon(const char *themeName, const QString &fallbackLetter) const
{
    return ToolBarIcon(themeName, fallbackLetter);
}

void TMainFormPartsHost::SetInvisiblePart(uint16_t part)
{
    FForm.SetInvisiblePart(true, part);
    FForm.RedrawAll();
    if (FForm.PreviewForm() != nullptr)
        FForm.PreviewForm()->UpdatePreview();
}

void TMainFormPartsHost::SetTransColor(uint32_t color)
{
    FForm.FView.TransColor = color;
    if (FForm.ViewState().TransEnabled) {
        FForm.RedrawAll();
        if (FForm.PreviewForm() != nullptr)
            FForm.PreviewForm()->UpdatePreview();
        return;
    }
    // The menu command turns it on, so its check mark follows, and redraws.
    FForm.DoTransMenuItemClick();
}

void TMainFormPartsHost::ExitPattern()
{
    FForm.Edit().ExitPattern();
}

bool TMainFormPartsHost::Find(uint16_t value, bool wrap)
{
    if (FForm.Edit().Find(value, wrap))
        return true;
    FForm.statusBar()->showMessage(
        QString::fromStdString(GetLangMessage(LangMessage::PartNotInLayer))
            .replace("%d", QString::number(value)),
        8000);
    return false;
}

void TMainFormPartsHost::PartsImageChanged()
{
    FForm.ToolButtonMediator();
    FForm.RedrawAll();
    if (FForm.PreviewForm() != nullptr)
        FForm.PreviewForm()->UpdatePreview();
}

void TMainFormPartsHost::ToggleWindowCommand()
{
    FForm.ToolWindowClosed("PartsWindowMenuItem");
}

bool TMainFormPartsHost::KeyPress(QKeyEvent *event)
{
    return FForm.ToolInput().HandleKeyPress(event);
}

bool TMainFormPartsHost::KeyRelease(QKeyEvent *event)
{
    return FForm.ToolInput().HandleKeyRelease(event);
}

bool TMainFormPartsHost::Wheel(QWheelEvent *event)
{
    return FForm.ToolInput().HandleWheel(event);
}
