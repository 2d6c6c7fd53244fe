#include "gui/screen_reader.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <algorithm>

namespace gui {
namespace {

const QString kNoticeName = QStringLiteral("AvvisoLettoreSchermo");
constexpr int kNoticeShownMs = 5000;

// ---- the multi-line boxes

class PlainTextAccessible : public QAccessibleWidget,
                            public QAccessibleTextInterface,
                            public QAccessibleEditableTextInterface {
public:
    explicit PlainTextAccessible(QPlainTextEdit* edit)
        : QAccessibleWidget(edit, QAccessible::EditableText) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) {
            return static_cast<QAccessibleTextInterface*>(this);
        }
        if (type == QAccessible::EditableTextInterface && !edit()->isReadOnly()) {
            return static_cast<QAccessibleEditableTextInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Value ? edit()->toPlainText() : QAccessibleWidget::text(t);
    }
    void setText(QAccessible::Text t, const QString& text) override {
        if (t != QAccessible::Value) {
            QAccessibleWidget::setText(t, text);
        } else if (!edit()->isReadOnly()) {
            edit()->setPlainText(text);
        }
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.multiLine = true;
        s.selectableText = true;
        s.readOnly = edit()->isReadOnly();
        s.editable = !edit()->isReadOnly();
        return s;
    }

    // selection and caret. A box without the focus tells no selection: what the program
    // selects in a box the student is not in (the part of a tutor's expression it marks, the
    // editor just left on Ctrl+B) is no change of his to announce; he hears it when he gets
    // there.
    void selection(int index, int* start, int* end) const override {
        const QTextCursor c = edit()->textCursor();
        *start = *end = 0;
        if (index == 0 && c.hasSelection() && edit()->hasFocus()) {
            *start = c.selectionStart();
            *end = c.selectionEnd();
        }
    }
    int selectionCount() const override {
        return edit()->textCursor().hasSelection() && edit()->hasFocus() ? 1 : 0;
    }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int index) override {
        if (index == 0) {
            QTextCursor c = edit()->textCursor();
            c.clearSelection();
            edit()->setTextCursor(c);
        }
    }
    void setSelection(int index, int start, int end) override {
        if (index != 0) {
            return;
        }
        QTextCursor c = edit()->textCursor();
        c.setPosition(clamp(start));
        c.setPosition(clamp(end), QTextCursor::KeepAnchor);
        edit()->setTextCursor(c);
    }
    int cursorPosition() const override { return edit()->textCursor().position(); }
    void setCursorPosition(int position) override {
        QTextCursor c = edit()->textCursor();
        c.setPosition(clamp(position));
        edit()->setTextCursor(c);
    }

    // text
    QString text(int start, int end) const override {
        const QString all = edit()->toPlainText();
        start = std::clamp(start, 0, static_cast<int>(all.size()));
        end = end < 0 ? static_cast<int>(all.size())
                      : std::clamp(end, start, static_cast<int>(all.size()));
        return all.mid(start, end - start);
    }
    int characterCount() const override { return static_cast<int>(edit()->toPlainText().size()); }

