#pragma once

// A learning window on Windows (the calculation sheet, the structure view, the decomposition,
// the tutors), built from its toolkit-free layout table as the Linux build builds it: a window
// owned by the main window and shown modally over it, its menu bar from the window's command
// table, every control of the table as a native control with its name, accessible name and
// font (the Braille font, bold, in its boxes), each with its adapter, and the window and modal
// adapters the logic runs over. The controls are arranged from the table's cells
// (learning_layout.h) whenever the window is shown or resized and whenever a control is shown,
// hidden or given a new text.
//
// Every key reaches the logic before the focused control (the message loop does that for
// every window of the program); Alt with a letter opens the menus and never types.
//
// Ownership: the frame owns the window, its menu and the adapters; release() destroys the
// adapters, which the view calls before its logic goes.

#include <deque>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "editor/window/menu_commands.h"
#include "learning/window_layout.h"
#include "ui/control_spec.h"
#include "ui/services.h"
#include "win32gui/controls/control_set.h"
#include "win32gui/controls/math_painter.h"
#include "win32gui/controls/win32_menu.h"
#include "win32gui/win32_window.h"

namespace win32gui {

class LearningWindow {
public:
    // `clipboardText` is what a paste into the window's boxes inserts; `fonts` draw its
    // picture, when the table has one.
    LearningWindow(HWND owner, const learning::WindowLayout& layout,
                   std::function<std::string()> clipboardText, const MathFonts* fonts = nullptr);
    ~LearningWindow();
    LearningWindow(const LearningWindow&) = delete;
    LearningWindow& operator=(const LearningWindow&) = delete;

    // Fills the menu bar from the window's command table.
    template <class Entry>
    void buildMenu(std::span<const Entry> table) {
        menu_.build(table, [](const ui::Shortcut& s) { return editor::shortcutText(s); });
        window_->setMenuBar(&menu_);
    }

    Win32Window& window() { return *window_; }
    Win32Modal& modal() { return *modal_; }
    Win32MenuBar& menu() { return menu_; }
    ControlSet& controls() { return *controls_; }
    HWND handle() const { return window_->handle(); }

    // The controls of the table by name; a name the table lacks throws std::out_of_range.
    Win32TextBox& box(std::string_view name) { return controls_->textBox(name); }
    ui::Control& control(std::string_view name) { return controls_->control(name); }
    Win32MathView& picture(std::string_view name) { return controls_->mathView(name); }
    HWND controlHandle(std::string_view name) { return controls_->handle(name); }
    // The fixed label that names `control`; null when it has none.
    HWND captionFor(std::string_view control);

    // After the logic is made: read-only boxes, status panels framed, the first arrangement.
    // `noticeFocus` (may be empty) hears whenever the focus enters or leaves a box.
    void finish(std::function<void()> noticeFocus = {});
    // Arranges the controls for the window's size now.
    void arrange();
    // Adapters before the logic: call from the view's destructor, before the logic goes.
    void release();

private:
    const learning::WindowLayout& layout_;
    std::deque<std::string> captionNames_;  // the names the table's fixed labels go by here
    std::vector<ui::ControlSpec> table_;    // the table as the control set builds it
    std::vector<std::string_view> names_;   // of each entry of the layout's table
    std::unique_ptr<Win32Window> window_;
    Win32MenuBar menu_;
    std::unique_ptr<Win32Modal> modal_;
    std::unique_ptr<ControlSet> controls_;
    std::vector<HWND> handles_;  // of each entry of the layout's table
};

// What every learning window on Windows holds: its frame and the logic the view makes over it.
// A paste into the window's boxes inserts what `clipboard` holds.
template <class Logic>
class LearningView {
public:
    LearningView(const LearningView&) = delete;
    LearningView& operator=(const LearningView&) = delete;

    LearningWindow& frame() { return frame_; }
    Logic& logic() { return *logic_; }

protected:
    LearningView(HWND owner, const learning::WindowLayout& layout, ui::Clipboard& clipboard,
                 const MathFonts* fonts = nullptr)
        : frame_(
              owner, layout, [&clipboard] { return clipboard.text(); }, fonts) {}
    ~LearningView() { close(); }

    // Takes the logic the view made and finishes the frame.
    void adopt(std::unique_ptr<Logic> logic) {
        logic_ = std::move(logic);
        frame_.finish();
    }
    // The same for a logic that hears whenever the focus enters or leaves one of its boxes.
    void adoptFollowingFocus(std::unique_ptr<Logic> logic) {
        logic_ = std::move(logic);
        frame_.finish([this] {
            if (logic_) {
                logic_->noticeFocus();
            }
        });
    }
    // Adapters before the logic; the window last. A view whose own members serve the logic
    // calls this in its destructor, once they are stopped.
    void close() {
        frame_.release();
        logic_.reset();
    }

    LearningWindow frame_;

private:
    std::unique_ptr<Logic> logic_;
};

}  // namespace win32gui
