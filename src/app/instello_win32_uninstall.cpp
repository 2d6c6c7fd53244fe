#include <iostream>

#include "app/instello_windows.h"
#include "installer/unattended/unattended.h"
#include "win32gui/installer/uninstaller_app.h"
#include "win32gui/message_loop.h"
#include "win32gui/native.h"

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
            std::cerr << "instello: unknown option " << args[i] << "\n"
                      << installer::unattendedUsage();
            return installer::kExitNotStarted;
        }
    }
    // Started by the list of programs, the program has a console of its own that nobody reads.
    DWORD processes[2] = {};
    if (GetConsoleProcessList(processes, 2) == 1) {
        FreeConsole();
    }
    OleInitialize(nullptr);
    int status = installer::kExitNotStarted;
    {
        win32gui::UninstallerApp uninstaller(options);
        uninstaller.onFinished = [] { PostQuitMessage(0); };
        if (!uninstaller.start()) {
            if (!uninstaller.error().empty()) {
                std::cerr << "instello: " << uninstaller.error() << "\n";
            }
        } else if (!uninstaller.finished()) {
            win32gui::runMessageLoop();
        }
        status = uninstaller.exitStatus();
    }
    OleUninitialize();
    return status;
}
