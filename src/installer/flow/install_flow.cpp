#include "installer/flow/install_flow.h"

#include "installer/component_list.h"
#include "installer/integration/external_programs.h"
#include "installer/journal/recovery.h"
#include "installer/messages.h"
#include "installer/startup.h"

namespace installer {

bool confirmSelection(Prompter& prompter, std::string_view caption, std::int64_t neededKb,
                      std::int64_t availableKb) {
    const auto ask = [&](std::string_view text) {
        return prompter.message(text, caption, Icon::Question, Buttons::YesNo) == Answer::Yes;
    };
    if (neededKb == 0 && !ask(msg::kNothingSelected)) {
        return false;
    }
    return availableKb >= neededKb || ask(msg::kNoSpace);
}

InstallFlow::InstallFlow(system::System& sys, Prompter& prompter, WindowThread& thread,
                         FlowFrontEnd& front, FlowHooks hooks)
    : sys_(sys), prompter_(prompter), thread_(thread), front_(front), hooks_(std::move(hooks)) {}

std::optional<FlowResult> recoverBeforeRun(system::System& sys, Prompter& prompter,
                                           const FlowHooks& hooks) {
    switch (recoverInterruptedInstallation(sys, prompter, hooks.undoStep)) {
        case RecoveryOutcome::Incomplete:
            return FlowResult::NotRecovered;
        case RecoveryOutcome::Busy:
            return FlowResult::NotStarted;
        default:
            return std::nullopt;
    }
}

InstallFlow::~InstallFlow() {
    // Only a run abandoned half-way leaves a thread; it ends at its next cancel poll.
    cancel_.set();
    for (auto* worker : {&installThread_, &programsThread_, &previousThread_}) {
        if (worker->joinable()) {
            worker->join();
        }
    }
}

bool InstallFlow::startUp(std::string_view programFolder) {
    // Before anything else: an installation that a crash interrupted is undone.
    if (const auto stopped = recoverBeforeRun(sys_, prompter_, hooks_)) {
        end(*stopped);
        return false;
    }
    Startup started = installer::startUp(sys_, prompter_, programFolder);
    if (started.outcome != StartupOutcome::Ready) {
        end(started.outcome == StartupOutcome::Declined ? FlowResult::Declined
                                                        : FlowResult::NotStarted);
        return false;
    }
    product_ = std::move(started.product);
    return true;
}

void InstallFlow::begin() {
    thread_.post([this] { command(kCommandStart); });
}

void InstallFlow::command(int id) {
    if (ended()) {
        return;
    }
    switch (id) {
        case kCommandStart:
            start();
            break;
        case kCommandCopy:
            copy();
            break;
        case kCommandCopied:
            copied();
            break;
        case kCommandProgramsDone:
            programsDone();
            break;
        default:
            break;
    }
}

void InstallFlow::start() {
    Product& product = *product_;
    try {
        product.components = readComponentList(sys_, product.sourceFolder, sys_.defaultLanguage());
    } catch (const CError& e) {
        say(e.text(), Icon::Warning);
        say(msg::kCanceled, Icon::Information);
        end(FlowResult::NotStarted);
        return;
    }
    if (!product.checkPrerequisites(sys_, prompter_)) {
        say(msg::kCanceled, Icon::Information);
        end(FlowResult::Declined);
        return;
    }
    stage_ = FlowStage::Choosing;
    for (auto& item : product.components) {
        item->reset();
    }
    switch (front_.choose(product, clusters_)) {
        case FlowFrontEnd::Choice::Install:
            break;
        case FlowFrontEnd::Choice::Cancel:
            say(msg::kCanceled, Icon::Information);
            end(FlowResult::Declined);
            return;
        case FlowFrontEnd::Choice::Impossible:
            end(FlowResult::NotStarted);
            return;
    }
    if (!product.flags.deletePrevOn()) {
        copy();
        return;
    }
    stage_ = FlowStage::RemovingPrevious;
    std::string uninstaller;
    if (!product.removePreviousVersion(prompter_, uninstaller)) {
        say(msg::kCanceled, Icon::Information);
        end(FlowResult::Declined);
        return;
    }
    if (uninstaller.empty()) {
        thread_.post([this] { command(kCommandCopy); });
        return;
    }
    // The old uninstaller may take long: the window thread goes back to its windows, and a
    // cancel is refused until the worker posts the copy.
    product.workerRunning = true;
    previousThread_ = std::thread([this, uninstaller] {
        const bool started = sys_.runAndWait(uninstaller, "");
        thread_.post([this, uninstaller, started] { previousRemoved(uninstaller, started); });
    });
}

void InstallFlow::previousRemoved(const std::string& commandLine, bool started) {
    if (previousThread_.joinable()) {
        previousThread_.join();
    }
    if (ended()) {
        return;
    }
    product_->workerRunning = false;
    if (!started) {
        // Copying starts all the same.
        say(std::string(msg::kCanNotExecute) + commandLine, Icon::Warning);
    }
    command(kCommandCopy);
}

JobSettings InstallFlow::jobSettings() {
    const Product& product = *product_;
    JobSettings settings;
    settings.productName = product.name;
    settings.journalPath = journalPath(sys_);
    settings.installPath = product.installPath;
    settings.distributionPath = product.distributionPath;
    settings.clusterSize = clusters_.get(sys_);
    settings.skipMissing = !product.checkOptional;
    settings.copyInstaller = product.flags.copyInstallerOn();
    settings.copyUninstaller = !product.writesUninstallEntry();
    settings.createFormats = product.flags.createFormatsOn();
    settings.reader3Wanted = product.flags.reader3 != -1;
    settings.reader4Wanted = product.flags.reader4 != -1;
    settings.reader3 = product.readers.found(3);
    settings.reader4 = product.readers.found(4);
    return settings;
}

void InstallFlow::copy() {
    if (!front_.mayStartCopying()) {
        say(msg::kCanceled, Icon::Information);
        end(FlowResult::Declined);
        return;
    }
    stage_ = FlowStage::Copying;
    ProgressSink& sink = front_.openProgress(*product_, cancel_);
    job_ = std::make_unique<InstallJob>(sys_, sink, product_->components, jobSettings(),
                                        product_->makeSettingsFile(sys_));
    job_->undo().setRecordHook(hooks_.journalRecord);
    installThread_ = startInstallThread(
        *job_, status_, [this] { thread_.post([this] { command(kCommandCopied); }); });
}

void InstallFlow::copied() {
    if (installThread_.joinable()) {
        installThread_.join();
    }
    front_.closeProgress(status_.load());
    if (status_.load().code() != CError::kSuccess) {
        failed();
        return;
    }
    DeferredActions& deferred = job_->deferred();
    if (!deferred.hasPrograms()) {
        finish();
        return;
    }
    if (product_->flags.runMsgOn()) {
        say(msg::kRunMsg, Icon::Information);
    }
    context_.emplace(IntegrationContext{sys_, job_->undo(), prompter_, product_->caption(), {}});
    stage_ = FlowStage::RunningPrograms;
    front_.enableMainWindow(false);
    ProgramsThreadHooks hooks;
    hooks.finished = [this] { thread_.post([this] { command(kCommandProgramsDone); }); };
    programsThread_ = startProgramsThread(deferred, *context_, status_, product_->workerRunning,
                                          std::move(hooks));
}

void InstallFlow::programsDone() {
    if (programsThread_.joinable()) {
        programsThread_.join();
    }
    // For a blind user the beep is the sign that the long wait is over.
    front_.enableMainWindow(true);
    front_.beep(Icon::Information);
    if (status_.load().code() != CError::kSuccess) {
        failed();
        return;
    }
    finish();
}

void InstallFlow::finish() {
    stage_ = FlowStage::Finishing;
    SuccessReport report;
    try {
        report = performSuccessSteps(*job_, *product_, prompter_);
    } catch (...) {
        status_.store(unexpectedError(*job_, std::current_exception()));
        failed();
        return;
    }
    front_.succeeded(report, job_->deferred());
    if (product_->flags.restartOn() && askRestart(*product_, prompter_)) {
        restartWindows(sys_, prompter_);
    }
    end(FlowResult::Installed);
}

// The finish of a failed or cancelled installation: its message, the rollback.
void InstallFlow::failed() {
    stage_ = FlowStage::Finishing;
    const CError outcome = status_.load();
    if (outcome.code() != CError::kCancelled) {
        say(outcome.text(), Icon::Warning);
    }
    front_.rollingBack(true);
    const bool undone = job_->rollBack();
    front_.rollingBack(false);
    if (!undone) {
        say(msg::kRollbackIncomplete, Icon::Warning);
        end(FlowResult::NotRecovered);
        return;
    }
    say(msg::kCanceled, Icon::Information);
    end(outcome.code() == CError::kCancelled ? FlowResult::Cancelled : FlowResult::Failed);
}

void InstallFlow::end(FlowResult result) {
    result_ = result;
    context_.reset();
    job_.reset();
    product_.reset();
    stage_ = FlowStage::Ended;
    front_.ended(result);
}

InstallFlow::CloseAnswer InstallFlow::closeRequested() {
    if (!product_) {
        return CloseAnswer::Close;
    }
    if (product_->workerRunning) {
        say(msg::kCannotTerminate, Icon::Warning);
        return CloseAnswer::Refused;
    }
    confirmCancel();
    return CloseAnswer::Asked;
}

bool InstallFlow::confirmCancel() {
    const std::string caption =
        product_ ? product_->caption() : std::string(msg::kInstallerCaption);
    auto held = cancel_.hold();
    const bool yes = prompter_.message(msg::kNotCompleted, caption, Icon::Question,
                                       Buttons::YesNo) == Answer::Yes;
    if (yes) {
        cancel_.setLocked(held);
    }
    return yes;
}

void InstallFlow::say(std::string_view text, Icon icon) {
    prompter_.message(text, product_ ? product_->caption() : std::string(msg::kInstallerCaption),
                      icon, Buttons::Ok);
}

}  // namespace installer
