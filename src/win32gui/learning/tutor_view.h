#pragma once

// A tutor window (TForm10 brackets, TForm11 operations, TForm13 complex fractions) on Windows:
// its menus from the tutor's command table, the step and input-mode labels, the read-only
// expression memo, the work area, the expression drawn as mathematics with GDI from the same
// display layout the main window's linear view uses, and the two buttons, each with the
// accessible name of the Linux build, wired to the tutor's logic. The tutor speaks through the
// main window's speech and follows its input mode.

#include <memory>

#include "editor/window/main_window.h"
#include "editor/window/tutor_link.h"
#include "learning/tutor_window.h"
#include "win32gui/controls/math_painter.h"
#include "win32gui/controls/win32_controls.h"
#include "win32gui/learning/learning_window.h"

namespace win32gui {

class TutorView : public LearningView<learning::TutorWindow> {
public:
    TutorView(HWND owner, learning::TutorKind kind, editor::TForm1& mainWindow,
              ui::Dialogs& dialogs, ui::Clipboard& clipboard, const MathFonts& fonts);
    ~TutorView();

private:
    editor::MainWindowSpeech speech_;
    Win32Timer timer_;
};

}  // namespace win32gui
