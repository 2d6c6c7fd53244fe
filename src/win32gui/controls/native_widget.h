#pragma once

// The Win32 side of every adapter: one native control (an HWND the adapter does not own; it
// goes with its window) and the events its parent window hands on to it. Once the adapter is
// destroyed nothing reaches the window's logic through it: whoever builds a window destroys the
// adapters before the logic, and the window after both.
//
// Setting a property from the logic never calls the logic back (ui/widgets.h): the adapters
// hold back the notifications their own calls cause.

#include <functional>
#include <optional>

#include "ui/widgets.h"
#include "win32gui/native.h"

namespace win32gui {

class NativeWidget {
public:
    explicit NativeWidget(HWND hwnd);
    virtual ~NativeWidget();
    NativeWidget(const NativeWidget&) = delete;
    NativeWidget& operator=(const NativeWidget&) = delete;

    HWND hwnd() const { return hwnd_; }
    // The adapter of a control; null for a window without one.
    static NativeWidget* from(HWND hwnd);

    // From the parent window: a WM_COMMAND notification code, a WM_NOTIFY, an owner-drawn item.
    virtual void command(int /*code*/) {}
    virtual bool notify(const NMHDR& /*header*/, LRESULT& /*result*/) { return false; }
    virtual bool drawItem(const DRAWITEMSTRUCT& /*item*/) { return false; }
    // WM_CTLCOLOR*: sets the colours the logic chose into `dc`; the background brush, or null
    // for the control's own colours.
    HBRUSH paintColours(HDC dc);

    std::optional<ui::Color> textColour() const { return text_; }
    std::optional<ui::Color> backgroundColour() const { return background_; }
    void setTextColour(ui::Color colour);
    void setBackgroundColour(ui::Color colour);

    // The mouse moved over the control.
    void setOnMouseMove(std::function<void()> callback);

protected:
    // The control's own window procedure is replaced by one that offers each message to
    // message() first and hands the rest on.
    void subclass();
    // True when the message was handled, with its result in `result`.
    virtual bool message(UINT /*msg*/, WPARAM /*wParam*/, LPARAM /*lParam*/, LRESULT& /*result*/) {
        return false;
    }
    LRESULT callOriginal(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK subclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void unsubclass();

    HWND hwnd_;
    WNDPROC original_ = nullptr;
    std::optional<ui::Color> text_;
    std::optional<ui::Color> background_;
    HBRUSH brush_ = nullptr;
    std::function<void()> onMouseMove_;
};

// GDI's COLORREF of a ui colour.
COLORREF colorRef(ui::Color colour);

// The Widget part of an interface, for any child control.
namespace control {
bool visible(HWND hwnd);
// Hiding the control that has the focus hands the focus to its window first: keys must never
// go on into a control no one can see.
void setVisible(HWND hwnd, bool visible);
void setEnabled(HWND hwnd, bool enabled);
ui::Rect bounds(HWND hwnd);
void setBounds(HWND hwnd, const ui::Rect& bounds);
// The focus within the control's window, whether or not that window is active just now.
bool focused(HWND hwnd);
void setFocus(HWND hwnd);
}  // namespace control

template <class Interface>
class Win32Widget : public Interface, public NativeWidget {
public:
    using NativeWidget::NativeWidget;

    bool visible() const override { return control::visible(hwnd()); }
    void setVisible(bool visible) override { control::setVisible(hwnd(), visible); }
    bool enabled() const override { return IsWindowEnabled(hwnd()) != FALSE; }
    void setEnabled(bool enabled) override { control::setEnabled(hwnd(), enabled); }
    ui::Rect bounds() const override { return control::bounds(hwnd()); }
    void setBounds(const ui::Rect& bounds) override { control::setBounds(hwnd(), bounds); }
    bool focused() const override { return control::focused(hwnd()); }
    void setFocus() override { control::setFocus(hwnd()); }
    void setTextColor(ui::Color colour) override { setTextColour(colour); }
    void setBackgroundColor(ui::Color colour) override { setBackgroundColour(colour); }
};

// A control with nothing but the Widget part (the about panel).
class Win32PlainWidget : public Win32Widget<ui::Widget> {
public:
    using Win32Widget::Win32Widget;
};

}  // namespace win32gui
