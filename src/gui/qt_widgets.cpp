#include "gui/qt_widgets.h"

#include <QAccessible>
#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QImage>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPixmap>
#include <QProxyStyle>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "gui/text_bridge.h"
#include "ui/control_spec.h"
#include "ui/crlf_offsets.h"

namespace gui {
QFont toQFont(const ui::Font& font) {
    QFont f(toQString(font.family));
    if (font.pixelSize > 0) {
        f.setPixelSize(font.pixelSize);
    } else if (font.pointSize > 0) {
        f.setPointSize(font.pointSize);
    }
    f.setBold(font.bold);
    f.setItalic(font.italic);
    return f;
}

ui::Font fromQFont(const QFont& font) {
    ui::Font f;
    f.family = fromQString(font.family());
    f.pixelSize = font.pixelSize() > 0 ? font.pixelSize() : 0;
    f.pointSize = font.pixelSize() > 0 ? 0 : font.pointSize();
    f.bold = font.bold();
    f.italic = font.italic();
    return f;
}

QColor toQColor(ui::Color color) {
    return QColor::fromRgb((color >> 16) & 0xFF, (color >> 8) & 0xFF, color & 0xFF);
}

QImage toQImage(const ui::Bitmap& bitmap) {
    QImage image(bitmap.width, bitmap.height, QImage::Format_ARGB32);
    for (int y = 0; y < bitmap.height; ++y) {
        for (int x = 0; x < bitmap.width; ++x) {
            image.setPixel(x, y, bitmap.pixels[static_cast<std::size_t>(y) * bitmap.width + x]);
        }
    }
    return image;
}

// ---- names for screen readers

void setWidgetAccessibleName(QWidget* widget, std::string_view name) {
    widget->setAccessibleName(toQString(name));
    if (name.empty()) {
        noticeNameFromText(widget);
    }
}

void setWidgetAccessibleDescription(QWidget* widget, std::string_view description) {
    widget->setAccessibleDescription(toQString(description));
}

void noticeNameFromText(QWidget* widget) {
    if (widget->accessibleName().isEmpty() && QAccessible::isActive()) {
        QAccessibleEvent event(widget, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
}

// ---- label, button, action

QString accessibleCaption(const QString& caption) {
    return toQString(ui::accessibleCaption(fromQString(caption)));
}

QtLabel::QtLabel(QLabel* label) : QtWidget(label), label_(label) {
    label_->installEventFilter(this);
}

std::string QtLabel::caption() const {
    return fromQString(label_->text());
}

void QtLabel::setCaption(std::string_view caption) {
    const QString text = toQLines(caption);
    if (text == label_->text()) {
        return;
    }
    label_->setText(text);
    // A label without a name of its own is heard by what it shows, now.
    noticeNameFromText(label_);
}

bool QtLabel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == label_ && event->type() == QEvent::MouseButtonRelease && onClick_ &&
        label_->isEnabled()) {
        onClick_();
    }
    return false;
}

QtButton::QtButton(QAbstractButton* button) : QtWidget(button), button_(button) {
    QObject::connect(button_, &QAbstractButton::clicked, this, relay(onClick_));
}

std::string QtButton::caption() const {
    return fromQString(button_->text());
}

void QtButton::setCaption(std::string_view caption) {
    const QString text = toQString(caption);
    // A screen reader announces the accessible name, not the text: a name made from the
    // caption follows it ("Modalità Latex" after the mode switch); a name of its own stays.
    const QString name = button_->accessibleName();
    if (name.isEmpty() || name == accessibleCaption(button_->text())) {
        button_->setAccessibleName(accessibleCaption(text));
    }
    button_->setText(text);
}

void QtButton::setChecked(bool checked) {
    const QSignalBlocker block(button_);
    button_->setChecked(checked);
}

QtAction::QtAction(QAction* action, QMenu* menu) : action_(action), enabled_(action->isEnabled()) {
    if (menu != nullptr) {
        // A menu of the menu bar "is clicked" when it opens. The logic may open a modal
        // window from there, which must not happen inside the popup's own show: it runs
        // right after.
        QObject::connect(menu, &QMenu::aboutToShow, this,
                         [this] { QTimer::singleShot(0, this, relay(onClick_)); });
    } else {
        QObject::connect(action_, &QAction::triggered, this, relay(onClick_));
    }
}

std::string QtAction::caption() const {
    return fromQString(action_->text());
}

void QtAction::setCaption(std::string_view caption) {
    action_->setText(toQString(caption));
}

// ---- multi-line editor

QtMemo::QtMemo(QPlainTextEdit* edit) : QtTextEdit(edit) {
    edit_->viewport()->installEventFilter(this);
    edit_->installEventFilter(this);
}

bool QtMemo::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edit_->viewport() && event->type() == QEvent::MouseButtonRelease && onClick_) {
        onClick_();
    } else if (watched == edit_ && event->type() == QEvent::FocusOut && onExit_) {
        // Opening a menu or a dialog does not leave the editor: the student comes back to the
        // same place, and what the logic holds for the editor (an undo step) must stay.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
            onExit_();
        }
    }
    return false;
}

