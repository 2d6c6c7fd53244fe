#include "app/instello_windows.h"

#include <QApplication>
#include <QStandardPaths>
#include <iostream>

#include "gui/installer/installer_app.h"
#include "installer/unattended/unattended.h"

// Where the windows install when no --root is given: a machine of the user's own.
std::filesystem::path defaultMachine() {
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return std::filesystem::path(data.toStdString()) / "instello" / "sandbox";
}

int runInstallerWindows(int argc, char** argv, const std::vector<std::string>& args,
                        const std::filesystem::path& programFolder) {
    gui::InstallerOptions options;
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
    QApplication app(argc, argv);
    if (options.root.empty()) {
        options.root = defaultMachine();
    }
    gui::InstallerApp installer(options);
    installer.onFinished = [] { QApplication::quit(); };
    if (!installer.start()) {
        if (!installer.error().empty()) {
            std::cerr << "instello: " << installer.error() << "\n";
        }
        return installer.exitStatus();
    }
    if (!installer.finished()) {
        app.exec();
    }
    return installer.exitStatus();
}

void connectConsole() {}
