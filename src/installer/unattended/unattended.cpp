#include "installer/unattended/unattended.h"

#include <chrono>
#include <fstream>
#include <optional>
#include <ostream>
#include <sstream>
#include <stdexcept>

#include "installer/cerror.h"
#include "installer/component_list.h"
#include "installer/drives.h"
#include "installer/install_job.h"
#include "installer/integration/external_programs.h"
#include "installer/integration/success_steps.h"
#include "installer/journal/recovery.h"
#include "installer/messages.h"
#include "installer/product.h"
#include "installer/startup.h"
#include "installer/system/sandbox/sandbox_system.h"
#include "installer/system/this_machine.h"
#include "installer/tex/stand_ins.h"
#include "installer/unattended/console.h"
#include "installer/unattended/console_sink.h"
#include "installer/win_path.h"

namespace installer {

namespace {

// A folder as the window's folder picker would give it: backslashes only, one between
// elements and one at the end. A destination typed as "C:/Scuola//Tattilo" would otherwise
// reach the settings file and the installed-files register in that form.
std::string normalizeFolder(std::string_view path) {
    std::string out;
    for (char c : path) {
        if (c == '/') {
            c = '\\';
        }
        if (c == '\\' && !out.empty() && out.back() == '\\') {
            continue;
        }
        out += c;
    }
    return withBackslash(out);
}

bool isWindowsPath(std::string_view path) {
    return path.size() >= 3 && path[1] == ':' && (path[2] == '\\' || path[2] == '/') &&
           ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

ComponentItem* findItem(const ComponentList& list, std::string_view name) {
    for (const auto& item : list) {
        if (iequals(item->name, name)) {
            return item.get();
        }
        if (item->isGroup()) {
            if (auto* found = findItem(static_cast<ComponentGroup&>(*item).members, name)) {
                return found;
            }
        }
    }
    return nullptr;
}

void listSelection(const ComponentList& list, std::uint32_t cluster, Console& console,
                   const std::string& indent) {
    for (const auto& item : list) {
        const int state = item->state();
        const char* mark = state == 1 ? "[x] " : state == 2 ? "[-] " : "[ ] ";
        console.line(indent + mark + item->name + " (" + std::to_string(item->sizeKb(cluster)) +
                     " kB)");
        if (item->isGroup()) {
            listSelection(static_cast<ComponentGroup&>(*item).members, cluster, console,
                          indent + "    ");
        }
    }
}

// What the system-integration steps did, in one line.
std::string integrationSummary(const SuccessReport& report, const DeferredActions& deferred) {
    std::size_t started = 0;
    for (const auto* run : {&deferred.firstRun, &deferred.secondRun}) {
        for (const auto& program : *run) {
            started += program.started ? 1 : 0;
        }
    }
    std::ostringstream text;
    text << "System integration: " << report.groups << " Start Menu group(s) with " << report.links
         << " link(s), " << report.fonts << " font(s), " << report.values << " registry value(s), "
         << started << " program(s) run.";
    return text.str();
}

// The run, step by step, in the order the windows take them. Each step returns the exit
// status when the run ends there.
class UnattendedRun {
public:
    UnattendedRun(const UnattendedOptions& options, const std::filesystem::path& programFolder,
                  Console& console, std::ostream& err, const UnattendedHooks& hooks)
        : options_(options),
          programFolder_(programFolder),
          console_(console),
          err_(err),
          hooks_(hooks),
          prompter_(console, options.acceptLicense) {}

    int run() {
        for (auto step : {&UnattendedRun::openMachine, &UnattendedRun::recover,
                          &UnattendedRun::start, &UnattendedRun::choose, &UnattendedRun::copy,
                          &UnattendedRun::runPrograms, &UnattendedRun::finish}) {
            if (const auto status = (this->*step)()) {
                return *status;
            }
        }
        return kExitInstalled;
    }

private:
    using Step = std::optional<int>;

    system::System& sys() { return *machine_; }

    Step openMachine() {
        if (options_.root.empty()) {
            return openThisMachine();
        }
        try {
            auto sandbox = std::make_unique<system::SandboxSystem>(options_.root);
            sandbox_ = sandbox.get();
            machine_ = std::move(sandbox);
            tex::registerTexStandIns(*sandbox_);
        } catch (const std::exception& e) {
            err_ << "instello: " << e.what() << "\n";
            return kExitNotStarted;
        }
        if (options_.recoverOnly) {
            console_.line("Machine: " + sandbox_->root().string());
            return std::nullopt;
        }
        // A Windows path names a folder of the sandbox when the sandbox has it; otherwise the
        // source is a folder of the host (on Windows its paths are Windows paths too).
        std::error_code ec;
        if (isWindowsPath(options_.source) &&
            (sandbox_->folderExists(options_.source) ||
             !std::filesystem::is_directory(options_.source, ec))) {
            source_ = normalizeFolder(options_.source);
        } else {
            const std::filesystem::path host =
                options_.source.empty() ? programFolder_ : std::filesystem::path(options_.source);
            const auto letter = sandbox_->freeDriveLetter();
            if (!std::filesystem::is_directory(host, ec) || !letter ||
                !sandbox_->mountFolder(*letter, host, false)) {
                err_ << "instello: the source folder " << host.string() << " cannot be used\n";
                return kExitNotStarted;
            }
            source_ = std::string(1, *letter) + ":\\";
            console_.line("Source " + source_ + " = " + std::filesystem::absolute(host).string());
        }
        sandbox_->setProgramFolder(source_);
        console_.line("Machine: " + sandbox_->root().string());
        return std::nullopt;
    }

    // Without --root the installation goes into the computer itself, where this build has a
    // system layer for it; the source is then a folder of the computer (Windows path).
    Step openThisMachine() {
        machine_ = system::openThisMachine();
        if (!machine_) {
            err_ << "instello: --root SANDBOX is required: this build installs into sandbox "
                    "machines only\n";
            return kExitNotStarted;
        }
        if (options_.recoverOnly) {
            console_.line("Machine: this computer");
            return std::nullopt;
        }
        const std::string source =
            options_.source.empty() ? programFolder_.string() : options_.source;
        if (!isWindowsPath(source) || !machine_->folderExists(source)) {
            err_ << "instello: the source folder " << source << " cannot be used\n";
            return kExitNotStarted;
        }
        source_ = normalizeFolder(source);
        console_.line("Source " + source_);
        console_.line("Machine: this computer");
        return std::nullopt;
    }

    // Before anything else: an installation that a crash interrupted is undone.
    Step recover() {
        const RecoveryOutcome outcome =
            recoverInterruptedInstallation(sys(), prompter_, hooks_.undoStep);
        if (outcome == RecoveryOutcome::Incomplete) {
            return kExitNotRecovered;
        }
        if (outcome == RecoveryOutcome::Busy) {
            return kExitNotStarted;
        }
        if (options_.recoverOnly) {
            if (outcome == RecoveryOutcome::Nothing) {
                console_.line("No interrupted installation was found.");
            }
            return kExitInstalled;
        }
        return std::nullopt;
    }

    Step start() {
        Startup started = startUp(sys(), prompter_, source_);
        if (started.outcome != StartupOutcome::Ready) {
            return started.outcome == StartupOutcome::Declined ? kExitDeclined : kExitNotStarted;
        }
        product_ = std::move(started.product);
        // Command "start": the component list and the prerequisites.
        try {
            product_->components =
                readComponentList(sys(), product_->sourceFolder, sys().defaultLanguage());
        } catch (const CError& e) {
            say(e.text(), Icon::Warning);
            say(msg::kCanceled, Icon::Information);
            return kExitNotStarted;
        }
        if (!product_->checkPrerequisites(sys(), prompter_)) {
            say(msg::kCanceled, Icon::Information);
            return kExitDeclined;
        }
        return std::nullopt;
    }

    // The main window's part: the selection, the destination, the two questions.
    Step choose() {
        Product& product = *product_;
        for (auto& item : product.components) {
            item->reset();
        }
        if (options_.haveComponents) {
            if (const auto status = selectNamed()) {
                return status;
            }
        }
        product.checkOptional = options_.checkOptional;
        const std::string target =
            options_.target.empty() ? product.installPath : normalizeFolder(options_.target);
        console_.line("Install to: " + target);
        const DestinationCheck check = checkDestination(sys(), target);
        if (check.code != 0) {
            console_.line(std::string(check.text));
            return kExitNotStarted;
        }
        ClusterCache clusters;
        clusters.moveTo(target[0]);
        cluster_ = clusters.get(sys());
        const std::int64_t needed = totalSizeKb(product.components, cluster_);
        const std::int64_t available = freeKilobytes(sys(), target[0]);
        console_.line("Components:");
        listSelection(product.components, cluster_, console_, "  ");
        console_.line("Space needed: " + std::to_string(needed) + " kB");
        console_.line("Space available: " + std::to_string(available) + " kB");
        if (needed == 0 && ask(msg::kNothingSelected) != Answer::Yes) {
            return kExitDeclined;
        }
        if (available < needed && ask(msg::kNoSpace) != Answer::Yes) {
            return kExitDeclined;
        }
        if (!product.acceptDestination(target, prompter_)) {
            return kExitDeclined;
        }
        product.installPath = target;
        if (product.flags.deletePrevOn() && !product.removePreviousVersion(sys(), prompter_)) {
            say(msg::kCanceled, Icon::Information);
            return kExitDeclined;
        }
        if (hooks_.interrupted && hooks_.interrupted()) {
            say(msg::kCanceled, Icon::Information);
            return kExitDeclined;
        }
        return std::nullopt;
    }

    Step selectNamed() {
        for (auto& item : product_->components) {
            item->setState(0);
        }
        const std::string& names = options_.components;
        std::size_t from = 0;
        while (from <= names.size()) {
            auto end = names.find(',', from);
            if (end == std::string::npos) {
                end = names.size();
            }
            const std::string_view name = trim(std::string_view(names).substr(from, end - from));
            from = end + 1;
            if (name.empty()) {
                continue;
            }
            ComponentItem* item = findItem(product_->components, name);
            if (!item) {
                err_ << "instello: no component named \"" << name << "\" in INSTALL.CFG\n";
                return kExitNotStarted;
            }
            item->setState(1);
        }
        return std::nullopt;
    }

    // Command "copy": the job on the installation thread.
    Step copy() {
        const Product& product = *product_;
        JobSettings settings;
        settings.productName = product.name;
        settings.journalPath = journalPath(sys());
        settings.installPath = product.installPath;
        settings.distributionPath = product.distributionPath;
        settings.clusterSize = cluster_;
        settings.skipMissing = !product.checkOptional;
        settings.copyInstaller = product.flags.copyInstallerOn();
        settings.createFormats = product.flags.createFormatsOn();
        settings.reader3Wanted = product.flags.reader3 != -1;
        settings.reader4Wanted = product.flags.reader4 != -1;
        settings.reader3 = product.readers.found(3);
        settings.reader4 = product.readers.found(4);
        settings.texSystem = product.kind() == ProductKind::TexSystem;
        sink_ = std::make_unique<ConsoleSink>(console_, sys(), product.caption(), cancel_,
                                              hooks_.interrupted);
        job_ = std::make_unique<InstallJob>(sys(), *sink_, product_->components, settings,
                                            product_->makeSettingsFile(sys()));
        job_->undo().setRecordHook(hooks_.journalRecord);
        startInstallThread(*job_, status_).join();
        // Command "copied".
        if (status_.load().code() == CError::kSuccess) {
            console_.line("Progress: 100%");
        }
        return failed();
    }

    // After a successful copy the queued programs run on their thread; a cancel is refused.
    Step runPrograms() {
        DeferredActions& deferred = job_->deferred();
        if (!deferred.hasPrograms()) {
            return std::nullopt;
        }
        if (product_->flags.runMsgOn()) {
            say(msg::kRunMsg, Icon::Information);
        }
        context_.emplace(
            IntegrationContext{sys(), job_->undo(), prompter_, product_->caption(), {}});
        std::thread programs =
            startProgramsThread(deferred, *context_, status_, product_->workerRunning);
        bool refused = false;
        while (product_->workerRunning) {
            if (!refused && hooks_.interrupted && hooks_.interrupted()) {
                say(msg::kCannotTerminate, Icon::Warning);
                refused = true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        programs.join();
        return failed();
    }

    // Command "programs done": the success steps (with the commit), the restart question.
    Step finish() {
        SuccessReport report;
        try {
            report = performSuccessSteps(*job_, *product_, prompter_);
        } catch (...) {
            status_.store(unexpectedError(*job_, std::current_exception()));
            return failed();
        }
        console_.line(integrationSummary(report, job_->deferred()));
        if (product_->flags.restartOn() && askRestart(*product_, prompter_)) {
            restartWindows(sys(), prompter_);
        }
        return std::nullopt;
    }

    // The finish of a failed or cancelled run: its message, the rollback.
    Step failed() {
        const CError outcome = status_.load();
        if (outcome.code() == CError::kSuccess) {
            return std::nullopt;
        }
        if (outcome.code() != CError::kCancelled) {
            say(outcome.text(), Icon::Warning);
        }
        console_.line("Rolling back...");
        if (!job_->rollBack()) {
            say(msg::kRollbackIncomplete, Icon::Warning);
            return kExitNotRecovered;
        }
        say(msg::kCanceled, Icon::Information);
        return outcome.code() == CError::kCancelled ? kExitCancelled : kExitFailed;
    }

    void say(std::string_view text, Icon icon) {
        prompter_.message(text, product_->caption(), icon, Buttons::Ok);
    }
    Answer ask(std::string_view text) {
        return prompter_.message(text, product_->caption(), Icon::Question, Buttons::YesNo);
    }

    const UnattendedOptions& options_;
    const std::filesystem::path& programFolder_;
    Console& console_;
    std::ostream& err_;
    const UnattendedHooks& hooks_;
    ConsolePrompter prompter_;
    std::unique_ptr<system::System> machine_;
    system::SandboxSystem* sandbox_ = nullptr;  // the machine, when it is a sandbox
    std::string source_;
    std::unique_ptr<Product> product_;
    std::uint32_t cluster_ = 32768;
    CancelFlag cancel_;
    StatusSlot status_;
    std::unique_ptr<ConsoleSink> sink_;
    std::unique_ptr<InstallJob> job_;
    std::optional<IntegrationContext> context_;
};

}  // namespace

int runUnattended(std::span<const std::string> args, const std::filesystem::path& programFolder,
                  std::ostream& out, std::ostream& err, const UnattendedHooks& hooks) {
    UnattendedOptions options;
    std::string error;
    if (!parseUnattendedOptions(args, options, error)) {
        err << "instello: " << error << "\n" << unattendedUsage();
        return kExitNotStarted;
    }
    std::ofstream logFile;
    if (!options.log.empty()) {
        logFile.open(options.log, std::ios::binary | std::ios::trunc);
        if (!logFile) {
            err << "instello: cannot write the log " << options.log << "\n";
            return kExitNotStarted;
        }
    }
    Console console(out, logFile.is_open() ? &logFile : nullptr);
    return UnattendedRun(options, programFolder, console, err, hooks).run();
}

}  // namespace installer
