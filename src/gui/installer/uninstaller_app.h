#pragma once

// `instello --uninstall` with its windows, on a sandbox machine: the confirmation, the files
// in use asked about, the progress window, the final message (see uninstall_flow.h and
// installer/windows/window_front.h).

#include <QObject>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "gui/installer/installer_app.h"
#include "gui/installer/uninstaller_views.h"
#include "installer/windows/window_front.h"
#include "ui/dialogs.h"

namespace gui {

struct UninstallerOptions {
    std::filesystem::path root;           // the sandbox machine
    std::string source;                   // --source: a host folder or a Windows path
    std::string product;                  // --product
    std::filesystem::path programFolder;  // the installer's own folder, the default source
    // Message boxes; null: the real ones.
    ui::Dialogs* dialogs = nullptr;
    // Called on the removal thread after each journal record (the tests slow it there).
    installer::FlowHooks hooks;
};

class UninstallerApp : public QObject, public installer::RemovalWindowsFront {
public:
    explicit UninstallerApp(UninstallerOptions options);
    ~UninstallerApp() override;

    installer::system::SandboxSystem* machine() { return installMachine().sandbox; }
    RemovalProgressView* progress() { return progress_.get(); }

    // installer::WindowThread
    void post(std::function<void()> work) override { postTo(*this, std::move(work)); }
    void call(const std::function<void()>& work) override { callOn(*this, work); }

    // installer::UninstallFrontEnd
    bool confirm(const installer::UninstallInfo& info) override;
    void rollingBack(bool running) override;

protected:
    ui::Dialogs& dialogs() override { return *dialogs_; }
    installer::CRemovalDlg& openProgressWindow(const installer::UninstallInfo& info) override;
    void closeProgressWindow() override;

private:
    std::unique_ptr<QtDialogs> ownDialogs_;
    ui::Dialogs* dialogs_;
    std::unique_ptr<RemovalProgressView> progress_;
};

}  // namespace gui
