#pragma once

// `instello` without --unattended: the installer's windows, when the program was built with
// them.

#include <filesystem>
#include <string>
#include <vector>

// Runs the windows with the arguments after the program name; returns the exit status.
int runInstallerWindows(int argc, char** argv, const std::vector<std::string>& args,
                        const std::filesystem::path& programFolder);

// Before the first line is written: on Windows, where a GUI program's lines go (the console it
// was started from, or where they were redirected); elsewhere nothing to do.
void connectConsole();
