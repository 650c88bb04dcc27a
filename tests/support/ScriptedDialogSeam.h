// A dialog seam for tests: answers come from a script, everything shown is recorded.
// Install it for the life of a test with TScopedDialogSeam.
#pragma once

#include "editor/map/DialogSeam.h"

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

struct TShownMessage {
    int32_t Kind;
    std::string Text;
};

struct TAskedQuestion {
    std::string Caption;
    std::string Text;
};

class TScriptedDialogSeam : public TDialogSeam
{
public:
    // What was shown, in order.
    int Beeps = 0;
    std::vector<TShownMessage> Messages;
    std::vector<TAskedQuestion> Questions;
    std::vector<TFileDialogRequest> OpenRequests;
    std::vector<TFileDialogRequest> SaveRequests;
    std::vector<uint32_t> ColorRequests;

    // Answers, taken front first; an empty queue cancels.
    std::deque<TAnswer> Answers;
    std::deque<std::optional<TFileDialogResult>> OpenAnswers;
    std::deque<std::optional<TFileDialogResult>> SaveAnswers;
    std::deque<std::optional<uint32_t>> ColorAnswers;

    void Beep() override { ++Beeps; }
    // Called as each message box shows, to look at the program at that moment.
    std::function<void(const TShownMessage &)> OnMessage;

    void ShowMessageBox(int32_t kind, const std::string &text) override
    {
        Messages.push_back({kind, text});
        if (OnMessage)
            OnMessage(Messages.back());
    }
    TAnswer AskQuestion(const std::string &caption, const std::string &text,
                        TQuestionButtons buttons, TQuestionIcon) override
    {
        Questions.push_back({caption, text});
        if (!Answers.empty()) {
            TAnswer answer = Answers.front();
            Answers.pop_front();
            return answer;
        }
        return EscapeAnswer(buttons);
    }
    std::optional<TFileDialogResult> AskOpenFile(const TFileDialogRequest &request) override
    {
        OpenRequests.push_back(request);
        return Take(OpenAnswers);
    }
    std::optional<TFileDialogResult> AskSaveFile(const TFileDialogRequest &request) override
    {
        SaveRequests.push_back(request);
        return Take(SaveAnswers);
    }
    std::optional<uint32_t> AskColor(uint32_t initial) override
    {
        ColorRequests.push_back(initial);
        return Take(ColorAnswers);
    }
    std::string GetLangString(int32_t, const std::string &defaultText) override
    {
        return defaultText;
    }
    std::string GetLangMessage(int32_t, const std::string &defaultText) override
    {
        return defaultText;
    }

    // The texts of every message box shown, in order.
    std::vector<std::string> MessageTexts() const
    {
        std::vector<std::string> texts;
        for (const TShownMessage &m : Messages)
            texts.push_back(m.Text);
        return texts;
    }

private:
    template <typename T> static std::optional<T> Take(std::deque<std::optional<T>> &queue)
    {
        if (queue.empty())
            return std::nullopt;
        std::optional<T> answer = queue.front();
        queue.pop_front();
        return answer;
    }
};

// Installs a scripted seam for one scope and restores the previous seam afterwards.
class TScopedDialogSeam
{
public:
    TScopedDialogSeam() : previous(InstallDialogSeam(&seam)) {}
    ~TScopedDialogSeam() { InstallDialogSeam(previous); }
    TScopedDialogSeam(const TScopedDialogSeam &) = delete;
    TScopedDialogSeam &operator=(const TScopedDialogSeam &) = delete;
    TScriptedDialogSeam *operator->() { return &seam; }
    TScriptedDialogSeam &operator*() { return seam; }

private:
    TScriptedDialogSeam seam;
    TDialogSeam *previous;
};
