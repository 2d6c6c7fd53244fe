#include "win32gui/dialog_keys.h"

#include <vector>

#include "ui/access_keys.h"

namespace win32gui {
namespace {

bool usable(HWND hwnd) {
    return hwnd != nullptr && IsWindowVisible(hwnd) && IsWindowEnabled(hwnd);
}

bool takesFocus(HWND hwnd) {
    return usable(hwnd) && (GetWindowLongW(hwnd, GWL_STYLE) & WS_TABSTOP) != 0;
}

// An open drop-down list keeps Esc for itself.
bool listDroppedDown(HWND focus) {
    for (HWND h = focus; h != nullptr; h = GetParent(h)) {
        wchar_t name[32] = {};
        GetClassNameW(h, name, 32);
        if (lstrcmpiW(name, L"ComboBox") == 0) {
            return SendMessageW(h, CB_GETDROPPEDSTATE, 0, 0) != 0;
        }
    }
    return false;
}

}  // namespace

DialogKeys::DialogKeys(Win32Window& window, ControlSet& controls,
                       std::span<const ui::ControlSpec> table)
    : window_(window), controls_(controls), table_(table) {}

void DialogKeys::keyDown(ui::KeyEvent& event) {
    if (event.key == ui::vk::kEscape && event.shift == 0) {
        if (listDroppedDown(GetFocus())) {
            return;
        }
        event.key = 0;
        window_.close();
        return;
    }
    if (event.key == ui::vk::kMenu) {
        altUsed_ = false;
        return;
    }
    if (const char letter = ui::altLetter(event); letter != 0 && accessKey(letter)) {
        altUsed_ = true;
        event.key = 0;
    }
}

void DialogKeys::keyUp(ui::KeyEvent& event) {
    if (event.key == ui::vk::kMenu && altUsed_) {
        altUsed_ = false;
        event.key = 0;
    }
}

void DialogKeys::keyPress(ui::KeyPress& press) {
    if (press.ch == '\x1B') {
        press.ch = 0;
    }
}

// The control the access key of entry `index` works: the entry's own, or for a label the next
// one in tab order that takes the focus.
HWND DialogKeys::target(std::size_t index) {
    if (table_[index].kind != ui::ControlKind::Label) {
        HWND own = controls_.handle(table_[index].name);
        return usable(own) ? own : nullptr;
    }
    for (std::size_t j = index + 1; j < table_.size(); ++j) {
        HWND next = controls_.handle(table_[j].name);
        if (takesFocus(next)) {
            return next;
        }
    }
    return nullptr;
}

bool DialogKeys::accessKey(char letter) {
    std::vector<std::size_t> found;
    for (std::size_t i = 0; i < table_.size(); ++i) {
        if (ui::markedAccessKey(table_[i].caption) == letter && target(i) != nullptr) {
            found.push_back(i);
        }
    }
    if (found.empty()) {
        return false;
    }
    if (found.size() > 1) {
        // The next one after the control that has the focus.
        HWND focus = GetFocus();
        std::size_t next = 0;
        for (std::size_t k = 0; k < found.size(); ++k) {
            if (target(found[k]) == focus) {
                next = (k + 1) % found.size();
                break;
            }
        }
        window_.focusChild(target(found[next]));
        return true;
    }
    const ui::ControlSpec& item = table_[found.front()];
    HWND hwnd = target(found.front());
    switch (item.kind) {
        case ui::ControlKind::Button:
        case ui::ControlKind::CheckBox:
        case ui::ControlKind::RadioButton:
            window_.focusChild(hwnd);
            SendMessageW(hwnd, BM_CLICK, 0, 0);
            break;
        default:
            window_.focusChild(hwnd);
            if (SendMessageW(hwnd, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) {
                SendMessageW(hwnd, EM_SETSEL, 0, -1);
            }
            break;
    }
    return true;
}

}  // namespace win32gui
