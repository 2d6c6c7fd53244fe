#include "win32gui/learning/tutor_view.h"

#include <vector>

#include "learning/window_layout.h"

namespace win32gui {

TutorView::TutorView(HWND owner, learning::TutorKind kind, editor::TForm1& mainWindow,
                     ui::Dialogs& dialogs, ui::Clipboard& clipboard, const MathFonts& fonts)
    : LearningView(owner, learning::tutorLayout(kind), clipboard, &fonts), speech_(mainWindow) {
    const std::vector<learning::TutorMenuEntry> table = learning::tutorMenuTable(kind);
    frame_.buildMenu(std::span<const learning::TutorMenuEntry>(table));
    adopt(std::make_unique<learning::TutorWindow>(kind, learning::tutorWidgets(frame_, timer_),
                                                  dialogs, &speech_,
                                                  editor::tutorHost(mainWindow)));
}

TutorView::~TutorView() {
    // The timer stops before the logic it serves goes.
    timer_.setEnabled(false);
    close();
}

}  // namespace win32gui
