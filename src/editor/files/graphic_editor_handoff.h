#pragma once

// The graphic formula editor hand-off in the main window ("Editor grafico", Ctrl+G) and
// "Stampa formule" (Shift+F11). The formula (the page or the selection, after the "editmod"
// setting) is written in TeX into the exchange file in the program's private temporary
// folder, the editor named in the settings is started on it, and when it has ended what it
// saved is translated back and put in place of the page or the selection, in the notation of
// the current mode. The text steps are the pure functions of notation/handoff_*.h; this class
// does what the window does around them: messages, the file, the program, the editors.
//
// While the editor runs the window takes no edits: both editors are disabled and the status
// bar says why, so that a screen reader finds a window that answers and tells what it waits
// for; everything is given back when the editor ends.
//
// A selection is replaced directly in the editor, never through the clipboard: the
// student's clipboard survives a hand-off.
//
// Ownership: keeps references to the window, the formula error report and the filter table,
// which outlive it (the Workbench owns all three).

#include <functional>
#include <string>
#include <string_view>

#include "editor/window/main_window.h"
#include "notation/filter_table.h"
#include "notation/formula_error_report.h"
#include "notation/handoff_outgoing.h"
#include "notation/handoff_return.h"

namespace editor {

class TForm8;

namespace handoff_window_text {
// The status bar while the graphic editor runs.
inline constexpr std::string_view kEditorRunning =
    "Editor grafico in uso: chiudere l'editor grafico per tornare al documento";
}  // namespace handoff_window_text

// Shows the formula print preview with its title and the exercise folder for its folder field.
using FormulaPreview = std::function<void(const std::string& title, const std::string& folder)>;

class GraphicEditorHandoff {
public:
    GraphicEditorHandoff(TForm1& form, notation::FormulaErrorReport& errors,
                         const notation::FilterTable& filter);
    GraphicEditorHandoff(const GraphicEditorHandoff&) = delete;
    GraphicEditorHandoff& operator=(const GraphicEditorHandoff&) = delete;

    // The confirmation asked by "Stampa formule"; without one the command does nothing.
    void setConfirmation(TForm8* dialog) { confirmation_ = dialog; }
    // The preview shown when the editor leaves a picture on the clipboard in print-formulas
    // mode; without one print-formulas mode simply ends there.
    void setPreview(FormulaPreview preview) { preview_ = std::move(preview); }

    // "Editor grafico".
    void EditorgraficoClick();
    // "Stampa formule".
    void StampaformuleClick();

    // True while the editor program runs.
    bool editorRunning() const { return running_; }
    bool printFormulasMode() const { return printFormulas_; }

private:
    void handoff();
    // Starts the editor on the exchange file and waits; false when it could not be started.
    bool runEditor(const std::string& commandLine);
    void setBusy(bool busy);
    // Puts the result in place of what was taken from `before` and gives the caret back.
    void finish(ui::TextBox& box, std::string_view before, const notation::Placement& placement,
                notation::TextSelection selection, bool wholePage);

    TForm1& form_;
    notation::FormulaErrorReport& errors_;
    const notation::FilterTable& filter_;
    TForm8* confirmation_ = nullptr;
    FormulaPreview preview_;
    bool printFormulas_ = false;
    bool running_ = false;
    std::string statusBefore_;
};

}  // namespace editor
