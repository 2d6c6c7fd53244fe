#pragma once

// Adapters from the ui interfaces to Qt widgets. Each adapter wraps a widget it does not own
// (the widget belongs to its Qt parent) and forwards the user's actions to the callbacks the
// window logic set. Programmatic changes never call the logic back: signals are blocked while
// the logic sets a text, a tab or a selection. Every adapter is the context of its own
// connections and event filters, so once an adapter is destroyed nothing reaches the logic
// through it: whoever builds a window destroys the adapters before the logic.

#include <QAbstractButton>
#include <QAction>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTabBar>
#include <QTimer>
#include <map>
#include <memory>

#include "ui/widgets.h"

namespace gui {

QFont toQFont(const ui::Font& font);
ui::Font fromQFont(const QFont& font);
QColor toQColor(ui::Color color);
// A well-formed picture (ui::Bitmap::pixels holds width x height pixels).
QImage toQImage(const ui::Bitmap& bitmap);

// The slot that passes a Qt signal on to the logic's callback, as it is when the signal comes,
// if it set one. The callback belongs to the connection's context.
inline auto relay(const ui::Callback& callback) {
    return [&callback] {
        if (callback) {
            callback();
        }
    };
}

// The Widget part, for any QWidget.
template <class Interface>
class QtWidget : public Interface {
public:
    explicit QtWidget(QWidget* widget) : widget_(widget) {}

    bool visible() const override { return !widget_->isHidden(); }
    void setVisible(bool visible) override { widget_->setVisible(visible); }
    bool enabled() const override { return widget_->isEnabled(); }
    void setEnabled(bool enabled) override { widget_->setEnabled(enabled); }
    ui::Rect bounds() const override {
        const QRect r = widget_->geometry();
        return {r.x(), r.y(), r.width(), r.height()};
    }
    void setBounds(const ui::Rect& b) override {
        widget_->setGeometry(b.left, b.top, b.width, b.height);
    }
    // The focus within its window: the window's keys go to it, whether or not the window is
    // active just now (without a window manager it never is).
    bool focused() const override { return widget_->window()->focusWidget() == widget_; }
    void setFocus() override { widget_->setFocus(Qt::OtherFocusReason); }
    void setTextColor(ui::Color color) override {
        QPalette p = widget_->palette();
        p.setColor(QPalette::WindowText, toQColor(color));
        p.setColor(QPalette::Text, toQColor(color));
        p.setColor(QPalette::ButtonText, toQColor(color));
        widget_->setPalette(p);
    }
    void setBackgroundColor(ui::Color color) override {
        QPalette p = widget_->palette();
        p.setColor(QPalette::Base, toQColor(color));
        p.setColor(QPalette::Window, toQColor(color));
        widget_->setPalette(p);
        widget_->setAutoFillBackground(true);
    }
    // Qt names a widget without a name of its own by its text (a label, a button) or its
    // title (a window).
    void setAccessibleName(std::string_view name) override;
    void setAccessibleDescription(std::string_view description) override;

    QWidget* widget() const { return widget_; }

protected:
    QWidget* widget_;
};

// A name or description given by the logic; Qt tells screen readers that it changed.
void setWidgetAccessibleName(QWidget* widget, std::string_view name);
void setWidgetAccessibleDescription(QWidget* widget, std::string_view description);
// Tells screen readers that the name a widget takes from its text or title has changed.
void noticeNameFromText(QWidget* widget);

template <class Interface>
void QtWidget<Interface>::setAccessibleName(std::string_view name) {
    setWidgetAccessibleName(widget_, name);
}

template <class Interface>
void QtWidget<Interface>::setAccessibleDescription(std::string_view description) {
    setWidgetAccessibleDescription(widget_, description);
}

class QtPlainWidget : public QtWidget<ui::Widget> {
public:
    using QtWidget::QtWidget;
};

// A label: its caption is its text; a click calls the callback.
// What a screen reader should say for a caption: without its mnemonic ampersands ("&&" is
// one ampersand) and the blanks around it.
QString accessibleCaption(const QString& caption);

class QtLabel : public QObject, public QtWidget<ui::Control> {
public:
    explicit QtLabel(QLabel* label);
    std::string caption() const override;
    void setCaption(std::string_view caption) override;
    bool checked() const override { return false; }
    void setChecked(bool) override {}
    void setOnClick(ui::Callback callback) override { onClick_ = std::move(callback); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* label_;
    ui::Callback onClick_;
};

// A push button, radio button or check box.
class QtButton : public QObject, public QtWidget<ui::Control> {
public:
    explicit QtButton(QAbstractButton* button);
    std::string caption() const override;
    void setCaption(std::string_view caption) override;
    bool checked() const override { return button_->isChecked(); }
    void setChecked(bool checked) override;
    void setOnClick(ui::Callback callback) override { onClick_ = std::move(callback); }

private:
    QAbstractButton* button_;
    ui::Callback onClick_;
};

// A menu item, or a menu of the menu bar (its menuAction; opening it is its click).
class QtAction : public QObject, public ui::MenuItem {
public:
    explicit QtAction(QAction* action, QMenu* menu = nullptr);
    bool visible() const override { return action_->isVisible(); }
    void setVisible(bool visible) override { action_->setVisible(visible); }
    // The item's own flag: Qt disables a hidden action, but a hidden item keeps its keys.
    bool enabled() const override { return enabled_; }
    void setEnabled(bool enabled) override {
        enabled_ = enabled;
        action_->setEnabled(enabled);
    }
    std::string caption() const override;
    void setCaption(std::string_view caption) override;
    bool checked() const override { return action_->isChecked(); }
    void setChecked(bool checked) override { action_->setChecked(checked); }
    void setOnClick(ui::Callback callback) override { onClick_ = std::move(callback); }

