#pragma once

// The bracket balance check of a formula text (possibly several lines).

#include <string_view>

namespace notation {

// 0 when the brackets balance, otherwise the number (from 1) of the first line at whose end
// the running count was not zero. Round brackets weigh 1, square 10, curly 100; only the final
// sum decides, so ")(" balances. Brackets inside text regions ("\\" ... "\\") do not count.
int bracketBalance(std::string_view text);

}  // namespace notation
