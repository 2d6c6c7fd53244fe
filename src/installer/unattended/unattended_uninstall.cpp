// `instello --unattended --uninstall`: the removal of the installed product without windows,
// everything printed as the windows would show it.

#include <ostream>

#include "installer/flow/install_machine.h"
#include "installer/messages.h"
#include "installer/unattended/console.h"
#include "installer/unattended/unattended.h"
#include "installer/uninstall/uninstall_flow.h"

namespace installer {

namespace {

class ConsoleRemovalSink : public RemovalSink {
public:
    ConsoleRemovalSink(Console& console, CancelFlag& cancel, std::function<bool()> interrupted)
        : console_(console), cancel_(cancel), interrupted_(std::move(interrupted)) {}
    void setSteps(std::size_t) override {}
    void step(std::string_view text) override {
        if (!isCancelRequested()) {
            console_.line(text);
        }
    }
    bool isCancelRequested() override {
        if (interrupted_ && interrupted_() && !cancel_.isSet()) {
            cancel_.set();  // Ctrl+C: the removal stops and everything is put back
        }
        return cancel_.isSet();
    }

private:
    Console& console_;
    CancelFlag& cancel_;
    std::function<bool()> interrupted_;
};

class UnattendedRemoval : public UninstallFrontEnd {
public:
    UnattendedRemoval(const UnattendedOptions& options, Console& console,
                      const UnattendedHooks& hooks)
        : console_(console), hooks_(hooks), prompter_(console, options.acceptLicense) {}

    bool confirm(const UninstallInfo& info) override {
        console_.block(
            "[" + info.caption() + "]\n" + fillIn(msg::kUninstallQuestion, info.displayName) +
            "\n" + fillIn(msg::kUninstallWhat, info.installPath) + "\n-> Remove (default answer)");
        return !(hooks_.interrupted && hooks_.interrupted());
    }
    RemovalSink& openProgress(const UninstallInfo& info, CancelFlag& cancel) override {
        console_.line(std::string(msg::kRemovingLine) + info.displayName);
        sink_ = std::make_unique<ConsoleRemovalSink>(console_, cancel, hooks_.interrupted);
        return *sink_;
    }
    void closeProgress() override {}
    void rollingBack(bool running) override {
        if (running) {
            console_.line("Putting everything back...");
        }
    }

    ConsolePrompter& prompter() { return prompter_; }

private:
    Console& console_;
    const UnattendedHooks& hooks_;
    ConsolePrompter prompter_;
    std::unique_ptr<ConsoleRemovalSink> sink_;
};

}  // namespace

int runUnattendedUninstall(const UnattendedOptions& options,
                           const std::filesystem::path& programFolder, Console& console,
                           std::ostream& err, const UnattendedHooks& hooks) {
    InstallMachine machine = openInstallMachine(options.root, options.source, programFolder);
    if (!machine.sys) {
        err << "instello: " << machine.error << "\n";
        return kExitNotStarted;
    }
    if (machine.sandbox) {
        console.line("Machine: " + machine.sandbox->root().string());
    } else {
        console.line("Machine: this computer");
    }
    UnattendedRemoval front(options, console, hooks);
    QueuedWindowThread thread;
    UninstallFlow flow(*machine.sys, front.prompter(), thread, front,
                       FlowHooks{hooks.journalRecord, hooks.undoStep});
    if (flow.startUp(UninstallTarget{machine.source, options.product})) {
        flow.begin();
        thread.run([&] { return flow.ended(); });
    }
    return exitStatusOf(flow.result());
}

}  // namespace installer
