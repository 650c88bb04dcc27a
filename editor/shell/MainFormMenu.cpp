// The main window's menus, tool bar, status bar, display switches and the enabled states.
#include "ExportPicture.h"
#include "MainForm.h"
#include "MapDocument.h"
#include "RecentFilesMenu.h"
#include "ToolBarIcons.h"
#include "ViewZoom.h"
#include "editor/edit/EditController.h"
#include "editor/map/DialogSeam.h"
#include "editor/map/TessellaClipboardUnit.h"
#include "editor/parts/ChipForm.h"
#include "editor/plugins/FileCommands.h"
#include "editor/plugins/FilePluginHost.h"
#include "editor/plugins/TextEncoding.h"
#include "editor/render/MapViewMath.h"
#include "editor/render/ZoomSteps.h"
#include "editor/shell/input/ToolInput.h"
#include "editor/shell/language/HintTexts.h"
#include "editor/shell/language/Language.h"
#include "editor/shell/language/MenuCaptions.h"
#include "editor/shell/windows/LayerForm.h"
#include "editor/shell/windows/PreviewForm.h"

#include <QActionGroup>
#include <QColorDialog>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

namespace
{

QString Text(const TLangEntry &entry)
{
    return QString::fromStdString(GetLangText(entry));
}

} // namespace

QAction *TMainForm::MenuItem(const std::string &name) const
{
    const auto found = FMenuItems.find(name);
    return found == FMenuItems.end() ? nullptr : found->second;
}

QAction *TMainForm::ToolButton(const std::string &name) const
{
    const auto found = FToolButtons.find(name);
    return found == FToolButtons.end() ? nullptr : found->second;
}

QAction *TMainForm::AddMenuItem(QMenu *menu, const std::string &name, const TLangEntry &caption,
                                const QKeySequence &shortcut, const std::function<void()> &handler)
{
    QAction *action = menu->addAction(Text(caption));
    action->setObjectName(QString::fromStdString(name));
    action->setShortcut(shortcut);
    if (handler)
        connect(action, &QAction::triggered, this, handler);
    FMenuItems[name] = action;
    return action;
}

// Entries that exist only for their shortcuts: part of the window, not of a menu.
static QAction *AddHiddenItem(QMainWindow *window, std::map<std::string, QAction *> &items,
                              const std::string &name, const QKeySequence &shortcut)
{
    auto *action = new QAction(window);
    action->setObjectName(QString::fromStdString(name));
    action->setShortcut(shortcut);
    window->addAction(action);
    items[name] = action;
    return action;
}

