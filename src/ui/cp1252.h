#pragma once

// Windows code page 1252, the encoding of every text of the program, and its way to and from
// Unicode and UTF-8 (the encoding of the terminal, of Linux file names and of the speech
// library). The five bytes the code page leaves unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand
// for the C1 controls of the same value, so that every byte goes there and back.

#include <optional>
#include <string>
#include <string_view>

namespace ui::cp1252 {

// The Unicode code point of a byte.
char32_t toUnicode(unsigned char byte);

// False for the five bytes the code page leaves unassigned.
bool assigned(unsigned char byte);

// The byte of a code point; none when the code page has no such character.
std::optional<unsigned char> fromUnicode(char32_t codePoint);

// The byte a code point is written as when text typed or pasted into a window becomes code
// page 1252: its own byte; for the minus sign U+2212, which the code page lacks, the minus
// '-' (as Windows writes it too); for any other character the code page lacks, '?'.
unsigned char nearestByte(char32_t codePoint);

// Appends a code point below 0x110000 in UTF-8.
void appendUtf8(std::string& out, char32_t codePoint);

// A code page 1252 text in UTF-8, byte by byte.
std::string toUtf8(std::string_view text);

// A UTF-8 text in code page 1252; none when it is not well-formed UTF-8 or holds a character
// the code page lacks.
std::optional<std::string> fromUtf8(std::string_view text);

// Whether `bytes` is well-formed UTF-8 (no overlong forms, no surrogates).
bool isUtf8(std::string_view bytes);

}  // namespace ui::cp1252
