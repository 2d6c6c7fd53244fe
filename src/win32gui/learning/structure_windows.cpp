#include "win32gui/learning/structure_windows.h"

#include "learning/window_layout.h"

namespace win32gui {

StructureWindow::StructureWindow(HWND owner, ui::Dialogs& dialogs, ui::Clipboard& clipboard,
                                 learning::ToolHost host)
    : LearningView(owner, learning::structureViewLayout(), clipboard) {
    frame_.buildMenu(learning::structureMenuTable());
    adoptFollowingFocus(std::make_unique<learning::TForm5>(
        learning::structureViewWidgets(frame_), learning::StructureViewServices{dialogs, clipboard},
        std::move(host)));
}

DecompositionWindow::DecompositionWindow(HWND owner, ui::Dialogs& dialogs, ui::Clipboard& clipboard,
                                         learning::ToolHost host, learning::CalcSheetOpener* sheet)
    : LearningView(owner, learning::decompositionLayout(), clipboard) {
    frame_.buildMenu(learning::decompositionMenuTable());
    adoptFollowingFocus(std::make_unique<learning::TForm9>(
        learning::decompositionWidgets(frame_), learning::DecompositionServices{dialogs, clipboard},
        std::move(host), sheet));
}

}  // namespace win32gui
