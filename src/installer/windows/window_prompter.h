#pragma once

// The installer's questions as the windows ask them: message boxes through ui::Dialogs and
// the licence window, always on the window thread (a question from another thread is handed
// to it and waited for).

#include <functional>

#include "installer/flow/window_thread.h"
#include "installer/prompter.h"
#include "ui/dialogs.h"

namespace installer {

class WindowPrompter : public Prompter {
public:
    // `license` shows the licence window with the text; true for "I Agree".
    WindowPrompter(ui::Dialogs& dialogs, WindowThread& thread,
                   std::function<bool(std::string_view text)> license)
        : dialogs_(dialogs), thread_(thread), license_(std::move(license)) {}

    Answer message(std::string_view text, std::string_view caption, Icon icon,
                   Buttons buttons) override;
    bool license(std::string_view text) override;

private:
    ui::Dialogs& dialogs_;
    WindowThread& thread_;
    std::function<bool(std::string_view)> license_;
};

}  // namespace installer
