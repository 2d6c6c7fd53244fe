#include "editor/text_lines.h"

#include <algorithm>

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

std::size_t lineNumberOf(std::string_view text, std::size_t caret) {
    const std::string_view before = text.substr(0, std::min(caret, text.size()));
    return static_cast<std::size_t>(std::count(before.begin(), before.end(), '\n'));
}

std::size_t caretOnLine(std::string_view text, std::size_t line, std::size_t kept) {
    std::size_t start = 0;
    for (std::size_t n = 0; n < line; ++n) {
        const std::size_t lf = text.find('\n', start);
        if (lf == std::string_view::npos) {
            break;
        }
        start = lf + 1;
    }
    std::size_t end = text.find('\n', start);
    end = end == std::string_view::npos ? text.size() : end;
    if (end > start && text[end - 1] == '\r') {
        --end;
    }
    return kept >= start && kept <= end ? kept : start;
}

}  // namespace editor
