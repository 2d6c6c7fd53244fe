// File names and durable writes on a POSIX system, where names on disk are UTF-8 bytes.

#include "editor/file_io.h"
#include "editor/file_sync.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "ui/cp1252.h"

namespace editor {

namespace fs = std::filesystem;

int syncToDisk(const fs::path& file) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return errno != 0 ? errno : EIO;
    }
    const int code = ::fsync(fd) == 0 ? 0 : (errno != 0 ? errno : EIO);
    ::close(fd);
    return code;
}

fs::path systemPath(const fs::path& name) {
    const std::string& bytes = name.native();
    if (ui::cp1252::isUtf8(bytes)) {
        return name;
    }
    std::error_code ec;
    if (fs::exists(fs::symlink_status(name, ec))) {
        return name;
    }
    // Part by part: a folder already named in UTF-8 (such as the program's own) stays as it is.
    fs::path converted;
    for (const fs::path& part : name) {
        converted /=
            ui::cp1252::isUtf8(part.native()) ? part : fs::path(ui::cp1252::toUtf8(part.native()));
    }
    return converted;
}

std::string programName(std::string_view systemName) {
    return ui::cp1252::fromUtf8(systemName).value_or(std::string(systemName));
}

}  // namespace editor
