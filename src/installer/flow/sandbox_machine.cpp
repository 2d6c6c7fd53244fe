#include "installer/flow/sandbox_machine.h"

#include <exception>

#include "installer/tex/stand_ins.h"
#include "installer/win_path.h"

namespace installer {

bool isWindowsPath(std::string_view path) {
    return path.size() >= 3 && path[1] == ':' && (path[2] == '\\' || path[2] == '/') &&
           ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

std::string normalizeFolder(std::string_view path) {
    if (isWindowsPath(path)) {
        return withBackslash(canonicalPath(path));
    }
    std::string out;
    for (char c : path) {
        if (c == '/') {
            c = '\\';
        }
        if (c == '\\' && !out.empty() && out.back() == '\\') {
            continue;
        }
        out += c;
    }
    return withBackslash(out);
}

SandboxMachine openSandboxMachine(const std::filesystem::path& root, const std::string& source,
                                  const std::filesystem::path& programFolder) {
    SandboxMachine machine;
    try {
        machine.sys = std::make_unique<system::SandboxSystem>(root);
        tex::registerTexStandIns(*machine.sys);
    } catch (const std::exception& e) {
        machine.sys.reset();
        machine.error = e.what();
        return machine;
    }
    // A Windows path names a folder of the sandbox when the sandbox has it; otherwise the
    // source is a folder of the host (on Windows its paths are Windows paths too).
    std::error_code ec;
    if (isWindowsPath(source) &&
        (machine.sys->folderExists(source) || !std::filesystem::is_directory(source, ec))) {
        machine.source = normalizeFolder(source);
    } else {
        const std::filesystem::path host =
            source.empty() ? programFolder : std::filesystem::path(source);
        const auto letter = machine.sys->freeDriveLetter();
        if (!std::filesystem::is_directory(host, ec) || !letter ||
            !machine.sys->mountFolder(*letter, host, false)) {
            machine.sys.reset();
            machine.error = "the source folder " + host.string() + " cannot be used";
            return machine;
        }
        machine.source = std::string(1, *letter) + ":\\";
        machine.mountedFrom = std::filesystem::absolute(host);
    }
    machine.sys->setProgramFolder(machine.source);
    return machine;
}

}  // namespace installer
