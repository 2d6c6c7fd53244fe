#pragma once

// Every modal question the window logic asks goes through one Dialogs object, so that tests
// answer them in advance and the program shows real dialogs. Nothing in the core opens a
// modal window by itself.

#include <optional>
#include <string>
#include <string_view>

#include "ui/widgets.h"

namespace ui {

enum class Icon { None, Information, Warning, Error, Question };

// The buttons a message box offers; the answer is one of them.
enum class Buttons { Ok, OkNo, YesNo, YesNoCancel, OkCancel };
enum class Answer { Ok, Yes, No, Cancel };

struct MessageBox {
    std::string text;
    std::string caption;  // empty: the program's name
    Icon icon = Icon::None;
    Buttons buttons = Buttons::Ok;
};

struct FileDialog {
    std::string title;
    std::string filter;            // "Name|pattern|Name|pattern", as in "File mtf|*.mtf|Tutti|*.*"
    std::string initialDirectory;  // where the dialog opens
    std::string fileName;          // proposed name, with or without directory
};

class Dialogs {
public:
    virtual ~Dialogs() = default;

    virtual void beep() = 0;
    virtual Answer message(const MessageBox& box) = 0;

    // Text asked for in one field, proposed with `value`; nullopt when cancelled.
    virtual std::optional<std::string> inputBox(std::string_view caption, std::string_view prompt,
                                                std::string_view value) = 0;

    // The chosen path, or nullopt when cancelled.
    virtual std::optional<std::string> openFile(const FileDialog& dialog) = 0;
    virtual std::optional<std::string> saveFile(const FileDialog& dialog) = 0;
    virtual std::optional<std::string> chooseFolder(std::string_view title,
                                                    std::string_view start) = 0;

    virtual std::optional<Font> chooseFont(const Font& current) = 0;
    // The print dialog and the printer setup dialog: true when the user confirmed.
    virtual bool printDialog() = 0;
    virtual bool printerSetup() = 0;

    // Shorthands for the common boxes.
    void error(std::string_view text) {
        message({std::string(text), {}, Icon::Error, Buttons::Ok});
    }
    void warning(std::string_view text) {
        message({std::string(text), {}, Icon::Warning, Buttons::Ok});
    }
    void information(std::string_view text) {
        message({std::string(text), {}, Icon::Information, Buttons::Ok});
    }
    Answer question(std::string_view text, Buttons buttons, std::string_view caption = {}) {
        return message({std::string(text), std::string(caption), Icon::Question, buttons});
    }
};

}  // namespace ui
