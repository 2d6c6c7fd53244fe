// instello: the installer. With --unattended it installs without windows into a sandbox
// machine (see installer/unattended/unattended.h); otherwise it opens its windows over one
// (app/instello_windows.h). --uninstall removes the installed product, with or without
// windows. --help prints the usage on standard output with status 0.

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "app/instello_windows.h"
#include "installer/system/abrupt_end.h"
#include "installer/unattended/unattended.h"
#include "ui/program_folders.h"

namespace {

// Ctrl+C asks the installation to cancel (and roll back) instead of killing it half-way.
std::atomic<bool> interrupted{false};

extern "C" void onInterrupt(int) {
    interrupted.store(true);
}

// For the crash tests: INSTELLO_TEST_KILL_AT_RECORD=N (or ..._AT_UNDO_STEP=N) kills the
// process, as a power cut would stop it, right after journal record N has reached the disk
// (or right before step N of undoing an interrupted installation).
std::function<void(std::size_t)> killAt(const char* variable) {
    const char* value = std::getenv(variable);
    const long at = value ? std::strtol(value, nullptr, 10) : 0;
    if (at <= 0) {
        return {};
    }
    return [at](std::size_t n) {
        if (static_cast<long>(n) == at) {
            installer::system::endProcessAbruptly();
        }
    };
}

}  // namespace

int main(int argc, char** argv) {
    connectConsole();
    const std::vector<std::string> args(argv + 1, argv + argc);
    bool unattended = false;
    bool uninstall = false;
    for (const auto& arg : args) {
        if (arg == "--help" || arg == "-h") {
            std::cout << installer::unattendedUsage();
            return 0;
        }
        unattended = unattended || arg == "--unattended";
        uninstall = uninstall || arg == "--uninstall";
    }
    // The program folder is where the installer's files are, as built or as installed.
    const ui::ProgramFolders folders = ui::programFolders(ui::executableFolder(argv[0]));
    if (!unattended && uninstall) {
        return runUninstallerWindows(argc, argv, args, folders.program);
    }
    if (!unattended) {
        return runInstallerWindows(argc, argv, args, folders.program);
    }
    std::signal(SIGINT, onInterrupt);
    std::signal(SIGTERM, onInterrupt);
    installer::UnattendedHooks hooks;
    hooks.interrupted = [] { return interrupted.load(); };
    hooks.journalRecord = killAt("INSTELLO_TEST_KILL_AT_RECORD");
    hooks.undoStep = killAt("INSTELLO_TEST_KILL_AT_UNDO_STEP");
    return installer::runUnattended(args, folders.program, std::cout, std::cerr, hooks);
}
