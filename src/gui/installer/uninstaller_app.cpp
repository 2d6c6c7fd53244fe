#include "gui/installer/uninstaller_app.h"

namespace gui {

UninstallerApp::UninstallerApp(UninstallerOptions options)
    : installer::RemovalWindowsFront({options.root, options.source, options.programFolder},
                                     options.product, options.hooks) {
    if (!options.dialogs) {
        ownDialogs_ = std::make_unique<QtDialogs>(nullptr);
    }
    dialogs_ = options.dialogs ? options.dialogs : ownDialogs_.get();
}

UninstallerApp::~UninstallerApp() {
    stopFlow();
    progress_.reset();
}

bool UninstallerApp::confirm(const installer::UninstallInfo& info) {
    UninstallConfirmView view(nullptr, info);
    view.dialog().exec();
    return view.logic().confirmed();
}

installer::CRemovalDlg& UninstallerApp::openProgressWindow(const installer::UninstallInfo& info) {
    progress_ =
        std::make_unique<RemovalProgressView>(nullptr, info, [this] { return confirmCancel(); });
    placeOnScreen(progress_->dialog(), -1);
    progress_->dialog().show();
    return progress_->logic();
}

void UninstallerApp::closeProgressWindow() {
    progress_.reset();
}

void UninstallerApp::rollingBack(bool running) {
    showWaitCursor(running);
}

}  // namespace gui
