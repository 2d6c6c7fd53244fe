#include "win32gui/message_loop.h"

#include "ui/keys.h"
#include "win32gui/dialog_keys.h"
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

// A key going down (WM_KEYDOWN, WM_SYSKEYDOWN) or up: the window's logic first, then the
// dialog keys.
bool routeKey(MSG& msg) {
    Win32Window* window = windowOf(msg.hwnd);
    if (window == nullptr) {
        return false;
    }
    const bool down = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN;
    if (ui::KeyListener* listener = window->keyListener()) {
        ui::KeyEvent event{static_cast<int>(msg.wParam), shiftState()};
        if (down) {
            listener->keyDown(event);
        } else {
            listener->keyUp(event);
        }
        if (event.key == 0) {
            return true;
        }
    }
    if (down ? dialogKeyDown(*window, msg) : dialogKeyUp(*window, msg)) {
        return true;
    }
    if ((msg.message == WM_SYSKEYDOWN || msg.message == WM_SYSKEYUP) && keypadKey(msg.wParam)) {
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
    return dialogChar(*window, ch);
}

}  // namespace

bool routeKeyMessage(MSG& msg) {
    switch (msg.message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
        case WM_KEYUP:
        case WM_SYSKEYUP:
            return routeKey(msg);
        case WM_CHAR:
            return routeChar(msg);
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
