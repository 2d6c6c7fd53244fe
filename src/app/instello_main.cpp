// instello: the installer. Until its windows exist, it installs unattended into a sandbox
// machine (see installer/unattended/unattended.h); without --unattended it prints its usage.

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "installer/unattended/unattended.h"

namespace {

// Ctrl+C asks the installation to cancel (and roll back) instead of killing it half-way.
std::atomic<bool> interrupted{false};

extern "C" void onInterrupt(int) {
    interrupted.store(true);
}

std::filesystem::path programFolder(const char* argv0) {
    std::error_code ec;
    auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) {
        self = std::filesystem::absolute(argv0, ec);
    }
    return self.parent_path();
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
            std::raise(SIGKILL);
        }
    };
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    bool unattended = false;
    for (const auto& arg : args) {
        unattended = unattended || arg == "--unattended";
    }
    if (!unattended) {
        std::cerr << installer::unattendedUsage();
        return 2;
    }
    std::signal(SIGINT, onInterrupt);
    std::signal(SIGTERM, onInterrupt);
    installer::UnattendedHooks hooks;
    hooks.interrupted = [] { return interrupted.load(); };
    hooks.journalRecord = killAt("INSTELLO_TEST_KILL_AT_RECORD");
    hooks.undoStep = killAt("INSTELLO_TEST_KILL_AT_UNDO_STEP");
    return installer::runUnattended(args, programFolder(argv[0]), std::cout, std::cerr, hooks);
}
