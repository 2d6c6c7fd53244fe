#pragma once

// `instello.exe` with its windows: the installation flow (installer/windows/window_front.h)
// driven by the background window, the licence, main, Details, progress, disk prompt and About
// windows, on this computer or on a sandbox machine. Three threads: this one, the window
// thread, runs every window; the installation thread and the external-programs thread reach it
// through posted work (the flow's commands, the progress window's texts and bars) and through
// questions handed to it and waited for (the disk prompt, the message boxes). Start-up failures
// end the run before the background window exists.

#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "installer/windows/window_front.h"
#include "ui/dialogs.h"
#include "win32gui/installer/installer_views.h"
#include "win32gui/posted_work.h"
#include "win32gui/services/win32_dialogs.h"
#include "win32gui/services/win32_printer.h"
#include "win32gui/services/win32_services.h"

namespace win32gui {

struct InstallerOptions {
    std::filesystem::path root;           // a sandbox machine; empty: this computer
    std::string source;                   // --source: a host folder or a Windows path
    std::filesystem::path programFolder;  // the installer's own folder, the default source
    // Message boxes and the folder picker; null: the real ones.
    ui::Dialogs* dialogs = nullptr;
    // Called on the installation thread after each journal record (the tests slow it there).
    installer::FlowHooks hooks;
};

// A window that has no owner to centre over: the middle of the screen's work area.
void centreOnScreen(HWND hwnd);
// The wait cursor while a rollback runs (true), or the arrow again.
void showWaitCursor(bool shown);

class InstallerApp : public installer::InstallWindowsFront {
public:
    explicit InstallerApp(InstallerOptions options);
    ~InstallerApp() override;
    InstallerApp(const InstallerApp&) = delete;
    InstallerApp& operator=(const InstallerApp&) = delete;

    BackgroundWindow* background() { return background_.get(); }
    installer::system::System* machine() { return installMachine().sys.get(); }
    // The main window and the progress window while they are open (null otherwise); a look
    // from another thread is safe only while the window shows.
    MainDialogView* mainDialog() { return mainDialog_.load(); }
    ProgressView* progress() { return progressView_.load(); }

    // installer::WindowThread
    void post(std::function<void()> work) override { work_.post(std::move(work)); }
    void call(const std::function<void()>& work) override { work_.call(work); }

    // installer::FlowFrontEnd
    void enableMainWindow(bool enabled) override;
    void rollingBack(bool running) override { showWaitCursor(running); }

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
    HWND owner() const;

    PostedWork work_;
    PrinterChoice printer_;
    std::unique_ptr<Win32Dialogs> ownDialogs_;
    ui::Dialogs* dialogs_;
    Win32Shell shell_;
    std::unique_ptr<BackgroundWindow> background_;
    std::unique_ptr<ProgressView> progress_;
    std::atomic<MainDialogView*> mainDialog_{nullptr};
    std::atomic<ProgressView*> progressView_{nullptr};
};

}  // namespace win32gui
