#include "editor/file_io.h"

#include <cerrno>
#include <cstdint>
#include <fstream>
#include <system_error>

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

namespace editor {
namespace {

namespace fs = std::filesystem;

// Code points of the code page 1252 bytes 0x80..0x9F; the five undefined ones are kept as the
// C1 controls of the same value.
constexpr std::uint16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

bool validUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto b = static_cast<unsigned char>(s[i]);
        std::size_t extra = 0;
        std::uint32_t cp = 0;
        if (b < 0x80) {
            ++i;
            continue;
        }
        if (b >= 0xC2 && b <= 0xDF) {
            extra = 1;
            cp = b & 0x1F;
        } else if (b >= 0xE0 && b <= 0xEF) {
            extra = 2;
            cp = b & 0x0F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            extra = 3;
            cp = b & 0x07;
        } else {
            return false;
        }
        if (i + extra >= s.size()) {
            return false;
        }
        for (std::size_t k = 1; k <= extra; ++k) {
            const auto c = static_cast<unsigned char>(s[i + k]);
            if ((c & 0xC0) != 0x80) {
                return false;
            }
            cp = (cp << 6) | (c & 0x3F);
        }
        const bool overlong = (extra == 2 && cp < 0x800) || (extra == 3 && cp < 0x10000);
        if (overlong || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            return false;
        }
        i += extra + 1;
    }
    return true;
}

std::string cp1252ToUtf8(std::string_view s) {
    std::string out;
    out.reserve(s.size() + s.size() / 2);
    for (const char ch : s) {
        const auto b = static_cast<unsigned char>(ch);
        const std::uint32_t cp = (b >= 0x80 && b <= 0x9F) ? kCp1252High[b - 0x80] : b;
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

// The code page 1252 byte of a code point, or 0 when the code page has none.
unsigned char cp1252Byte(std::uint32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
        return static_cast<unsigned char>(cp);
    }
    for (unsigned b = 0; b < 32; ++b) {
        if (kCp1252High[b] == cp) {
            return static_cast<unsigned char>(0x80 + b);
        }
    }
    return 0;
}

int errnoOr(int fallback) {
    return errno != 0 ? errno : fallback;
}

// The file that is really written: the target of a symbolic link, else the path itself.
fs::path realTarget(const fs::path& path) {
    std::error_code ec;
    if (fs::is_symlink(fs::symlink_status(path, ec))) {
        fs::path resolved = fs::weakly_canonical(path, ec);
        if (!ec) {
            return resolved;
        }
    }
    return path;
}

// Opens a temporary file beside `target` under a name that no file had, so that the temporary
// never overwrites anything.
int createTemporary(const fs::path& target, std::ofstream& out, fs::path& created) {
    const fs::path folder = target.parent_path();
    // Kept short enough that the temporary name fits where the file's own name does.
    std::string base = target.filename().string();
    if (base.size() > 240) {
        base.resize(240);
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        fs::path candidate = folder / (base + ".~" + std::to_string(attempt) + ".tmp");
        std::error_code ec;
        if (fs::exists(fs::symlink_status(candidate, ec))) {
            continue;
        }
        errno = 0;
        out.open(candidate, std::ios::binary | std::ios::trunc);
        if (!out.is_open()) {
            return errnoOr(EIO);
        }
        created = candidate;
        return 0;
    }
    return EEXIST;
}

// Makes the written bytes of `file` durable before it takes the old file's place: without it a
// power cut soon after a save can leave an empty file where the previous document was.
int syncToDisk(const fs::path& file) {
#ifndef _WIN32
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return errnoOr(EIO);
    }
    const int code = ::fsync(fd) == 0 ? 0 : errnoOr(EIO);
    ::close(fd);
    return code;
#else
    (void)file;
    return 0;
#endif
}

int injected(const WriteFault& fault, WriteStep step) {
    return fault ? fault(step) : 0;
}

int writeInPlace(const fs::path& target, std::string_view bytes, const WriteFault& fault) {
    errno = 0;
    std::ofstream out(target, std::ios::binary);
    if (!out.is_open()) {
        return errnoOr(EIO);
    }
    if (int code = injected(fault, WriteStep::Write)) {
        return code;
    }
    errno = 0;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return out ? 0 : errnoOr(EIO);
}

}  // namespace

