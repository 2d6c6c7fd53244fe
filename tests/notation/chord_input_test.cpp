#include "notation/chord_input.h"

#include <gtest/gtest.h>

#include <string>

#include "ui/keys.h"
#include "ui/memory/memory_widgets.h"

namespace notation {
namespace {

// Presses `keys` as one chord and lets the timer fire.
std::string chord(std::string_view keys) {
    ChordCollector c;
    for (char k : keys) {
        c.keyPress(k);
    }
    return c.close();
}

TEST(ChordInput, DotSumsGiveTheirCells) {
    EXPECT_EQ(chord("fd"), "b");
    EXPECT_EQ(chord("DF"), "b");
    EXPECT_EQ(chord("fdsjkl"), "%");
    EXPECT_EQ(chord("v"), "l");
    EXPECT_EQ(chord("vm"), "%");
    EXPECT_EQ(chord("VfdsM"), "%");  // V and M cover F D S and J K L
    EXPECT_EQ(chord("ffff"), "a");   // a key counts once however often it is pressed
    EXPECT_EQ(chord("j"), "\"");
    EXPECT_EQ(chord("s"), ".");
    EXPECT_EQ(chord("dsjl"), "\xE8");  // dots 2 3 4 6
    EXPECT_EQ(chord("fk"), "e");
}

TEST(ChordInput, SpaceAndEnterAlone) {
    EXPECT_EQ(chord(" "), " ");
    EXPECT_EQ(chord(" f"), "a");
    EXPECT_EQ(chord("\r"), "\r\n");
    EXPECT_EQ(chord("\rf"), "a");
    EXPECT_EQ(chordValue(std::string(1, kChordEnter)), 65);
    EXPECT_EQ(chordValue(" "), 64);
    // Pressed again, or repeating while held, within the chord: still alone.
    EXPECT_EQ(chord("  "), " ");
    EXPECT_EQ(chord("\r\r"), "\r\n");
    EXPECT_EQ(chord(" \r"), "");
    EXPECT_EQ(chord(" f "), "a");
}

TEST(ChordInput, KeysThatAreNotChordKeysInsertNothing) {
    EXPECT_EQ(chord("xqz"), "");
    EXPECT_EQ(chordText(0), "");
}

TEST(ChordInput, CollectorSwallowsChordKeysAndPassesSixCharacters) {
    ChordCollector c;
    EXPECT_FALSE(c.collecting());
    auto press = c.keyPress('f');
    EXPECT_TRUE(press.swallow);
    EXPECT_TRUE(press.startTimer);
    EXPECT_TRUE(c.collecting());
    // The six characters typed through, and the control keys of the editor (Tab leaves it).
    for (char passing : {'\b', '%', '&', '\'', '(', '.', '\t', '\x1B', '\x03'}) {
        press = c.keyPress(passing);
        EXPECT_FALSE(press.swallow) << int(passing);
        EXPECT_FALSE(press.startTimer) << int(passing);
    }
    c.keyPress('\r');
    EXPECT_EQ(c.keys(), std::string("f") + kChordEnter);
    EXPECT_EQ(c.close(), "a");
    EXPECT_FALSE(c.collecting());
    EXPECT_TRUE(c.keys().empty());

    // A character typed through does not spoil the space chord after it.
    c.keyPress('%');
    c.keyPress(' ');
    EXPECT_EQ(c.close(), " ");
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

// What a window's key press becomes under chord input: a chord key goes into the chord and
// starts the timer, a repeat of a held key is dropped, the six characters pass through.
TEST(ChordInput, AKeyPressGoesIntoTheChordOrPassesOrIsDropped) {
    struct Case {
        char ch;
        bool repeat;
        char left;       // the press's character afterwards (0: swallowed)
        bool collected;  // went into the chord, the timer running
        std::string keys;
    };
    const Case cases[] = {
        {'f', false, 0, true, "f"},
        {'f', true, 0, false, ""},
        {'(', false, '(', false, ""},
        {'\b', true, '\b', false, ""},
        {'\r', false, 0, true, {kChordEnter}},
        {'\t', false, '\t', false, ""},
    };
    for (const Case& c : cases) {
        ChordCollector chords;
        ui::memory::MemoryTimer timer(200, false);
        ui::KeyPress press{c.ch, c.repeat};
        EXPECT_EQ(collectChordKey(chords, press, timer), c.collected) << int(c.ch) << c.repeat;
        EXPECT_EQ(press.ch, c.left) << int(c.ch) << c.repeat;
        EXPECT_EQ(timer.enabled(), c.collected) << int(c.ch) << c.repeat;
        EXPECT_EQ(chords.keys(), c.keys) << int(c.ch) << c.repeat;
    }
}

}  // namespace
}  // namespace notation
