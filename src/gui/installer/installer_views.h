#pragma once

// The installer's windows on Qt, each built from its template's controls and wired to its
// logic: every control has an accessible name (its caption or its label), the tab order
// follows the layout, and every button has a keyboard mnemonic or is the default.

#include <QDialog>
#include <QWidget>
#include <memory>
#include <vector>

#include "gui/installer/installer_widgets.h"
#include "gui/qt_services.h"
#include "installer/windows/main_dialog.h"
#include "installer/windows/progress_dialog.h"
#include "installer/windows/small_windows.h"
#include "installer/windows/window_controls.h"

class QGridLayout;
class QLabel;
class QPushButton;

namespace gui {

// The adapters of one window, kept alive as long as it.
class ControlSet {
public:
    QtLabel& label(QLabel* label);
    QtButton& button(QAbstractButton* button);
    QtLine& line(QLineEdit* line);
    QtMemo& memo(QPlainTextEdit* memo);
    QtCheckList& checkList(QListWidget* list);
    QtProgressBar& bar(QProgressBar* bar);
    QtComboBox& combo(QComboBox* combo);

private:
    template <class Adapter, class Widget>
    Adapter& keep(Widget* widget) {
        auto adapter = std::make_unique<Adapter>(widget);
        Adapter& out = *adapter;
        objects_.push_back(std::move(adapter));
        return out;
    }

    std::vector<std::unique_ptr<QObject>> objects_;
    std::vector<std::unique_ptr<QtProgressBar>> bars_;
};

// The check list with its five buttons and description, as the main and Details windows
// lay it out, with the captions of the window's table ("Recommended", "Recommened").
struct ChooserView {
    ChooserView(QWidget* owner, ControlSet& set, const QString& listName,
                const installer::WindowTable& table);
    QListWidget* list;
    QWidget* buttons;  // the row of buttons
    QLabel* descriptionTitle;
    QLabel* description;
    installer::ChooserWidgets widgets;
};

// Makes the dialog of an installer window, named `objectName`; closing it only hides it.
InstallerDialog* makeInstallerDialog(QWidget* parent, const char* objectName);

// A window of the installer: its dialog, the adapters of its controls and its logic, which go
// in the reverse order.
template <class Logic>
class InstallerView {
public:
    InstallerDialog& dialog() { return *dialog_; }
    Logic& logic() { return *logic_; }

protected:
    InstallerView(QWidget* parent, const char* objectName)
        : dialog_(makeInstallerDialog(parent, objectName)) {}
    // The window adapters the logic runs over, once the dialog holds its controls; a modeless
    // window has no modal loop.
    void adaptWindow(bool modal) {
        window_ = std::make_unique<DialogWindow>(dialog_.get());
        if (modal) {
            modal_ = std::make_unique<QtModal>(dialog_.get());
        }
    }

    std::unique_ptr<InstallerDialog> dialog_;
    ControlSet set_;
    std::unique_ptr<DialogWindow> window_;
    std::unique_ptr<QtModal> modal_;
    std::unique_ptr<ChooserView> chooser_;  // in the windows that choose components
    std::unique_ptr<Logic> logic_;
};

class MainDialogView : public InstallerView<installer::CMainDlg> {
public:
    MainDialogView(QWidget* parent, installer::Product& product, installer::system::System& sys,
                   installer::Prompter& prompter, installer::ClusterCache& clusters,
                   installer::MainDialogServices services);
};

class DetailsDialogView : public InstallerView<installer::CDetailsDlg> {
public:
    DetailsDialogView(QWidget* parent, installer::ComponentGroup& group,
                      installer::ChooserContext& context, std::int64_t otherKb,
                      const std::string& available);
};

class ProgressView : public InstallerView<installer::CProgressDlg> {
public:
    ProgressView(QWidget* parent, std::function<bool()> confirmCancel);
};

class DiskPromptView : public InstallerView<installer::CDiskPrompt> {
public:
    DiskPromptView(QWidget* parent, installer::system::System& sys, std::string programFile,
                   std::vector<std::string>& history, installer::DiskPromptServices services);
};

class LicenseView : public InstallerView<installer::CLicenseDlg> {
public:
    LicenseView(QWidget* parent, std::string_view text);
};

class AboutView : public InstallerView<installer::CAboutDlg> {
public:
    AboutView(QWidget* parent, const std::string& appName, const std::string& version);
};

// `CBackgroundWnd`: the colour bands and the title; its close box asks `closeQuery`.
class BackgroundWindow : public QWidget {
public:
    BackgroundWindow(const QString& caption, const QString& title);
    void setCloseQuery(std::function<bool()> query) { query_ = std::move(query); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QString title_;
    std::function<bool()> query_;
};

}  // namespace gui
