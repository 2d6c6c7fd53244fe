#include "editor/chord_input.h"
#include "editor/keypad_input.h"
#include "editor/typing.h"
#include "editor/virtual_keys.h"

#include <gtest/gtest.h>

namespace editor {
namespace {

// Presses `keys` as one chord at caret `caret` and lets the timer fire.
ChordCollector::Chord chord(std::string_view keys, std::size_t caret = 0) {
    ChordCollector c;
    for (char k : keys) {
        c.keyPress(k, caret);
    }
    return c.close();
}

TEST(ChordInput, DotSumsGiveTheirCells) {
    EXPECT_EQ(chord("fd").text, "b");
    EXPECT_EQ(chord("DF").text, "b");
    EXPECT_EQ(chord("fdsjkl").text, "%");
    EXPECT_EQ(chord("v").text, "l");
    EXPECT_EQ(chord("vm").text, "%");
    EXPECT_EQ(chord("VfdsM").text, "%");  // V and M cover F D S and J K L
    EXPECT_EQ(chord("ffff").text, "a");   // a key counts once however often it is pressed
    EXPECT_EQ(chord("j").text, "\"");
    EXPECT_EQ(chord("s").text, ".");
    EXPECT_EQ(chord("dsjl").text, "\xE8");  // dots 2 3 4 6
    EXPECT_EQ(chord("fk").text, "e");
}

TEST(ChordInput, SpaceAndEnterAlone) {
    const auto space = chord(" ", 4);
    EXPECT_EQ(space.text, " ");
    EXPECT_EQ(space.insertAt, 4u);
    EXPECT_EQ(space.caretAfter, 5u);
    EXPECT_EQ(chord(" f").text, "a");

    const auto enter = chord("\r", 7);
    EXPECT_EQ(enter.text, "\r\n");
    EXPECT_EQ(enter.caretAfter, 9u);  // the start of the new line
    EXPECT_EQ(chord("\rf").text, "a");
    EXPECT_EQ(chordValue(std::string(1, kChordEnter)), 65);
    EXPECT_EQ(chordValue(" "), 64);
    EXPECT_EQ(chordValue("  "), 0);
}

TEST(ChordInput, KeysThatAreNotChordKeysInsertNothing) {
    const auto none = chord("xqz");
    EXPECT_EQ(none.text, "");
    EXPECT_EQ(none.caretAfter, none.insertAt);
    EXPECT_EQ(chordText(0), "");
}

TEST(ChordInput, CollectorSwallowsChordKeysAndPassesSixCharacters) {
    ChordCollector c;
    EXPECT_FALSE(c.collecting());
    auto press = c.keyPress('f', 3);
    EXPECT_TRUE(press.swallow);
    EXPECT_TRUE(press.startTimer);
    EXPECT_TRUE(c.collecting());
    for (char passing : {'\b', '%', '&', '\'', '(', '.'}) {
        press = c.keyPress(passing, 9);
        EXPECT_FALSE(press.swallow) << passing;
        EXPECT_FALSE(press.startTimer) << passing;
    }
    c.keyPress('\r', 3);
    EXPECT_EQ(c.keys(), std::string("f") + kChordEnter);
    const auto closed = c.close();
    EXPECT_EQ(closed.text, "a");
    EXPECT_EQ(closed.insertAt, 3u);
    EXPECT_FALSE(c.collecting());
    EXPECT_TRUE(c.keys().empty());

    // A character typed through does not spoil the space chord after it.
    c.keyPress('%', 0);
    c.keyPress(' ', 1);
    EXPECT_EQ(c.close().text, " ");
}

TEST(ChordInput, EveryDotPatternHasItsCell) {
    const std::string_view order =
        "a,b.k;l\"cif|msp!e:h*o+r>djg`ntq'1?2-u(v$3960x\xE8&<5/8)z={_4w7#y}% ";
    for (int value = 1; value <= 64; ++value) {
        EXPECT_EQ(chordText(value), std::string(1, order[static_cast<std::size_t>(value - 1)]))
            << value;
    }
    EXPECT_EQ(chordText(65), "\r\n");
}

KeypadInput::KeyUp typeOnKeypad(KeypadInput& k, std::initializer_list<int> modifiersDown, int key,
                                Modifiers held, char typed = 0) {
    for (int m : modifiersDown) {
        k.keyDown(m);
    }
    k.keyDown(key);
    if (typed != 0) {
        k.keyPress(typed);
    }
    return k.keyUp(key, held);
}

TEST(KeypadInput, TheFourTables) {
    using Action = KeypadInput::KeyUp::Action;
    KeypadInput k;
    auto up = typeOnKeypad(k, {}, vk::kNumpad0 + 1, {}, '1');
    EXPECT_EQ(up.action, Action::Insert);
    EXPECT_EQ(up.text, "a");
    EXPECT_EQ(k.lastKey(), 0);
    EXPECT_EQ(typeOnKeypad(k, {vk::kAlt}, vk::kNumpad0 + 1, {.alt = true}).text, ",");
    EXPECT_EQ(typeOnKeypad(k, {vk::kControl}, vk::kNumpad0, {.ctrl = true}).text, "|");
    EXPECT_EQ(typeOnKeypad(k, {vk::kControl}, vk::kMultiply, {.ctrl = true}).text, "#)jj");
    EXPECT_EQ(typeOnKeypad(k, {vk::kControl}, vk::kDivide, {.ctrl = true}).text, "#)j");
    EXPECT_EQ(
        typeOnKeypad(k, {vk::kControl, vk::kAlt}, vk::kNumpad0 + 3, {.ctrl = true, .alt = true})
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

TEST(KeypadInput, OtherKeysTypeTheirOwnCharacter) {
    using Action = KeypadInput::KeyUp::Action;
    KeypadInput k;
    EXPECT_TRUE(k.keyPress('x'));  // swallowed: inserted on key up
    EXPECT_FALSE(k.keyPress('\b'));
    EXPECT_FALSE(k.keyPress('\r'));

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
    k.keyDown(vk::kNumpad0 + 2);
    k.keyPress('2');
    EXPECT_EQ(k.keyUp(vk::kF1 + 1, {}).action, Action::None);
    EXPECT_EQ(k.keyUp(vk::kControl, {}).action, Action::None);
    EXPECT_EQ(k.keyUp(vk::kNumpad0 + 2, {}).text, "b");
    // Nothing pending: the second key up of a key does nothing.
    EXPECT_EQ(k.keyUp(vk::kNumpad0 + 2, {}).action, Action::None);
}

TEST(KeypadInput, MoveKeysAreSpokenNotTyped) {
    using Action = KeypadInput::KeyUp::Action;
    KeypadInput k;
    for (int key : {vk::kBackspace, vk::kEnter, vk::kPageUp, vk::kHome, vk::kDown, vk::kNumLock}) {
        EXPECT_EQ(typeOnKeypad(k, {}, key, {}).action, Action::SpeakAndRefresh) << key;
    }
    // A move key pressed, another key released: nothing.
    k.keyDown(vk::kLeft);
    EXPECT_EQ(k.keyUp('A', {}).action, Action::None);
}

TEST(Typing, PlainCharactersAndSpokenTexts) {
    EXPECT_EQ(plainTypedChar('\x7F'), '_');
    EXPECT_EQ(plainTypedChar('\xA6'), '_');
    EXPECT_EQ(plainTypedChar('a'), 'a');
    EXPECT_EQ(plainTypedChar('\xE8'), '\xE8');

    const std::string text = "ab\r\ncde";
    EXPECT_EQ(lineToCaret(text, 6), "cd");
    EXPECT_EQ(lineToCaret(text, 4), "");
    EXPECT_EQ(lineToCaret(text, 2), "ab");
    EXPECT_EQ(keySpeechText(text, 5, 'x'), "cx");

    EXPECT_EQ(deletionSpeechText(text, 6, true), "cd");
    EXPECT_EQ(deletionSpeechText(text, 4, true), "ab\r\n");  // Backspace joins the lines
    EXPECT_EQ(deletionSpeechText(text, 0, true), std::nullopt);
    EXPECT_EQ(deletionSpeechText(text, 5, false), "cd");
    EXPECT_EQ(deletionSpeechText(text, 2, false), "ab\r\n");
    EXPECT_EQ(deletionSpeechText(text, 7, false), std::nullopt);
}

}  // namespace
}  // namespace editor
