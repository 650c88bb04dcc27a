// The progress window: a bar, an optional message line and an optional abort button, shown
// only once an operation has run longer than "ProgressForceTime" milliseconds. While it
// exists its gate holds back every other input of the program. It knows nothing of the
// operation: the main window's progress callback drives it (MainFormProgress.cpp).
#pragma once

#include "ProgressGate.h"

#include <QElapsedTimer>
#include <QWidget>
#include <cstdint>
#include <string>

class QLabel;
class QProgressBar;
class QPushButton;

class TProgressForm : public QWidget
{
    Q_OBJECT
public:
    // cancelable: the abort button is shown. owner: the main window, which the window is
    // centred on and whose close request waits for the end.
    TProgressForm(bool cancelable, QWidget *owner);
    ~TProgressForm() override;

    // Hidden again, range minimum..maximum at position 0, not cancelled, the clock restarted.
    void Start(int32_t minimum, int32_t maximum, int32_t showDelay);
    // Sets the position; false when the user aborted or the bar has no range.
    bool ProcessAbsolute(int32_t value);
    // Advances one step; false at the maximum or after an abort.
    bool Process();
    // Lets events run without moving the bar; false once the user aborted.
    bool Poll();
    void SetMessage(const std::string &text);
    // Lets the program's input through again and hides the window. True when the main window
    // was asked to close meanwhile.
    bool Finish();

    bool Cancelable() const { return FCancelable; }
    bool Cancelled() const { return FCancelled; }
    bool ShowText() const { return FShowText; }
    int32_t Position() const;
    int32_t Maximum() const;
    QPushButton *AbortButton() const { return FAbortButton; }

signals:
    // The window has just been shown; the owner hides itself and its tool windows.
    void DelayedShown();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void DelayedShow();
    void ProcessMessages();
    void LayOut();

    QLabel *FMessage = nullptr;
    QProgressBar *FBar = nullptr;
    QPushButton *FAbortButton = nullptr;
    QWidget *FOwner = nullptr;
    bool FCancelable = false;
    bool FShowText = true;
    bool FCancelled = false;
    int32_t FShowDelay = 300;
    QElapsedTimer FStartTime;
    TProgressGate FGate;
};
