#include "installer/journal/recovery.h"

#include "installer/messages.h"
#include "installer/win_path.h"

namespace installer {

std::string journalPath(system::System& sys) {
    return withBackslash(sys.windowsDirectory()) + "INSTELLO.JNL";
}

RecoveryOutcome recoverInterruptedInstallation(system::System& sys, Prompter& prompter,
                                               const UndoStepHook& hook) {
    const std::string path = journalPath(sys);
    if (!sys.fileExists(path)) {
        return RecoveryOutcome::Nothing;
    }
    bool busy = false;
    auto lock = sys.openLocked(path, busy);
    if (!lock) {
        prompter.message(busy ? msg::kAnotherInstaller : msg::kInterruptedNotUndone,
                         msg::kInstallerCaption, Icon::Warning, Buttons::Ok);
        return busy ? RecoveryOutcome::Busy : RecoveryOutcome::Incomplete;
    }
    const auto bytes = system::readWholeFile(sys, path);
    const auto contents = bytes ? parseJournal(*bytes) : std::nullopt;
    auto forget = [&] {
        lock->close();
        lock.reset();
        sys.deleteFile(path);
    };
    // A journal without a header or records was made by an installation that changed nothing.
    if (!contents || contents->records.empty()) {
        forget();
        return RecoveryOutcome::Nothing;
    }
    // An uninstallation cut short is undone the same way, and says so in its own words.
    const bool removal = contents->removal;
    const std::string caption =
        contents->productName +
        std::string(removal ? msg::kUninstallCaptionSuffix : msg::kCaptionSuffix);
    if (contents->committed) {
        finishCommit(sys, contents->records, sys.windowsDirectory());
        forget();
        prompter.message(removal ? msg::kRemovalInterruptedFinished : msg::kInterruptedFinished,
                         caption, Icon::Information, Buttons::Ok);
        return RecoveryOutcome::Finished;
    }
    std::string found(removal ? msg::kRemovalInterruptedFound : msg::kInterruptedFound);
    found.replace(found.find("%s"), 2, contents->productName);
    prompter.message(found, caption, Icon::Information, Buttons::Ok);
    if (!undoRecords(sys, contents->records, sys.windowsDirectory(), hook)) {
        prompter.message(removal ? msg::kRemovalInterruptedNotUndone : msg::kInterruptedNotUndone,
                         caption, Icon::Warning, Buttons::Ok);
        return RecoveryOutcome::Incomplete;
    }
    forget();
    prompter.message(removal ? msg::kRemovalInterruptedUndone : msg::kInterruptedUndone, caption,
                     Icon::Information, Buttons::Ok);
    return RecoveryOutcome::RolledBack;
}

}  // namespace installer
