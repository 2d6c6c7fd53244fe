#include "installer/win_path.h"

#include <array>
#include <cstdint>
#include <limits>

#include "ui/text_trim.h"

namespace installer {

char upperChar(char c) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 'a' && b <= 'z') {
        return static_cast<char>(b - 32);
    }
    if (b >= 0xE0 && b <= 0xFE && b != 0xF7) {
        return static_cast<char>(b - 32);
    }
    return c;
}

static char lowerChar(char c) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 'A' && b <= 'Z') {
        return static_cast<char>(b + 32);
    }
    if (b >= 0xC0 && b <= 0xDE && b != 0xD7) {
        return static_cast<char>(b + 32);
    }
    return c;
}

std::string upper(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        c = upperChar(c);
    }
    return out;
}

std::string lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        c = lowerChar(c);
    }
    return out;
}

bool iequals(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (upperChar(a[i]) != upperChar(b[i])) {
            return false;
        }
    }
    return true;
}

bool istartsWith(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && iequals(text.substr(0, prefix.size()), prefix);
}

bool iendsWith(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() &&
           iequals(text.substr(text.size() - suffix.size()), suffix);
}

std::string_view trim(std::string_view text) {
    return ui::trimAny(text, " \t\r\n");
}

std::string withBackslash(std::string_view path) {
    std::string out(path);
    if (!out.empty() && out.back() != '\\') {
        out += '\\';
    }
    return out;
}

std::string folderPart(std::string_view path) {
    const auto cut = path.find_last_of("\\/");
    if (cut == std::string_view::npos) {
        return {};
    }
    return std::string(path.substr(0, cut + 1));
}

std::string fileNamePart(std::string_view path) {
    const auto cut = path.find_last_of("\\/:");
    return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

bool isDeviceName(std::string_view name) {
    std::string base = upper(name.substr(0, name.find('.')));
    while (!base.empty() && base.back() == ' ') {
        base.pop_back();
    }
    static const std::array<std::string_view, 4> plain = {"CON", "PRN", "AUX", "NUL"};
    for (auto device : plain) {
        if (base == device) {
            return true;
        }
    }
    if (base.size() == 4 && (base.starts_with("COM") || base.starts_with("LPT")) &&
        base[3] >= '1' && base[3] <= '9') {
        return true;
    }
    return base == "CLOCK$" || base == "CONIN$" || base == "CONOUT$";
}

std::vector<std::string> splitPath(std::string_view path) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        auto end = path.find_first_of("\\/", start);
        if (end == std::string_view::npos) {
            end = path.size();
        }
        if (end > start) {
            parts.emplace_back(path.substr(start, end - start));
        }
        start = end + 1;
    }
    return parts;
}

bool isSafeRelativePath(std::string_view relative) {
    if (relative.empty() || relative.front() == '\\' || relative.front() == '/') {
        return false;
    }
    std::size_t start = 0;
    // A trailing separator is allowed (folders are written that way); empty inner elements
    // are not.
    std::string_view body = relative;
    if (body.back() == '\\' || body.back() == '/') {
        body.remove_suffix(1);
        if (body.empty()) {
            return false;
        }
    }
    while (start <= body.size()) {
        auto end = body.find_first_of("\\/", start);
        if (end == std::string_view::npos) {
            end = body.size();
        }
        const std::string_view element = body.substr(start, end - start);
        if (element.empty() || element.back() == '.' || element.back() == ' ' ||
            isDeviceName(element)) {
            return false;
        }
        for (char c : element) {
            const auto b = static_cast<unsigned char>(c);
            if (b < 32 || c == ':' || c == '*' || c == '?' || c == '"' || c == '<' || c == '>' ||
                c == '|') {
                return false;
            }
        }
        start = end + 1;
    }
    return true;
}

std::string canonicalPath(std::string_view path) {
    const bool drive = path.size() >= 3 && path[1] == ':' && (path[2] == '\\' || path[2] == '/') &&
                       ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
    if (!drive) {
        return std::string(path);
    }
    std::vector<std::string> kept;
    for (auto& element : splitPath(path.substr(3))) {
        if (element == ".") {
            continue;
        }
        if (element == "..") {
            if (!kept.empty()) {
                kept.pop_back();
            }
            continue;
        }
        kept.push_back(std::move(element));
    }
    std::string out = std::string(path.substr(0, 2)) + "\\";
    for (std::size_t i = 0; i < kept.size(); ++i) {
        out += i == 0 ? kept[i] : "\\" + kept[i];
    }
    return out;
}

int parseDecimal(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > std::int64_t{std::numeric_limits<int>::max()} + 1) {
            value = std::int64_t{std::numeric_limits<int>::max()} + 1;
        }
    }
    if (negative) {
        value = -value;
    }
    if (value > std::numeric_limits<int>::max()) {
        value = std::numeric_limits<int>::max();
    }
    return static_cast<int>(value);
}

}  // namespace installer
