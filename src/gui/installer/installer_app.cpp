#include "gui/installer/installer_app.h"

#include <QApplication>
#include <QScreen>
#include <QThread>

#include "gui/text_bridge.h"

namespace gui {

void postTo(QObject& owner, std::function<void()> work) {
    QMetaObject::invokeMethod(&owner, std::move(work), Qt::QueuedConnection);
}

void callOn(QObject& owner, const std::function<void()>& work) {
    if (QThread::currentThread() == owner.thread()) {
        work();
        return;
    }
    QMetaObject::invokeMethod(
        &owner, [&work] { work(); }, Qt::BlockingQueuedConnection);
}

void showWaitCursor(bool shown) {
    if (shown) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

void placeOnScreen(QWidget& window, int topTenths) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const int y = topTenths < 0 ? screen.y() + (screen.height() - window.height()) / 2
                                : screen.y() + screen.height() * topTenths / 10;
    window.move(screen.x() + (screen.width() - window.width()) / 2, y);
}

InstallerApp::InstallerApp(InstallerOptions options)
    : installer::InstallWindowsFront({options.root, options.source, options.programFolder}, {}) {
    if (!options.dialogs) {
        ownDialogs_ = std::make_unique<QtDialogs>(nullptr);
    }
    dialogs_ = options.dialogs ? options.dialogs : ownDialogs_.get();
}

InstallerApp::~InstallerApp() {
    stopFlow();
    progress_.reset();
}

QWidget* InstallerApp::parentWindow() {
    return background_.get();
}

bool InstallerApp::showLicense(std::string_view text) {
    LicenseView view(parentWindow(), text);
    view.dialog().exec();
    return view.logic().agreed();
}

void InstallerApp::openBackground(const std::string& caption, const std::string& title) {
    background_ = std::make_unique<BackgroundWindow>(toQString(caption), toQString(title));
    background_->setCloseQuery([this] { return backgroundMayClose(); });
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    background_->setGeometry(screen);
    background_->show();
}

void InstallerApp::closeBackground() {
    if (background_) {
        background_->close();
    }
}

bool InstallerApp::showMainDialog(installer::Product& product, installer::ClusterCache& clusters,
                                  installer::MainDialogServices services) {
    MainDialogView view(parentWindow(), product, *installMachine().sys, prompter(), clusters,
                        std::move(services));
    view.dialog().exec();
    return view.logic().installChosen();
}

void InstallerApp::showAbout(const installer::Product& product) {
    AboutView about(QApplication::activeModalWidget(), product.name, product.version);
    about.dialog().exec();
}

bool InstallerApp::showDetails(installer::ComponentGroup& group, std::int64_t otherKb,
                               installer::ChooserContext& context) {
    DetailsDialogView details(QApplication::activeModalWidget(), group, context, otherKb,
                              context.spaceAvailable());
    details.dialog().exec();
    return details.logic().accepted();
}

installer::CProgressDlg& InstallerApp::openProgressWindow() {
    progress_ = std::make_unique<ProgressView>(parentWindow(), [this] { return confirmCancel(); });
    // Centred across, its top at 60 % of the screen's height.
    placeOnScreen(progress_->dialog(), 6);
    progress_->dialog().show();
    return progress_->logic();
}

void InstallerApp::closeProgressWindow() {
    progress_.reset();
}

int InstallerApp::showDiskPrompt(const std::string& programFile, std::string_view label,
                                 std::string& path, installer::DiskPromptServices services) {
    QWidget* over = progress_ && progress_->dialog().isVisible()
                        ? static_cast<QWidget*>(&progress_->dialog())
                        : parentWindow();
    DiskPromptView prompt(over, *installMachine().sys, programFile, typedPaths(), services);
    prompt.logic().open(label, path);
    prompt.dialog().exec();
    path = prompt.logic().path();
    return prompt.logic().answer();
}

void InstallerApp::enableMainWindow(bool enabled) {
    if (background_) {
        background_->setEnabled(enabled);
    }
}

void InstallerApp::rollingBack(bool running) {
    showWaitCursor(running);
}

}  // namespace gui
