#include "installer/drives.h"

#include "installer/messages.h"
#include "installer/win_path.h"

namespace installer {

std::int64_t freeKilobytes(system::System& sys, char letter) {
    const auto bytes = sys.freeBytes(letter);
    if (!bytes) {
        return -1;
    }
    return static_cast<std::int64_t>(*bytes / 1024);
}

std::uint32_t clusterSize(system::System& sys, char letter) {
    const std::string name = sys.fileSystemName(letter);
    std::uint32_t size = 0;
    if (iequals(name, "NTFS") || iequals(name, "FAT32")) {
        size = sys.clusterBytes(letter).value_or(0);
    }
    switch (size) {
        case 512:
        case 1024:
        case 2048:
        case 4096:
        case 8192:
        case 16384:
        case 32768:
            return size;
        default:
            return 32768;
    }
}

int clusterColumn(std::uint32_t size) {
    int column = 0;
    for (std::uint32_t c = 512; c <= 16384; c *= 2, ++column) {
        if (c == size) {
            return column;
        }
    }
    return 6;
}

DestinationCheck checkDestination(system::System& sys, std::string_view path) {
    if (path.empty()) {
        return {4, msg::kSetDestination};
    }
    if (path.size() < 2 || path[1] != ':' ||
        (path.size() > 2 && path[2] != '\\' && path[2] != '/')) {
        return {3, msg::kInvalidPath};
    }
    const char letter = upperChar(path[0]);
    if (letter < 'A' || letter > 'Z') {
        return {2, msg::kSetDrive};
    }
    switch (sys.driveType(letter)) {
        case system::DriveType::Unknown:
        case system::DriveType::NoRoot:
            return {3, msg::kInvalidPath};
        case system::DriveType::Fixed:
            return {0, {}};
        default:
            return {1, msg::kRemovableDrive};
    }
}

std::uint32_t ClusterCache::get(system::System& sys) {
    if (size_ == 0) {
        size_ = clusterSize(sys, letter_);
    }
    return size_;
}

void ClusterCache::moveTo(char letter) {
    letter = upperChar(letter);
    if (letter != letter_) {
        letter_ = letter;
        size_ = 0;
    }
}

}  // namespace installer
