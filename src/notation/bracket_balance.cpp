#include "notation/bracket_balance.h"

#include <array>

namespace notation {
namespace {

// What each character adds to the sum: round brackets count 1, square 10, braces 100. The
// backslash and the line feed are looked at on their own (kOwn); everything else adds nothing.
constexpr int kOwn = 1000;
constexpr std::array<short, 256> kWeights = [] {
    std::array<short, 256> w{};
    w['('] = 1;
    w[')'] = -1;
    w['['] = 10;
    w[']'] = -10;
    w['{'] = 100;
    w['}'] = -100;
    w['\\'] = kOwn;
    w['\n'] = kOwn;
    return w;
}();

}  // namespace

int bracketBalance(std::string_view text) {
    long long sum = 0;
    int line = 1;
    int recorded = 0;
    bool inRegion = false;
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n) {
        // The run of characters up to the next backslash or line feed.
        int weight = 0;
        if (inRegion) {
            while (i < n && (weight = kWeights[static_cast<unsigned char>(text[i])]) != kOwn) {
                ++i;
            }
        } else {
            while (i < n && (weight = kWeights[static_cast<unsigned char>(text[i])]) != kOwn) {
                sum += weight;
                ++i;
            }
        }
        if (i == n) {
            break;
        }
        if (text[i] == '\\') {
            if (i + 1 < n && text[i + 1] == '\\') {
                inRegion = !inRegion;
                ++i;  // the delimiter is one pair; "\\\\" is an empty region, not three
            }
        } else {
            if (sum != 0 && recorded == 0) {
                recorded = line;
            }
            ++line;
        }
        ++i;
    }
    // The text is read as if one line feed followed it, so the last line is judged too.
    if (sum != 0 && recorded == 0) {
        recorded = line;
    }
    return sum == 0 ? 0 : recorded;
}

}  // namespace notation