    // A line is a paragraph: the boxes never wrap. It runs to the start of the next line,
    // its line break included, as screen readers expect.
    QString textAtOffset(int offset, QAccessible::TextBoundaryType type, int* start,
                         int* end) const override {
        if (type != QAccessible::LineBoundary && type != QAccessible::ParagraphBoundary) {
            return QAccessibleTextInterface::textAtOffset(offset, type, start, end);
        }
        return lineAt(blockAt(offset), start, end);
    }
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType type, int* start,
                             int* end) const override {
        if (type != QAccessible::LineBoundary && type != QAccessible::ParagraphBoundary) {
            return QAccessibleTextInterface::textBeforeOffset(offset, type, start, end);
        }
        return lineAt(blockAt(offset).previous(), start, end);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType type, int* start,
                            int* end) const override {
        if (type != QAccessible::LineBoundary && type != QAccessible::ParagraphBoundary) {
            return QAccessibleTextInterface::textAfterOffset(offset, type, start, end);
        }
        return lineAt(blockAt(offset).next(), start, end);
    }

    // Where a character shows: its line's own height, from the caret's place before and
    // after it.
    QRect characterRect(int offset) const override {
        if (offset < 0 || offset >= characterCount()) {
            return {};
        }
        QTextCursor c(edit()->document());
        c.setPosition(offset);
        const QRect before = edit()->cursorRect(c);
        c.setPosition(offset + 1);
        const QRect after = edit()->cursorRect(c);
        const int width = after.top() == before.top() && after.left() > before.left()
                              ? after.left() - before.left()
                              : edit()->fontMetrics().horizontalAdvance(QLatin1Char(' '));
        const QRect local(before.left(), before.top(), width, before.height());
        return QRect(edit()->viewport()->mapToGlobal(local.topLeft()), local.size());
    }
    int offsetAtPoint(const QPoint& point) const override {
        const QPoint local = edit()->viewport()->mapFromGlobal(point);
        if (!edit()->viewport()->rect().contains(local)) {
            return -1;
        }
        return edit()->cursorForPosition(local).position();
    }
    void scrollToSubstring(int start, int /*end*/) override {
        // The caret stays where the student left it; only the view moves.
        QTextCursor c(edit()->document());
        c.setPosition(clamp(start));
        const QRect r = edit()->cursorRect(c);
        if (!edit()->viewport()->rect().contains(r)) {
            const QTextCursor kept = edit()->textCursor();
            edit()->setTextCursor(c);
            edit()->ensureCursorVisible();
            edit()->setTextCursor(kept);
        }
    }
    QString attributes(int offset, int* start, int* end) const override {
        const QTextBlock block = blockAt(offset);
        *start = block.position();
        *end = block.position() + block.length() - 1;
        return {};
    }

    // editing
    void deleteText(int start, int end) override { replaceText(start, end, {}); }
    void insertText(int offset, const QString& text) override { replaceText(offset, offset, text); }
    void replaceText(int start, int end, const QString& text) override {
        QTextCursor c(edit()->document());
        c.setPosition(clamp(start));
        c.setPosition(clamp(end), QTextCursor::KeepAnchor);
        c.insertText(text);
    }

private:
    QPlainTextEdit* edit() const { return static_cast<QPlainTextEdit*>(widget()); }
    int clamp(int offset) const { return std::clamp(offset, 0, characterCount()); }
    QTextBlock blockAt(int offset) const {
        QTextDocument* doc = edit()->document();
        QTextBlock block = doc->findBlock(clamp(offset));
        return block.isValid() ? block : doc->lastBlock();
    }
    QString lineAt(const QTextBlock& block, int* start, int* end) const {
        if (!block.isValid()) {
            *start = *end = -1;
            return {};
        }
        *start = block.position();
        // The last line has no line break after it.
        *end = std::min(block.position() + block.length(), characterCount());
        return text(*start, *end);
    }
};

// ---- menu items

// Qt's menu item told Orca "Ctrl+N" alone, which Orca reads as a key path and does not say.
class MenuItemAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    MenuItemAccessible(QMenu* menu, QAction* action) : menu_(menu), action_(action) {}

    bool isValid() const override { return !menu_.isNull() && !action_.isNull(); }
    QObject* object() const override { return action_; }
    QWindow* window() const override { return menu_ ? menu_->windowHandle() : nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(menu_.data());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override {
        if (!isValid()) {
            return {};
        }
        switch (t) {
            case QAccessible::Name: {
                QString name = action_->text();
                name.remove(QRegularExpression(QStringLiteral("&(?!&)")));
                return name.replace(QStringLiteral("&&"), QStringLiteral("&"));
            }
            case QAccessible::Accelerator:
                return action_->shortcut().toString(QKeySequence::NativeText);
            default:
                return {};
        }
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!isValid() || !menu_->isVisible()) {
            return {};
        }
        const QRect r = menu_->actionGeometry(action_);
        return QRect(menu_->mapToGlobal(r.topLeft()), r.size());
    }
    QAccessible::Role role() const override {
        if (isValid() && action_->isCheckable()) {
            return action_->actionGroup() != nullptr && action_->actionGroup()->isExclusive()
                       ? QAccessible::RadioButton
                       : QAccessible::CheckBox;
        }
        return QAccessible::MenuItem;
    }
    QAccessible::State state() const override {
        QAccessible::State s;
        if (!isValid()) {
            s.invalid = true;
            return s;
        }
        s.invisible = !menu_->isVisible() || !action_->isVisible();
        s.disabled = !action_->isEnabled();
        s.focusable = true;
        s.focused = s.hotTracked = menu_->activeAction() == action_;
        s.checkable = action_->isCheckable();
        s.checked = action_->isChecked();
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override {
        if (isValid() && name == pressAction() && action_->isEnabled()) {
            action_->trigger();
            menu_->close();
        }
    }
    QStringList keyBindingsForAction(const QString& name) const override {
        if (!isValid() || name != pressAction()) {
            return {};
        }
        const QString binding =
            menuItemKeyBinding(action_->shortcut().toString(QKeySequence::PortableText));
        return binding.isEmpty() ? QStringList() : QStringList{binding};
    }

private:
    QPointer<QMenu> menu_;
    QPointer<QAction> action_;
};

