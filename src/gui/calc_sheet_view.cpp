#include "gui/calc_sheet_view.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <map>

#include "editor/menu_commands.h"
#include "editor/messages.h"
#include "gui/menu_table.h"
#include "gui/text_bridge.h"

namespace gui {
namespace {

// What screen readers call the boxes; the labels and buttons say their own captions.
constexpr std::string_view kNameExpression = "Espressione";
constexpr std::string_view kNameColumns = "Calcolo in colonna";
constexpr std::string_view kNamePartial = "Prodotto parziale ";
constexpr std::string_view kNameStep = "Passo ";
constexpr std::string_view kNameResult = "Risultato";
constexpr std::string_view kNameRemainder = "Resto";
constexpr std::string_view kNameStatus = "Esito";

// The Braille cells of the sheet, a little smaller than in the main window's editor.
constexpr int kSheetFontPixels = 24;

QFont brailleFont() {
    QFont font(toQString(editor::text::kBrailleFontFamily));
    font.setPixelSize(kSheetFontPixels);
    font.setBold(true);
    return font;
}

}  // namespace

CalcSheetView::CalcSheetView(QWidget* parent, CalcSheetOptions options)
    : dialog_(new QDialog(parent)) {
    dialog_->setObjectName(QStringLiteral("TForm2"));
    dialog_->setModal(true);
    ui::Dialogs* dialogs = options.dialogs;
    if (dialogs == nullptr) {
        ownDialogs_ = std::make_unique<QtDialogs>(dialog_);
        dialogs = ownDialogs_.get();
    }
    if (options.reportEngine) {
        if (const auto problem = speech::prepareEngine(options.engine.get())) {
            dialogs->message({*problem, {}, ui::Icon::None, ui::Buttons::Ok});
        }
    }
    voice_ = std::make_unique<speech::SheetVoice>(std::move(options.engine));

    auto* layout = new QVBoxLayout(dialog_);
    // ---- menu, from the sheet's command table
    auto* bar = new QMenuBar(dialog_);
    layout->setMenuBar(bar);
    buildMenus(*bar, menu_, learning::sheetMenuTable(), Qt::WidgetShortcut);

    const QFont braille = brailleFont();
    auto keep = [this](auto adapter) {
        auto* raw = adapter.get();
        adapters_.push_back(std::move(adapter));
        return raw;
    };
    auto line = [&](const char* object, const QString& name) {
        auto* e = new QLineEdit;
        e->setObjectName(QString::fromLatin1(object));
        e->setAccessibleName(name);
        e->setFont(braille);
        return keep(std::make_unique<QtLine>(e));
    };
    auto memo = [&](const char* object, const QString& name) {
        auto* m = new QPlainTextEdit;
        m->setObjectName(QString::fromLatin1(object));
        m->setAccessibleName(name);
        m->setFont(braille);
        m->setLineWrapMode(QPlainTextEdit::NoWrap);
        m->setTabChangesFocus(true);
        // Room for the longest table (thirteen rows) and its widest row, like a column on
        // paper.
        const QFontMetrics metrics(braille);
        m->setMinimumHeight(metrics.lineSpacing() * 14);
        m->setMaximumWidth(metrics.horizontalAdvance(QLatin1Char('a')) * 14);
        return keep(std::make_unique<QtMemo>(m));
    };
    auto label = [&](const char* object) {
        auto* l = new QLabel;
        l->setObjectName(QString::fromLatin1(object));
        return keep(std::make_unique<QtLabel>(l));
    };
    auto button = [&](const char* object) {
        auto* b = new QPushButton;
        b->setObjectName(QString::fromLatin1(object));
        // Enter in a box must never press a button of the dialog.
        b->setAutoDefault(false);
        b->setDefault(false);
        return keep(std::make_unique<QtButton>(b));
    };

    // ---- expression, input mode, decimals
    auto* top = new QHBoxLayout;
    QtLine* edit1 = line("Edit1", toQString(kNameExpression));
    auto* expressionLabel = new QLabel(toQString(kNameExpression));
    expressionLabel->setBuddy(edit1->widget());
    top->addWidget(expressionLabel);
    top->addWidget(edit1->widget(), 1);
    QtLabel* label2 = label("Label2");
    QtLabel* label1 = label("Label1");
    top->addWidget(label2->widget());
    top->addWidget(label1->widget());
    layout->addLayout(top);

    // ---- the work: the column memo and the partial products side by side, the step lines of
    // a long division one under the other; only those of the operation show
    auto* work = new QHBoxLayout;
    QtMemo* memo1 = memo("Memo1", toQString(kNameColumns));
    work->addWidget(memo1->widget());
    std::array<ui::TextBox*, learning::kPartialMemos> partials{};
    for (std::size_t i = 0; i < partials.size(); ++i) {
        const std::string object = "Memo" + std::to_string(i + 2);
        QtMemo* m =
            memo(object.c_str(), toQString(std::string(kNamePartial) + std::to_string(i + 1)));
        work->addWidget(m->widget());
        partials[i] = m;
    }
    auto* stepColumn = new QVBoxLayout;
    std::array<ui::TextBox*, learning::kMaxStepLines> steps{};
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const std::string object = "Edit" + std::to_string(i + 2);
        QtLine* s = line(object.c_str(), toQString(std::string(kNameStep) + std::to_string(i + 1)));
        stepColumn->addWidget(s->widget());
        steps[i] = s;
    }
    stepColumn->addStretch(1);
    work->addLayout(stepColumn, 1);
    layout->addLayout(work, 1);

