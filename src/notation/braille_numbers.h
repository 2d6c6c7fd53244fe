#pragma once

// Numbers in Braille text: the number sign "#" followed by digit cells. Besides the letters a-j,
// the cells ( ) * + , / : ; = ? stand for digits after a number sign, so inside a number they
// are not brackets or operation signs.

#include <string_view>
#include <vector>

namespace notation {

inline constexpr char kNumberSign = '#';
inline constexpr std::string_view kDigitCells = "()*+,/:;=?";

constexpr bool isDigitCell(char c) {
    return kDigitCells.find(c) != std::string_view::npos;
}

// For each character of `text`, whether it is a digit cell of a number: a number begins at "#"
// and runs over the digit cells after it; any other character ends it, and a further "#"
// begins the next number.
std::vector<bool> numberDigits(std::string_view text);

}  // namespace notation
