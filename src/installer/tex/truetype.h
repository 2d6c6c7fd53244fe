#pragma once

// The two things the TrueType alias file needs from a TrueType font file: the style word of
// its "head" table (macStyle) and whether it has a table tagged "QLNS". Every table record
// and the head table are checked against the file's real size.

#include <cstdint>
#include <optional>
#include <string_view>

namespace installer::tex {

struct TrueTypeInfo {
    std::uint16_t macStyle = 0;
    bool hasQlns = false;
};

// Nothing when the bytes are not a TrueType font whose tables can be read.
std::optional<TrueTypeInfo> readTrueType(std::string_view bytes);

}  // namespace installer::tex
