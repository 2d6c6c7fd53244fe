#include "ui/crlf_offsets.h"

namespace ui {

std::string normalizeLineBreaks(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            out += "\r\n";
            if (i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

std::size_t snapOffset(std::string_view text, std::size_t offset) {
    if (offset > text.size()) {
        return text.size();
    }
    if (offset > 0 && offset < text.size() && text[offset - 1] == '\r' && text[offset] == '\n') {
        return offset - 1;
    }
    return offset;
}

std::size_t displayPosition(std::string_view text, std::size_t offset) {
    offset = snapOffset(text, offset);
    std::size_t position = 0;
    for (std::size_t i = 0; i < offset; ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            ++i;  // the pair is one display character
        }
        ++position;
    }
    return position;
}

std::size_t coreOffset(std::string_view text, std::size_t position) {
    std::size_t i = 0;
    for (std::size_t p = 0; p < position && i < text.size(); ++p) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            i += 2;
        } else {
            ++i;
        }
    }
    return i;
}

}  // namespace ui
