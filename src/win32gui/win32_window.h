#pragma once

// A top-level Win32 window as a ui::Window: the program's main window or one of its dialogs.
// Caption, geometry, activation, resize and the close query go to the logic's callbacks; the
// controls' notifications (WM_COMMAND, WM_NOTIFY, colours, owner-drawn items) go to their
// adapters, the menu's to the menu bar; every key meant for the window or one of its controls
// reaches the logic's key listener first (message_loop.h).
//
// Its bounds are the area below the caption, menu bar included, in screen coordinates: the
// window's layout logic then sees the same sizes on every system, whatever its frame looks like.
// Every size and place it takes or gives is in the logic's 96-dpi pixels (dpi.h).
//
// Ownership: the window owns its HWND and destroys it with itself; the controls in it go with it.

#include <functional>
#include <memory>
#include <string>

#include "ui/services.h"
#include "ui/widgets.h"
#include "win32gui/native.h"

namespace win32gui {

class Win32MenuBar;

struct WindowOptions {
    int clientWidth = 800;  // the area where the controls lie
    int clientHeight = 600;
    bool dialog = false;  // a fixed-size dialog owned by `owner`, no menu, no status bar
    HWND owner = nullptr;
    bool statusBar = false;  // a status bar along the bottom (not part of the client area)
    int minWidth = 0;        // the smallest bounds the user may give it
    int minHeight = 0;
};

class Win32Window : public ui::Window {
public:
    explicit Win32Window(const WindowOptions& options);
    ~Win32Window() override;
    Win32Window(const Win32Window&) = delete;
    Win32Window& operator=(const Win32Window&) = delete;

    HWND handle() const { return hwnd_; }
    // The window of a top-level HWND of this program; null for any other.
    static Win32Window* from(HWND hwnd);

    // ---- ui::Window
    bool visible() const override;
    void setVisible(bool visible) override;
    bool enabled() const override;
    void setEnabled(bool enabled) override;
    ui::Rect bounds() const override;
    void setBounds(const ui::Rect& bounds) override;
    bool focused() const override;
    void setFocus() override;
    void setTextColor(ui::Color) override {}
    void setBackgroundColor(ui::Color colour) override;
    std::string caption() const override;
    void setCaption(std::string_view caption) override;
    bool maximized() const override;
    void setMaximized(bool maximized) override;
    int clientWidth() const override;
    int clientHeight() const override;
    void close() override;
    void announce(std::string_view words) override;
    void setKeyListener(ui::KeyListener* listener) override { listener_ = listener; }
    void setOnActivate(ui::Callback callback) override { onActivate_ = std::move(callback); }
    void setOnResize(ui::Callback callback) override { onResize_ = std::move(callback); }
    void setOnCloseQuery(std::function<bool()> callback) override {
        onCloseQuery_ = std::move(callback);
    }

    // ---- for the adapters and the message loop
    ui::KeyListener* keyListener() const { return listener_; }
    // What happens once the close query allowed closing: hiding the window unless told
    // otherwise (the main window ends the program, a dialog ends its modal loop).
    void setOnClosed(std::function<void()> callback) { onClosed_ = std::move(callback); }
    void setMenuBar(Win32MenuBar* menu);
    HWND statusBar() const { return statusBar_; }
    // The button Return presses from a control that does not take Return itself (a dialog's
    // "Ok"), drawn as the default button while the focus is on no other push button.
    void setDefaultButton(HWND button);
    HWND defaultButton() const { return defaultButton_; }
    // Esc closes the window (its close query decides): a dialog whose logic leaves Esc to it.
    void setEscapeCloses(bool closes) { escapeCloses_ = closes; }
    bool escapeCloses() const { return escapeCloses_; }
    bool hasMenuBar() const { return menu_ != nullptr; }
    // The control that has the focus in this window (the one that will have it again when the
    // window is activated); null when none has.
    HWND focusedChild() const;
    void focusChild(HWND child);
    // The font the window's controls use unless told otherwise.
    HFONT font() const { return font_; }
    // The mouse moved over the window's own area (not over one of its controls).
    void setOnMouseMove(std::function<void()> callback) { onMouseMove_ = std::move(callback); }
    // A window that arranges its controls itself (a learning window): `callback` runs when
    // the window's size changes (before the logic's resize handler), and once after the event
    // whenever a control was shown, hidden or given another text since (requestLayout).
    void setOnLayout(std::function<void()> callback) { onLayout_ = std::move(callback); }
    void requestLayout();
    // What the window shows needs a client area of at least that size (the logic's pixels): a
    // smaller window grows, as far as the screen's work area lets it (moving back onto it), and
    // the user cannot make it smaller than that any more. True when its size changed.
    bool fitClientArea(int width, int height);
    // The keyboard's focus entered or left one of the window's edit boxes, however it moved:
    // `callback` runs after the event, when the focus has settled.
    void setOnFocusMoved(std::function<void()> callback) { onFocusMoved_ = std::move(callback); }

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT msg, WPARAM wParam, LPARAM lParam);
    void activated();
    LONG frameStyle() const;

    HWND hwnd_ = nullptr;
    HWND statusBar_ = nullptr;
    HWND defaultButton_ = nullptr;
    HWND savedFocus_ = nullptr;
    HFONT font_ = nullptr;
    HBRUSH background_ = nullptr;
    Win32MenuBar* menu_ = nullptr;
    bool dialog_ = false;
    bool escapeCloses_ = false;
    int minWidth_ = 0;
    int minHeight_ = 0;
    SIZE minTrack_{};  // the smallest outer size fitClientArea allows
    bool inCloseQuery_ = false;
    bool inResize_ = false;
    bool maximizeOnShow_ = false;
    bool resizePending_ = false;
    bool activatePending_ = false;
    bool layoutPending_ = false;
    bool focusPending_ = false;
    ui::KeyListener* listener_ = nullptr;
    ui::Callback onActivate_;
    ui::Callback onResize_;
    std::function<bool()> onCloseQuery_;
    std::function<void()> onClosed_;
    std::function<void()> onMouseMove_;
    std::function<void()> onLayout_;
    std::function<void()> onFocusMoved_;
};

// Tells the window of `control` that the control was shown, hidden or given a new text: a
// window that arranges its controls itself arranges them again (Win32Window::setOnLayout).
void controlChanged(HWND control);

// A dialog window shown modally over its owner: the owner takes no input until it closes.
// showModal returns when closeModal (or the window's close box, when the close query allows it)
// ends it; the owner is active again, with the focus where it was.
class Win32Modal : public ui::ModalWindow {
public:
    explicit Win32Modal(Win32Window& window);
    void showModal() override;
    void closeModal() override;
    bool showing() const { return running_; }

private:
    Win32Window& window_;
    bool running_ = false;
    bool done_ = false;
};

// Ends a menu that is open (a modal window or dialog must never open under a menu).
void closeMenus();

// The window that new dialogs belong to: the active window of this program, else `fallback`.
HWND dialogOwner(HWND fallback);

}  // namespace win32gui
