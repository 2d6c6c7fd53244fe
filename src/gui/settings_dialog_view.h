#pragma once

// The settings dialog TForm3 on Qt: the fields with their labels, the exchange-mode radio
// buttons, "Sfoglia", "Ok" and "Esci", wired to the dialog's logic.

#include <QDialog>
#include <memory>

#include "editor/settings/settings_dialog.h"
#include "gui/qt_services.h"
#include "gui/qt_widgets.h"
#include "gui/qt_window.h"

class QLineEdit;
class QPushButton;
class QRadioButton;

namespace gui {

class SettingsDialogView {
public:
    SettingsDialogView(QWidget* parent, ui::Dialogs& dialogs);
    ~SettingsDialogView();

    QDialog& dialog() { return *dialog_; }
    editor::TForm3& logic() { return *logic_; }

private:
    QDialog* dialog_;
    std::unique_ptr<QtWindow> window_;
    std::unique_ptr<QtModal> modal_;
    std::vector<std::unique_ptr<QtLine>> fields_;
    std::vector<std::unique_ptr<QtButton>> buttons_;
    std::unique_ptr<editor::TForm3> logic_;
};

}  // namespace gui
