#include "gui/installer/installer_app.h"

#include <QApplication>
#include <QDesktopServices>
#include <QScreen>
#include <QThread>
#include <QUrl>

#include "gui/text_bridge.h"
#include "installer/messages.h"
#include "installer/tex/tex_libraries.h"
#include "installer/unattended/unattended.h"

namespace gui {

namespace msg = installer::msg;

InstallerApp::InstallerApp(InstallerOptions options) : options_(std::move(options)) {
    if (!options_.dialogs) {
        ownDialogs_ = std::make_unique<QtDialogs>(nullptr);
    }
    dialogs_ = options_.dialogs ? options_.dialogs : ownDialogs_.get();
}

InstallerApp::~InstallerApp() {
    flow_.reset();
    sink_.reset();
    progress_.reset();
}

void InstallerApp::post(std::function<void()> work) {
    QMetaObject::invokeMethod(this, std::move(work), Qt::QueuedConnection);
}

void InstallerApp::call(const std::function<void()>& work) {
    if (QThread::currentThread() == thread()) {
        work();
        return;
    }
    QMetaObject::invokeMethod(
        this, [&work] { work(); }, Qt::BlockingQueuedConnection);
}

QWidget* InstallerApp::parentWindow() {
    return background_.get();
}

bool InstallerApp::start() {
    machine_ =
        installer::openSandboxMachine(options_.root, options_.source, options_.programFolder);
    if (!machine_.sys) {
        error_ = machine_.error;
        finished_ = true;
        return false;
    }
    prompter_ = std::make_unique<installer::WindowPrompter>(
        *dialogs_, *this, [this](std::string_view text) {
            LicenseView view(parentWindow(), text);
            view.dialog().exec();
            return view.logic().agreed();
        });
    flow_ = std::make_unique<installer::InstallFlow>(*machine_.sys, *prompter_, *this, *this);
    if (!flow_->startUp(machine_.source)) {
        return false;
    }
    const installer::Product& product = *flow_->product();
    background_ = std::make_unique<BackgroundWindow>(
        toQString(product.caption()),
        toQString(installer::backgroundTitle(product.name, product.version)));
    background_->setCloseQuery([this] {
        return !flow_ || flow_->closeRequested() == installer::InstallFlow::CloseAnswer::Close;
    });
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    background_->setGeometry(screen);
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
        AboutView about(QApplication::activeModalWidget(), product.name, product.version);
        about.dialog().exec();
    };
    services.openHelp = [this](const std::string& file) { return openHelp(file); };
    services.openDetails = [](installer::ComponentGroup& group, std::int64_t otherKb,
                              installer::ChooserContext& context) {
        DetailsDialogView details(QApplication::activeModalWidget(), group, context, otherKb,
                                  context.spaceAvailable());
        details.dialog().exec();
        return details.logic().accepted();
    };
    MainDialogView view(parentWindow(), product, *machine_.sys, *prompter_, clusters,
                        std::move(services));
    view.dialog().exec();
    return view.logic().installChosen() ? Choice::Install : Choice::Cancel;
}

installer::ProgressSink& InstallerApp::openProgress(installer::Product& product,
                                                    installer::CancelFlag& cancel) {
    progress_ =
        std::make_unique<ProgressView>(parentWindow(), [this] { return flow_->confirmCancel(); });
    // Centred across, its top at 60 % of the screen's height.
    QDialog& dialog = progress_->dialog();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    dialog.move(screen.x() + (screen.width() - dialog.width()) / 2,
                screen.y() + screen.height() * 6 / 10);
    dialog.show();
    auto askLocation = [this](const std::string& programFile, std::string_view label,
                              std::string& path) {
        installer::DiskPromptServices services;
        services.dialogs = dialogs_;
        services.chooseFolder = [this](const std::string& start) { return chooseFolder(start); };
        services.confirmCancel = [this] { return flow_->confirmCancel(); };
        QWidget* over = progress_ && progress_->dialog().isVisible()
                            ? static_cast<QWidget*>(&progress_->dialog())
                            : parentWindow();
        DiskPromptView prompt(over, *machine_.sys, programFile, typedPaths_, services);
        prompt.logic().open(label, path);
        prompt.dialog().exec();
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
    progress_.reset();
}

void InstallerApp::enableMainWindow(bool enabled) {
    if (background_) {
        background_->setEnabled(enabled);
    }
}

void InstallerApp::beep(installer::Icon) {
    dialogs_->beep();
}

void InstallerApp::rollingBack(bool running) {
    if (running) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

void InstallerApp::ended(installer::FlowResult result) {
    result_ = result;
    finished_ = true;
    if (background_) {
        background_->close();
    }
    if (onFinished) {
        post([this] {
            if (onFinished) {
                onFinished();
            }
        });
    }
}

// The machine's drives are folders of the host: the picker shows them as they are.
std::optional<std::string> InstallerApp::chooseFolder(const std::string& start) {
    const auto host = machine_.sys->hostPath(start.empty() ? "C:\\" : start);
    const auto chosen =
        dialogs_->chooseFolder(msg::kSelectDirectory, host ? host->string() : std::string());
    if (!chosen) {
        return std::nullopt;
    }
    if (installer::isWindowsPath(*chosen)) {
        return *chosen;
    }
    return installer::windowsPathOf(*machine_.sys, *chosen);
}

bool InstallerApp::openHelp(const std::string& file) {
    const auto host = machine_.sys->hostPath(file);
    std::error_code ec;
    return host && std::filesystem::exists(*host, ec) &&
           QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(host->string())));
}

}  // namespace gui
