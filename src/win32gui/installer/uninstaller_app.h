#pragma once

// `instello.exe --uninstall` with its windows, on this computer or on a sandbox machine: the
// confirmation, the files in use asked about, the progress window, the final message (see
// installer/uninstall/uninstall_flow.h and installer/windows/window_front.h). The removal
// thread reaches this thread through posted work and through questions handed to it and
// waited for, as the installation thread does.

#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "installer/windows/window_front.h"
#include "ui/dialogs.h"
#include "win32gui/installer/installer_app.h"
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

class UninstallerApp : public installer::RemovalWindowsFront {
public:
    explicit UninstallerApp(UninstallerOptions options);
    ~UninstallerApp() override;
    UninstallerApp(const UninstallerApp&) = delete;
    UninstallerApp& operator=(const UninstallerApp&) = delete;

    installer::system::System* machine() { return installMachine().sys.get(); }
    // The progress window while it is open (null otherwise).
    RemovalProgressView* progress() { return progressView_.load(); }

    // installer::WindowThread
    void post(std::function<void()> work) override { work_.post(std::move(work)); }
    void call(const std::function<void()>& work) override { work_.call(work); }

    // installer::UninstallFrontEnd
    bool confirm(const installer::UninstallInfo& info) override;
    void rollingBack(bool running) override { showWaitCursor(running); }

protected:
    ui::Dialogs& dialogs() override { return *dialogs_; }
    installer::CRemovalDlg& openProgressWindow(const installer::UninstallInfo& info) override;
    void closeProgressWindow() override;

private:
    PostedWork work_;
    PrinterChoice printer_;
    std::unique_ptr<Win32Dialogs> ownDialogs_;
    ui::Dialogs* dialogs_;
    std::unique_ptr<RemovalProgressView> progress_;
    std::atomic<RemovalProgressView*> progressView_{nullptr};
};

}  // namespace win32gui
