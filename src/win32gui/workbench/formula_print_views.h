#pragma once

// The formula print windows on Windows, as the Linux build has them:
//   - the confirmation TForm8 ("Stampa formule"): the question and the buttons "Procedi" (the
//     default button, focused when it opens) and "Esci", wired to the dialog's logic;
//   - the preview: the preview's menus (two of them commands on the bar itself), the canvas
//     that shows the shapes the logic composes, filling the window, and the buttons "Stampa",
//     "Esci" and "Imposta stampante", which the logic places below the page preview.

#include <memory>

#include "editor/printing/formula_preview.h"
#include "editor/printing/formula_print_dialog.h"
#include "win32gui/controls/control_set.h"
#include "win32gui/controls/win32_menu.h"
#include "win32gui/win32_window.h"

namespace win32gui {

class FormulaPrintDialogView {
public:
    explicit FormulaPrintDialogView(HWND owner);
    ~FormulaPrintDialogView();
    FormulaPrintDialogView(const FormulaPrintDialogView&) = delete;
    FormulaPrintDialogView& operator=(const FormulaPrintDialogView&) = delete;

    Win32Window& window() { return *window_; }
    ControlSet& controls() { return *controls_; }
    editor::TForm8& logic() { return *logic_; }

private:
    std::unique_ptr<Win32Window> window_;
    std::unique_ptr<Win32Modal> modal_;
    std::unique_ptr<ControlSet> controls_;
    std::unique_ptr<editor::TForm8> logic_;
};

class FormulaPreviewView {
public:
    // `mainWindow`: whose place and size the preview takes when it opens.
    FormulaPreviewView(HWND owner, const ui::Window& mainWindow, ui::Dialogs& dialogs,
                       ui::Clipboard& clipboard, ui::Printer& printer);
    ~FormulaPreviewView();
    FormulaPreviewView(const FormulaPreviewView&) = delete;
    FormulaPreviewView& operator=(const FormulaPreviewView&) = delete;

    Win32Window& window() { return *window_; }
    ControlSet& controls() { return *controls_; }
    Win32MenuBar& menu() { return menu_; }
    editor::FormulaPrintPreview& logic() { return *logic_; }

private:
    std::unique_ptr<Win32Window> window_;
    Win32MenuBar menu_;
    std::unique_ptr<Win32Modal> modal_;
    std::unique_ptr<ControlSet> controls_;
    std::unique_ptr<editor::FormulaPrintPreview> logic_;
};

}  // namespace win32gui