void TMainForm::BuildMainMenu()
{
    using namespace MainMenuText;
    QMenuBar *bar = menuBar();
    // The window's own commands and the edit controller's, as menu handlers.
    const auto own = [this](void (TMainForm::*command)()) {
        return [this, command] { (this->*command)(); };
    };
    const auto files = [this](void (TFileCommands::*command)()) {
        return [this, command] { ((*FFiles).*command)(); };
    };
    const auto editing = [this](void (TEditController::*command)()) {
        return [this, command] { ((*FEdit).*command)(); };
    };

    QMenu *file = bar->addMenu(Text(FileMenu));
    AddMenuItem(file, "NewMenuItem", NewMenuItem, QKeySequence(Qt::CTRL | Qt::Key_N),
                own(&TMainForm::NewMenuItemClick));
    AddMenuItem(file, "OpenMenuItem", OpenMenuItem, QKeySequence(Qt::CTRL | Qt::Key_O),
                files(&TFileCommands::OpenMenuItemClick));
    AddMenuItem(file, "ReOpenMenuItem", ReOpenMenuItem, QKeySequence(),
                files(&TFileCommands::ReOpenMenuItemClick));
    // The terrain sets defined in the parts window are saved with the project.
    AddMenuItem(file, "SaveMenuItem", SaveMenuItem, QKeySequence(Qt::CTRL | Qt::Key_S), [this] {
        if (FFiles->Save() && FChipForm != nullptr)
            FChipForm->Terrain().Save();
    });
    AddMenuItem(file, "SaveAsMenuItem", SaveAsMenuItem,
                QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), [this] {
                    if (FFiles->SaveAs() && FChipForm != nullptr)
                        FChipForm->Terrain().Save();
                });
    file->addSeparator();
    AddMenuItem(file, "ImportMenuItem", ImportMenuItem,
                QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_O),
                files(&TFileCommands::ImportMenuItemClick));
    AddMenuItem(file, "ExportMenuItem", ExportMenuItem,
                QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_S),
                files(&TFileCommands::ExportMenuItemClick));
    AddMenuItem(file, "ExportPictureMenuItem", ExportPictureMenuItem, QKeySequence(),
                [this] { ExportPictureMenuItemClick(*this); });
    file->addSeparator();
    QMenu *recent = file->addMenu(Text(RecentFilesMenu));
    recent->setObjectName("RecentFilesMenu");
    AddMenuItem(recent, "ReopenClosedMenuItem", ReopenClosedMenuItem,
                QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T),
                files(&TFileCommands::ReopenClosedMenuItemClick));
    new TRecentFilesMenu(*recent, *FFiles);
    file->addSeparator();
    QAction *quit = AddMenuItem(file, "QuitMenuItem", QuitMenuItem,
                                QKeySequence(Qt::CTRL | Qt::Key_Q), nullptr);
    connect(quit, &QAction::triggered, this, &QWidget::close);

    QMenu *edit = bar->addMenu(Text(EditMenu));
    AddMenuItem(edit, "UndoMenuItem", UndoMenuItem, QKeySequence(Qt::CTRL | Qt::Key_Z),
                editing(&TEditController::UndoMenuItemClick));
    AddMenuItem(edit, "RedoMenuItem", RedoMenuItem, QKeySequence(Qt::CTRL | Qt::Key_Y),
                editing(&TEditController::RedoMenuItemClick));
    edit->addSeparator();
    AddMenuItem(edit, "CutMenuItem", CutMenuItem, QKeySequence(Qt::CTRL | Qt::Key_X),
                editing(&TEditController::CutMenuItemClick));
    AddMenuItem(edit, "CopyMenuItem", CopyMenuItem, QKeySequence(Qt::CTRL | Qt::Key_C),
                editing(&TEditController::CopyMenuItemClick));
    AddMenuItem(edit, "PasteMenuItem", PasteMenuItem, QKeySequence(Qt::CTRL | Qt::Key_V),
                editing(&TEditController::PasteMenuItemClick));
    AddMenuItem(edit, "SelectAllMenuItem", SelectAllMenuItem, QKeySequence(Qt::CTRL | Qt::Key_A),
                editing(&TEditController::SelectAllMenuItemClick));
    AddMenuItem(edit, "DoNotSelectMenuItem", DoNotSelectMenuItem,
                QKeySequence(Qt::CTRL | Qt::Key_D),
                editing(&TEditController::DoNotSelectMenuItemClick));
    edit->addSeparator();
    AddMenuItem(edit, "ReplaceMenuItem", ReplaceMenuItem, QKeySequence(),
                own(&TMainForm::ReplaceMenuItemClick));
    AddMenuItem(edit, "FillMenuItem", FillMenuItem, QKeySequence(Qt::CTRL | Qt::Key_G),
                own(&TMainForm::FillMenuItemClick));
    AddMenuItem(edit, "FlushMenuItem", FlushMenuItem, QKeySequence(),
                editing(&TEditController::FlushMenuItemClick));
    edit->addSeparator();
    AddMenuItem(edit, "ProjectMenuItem", ProjectMenuItem, QKeySequence(Qt::CTRL | Qt::Key_P),
                own(&TMainForm::ProjectMenuItemClick));
    AddMenuItem(edit, "OptionMenuItem", OptionMenuItem, QKeySequence(Qt::CTRL | Qt::Key_E),
                own(&TMainForm::OptionMenuItemClick));
    connect(AddHiddenItem(this, FMenuItems, "DelSelectionMenuItem", QKeySequence(Qt::Key_Delete)),
            &QAction::triggered, this, editing(&TEditController::DelSelectionMenuItemClick));
    connect(AddHiddenItem(this, FMenuItems, "FillSelectionMenuItem",
                          QKeySequence(Qt::CTRL | Qt::Key_Delete)),
            &QAction::triggered, this, editing(&TEditController::FillSelectionMenuItemClick));
    // The debug dumps ("map.txt", "modify.txt", "main-scrn.bmp", "copy.txt").
    connect(AddHiddenItem(this, FMenuItems, "DebugMenuItem",
                          QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F12)),
            &QAction::triggered, this, &TMainForm::DebugMenuItemClick);

    QMenu *tool = bar->addMenu(Text(ToolMenu));
    FToolGroup = new QActionGroup(this);
    struct TToolEntry {
        const char *Name;
        TLangEntry Caption;
        Qt::Key Key;
        uint8_t Tool;
    };
    const TToolEntry tools[] = {
        {"PenToolMenuItem", PenToolMenuItem, Qt::Key_F1, tmPen},
        {"TPenToolMenuItem", TPenToolMenuItem, Qt::Key_F2, tmTiledPen},
        {"FillToolMenuItem", FillToolMenuItem, Qt::Key_F3, tmFill},
        {"EraserToolMenuItem", EraserToolMenuItem, Qt::Key_F4, tmEraser},
        {"SelectToolMenuItem", SelectToolMenuItem, Qt::Key_F5, tmSelect},
        {"PatternToolMenuItem", PatternToolMenuItem, Qt::Key_F6, tmPattern},
        {"HandToolMenuItem", HandToolMenuItem, Qt::Key_F7, tmHand},
        {"TerrainToolMenuItem", TerrainToolMenuItem, Qt::Key_T, tmTerrain},
    };
    // One radio group, except the eraser: a plain check entry that choosing it checks.
    FToolGroup->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (const TToolEntry &entry : tools) {
        QAction *action =
            AddMenuItem(tool, entry.Name, entry.Caption, QKeySequence(entry.Key), nullptr);
        action->setCheckable(true);
        if (entry.Tool != tmEraser)
            FToolGroup->addAction(action);
        const uint8_t mode = entry.Tool;
        connect(action, &QAction::triggered, this,
                [this, mode] { FToolInput->ToolMenuItemClick(mode); });
    }
    AddMenuItem(tool, "TerrainRoundMenuItem", TerrainRoundMenuItem, QKeySequence(), [this] {
        FToolInput->SetTerrainBrush(FView.TerrainBrushSize,
                                    MenuItem("TerrainRoundMenuItem")->isChecked());
    })->setCheckable(true);
    tool->addSeparator();
    AddMenuItem(tool, "ResizeMenuItem", ResizeMenuItem, QKeySequence(Qt::Key_F9),
                own(&TMainForm::ResizeMenuItemClick));
    AddMenuItem(tool, "ScrollMenuItem", ScrollMenuItem, QKeySequence(Qt::Key_F10),
                own(&TMainForm::ScrollMenuItemClick));
    AddMenuItem(tool, "ChangePartsSizeMenuItem", ChangePartsSizeMenuItem, QKeySequence(Qt::Key_F11),
                own(&TMainForm::ChangePartsSizeMenuItemClick));
    AddMenuItem(tool, "ChangeBitCountDialogMenuItem", ChangeBitCountDialogMenuItem, QKeySequence(),
                own(&TMainForm::ChangeBitCountDialogMenuItemClick));

    QMenu *layer = bar->addMenu(Text(LayerMenu));
    AddMenuItem(layer, "AddLayerMenuItem", AddLayerMenuItem, QKeySequence(), nullptr);
    AddMenuItem(layer, "CopyLayerMenuItem", CopyLayerMenuItem, QKeySequence(), nullptr);
    AddMenuItem(layer, "DeleteLayerMenuItem", DeleteLayerMenuItem, QKeySequence(), nullptr);
    layer->addSeparator();
    QAction *upper = AddMenuItem(layer, "SelectUpperMenuItem", SelectUpperMenuItem,
                                 QKeySequence(Qt::Key_Q), nullptr);
    connect(upper, &QAction::triggered, this, [this] {
        if (FLayerForm != nullptr)
            FLayerForm->SelectLayer(FLayerForm->GetCurrentLayerIndex() + 1);
    });
    QAction *lower = AddMenuItem(layer, "SelectLowerMenuItem", SelectLowerMenuItem,
                                 QKeySequence(Qt::Key_A), nullptr);
    connect(lower, &QAction::triggered, this, [this] {
        if (FLayerForm != nullptr)
            FLayerForm->SelectLayer(FLayerForm->GetCurrentLayerIndex() - 1);
    });
    layer->addSeparator();
    AddMenuItem(layer, "LayerOptionMenuItem", LayerOptionMenuItem, QKeySequence(), nullptr);

    QMenu *view = bar->addMenu(Text(ViewMenu));
    const auto zooming = [this](void (TViewZoom::*command)()) {
        return [this, command] { ((*FZoom).*command)(); };
    };
    // A keypad key reaches the shortcuts with the keypad modifier or, through X11's key
    // mapper, without it; Qt tries a key again without that modifier, so sequences without
    // it serve the keypad and the main keyboard alike (Enter is a key of its own).
    using TKeys = QList<QKeySequence>;
    AddMenuItem(view, "EditZoomInMenuItem", EditZoomInMenuItem, QKeySequence(),
                zooming(&TViewZoom::EditZoomInMenuItemClick))
        ->setShortcuts(TKeys{Qt::CTRL | Qt::Key_Plus, Qt::CTRL | Qt::Key_Equal});
    AddMenuItem(view, "EditZoomOutMenuItem", EditZoomOutMenuItem,
                QKeySequence(Qt::CTRL | Qt::Key_Minus),
                zooming(&TViewZoom::EditZoomOutMenuItemClick));
    AddMenuItem(view, "EditZoomNormMenuItem", EditZoomNormMenuItem, QKeySequence(),
                zooming(&TViewZoom::EditZoomNormMenuItemClick))
        ->setShortcuts(
            TKeys{Qt::CTRL | Qt::Key_Return, Qt::CTRL | Qt::Key_Enter, Qt::CTRL | Qt::Key_0});
    QMenu *zoomTo = view->addMenu(Text(ZoomToMenu));
    for (const uint16_t zoom : kZoomToSteps) {
        const QString percent = QString::number(zoom * 100.0 / 256.0) + " %";
        QAction *item = zoomTo->addAction(percent);
        item->setObjectName(QString("ZoomTo%1MenuItem").arg(zoom));
        FMenuItems[item->objectName().toStdString()] = item;
        connect(item, &QAction::triggered, this, [this, zoom] { FZoom->ZoomToClick(zoom); });
    }
    AddMenuItem(view, "FitMapMenuItem", FitMapMenuItem, QKeySequence(Qt::CTRL | Qt::Key_9),
                zooming(&TViewZoom::FitMapMenuItemClick));
    view->addSeparator();
    AddMenuItem(view, "PartsZoomInMenuItem", PartsZoomInMenuItem, QKeySequence(), nullptr)
        ->setShortcuts(
            TKeys{Qt::CTRL | Qt::ALT | Qt::Key_Plus, Qt::CTRL | Qt::ALT | Qt::Key_Equal});
    AddMenuItem(view, "PartsZoomOutMenuItem", PartsZoomOutMenuItem,
                QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Minus), nullptr);
    AddMenuItem(view, "PartsZoomNormMenuItem", PartsZoomNormMenuItem, QKeySequence(), nullptr)
        ->setShortcuts(
            TKeys{Qt::CTRL | Qt::ALT | Qt::Key_Return, Qt::CTRL | Qt::ALT | Qt::Key_Enter});
    view->addSeparator();
    // Ctrl+G belongs to Fill... (the first entry in menu order); the grid switch keeps its
    // tool button and menu entry.
    struct TSwitchEntry {
        const char *Name;
        TLangEntry Caption;
        QKeySequence Shortcut;
        void (TMainForm::*Handler)();
    };
    const TSwitchEntry switches[] = {
        {"ShowGridMenuItem", ShowGridMenuItem, QKeySequence(), &TMainForm::ShowGridMenuItemClick},
        {"ShowCGridMenuItem", ShowCGridMenuItem, QKeySequence(Qt::CTRL | Qt::Key_B),
         &TMainForm::ShowCGridMenuItemClick},
        {"ShowMarkerMenuItem", ShowMarkerMenuItem, QKeySequence(Qt::CTRL | Qt::Key_M),
         &TMainForm::ShowMarkerMenuItemClick},
        {"LayerFogMenuItem", LayerFogMenuItem, QKeySequence(Qt::CTRL | Qt::Key_H),
         &TMainForm::LayerFogMenuItemClick},
        {"ShowNumberMenuItem", ShowNumberMenuItem, QKeySequence(Qt::CTRL | Qt::Key_U),
         &TMainForm::ShowNumberMenuItemClick},
        {"DoTransMenuItem", DoTransMenuItem, QKeySequence(Qt::CTRL | Qt::Key_T),
         &TMainForm::DoTransMenuItemClick},
    };
    for (const TSwitchEntry &entry : switches)
        AddMenuItem(view, entry.Name, entry.Caption, entry.Shortcut, own(entry.Handler))
            ->setCheckable(true);
    AddMenuItem(view, "TransColorMenuItem", TransColorMenuItem, QKeySequence(),
                own(&TMainForm::TransColorMenuItemClick));
    view->addSeparator();
    AddMenuItem(view, "TerrainModeMenuItem", TerrainModeMenuItem, QKeySequence(), [this] {
        if (FChipForm != nullptr)
            FChipForm->TerrainClick();
    })->setCheckable(true);
    connect(AddHiddenItem(this, FMenuItems, "N111", QKeySequence(Qt::Key_0)), &QAction::triggered,
            this, zooming(&TViewZoom::EditZoomNormMenuItemClick));
    connect(AddHiddenItem(this, FMenuItems, "N121", QKeySequence(Qt::Key_1)), &QAction::triggered,
            this, [this] { FZoom->ViewScaleClick(2); });
    connect(AddHiddenItem(this, FMenuItems, "N141", QKeySequence(Qt::Key_2)), &QAction::triggered,
            this, [this] { FZoom->ViewScaleClick(4); });
    connect(AddHiddenItem(this, FMenuItems, "N181", QKeySequence(Qt::Key_3)), &QAction::triggered,
            this, [this] { FZoom->ViewScaleClick(8); });

    // Esc hides the tool windows and shows them again.
    connect(AddHiddenItem(this, FMenuItems, "HideToolWindowsItem", QKeySequence(Qt::Key_Escape)),
            &QAction::triggered, this, &TMainForm::HideTollWindows);

    FPluginMenu = bar->addMenu("Plug-in");
    FPluginMenu->menuAction()->setVisible(false);

    QMenu *window = bar->addMenu(Text(WindowMenu));
    struct TWindowEntry {
        const char *Name;
        TLangEntry Caption;
        Qt::Key Key;
    };
    const TWindowEntry windows[] = {
        {"PartsWindowMenuItem", PartsWindowMenuItem, Qt::Key_P},
        {"LayerWindowMenuItem", LayerWindowMenuItem, Qt::Key_L},
        {"OVWindowMenuItem", OVWindowMenuItem, Qt::Key_O},
    };
    for (const TWindowEntry &entry : windows) {
        QAction *action =
            AddMenuItem(window, entry.Name, entry.Caption, QKeySequence(entry.Key), nullptr);
        action->setCheckable(true);
        action->setChecked(true);
        const std::string name = entry.Name;
        connect(action, &QAction::triggered, this, [this, name] { WindowMenuItemClick(name); });
    }

    QMenu *help = bar->addMenu(Text(HelpMenu));
    AddMenuItem(help, "VersionMenuItem", VersionMenuItem, QKeySequence(),
                own(&TMainForm::VersionMenuItemClick));
}