    QAction* action() const { return action_; }

private:
    QAction* action_;
    bool enabled_ = true;
    ui::Callback onClick_;
};

// What a multi-line and a one-line box share on their Qt editor `Edit`: the font, the
// read-only flag, the callbacks and the clipboard.
template <class Edit>
class QtTextEdit : public QObject, public QtWidget<ui::TextBox> {
public:
    ui::Font font() const override { return fromQFont(edit_->font()); }
    void setFont(const ui::Font& font) override { edit_->setFont(toQFont(font)); }
    bool readOnly() const override { return edit_->isReadOnly(); }
    void setReadOnly(bool readOnly) override { edit_->setReadOnly(readOnly); }
    void setOnChange(ui::Callback callback) override { onChange_ = std::move(callback); }
    void setOnClick(ui::Callback callback) override { onClick_ = std::move(callback); }
    void setOnExit(ui::Callback callback) override { onExit_ = std::move(callback); }
    void cutToClipboard() override { edit_->cut(); }
    void copyToClipboard() override { edit_->copy(); }
    void pasteFromClipboard() override { edit_->paste(); }

protected:
    // Calls onChange whenever the text changes.
    explicit QtTextEdit(Edit* edit) : QtWidget<ui::TextBox>(edit), edit_(edit) {
        QObject::connect(edit_, &Edit::textChanged, this, relay(onChange_));
    }

    Edit* edit_;
    ui::Callback onChange_;
    ui::Callback onClick_;
    ui::Callback onExit_;
};

// A multi-line editor (QPlainTextEdit) with CR LF-counted positions.
class QtMemo : public QtTextEdit<QPlainTextEdit> {
public:
    explicit QtMemo(QPlainTextEdit* edit);
    bool multiLine() const override { return true; }
    std::string text() const override;
    void setText(std::string_view text) override;
    std::size_t selStart() const override;
    std::size_t selLength() const override;
    void setSelection(std::size_t start, std::size_t length) override;
    void setSelText(std::string_view text) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// A one-line field (QLineEdit).
class QtLine : public QtTextEdit<QLineEdit> {
public:
    explicit QtLine(QLineEdit* edit);
    bool multiLine() const override { return false; }
    std::string text() const override;
    void setText(std::string_view text) override;
    std::size_t selStart() const override;
    std::size_t selLength() const override;
    void setSelStart(std::size_t position) override;
    void setSelection(std::size_t start, std::size_t length) override;
    std::string selText() const override;
    void setSelText(std::string_view text) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

class QtListBox : public QObject, public QtWidget<ui::ListBox> {
public:
    explicit QtListBox(QListWidget* list);
    void clear() override;
    void add(std::string_view item) override;
    int count() const override { return list_->count(); }
    std::string item(int index) const override;
    int itemIndex() const override { return list_->currentRow(); }
    void setItemIndex(int index) override;
    void setOnDoubleClick(ui::Callback callback) override { onDoubleClick_ = std::move(callback); }

private:
    QListWidget* list_;
    ui::Callback onDoubleClick_;
};

class QtTabBar : public QObject, public QtWidget<ui::TabBar> {
public:
    explicit QtTabBar(QTabBar* tabs);
    void setTabs(const std::vector<std::string>& captions) override;
    int count() const override { return tabs_->count(); }
    std::string tabCaption(int index) const override;
    int tabIndex() const override { return tabs_->currentIndex(); }
    void setTabIndex(int index) override;
    void setOnChange(ui::Callback callback) override { onChange_ = std::move(callback); }

private:
    QTabBar* tabs_;
    ui::Callback onChange_;
};

class QtImage : public QObject, public QtWidget<ui::ImageView> {
public:
    explicit QtImage(QLabel* label);
    // A picture in a frame (a scroll area) that takes the place, size and visibility.
    QtImage(QLabel* label, QWidget* frame);
    void setBitmap(const ui::Bitmap& bitmap) override;
    void setOnClick(ui::Callback callback) override { onClick_ = std::move(callback); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* label_;
    ui::Callback onClick_;
};

class QtTimer : public QObject, public ui::Timer {
public:
    explicit QtTimer(QObject* parent);
    int interval() const override { return timer_->interval(); }
    void setInterval(int milliseconds) override { timer_->setInterval(milliseconds); }
    bool enabled() const override { return timer_->isActive(); }
    void setEnabled(bool enabled) override;
    void setOnTimer(ui::Callback callback) override { onTimer_ = std::move(callback); }

private:
    QTimer* timer_;
    ui::Callback onTimer_;
};

// Puts the focus on the first menu of `bar` (one built by buildMenus), highlighted, as F10
// and Alt alone do.
void focusMenuBarByKeyboard(QMenuBar* bar);

// Whether the keys being delivered are the ones QtMenuBar tells its bar (they pass every
// window's key handling untouched).
bool tellingMenuBar();

// The menu bar built from a window's command table: one QtAction per entry id.
class QtMenuBar : public ui::MenuBar {
public:
    ui::Control& item(int id) override;
    void focusFirstMenu() override;
    // The bar the items are in; it gets the style that lets it take the focus by keyboard.
    void setBar(QMenuBar* bar);
    void add(int id, std::unique_ptr<QtAction> action) { items_[id] = std::move(action); }
    void clear() {
        items_.clear();
        detached_.clear();
    }
    QtAction* find(int id) const;

private:
    std::map<int, std::unique_ptr<QtAction>> items_;
    std::vector<std::unique_ptr<QAction>> detached_;  // items asked for but not in the menus
    QMenuBar* bar_ = nullptr;
};

}  // namespace gui
