#include "editor/input/keypad_input.h"
#include "editor/input/typing.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "ui/keys.h"

namespace editor {
namespace {

namespace vk = ui::vk;

KeypadInput::KeyUp typeOnKeypad(KeypadInput& k, std::initializer_list<int> modifiersDown, int key,
                                Modifiers held, char typed = 0) {
    for (int m : modifiersDown) {
        k.keyDown(m, held, true);
    }
    k.keyDown(key, held, true);
    if (typed != 0) {
        k.keyPress(typed);
    }
    return k.keyUp(key);
}

TEST(KeypadInput, TheFourTables) {
    using Action = KeypadInput::KeyUp::Action;
    KeypadInput k;
    auto up = typeOnKeypad(k, {}, vk::kNumpad0 + 1, {}, '1');
    EXPECT_EQ(up.action, Action::Insert);
    EXPECT_EQ(up.text, "a");
    EXPECT_EQ(k.lastKey(), 0);
    EXPECT_EQ(typeOnKeypad(k, {vk::kMenu}, vk::kNumpad0 + 1, {.alt = true}).text, ",");
    EXPECT_EQ(typeOnKeypad(k, {vk::kControl}, vk::kNumpad0, {.ctrl = true}).text, "|");
    EXPECT_EQ(typeOnKeypad(k, {vk::kControl}, vk::kMultiply, {.ctrl = true}).text, "#)jj");
    EXPECT_EQ(typeOnKeypad(k, {vk::kControl}, vk::kDivide, {.ctrl = true}).text, "#)j");
    EXPECT_EQ(
        typeOnKeypad(k, {vk::kControl, vk::kMenu}, vk::kNumpad0 + 3, {.ctrl = true, .alt = true})
            .text,
        "n");

    const std::string plain = "jabcdefghi(+-./";
    const std::string alt = "),;:/?+=(*'#_,k";
    const int keys[] = {96, 97, 98, 99, 100, 101, 102, 103, 104, 105, 106, 107, 109, 110, 111};
    for (std::size_t i = 0; i < 15; ++i) {
        EXPECT_EQ(keypadText(keys[i], {}), std::string(1, plain[i])) << keys[i];
        EXPECT_EQ(keypadText(keys[i], {.alt = true}), std::string(1, alt[i])) << keys[i];
        // Any other combination of modifiers uses the first row.
        EXPECT_EQ(keypadText(keys[i], {.shift = true, .ctrl = true}), std::string(1, plain[i]));
    }
    EXPECT_EQ(keypadText(vk::kNumpad0 + 5, {.ctrl = true}), "3");
    EXPECT_EQ(keypadText(vk::kSubtract, {.ctrl = true}), "2");
    EXPECT_EQ(keypadText(vk::kNumpad0 + 9, {.ctrl = true, .alt = true}), "o");
    EXPECT_EQ(keypadText(108, {}), "");  // the separator key is not in the tables
    EXPECT_EQ(keypadText('A', {}), "");
}

// The page of keypad codes opened by F9 tells what the keys type: all sixty keys, as typed.
TEST(KeypadInput, TheKeyTablePageAgreesWithTheTables) {
    std::ifstream in(std::string(TATTILO_SOURCE_DIR) + "/data/tastnum.htm", std::ios::binary);
    const std::string page{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    ASSERT_FALSE(page.empty());
    auto keyOf = [](char c) {
        const std::string signs = "*+-./";
        const int codes[] = {vk::kMultiply, vk::kAdd, vk::kSubtract, vk::kDecimal, vk::kDivide};
        if (c >= '0' && c <= '9') {
            return vk::kNumpad0 + (c - '0');
        }
        const std::size_t i = signs.find(c);
        return i == std::string::npos ? 0 : codes[i];
    };
    auto startsWith = [](std::string& s, std::string_view prefix) {
        if (s.rfind(prefix, 0) != 0) {
            return false;
        }
        s.erase(0, prefix.size());
        return true;
    };
    int checked = 0;
    for (std::size_t pos = page.find("<tr><td>"); pos != std::string::npos;
         pos = page.find("<tr><td>", pos)) {
        pos += 8;
        const std::size_t end = page.find("</td>", pos);
        const std::size_t rowEnd = page.find("</tr>", end);
        std::string keys = page.substr(pos, end - pos);
        const std::string cell = page.substr(end, rowEnd - end);
        Modifiers held;
        held.ctrl = startsWith(keys, "Ctrl + ");
        held.alt = startsWith(keys, "Alt + ");
        std::string typed = " ";  // "spazio"
        if (const std::size_t code = cell.find("<code>"); code != std::string::npos) {
            typed = cell.substr(code + 6, cell.find("</code>") - code - 6);
            if (typed == "&amp;") {
                typed = "&";
            }
        } else {
            ASSERT_NE(cell.find("spazio"), std::string::npos) << keys;
        }
        // One key ("* (per)"), or a list of keys ("0, 2, 5").
        for (std::size_t k = 0;;) {
            const int key = keyOf(keys[k]);
            ASSERT_NE(key, 0) << keys;
            EXPECT_EQ(keypadText(key, held), typed)
                << keys << (held.ctrl ? " ctrl" : "") << (held.alt ? " alt" : "");
            ++checked;
            const std::size_t next = keys.find(", ", k);
            if (next == std::string::npos) {
                break;
            }
            k = next + 2;
        }
    }
    EXPECT_EQ(checked, 60);
}

TEST(KeypadInput, OtherKeysTypeTheirOwnCharacter) {
    using Action = KeypadInput::KeyUp::Action;
    KeypadInput k;
    EXPECT_TRUE(k.keyPress('x'));  // swallowed: inserted on key up
    EXPECT_TRUE(k.keyPress('\xE8'));
    // Control characters stay with the editor: Backspace, Enter, Tab, Ctrl+C.
    for (char c : {'\b', '\r', '\t', '\x03'}) {
        EXPECT_FALSE(k.keyPress(c)) << int(c);
    }

    auto up = typeOnKeypad(k, {}, 'A', {}, 'a');
    EXPECT_EQ(up.action, Action::Insert);
    EXPECT_EQ(up.text, "a");
    // Shift then a letter: the key press clears the modifier, the capital goes in.
    up = typeOnKeypad(k, {vk::kShift}, 'A', {.shift = true}, 'A');
    EXPECT_EQ(up.text, "A");
    // A key that gives no character does not repeat the last one.
    up = typeOnKeypad(k, {}, 20 /* Caps Lock */, {});
    EXPECT_EQ(up.action, Action::None);
    // Control characters are not inserted.
    up = typeOnKeypad(k, {}, 27 /* Esc */, {}, '\x1B');
    EXPECT_EQ(up.action, Action::None);
}

TEST(KeypadInput, KeysThatInsertNothing) {
    using Action = KeypadInput::KeyUp::Action;
    KeypadInput k;
    // Shift pressed last before a keypad key.
    EXPECT_EQ(typeOnKeypad(k, {vk::kShift}, vk::kNumpad0 + 1, {.shift = true}).action,
              Action::None);
    EXPECT_EQ(typeOnKeypad(k, {}, vk::kInsert, {}).action, Action::None);
    EXPECT_EQ(typeOnKeypad(k, {}, vk::kDelete, {}).action, Action::None);
    // Releasing a modifier or a function key does nothing, and keeps the key pending.
    k.keyDown(vk::kNumpad0 + 2, {}, true);
    k.keyPress('2');
    EXPECT_EQ(k.keyUp(vk::kF1 + 1).action, Action::None);
    EXPECT_EQ(k.keyUp(vk::kControl).action, Action::None);
    EXPECT_EQ(k.keyUp(vk::kNumpad0 + 2).text, "b");
    // Nothing pending: the second key up of a key does nothing.
    EXPECT_EQ(k.keyUp(vk::kNumpad0 + 2).action, Action::None);
}

// Keys that overlap, as in fast typing: each goes in, in the order pressed.
TEST(KeypadInput, OverlappingKeysLoseNothing) {
    using Action = KeypadInput::KeyUp::Action;
    KeypadInput k;
    EXPECT_EQ(k.keyDown(vk::kNumpad0 + 1, {}, true).action, Action::None);
    k.keyPress('1');
    auto flushed = k.keyDown(vk::kNumpad0 + 2, {}, true);
    EXPECT_EQ(flushed.action, Action::Insert);
    EXPECT_EQ(flushed.text, "a");
    k.keyPress('2');
    EXPECT_EQ(k.keyUp(vk::kNumpad0 + 1).text, "b");
    EXPECT_EQ(k.keyUp(vk::kNumpad0 + 2).action, Action::None);

    // A letter still held when Shift goes down for the next sign.
    k.keyDown('A', {}, true);
    k.keyPress('a');
    flushed = k.keyDown(vk::kShift, {.shift = true}, true);
    EXPECT_EQ(flushed.text, "a");
    k.keyDown('1', {.shift = true}, true);
    k.keyPress('!');
    EXPECT_EQ(k.keyUp('A').text, "!");
    EXPECT_EQ(k.keyUp('1').action, Action::None);

    // Two keys with the same code (the accented letters share one) are two characters; so
    // are the repeats of a key held down.
    k.keyDown(0xFF, {}, true);
    k.keyPress('\xE8');
    EXPECT_EQ(k.keyDown(0xFF, {}, true).text, "\xE8");
    k.keyPress('\xF2');
    EXPECT_EQ(k.keyUp(0xFF).text, "\xF2");
    EXPECT_EQ(k.keyUp(0xFF).action, Action::None);

    // Shift pressed last before a keypad key still cancels it when another key follows.
    k.keyDown(vk::kShift, {.shift = true}, true);
    k.keyDown(vk::kNumpad0 + 2, {.shift = true}, true);
    EXPECT_EQ(k.keyDown(vk::kNumpad0 + 3, {}, true).action, Action::None);

    // A key that went down outside the Braille editor is not typed into it.
    KeypadInput outside;
    outside.keyDown(vk::kNumpad0 + 1, {}, false);
    EXPECT_EQ(outside.keyDown(vk::kNumpad0 + 2, {}, true).action, Action::None);
}

// The row is the one of the modifiers held when the keypad key went down, whatever is let go
// first.
TEST(KeypadInput, ModifiersLetGoBeforeTheKey) {
    KeypadInput k;
    k.keyDown(vk::kControl, {.ctrl = true}, true);
    k.keyDown(vk::kNumpad0, {.ctrl = true}, true);
    EXPECT_EQ(k.keyUp(vk::kControl).action, KeypadInput::KeyUp::Action::None);
    EXPECT_EQ(k.keyUp(vk::kNumpad0).text, "|");

    k.keyDown(vk::kControl, {.ctrl = true}, true);
    k.keyDown(vk::kMenu, {.ctrl = true, .alt = true}, true);
    k.keyDown(vk::kNumpad0 + 3, {.ctrl = true, .alt = true}, true);
    k.keyUp(vk::kMenu);
    EXPECT_EQ(k.keyUp(vk::kNumpad0 + 3).text, "n");
    k.keyUp(vk::kControl);

    // Ctrl pressed after the keypad key does not change it.
    k.keyDown(vk::kNumpad0 + 1, {}, true);
    EXPECT_EQ(k.keyDown(vk::kControl, {.ctrl = true}, true).text, "a");
    EXPECT_EQ(k.keyUp(vk::kNumpad0 + 1).action, KeypadInput::KeyUp::Action::None);
}

TEST(KeypadInput, MoveKeysAreSpokenNotTyped) {
    using Action = KeypadInput::KeyUp::Action;
    KeypadInput k;
    for (int key : {vk::kBack, vk::kReturn, vk::kPrior, vk::kHome, vk::kDown, vk::kNumLock}) {
        EXPECT_EQ(typeOnKeypad(k, {}, key, {}).action, Action::SpeakAndRefresh) << key;
    }
    // A move key pressed, another key released: nothing.
    k.keyDown(vk::kLeft, {}, true);
    EXPECT_EQ(k.keyUp('A').action, Action::None);
}

TEST(Typing, PlainCharacters) {
    EXPECT_EQ(plainTypedChar('\x7F'), '_');
    EXPECT_EQ(plainTypedChar('\xA6'), '_');
    EXPECT_EQ(plainTypedChar('a'), 'a');
    EXPECT_EQ(plainTypedChar('\xE8'), '\xE8');
}

}  // namespace
}  // namespace editor
