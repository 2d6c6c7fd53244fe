#pragma once

// The ASCII braille cells: each six-dot cell is stored as one code page 1252 character, and the
// Braille font draws that character as its dots. Dot 1 = 1, dot 2 = 2, dot 3 = 4, dot 4 = 8,
// dot 5 = 16, dot 6 = 32; the sum of a cell's dots indexes the order below. Index 64, the space
// key of chord input, is a blank like the empty cell.

#include <string_view>

namespace notation {

inline constexpr std::string_view kCellOrder =
    " a,b.k;l\"cif|msp!e:h*o+r>djg`ntq'1?2-u(v$3960x\xE8&<5/8)z={_4w7#y}% ";

static_assert(kCellOrder.size() == 65);

// The character of a dot pattern 0..64; anything outside that range is a blank.
constexpr char cellForDots(int dots) {
    if (dots < 0 || dots > 64) {
        return ' ';
    }
    return kCellOrder[static_cast<std::size_t>(dots)];
}

// The dot pattern 1..63 of a cell character, 0 for a blank, -1 for a character that is not a
// cell.
constexpr int dotsOfCell(char c) {
    if (c == ' ') {
        return 0;
    }
    for (int dots = 1; dots < 64; ++dots) {
        if (kCellOrder[static_cast<std::size_t>(dots)] == c) {
            return dots;
        }
    }
    return -1;
}

}  // namespace notation