QAction *TMainForm::AddToolButton(const std::string &name, const TLangEntry &hint,
                                  const char *themeIcon, const QString &fallbackText,
                                  QAction *menuItem)
{
    QAction *button = FToolBar->addAction(ToolBarIcon(themeIcon, fallbackText), QString());
    button->setObjectName(QString::fromStdString(name));
    button->setToolTip(Text(hint));
    if (menuItem != nullptr)
        connect(button, &QAction::triggered, menuItem, &QAction::trigger);
    FToolButtons[name] = button;
    return button;
}

void TMainForm::BuildToolBar()
{
    using namespace HintText;
    FToolBar = addToolBar("Tools");
    FToolBar->setMovable(false);
    FToolBar->setIconSize(QSize(16, 16));
    AddToolButton("NewToolButton", NewToolButton, "document-new", "N", MenuItem("NewMenuItem"));
    AddToolButton("OpenToolButton", OpenToolButton, "document-open", "O", MenuItem("OpenMenuItem"));
    AddToolButton("SaveToolButton", SaveToolButton, "document-save", "S", MenuItem("SaveMenuItem"));
    FToolBar->addSeparator();
    AddToolButton("CutToolButton", CutToolButton, "edit-cut", "X", MenuItem("CutMenuItem"));
    AddToolButton("CopyToolButton", CopyToolButton, "edit-copy", "C", MenuItem("CopyMenuItem"));
    AddToolButton("PasteToolButton", PasteToolButton, "edit-paste", "V", MenuItem("PasteMenuItem"));
    FToolBar->addSeparator();
    AddToolButton("UndoToolButton", UndoToolButton, "edit-undo", "U", MenuItem("UndoMenuItem"));
    AddToolButton("RedoToolButton", RedoToolButton, "edit-redo", "R", MenuItem("RedoMenuItem"));
    FToolBar->addSeparator();
    struct TToolEntry {
        const char *Button;
        TLangEntry Hint;
        const char *Icon;
        const char *Letter;
        const char *Menu;
    };
    const TToolEntry tools[] = {
        {"PenToolButton", PenToolButton, "draw-freehand", "P", "PenToolMenuItem"},
        {"MPenToolButton", MPenToolButton, "draw-brush", "T", "TPenToolMenuItem"},
        {"EraserToolButton", EraserToolButton, "draw-eraser", "E", "EraserToolMenuItem"},
        {"FillToolButton", FillToolButton, "color-fill", "F", "FillToolMenuItem"},
        {"SelectToolButton", SelectToolButton, "edit-select", "S", "SelectToolMenuItem"},
        {"PtnToolButton", PtnToolButton, "color-picker", "D", "PatternToolMenuItem"},
        {"ToolButton3", ToolButton3, "transform-move", "H", "HandToolMenuItem"},
        {"TerrainToolButton", TerrainToolButton, "tessella-terrain-brush", "B",
         "TerrainToolMenuItem"},
    };
    auto *buttonGroup = new QActionGroup(this);
    for (const TToolEntry &entry : tools) {
        QAction *button =
            AddToolButton(entry.Button, entry.Hint, entry.Icon, entry.Letter, MenuItem(entry.Menu));
        button->setCheckable(true);
        buttonGroup->addAction(button);
    }
    FToolBar->addSeparator();
    const TToolEntry switches[] = {
        {"ShowGridTollButton", ShowGridTollButton, "view-grid", "#", "ShowGridMenuItem"},
        {"ShowCursorGridToolButton", ShowCursorGridToolButton, "tessella-cursor-grid", "+",
         "ShowCGridMenuItem"},
        {"LayerBlendToolButton", LayerBlendToolButton, "weather-fog", "~", "LayerFogMenuItem"},
        {"ShowMarkerToolButton", ShowMarkerToolButton, "mark-location", "M", "ShowMarkerMenuItem"},
        {"NumToolButton", NumToolButton, "format-list-numbered", "1", "ShowNumberMenuItem"},
    };
    for (const TToolEntry &entry : switches)
        AddToolButton(entry.Button, entry.Hint, entry.Icon, entry.Letter, MenuItem(entry.Menu))
            ->setCheckable(true);
    FToolBar->addSeparator();
    AddToolButton("BigToolButton", BigToolButton, "zoom-in", "+", MenuItem("EditZoomInMenuItem"));
    AddToolButton("SmallToolButton", SmallToolButton, "zoom-out", "-",
                  MenuItem("EditZoomOutMenuItem"));
    FToolBar->addSeparator();
    const TToolEntry windows[] = {
        {"PartsWinToolButton", PartsWinToolButton, "applications-graphics", "P",
         "PartsWindowMenuItem"},
        {"LayerWinToolButton", LayerWinToolButton, "view-list-details", "L", "LayerWindowMenuItem"},
        {"PreWinToolButton", PreWinToolButton, "zoom-fit-best", "O", "OVWindowMenuItem"},
    };
    for (const TToolEntry &entry : windows)
        AddToolButton(entry.Button, entry.Hint, entry.Icon, entry.Letter, MenuItem(entry.Menu))
            ->setCheckable(true);
}

