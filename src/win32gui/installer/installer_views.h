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

class MainDialogView {
public:
    MainDialogView(HWND owner, installer::Product& product, installer::system::System& sys,
                   installer::Prompter& prompter, installer::ClusterCache& clusters,
                   installer::MainDialogServices services);
    ~MainDialogView();
    InstallerDialog& dialog() { return dialog_; }
    installer::CMainDlg& logic() { return *logic_; }

private:
    InstallerDialog dialog_;
    std::unique_ptr<installer::CMainDlg> logic_;
};

class DetailsDialogView {
public:
    DetailsDialogView(HWND owner, installer::ComponentGroup& group,
                      installer::ChooserContext& context, std::int64_t otherKb,
                      const std::string& available);
    ~DetailsDialogView();
    InstallerDialog& dialog() { return dialog_; }
    installer::CDetailsDlg& logic() { return *logic_; }

private:
    InstallerDialog dialog_;
    std::unique_ptr<installer::CDetailsDlg> logic_;
};

// Modeless: it stays while the installation thread reports to it.
class ProgressView {
public:
    ProgressView(HWND owner, std::function<bool()> confirmCancel);
    ~ProgressView();
    InstallerDialog& dialog() { return dialog_; }
    installer::CProgressDlg& logic() { return *logic_; }

private:
    InstallerDialog dialog_;
    std::unique_ptr<installer::CProgressDlg> logic_;
};

class DiskPromptView {
public:
    DiskPromptView(HWND owner, installer::system::System& sys, std::string programFile,
                   std::vector<std::string>& history, installer::DiskPromptServices services);
    ~DiskPromptView();
    InstallerDialog& dialog() { return dialog_; }
    installer::CDiskPrompt& logic() { return *logic_; }

private:
    InstallerDialog dialog_;
    std::unique_ptr<installer::CDiskPrompt> logic_;
};

class LicenseView {
public:
    LicenseView(HWND owner, std::string_view text);
    ~LicenseView();
    InstallerDialog& dialog() { return dialog_; }
    installer::CLicenseDlg& logic() { return *logic_; }

private:
    InstallerDialog dialog_;
    std::unique_ptr<installer::CLicenseDlg> logic_;
};

class AboutView {
public:
    AboutView(HWND owner, const std::string& appName, const std::string& version);
    ~AboutView();
    InstallerDialog& dialog() { return dialog_; }

private:
    InstallerDialog dialog_;
    std::unique_ptr<installer::CAboutDlg> logic_;
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
