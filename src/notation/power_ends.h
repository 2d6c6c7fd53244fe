#pragma once

// How Braille-to-LaTeX reads the power ends "1" of a text of cells. A power end closes either
// the general exponent or index group opened by a "|" before it, or a one-cell or numeric
// exponent written without one (x^n is "_x_n1"), and which it is depends on the power ends
// that follow. The views that show exponents (MathML, the linear view, speech) pair them as
// the conversion does, so that every view shows the exponents the Latex-mode text has.

#include <cstddef>
#include <string_view>
#include <vector>

namespace notation {

inline constexpr std::size_t kNoPowerEnd = static_cast<std::size_t>(-1);
inline constexpr std::size_t kShortEnd = static_cast<std::size_t>(-2);

// Per cell of `cells`: for a "|" that opens a general exponent or an index group, the cell of
// the power end that closes it; kShortEnd for a power end that closes a one-cell or numeric
// exponent; kNoPowerEnd for every other cell. Empty when Braille-to-LaTeX refuses the text
// (a formula still being typed, say): it then has no reading to follow.
std::vector<std::size_t> readPowerEnds(std::string_view cells);

}  // namespace notation
