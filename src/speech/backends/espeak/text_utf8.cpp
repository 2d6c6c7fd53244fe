#include "speech/backends/espeak/text_utf8.h"

#include "ui/cp1252.h"

namespace speech {

std::string cp1252ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 4);
    for (const char ch : text) {
        const auto b = static_cast<unsigned char>(ch);
        char32_t cp = b;
        if (b < 0x20 && b != '\t' && b != '\n' && b != '\r') {
            cp = ' ';
        } else if (b == 0x7F) {
            cp = ' ';
        } else if (!ui::cp1252::assigned(b)) {
            cp = ' ';
        } else {
            cp = ui::cp1252::toUnicode(b);
        }
        ui::cp1252::appendUtf8(out, cp);
    }
    return out;
}

}  // namespace speech
