#include "installer/tex/finishing_steps.h"

#include <algorithm>

#include "installer/install_job.h"
#include "installer/tex/font_library.h"
#include "installer/tex/ps_alias.h"
#include "installer/tex/tex_libraries.h"
#include "installer/tex/tex_messages.h"
#include "installer/tex/tex_tables.h"
#include "installer/tex/ttf_alias.h"

namespace installer::tex {

std::vector<FormatCommand> formatCommands(InstallJob& job) {
    auto& sys = job.sys();
    const std::string root = job.settings().installPath;
    const std::string builder = root + "BIN\\korvowh.exe";
    std::vector<FormatCommand> commands;
    for (const auto& variant : formatVariants()) {
        if (!variant.build) {
            continue;
        }
        const std::string source =
            root + std::string(variant.format->folder) + "\\" + variant.fileBase;
        if (!sys.fileExists(builder) ||
            sys.fileExists(root + "FMT\\" + variant.fileBase + ".fmt") ||
            !sys.fileExists(source + ".tex")) {
            continue;
        }
        std::string input = source;
        std::replace(input.begin(), input.end(), '\\', '/');
        commands.push_back({builder + " -i -m -l " + " -a" + "\"" + "Creating " + variant.title +
                                " format" + "\"" + " " + "<" + input + ">",
                            root + "BIN", root + "FMT\\" + variant.fileBase + ".fmt"});
    }
    return commands;
}

void queueFormats(InstallJob& job) {
    job.sink().showStatus(msg::kStatusFormats);
    for (auto& command : formatCommands(job)) {
        job.programOutputs.push_back(command.output);
        job.deferred().queueProgram(std::move(command.commandLine), std::move(command.folder));
        job.pollCancel();
    }
}

void copyInstaller(InstallJob& job) {
    auto& sys = job.sys();
    const std::string bin = job.settings().installPath + "BIN\\";
    const std::string& source = job.settings().distributionPath;
    if (sys.fileExists(bin + "INSTELLO.EXE")) {
        return;
    }
    job.sink().showStatus(msg::kStatusInstallerCopy);
    for (const char* name : {"INSTELLO.EXE", "INSTALL.CFG", "INSTELLO.INI"}) {
        copyFile(job, source + name, bin + name);
    }
    if (sys.fileExists(source + "HYPSET.DLL") && !sys.fileExists(bin + "HYPSET.DLL")) {
        copyFile(job, source + "HYPSET.DLL", bin + "HYPSET.DLL");
    }
}

void copyUninstaller(InstallJob& job) {
    auto& sys = job.sys();
    const std::string target = job.settings().installPath + "BIN\\INSTELLO.EXE";
    const std::string source = job.settings().distributionPath + "INSTELLO.EXE";
    if (sys.fileExists(target) || !sys.fileExists(source)) {
        return;
    }
    job.sink().showStatus(msg::kStatusInstallerCopy);
    copyFile(job, source, target);
}

void runFinishingSteps(InstallJob& job) {
    const JobSettings& settings = job.settings();
    if (job.updateFontLibrary) {
        updateFontLibrary(job);
    }
    if (job.configureHyphenation) {
        job.sink().showStatus(msg::kStatusHyphenation);
        // The library writes its configuration file itself: journalled first, so that a
        // rollback takes it back too.
        job.undo().prepareChange(settings.installPath + std::string(kHyphenationFile));
        job.sink().configureHyphenation(settings.installPath);
    }
    if (settings.createFormats) {
        queueFormats(job);
    }
    updatePsAliasFile(job, {settings.reader3 ? settings.reader3->fontFolder : std::string(),
                            settings.reader4 ? settings.reader4->fontFolder : std::string()});
    if (job.updateTrueTypeAlias) {
        updateTrueTypeAliasFile(job);
    }
    if (settings.copyInstaller) {
        copyInstaller(job);
    } else if (settings.copyUninstaller) {
        copyUninstaller(job);
    }
}

}  // namespace installer::tex
