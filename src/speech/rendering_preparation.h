#pragma once

// The passes that prepare a line of braille cells before the spoken rendering walks it, and
// the cell classes both use.

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

bool isUpperDigit(char c);  // a-j: the digits 1-9, 0 after a number sign
bool isLowerDigit(char c);  // the cells , ; : / ? + = ( * ): the lower digits 1-9, 0
char digitOf(char c);       // '1'..'9', '0' for an upper or lower digit cell

}  // namespace speech
