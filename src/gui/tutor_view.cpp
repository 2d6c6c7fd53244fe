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
    QtLabel& label1 = frame_.label("Label1");
    QtLabel& label2 = frame_.label("Label2");
    top->addWidget(label1.widget(), 1);
    top->addWidget(label2.widget());
    layout->addLayout(top);

    QtMemo& memo1 = frame_.memo("Memo1");
    layout->addWidget(memo1.widget());
    QtMemo& memo2 = frame_.memo("Memo2");
    layout->addWidget(memo2.widget(), 2);
    QtMathView& image1 = frame_.picture("Image1");
    layout->addWidget(image1.widget(), 1);

    frame_.addButtonRow({"Button1", "Button2"});

    timer_ = std::make_unique<QtTimer>(dialog);
    adopt(std::make_unique<learning::TutorWindow>(
        kind,
        learning::TutorWidgets{frame_.window(), frame_.modal(), frame_.menu(), memo1, memo2, image1,
                               label1, label2, frame_.button("Button1"), frame_.button("Button2"),
                               *timer_},
        frame_.dialogsOr(dialogs), &speech_, editor::tutorHost(mainWindow)));
}

TutorView::~TutorView() {
    // The logic goes before the timer it runs on.
    close();
}

}  // namespace gui
