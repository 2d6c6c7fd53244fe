#include "gui/decomposition_window.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <array>

#include "learning/window_layout.h"

namespace gui {

DecompositionWindow::DecompositionWindow(QWidget* parent, ui::Dialogs& dialogs,
                                         ui::Clipboard& clipboard, QtKeyboard& keyboard,
                                         learning::ToolHost host, learning::CalcSheetOpener* sheet)
    : LearningView(parent, learning::decompositionLayout(), keyboard) {
    QVBoxLayout* layout = frame_.layout();
    frame_.buildMenu(learning::decompositionMenuTable());

    QtMemo& memo1 = frame_.memo("Memo1");
    layout->addWidget(frame_.captionFor("Memo1"));
    layout->addWidget(memo1.widget(), 1);

    // The step button, then its work; under them the work inside a group.
    auto* work = new QGridLayout;
    QtButton& button1 = frame_.button("Button1");
    QtLine& edit1 = frame_.line("Edit1");
    QtLabel& label1 = frame_.label("Label1");
    QtLine& edit2 = frame_.line("Edit2");
    QtButton& button2 = frame_.button("Button2");
    QtButton& button3 = frame_.button("Button3");
    QtLine& edit3 = frame_.line("Edit3");
    QtLabel& label2 = frame_.label("Label2");
    QtLine& edit4 = frame_.line("Edit4");
    QtButton& button4 = frame_.button("Button4");
    const std::array<std::array<QWidget*, 5>, 2> rows = {{
        {button1.widget(), edit1.widget(), label1.widget(), edit2.widget(), button2.widget()},
        {button3.widget(), edit3.widget(), label2.widget(), edit4.widget(), button4.widget()},
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

    frame_.addButtonRow({"Button5", "Button6", "Button7"});

    adoptFollowingFocus(std::make_unique<learning::TForm9>(
        learning::DecompositionWidgets{frame_.window(), frame_.modal(), frame_.menu(), memo1, edit1,
                                       label1, edit2, edit3, label2, edit4, button1, button2,
                                       button3, button4, frame_.button("Button5"),
                                       frame_.button("Button6"), frame_.button("Button7")},
        learning::DecompositionServices{dialogs, clipboard}, std::move(host), sheet));
}

}  // namespace gui
