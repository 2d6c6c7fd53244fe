#pragma once

// The windows of `instello --uninstall` with native controls, made from their tables
// (installer/windows/uninstall_windows.h) like the installer's other windows: Esc for Cancel,
// Alt with the marked letter, Enter for the default button ("Remove").

#include <functional>
#include <memory>

#include "installer/windows/uninstall_windows.h"
#include "win32gui/installer/installer_views.h"

namespace win32gui {

class UninstallConfirmView : public InstallerView<installer::CUninstallDlg> {
public:
    UninstallConfirmView(HWND owner, const installer::UninstallInfo& info);
};

// Modeless: it stays while the removal thread reports to it.
class RemovalProgressView : public InstallerView<installer::CRemovalDlg> {
public:
    RemovalProgressView(HWND owner, const installer::UninstallInfo& info,
                        std::function<bool()> confirmCancel);
};

}  // namespace win32gui
