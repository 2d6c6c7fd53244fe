#pragma once

// Keys as the window logic sees them: Windows virtual-key codes and the modifier state, so the
// key tables of the workbench keep their numbers whatever toolkit delivers the keys.
//
// A key goes through three events, in this order: key down (every key, repeated while held),
// key press (only keys that type a character, carrying that character) and key up. The main
// window sees each event before the focused control; a handler swallows a key down or key up
// by setting `key` to 0 and a key press by setting `ch` to 0. A key press handler may also
// replace the character, which is then typed instead.

namespace ui {

// Virtual-key codes.
namespace vk {
constexpr int kBack = 8;
constexpr int kTab = 9;
constexpr int kReturn = 13;
constexpr int kShift = 16;
constexpr int kControl = 17;
constexpr int kMenu = 18;  // Alt
constexpr int kPause = 19;
constexpr int kCapital = 20;
constexpr int kEscape = 27;
constexpr int kSpace = 32;
constexpr int kPrior = 33;  // Page Up
constexpr int kNext = 34;   // Page Down
constexpr int kEnd = 35;
constexpr int kHome = 36;
constexpr int kLeft = 37;
constexpr int kUp = 38;
constexpr int kRight = 39;
constexpr int kDown = 40;
constexpr int kInsert = 45;
constexpr int kDelete = 46;
constexpr int k0 = 48;  // '0'..'9' are 48..57, 'A'..'Z' are 65..90
constexpr int kA = 65;
constexpr int kNumpad0 = 96;  // numpad 0..9 are 96..105
constexpr int kMultiply = 106;
constexpr int kAdd = 107;
constexpr int kSubtract = 109;
constexpr int kDecimal = 110;
constexpr int kDivide = 111;
constexpr int kF1 = 112;
constexpr int kF2 = 113;
constexpr int kF3 = 114;
constexpr int kF4 = 115;
constexpr int kF5 = 116;
constexpr int kF6 = 117;
constexpr int kF7 = 118;
constexpr int kF8 = 119;
constexpr int kF9 = 120;
constexpr int kF10 = 121;
constexpr int kF11 = 122;
constexpr int kF12 = 123;
constexpr int kNumLock = 144;
constexpr int kScroll = 145;

constexpr int function(int n) {
    return kF1 + n - 1;
}
constexpr bool isFunctionKey(int key) {
    return key >= kF1 && key <= kF12;
}
constexpr bool isModifier(int key) {
    return key == kShift || key == kControl || key == kMenu;
}
constexpr bool isNavigation(int key) {
    return key >= kPrior && key <= kDown;
}
constexpr bool isArrow(int key) {
    return key == kLeft || key == kRight || key == kUp || key == kDown;
}
}  // namespace vk

// Modifier state held while a key event happens.
namespace shift {
constexpr unsigned kShift = 1;
constexpr unsigned kAlt = 2;
constexpr unsigned kCtrl = 4;
}  // namespace shift

struct KeyEvent {
    int key = 0;         // virtual-key code; set to 0 to swallow
    unsigned shift = 0;  // shift::k* bits
};

struct KeyPress {
    char ch = 0;          // the typed character, code page 1252; set to 0 to swallow
    bool repeat = false;  // the keyboard's own repeat of a key held down
};

// Who receives the keys of a window before its focused control.
class KeyListener {
public:
    virtual ~KeyListener() = default;
    // A listener hears the kinds of key events it overrides; the others pass it by.
    virtual void keyDown(KeyEvent& /*event*/) {}
    virtual void keyPress(KeyPress& /*press*/) {}
    virtual void keyUp(KeyEvent& /*event*/) {}
};

// A key combination of the menu table: a virtual-key code and the modifiers that must be held
// (exactly those). Key 0 means no shortcut.
struct Shortcut {
    int key = 0;
    unsigned shift = 0;

    constexpr bool empty() const { return key == 0; }
    constexpr bool matches(int k, unsigned s) const { return key != 0 && key == k && shift == s; }
    friend constexpr bool operator==(const Shortcut&, const Shortcut&) = default;
};

}  // namespace ui
