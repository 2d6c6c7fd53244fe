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
// The window feeds every key press to a ChordCollector while chord input is on, starts its chord
// timer when the collector says so, and closes the chord when the timer fires.

#include <cstddef>
#include <string>
#include <string_view>

namespace editor {

// Texts of the chord input switch ("Input Dattilobraille", F5, and the hidden "DattiloBraille",
// F6): the input label, the item's caption and what is spoken, after turning chord input on or
// off. The speech texts go with an empty mode word.
struct ChordSwitchTexts {
    std::string_view label;
    std::string_view item;
    std::string_view spoken;
};
inline constexpr ChordSwitchTexts kChordOn = {"Dattilobraille", "Input Tastiera",
                                              "\\\\@attivata dattilobraille \\\\"};
inline constexpr ChordSwitchTexts kChordOff = {"Input Tastiera", "Input Dattilobraille",
                                               "\\\\@attivata tastiera \\\\"};

// Enter is collected as this byte, so that it cannot be mistaken for a typed character.
inline constexpr char kChordEnter = '\xFE';

// The six characters that reach the editor as ordinary typing even while chording.
bool passesThroughChord(char c);

// The value of a collected chord: 65 for Enter alone, 64 for a space alone, else the sum of the
// dots of the chord keys in it (each key once, however often pressed; other characters ignored).
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

    // A key press while chord input is on; `editorCaret` is the Braille editor's caret now.
    // Enter comes as '\r'.
    KeyPress keyPress(char c, std::size_t editorCaret);

    // Whether a chord is being collected (the chord timer runs).
    bool collecting() const { return collecting_; }

    // The keys collected so far (Enter as kChordEnter).
    const std::string& keys() const { return keys_; }

    struct Chord {
        std::string text;            // to insert at `insertAt`; empty: nothing to insert
        std::size_t insertAt = 0;    // the caret of the chord's last key press
        std::size_t caretAfter = 0;  // just after what was inserted
    };

    // The chord timer fired: the chord's text, and the collector is idle and empty again. The
    // window inserts the text directly (the clipboard is left alone), disables the timer, sets
    // the caret and, with speech on, sends "last" with the caret's line up to the caret.
    Chord close();

private:
    std::string keys_;
    std::size_t caret_ = 0;
    bool collecting_ = false;
};

}  // namespace editor
