#pragma once

// The one bridge between core text (Windows code page 1252 bytes in std::string) and Qt text.
// All 256 bytes round-trip: the five bytes that code page 1252 leaves undefined (0x81, 0x8D,
// 0x8F, 0x90, 0x9D) map to the control characters of the same number, as Windows does.

#include <QString>
#include <string>
#include <string_view>

namespace gui {

QString toQString(std::string_view cp1252);
std::string fromQString(const QString& text);
// Core text with its line breaks (CR, LF or CR LF) as Qt holds them: one line feed each.
QString toQLines(std::string_view cp1252);

// One CP1252 byte as a Unicode code point, and back (ui::cp1252::nearestByte: the minus sign
// U+2212 becomes '-', any other character that code page 1252 cannot hold '?').
char16_t cp1252ToUnicode(unsigned char byte);
char unicodeToCp1252(char16_t codePoint);

}  // namespace gui
