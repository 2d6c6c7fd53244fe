#include "editor/typing.h"

#include "editor/text_lines.h"

namespace editor {

char plainTypedChar(char c) {
    const auto code = static_cast<unsigned char>(c);
    return (code == 127 || code == 166) ? '_' : c;
}

std::string_view lineToCaret(std::string_view text, std::size_t caret) {
    caret = clampCaret(text, caret);
    const std::size_t start = lineStartOf(text, caret);
    return text.substr(start, caret - start);
}

std::string keySpeechText(std::string_view text, std::size_t caret, char typed) {
    std::string s(lineToCaret(text, caret));
    s += typed;
    return s;
}

std::optional<std::string> deletionSpeechText(std::string_view text, std::size_t caret,
                                              bool backspace) {
    caret = clampCaret(text, caret);
    std::size_t first = caret;  // the first character removed
    std::size_t end = caret;    // just after the last one
    if (backspace) {
        if (caret == 0) {
            return std::nullopt;
        }
        first = caret - 1;
        if (text[first] == '\n' && first > 0 && text[first - 1] == '\r') {
            --first;
        }
    } else {
        if (caret >= text.size()) {
            return std::nullopt;
        }
        end = caret + 1;
        if (text[caret] == '\r' && end < text.size() && text[end] == '\n') {
            ++end;
        }
    }
    const std::size_t start = lineStartOf(text, first);
    return std::string(text.substr(start, end - start));
}

}  // namespace editor
