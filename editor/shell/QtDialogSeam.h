// The dialog seam of the running program: Qt message boxes, file and colour dialogs and
// the system beep, with texts from the language catalogue. The shell installs it at start.
#pragma once

#include "editor/map/DialogSeam.h"

#include <QMessageBox>
#include <memory>

class QWidget;

class TQtDialogSeam : public TDialogSeam
{
public:
    void Beep() override;
    void ShowMessageBox(int32_t kind, const std::string &text) override;
    TAnswer AskQuestion(const std::string &caption, const std::string &text,
                        TQuestionButtons buttons, TQuestionIcon icon) override;
    std::optional<TFileDialogResult> AskOpenFile(const TFileDialogRequest &request) override;
    std::optional<TFileDialogResult> AskSaveFile(const TFileDialogRequest &request) override;
    std::optional<uint32_t> AskColor(uint32_t initial) override;
    std::string GetLangString(int32_t index, const std::string &defaultText) override;
    std::string GetLangMessage(int32_t index, const std::string &defaultText) override;
};

// The boxes the seam shows, built but not shown, so their texts, icons and buttons can be
// checked without a modal loop. The message box is null for kinds other than 0..2.
std::unique_ptr<QMessageBox> BuildMessageBox(int32_t kind, const std::string &text,
                                             QWidget *parent);
std::unique_ptr<QMessageBox> BuildQuestionBox(const std::string &caption, const std::string &text,
                                              TQuestionButtons buttons, TQuestionIcon icon,
                                              QWidget *parent);
// What a question box's pressed button answers; Esc and the close box cancel, or say No
// where there is no Cancel.
TAnswer AnswerOf(const QMessageBox &box, TQuestionButtons buttons);
