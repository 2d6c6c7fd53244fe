#pragma once

// The windows of `instello --uninstall`: the confirmation, with the product's name, where it
// is installed and what goes ("Remove" or "Cancel"; Escape and the close box cancel), and the
// progress window ("Removing...": what is being removed and one bar; its Cancel asks
// "Removal was not completed.\nAre you sure?"). The final message is a message box. Their
// controls come from the tables here, which both toolkits build; the logic is the same on
// both. Window thread, except the sink, which the removal thread calls.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "installer/cerror.h"
#include "installer/flow/window_thread.h"
#include "installer/uninstall/removal.h"
#include "installer/uninstall/uninstall_flow.h"
#include "installer/windows/window_controls.h"
#include "ui/check_list.h"
#include "ui/widgets.h"

namespace installer {

WindowTable uninstallConfirmControls();
WindowTable removalProgressControls();

struct UninstallConfirmWidgets {
    ui::Window& window;
    ui::ModalWindow& modal;
    ui::Control& question;  // "Do you want to remove " + the product + " from this computer?"
    ui::Control& what;      // where it is and what goes
    ui::Control& remove;
    ui::Control& cancel;
};

class CUninstallDlg {
public:
    CUninstallDlg(const UninstallConfirmWidgets& widgets, const UninstallInfo& info);
    bool confirmed() const { return confirmed_; }

private:
    UninstallConfirmWidgets w_;
    bool confirmed_ = false;
};

struct RemovalProgressWidgets {
    ui::Window& window;
    ui::Control& upper;  // "Removing " + the product
    ui::Control& lower;  // what is being removed
    ui::ProgressBar& bar;
    ui::Control& cancel;
};

// The bar runs from 0 to 65535 over the removal's steps.
class CRemovalDlg {
public:
    // `confirmCancel` asks "Are you sure?" under the cancel lock (the flow's); a Yes hides the
    // window.
    CRemovalDlg(const RemovalProgressWidgets& widgets, const UninstallInfo& info,
                std::function<bool()> confirmCancel);
    void setSteps(std::size_t steps);
    void step(std::string_view text);
    void cancelClicked();

private:
    RemovalProgressWidgets w_;
    std::function<bool()> confirmCancel_;
    std::size_t steps_ = 0;
    std::size_t done_ = 0;
};

// The progress sink of the windows: every step is posted to the window thread.
class WindowRemovalSink : public RemovalSink {
public:
    WindowRemovalSink(WindowThread& thread, CRemovalDlg& dialog, CancelFlag& cancel)
        : thread_(thread), dialog_(dialog), cancel_(cancel) {}
    void setSteps(std::size_t steps) override;
    void step(std::string_view text) override;
    bool isCancelRequested() override { return cancel_.isSet(); }

private:
    WindowThread& thread_;
    CRemovalDlg& dialog_;
    CancelFlag& cancel_;
};

}  // namespace installer
