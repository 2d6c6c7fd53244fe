#include "gui/structure_window.h"

#include <QFormLayout>
#include <QHBoxLayout>

#include "learning/messages.h"

namespace gui {
namespace {

namespace msg = learning::messages;

}  // namespace

StructureWindow::StructureWindow(QWidget* parent, ui::Dialogs& dialogs, ui::Clipboard& clipboard,
                                 QtKeyboard& keyboard, learning::ToolHost host)
    : dialog_(new QDialog(parent)), parts_(learningWindowFont()) {
    dialog_->setObjectName(QStringLiteral("TForm5"));
    dialog_->setModal(true);
    auto* layout = new QVBoxLayout(dialog_);
    buildMenuBar(dialog_, layout, menu_, learning::structureMenuTable());

    auto* form = new QFormLayout;
    QtLabel* label1 = parts_.label("Label1");
    QtLine* edit1 = parts_.line("Edit1", msg::kInitialExpression);
    QtLabel* label2 = parts_.label("Label2");
    QtLine* edit2 = parts_.line("Edit2", msg::kBrackets);
    QtLabel* label3 = parts_.label("Label3");
    QtMemo* memo1 = parts_.memo("Memo1", msg::kStructureBox, 2);
    QtLabel* label4 = parts_.label("Label4");
    QtMemo* memo2 = parts_.memo("Memo2", msg::kContents, 8);
    for (auto [label, box] : {std::pair<QtLabel*, QWidget*>{label1, edit1->widget()},
                              {label2, edit2->widget()},
                              {label3, memo1->widget()},
                              {label4, memo2->widget()}}) {
        static_cast<QLabel*>(label->widget())->setBuddy(box);
        form->addRow(label->widget(), box);
    }
    layout->addLayout(form, 1);

    auto* buttons = new QHBoxLayout;
    QtButton* button1 = parts_.button("Button1");
    QtButton* button2 = parts_.button("Button2");
    QtButton* button3 = parts_.button("Button3");
    QtButton* button4 = parts_.button("Button4");
    for (QtButton* b : {button1, button2, button3, button4}) {
        buttons->addWidget(b->widget());
    }
    layout->addLayout(buttons);

    window_ = std::make_unique<QtWindow>(dialog_, dialog_, &keyboard);
    modal_ = std::make_unique<QtModal>(dialog_);
    logic_ = std::make_unique<learning::TForm5>(
        learning::StructureViewWidgets{*window_, *modal_, menu_, *edit1, *edit2, *memo1, *memo2,
                                       *label1, *label2, *label3, *label4, *button1, *button2,
                                       *button3, *button4},
        learning::StructureViewServices{dialogs, clipboard}, std::move(host));
    // The bracket list is read, never typed in; the keyboard still moves its caret.
    static_cast<QLineEdit*>(edit2->widget())->setReadOnly(true);
    forwardFocusChanges(dialog_, [this] {
        if (logic_) {
            logic_->noticeFocus();
        }
    });
    dialog_->setAccessibleName(dialog_->windowTitle());
    dialog_->resize(760, 520);
}

StructureWindow::~StructureWindow() {
    // Adapters before the logic; the dialog goes with its parent window.
    window_.reset();
    parts_.clear();
    menu_.clear();
    logic_.reset();
}

}  // namespace gui