void TMainForm::BuildStatusBar()
{
    const QString texts[3] = {
        QString::fromStdString(GetLangString(1, "Corsor")) + "(0, 0)",
        QString::fromStdString(GetLangString(2, "Selection")) + "(0, 0)-(0, 0)",
        QString::fromStdString(GetLangString(3, "Display")) + "(0, 0)-(0, 0)",
    };
    const int widths[3] = {140, 190, 120};
    for (int i = 0; i < 3; ++i) {
        FStatusPanels[i] = new QLabel(texts[i]);
        FStatusPanels[i]->setMinimumWidth(widths[i]);
        statusBar()->addWidget(FStatusPanels[i], i == 2 ? 1 : 0);
    }
}

void TMainForm::InitHints()
{
    using namespace HintText;
    const std::pair<const char *, TLangEntry> hints[] = {
        {"NewToolButton", NewToolButton},
        {"OpenToolButton", OpenToolButton},
        {"SaveToolButton", SaveToolButton},
        {"CutToolButton", CutToolButton},
        {"CopyToolButton", CopyToolButton},
        {"PasteToolButton", PasteToolButton},
        {"UndoToolButton", UndoToolButton},
        {"RedoToolButton", RedoToolButton},
        {"PenToolButton", PenToolButton},
        {"MPenToolButton", MPenToolButton},
        {"EraserToolButton", EraserToolButton},
        {"FillToolButton", FillToolButton},
        {"SelectToolButton", SelectToolButton},
        {"PtnToolButton", PtnToolButton},
        {"ToolButton3", ToolButton3},
        {"TerrainToolButton", TerrainToolButton},
        {"ShowGridTollButton", ShowGridTollButton},
        {"ShowCursorGridToolButton", ShowCursorGridToolButton},
        {"LayerBlendToolButton", LayerBlendToolButton},
        {"ShowMarkerToolButton", ShowMarkerToolButton},
        {"NumToolButton", NumToolButton},
        {"BigToolButton", BigToolButton},
        {"SmallToolButton", SmallToolButton},
        {"PartsWinToolButton", PartsWinToolButton},
        {"LayerWinToolButton", LayerWinToolButton},
        {"PreWinToolButton", PreWinToolButton},
    };
    for (const auto &[name, hint] : hints)
        ToolButton(name)->setToolTip(Text(hint));
    InitToolWindowHints();
}

