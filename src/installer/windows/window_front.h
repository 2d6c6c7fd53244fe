#pragma once

// The installer's and the removal's runs with windows, written once for both toolkits: the
// machine opened, the flow started and ended, the main window's and the progress window's
// services, the exit status. Each toolkit's program (gui/installer, win32gui/installer)
// derives from InstallWindowsFront or RemovalWindowsFront and gives only what draws: its
// windows, how they are placed and shown, the cursor, and how work reaches its window thread.
//
// Start-up failures end the run before any window exists: start() is then false, and
// `error()` says why when the machine could not be opened. `onFinished` is posted to the
// window thread once the run is over.
//
// Ownership: the front owns the machine, the flow and the progress sink; a derived class must
// call stopFlow() in its destructor before its windows go, since the flow's threads may still
// reach them.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "installer/flow/install_flow.h"
#include "installer/flow/install_machine.h"
#include "installer/flow/window_thread.h"
#include "installer/uninstall/uninstall_flow.h"
#include "installer/windows/main_dialog.h"
#include "installer/windows/progress_dialog.h"
#include "installer/windows/uninstall_windows.h"
#include "installer/windows/window_prompter.h"
#include "ui/dialogs.h"
#include "ui/services.h"

namespace installer {

// Where a run with windows installs from and to.
struct WindowRunPlace {
    std::filesystem::path root;           // a sandbox machine; empty: this computer
    std::string source;                   // --source: a host folder or a Windows path
    std::filesystem::path programFolder;  // the installer's own folder, the default source
};

// What the installer's and the removal's runs share: the machine and the prompter they open,
// how a run ends and its exit status.
class WindowsRun : public WindowThread {
public:
    bool finished() const { return result_.has_value(); }
    // Called once the run is over, from the window thread.
    std::function<void()> onFinished;
    // The exit status, as `instello --unattended` gives it.
    int exitStatus() const;
    const std::string& error() const { return error_; }

protected:
    WindowsRun(WindowRunPlace place, FlowHooks hooks)
        : place_(std::move(place)), hooks_(std::move(hooks)) {}

    // Opens the machine and the prompter, whose licence window is `license`; false, the run
    // over and error() saying why, when the machine cannot be opened.
    bool open(ui::Dialogs& dialogs, std::function<bool(std::string_view)> license);
    // The run is over: its result kept, onFinished posted.
    void finish(FlowResult result);

    InstallMachine& installMachine() { return machine_; }
    WindowPrompter& prompter() { return *prompter_; }
    const FlowHooks& hooks() const { return hooks_; }

private:
    WindowRunPlace place_;
    FlowHooks hooks_;
    InstallMachine machine_;
    std::unique_ptr<WindowPrompter> prompter_;
    std::optional<FlowResult> result_;  // once the run is over
    std::string error_;
};

class InstallWindowsFront : public FlowFrontEnd, public WindowsRun {
public:
    ~InstallWindowsFront() override;

    // Opens the machine, undoes an interrupted installation, reads the script, shows the
    // licence; then the background window and command 100. False when the run is already
    // over.
    bool start();
    InstallFlow* flow() { return flow_.get(); }

    // FlowFrontEnd
    Choice choose(Product& product, ClusterCache& clusters) override;
    ProgressSink& openProgress(Product& product, CancelFlag& cancel) override;
    void closeProgress(const CError& outcome) override;
    void beep(Icon icon) override;
    void ended(FlowResult result) override;

protected:
    InstallWindowsFront(WindowRunPlace place, FlowHooks hooks)
        : WindowsRun(std::move(place), std::move(hooks)) {}
    // Ends the flow and the progress sink: the first step of a derived destructor.
    void stopFlow();

    // The folders typed in the disk prompt during this run, offered again by the next one.
    std::vector<std::string>& typedPaths() { return typedPaths_; }
    // The background window's close query: closes unless the flow says no.
    bool backgroundMayClose();
    bool confirmCancel() { return flow_->confirmCancel(); }

    // ---- what the toolkit draws
    virtual ui::Dialogs& dialogs() = 0;
    // Opens the help file.
    virtual ui::Shell& shell() = 0;
    // The licence, modal; true when agreed.
    virtual bool showLicense(std::string_view text) = 0;
    // The background window with its caption and title, shown; its close query asks
    // backgroundMayClose(). Closed again by closeBackground() when the run ends.
    virtual void openBackground(const std::string& caption, const std::string& title) = 0;
    virtual void closeBackground() = 0;
    // The main window, modal, with `services`; true when "Install" closed it.
    virtual bool showMainDialog(Product& product, ClusterCache& clusters,
                                MainDialogServices services) = 0;
    virtual void showAbout(const Product& product) = 0;
    // The Details window of `group`, modal; true when accepted.
    virtual bool showDetails(ComponentGroup& group, std::int64_t otherKb,
                             ChooserContext& context) = 0;
    // The progress window, shown; its logic lives until closeProgressWindow().
    virtual CProgressDlg& openProgressWindow() = 0;
    virtual void closeProgressWindow() = 0;
    // The disk prompt over the progress window (or the background window), modal; `path` in
    // and out; the prompt's answer.
    virtual int showDiskPrompt(const std::string& programFile, std::string_view label,
                               std::string& path, DiskPromptServices services) = 0;

private:
    // The folder window at a Windows path of the machine; the chosen folder as a Windows path.
    std::optional<std::string> chooseFolder(const std::string& start);
    // The help file at a Windows path of the machine; false when it cannot be shown.
    bool openHelp(const std::string& file);

    std::unique_ptr<InstallFlow> flow_;
    std::unique_ptr<WindowSink> sink_;
    std::vector<std::string> typedPaths_;
};

class RemovalWindowsFront : public UninstallFrontEnd, public WindowsRun {
public:
    ~RemovalWindowsFront() override;

    // Opens the machine, undoes an interrupted run, finds the product; then the confirmation
    // comes. False when the run is already over.
    bool start();
    UninstallFlow* flow() { return flow_.get(); }

    // UninstallFrontEnd
    RemovalSink& openProgress(const UninstallInfo& info, CancelFlag& cancel) override;
    void closeProgress() override;
    void ended(FlowResult result) override;

protected:
    RemovalWindowsFront(WindowRunPlace place, std::string product, FlowHooks hooks)
        : WindowsRun(std::move(place), std::move(hooks)), product_(std::move(product)) {}
    void stopFlow();

    bool confirmCancel() { return flow_->confirmCancel(); }

    virtual ui::Dialogs& dialogs() = 0;
    // The progress window, shown; its logic lives until closeProgressWindow().
    virtual CRemovalDlg& openProgressWindow(const UninstallInfo& info) = 0;
    virtual void closeProgressWindow() = 0;

private:
    std::string product_;
    std::unique_ptr<UninstallFlow> flow_;
    std::unique_ptr<WindowRemovalSink> sink_;
};

}  // namespace installer
