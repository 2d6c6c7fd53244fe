// instello: the installer. Until its windows exist, it installs unattended into a sandbox
// machine (see installer/unattended.h); without --unattended it prints its usage (on standard
// output with status 0 when asked for with --help).

#include <atomic>
#include <csignal>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "installer/unattended.h"
#include "ui/program_folders.h"

namespace {

// Ctrl+C asks the installation to cancel (and roll back) instead of killing it half-way.
std::atomic<bool> interrupted{false};

extern "C" void onInterrupt(int) {
    interrupted.store(true);
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    bool unattended = false;
    for (const auto& arg : args) {
        if (arg == "--help" || arg == "-h") {
            std::cout << installer::unattendedUsage();
            return 0;
        }
        unattended = unattended || arg == "--unattended";
    }
    if (!unattended) {
        std::cerr << installer::unattendedUsage();
        return 2;
    }
    std::signal(SIGINT, onInterrupt);
    std::signal(SIGTERM, onInterrupt);
    // The program folder is where the installer's files are, as built or as installed.
    const ui::ProgramFolders folders = ui::programFolders(ui::executableFolder(argv[0]));
    return installer::runUnattended(args, folders.program, std::cout, std::cerr,
                                    [] { return interrupted.load(); });
}
