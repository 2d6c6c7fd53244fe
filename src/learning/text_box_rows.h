#pragma once

// The rows of a multi-line text box, split at its CR LF line breaks, and back.

#include <string>
#include <vector>

#include "ui/widgets.h"

namespace learning {

inline std::vector<std::string> rowsOf(const ui::TextBox& box) {
    std::vector<std::string> rows;
    const std::string text = box.text();
    if (text.empty()) {
        return rows;
    }
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find("\r\n", start);
        rows.push_back(text.substr(start, end - start));
        if (end == std::string::npos) {
            return rows;
        }
        start = end + 2;
    }
}

inline void setRows(ui::TextBox& box, const std::vector<std::string>& rows) {
    std::string text;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        text += (i > 0 ? "\r\n" : "") + rows[i];
    }
    box.setText(text);
}

}  // namespace learning
