#include "gui/settings_dialog_view.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "editor/settings/settings_dialog_controls.h"
#include "gui/text_bridge.h"

namespace gui {

SettingsDialogView::SettingsDialogView(QWidget* parent, ui::Dialogs& dialogs)
    : dialog_(new QDialog(parent)) {
    dialog_->setObjectName(QStringLiteral("TForm3"));
    dialog_->setModal(true);
    auto* grid = new QGridLayout(dialog_);

    int row = 0;
    const auto table = editor::settingsDialogControls();
    auto caption = [&](std::string_view name) {
        return toQString(ui::control(table, name).caption);
    };
    // A field with its label; the label names the field for screen readers.
    auto field = [&](std::string_view label, std::string_view name, QGridLayout* into, int r,
                     int column = 0) {
        auto* l = new QLabel(caption(label));
        auto* e = new QLineEdit;
        l->setBuddy(e);
        e->setAccessibleName(toQString(ui::accessibleName(table, name)));
        into->addWidget(l, r, column);
        into->addWidget(e, r, column + 1);
        fields_.push_back(std::make_unique<QtLine>(e));
        return fields_.back().get();
    };
    auto button = [&](std::string_view name, QAbstractButton* b) {
        b->setText(caption(name));
        b->setAccessibleName(toQString(ui::accessibleName(table, name)));
        buttons_.push_back(std::make_unique<QtButton>(b));
        return buttons_.back().get();
    };

    QtLine* editorField = field("LabelEditor", "EditEditor", grid, row);
    QtButton* browseEditor = button("SfogliaEditor", new QPushButton);
    grid->addWidget(browseEditor->widget(), row++, 2);
    QtLine* workDir = field("LabelWorkDir", "EditWorkDir", grid, row);
    QtButton* browseDir = button("SfogliaDir", new QPushButton);
    grid->addWidget(browseDir->widget(), row++, 2);
    QtLine* exchange = field("LabelExchange", "EditExchange", grid, row++);

    auto* modeBox = new QGroupBox(caption("GroupExchange"));
    auto* modeLayout = new QHBoxLayout(modeBox);
    auto* tutto = new QRadioButton;
    auto* selezione = new QRadioButton;
    modeLayout->addWidget(tutto);
    modeLayout->addWidget(selezione);
    QtButton* radioTutto = button("RadioTutto", tutto);
    QtButton* radioSelezione = button("RadioSelezione", selezione);
    grid->addWidget(modeBox, row++, 0, 1, 3);

    QtLine* font = field("LabelFont", "EditFont", grid, row++);
    QtLine* filter = field("LabelFilter", "EditFilter", grid, row++);
    QtLine* timer = field("LabelTimer", "EditTimer", grid, row++);
    QtLine* speed = field("LabelSpeed", "EditSpeed", grid, row++);

    auto* displayBox = new QCheckBox;
    QtButton* checkDisplay = button("CheckDisplay", displayBox);
    grid->addWidget(displayBox, row++, 0, 1, 3);

    auto* printerBox = new QGroupBox(caption("GroupPrinter"));
    auto* printerGrid = new QGridLayout(printerBox);
    QtLine* chars = field("LabelChars", "EditChars", printerGrid, 0);
    QtLine* lines = field("LabelLines", "EditLines", printerGrid, 1);
    grid->addWidget(printerBox, row++, 0, 1, 3);

    auto* buttonRow = new QHBoxLayout;
    auto* ok = new QPushButton;
    auto* esci = new QPushButton;
    ok->setDefault(true);
    buttonRow->addStretch();
    buttonRow->addWidget(ok);
    buttonRow->addWidget(esci);
    QtButton* okButton = button("ButtonOk", ok);
    QtButton* esciButton = button("ButtonEsci", esci);
    grid->addLayout(buttonRow, row++, 0, 1, 3);

    window_ = std::make_unique<QtWindow>(dialog_, dialog_);
    modal_ = std::make_unique<QtModal>(dialog_);
    logic_ = std::make_unique<editor::TForm3>(
        editor::SettingsDialogWidgets{*window_, *modal_, *editorField, *workDir, *exchange, *font,
                                      *filter, *timer, *speed, *chars, *lines, *radioTutto,
                                      *radioSelezione, *checkDisplay, *browseEditor, *browseDir,
                                      *okButton, *esciButton},
        dialogs);
}

SettingsDialogView::~SettingsDialogView() {
    // The dialog's own adapters go before its logic; the dialog goes with its parent window.
    window_.reset();
    fields_.clear();
    buttons_.clear();
    logic_.reset();
}

}  // namespace gui
