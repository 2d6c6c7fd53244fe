#include "notation/text_scan.h"

#include <array>

namespace notation {

std::string replaceAll(std::string_view text, std::string_view from, std::string_view to) {
    std::string out;
    if (from.empty()) {
        return std::string(text);
    }
    out.reserve(text.size());
    std::size_t pos = 0;
    while (true) {
        const std::size_t hit = text.find(from, pos);
        if (hit == std::string_view::npos) {
            out.append(text.substr(pos));
            return out;
        }
        out.append(text.substr(pos, hit - pos));
        out.append(to);
        pos = hit + from.size();
    }
}

std::string replaceEach(std::string_view text, std::initializer_list<Substitution> table) {
    std::string out;
    out.reserve(text.size() + 8);
    std::size_t i = 0;
    while (i < text.size()) {
        const Substitution* hit = nullptr;
        for (const Substitution& s : table) {
            if (at(text, i, s.from)) {
                hit = &s;
                break;
            }
        }
        if (hit == nullptr) {
            out += text[i++];
        } else {
            out += hit->to;
            i += hit->from.size();
        }
    }
    return out;
}

namespace {

// The characters the search for a closing brace stops at.
constexpr std::array<bool, 256> kBraceStops = [] {
    std::array<bool, 256> stops{};
    stops['{'] = true;
    stops['}'] = true;
    stops['\\'] = true;
    return stops;
}();

}  // namespace

std::size_t closingBrace(std::string_view text, std::size_t open) {
    const char* const t = text.data();
    const std::size_t n = text.size();
    int depth = 0;
    for (std::size_t i = open; i < n; ++i) {
        // Most characters are none of the three: passed over with one look each.
        while (!kBraceStops[static_cast<unsigned char>(t[i])]) {
            if (++i == n) {
                return std::string_view::npos;
            }
        }
        const char c = t[i];
        if (c == '\\') {
            if (i + 1 < n && (t[i + 1] == '{' || t[i + 1] == '}' || t[i + 1] == '\\')) {
                ++i;
            }
        } else if (c == '{') {
            ++depth;
        } else if (--depth == 0) {
            return i;
        }
    }
    return std::string_view::npos;
}

std::size_t commandEnd(std::string_view text, std::size_t pos) {
    std::size_t end = pos + 1;
    if (end >= text.size()) {
        return text.size();
    }
    if (!isAsciiLetter(text[end])) {
        return end + 1;
    }
    while (end < text.size() && isAsciiLetter(text[end])) {
        ++end;
    }
    return end;
}

}  // namespace notation
