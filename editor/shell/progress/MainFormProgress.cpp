// The main window's progress callback: how file plug-ins, image plug-ins and the map's
// transforms report a long operation, and the window and title changes that go with it.
#include "ProgressForm.h"
#include "editor/parts/ChipForm.h"
#include "editor/plugins/TextEncoding.h"
#include "editor/shell/MainForm.h"
#include "editor/shell/settings/Settings.h"
#include "editor/shell/settings/SettingsFile.h"
#include "editor/shell/windows/LayerForm.h"
#include "editor/shell/windows/PreviewForm.h"

#include <QAction>
#include <QApplication>

void TMainForm::TProgressFormDeleter::operator()(TProgressForm *form) const
{
    // A report may end the progress from inside the window's own event processing.
    form->deleteLater();
}

int32_t TMainForm::ProgressProc(int32_t Position, int32_t Total, const char *Message)
{
    // The callback carries no context: it reports to the program's one main window.
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (auto *form = qobject_cast<TMainForm *>(window))
            return form->ReportProgress(Position, Total,
                                        Message != nullptr ? SystemTextToUtf8(Message) : "")
                       ? 1
                       : 0;
    }
    return 1;
}

TProgressProc TMainForm::ProgressCallback()
{
    return [this](int32_t position, int32_t total, const std::string &message) {
        return ReportProgress(position, total, message);
    };
}

bool TMainForm::ReportProgress(int32_t Position, int32_t Total, const std::string &Message)
{
    if (Total < Position)
        return false;
    if (Position < 0 && Position == Total) {
        if (Position == -1) {
            EndProgress();
        } else if (Position == -2) {
            if (FProgressForm) {
                FProgressForm->SetMessage(Message);
                if (FProgressForm && FProgressForm->isVisible())
                    QCoreApplication::processEvents(QEventLoop::ExcludeSocketNotifiers);
            }
        } else {
            StartProgress(false, -Total);
        }
        return true;
    }
    if (Position == 0) {
        StartProgress(true, Total);
        return true;
    }
    if ((Position > 0 && Position < Total) || Position < 0) {
        if (FProgressForm) {
            if (!FProgressForm->ProcessAbsolute(Position))
                return false;
            // The window may have been ended by a report made while events ran.
            if (FProgressForm) {
                FProgressForm->SetMessage(Message);
                if (FProgressForm->isVisible())
                    FProgressForm->raise();
            }
        }
        return true;
    }
    EndProgress();
    return true;
}

void TMainForm::StartProgress(bool cancelable, int32_t maximum)
{
    setWindowTitle("please wait...");
    if (!FProgressForm) {
        FProgressForm.reset(new TProgressForm(cancelable, this));
        connect(FProgressForm.get(), &TProgressForm::DelayedShown, this,
                &TMainForm::ProgressWindowShown);
    }
    FProgressForm->Start(0, maximum, ReadProgressForceTime(SettingsFile()));
}

void TMainForm::ProgressWindowShown()
{
    HideAllClients();
    hide();
    FProgressHidWindows = true;
}

void TMainForm::EndProgress()
{
    if (FProgressForm)
        FProgressForm->Process();
    if (FProgressForm) {
        const bool closeRequested = FProgressForm->Finish();
        FProgressForm.reset();
        if (closeRequested)
            QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    }
    if (FProgressHidWindows) {
        FProgressHidWindows = false;
        show();
        ShowAllClients();
        activateWindow();
    }
    UpdateTitle();
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
