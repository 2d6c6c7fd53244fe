#include "gui/qt_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTimer>

#include "gui/key_mapping.h"
#include "gui/qt_services.h"
#include "gui/qt_widgets.h"
#include "gui/screen_reader.h"
#include "gui/text_bridge.h"
#include "ui/access_keys.h"

namespace gui {

void QtKeyboard::observe(const QKeyEvent& event) {
    if (QGuiApplication::platformName() == QStringLiteral("xcb")) {
        constexpr quint32 kMod2 = 0x10;  // the NumLock modifier of X11
        numLock_ = (event.nativeModifiers() & kMod2) != 0;
        return;
    }
    if (!event.modifiers().testFlag(Qt::KeypadModifier)) {
        return;
    }
    const int key = event.key();
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        numLock_ = true;
    } else if (key == Qt::Key_Home || key == Qt::Key_End || key == Qt::Key_Left ||
               key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down ||
               key == Qt::Key_PageUp || key == Qt::Key_PageDown || key == Qt::Key_Insert ||
               key == Qt::Key_Clear) {
        numLock_ = false;
    } else if (key == Qt::Key_NumLock && event.type() == QEvent::KeyPress) {
        numLock_ = !numLock_;
    }
}

QtWindow::QtWindow(QWidget* window, QWidget* client, QtKeyboard* keyboard)
    : window_(window), client_(client != nullptr ? client : window), keyboard_(keyboard) {
    installScreenReaderSupport();
    window_->installEventFilter(this);
    qApp->installEventFilter(this);
    trackFocus();
}

QtWindow::~QtWindow() {
    if (qApp != nullptr) {
        qApp->removeEventFilter(this);
    }
}

ui::Rect QtWindow::bounds() const {
    const QRect r = window_->geometry();
    return {r.x(), r.y(), r.width(), r.height()};
}

void QtWindow::setBounds(const ui::Rect& b) {
    window_->setGeometry(b.left, b.top, b.width, b.height);
}

std::string QtWindow::caption() const {
    return fromQString(window_->windowTitle());
}

void QtWindow::setCaption(std::string_view caption) {
    window_->setWindowTitle(toQString(caption));
    // Unless named otherwise, the window is heard by the title it shows.
    noticeNameFromText(window_);
}

void QtWindow::announce(std::string_view words) {
    showScreenReaderNotice(window_, toQString(words));
}

void QtWindow::setAccessibleName(std::string_view name) {
    setWidgetAccessibleName(window_, name);
}

void QtWindow::setAccessibleDescription(std::string_view description) {
    setWidgetAccessibleDescription(window_, description);
}

void QtWindow::setMaximized(bool maximized) {
    window_->setWindowState(maximized ? (window_->windowState() | Qt::WindowMaximized)
                                      : (window_->windowState() & ~Qt::WindowMaximized));
}

bool QtWindow::toMenuBar() {
    auto* bar = window_->findChild<QMenuBar*>();
    if (bar == nullptr || !bar->isVisible()) {
        return false;
    }
    focusMenuBarByKeyboard(bar);
    return true;
}

bool QtWindow::opensMenu(int key) const {
    const auto* bar = window_->findChild<QMenuBar*>();
    if (bar == nullptr) {
        return false;
    }
    for (const QAction* menu : bar->actions()) {
        const QString text = menu->text();
        const qsizetype amp = text.indexOf(QLatin1Char('&'));
        if (amp >= 0 && amp + 1 < text.size() && text[amp + 1] != QLatin1Char('&') &&
            menu->isVisible() && menu->isEnabled() && text[amp + 1].toUpper().unicode() == key) {
            return true;
        }
    }
    return false;
}

