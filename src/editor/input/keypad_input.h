#pragma once

// Keypad typing in the Braille editor: with NumLock on (and chord input off) every character is
// inserted on key up, and the numeric keypad types Braille digits and signs, Alt, Ctrl and
// Ctrl+Alt giving further signs.
//
// Keys in table order: numpad 0 to 9, multiply, add, subtract, decimal point, divide.
//     no modifier   j a b c d e f g h i ( + - . /
//     Alt           ) , ; : / ? + = ( * ' # _ , k
//     Ctrl          | ? = * { 3 } & % y #)jj ` 2 1 #)j
//     Ctrl+Alt      the fraction and root cells: 6 (numpad 1), n p (3, 4), 4 9 (6, 7), o (9)

#include <cstddef>
#include <string>

namespace editor {

struct Modifiers {
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
};

// The text a keypad key types with the modifiers held at its key up (0xD2 and 0xD4 of the
// tables already expanded to "#)j" and "#)jj"); empty when the key is not one of the fifteen.
std::string keypadText(int virtualKey, Modifiers held);

// The keypad state of the main window, driven by its key events while NumLock is on.
class KeypadInput {
public:
    struct KeyUp {
        enum class Action {
            None,             // nothing happens
            SpeakAndRefresh,  // a move or line key: the speech dispatch and the linear view
            Insert,           // insert `text` at the caret; the caret goes after it, then
                              // speech "key" with the editor's text up to the caret
        };
        Action action = Action::None;
        std::string text;
    };

    // A key down anywhere in the window while NumLock is on, with the modifiers held;
    // `inEditor` tells whether the Braille editor has the focus. A key that went down in the
    // editor and is still waiting for its key up is inserted now (Insert), before the new key
    // acts: with keys that overlap, as in fast typing or a Shift pressed for the next sign, no
    // character is lost and they go in in the order they were pressed. A key held down types
    // again with each repeat, as in ordinary typing.
    KeyUp keyDown(int virtualKey, Modifiers held, bool inEditor);

    // A key press while the Braille editor has the focus. Returns true when the press is
    // swallowed: every printable character, which is inserted on key up. Control characters
    // (Backspace, Enter, Tab, Ctrl+letter) go on to the editor, which keeps its own keys.
    bool keyPress(char c);

    // A key up in the Braille editor. The row of a keypad key is the one of the modifiers held
    // when the key went down, so that letting go of Ctrl or Alt a moment before the key does
    // not change the sign typed.
    KeyUp keyUp(int virtualKey);

    int lastKey() const { return lastKey_; }

private:
    // What the last key inserts; nothing when it inserts nothing. The key is done with after.
    KeyUp insertLastKey();

    int lastKey_ = 0;        // the last key pressed that is not a modifier; 0 when none
    int lastModifier_ = 0;   // the last modifier pressed (16, 17, 18), 0 after a key press
    char lastTyped_ = 0;     // the character of the current key; 0 when it gave none
    Modifiers held_;         // the modifiers held when the last key went down
    bool inEditor_ = false;  // the last key went down in the Braille editor
};

}  // namespace editor
