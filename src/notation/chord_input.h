#pragma once

// Chord input: six letter keys of the ordinary keyboard act as the six keys of a Braille writer
// and are pressed together to form one cell.
//
//     F D S J K L   dots 1 2 3 4 5 6 (letters in either case)
//     V             dots 1, 2 and 3 together (F, D and S are then ignored)
//     M             dots 4, 5 and 6 together (J, K and L are then ignored)
//     Space alone   a space
//     Enter alone   a line break
//
// While chord input is on a window (the main window's Braille editor, the learning windows)
// feeds every key press to a ChordCollector, starts its chord timer when the collector says so
// (a chord lasts one timer interval from its first key), and closes the chord when the timer
// fires, taking the text as typed.

#include <string>
#include <string_view>

namespace ui {
struct KeyPress;
class Timer;
}  // namespace ui

namespace notation {

// Enter is collected as this byte, so that it cannot be mistaken for a typed character.
inline constexpr char kChordEnter = '\xFE';

// The six characters that reach the editor as ordinary typing even while chording.
bool passesThroughChord(char c);

// The value of a collected chord: 65 for Enter alone, 64 for a space alone, else the sum of the
// dots of the chord keys in it (other characters ignored). Each key counts once however often
// it was pressed, Space and Enter too.
int chordValue(std::string_view keys);

// What a chord value inserts: CR LF above 64, the cell of that dot pattern for 1 to 64 (64 is a
// space), nothing for 0.
std::string chordText(int value);

class ChordCollector {
public:
    struct KeyPress {
        bool swallow = false;     // the editor does not get the character
        bool startTimer = false;  // enable the chord timer (running already: leave it running)
    };

    // A key press while chord input is on. Enter comes as '\r'. The six characters of
    // passesThroughChord() and the control characters other than Enter (Tab, Escape,
    // Ctrl+letter: keys of the editor and the window, not cells) are not collected.
    KeyPress keyPress(char c);

    // Whether a chord is being collected (the chord timer runs).
    bool collecting() const { return collecting_; }

    // The keys collected so far (Enter as kChordEnter).
    const std::string& keys() const { return keys_; }

    // The chord timer fired: the text of the chord (empty: nothing to insert), and the
    // collector is idle and empty again.
    std::string close();

private:
    std::string keys_;
    bool collecting_ = false;
};

// Gives a key typed under chord input to `chords`, which may swallow it (its character is then
// cleared); `timer`, the chord timer, starts with a chord and is not restarted while it runs:
// the chord ends one interval after its first key. A chord key held down longer than the
// keyboard's repeat delay repeats: the repeats belong to no chord and would type cells never
// chorded, so they are dropped unless they pass through. Returns whether the key went into the
// chord.
bool collectChordKey(ChordCollector& chords, ui::KeyPress& press, ui::Timer& timer);

}  // namespace notation