bool QtWindow::handleKey(QObject* receiver, QKeyEvent* event) {
    if (tellingMenuBar()) {
        return false;
    }
    // Only the first delivery, to the window's focus widget (or the window itself). The
    // window's own focus widget, not the application's: without a window manager (a virtual
    // display) the window gets the keys without ever being activated.
    auto* target = qobject_cast<QWidget*>(receiver);
    if (target == nullptr || target->window() != window_) {
        return false;
    }
    QWidget* focus = window_->focusWidget();
    if (target != (focus != nullptr ? focus : window_)) {
        return false;
    }
    // The menu bar taken by keyboard (F10, Alt alone) has its own keys.
    if (qobject_cast<QMenuBar*>(focus) != nullptr) {
        return false;
    }
    if (keyboard_ != nullptr) {
        keyboard_->observe(*event);
    }
    if (listener_ == nullptr) {
        return false;
    }
    if (event->type() == QEvent::ShortcutOverride) {
        // The logic handles the menu shortcuts itself, from the key down: Qt's own shortcut
        // handling is kept only for Alt+letter of a menu that can open, which Qt opens by its
        // access key. Any other Alt+letter goes to the logic, which says why nothing opens.
        const unsigned shift = shiftState(event->modifiers());
        if (shift == ui::shift::kAlt && opensMenu(event->key())) {
            return false;
        }
        event->accept();
        return true;
    }
    // F10 and Alt alone that the window's logic leaves alone go to its menu bar.
    const bool noModifier = (event->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier |
                                                   Qt::AltModifier | Qt::MetaModifier)) == 0;
    if (event->type() == QEvent::KeyRelease) {
        const bool altAlone = altAlone_ && event->key() == Qt::Key_Alt;
        altAlone_ = false;
        ui::KeyEvent up = keyEventOf(*event);
        listener_->keyUp(up);
        if (up.key == 0) {
            return true;
        }
        return altAlone && toMenuBar();
    }
    altAlone_ =
        event->key() == Qt::Key_Alt &&
        (altAlone_ || (event->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier)) == 0);
    ui::KeyEvent down = keyEventOf(*event);
    listener_->keyDown(down);
    if (down.key == 0) {
        return true;
    }
    if (event->key() == Qt::Key_F10 && noModifier && toMenuBar()) {
        return true;
    }
    if (ui::altLetter(down) != 0) {
        // Alt with a letter that opens no menu never types: the platform beeps.
        QApplication::beep();
        return true;
    }
    const char typed = typedCharacter(*event);
    if (typed == 0) {
        return false;
    }
    ui::KeyPress press{typed, event->isAutoRepeat()};
    listener_->keyPress(press);
    if (press.ch == 0) {
        return true;
    }
    if (press.ch != typed) {
        // The logic typed another character instead.
        const QString replacement(QChar(cp1252ToUnicode(static_cast<unsigned char>(press.ch))));
        if (auto* memo = qobject_cast<QPlainTextEdit*>(focus)) {
            memo->insertPlainText(replacement);
            return true;
        }
        if (auto* line = qobject_cast<QLineEdit*>(focus)) {
            line->insert(replacement);
            return true;
        }
    }
    return false;
}

bool QtWindow::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
            return handleKey(watched, static_cast<QKeyEvent*>(event));
        default:
            break;
    }
    if (watched != window_) {
        return false;
    }
    switch (event->type()) {
        case QEvent::Show:
        case QEvent::WindowActivate:
            // Showing counts as activation too: without a window manager (a virtual display,
            // the offscreen platform) a window is never activated. The logic runs its
            // activation work once; it runs after the event, since it may open dialogs.
            QTimer::singleShot(0, this, relay(onActivate_));
            break;
        case QEvent::Resize:
            if (onResize_) {
                onResize_();
            }
            break;
        case QEvent::Close:
            if (onCloseQuery_ && !inCloseQuery_) {
                inCloseQuery_ = true;
                const bool allowed = onCloseQuery_();
                inCloseQuery_ = false;
                if (!allowed) {
                    event->ignore();
                    return true;
                }
            }
            break;
        default:
            break;
    }
    return false;
}

}  // namespace gui
