#include "gui/structure_window.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>

#include "learning/window_layout.h"

namespace gui {

StructureWindow::StructureWindow(QWidget* parent, ui::Dialogs& dialogs, ui::Clipboard& clipboard,
                                 QtKeyboard& keyboard, learning::ToolHost host)
    : LearningView(parent, learning::structureViewLayout(), keyboard) {
    QVBoxLayout* layout = frame_.layout();
    frame_.buildMenu(learning::structureMenuTable());

    // Each box after the label that names it.
    auto* form = new QFormLayout;
    QtLabel& label1 = frame_.label("Label1");
    QtLine& edit1 = frame_.line("Edit1");
    QtLabel& label2 = frame_.label("Label2");
    QtLine& edit2 = frame_.line("Edit2");
    QtLabel& label3 = frame_.label("Label3");
    QtMemo& memo1 = frame_.memo("Memo1");
    QtLabel& label4 = frame_.label("Label4");
    QtMemo& memo2 = frame_.memo("Memo2");
    for (auto [label, box] : {std::pair<QtLabel*, QWidget*>{&label1, edit1.widget()},
                              {&label2, edit2.widget()},
                              {&label3, memo1.widget()},
                              {&label4, memo2.widget()}}) {
        form->addRow(label->widget(), box);
    }
    layout->addLayout(form, 1);

    frame_.addButtonRow({"Button1", "Button2", "Button3", "Button4"});

    adoptFollowingFocus(std::make_unique<learning::TForm5>(
        learning::StructureViewWidgets{frame_.window(), frame_.modal(), frame_.menu(), edit1, edit2,
                                       memo1, memo2, label1, label2, label3, label4,
                                       frame_.button("Button1"), frame_.button("Button2"),
                                       frame_.button("Button3"), frame_.button("Button4")},
        learning::StructureViewServices{dialogs, clipboard}, std::move(host)));
}

}  // namespace gui
