#include "installer/package.h"

#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "installer/cerror.h"
#include "installer/install_job.h"
#include "installer/messages.h"
#include "installer/win_path.h"

namespace installer {

namespace {

constexpr std::uint32_t kLocalHeaderSignature = 0x04034B50;
constexpr std::size_t kChunk = 65536;

std::string volumeName(const std::string& package, unsigned number) {
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, ".%03u", number);
    return package + suffix;
}

std::uint16_t le16(const unsigned char* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t le32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// Ends the inflate stream however the package ends.
struct Inflater {
    z_stream z{};
    bool ready = false;
    ~Inflater() {
        if (ready) {
            inflateEnd(&z);
        }
    }
};

}  // namespace

PackageStream::PackageStream(system::System& sys, std::string package)
    : sys_(sys), package_(std::move(package)), buffer_(kBufferSize) {
    volumePath_ = volumeName(package_, volumeNumber_);
    volume_ = sys_.openRead(volumePath_);
    if (!volume_) {
        throw CError(CError::kCannotOpen, package_);
    }
}

bool PackageStream::fill() {
    while (begin_ == end_) {
        if (!volume_) {
            return false;
        }
        const auto got = volume_->read(buffer_.data(), buffer_.size());
        if (!got) {
            throw CError(CError::kCannotRead, volumePath_);
        }
        begin_ = 0;
        end_ = *got;
        if (*got == 0) {
            volume_.reset();
            volumePath_ = volumeName(package_, ++volumeNumber_);
            volume_ = sys_.openRead(volumePath_);
        }
    }
    return true;
}

std::string_view PackageStream::peek(std::size_t limit) {
    if (!fill()) {
        return {};
    }
    return std::string_view(buffer_.data() + begin_, std::min(limit, end_ - begin_));
}

void PackageStream::consume(std::size_t count) {
    begin_ += std::min(count, end_ - begin_);
}

std::optional<std::uint8_t> PackageStream::readByte() {
    if (!fill()) {
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(buffer_[begin_++]);
}

void PackageStream::readExact(char* out, std::size_t count) {
    while (count > 0) {
        const std::string_view part = peek(count);
        if (part.empty()) {
            throw CError(CError::kCorrupted, package_);
        }
        std::memcpy(out, part.data(), part.size());
        out += part.size();
        count -= part.size();
        consume(part.size());
    }
}

void PackageStream::skip(std::uint64_t count) {
    while (count > 0) {
        const std::string_view part =
            peek(static_cast<std::size_t>(std::min<std::uint64_t>(count, kBufferSize)));
        if (part.empty()) {
            throw CError(CError::kCorrupted, package_);
        }
        consume(part.size());
        count -= part.size();
    }
}

std::string PackageStream::readString() {
    const auto length = readByte();
    if (!length) {
        throw CError(CError::kCorrupted, package_);
    }
    std::string text(*length, '\0');
    readExact(text.data(), text.size());
    return text;
}

std::string memberOutputName(std::string_view storedName) {
    const auto eq = storedName.find('=');
    return std::string(eq == std::string_view::npos ? storedName : storedName.substr(eq + 1));
}

system::LocalTime dosDateTime(std::uint16_t date, std::uint16_t time) {
    system::LocalTime t;
    t.year = 1980 + ((date >> 9) & 0x7F);
    t.month = (date >> 5) & 0x0F;
    t.day = date & 0x1F;
    t.hour = (time >> 11) & 0x1F;
    t.minute = (time >> 5) & 0x3F;
    t.second = 2 * (time & 0x1F);
    return t;
}

namespace {

class Unpacker {
public:
    Unpacker(InstallJob& job, const std::string& package, const std::string& outputRoot)
        : job_(job),
          stream_(job.sys(), package),
          root_(withBackslash(outputRoot)),
          folder_(root_),
          out_(kChunk) {}

    void run() {
        for (;;) {
            const auto type = stream_.readByte();
            if (!type || *type == 'Q') {
                return;
            }
            switch (*type) {
                case 0x1A:
                    break;
                case '>':
                    changeFolder(stream_.readString());
                    break;
                case 'M':
                case 'T': {
                    const auto count = stream_.readByte();
                    if (!count) {
                        bad();
                    }
                    stream_.skip(*count);
                    break;
                }
                case 'V':
                    member();
                    break;
                default:
                    bad();
            }
            job_.pollCancel();
        }
    }

private:
    [[noreturn]] void bad() { throw CError(CError::kCorrupted, stream_.package()); }

    void changeFolder(const std::string& text) {
        if (text == "!" || text == "WINDOWS") {
            folder_ = withBackslash(job_.sys().windowsDirectory());
            return;
        }
        // A folder of a package stays inside the install path.
        if (!isSafeRelativePath(text)) {
            bad();
        }
        folder_ = withBackslash(root_ + text);
        job_.undo().createFolders(folder_);
    }

    void member() {
        unsigned char head[26];
        stream_.readExact(reinterpret_cast<char*>(head), 4);
        if (le32(head) != kLocalHeaderSignature) {
            bad();
        }
        stream_.readExact(reinterpret_cast<char*>(head), sizeof head);
        MemberHeader h;
        h.versionNeeded = le16(head);
        h.flags = le16(head + 2);
        h.method = le16(head + 4);
        h.time = le16(head + 6);
        h.date = le16(head + 8);
        h.crc32 = le32(head + 10);
        h.compressedSize = le32(head + 14);
        h.uncompressedSize = le32(head + 18);
        const std::uint16_t nameLength = le16(head + 22);
        const std::uint16_t extraLength = le16(head + 24);
        if ((h.method != 0 && h.method != 8) || nameLength == 0) {
            bad();
        }
        if (h.method == 0 && h.compressedSize != h.uncompressedSize) {
            bad();
        }
        h.name.resize(nameLength);
        stream_.readExact(h.name.data(), nameLength);
        stream_.skip(extraLength);

        const std::string name = memberOutputName(h.name);
        if (!isSafeRelativePath(name) || name.back() == '\\' || name.back() == '/') {
            bad();
        }
        std::string path = folder_ + name;
        std::replace(path.begin(), path.end(), '/', '\\');
        write(h, path);
    }

    void write(const MemberHeader& h, const std::string& path) {
        auto& undo = job_.undo();
        auto& sys = job_.sys();
        undo.prepareOverwrite(path);
        job_.sink().showCreating(path);
        auto file = sys.openWrite(path);
        if (!file) {
            throw CError(CError::kCannotOpen, path);
        }
        // One inflate stream for every member, reset between them: a package of many small
        // members does not allocate its window again for each.
        Inflater& inflater = inflater_;
        if (h.method == 8) {
            if (!inflater.ready) {
                if (inflateInit2(&inflater.z, -MAX_WBITS) != Z_OK) {
                    throw CError(CError::kMemory);
                }
                inflater.ready = true;
            } else if (inflateReset(&inflater.z) != Z_OK) {
                throw CError(CError::kMemory);
            }
        }
        std::uint64_t remainingIn = h.compressedSize;
        std::uint64_t remainingOut = h.uncompressedSize;
        uLong crc = crc32(0L, Z_NULL, 0);
        while (remainingOut > 0) {
            const std::size_t chunk =
                static_cast<std::size_t>(std::min<std::uint64_t>(remainingOut, kChunk));
            if (h.method == 8) {
                inflateChunk(inflater.z, chunk, remainingIn);
            } else {
                stream_.readExact(out_.data(), chunk);
                remainingIn -= chunk;
            }
            crc = crc32(crc, reinterpret_cast<const Bytef*>(out_.data()), static_cast<uInt>(chunk));
            if (!file->write(out_.data(), chunk)) {
                throw CError(CError::kCannotWrite, path);
            }
            remainingOut -= chunk;
            job_.pollCancel();
            job_.sink().advance(chunk);
        }
        // Whatever is left of the compressed data (the end of the deflate stream).
        stream_.skip(remainingIn);
        if (!file->close()) {
            throw CError(CError::kCannotWrite, path);
        }
        // A member whose data does not match its checksum is damaged.
        if (crc != h.crc32) {
            bad();
        }
        const auto local = dosDateTime(h.date, h.time);
        if (local.month >= 1 && local.month <= 12 && local.day >= 1 && local.hour < 24 &&
            local.minute < 60 && local.second < 60) {
            if (const auto time = sys.fromLocalTime(local)) {
                sys.setFileTime(path, *time);
            }
        }
        job_.installed().record(path);
    }

    // Inflates exactly `chunk` bytes into out_, feeding at most 64 KiB at a time and never
    // more than the member's compressed data.
    void inflateChunk(z_stream& z, std::size_t chunk, std::uint64_t& remainingIn) {
        z.next_out = reinterpret_cast<Bytef*>(out_.data());
        z.avail_out = static_cast<uInt>(chunk);
        while (z.avail_out > 0) {
            const std::string_view input = stream_.peek(
                static_cast<std::size_t>(std::min<std::uint64_t>(remainingIn, kChunk)));
            z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(input.data()));
            z.avail_in = static_cast<uInt>(input.size());
            const uInt outBefore = z.avail_out;
            const int status = inflate(&z, Z_SYNC_FLUSH);
            const std::size_t used = input.size() - z.avail_in;
            stream_.consume(used);
            remainingIn -= used;
            const bool progress = used > 0 || z.avail_out != outBefore;
            if (status == Z_STREAM_END && z.avail_out > 0) {
                bad();  // the data ends before the member's size
            }
            if (status != Z_OK && status != Z_STREAM_END && status != Z_BUF_ERROR) {
                bad();
            }
            if (!progress) {
                bad();  // no more data, or data that leads nowhere
            }
        }
    }

    InstallJob& job_;
    PackageStream stream_;
    std::string root_;
    std::string folder_;
    std::vector<char> out_;
    Inflater inflater_;
};

}  // namespace

void unpackPackage(InstallJob& job, const std::string& package, const std::string& outputRoot) {
    Unpacker(job, package, outputRoot).run();
}

}  // namespace installer