fs::path systemPath(const fs::path& name) {
    const std::string& bytes = name.native();
    if (validUtf8(bytes)) {
        return name;
    }
    std::error_code ec;
    if (fs::exists(fs::symlink_status(name, ec))) {
        return name;
    }
    // Part by part: a folder already named in UTF-8 (such as the program's own) stays as it is.
    fs::path converted;
    for (const fs::path& part : name) {
        converted /= validUtf8(part.native()) ? part : fs::path(cp1252ToUtf8(part.native()));
    }
    return converted;
}

std::string programName(std::string_view systemName) {
    if (!validUtf8(systemName)) {
        return std::string(systemName);
    }
    std::string out;
    out.reserve(systemName.size());
    for (std::size_t i = 0; i < systemName.size();) {
        const auto b = static_cast<unsigned char>(systemName[i]);
        const std::size_t length = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
        std::uint32_t cp = length == 1 ? b : b & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k) {
            cp = (cp << 6) | (static_cast<unsigned char>(systemName[i + k]) & 0x3F);
        }
        const unsigned char byte = cp1252Byte(cp);
        if (byte == 0 && cp != 0) {
            return std::string(systemName);
        }
        out += static_cast<char>(byte);
        i += length;
    }
    return out;
}

std::string writeErrorMessage(int code, std::string_view fileName) {
    std::string m(kMsgErrorNumber);
    m += std::to_string(code);
    m += kMsgInWriting;
    m += fileName;
    return m;
}

std::string readErrorMessage(int code, std::string_view fileName) {
    std::string m(kMsgErrorNumber);
    m += std::to_string(code);
    m += kMsgInReading;
    m += fileName;
    return m;
}

int writeFileSafely(const fs::path& name, std::string_view bytes, const WriteFault& fault) {
    const fs::path target = realTarget(systemPath(name));

    if (int code = injected(fault, WriteStep::Create)) {
        return code;
    }
    // A file the user may not write stays protected, though the folder would let us replace it.
    std::error_code ec;
    const fs::file_status existing = fs::status(target, ec);
    if (fs::is_regular_file(existing)) {
        errno = 0;
        std::ofstream probe(target, std::ios::binary | std::ios::app);
        if (!probe.is_open()) {
            return errnoOr(EACCES);
        }
    } else if (fs::is_directory(existing)) {
        return EISDIR;
    } else if (fs::exists(existing)) {
        // A device or a pipe (such as /dev/null or /dev/stdout) is written to, never replaced by
        // a plain file.
        return writeInPlace(target, bytes, fault);
    }
    fs::path temporary;
    std::ofstream out;
    if (int code = createTemporary(target, out, temporary)) {
        return code;
    }
    auto discard = [&](int code) {
        out.close();
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return code;
    };

    if (int code = injected(fault, WriteStep::Write)) {
        return discard(code);
    }
    errno = 0;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
        return discard(errnoOr(EIO));
    }

    if (int code = injected(fault, WriteStep::Close)) {
        return discard(code);
    }
    errno = 0;
    out.close();
    if (!out) {
        return discard(errnoOr(EIO));
    }
    errno = 0;
    if (int code = syncToDisk(temporary)) {
        return discard(code);
    }

    // The replaced file keeps who may read and write it.
    const fs::file_status old = fs::status(target, ec);
    if (!ec && fs::exists(old)) {
        fs::permissions(temporary, old.permissions(), ec);
    }

    if (int code = injected(fault, WriteStep::Replace)) {
        return discard(code);
    }
    fs::rename(temporary, target, ec);
    if (ec) {
        return discard(ec.value() != 0 ? ec.value() : EIO);
    }
    return 0;
}

ReadResult readWholeFile(const fs::path& name) {
    const fs::path path = systemPath(name);
    ReadResult result;
    std::error_code ec;
    if (fs::is_directory(path, ec)) {
        result.error = EISDIR;
        return result;
    }
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open()) {
        result.error = errnoOr(EIO);
        return result;
    }
    const std::uintmax_t size = fs::file_size(path, ec);
    if (!ec && size < (std::uintmax_t{1} << 30)) {
        result.bytes.reserve(static_cast<std::size_t>(size));
    }
    char chunk[65536];
    while (in) {
        errno = 0;
        in.read(chunk, sizeof chunk);
        result.bytes.append(chunk, static_cast<std::size_t>(in.gcount()));
    }
    if (in.bad()) {
        result.error = errnoOr(EIO);
        result.bytes.clear();
    }
    return result;
}

}  // namespace editor
