#pragma once

// The machine an installation goes to and the installer's folder on it, as every front end
// chooses them: with a sandbox folder (--root) that sandbox (see sandbox_machine.h); without,
// the computer itself where this build has a system layer for it, the source then being one
// of its folders (a Windows path).

#include <filesystem>
#include <memory>
#include <string>

#include "installer/system/sandbox/sandbox_system.h"
#include "installer/system/system.h"

namespace installer {

struct InstallMachine {
    std::unique_ptr<system::System> sys;       // null when it could not be opened
    system::SandboxSystem* sandbox = nullptr;  // `sys` when it is a sandbox
    std::string source;                        // the installer's folder, a Windows path
    std::filesystem::path mountedFrom;         // the host folder behind `source`, if any
    std::string error;                         // why it could not be opened
};

// `root` empty: this computer; `source` empty: `programFolder`, the host folder of the running
// installer.
InstallMachine openInstallMachine(const std::filesystem::path& root, const std::string& source,
                                  const std::filesystem::path& programFolder);

}  // namespace installer
