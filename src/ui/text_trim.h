#pragma once

// Trimming, the one way for the whole program: which characters go depends on the text (a
// notation page keeps its tabs and line breaks; a settings value loses every control
// character), so each caller names its set.

#include <string_view>

namespace ui {

// `text` without the characters of `chars` at both ends (empty when nothing else is there).
inline std::string_view trimAny(std::string_view text, std::string_view chars) {
    const std::size_t first = text.find_first_not_of(chars);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(chars) - first + 1);
}

// `text` without blanks (' ') at both ends.
inline std::string_view trimBlanks(std::string_view text) {
    // The one character looked for as a character: the set form would search the set at each.
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// `text` without blanks and control characters (bytes up to 0x20) at both ends.
inline std::string_view trimControls(std::string_view text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && static_cast<unsigned char>(text[first]) <= 0x20) {
        ++first;
    }
    while (last > first && static_cast<unsigned char>(text[last - 1]) <= 0x20) {
        --last;
    }
    return text.substr(first, last - first);
}

}  // namespace ui
