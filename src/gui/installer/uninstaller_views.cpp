#include "gui/installer/uninstaller_views.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/text_bridge.h"

namespace gui {

namespace {

const ui::ControlSpec& item(const installer::WindowTable& table, std::string_view name) {
    return ui::control(table.controls, name);
}

QPushButton* tableButton(const installer::WindowTable& table, std::string_view name,
                         const char* objectName) {
    auto* b = new QPushButton(toQString(item(table, name).caption));
    b->setObjectName(QString::fromLatin1(objectName));
    b->setAccessibleName(toQString(ui::accessibleName(table.controls, name)));
    b->setAutoDefault(false);
    return b;
}

// A text the logic sets; a reader reads what it shows, or the table's name for it.
QLabel* tableText(const installer::WindowTable& table, std::string_view name,
                  const char* objectName) {
    auto* l = new QLabel;
    l->setObjectName(QString::fromLatin1(objectName));
    const std::string_view accessible = item(table, name).accessibleName;
    if (!accessible.empty()) {
        l->setAccessibleName(toQString(accessible));
    }
    l->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    l->setWordWrap(true);
    return l;
}

}  // namespace

UninstallConfirmView::UninstallConfirmView(QWidget* parent, const installer::UninstallInfo& info)
    : InstallerView(parent, "uninstallWindow") {
    const installer::WindowTable table = installer::uninstallConfirmControls();
    auto* question = tableText(table, "Question", "question");
    auto* what = tableText(table, "What", "what");
    auto* remove = tableButton(table, "Remove", "remove");
    remove->setDefault(true);
    auto* cancel = tableButton(table, "Cancel", "cancel");
    auto* layout = new QVBoxLayout(dialog_.get());
    layout->addWidget(question);
    layout->addWidget(what);
    layout->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(remove);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    dialog_->resize(table.width + 40, table.height + 40);
    adaptWindow(true);
    logic_ = std::make_unique<installer::CUninstallDlg>(
        installer::UninstallConfirmWidgets{*window_, *modal_, set_.label(question),
                                           set_.label(what), set_.button(remove),
                                           set_.button(cancel)},
        info);
    // What the window asks is heard with its title, before the focused button.
    dialog_->setAccessibleDescription(question->text() + QLatin1Char(' ') + what->text());
    remove->setFocus();
}

RemovalProgressView::RemovalProgressView(QWidget* parent, const installer::UninstallInfo& info,
                                         std::function<bool()> confirmCancel)
    : InstallerView(parent, "removalWindow") {
    dialog_->setModal(false);
    const installer::WindowTable table = installer::removalProgressControls();
    auto* upper = tableText(table, "Upper", "upper");
    auto* lower = tableText(table, "Lower", "lower");
    auto* bar = new QProgressBar;
    bar->setObjectName(QStringLiteral("totalBar"));
    bar->setAccessibleName(toQString(ui::accessibleName(table.controls, "TotalBar")));
    auto* title = new QLabel(toQString(item(table, "TotalTitle").caption));
    title->setBuddy(bar);
    auto* cancel = tableButton(table, "Cancel", "cancel");
    auto* layout = new QVBoxLayout(dialog_.get());
    layout->addWidget(upper);
    layout->addWidget(lower);
    layout->addStretch(1);
    auto* row = new QHBoxLayout;
    row->addWidget(title);
    row->addWidget(bar, 1);
    layout->addLayout(row);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    dialog_->resize(table.width + 70, table.height + 20);
    adaptWindow(false);
    logic_ = std::make_unique<installer::CRemovalDlg>(
        installer::RemovalProgressWidgets{*window_, set_.label(upper), set_.label(lower),
                                          set_.bar(bar), set_.button(cancel)},
        info, std::move(confirmCancel));
    cancel->setFocus();
}

}  // namespace gui
