#include "win32gui/controls/win32_controls.h"

#include <algorithm>

#include "win32gui/wide_text.h"
#include "win32gui/win32_window.h"

namespace win32gui {
namespace {

std::string windowText(HWND hwnd) {
    const int length = GetWindowTextLengthW(hwnd);
    std::wstring t(static_cast<std::size_t>(length) + 1, L'\0');
    t.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, t.data(), length + 1)));
    return narrow(t);
}

bool isLink(HWND hwnd) {
    return (GetWindowLongW(hwnd, GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW;
}

std::map<UINT_PTR, Win32Timer*>& runningTimers() {
    static std::map<UINT_PTR, Win32Timer*> timers;
    return timers;
}

}  // namespace

// ---- label

Win32Label::Win32Label(HWND label) : Win32Widget(label) {}

std::string Win32Label::caption() const {
    return windowText(hwnd());
}

void Win32Label::setCaption(std::string_view caption) {
    if (caption != this->caption()) {
        SetWindowTextW(hwnd(), widenLines(caption).c_str());
        controlChanged(hwnd());
    }
}

void Win32Label::command(int code) {
    if (code == STN_CLICKED && onClick_ && IsWindowEnabled(hwnd())) {
        onClick_();
    }
}

// ---- button

Win32Button::Win32Button(HWND button) : Win32Widget(button) {}

std::string Win32Button::caption() const {
    return windowText(hwnd());
}

void Win32Button::setCaption(std::string_view caption) {
    if (caption != this->caption()) {
        SetWindowTextW(hwnd(), widen(caption).c_str());
        controlChanged(hwnd());
    }
}

bool Win32Button::checked() const {
    return SendMessageW(hwnd(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32Button::setChecked(bool checked) {
    // BM_SETCHECK notifies nobody: the logic's own change.
    SendMessageW(hwnd(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void Win32Button::command(int code) {
    if (code == BN_CLICKED && onClick_) {
        // Copy: the handler may replace itself.
        const ui::Callback callback = onClick_;
        callback();
    }
}

bool Win32Button::drawItem(const DRAWITEMSTRUCT& item) {
    if (!isLink(hwnd())) {
        return false;
    }
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    // The parent's background shows through.
    HWND parent = GetParent(hwnd());
    HBRUSH background = nullptr;
    if (NativeWidget* p = NativeWidget::from(parent); p != nullptr && p->backgroundColour()) {
        background = CreateSolidBrush(colorRef(*p->backgroundColour()));
    }
    FillRect(dc, &r, background != nullptr ? background : GetSysColorBrush(COLOR_BTNFACE));
    if (background != nullptr) {
        DeleteObject(background);
    }
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, textColour() ? colorRef(*textColour()) : GetSysColor(COLOR_HOTLIGHT));
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(hwnd(), WM_GETFONT, 0, 0));
    HGDIOBJ old = font != nullptr ? SelectObject(dc, font) : nullptr;
    const std::wstring text = widen(caption());
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    if (old != nullptr) {
        SelectObject(dc, old);
    }
    if ((item.itemState & ODS_FOCUS) != 0) {
        DrawFocusRect(dc, &item.rcItem);
    }
    return true;
}

// ---- status bar

Win32StatusText::Win32StatusText(HWND statusBar) : Win32Widget(statusBar) {
    int right = -1;
    SendMessageW(statusBar, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(&right));
}

void Win32StatusText::setCaption(std::string_view caption) {
    caption_ = caption;
    SendMessageW(hwnd(), SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(widen(caption).c_str()));
}

// ---- list

Win32ListBox::Win32ListBox(HWND list) : Win32Widget(list) {}

void Win32ListBox::clear() {
    SendMessageW(hwnd(), LB_RESETCONTENT, 0, 0);
}

void Win32ListBox::add(std::string_view item) {
    SendMessageW(hwnd(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(widen(item).c_str()));
}

int Win32ListBox::count() const {
    return static_cast<int>(SendMessageW(hwnd(), LB_GETCOUNT, 0, 0));
}

std::string Win32ListBox::item(int index) const {
    const LRESULT length = SendMessageW(hwnd(), LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == LB_ERR) {
        return {};
    }
    std::wstring t(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT got = SendMessageW(hwnd(), LB_GETTEXT, static_cast<WPARAM>(index),
                                     reinterpret_cast<LPARAM>(t.data()));
    t.resize(got == LB_ERR ? 0 : static_cast<std::size_t>(got));
    return narrow(t);
}

int Win32ListBox::itemIndex() const {
    const LRESULT index = SendMessageW(hwnd(), LB_GETCURSEL, 0, 0);
    return index == LB_ERR ? -1 : static_cast<int>(index);
}

void Win32ListBox::setItemIndex(int index) {
    SendMessageW(
        hwnd(), LB_SETCURSEL,
        index >= 0 && index < count() ? static_cast<WPARAM>(index) : static_cast<WPARAM>(-1), 0);
}

void Win32ListBox::command(int code) {
    if (code == LBN_DBLCLK && onDoubleClick_) {
        onDoubleClick_();
    }
}

// ---- tabs

Win32TabBar::Win32TabBar(HWND tabs) : Win32Widget(tabs) {}

void Win32TabBar::setTabs(const std::vector<std::string>& captions) {
    TabCtrl_DeleteAllItems(hwnd());
    for (std::size_t i = 0; i < captions.size(); ++i) {
        std::wstring text = widen(captions[i]);
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text.data();
        SendMessageW(hwnd(), TCM_INSERTITEMW, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(&item));
    }
    TabCtrl_SetCurSel(hwnd(), captions.empty() ? -1 : 0);
}

int Win32TabBar::count() const {
    return TabCtrl_GetItemCount(hwnd());
}

std::string Win32TabBar::tabCaption(int index) const {
    wchar_t buffer[128] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = buffer;
    item.cchTextMax = 127;
    if (SendMessageW(hwnd(), TCM_GETITEMW, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(&item)) == FALSE) {
        return {};
    }
    return narrow(item.pszText);
}

int Win32TabBar::tabIndex() const {
    return TabCtrl_GetCurSel(hwnd());
}

void Win32TabBar::setTabIndex(int index) {
    if (index >= 0 && index < count()) {
        TabCtrl_SetCurSel(hwnd(), index);  // notifies nobody
    }
}

bool Win32TabBar::notify(const NMHDR& header, LRESULT& result) {
    if (header.code == static_cast<UINT>(TCN_SELCHANGE)) {
        if (onChange_) {
            onChange_();
        }
        result = 0;
        return true;
    }
    return false;
}

// ---- timer

Win32Timer::~Win32Timer() {
    stop();
}

void Win32Timer::setInterval(int milliseconds) {
    interval_ = milliseconds;
    if (id_ != 0) {
        stop();
        start();
    }
}

void Win32Timer::setEnabled(bool enabled) {
    if (enabled && id_ == 0) {
        start();
    } else if (!enabled) {
        stop();
    }
}

void Win32Timer::start() {
    id_ = SetTimer(nullptr, 0, static_cast<UINT>(std::max(interval_, 1)), &timerProc);
    if (id_ != 0) {
        runningTimers()[id_] = this;
    }
}

void Win32Timer::stop() {
    if (id_ != 0) {
        KillTimer(nullptr, id_);
        runningTimers().erase(id_);
        id_ = 0;
    }
}

void CALLBACK Win32Timer::timerProc(HWND /*hwnd*/, UINT /*msg*/, UINT_PTR id, DWORD /*time*/) {
    const auto found = runningTimers().find(id);
    if (found != runningTimers().end() && found->second->onTimer_) {
        // Copy: the handler may stop the timer or replace itself.
        const ui::Callback callback = found->second->onTimer_;
        callback();
    }
}

}  // namespace win32gui
