#include "installer/system/sandbox/shell_link_file.h"

#include "ui/cp1252.h"

namespace installer::system {

namespace {

constexpr std::uint32_t kHasLinkInfo = 0x02;
constexpr std::uint32_t kHasName = 0x04;
constexpr std::uint32_t kHasIconLocation = 0x40;
constexpr std::uint32_t kIsUnicode = 0x80;
constexpr std::uint32_t kAttributeFolder = 0x10;
constexpr std::uint32_t kAttributeArchive = 0x20;
constexpr std::uint32_t kShowNormal = 1;
constexpr std::uint32_t kDriveFixed = 3;
constexpr std::uint32_t kVolumeIdAndLocalBasePath = 0x01;
// 100-nanosecond intervals between 1601-01-01 and 1970-01-01.
constexpr std::int64_t kFileTimeEpoch = 116444736000000000;

void put16(std::string& out, std::uint32_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}

void put32(std::string& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

void put64(std::string& out, std::uint64_t v) {
    put32(out, static_cast<std::uint32_t>(v & 0xFFFFFFFF));
    put32(out, static_cast<std::uint32_t>(v >> 32));
}

// UTF-16LE code units of a code page 1252 text (every character of the code page is in the
// basic plane).
std::string utf16(std::string_view text) {
    std::string out;
    for (char c : text) {
        put16(out,
              static_cast<std::uint32_t>(ui::cp1252::toUnicode(static_cast<unsigned char>(c))));
    }
    return out;
}

// A StringData entry: the count of characters and the Unicode text, no terminator.
void putCountedString(std::string& out, std::string_view text) {
    const std::string_view cut = text.substr(0, 0xFFFF);
    put16(out, static_cast<std::uint32_t>(cut.size()));
    out += utf16(cut);
}

std::uint64_t fileTime(const std::optional<FileTime>& time) {
    if (!time) {
        return 0;
    }
    const std::int64_t ticks = time->nanoseconds / 100 + kFileTimeEpoch;
    return ticks > 0 ? static_cast<std::uint64_t>(ticks) : 0;
}

std::string linkInfo(std::string_view target, std::uint32_t serial) {
    // Header with the Unicode offsets (0x24 bytes), the volume, then the paths.
    constexpr std::uint32_t kHeaderSize = 0x24;
    std::string volume;
    put32(volume, 0x11);  // size: 16 bytes and the empty label
    put32(volume, kDriveFixed);
    put32(volume, serial);
    put32(volume, 0x10);  // the label follows
    volume += '\0';

    const std::string base = std::string(target) + '\0';
    const std::string suffix(1, '\0');
    std::string baseUnicode = utf16(target);
    put16(baseUnicode, 0);
    std::string suffixUnicode;
    put16(suffixUnicode, 0);

    const std::uint32_t volumeAt = kHeaderSize;
    const std::uint32_t baseAt = volumeAt + static_cast<std::uint32_t>(volume.size());
    const std::uint32_t suffixAt = baseAt + static_cast<std::uint32_t>(base.size());
    const std::uint32_t baseUnicodeAt = suffixAt + static_cast<std::uint32_t>(suffix.size());
    const std::uint32_t suffixUnicodeAt =
        baseUnicodeAt + static_cast<std::uint32_t>(baseUnicode.size());
    const std::uint32_t total = suffixUnicodeAt + static_cast<std::uint32_t>(suffixUnicode.size());

    std::string out;
    put32(out, total);
    put32(out, kHeaderSize);
    put32(out, kVolumeIdAndLocalBasePath);
    put32(out, volumeAt);
    put32(out, baseAt);
    put32(out, 0);  // no network location
    put32(out, suffixAt);
    put32(out, baseUnicodeAt);
    put32(out, suffixUnicodeAt);
    out += volume + base + suffix + baseUnicode + suffixUnicode;
    return out;
}

}  // namespace

std::string encodeShellLink(const ShellLink& link, const LinkTargetInfo& target) {
    std::uint32_t flags = kHasLinkInfo | kHasName | kIsUnicode;
    if (!link.iconFile.empty()) {
        flags |= kHasIconLocation;
    }
    std::string out;
    put32(out, 0x4C);
    static constexpr unsigned char kLinkClassId[16] = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00,
                                                       0x00, 0x00, 0xC0, 0x00, 0x00, 0x00,
                                                       0x00, 0x00, 0x00, 0x46};
    out.append(reinterpret_cast<const char*>(kLinkClassId), sizeof kLinkClassId);
    put32(out, flags);
    put32(out, target.folder ? kAttributeFolder : kAttributeArchive);
    const std::uint64_t when = fileTime(target.modified);
    put64(out, when);  // created
    put64(out, when);  // accessed
    put64(out, when);  // written
    put32(out, target.size);
    put32(out, static_cast<std::uint32_t>(link.iconIndex));
    put32(out, kShowNormal);
    put16(out, 0);  // no hot key
    put16(out, 0);
    put32(out, 0);
    put32(out, 0);

    out += linkInfo(link.target, target.driveSerial);
    putCountedString(out, link.description);
    if (!link.iconFile.empty()) {
        putCountedString(out, link.iconFile);
    }
    put32(out, 0);  // terminal block
    return out;
}

}  // namespace installer::system
