#include "gui/main_window_view.h"

#include <QEvent>
#include <QFrame>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QStatusBar>
#include <QTabBar>
#include <QVBoxLayout>
#include <map>

#include "editor/messages.h"
#include "gui/braille_display_factory.h"
#include "gui/linear_view_widget.h"
#include "gui/menu_table.h"
#include "gui/text_bridge.h"

namespace gui {

namespace text = editor::text;

// Mouse over the about panel's links (red) and over the panel itself (white again).
class MainWindowView::HoverFilter : public QObject {
public:
    HoverFilter(editor::TForm1*& logic, QWidget* panel, QWidget* link1, QWidget* link2)
        : logic_(logic), panel_(panel), link1_(link1), link2_(link2) {
        panel_->installEventFilter(this);
        link1_->installEventFilter(this);
        link2_->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (logic_ == nullptr || event->type() != QEvent::Enter) {
            return false;
        }
        if (watched == link1_) {
            logic_->LinkMouseMove(1);
        } else if (watched == link2_) {
            logic_->LinkMouseMove(2);
        } else if (watched == panel_) {
            logic_->Panel1MouseMove();
        }
        return false;
    }

private:
    editor::TForm1*& logic_;
    QWidget* panel_;
    QWidget* link1_;
    QWidget* link2_;
};

namespace {

// Where the controls stand in the window's client area; the editors, the linear view and the
// about panel are placed by the window's resize logic.
struct Place {
    int x, y, w, h;
};

}  // namespace

MainWindowView::MainWindowView(MainWindowOptions options) : window_(new QMainWindow) {
    window_->setObjectName(QStringLiteral("TForm1"));
    window_->resize(editor::TForm1::kDefaultWidth, editor::TForm1::kDefaultHeight);
    window_->setMinimumSize(480, 360);
    auto* client = new QWidget;
    window_->setCentralWidget(client);

    if (options.dialogs != nullptr) {
        dialogs_ = options.dialogs;
    } else {
        ownDialogs_ = std::make_unique<QtDialogs>(window_, printer_.printer());
        dialogs_ = ownDialogs_.get();
    }

    // ---- menu bar, from the command table
    buildMenus(*window_->menuBar(), menu_, editor::menuTable(), Qt::WindowShortcut);

    // ---- controls
    auto place = [](QWidget* w, Place p) { w->setGeometry(p.x, p.y, p.w, p.h); };
    auto label = [&](const char* object, const QString& accessible, Place p) {
        auto* l = new QLabel(client);
        l->setObjectName(QString::fromLatin1(object));
        l->setAccessibleName(accessible);
        place(l, p);
        auto adapter = std::make_unique<QtLabel>(l);
        QtLabel* raw = adapter.get();
        adapters_.push_back(std::move(adapter));
        return raw;
    };
    auto button = [&](const char* object, std::string_view caption, Place p,
                      QWidget* parent = nullptr) {
        auto* b = new QPushButton(toQString(caption), parent != nullptr ? parent : client);
        b->setObjectName(QString::fromLatin1(object));
        b->setAccessibleName(accessibleCaption(toQString(caption)));
        b->setFocusPolicy(Qt::TabFocus);
        if (parent == nullptr) {
            place(b, p);
        }
        auto adapter = std::make_unique<QtButton>(b);
        QtButton* raw = adapter.get();
        adapters_.push_back(std::move(adapter));
        return raw;
    };
    auto memo = [&](const char* object, const QString& accessible) {
        auto* m = new QPlainTextEdit(client);
        m->setObjectName(QString::fromLatin1(object));
        m->setAccessibleName(accessible);
        m->setLineWrapMode(QPlainTextEdit::NoWrap);
        m->setTabChangesFocus(true);
        m->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        m->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        place(m, {editor::TForm1::kEditorLeft, editor::TForm1::kEditorTop, 760, 400});
        auto adapter = std::make_unique<QtMemo>(m);
        QtMemo* raw = adapter.get();
        adapters_.push_back(std::move(adapter));
        return raw;
    };

    // The labels are named by what they show; the logic names the page strip.
    QtLabel* label1 = label("Label1", {}, {16, 4, 190, 20});
    QtLabel* label2 = label("Label2", {}, {210, 4, 190, 20});
    QtLabel* label4 = label("Label4", {}, {404, 4, 260, 20});
    QtLabel* label3 = label("Label3", {}, {16, 54, 760, 18});
    {
        QFont strip(QStringLiteral("Courier"));
        strip.setStyleHint(QFont::TypeWriter);
        strip.setBold(true);
        strip.setPixelSize(12);
        label3->widget()->setFont(strip);
    }

    QtButton* converti = button("Converti", text::kBrailleMode, {16, 26, 120, 24});
    QtButton* funzioni = button("Funzioni", text::kButtonFunzioni, {140, 26, 76, 24});
    QtButton* operatori = button("Operatori", text::kButtonOperatori, {218, 26, 76, 24});
    QtButton* insiemistica = button("Insiemistica", text::kButtonInsiemistica, {296, 26, 76, 24});
    QtButton* logica = button("Logica", text::kButtonLogica, {374, 26, 76, 24});
    QtButton* greche = button("Greche", text::kButtonGreche, {452, 26, 76, 24});
    QtButton* simboli = button("Simboli", text::kButtonSimboli, {530, 26, 76, 24});
    QtButton* visual = button("VisualLineare", text::kButtonVisualLineare, {140, 26, 130, 24});
    QtButton* editorGrafico =
        button("EditorGrafico", text::kButtonEditorGrafico, {610, 26, 96, 24});
    QtButton* mathml = button("Mathml", text::kButtonMathml, {710, 26, 66, 24});

    auto* tabBar = new QTabBar(client);
    tabBar->setObjectName(QStringLiteral("TabControl1"));
    tabBar->setAccessibleName(QStringLiteral("Pagine"));
    tabBar->setExpanding(false);
    tabBar->setUsesScrollButtons(true);
    tabBar->setDrawBase(false);
    // All fifteen page tabs fit in the window's default width.
    tabBar->setStyleSheet(
        QStringLiteral("QTabBar::tab { padding: 3px 3px; min-width: 0px; border: 1px solid #808080;"
                       " border-bottom: none; background: #e0e0e0; }"
                       "QTabBar::tab:selected { background: #ffffff; color: #c00000; }"));
    {
        QFont small = tabBar->font();
        small.setPixelSize(11);
        tabBar->setFont(small);
    }
    place(tabBar, {16, 74, 760, 26});
    auto tabsAdapter = std::make_unique<QtTabBar>(tabBar);
    QtTabBar* tabs = tabsAdapter.get();
    adapters_.push_back(std::move(tabsAdapter));

    QtMemo* memo1 = memo("Memo1", QStringLiteral("Editor Latex"));
    QtMemo* memo2 = memo("Memo2", QStringLiteral("Editor Braille"));
    memo2->widget()->resize(760, 200);

    auto* chordBuffer = new QLineEdit(client);
    chordBuffer->setObjectName(QStringLiteral("Edit3"));
    chordBuffer->setAccessibleName(QStringLiteral("Celle in composizione"));
    chordBuffer->hide();
    auto edit3Adapter = std::make_unique<QtLine>(chordBuffer);
    QtLine* edit3 = edit3Adapter.get();
    adapters_.push_back(std::move(edit3Adapter));

    auto* linear = new LinearViewWidget(client);
    linear->setObjectName(QStringLiteral("Image1"));
    linear->setAccessibleName(QStringLiteral("Visualizzazione lineare"));
    auto image1Adapter = std::make_unique<QtMathView>(linear);
    QtMathView* image1 = image1Adapter.get();
    adapters_.push_back(std::move(image1Adapter));
    // The legend scrolls when the strip leaves it less room than its picture needs.
    QtImage* image3 = nullptr;
    {
        auto* area = new QScrollArea(client);
        area->setObjectName(QStringLiteral("Image3"));
        area->setAccessibleName(QStringLiteral("Legenda dei simboli"));
        area->setFrameShape(QFrame::NoFrame);
        area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        auto* legendLabel = new QLabel;
        legendLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        // Narrower than the strip by the scroll bar's room.
        const QPixmap legend = legendPicture(linear->fonts(), 740);
        legendLabel->setPixmap(legend);
        legendLabel->resize(legend.size());
        area->setWidget(legendLabel);
        area->setBackgroundRole(QPalette::Base);
        area->resize(legend.size());
        auto adapter = std::make_unique<QtImage>(legendLabel, area);
        image3 = adapter.get();
        adapters_.push_back(std::move(adapter));
    }
    QtButton* simb = button("Simb", text::kButtonSimb, {0, 0, 44, 22});

    auto list = [&](const char* object, const QString& accessible) {
        auto* l = new QListWidget(client);
        l->setObjectName(QString::fromLatin1(object));
        l->setAccessibleName(accessible);
        place(l, {140, editor::TForm1::kEditorTop, 220, 260});
        auto adapter = std::make_unique<QtListBox>(l);
        QtListBox* raw = adapter.get();
        adapters_.push_back(std::move(adapter));
        return raw;
    };
    QtListBox* listBox1 = list("ListBox1", QStringLiteral("Simboli"));
    QtListBox* listBox2 = list("ListBox2", QStringLiteral("Testi dei simboli"));

    // About panel.
    auto* panel = new QFrame(client);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setAccessibleName(QStringLiteral("Informazioni su Tattilo"));
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Raised);
    panel->setAutoFillBackground(true);
    {
        QPalette p = panel->palette();
        p.setColor(QPalette::Window, QColor(0x00, 0x20, 0x60));
        p.setColor(QPalette::WindowText, Qt::white);
        p.setColor(QPalette::ButtonText, Qt::white);
        panel->setPalette(p);
    }
    auto* panelLayout = new QVBoxLayout(panel);
    auto panelText = [&](std::string_view s, int pixels, bool bold) {
        auto* l = new QLabel(toQString(s), panel);
        l->setWordWrap(true);
        l->setAlignment(Qt::AlignCenter);
        QFont f = l->font();
        f.setPixelSize(pixels);
        f.setBold(bold);
        l->setFont(f);
        panelLayout->addWidget(l);
    };
    panelText(text::kAboutName, 28, true);
    panelText(text::kAboutVersion, 14, false);
    {
        std::string credits(text::kAboutCredits);
        std::erase(credits, '\r');
        panelText(credits, 13, false);
    }
    QtButton* link1 = button("Label5", text::kAboutLink1, {}, panel);
    QtButton* link2 = button("Label6", text::kAboutLink2, {}, panel);
    for (QtButton* l : {link1, link2}) {
        auto* b = static_cast<QPushButton*>(l->widget());
        b->setFlat(true);
        b->setCursor(Qt::PointingHandCursor);
        panelLayout->addWidget(b);
    }
    panelText(text::kAboutScreenReader, 12, false);
    QtButton* panelOk = button("Button1", text::kAboutOk, {}, panel);
    panelOk->widget()->setFocusPolicy(Qt::StrongFocus);
    panelLayout->addWidget(panelOk->widget(), 0, Qt::AlignHCenter);
    panel->setGeometry(175, 135, 450, 330);
    panel->raise();
    auto panelAdapter = std::make_unique<QtPlainWidget>(panel);
    QtPlainWidget* panel1 = panelAdapter.get();
    adapters_.push_back(std::move(panelAdapter));