std::string QtMemo::text() const {
    // Not toPlainText(): it turns byte 0xA0, the level marker of the notation, into a blank.
    QString raw = edit_->document()->toRawText();
    raw.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    raw.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return ui::normalizeLineBreaks(fromQString(raw));
}

void QtMemo::setText(std::string_view text) {
    const QSignalBlocker block(edit_);
    edit_->setPlainText(toQLines(text));
    QTextCursor c = edit_->textCursor();
    c.setPosition(0);
    edit_->setTextCursor(c);
}

std::size_t QtMemo::selStart() const {
    const QTextCursor c = edit_->textCursor();
    return ui::coreOffset(text(), static_cast<std::size_t>(c.selectionStart()));
}

std::size_t QtMemo::selLength() const {
    const QTextCursor c = edit_->textCursor();
    const std::string t = text();
    return ui::coreOffset(t, static_cast<std::size_t>(c.selectionEnd())) -
           ui::coreOffset(t, static_cast<std::size_t>(c.selectionStart()));
}

void QtMemo::setSelection(std::size_t start, std::size_t length) {
    const std::string t = text();
    const std::size_t from = ui::snapOffset(t, start);
    const std::size_t to = ui::snapOffset(t, std::min(from + std::min(length, t.size()), t.size()));
    QTextCursor c = edit_->textCursor();
    c.setPosition(static_cast<int>(ui::displayPosition(t, from)));
    c.setPosition(static_cast<int>(ui::displayPosition(t, std::max(to, from))),
                  QTextCursor::KeepAnchor);
    edit_->setTextCursor(c);
}

void QtMemo::setSelText(std::string_view text) {
    QTextCursor c = edit_->textCursor();
    c.insertText(toQLines(text));
    edit_->setTextCursor(c);
}

// ---- one-line field

QtLine::QtLine(QLineEdit* edit) : QtTextEdit(edit) {
    edit_->installEventFilter(this);
}

bool QtLine::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edit_ && event->type() == QEvent::FocusIn && edit_->isReadOnly()) {
        // Tab into a field selects all of it after the focus has moved, and a screen reader
        // says the text twice: once selected, once with the field. A field that only shows
        // has nothing to select.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason) {
            QFocusEvent plain(QEvent::FocusIn, Qt::OtherFocusReason);
            QCoreApplication::sendEvent(edit_, &plain);
            return true;
        }
    }
    if (watched == edit_ && event->type() == QEvent::MouseButtonRelease && onClick_) {
        onClick_();
    } else if (watched == edit_ && event->type() == QEvent::FocusOut && onExit_) {
        onExit_();
    }
    return false;
}

std::string QtLine::text() const {
    return fromQString(edit_->text());
}

void QtLine::setText(std::string_view text) {
    const QSignalBlocker block(edit_);
    edit_->setText(toQString(text));
    edit_->setCursorPosition(0);
}

std::size_t QtLine::selStart() const {
    return static_cast<std::size_t>(edit_->hasSelectedText() ? edit_->selectionStart()
                                                             : edit_->cursorPosition());
}

std::size_t QtLine::selLength() const {
    return static_cast<std::size_t>(edit_->hasSelectedText() ? edit_->selectionLength() : 0);
}

void QtLine::setSelStart(std::size_t position) {
    edit_->setCursorPosition(
        static_cast<int>(std::min<std::size_t>(position, edit_->text().size())));
}

void QtLine::setSelection(std::size_t start, std::size_t length) {
    const auto size = static_cast<std::size_t>(edit_->text().size());
    start = std::min(start, size);
    length = std::min(length, size - start);
    edit_->setSelection(static_cast<int>(start), static_cast<int>(length));
}

std::string QtLine::selText() const {
    return fromQString(edit_->selectedText());
}

void QtLine::setSelText(std::string_view text) {
    edit_->insert(toQString(text));
}

// ---- list, tabs, image, timer

QtListBox::QtListBox(QListWidget* list) : QtWidget(list), list_(list) {
    QObject::connect(list_, &QListWidget::itemDoubleClicked, this, relay(onDoubleClick_));
}

void QtListBox::clear() {
    const QSignalBlocker block(list_);
    list_->clear();
}

void QtListBox::add(std::string_view item) {
    list_->addItem(toQString(item));
}

std::string QtListBox::item(int index) const {
    const QListWidgetItem* i = list_->item(index);
    return i != nullptr ? fromQString(i->text()) : std::string();
}

