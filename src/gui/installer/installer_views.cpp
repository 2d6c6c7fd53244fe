#include "gui/installer/installer_views.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/text_bridge.h"
#include "installer/messages.h"
#include "installer/windows/window_controls.h"

namespace gui {

namespace msg = installer::msg;

QtLabel& ControlSet::label(QLabel* label) {
    return keep<QtLabel>(label);
}

QtButton& ControlSet::button(QAbstractButton* button) {
    return keep<QtButton>(button);
}

QtLine& ControlSet::line(QLineEdit* line) {
    return keep<QtLine>(line);
}

QtMemo& ControlSet::memo(QPlainTextEdit* memo) {
    return keep<QtMemo>(memo);
}

QtCheckList& ControlSet::checkList(QListWidget* list) {
    return keep<QtCheckList>(list);
}

QtProgressBar& ControlSet::bar(QProgressBar* bar) {
    bars_.push_back(std::make_unique<QtProgressBar>(bar));
    return *bars_.back();
}

QtComboBox& ControlSet::combo(QComboBox* combo) {
    return keep<QtComboBox>(combo);
}

namespace {

// Captions and the names readers hear come from the windows' tables, which the Windows build
// reads too.
QString captionOf(const installer::WindowTable& table, std::string_view name) {
    return toQString(ui::control(table.controls, name).caption);
}
QString nameOf(const installer::WindowTable& table, std::string_view name) {
    return toQString(ui::accessibleName(table.controls, name));
}

// A push button with its caption (mnemonic included) as its accessible name.
QPushButton* pushButton(const QString& caption, const char* objectName) {
    auto* b = new QPushButton(caption);
    b->setObjectName(QString::fromLatin1(objectName));
    b->setAccessibleName(accessibleCaption(caption));
    b->setAutoDefault(false);
    return b;
}

// A label that names `buddy` for the screen reader.
QLabel* labelFor(const QString& caption, QWidget* buddy) {
    auto* l = new QLabel(caption);
    l->setBuddy(buddy);
    buddy->setAccessibleName(accessibleCaption(caption).remove(QLatin1Char(':')).trimmed());
    return l;
}

// A text the logic sets, read by the screen reader under the name of its title.
QLabel* valueLabel(const QString& name, const char* objectName) {
    auto* l = new QLabel;
    l->setObjectName(QString::fromLatin1(objectName));
    l->setAccessibleName(name);
    l->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    l->setWordWrap(true);
    return l;
}

}  // namespace

InstallerDialog* makeInstallerDialog(QWidget* parent, const char* objectName) {
    auto* d = new InstallerDialog(parent);
    d->setObjectName(QString::fromLatin1(objectName));
    d->setAttribute(Qt::WA_DeleteOnClose, false);
    return d;
}

ChooserView::ChooserView(QWidget* owner, ControlSet& set, const QString& listName,
                         const installer::WindowTable& table)
    : list(new QListWidget(owner)),
      buttons(new QWidget(owner)),
      descriptionTitle(new QLabel(captionOf(table, "DescriptionTitle"), owner)),
      description(valueLabel(nameOf(table, "Description"), "description")),
      widgets{set.checkList(list),
              set.button(pushButton(captionOf(table, "SelectAll"), "selectAll")),
              set.button(pushButton(captionOf(table, "Recommended"), "recommended")),
              set.button(pushButton(captionOf(table, "Clear"), "clear")),
              set.button(pushButton(captionOf(table, "Details"), "details")),
              set.button(pushButton(captionOf(table, "ItemInfo"), "itemInfo")),
              set.label(description)} {
    list->setObjectName(QStringLiteral("components"));
    list->setAccessibleName(listName);
    descriptionTitle->setBuddy(description);
    auto* row = new QHBoxLayout(buttons);
    row->setContentsMargins(0, 0, 0, 0);
    for (ui::Control* c : {&widgets.selectAll, &widgets.recommended, &widgets.clear,
                           &widgets.details, &widgets.itemInfo}) {
        row->addWidget(static_cast<QtButton*>(c)->widget());
    }
    description->setMinimumWidth(160);
    description->setAlignment(Qt::AlignTop | Qt::AlignLeft);
}

MainDialogView::MainDialogView(QWidget* parent, installer::Product& product,
                               installer::system::System& sys, installer::Prompter& prompter,
                               installer::ClusterCache& clusters,
                               installer::MainDialogServices services)
    : InstallerView(parent, "mainWindow") {
    const installer::WindowTable table = installer::mainDialogControls();
    chooser_ =
        std::make_unique<ChooserView>(dialog_.get(), set_, nameOf(table, "Components"), table);
    auto* prompt = new QLabel;
    prompt->setObjectName(QStringLiteral("prompt"));
    prompt->setWordWrap(true);
    auto* componentsLabel = new QLabel(captionOf(table, "ComponentsLabel"));
    componentsLabel->setBuddy(chooser_->list);
    auto* optional = new QCheckBox(captionOf(table, "CheckOptional"));
    optional->setObjectName(QStringLiteral("checkOptional"));
    optional->setAccessibleName(nameOf(table, "CheckOptional"));
    auto* destination = new QLineEdit;
    destination->setObjectName(QStringLiteral("destination"));
    auto* destinationLabel = labelFor(captionOf(table, "DestinationLabel"), destination);
    destination->setAccessibleName(nameOf(table, "Destination"));
    auto* browse = pushButton(captionOf(table, "Browse"), "browse");
    auto* validation = valueLabel(nameOf(table, "Validation"), "validation");
    auto* needed = valueLabel(nameOf(table, "SpaceNeeded"), "spaceNeeded");
    auto* available = valueLabel(nameOf(table, "SpaceAvailable"), "spaceAvailable");
    auto* install = pushButton(captionOf(table, "Install"), "install");
    install->setDefault(true);
    auto* quit = pushButton(captionOf(table, "Quit"), "quit");
    auto* help = pushButton(captionOf(table, "Help"), "help");
    auto* about = pushButton(captionOf(table, "About"), "about");

    auto* grid = new QGridLayout(dialog_.get());
    grid->addWidget(prompt, 0, 0, 1, 3);
    grid->addWidget(componentsLabel, 1, 0);
    grid->addWidget(chooser_->descriptionTitle, 1, 2);
    grid->addWidget(chooser_->list, 2, 0, 1, 2);
    grid->addWidget(chooser_->description, 2, 2);
    grid->addWidget(chooser_->buttons, 3, 0, 1, 3);
    grid->addWidget(optional, 4, 0, 1, 3);
    grid->addWidget(destinationLabel, 5, 0);
    grid->addWidget(destination, 5, 1);
    grid->addWidget(browse, 5, 2);
    grid->addWidget(validation, 6, 0, 1, 3);
    grid->addWidget(new QLabel(captionOf(table, "NeededTitle")), 7, 0);
    grid->addWidget(needed, 7, 1);
    grid->addWidget(new QLabel(captionOf(table, "AvailableTitle")), 8, 0);
    grid->addWidget(available, 8, 1);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {install, quit, help, about}) {
        buttons->addWidget(b);
    }
    grid->addLayout(buttons, 9, 0, 1, 3);
    grid->setColumnStretch(1, 1);
    dialog_->resize(640, 420);
    // Tab order as laid out: list, its buttons, the check box, destination, the buttons.
    QWidget* order[] = {chooser_->list,
                        static_cast<QtButton&>(chooser_->widgets.selectAll).widget(),
                        static_cast<QtButton&>(chooser_->widgets.recommended).widget(),
                        static_cast<QtButton&>(chooser_->widgets.clear).widget(),
                        static_cast<QtButton&>(chooser_->widgets.details).widget(),
                        static_cast<QtButton&>(chooser_->widgets.itemInfo).widget(),
                        optional,
                        destination,
                        browse,
                        install,
                        quit,
                        help,
                        about};
    for (std::size_t i = 1; i < std::size(order); ++i) {
        QWidget::setTabOrder(order[i - 1], order[i]);
    }

