#include "editor/input/keypad_input.h"

#include <array>
#include <string_view>

#include "ui/keys.h"

namespace editor {
namespace {

namespace vk = ui::vk;

constexpr std::array<std::string_view, 4> kRows = {
    "jabcdefghi(+-./",        // no modifier
    "),;:/?+=(*'#_,k",        // Alt
    "|?=*{3}&%y\xD4`21\xD2",  // Ctrl
    " 6 np 49 o     ",        // Ctrl+Alt
};
static_assert(kRows[0].size() == 15 && kRows[1].size() == 15 && kRows[2].size() == 15 &&
              kRows[3].size() == 15);

// The column of a keypad key, -1 for any other key.
int keypadColumn(int virtualKey) {
    if (virtualKey >= vk::kNumpad0 && virtualKey <= vk::kAdd) {
        return virtualKey - vk::kNumpad0;  // numpad 0-9, multiply, add
    }
    if (virtualKey >= vk::kSubtract && virtualKey <= vk::kDivide) {
        return virtualKey - vk::kSubtract + 12;  // subtract, decimal point, divide
    }
    return -1;
}

std::size_t rowOf(Modifiers held) {
    if (held.alt && !held.ctrl && !held.shift) {
        return 1;
    }
    if (held.ctrl && !held.alt && !held.shift) {
        return 2;
    }
    if (held.ctrl && held.alt && !held.shift) {
        return 3;
    }
    return 0;
}

std::string expand(char c) {
    if (c == '\xD2') {
        return "#)j";
    }
    if (c == '\xD4') {
        return "#)jj";
    }
    return std::string(1, c);
}

// Keys that move or break lines rather than type.
bool isMoveKey(int key) {
    return key == vk::kBack || key == vk::kReturn || vk::isNavigation(key) || key == vk::kNumLock;
}

// Control characters are not text: the editor keeps its own keys for them (Backspace, Enter,
// Tab to leave the editor, Ctrl+letter commands).
bool isControl(char c) {
    const auto code = static_cast<unsigned char>(c);
    return code < 0x20 || code == 0x7F;
}

}  // namespace

std::string keypadText(int virtualKey, Modifiers held) {
    const int column = keypadColumn(virtualKey);
    if (column < 0) {
        return {};
    }
    return expand(kRows[rowOf(held)][static_cast<std::size_t>(column)]);
}

KeypadInput::KeyUp KeypadInput::keyDown(int virtualKey, Modifiers held, bool inEditor) {
    KeyUp flushed;
    if (inEditor_ && inEditor) {
        // Another key before the key up of the last one, or the same key repeating while held
        // (keys without a code of their own, such as the accented letters, share one, so a
        // repeat cannot be told from the next key: both type, as ordinary typing does).
        flushed = insertLastKey();
    }
    if (vk::isModifier(virtualKey)) {
        lastModifier_ = virtualKey;
        lastKey_ = 0;
        return flushed;
    }
    held_ = held;
    lastKey_ = virtualKey;
    inEditor_ = inEditor;
    // A key that gives no character (Caps Lock, Escape...) must not type the previous one again.
    lastTyped_ = 0;
    return flushed;
}

bool KeypadInput::keyPress(char c) {
    lastTyped_ = c;
    lastModifier_ = 0;
    return !isControl(c);
}

KeypadInput::KeyUp KeypadInput::keyUp(int virtualKey) {
    KeyUp up;
    if (vk::isFunctionKey(virtualKey) || vk::isModifier(virtualKey)) {
        return up;
    }
    if (lastKey_ == 0 || lastKey_ == vk::kInsert || lastKey_ == vk::kDelete ||
        lastModifier_ == vk::kShift) {
        return up;
    }
    if (isMoveKey(lastKey_)) {
        if (isMoveKey(virtualKey)) {
            up.action = KeyUp::Action::SpeakAndRefresh;
        }
        return up;
    }
    return insertLastKey();
}

KeypadInput::KeyUp KeypadInput::insertLastKey() {
    KeyUp up;
    if (lastKey_ == 0 || lastKey_ == vk::kInsert || lastKey_ == vk::kDelete ||
        lastModifier_ == vk::kShift || isMoveKey(lastKey_)) {
        return up;
    }
    std::string text = keypadText(lastKey_, held_);
    if (text.empty()) {
        // Any other key types its own character.
        if (isControl(lastTyped_)) {
            return up;
        }
        text.assign(1, lastTyped_);
    }
    lastKey_ = 0;
    up.action = KeyUp::Action::Insert;
    up.text = std::move(text);
    return up;
}

}  // namespace editor
