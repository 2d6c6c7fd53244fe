#include "editor/input/deletion_commands.h"

#include <utility>

#include "editor/messages.h"

namespace editor {

DeletionCommands::DeletionCommands(TForm1& form, notation::FormulaErrorReport& report)
    : form_(form), report_(report) {
    const std::pair<Command, Structure> structures[] = {
        {Command::EliminaTonde, Structure::Round},  {Command::EliminaQuadre, Structure::Square},
        {Command::EliminaGraffe, Structure::Curly}, {Command::EliminaFrazione, Structure::Fraction},
        {Command::EliminaRadice, Structure::Root},
    };
    for (const auto& [item, structure] : structures) {
        form_.setCommandHandler(item, [this, s = structure] { deleteStructure(s); });
    }
    const std::pair<Command, PartialDeletion> partials[] = {
        {Command::ParzialeTondaAperta, PartialDeletion::ToRoundOpen},
        {Command::ParzialeTondaChiusa, PartialDeletion::ToRoundClose},
        {Command::ParzialeQuadraAperta, PartialDeletion::ToSquareOpen},
        {Command::ParzialeQuadraChiusa, PartialDeletion::ToSquareClose},
        {Command::ParzialeGraffaAperta, PartialDeletion::ToCurlyOpen},
        {Command::ParzialeGraffaChiusa, PartialDeletion::ToCurlyClose},
        {Command::ParzialeNumeratoreAperto, PartialDeletion::ToNumeratorOpen},
        {Command::ParzialeNumeratoreChiuso, PartialDeletion::ToNumeratorClose},
        {Command::ParzialeDenominatoreAperto, PartialDeletion::ToDenominatorOpen},
        {Command::ParzialeDenominatoreChiuso, PartialDeletion::ToDenominatorClose},
    };
    for (const auto& [item, partial] : partials) {
        form_.setCommandHandler(item, [this, p = partial] { deletePartial(p); });
    }
    form_.setCommandHandler(Command::Ripristina1, [this] { restoreStructure(); });
    form_.setCommandHandler(Command::Ripristina2, [this] { restorePartial(); });
    // Opening either menu (which also silences speech) shows or hides its restore item.
    form_.setCommandHandler(Command::MenuEliminazioni, [this] { showRestoreItems(); });
    form_.setCommandHandler(Command::MenuParziali, [this] { showRestoreItems(); });
    form_.addPageListener([this] {
        deletions_ = Deletions{};
        showRestoreItems();
    });
}

void DeletionCommands::showRestoreItems() {
    form_.menuItem(Command::Ripristina1).setVisible(deletions_.canRestoreStructure());
    form_.menuItem(Command::Ripristina2).setVisible(deletions_.canRestorePartial());
}

void DeletionCommands::apply(const DeletionResult& result, std::string_view nothingDone) {
    if (!result.message.empty()) {
        report_.report(result.message);
        report_.clear();  // nothing else stops on it
        return;
    }
    if (!result.changed) {
        form_.explain(nothingDone);  // an empty group, the target beside the caret
    } else {
        ui::TextBox& memo2 = form_.widgets().Memo2;
        memo2.setText(result.text);
        memo2.setSelStart(result.caret);
        form_.notifyEditor(Editor::Braille, EditorEvent::Changed);
        form_.notifyEditor(Editor::Braille, EditorEvent::Clicked);
    }
    showRestoreItems();
}

// The menus show only in Braille mode; their keys must not reach into the hidden editor.

void DeletionCommands::deleteStructure(Structure structure) {
    if (form_.brailleMode()) {
        ui::TextBox& memo2 = form_.widgets().Memo2;
        apply(deletions_.deleteStructure(memo2.text(), memo2.selStart(), structure),
              text::kNothingToDelete);
    }
}

void DeletionCommands::deletePartial(PartialDeletion deletion) {
    if (form_.brailleMode()) {
        ui::TextBox& memo2 = form_.widgets().Memo2;
        apply(deletions_.deletePartial(memo2.text(), memo2.selStart(), deletion),
              text::kNothingToDelete);
    }
}

// A restore works on an empty editor too: a deletion may have taken the whole text, and the
// restore is how the student gets it back.

void DeletionCommands::restoreStructure() {
    if (form_.brailleMode()) {
        apply(deletions_.restoreStructure(), text::kNothingToRestore);
    }
}

void DeletionCommands::restorePartial() {
    if (form_.brailleMode()) {
        apply(deletions_.restorePartial(), text::kNothingToRestore);
    }
}

}  // namespace editor
