#include "win32gui/installer/installer_app.h"

#include "installer/flow/sandbox_machine.h"
#include "installer/messages.h"
#include "installer/tex/tex_libraries.h"
#include "installer/unattended/unattended.h"
#include "win32gui/services/win32_services.h"

namespace win32gui {

namespace msg = installer::msg;

namespace {

RECT workArea() {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

// A window that has no owner to centre over: the middle of the screen.
void centreOnScreen(HWND hwnd) {
    const RECT work = workArea();
    RECT r{};
    GetWindowRect(hwnd, &r);
    SetWindowPos(hwnd, nullptr, work.left + ((work.right - work.left) - (r.right - r.left)) / 2,
                 work.top + ((work.bottom - work.top) - (r.bottom - r.top)) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

InstallerApp::InstallerApp(InstallerOptions options) : options_(std::move(options)) {
    if (!options_.dialogs) {
        ownDialogs_ = std::make_unique<Win32Dialogs>(nullptr, printer_, false);
    }
    dialogs_ = options_.dialogs ? options_.dialogs : ownDialogs_.get();
}

InstallerApp::~InstallerApp() {
    flow_.reset();
    sink_.reset();
    progress_.reset();
    background_.reset();
}

HWND InstallerApp::owner() const {
    return background_ ? background_->handle() : nullptr;
}

bool InstallerApp::start() {
    machine_ =
        installer::openInstallMachine(options_.root, options_.source, options_.programFolder);
    if (!machine_.sys) {
        error_ = machine_.error;
        finished_ = true;
        return false;
    }
    prompter_ = std::make_unique<installer::WindowPrompter>(
        *dialogs_, *this, [this](std::string_view text) {
            LicenseView view(owner(), text);
            if (!owner()) {
                centreOnScreen(view.dialog().window().handle());
            }
            view.dialog().modal().showModal();
            return view.logic().agreed();
        });
    flow_ = std::make_unique<installer::InstallFlow>(*machine_.sys, *prompter_, *this, *this,
                                                     options_.hooks);
    if (!flow_->startUp(machine_.source)) {
        return false;
    }
    const installer::Product& product = *flow_->product();
    background_ = std::make_unique<BackgroundWindow>(
        product.caption(), installer::backgroundTitle(product.name, product.version));
    background_->setCloseQuery([this] {
        return !flow_ || flow_->closeRequested() == installer::InstallFlow::CloseAnswer::Close;
    });
    if (ownDialogs_) {
        ownDialogs_->setOwner(background_->handle());
    }
    background_->show();
    flow_->begin();
    return true;
}

int InstallerApp::exitStatus() const {
    if (!result_) {
        return installer::kExitNotStarted;
    }
    return installer::exitStatusOf(*result_);
}

installer::FlowFrontEnd::Choice InstallerApp::choose(installer::Product& product,
                                                     installer::ClusterCache& clusters) {
    installer::MainDialogServices services;
    services.chooseFolder = [this](const std::string& start) { return chooseFolder(start); };
    services.openAbout = [this, &product] {
        AboutView about(dialogOwner(owner()), product.name, product.version);
        about.dialog().modal().showModal();
    };
    services.openHelp = [this](const std::string& file) { return openHelp(file); };
    services.openDetails = [this](installer::ComponentGroup& group, std::int64_t otherKb,
                                  installer::ChooserContext& context) {
        DetailsDialogView details(dialogOwner(owner()), group, context, otherKb,
                                  context.spaceAvailable());
        details.dialog().modal().showModal();
        return details.logic().accepted();
    };
    MainDialogView view(owner(), product, *machine_.sys, *prompter_, clusters, std::move(services));
    mainDialog_ = &view;
    view.dialog().modal().showModal();
    mainDialog_ = nullptr;
    return view.logic().installChosen() ? Choice::Install : Choice::Cancel;
}

installer::ProgressSink& InstallerApp::openProgress(installer::Product& product,
                                                    installer::CancelFlag& cancel) {
    progress_ = std::make_unique<ProgressView>(owner(), [this] { return flow_->confirmCancel(); });
    // Centred across, its top at 60 % of the screen's height.
    HWND window = progress_->dialog().window().handle();
    const RECT work = workArea();
    RECT r{};
    GetWindowRect(window, &r);
    SetWindowPos(window, nullptr, work.left + ((work.right - work.left) - (r.right - r.left)) / 2,
                 work.top + (work.bottom - work.top) * 6 / 10, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    progressView_ = progress_.get();
    progress_->dialog().window().setVisible(true);
    auto askLocation = [this](const std::string& programFile, std::string_view label,
                              std::string& path) {
        installer::DiskPromptServices services;
        services.dialogs = dialogs_;
        services.chooseFolder = [this](const std::string& start) { return chooseFolder(start); };
        services.confirmCancel = [this] { return flow_->confirmCancel(); };
        HWND over = progress_ && progress_->dialog().window().visible()
                        ? progress_->dialog().window().handle()
                        : owner();
        DiskPromptView prompt(over, *machine_.sys, programFile, typedPaths_, services);
        prompt.logic().open(label, path);
        prompt.dialog().modal().showModal();
        path = prompt.logic().path();
        return prompt.logic().answer();
    };
    auto hyphenation = [this](std::string_view installPath) {
        installer::tex::configureHyphenation(*machine_.sys, *sink_, nullptr, installPath);
    };
    sink_ = std::make_unique<installer::WindowSink>(*this, progress_->logic(), cancel, *prompter_,
                                                    product.caption(), product.components,
                                                    askLocation, hyphenation);
    return *sink_;
}

void InstallerApp::closeProgress(const installer::CError&) {
    progressView_ = nullptr;
    progress_.reset();
}

void InstallerApp::enableMainWindow(bool enabled) {
    if (background_) {
        EnableWindow(background_->handle(), enabled ? TRUE : FALSE);
    }
}

void InstallerApp::beep(installer::Icon) {
    dialogs_->beep();
}

void InstallerApp::rollingBack(bool running) {
    SetCursor(LoadCursorW(nullptr, running ? IDC_WAIT : IDC_ARROW));
}

void InstallerApp::ended(installer::FlowResult result) {
    result_ = result;
    finished_ = true;
    if (ownDialogs_) {
        ownDialogs_->setOwner(nullptr);
    }
    if (background_) {
        background_->destroy();
    }
    if (onFinished) {
        post([this] {
            if (onFinished) {
                onFinished();
            }
        });
    }
}

// On a sandbox its drives are folders of this computer: the picker shows them as they are.
std::optional<std::string> InstallerApp::chooseFolder(const std::string& start) {
    const std::string from = start.empty() ? std::string("C:\\") : start;
    std::string shown = from;
    if (machine_.sandbox) {
        const auto host = machine_.sandbox->hostPath(from);
        shown = host ? host->string() : std::string();
    }
    const auto chosen = dialogs_->chooseFolder(msg::kSelectDirectory, shown);
    if (!chosen || !machine_.sandbox) {
        return chosen;
    }
    return installer::windowsPathOf(*machine_.sandbox, *chosen);
}

bool InstallerApp::openHelp(const std::string& file) {
    std::string path = file;
    if (machine_.sandbox) {
        const auto host = machine_.sandbox->hostPath(file);
        if (!host) {
            return false;
        }
        path = host->string();
    }
    return machine_.sys->fileExists(file) && Win32Shell().open(path);
}

}  // namespace win32gui
