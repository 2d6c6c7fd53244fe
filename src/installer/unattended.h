#pragma once

// `instello --unattended`: one installation without windows, on a sandbox machine. Every
// message is printed; every question is answered with its default, printed beside it;
// progress goes to standard output (and the log).
//
//   instello --unattended --root SANDBOX [--source DIR] [--target PATH]
//            [--components NAMES] [--check-optional] [--accept-license] [--log FILE]
//
// Exit status: 0 installed, 1 the installation could not start, 2 declined or cancelled
// before copying, 4 failed while copying (rolled back), 5 cancelled while copying (rolled
// back).

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <span>
#include <string>

namespace installer {

constexpr int kExitInstalled = 0;
constexpr int kExitNotStarted = 1;
constexpr int kExitDeclined = 2;
constexpr int kExitFailed = 4;
constexpr int kExitCancelled = 5;

// The usage text of instello.
std::string unattendedUsage();

// Runs an unattended installation with the arguments after the program name (including
// "--unattended"). `programFolder` is the host folder of the running installer, the source
// when --source is not given. `interrupted`, when given, is asked whether the user wants to
// stop (Ctrl+C): before copying the run ends, while copying it is cancelled and rolled back.
int runUnattended(std::span<const std::string> args, const std::filesystem::path& programFolder,
                  std::ostream& out, std::ostream& err, std::function<bool()> interrupted = {});

}  // namespace installer
