#include "win32gui/wide_text.h"

#include <algorithm>

#include "ui/cp1252.h"
#include "ui/crlf_offsets.h"

namespace win32gui {

wchar_t widenChar(char c) {
    return static_cast<wchar_t>(ui::cp1252::toUnicode(static_cast<unsigned char>(c)));
}

char narrowChar(wchar_t unit) {
    return static_cast<char>(ui::cp1252::nearestByte(static_cast<char32_t>(unit)));
}

std::wstring widen(std::string_view cp1252) {
    std::wstring out(cp1252.size(), L'\0');
    std::transform(cp1252.begin(), cp1252.end(), out.begin(), widenChar);
    return out;
}

std::string narrow(std::wstring_view text) {
    std::string out(text.size(), '\0');
    std::transform(text.begin(), text.end(), out.begin(), narrowChar);
    return out;
}

std::filesystem::path pathOf(std::string_view cp1252) {
    return std::filesystem::path(widen(cp1252));
}

std::string pathText(const std::filesystem::path& path) {
    return narrow(path.wstring());
}

std::wstring widenLines(std::string_view cp1252) {
    return widen(ui::normalizeLineBreaks(cp1252));
}

}  // namespace win32gui
