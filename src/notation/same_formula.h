#pragma once

// "The same formula": when a Latex-mode text goes to Braille and back, what comes back must be
// the same formula, not necessarily the same characters. Two texts are the same formula when
// they are identical after these spellings, which keep the meaning, are made alike:
// - an argument of "^", "_", "\frac" or "\sqrt" that is one letter, digit, sign or command,
//   with or without braces (x_{i} and x_i, \frac ab and \frac{a}{b}, \sqrt x and \sqrt{x});
// - braces that group nothing but what stands in them ({d}x and dx);
// - empty subscripts and exponents (\int_{}^{2} and \int^{2});
// - blanks that TeX ignores: at both ends of the text, between a command and its argument,
//   and before the operand of a sum, product or integral;
// - the power sign "§" and "^"; the bar "|" and the absolute value "%"; "\emptyset",
//   "\varnothing" and "\{\}"; "\sum\limits" and "\sum"; the side of a one-sided limit written
//   "0^+" or "0+".
// Text regions ("\\" ... "\\") must be identical.

#include <string>
#include <string_view>

namespace notation {

// The text with every spelling above made alike: equal for two texts that are the same
// formula.
std::string formulaKey(std::string_view latex);

bool sameFormula(std::string_view a, std::string_view b);

}  // namespace notation
