// The recovery lock on a POSIX system: flock(2) on a file of the recovery folder, which the
// kernel lets go of when the process ends.

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

#include "editor/recovery/instance_lock.h"

namespace editor {
namespace {

int lockFile(int fd) {
    return ::flock(fd, LOCK_EX | LOCK_NB) == 0 ? 0 : (errno != 0 ? errno : EIO);
}

}  // namespace

std::optional<InstanceLock> InstanceLock::create(const std::filesystem::path& file, int& error) {
    const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
        error = errno != 0 ? errno : EIO;
        return std::nullopt;
    }
    if (const int code = lockFile(fd); code != 0) {
        ::unlink(file.c_str());
        ::close(fd);
        error = code;
        return std::nullopt;
    }
    error = 0;
    return InstanceLock(file, fd);
}

std::optional<InstanceLock> InstanceLock::takeOver(const std::filesystem::path& file) {
    const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        // A lock file that cannot be opened for writing (a read-only folder) can still be
        // tested for a holder.
        const int readOnly = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
        if (readOnly < 0) {
            // No lock file, and none can be made: no running program holds one.
            return errno == ENOENT ? std::optional(InstanceLock(file, -1)) : std::nullopt;
        }
        if (lockFile(readOnly) != 0) {
            ::close(readOnly);
            return std::nullopt;
        }
        return InstanceLock(file, readOnly);
    }
    if (lockFile(fd) != 0) {
        ::close(fd);
        return std::nullopt;
    }
    return InstanceLock(file, fd);
}

void InstanceLock::release(bool removeFile) {
    if (handle_ < 0) {
        return;
    }
    // Removed while still held: whoever opens the name afterwards makes a new file.
    if (removeFile) {
        ::unlink(file_.c_str());
    }
    ::close(static_cast<int>(handle_));
    handle_ = -1;
}

}  // namespace editor
