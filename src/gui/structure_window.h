#pragma once

// The structure view TForm5 on Qt: the initial expression, the bracket list, the structure line
// and the contents list, each with its label and accessible name, and the buttons
// "Sostituisci", "Memorizza risultato ed esci ", "Esci" and "Font", wired to the logic.

#include <QDialog>
#include <memory>

#include "gui/qt_services.h"
#include "gui/qt_window.h"
#include "gui/structure_window_parts.h"
#include "learning/structure_view.h"

namespace gui {

class StructureWindow {
public:
    StructureWindow(QWidget* parent, ui::Dialogs& dialogs, ui::Clipboard& clipboard,
                    QtKeyboard& keyboard, learning::ToolHost host);
    ~StructureWindow();
    StructureWindow(const StructureWindow&) = delete;
    StructureWindow& operator=(const StructureWindow&) = delete;

    QDialog& dialog() { return *dialog_; }
    learning::TForm5& logic() { return *logic_; }

private:
    QDialog* dialog_;
    std::unique_ptr<QtWindow> window_;
    std::unique_ptr<QtModal> modal_;
    QtMenuBar menu_;
    WindowParts parts_;
    std::unique_ptr<learning::TForm5> logic_;
};

}  // namespace gui
