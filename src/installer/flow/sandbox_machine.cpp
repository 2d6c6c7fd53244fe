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

std::optional<std::string> windowsPathOf(system::SandboxSystem& sys,
                                         const std::filesystem::path& host) {
    std::error_code ec;
    const auto target = std::filesystem::weakly_canonical(host, ec);
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        const auto root = sys.hostPath(std::string(1, letter) + ":\\");
        if (!root) {
            continue;
        }
        const auto base = std::filesystem::weakly_canonical(*root, ec);
        const auto relative = target.lexically_relative(base);
        if (!relative.empty() && *relative.begin() != "..") {
            std::string path = std::string(1, letter) + ":\\";
            for (const auto& part : relative) {
                if (part != ".") {
                    path += part.string() + "\\";
                }
            }
            return path;
        }
    }
    return std::nullopt;
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
