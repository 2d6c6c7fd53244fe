#pragma once

// The main window TForm1 on Qt: the menu bar built from the command table, the labels, the
// buttons, the page tabs, both editors (the Braille editor in the program's Braille font), the
// palette list, the linear view area, the status bar and the about panel, each with an
// accessible name, wired to the window's logic.

#include <QMainWindow>
#include <memory>
#include <vector>

#include "editor/window/main_window.h"
#include "editor/workbench.h"
#include "gui/calc_sheet_view.h"
#include "gui/decomposition_window.h"
#include "gui/formula_preview_view.h"
#include "gui/formula_print_dialog_view.h"
#include "gui/qt_services.h"
#include "gui/qt_widgets.h"
#include "gui/qt_window.h"
#include "gui/settings_dialog_view.h"
#include "gui/structure_window.h"
#include "gui/tutor_view.h"

namespace gui {

struct MainWindowOptions : editor::WorkbenchOptions {
    // The refreshable Braille display; null for the program's own (BrlAPI when built with it).
    std::unique_ptr<ui::BrailleDisplay> brailleDisplay;
};

class MainWindowView {
public:
    explicit MainWindowView(MainWindowOptions options);
    ~MainWindowView();
    MainWindowView(const MainWindowView&) = delete;
    MainWindowView& operator=(const MainWindowView&) = delete;

    QMainWindow& window() { return *window_; }
    editor::TForm1& logic() { return *logic_; }
    editor::Workbench& workbench() { return *workbench_; }
    SettingsDialogView& settings() { return *settings_; }
    FormulaPrintDialogView& formulaPrint() { return *formulaPrint_; }
    FormulaPreviewView& formulaPreview() { return *formulaPreview_; }
    CalcSheetView& calcSheet() { return *calcSheet_; }
    // The tutors: brackets, operations, complex fractions.
    TutorView& tutor(learning::TutorKind kind) { return *tutors_.at(static_cast<int>(kind)); }
    StructureWindow& structureView() { return *structure_; }
    DecompositionWindow& decomposition() { return *decomposition_; }
    ui::Dialogs& dialogs() { return *dialogs_; }
    QtPrinter& printer() { return printer_; }

private:
    class HoverFilter;

    QMainWindow* window_;
    QtKeyboard keyboard_;
    QtClipboard clipboard_;
    QtShell shell_;
    QtPrinter printer_;
    std::unique_ptr<QtDialogs> ownDialogs_;
    ui::Dialogs* dialogs_;
    std::unique_ptr<QtWindow> form_;
    QtMenuBar menu_;
    std::vector<std::unique_ptr<ui::Widget>> adapters_;
    std::vector<std::unique_ptr<QtTimer>> timers_;
    editor::TForm1* hoverLogic_ = nullptr;
    std::unique_ptr<HoverFilter> hover_;
    std::unique_ptr<SettingsDialogView> settings_;
    std::unique_ptr<FormulaPrintDialogView> formulaPrint_;
    std::unique_ptr<FormulaPreviewView> formulaPreview_;
    std::unique_ptr<editor::TForm1> logic_;
    std::unique_ptr<ui::BrailleDisplay> brailleDisplay_;  // outlives the workbench
    std::unique_ptr<editor::Workbench> workbench_;        // after the logic: goes first
    std::unique_ptr<CalcSheetView> calcSheet_;
    std::vector<std::unique_ptr<TutorView>> tutors_;
    std::unique_ptr<StructureWindow> structure_;
    std::unique_ptr<DecompositionWindow> decomposition_;
};

}  // namespace gui
