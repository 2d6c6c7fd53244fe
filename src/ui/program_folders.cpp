#include "ui/program_folders.h"

#include <cstdlib>
#include <system_error>

namespace ui {
namespace {

constexpr std::string_view kName = "tattilo";

// An XDG base folder: the variable when it names an absolute path, else HOME + fallback.
std::filesystem::path baseFolder(const ProgramHost& host, const char* variable,
                                 std::string_view fallback) {
    if (const auto value = host.variable(variable);
        value && !value->empty() && (*value)[0] == '/') {
        return *value;
    }
    const auto home = host.variable("HOME");
    if (!home || home->empty()) {
        return {};
    }
    return std::filesystem::path(*home) / std::string(fallback);
}

}  // namespace

std::optional<std::string> environmentVariable(const char* name) {
    if (const char* value = std::getenv(name)) {
        return std::string(value);
    }
    return std::nullopt;
}

ProgramFolders programFolders(const std::filesystem::path& executableFolder,
                              const ProgramHost& host) {
    ProgramFolders folders;
    std::error_code ec;
    const std::filesystem::path shared =
        (executableFolder / ".." / "share" / std::string(kName)).lexically_normal();
    folders.installed =
        executableFolder.filename() == "bin" && std::filesystem::is_directory(shared, ec);
    folders.program = folders.installed ? shared : executableFolder;
    folders.settings = folders.documents = folders.program;
    if (folders.installed || !host.writable(executableFolder)) {
        const auto config = baseFolder(host, "XDG_CONFIG_HOME", ".config");
        const auto data = baseFolder(host, "XDG_DATA_HOME", ".local/share");
        // Without any home the writes go where they always went and fail with their warning.
        if (!config.empty() && !data.empty()) {
            folders.settings = config / std::string(kName);
            folders.documents = data / std::string(kName);
        }
    }
    return folders;
}

std::string prepareSettingsFile(const ProgramFolders& folders, std::string_view settingsName,
                                std::string_view defaultsName) {
    std::error_code ec;
    std::filesystem::create_directories(folders.settings, ec);
    if (ec) {
        return folders.settings.string() + ": " + ec.message();
    }
    const std::filesystem::path settings = folders.settings / std::string(settingsName);
    const std::filesystem::path defaults = folders.program / std::string(defaultsName);
    if (std::filesystem::exists(settings, ec) || !std::filesystem::is_regular_file(defaults, ec)) {
        return {};
    }
    std::filesystem::copy_file(defaults, settings, std::filesystem::copy_options::skip_existing,
                               ec);
    if (ec) {
        return settings.string() + ": " + ec.message();
    }
    // The copy of a read-only shipped file must stay writable: it is rewritten at every close.
    std::filesystem::permissions(
        settings, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write,
        std::filesystem::perm_options::add, ec);
    return {};
}

}  // namespace ui
