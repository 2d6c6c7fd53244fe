#pragma once

// Where the programs find the files that ship with them, and where the workbench keeps the
// files it writes. Two layouts:
// - Beside the programs (the build folder, or a copy of it anywhere): the shipped files lie in
//   the executable's folder, which is the program directory; tattilo.ini and the exercise
//   folder are written there too, as long as that folder is writable.
// - Installed (PREFIX/bin/tattilo with PREFIX/share/tattilo): the shipped files lie in
//   PREFIX/share/tattilo, which is the program directory. An installed program never writes
//   there, not even as root: tattilo.ini lives in $XDG_CONFIG_HOME/tattilo and the exercise
//   folder in $XDG_DATA_HOME/tattilo (~/.config and ~/.local/share when unset or relative).
// A program folder that cannot be written is treated like an installed one for what is written.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace ui {

struct ProgramFolders {
    std::filesystem::path program;    // the program directory: help pages, filter file, fonts
    std::filesystem::path settings;   // the folder of the settings file
    std::filesystem::path documents;  // the folder where the default exercise folder is made
    bool installed = false;           // the Linux layout, PREFIX/share/tattilo
};

// What the folders depend on: environment variables and whether a folder may be written.
// Tests give their own.
struct ProgramHost {
    std::function<std::optional<std::string>(const char* name)> variable;
    std::function<bool(const std::filesystem::path& folder)> writable;
};

// A variable of the running process's environment; none when it is unset.
std::optional<std::string> environmentVariable(const char* name);

// The running process's environment, its home folder (from the password database when HOME is
// unset) and access(2); on Windows the environment and whether a file can be made in a folder.
ProgramHost systemHost();

// The folder of the running executable: /proc/self/exe resolved (GetModuleFileName on
// Windows), else `argv0` made absolute.
std::filesystem::path executableFolder(const char* argv0);

// The folder of the workbench's recovery copies of unsaved documents, the user's own in either
// layout: $XDG_STATE_HOME/tattilo/recupero (~/.local/state/tattilo/recupero when unset or
// relative) on Linux, %LOCALAPPDATA%\Tattilo\recupero on Windows (%APPDATA% when that is unset).
// Empty when the system names no such folder.
std::filesystem::path recoveryFolder(const ProgramHost& host = systemHost());

// The folders of a program whose executable lies in `executableFolder`.
ProgramFolders programFolders(const std::filesystem::path& executableFolder,
                              const ProgramHost& host = systemHost());

// Prepares the settings file `settingsName` in `folders.settings` for a first start: the folder
// is made when missing, and when there is no settings file yet `defaultsName` of the program
// directory, if there is one, is copied in its place. An existing settings file is never
// touched. Returns an empty string, or why the folder or the copy could not be made.
std::string prepareSettingsFile(const ProgramFolders& folders, std::string_view settingsName,
                                std::string_view defaultsName);

}  // namespace ui
