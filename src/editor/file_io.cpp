#include "editor/file_io.h"

#include "editor/file_sync.h"

#include <cerrno>
#include <cstdint>
#include <fstream>
#include <optional>
#include <system_error>

namespace editor {
namespace {

namespace fs = std::filesystem;

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

// "Errore n. <code>", the step that failed and the file.
std::string errorMessage(int code, std::string_view during, std::string_view fileName) {
    std::string m(kMsgErrorNumber);
    m += std::to_string(code);
    m += during;
    m += fileName;
    return m;
}

}  // namespace

std::string writeErrorMessage(int code, std::string_view fileName) {
    return errorMessage(code, kMsgInWriting, fileName);
}

std::string readErrorMessage(int code, std::string_view fileName) {
    return errorMessage(code, kMsgInReading, fileName);
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
