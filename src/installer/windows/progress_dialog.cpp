#include "installer/windows/progress_dialog.h"

#include <algorithm>

#include "installer/messages.h"
#include "installer/win_path.h"

namespace installer {

double ProgressBars::factorFor(std::int64_t kilobytes) {
    return kilobytes > 0 ? kBarMaximum / (static_cast<double>(kilobytes) * 1024.0) : 0.0;
}

void ProgressBars::setTotal(std::int64_t kilobytes) {
    totalFactor_ = factorFor(kilobytes);
    total_ = 0;
}

void ProgressBars::beginComponent(std::int64_t kilobytes) {
    componentFactor_ = factorFor(kilobytes);
    component_ = 0;
}

void ProgressBars::advance(std::uint64_t bytes) {
    component_ += static_cast<double>(bytes) * componentFactor_;
    total_ += static_cast<double>(bytes) * totalFactor_;
}

void ProgressBars::endComponent() {
    // The part of the component that was not reported counts for the total now.
    const double previous = std::min<double>(component_, kBarMaximum);
    if (componentFactor_ > 0) {
        total_ += (kBarMaximum - previous) / componentFactor_ * totalFactor_;
    } else if (totalFactor_ == 0) {
        total_ = kBarMaximum;
    }
    component_ = kBarMaximum;
}

int ProgressBars::component() const {
    return static_cast<int>(std::clamp<double>(component_, 0, kBarMaximum));
}

int ProgressBars::total() const {
    return static_cast<int>(std::clamp<double>(total_, 0, kBarMaximum));
}

CProgressDlg::CProgressDlg(const ProgressWidgets& widgets, std::function<bool()> confirmCancel)
    : w_(widgets), confirmCancel_(std::move(confirmCancel)) {
    w_.window.setCaption(msg::kInstallingTitle);
    w_.upper.setCaption(msg::kInstallingLine);
    w_.lower.setCaption(msg::kCreatingLine);
    for (ui::ProgressBar* bar : {&w_.componentBar, &w_.totalBar}) {
        bar->setRange(0, kBarMaximum);
        bar->setPosition(0);
    }
    w_.cancel.setOnClick([this] { cancelClicked(); });
    w_.window.setOnCloseQuery([this] {
        cancelClicked();
        return false;
    });
}

void CProgressDlg::showBars() {
    w_.componentBar.setPosition(bars_.component());
    w_.totalBar.setPosition(bars_.total());
}

void CProgressDlg::setTotal(std::int64_t kilobytes) {
    bars_.setTotal(kilobytes);
    showBars();
}

void CProgressDlg::beginComponent(std::string_view label, std::int64_t kilobytes) {
    bars_.beginComponent(kilobytes);
    w_.upper.setCaption(std::string(msg::kInstalling) + std::string(label));
    showBars();
}

void CProgressDlg::advance(std::uint64_t bytes) {
    bars_.advance(bytes);
    showBars();
}

void CProgressDlg::endComponent() {
    bars_.endComponent();
    w_.lower.setCaption("");
    showBars();
}

void CProgressDlg::showLower(std::string_view text) {
    w_.lower.setCaption(text);
}

void CProgressDlg::cancelClicked() {
    if (confirmCancel_ && confirmCancel_()) {
        w_.window.setVisible(false);
    }
}

CDiskPrompt::CDiskPrompt(const DiskPromptWidgets& widgets, system::System& sys,
                         std::string programFile, std::vector<std::string>& history,
                         DiskPromptServices services)
    : w_(widgets),
      sys_(sys),
      programFile_(std::move(programFile)),
      history_(history),
      services_(std::move(services)) {
    w_.window.setCaption(msg::kSelectLocation);
    w_.hint.setCaption(msg::kDifferentLocation);
    w_.path.setOnChange([this] { validate(); });
    w_.browse.setOnClick([this] { browse(); });
    w_.ok.setOnClick([this] { finish(ProgressSink::kRetry); });
    w_.applyToAll.setOnClick([this] { finish(ProgressSink::kApplyToAll); });
    w_.skip.setOnClick([this] { finish(ProgressSink::kSkip); });
    w_.cancel.setOnClick([this] { cancelClicked(); });
    w_.window.setOnCloseQuery([this] { return closeQuery(); });
}

void CDiskPrompt::open(std::string_view label, std::string_view path) {
    if (services_.dialogs) {
        services_.dialogs->beep();
    }
    answer_ = ProgressSink::kCancel;
    closing_ = false;
    w_.label.setCaption(std::string(msg::kInsertDisk) + std::string(label));
    w_.path.setItems(history_);
    w_.path.setText(path);
    validate();
}

void CDiskPrompt::validate() {
    const std::string typed = w_.path.text();
    const bool folder = !typed.empty() && (typed.back() == '\\' || typed.back() == '/');
    const bool found = !typed.empty() && sys_.fileExists(folder ? typed + programFile_ : typed);
    w_.validation.setCaption(found ? std::string_view() : msg::kCannotFindPackageAt);
    w_.ok.setEnabled(found);
    w_.applyToAll.setEnabled(found);
}

void CDiskPrompt::finish(int answer) {
    const std::string typed = w_.path.text();
    if (answer != ProgressSink::kSkip && answer != ProgressSink::kCancel) {
        std::erase(history_, typed);
        history_.insert(history_.begin(), typed);
    }
    answer_ = answer;
    closing_ = true;
    w_.modal.closeModal();
}

// Answered No, the question goes away and the prompt stays.
void CDiskPrompt::cancelClicked() {
    if (services_.confirmCancel && services_.confirmCancel()) {
        finish(ProgressSink::kCancel);
    }
}

bool CDiskPrompt::closeQuery() {
    if (closing_) {
        return true;
    }
    cancelClicked();
    return false;
}

void CDiskPrompt::browse() {
    if (!services_.chooseFolder) {
        return;
    }
    const std::string typed = w_.path.text();
    const bool folder = !typed.empty() && (typed.back() == '\\' || typed.back() == '/');
    if (const auto chosen = services_.chooseFolder(folder ? typed : folderPart(typed))) {
        w_.path.setText(withBackslash(*chosen));
        validate();
    }
}

WindowSink::WindowSink(WindowThread& thread, CProgressDlg& dialog, CancelFlag& cancel,
                       Prompter& prompter, std::string caption, const ComponentList& components,
                       AskLocation askLocation, std::function<void(std::string_view)> hyphenation)
    : thread_(thread),
      dialog_(dialog),
      cancel_(cancel),
      prompter_(prompter),
      caption_(std::move(caption)),
      components_(components),
      askLocation_(std::move(askLocation)),
      hyphenation_(std::move(hyphenation)) {}

void WindowSink::show(std::function<void(CProgressDlg&)> change) {
    if (isCancelRequested()) {
        return;
    }
    thread_.post([this, change = std::move(change)] { change(dialog_); });
}

// The program file is the one of the component with this label whose path ends in it.
int WindowSink::askLocation(std::string& path, std::string_view label) {
    if (isCancelRequested()) {
        return kCancel;
    }
    std::string programFile = fileNamePart(path);
    for (const Component* component : allComponents(components_)) {
        if (component->label == label && iendsWith(path, component->programFile)) {
            programFile = component->programFile;
            break;
        }
    }
    int answer = kCancel;
    thread_.call([&] { answer = askLocation_(programFile, label, path); });
    return answer;
}

void WindowSink::setTotal(std::int64_t kilobytes) {
    show([kilobytes](CProgressDlg& d) { d.setTotal(kilobytes); });
}

void WindowSink::beginComponent(std::string_view label, std::int64_t kilobytes) {
    show([label = std::string(label), kilobytes](CProgressDlg& d) {
        d.beginComponent(label, kilobytes);
    });
}

void WindowSink::advance(std::uint64_t bytes) {
    show([bytes](CProgressDlg& d) { d.advance(bytes); });
}

void WindowSink::endComponent() {
    show([](CProgressDlg& d) { d.endComponent(); });
}

void WindowSink::showCopying(std::string_view path) {
    show([text = std::string(msg::kCopying) + std::string(path)](CProgressDlg& d) {
        d.showLower(text);
    });
}

void WindowSink::showCreating(std::string_view path) {
    show([text = std::string(msg::kCreating) + std::string(path)](CProgressDlg& d) {
        d.showLower(text);
    });
}

void WindowSink::showStatus(std::string_view text) {
    show([text = std::string(text)](CProgressDlg& d) { d.showLower(text); });
}

void WindowSink::warning(std::string_view text) {
    if (isCancelRequested()) {
        return;
    }
    thread_.call([&] { prompter_.message(text, caption_, Icon::Warning, Buttons::Ok); });
}

void WindowSink::configureHyphenation(std::string_view installPath) {
    if (hyphenation_) {
        hyphenation_(installPath);
    }
}

}  // namespace installer
