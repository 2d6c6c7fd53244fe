#include "gui/structure_window.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>

#include "learning/window_layout.h"

namespace gui {

StructureWindow::StructureWindow(QWidget* parent, ui::Dialogs& dialogs, ui::Clipboard& clipboard,
                                 QtKeyboard& keyboard, learning::ToolHost host)
    : LearningView(parent, learning::structureViewLayout(), keyboard) {
    frame_.buildMenu(learning::structureMenuTable());

    // Each box after the label that names it.
    auto* form = new QFormLayout;
    for (auto [label, box] : {std::pair{"Label1", "Edit1"},
                              {"Label2", "Edit2"},
                              {"Label3", "Memo1"},
                              {"Label4", "Memo2"}}) {
        form->addRow(frame_.widget(label), frame_.widget(box));
    }
    frame_.layout()->addLayout(form, 1);

    frame_.addButtonRow({"Button1", "Button2", "Button3", "Button4"});

    adoptFollowingFocus(std::make_unique<learning::TForm5>(
        learning::structureViewWidgets(frame_), learning::StructureViewServices{dialogs, clipboard},
        std::move(host)));
}

}  // namespace gui
