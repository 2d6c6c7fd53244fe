#include "app/instello_windows.h"

#include <QApplication>
#include <QStandardPaths>
#include <iostream>

#include "gui/installer/installer_app.h"
#include "gui/installer/uninstaller_app.h"
#include "installer/unattended/unattended.h"

// Where the windows install when no --root is given: a machine of the user's own.
std::filesystem::path defaultMachine() {
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return std::filesystem::path(data.toStdString()) / "instello" / "sandbox";
}

namespace {

// The installer's or the removal's windows until their run is over; the exit status.
template <class App, class Options>
int runWindows(int argc, char** argv, const std::vector<std::string>& args,
               const std::filesystem::path& programFolder) {
    const WindowOptions given = parseWindowOptions(args, kRemovalOptions<Options>);
    if (!given.unknown.empty()) {
        std::cerr << "instello: unknown option " << given.unknown << "\n"
                  << installer::unattendedUsage();
        return installer::kExitNotStarted;
    }
    QApplication app(argc, argv);
    auto options = windowsOptionsOf<Options>(given, programFolder);
    if (options.root.empty()) {
        options.root = defaultMachine();
    }
    App windows(options);
    return runUntilFinished(
        windows, [] { QApplication::quit(); }, [&app] { app.exec(); },
        [](const std::string& why) { std::cerr << "instello: " << why << "\n"; });
}

}  // namespace

int runInstallerWindows(int argc, char** argv, const std::vector<std::string>& args,
                        const std::filesystem::path& programFolder) {
    return runWindows<gui::InstallerApp, gui::InstallerOptions>(argc, argv, args, programFolder);
}

int runUninstallerWindows(int argc, char** argv, const std::vector<std::string>& args,
                          const std::filesystem::path& programFolder) {
    return runWindows<gui::UninstallerApp, gui::UninstallerOptions>(argc, argv, args,
                                                                    programFolder);
}

void connectConsole() {}
