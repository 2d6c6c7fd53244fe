#pragma once

// The windows of `instello --uninstall` on Qt: the confirmation and the progress window, built
// from their tables (installer/windows/uninstall_windows.h) as the installer's other windows
// are: the captions and names readers hear come from there, Tab goes through the buttons,
// Escape and the close box cancel.

#include <QWidget>
#include <functional>
#include <memory>

#include "gui/installer/installer_views.h"
#include "installer/windows/uninstall_windows.h"

namespace gui {

class UninstallConfirmView {
public:
    UninstallConfirmView(QWidget* parent, const installer::UninstallInfo& info);
    InstallerDialog& dialog() { return *dialog_; }
    installer::CUninstallDlg& logic() { return *logic_; }

private:
    std::unique_ptr<InstallerDialog> dialog_;
    ControlSet set_;
    std::unique_ptr<DialogWindow> window_;
    std::unique_ptr<QtModal> modal_;
    std::unique_ptr<installer::CUninstallDlg> logic_;
};

// Modeless: it stays while the removal thread reports to it.
class RemovalProgressView {
public:
    RemovalProgressView(QWidget* parent, const installer::UninstallInfo& info,
                        std::function<bool()> confirmCancel);
    InstallerDialog& dialog() { return *dialog_; }
    installer::CRemovalDlg& logic() { return *logic_; }

private:
    std::unique_ptr<InstallerDialog> dialog_;
    ControlSet set_;
    std::unique_ptr<DialogWindow> window_;
    std::unique_ptr<installer::CRemovalDlg> logic_;
};

}  // namespace gui
