#pragma once

// The structure view TForm5 on Qt: the initial expression, the bracket list, the structure line
// and the contents list, each with its label and accessible name, and the buttons
// "Sostituisci", "Memorizza risultato ed esci ", "Esci" and "Font", wired to the logic.

#include <QDialog>
#include <memory>

#include "gui/learning_window_frame.h"
#include "gui/qt_services.h"
#include "gui/qt_window.h"
#include "learning/structure_view.h"

namespace gui {

class StructureWindow : public LearningView<learning::TForm5> {
public:
    StructureWindow(QWidget* parent, ui::Dialogs& dialogs, ui::Clipboard& clipboard,
                    QtKeyboard& keyboard, learning::ToolHost host);
};

}  // namespace gui
