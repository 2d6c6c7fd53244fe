#include "gui/installer/uninstaller_app.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QThread>

#include "installer/unattended/unattended.h"

namespace gui {

UninstallerApp::UninstallerApp(UninstallerOptions options) : options_(std::move(options)) {
    if (!options_.dialogs) {
        ownDialogs_ = std::make_unique<QtDialogs>(nullptr);
    }
    dialogs_ = options_.dialogs ? options_.dialogs : ownDialogs_.get();
}

UninstallerApp::~UninstallerApp() {
    flow_.reset();
    sink_.reset();
    progress_.reset();
}

void UninstallerApp::post(std::function<void()> work) {
    QMetaObject::invokeMethod(this, std::move(work), Qt::QueuedConnection);
}

void UninstallerApp::call(const std::function<void()>& work) {
    if (QThread::currentThread() == thread()) {
        work();
        return;
    }
    QMetaObject::invokeMethod(
        this, [&work] { work(); }, Qt::BlockingQueuedConnection);
}

bool UninstallerApp::start() {
    machine_ =
        installer::openSandboxMachine(options_.root, options_.source, options_.programFolder);
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
    view.dialog().exec();
    return view.logic().confirmed();
}

installer::RemovalSink& UninstallerApp::openProgress(const installer::UninstallInfo& info,
                                                     installer::CancelFlag& cancel) {
    progress_ = std::make_unique<RemovalProgressView>(nullptr, info,
                                                      [this] { return flow_->confirmCancel(); });
    QDialog& dialog = progress_->dialog();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    dialog.move(screen.x() + (screen.width() - dialog.width()) / 2,
                screen.y() + (screen.height() - dialog.height()) / 2);
    dialog.show();
    sink_ = std::make_unique<installer::WindowRemovalSink>(*this, progress_->logic(), cancel);
    return *sink_;
}

void UninstallerApp::closeProgress() {
    sink_.reset();
    progress_.reset();
}

void UninstallerApp::rollingBack(bool running) {
    if (running) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
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

}  // namespace gui