void TMainForm::SelectTool(uint8_t tool)
{
    FView.ToolMode = tool;
    const char *menu = nullptr;
    const char *button = nullptr;
    switch (tool) {
    case tmPen:
        menu = "PenToolMenuItem";
        button = "PenToolButton";
        break;
    case tmTiledPen:
        menu = "TPenToolMenuItem";
        button = "MPenToolButton";
        break;
    case tmFill:
        menu = "FillToolMenuItem";
        button = "FillToolButton";
        break;
    case tmEraser:
        menu = "EraserToolMenuItem";
        button = "EraserToolButton";
        break;
    case tmSelect:
        menu = "SelectToolMenuItem";
        button = "SelectToolButton";
        break;
    case tmPattern:
        menu = "PatternToolMenuItem";
        button = "PtnToolButton";
        break;
    case tmHand:
        menu = "HandToolMenuItem";
        button = "ToolButton3";
        break;
    case tmTerrain:
        menu = "TerrainToolMenuItem";
        button = "TerrainToolButton";
        break;
    default:
        return;
    }
    if (QAction *checked = FToolGroup->checkedAction(); checked != nullptr && tool == tmEraser)
        checked->setChecked(false);
    if (QAction *eraser = MenuItem("EraserToolMenuItem"))
        eraser->setChecked(tool == tmEraser);
    if (QAction *item = MenuItem(menu))
        item->setChecked(true);
    if (QAction *item = ToolButton(button))
        item->setChecked(true);
}

