#include "win32gui/installer/installer_app.h"

namespace win32gui {

namespace {

RECT workArea() {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

// Centred across; its top at `topTenths` tenths of the work area's height, or centred down
// when `topTenths` is negative.
void placeOnScreen(HWND hwnd, int topTenths) {
    const RECT work = workArea();
    RECT r{};
    GetWindowRect(hwnd, &r);
    const int height = work.bottom - work.top;
    const int y = topTenths < 0 ? work.top + (height - (r.bottom - r.top)) / 2
                                : work.top + height * topTenths / 10;
    SetWindowPos(hwnd, nullptr, work.left + ((work.right - work.left) - (r.right - r.left)) / 2, y,
                 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

void centreOnScreen(HWND hwnd) {
    placeOnScreen(hwnd, -1);
}

void showWaitCursor(bool shown) {
    SetCursor(LoadCursorW(nullptr, shown ? IDC_WAIT : IDC_ARROW));
}

InstallerApp::InstallerApp(InstallerOptions options)
    : installer::InstallWindowsFront({options.root, options.source, options.programFolder},
                                     options.hooks) {
    if (!options.dialogs) {
        ownDialogs_ = std::make_unique<Win32Dialogs>(nullptr, printer_, false);
    }
    dialogs_ = options.dialogs ? options.dialogs : ownDialogs_.get();
}

InstallerApp::~InstallerApp() {
    stopFlow();
    progress_.reset();
    background_.reset();
}

HWND InstallerApp::owner() const {
    return background_ ? background_->handle() : nullptr;
}

bool InstallerApp::showLicense(std::string_view text) {
    LicenseView view(owner(), text);
    if (!owner()) {
        centreOnScreen(view.dialog().window().handle());
    }
    view.dialog().modal().showModal();
    return view.logic().agreed();
}

void InstallerApp::openBackground(const std::string& caption, const std::string& title) {
    background_ = std::make_unique<BackgroundWindow>(caption, title);
    background_->setCloseQuery([this] { return backgroundMayClose(); });
    if (ownDialogs_) {
        ownDialogs_->setOwner(background_->handle());
    }
    background_->show();
}

void InstallerApp::closeBackground() {
    if (ownDialogs_) {
        ownDialogs_->setOwner(nullptr);
    }
    if (background_) {
        background_->destroy();
    }
}

bool InstallerApp::showMainDialog(installer::Product& product, installer::ClusterCache& clusters,
                                  installer::MainDialogServices services) {
    MainDialogView view(owner(), product, *installMachine().sys, prompter(), clusters,
                        std::move(services));
    mainDialog_ = &view;
    view.dialog().modal().showModal();
    mainDialog_ = nullptr;
    return view.logic().installChosen();
}

void InstallerApp::showAbout(const installer::Product& product) {
    AboutView about(dialogOwner(owner()), product.name, product.version);
    about.dialog().modal().showModal();
}

bool InstallerApp::showDetails(installer::ComponentGroup& group, std::int64_t otherKb,
                               installer::ChooserContext& context) {
    DetailsDialogView details(dialogOwner(owner()), group, context, otherKb,
                              context.spaceAvailable());
    details.dialog().modal().showModal();
    return details.logic().accepted();
}

installer::CProgressDlg& InstallerApp::openProgressWindow() {
    progress_ = std::make_unique<ProgressView>(owner(), [this] { return confirmCancel(); });
    // Centred across, its top at 60 % of the screen's height.
    placeOnScreen(progress_->dialog().window().handle(), 6);
    progressView_ = progress_.get();
    progress_->dialog().window().setVisible(true);
    return progress_->logic();
}

void InstallerApp::closeProgressWindow() {
    progressView_ = nullptr;
    progress_.reset();
}

int InstallerApp::showDiskPrompt(const std::string& programFile, std::string_view label,
                                 std::string& path, installer::DiskPromptServices services) {
    HWND over = progress_ && progress_->dialog().window().visible()
                    ? progress_->dialog().window().handle()
                    : owner();
    DiskPromptView prompt(over, *installMachine().sys, programFile, typedPaths(), services);
    prompt.logic().open(label, path);
    prompt.dialog().modal().showModal();
    path = prompt.logic().path();
    return prompt.logic().answer();
}

void InstallerApp::enableMainWindow(bool enabled) {
    if (background_) {
        EnableWindow(background_->handle(), enabled ? TRUE : FALSE);
    }
}

}  // namespace win32gui
