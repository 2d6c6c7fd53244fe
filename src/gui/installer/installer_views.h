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

class MainDialogView {
public:
    MainDialogView(QWidget* parent, installer::Product& product, installer::system::System& sys,
                   installer::Prompter& prompter, installer::ClusterCache& clusters,
                   installer::MainDialogServices services);
    InstallerDialog& dialog() { return *dialog_; }
    installer::CMainDlg& logic() { return *logic_; }

private:
    std::unique_ptr<InstallerDialog> dialog_;
    ControlSet set_;
    std::unique_ptr<DialogWindow> window_;
    std::unique_ptr<QtModal> modal_;
    std::unique_ptr<ChooserView> chooser_;
    std::unique_ptr<installer::CMainDlg> logic_;
};

class DetailsDialogView {
public:
    DetailsDialogView(QWidget* parent, installer::ComponentGroup& group,
                      installer::ChooserContext& context, std::int64_t otherKb,
                      const std::string& available);
    InstallerDialog& dialog() { return *dialog_; }
    installer::CDetailsDlg& logic() { return *logic_; }

private:
    std::unique_ptr<InstallerDialog> dialog_;
    ControlSet set_;
    std::unique_ptr<DialogWindow> window_;
    std::unique_ptr<QtModal> modal_;
    std::unique_ptr<ChooserView> chooser_;
    std::unique_ptr<installer::CDetailsDlg> logic_;
};

class ProgressView {
public:
    ProgressView(QWidget* parent, std::function<bool()> confirmCancel);

    InstallerDialog& dialog() { return *dialog_; }
    installer::CProgressDlg& logic() { return *logic_; }

private:
    std::unique_ptr<InstallerDialog> dialog_;
    ControlSet set_;
    std::unique_ptr<DialogWindow> window_;
    std::unique_ptr<installer::CProgressDlg> logic_;
};

class DiskPromptView {
public:
    DiskPromptView(QWidget* parent, installer::system::System& sys, std::string programFile,
                   std::vector<std::string>& history, installer::DiskPromptServices services);
    InstallerDialog& dialog() { return *dialog_; }
    installer::CDiskPrompt& logic() { return *logic_; }

private:
    std::unique_ptr<InstallerDialog> dialog_;
    ControlSet set_;
    std::unique_ptr<DialogWindow> window_;
    std::unique_ptr<QtModal> modal_;
    std::unique_ptr<installer::CDiskPrompt> logic_;
};

class LicenseView {
public:
    LicenseView(QWidget* parent, std::string_view text);
    InstallerDialog& dialog() { return *dialog_; }
    installer::CLicenseDlg& logic() { return *logic_; }

private:
    std::unique_ptr<InstallerDialog> dialog_;
    ControlSet set_;
    std::unique_ptr<DialogWindow> window_;
    std::unique_ptr<QtModal> modal_;
    std::unique_ptr<installer::CLicenseDlg> logic_;
};

class AboutView {
public:
    AboutView(QWidget* parent, const std::string& appName, const std::string& version);
    InstallerDialog& dialog() { return *dialog_; }

private:
    std::unique_ptr<InstallerDialog> dialog_;
    ControlSet set_;
    std::unique_ptr<DialogWindow> window_;
    std::unique_ptr<QtModal> modal_;
    std::unique_ptr<installer::CAboutDlg> logic_;
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
