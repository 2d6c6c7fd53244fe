#include "speech/backends/espeak/text_utf8.h"

#include <array>
#include <cstdint>

namespace speech {
namespace {

// Code points of 0x80..0x9F; 0 marks the undefined bytes.
constexpr std::array<std::uint16_t, 32> kHigh = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

void appendUtf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

}  // namespace

std::string cp1252ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 4);
    for (const char ch : text) {
        const auto b = static_cast<unsigned char>(ch);
        std::uint32_t cp = b;
        if (b < 0x20 && b != '\t' && b != '\n' && b != '\r') {
            cp = ' ';
        } else if (b == 0x7F) {
            cp = ' ';
        } else if (b >= 0x80 && b <= 0x9F) {
            cp = kHigh[b - 0x80] != 0 ? kHigh[b - 0x80] : ' ';
        }
        appendUtf8(out, cp);
    }
    return out;
}

}  // namespace speech
