#include "speech/rendering_preparation.h"

#include <algorithm>

#include "notation/mathml_code.h"
#include "notation/power_ends.h"

namespace speech {
namespace {

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

// Where the one-cell or numeric exponent closed by the power end at `end` begins: its number
// sign, or its letter, capital or Greek sign; npos when it is none of these.
std::size_t shortExponentStart(const std::string& s, std::size_t end) {
    if (end == 0) {
        return std::string::npos;
    }
    const std::size_t last = end - 1;
    if (last > 0 && (s[last - 1] == '_' || s[last - 1] == '$' || s[last - 1] == '>')) {
        return last - 1;  // a letter, a capital, a Greek letter
    }
    if (last > 1 && s[last] == ':' && s[last - 2] == '<') {
        return last - 2;  // a capital Greek letter
    }
    if (s[last] == '0' || s[last] == '8') {
        return last;  // infinity, aleph
    }
    std::size_t k = end;
    while (k > 0 && (isUpperDigit(s[k - 1]) || isLowerDigit(s[k - 1]) || s[k - 1] == '\'')) {
        --k;
    }
    return k > 0 && k < end && s[k - 1] == '#' ? k - 1 : std::string::npos;
}

// Where an exponent's opening is said although the cells do not write it, as positions of the
// text (before the cell they stand in front of), in order:
// - a number exponent written after a number or a closing bracket gets one, just before its
//   number sign;
// - with the conversion's reading of the power ends (`ends`, see power_ends.h), any one-cell
//   or numeric exponent inside a general exponent or index group gets one too, so that each
//   "chiusapotenza" closes the exponent last opened; and a power end that the reading takes
//   for a group's end never gets one.
std::vector<std::size_t> implicitExponentOpenings(const std::string& s,
                                                  const std::vector<std::size_t>& ends) {
    std::vector<std::size_t> openings;
    const bool read = !ends.empty();
    std::vector<std::size_t> groupEnds;  // the power ends of the groups open here
    char older = 0;
    char newer = 0;
    std::size_t lastHash = std::string::npos;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        while (!groupEnds.empty() && groupEnds.back() < i) {
            groupEnds.pop_back();
        }
        if (read && c == '|' && ends[i] < s.size()) {
            groupEnds.push_back(ends[i]);
        }
        if (c == '1') {
            const bool afterNumber =
                newer == '#' && (older == '#' || older == '*' || older == '}' || older == 'y');
            const bool shortEnd = !read || ends[i] == notation::kShortEnd;
            std::size_t at = std::string::npos;
            if (afterNumber && shortEnd) {
                at = lastHash;
                older = '|';  // the opening now stands before that number sign
            } else if (read && shortEnd && !groupEnds.empty()) {
                at = shortExponentStart(s, i);
            }
            if (at != std::string::npos && (openings.empty() || openings.back() < at)) {
                openings.push_back(at);
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
    return openings;
}

// Puts the openings in with one copy, so that a long line costs no more than a short one.
void insertOpenings(std::string& s, const std::vector<std::size_t>& openings) {
    if (openings.empty()) {
        return;
    }
    std::string withOpenings;
    withOpenings.reserve(s.size() + openings.size());
    std::size_t from = 0;
    for (const std::size_t at : openings) {
        withOpenings.append(s, from, at - from);
        withOpenings += '|';
        from = at;
    }
    withOpenings.append(s, from, std::string::npos);
    s = std::move(withOpenings);
}

// The cells (of `text` as written) that open and close its index groups: a '|' right after
// the index sign '!' and the power end paired with it, as the conversion reads them (`ends`);
// where it does not read the text, as MathML and the linear view pair them then.
std::vector<std::size_t> indexGroupEnds(std::string_view text,
                                        const std::vector<std::size_t>& ends) {
    std::vector<std::size_t> found;
    if (text.find("!|") == std::string_view::npos) {
        return found;
    }
    if (!ends.empty()) {
        for (std::size_t p = text.find("!|"); p != std::string_view::npos;
             p = text.find("!|", p + 1)) {
            if (ends[p + 1] < text.size()) {
                found.push_back(p + 1);
                found.push_back(ends[p + 1]);
            }
        }
        return found;
    }
    const std::vector<notation::MathToken> code = notation::lineCode(text);
    const notation::ExponentPairing pairing = notation::pairExponents(code);
    for (std::size_t i = 1; i < code.size(); ++i) {
        if (code[i].code == notation::MathCode::ExponentStart &&
            code[i - 1].code == notation::MathCode::IndexSign) {
            found.push_back(code[i].offset);
            if (pairing.match[i] < code.size()) {
                found.push_back(code[pairing.match[i]].offset);
            }
        }
    }
    return found;
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
    // Without a power end there is nothing to pair.
    const std::vector<std::size_t> ends = text.find('1') == std::string_view::npos
                                              ? std::vector<std::size_t>{}
                                              : notation::readPowerEnds(text);
    const std::vector<std::size_t> openings = implicitExponentOpenings(line.cells, ends);
    insertOpenings(line.cells, openings);
    line.marked = markNumbers(line.cells);
    line.indexGroup.assign(line.cells.size(), 0);
    for (const std::size_t end : indexGroupEnds(text, ends)) {
        // Every opening put in before this cell moved it one place on.
        const auto before = std::upper_bound(openings.begin(), openings.end(), end);
        line.indexGroup[end + static_cast<std::size_t>(before - openings.begin())] = 1;
    }
    return line;
}

}  // namespace speech