    auto* statusLabel = new QLabel;
    statusLabel->setObjectName(QStringLiteral("StatusBar1"));
    window_->statusBar()->addWidget(statusLabel, 1);
    auto statusAdapter = std::make_unique<QtLabel>(statusLabel);
    QtLabel* status = statusAdapter.get();
    adapters_.push_back(std::move(statusAdapter));

    timers_.push_back(std::make_unique<QtTimer>(window_));
    timers_.push_back(std::make_unique<QtTimer>(window_));

    // Chord and palette widgets lie over the editors when they show.
    listBox1->widget()->raise();

    form_ = std::make_unique<QtWindow>(window_, client, &keyboard_);
    settings_ = std::make_unique<SettingsDialogView>(window_, *dialogs_);
    formulaPrint_ = std::make_unique<FormulaPrintDialogView>(window_);
    formulaPreview_ =
        std::make_unique<FormulaPreviewView>(window_, *form_, *dialogs_, clipboard_, printer_);
    hover_ = std::make_unique<HoverFilter>(hoverLogic_, panel, link1->widget(), link2->widget());

    logic_ = std::make_unique<editor::TForm1>(
        editor::MainWindowWidgets{
            *form_,    menu_,      *memo1,        *memo2,     *edit3,    *label1,  *label2,
            *label3,   *label4,    *tabs,         *status,    *image1,   *image3,  *converti,
            *funzioni, *operatori, *insiemistica, *logica,    *greche,   *simboli, *editorGrafico,
            *visual,   *mathml,    *simb,         *listBox1,  *listBox2, *panel1,  *panelOk,
            *link1,    *link2,     *timers_[0],   *timers_[1]},
        editor::MainWindowServices{*dialogs_, clipboard_, shell_, printer_, keyboard_},
        options.environment, settings_->logic(), options.speech, std::move(options.hooks));
    workbench_ = std::make_unique<editor::Workbench>(*logic_);
    if (options.speechReader) {
        workbench_->startSpeechReader(std::move(options.speechEngine));
    }
    workbench_->handoff().setConfirmation(&formulaPrint_->logic());
    brailleDisplay_ =
        options.brailleDisplay ? std::move(options.brailleDisplay) : makeBrailleDisplay();
    workbench_->mirrorOnBrailleDisplay(*brailleDisplay_);
    workbench_->handoff().setPreview([this](const std::string& title, const std::string& folder) {
        formulaPreview_->logic().show(title, folder);
    });
    calcSheet_ = std::make_unique<CalcSheetView>(
        window_,
        CalcSheetOptions{clipboard_, keyboard_, options.dialogs, std::move(options.sheetEngine),
                         options.sheetVoice, workbench_->calcSheetHost()});
    workbench_->attachCalculationSheet(calcSheet_->logic());
    for (auto kind : {learning::TutorKind::Brackets, learning::TutorKind::Operations,
                      learning::TutorKind::ComplexFractions}) {
        tutors_.push_back(
            std::make_unique<TutorView>(window_, kind, *logic_, keyboard_, options.dialogs));
    }
    logic_->hooks().bracketsTutor = &tutor(learning::TutorKind::Brackets).logic();
    logic_->hooks().operationsTutor = &tutor(learning::TutorKind::Operations).logic();
    logic_->hooks().fractionsTutor = &tutor(learning::TutorKind::ComplexFractions).logic();
    structure_ = std::make_unique<StructureWindow>(window_, *dialogs_, clipboard_, keyboard_,
                                                   workbench_->structureHost());
    decomposition_ = std::make_unique<DecompositionWindow>(
        window_, *dialogs_, clipboard_, keyboard_, workbench_->decompositionHost(),
        &calcSheet_->logic());
    workbench_->attachLearningTools(structure_->logic(), decomposition_->logic());
    hoverLogic_ = logic_.get();
    panel->raise();
}

MainWindowView::~MainWindowView() {
    // Adapters first: after them no Qt event reaches the logic, which goes next; the widgets
    // go last, with the window.
    hoverLogic_ = nullptr;
    hover_.reset();
    form_.reset();
    decomposition_.reset();
    structure_.reset();
    calcSheet_.reset();
    tutors_.clear();
    adapters_.clear();
    timers_.clear();
    menu_.clear();
    settings_.reset();
    formulaPrint_.reset();
    workbench_.reset();
    formulaPreview_.reset();
    logic_.reset();
    delete window_;
}

}  // namespace gui