    adaptWindow(true);
    logic_ = std::make_unique<installer::CMainDlg>(
        installer::MainDialogWidgets{*window_, *modal_, chooser_->widgets, set_.label(prompt),
                                     set_.line(destination), set_.button(browse),
                                     set_.label(validation), set_.label(needed),
                                     set_.label(available), set_.button(install), set_.button(quit),
                                     set_.button(help), set_.button(about), set_.button(optional)},
        product, sys, prompter, clusters, std::move(services));
    chooser_->list->setFocus();
    if (chooser_->list->count() > 0 && chooser_->list->currentRow() < 0) {
        chooser_->list->setCurrentRow(0);  // the first line, described
    }
}

DetailsDialogView::DetailsDialogView(QWidget* parent, installer::ComponentGroup& group,
                                     installer::ChooserContext& context, std::int64_t otherKb,
                                     const std::string& available)
    : InstallerView(parent, "detailsWindow") {
    const installer::WindowTable table = installer::detailsDialogControls();
    chooser_ = std::make_unique<ChooserView>(dialog_.get(), set_, toQString(group.name), table);
    auto* needed = valueLabel(nameOf(table, "SpaceNeeded"), "spaceNeeded");
    auto* free = valueLabel(nameOf(table, "SpaceAvailable"), "spaceAvailable");
    auto* ok = pushButton(captionOf(table, "Ok"), "ok");
    ok->setDefault(true);
    auto* cancel = pushButton(captionOf(table, "Cancel"), "cancel");
    auto* grid = new QGridLayout(dialog_.get());
    grid->addWidget(chooser_->list, 0, 0, 1, 2);
    grid->addWidget(chooser_->buttons, 1, 0, 1, 2);
    grid->addWidget(chooser_->descriptionTitle, 2, 0, 1, 2);
    grid->addWidget(chooser_->description, 3, 0, 1, 2);
    grid->addWidget(new QLabel(captionOf(table, "NeededTitle")), 4, 0);
    grid->addWidget(needed, 4, 1);
    grid->addWidget(new QLabel(captionOf(table, "AvailableTitle")), 5, 0);
    grid->addWidget(free, 5, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    grid->addLayout(buttons, 6, 0, 1, 2);
    adaptWindow(true);
    logic_ = std::make_unique<installer::CDetailsDlg>(
        installer::DetailsDialogWidgets{*window_, *modal_, chooser_->widgets, set_.label(needed),
                                        set_.label(free), set_.button(ok), set_.button(cancel)},
        group, context, otherKb, available);
    chooser_->list->setFocus();
    if (chooser_->list->count() > 0) {
        chooser_->list->setCurrentRow(0);
    }
}

ProgressView::ProgressView(QWidget* parent, std::function<bool()> confirmCancel)
    : InstallerView(parent, "progressWindow") {
    dialog_->setModal(false);
    const installer::WindowTable table = installer::progressDialogControls();
    auto* upper = valueLabel(nameOf(table, "Upper"), "upper");
    auto* lower = valueLabel(nameOf(table, "Lower"), "lower");
    auto* component = new QProgressBar;
    component->setObjectName(QStringLiteral("componentBar"));
    auto* total = new QProgressBar;
    total->setObjectName(QStringLiteral("totalBar"));
    auto* cancel = pushButton(captionOf(table, "Cancel"), "cancel");
    auto* grid = new QGridLayout(dialog_.get());
    grid->addWidget(upper, 0, 0, 1, 2);
    grid->addWidget(lower, 1, 0, 1, 2);
    grid->addWidget(labelFor(captionOf(table, "ComponentTitle"), component), 2, 0);
    component->setAccessibleName(nameOf(table, "ComponentBar"));
    grid->addWidget(component, 2, 1);
    grid->addWidget(labelFor(captionOf(table, "TotalTitle"), total), 3, 0);
    total->setAccessibleName(nameOf(table, "TotalBar"));
    grid->addWidget(total, 3, 1);
    grid->addWidget(cancel, 4, 1, Qt::AlignRight);
    dialog_->resize(520, 160);
    adaptWindow(false);
    logic_ = std::make_unique<installer::CProgressDlg>(
        installer::ProgressWidgets{*window_, set_.label(upper), set_.label(lower),
                                   set_.bar(component), set_.bar(total), set_.button(cancel)},
        std::move(confirmCancel));
    cancel->setFocus();
}

DiskPromptView::DiskPromptView(QWidget* parent, installer::system::System& sys,
                               std::string programFile, std::vector<std::string>& history,
                               installer::DiskPromptServices services)
    : InstallerView(parent, "diskPrompt") {
    const installer::WindowTable table = installer::diskPromptControls();
    auto* label = valueLabel(nameOf(table, "Label"), "label");
    auto* hint = new QLabel;
    hint->setWordWrap(true);
    auto* path = new QComboBox;
    path->setObjectName(QStringLiteral("path"));
    path->setEditable(true);
    path->setInsertPolicy(QComboBox::NoInsert);
    path->setAccessibleName(nameOf(table, "Path"));
    path->lineEdit()->setAccessibleName(nameOf(table, "Path"));
    hint->setBuddy(path);
    auto* browse = pushButton(captionOf(table, "Browse"), "browse");
    browse->setAccessibleName(nameOf(table, "Browse"));
    auto* validation = valueLabel(nameOf(table, "Validation"), "validation");
    auto* ok = pushButton(captionOf(table, "Ok"), "ok");
    ok->setDefault(true);
    auto* all = pushButton(captionOf(table, "ApplyToAll"), "applyToAll");
    auto* skip = pushButton(captionOf(table, "Skip"), "skip");
    auto* cancel = pushButton(captionOf(table, "Cancel"), "cancel");
    auto* grid = new QGridLayout(dialog_.get());
    grid->addWidget(label, 0, 0, 1, 2);
    grid->addWidget(hint, 1, 0, 1, 2);
    grid->addWidget(path, 2, 0);
    grid->addWidget(browse, 2, 1);
    grid->addWidget(validation, 3, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {ok, all, skip, cancel}) {
        buttons->addWidget(b);
    }
    grid->addLayout(buttons, 4, 0, 1, 2);
    grid->setColumnStretch(0, 1);
    browse->setMaximumWidth(browse->fontMetrics().horizontalAdvance(QStringLiteral("......")) * 2);
    dialog_->resize(520, 200);
    adaptWindow(true);
    logic_ = std::make_unique<installer::CDiskPrompt>(
        installer::DiskPromptWidgets{*window_, *modal_, set_.label(label), set_.label(hint),
                                     set_.combo(path), set_.button(browse), set_.label(validation),
                                     set_.button(ok), set_.button(all), set_.button(skip),
                                     set_.button(cancel)},
        sys, std::move(programFile), history, std::move(services));
    path->setFocus();
}

LicenseView::LicenseView(QWidget* parent, std::string_view text)
    : InstallerView(parent, "licenseWindow") {
    const installer::WindowTable table = installer::licenseDialogControls();
    auto* memo = new QPlainTextEdit;
    memo->setObjectName(QStringLiteral("licenseText"));
    memo->setAccessibleName(nameOf(table, "Text"));
    auto* agree = pushButton(captionOf(table, "Agree"), "agree");
    agree->setDefault(true);
    auto* disagree = pushButton(captionOf(table, "Disagree"), "disagree");
    auto* layout = new QVBoxLayout(dialog_.get());
    layout->addWidget(memo);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(agree);
    buttons->addWidget(disagree);
    layout->addLayout(buttons);
    dialog_->resize(560, 420);
    adaptWindow(true);
    logic_ = std::make_unique<installer::CLicenseDlg>(
        installer::LicenseWidgets{*window_, *modal_, set_.memo(memo), set_.button(agree),
                                  set_.button(disagree)},
        text);
    memo->setFocus();
}

AboutView::AboutView(QWidget* parent, const std::string& appName, const std::string& version)
    : InstallerView(parent, "aboutWindow") {
    const installer::WindowTable table = installer::aboutDialogControls();
    auto* name = valueLabel(nameOf(table, "Name"), "name");
    auto* versionLabel = valueLabel(nameOf(table, "Version"), "version");
    auto* text = valueLabel(nameOf(table, "Text"), "text");
    auto* ok = pushButton(captionOf(table, "Ok"), "ok");
    ok->setDefault(true);
    auto* layout = new QVBoxLayout(dialog_.get());
    for (QWidget* w : {static_cast<QWidget*>(name), static_cast<QWidget*>(versionLabel),
                       static_cast<QWidget*>(text), static_cast<QWidget*>(ok)}) {
        layout->addWidget(w);
    }
    adaptWindow(true);
    logic_ = std::make_unique<installer::CAboutDlg>(
        installer::AboutWidgets{*window_, *modal_, set_.label(name), set_.label(versionLabel),
                                set_.label(text), set_.button(ok)},
        appName, version);
    ok->setFocus();
}

BackgroundWindow::BackgroundWindow(const QString& caption, const QString& title) : title_(title) {
    setObjectName(QStringLiteral("background"));
    setWindowTitle(caption);
    setAccessibleName(caption);
}

void BackgroundWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    for (const installer::Band& band : installer::backgroundBands(width())) {
        painter.fillRect(band.left, 0, band.width, height(), toQColor(band.color));
    }
    QFont font(QStringLiteral("Helvetica"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(installer::kTitlePixels);
    font.setBold(true);
    font.setItalic(true);
    painter.setFont(font);
    for (const installer::TitleDraw& draw : {installer::kTitleShadow, installer::kTitleFace}) {
        painter.setPen(toQColor(draw.color));
        painter.drawText(QRect(draw.x, draw.y, width(), installer::kTitlePixels * 2),
                         Qt::AlignLeft | Qt::AlignTop, title_);
    }
}

void BackgroundWindow::closeEvent(QCloseEvent* event) {
    if (query_ && !query_()) {
        event->ignore();
        return;
    }
    event->accept();
}

}  // namespace gui
