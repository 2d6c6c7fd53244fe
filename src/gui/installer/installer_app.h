#pragma once

// `instello` with its windows: the installation flow (installer/windows/window_front.h)
// driven by the background window, the licence, main, Details, progress, disk prompt and
// About windows, on a sandbox machine. Start-up failures end the run before the background
// window exists.

#include <QObject>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "gui/installer/installer_views.h"
#include "installer/windows/window_front.h"
#include "ui/dialogs.h"

namespace gui {

struct InstallerOptions {
    std::filesystem::path root;           // the sandbox machine
    std::string source;                   // --source: a host folder or a Windows path
    std::filesystem::path programFolder;  // the installer's own folder, the default source
    // Message boxes and the folder picker; null: the real ones.
    ui::Dialogs* dialogs = nullptr;
};

// Work posted to `owner`'s thread (the window thread), and work run there and waited for.
void postTo(QObject& owner, std::function<void()> work);
void callOn(QObject& owner, const std::function<void()>& work);
// The wait cursor over every window of the program while a rollback runs (true), or not.
void showWaitCursor(bool shown);
// Centred across the screen; its top at `topTenths` tenths of the screen's height, or centred
// down when `topTenths` is negative.
void placeOnScreen(QWidget& window, int topTenths);

class InstallerApp : public QObject, public installer::InstallWindowsFront {
public:
    explicit InstallerApp(InstallerOptions options);
    ~InstallerApp() override;

    BackgroundWindow* background() { return background_.get(); }
    installer::system::SandboxSystem* machine() { return installMachine().sandbox; }

    // installer::WindowThread
    void post(std::function<void()> work) override { postTo(*this, std::move(work)); }
    void call(const std::function<void()>& work) override { callOn(*this, work); }

    // installer::FlowFrontEnd
    void enableMainWindow(bool enabled) override;
    void rollingBack(bool running) override;

protected:
    ui::Dialogs& dialogs() override { return *dialogs_; }
    ui::Shell& shell() override { return shell_; }
    bool showLicense(std::string_view text) override;
    void openBackground(const std::string& caption, const std::string& title) override;
    void closeBackground() override;
    bool showMainDialog(installer::Product& product, installer::ClusterCache& clusters,
                        installer::MainDialogServices services) override;
    void showAbout(const installer::Product& product) override;
    bool showDetails(installer::ComponentGroup& group, std::int64_t otherKb,
                     installer::ChooserContext& context) override;
    installer::CProgressDlg& openProgressWindow() override;
    void closeProgressWindow() override;
    int showDiskPrompt(const std::string& programFile, std::string_view label, std::string& path,
                       installer::DiskPromptServices services) override;

private:
    QWidget* parentWindow();

    std::unique_ptr<QtDialogs> ownDialogs_;
    ui::Dialogs* dialogs_;
    QtShell shell_;
    std::unique_ptr<BackgroundWindow> background_;
    std::unique_ptr<ProgressView> progress_;
};

}  // namespace gui
