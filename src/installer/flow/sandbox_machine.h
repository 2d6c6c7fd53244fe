#pragma once

// The machine an installation goes to when it is not the real one: a sandbox folder (see
// system/sandbox), with the installer's own folder on it. Both front ends open it the same
// way, so that the windows and `--unattended` install the same bytes.

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "installer/system/sandbox/sandbox_system.h"

namespace installer {

struct SandboxMachine {
    std::unique_ptr<system::SandboxSystem> sys;  // null when it could not be opened
    std::string source;                          // the installer's folder, a Windows path
    std::filesystem::path mountedFrom;           // the host folder behind `source`, if any
    std::string error;                           // why it could not be opened
};

// Opens (or makes) the sandbox at `root` with the TeX system's stand-in libraries. `source`
// is either a Windows path on the machine ("C:\SETUP") or a host folder, mounted read-only as
// the first free drive; empty: `programFolder`, the host folder of the running installer.
SandboxMachine openSandboxMachine(const std::filesystem::path& root, const std::string& source,
                                  const std::filesystem::path& programFolder);

// The Windows path of a host folder that lies on one of the sandbox's drives ("C:\\a\\b\\"); none
// for a folder outside them. A folder picker of the host shows the drives as they are.
std::optional<std::string> windowsPathOf(system::SandboxSystem& sys,
                                         const std::filesystem::path& host);

// Whether `path` starts like a Windows path ("C:\" or "C:/").
bool isWindowsPath(std::string_view path);

// A folder as the folder picker gives it: backslashes only, one between elements and one at
// the end ("C:/Scuola//Tattilo" -> "C:\Scuola\Tattilo\"); on a drive, "." and ".." are
// resolved without leaving it ("C:\a\..\b" -> "C:\b\", see canonicalPath).
std::string normalizeFolder(std::string_view path);

}  // namespace installer
