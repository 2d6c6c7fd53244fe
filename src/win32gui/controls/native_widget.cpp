#include "win32gui/controls/native_widget.h"

#include "win32gui/dpi.h"
#include "win32gui/win32_window.h"

namespace win32gui {
namespace {

constexpr wchar_t kAdapterProperty[] = L"TattiloAdapter";

bool isEdit(HWND hwnd) {
    wchar_t name[16] = {};
    GetClassNameW(hwnd, name, 16);
    return lstrcmpiW(name, L"Edit") == 0 || lstrcmpiW(name, L"ListBox") == 0;
}

}  // namespace

COLORREF colorRef(ui::Color colour) {
    return RGB((colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF);
}

NativeWidget::NativeWidget(HWND hwnd) : hwnd_(hwnd) {
    if (hwnd_ != nullptr) {
        SetPropW(hwnd_, kAdapterProperty, this);
    }
}

NativeWidget::~NativeWidget() {
    if (hwnd_ != nullptr && IsWindow(hwnd_)) {
        unsubclass();
        if (GetPropW(hwnd_, kAdapterProperty) == this) {
            RemovePropW(hwnd_, kAdapterProperty);
        }
    }
    if (brush_ != nullptr) {
        DeleteObject(brush_);
    }
}

NativeWidget* NativeWidget::from(HWND hwnd) {
    return hwnd != nullptr ? static_cast<NativeWidget*>(GetPropW(hwnd, kAdapterProperty)) : nullptr;
}

void NativeWidget::setTextColour(ui::Color colour) {
    if (text_ == colour) {
        return;  // the mouse moving over a link sets the same colour again and again
    }
    text_ = colour;
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void NativeWidget::setBackgroundColour(ui::Color colour) {
    background_ = colour;
    if (brush_ != nullptr) {
        DeleteObject(brush_);
    }
    brush_ = CreateSolidBrush(colorRef(colour));
    InvalidateRect(hwnd_, nullptr, TRUE);
}

HBRUSH NativeWidget::paintColours(HDC dc) {
    if (!text_ && !background_) {
        return nullptr;
    }
    if (text_) {
        SetTextColor(dc, colorRef(*text_));
    }
    if (background_) {
        SetBkColor(dc, colorRef(*background_));
        return brush_;
    }
    const int face = isEdit(hwnd_) ? COLOR_WINDOW : COLOR_BTNFACE;
    SetBkColor(dc, GetSysColor(face));
    return GetSysColorBrush(face);
}

void NativeWidget::setOnMouseMove(std::function<void()> callback) {
    onMouseMove_ = std::move(callback);
    subclass();
}

void NativeWidget::subclass() {
    if (original_ != nullptr || hwnd_ == nullptr) {
        return;
    }
    original_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&subclassProc)));
}

void NativeWidget::unsubclass() {
    if (original_ != nullptr) {
        SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
        original_ = nullptr;
    }
}

LRESULT NativeWidget::callOriginal(UINT msg, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcW(original_, hwnd_, msg, wParam, lParam);
}

LRESULT CALLBACK NativeWidget::subclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    NativeWidget* self = from(hwnd);
    if (self == nullptr || self->original_ == nullptr) {
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    if (msg == WM_MOUSEMOVE && self->onMouseMove_) {
        self->onMouseMove_();
    }
    LRESULT result = 0;
    if (self->message(msg, wParam, lParam, result)) {
        return result;
    }
    const WNDPROC original = self->original_;
    if (msg == WM_NCDESTROY) {
        // The control goes before its adapter: nothing may reach the adapter afterwards.
        self->unsubclass();
        RemovePropW(hwnd, kAdapterProperty);
        self->hwnd_ = nullptr;
    }
    return CallWindowProcW(original, hwnd, msg, wParam, lParam);
}

namespace control {

bool visible(HWND hwnd) {
    return (GetWindowLongW(hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
}

void setVisible(HWND hwnd, bool show) {
    if (!show && GetFocus() == hwnd) {
        SetFocus(GetAncestor(hwnd, GA_ROOT));
    }
    const bool was = IsWindowVisible(hwnd) != FALSE;
    ShowWindow(hwnd, show ? SW_SHOWNA : SW_HIDE);
    if (was != (IsWindowVisible(hwnd) != FALSE)) {
        controlChanged(hwnd);
    }
}

void setEnabled(HWND hwnd, bool enabled) {
    if (!enabled && GetFocus() == hwnd) {
        SetFocus(GetAncestor(hwnd, GA_ROOT));
    }
    EnableWindow(hwnd, enabled ? TRUE : FALSE);
}

ui::Rect bounds(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
    return toLogical(r);
}

void setBounds(HWND hwnd, const ui::Rect& bounds) {
    const RECT r = toScreen(bounds);
    MoveWindow(hwnd, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
}

bool focused(HWND hwnd) {
    if (Win32Window* window = Win32Window::from(GetAncestor(hwnd, GA_ROOT))) {
        return window->focusedChild() == hwnd;
    }
    return GetFocus() == hwnd;
}

void setFocus(HWND hwnd) {
    if (Win32Window* window = Win32Window::from(GetAncestor(hwnd, GA_ROOT))) {
        window->focusChild(hwnd);
        return;
    }
    SetFocus(hwnd);
}

}  // namespace control

}  // namespace win32gui
