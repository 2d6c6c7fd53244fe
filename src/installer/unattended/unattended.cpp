#include "installer/unattended/unattended.h"

#include <fstream>
#include <optional>
#include <ostream>
#include <sstream>
#include <stdexcept>

#include "installer/cerror.h"
#include "installer/component_list.h"
#include "installer/drives.h"
#include "installer/flow/install_flow.h"
#include "installer/flow/install_machine.h"
#include "installer/flow/sandbox_machine.h"
#include "installer/install_job.h"
#include "installer/journal/recovery.h"
#include "installer/product.h"
#include "installer/system/sandbox/sandbox_system.h"
#include "installer/system/this_machine.h"
#include "installer/tex/stand_ins.h"
#include "installer/unattended/console.h"
#include "installer/unattended/console_sink.h"
#include "installer/win_path.h"

namespace installer {

namespace {

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

// The console as the flow's front end: the command line stands for the main window, the
// console for the progress window, Ctrl+C for the close box.
class UnattendedRun : public FlowFrontEnd {
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
        if (options_.recoverOnly) {
            return recoverOnly();
        }
        InstallMachine machine = openInstallMachine(options_.root, options_.source, programFolder_);
        if (!machine.sys) {
            err_ << "instello: " << machine.error << "\n";
            return kExitNotStarted;
        }
        if (!machine.sandbox) {
            console_.line("Source " + machine.source);
            console_.line("Machine: this computer");
        } else {
            if (!machine.mountedFrom.empty()) {
                console_.line("Source " + machine.source + " = " + machine.mountedFrom.string());
            }
            console_.line("Machine: " + machine.sandbox->root().string());
        }
        const std::string source = machine.source;
        machine_ = std::move(machine.sys);
        QueuedWindowThread thread;
        InstallFlow flow(*machine_, prompter_, thread, *this,
                         FlowHooks{hooks_.journalRecord, hooks_.undoStep});
        flow_ = &flow;
        if (flow.startUp(source)) {
            flow.begin();
            thread.run([&] { return flow.ended(); }, [this] { pollInterrupt(); });
        }
        flow_ = nullptr;
        return exitStatusOf(flow.result());
    }

    // The main window's part: the selection, the destination, the two questions.
    Choice choose(Product& product, ClusterCache& clusters) override {
        if (options_.haveComponents && !selectNamed(product)) {
            return Choice::Impossible;
        }
        product.checkOptional = options_.checkOptional;
        const std::string target =
            options_.target.empty() ? product.installPath : normalizeFolder(options_.target);
        console_.line("Install to: " + target);
        const DestinationCheck check = checkDestination(*machine_, target);
        if (check.code != 0) {
            console_.line(std::string(check.text));
            return Choice::Impossible;
        }
        clusters.moveTo(target[0]);
        const std::uint32_t cluster = clusters.get(*machine_);
        const std::int64_t needed = totalSizeKb(product.components, cluster);
        const std::int64_t available = freeKilobytes(*machine_, target[0]);
        console_.line("Components:");
        listSelection(product.components, cluster, console_, "  ");
        console_.line("Space needed: " + std::to_string(needed) + " kB");
        console_.line("Space available: " + std::to_string(available) + " kB");
        if (!confirmSelection(prompter_, product.caption(), needed, available) ||
            !product.acceptDestination(target, prompter_)) {
            return Choice::Cancel;
        }
        product.installPath = target;
        return Choice::Install;
    }

    bool mayStartCopying() override { return !(hooks_.interrupted && hooks_.interrupted()); }

    ProgressSink& openProgress(Product& product, CancelFlag& cancel) override {
        sink_ = std::make_unique<ConsoleSink>(console_, *machine_, product.caption(), cancel,
                                              hooks_.interrupted);
        return *sink_;
    }

    void closeProgress(const CError& outcome) override {
        if (outcome.code() == CError::kSuccess) {
            console_.line("Progress: 100%");
        }
    }

    void rollingBack(bool running) override {
        if (running) {
            console_.line("Rolling back...");
        }
    }

    void succeeded(const SuccessReport& report, const DeferredActions& deferred) override {
        console_.line(integrationSummary(report, deferred));
    }

private:
    // Ctrl+C while the external programs or the previous version's uninstaller run is
    // refused, once; while copying the sink cancels, before copying mayStartCopying() ends
    // the run.
    void pollInterrupt() {
        const bool workerStage = flow_ && (flow_->stage() == FlowStage::RunningPrograms ||
                                           flow_->stage() == FlowStage::RemovingPrevious);
        if (!refused_ && workerStage && hooks_.interrupted && hooks_.interrupted()) {
            refused_ = flow_->closeRequested() == InstallFlow::CloseAnswer::Refused;
        }
    }

    // Without --root the interrupted installation is looked for on the computer itself, where
    // this build has a system layer for it.
    bool openThisMachine() {
        machine_ = system::openThisMachine();
        if (!machine_) {
            err_ << "instello: --root SANDBOX is required: this build installs into sandbox "
                    "machines only\n";
            return false;
        }
        console_.line("Machine: this computer");
        return true;
    }

    int recoverOnly() {
        if (options_.root.empty()) {
            if (!openThisMachine()) {
                return kExitNotStarted;
            }
        } else {
            try {
                auto sandbox = std::make_unique<system::SandboxSystem>(options_.root);
                tex::registerTexStandIns(*sandbox);
                console_.line("Machine: " + sandbox->root().string());
                machine_ = std::move(sandbox);
            } catch (const std::exception& e) {
                err_ << "instello: " << e.what() << "\n";
                return kExitNotStarted;
            }
        }
        switch (recoverInterruptedInstallation(*machine_, prompter_, hooks_.undoStep)) {
            case RecoveryOutcome::Incomplete:
                return kExitNotRecovered;
            case RecoveryOutcome::Busy:
                return kExitNotStarted;
            case RecoveryOutcome::Nothing:
                console_.line("No interrupted installation was found.");
                return kExitInstalled;
            default:
                return kExitInstalled;
        }
    }

    bool selectNamed(Product& product) {
        for (auto& item : product.components) {
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
            ComponentItem* item = findItem(product.components, name);
            if (!item) {
                err_ << "instello: no component named \"" << name << "\" in INSTALL.CFG\n";
                return false;
            }
            item->setState(1);
        }
        return true;
    }

    const UnattendedOptions& options_;
    const std::filesystem::path& programFolder_;
    Console& console_;
    std::ostream& err_;
    const UnattendedHooks& hooks_;
    ConsolePrompter prompter_;
    std::unique_ptr<system::System> machine_;
    std::unique_ptr<ConsoleSink> sink_;
    InstallFlow* flow_ = nullptr;
    bool refused_ = false;
};

}  // namespace

int exitStatusOf(FlowResult result) {
    switch (result) {
        case FlowResult::Installed:
            return kExitInstalled;
        case FlowResult::NotStarted:
            return kExitNotStarted;
        case FlowResult::Declined:
            return kExitDeclined;
        case FlowResult::NotRecovered:
            return kExitNotRecovered;
        case FlowResult::Failed:
            return kExitFailed;
        case FlowResult::Cancelled:
            return kExitCancelled;
    }
    return kExitFailed;
}

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
    if (options.uninstall && !options.recoverOnly) {
        return runUnattendedUninstall(options, programFolder, console, err, hooks);
    }
    return UnattendedRun(options, programFolder, console, err, hooks).run();
}

}  // namespace installer
