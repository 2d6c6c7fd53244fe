#pragma once

// The TeX system's finishing steps, run by the installation job after every component, in
// this order: the font library, hyphenation, the formats, the PostScript alias file, the
// TrueType alias file, the installer copy. The font library and the PostScript alias file
// raise CError (the installation fails and is rolled back); hyphenation and the TrueType alias
// file only warn; the formats are queued as external programs that run after the copy.

#include <string>
#include <vector>

namespace installer {
class InstallJob;
}

namespace installer::tex {

// The command line that builds one format variant, the folder it runs in and the format file
// it makes.
struct FormatCommand {
    std::string commandLine;
    std::string folder;
    std::string output;
};

// The variants marked for building whose source exists, whose .fmt does not, and whose
// builder root + "BIN\korvowh.exe" is there.
std::vector<FormatCommand> formatCommands(InstallJob& job);

// Queues formatCommands() as external programs (when CreateFormats is set); polls cancel
// after each variant.
void queueFormats(InstallJob& job);

// Copies the installer, its script and component list (and HYPSET.DLL when the distribution
// has it and BIN does not) into BIN, unless BIN\INSTELLO.EXE is already there.
void copyInstaller(InstallJob& job);

// Copies the installer alone into BIN (when CopyInstaller is off and the product's entry in the
// list of programs is instello's own), unless BIN\INSTELLO.EXE is already there or the
// distribution has no INSTELLO.EXE.
void copyUninstaller(InstallJob& job);

// Every finishing step whose flag is set, in order.
void runFinishingSteps(InstallJob& job);

}  // namespace installer::tex
