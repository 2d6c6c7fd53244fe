#pragma once

// The shell-link (.lnk) binary format as Windows writes it: the 76-byte header, the link
// information (volume and local path of the target), the description and icon location as
// Unicode strings, and the terminal block. All integers are little-endian. The sandbox writes
// its Start Menu and Desktop links in this format so that any reader of .lnk files can open
// them.

#include <cstdint>
#include <optional>
#include <string>

#include "installer/system/system.h"

namespace installer::system {

// What the link records about its target at the time it is made.
struct LinkTargetInfo {
    std::optional<FileTime> modified;  // none: the target is missing
    std::uint32_t size = 0;
    bool folder = false;
    std::uint32_t driveSerial = 0;
};

// The bytes of a link file. Texts are code page 1252; the local path is stored both in the
// code page and in Unicode.
std::string encodeShellLink(const ShellLink& link, const LinkTargetInfo& target);

}  // namespace installer::system
