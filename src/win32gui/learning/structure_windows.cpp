#include "win32gui/learning/structure_windows.h"

#include "learning/window_layout.h"

namespace win32gui {

StructureWindow::StructureWindow(HWND owner, ui::Dialogs& dialogs, ui::Clipboard& clipboard,
                                 learning::ToolHost host)
    : frame_(owner, learning::structureViewLayout(), [&clipboard] { return clipboard.text(); }) {
    frame_.buildMenu(learning::structureMenuTable());
    LearningWindow& f = frame_;
    logic_ = std::make_unique<learning::TForm5>(
        learning::StructureViewWidgets{
            f.window(), f.modal(), f.menu(), f.box("Edit1"), f.box("Edit2"), f.box("Memo1"),
            f.box("Memo2"), f.control("Label1"), f.control("Label2"), f.control("Label3"),
            f.control("Label4"), f.control("Button1"), f.control("Button2"), f.control("Button3"),
            f.control("Button4")},
        learning::StructureViewServices{dialogs, clipboard}, std::move(host));
    frame_.finish([this] {
        if (logic_) {
            logic_->noticeFocus();
        }
    });
}

StructureWindow::~StructureWindow() {
    // Adapters before the logic; the window last.
    frame_.release();
    logic_.reset();
}

DecompositionWindow::DecompositionWindow(HWND owner, ui::Dialogs& dialogs, ui::Clipboard& clipboard,
                                         learning::ToolHost host, learning::CalcSheetOpener* sheet)
    : frame_(owner, learning::decompositionLayout(), [&clipboard] { return clipboard.text(); }) {
    frame_.buildMenu(learning::decompositionMenuTable());
    LearningWindow& f = frame_;
    logic_ = std::make_unique<learning::TForm9>(
        learning::DecompositionWidgets{
            f.window(), f.modal(), f.menu(), f.box("Memo1"), f.box("Edit1"), f.control("Label1"),
            f.box("Edit2"), f.box("Edit3"), f.control("Label2"), f.box("Edit4"),
            f.control("Button1"), f.control("Button2"), f.control("Button3"), f.control("Button4"),
            f.control("Button5"), f.control("Button6"), f.control("Button7")},
        learning::DecompositionServices{dialogs, clipboard}, std::move(host), sheet);
    frame_.finish([this] {
        if (logic_) {
            logic_->noticeFocus();
        }
    });
}

DecompositionWindow::~DecompositionWindow() {
    // Adapters before the logic; the window last.
    frame_.release();
    logic_.reset();
}

}  // namespace win32gui
