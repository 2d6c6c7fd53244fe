#include "gui/decomposition_window.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <array>

#include "learning/messages.h"

namespace gui {
namespace {

namespace msg = learning::messages;

}  // namespace

DecompositionWindow::DecompositionWindow(QWidget* parent, ui::Dialogs& dialogs,
                                         ui::Clipboard& clipboard, QtKeyboard& keyboard,
                                         learning::ToolHost host, learning::CalcSheetOpener* sheet)
    : dialog_(new QDialog(parent)), parts_(learningWindowFont()) {
    dialog_->setObjectName(QStringLiteral("TForm9"));
    dialog_->setModal(true);
    auto* layout = new QVBoxLayout(dialog_);
    buildMenuBar(dialog_, layout, menu_, learning::decompositionMenuTable());

    QtMemo* memo1 = parts_.memo("Memo1", msg::kHistory, 6);
    auto* historyLabel = new QLabel(toQString(msg::kHistory));
    historyLabel->setBuddy(memo1->widget());
    layout->addWidget(historyLabel);
    layout->addWidget(memo1->widget(), 1);

    // The step button, then its work; under them the work inside a group.
    auto* work = new QGridLayout;
    QtButton* button1 = parts_.button("Button1");
    QtLine* edit1 = parts_.line("Edit1", msg::kWork);
    QtLabel* label1 = parts_.label("Label1");
    QtLine* edit2 = parts_.line("Edit2", msg::kAnswer);
    QtButton* button2 = parts_.button("Button2");
    QtButton* button3 = parts_.button("Button3");
    QtLine* edit3 = parts_.line("Edit3", msg::kInnerWork);
    QtLabel* label2 = parts_.label("Label2");
    QtLine* edit4 = parts_.line("Edit4", msg::kInnerAnswer);
    QtButton* button4 = parts_.button("Button4");
    const std::array<std::array<QWidget*, 5>, 2> rows = {{
        {button1->widget(), edit1->widget(), label1->widget(), edit2->widget(), button2->widget()},
        {button3->widget(), edit3->widget(), label2->widget(), edit4->widget(), button4->widget()},
    }};
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 5; ++column) {
            work->addWidget(rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)],
                            row, column);
        }
    }
    work->setColumnStretch(1, 2);
    work->setColumnStretch(3, 1);
    layout->addLayout(work);

    auto* buttons = new QHBoxLayout;
    QtButton* button5 = parts_.button("Button5");
    QtButton* button6 = parts_.button("Button6");
    QtButton* button7 = parts_.button("Button7");
    for (QtButton* b : {button5, button6, button7}) {
        buttons->addWidget(b->widget());
    }
    layout->addLayout(buttons);

    window_ = std::make_unique<QtWindow>(dialog_, dialog_, &keyboard);
    modal_ = std::make_unique<QtModal>(dialog_);
    logic_ = std::make_unique<learning::TForm9>(
        learning::DecompositionWidgets{*window_, *modal_, menu_, *memo1, *edit1, *label1, *edit2,
                                       *edit3, *label2, *edit4, *button1, *button2, *button3,
                                       *button4, *button5, *button6, *button7},
        learning::DecompositionServices{dialogs, clipboard}, std::move(host), sheet);
    // Read-only boxes keep a caret the keyboard moves and a screen reader follows.
    static_cast<QPlainTextEdit*>(memo1->widget())
        ->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    forwardFocusChanges(dialog_, [this] {
        if (logic_) {
            logic_->noticeFocus();
        }
    });
    dialog_->setAccessibleName(dialog_->windowTitle());
    dialog_->resize(860, 480);
}

DecompositionWindow::~DecompositionWindow() {
    // Adapters before the logic; the dialog goes with its parent window.
    window_.reset();
    parts_.clear();
    menu_.clear();
    logic_.reset();
}

}  // namespace gui