void QtListBox::setItemIndex(int index) {
    const QSignalBlocker block(list_);
    list_->setCurrentRow(index >= 0 && index < list_->count() ? index : -1);
}

QtTabBar::QtTabBar(QTabBar* tabs) : QtWidget(tabs), tabs_(tabs) {
    QObject::connect(tabs_, &QTabBar::currentChanged, this, relay(onChange_));
}

void QtTabBar::setTabs(const std::vector<std::string>& captions) {
    const QSignalBlocker block(tabs_);
    while (tabs_->count() > 0) {
        tabs_->removeTab(0);
    }
    for (const std::string& c : captions) {
        tabs_->addTab(toQString(c));
    }
    tabs_->setCurrentIndex(captions.empty() ? -1 : 0);
}

std::string QtTabBar::tabCaption(int index) const {
    return fromQString(tabs_->tabText(index));
}

void QtTabBar::setTabIndex(int index) {
    if (index >= 0 && index < tabs_->count()) {
        const QSignalBlocker block(tabs_);
        tabs_->setCurrentIndex(index);
    }
}

QtImage::QtImage(QLabel* label) : QtImage(label, label) {}

QtImage::QtImage(QLabel* label, QWidget* frame) : QtWidget(frame), label_(label) {
    label_->installEventFilter(this);
}

void QtImage::setBitmap(const ui::Bitmap& bitmap) {
    if (bitmap.empty() ||
        bitmap.pixels.size() < static_cast<std::size_t>(bitmap.width) * bitmap.height) {
        label_->clear();
        return;
    }
    label_->setPixmap(QPixmap::fromImage(toQImage(bitmap)));
}

bool QtImage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == label_ && event->type() == QEvent::MouseButtonRelease && onClick_) {
        onClick_();
    }
    return false;
}

QtTimer::QtTimer(QObject* parent) : timer_(new QTimer(parent)) {
    QObject::connect(timer_, &QTimer::timeout, this, relay(onTimer_));
}

void QtTimer::setEnabled(bool enabled) {
    if (!enabled) {
        timer_->stop();
    } else if (!timer_->isActive()) {
        timer_->start();
    }
}

// ---- menu bar

ui::Control& QtMenuBar::item(int id) {
    if (QtAction* a = find(id)) {
        return *a;
    }
    detached_.push_back(std::make_unique<QAction>());
    auto& slot = items_[id];
    slot = std::make_unique<QtAction>(detached_.back().get());
    return *slot;
}

namespace {

// The keyboard mode of a menu bar (its first menu highlighted and focused, not open; arrows
// move, Down or Enter opens, Esc gives the focus back) is Qt's own where the style asks for
// it, as Windows' does.
class MenuBarKeyboardStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returned) const override {
        if (hint == QStyle::SH_MenuBar_AltKeyNavigation) {
            return 1;
        }
        return QProxyStyle::styleHint(hint, option, widget, returned);
    }
};

void giveKeyboardStyle(QMenuBar* bar) {
    if (bar->style()->styleHint(QStyle::SH_MenuBar_AltKeyNavigation, nullptr, bar) == 0) {
        auto* style = new MenuBarKeyboardStyle;
        style->setParent(bar);
        bar->setStyle(style);
    }
}
}  // namespace

void QtMenuBar::setBar(QMenuBar* bar) {
    bar_ = bar;
    giveKeyboardStyle(bar);
}

namespace {
bool telling = false;
}  // namespace

bool tellingMenuBar() {
    return telling;
}

void focusMenuBarByKeyboard(QMenuBar* bar) {
    if (bar == nullptr || !bar->isVisible()) {
        return;
    }
    giveKeyboardStyle(bar);
    // The bar enters its keyboard mode on Alt released alone: it is told of one, the way the
    // keyboard's own would reach it, through the control that has the focus.
    QWidget* focus = QApplication::focusWidget();
    QWidget* target = focus != nullptr && focus->window() == bar->window() ? focus : bar->window();
    telling = true;
    QKeyEvent alt(QEvent::ShortcutOverride, Qt::Key_Alt, Qt::AltModifier);
    QCoreApplication::sendEvent(target, &alt);
    QKeyEvent pressed(QEvent::KeyPress, Qt::Key_Alt, Qt::AltModifier);
    QCoreApplication::sendEvent(target, &pressed);
    QKeyEvent released(QEvent::KeyRelease, Qt::Key_Alt, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &released);
    telling = false;
}

void QtMenuBar::focusFirstMenu() {
    focusMenuBarByKeyboard(bar_);
}

QtAction* QtMenuBar::find(int id) const {
    const auto i = items_.find(id);
    return i == items_.end() ? nullptr : i->second.get();
}

}  // namespace gui
