// File names and durable writes on Windows, where a path holds the name in UTF-16 already: the
// name the program gave is the name on disk.

#include "editor/file_io.h"
#include "editor/file_sync.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cerrno>

namespace editor {

namespace fs = std::filesystem;

int syncToDisk(const fs::path& file) {
    const HANDLE handle =
        CreateFileW(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return EIO;
    }
    const bool flushed = FlushFileBuffers(handle) != 0;
    CloseHandle(handle);
    return flushed ? 0 : EIO;
}

fs::path systemPath(const fs::path& name) {
    return name;
}

// The narrow names of the C runtime are in the ANSI code page, code page 1252 on the Italian
// Windows the program is made for.
std::string programName(std::string_view systemName) {
    return std::string(systemName);
}

}  // namespace editor
