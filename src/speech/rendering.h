#pragma once

// Spoken rendering: turns one line of ASCII braille cells into the Italian words that the
// speech engine reads. The rendering walks the line cell by cell, recognises multi-cell signs
// (Greek letters, set and logic signs, functions, numbers, fractions, roots, brackets, text
// regions), keeps counts of what was opened and closed, and produces one token per sign.
// Tokens are joined without separators: the blanks inside the words separate them. Where the
// tokens begin and end is kept beside the words, for the engines (see spoken_text.h).
//
// Everything here is pure: no engine, no state kept between calls.

#include <string>
#include <string_view>
#include <vector>

#include "speech/spoken_text.h"

namespace speech {

// The mode words of a speech request.
inline constexpr std::string_view kModeKey = "key";
inline constexpr std::string_view kModeLast = "last";
inline constexpr std::string_view kModeAll = "all";
inline constexpr std::string_view kModeCanc = "canc";
inline constexpr std::string_view kModeError = "error";

// Opened minus closed, for each construct that has an opening and a closing cell.
struct Balance {
    int fractions = 0;     // '6' opens, '4' closes
    int numerators = 0;    // '6' opens, 'n' closes
    int denominators = 0;  // 'p' opens, '4' closes
    int roots = 0;         // '9' opens, 'o' closes
    int braces = 0;        // '&' opens, 'y' closes
    int squares = 0;       // '{' opens, '}' closes
    int rounds = 0;        // '?' opens, '*' closes, when read as round brackets
    int exponents = 0;     // '|' opens, '1' closes (see rendering.cpp for implicit exponents)
    int indices = 0;       // "!|" opens an index group, its '1' closes it

    friend bool operator==(const Balance&, const Balance&) = default;
};

struct Rendering {
    std::string whole;      // every token, joined
    std::string lastToken;  // the token of the last step (empty when that cell says nothing)
    Balance balance;
    bool inTextRegion = false;  // the line ends inside a text region or after a level marker
    // What the mode speaks: "all" the whole rendering plus at most one diagnostic (empty when
    // the rendering is empty); "key" the last token plus every diagnostic of a closing without
    // its opening; any other mode the last token. Empty means nothing to say.
    std::string spoken;
    // The tokens of `spoken`, each with how it is to be said. The digits of one number are
    // one token; a capital letter of a typed key is the letter and then " maiuscola".
    std::vector<SpokenToken> spokenTokens;
};

// Renders `text` (code page 1252 cells) for the mode word `mode` ("all", "key", "last",
// "canc", empty, or any other word, which reads like "last"). Never fails; any byte sequence
// is accepted.
Rendering render(std::string_view mode, std::string_view text);

}  // namespace speech
