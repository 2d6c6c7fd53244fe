#pragma once

// The keys of a dialog made from a control table, as the window's key listener: Esc asks the
// window to close (its close query decides: a dialog's Cancel or Quit), and Alt with the letter
// a caption marks with "&" works that control: a button or check box is pressed, a label puts
// the focus on the control it names. When several usable controls have the same key, each
// press moves the focus to the next of them instead, as dialogs do. Alt with a key no control
// has goes on (the system beeps). The release of an Alt that worked a control is kept from the
// window, which would open its system menu for an Alt pressed alone.

#include <span>

#include "ui/control_spec.h"
#include "ui/keys.h"
#include "win32gui/control_set.h"
#include "win32gui/win32_window.h"

namespace win32gui {

class DialogKeys : public ui::KeyListener {
public:
    // Borrows all; the table is the one `controls` was made from.
    DialogKeys(Win32Window& window, ControlSet& controls, std::span<const ui::ControlSpec> table);

    void keyDown(ui::KeyEvent& event) override;
    void keyPress(ui::KeyPress& press) override;
    void keyUp(ui::KeyEvent& event) override;

    // Works the control whose caption marks `letter` (a capital); false when none has it.
    bool accessKey(char letter);

private:
    HWND target(std::size_t index);

    Win32Window& window_;
    ControlSet& controls_;
    std::span<const ui::ControlSpec> table_;
    // Alt worked a control since it went down: its release must not open the system menu.
    bool altUsed_ = false;
};

}  // namespace win32gui
