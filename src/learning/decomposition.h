#pragma once

// TForm9, the decomposition ("Scomposizione"): shown modally on the caret line of the Braille
// page, it walks the student through the order of operations (decomposition_steps.h). The
// step button names the next class of work with its count; pressing it puts the next piece
// into the work box, and the student types its value in the answer box and accepts it with
// "Procedi". A group that holds more than one class of work is worked inside first, through
// the inner step button ("Potenze", "Molt. - Div.") and the inner work and answer boxes; each
// inner value goes back into the group at once. The history keeps the expression after each
// finished class of work and the result; "Memorizza risultato ed esci" (Ctrl+C) puts it into
// the page. "Apri foglio calcolo" (Ctrl+A) works the current piece in the calculation sheet and
// brings its result back into the answer box.
//
// Ownership: TForm9 keeps references to its widgets, services, host and sheet; the builder
// keeps them alive for as long as the TForm9 lives.

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "learning/calc_sheet_opener.h"
#include "learning/decomposition_steps.h"
#include "learning/structure_host.h"
#include "learning/tool_window.h"
#include "ui/widgets.h"

namespace learning {

enum class DecompositionCommand : int {
    None = 0,
    MenuFile,
    Escisenzamemorizzare1,      // Esc
    Uscita1,                    // Ctrl+X
    Memorizzarisultatoedesci1,  // Ctrl+C
    Aprifogliocalcolo1,         // Ctrl+A
    Count
};

using DecompositionMenuEntry = ToolMenuEntry<DecompositionCommand>;
std::span<const DecompositionMenuEntry> decompositionMenuTable();

struct DecompositionWidgets {
    ui::Window& form;
    ui::ModalWindow& modal;
    ui::MenuBar& menu;
    ui::TextBox& Memo1;    // the history, read-only
    ui::TextBox& Edit1;    // the work box, read-only
    ui::Control& Label1;   // "=" after the work box
    ui::TextBox& Edit2;    // the answer box
    ui::TextBox& Edit3;    // the inner work box, read-only
    ui::Control& Label2;   // "=" after the inner work box
    ui::TextBox& Edit4;    // the inner answer box
    ui::Control& Button1;  // the step button
    ui::Control& Button2;  // "Procedi"
    ui::Control& Button3;  // the inner step button
    ui::Control& Button4;  // "Procedi" inside the group
    ui::Control& Button5;  // "Ricomincia"
    ui::Control& Button6;  // "Esci"
    ui::Control& Button7;  // "Mem.risultato ed esci"
};

// The widgets of a toolkit's window built from decompositionLayout(), by their names there.
template <class Frame>
DecompositionWidgets decompositionWidgets(Frame& f) {
    return DecompositionWidgets(f.window(), f.modal(), f.menu(), f.box("Memo1"), f.box("Edit1"),
                                f.control("Label1"), f.box("Edit2"), f.box("Edit3"),
                                f.control("Label2"), f.box("Edit4"), f.control("Button1"),
                                f.control("Button2"), f.control("Button3"), f.control("Button4"),
                                f.control("Button5"), f.control("Button6"), f.control("Button7"));
}

using DecompositionServices = ToolServices;

class TForm9 : public ToolWindow<DecompositionCommand> {
public:
    // `sheet` may be null: "Apri foglio calcolo" then says that the sheet is not there.
    TForm9(DecompositionWidgets widgets, DecompositionServices services, ToolHost host,
           CalcSheetOpener* sheet);

    // ---- events
    void FormActivate();
    bool runCommand(DecompositionCommand id);
    void StepClick();
    void ProcediClick();
    void InnerStepClick();
    void InnerProcediClick();
    void RicominciaClick();
    void EsciClick();
    void MemorizzaClick();
    void AprifogliocalcoloClick();

    // The focus may have moved (a key, a click, the toolkit): entering a box is said.
    void noticeFocus();

    void keyDown(ui::KeyEvent& event) override;
    void keyPress(ui::KeyPress& press) override;
    void keyUp(ui::KeyEvent& event) override;

    // ---- state, for the view and the tests
    const std::string& expression() const { return expression_; }
    const DecompositionWidgets& widgets() const { return w_; }
    const std::vector<std::string>& history() const { return history_; }

private:
    void start(std::string expression);
    void computeStage();
    void showWork(bool shown);
    void showInner(bool shown);
    void takeInnerStage();
    bool acceptable(std::string_view value);
    void setHistory();
    void entered(const ui::TextBox* box);
    void sayText(std::string_view text);
    void sayCaption(std::string_view caption);

    DecompositionWidgets w_;
    CalcSheetOpener* sheet_;

    std::string expression_;
    std::vector<std::string> history_;
    Stage stage_;
    WorkPiece piece_;          // what the answer replaces in the expression
    bool pieceTaken_ = false;  // the work box holds a piece
    InnerStage inner_;
    WorkPiece innerPiece_;  // what the inner answer replaces in the work box
};

}  // namespace learning
