#include "win32gui/dialog_keys.h"

#include <utility>
#include <vector>

#include "ui/access_keys.h"
#include "win32gui/wide_text.h"

namespace win32gui {
namespace {

bool held(int key) {
    return GetKeyState(key) < 0;
}

enum class Kind { Other, PushButton, CheckBox, RadioButton, Label, OneLineEdit, TypedMemo };

bool isClass(HWND hwnd, const wchar_t* name) {
    wchar_t found[32] = {};
    GetClassNameW(hwnd, found, 32);
    return lstrcmpiW(found, name) == 0;
}

Kind kindOf(HWND hwnd) {
    if (hwnd == nullptr) {
        return Kind::Other;
    }
    const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
    if (isClass(hwnd, L"Button")) {
        switch (style & BS_TYPEMASK) {
            case BS_PUSHBUTTON:
            case BS_DEFPUSHBUTTON:
                return Kind::PushButton;
            case BS_RADIOBUTTON:
            case BS_AUTORADIOBUTTON:
                return Kind::RadioButton;
            case BS_CHECKBOX:
            case BS_AUTOCHECKBOX:
            case BS_3STATE:
            case BS_AUTO3STATE:
                return Kind::CheckBox;
            case BS_GROUPBOX:
                return Kind::Label;
            default:
                return Kind::Other;  // owner-drawn: a link, its text drawn by the program
        }
    }
    if (isClass(hwnd, L"Edit")) {
        if ((style & ES_MULTILINE) == 0) {
            return Kind::OneLineEdit;
        }
        return (style & ES_WANTRETURN) != 0 && (style & ES_READONLY) == 0 ? Kind::TypedMemo
                                                                          : Kind::Other;
    }
    if (isClass(hwnd, L"Static") && (style & SS_NOPREFIX) == 0) {
        return Kind::Label;
    }
    return Kind::Other;
}

bool usable(HWND hwnd) {
    return hwnd != nullptr && IsWindowVisible(hwnd) && IsWindowEnabled(hwnd);
}

// The drop-down list of the combo box that holds `focus` is open: Return and Esc close it.
bool listDroppedDown(HWND focus) {
    for (HWND h = focus; h != nullptr; h = GetParent(h)) {
        if (isClass(h, L"ComboBox")) {
            return SendMessageW(h, CB_GETDROPPEDSTATE, 0, 0) != 0;
        }
    }
    return false;
}

HWND focusIn(Win32Window& window) {
    HWND focus = GetFocus();
    return focus != nullptr && IsChild(window.handle(), focus) ? focus : nullptr;
}

// Per thread: what a key down decided for the key's character or release that follows.
thread_local bool returnKeptByList = false;  // Return closed an open drop-down list
thread_local bool altUsed = false;           // Alt worked a control since it went down

// Tab and Shift+Tab: the next control in tab order; a one-line field comes in all selected.
void moveFocus(Win32Window& window, bool backwards) {
    HWND next = GetNextDlgTabItem(window.handle(), focusIn(window), backwards ? TRUE : FALSE);
    if (next == nullptr) {
        return;
    }
    window.focusChild(next);
    if (kindOf(next) == Kind::OneLineEdit) {
        SendMessageW(next, EM_SETSEL, 0, -1);
    }
}

// Return: the focused push button, else the default button, unless the control keeps it.
bool pressButton(Win32Window& window) {
    HWND focus = focusIn(window);
    const Kind kind = kindOf(focus);
    if (kind == Kind::PushButton) {
        SendMessageW(focus, BM_CLICK, 0, 0);
        return true;
    }
    if (kind == Kind::TypedMemo) {
        return false;
    }
    HWND button = window.defaultButton();
    if (button == nullptr) {
        return false;
    }
    if (!usable(button)) {
        MessageBeep(MB_OK);
        return true;
    }
    SendMessageW(button, BM_CLICK, 0, 0);
    return true;
}

// The arrow keys within a group of radio buttons: the next one is chosen.
bool moveInRadioGroup(Win32Window& window, WPARAM key) {
    HWND focus = focusIn(window);
    if (kindOf(focus) != Kind::RadioButton) {
        return false;
    }
    const bool backwards = key == VK_LEFT || key == VK_UP;
    if (!backwards && key != VK_RIGHT && key != VK_DOWN) {
        return false;
    }
    HWND next = GetNextDlgGroupItem(window.handle(), focus, backwards ? TRUE : FALSE);
    if (next == nullptr || next == focus || kindOf(next) != Kind::RadioButton) {
        return true;
    }
    window.focusChild(next);
    SendMessageW(next, BM_CLICK, 0, 0);
    return true;
}

BOOL CALLBACK collect(HWND child, LPARAM data) {
    reinterpret_cast<std::vector<HWND>*>(data)->push_back(child);
    return TRUE;
}

// The controls of the window in tab order (panels' controls where the panel stands).
std::vector<HWND> controlsOf(HWND window) {
    std::vector<HWND> found;
    EnumChildWindows(window, &collect, reinterpret_cast<LPARAM>(&found));
    return found;
}

char markedKey(HWND control) {
    const int length = GetWindowTextLengthW(control);
    if (length <= 0) {
        return 0;
    }
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return ui::markedAccessKey(narrow(text));
}

// The control an access key of `control` works: a button itself, for a label the next control
// in tab order after it.
HWND target(Win32Window& window, HWND control) {
    switch (kindOf(control)) {
        case Kind::PushButton:
        case Kind::CheckBox:
        case Kind::RadioButton:
            return usable(control) ? control : nullptr;
        case Kind::Label: {
            if (!IsWindowVisible(control)) {
                return nullptr;
            }
            HWND next = GetNextDlgTabItem(window.handle(), control, FALSE);
            return usable(next) && next != control ? next : nullptr;
        }
        default:
            return nullptr;
    }
}

}  // namespace

bool accessKey(Win32Window& window, char letter) {
    std::vector<HWND> found;  // the controls the key works, in tab order
    for (HWND control : controlsOf(window.handle())) {
        if (markedKey(control) != letter) {
            continue;
        }
        if (HWND t = target(window, control); t != nullptr) {
            found.push_back(t);
        }
    }
    if (found.empty()) {
        return false;
    }
    if (found.size() > 1) {
        // The next one after the control that has the focus.
        HWND focus = focusIn(window);
        std::size_t next = 0;
        for (std::size_t k = 0; k < found.size(); ++k) {
            if (found[k] == focus) {
                next = (k + 1) % found.size();
                break;
            }
        }
        window.focusChild(found[next]);
        return true;
    }
    HWND hwnd = found.front();
    window.focusChild(hwnd);
    switch (kindOf(hwnd)) {
        case Kind::PushButton:
        case Kind::CheckBox:
        case Kind::RadioButton:
            SendMessageW(hwnd, BM_CLICK, 0, 0);
            break;
        default:
            if (SendMessageW(hwnd, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) {
                SendMessageW(hwnd, EM_SETSEL, 0, -1);
            }
            break;
    }
    return true;
}

bool dialogKeyDown(Win32Window& window, const MSG& msg) {
    const WPARAM key = msg.wParam;
    if (key == VK_RETURN) {
        returnKeptByList = listDroppedDown(GetFocus());
        return false;
    }
    if (key == VK_ESCAPE && window.escapeCloses() && !held(VK_SHIFT) && !held(VK_CONTROL) &&
        !held(VK_MENU)) {
        if (listDroppedDown(GetFocus())) {
            return false;
        }
        window.close();
        return true;
    }
    if (key == VK_MENU) {
        altUsed = false;
        return false;
    }
    if (msg.message == WM_SYSKEYDOWN && !window.hasMenuBar()) {
        const ui::KeyEvent event{static_cast<int>(key),
                                 ui::shift::kAlt | (held(VK_SHIFT) ? ui::shift::kShift : 0u) |
                                     (held(VK_CONTROL) ? ui::shift::kCtrl : 0u)};
        if (const char letter = ui::altLetter(event); letter != 0 && accessKey(window, letter)) {
            altUsed = true;
            return true;
        }
        return false;
    }
    return msg.message == WM_KEYDOWN && moveInRadioGroup(window, key);
}

bool dialogChar(Win32Window& window, char ch) {
    const bool plain = !held(VK_CONTROL) && !held(VK_MENU);
    if (!plain) {
        return false;
    }
    switch (ch) {
        case '\t':
            moveFocus(window, held(VK_SHIFT));
            return true;
        case '\r':
            if (std::exchange(returnKeptByList, false)) {
                return false;
            }
            return pressButton(window);
        case '\x1B':
            // The key down closed the window, or an open list took it.
            return window.escapeCloses();
        default:
            return false;
    }
}

bool dialogKeyUp(Win32Window&, const MSG& msg) {
    if (msg.wParam == VK_MENU && altUsed) {
        altUsed = false;
        return true;
    }
    return false;
}

void markDefaultButton(Win32Window& window, HWND focus) {
    if (focus != nullptr && focus != window.handle() && !IsChild(window.handle(), focus)) {
        return;  // the focus went to another window: this one keeps its mark
    }
    HWND marked = kindOf(focus) == Kind::PushButton ? focus : window.defaultButton();
    for (HWND control : controlsOf(window.handle())) {
        if (kindOf(control) != Kind::PushButton) {
            continue;
        }
        const LONG style = GetWindowLongW(control, GWL_STYLE);
        const LONG type = control == marked ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
        if ((style & BS_TYPEMASK) != type) {
            SendMessageW(control, BM_SETSTYLE, static_cast<WPARAM>((style & ~BS_TYPEMASK) | type),
                         TRUE);
        }
    }
}

namespace {

LRESULT CALLBACK focusHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_SETFOCUS) {
        const auto gaining = reinterpret_cast<HWND>(wParam);
        if (Win32Window* window =
                gaining != nullptr ? Win32Window::from(GetAncestor(gaining, GA_ROOT)) : nullptr) {
            markDefaultButton(*window, gaining);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

void followFocus() {
    thread_local const HHOOK hook =
        SetWindowsHookExW(WH_CBT, &focusHook, nullptr, GetCurrentThreadId());
    (void)hook;
}

}  // namespace win32gui
