#pragma once

// One installation from start to end, whatever drives it: the windows or `--unattended`.
//
//   startUp()  before the background window: an interrupted installation undone, the script,
//              the product, the licence, the PDF readers, the greeting;
//   begin()    posts command 100, and from then on the commands drive it:
//   100 start          the component list, the prerequisites, the front end's choice (the
//                      main window), the previous version removed (its uninstaller waited
//                      for on a worker thread); then copying
//   103 copy           the progress window, the job and the installation thread
//   102 copied         the progress window closed; the external programs on their thread
//                      (the main window disabled meanwhile), or the finish at once
//   101 programs done  the main window enabled, the information beep; the finish
//   finish: on success the system-integration steps and the commit, else the error shown
//   (not for a cancel), everything rolled back and "Installation canceled!"; then the restart
//   question when the script asks for it after a successful installation.
//
// Threads: every member runs on the window thread, except where noted. The installation
// thread and the external-programs thread post their commands through the WindowThread. The
// cancel flag sits behind one lock, which the window thread holds while the user is asked
// "Are you sure?": the installation thread waits at its next poll meanwhile.

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

#include "installer/cerror.h"
#include "installer/drives.h"
#include "installer/flow/window_thread.h"
#include "installer/install_job.h"
#include "installer/integration/success_steps.h"
#include "installer/journal/journal.h"
#include "installer/product.h"
#include "installer/progress_sink.h"
#include "installer/prompter.h"

namespace installer {

// The command messages of the background window.
enum FlowCommand : int {
    kCommandStart = 100,
    kCommandProgramsDone = 101,
    kCommandCopied = 102,
    kCommandCopy = 103,
};

enum class FlowStage {
    Starting,
    Choosing,
    RemovingPrevious,
    Copying,
    RunningPrograms,
    Finishing,
    Ended,
};

// How a run ended.
enum class FlowResult {
    Installed,
    NotStarted,    // start-up failed, or the choice could not be made
    Declined,      // the licence refused, or cancelled before copying
    NotRecovered,  // something could not be undone; the journal stays for the next run
    Failed,        // an error while installing; rolled back
    Cancelled,     // cancelled while installing; rolled back
};

// What drives the flow: the windows, or the console.
class FlowFrontEnd {
public:
    enum class Choice { Install, Cancel, Impossible };

    virtual ~FlowFrontEnd() = default;
    // The main window: the selection, the destination (into product.installPath, canonical and
    // ending in a backslash), "Check for optional components" (into product.checkOptional),
    // its two questions and the product's accept-destination step. `clusters` is moved to the
    // chosen drive. Impossible ends the run as not started (the front end has said why);
    // Cancel ends it as declined, and the flow says "Installation canceled!".
    virtual Choice choose(Product& product, ClusterCache& clusters) = 0;
    // Last word before the copy starts; false ends the run as declined.
    virtual bool mayStartCopying() { return true; }
    // The progress window, made before the installation thread starts; closeProgress() gets
    // the outcome of the copy. The sink must live until ended().
    virtual ProgressSink& openProgress(Product& product, CancelFlag& cancel) = 0;
    virtual void closeProgress(const CError& outcome) = 0;
    // The main window (the background window) takes input (true) or not (false): it is
    // disabled while the external programs run.
    virtual void enableMainWindow(bool enabled) { (void)enabled; }
    // The beep of a message box with this icon, without the box: the information beep says
    // that the external programs have ended.
    virtual void beep(Icon icon) { (void)icon; }
    // The rollback starts (true; the wait cursor) and has ended (false).
    virtual void rollingBack(bool running) { (void)running; }
    // The system-integration steps are done and committed.
    virtual void succeeded(const SuccessReport& report, const DeferredActions& deferred) {
        (void)report;
        (void)deferred;
    }
    // The run is over (on the window thread, once).
    virtual void ended(FlowResult result) { (void)result; }
};

struct FlowHooks {
    // Called after each journal record is on the disk, and before each step of undoing an
    // interrupted installation, with their numbers from 1 (the crash tests stop there).
    std::function<void(std::size_t)> journalRecord;
    UndoStepHook undoStep;
};

// The first step of a run: an interrupted installation or removal undone (recovery.h). The
// result the run ends with when that keeps it from going on; nullopt when it may.
std::optional<FlowResult> recoverBeforeRun(system::System& sys, Prompter& prompter,
                                           const FlowHooks& hooks);

class InstallFlow {
public:
    // Borrows everything; all must outlive the flow. `prompter` may be called from the
    // external-programs thread.
    InstallFlow(system::System& sys, Prompter& prompter, WindowThread& thread, FlowFrontEnd& front,
                FlowHooks hooks = {});
    ~InstallFlow();
    InstallFlow(const InstallFlow&) = delete;
    InstallFlow& operator=(const InstallFlow&) = delete;

    // Steps before the background window, from the installer's own folder (a Windows path).
    // False when the run is already over (result() says how; ended() was called).
    bool startUp(std::string_view programFolder);
    // Posts command 100.
    void begin();
    // A command message reached the background window.
    void command(int id);

    // The user asks to stop through the background window's close box.
    enum class CloseAnswer {
        Close,    // no product: the window may close
        Refused,  // external programs or the previous-version removal run: said so
        Asked,    // asked "Are you sure?"; a Yes set the cancel flag
    };
    CloseAnswer closeRequested();
    // "Installation was not completed.\nAre you sure?" under the cancel lock; a Yes sets the
    // cancel flag. True for Yes. (The progress window's Cancel and the disk prompt's.)
    bool confirmCancel();

    FlowStage stage() const { return stage_.load(); }
    bool ended() const { return stage() == FlowStage::Ended; }
    FlowResult result() const { return result_; }
    // The product being installed; null before startUp() and after the end.
    Product* product() { return product_.get(); }
    CancelFlag& cancelFlag() { return cancel_; }
    StatusSlot& status() { return status_; }
    system::System& sys() { return sys_; }
    Prompter& prompter() { return prompter_; }

private:
    void start();
    void copy();
    void copied();
    void programsDone();
    void previousRemoved(const std::string& commandLine, bool started);
    void finish();
    void failed();
    void end(FlowResult result);
    void say(std::string_view text, Icon icon);
    JobSettings jobSettings();

    system::System& sys_;
    Prompter& prompter_;
    WindowThread& thread_;
    FlowFrontEnd& front_;
    FlowHooks hooks_;
    std::atomic<FlowStage> stage_{FlowStage::Starting};
    FlowResult result_ = FlowResult::NotStarted;
    std::unique_ptr<Product> product_;
    ClusterCache clusters_;
    CancelFlag cancel_;
    StatusSlot status_;
    std::unique_ptr<InstallJob> job_;
    std::optional<IntegrationContext> context_;
    std::thread installThread_;
    std::thread programsThread_;
    std::thread previousThread_;
};

// The main window's two questions before "Install" goes on, in their order: nothing selected
// (needed 0 kB), then not enough space. False when a No stays in the window.
bool confirmSelection(Prompter& prompter, std::string_view caption, std::int64_t neededKb,
                      std::int64_t availableKb);

}  // namespace installer
