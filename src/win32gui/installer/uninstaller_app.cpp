#include "win32gui/installer/uninstaller_app.h"

#include "installer/unattended/unattended.h"

namespace win32gui {

namespace {

// The windows have no owner: the middle of the screen.
void centre(HWND hwnd) {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    RECT r{};
    GetWindowRect(hwnd, &r);
    SetWindowPos(hwnd, nullptr, work.left + ((work.right - work.left) - (r.right - r.left)) / 2,
                 work.top + ((work.bottom - work.top) - (r.bottom - r.top)) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

UninstallerApp::UninstallerApp(UninstallerOptions options) : options_(std::move(options)) {
    if (!options_.dialogs) {
        ownDialogs_ = std::make_unique<Win32Dialogs>(nullptr, printer_, false);
    }
    dialogs_ = options_.dialogs ? options_.dialogs : ownDialogs_.get();
}

UninstallerApp::~UninstallerApp() {
    flow_.reset();
    sink_.reset();
    progressView_ = nullptr;
    progress_.reset();
}

bool UninstallerApp::start() {
    machine_ =
        installer::openInstallMachine(options_.root, options_.source, options_.programFolder);
    if (!machine_.sys) {
        error_ = machine_.error;
        finished_ = true;
        return false;
    }
    // The removal has no licence to show.
    prompter_ = std::make_unique<installer::WindowPrompter>(*dialogs_, *this,
                                                            [](std::string_view) { return false; });
    flow_ = std::make_unique<installer::UninstallFlow>(*machine_.sys, *prompter_, *this, *this,
                                                       options_.hooks);
    if (!flow_->startUp(installer::UninstallTarget{machine_.source, options_.product})) {
        return false;
    }
    flow_->begin();
    return true;
}

int UninstallerApp::exitStatus() const {
    return result_ ? installer::exitStatusOf(*result_) : installer::kExitNotStarted;
}

bool UninstallerApp::confirm(const installer::UninstallInfo& info) {
    UninstallConfirmView view(nullptr, info);
    centre(view.dialog().window().handle());
    view.dialog().modal().showModal();
    return view.logic().confirmed();
}

installer::RemovalSink& UninstallerApp::openProgress(const installer::UninstallInfo& info,
                                                     installer::CancelFlag& cancel) {
    progress_ = std::make_unique<RemovalProgressView>(nullptr, info,
                                                      [this] { return flow_->confirmCancel(); });
    HWND window = progress_->dialog().window().handle();
    centre(window);
    progressView_ = progress_.get();
    progress_->dialog().window().setVisible(true);
    SetForegroundWindow(window);
    if (ownDialogs_) {
        ownDialogs_->setOwner(window);  // its questions over it
    }
    sink_ = std::make_unique<installer::WindowRemovalSink>(*this, progress_->logic(), cancel);
    return *sink_;
}

void UninstallerApp::closeProgress() {
    if (ownDialogs_) {
        ownDialogs_->setOwner(nullptr);
    }
    sink_.reset();
    progressView_ = nullptr;
    progress_.reset();
}

void UninstallerApp::rollingBack(bool running) {
    SetCursor(LoadCursorW(nullptr, running ? IDC_WAIT : IDC_ARROW));
}

void UninstallerApp::ended(installer::FlowResult result) {
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

}  // namespace win32gui
