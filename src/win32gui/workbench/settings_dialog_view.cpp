#include "win32gui/workbench/settings_dialog_view.h"

#include "editor/settings/settings_dialog_controls.h"

namespace win32gui {

SettingsDialogView::SettingsDialogView(HWND owner, ui::Dialogs& dialogs,
                                       std::function<std::string()> clipboardText)
    : window_(
          std::make_unique<Win32Window>(WindowOptions{.clientWidth = editor::kSettingsDialogWidth,
                                                      .clientHeight = editor::kSettingsDialogHeight,
                                                      .dialog = true,
                                                      .owner = owner})),
      modal_(std::make_unique<Win32Modal>(*window_)),
      controls_(std::make_unique<ControlSet>(*window_, editor::settingsDialogControls(),
                                             std::move(clipboardText))) {
    ControlSet& c = *controls_;
    window_->setDefaultButton(c.handle("ButtonOk"));
    logic_ = std::make_unique<editor::TForm3>(
        editor::SettingsDialogWidgets{
            *window_, *modal_, c.textBox("EditEditor"), c.textBox("EditWorkDir"),
            c.textBox("EditExchange"), c.textBox("EditFont"), c.textBox("EditFilter"),
            c.textBox("EditTimer"), c.textBox("EditSpeed"), c.textBox("EditChars"),
            c.textBox("EditLines"), c.control("RadioTutto"), c.control("RadioSelezione"),
            c.control("CheckDisplay"), c.control("SfogliaEditor"), c.control("SfogliaDir"),
            c.control("ButtonOk"), c.control("ButtonEsci")},
        dialogs);
}

SettingsDialogView::~SettingsDialogView() {
    // The adapters before the logic; the window last.
    window_->setKeyListener(nullptr);
    window_->setOnActivate({});
    controls_->clear();
    logic_.reset();
    controls_.reset();
    modal_.reset();
    window_.reset();
}

}  // namespace win32gui
