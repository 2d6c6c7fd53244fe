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
    constexpr bool removal = requires(Options o) {
        o.product;
    };
    const WindowOptions given = parseWindowOptions(args, removal);
    if (!given.unknown.empty()) {
        std::cerr << "instello: unknown option " << given.unknown << "\n"
                  << installer::unattendedUsage();
        return installer::kExitNotStarted;
    }
    QApplication app(argc, argv);
    Options options;
    options.programFolder = programFolder;
    options.root = given.root.empty() ? defaultMachine() : given.root;
    options.source = given.source;
    if constexpr (removal) {
        options.product = given.product;
    }
    App windows(options);
    windows.onFinished = [] { QApplication::quit(); };
    if (!windows.start()) {
        if (!windows.error().empty()) {
            std::cerr << "instello: " << windows.error() << "\n";
        }
        return windows.exitStatus();
    }
    if (!windows.finished()) {
        app.exec();
    }
    return windows.exitStatus();
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
