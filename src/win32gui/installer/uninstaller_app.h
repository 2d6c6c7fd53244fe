#pragma once

// `instello.exe --uninstall` with its windows, on this computer or on a sandbox machine: the
// confirmation, the files in use asked about, the progress window, the final message (see
// installer/uninstall/uninstall_flow.h). The removal thread reaches this thread through posted
// work and through questions handed to it and waited for, as the installation thread does.

#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "installer/flow/install_machine.h"
#include "installer/uninstall/uninstall_flow.h"
#include "installer/windows/uninstall_windows.h"
#include "installer/windows/window_prompter.h"
#include "ui/dialogs.h"
#include "win32gui/installer/uninstaller_views.h"
#include "win32gui/posted_work.h"
#include "win32gui/services/win32_dialogs.h"
#include "win32gui/services/win32_printer.h"

namespace win32gui {

struct UninstallerOptions {
    std::filesystem::path root;           // a sandbox machine; empty: this computer
    std::string source;                   // --source: a host folder or a Windows path
    std::string product;                  // --product
    std::filesystem::path programFolder;  // the installer's own folder, the default source
    // Message boxes; null: the real ones.
    ui::Dialogs* dialogs = nullptr;
    installer::FlowHooks hooks;
};

class UninstallerApp : public installer::UninstallFrontEnd, public installer::WindowThread {
public:
    explicit UninstallerApp(UninstallerOptions options);
    ~UninstallerApp() override;
    UninstallerApp(const UninstallerApp&) = delete;
    UninstallerApp& operator=(const UninstallerApp&) = delete;

    // Opens the machine, undoes an interrupted run, finds the product; the confirmation is
    // posted. False when the run is already over (`error()` says why when the machine could
    // not be opened).
    bool start();
    bool finished() const { return finished_; }
    std::function<void()> onFinished;
    int exitStatus() const;
    const std::string& error() const { return error_; }

    installer::UninstallFlow* flow() { return flow_.get(); }
    installer::system::System* machine() { return machine_.sys.get(); }
    // The progress window while it is open (null otherwise).
    RemovalProgressView* progress() { return progressView_.load(); }

    // installer::WindowThread
    void post(std::function<void()> work) override { work_.post(std::move(work)); }
    void call(const std::function<void()>& work) override { work_.call(work); }

    // installer::UninstallFrontEnd
    bool confirm(const installer::UninstallInfo& info) override;
    installer::RemovalSink& openProgress(const installer::UninstallInfo& info,
                                         installer::CancelFlag& cancel) override;
    void closeProgress() override;
    void rollingBack(bool running) override;
    void ended(installer::FlowResult result) override;

private:
    UninstallerOptions options_;
    PostedWork work_;
    PrinterChoice printer_;
    std::unique_ptr<Win32Dialogs> ownDialogs_;
    ui::Dialogs* dialogs_;
    installer::InstallMachine machine_;
    std::unique_ptr<installer::WindowPrompter> prompter_;
    std::unique_ptr<installer::UninstallFlow> flow_;
    std::unique_ptr<RemovalProgressView> progress_;
    std::atomic<RemovalProgressView*> progressView_{nullptr};
    std::unique_ptr<installer::WindowRemovalSink> sink_;
    std::optional<installer::FlowResult> result_;
    std::string error_;
    bool finished_ = false;
};

}  // namespace win32gui
