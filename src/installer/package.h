#pragma once

// Package files: a stream of records split over volumes P.001, P.002, ... The records:
//   end of stream  done
//   0x1A           padding
//   '>' string     output folder: "!" or "WINDOWS" = the Windows folder, else root + text
//   'M' n bytes    skipped (so is 'T')
//   'Q'            done
//   'V' member     a ZIP local file header and its data (stored or raw deflate)
// A string is a length byte and that many bytes.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "installer/system/system.h"

namespace installer {

class InstallJob;

// The volumes of one package read as one byte stream through a 64 KiB buffer. The next
// volume is opened when one is used up; a missing next volume ends the stream.
class PackageStream {
public:
    static constexpr std::size_t kBufferSize = 65536;

    // Opens volume 001 of `package`; raises CError 2 naming the package when it is missing.
    PackageStream(system::System& sys, std::string package);

    const std::string& package() const { return package_; }

    // The next bytes of the stream (at most `limit`), without using them up; empty at the
    // end of the stream. Raises CError 3 on a read error.
    std::string_view peek(std::size_t limit);
    void consume(std::size_t count);
    // One byte; nullopt at the end of the stream.
    std::optional<std::uint8_t> readByte();
    // Exactly `count` bytes into `out`; raises CError 5 naming the package when the stream
    // ends first.
    void readExact(char* out, std::size_t count);
    // Skips `count` bytes; CError 5 when the stream ends first.
    void skip(std::uint64_t count);
    // A length byte and its text; CError 5 when cut short.
    std::string readString();

private:
    bool fill();

    system::System& sys_;
    std::string package_;
    std::unique_ptr<system::ReadFile> volume_;
    std::string volumePath_;
    unsigned volumeNumber_ = 1;
    std::vector<char> buffer_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
};

// The ZIP local header of a member ('V' record).
struct MemberHeader {
    std::uint16_t versionNeeded = 0;
    std::uint16_t flags = 0;
    std::uint16_t method = 0;
    std::uint16_t time = 0;
    std::uint16_t date = 0;
    std::uint32_t crc32 = 0;
    std::uint32_t compressedSize = 0;
    std::uint32_t uncompressedSize = 0;
    std::string name;
};

// The name a member is written under: the text after the first "=", or the whole name.
std::string memberOutputName(std::string_view storedName);

// The wall-clock time of an MS-DOS date and time (no check of the ranges).
system::LocalTime dosDateTime(std::uint16_t date, std::uint16_t time);

// Unpacks `package` (the path without the volume number) for `job`: folders under
// `outputRoot` (the install path), files journalled in the undo log and recorded in the
// installed-files register, progress and cancel through the job's sink. Raises CError:
// 2 (volume 001 or an output file cannot be opened), 3 (read error), 4 (write error),
// 5 naming the package (bad record, header, member data or checksum, or a folder or member
// name that would leave its root), 8 (cancelled).
void unpackPackage(InstallJob& job, const std::string& package, const std::string& outputRoot);

}  // namespace installer
