#pragma once

// Dialogs answered in advance, for tests: queue the answers, run the window, then read what
// was asked. Every dialog is logged in order, with beeps, so a test can check that a beep came
// before a warning or that one question came before another.

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "ui/dialogs.h"

namespace ui::memory {

class ScriptedDialogs : public Dialogs {
public:
    enum class Kind { Beep, Message, Input, Open, Save, Folder, Font, Print, PrinterSetup };

    struct Entry {
        Kind kind = Kind::Message;
        MessageBox box;       // Message
        std::string caption;  // Input, Folder: caption; Open, Save: title
        std::string prompt;   // Input: prompt; Folder: start
        std::string value;    // Input: proposed value
        FileDialog file;      // Open, Save
    };

    // Answers, taken in order by the dialogs of their kind. A message box with only an OK
    // button takes no answer. A question with no answer left counts as unanswered and gets
    // Cancel when offered, else No; a text dialog gets nullopt (cancelled).
    void answer(Answer answer) { answers_.push_back(answer); }
    void answerText(std::optional<std::string> text) { texts_.push_back(std::move(text)); }
    void answerFont(std::optional<Font> font) { fonts_.push_back(std::move(font)); }
    void answerPrint(bool confirmed) { prints_.push_back(confirmed); }

    const std::vector<Entry>& log() const { return log_; }
    // The texts of the message boxes, in order.
    std::vector<std::string> messages() const;
    // The message boxes with their icons, e.g. "warning:Font Braille non installato",
    // and "beep" for each beep, in order.
    std::vector<std::string> transcript() const;
    int beeps() const;
    int unanswered() const { return unanswered_; }
    bool allAnswersUsed() const {
        return answers_.empty() && texts_.empty() && fonts_.empty() && prints_.empty();
    }
    void clearLog() { log_.clear(); }

    void beep() override;
    Answer message(const MessageBox& box) override;
    std::optional<std::string> inputBox(std::string_view caption, std::string_view prompt,
                                        std::string_view value) override;
    std::optional<std::string> openFile(const FileDialog& dialog) override;
    std::optional<std::string> saveFile(const FileDialog& dialog) override;
    std::optional<std::string> chooseFolder(std::string_view title,
                                            std::string_view start) override;
    std::optional<Font> chooseFont(const Font& current) override;
    bool printDialog() override;
    bool printerSetup() override;

private:
    // The next of the answers given in advance; `none` when none is left (counted as unanswered).
    template <class T>
    T next(std::deque<T>& answers, T none);

    std::deque<Answer> answers_;
    std::deque<std::optional<std::string>> texts_;
    std::deque<std::optional<Font>> fonts_;
    std::deque<bool> prints_;
    std::vector<Entry> log_;
    int unanswered_ = 0;
};

}  // namespace ui::memory
