#pragma once

// The start of every run of the installer, before anything else: an installation that a
// crash or a power cut interrupted left its journal behind (journal.h); it is undone now, so
// that the machine is as it was before that installation began. An installation that had
// already committed (its journal ends in X) is finished instead: its backups are deleted.

#include <string>

#include "installer/journal/journal.h"
#include "installer/prompter.h"
#include "installer/system/system.h"

namespace installer {

enum class RecoveryOutcome {
    Nothing,     // no interrupted installation
    RolledBack,  // one was undone completely
    Finished,    // one had committed; its backups are gone
    Incomplete,  // one could not be undone completely; its journal stays for the next run
    Busy,        // another installer is running and holds the journal
};

// The journal's place on the machine: the Windows directory + "\INSTELLO.JNL".
std::string journalPath(system::System& sys);

// Looks for an interrupted installation and undoes it, saying so through the prompter (caption
// its AppName + " Install"; "Installer" when another installer runs). `hook` is called before
// each step of the undo.
RecoveryOutcome recoverInterruptedInstallation(system::System& sys, Prompter& prompter,
                                               const UndoStepHook& hook = {});

}  // namespace installer
