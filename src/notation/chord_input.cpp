#include "notation/chord_input.h"

#include "notation/braille_cells.h"
#include "ui/keys.h"
#include "ui/widgets.h"

namespace notation {
namespace {

constexpr char kBackspace = '\b';

char upper(char c) {
    // ASCII only: the Enter byte 0xFE must not become another letter.
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace

bool passesThroughChord(char c) {
    return c == kBackspace || c == '%' || c == '&' || c == '\'' || c == '(' || c == '.';
}

int chordValue(std::string_view keys) {
    // Space or Enter alone, however often: a key held past the repeat delay of the keyboard
    // comes again within the chord, and must not turn the chord into nothing.
    if (!keys.empty() && keys.find_first_not_of(kChordEnter) == std::string_view::npos) {
        return 65;
    }
    if (!keys.empty() && keys.find_first_not_of(' ') == std::string_view::npos) {
        return 64;
    }
    bool f = false, d = false, s = false, j = false, k = false, l = false, v = false, m = false;
    for (char c : keys) {
        switch (upper(c)) {
            case 'F':
                f = true;
                break;
            case 'D':
                d = true;
                break;
            case 'S':
                s = true;
                break;
            case 'J':
                j = true;
                break;
            case 'K':
                k = true;
                break;
            case 'L':
                l = true;
                break;
            case 'V':
                v = true;
                break;
            case 'M':
                m = true;
                break;
            default:
                break;
        }
    }
    int value = 0;
    if (v) {
        value += 1 + 2 + 4;
    } else {
        value += (f ? 1 : 0) + (d ? 2 : 0) + (s ? 4 : 0);
    }
    if (m) {
        value += 8 + 16 + 32;
    } else {
        value += (j ? 8 : 0) + (k ? 16 : 0) + (l ? 32 : 0);
    }
    return value;
}

std::string chordText(int value) {
    if (value <= 0) {
        return {};
    }
    if (value > 64) {
        return "\r\n";
    }
    return std::string(1, notation::cellForDots(value));
}

ChordCollector::KeyPress ChordCollector::keyPress(char c) {
    const auto code = static_cast<unsigned char>(c);
    if (passesThroughChord(c) || (code < 0x20 && c != '\r')) {
        // Typed into the editor as it is; kept out of the chord, so that a space or Enter chord
        // after it is still recognised.
        return {false, false};
    }
    keys_ += c == '\r' ? kChordEnter : c;
    collecting_ = true;
    return {true, true};
}

std::string ChordCollector::close() {
    std::string text = chordText(chordValue(keys_));
    keys_.clear();
    collecting_ = false;
    return text;
}

bool collectChordKey(ChordCollector& chords, ui::KeyPress& press, ui::Timer& timer) {
    if (press.repeat && !passesThroughChord(press.ch)) {
        press.ch = 0;
        return false;
    }
    const ChordCollector::KeyPress chord = chords.keyPress(press.ch);
    if (chord.swallow) {
        press.ch = 0;
    }
    if (chord.startTimer) {
        timer.setEnabled(true);
    }
    return chord.startTimer;
}

}  // namespace notation
