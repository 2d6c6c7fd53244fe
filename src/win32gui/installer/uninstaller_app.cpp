#include "win32gui/installer/uninstaller_app.h"

namespace win32gui {

UninstallerApp::UninstallerApp(UninstallerOptions options)
    : installer::RemovalWindowsFront({options.root, options.source, options.programFolder},
                                     options.product, options.hooks) {
    if (!options.dialogs) {
        ownDialogs_ = std::make_unique<Win32Dialogs>(nullptr, printer_, false);
    }
    dialogs_ = options.dialogs ? options.dialogs : ownDialogs_.get();
}

UninstallerApp::~UninstallerApp() {
    stopFlow();
    progressView_ = nullptr;
    progress_.reset();
}

// The windows have no owner: the middle of the screen.
bool UninstallerApp::confirm(const installer::UninstallInfo& info) {
    UninstallConfirmView view(nullptr, info);
    centreOnScreen(view.dialog().window().handle());
    view.dialog().modal().showModal();
    return view.logic().confirmed();
}

installer::CRemovalDlg& UninstallerApp::openProgressWindow(const installer::UninstallInfo& info) {
    progress_ =
        std::make_unique<RemovalProgressView>(nullptr, info, [this] { return confirmCancel(); });
    HWND window = progress_->dialog().window().handle();
    centreOnScreen(window);
    progressView_ = progress_.get();
    progress_->dialog().window().setVisible(true);
    SetForegroundWindow(window);
    if (ownDialogs_) {
        ownDialogs_->setOwner(window);  // its questions over it
    }
    return progress_->logic();
}

void UninstallerApp::closeProgressWindow() {
    if (ownDialogs_) {
        ownDialogs_->setOwner(nullptr);
    }
    progressView_ = nullptr;
    progress_.reset();
}

}  // namespace win32gui
