// The progress display of the main window: the protocol of the progress callback (start,
// steps, messages, end) turned into the progress window, its input gate, the title "please
// wait..." and the main and tool windows hidden while the window shows.
#pragma once

#include "editor/map/DefineUnit.h"

#include <QObject>
#include <cstdint>
#include <memory>
#include <string>

class TMainForm;
class TProgressForm;

class TProgressDisplay : public QObject
{
    Q_OBJECT
public:
    explicit TProgressDisplay(TMainForm &Form);
    ~TProgressDisplay() override;

    // One report of the callback protocol; false when the user aborted.
    bool Report(int32_t Position, int32_t Total, const std::string &Message);
    // The same as the callback of the map's transforms and the file plug-ins.
    TProgressProc Callback();
    // For work that may run inside a larger operation (an image plug-in's load while an
    // open loads each layer's image): with a display already running, its start, steps and
    // end only let events run and carry the abort; the outer bar, maximum and window stay.
    TProgressProc NestedCallback();
    // The operation is over: the window and its gate go, the windows it hid come back.
    void End();
    // A progress window exists: the program takes no commands until it ends.
    bool Running() const { return FForm != nullptr; }
    TProgressForm *Form() const { return FForm.get(); }

private:
    void Start(bool Cancelable, int32_t Maximum);
    void WindowShown();

    struct TFormDeleter {
        void operator()(TProgressForm *form) const;
    };
    TMainForm &FMainForm;
    std::unique_ptr<TProgressForm, TFormDeleter> FForm;
    bool FHidWindows = false;
};
