#include "installer/windows/uninstall_windows.h"

#include <algorithm>
#include <array>

#include "installer/messages.h"
#include "installer/windows/progress_dialog.h"

namespace installer {

namespace {

using K = ui::ControlKind;
using ui::ControlSpec;

// Texts the logic sets: a reader reads what they show.
const std::array kConfirm = {
    ControlSpec{"Question", K::Label, {}, {12, 12, 456, 40}},
    ControlSpec{"What", K::Label, {}, {12, 58, 456, 72}},
    ControlSpec{"Remove", K::Button, msg::kUninstallRemove, {286, 140, 86, 26}},
    ControlSpec{"Cancel", K::Button, "Cancel", {382, 140, 86, 26}},
};

const std::array kProgress = {
    ControlSpec{"Upper", K::Label, {}, {12, 10, 426, 18}, "Removing"},
    ControlSpec{"Lower", K::Label, {}, {12, 30, 426, 36}, "File"},
    ControlSpec{"TotalTitle", K::Label, "Total:", {12, 76, 104, 18}},
    ControlSpec{"TotalBar", K::ProgressBar, {}, {120, 74, 318, 18}, "Total"},
    ControlSpec{"Cancel", K::Button, "Cancel", {358, 104, 80, 26}},
};

}  // namespace

WindowTable uninstallConfirmControls() {
    return {kConfirm, 480, 178};
}

WindowTable removalProgressControls() {
    return {kProgress, 450, 140};
}

CUninstallDlg::CUninstallDlg(const UninstallConfirmWidgets& widgets, const UninstallInfo& info)
    : w_(widgets) {
    w_.window.setCaption(info.caption());
    w_.question.setCaption(fillIn(msg::kUninstallQuestion, info.displayName));
    w_.what.setCaption(fillIn(msg::kUninstallWhat, info.installPath));
    w_.remove.setOnClick([this] {
        confirmed_ = true;
        w_.modal.closeModal();
    });
    w_.cancel.setOnClick([this] {
        confirmed_ = false;
        w_.modal.closeModal();
    });
    w_.window.setOnCloseQuery([this] {
        confirmed_ = false;
        return true;
    });
}

CRemovalDlg::CRemovalDlg(const RemovalProgressWidgets& widgets, const UninstallInfo& info,
                         std::function<bool()> confirmCancel)
    : w_(widgets), confirmCancel_(std::move(confirmCancel)) {
    w_.window.setCaption(msg::kRemovingTitle);
    w_.upper.setCaption(std::string(msg::kRemovingLine) + info.displayName);
    w_.lower.setCaption("");
    w_.bar.setRange(0, kBarMaximum);
    w_.bar.setPosition(0);
    w_.cancel.setOnClick([this] { cancelClicked(); });
    w_.window.setOnCloseQuery([this] {
        cancelClicked();
        return false;
    });
}

void CRemovalDlg::setSteps(std::size_t steps) {
    steps_ = steps;
    done_ = 0;
    w_.bar.setPosition(0);
}

void CRemovalDlg::step(std::string_view text) {
    // The bar shows the steps done before this one.
    if (steps_ > 0) {
        const std::size_t done = std::min(done_, steps_);
        w_.bar.setPosition(
            static_cast<int>(static_cast<long long>(kBarMaximum) * static_cast<long long>(done) /
                             static_cast<long long>(steps_)));
    }
    ++done_;
    w_.lower.setCaption(text);
}

void CRemovalDlg::cancelClicked() {
    if (confirmCancel_ && confirmCancel_()) {
        w_.window.setVisible(false);
    }
}

void WindowRemovalSink::setSteps(std::size_t steps) {
    if (!isCancelRequested()) {
        thread_.post([this, steps] { dialog_.setSteps(steps); });
    }
}

void WindowRemovalSink::step(std::string_view text) {
    if (!isCancelRequested()) {
        thread_.post([this, text = std::string(text)] { dialog_.step(text); });
    }
}

}  // namespace installer
