#include "win32gui/installer/uninstaller_views.h"

namespace win32gui {

UninstallConfirmView::UninstallConfirmView(HWND owner, const installer::UninstallInfo& info)
    : InstallerView(owner, installer::uninstallConfirmControls()) {
    ControlSet& c = dialog_.controls();
    dialog_.window().setDefaultButton(c.handle("Remove"));
    logic_ = std::make_unique<installer::CUninstallDlg>(
        installer::UninstallConfirmWidgets{dialog_.window(), dialog_.modal(), c.control("Question"),
                                           c.control("What"), c.control("Remove"),
                                           c.control("Cancel")},
        info);
    dialog_.window().focusChild(c.handle("Remove"));
}

RemovalProgressView::RemovalProgressView(HWND owner, const installer::UninstallInfo& info,
                                         std::function<bool()> confirmCancel)
    : InstallerView(owner, installer::removalProgressControls(), false) {
    ControlSet& c = dialog_.controls();
    logic_ = std::make_unique<installer::CRemovalDlg>(
        installer::RemovalProgressWidgets{dialog_.window(), c.control("Upper"), c.control("Lower"),
                                          c.progressBar("TotalBar"), c.control("Cancel")},
        info, std::move(confirmCancel));
    dialog_.window().focusChild(c.handle("Cancel"));
}

}  // namespace win32gui
