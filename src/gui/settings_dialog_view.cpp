#include "gui/settings_dialog_view.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "editor/messages.h"
#include "gui/text_bridge.h"

namespace gui {

namespace text = editor::text;

SettingsDialogView::SettingsDialogView(QWidget* parent, ui::Dialogs& dialogs)
    : dialog_(new QDialog(parent)) {
    dialog_->setObjectName(QStringLiteral("TForm3"));
    dialog_->setModal(true);
    auto* grid = new QGridLayout(dialog_);

    int row = 0;
    // A field with its label; the label names the field for screen readers.
    auto field = [&](std::string_view label, QGridLayout* into, int r, int column = 0) {
        auto* l = new QLabel(toQString(label));
        auto* e = new QLineEdit;
        l->setBuddy(e);
        e->setAccessibleName(toQString(label).trimmed());
        into->addWidget(l, r, column);
        into->addWidget(e, r, column + 1);
        fields_.push_back(std::make_unique<QtLine>(e));
        return fields_.back().get();
    };
    auto button = [&](std::string_view caption, QAbstractButton* b) {
        b->setText(toQString(caption));
        b->setAccessibleName(accessibleCaption(toQString(caption)));
        buttons_.push_back(std::make_unique<QtButton>(b));
        return buttons_.back().get();
    };

    QtLine* editorField = field(text::kLabelEditor, grid, row);
    QtButton* browseEditor = button(text::kButtonBrowse, new QPushButton);
    browseEditor->widget()->setAccessibleName(QStringLiteral("Sfoglia editor grafico"));
    grid->addWidget(browseEditor->widget(), row++, 2);
    QtLine* workDir = field(text::kLabelWorkDir, grid, row);
    QtButton* browseDir = button(text::kButtonBrowse, new QPushButton);
    browseDir->widget()->setAccessibleName(QStringLiteral("Sfoglia directory lavoro"));
    grid->addWidget(browseDir->widget(), row++, 2);
    QtLine* exchange = field(text::kLabelExchangeFile, grid, row++);

    auto* modeBox = new QGroupBox(toQString(text::kGroupExchangeMode));
    auto* modeLayout = new QHBoxLayout(modeBox);
    auto* tutto = new QRadioButton;
    auto* selezione = new QRadioButton;
    modeLayout->addWidget(tutto);
    modeLayout->addWidget(selezione);
    QtButton* radioTutto = button(text::kRadioAll, tutto);
    QtButton* radioSelezione = button(text::kRadioSelection, selezione);
    grid->addWidget(modeBox, row++, 0, 1, 3);

    QtLine* font = field(text::kLabelFont, grid, row++);
    QtLine* filter = field(text::kLabelFilter, grid, row++);
    QtLine* timer = field(text::kLabelTimer, grid, row++);
    QtLine* speed = field(text::kLabelSpeed, grid, row++);

    auto* printerBox = new QGroupBox(toQString(text::kGroupPrinter));
    auto* printerGrid = new QGridLayout(printerBox);
    QtLine* chars = field(text::kLabelChars, printerGrid, 0);
    QtLine* lines = field(text::kLabelLines, printerGrid, 1);
    grid->addWidget(printerBox, row++, 0, 1, 3);

    auto* buttonRow = new QHBoxLayout;
    auto* ok = new QPushButton;
    auto* esci = new QPushButton;
    ok->setDefault(true);
    buttonRow->addStretch();
    buttonRow->addWidget(ok);
    buttonRow->addWidget(esci);
    QtButton* okButton = button(text::kButtonOk, ok);
    QtButton* esciButton = button(text::kButtonEsci, esci);
    grid->addLayout(buttonRow, row++, 0, 1, 3);

    window_ = std::make_unique<QtWindow>(dialog_, dialog_);
    modal_ = std::make_unique<QtModal>(dialog_);
    logic_ = std::make_unique<editor::TForm3>(
        editor::SettingsDialogWidgets{*window_, *modal_, *editorField, *workDir, *exchange, *font,
                                      *filter, *timer, *speed, *chars, *lines, *radioTutto,
                                      *radioSelezione, *browseEditor, *browseDir, *okButton,
                                      *esciButton},
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
