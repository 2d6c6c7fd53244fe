#pragma once

// The passes that prepare a line of braille cells before the spoken rendering walks it, and
// the cell classes both use.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace speech {

struct PreparedLine {
    std::string cells;                 // the line after the passes
    std::vector<std::uint8_t> marked;  // per cell: 1 for a lower digit that follows '#'
    // Per cell: 1 for the '|' that opens an index group ("!|" index "1") and for the '1' that
    // closes it, which are said as the index's ends, not as an exponent's.
    std::vector<std::uint8_t> indexGroup;
};

// The three passes, in order: the capital sign makes the cell after it a capital ("$a" reads
// as "$A"); a number exponent written after a number or a closing bracket gets its opening
// ("#b#c1" reads as "#b|#c1"), and so does every one-cell or numeric exponent inside another
// exponent or an index ("_x|_a#b1+#a1" reads as "_x|_a|#b1+#a1"); the lower digits right after
// a number sign are marked. The power ends are paired as the conversion reads them (see
// power_ends.h), as MathML and the linear view pair them too.
PreparedLine prepareLine(std::string_view text);

// The capital-sign pass alone (sign tables are compared in that form too).
void applyCapitalSign(std::string& s);

namespace detail {
// The digit each cell stands for after a number sign ('\0' for none), upper digits first.
struct DigitCells {
    std::array<char, 256> upper{};
    std::array<char, 256> lower{};
    constexpr DigitCells() {
        constexpr std::string_view kUpper = "abcdefghij";
        constexpr std::string_view kLower = ",;:/?+=(*)";
        constexpr std::string_view kDigits = "1234567890";
        for (std::size_t i = 0; i < kDigits.size(); ++i) {
            upper[static_cast<unsigned char>(kUpper[i])] = kDigits[i];
            lower[static_cast<unsigned char>(kLower[i])] = kDigits[i];
        }
    }
};
inline constexpr DigitCells kDigitCells;
}  // namespace detail

// a-j: the digits 1-9, 0 after a number sign
inline bool isUpperDigit(char c) {
    return detail::kDigitCells.upper[static_cast<unsigned char>(c)] != 0;
}
// the cells , ; : / ? + = ( * ): the lower digits 1-9, 0
inline bool isLowerDigit(char c) {
    return detail::kDigitCells.lower[static_cast<unsigned char>(c)] != 0;
}
// '1'..'9', '0' for an upper or lower digit cell
inline char digitOf(char c) {
    const char upper = detail::kDigitCells.upper[static_cast<unsigned char>(c)];
    return upper != 0 ? upper : detail::kDigitCells.lower[static_cast<unsigned char>(c)];
}

}  // namespace speech
