#pragma once

// One removal of an installed product (`instello --uninstall`) from start to end, whatever
// drives it: the windows or `--unattended`.
//
//   startUp()  an interrupted installation or removal undone first; the product found (named,
//              or by the record beside the installer, or by the script of the distribution
//              the installer runs from) and its record read;
//   begin()    posts the rest: the confirmation window (with the product's name); the files
//              in use (each one named, the user asked to close the program and retry); the
//              progress window and the removal thread; when it ends: the commit and the final
//              message, which names the folders that still hold the user's files; or, after a
//              cancel or a failure, everything put back and said so.
//
// Threads: every member runs on the window thread; the removal thread posts its end through
// the WindowThread and asks about files in use through the prompter. The cancel flag sits
// behind the lock that the window thread holds while it asks "Are you sure?".

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "installer/cerror.h"
#include "installer/flow/install_flow.h"
#include "installer/flow/window_thread.h"
#include "installer/prompter.h"
#include "installer/system/system.h"
#include "installer/uninstall/removal.h"

namespace installer {

// What the windows show of the product.
struct UninstallInfo {
    std::string productName;  // AppName
    std::string displayName;  // as the list of programs shows it
    std::string version;
    std::string installPath;
    std::string caption() const;  // AppName + " Uninstall"
};

// Which product to remove.
struct UninstallTarget {
    // The installer's own folder (a Windows path on the machine): the installed copy's BIN
    // holds the record, a distribution its INSTELLO.INI.
    std::string programFolder;
    // --product: AppName; empty: found through the folder.
    std::string productName;
};

class UninstallFrontEnd {
public:
    virtual ~UninstallFrontEnd() = default;
    // The confirmation window; true to remove.
    virtual bool confirm(const UninstallInfo& info) = 0;
    // The progress window, made before the removal thread starts; the sink must live until
    // closeProgress().
    virtual RemovalSink& openProgress(const UninstallInfo& info, CancelFlag& cancel) = 0;
    virtual void closeProgress() = 0;
    // Putting everything back starts (true) and has ended (false).
    virtual void rollingBack(bool running) { (void)running; }
    // The run is over (on the window thread, once). The result is one of the installer's:
    // Installed stands for removed.
    virtual void ended(FlowResult result) { (void)result; }
};

class UninstallFlow {
public:
    // Borrows everything; all must outlive the flow.
    UninstallFlow(system::System& sys, Prompter& prompter, WindowThread& thread,
                  UninstallFrontEnd& front, FlowHooks hooks = {});
    ~UninstallFlow();
    UninstallFlow(const UninstallFlow&) = delete;
    UninstallFlow& operator=(const UninstallFlow&) = delete;

    // False when the run is already over (result() says how; ended() was called).
    bool startUp(const UninstallTarget& target);
    // Posts the confirmation and what follows.
    void begin();

    // "Removal was not completed.\nAre you sure?" under the cancel lock; a Yes sets the cancel
    // flag. True for Yes. (The progress window's Cancel and close box.)
    bool confirmCancel();

    bool ended() const { return ended_.load(); }
    bool removing() const { return removing_.load(); }
    FlowResult result() const { return result_; }
    const UninstallInfo& info() const { return info_; }

private:
    void confirmAndRemove();
    void removed();
    void end(FlowResult result);
    void say(std::string_view text, Icon icon);
    bool askInUse(const std::string& path);

    system::System& sys_;
    Prompter& prompter_;
    WindowThread& thread_;
    UninstallFrontEnd& front_;
    FlowHooks hooks_;
    UninstallInfo info_;
    std::optional<InstallRecord> record_;
    std::string recordPath_;
    CancelFlag cancel_;
    // The progress window's sink, once it is open (the removal is planned before).
    class ForwardSink : public RemovalSink {
    public:
        RemovalSink* to = nullptr;
        void setSteps(std::size_t steps) override {
            if (to) {
                to->setSteps(steps);
            }
        }
        void step(std::string_view text) override {
            if (to) {
                to->step(text);
            }
        }
        bool isCancelRequested() override { return to && to->isCancelRequested(); }
    };
    ForwardSink forward_;
    std::unique_ptr<Removal> removal_;
    std::thread worker_;
    std::optional<CError> error_;
    std::optional<std::string> inUse_;
    std::vector<std::string> afterExit_;
    FlowResult result_ = FlowResult::NotStarted;
    std::atomic<bool> ended_{false};
    std::atomic<bool> removing_{false};
};

// A message of the removal with `text` in place of its "%s".
std::string fillIn(std::string_view format, std::string_view text);

// The product named `target` on the machine: its record's path, or the message that says why
// there is none (with the product's name where one is known, for the caption).
struct LocatedProduct {
    std::string productName;
    std::string recordPath;  // empty when not found
    std::string message;     // why not
};
LocatedProduct locateProduct(system::System& sys, const UninstallTarget& target);

}  // namespace installer
