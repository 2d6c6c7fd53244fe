#pragma once

// The formula print confirmation TForm8 on Qt: the question and the buttons "Procedi" and
// "Esci", wired to the dialog's logic.

#include <QDialog>
#include <memory>

#include "editor/printing/formula_print_dialog.h"
#include "gui/qt_services.h"
#include "gui/qt_widgets.h"
#include "gui/qt_window.h"

namespace gui {

class FormulaPrintDialogView {
public:
    explicit FormulaPrintDialogView(QWidget* parent);
    ~FormulaPrintDialogView();
    FormulaPrintDialogView(const FormulaPrintDialogView&) = delete;
    FormulaPrintDialogView& operator=(const FormulaPrintDialogView&) = delete;

    QDialog& dialog() { return *dialog_; }
    editor::TForm8& logic() { return *logic_; }

private:
    QDialog* dialog_;
    std::unique_ptr<QtWindow> window_;
    std::unique_ptr<QtModal> modal_;
    std::unique_ptr<QtLabel> question_;
    std::unique_ptr<QtButton> procedi_;
    std::unique_ptr<QtButton> esci_;
    std::unique_ptr<editor::TForm8> logic_;
};

}  // namespace gui
