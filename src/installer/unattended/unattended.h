#pragma once

// `instello --unattended`: one installation without windows, on a sandbox machine, doing all
// that the windows would do. Every message is printed; every question is answered with its
// default, printed beside it (see options.h for the command line and console.h for the
// answers); progress goes to standard output (and the log).
//
// Exit status: 0 installed (with --recover: nothing is left interrupted), 1 the installation
// could not start, 2 declined or cancelled before copying, 3 an interrupted installation
// could not be undone completely, 4 failed (rolled back), 5 cancelled while copying (rolled
// back). With --uninstall the same for the removal (0 removed, 1 nothing to remove).

#include <cstddef>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <span>
#include <string>

#include "installer/flow/install_flow.h"
#include "installer/unattended/options.h"

namespace installer {

constexpr int kExitInstalled = 0;
constexpr int kExitNotStarted = 1;
constexpr int kExitDeclined = 2;
constexpr int kExitNotRecovered = 3;
constexpr int kExitFailed = 4;
constexpr int kExitCancelled = 5;

// The exit status of a run that ended so; the windows end with the same.
int exitStatusOf(FlowResult result);

struct UnattendedHooks {
    // Asked whether the user wants to stop (Ctrl+C): before copying the run ends, while
    // copying it is cancelled and rolled back, while external programs run it is refused.
    std::function<bool()> interrupted;
    // Called after each journal record is on the disk and before its change is made, and
    // before each step of undoing an interrupted installation, with their numbers from 1:
    // lets a test stop the process at any of them.
    std::function<void(std::size_t)> journalRecord;
    std::function<void(std::size_t)> undoStep;
};

// Runs an unattended installation with the arguments after the program name (including
// "--unattended"). `programFolder` is the host folder of the running installer, the source
// when --source is not given.
int runUnattended(std::span<const std::string> args, const std::filesystem::path& programFolder,
                  std::ostream& out, std::ostream& err, const UnattendedHooks& hooks = {});

class Console;
// The part of runUnattended() for --uninstall: the removal of the installed product, with the
// exit status of an installation's run (0 removed; see options.cpp).
int runUnattendedUninstall(const UnattendedOptions& options,
                           const std::filesystem::path& programFolder, Console& console,
                           std::ostream& err, const UnattendedHooks& hooks);

}  // namespace installer
