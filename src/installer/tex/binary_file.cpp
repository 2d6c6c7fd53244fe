#include "installer/tex/binary_file.h"

#include <algorithm>

namespace installer::tex {

FileBytes readFileBytes(system::System& sys, std::string_view path, std::size_t limit) {
    FileBytes result;
    auto file = sys.openRead(path);
    if (!file) {
        result.status = FileBytes::CannotOpen;
        return result;
    }
    char buffer[16384];
    for (;;) {
        const std::size_t room = limit - result.bytes.size();
        // One byte more than the limit tells whether the file goes on.
        const auto got = file->read(buffer, std::min(sizeof buffer, room + 1));
        if (!got) {
            result.status = FileBytes::ReadError;
            return result;
        }
        if (*got == 0) {
            return result;
        }
        if (*got > room) {
            result.bytes.append(buffer, room);
            result.truncated = true;
            return result;
        }
        result.bytes.append(buffer, *got);
    }
}

std::uint32_t be16(std::string_view bytes, std::size_t at) {
    return (std::uint32_t{static_cast<std::uint8_t>(bytes[at])} << 8) |
           static_cast<std::uint8_t>(bytes[at + 1]);
}

std::uint32_t be32(std::string_view bytes, std::size_t at) {
    return (be16(bytes, at) << 16) | be16(bytes, at + 2);
}

std::uint32_t le16(std::string_view bytes, std::size_t at) {
    return static_cast<std::uint8_t>(bytes[at]) |
           (std::uint32_t{static_cast<std::uint8_t>(bytes[at + 1])} << 8);
}

std::uint32_t le32(std::string_view bytes, std::size_t at) {
    return le16(bytes, at) | (le16(bytes, at + 2) << 16);
}

void putLe16(std::string& out, std::uint32_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void putLe32(std::string& out, std::uint32_t value) {
    putLe16(out, value & 0xFFFF);
    putLe16(out, value >> 16);
}

bool writeFileBytes(system::System& sys, std::string_view path, std::string_view bytes) {
    auto file = sys.openWrite(path);
    if (!file) {
        return false;
    }
    if (!bytes.empty() && !file->write(bytes.data(), bytes.size())) {
        return false;
    }
    return file->close();
}

}  // namespace installer::tex
