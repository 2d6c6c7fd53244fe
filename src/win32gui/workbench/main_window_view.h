#pragma once

// The main window TForm1 on Windows: the menu bar built from the command table, the labels, the
// buttons, the page tabs, both editors (the Braille editor in the program's Braille font), the
// palette lists, the linear view strip, the symbol legend, the status bar and the about panel,
// made from the window's table (editor/window/main_window_controls.h) and wired to the window's
// logic and its features (editor::Workbench), with the settings dialog beside it.
//
// The learning tools (the calculation sheet, the structure view, the decomposition, the three
// tutors), the formula print confirmation and its preview open over it modally as on Linux.

#include <memory>
#include <vector>

#include "editor/window/main_window.h"
#include "editor/workbench.h"
#include "speech/engine.h"
#include "win32gui/controls/control_set.h"
#include "win32gui/controls/math_painter.h"
#include "win32gui/controls/win32_controls.h"
#include "win32gui/controls/win32_menu.h"
#include "win32gui/learning/calc_sheet_view.h"
#include "win32gui/learning/structure_windows.h"
#include "win32gui/learning/tutor_view.h"
#include "win32gui/services/win32_dialogs.h"
#include "win32gui/services/win32_printer.h"
#include "win32gui/services/win32_services.h"
#include "win32gui/win32_window.h"
#include "win32gui/workbench/formula_print_views.h"
#include "win32gui/workbench/settings_dialog_view.h"

namespace win32gui {

using MainWindowOptions = editor::WorkbenchOptions;

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
    CalcSheetView& calcSheet() { return *calcSheet_; }
    StructureWindow& structureView() { return *structure_; }
    DecompositionWindow& decomposition() { return *decomposition_; }
    FormulaPrintDialogView& formulaPrint() { return *formulaPrint_; }
    FormulaPreviewView& formulaPreview() { return *formulaPreview_; }
    TutorView& tutor(learning::TutorKind kind) {
        return *tutors_.at(static_cast<std::size_t>(kind));
    }

private:
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
    Win32Timer recoveryTimer_;
    std::unique_ptr<SettingsDialogView> settings_;
    std::unique_ptr<editor::TForm1> logic_;
    std::unique_ptr<editor::Workbench> workbench_;  // after the logic: goes first
    std::unique_ptr<CalcSheetView> calcSheet_;
    std::unique_ptr<StructureWindow> structure_;
    std::unique_ptr<DecompositionWindow> decomposition_;
    std::vector<std::unique_ptr<TutorView>> tutors_;  // in the order of learning::TutorKind
    std::unique_ptr<FormulaPrintDialogView> formulaPrint_;
    std::unique_ptr<FormulaPreviewView> formulaPreview_;
    HFONT tabFont_ = nullptr;
};

}  // namespace win32gui
