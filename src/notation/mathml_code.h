#pragma once

// The internal code of the MathML conversion: one formula of Braille-mode cells read into
// signs, each the unit the conversion (and the linear view) works with. Numbers with their
// number sign, letters with their letter or capital sign, Greek letters, the signs of the
// symbol table and the construct cells of fractions, roots, powers and indices each become
// one code; a cell with no meaning of its own becomes an `Other` code holding it.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace notation {

enum class MathCode {
    Number,           // `text`: digits "0".."9"; `opensNumber` when it follows a number sign
    Comma,            // ","
    Point,            // "."
    Periodic,         // "'" inside a number: the digits after it repeat
    NumericFraction,  // `text`: numerator digits, `denominator`: denominator digits
    Letter,           // `text`: the letter, capital for a capital sign
    Greek,            // `text`: its entity, "&alpha;"
    Symbol,           // `text`: an entity for an operator element, or a whole element
    BigOperator,      // `text`: the entity of a sum, product or integral (takes limits)
    Function,         // `text`: "log", "ln", "lg", "lim" or "det"
    Operator,         // `text`: the operator as XML text
    Open,             // `text`: "(", "[" or "{"
    Close,            // `text`: ")", "]" or "}"
    FractionStart,    // "6"
    FractionMiddle,   // "np"
    FractionEnd,      // "4"
    RootStart,        // "9"
    RootEnd,          // "o"
    Colon,            // ":" ends a root index, an overline, a logarithm base, upper limits
    ExponentStart,    // "|"
    ExponentEnd,      // "1"
    PowerSign,        // "<": the next sign is an exponent
    IndexSign,        // "!": the next sign is an index
    Overline,         // the overline cell, up to its ":"
    Blank,            // one or more blanks
    Other,            // `text`: the cells as XML text, written as they are
    TextRegion,       // `text`: the words of a text region (only from lineCode)
};

struct MathToken {
    MathCode code = MathCode::Other;
    std::string text;
    std::string denominator;
    bool opensNumber = false;
    std::size_t offset = 0;  // first cell in the formula
    std::size_t length = 0;  // number of cells read
};

// The internal code of one formula (Braille-mode cells, no text regions, no line breaks).
std::vector<MathToken> mathCode(std::string_view cells);

// The internal code of one whole line of a page: its formulas as mathCode reads them and each
// text region ("\\" words "\\", or to the end of the line when it is not closed) as one
// `TextRegion` code. Offsets count from the start of the line.
std::vector<MathToken> lineCode(std::string_view line);

// Which power end closes which exponent. A general exponent ("|" ... "1") is closed by the
// power end `match[start]` (npos when none closes it); a power end not matched by a "|" closes
// a short exponent (`shortEnd`): the number or the one sign just before it. A power end is
// taken for the short kind only when the general exponents still open could not otherwise
// take all the power ends that follow.
struct ExponentPairing {
    std::vector<std::size_t> match;
    std::vector<bool> shortEnd;
};
ExponentPairing pairExponents(const std::vector<MathToken>& code);

// The pairing Braille-to-LaTeX reads in `cells`, the cells `code` was read from (offsets from
// their start), so that every view shows the exponents the conversion does; where it does not
// read them (a formula still being typed), the pairing above.
ExponentPairing pairExponents(const std::vector<MathToken>& code, std::string_view cells);

}  // namespace notation