void TMainForm::ToggleSwitch(const std::string &menuName, const std::string &buttonName, bool &flag)
{
    QAction *item = MenuItem(menuName);
    // A menu entry that is checkable has already toggled itself when triggered from the
    // menu; ApplyEditorFlags sets the opposite mark and calls this directly.
    if (sender() != item)
        item->setChecked(!item->isChecked());
    flag = item->isChecked();
    if (QAction *button = ToolButton(buttonName))
        button->setChecked(flag);
    RedrawAll();
}

void TMainForm::ShowGridMenuItemClick()
{
    ToggleSwitch("ShowGridMenuItem", "ShowGridTollButton", FView.ShowGrid);
    // The parts window's grid may follow this switch ("SyncMainGrid").
    if (FChipForm != nullptr)
        FChipForm->UpdateFullCanvas();
}

void TMainForm::ShowCGridMenuItemClick()
{
    ToggleSwitch("ShowCGridMenuItem", "ShowCursorGridToolButton", FView.ShowCGrid);
}

void TMainForm::ShowMarkerMenuItemClick()
{
    ToggleSwitch("ShowMarkerMenuItem", "ShowMarkerToolButton", FView.ShowMarker);
}

void TMainForm::LayerFogMenuItemClick()
{
    ToggleSwitch("LayerFogMenuItem", "LayerBlendToolButton", FView.FogMode);
}

