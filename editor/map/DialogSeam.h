// The one seam between the editor's logic and the user's eyes and hands.
//
// Everything modal the editor does — message and question boxes, file and colour
// dialogs, the system beep, and the localised texts those boxes show — goes through
// a TDialogSeam. The shell installs one that shows Qt dialogs and reads the language
// catalogue; tests install one that answers from a script and records what was shown,
// so no test ever blocks on a modal window. The interface is free of Qt so that the
// map document can use it too.
#pragma once

#include <exception>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Kinds of the editor's message box; the caption is "Tessella : " + the localised kind word.
enum TMessageKind : int32_t {
    mkError = 0,
    mkInformation = 1,
    mkCaution = 2,
};

// Buttons a question offers and the answer it returns. YesNoLater's third button puts the
// decision off (its answer is Later, also when the box is closed).
enum class TQuestionButtons { YesNo, YesNoCancel, OkCancel, YesNoLater };
enum class TAnswer { Yes, No, Cancel, Ok, Later };

// The answer of a question closed without choosing a button.
constexpr TAnswer EscapeAnswer(TQuestionButtons buttons)
{
    return buttons == TQuestionButtons::YesNo        ? TAnswer::No
           : buttons == TQuestionButtons::YesNoLater ? TAnswer::Later
                                                     : TAnswer::Cancel;
}

enum class TQuestionIcon { Question, Warning, Information, Error };

// What a file dialog is asked to show. Filters use the "Label|pattern|Label|pattern"
// form; patterns may hold several globs separated by ';'.
struct TFileDialogRequest {
    std::string Title;
    std::string Filter;
    int32_t FilterIndex = 1; // 1-based, as the filter lists them
    std::string DefaultExt;  // without the dot, may be empty
    std::string InitialDir;
    std::string FileName; // proposed name
};

struct TFileDialogResult {
    std::string FileName; // full path
    int32_t FilterIndex = 1;
};

class TDialogSeam
{
public:
    virtual ~TDialogSeam() = default;

    virtual void Beep() = 0;

    // The editor's message box: one OK button. Kinds other than 0..2 show nothing.
    virtual void ShowMessageBox(int32_t kind, const std::string &text) = 0;

    // A question box with its own caption, as the question's owner builds it.
    virtual TAnswer AskQuestion(const std::string &caption, const std::string &text,
                                TQuestionButtons buttons, TQuestionIcon icon) = 0;

    // File dialogs; std::nullopt when the user cancelled.
    virtual std::optional<TFileDialogResult> AskOpenFile(const TFileDialogRequest &request) = 0;
    virtual std::optional<TFileDialogResult> AskSaveFile(const TFileDialogRequest &request) = 0;

    // Colour dialog; colours are 0x00BBGGRR. std::nullopt when cancelled.
    virtual std::optional<uint32_t> AskColor(uint32_t initial) = 0;

    // Localised texts: the catalogue's Strings and Messages with the caller's English default.
    virtual std::string GetLangString(int32_t index, const std::string &defaultText) = 0;
    virtual std::string GetLangMessage(int32_t index, const std::string &defaultText) = 0;
};

// A seam for code that runs with nobody to ask: no sound, no boxes, every question
// cancelled, English defaults. Used until the shell installs the real one.
class TQuietDialogSeam : public TDialogSeam
{
public:
    void Beep() override {}
    void ShowMessageBox(int32_t, const std::string &) override {}
    TAnswer AskQuestion(const std::string &, const std::string &, TQuestionButtons buttons,
                        TQuestionIcon) override
    {
        return EscapeAnswer(buttons);
    }
    std::optional<TFileDialogResult> AskOpenFile(const TFileDialogRequest &) override
    {
        return std::nullopt;
    }
    std::optional<TFileDialogResult> AskSaveFile(const TFileDialogRequest &) override
    {
        return std::nullopt;
    }
    std::optional<uint32_t> AskColor(uint32_t) override { return std::nullopt; }
    std::string GetLangString(int32_t, const std::string &defaultText) override
    {
        return defaultText;
    }
    std::string GetLangMessage(int32_t, const std::string &defaultText) override
    {
        return defaultText;
    }
};

// The message-box seam belongs to the language catalogue (one per program): every part
// of the editor reaches it here. It answers quietly until the shell (or a test) installs
// its own; installing returns the previous one, null restores the quiet seam.
TDialogSeam &Dialogs();
TDialogSeam *InstallDialogSeam(TDialogSeam *seam);

// What a message box says about a caught failure: the catalogue's "Not enough memory." for
// running out of memory (never the library's own text), otherwise the failure's text.
std::string FailureText(const std::exception &failure);
