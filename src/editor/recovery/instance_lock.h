#pragma once

// The lock by which a running Tattilo says that its recovery copies are its own (posix/, win32/).
//
// A lock is a file held with an exclusive lock of the system (flock on POSIX, a handle opened
// without sharing on Windows). The system lets go of it when the process ends in any way, a kill
// or a crash included, so a copy whose lock can be taken belongs to a program that no longer
// runs. Whoever takes such a lock over holds it while it looks at the copies, so that two
// programs starting together never offer the same copy twice.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <utility>

namespace editor {

class InstanceLock {
public:
    // Makes and holds the new lock file `file`; nullopt, with the error number in `error`, when
    // the file is there already or cannot be made.
    static std::optional<InstanceLock> create(const std::filesystem::path& file, int& error);
    // Holds the lock file `file` of another program when no running program holds it (making
    // the file when it is gone; a lock that cannot be made where there is none holds nothing,
    // since no program can hold it either); nullopt while a program holds it.
    static std::optional<InstanceLock> takeOver(const std::filesystem::path& file);

    InstanceLock(InstanceLock&& other) noexcept
        : file_(std::move(other.file_)), handle_(std::exchange(other.handle_, -1)) {}
    InstanceLock& operator=(InstanceLock&& other) noexcept {
        if (this != &other) {
            release(false);
            file_ = std::move(other.file_);
            handle_ = std::exchange(other.handle_, -1);
        }
        return *this;
    }
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;
    // Lets go of the lock; the file stays unless release(true) removed it.
    ~InstanceLock() { release(false); }

    const std::filesystem::path& file() const { return file_; }
    // Lets go of the lock now, removing its file first when `removeFile`.
    void release(bool removeFile);

private:
    InstanceLock(std::filesystem::path file, std::intptr_t handle)
        : file_(std::move(file)), handle_(handle) {}

    std::filesystem::path file_;
    std::intptr_t handle_ = -1;  // the descriptor or handle; -1 when released
};

}  // namespace editor
