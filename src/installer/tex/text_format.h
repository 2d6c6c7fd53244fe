#pragma once

// printf-style formatting of the message texts (their "%s" and "%d" come from the TeX
// system's own tools, so they are filled the same way).

#include <cstdio>
#include <string>
#include <string_view>

namespace installer::tex {

// `format` must be one of the zero-terminated message constants.
template <typename... Args>
std::string formatText(std::string_view format, const Args&... args) {
    const int size = std::snprintf(nullptr, 0, format.data(), args...);
    if (size <= 0) {
        return {};
    }
    std::string out(static_cast<std::size_t>(size) + 1, '\0');
    std::snprintf(out.data(), out.size(), format.data(), args...);
    out.resize(static_cast<std::size_t>(size));
    return out;
}

}  // namespace installer::tex
