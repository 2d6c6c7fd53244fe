#pragma once

// The controls of one window built from its toolkit-free table (ui/control_spec.h): one native
// control and its adapter for each entry, created in table order, which is the tab order and
// the order front to back, so a STATIC label comes just before the control it names. Each
// control gets its accessible name: a button, check box or label has it from its text, an edit
// box or list from the label before it; where the table's name differs from what those give
// (or there is no label), Dynamic Annotation carries it.
//
// Adding a window is writing its table and asking the set for the adapters its logic needs.
//
// Ownership: the set owns the adapters and the fonts it made, not the native controls, which go
// with their window; destroy the set (or clear() it) before the window's logic goes.
//
// Where annotations are not to be had (Wine has none), an edit box or list whose name no label
// gives gets a hidden STATIC with its name just before it, and a control that shows no text of
// its own (a list, the tab strip, a picture, a panel) carries its name as its window text: the
// names readers find there are the table's.

#include <functional>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "ui/control_spec.h"
#include "win32gui/controls/math_painter.h"
#include "win32gui/controls/native_widget.h"
#include "win32gui/controls/win32_check_list.h"
#include "win32gui/controls/win32_controls.h"
#include "win32gui/controls/win32_pictures.h"
#include "win32gui/controls/win32_text_box.h"
#include "win32gui/win32_window.h"

namespace win32gui {

class ControlSet {
public:
    // `clipboardText` is what a paste into the set's edit boxes inserts; `fonts` draw the math
    // views (needed only when the table has one).
    ControlSet(Win32Window& window, std::span<const ui::ControlSpec> table,
               std::function<std::string()> clipboardText, const MathFonts* fonts = nullptr);
    ~ControlSet();
    ControlSet(const ControlSet&) = delete;
    ControlSet& operator=(const ControlSet&) = delete;

    // The adapter of the control called `name`, of the kind asked for; a name the table lacks or
    // a kind it does not have throws std::out_of_range (a fault of the window's code).
    ui::Widget& widget(std::string_view name) { return as<ui::Widget>(name); }
    ui::Control& control(std::string_view name) { return as<ui::Control>(name); }
    Win32TextBox& textBox(std::string_view name) { return as<Win32TextBox>(name); }
    Win32ListBox& listBox(std::string_view name) { return as<Win32ListBox>(name); }
    Win32TabBar& tabBar(std::string_view name) { return as<Win32TabBar>(name); }
    Win32ImageView& image(std::string_view name) { return as<Win32ImageView>(name); }
    Win32MathView& mathView(std::string_view name) { return as<Win32MathView>(name); }
    Win32Canvas& canvas(std::string_view name) { return as<Win32Canvas>(name); }
    Win32CheckList& checkList(std::string_view name) { return as<Win32CheckList>(name); }
    Win32ProgressBar& progressBar(std::string_view name) { return as<Win32ProgressBar>(name); }
    Win32ComboBox& comboBox(std::string_view name) { return as<Win32ComboBox>(name); }
    HWND handle(std::string_view name);

    // Puts the control in front of the others (a panel or list shown over the editors); it then
    // comes first in tab order.
    void raise(std::string_view name);

    // Destroys the adapters: nothing reaches the logic through them afterwards.
    void clear();

private:
    struct Entry {
        std::string_view name;
        std::unique_ptr<NativeWidget> adapter;
    };
    NativeWidget& find(std::string_view name);
    template <class T>
    T& as(std::string_view name);
    HWND create(const ui::ControlSpec& item, HWND parent, bool groupStart, int id);
    std::unique_ptr<NativeWidget> adapt(const ui::ControlSpec& item, HWND hwnd);
    void name(std::span<const ui::ControlSpec> table, std::size_t index, HWND hwnd);

    Win32Window& window_;
    std::function<std::string()> clipboardText_;
    const MathFonts* fonts_;
    std::vector<Entry> entries_;
    std::vector<HFONT> ownFonts_;
};

template <class T>
T& ControlSet::as(std::string_view name) {
    if (auto* typed = dynamic_cast<T*>(&find(name))) {
        return *typed;
    }
    throw std::out_of_range("the control " + std::string(name) + " is not of the kind asked for");
}

}  // namespace win32gui
