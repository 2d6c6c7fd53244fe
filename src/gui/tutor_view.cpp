#include "gui/tutor_view.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "learning/window_layout.h"

namespace gui {

TutorView::TutorView(QWidget* parent, learning::TutorKind kind, editor::TForm1& mainWindow,
                     QtKeyboard& keyboard, ui::Dialogs* dialogs)
    : LearningView(parent, learning::tutorLayout(kind), keyboard), speech_(mainWindow) {
    QDialog* dialog = frame_.dialog();

    QVBoxLayout* layout = frame_.layout();
    const std::vector<learning::TutorMenuEntry> table = learning::tutorMenuTable(kind);
    frame_.buildMenu(std::span<const learning::TutorMenuEntry>(table));

    auto* top = new QHBoxLayout;
    top->addWidget(frame_.widget("Label1"), 1);
    top->addWidget(frame_.widget("Label2"));
    layout->addLayout(top);

    layout->addWidget(frame_.widget("Memo1"));
    layout->addWidget(frame_.widget("Memo2"), 2);
    layout->addWidget(frame_.widget("Image1"), 1);

    frame_.addButtonRow({"Button1", "Button2"});

    timer_ = std::make_unique<QtTimer>(dialog);
    adopt(std::make_unique<learning::TutorWindow>(kind, learning::tutorWidgets(frame_, *timer_),
                                                  frame_.dialogsOr(dialogs), &speech_,
                                                  editor::tutorHost(mainWindow)));
}

TutorView::~TutorView() {
    // The logic goes before the timer it runs on.
    close();
}

}  // namespace gui
