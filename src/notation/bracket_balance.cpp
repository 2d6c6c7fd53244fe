#include "notation/bracket_balance.h"

namespace notation {

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
        switch (c) {
            case '(':
                sum += 1;
                break;
            case ')':
                sum -= 1;
                break;
            case '[':
                sum += 10;
                break;
            case ']':
                sum -= 10;
                break;
            case '{':
                sum += 100;
                break;
            case '}':
                sum -= 100;
                break;
            default:
                break;
        }
    }
    return sum == 0 ? 0 : recorded;
}

}  // namespace notation
