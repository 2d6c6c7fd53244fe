#include "editor/input/editing_commands.h"

#include "editor/messages.h"
#include "ui/crlf_offsets.h"

namespace editor {
namespace {

Notation notationOf(Editor editor) {
    return editor == Editor::Latex ? Notation::Latex : Notation::Braille;
}

}  // namespace

EditingCommands::EditingCommands(TForm1& form) : form_(form) {
    form_.setCommandHandler(Command::Taglia1, [this] { cut(); });
    form_.setCommandHandler(Command::Copia1, [this] { copy(); });
    form_.setCommandHandler(Command::Incolla1, [this] { paste(); });
    for (Command item :
         {Command::Annullataglia1, Command::Annullaincolla1, Command::Annulladigitazione1}) {
        form_.setCommandHandler(item, [this] { undo(); });
    }
    form_.setCommandHandler(Command::Duplicariga1, [this] { duplicateLine(); });
    form_.setCommandHandler(Command::Parentesispaziate1, [this] { spaceBrackets(true); });
    form_.setCommandHandler(Command::Parentesinonspaziate1, [this] { spaceBrackets(false); });
    form_.setCommandHandler(Command::Carattere1, [this] { chooseFont(); });

    form_.addKeyHandler(*this);
    form_.addEditorListener([this](Editor editor, EditorEvent event) {
        if (event == EditorEvent::Clicked || event == EditorEvent::Left) {
            modelOf(editor).arm();
            showUndoItem();
        }
    });
    form_.addPageListener([this] { armBoth(); });
    form_.addStartupStep([this] { armBoth(); });
}

void EditingCommands::armBoth() {
    latexUndo_.arm();
    brailleUndo_.arm();
    showUndoItem();
}

void EditingCommands::showUndoItem() {
    const std::optional<UndoKind> shown = modelOf(activeKind()).visibleItem();
    form_.menuItem(Command::Annullataglia1).setVisible(shown == UndoKind::Cut);
    form_.menuItem(Command::Annullaincolla1).setVisible(shown == UndoKind::Paste);
    form_.menuItem(Command::Annulladigitazione1).setVisible(shown == UndoKind::Typing);
}

void EditingCommands::keyDown(ui::KeyEvent& event) {
    const MainWindowWidgets& w = form_.widgets();
    Editor editor = Editor::Latex;
    if (w.Memo1.focused()) {
        editor = Editor::Latex;
    } else if (w.Memo2.focused()) {
        editor = Editor::Braille;
    } else {
        return;
    }
    ui::TextBox& box = editor == Editor::Latex ? w.Memo1 : w.Memo2;
    modelOf(editor).keyDown(event.key, notationOf(editor), box.text(), box.selStart());
    showUndoItem();
}

void EditingCommands::cut() {
    ui::TextBox& box = form_.activeEditor();
    if (!modelOf(activeKind()).beforeCut(box.text(), box.selStart(), box.selLength())) {
        form_.explain(text::kNothingSelected);
        return;
    }
    box.cutToClipboard();
    showUndoItem();
}

void EditingCommands::copy() {
    ui::TextBox& box = form_.activeEditor();
    if (box.selLength() == 0) {
        form_.explain(text::kNothingSelected);  // the clipboard keeps what it had
        return;
    }
    box.copyToClipboard();
}

void EditingCommands::paste() {
    ui::TextBox& box = form_.activeEditor();
    if (form_.services().clipboard.text().empty()) {
        form_.explain(text::kClipboardEmpty);
        return;
    }
    modelOf(activeKind()).beforePaste(box.text(), box.selStart());
    showUndoItem();
    box.pasteFromClipboard();
    if (!form_.brailleMode()) {
        form_.widgets().Memo1.setFocus();
    }
}

void EditingCommands::replaceText(std::string_view text, std::size_t caret) {
    ui::TextBox& box = form_.activeEditor();
    box.setText(text);
    box.setSelStart(caret);
    form_.notifyEditor(activeKind(), EditorEvent::Changed);
}

void EditingCommands::undo() {
    const std::optional<UndoModel::Snapshot> snapshot = modelOf(activeKind()).undo();
    showUndoItem();
    if (snapshot) {
        replaceText(snapshot->text, snapshot->caret);
    } else {
        form_.explain(text::kNothingToUndo);
    }
}

void EditingCommands::duplicateLine() {
    if (!form_.brailleMode()) {
        return;
    }
    ui::TextBox& box = form_.widgets().Memo2;
    if (const std::optional<TextEdit> edit = editor::duplicateLine(box.text(), box.selStart())) {
        replaceText(edit->text, edit->caret);
    } else {
        form_.explain(text::kLineEmpty);
    }
}

void EditingCommands::spaceBrackets(bool add) {
    const Notation notation = notationOf(activeKind());
    auto respace = [&](std::string_view t) {
        return add ? addBracketSpaces(t, notation) : removeBracketSpaces(t, notation);
    };
    ui::TextBox& box = form_.activeEditor();
    const std::string before = box.text();
    const std::string after = respace(before);
    if (after == before) {
        form_.explain(text::kBracketsUnchanged);
        return;
    }
    // The caret stays by the character it was at: what comes before it is respaced alike.
    const std::size_t caret = ui::snapOffset(before, box.selStart());
    replaceText(after,
                ui::snapOffset(after, respace(std::string_view(before).substr(0, caret)).size()));
}

void EditingCommands::chooseFont() {
    ui::TextBox& memo1 = form_.widgets().Memo1;
    if (const std::optional<ui::Font> font = form_.services().dialogs.chooseFont(memo1.font())) {
        memo1.setFont(*font);
    }
}

}  // namespace editor
