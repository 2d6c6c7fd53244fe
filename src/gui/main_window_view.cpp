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
#include "editor/window/main_window_controls.h"
#include "gui/braille_display_factory.h"
#include "gui/linear_view_widget.h"
#include "gui/menu_table.h"
#include "gui/screen_reader.h"
#include "gui/text_bridge.h"

namespace gui {

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

// The window's controls: kind, caption, place and accessible name.
const ui::ControlSpec& item(std::string_view name) {
    return ui::control(editor::mainWindowControls(), name);
}

QString accessibleNameOf(std::string_view name) {
    return toQString(ui::accessibleName(editor::mainWindowControls(), name));
}

// The control `name` of the window's table, by its name and accessible name.
void identify(QWidget* w, std::string_view name) {
    w->setObjectName(toQString(name));
    w->setAccessibleName(accessibleNameOf(name));
}

void place(QWidget* w, std::string_view name) {
    const ui::Rect& r = item(name).bounds;
    w->setGeometry(r.left, r.top, r.width, r.height);
}

}  // namespace

namespace {

// Screen readers' support comes before the first widget: Qt keeps the accessible object it
// made first for each widget.
QMainWindow* newMainWindow() {
    installScreenReaderSupport();
    return new QMainWindow;
}

}  // namespace

MainWindowView::MainWindowView(MainWindowOptions options) : window_(newMainWindow()) {
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

    // ---- controls, each with its adapter, which the view keeps
    auto keep = [this](auto adapter) {
        auto* raw = adapter.get();
        adapters_.push_back(std::move(adapter));
        return raw;
    };
    auto label = [&](std::string_view object) {
        auto* l = new QLabel(client);
        identify(l, object);
        place(l, object);
        return keep(std::make_unique<QtLabel>(l));
    };
    auto button = [&](std::string_view object, QWidget* parent = nullptr) {
        auto* b =
            new QPushButton(toQString(item(object).caption), parent != nullptr ? parent : client);
        identify(b, object);
        b->setFocusPolicy(Qt::TabFocus);
        if (parent == nullptr) {
            place(b, object);
        }
        return keep(std::make_unique<QtButton>(b));
    };
    auto memo = [&](std::string_view object) {
        auto* m = new QPlainTextEdit(client);
        identify(m, object);
        m->setLineWrapMode(QPlainTextEdit::NoWrap);
        m->setTabChangesFocus(true);
        m->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        m->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        place(m, object);
        return keep(std::make_unique<QtMemo>(m));
    };

    // The labels are named by what they show; the logic names the page strip.
    QtLabel* label1 = label("Label1");
    QtLabel* label2 = label("Label2");
    QtLabel* label4 = label("Label4");
    QtLabel* label3 = label("Label3");
    {
        const ui::ControlSpec& s3 = item("Label3");
        QFont strip(toQString(s3.fontFamily));
        strip.setStyleHint(QFont::TypeWriter);
        strip.setBold(s3.bold);
        strip.setPixelSize(s3.fontPixels);
        label3->widget()->setFont(strip);
    }

    QtButton* converti = button("Converti");
    QtButton* funzioni = button("Funzioni");
    QtButton* operatori = button("Operatori");
    QtButton* insiemistica = button("Insiemistica");
    QtButton* logica = button("Logica");
    QtButton* greche = button("Greche");
    QtButton* simboli = button("Simboli");
    QtButton* visual = button("VisualLineare");
    QtButton* editorGrafico = button("EditorGrafico");
    QtButton* mathml = button("Mathml");

    auto* tabBar = new QTabBar(client);
    identify(tabBar, "TabControl1");
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
    place(tabBar, "TabControl1");
    QtTabBar* tabs = keep(std::make_unique<QtTabBar>(tabBar));

    QtMemo* memo1 = memo("Memo1");
    QtMemo* memo2 = memo("Memo2");

    auto* chordBuffer = new QLineEdit(client);
    identify(chordBuffer, "Edit3");
    chordBuffer->hide();
    QtLine* edit3 = keep(std::make_unique<QtLine>(chordBuffer));

    auto* linear = new LinearViewWidget(client);
    identify(linear, "Image1");
    QtMathView* image1 = keep(std::make_unique<QtMathView>(linear));
    // The legend scrolls when the strip leaves it less room than its picture needs.
    QtImage* image3 = nullptr;
    {
        auto* area = new QScrollArea(client);
        identify(area, "Image3");
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
        image3 = keep(std::make_unique<QtImage>(legendLabel, area));
    }
    QtButton* simb = button("Simb");

    auto list = [&](std::string_view object) {
        auto* l = new QListWidget(client);
        identify(l, object);
        place(l, object);
        return keep(std::make_unique<QtListBox>(l));
    };
    QtListBox* listBox1 = list("ListBox1");
    QtListBox* listBox2 = list("ListBox2");

    // About panel.
    auto* panel = new QFrame(client);
    identify(panel, "Panel1");
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
    // The panel's texts, links and button in the order of the table, one under the other.
    QtButton* link1 = nullptr;
    QtButton* link2 = nullptr;
    QtButton* panelOk = nullptr;
    for (const ui::ControlSpec& c : editor::mainWindowControls()) {
        if (c.parent != "Panel1") {
            continue;
        }
        if (c.kind == ui::ControlKind::Label) {
            std::string caption(c.caption);
            std::erase(caption, '\r');
            auto* l = new QLabel(toQString(caption), panel);
            l->setWordWrap(true);
            l->setAlignment(Qt::AlignCenter);
            QFont f = l->font();
            f.setPixelSize(c.fontPixels);
            f.setBold(c.bold);
            l->setFont(f);
            panelLayout->addWidget(l);
            continue;
        }
        QtButton* b = button(c.name, panel);
        auto* pushButton = static_cast<QPushButton*>(b->widget());
        if (c.kind == ui::ControlKind::Link) {
            pushButton->setFlat(true);
            pushButton->setCursor(Qt::PointingHandCursor);
            panelLayout->addWidget(pushButton);
            (link1 == nullptr ? link1 : link2) = b;
        } else {
            pushButton->setFocusPolicy(Qt::StrongFocus);
            panelLayout->addWidget(pushButton, 0, Qt::AlignHCenter);
            panelOk = b;
        }
    }
    place(panel, "Panel1");
    panel->raise();
    QtPlainWidget* panel1 = keep(std::make_unique<QtPlainWidget>(panel));

    auto* statusLabel = new QLabel;
    statusLabel->setObjectName(QStringLiteral("StatusBar1"));
    window_->statusBar()->addWidget(statusLabel, 1);
    QtLabel* status = keep(std::make_unique<QtLabel>(statusLabel));

    timers_.push_back(std::make_unique<QtTimer>(window_));
    timers_.push_back(std::make_unique<QtTimer>(window_));
    timers_.push_back(std::make_unique<QtTimer>(window_));  // recovery copies

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
    workbench_->start(*timers_[2], options);
    workbench_->attachFormulaPrinting(formulaPrint_->logic(), formulaPreview_->logic());
    brailleDisplay_ =
        options.brailleDisplay ? std::move(options.brailleDisplay) : makeBrailleDisplay();
    workbench_->mirrorOnBrailleDisplay(*brailleDisplay_);
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
    workbench_->attachTutors(tutor(learning::TutorKind::Brackets).logic(),
                             tutor(learning::TutorKind::Operations).logic(),
                             tutor(learning::TutorKind::ComplexFractions).logic());
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