    // ---- result and remainder
    auto* results = new QGridLayout;
    QtLine* edit10 = line("Edit10", toQString(kNameResult));
    QtLine* edit11 = line("Edit11", toQString(kNameRemainder));
    results->addWidget(edit10->widget(), 0, 0);
    results->addWidget(edit11->widget(), 0, 1);
    layout->addLayout(results);

    // ---- buttons and the status line
    auto* buttons = new QHBoxLayout;
    QtButton* button1 = button("Button1");
    QtButton* button2 = button("Button2");
    QtButton* button3 = button("Button3");
    QtButton* button4 = button("Button4");
    for (QtButton* b : {button1, button2, button3, button4}) {
        buttons->addWidget(b->widget());
    }
    layout->addLayout(buttons);
    QtLabel* status = label("StatusBar1");
    // Heard by the verdict or the notice it shows; what it is for is its description.
    status->widget()->setAccessibleDescription(toQString(kNameStatus));
    static_cast<QLabel*>(status->widget())->setFrameShape(QFrame::StyledPanel);
    layout->addWidget(status->widget());

    timers_.push_back(std::make_unique<QtTimer>(dialog_));
    timers_.push_back(std::make_unique<QtTimer>(dialog_));

    window_ = std::make_unique<QtWindow>(dialog_, dialog_, &options.keyboard);
    modal_ = std::make_unique<QtModal>(dialog_);
    logic_ = std::make_unique<learning::TForm2>(
        learning::CalcSheetWidgets{*window_, *modal_, menu_, *edit1, *memo1, partials, steps,
                                   *edit10, *edit11, *label1, *label2, *status, *button1, *button2,
                                   *button3, *button4, *timers_[0], *timers_[1]},
        learning::CalcSheetServices{*dialogs, options.clipboard, options.keyboard}, *voice_,
        std::move(options.host));

    // Read-only boxes keep a caret the keyboard moves and a screen reader follows.
    for (const auto& adapter : adapters_) {
        if (auto* m = dynamic_cast<QtMemo*>(adapter.get())) {
            static_cast<QPlainTextEdit*>(m->widget())
                ->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
        }
    }
    for (QtButton* b : {button1, button2, button3, button4}) {
        b->widget()->setAccessibleName(toQString(b->caption()));
    }
    dialog_->setAccessibleName(dialog_->windowTitle());
    dialog_->resize(820, 640);
}

CalcSheetView::~CalcSheetView() {
    // Adapters before the logic; the dialog goes with its parent window.
    window_.reset();
    adapters_.clear();
    timers_.clear();
    menu_.clear();
    logic_.reset();
}

}  // namespace gui
