#pragma once

// A top-level Qt window as a ui::Window: caption, geometry, activation, resize and the close
// query go to the logic's callbacks, and every key meant for the window or one of its
// controls goes to the logic's key listener first, as key down, key press and key up.

#include <QObject>
#include <QWidget>

#include "ui/services.h"
#include "ui/widgets.h"

namespace gui {

// The NumLock state, as far as key events tell it: the X11 state bit of each key event and
// the keypad keys (digits when NumLock is on, movement keys when it is off).
class QtKeyboard : public ui::Keyboard {
public:
    bool numLockOn() const override { return numLock_; }
    void observe(const class QKeyEvent& event);

private:
    bool numLock_ = false;
};

class QtWindow : public QObject, public ui::Window {
public:
    // `client` is the area where the widgets lie (the central widget of a main window).
    QtWindow(QWidget* window, QWidget* client, QtKeyboard* keyboard = nullptr);
    ~QtWindow() override;

    bool visible() const override { return !window_->isHidden(); }
    void setVisible(bool visible) override { window_->setVisible(visible); }
    bool enabled() const override { return window_->isEnabled(); }
    void setEnabled(bool enabled) override { window_->setEnabled(enabled); }
    ui::Rect bounds() const override;
    void setBounds(const ui::Rect& bounds) override;
    bool focused() const override { return window_->isActiveWindow(); }
    void setFocus() override { window_->activateWindow(); }
    void setTextColor(ui::Color) override {}
    void setBackgroundColor(ui::Color) override {}
    void setAccessibleName(std::string_view name) override;
    void setAccessibleDescription(std::string_view description) override;
    std::string caption() const override;
    void setCaption(std::string_view caption) override;
    bool maximized() const override { return window_->isMaximized(); }
    void setMaximized(bool maximized) override;
    int clientWidth() const override { return client_->width(); }
    int clientHeight() const override { return client_->height(); }
    void close() override { window_->close(); }
    void announce(std::string_view words) override;
    void setKeyListener(ui::KeyListener* listener) override { listener_ = listener; }
    void setOnActivate(ui::Callback callback) override { onActivate_ = std::move(callback); }
    void setOnResize(ui::Callback callback) override { onResize_ = std::move(callback); }
    void setOnCloseQuery(std::function<bool()> callback) override {
        onCloseQuery_ = std::move(callback);
    }

    QWidget* window() const { return window_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool handleKey(QObject* receiver, class QKeyEvent* event);
    // Whether Alt with `key` (a Qt key code) opens a menu of the window's menu bar now.
    bool opensMenu(int key) const;
    // F10 or Alt alone: the focus to the first menu of the window's bar; false without one.
    bool toMenuBar();

    QWidget* window_;
    QWidget* client_;
    QtKeyboard* keyboard_;
    ui::KeyListener* listener_ = nullptr;
    ui::Callback onActivate_;
    ui::Callback onResize_;
    std::function<bool()> onCloseQuery_;
    bool inCloseQuery_ = false;
    bool altAlone_ = false;  // Alt is down and no other key came since
};

}  // namespace gui
