#pragma once

// A folder nobody may write into, not even the superuser (the tests run as root in CI, where
// permission bits stop nothing): the folder is bind-mounted read-only in a private mount
// namespace of a child process, and the checks run there.

#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>

namespace editor::testing {

inline constexpr int kNoMountNamespace = 77;

// Runs `check` in a child that sees `folder` read-only; `check` returns 0 when everything held,
// or a number naming the check that failed. Returns that number, or kNoMountNamespace when this
// system gives the process no mount namespace of its own.
inline int inReadOnlyFolder(const std::filesystem::path& folder,
                            const std::function<int()>& check) {
    const pid_t child = ::fork();
    if (child == 0) {
        const char* dir = folder.c_str();
        if (::unshare(CLONE_NEWNS) != 0 ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount(dir, dir, nullptr, MS_BIND, nullptr) != 0 ||
            ::mount(nullptr, dir, nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0) {
            ::_exit(kNoMountNamespace);
        }
        ::_exit(check());
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
        return -1;
    }
    return WEXITSTATUS(status);
}

// Runs `check` in a child that sees `folder` as an empty file system of `bytes` bytes (tmpfs),
// which fills up as a full disk does; returns as inReadOnlyFolder does.
inline int inSmallFolder(const std::filesystem::path& folder, std::size_t bytes,
                         const std::function<int()>& check) {
    const pid_t child = ::fork();
    if (child == 0) {
        const std::string size = "size=" + std::to_string(bytes);
        if (::unshare(CLONE_NEWNS) != 0 ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("tmpfs", folder.c_str(), "tmpfs", 0, size.c_str()) != 0) {
            ::_exit(kNoMountNamespace);
        }
        ::_exit(check());
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
        return -1;
    }
    return WEXITSTATUS(status);
}

}  // namespace editor::testing
