#include "installer/tex/truetype.h"

#include "installer/tex/binary_file.h"

namespace installer::tex {

std::optional<TrueTypeInfo> readTrueType(std::string_view b) {
    if (b.size() < 12) {
        return std::nullopt;
    }
    const std::uint32_t version = be32(b, 0);
    // TrueType outlines (1.0 or "true") or PostScript outlines ("OTTO").
    if (version != 0x00010000 && version != 0x74727565 && version != 0x4F54544F) {
        return std::nullopt;
    }
    const std::size_t tables = be16(b, 4);
    if (!fits(b.size(), 12, tables * 16)) {
        return std::nullopt;
    }
    std::optional<TrueTypeInfo> info;
    bool qlns = false;
    for (std::size_t i = 0; i < tables; ++i) {
        const std::size_t record = 12 + i * 16;
        const std::string_view tag = b.substr(record, 4);
        const std::uint32_t offset = be32(b, record + 8);
        const std::uint32_t length = be32(b, record + 12);
        if (!fits(b.size(), offset, length)) {
            return std::nullopt;
        }
        if (tag == "head") {
            // macStyle is the 16-bit word at offset 44.
            if (length < 46) {
                return std::nullopt;
            }
            info = TrueTypeInfo{static_cast<std::uint16_t>(be16(b, offset + 44)), false};
        } else if (tag == "QLNS") {
            qlns = true;
        }
    }
    if (info) {
        info->hasQlns = qlns;
    }
    return info;
}

}  // namespace installer::tex
