#include "editor/window/main_window.h"

#include "editor/messages.h"
#include "learning/calc_sheet_opener.h"

// TForm1: opening the learning tools on the selection or the caret line.

namespace editor {

// ---- learning tools

void TForm1::AprifogliocalcoloClick() {
    // Line breaks at the end of the selection are not part of the operation: they stay in the
    // page when the result replaces it.
    std::string selection = w_.Memo2.selText();
    const std::size_t kept = selection.find_last_not_of("\r\n") + 1;
    if (kept > 0 && kept < selection.size()) {
        w_.Memo2.setSelection(w_.Memo2.selStart(), kept);
        selection.resize(kept);
    }
    const learning::SelectionProblem problem = learning::checkSelection(selection);
    if (problem != learning::SelectionProblem::None) {
        // An empty selection has no title to show.
        const bool empty = problem == learning::SelectionProblem::NothingSelected;
        s_.dialogs.message({std::string(learning::selectionProblemText(problem)),
                            empty ? std::string() : selection, ui::Icon::None, ui::Buttons::Ok});
        return;
    }
    s_.clipboard.setText(selection);
    if (hooks_.calculationSheet != nullptr) {
        hooks_.calculationSheet->showModal();
    }
    // The sheet left the result there, or the selection itself when no result was copied.
    w_.Memo2.pasteFromClipboard();
}

void TForm1::selectCaretLine() {
    const std::string t = w_.Memo2.text();
    const std::size_t caret = std::min(w_.Memo2.selStart(), t.size());
    const std::size_t lf = caret == 0 ? std::string::npos : t.rfind('\n', caret - 1);
    const std::size_t start = lf == std::string::npos ? 0 : lf + 1;
    std::size_t end = t.find("\r\n", start);
    if (end == std::string::npos) {
        end = t.size();
    }
    // Selected once: the tutor menu and its entry both ask for the line.
    if (w_.Memo2.selStart() != start || w_.Memo2.selLength() != end - start) {
        w_.Memo2.setSelection(start, end - start);
    }
}

void TForm1::openOnCaretLine(ui::ModalWindow* window) {
    if (!w_.Memo2.text().empty()) {
        selectCaretLine();
    }
    // One cell is no expression to work on: the student hears why nothing opens.
    if (w_.Memo2.text().empty() || w_.Memo2.selLength() <= 1) {
        explain(text::kNoLineExpression);
        return;
    }
    if (window != nullptr) {
        window->showModal();
    }
}

void TForm1::ScomponiClick() {
    openOnCaretLine(hooks_.decomposition);
}

void TForm1::StrutturaClick() {
    openOnCaretLine(hooks_.structureView);
}

}  // namespace editor
