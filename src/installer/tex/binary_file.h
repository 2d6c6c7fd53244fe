#pragma once

// Reading the TeX system's binary files through the system layer: a whole file (or its first
// bytes) into memory, and the integers of the two byte orders they use. Every reader checks
// an offset against the bytes it really has before it looks there.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "installer/system/system.h"

namespace installer::tex {

struct FileBytes {
    enum Status { Ok, CannotOpen, ReadError } status = Ok;
    std::string bytes;
    bool truncated = false;  // the file holds more than the limit
};

// The file's bytes, at most `limit` of them.
FileBytes readFileBytes(system::System& sys, std::string_view path, std::size_t limit);

// Big-endian (TeX's fonts, TrueType) and little-endian (TFM.LIB, t1fntnf.bck) integers at
// `at`; the caller has checked that they lie inside `bytes`.
std::uint32_t be16(std::string_view bytes, std::size_t at);
std::uint32_t be32(std::string_view bytes, std::size_t at);
std::uint32_t le16(std::string_view bytes, std::size_t at);
std::uint32_t le32(std::string_view bytes, std::size_t at);
void putLe16(std::string& out, std::uint32_t value);
void putLe32(std::string& out, std::uint32_t value);

// Whether [at, at + size) lies inside a buffer of `total` bytes (without overflow).
inline bool fits(std::size_t total, std::uint64_t at, std::uint64_t size) {
    return at <= total && size <= total - at;
}

// Writes `bytes` to a new file; false when it could not be written completely.
bool writeFileBytes(system::System& sys, std::string_view path, std::string_view bytes);

}  // namespace installer::tex
