#pragma once

// `instello` with its windows: the installation flow driven by the background window, the
// licence, main, Details, progress, disk prompt and About windows, on a sandbox machine.
// Start-up failures end the run before the background window exists.

#include <QObject>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "gui/installer/installer_views.h"
#include "installer/flow/install_flow.h"
#include "installer/flow/sandbox_machine.h"
#include "installer/windows/window_prompter.h"
#include "ui/dialogs.h"

namespace gui {

struct InstallerOptions {
    std::filesystem::path root;           // the sandbox machine
    std::string source;                   // --source: a host folder or a Windows path
    std::filesystem::path programFolder;  // the installer's own folder, the default source
    // Message boxes and the folder picker; null: the real ones.
    ui::Dialogs* dialogs = nullptr;
};

class InstallerApp : public QObject,
                     public installer::FlowFrontEnd,
                     public installer::WindowThread {
public:
    explicit InstallerApp(InstallerOptions options);
    ~InstallerApp() override;

    // Opens the machine, undoes an interrupted installation, reads the script, shows the
    // licence; then the background window and command 100. False when the run is already
    // over (the machine cannot be opened: `error()` says why).
    bool start();
    bool finished() const { return finished_; }
    // Called once the run is over (the program quits there).
    std::function<void()> onFinished;
    // The exit status, as `instello --unattended` gives it.
    int exitStatus() const;
    const std::string& error() const { return error_; }

    BackgroundWindow* background() { return background_.get(); }
    installer::InstallFlow* flow() { return flow_.get(); }
    installer::system::SandboxSystem* machine() { return machine_.sys.get(); }

    // installer::WindowThread
    void post(std::function<void()> work) override;
    void call(const std::function<void()>& work) override;

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
    QWidget* parentWindow();

    InstallerOptions options_;
    std::unique_ptr<QtDialogs> ownDialogs_;
    ui::Dialogs* dialogs_;
    installer::SandboxMachine machine_;
    std::unique_ptr<installer::WindowPrompter> prompter_;
    std::unique_ptr<installer::InstallFlow> flow_;
    std::unique_ptr<BackgroundWindow> background_;
    std::unique_ptr<ProgressView> progress_;
    std::unique_ptr<installer::WindowSink> sink_;
    std::vector<std::string> typedPaths_;
    std::optional<installer::FlowResult> result_;
    std::string error_;
    bool finished_ = false;
};

}  // namespace gui
