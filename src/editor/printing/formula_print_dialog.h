#pragma once

// TForm8, the formula print confirmation ("Stampa formule"): asked before the formulas of a
// page are sent to the graphic editor for printing. "Procedi" (focused when the dialog
// opens) answers "ok"; "Esci", Esc or closing the dialog answers nothing.
//
// Ownership: TForm8 keeps references to its widgets; the builder keeps them alive.

#include <string>
#include <string_view>

#include "ui/widgets.h"

namespace editor {

namespace formula_print_text {
inline constexpr std::string_view kCaption = "Stampa formule";
inline constexpr std::string_view kQuestion = "Stampa formule in formato grafico";
inline constexpr std::string_view kProcedi = "Procedi";
inline constexpr std::string_view kEsci = "Esci";
// The answer of "Procedi".
inline constexpr std::string_view kConfirmed = "ok";
}  // namespace formula_print_text

struct FormulaPrintDialogWidgets {
    ui::Window& form;
    ui::ModalWindow& modal;
    ui::Control& Label1;  // the question
    ui::Control& Procedi;
    ui::Control& Esci;
};

class TForm8 : public ui::KeyListener {
public:
    explicit TForm8(FormulaPrintDialogWidgets widgets);
    TForm8(const TForm8&) = delete;
    TForm8& operator=(const TForm8&) = delete;

    // Empties the answer, shows the dialog modally and returns the answer: "ok" after
    // "Procedi", empty otherwise.
    std::string run();
    const std::string& answer() const { return answer_; }
    const FormulaPrintDialogWidgets& widgets() const { return w_; }

    void FormActivate();
    void ProcediClick();
    void EsciClick();

    void keyUp(ui::KeyEvent& event) override;

private:
    FormulaPrintDialogWidgets w_;
    std::string answer_;
};

}  // namespace editor
