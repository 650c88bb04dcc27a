#include "ProgressDisplay.h"

#include "ProgressForm.h"
#include "editor/shell/MainForm.h"
#include "editor/shell/settings/Settings.h"
#include "editor/shell/settings/SettingsFile.h"

#include <QApplication>
#include <memory>

void TProgressDisplay::TFormDeleter::operator()(TProgressForm *form) const
{
    // A report may end the progress from inside the window's own event processing.
    form->deleteLater();
}

TProgressDisplay::TProgressDisplay(TMainForm &Form) : FMainForm(Form) {}

TProgressDisplay::~TProgressDisplay() = default;

TProgressProc TProgressDisplay::Callback()
{
    return [this](int32_t position, int32_t total, const std::string &message) {
        return Report(position, total, message);
    };
}

TProgressProc TProgressDisplay::NestedCallback()
{
    // Whether the running operation is an outer one that this callback's work joined.
    auto joined = std::make_shared<bool>(false);
    return [this, joined](int32_t position, int32_t total, const std::string &message) {
        const bool start = position == 0 || (position < -2 && position == total);
        const bool end = position >= 0 && position == total;
        if (start && !*joined && Running())
            *joined = true;
        if (!*joined)
            return Report(position, total, message);
        if (end || (position == -1 && total == -1)) {
            *joined = false;
            return true;
        }
        return !FForm || FForm->Poll();
    };
}

bool TProgressDisplay::Report(int32_t Position, int32_t Total, const std::string &Message)
{
    if (Total < Position)
        return false;
    if (Position < 0 && Position == Total) {
        if (Position == -1) {
            End();
        } else if (Position == -2) {
            if (FForm) {
                FForm->SetMessage(Message);
                if (FForm && FForm->isVisible())
                    QCoreApplication::processEvents(QEventLoop::ExcludeSocketNotifiers);
            }
        } else {
            Start(false, -Total);
        }
        return true;
    }
    if (Position == 0) {
        Start(true, Total);
        return true;
    }
    if ((Position > 0 && Position < Total) || Position < 0) {
        if (FForm) {
            if (!FForm->ProcessAbsolute(Position))
                return false;
            // The window may have been ended by a report made while events ran.
            if (FForm) {
                FForm->SetMessage(Message);
                if (FForm->isVisible())
                    FForm->raise();
            }
        }
        return true;
    }
    End();
    return true;
}

void TProgressDisplay::Start(bool cancelable, int32_t maximum)
{
    FMainForm.setWindowTitle("please wait...");
    if (!FForm) {
        FForm.reset(new TProgressForm(cancelable, &FMainForm));
        connect(FForm.get(), &TProgressForm::DelayedShown, this, &TProgressDisplay::WindowShown);
    }
    FForm->Start(0, maximum, ReadProgressForceTime(SettingsFile()));
}

void TProgressDisplay::WindowShown()
{
    FMainForm.HideAllClients();
    FMainForm.hide();
    FHidWindows = true;
}

void TProgressDisplay::End()
{
    if (FForm)
        FForm->Process();
    if (FForm) {
        const bool closeRequested = FForm->Finish();
        FForm.reset();
        if (closeRequested)
            QMetaObject::invokeMethod(&FMainForm, &QWidget::close, Qt::QueuedConnection);
    }
    if (FHidWindows) {
        FHidWindows = false;
        FMainForm.show();
        FMainForm.ShowAllClients();
        FMainForm.activateWindow();
    }
    FMainForm.UpdateTitle();
}
