// Start Menu groups: a folder under the Programs folder, one shell link per shortcut, and the
// desktop copy of the TeX editor's link.

#include "installer/cerror.h"
#include "installer/integration/deferred_actions.h"
#include "installer/journal/undo_log.h"
#include "installer/win_path.h"

namespace installer {

namespace {

// The shell's per-user Programs folder on Windows 95/98, the all-users one on Windows NT.
const std::string& programsFolder(IntegrationContext& context) {
    if (!context.programsFolder) {
        const auto folder = context.sys.specialFolder(context.sys.windowsVersion().nt
                                                          ? system::SpecialFolder::CommonPrograms
                                                          : system::SpecialFolder::Programs);
        if (!folder || folder->empty()) {
            throw CError(CError::kStartMenu);
        }
        context.programsFolder = withBackslash(*folder);
    }
    return *context.programsFolder;
}

void writeLink(IntegrationContext& context, const std::string& path,
               const system::ShellLink& link) {
    context.undo.prepareOverwrite(path);
    if (!context.sys.createShellLink(path, link)) {
        throw CError(CError::kStartMenu);
    }
}

}  // namespace

void StartMenuGroup::perform(IntegrationContext& context) {
    mark_ = context.undo.mark();
    const std::string folder = programsFolder(context) + name + "\\";
    try {
        context.undo.createFolders(folder);
    } catch (const CError& e) {
        if (e.file() == context.undo.journalPath()) {
            throw;  // the journal itself failed: not a Start Menu matter
        }
        throw CError(CError::kStartMenu);
    }
    for (const auto& shortcut : shortcuts) {
        const system::ShellLink link{shortcut.target, shortcut.title, shortcut.iconFile,
                                     shortcut.iconIndex};
        const std::string path = folder + shortcut.title + ".lnk";
        writeLink(context, path, link);
        if (iendsWith(shortcut.target, "WKORVO.EXE")) {
            const auto desktop = context.sys.specialFolder(system::SpecialFolder::Desktop);
            if (!desktop || desktop->empty()) {
                throw CError(CError::kStartMenu);
            }
            // The same link on the desktop, replacing one of the same name.
            writeLink(context, withBackslash(*desktop) + shortcut.title + ".lnk", link);
        }
    }
}

void StartMenuGroup::undo(IntegrationContext& context) {
    if (mark_) {
        context.undo.rollBackTo(*mark_);
        mark_.reset();
    }
}

}  // namespace installer
