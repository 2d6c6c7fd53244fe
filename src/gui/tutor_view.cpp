#include "gui/tutor_view.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "editor/menu_commands.h"
#include "editor/messages.h"
#include "gui/linear_view_widget.h"
#include "gui/menu_table.h"
#include "gui/text_bridge.h"

namespace gui {
namespace {

// What screen readers call the boxes; the labels and buttons say their own captions.
constexpr std::string_view kNameExpression = "Espressione";
constexpr std::string_view kNameWork = "Passaggi";
constexpr std::string_view kNamePicture = "Visualizzazione lineare";

constexpr int kTutorFontPixels = 24;

QFont brailleFont() {
    QFont font(toQString(editor::text::kBrailleFontFamily));
    font.setPixelSize(kTutorFontPixels);
    font.setBold(true);
    return font;
}

const char* objectName(learning::TutorKind kind) {
    switch (kind) {
        case learning::TutorKind::Brackets:
            return "TForm10";
        case learning::TutorKind::Operations:
            return "TForm11";
        case learning::TutorKind::ComplexFractions:
            return "TForm13";
    }
    return "";
}

}  // namespace

// The tutor speaks through whatever the main window speaks through, while its speech is on.
class TutorView::MainWindowSpeech : public speech::RequestSink {
public:
    explicit MainWindowSpeech(editor::TForm1& form) : form_(form) {}
    void submit(const speech::Request& request) override { form_.speak(request); }

private:
    editor::TForm1& form_;
};

TutorView::TutorView(QWidget* parent, learning::TutorKind kind, editor::TForm1& mainWindow,
                     QtKeyboard& keyboard, ui::Dialogs* dialogs)
    : dialog_(new QDialog(parent)) {
    dialog_->setObjectName(QString::fromLatin1(objectName(kind)));
    dialog_->setModal(true);
    if (dialogs == nullptr) {
        ownDialogs_ = std::make_unique<QtDialogs>(dialog_);
        dialogs = ownDialogs_.get();
    }
    speech_ = std::make_unique<MainWindowSpeech>(mainWindow);

    auto* layout = new QVBoxLayout(dialog_);
    // ---- menus, from the tutor's command table
    auto* bar = new QMenuBar(dialog_);
    layout->setMenuBar(bar);
    const std::vector<learning::TutorMenuEntry> table = learning::tutorMenuTable(kind);
    buildMenus(*bar, menu_, std::span<const learning::TutorMenuEntry>(table), Qt::WidgetShortcut);

    const QFont braille = brailleFont();
    auto keep = [this](auto adapter) {
        auto* raw = adapter.get();
        adapters_.push_back(std::move(adapter));
        return raw;
    };
    auto memo = [&](const char* object, std::string_view name) {
        auto* m = new QPlainTextEdit;
        m->setObjectName(QString::fromLatin1(object));
        m->setAccessibleName(toQString(name));
        m->setFont(braille);
        m->setLineWrapMode(QPlainTextEdit::NoWrap);
        m->setTabChangesFocus(true);
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
        // Enter in the work area finishes a line; it must never press a button.
        b->setAutoDefault(false);
        b->setDefault(false);
        return keep(std::make_unique<QtButton>(b));
    };

    auto* top = new QHBoxLayout;
    QtLabel* label1 = label("Label1");
    QtLabel* label2 = label("Label2");
    top->addWidget(label1->widget(), 1);
    top->addWidget(label2->widget());
    layout->addLayout(top);

    QtMemo* memo1 = memo("Memo1", kNameExpression);
    memo1->widget()->setMaximumHeight(QFontMetrics(braille).lineSpacing() * 3 + 12);
    layout->addWidget(memo1->widget());
    QtMemo* memo2 = memo("Memo2", kNameWork);
    layout->addWidget(memo2->widget(), 2);

    auto* picture = new LinearViewWidget;
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setAccessibleName(toQString(kNamePicture));
    picture->setMinimumHeight(110);
    auto pictureAdapter = std::make_unique<QtMathView>(picture);
    QtMathView* image1 = pictureAdapter.get();
    adapters_.push_back(std::move(pictureAdapter));
    layout->addWidget(picture, 1);

    auto* buttons = new QHBoxLayout;
    QtButton* button1 = button("Button1");
    QtButton* button2 = button("Button2");
    buttons->addWidget(button1->widget());
    buttons->addWidget(button2->widget());
    layout->addLayout(buttons);

    timer_ = std::make_unique<QtTimer>(dialog_);
    window_ = std::make_unique<QtWindow>(dialog_, dialog_, &keyboard);
    modal_ = std::make_unique<QtModal>(dialog_);
    learning::TutorHost host{[&mainWindow] { return mainWindow.chordInput(); },
                             [&mainWindow] { return mainWindow.widgets().Timer1.interval(); },
                             [&mainWindow] { return mainWindow.speechOn(); },
                             mainWindow.environment().programDirectory.string()};
    logic_ = std::make_unique<learning::TutorWindow>(
        kind,
        learning::TutorWidgets{*window_, *modal_, menu_, *memo1, *memo2, *image1, *label1, *label2,
                               *button1, *button2, *timer_},
        *dialogs, speech_.get(), std::move(host));

    // The expression box is read-only, with a caret the keyboard moves and a screen reader
    // follows.
    static_cast<QPlainTextEdit*>(memo1->widget())
        ->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    for (QtButton* b : {button1, button2}) {
        b->widget()->setAccessibleName(toQString(b->caption()));
    }
    dialog_->setAccessibleName(dialog_->windowTitle());
    dialog_->resize(760, 520);
}

TutorView::~TutorView() {
    // Adapters before the logic; the dialog goes with its parent window.
    window_.reset();
    adapters_.clear();
    timer_.reset();
    menu_.clear();
    logic_.reset();
}

}  // namespace gui
