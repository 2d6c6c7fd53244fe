#include "app/instello_windows.h"
#include "installer/messages.h"
#include "installer/unattended/unattended.h"
#include "win32gui/console.h"
#include "win32gui/installer/installer_app.h"
#include "win32gui/installer/uninstaller_app.h"
#include "win32gui/message_loop.h"
#include "win32gui/native.h"
#include "win32gui/start_failure.h"

// The Windows build: native windows, into this computer or, with --root, into a sandbox; the
// removal's windows are started by the list of programs (BIN\INSTELLO.EXE --uninstall).

namespace {

void startFailed(const std::string& why) {
    win32gui::reportStartFailure("instello", installer::msg::kInstallerCaption, why);
}

// The installer's or the removal's windows until their run is over; the exit status.
template <class App, class Options>
int runWindows(const std::vector<std::string>& args, const std::filesystem::path& programFolder) {
    const WindowOptions given = parseWindowOptions(args, kRemovalOptions<Options>);
    if (!given.unknown.empty()) {
        startFailed("unknown option " + given.unknown + "\n" + installer::unattendedUsage());
        return installer::kExitNotStarted;
    }
    const auto options = windowsOptionsOf<Options>(given, programFolder);
    // COM for the shell's folder picker, the shell links and the accessibility annotations.
    OleInitialize(nullptr);
    // A window that cannot be made (no display driver, no memory) ends the run with its
    // reason; whatever was copied or removed by then is in the journal, which the next start
    // undoes.
    const int status = win32gui::runReportingFailure(
        "instello", installer::msg::kInstallerCaption, installer::msg::kWindowsFailed, [&options] {
            App windows(options);
            return runUntilFinished(
                windows, [] { PostQuitMessage(0); }, [] { win32gui::runMessageLoop(); },
                startFailed);
        });
    OleUninitialize();
    return status;
}

}  // namespace

void connectConsole() {
    win32gui::connectStandardStreams();
}

int runInstallerWindows(int, char**, const std::vector<std::string>& args,
                        const std::filesystem::path& programFolder) {
    return runWindows<win32gui::InstallerApp, win32gui::InstallerOptions>(args, programFolder);
}

int runUninstallerWindows(int, char**, const std::vector<std::string>& args,
                          const std::filesystem::path& programFolder) {
    return runWindows<win32gui::UninstallerApp, win32gui::UninstallerOptions>(args, programFolder);
}
