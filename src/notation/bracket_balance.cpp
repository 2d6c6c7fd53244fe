#include "notation/bracket_balance.h"

#include <array>

namespace notation {
namespace {

// What each character adds to the sum: round brackets count 1, square 10, braces 100.
constexpr std::array<signed char, 256> kWeights = [] {
    std::array<signed char, 256> w{};
    w['('] = 1;
    w[')'] = -1;
    w['['] = 10;
    w[']'] = -10;
    w['{'] = 100;
    w['}'] = -100;
    return w;
}();

}  // namespace

int bracketBalance(std::string_view text) {
    long long sum = 0;
    int line = 1;
    int recorded = 0;
    bool inRegion = false;
    // The text is read as if one line feed followed it, so the last line is judged too.
    const std::size_t n = text.size() + 1;
    for (std::size_t i = 0; i < n; ++i) {
        const char c = i < text.size() ? text[i] : '\n';
        if (c == '\\' && i + 1 < text.size() && text[i + 1] == '\\') {
            inRegion = !inRegion;
            ++i;  // the delimiter is one pair; "\\\\" is an empty region, not three
            continue;
        }
        if (c == '\n') {
            if (sum != 0 && recorded == 0) {
                recorded = line;
            }
            ++line;
            continue;
        }
        if (inRegion) {
            continue;
        }
        sum += kWeights[static_cast<unsigned char>(c)];
    }
    return sum == 0 ? 0 : recorded;
}

}  // namespace notation
