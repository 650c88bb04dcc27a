// The main window's progress callback: how file plug-ins, image plug-ins and the map's
// transforms report a long operation, and the window and title changes that go with it.
#include "ProgressDisplay.h"
#include "editor/parts/ChipForm.h"
#include "editor/plugins/TextEncoding.h"
#include "editor/shell/MainForm.h"
#include "editor/shell/settings/Settings.h"
#include "editor/shell/settings/SettingsFile.h"
#include "editor/shell/windows/LayerForm.h"
#include "editor/shell/windows/PreviewForm.h"

#include <QAction>
#include <QApplication>

int32_t TMainForm::ProgressProc(int32_t Position, int32_t Total, const char *Message)
{
    // The callback carries no context: it reports to the program's one main window.
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (auto *form = qobject_cast<TMainForm *>(window))
            return form->Progress().Report(Position, Total,
                                           Message != nullptr ? SystemTextToUtf8(Message) : "")
                       ? 1
                       : 0;
    }
    return 1;
}

void TMainForm::HideAllClients()
{
    for (QWidget *window : {static_cast<QWidget *>(FChipForm), static_cast<QWidget *>(FLayerForm),
                            static_cast<QWidget *>(FPreviewForm)})
        if (window != nullptr)
            window->hide();
}

void TMainForm::ShowAllClients()
{
    // Windows the user put away with Esc stay away.
    if (FToolWindowsHidden)
        return;
    const std::pair<QWidget *, const char *> windows[] = {
        {FChipForm, "PartsWindowMenuItem"},
        {FLayerForm, "LayerWindowMenuItem"},
        {FPreviewForm, "OVWindowMenuItem"},
    };
    for (const auto &[window, menu] : windows)
        if (window != nullptr && MenuItem(menu)->isChecked())
            window->show();
}
