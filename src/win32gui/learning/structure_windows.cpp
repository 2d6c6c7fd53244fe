#include "win32gui/learning/structure_windows.h"

#include "learning/window_layout.h"

namespace win32gui {

StructureWindow::StructureWindow(HWND owner, ui::Dialogs& dialogs, ui::Clipboard& clipboard,
                                 learning::ToolHost host)
    : LearningView(owner, learning::structureViewLayout(), clipboard) {
    frame_.buildMenu(learning::structureMenuTable());
    LearningWindow& f = frame_;
    adoptFollowingFocus(std::make_unique<learning::TForm5>(
        learning::StructureViewWidgets{
            f.window(), f.modal(), f.menu(), f.box("Edit1"), f.box("Edit2"), f.box("Memo1"),
            f.box("Memo2"), f.control("Label1"), f.control("Label2"), f.control("Label3"),
            f.control("Label4"), f.control("Button1"), f.control("Button2"), f.control("Button3"),
            f.control("Button4")},
        learning::StructureViewServices{dialogs, clipboard}, std::move(host)));
}

DecompositionWindow::DecompositionWindow(HWND owner, ui::Dialogs& dialogs, ui::Clipboard& clipboard,
                                         learning::ToolHost host, learning::CalcSheetOpener* sheet)
    : LearningView(owner, learning::decompositionLayout(), clipboard) {
    frame_.buildMenu(learning::decompositionMenuTable());
    LearningWindow& f = frame_;
    adoptFollowingFocus(std::make_unique<learning::TForm9>(
        learning::DecompositionWidgets{
            f.window(), f.modal(), f.menu(), f.box("Memo1"), f.box("Edit1"), f.control("Label1"),
            f.box("Edit2"), f.box("Edit3"), f.control("Label2"), f.box("Edit4"),
            f.control("Button1"), f.control("Button2"), f.control("Button3"), f.control("Button4"),
            f.control("Button5"), f.control("Button6"), f.control("Button7")},
        learning::DecompositionServices{dialogs, clipboard}, std::move(host), sheet));
}

}  // namespace win32gui