void TMainForm::ShowNumberMenuItemClick()
{
    ToggleSwitch("ShowNumberMenuItem", "NumToolButton", FView.ShowNumber);
}

void TMainForm::DoTransMenuItemClick()
{
    QAction *item = MenuItem("DoTransMenuItem");
    if (sender() != item)
        item->setChecked(!item->isChecked());
    FView.TransEnabled = item->isChecked();
    if (!FBackBuffer.IsEmpty())
        FBackBuffer.SetSize(FBackBuffer.Width(), FBackBuffer.Height(),
                            FView.TransEnabled ? 24 : 32);
    RedrawAll();
    if (FPreviewForm != nullptr)
        FPreviewForm->UpdatePreview();
}

void TMainForm::TransColorMenuItemClick()
{
    const std::optional<uint32_t> color = Dialogs().AskColor(FView.TransColor);
    if (!color)
        return;
    FView.TransColor = *color;
    RedrawAll();
    if (FPreviewForm != nullptr)
        FPreviewForm->UpdatePreview();
}

void TMainForm::WindowMenuItemClick(const std::string &name)
{
    QAction *item = MenuItem(name);
    QWidget *window = name == "PartsWindowMenuItem"   ? static_cast<QWidget *>(FChipForm)
                      : name == "LayerWindowMenuItem" ? static_cast<QWidget *>(FLayerForm)
                                                      : static_cast<QWidget *>(FPreviewForm);
    const char *button = name == "PartsWindowMenuItem"   ? "PartsWinToolButton"
                         : name == "LayerWindowMenuItem" ? "LayerWinToolButton"
                                                         : "PreWinToolButton";
    if (sender() != item)
        item->setChecked(!item->isChecked());
    ToolButton(button)->setChecked(item->isChecked());
    if (window != nullptr) {
        window->setVisible(item->isChecked());
        if (window == FPreviewForm && item->isChecked())
            FPreviewForm->UpdatePreview();
    }
}

