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

class UninstallConfirmView : public InstallerView<installer::CUninstallDlg> {
public:
    UninstallConfirmView(QWidget* parent, const installer::UninstallInfo& info);
};

// Modeless: it stays while the removal thread reports to it.
class RemovalProgressView : public InstallerView<installer::CRemovalDlg> {
public:
    RemovalProgressView(QWidget* parent, const installer::UninstallInfo& info,
                        std::function<bool()> confirmCancel);
};

}  // namespace gui
