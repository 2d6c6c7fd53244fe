// Typing Braille in the main window: chords, the numeric keypad and plain typing, driven by
// key events and by the chord timer as the window receives them.

#include "editor/input/braille_input.h"

#include <gtest/gtest.h>

#include "workbench_harness.h"

namespace {

using editor::Command;
using testing_support::ProgramFolder;
using testing_support::WorkbenchWindow;
namespace vk = ui::vk;
namespace shift = ui::shift;

int keyOf(char c) {
    if (c >= 'a' && c <= 'z') {
        return c - 'a' + vk::kA;
    }
    if (c >= 'A' && c <= 'Z') {
        return c;
    }
    if (c == ' ') {
        return vk::kSpace;
    }
    if (c == '\r') {
        return vk::kReturn;
    }
    return 0xBA;
}

struct InputWindow : WorkbenchWindow {
    explicit InputWindow(const ProgramFolder& folder) : WorkbenchWindow(folder) { start(); }

    // The keys of `keys` go down together, each typing its character, then come up; the chord
    // timer has not fired yet.
    void holdChord(std::string_view keys) {
        for (char c : keys) {
            form.keyDown(keyOf(c));
            form.keyPress(c);
        }
        for (char c : keys) {
            form.keyUp(keyOf(c));
        }
    }
    // The keyboard's own repeats of a key held down.
    void repeat(char c, int times) {
        for (int i = 0; i < times; ++i) {
            form.keyDown(keyOf(c));
            form.keyPress(c, true);
        }
    }
    // A whole chord: the keys, then the timer closes it.
    void chord(std::string_view keys) {
        holdChord(keys);
        EXPECT_TRUE(timer1.fire()) << "the chord timer runs after a chord key";
    }
    // A key of the numeric keypad (numpad 0 is 96) with modifiers held from before it.
    void keypad(int key, unsigned held = 0, char typed = 0) {
        if (held & shift::kCtrl) {
            form.keyDown(vk::kControl, held);
        }
        if (held & shift::kAlt) {
            form.keyDown(vk::kMenu, held);
        }
        if (held & shift::kShift) {
            form.keyDown(vk::kShift, held);
        }
        form.pressKey(key, held, typed);
        if (held & shift::kShift) {
            form.keyUp(vk::kShift);
        }
        if (held & shift::kAlt) {
            form.keyUp(vk::kMenu);
        }
        if (held & shift::kCtrl) {
            form.keyUp(vk::kControl);
        }
    }
    const speech::Request& lastRequest() const { return speech.requests.back(); }
};

// Each chord goes in at the caret, the caret just after it.
TEST(ChordTyping, ChordsGiveTheirCells) {
    ProgramFolder folder;
    folder.complete();
    InputWindow w(folder);
    w.press(vk::kF5);
    ASSERT_TRUE(w.logic->chordInput());

    w.holdChord("fd");
    EXPECT_EQ(w.memo2.text(), "") << "chord keys are swallowed";
    EXPECT_TRUE(w.timer1.enabled());
    EXPECT_FALSE(w.edit3.visible());
    EXPECT_EQ(w.edit3.text(), "fd");
    EXPECT_TRUE(w.timer1.fire());
    EXPECT_EQ(w.memo2.text(), "b");
    EXPECT_EQ(w.memo2.selStart(), 1u);
    EXPECT_FALSE(w.timer1.enabled());
    EXPECT_EQ(w.edit3.text(), "");
    EXPECT_TRUE(w.memo2.focused());

    w.chord("fdsjkl");
    w.chord("v");
    w.chord("vm");
    w.chord("FD");  // capitals too
    EXPECT_EQ(w.memo2.text(), "b%l%b");
    w.chord(" ");
    w.chord(" f");
    EXPECT_EQ(w.memo2.text(), "b%l%b a");

    // Enter alone: a line break, the caret at the start of the new line.
    w.chord("\r");
    EXPECT_EQ(w.memo2.text(), "b%l%b a\r\n");
    EXPECT_EQ(w.memo2.selStart(), 9u);
    w.chord("k");
    EXPECT_EQ(w.memo2.text(), "b%l%b a\r\n!");

    // Keys that are not chord keys insert nothing.
    w.chord("xqz");
    EXPECT_EQ(w.memo2.text(), "b%l%b a\r\n!");
    EXPECT_EQ(w.memo2.selStart(), 10u);
    EXPECT_FALSE(w.timer1.fire()) << "the timer is off between chords";
}

TEST(ChordTyping, ChordsGoInAtTheCaretAndOverTheSelection) {
    ProgramFolder folder;
    folder.complete();
    InputWindow w(folder);
    w.press(vk::kF5);
    w.memo2.setText("#ab");
    w.memo2.setSelStart(1);
    w.chord("fd");
    EXPECT_EQ(w.memo2.text(), "#bab");
    EXPECT_EQ(w.memo2.selStart(), 2u);
    w.memo2.setSelection(2, 2);
    w.chord("\r");
    EXPECT_EQ(w.memo2.text(), "#b\r\n");
    EXPECT_EQ(w.memo2.selStart(), 4u);

    // Backspace and the five signs of the editor go through while chording.
    w.form.type("%(");
    w.form.pressKey(vk::kBack, 0, '\b');
    EXPECT_EQ(w.memo2.text(), "#b\r\n%");
    EXPECT_FALSE(w.timer1.enabled());

    // The student's clipboard survives typing.
    w.clipboard.setText("copiato");
    w.chord("f");
    EXPECT_EQ(w.clipboard.text(), "copiato");
}

TEST(ChordTyping, KeysBeforeTheTimerFiresMakeOneChord) {
    ProgramFolder folder;
    folder.complete("timer = 350\r\n");
    InputWindow w(folder);
    EXPECT_EQ(w.timer1.interval(), 350);
    w.press(vk::kF5);
    w.holdChord("f");
    ASSERT_TRUE(w.timer1.enabled());
    w.holdChord("d");  // within the interval: the same chord
    EXPECT_TRUE(w.timer1.fire());
    EXPECT_EQ(w.memo2.text(), "b");
    // After the timer, a key starts a new chord.
    w.chord("d");
    EXPECT_EQ(w.memo2.text(), "b,");
}

// A chord held past the keyboard's repeat delay: the repeats of the held keys type nothing,
// before and after the chord closes, while a held Backspace still deletes as it repeats.
TEST(ChordTyping, RepeatsOfAHeldChordTypeNothing) {
    ProgramFolder folder;
    folder.complete();
    InputWindow w(folder);
    w.press(vk::kF5);
    for (char c : {'f', 'd'}) {
        w.form.keyDown(keyOf(c));
        w.form.keyPress(c);
    }
    w.repeat('d', 3);
    EXPECT_TRUE(w.timer1.fire());
    EXPECT_EQ(w.memo2.text(), "b");
    w.repeat('d', 3);
    EXPECT_FALSE(w.timer1.enabled()) << "a repeat starts no chord";
    EXPECT_EQ(w.memo2.text(), "b");
    w.form.keyUp(keyOf('d'));
    w.form.keyUp(keyOf('f'));

    w.chord("f");
    EXPECT_EQ(w.memo2.text(), "ba");
    w.form.keyDown(vk::kBack);
    w.form.keyPress('\b');
    w.form.keyDown(vk::kBack);
    w.form.keyPress('\b', true);
    w.form.keyUp(vk::kBack);
    EXPECT_EQ(w.memo2.text(), "");
}

// Chorded cells are a run of typing like any other: one undo takes the run back, and an arrow
// key between two runs keeps the first.
TEST(ChordTyping, ChordsUndoAsARunOfTyping) {
    ProgramFolder folder;
    folder.complete();
    InputWindow w(folder);
    w.press(vk::kF5);
    w.memo2.setText("#a");
    w.memo2.setSelStart(2);
    w.chord("fd");
    w.chord(" ");
    w.chord("fk");
    EXPECT_EQ(w.memo2.text(), "#ab e");
    EXPECT_TRUE(w.item(Command::Annulladigitazione1).visible());
    w.press(vk::kLeft);
    w.chord("\r");
    w.chord("f");
    EXPECT_EQ(w.memo2.text(), "#ab \r\nae");
    w.press('Z', shift::kCtrl);
    EXPECT_EQ(w.memo2.text(), "#ab \r\ne");
    EXPECT_EQ(w.memo2.selStart(), 6u);
    EXPECT_FALSE(w.timer1.enabled()) << "Ctrl+Z is a command, not a chord";
}

TEST(ChordTyping, ChordsSpeakTheLineUpToTheCaret) {
    ProgramFolder folder;
    folder.complete();
    InputWindow w(folder);
    w.press(vk::kF5);
    w.memo2.setText("#a\r\n#");
    w.memo2.setSelStart(5);
    w.speech.requests.clear();
    w.chord("fd");
    ASSERT_EQ(w.speech.requests.size(), 1u) << "chord keys are not spoken one by one";
    EXPECT_EQ(w.lastRequest().mode, "last");
    EXPECT_EQ(w.lastRequest().text, "#b");

    w.press(vk::kF7);  // speech off
    w.speech.requests.clear();
    w.chord("fd");
    EXPECT_TRUE(w.speech.requests.empty());
}

// F5 toggles chord input with its label, caption and announcement; F6 only turns it on.
TEST(ChordTyping, TheTwoSwitches) {
    ProgramFolder folder;
    folder.complete();
    InputWindow w(folder);
    EXPECT_EQ(w.label2.caption(), "Tastiera");
    EXPECT_EQ(w.item(Command::InputDattilobraille1).caption(), "Input Dattilobraille");

    w.press(vk::kF5);
    EXPECT_EQ(w.label2.caption(), "Dattilobraille");
    EXPECT_EQ(w.item(Command::InputDattilobraille1).caption(), "Input Tastiera");
    EXPECT_EQ(w.lastRequest().text, "\\\\@attivata dattilobraille \\\\");
    EXPECT_EQ(w.lastRequest().mode, "");

    w.press(vk::kF5);
    EXPECT_FALSE(w.logic->chordInput());
    EXPECT_EQ(w.label2.caption(), "Input Tastiera");
    EXPECT_EQ(w.item(Command::InputDattilobraille1).caption(), "Input Dattilobraille");
    EXPECT_EQ(w.lastRequest().text, "\\\\@attivata tastiera \\\\");

    w.press(vk::kF6);
    EXPECT_TRUE(w.logic->chordInput());
    EXPECT_EQ(w.label2.caption(), "Dattilobraille");
    EXPECT_EQ(w.lastRequest().text, "\\\\@attivata dattilobraille \\\\")
        << "the hidden switch is heard like the other";
    w.press(vk::kF6);
    EXPECT_TRUE(w.logic->chordInput()) << "F6 only turns chord input on";

    // The mode switch writes the input label after the chord flag.
    w.press('B', shift::kCtrl);
    EXPECT_EQ(w.label2.caption(), "");
    w.press('B', shift::kCtrl);
    EXPECT_EQ(w.label2.caption(), "DattiloBraille");
}

TEST(ChordTyping, LatexEditorTypesNormallyWhileChordInputIsOn) {
    ProgramFolder folder;
    folder.complete();
    InputWindow w(folder);
    w.press(vk::kF5);
    w.press('B', shift::kCtrl);
    ASSERT_FALSE(w.logic->brailleMode());
    ASSERT_TRUE(w.logic->chordInput());
    w.form.type("fd x");
    EXPECT_EQ(w.memo1.text(), "fd x");
    EXPECT_FALSE(w.timer1.enabled());
    w.memo1.setText("x");

    // A chord pressed just before a switch to Latex mode is dropped, not typed into the hidden
    // Braille editor.
    w.press('B', shift::kCtrl);
    ASSERT_TRUE(w.logic->brailleMode());
    w.holdChord("fd");
    w.press('B', shift::kCtrl);
    const std::string braille = w.memo2.text();
    EXPECT_TRUE(w.timer1.fire());
    EXPECT_EQ(w.memo2.text(), braille);
    EXPECT_TRUE(w.memo1.focused());
}

// With NumLock on the keypad types the four tables, and every key goes in on key up.
TEST(KeypadTyping, TheTablesThroughTheWindow) {
    ProgramFolder folder;
    folder.complete();
    InputWindow w(folder);
    w.keyboard.numLock = true;
    w.clipboard.setText("copiato");

    w.keypad(vk::kNumpad0 + 1, 0, '1');
    EXPECT_EQ(w.memo2.text(), "a");
    EXPECT_EQ(w.memo2.selStart(), 1u);
    EXPECT_EQ(w.lastRequest().mode, "key");
    EXPECT_EQ(w.lastRequest().text, "a");

    struct Case {
        int key;
        unsigned held;
        const char* typed;
    };
    const Case cases[] = {
        {vk::kNumpad0 + 1, shift::kAlt, ","},
        {vk::kNumpad0, shift::kCtrl, "|"},
        {vk::kMultiply, shift::kCtrl, "#)jj"},
        {vk::kDivide, shift::kCtrl, "#)j"},
        {vk::kNumpad0 + 3, shift::kCtrl | shift::kAlt, "n"},
        {vk::kAdd, 0, "+"},
        {vk::kDecimal, shift::kAlt, ","},
    };
    std::string expected = "a";
    for (const Case& c : cases) {
        w.keypad(c.key, c.held);
        expected += c.typed;
        EXPECT_EQ(w.memo2.text(), expected) << c.key << " " << c.held;
        EXPECT_EQ(w.memo2.selStart(), expected.size());
    }
    // The whole text up to the caret is the context of the key.
    EXPECT_EQ(w.lastRequest().text, expected);
    EXPECT_EQ(w.clipboard.text(), "copiato") << "the clipboard is not the channel";

    // An ordinary letter still types its letter.
    w.form.type("x");
    EXPECT_EQ(w.memo2.text(), expected + "x");
    EXPECT_EQ(w.lastRequest().text, expected + "x");

    // Shift pressed last before the keypad key: nothing.
    w.keypad(vk::kNumpad0 + 2, shift::kShift);
    EXPECT_EQ(w.memo2.text(), expected + "x");

    // A selection stays in the text: the cell goes in where it starts.
    w.memo2.setText("#b");
    w.memo2.setSelection(1, 1);
    w.keypad(vk::kNumpad0 + 1, 0, '1');
    EXPECT_EQ(w.memo2.text(), "#ab");
    EXPECT_EQ(w.memo2.selStart(), 2u);
}

// Fast typing with NumLock on: keys overlap, and every one of them goes in, in order.
TEST(KeypadTyping, OverlappingKeysAreAllTyped) {
    ProgramFolder folder;
    folder.complete();
    InputWindow w(folder);
    w.keyboard.numLock = true;
    w.memo2.setText("\r\n");
    w.memo2.setSelStart(2);

    // "#" then "a" from the keypad, the second key down before the first is up.
    w.form.keyDown(0xBA);
    w.form.keyPress('#');
    w.form.keyDown(vk::kNumpad0 + 1);
    w.form.keyPress('1');
    w.form.keyUp(0xBA);
    w.form.keyUp(vk::kNumpad0 + 1);
    EXPECT_EQ(w.memo2.text(), "\r\n#a");
    EXPECT_EQ(w.memo2.selStart(), 4u);
    EXPECT_EQ(w.lastRequest().text, "\r\n#a");

    // Shift goes down for "?" while "b" is still held.
    w.form.keyDown('B');
    w.form.keyPress('b');
    w.form.keyDown(vk::kShift, shift::kShift);
    w.form.keyUp('B', shift::kShift);
    w.form.keyDown(0xBB, shift::kShift);
    w.form.keyPress('?');
    w.form.keyUp(vk::kShift);
    w.form.keyUp(0xBB);
    EXPECT_EQ(w.memo2.text(), "\r\n#ab?");
    EXPECT_EQ(w.memo2.selStart(), 6u);

    // Ctrl let go a moment before the keypad key.
    w.form.keyDown(vk::kControl, shift::kCtrl);
    w.form.keyDown(vk::kNumpad0, shift::kCtrl);
    w.form.keyUp(vk::kControl);
    w.form.keyUp(vk::kNumpad0);
    EXPECT_EQ(w.memo2.text(), "\r\n#ab?|");

    // Typed cells undo as one run, like ordinary typing.
    w.press('Z', shift::kCtrl);
    EXPECT_EQ(w.memo2.text(), "\r\n");
}

TEST(KeypadTyping, MoveKeysSpeakAndEnterBreaksTheLine) {
    ProgramFolder folder;
    folder.complete("velvoce = 70\r\n");
    InputWindow w(folder);
    w.keyboard.numLock = true;
    w.memo2.setText("#ab\r\n#c");
    w.memo2.setSelStart(1);
    w.speech.requests.clear();

    w.press(vk::kRight);
    ASSERT_EQ(w.speech.requests.size(), 1u);
    EXPECT_EQ(w.lastRequest().mode, "last");
    EXPECT_EQ(w.lastRequest().text, "#ab");
    w.press(vk::kDown);
    EXPECT_EQ(w.lastRequest().mode, "all");
    EXPECT_EQ(w.lastRequest().text, "#c");
    EXPECT_EQ(w.lastRequest().rate, "70");

    // Enter and Backspace are the editor's own, not swallowed.
    w.memo2.setSelStart(w.memo2.text().size());
    w.form.pressKey(vk::kReturn, 0, '\r');
    EXPECT_EQ(w.memo2.text(), "#ab\r\n#c\r\n");
    w.form.pressKey(vk::kBack, 0, '\b');
    EXPECT_EQ(w.memo2.text(), "#ab\r\n#c");
    EXPECT_EQ(w.lastRequest().mode, "canc");
}

// Plain typing speaks the key in the context of its line; deletions say the cell that goes;
// arrows say the cell or line reached.
TEST(PlainTyping, EveryKeyIsSpoken) {
    ProgramFolder folder;
    folder.complete();
    InputWindow w(folder);
    w.speech.requests.clear();
    w.form.type("#a");
    ASSERT_EQ(w.speech.requests.size(), 2u);
    EXPECT_EQ(w.speech.requests[0].mode, "key");
    EXPECT_EQ(w.speech.requests[0].text, "#");
    EXPECT_EQ(w.speech.requests[1].text, "#a");
    EXPECT_EQ(w.speech.requests[1].workingDirectory, folder.path.string());

    // Codes 127 and 166 are typed and said as "_".
    w.form.pressKey(0xBA, 0, '\x7F');
    w.form.pressKey(0xBA, 0, '\xA6');
    EXPECT_EQ(w.memo2.text(), "#a__");
    EXPECT_EQ(w.lastRequest().text, "#a__");

    // Enter: the line break in the context of its line.
    w.form.pressKey(vk::kReturn, 0, '\r');
    EXPECT_EQ(w.lastRequest().text, "#a__\r");
    w.form.type("b");
    EXPECT_EQ(w.lastRequest().text, "b");
}

TEST(PlainTyping, DeletionsSayWhatGoesBeforeItGoes) {
    ProgramFolder folder;
    folder.complete();
    InputWindow w(folder);
    w.memo2.setText("#ab\r\n?x");
    w.memo2.setSelStart(3);
    w.speech.requests.clear();

    w.form.pressKey(vk::kBack, 0, '\b');
    EXPECT_EQ(w.memo2.text(), "#a\r\n?x");
    ASSERT_EQ(w.speech.requests.size(), 1u);
    EXPECT_EQ(w.lastRequest().mode, "canc");
    EXPECT_EQ(w.lastRequest().text, "#ab");

    w.memo2.setSelStart(0);
    w.press(vk::kDelete);
    EXPECT_EQ(w.lastRequest().text, "#");
    EXPECT_EQ(w.memo2.text(), "a\r\n?x");
    // The line break deleted at the end of a line.
    w.memo2.setSelStart(1);
    w.press(vk::kDelete);
    EXPECT_EQ(w.lastRequest().text, "a\r");
    EXPECT_EQ(w.memo2.text(), "a?x");

    // Delete with nothing after the caret, or with a selection: nothing said.
    const std::size_t said = w.speech.requests.size();
    w.memo2.setSelStart(3);
    w.press(vk::kDelete);
    w.memo2.setSelection(0, 2);
    w.press(vk::kDelete);
    EXPECT_EQ(w.memo2.text(), "x");
    EXPECT_EQ(w.speech.requests.size(), said);

    // Backspace over a selection names its last cell, next to the caret.
    w.memo2.setText("#abc");
    w.memo2.setSelection(1, 2);
    w.form.pressKey(vk::kBack, 0, '\b');
    EXPECT_EQ(w.memo2.text(), "#c");
    EXPECT_EQ(w.lastRequest().text, "#ab");

    // At the start of the text Backspace removes nothing and says nothing.
    w.memo2.setSelStart(0);
    const std::size_t before = w.speech.requests.size();
    w.form.pressKey(vk::kBack, 0, '\b');
    EXPECT_EQ(w.speech.requests.size(), before);
}

TEST(PlainTyping, ArrowsSayWhereTheCaretWent) {
    ProgramFolder folder;
    folder.complete("velvoce = 80\r\n");
    InputWindow w(folder);
    w.memo2.setText("#ab\r\n\r\n?x*");
    w.memo2.setSelStart(0);
    w.speech.requests.clear();

    w.press(vk::kRight);
    ASSERT_EQ(w.speech.requests.size(), 1u);
    EXPECT_EQ(w.lastRequest().mode, "last");
    EXPECT_EQ(w.lastRequest().text, "#a");
    w.press(vk::kRight, shift::kShift);
    EXPECT_EQ(w.lastRequest().text, "#a") << "Shift+Right: through the last cell selected";
    w.press(vk::kRight, shift::kShift);
    EXPECT_EQ(w.lastRequest().text, "#ab");
    w.memo2.setSelStart(2);
    w.press(vk::kLeft);
    EXPECT_EQ(w.lastRequest().text, "#a");

    w.press(vk::kDown);
    EXPECT_EQ(w.lastRequest().mode, "all");
    EXPECT_EQ(w.lastRequest().rate, "80");
    EXPECT_EQ(w.lastRequest().text, " ") << "an empty line is a single blank";
    w.press(vk::kDown);
    EXPECT_EQ(w.lastRequest().text, "?x*");
    w.press(vk::kUp);
    w.press(vk::kUp);
    EXPECT_EQ(w.lastRequest().text, "#ab");

    // Nothing after the caret, Alt alone held, function keys: nothing said.
    const std::size_t said = w.speech.requests.size();
    w.memo2.setSelStart(w.memo2.text().size());
    w.press(vk::kRight);
    w.press(vk::kLeft, shift::kAlt);
    w.form.keyUp(vk::kF4);
    EXPECT_EQ(w.speech.requests.size(), said);

    // An empty editor says nothing.
    w.memo2.setText("");
    w.press(vk::kUp);
    EXPECT_EQ(w.speech.requests.size(), said);
}

TEST(PlainTyping, NothingIsSpokenWhileSpeechIsOff) {
    ProgramFolder folder;
    folder.complete();
    InputWindow w(folder);
    w.press(vk::kF7);
    w.speech.requests.clear();
    w.form.type("#ab");
    w.press(vk::kLeft);
    w.form.pressKey(vk::kBack, 0, '\b');
    w.press(vk::kF5);
    w.keyboard.numLock = true;
    w.press(vk::kF5);
    w.keypad(vk::kNumpad0 + 1, 0, '1');
    EXPECT_EQ(w.memo2.text(), "#ab");
    EXPECT_TRUE(w.speech.requests.empty());
}

}  // namespace
