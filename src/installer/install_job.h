#pragma once

// One installation run: the selected components' programs executed in list order on the
// installation thread, everything journalled in the undo log, the system-integration steps
// queued for after the copy. The undo log stays open after the copy: the system-integration
// steps are journalled in it too, and the front end commits it (commit()) only when they are
// done, or rolls everything back (rollBack()).

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "installer/cerror.h"
#include "installer/component_list.h"
#include "installer/integration/deferred_actions.h"
#include "installer/journal/undo_log.h"
#include "installer/progress_sink.h"
#include "installer/reader/pdf_reader.h"
#include "installer/settings_file.h"
#include "installer/system/system.h"

namespace installer {

struct JobSettings {
    std::string productName;       // AppName, for the journal
    std::string journalPath;       // the journal on disk; empty: in memory only
    std::string installPath;       // ends in a backslash
    std::string distributionPath;  // ends in a backslash
    std::uint32_t clusterSize = 32768;
    bool skipMissing = true;  // not "Check for optional components"
    bool copyInstaller = false;
    // Copy only the installer itself into BIN (for the product's entry in the list of
    // programs, which runs it to remove the product), when the distribution holds it.
    bool copyUninstaller = false;
    bool createFormats = false;
    bool reader3Wanted = false;
    bool reader4Wanted = false;
    // The readers found at start-up (for their font folders), when wanted and found.
    std::optional<ReaderInfo> reader3;
    std::optional<ReaderInfo> reader4;
};

class InstallJob {
public:
    // Borrows everything but the settings file (may be null), which it owns.
    InstallJob(system::System& sys, ProgressSink& sink, ComponentList& components,
               JobSettings settings, std::unique_ptr<SettingsFile> settingsFile);

    // Runs the copy; returns on success, raises CError otherwise. Either way the undo log
    // is left for commit() or rollBack().
    void run();
    // The first steps of run(): the journal started, the install path created and the
    // installed-files register and the settings file journalled. For callers that run
    // single steps themselves.
    void prepare();
    // The installation is complete: deletes the backups and the journal.
    void commit() { undo_.commit(); }
    // Puts the machine back as it was before run(). Call after a failed or cancelled run;
    // false when something could not be put back (the journal then stays for the next run).
    bool rollBack() { return undo_.rollBack(); }

    // Raises CError 8 when cancel has been requested.
    void pollCancel();

    system::System& sys() { return sys_; }
    ProgressSink& sink() { return sink_; }
    UndoLog& undo() { return undo_; }
    InstalledRegister& installed() { return installed_; }
    DeferredActions& deferred() { return deferred_; }
    SettingsFile* settingsFile() { return settingsFile_.get(); }
    const JobSettings& settings() const { return settings_; }

    // Where component programs are looked for; the user may move it for all later ones.
    std::string currentSource;
    // The component program being run; empty between programs.
    std::string currentProgram;

    // Set by component programs for the finishing steps.
    bool updateFontLibrary = false;
    bool configureHyphenation = false;
    bool updateTrueTypeAlias = false;
    std::string fontLibraryName;
    // Files that the queued programs make (the TeX formats), for the record of the
    // installation: they go when the product is removed.
    std::vector<std::string> programOutputs;

private:
    system::System& sys_;
    ProgressSink& sink_;
    ComponentList& components_;
    JobSettings settings_;
    std::unique_ptr<SettingsFile> settingsFile_;
    UndoLog undo_;
    InstalledRegister installed_;
    DeferredActions deferred_;
};

// Runs job.run() on a new thread; the outcome goes into `status` (code 9 on success). Any
// exception ends as an error, never as a dead process: out of memory as code 0, anything
// else as code 6 naming the component program that was running. `ended` runs last on the
// thread, after the outcome is stored (the windows post "copied" from it).
std::thread startInstallThread(InstallJob& job, StatusSlot& status,
                               std::function<void()> ended = {});

// The error an exception that is not a CError stands for (see startInstallThread).
CError unexpectedError(const InstallJob& job, const std::exception_ptr& error);

// Runs the component program of `component` (the install operation of a selected component).
void runComponentProgram(InstallJob& job, const Component& component);

// Copies `source` to `destination` in 4096-byte blocks (operation 3). Raises CError 10 when
// the source cannot be opened, 4 when the destination cannot be written, 3 on a read error,
// 8 when cancelled.
void copyFile(InstallJob& job, const std::string& source, const std::string& destination);

}  // namespace installer
