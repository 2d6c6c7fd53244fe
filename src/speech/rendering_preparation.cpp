#include "speech/rendering_preparation.h"

#include <algorithm>

#include "notation/mathml_code.h"

namespace speech {
namespace {

constexpr std::string_view kUpperDigits = "abcdefghij";
constexpr std::string_view kLowerDigits = ",;:/?+=(*)";
constexpr std::string_view kDigits = "1234567890";

char asciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool isStructural(char c) {
    switch (c) {
        case '#':
        case '(':
        case '*':
        case '+':
        case '/':
        case '_':
        case 'y':
        case '|':
        case '}':
            return true;
        default:
            return false;
    }
}

// A number exponent written after a number or a closing bracket without its opening sign gets
// one, just before its number sign. The openings are gathered first and put in with one copy,
// so that a long line costs no more than a short one per cell. Returns where they went: the
// positions, in the text as it was, of the number signs they stand before, in order.
std::vector<std::size_t> insertImplicitExponentOpenings(std::string& s) {
    std::vector<std::size_t> openings;  // number signs that get an opening before them
    char older = 0;
    char newer = 0;
    std::size_t lastHash = std::string::npos;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '1') {
            if (newer == '#' && (older == '#' || older == '*' || older == '}' || older == 'y')) {
                openings.push_back(lastHash);
                // The inserted opening now stands before that number sign.
                older = '|';
            }
            continue;
        }
        if (isStructural(c)) {
            older = newer;
            newer = c;
            if (c == '#') {
                lastHash = i;
            }
        }
    }
    if (openings.empty()) {
        return openings;
    }
    std::string withOpenings;
    withOpenings.reserve(s.size() + openings.size());
    std::size_t from = 0;
    for (const std::size_t hash : openings) {
        withOpenings.append(s, from, hash - from);
        withOpenings += '|';
        from = hash;
    }
    withOpenings.append(s, from, std::string::npos);
    s = std::move(withOpenings);
    return openings;
}

// The cells (of `text` as written) that open and close its index groups: a '|' right after
// the index sign '!' and the power end paired with it.
std::vector<std::size_t> indexGroupEnds(std::string_view text) {
    std::vector<std::size_t> ends;
    if (text.find("!|") == std::string_view::npos) {
        return ends;
    }
    const std::vector<notation::MathToken> code = notation::lineCode(text);
    const notation::ExponentPairing pairing = notation::pairExponents(code);
    for (std::size_t i = 1; i < code.size(); ++i) {
        if (code[i].code == notation::MathCode::ExponentStart &&
            code[i - 1].code == notation::MathCode::IndexSign) {
            ends.push_back(code[i].offset);
            if (pairing.match[i] < code.size()) {
                ends.push_back(code[pairing.match[i]].offset);
            }
        }
    }
    return ends;
}

std::vector<std::uint8_t> markNumbers(const std::string& s) {
    std::vector<std::uint8_t> marked(s.size(), 0);
    bool on = false;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '#' && !on) {
            on = true;
        } else if (on && isLowerDigit(c)) {
            marked[i] = 1;
        } else {
            on = false;
        }
    }
    return marked;
}

}  // namespace

bool isUpperDigit(char c) {
    return c >= 'a' && c <= 'j';
}

bool isLowerDigit(char c) {
    return kLowerDigits.find(c) != std::string_view::npos;
}

char digitOf(char c) {
    std::size_t i = kUpperDigits.find(c);
    if (i == std::string_view::npos) {
        i = kLowerDigits.find(c);
    }
    return kDigits[i];
}

void applyCapitalSign(std::string& s) {
    for (std::size_t i = 1; i < s.size(); ++i) {
        if (s[i - 1] == '$') {
            s[i] = asciiUpper(s[i]);
        }
    }
}

PreparedLine prepareLine(std::string_view text) {
    PreparedLine line{std::string(text), {}, {}};
    applyCapitalSign(line.cells);
    const std::vector<std::size_t> openings = insertImplicitExponentOpenings(line.cells);
    line.marked = markNumbers(line.cells);
    line.indexGroup.assign(line.cells.size(), 0);
    for (const std::size_t end : indexGroupEnds(text)) {
        // Every opening put in before this cell moved it one place on.
        const auto before = std::upper_bound(openings.begin(), openings.end(), end);
        line.indexGroup[end + static_cast<std::size_t>(before - openings.begin())] = 1;
    }
    return line;
}

}  // namespace speech
