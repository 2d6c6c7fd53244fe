#include "editor/printing/formula_print_dialog.h"

#include "ui/keys.h"

namespace editor {

namespace text = formula_print_text;

TForm8::TForm8(FormulaPrintDialogWidgets widgets) : w_(widgets) {
    w_.form.setCaption(text::kCaption);
    w_.Label1.setCaption(text::kQuestion);
    w_.Procedi.setCaption(text::kProcedi);
    w_.Esci.setCaption(text::kEsci);
    w_.form.setKeyListener(this);
    w_.form.setOnActivate([this] { FormActivate(); });
    w_.Procedi.setOnClick([this] { ProcediClick(); });
    w_.Esci.setOnClick([this] { EsciClick(); });
}

std::string TForm8::run() {
    answer_.clear();
    w_.Procedi.setFocus();
    w_.modal.showModal();
    return answer_;
}

void TForm8::FormActivate() {
    w_.Procedi.setFocus();
}

void TForm8::ProcediClick() {
    answer_ = std::string(text::kConfirmed);
    w_.modal.closeModal();
}

void TForm8::EsciClick() {
    answer_.clear();
    w_.modal.closeModal();
}

void TForm8::keyUp(ui::KeyEvent& event) {
    if (event.key == ui::vk::kEscape) {
        event.key = 0;
        EsciClick();
    }
}

}  // namespace editor
