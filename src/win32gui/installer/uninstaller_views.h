#pragma once

// The windows of `instello --uninstall` with native controls, made from their tables
// (installer/windows/uninstall_windows.h) like the installer's other windows: Esc for Cancel,
// Alt with the marked letter, Enter for the default button ("Remove").

#include <functional>
#include <memory>

#include "installer/windows/uninstall_windows.h"
#include "win32gui/installer/installer_views.h"

namespace win32gui {

class UninstallConfirmView {
public:
    UninstallConfirmView(HWND owner, const installer::UninstallInfo& info);
    ~UninstallConfirmView();
    InstallerDialog& dialog() { return dialog_; }
    installer::CUninstallDlg& logic() { return *logic_; }

private:
    InstallerDialog dialog_;
    std::unique_ptr<installer::CUninstallDlg> logic_;
};

// Modeless: it stays while the removal thread reports to it.
class RemovalProgressView {
public:
    RemovalProgressView(HWND owner, const installer::UninstallInfo& info,
                        std::function<bool()> confirmCancel);
    ~RemovalProgressView();
    InstallerDialog& dialog() { return dialog_; }
    installer::CRemovalDlg& logic() { return *logic_; }

private:
    InstallerDialog dialog_;
    std::unique_ptr<installer::CRemovalDlg> logic_;
};

}  // namespace win32gui
