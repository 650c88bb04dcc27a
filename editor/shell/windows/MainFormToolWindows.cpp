// The main window's side of its three tool windows: the Layer menu and the parts zoom
// entries they serve, their visibility through the Window menu, their close boxes, their
// button hints, and the menu shortcuts that work while one of them is active.
#include "LayerForm.h"
#include "PreviewForm.h"
#include "editor/parts/ChipForm.h"
#include "editor/shell/MainForm.h"
#include "editor/shell/language/HintTexts.h"
#include "editor/shell/language/Language.h"

#include <QAction>
#include <tuple>

void TMainForm::ConnectToolWindowCommands()
{
    connect(MenuItem("AddLayerMenuItem"), &QAction::triggered, FLayerForm,
            [this] { FLayerForm->AddLayerWithDialog(); });
    connect(MenuItem("CopyLayerMenuItem"), &QAction::triggered, FLayerForm,
            &TLayerForm::CopyCurrentLayer);
    connect(MenuItem("DeleteLayerMenuItem"), &QAction::triggered, FLayerForm,
            &TLayerForm::DeleteCurrentLayer);
    connect(MenuItem("LayerOptionMenuItem"), &QAction::triggered, FLayerForm,
            &TLayerForm::OpenCurrentLayerSetting);
    connect(MenuItem("PartsZoomInMenuItem"), &QAction::triggered, FChipForm, &TChipForm::ZoomIn);
    connect(MenuItem("PartsZoomOutMenuItem"), &QAction::triggered, FChipForm, &TChipForm::ZoomOut);
    connect(MenuItem("PartsZoomNormMenuItem"), &QAction::triggered, FChipForm,
            &TChipForm::ResumeDrawSize);
    // The View menu's mark follows the parts window's terrain mode, however it was changed;
    // in the mode, Undo and Redo keys in the parts window take back the mode's own changes.
    connect(&FChipForm->Terrain(), &TTerrainMode::ActiveChanged, this, [this](bool active) {
        MenuItem("TerrainModeMenuItem")->setChecked(active);
        for (const char *name : {"UndoMenuItem", "RedoMenuItem"}) {
            if (active)
                FChipForm->removeAction(MenuItem(name));
            else
                FChipForm->addAction(MenuItem(name));
        }
    });

    // The menu's shortcuts are the program's: they act while a tool window is active too.
    for (QWidget *window : {static_cast<QWidget *>(FChipForm), static_cast<QWidget *>(FLayerForm),
                            static_cast<QWidget *>(FPreviewForm)})
        for (const auto &[name, action] : FMenuItems)
            if (!action->shortcut().isEmpty())
                window->addAction(action);
}

void TMainForm::ShowToolWindowFromSetting(const std::string &menuName, bool visible)
{
    // The command toggles the mark back and shows or hides the window, so marks, tool bar
    // buttons and windows agree from the start.
    MenuItem(menuName)->setChecked(!visible);
    WindowMenuItemClick(menuName);
}

void TMainForm::ToolWindowClosed(const std::string &menuName)
{
    // Once the main window has closed, the tool windows go with it and their state is
    // already written.
    if (FClosingWritten)
        return;
    WindowMenuItemClick(menuName);
}

void TMainForm::InitToolWindowHints()
{
    using namespace HintText;
    const std::tuple<QWidget *, const char *, TLangEntry> hints[] = {
        {FChipForm, "ToolButton2", PartsOpenImage},
        {FChipForm, "ToolButton3", PartsCloseImage},
        {FChipForm, "ToolButton5", PartsZoomIn},
        {FChipForm, "ToolButton6", PartsZoomOut},
        {FChipForm, "ToolButton7", PartsFind},
        {FChipForm, "ToolButton13", PartsMinimize},
        {FChipForm, "TerrainButton", PartsTerrainMode},
        {FLayerForm, "AddLayerToolButton", LayerAdd},
        {FLayerForm, "CopyLayerToolButton", LayerDuplicate},
        {FLayerForm, "DelLayerToolButton", LayerDelete},
        {FLayerForm, "LayerOptToolButton", LayerOption},
        {FLayerForm, "ToolButton4", LayerMinimize},
        {FPreviewForm, "ToolButton2", OverviewZoomIn},
        {FPreviewForm, "ToolButton3", OverviewZoomOut},
        {FPreviewForm, "ToolButton5", OverviewMinimize},
    };
    for (const auto &[window, name, hint] : hints)
        if (window != nullptr)
            if (QAction *button = window->findChild<QAction *>(name))
                button->setToolTip(QString::fromStdString(GetLangText(hint)));
    if (FChipForm != nullptr)
        FChipForm->Terrain().SetTexts([](const TerrainText::TEntry &entry) {
            return ReadLangString(TerrainText::Section, entry.Key, entry.Default);
        });
}
