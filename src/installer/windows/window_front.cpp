#include "installer/windows/window_front.h"

#include "installer/tex/tex_libraries.h"
#include "installer/unattended/unattended.h"
#include "installer/windows/small_windows.h"

namespace installer {

InstallWindowsFront::InstallWindowsFront(WindowRunPlace place, FlowHooks hooks)
    : place_(std::move(place)), hooks_(std::move(hooks)) {}

InstallWindowsFront::~InstallWindowsFront() {
    stopFlow();
}

void InstallWindowsFront::stopFlow() {
    flow_.reset();
    sink_.reset();
}

bool InstallWindowsFront::start() {
    machine_ = openInstallMachine(place_.root, place_.source, place_.programFolder);
    if (!machine_.sys) {
        error_ = machine_.error;
        finished_ = true;
        return false;
    }
    prompter_ = std::make_unique<WindowPrompter>(
        dialogs(), *this, [this](std::string_view text) { return showLicense(text); });
    flow_ = std::make_unique<InstallFlow>(*machine_.sys, *prompter_, *this, *this, hooks_);
    if (!flow_->startUp(machine_.source)) {
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

int InstallWindowsFront::exitStatus() const {
    return result_ ? exitStatusOf(*result_) : kExitNotStarted;
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
        tex::configureHyphenation(*machine_.sys, *sink_, nullptr, installPath);
    };
    sink_ = std::make_unique<WindowSink>(*this, window, cancel, *prompter_, product.caption(),
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
    result_ = result;
    finished_ = true;
    closeBackground();
    if (onFinished) {
        post([this] {
            if (onFinished) {
                onFinished();
            }
        });
    }
}

RemovalWindowsFront::RemovalWindowsFront(WindowRunPlace place, std::string product, FlowHooks hooks)
    : place_(std::move(place)), product_(std::move(product)), hooks_(std::move(hooks)) {}

RemovalWindowsFront::~RemovalWindowsFront() {
    stopFlow();
}

void RemovalWindowsFront::stopFlow() {
    flow_.reset();
    sink_.reset();
}

bool RemovalWindowsFront::start() {
    machine_ = openInstallMachine(place_.root, place_.source, place_.programFolder);
    if (!machine_.sys) {
        error_ = machine_.error;
        finished_ = true;
        return false;
    }
    // The removal has no licence to show.
    prompter_ =
        std::make_unique<WindowPrompter>(dialogs(), *this, [](std::string_view) { return false; });
    flow_ = std::make_unique<UninstallFlow>(*machine_.sys, *prompter_, *this, *this, hooks_);
    if (!flow_->startUp(UninstallTarget{machine_.source, product_})) {
        return false;
    }
    flow_->begin();
    return true;
}

int RemovalWindowsFront::exitStatus() const {
    return result_ ? exitStatusOf(*result_) : kExitNotStarted;
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
    result_ = result;
    finished_ = true;
    if (onFinished) {
        post([this] {
            if (onFinished) {
                onFinished();
            }
        });
    }
}

}  // namespace installer
