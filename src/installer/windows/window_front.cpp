#include "installer/windows/window_front.h"

#include "installer/flow/sandbox_machine.h"
#include "installer/messages.h"
#include "installer/tex/tex_libraries.h"
#include "installer/unattended/unattended.h"
#include "installer/windows/small_windows.h"

namespace installer {

bool WindowsRun::open(ui::Dialogs& dialogs, std::function<bool(std::string_view)> license) {
    machine_ = openInstallMachine(place_.root, place_.source, place_.programFolder);
    if (!machine_.sys) {
        error_ = machine_.error;
        result_ = FlowResult::NotStarted;
        return false;
    }
    prompter_ = std::make_unique<WindowPrompter>(dialogs, *this, std::move(license));
    return true;
}

int WindowsRun::exitStatus() const {
    return result_ ? exitStatusOf(*result_) : kExitNotStarted;
}

void WindowsRun::finish(FlowResult result) {
    result_ = result;
    if (onFinished) {
        post([this] {
            if (onFinished) {
                onFinished();
            }
        });
    }
}

InstallWindowsFront::~InstallWindowsFront() {
    stopFlow();
}

void InstallWindowsFront::stopFlow() {
    flow_.reset();
    sink_.reset();
}

bool InstallWindowsFront::start() {
    if (!open(dialogs(), [this](std::string_view text) { return showLicense(text); })) {
        return false;
    }
    InstallMachine& machine = installMachine();
    flow_ = std::make_unique<InstallFlow>(*machine.sys, prompter(), *this, *this, hooks());
    if (!flow_->startUp(machine.source)) {
        return false;
    }
    const Product& product = *flow_->product();
    openBackground(product.caption(), backgroundTitle(product.name, product.version));
    flow_->begin();
    return true;
}

bool InstallWindowsFront::backgroundMayClose() {
    return !flow_ || flow_->closeRequested() == InstallFlow::CloseAnswer::Close;
}

FlowFrontEnd::Choice InstallWindowsFront::choose(Product& product, ClusterCache& clusters) {
    MainDialogServices services;
    services.chooseFolder = [this](const std::string& start) { return chooseFolder(start); };
    services.openAbout = [this, &product] { showAbout(product); };
    services.openHelp = [this](const std::string& file) { return openHelp(file); };
    services.openDetails = [this](ComponentGroup& group, std::int64_t otherKb,
                                  ChooserContext& context) {
        return showDetails(group, otherKb, context);
    };
    return showMainDialog(product, clusters, std::move(services)) ? Choice::Install
                                                                  : Choice::Cancel;
}

ProgressSink& InstallWindowsFront::openProgress(Product& product, CancelFlag& cancel) {
    CProgressDlg& window = openProgressWindow();
    auto askLocation = [this](const std::string& programFile, std::string_view label,
                              std::string& path) {
        DiskPromptServices services;
        services.dialogs = &dialogs();
        services.chooseFolder = [this](const std::string& start) { return chooseFolder(start); };
        services.confirmCancel = [this] { return flow_->confirmCancel(); };
        return showDiskPrompt(programFile, label, path, std::move(services));
    };
    auto hyphenation = [this](std::string_view installPath) {
        tex::configureHyphenation(*installMachine().sys, *sink_, nullptr, installPath);
    };
    sink_ = std::make_unique<WindowSink>(*this, window, cancel, prompter(), product.caption(),
                                         product.components, askLocation, hyphenation);
    return *sink_;
}

void InstallWindowsFront::closeProgress(const CError&) {
    closeProgressWindow();
}

void InstallWindowsFront::beep(Icon) {
    dialogs().beep();
}

void InstallWindowsFront::ended(FlowResult result) {
    closeBackground();
    finish(result);
}

// On a sandbox its drives are folders of the host: the picker shows them as they are.
std::optional<std::string> InstallWindowsFront::chooseFolder(const std::string& start) {
    system::SandboxSystem* sandbox = installMachine().sandbox;
    const std::string from = start.empty() ? std::string("C:\\") : start;
    std::string shown = from;
    if (sandbox) {
        const auto host = sandbox->hostPath(from);
        shown = host ? host->string() : std::string();
    }
    const auto chosen = dialogs().chooseFolder(msg::kSelectDirectory, shown);
    if (!chosen || !sandbox) {
        return chosen;
    }
    // A Windows path that is no absolute path of the host (which a picker of a POSIX host
    // never gives) is one of the machine already.
    if (isWindowsPath(*chosen) && !std::filesystem::path(*chosen).is_absolute()) {
        return *chosen;
    }
    return windowsPathOf(*sandbox, *chosen);
}

bool InstallWindowsFront::openHelp(const std::string& file) {
    const InstallMachine& machine = installMachine();
    std::string path = file;
    if (machine.sandbox) {
        const auto host = machine.sandbox->hostPath(file);
        if (!host) {
            return false;
        }
        path = host->string();
    }
    return machine.sys->fileExists(file) && shell().open(path);
}

RemovalWindowsFront::~RemovalWindowsFront() {
    stopFlow();
}

void RemovalWindowsFront::stopFlow() {
    flow_.reset();
    sink_.reset();
}

bool RemovalWindowsFront::start() {
    // The removal has no licence to show.
    if (!open(dialogs(), [](std::string_view) { return false; })) {
        return false;
    }
    InstallMachine& machine = installMachine();
    flow_ = std::make_unique<UninstallFlow>(*machine.sys, prompter(), *this, *this, hooks());
    if (!flow_->startUp(UninstallTarget{machine.source, product_})) {
        return false;
    }
    flow_->begin();
    return true;
}

RemovalSink& RemovalWindowsFront::openProgress(const UninstallInfo& info, CancelFlag& cancel) {
    CRemovalDlg& window = openProgressWindow(info);
    sink_ = std::make_unique<WindowRemovalSink>(*this, window, cancel);
    return *sink_;
}

void RemovalWindowsFront::closeProgress() {
    sink_.reset();
    closeProgressWindow();
}

void RemovalWindowsFront::ended(FlowResult result) {
    finish(result);
}

}  // namespace installer
