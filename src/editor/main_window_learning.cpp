#include "editor/main_window.h"

#include "editor/messages.h"

// TForm1: opening the learning tools on the selection or the caret line.

namespace editor {

// ---- learning tools

void TForm1::AprifogliocalcoloClick() {
    const std::string selection = w_.Memo2.selText();
    if (selection.empty()) {
        s_.dialogs.message({std::string(text::kNoExpression), {}, ui::Icon::None, ui::Buttons::Ok});
        return;
    }
    // The first operator at position 2 or later splits the expression in two.
    const std::size_t op = selection.find_first_of("(+-/", 1);
    const bool parts = op != std::string::npos && op + 1 < selection.size();
    if (!parts) {
        s_.dialogs.message(
            {std::string(text::kInvalidExpression), selection, ui::Icon::None, ui::Buttons::Ok});
        return;
    }
    if (selection.find_first_of("(+-/", op + 1) != std::string::npos) {
        s_.dialogs.message(
            {std::string(text::kSingleOperation), selection, ui::Icon::None, ui::Buttons::Ok});
        return;
    }
    s_.clipboard.setText(selection);
    if (hooks_.calculationSheet != nullptr) {
        hooks_.calculationSheet->showModal();
    }
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
    w_.Memo2.setSelection(start, end - start);
}

void TForm1::ScomponiClick() {
    if (w_.Memo2.text().empty()) {
        return;
    }
    selectCaretLine();
    if (w_.Memo2.selLength() > 1 && hooks_.decomposition != nullptr) {
        hooks_.decomposition->showModal();
    }
}

void TForm1::StrutturaClick() {
    if (w_.Memo2.text().empty()) {
        return;
    }
    selectCaretLine();
    if (w_.Memo2.selLength() > 1 && hooks_.structureView != nullptr) {
        hooks_.structureView->showModal();
    }
}

}  // namespace editor
