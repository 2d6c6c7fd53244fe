#include "gui/formula_print_dialog_view.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/text_bridge.h"

namespace gui {

namespace text = editor::formula_print_text;

FormulaPrintDialogView::FormulaPrintDialogView(QWidget* parent) : dialog_(new QDialog(parent)) {
    dialog_->setObjectName(QStringLiteral("TForm8"));
    dialog_->setModal(true);
    auto* layout = new QVBoxLayout(dialog_);
    auto* question = new QLabel(toQString(text::kQuestion));
    question->setObjectName(QStringLiteral("Label1"));
    question->setAlignment(Qt::AlignCenter);
    layout->addWidget(question);

    auto* row = new QHBoxLayout;
    auto* procedi = new QPushButton(toQString(text::kProcedi));
    procedi->setObjectName(QStringLiteral("Procedi"));
    procedi->setAccessibleName(toQString(text::kProcedi));
    procedi->setAccessibleDescription(toQString(text::kQuestion));
    procedi->setDefault(true);
    auto* esci = new QPushButton(toQString(text::kEsci));
    esci->setObjectName(QStringLiteral("Esci"));
    esci->setAccessibleName(toQString(text::kEsci));
    row->addStretch();
    row->addWidget(procedi);
    row->addWidget(esci);
    row->addStretch();
    layout->addLayout(row);
    dialog_->setAccessibleName(toQString(text::kCaption));
    dialog_->setAccessibleDescription(toQString(text::kQuestion));

    window_ = std::make_unique<QtWindow>(dialog_, dialog_);
    modal_ = std::make_unique<QtModal>(dialog_);
    question_ = std::make_unique<QtLabel>(question);
    procedi_ = std::make_unique<QtButton>(procedi);
    esci_ = std::make_unique<QtButton>(esci);
    logic_ = std::make_unique<editor::TForm8>(
        editor::FormulaPrintDialogWidgets{*window_, *modal_, *question_, *procedi_, *esci_});
}

FormulaPrintDialogView::~FormulaPrintDialogView() {
    // Adapters before the logic; the dialog goes with its parent window.
    window_.reset();
    question_.reset();
    procedi_.reset();
    esci_.reset();
    logic_.reset();
}

}  // namespace gui
