// The running process on a POSIX system: its environment, its home and its executable.

#include "ui/program_folders.h"

#include <pwd.h>
#include <unistd.h>

#include <system_error>

namespace ui {

ProgramHost systemHost() {
    ProgramHost host;
    host.variable = [](const char* name) -> std::optional<std::string> {
        if (auto value = environmentVariable(name)) {
            return value;
        }
        if (std::string_view(name) == "HOME") {
            if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir) {
                return std::string(entry->pw_dir);
            }
        }
        return std::nullopt;
    };
    host.writable = [](const std::filesystem::path& folder) {
        return ::access(folder.c_str(), W_OK | X_OK) == 0;
    };
    return host;
}

std::filesystem::path recoveryFolder(const ProgramHost& host) {
    std::filesystem::path state;
    if (const auto value = host.variable("XDG_STATE_HOME");
        value && !value->empty() && (*value)[0] == '/') {
        state = *value;
    } else if (const auto home = host.variable("HOME"); home && !home->empty()) {
        state = std::filesystem::path(*home) / ".local" / "state";
    } else {
        return {};
    }
    return state / "tattilo" / "recupero";
}

std::filesystem::path executableFolder(const char* argv0) {
    std::error_code ec;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec || self.empty()) {
        self = std::filesystem::absolute(argv0 != nullptr ? argv0 : "", ec);
    }
    return self.lexically_normal().parent_path();
}

}  // namespace ui
