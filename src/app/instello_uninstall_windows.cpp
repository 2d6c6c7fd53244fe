#include <QApplication>
#include <iostream>

#include "app/instello_windows.h"
#include "gui/installer/uninstaller_app.h"
#include "installer/unattended/unattended.h"

int runUninstallerWindows(int argc, char** argv, const std::vector<std::string>& args,
                          const std::filesystem::path& programFolder) {
    gui::UninstallerOptions options;
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
    QApplication app(argc, argv);
    if (options.root.empty()) {
        options.root = defaultMachine();
    }
    gui::UninstallerApp uninstaller(options);
    uninstaller.onFinished = [] { QApplication::quit(); };
    if (!uninstaller.start()) {
        if (!uninstaller.error().empty()) {
            std::cerr << "instello: " << uninstaller.error() << "\n";
        }
        return uninstaller.exitStatus();
    }
    if (!uninstaller.finished()) {
        app.exec();
    }
    return uninstaller.exitStatus();
}
