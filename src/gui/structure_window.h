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

class StructureWindow {
public:
    StructureWindow(QWidget* parent, ui::Dialogs& dialogs, ui::Clipboard& clipboard,
                    QtKeyboard& keyboard, learning::ToolHost host);
    ~StructureWindow();
    StructureWindow(const StructureWindow&) = delete;
    StructureWindow& operator=(const StructureWindow&) = delete;

    QDialog& dialog() { return *frame_.dialog(); }
    learning::TForm5& logic() { return *logic_; }

private:
    LearningWindowFrame frame_;
    std::unique_ptr<learning::TForm5> logic_;
};

}  // namespace gui
