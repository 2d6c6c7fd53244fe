#include "installer/flow/install_machine.h"

#include "installer/flow/sandbox_machine.h"
#include "installer/system/this_machine.h"

namespace installer {

InstallMachine openInstallMachine(const std::filesystem::path& root, const std::string& source,
                                  const std::filesystem::path& programFolder) {
    InstallMachine machine;
    if (!root.empty()) {
        SandboxMachine sandbox = openSandboxMachine(root, source, programFolder);
        machine.error = std::move(sandbox.error);
        machine.source = std::move(sandbox.source);
        machine.mountedFrom = std::move(sandbox.mountedFrom);
        machine.sandbox = sandbox.sys.get();
        machine.sys = std::move(sandbox.sys);
        return machine;
    }
    machine.sys = system::openThisMachine();
    if (!machine.sys) {
        machine.error =
            "--root SANDBOX is required: this build installs into sandbox machines only";
        return machine;
    }
    const std::string folder = source.empty() ? programFolder.string() : source;
    if (!isWindowsPath(folder) || !machine.sys->folderExists(folder)) {
        machine.sys.reset();
        machine.error = "the source folder " + folder + " cannot be used";
        return machine;
    }
    machine.source = normalizeFolder(folder);
    return machine;
}

}  // namespace installer
