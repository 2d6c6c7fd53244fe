#include "win32gui/learning/tutor_view.h"

#include <vector>

#include "learning/window_layout.h"

namespace win32gui {

TutorView::TutorView(HWND owner, learning::TutorKind kind, editor::TForm1& mainWindow,
                     ui::Dialogs& dialogs, ui::Clipboard& clipboard, const MathFonts& fonts)
    : LearningView(owner, learning::tutorLayout(kind), clipboard, &fonts), speech_(mainWindow) {
    const std::vector<learning::TutorMenuEntry> table = learning::tutorMenuTable(kind);
    frame_.buildMenu(std::span<const learning::TutorMenuEntry>(table));
    LearningWindow& f = frame_;
    adopt(std::make_unique<learning::TutorWindow>(
        kind,
        learning::TutorWidgets{f.window(), f.modal(), f.menu(), f.box("Memo1"), f.box("Memo2"),
                               f.picture("Image1"), f.control("Label1"), f.control("Label2"),
                               f.control("Button1"), f.control("Button2"), timer_},
        dialogs, &speech_, editor::tutorHost(mainWindow)));
}

TutorView::~TutorView() {
    // The timer stops before the logic it serves goes.
    timer_.setEnabled(false);
    close();
}

}  // namespace win32gui
