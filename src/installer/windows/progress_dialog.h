#pragma once

// The progress window ("Installing...") and the disk prompt ("Select location"), and the
// progress sink that the installation thread reports to: every display call is posted to
// the window thread, every question is handed to it and waited for.
//
// Both bars run from 0 to 65535. A component or a total of 0 kB has nothing to measure: its
// bar stays where it is while bytes come and is full when the component ends.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "installer/cerror.h"
#include "installer/component_list.h"
#include "installer/flow/window_thread.h"
#include "installer/progress_sink.h"
#include "installer/prompter.h"
#include "installer/system/system.h"
#include "ui/check_list.h"
#include "ui/dialogs.h"
#include "ui/widgets.h"

namespace installer {

constexpr int kBarMaximum = 65535;

// The arithmetic of the two bars.
class ProgressBars {
public:
    void setTotal(std::int64_t kilobytes);
    void beginComponent(std::int64_t kilobytes);
    void advance(std::uint64_t bytes);
    void endComponent();
    int component() const;
    int total() const;

private:
    static double factorFor(std::int64_t kilobytes);
    double totalFactor_ = 0;
    double componentFactor_ = 0;
    double total_ = 0;
    double component_ = 0;
};

struct ProgressWidgets {
    ui::Window& window;
    ui::Control& upper;
    ui::Control& lower;
    ui::ProgressBar& componentBar;
    ui::ProgressBar& totalBar;
    ui::Control& cancel;
};

// `CProgressDlg`: the window's logic, on the window thread. `confirmCancel` asks "Are you
// sure?" under the cancel lock (the flow's); a Yes closes the window.
class CProgressDlg {
public:
    CProgressDlg(const ProgressWidgets& widgets, std::function<bool()> confirmCancel);

    void setTotal(std::int64_t kilobytes);
    void beginComponent(std::string_view label, std::int64_t kilobytes);
    void advance(std::uint64_t bytes);
    void endComponent();
    void showLower(std::string_view text);
    void cancelClicked();

private:
    void showBars();

    ProgressWidgets w_;
    std::function<bool()> confirmCancel_;
    ProgressBars bars_;
};

struct DiskPromptWidgets {
    ui::Window& window;
    ui::ModalWindow& modal;
    ui::Control& label;  // "Insert disk labeled " + label
    ui::Control& hint;   // "If the files can be found at a different location type a new path"
    ui::ComboBox& path;
    ui::Control& browse;  // "..."
    ui::Control& validation;
    ui::Control& ok;
    ui::Control& applyToAll;
    ui::Control& skip;
    ui::Control& cancel;
};

struct DiskPromptServices {
    ui::Dialogs* dialogs = nullptr;  // the error beep
    std::function<std::optional<std::string>(const std::string& start)> chooseFolder;
    std::function<bool()> confirmCancel;
};

// `CDiskPrompt`: asks where the component program `programFile` of the disk `label` is. The
// path typed is a file, or a folder (ending in a backslash) that holds the program file.
// The answer is one of ProgressSink::Location; the typed paths are remembered in `history`.
class CDiskPrompt {
public:
    CDiskPrompt(const DiskPromptWidgets& widgets, system::System& sys, std::string programFile,
                std::vector<std::string>& history, DiskPromptServices services);

    // Sets the window up for one question; after the modal window closed, answer() and
    // path() hold the outcome.
    void open(std::string_view label, std::string_view path);
    int answer() const { return answer_; }
    std::string path() const { return w_.path.text(); }

    void validate();
    void finish(int answer);
    void cancelClicked();
    bool closeQuery();
    void browse();

private:
    DiskPromptWidgets w_;
    system::System& sys_;
    std::string programFile_;
    std::vector<std::string>& history_;
    DiskPromptServices services_;
    int answer_ = ProgressSink::kCancel;
    bool closing_ = false;
};

// The progress sink of the windows. Made on the window thread with the progress window's
// logic; called on the installation thread.
class WindowSink : public ProgressSink {
public:
    // Asks the disk prompt on the window thread: the component program's file name (as the
    // component list gives it), the label, the path; returns the answer and sets the path.
    using AskLocation = std::function<int(const std::string& programFile, std::string_view label,
                                          std::string& path)>;

    WindowSink(WindowThread& thread, CProgressDlg& dialog, CancelFlag& cancel, Prompter& prompter,
               std::string caption, const ComponentList& components, AskLocation askLocation,
               std::function<void(std::string_view)> hyphenation);

    int askLocation(std::string& path, std::string_view label) override;
    void setTotal(std::int64_t kilobytes) override;
    void beginComponent(std::string_view label, std::int64_t kilobytes) override;
    void advance(std::uint64_t bytes) override;
    void endComponent() override;
    void showCopying(std::string_view path) override;
    void showCreating(std::string_view path) override;
    void showStatus(std::string_view text) override;
    void warning(std::string_view text) override;
    bool isCancelRequested() override { return cancel_.isSet(); }
    void configureHyphenation(std::string_view installPath) override;

private:
    void show(std::function<void(CProgressDlg&)> change);

    WindowThread& thread_;
    CProgressDlg& dialog_;
    CancelFlag& cancel_;
    Prompter& prompter_;
    std::string caption_;
    const ComponentList& components_;
    AskLocation askLocation_;
    std::function<void(std::string_view)> hyphenation_;
};

}  // namespace installer
