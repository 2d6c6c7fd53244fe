#pragma once

// A tutor window (TForm10 brackets, TForm11 operations, TForm13 complex fractions) on Qt: its
// menus from the tutor's command table, the step and input-mode labels, the read-only
// expression memo, the work area, the expression drawn as mathematics by the linear view's
// painter, and the two buttons, each with an accessible name, wired to the tutor's logic. The
// tutor speaks through the main window's speech reader and follows its input mode.

#include <QDialog>
#include <memory>
#include <vector>

#include "editor/window/main_window.h"
#include "editor/window/tutor_link.h"
#include "gui/learning_window_frame.h"
#include "gui/qt_services.h"
#include "gui/qt_widgets.h"
#include "gui/qt_window.h"
#include "learning/tutor_window.h"

namespace gui {

class TutorView : public LearningView<learning::TutorWindow> {
public:
    // `dialogs`: used instead of real dialogs over the tutor (tests answer them); null for
    // real ones.
    TutorView(QWidget* parent, learning::TutorKind kind, editor::TForm1& mainWindow,
              QtKeyboard& keyboard, ui::Dialogs* dialogs);
    ~TutorView();

private:
    editor::MainWindowSpeech speech_;
    std::unique_ptr<QtTimer> timer_;
};

}  // namespace gui
