// The host's files on a POSIX system.

#include "installer/system/host_io.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

namespace installer::system {

namespace fs = std::filesystem;

namespace {

class HostReadFile : public ReadFile {
public:
    explicit HostReadFile(int fd) : fd_(fd) {}
    ~HostReadFile() override { ::close(fd_); }
    std::optional<std::size_t> read(char* buffer, std::size_t size) override {
        for (;;) {
            const ssize_t got = ::read(fd_, buffer, size);
            if (got >= 0) {
                return static_cast<std::size_t>(got);
            }
            if (errno != EINTR) {
                return std::nullopt;
            }
        }
    }

private:
    int fd_;
};

class HostWriteFile : public WriteFile {
public:
    explicit HostWriteFile(int fd) : fd_(fd) {}
    ~HostWriteFile() override {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    bool write(const char* data, std::size_t size) override {
        while (size > 0) {
            const ssize_t put = ::write(fd_, data, size);
            if (put < 0) {
                if (errno == EINTR) {
                    continue;
                }
                return false;
            }
            data += put;
            size -= static_cast<std::size_t>(put);
        }
        return true;
    }
    bool flush() override { return fd_ >= 0 && ::fsync(fd_) == 0; }
    bool close() override {
        const int fd = fd_;
        fd_ = -1;
        return fd >= 0 && ::close(fd) == 0;
    }

private:
    int fd_;
};

}  // namespace

std::unique_ptr<ReadFile> openHostRead(const fs::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return nullptr;
    }
    return std::make_unique<HostReadFile>(fd);
}

std::unique_ptr<WriteFile> openHostWrite(const fs::path& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        return nullptr;
    }
    return std::make_unique<HostWriteFile>(fd);
}

std::unique_ptr<WriteFile> openHostLocked(const fs::path& path, bool& busy) {
    busy = false;
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) {
        return nullptr;
    }
    // An flock lock belongs to this open file: the kernel drops it when the process dies.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        busy = errno == EWOULDBLOCK;
        ::close(fd);
        return nullptr;
    }
    return std::make_unique<HostWriteFile>(fd);
}

bool hostFileInUse(const fs::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);  // drops the probe's own lock, if it got one
    return held;
}

bool deleteHostFile(const fs::path& path) {
    return ::unlink(path.c_str()) == 0;
}

bool replaceHostFile(const fs::path& from, const fs::path& to) {
    return ::rename(from.c_str(), to.c_str()) == 0;
}

bool createHostFolder(const fs::path& path) {
    return ::mkdir(path.c_str(), 0755) == 0;
}

bool removeHostFolder(const fs::path& path) {
    return ::rmdir(path.c_str()) == 0;
}

std::optional<FileTime> hostFileTime(const fs::path& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    return FileTime{static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 +
                    info.st_mtim.tv_nsec};
}

bool setHostFileTime(const fs::path& path, FileTime time) {
    struct timespec times[2];
    times[0].tv_sec = static_cast<time_t>(time.nanoseconds / 1000000000);
    times[0].tv_nsec = static_cast<long>(time.nanoseconds % 1000000000);
    if (times[0].tv_nsec < 0) {
        times[0].tv_nsec += 1000000000;
        times[0].tv_sec -= 1;
    }
    times[1] = times[0];
    return ::utimensat(AT_FDCWD, path.c_str(), times, 0) == 0;
}

}  // namespace installer::system
