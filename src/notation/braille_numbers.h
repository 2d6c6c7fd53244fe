#pragma once

// Numbers in Braille text: the number sign "#" followed by digit cells. Besides the letters a-j,
// the cells ( ) * + , / : ; = ? stand for digits after a number sign, so inside a number they
// are not brackets or operation signs.

#include <array>
#include <string_view>
#include <vector>

namespace notation {

inline constexpr char kNumberSign = '#';
inline constexpr std::string_view kDigitCells = "()*+,/:;=?";

inline constexpr std::array<bool, 256> kIsDigitCell = [] {
    std::array<bool, 256> is{};
    for (const char c : kDigitCells) {
        is[static_cast<unsigned char>(c)] = true;
    }
    return is;
}();

constexpr bool isDigitCell(char c) {
    return kIsDigitCell[static_cast<unsigned char>(c)];
}

// For each character of `text`, whether it is a digit cell of a number: a number begins at "#"
// and runs over the digit cells after it; any other character ends it, and a further "#"
// begins the next number.
std::vector<bool> numberDigits(std::string_view text);

}  // namespace notation
