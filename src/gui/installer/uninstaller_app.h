#pragma once

// `instello --uninstall` with its windows, on a sandbox machine: the confirmation, the files
// in use asked about, the progress window, the final message (see uninstall_flow.h).

#include <QObject>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "gui/installer/uninstaller_views.h"
#include "installer/flow/sandbox_machine.h"
#include "installer/uninstall/uninstall_flow.h"
#include "installer/windows/uninstall_windows.h"
#include "installer/windows/window_prompter.h"
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

class UninstallerApp : public QObject,
                       public installer::UninstallFrontEnd,
                       public installer::WindowThread {
public:
    explicit UninstallerApp(UninstallerOptions options);
    ~UninstallerApp() override;

    // Opens the machine, undoes an interrupted run, finds the product; then the confirmation
    // comes. False when the run is already over (`error()` says why when the machine could
    // not be opened).
    bool start();
    bool finished() const { return finished_; }
    std::function<void()> onFinished;
    int exitStatus() const;
    const std::string& error() const { return error_; }

    installer::UninstallFlow* flow() { return flow_.get(); }
    installer::system::SandboxSystem* machine() { return machine_.sys.get(); }
    RemovalProgressView* progress() { return progress_.get(); }

    // installer::WindowThread
    void post(std::function<void()> work) override;
    void call(const std::function<void()>& work) override;

    // installer::UninstallFrontEnd
    bool confirm(const installer::UninstallInfo& info) override;
    installer::RemovalSink& openProgress(const installer::UninstallInfo& info,
                                         installer::CancelFlag& cancel) override;
    void closeProgress() override;
    void rollingBack(bool running) override;
    void ended(installer::FlowResult result) override;

private:
    UninstallerOptions options_;
    std::unique_ptr<QtDialogs> ownDialogs_;
    ui::Dialogs* dialogs_;
    installer::SandboxMachine machine_;
    std::unique_ptr<installer::WindowPrompter> prompter_;
    std::unique_ptr<installer::UninstallFlow> flow_;
    std::unique_ptr<RemovalProgressView> progress_;
    std::unique_ptr<installer::WindowRemovalSink> sink_;
    std::optional<installer::FlowResult> result_;
    std::string error_;
    bool finished_ = false;
};

}  // namespace gui
