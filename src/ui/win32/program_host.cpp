// The running process on Windows: its environment and its executable.

#include "ui/program_folders.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <system_error>
#include <vector>

namespace ui {

ProgramHost systemHost() {
    ProgramHost host;
    host.variable = environmentVariable;
    // A folder may be written when a file can be made in it.
    host.writable = [](const std::filesystem::path& folder) {
        std::error_code ec;
        if (!std::filesystem::is_directory(folder, ec)) {
            return false;
        }
        wchar_t probe[MAX_PATH];
        if (GetTempFileNameW(folder.c_str(), L"tat", 0, probe) == 0) {
            return false;
        }
        DeleteFileW(probe);
        return true;
    };
    return host;
}

std::filesystem::path recoveryFolder(const ProgramHost& host) {
    for (const char* variable : {"LOCALAPPDATA", "APPDATA"}) {
        if (const auto value = host.variable(variable); value && !value->empty()) {
            // The environment is in the ANSI code page, as the rest of the program's names.
            return std::filesystem::path(*value) / "Tattilo" / "recupero";
        }
    }
    return {};
}

std::filesystem::path executableFolder(const char* argv0) {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            break;
        }
        if (length < buffer.size()) {
            return std::filesystem::path(std::wstring(buffer.data(), length)).parent_path();
        }
        buffer.resize(buffer.size() * 2);
    }
    std::error_code ec;
    std::filesystem::path self = std::filesystem::absolute(argv0 != nullptr ? argv0 : "", ec);
    return self.lexically_normal().parent_path();
}

}  // namespace ui
