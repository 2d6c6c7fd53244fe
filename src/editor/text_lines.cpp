#include "editor/text_lines.h"

namespace editor {

std::vector<std::string_view> editorLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(text.substr(start, i - start));
            i += (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < text.size()) {
        lines.push_back(text.substr(start));
    }
    return lines;
}

std::size_t lineStartOf(std::string_view text, std::size_t caret) {
    if (caret > text.size()) {
        caret = text.size();
    }
    if (caret == 0) {
        return 0;
    }
    const std::size_t lf = text.rfind('\n', caret - 1);
    return lf == std::string_view::npos ? 0 : lf + 1;
}

std::size_t clampCaret(std::string_view text, std::size_t caret) {
    if (caret > text.size()) {
        return text.size();
    }
    if (caret > 0 && caret < text.size() && text[caret - 1] == '\r' && text[caret] == '\n') {
        return caret - 1;
    }
    return caret;
}

}  // namespace editor
