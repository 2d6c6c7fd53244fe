#pragma once

// The lines of a multi-line text, split at its CR LF line breaks, and back; the rows of a text
// box the same way.

#include <string>
#include <string_view>
#include <vector>

#include "ui/widgets.h"

namespace learning {

inline constexpr std::string_view kLineBreak = "\r\n";

// The lines of `text`: one (empty) line for an empty text, one more after a final break.
inline std::vector<std::string> splitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(kLineBreak, start);
        lines.emplace_back(text.substr(start, end - start));
        if (end == std::string_view::npos) {
            return lines;
        }
        start = end + kLineBreak.size();
    }
}

inline std::string joinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) {
            text += kLineBreak;
        }
        text += lines[i];
    }
    return text;
}

// The rows of `box`: none when it is empty.
inline std::vector<std::string> rowsOf(const ui::TextBox& box) {
    const std::string text = box.text();
    return text.empty() ? std::vector<std::string>{} : splitLines(text);
}

inline void setRows(ui::TextBox& box, const std::vector<std::string>& rows) {
    box.setText(joinLines(rows));
}

}  // namespace learning
