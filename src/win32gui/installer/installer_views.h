#pragma once

// The installer's windows with native controls, each made from its table
// (installer/windows/window_controls.h) and wired to its logic: a dialog owned by the
// background window with the dialog keys of every window (dialog_keys.h), Esc for its Cancel,
// Return for its default button.
//
// Ownership: a view owns its window, its controls and its logic; the adapters go before the
// logic, the window last.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "installer/windows/main_dialog.h"
#include "installer/windows/progress_dialog.h"
#include "installer/windows/small_windows.h"
#include "installer/windows/window_controls.h"
#include "win32gui/controls/control_set.h"
#include "win32gui/win32_window.h"

namespace win32gui {

// The window, its modal loop and its controls; Esc closes it, as its close query decides.
class InstallerDialog {
public:
    InstallerDialog(HWND owner, const installer::WindowTable& table, bool modal = true);
    ~InstallerDialog();
    InstallerDialog(const InstallerDialog&) = delete;
    InstallerDialog& operator=(const InstallerDialog&) = delete;

    Win32Window& window() { return *window_; }
    Win32Modal& modal() { return *modal_; }
    ControlSet& controls() { return *controls_; }
    // Before the logic goes: nothing reaches it any more.
    void detach();
    // Selects the first line of a check list as a click would (the logic describes it).
    void selectFirstLine(std::string_view list);

private:
    std::unique_ptr<Win32Window> window_;
    std::unique_ptr<Win32Modal> modal_;
    std::unique_ptr<ControlSet> controls_;
};

// A window of the installer and its logic. The adapters go before the logic, the window last.
template <class Logic>
class InstallerView {
public:
    InstallerView(const InstallerView&) = delete;
    InstallerView& operator=(const InstallerView&) = delete;

    InstallerDialog& dialog() { return dialog_; }
    Logic& logic() { return *logic_; }

protected:
    InstallerView(HWND owner, const installer::WindowTable& table, bool modal = true)
        : dialog_(owner, table, modal) {}
    ~InstallerView() {
        dialog_.detach();
        logic_.reset();
    }

    InstallerDialog dialog_;
    std::unique_ptr<Logic> logic_;
};

class MainDialogView : public InstallerView<installer::CMainDlg> {
public:
    MainDialogView(HWND owner, installer::Product& product, installer::system::System& sys,
                   installer::Prompter& prompter, installer::ClusterCache& clusters,
                   installer::MainDialogServices services);
};

class DetailsDialogView : public InstallerView<installer::CDetailsDlg> {
public:
    DetailsDialogView(HWND owner, installer::ComponentGroup& group,
                      installer::ChooserContext& context, std::int64_t otherKb,
                      const std::string& available);
};

// Modeless: it stays while the installation thread reports to it.
class ProgressView : public InstallerView<installer::CProgressDlg> {
public:
    ProgressView(HWND owner, std::function<bool()> confirmCancel);
};

class DiskPromptView : public InstallerView<installer::CDiskPrompt> {
public:
    DiskPromptView(HWND owner, installer::system::System& sys, std::string programFile,
                   std::vector<std::string>& history, installer::DiskPromptServices services);
};

class LicenseView : public InstallerView<installer::CLicenseDlg> {
public:
    LicenseView(HWND owner, std::string_view text);
};

class AboutView : public InstallerView<installer::CAboutDlg> {
public:
    AboutView(HWND owner, const std::string& appName, const std::string& version);
};

// `CBackgroundWnd`: a plain frame window over the whole screen, its colour bands and its title
// painted; its close box asks `closeQuery` (true: it may close).
class BackgroundWindow {
public:
    BackgroundWindow(const std::string& caption, const std::string& title);
    ~BackgroundWindow();
    BackgroundWindow(const BackgroundWindow&) = delete;
    BackgroundWindow& operator=(const BackgroundWindow&) = delete;

    HWND handle() const { return hwnd_; }
    void setCloseQuery(std::function<bool()> query) { query_ = std::move(query); }
    void show();
    // Ends it whatever the close query would say (the run is over).
    void destroy();

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void paint(HDC dc, int width, int height);

    HWND hwnd_ = nullptr;
    std::wstring title_;
    std::function<bool()> query_;
};

}  // namespace win32gui
