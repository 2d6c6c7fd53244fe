#pragma once

// Text between the program and the wide-character Win32 API. The program's texts are code page
// 1252 bytes; a window holds UTF-16. Each byte becomes one UTF-16 unit through the program's one
// code page table (so 0x80-0x9F come out right whatever the system's code page is), and each
// unit comes back as one byte: a character the code page lacks comes back as "?", one "?" for
// each unit, so a position in the program's text is the same position in the window's. Line
// breaks are left as they are: an edit control counts CR LF as two, as the program does.

#include <filesystem>
#include <string>
#include <string_view>

namespace win32gui {

std::wstring widen(std::string_view cp1252);
std::string narrow(std::wstring_view text);

// One character each way; '?' for a unit the code page lacks.
wchar_t widenChar(char c);
char narrowChar(wchar_t unit);

// A path named by program text (code page 1252) and back.
std::filesystem::path pathOf(std::string_view cp1252);
std::string pathText(const std::filesystem::path& path);

// A text for a window's caption or a message: line breaks made CR LF.
std::wstring widenLines(std::string_view cp1252);

}  // namespace win32gui
