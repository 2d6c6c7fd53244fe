// The host's files on Windows, through the wide-character calls.

#include "installer/system/host_io.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace installer::system {

namespace fs = std::filesystem;

namespace {

// FILETIME counts 100 ns steps since 1601-01-01; FileTime nanoseconds since 1970-01-01.
constexpr std::int64_t kEpochSteps = 116444736000000000LL;

class HostReadFile : public ReadFile {
public:
    explicit HostReadFile(HANDLE handle) : handle_(handle) {}
    ~HostReadFile() override { CloseHandle(handle_); }
    std::optional<std::size_t> read(char* buffer, std::size_t size) override {
        DWORD got = 0;
        const DWORD want = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
        if (!::ReadFile(handle_, buffer, want, &got, nullptr)) {
            return std::nullopt;
        }
        return static_cast<std::size_t>(got);
    }

private:
    HANDLE handle_;
};

class HostWriteFile : public WriteFile {
public:
    explicit HostWriteFile(HANDLE handle) : handle_(handle) {}
    ~HostWriteFile() override {
        if (handle_ != INVALID_HANDLE_VALUE) {
            CloseHandle(handle_);
        }
    }
    bool write(const char* data, std::size_t size) override {
        while (size > 0) {
            const DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
            DWORD put = 0;
            if (!::WriteFile(handle_, data, chunk, &put, nullptr) || put == 0) {
                return false;
            }
            data += put;
            size -= put;
        }
        return true;
    }
    bool flush() override {
        return handle_ != INVALID_HANDLE_VALUE && FlushFileBuffers(handle_) != 0;
    }
    bool close() override {
        const HANDLE handle = handle_;
        handle_ = INVALID_HANDLE_VALUE;
        return handle != INVALID_HANDLE_VALUE && CloseHandle(handle) != 0;
    }

private:
    HANDLE handle_;
};

}  // namespace

std::unique_ptr<ReadFile> openHostRead(const fs::path& path) {
    const HANDLE handle = CreateFileW(path.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return nullptr;
    }
    return std::make_unique<HostReadFile>(handle);
}

std::unique_ptr<WriteFile> openHostWrite(const fs::path& path) {
    const HANDLE handle = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return nullptr;
    }
    return std::make_unique<HostWriteFile>(handle);
}

std::unique_ptr<WriteFile> openHostLocked(const fs::path& path, bool& busy) {
    busy = false;
    // While this handle is open nobody else may open the file for writing (a second lock
    // fails with a sharing violation), but it may be read, and removed once its work is done,
    // as an advisory lock allows; Windows closes the handle when the process ends, however it
    // ends.
    const HANDLE handle =
        CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        busy = GetLastError() == ERROR_SHARING_VIOLATION;
        return nullptr;
    }
    return std::make_unique<HostWriteFile>(handle);
}

bool hostFileInUse(const fs::path& path) {
    // A running program's file cannot be opened for writing; nor can one that a program keeps
    // open without letting others write.
    const HANDLE handle = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
        CloseHandle(handle);
        return false;
    }
    return GetLastError() == ERROR_SHARING_VIOLATION;
}

bool deleteHostFile(const fs::path& path) {
    return DeleteFileW(path.c_str()) != 0;
}

bool replaceHostFile(const fs::path& from, const fs::path& to) {
    return MoveFileExW(from.c_str(), to.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool createHostFolder(const fs::path& path) {
    return CreateDirectoryW(path.c_str(), nullptr) != 0;
}

bool removeHostFolder(const fs::path& path) {
    return RemoveDirectoryW(path.c_str()) != 0;
}

std::optional<FileTime> hostFileTime(const fs::path& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
        return std::nullopt;
    }
    const std::int64_t steps =
        (static_cast<std::int64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
        data.ftLastWriteTime.dwLowDateTime;
    return FileTime{(steps - kEpochSteps) * 100};
}

bool setHostFileTime(const fs::path& path, FileTime time) {
    // Backup semantics let the same call set a folder's time.
    const HANDLE handle =
        CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    const std::int64_t steps = time.nanoseconds / 100 + kEpochSteps;
    FILETIME written;
    written.dwLowDateTime = static_cast<DWORD>(steps & 0xFFFFFFFF);
    written.dwHighDateTime = static_cast<DWORD>(static_cast<std::uint64_t>(steps) >> 32);
    const bool done = SetFileTime(handle, nullptr, nullptr, &written) != 0;
    CloseHandle(handle);
    return done;
}

}  // namespace installer::system
