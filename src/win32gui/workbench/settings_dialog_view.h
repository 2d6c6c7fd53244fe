#pragma once

// The settings dialog TForm3 on Windows: a dialog owned by the main window, its controls made
// from the dialog's table (editor/settings/settings_dialog_controls.h), "Ok" pressed by Enter from
// a field, wired to the dialog's logic.

#include <memory>

#include "editor/settings/settings_dialog.h"
#include "win32gui/controls/control_set.h"
#include "win32gui/win32_window.h"

namespace win32gui {

class SettingsDialogView {
public:
    SettingsDialogView(HWND owner, ui::Dialogs& dialogs,
                       std::function<std::string()> clipboardText);
    ~SettingsDialogView();
    SettingsDialogView(const SettingsDialogView&) = delete;
    SettingsDialogView& operator=(const SettingsDialogView&) = delete;

    Win32Window& window() { return *window_; }
    ControlSet& controls() { return *controls_; }
    editor::TForm3& logic() { return *logic_; }

private:
    std::unique_ptr<Win32Window> window_;
    std::unique_ptr<Win32Modal> modal_;
    std::unique_ptr<ControlSet> controls_;
    std::unique_ptr<editor::TForm3> logic_;
};

}  // namespace win32gui
