#include "app/instello_windows.h"
#include "installer/messages.h"
#include "installer/unattended/unattended.h"
#include "win32gui/installer/uninstaller_app.h"
#include "win32gui/message_loop.h"
#include "win32gui/native.h"
#include "win32gui/start_failure.h"

// The Windows build: the windows that remove the installed product from this computer (the
// list of programs runs BIN\INSTELLO.EXE --uninstall) or, with --root, from a sandbox.
int runUninstallerWindows(int, char**, const std::vector<std::string>& args,
                          const std::filesystem::path& programFolder) {
    win32gui::UninstallerOptions options;
    options.programFolder = programFolder;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const bool hasValue = i + 1 < args.size();
        if (args[i] == "--uninstall") {
            continue;
        }
        if (args[i] == "--root" && hasValue) {
            options.root = args[++i];
        } else if (args[i] == "--source" && hasValue) {
            options.source = args[++i];
        } else if (args[i] == "--product" && hasValue) {
            options.product = args[++i];
        } else {
            win32gui::reportStartFailure(
                "instello", installer::msg::kInstallerCaption,
                "unknown option " + args[i] + "\n" + installer::unattendedUsage());
            return installer::kExitNotStarted;
        }
    }
    OleInitialize(nullptr);
    // A window that cannot be made ends the run with its reason; a removal begun by then is in
    // the journal, which the next start undoes.
    const int status = win32gui::runReportingFailure(
        "instello", installer::msg::kInstallerCaption, installer::msg::kWindowsFailed, [&options] {
            win32gui::UninstallerApp uninstaller(options);
            uninstaller.onFinished = [] { PostQuitMessage(0); };
            if (!uninstaller.start()) {
                if (!uninstaller.error().empty()) {
                    win32gui::reportStartFailure("instello", installer::msg::kInstallerCaption,
                                                 uninstaller.error());
                }
            } else if (!uninstaller.finished()) {
                win32gui::runMessageLoop();
            }
            return uninstaller.exitStatus();
        });
    OleUninitialize();
    return status;
}
