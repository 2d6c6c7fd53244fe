#include "gui/decomposition_window.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <array>
#include <string_view>

#include "learning/window_layout.h"

namespace gui {

DecompositionWindow::DecompositionWindow(QWidget* parent, ui::Dialogs& dialogs,
                                         ui::Clipboard& clipboard, QtKeyboard& keyboard,
                                         learning::ToolHost host, learning::CalcSheetOpener* sheet)
    : LearningView(parent, learning::decompositionLayout(), keyboard) {
    QVBoxLayout* layout = frame_.layout();
    frame_.buildMenu(learning::decompositionMenuTable());

    layout->addWidget(frame_.captionFor("Memo1"));
    layout->addWidget(frame_.widget("Memo1"), 1);

    // The step button, then its work; under them the work inside a group.
    auto* work = new QGridLayout;
    constexpr std::array<std::array<std::string_view, 5>, 2> kRows = {{
        {"Button1", "Edit1", "Label1", "Edit2", "Button2"},
        {"Button3", "Edit3", "Label2", "Edit4", "Button4"},
    }};
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 5; ++column) {
            work->addWidget(
                frame_.widget(
                    kRows[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)]),
                row, column);
        }
    }
    work->setColumnStretch(1, 2);
    work->setColumnStretch(3, 1);
    layout->addLayout(work);

    frame_.addButtonRow({"Button5", "Button6", "Button7"});

    adoptFollowingFocus(std::make_unique<learning::TForm9>(
        learning::decompositionWidgets(frame_), learning::DecompositionServices{dialogs, clipboard},
        std::move(host), sheet));
}

}  // namespace gui
