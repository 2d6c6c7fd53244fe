#include "win32gui/message_loop.h"

#include "ui/keys.h"
#include "win32gui/wide_text.h"
#include "win32gui/win32_window.h"

namespace win32gui {
namespace {

bool held(int key) {
    return GetKeyState(key) < 0;
}

unsigned shiftState() {
    unsigned s = 0;
    if (held(VK_SHIFT)) {
        s |= ui::shift::kShift;
    }
    if (held(VK_CONTROL)) {
        s |= ui::shift::kCtrl;
    }
    if (held(VK_MENU)) {
        s |= ui::shift::kAlt;
    }
    return s;
}

Win32Window* windowOf(HWND hwnd) {
    return hwnd != nullptr ? Win32Window::from(GetAncestor(hwnd, GA_ROOT)) : nullptr;
}

bool keypadKey(WPARAM key) {
    return key >= VK_NUMPAD0 && key <= VK_DIVIDE && key != VK_SEPARATOR;
}

enum class Kind { Other, PushButton, RadioButton, OneLineEdit };

Kind kindOf(HWND hwnd) {
    if (hwnd == nullptr) {
        return Kind::Other;
    }
    wchar_t name[16] = {};
    GetClassNameW(hwnd, name, 16);
    const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
    if (lstrcmpiW(name, L"Button") == 0) {
        switch (style & BS_TYPEMASK) {
            case BS_PUSHBUTTON:
            case BS_DEFPUSHBUTTON:
            case BS_OWNERDRAW:
                return Kind::PushButton;
            case BS_RADIOBUTTON:
            case BS_AUTORADIOBUTTON:
                return Kind::RadioButton;
            default:
                return Kind::Other;
        }
    }
    if (lstrcmpiW(name, L"Edit") == 0 && (style & ES_MULTILINE) == 0) {
        return Kind::OneLineEdit;
    }
    return Kind::Other;
}

bool usable(HWND hwnd) {
    return hwnd != nullptr && IsWindowVisible(hwnd) && IsWindowEnabled(hwnd);
}

// Tab and Shift+Tab: the next control in tab order; a one-line field comes in all selected.
void moveFocus(Win32Window& window, bool backwards) {
    HWND from = GetFocus();
    if (from != nullptr && !IsChild(window.handle(), from)) {
        from = nullptr;
    }
    HWND next = GetNextDlgTabItem(window.handle(), from, backwards ? TRUE : FALSE);
    if (next == nullptr) {
        return;
    }
    window.focusChild(next);
    if (kindOf(next) == Kind::OneLineEdit) {
        SendMessageW(next, EM_SETSEL, 0, -1);
    }
}

// Enter on a push button presses it; from a one-line field it presses the default button.
bool pressButton(Win32Window& window) {
    HWND focus = GetFocus();
    switch (kindOf(focus)) {
        case Kind::PushButton:
            SendMessageW(focus, BM_CLICK, 0, 0);
            return true;
        case Kind::OneLineEdit:
            if (usable(window.defaultButton())) {
                SendMessageW(window.defaultButton(), BM_CLICK, 0, 0);
                return true;
            }
            return false;
        default:
            return false;
    }
}

// The arrow keys within a group of radio buttons: the next one is chosen.
bool moveInRadioGroup(Win32Window& window, WPARAM key) {
    HWND focus = GetFocus();
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

bool routeKeyDown(MSG& msg) {
    Win32Window* window = windowOf(msg.hwnd);
    if (window == nullptr) {
        return false;
    }
    if (ui::KeyListener* listener = window->keyListener()) {
        ui::KeyEvent event{static_cast<int>(msg.wParam), shiftState()};
        listener->keyDown(event);
        if (event.key == 0) {
            return true;
        }
    }
    if (msg.message == WM_KEYDOWN && moveInRadioGroup(*window, msg.wParam)) {
        return true;
    }
    if (msg.message == WM_SYSKEYDOWN && keypadKey(msg.wParam)) {
        // Not translated: Alt with keypad keys is the Braille editor's, not a character code.
        DispatchMessageW(&msg);
        return true;
    }
    return false;
}

bool routeChar(MSG& msg) {
    Win32Window* window = windowOf(msg.hwnd);
    if (window == nullptr) {
        return false;
    }
    const auto unit = static_cast<wchar_t>(msg.wParam);
    char ch = narrowChar(unit);
    if (ui::KeyListener* listener = window->keyListener()) {
        ui::KeyPress press{ch, (msg.lParam & (1L << 30)) != 0};
        listener->keyPress(press);
        if (press.ch == 0) {
            return true;
        }
        ch = press.ch;
    }
    // What is typed is what the program's text can hold.
    msg.wParam = static_cast<WPARAM>(widenChar(ch));
    const bool plain = !held(VK_CONTROL) && !held(VK_MENU);
    if (ch == '\t' && plain) {
        moveFocus(*window, held(VK_SHIFT));
        return true;
    }
    if (ch == '\r' && plain && pressButton(*window)) {
        return true;
    }
    return false;
}

bool routeKeyUp(MSG& msg) {
    Win32Window* window = windowOf(msg.hwnd);
    if (window == nullptr) {
        return false;
    }
    if (ui::KeyListener* listener = window->keyListener()) {
        ui::KeyEvent event{static_cast<int>(msg.wParam), shiftState()};
        listener->keyUp(event);
        if (event.key == 0) {
            return true;
        }
    }
    if (msg.message == WM_SYSKEYUP && keypadKey(msg.wParam)) {
        DispatchMessageW(&msg);
        return true;
    }
    return false;
}

}  // namespace

bool routeKeyMessage(MSG& msg) {
    switch (msg.message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            return routeKeyDown(msg);
        case WM_CHAR:
            return routeChar(msg);
        case WM_KEYUP:
        case WM_SYSKEYUP:
            return routeKeyUp(msg);
        default:
            return false;
    }
}

void deliverMessage(MSG& msg) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

int runMessageLoop() {
    MSG msg{};
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (!routeKeyMessage(msg)) {
            deliverMessage(msg);
        }
    }
    return static_cast<int>(msg.wParam);
}

bool runModalLoop(const std::function<bool()>& done) {
    MSG msg{};
    while (!done()) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        if (got < 0) {
            return false;
        }
        if (!routeKeyMessage(msg)) {
            deliverMessage(msg);
        }
    }
    return true;
}

void processPendingMessages() {
    MSG msg{};
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        if (!routeKeyMessage(msg)) {
            deliverMessage(msg);
        }
    }
}

}  // namespace win32gui
