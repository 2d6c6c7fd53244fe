#include <iostream>

#include "app/instello_windows.h"
#include "installer/unattended/unattended.h"

// Built without Qt: only the unattended installer exists.
int runInstallerWindows(int, char**, const std::vector<std::string>&,
                        const std::filesystem::path&) {
    std::cerr << installer::unattendedUsage();
    return 2;
}

int runUninstallerWindows(int, char**, const std::vector<std::string>&,
                          const std::filesystem::path&) {
    std::cerr << "instello: this build has no windows: use instello --unattended --uninstall\n";
    return 2;
}

void connectConsole() {}
