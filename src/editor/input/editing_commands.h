#pragma once

// The "Modifica" menu in the main window: cut, copy, paste, the one-step undo of each editor
// with its three faces ("Annulla taglia", "Annulla incolla", "Annulla digitazione", at most one
// shown), duplicate line, the two bracket-spacing commands and the font of the Latex editor.
// Every command acts on the editor of the current mode. The text operations are in editing.h.
//
// A run of typing in an editor is one undo step: the key handler gives every key down in an
// editor to that editor's UndoModel before the key acts; a click in an editor, leaving it, and
// the window putting another page into the editors (page change, mode switch, New, Open) end
// the run, so that an undo never brings one page's text into another page.
//
// Ownership: keeps a reference to the TForm1, which must outlive it.

#include "editor/input/editing.h"
#include "editor/window/main_window.h"

namespace editor {

class EditingCommands : public KeyHandler {
public:
    // Binds the commands, the key handler, the editor and page listeners and the start-up step.
    explicit EditingCommands(TForm1& form);

    void cut();
    void copy();
    void paste();
    void undo();           // whichever undo item is shown
    void duplicateLine();  // Braille mode
    void spaceBrackets(bool add);
    void chooseFont();  // "Carattere"

    void keyDown(ui::KeyEvent& event) override;

private:
    Editor activeKind() const { return form_.brailleMode() ? Editor::Braille : Editor::Latex; }
    UndoModel& modelOf(Editor editor) {
        return editor == Editor::Latex ? latexUndo_ : brailleUndo_;
    }
    // Shows only the undo item of the active editor's snapshot.
    void showUndoItem();
    void armBoth();
    // Puts a command's result into the active editor as an edit of the student's.
    void replaceText(std::string_view text, std::size_t caret);

    TForm1& form_;
    UndoModel latexUndo_;
    UndoModel brailleUndo_;
};

}  // namespace editor
