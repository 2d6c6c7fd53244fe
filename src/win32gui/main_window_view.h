#pragma once

// The main window TForm1 on Windows: the menu bar built from the command table, the labels, the
// buttons, the page tabs, both editors (the Braille editor in the program's Braille font), the
// palette lists, the linear view strip, the symbol legend, the status bar and the about panel,
// made from the window's table (editor/main_window_controls.h) and wired to the window's logic
// and its features (editor::Workbench), with the settings dialog beside it.
//
// The learning tools, the formula print preview and its confirmation are not built on Windows
// yet: their commands say so in a message box.

#include <memory>
#include <vector>

#include "editor/main_window.h"
#include "editor/workbench.h"
#include "speech/engine.h"
#include "win32gui/control_set.h"
#include "win32gui/math_painter.h"
#include "win32gui/settings_dialog_view.h"
#include "win32gui/win32_controls.h"
#include "win32gui/win32_dialogs.h"
#include "win32gui/win32_menu.h"
#include "win32gui/win32_printer.h"
#include "win32gui/win32_services.h"
#include "win32gui/win32_window.h"

namespace win32gui {

struct MainWindowOptions {
    editor::MainWindowEnvironment environment;
    // Where speech requests go when the window has no speech reader of its own.
    speech::RequestSink* speech = nullptr;
    // The window speaks through a speech reader made with `speechEngine` (null: the engine
    // could not be created, which the window says once before it goes on silent); without
    // `speechReader` it has no speech at all.
    bool speechReader = false;
    std::unique_ptr<speech::Engine> speechEngine;
    editor::MainWindowHooks hooks;
    // Dialogs to use instead of real ones (tests answer them in advance); null for real ones.
    ui::Dialogs* dialogs = nullptr;
};

class MainWindowView {
public:
    explicit MainWindowView(MainWindowOptions options);
    ~MainWindowView();
    MainWindowView(const MainWindowView&) = delete;
    MainWindowView& operator=(const MainWindowView&) = delete;

    Win32Window& window() { return *window_; }
    ControlSet& controls() { return *controls_; }
    Win32MenuBar& menu() { return menu_; }
    editor::TForm1& logic() { return *logic_; }
    editor::Workbench& workbench() { return *workbench_; }
    SettingsDialogView& settings() { return *settings_; }
    ui::Dialogs& dialogs() { return *dialogs_; }
    Win32Clipboard& clipboard() { return clipboard_; }

private:
    class Unavailable;

    Win32Keyboard keyboard_;
    Win32Clipboard clipboard_;
    Win32Shell shell_;
    PrinterChoice printerChoice_;
    Win32Printer printer_{printerChoice_};
    Win32MenuBar menu_;
    MathFonts fonts_;
    std::unique_ptr<Win32Window> window_;
    std::unique_ptr<Win32Dialogs> ownDialogs_;
    ui::Dialogs* dialogs_ = nullptr;
    std::unique_ptr<ControlSet> controls_;
    Win32Timer timer1_;
    Win32Timer timer2_;
    std::unique_ptr<SettingsDialogView> settings_;
    std::unique_ptr<editor::TForm1> logic_;
    std::unique_ptr<editor::Workbench> workbench_;  // after the logic: goes first
    std::vector<std::unique_ptr<Unavailable>> unavailable_;
    HFONT tabFont_ = nullptr;
};

}  // namespace win32gui
