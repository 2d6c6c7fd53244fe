#include <iostream>

#include "app/instello_windows.h"
#include "installer/messages.h"
#include "installer/unattended/unattended.h"
#include "win32gui/console.h"
#include "win32gui/installer/installer_app.h"
#include "win32gui/message_loop.h"
#include "win32gui/native.h"
#include "win32gui/start_failure.h"

namespace {

void startFailed(const std::string& why) {
    win32gui::reportStartFailure("instello", installer::msg::kInstallerCaption, why);
}

}  // namespace

void connectConsole() {
    win32gui::connectStandardStreams();
}

// The Windows build: native windows, into this computer or, with --root, into a sandbox.
int runInstallerWindows(int, char**, const std::vector<std::string>& args,
                        const std::filesystem::path& programFolder) {
    win32gui::InstallerOptions options;
    options.programFolder = programFolder;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const bool hasValue = i + 1 < args.size();
        if (args[i] == "--root" && hasValue) {
            options.root = args[++i];
        } else if (args[i] == "--source" && hasValue) {
            options.source = args[++i];
        } else {
            startFailed("unknown option " + args[i] + "\n" + installer::unattendedUsage());
            return installer::kExitNotStarted;
        }
    }
    // COM for the shell's folder picker, the shell links and the accessibility annotations.
    OleInitialize(nullptr);
    // A window that cannot be made (no display driver, no memory) ends the run with its
    // reason; whatever was copied by then is in the journal, which the next start undoes.
    const int status = win32gui::runReportingFailure(
        "instello", installer::msg::kInstallerCaption, installer::msg::kWindowsFailed, [&options] {
            win32gui::InstallerApp installer(options);
            installer.onFinished = [] { PostQuitMessage(0); };
            if (!installer.start()) {
                if (!installer.error().empty()) {
                    startFailed(installer.error());
                }
            } else if (!installer.finished()) {
                win32gui::runMessageLoop();
            }
            return installer.exitStatus();
        });
    OleUninitialize();
    return status;
}
