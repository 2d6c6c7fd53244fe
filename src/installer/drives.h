#pragma once

// What the installer asks about the destination drive: free space, cluster size, and whether
// a destination path can be installed to.

#include <cstdint>
#include <string_view>

#include "installer/system/system.h"

namespace installer {

// Free kilobytes on drive `letter`; -1 when the drive cannot be asked.
std::int64_t freeKilobytes(system::System& sys, char letter);

// The cluster size of drive `letter` in bytes, asked only of NTFS and FAT32 drives. Anything
// but 512, 1024, 2048, 4096, 8192, 16384 or 32768 (another file system, a failed query, a
// larger cluster) is taken as 32768.
std::uint32_t clusterSize(system::System& sys, char letter);

// The column of the component sizes for a cluster size: 0 for 512 ... 5 for 16384, 6 for any
// other.
int clusterColumn(std::uint32_t clusterSize);

struct DestinationCheck {
    int code;               // 0 valid, 1 not a fixed drive, 2 no drive, 3 invalid, 4 empty
    std::string_view text;  // shown under the destination field; empty for 0
};

DestinationCheck checkDestination(system::System& sys, std::string_view path);

// The cluster size of the destination drive, asked once per drive letter (initially C).
class ClusterCache {
public:
    std::uint32_t get(system::System& sys);
    char letter() const { return letter_; }
    // The destination moved to drive `letter`: ask again on the next get() when it changed.
    void moveTo(char letter);

private:
    char letter_ = 'C';
    std::uint32_t size_ = 0;
};

}  // namespace installer