void TMainForm::HideTollWindows()
{
    const std::pair<QWidget *, const char *> windows[] = {
        {FChipForm, "PartsWindowMenuItem"},
        {FLayerForm, "LayerWindowMenuItem"},
        {FPreviewForm, "OVWindowMenuItem"},
    };
    for (const auto &[window, menu] : windows) {
        if (window != nullptr)
            window->setVisible(FToolWindowsHidden && MenuItem(menu)->isChecked());
    }
    FToolWindowsHidden = !FToolWindowsHidden;
    activateWindow();
}

void TMainForm::ToolButtonMediator()
{
    TMap *map = MapDocument();
    if (map == nullptr || !map->IsReady())
        return;
    const bool project = FPlugins->HasProjectPlugin();
    ToolButton("NewToolButton")->setEnabled(true);
    for (const char *name : {"OpenMenuItem", "ReOpenMenuItem", "SaveAsMenuItem"})
        MenuItem(name)->setEnabled(project);
    ToolButton("OpenToolButton")->setEnabled(project);
    const bool canSave = project && map->IsModified();
    ToolButton("SaveToolButton")->setEnabled(canSave);
    MenuItem("SaveMenuItem")->setEnabled(canSave);
    MenuItem("ImportMenuItem")->setEnabled(FPlugins->HasImportPlugin());
    MenuItem("ExportMenuItem")->setEnabled(FPlugins->HasExportPlugin());
    const bool selected = FView.Selection.Active != 0;
    for (const char *name : {"CutMenuItem", "CopyMenuItem", "DoNotSelectMenuItem", "FillMenuItem"})
        MenuItem(name)->setEnabled(selected);
    ToolButton("CutToolButton")->setEnabled(selected);
    ToolButton("CopyToolButton")->setEnabled(selected);
    const int32_t layer = FLayerForm != nullptr ? FLayerForm->GetCurrentLayerIndex() : -1;
    MenuItem("ReplaceMenuItem")
        ->setEnabled(FLayerForm != nullptr && layer >= 0 &&
                     FLayerForm->GetLayerVisibleState(layer));
    ToolButton("PasteToolButton")->setEnabled(FEdit->Clipboard()->HasData());
    ToolButton("UndoToolButton")->setEnabled(map->CanUndo());
    MenuItem("UndoMenuItem")->setEnabled(map->CanUndo());
    ToolButton("RedoToolButton")->setEnabled(map->CanRedo());
    MenuItem("RedoMenuItem")->setEnabled(map->CanRedo());
    // Shown, not hidden: before the main window appears its tool windows are not yet
    // visible on the screen although they are meant to be.
    ToolButton("PartsWinToolButton")->setChecked(FChipForm != nullptr && !FChipForm->isHidden());
    ToolButton("LayerWinToolButton")->setChecked(FLayerForm != nullptr && !FLayerForm->isHidden());
    ToolButton("PreWinToolButton")
        ->setChecked(FPreviewForm != nullptr && !FPreviewForm->isHidden());
    UpdateTitle();
    MenuItem("DeleteLayerMenuItem")->setEnabled(map->LayerCount() > 1);
    MenuItem("SelectUpperMenuItem")->setEnabled(map->LayerCount() - layer > 1);
    MenuItem("SelectLowerMenuItem")->setEnabled(layer > 0);
}

void TMainForm::BuildPluginMenu()
{
    // Only plug-ins whose Flags are exactly pfCommand get an entry.
    const std::vector<TPluginList> &plugins = FPlugins->PluginList();
    for (size_t i = 0; i < plugins.size(); ++i) {
        if (plugins[i].Info.Flags != pfCommand)
            continue;
        QAction *item = FPluginMenu->addAction(
            QString::fromStdString(SystemTextToUtf8(plugins[i].Description())));
        connect(item, &QAction::triggered, this, [this, i] { FFiles->PluginMenuClick(i); });
        FPluginMenu->menuAction()->setVisible(true);
    }
}
