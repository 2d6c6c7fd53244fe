// The recovery lock on Windows: a file of the recovery folder opened without any sharing, which
// Windows closes when the process ends. Nobody else can open it meanwhile.

#include <cerrno>

#include "editor/recovery/instance_lock.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace editor {
namespace {

HANDLE openLock(const std::filesystem::path& file, DWORD disposition) {
    return CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, disposition,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

int errnoOf(DWORD error) {
    switch (error) {
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return EEXIST;
        case ERROR_ACCESS_DENIED:
        case ERROR_WRITE_PROTECT:
            return EACCES;
        case ERROR_PATH_NOT_FOUND:
        case ERROR_FILE_NOT_FOUND:
            return ENOENT;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return ENOSPC;
        default:
            return EIO;
    }
}

}  // namespace

std::optional<InstanceLock> InstanceLock::create(const std::filesystem::path& file, int& error) {
    const HANDLE handle = openLock(file, CREATE_NEW);
    if (handle == INVALID_HANDLE_VALUE) {
        error = errnoOf(GetLastError());
        return std::nullopt;
    }
    error = 0;
    return InstanceLock(file, reinterpret_cast<std::intptr_t>(handle));
}

std::optional<InstanceLock> InstanceLock::takeOver(const std::filesystem::path& file) {
    HANDLE handle = openLock(file, OPEN_ALWAYS);
    if (handle == INVALID_HANDLE_VALUE && GetLastError() != ERROR_SHARING_VIOLATION) {
        // A read-only folder or file: held for reading, which still shuts others out.
        handle = CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE && GetLastError() == ERROR_FILE_NOT_FOUND) {
            // No lock file, and none can be made: no running program holds one.
            return InstanceLock(file, -1);
        }
    }
    if (handle == INVALID_HANDLE_VALUE) {
        return std::nullopt;  // a sharing violation: its program still runs
    }
    return InstanceLock(file, reinterpret_cast<std::intptr_t>(handle));
}

void InstanceLock::release(bool removeFile) {
    if (handle_ == -1) {
        return;
    }
    CloseHandle(reinterpret_cast<HANDLE>(handle_));
    handle_ = -1;
    // Removed once closed: a file open without sharing cannot be deleted. Whoever takes it
    // in between holds it, and the removal then fails harmlessly.
    if (removeFile) {
        DeleteFileW(file_.c_str());
    }
}

}  // namespace editor
