#pragma once

// The decomposition TForm9 on Qt: the history, the step button, the work box with its "=" and
// answer box and "Procedi", the same row for the work inside a group, and the buttons
// "Ricomincia", "Esci" and "Mem.risultato ed esci", each with an accessible name, wired to the
// logic. The calculation sheet it opens is the program's own.

#include <QDialog>
#include <memory>

#include "gui/learning_window_frame.h"
#include "gui/qt_services.h"
#include "gui/qt_window.h"
#include "learning/decomposition.h"

namespace gui {

class DecompositionWindow : public LearningView<learning::TForm9> {
public:
    DecompositionWindow(QWidget* parent, ui::Dialogs& dialogs, ui::Clipboard& clipboard,
                        QtKeyboard& keyboard, learning::ToolHost host,
                        learning::CalcSheetOpener* sheet);
};

}  // namespace gui
