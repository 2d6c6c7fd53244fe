// instello: the installer. Until its windows exist, it installs unattended into a sandbox
// machine (see installer/unattended.h); without --unattended it prints its usage.

#include <atomic>
#include <csignal>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "installer/unattended.h"

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
    return installer::runUnattended(args, programFolder(argv[0]), std::cout, std::cerr,
                                    [] { return interrupted.load(); });
}
