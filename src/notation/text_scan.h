#pragma once

// Small bounded helpers over page text shared by the conversions. Positions are byte offsets;
// every helper checks its bounds, so any text may be passed.

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

#include "ui/text_trim.h"

namespace notation {

// Whether `text` holds `what` at `pos` (false when it would run past the end).
inline bool at(std::string_view text, std::size_t pos, std::string_view what) {
    if (pos > text.size() || text.size() - pos < what.size()) {
        return false;
    }
    // Compared here rather than by a call: `what` is a few characters, most often a literal
    // that the loop unrolls over, and most calls fail at the first character.
    for (std::size_t k = 0; k < what.size(); ++k) {
        if (text[pos + k] != what[k]) {
            return false;
        }
    }
    return true;
}

// The character at `pos`, or '\0' past the end.
inline char charAt(std::string_view text, std::size_t pos) {
    return pos < text.size() ? text[pos] : '\0';
}

inline bool isAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
inline bool isLowerLetter(char c) {
    return c >= 'a' && c <= 'z';
}
inline bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Whether `text` ends in a command word: a backslash and one or more letters ("\\le", but not
// "ab" or "\\to ").
inline bool endsInCommandWord(std::string_view text) {
    std::size_t k = text.size();
    while (k > 0 && isAsciiLetter(text[k - 1])) {
        --k;
    }
    return k < text.size() && k > 0 && text[k - 1] == '\\';
}

// Whether `keyword` stands at `pos` as TeX reads command words: a keyword that ends in a
// command word only where no letter follows it, so "\\ne" is not the start of "\\neq".
inline bool commandAt(std::string_view text, std::size_t pos, std::string_view keyword) {
    return at(text, pos, keyword) &&
           (!isAsciiLetter(charAt(text, pos + keyword.size())) || !endsInCommandWord(keyword));
}

// `text` without the blanks (' ') at both ends.
using ui::trimBlanks;

// Replaces every occurrence of `from` (not empty) by `to`, left to right, without rescanning
// what was put in.
std::string replaceAll(std::string_view text, std::string_view from, std::string_view to);

// One substitution of `replaceEach`; `from` is not empty.
struct Substitution {
    std::string_view from;
    std::string_view to;
};

// `text` with each place where a substitution's `from` stands replaced by its `to`, the first
// of `table` that stands there winning, left to right, without rescanning what was put in.
std::string replaceEach(std::string_view text, std::initializer_list<Substitution> table);

// The position of the brace that closes the group opened at `open` (which holds '{'), counting
// nested braces and passing over the escaped "\{" and "\}"; a backslash pair "\\" (a text
// region's delimiter) escapes nothing. npos when the group never closes.
std::size_t closingBrace(std::string_view text, std::size_t open);

// The end of the command word that starts at `pos` (a backslash): past the letters after it,
// or past the one character after it when that is not a letter.
std::size_t commandEnd(std::string_view text, std::size_t pos);

}  // namespace notation
