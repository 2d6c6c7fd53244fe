#pragma once

// `instello.exe` with its windows: the installation flow driven by the background window, the
// licence, main, Details, progress, disk prompt and About windows, on this computer or on a
// sandbox machine. Three threads: this one, the window thread, runs every window; the
// installation thread and the external-programs thread reach it through posted work (the
// flow's commands, the progress window's texts and bars) and through questions handed to it
// and waited for (the disk prompt, the message boxes). Start-up failures end the run before the
// background window exists.

#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "installer/flow/install_flow.h"
#include "installer/flow/install_machine.h"
#include "installer/windows/window_prompter.h"
#include "ui/dialogs.h"
#include "win32gui/installer/installer_views.h"
#include "win32gui/posted_work.h"
#include "win32gui/services/win32_dialogs.h"
#include "win32gui/services/win32_printer.h"

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

class InstallerApp : public installer::FlowFrontEnd, public installer::WindowThread {
public:
    explicit InstallerApp(InstallerOptions options);
    ~InstallerApp() override;
    InstallerApp(const InstallerApp&) = delete;
    InstallerApp& operator=(const InstallerApp&) = delete;

    // Opens the machine, undoes an interrupted installation, reads the script, shows the
    // licence; then the background window and command 100. False when the run is already
    // over (the machine cannot be opened: `error()` says why).
    bool start();
    bool finished() const { return finished_; }
    // Called once the run is over, from the window thread's loop.
    std::function<void()> onFinished;
    // The exit status, as `instello --unattended` gives it.
    int exitStatus() const;
    const std::string& error() const { return error_; }

    BackgroundWindow* background() { return background_.get(); }
    installer::InstallFlow* flow() { return flow_.get(); }
    installer::system::System* machine() { return machine_.sys.get(); }
    // The main window and the progress window while they are open (null otherwise); a look
    // from another thread is safe only while the window shows.
    MainDialogView* mainDialog() { return mainDialog_.load(); }
    ProgressView* progress() { return progressView_.load(); }

    // installer::WindowThread
    void post(std::function<void()> work) override { work_.post(std::move(work)); }
    void call(const std::function<void()>& work) override { work_.call(work); }

    // installer::FlowFrontEnd
    Choice choose(installer::Product& product, installer::ClusterCache& clusters) override;
    installer::ProgressSink& openProgress(installer::Product& product,
                                          installer::CancelFlag& cancel) override;
    void closeProgress(const installer::CError& outcome) override;
    void enableMainWindow(bool enabled) override;
    void beep(installer::Icon icon) override;
    void rollingBack(bool running) override;
    void ended(installer::FlowResult result) override;

private:
    std::optional<std::string> chooseFolder(const std::string& start);
    bool openHelp(const std::string& file);
    HWND owner() const;

    InstallerOptions options_;
    PostedWork work_;
    PrinterChoice printer_;
    std::unique_ptr<Win32Dialogs> ownDialogs_;
    ui::Dialogs* dialogs_;
    installer::InstallMachine machine_;
    std::unique_ptr<installer::WindowPrompter> prompter_;
    std::unique_ptr<installer::InstallFlow> flow_;
    std::unique_ptr<BackgroundWindow> background_;
    std::unique_ptr<ProgressView> progress_;
    std::atomic<MainDialogView*> mainDialog_{nullptr};
    std::atomic<ProgressView*> progressView_{nullptr};
    std::unique_ptr<installer::WindowSink> sink_;
    std::vector<std::string> typedPaths_;
    std::optional<installer::FlowResult> result_;
    std::string error_;
    bool finished_ = false;
};

}  // namespace win32gui
