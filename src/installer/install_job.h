#pragma once

// One installation run: the selected components' programs executed in list order on the
// installation thread, everything journalled in the undo log, the system-integration steps
// queued for after the copy.

#include <cstdint>
#include <memory>
#include <string>
#include <thread>

#include "installer/cerror.h"
#include "installer/component_list.h"
#include "installer/deferred_actions.h"
#include "installer/progress_sink.h"
#include "installer/settings_file.h"
#include "installer/system/system.h"
#include "installer/undo_log.h"

namespace installer {

struct JobSettings {
    std::string installPath;       // ends in a backslash
    std::string distributionPath;  // ends in a backslash
    std::uint32_t clusterSize = 32768;
    bool skipMissing = true;  // not "Check for optional components"
    bool copyInstaller = false;
    bool createFormats = false;
    bool reader3Wanted = false;
    bool reader4Wanted = false;
    // The TeX system's finishing steps run (the product is a TeX system).
    bool texSystem = false;
    // The font folders of the PDF readers that were wanted and found (else empty).
    std::string reader3FontFolder;
    std::string reader4FontFolder;
};

class InstallJob {
public:
    // Borrows everything but the settings file (may be null), which it owns.
    InstallJob(system::System& sys, ProgressSink& sink, ComponentList& components,
               JobSettings settings, std::unique_ptr<SettingsFile> settingsFile);

    // Runs the installation; returns on success (the undo log committed), raises CError
    // otherwise (the undo log is then left for rollBack()).
    void run();
    // The first steps of run(): the install path created and the installed-files register
    // and the settings file journalled. For callers that run single steps themselves.
    void prepare();
    // Puts the machine back as it was before run(). Call after a failed or cancelled run.
    void rollBack() { undo_.rollBack(); }

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

    // Set by component programs for the finishing steps.
    bool updateFontLibrary = false;
    bool configureHyphenation = false;
    bool updateTrueTypeAlias = false;
    std::string fontLibraryName;

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

// Runs job.run() on a new thread; the outcome goes into `status` (code 9 on success).
std::thread startInstallThread(InstallJob& job, StatusSlot& status);

// Runs the component program of `component` (the install operation of a selected component).
void runComponentProgram(InstallJob& job, const Component& component);

// Copies `source` to `destination` in 4096-byte blocks (operation 3). Raises CError 10 when
// the source cannot be opened, 4 when the destination cannot be written, 3 on a read error,
// 8 when cancelled.
void copyFile(InstallJob& job, const std::string& source, const std::string& destination);

}  // namespace installer
