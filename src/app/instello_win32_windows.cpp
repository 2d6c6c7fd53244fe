#include <iostream>

#include "app/instello_windows.h"
#include "installer/unattended/unattended.h"
#include "win32gui/installer/installer_app.h"
#include "win32gui/message_loop.h"
#include "win32gui/native.h"

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
            std::cerr << "instello: unknown option " << args[i] << "\n"
                      << installer::unattendedUsage();
            return installer::kExitNotStarted;
        }
    }
    // Started from the desktop, the program has a console of its own that nobody reads: it goes.
    DWORD processes[2] = {};
    if (GetConsoleProcessList(processes, 2) == 1) {
        FreeConsole();
    }
    // COM for the shell's folder picker, the shell links and the accessibility annotations.
    OleInitialize(nullptr);
    int status = installer::kExitNotStarted;
    {
        win32gui::InstallerApp installer(options);
        installer.onFinished = [] { PostQuitMessage(0); };
        if (!installer.start()) {
            if (!installer.error().empty()) {
                std::cerr << "instello: " << installer.error() << "\n";
            }
        } else if (!installer.finished()) {
            win32gui::runMessageLoop();
        }
        status = installer.exitStatus();
    }
    OleUninitialize();
    return status;
}