QMenu* menuOf(QAction* action) {
    for (QObject* o : action->associatedObjects()) {
        if (auto* menu = qobject_cast<QMenu*>(o)) {
            return menu;
        }
    }
    return nullptr;
}

QAccessibleInterface* accessibleFactory(const QString& className, QObject* object) {
    if (object == nullptr) {
        return nullptr;
    }
    if (className == QLatin1String("QPlainTextEdit")) {
        return new PlainTextAccessible(static_cast<QPlainTextEdit*>(object));
    }
    if (className == QLatin1String("QWidget") && object->objectName() == kNoticeName) {
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Notification);
    }
    if (className == QLatin1String("QAction")) {
        auto* action = static_cast<QAction*>(object);
        if (action->menu() == nullptr && !action->shortcut().isEmpty()) {
            if (QMenu* menu = menuOf(action)) {
                return new MenuItemAccessible(menu, action);
            }
        }
    }
    return nullptr;
}

}  // namespace

void installScreenReaderSupport() {
    static bool installed = false;
    if (!installed) {
        installed = true;
        QAccessible::installFactory(accessibleFactory);
    }
}

void showScreenReaderNotice(QWidget* window, const QString& words) {
    auto* notice = window->findChild<QWidget*>(kNoticeName, Qt::FindDirectChildrenOnly);
    if (notice == nullptr) {
        notice = new QWidget(window);
        notice->setObjectName(kNoticeName);
        notice->setFocusPolicy(Qt::NoFocus);
        notice->setAttribute(Qt::WA_TransparentForMouseEvents);
        notice->setGeometry(0, 0, 1, 1);
        auto* timer = new QTimer(notice);
        timer->setObjectName(QStringLiteral("hide"));
        timer->setSingleShot(true);
        QObject::connect(timer, &QTimer::timeout, notice, &QWidget::hide);
    }
    // A notice that shows again is heard again, even with the same words.
    notice->hide();
    notice->setAccessibleName(words);
    notice->show();
    notice->lower();
    notice->findChild<QTimer*>(QStringLiteral("hide"))->start(kNoticeShownMs);
}

QString menuItemKeyBinding(const QString& portableShortcut) {
    if (portableShortcut.isEmpty()) {
        return {};
    }
    QStringList parts = portableShortcut.split(QLatin1Char('+'));
    QString key = parts.takeLast();
    if (key.isEmpty()) {
        return {};
    }
    QString accelerator;
    for (const QString& modifier : parts) {
        if (modifier == QLatin1String("Ctrl")) {
            accelerator += QStringLiteral("<Control>");
        } else if (modifier == QLatin1String("Shift")) {
            accelerator += QStringLiteral("<Shift>");
        } else if (modifier == QLatin1String("Alt")) {
            accelerator += QStringLiteral("<Alt>");
        } else if (modifier == QLatin1String("Meta")) {
            accelerator += QStringLiteral("<Super>");
        }
    }
    if (key.size() == 1) {
        key = key.toLower();
    }
    return QStringLiteral(";;") + accelerator + key;
}

}  // namespace gui
