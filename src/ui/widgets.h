#pragma once

// The widgets the window logic is written against. Whoever builds a window (the Qt side in the
// program, the in-memory widgets in tests) creates the widgets and hands them to the window's
// logic class, which keeps references to them; the builder keeps them alive as long as the
// logic lives.
//
// Texts are code page 1252 bytes with CR LF line breaks. Text positions count a line break as
// two characters. Setting a property from the logic never calls the logic back: only what the
// user does (typing, clicking, choosing a tab) raises the change and click callbacks, so the
// logic can set texts without guarding against its own handlers.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/keys.h"

namespace ui {

struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    friend bool operator==(const Rect&, const Rect&) = default;
};

// 0xRRGGBB.
using Color = std::uint32_t;
namespace colors {
constexpr Color kBlack = 0x000000;
constexpr Color kWhite = 0xFFFFFF;
constexpr Color kRed = 0xFF0000;
constexpr Color kBlue = 0x0000FF;
constexpr Color kAqua = 0x00FFFF;
}  // namespace colors

struct Font {
    std::string family;
    int pixelSize = 0;  // one of the two sizes is set; pixels win when both are
    int pointSize = 0;
    bool bold = false;
    bool italic = false;

    friend bool operator==(const Font&, const Font&) = default;
};

// A picture in memory, 0xAARRGGBB pixels row by row.
struct Bitmap {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    bool empty() const { return width <= 0 || height <= 0; }
};

using Callback = std::function<void()>;

// What every widget has.
class Widget {
public:
    virtual ~Widget() = default;

    // The widget's own flag: a widget inside a hidden parent still reports true.
    virtual bool visible() const = 0;
    virtual void setVisible(bool visible) = 0;
    virtual bool enabled() const = 0;
    virtual void setEnabled(bool enabled) = 0;

    // Position in the parent's client area, in pixels.
    virtual Rect bounds() const = 0;
    virtual void setBounds(const Rect& bounds) = 0;

    virtual bool focused() const = 0;
    virtual void setFocus() = 0;

    virtual void setTextColor(Color color) = 0;
    virtual void setBackgroundColor(Color color) = 0;

    // What a screen reader calls the widget, and what it adds when asked for more. Until it is
    // given a name of its own, a control is named by its caption and a window by its title,
    // and the name follows each change of them; an empty name gives that default back. The
    // description is empty until given. A backend without screen readers may ignore both.
    virtual void setAccessibleName(std::string_view /*name*/) {}
    virtual void setAccessibleDescription(std::string_view /*description*/) {}
};

// A label, button, radio button, status text or menu item: a widget with a caption.
// A click (or, for a top-level menu, its opening) calls the click callback.
class Control : public Widget {
public:
    virtual std::string caption() const = 0;
    virtual void setCaption(std::string_view caption) = 0;
    virtual bool checked() const = 0;
    virtual void setChecked(bool checked) = 0;
    virtual void setOnClick(Callback callback) = 0;
};

// A multi-line or one-line edit box. Positions count CR LF as two characters; a position is
// never left between CR and LF. `setText` and `setSelText` keep the text's line breaks as
// CR LF whatever they are given.
class TextBox : public Widget {
public:
    virtual bool multiLine() const = 0;

    virtual std::string text() const = 0;
    virtual void setText(std::string_view text) = 0;

    // The selection runs from selStart for selLength characters; with no selection selStart is
    // the caret. Out-of-range values are clamped to the text.
    virtual std::size_t selStart() const = 0;
    virtual std::size_t selLength() const = 0;
    virtual void setSelStart(std::size_t position) {  // caret there, no selection
        setSelection(position, 0);
    }
    virtual void setSelection(std::size_t start, std::size_t length) = 0;
    virtual std::string selText() const { return text().substr(selStart(), selLength()); }
    // Replaces the selection (or inserts at the caret); the caret ends after the new text.
    // This is an edit like typing: it raises the change callback.
    virtual void setSelText(std::string_view text) = 0;

    virtual Font font() const = 0;
    virtual void setFont(const Font& font) = 0;
    virtual bool readOnly() const = 0;
    virtual void setReadOnly(bool readOnly) = 0;

    // Called after every change of the text by the user, by a paste, or by setSelText.
    virtual void setOnChange(Callback callback) = 0;
    // A mouse click inside the box (after the caret moved).
    virtual void setOnClick(Callback callback) = 0;
    // The box lost the focus.
    virtual void setOnExit(Callback callback) = 0;

    // Clipboard operations of the box on its selection.
    virtual void cutToClipboard() = 0;
    virtual void copyToClipboard() = 0;
    virtual void pasteFromClipboard() = 0;
};

// A list of one-line entries with one selected entry (-1 for none).
class ListBox : public Widget {
public:
    virtual void clear() = 0;
    virtual void add(std::string_view item) = 0;
    virtual int count() const = 0;
    virtual std::string item(int index) const = 0;
    virtual int itemIndex() const = 0;
    virtual void setItemIndex(int index) = 0;
    virtual void setOnDoubleClick(Callback callback) = 0;
};

// A strip of tabs (no pages of its own).
class TabBar : public Widget {
public:
    virtual void setTabs(const std::vector<std::string>& captions) = 0;
    virtual int count() const = 0;
    virtual std::string tabCaption(int index) const = 0;
    virtual int tabIndex() const = 0;
    virtual void setTabIndex(int index) = 0;
    // The user chose another tab (not called for setTabIndex).
    virtual void setOnChange(Callback callback) = 0;
};

// A picture area.
class ImageView : public Widget {
public:
    virtual void setBitmap(const Bitmap& bitmap) = 0;
    virtual void setOnClick(Callback callback) = 0;
};

// One line of Braille cells for a view that draws it as ordinary mathematics. `caret` is the
// caret's column in cells, or -1 on a line without the caret. `anchor` marks the line that stays
// in view when not all the lines fit (when none is marked: the last line with a caret).
struct MathLine {
    std::string cells;
    int caret = -1;
    bool anchor = false;

    friend bool operator==(const MathLine&, const MathLine&) = default;
};

// A view that draws lines of Braille cells as mathematics, one under the other from its top,
// each in a band at least `lineHeight` pixels high and as high as its mathematics needs. Lines
// that do not fit are left out, the farthest from the anchor first; nothing is drawn cut off
// or over another line. A click calls the click callback; turning the mouse wheel over it
// calls the scroll callback with the lines to move (negative: up).
class MathView : public Widget {
public:
    virtual void setLines(const std::vector<MathLine>& lines, int lineHeight) = 0;
    virtual void setOnClick(Callback callback) = 0;
    virtual void setOnScroll(std::function<void(int lines)> callback) = 0;
};

// One shape of a picture that the window logic composes for a Canvas.
struct Shape {
    enum class Kind {
        Fill,     // `rect` filled with `color`
        Picture,  // `picture` drawn scaled into `rect`
        Text,     // `text` in `color`, `pixelSize` high, its baseline starting at rect.left/top
        Invert,   // the colours within `rect` inverted (a selection)
    };
    Kind kind = Kind::Fill;
    Rect rect;
    Color color = colors::kWhite;
    std::shared_ptr<const Bitmap> picture;
    std::string text;
    int pixelSize = 12;
};

struct MouseEvent {
    enum class Kind { Press, Move, Release };
    Kind kind = Kind::Press;
    int x = 0;  // in the canvas's content
    int y = 0;
    bool leftButton = false;  // held down (for Press: the one pressed)
};

// A surface showing shapes over a content `width` x `height` pixels, scrolled when that is
// larger than the widget.
class Canvas : public Widget {
public:
    virtual void setShapes(std::vector<Shape> shapes, int width, int height) = 0;
    virtual void setOnMouse(std::function<void(const MouseEvent&)> callback) = 0;
};

// A timer firing on the window's thread. Enabling a running timer does not restart it.
class Timer {
public:
    virtual ~Timer() = default;
    virtual int interval() const = 0;  // milliseconds
    virtual void setInterval(int milliseconds) = 0;
    virtual bool enabled() const = 0;
    virtual void setEnabled(bool enabled) = 0;
    virtual void setOnTimer(Callback callback) = 0;
};

// A top-level window. bounds() is the window's place on the screen.
class Window : public Widget {
public:
    virtual std::string caption() const = 0;
    virtual void setCaption(std::string_view caption) = 0;
    virtual bool maximized() const = 0;
    virtual void setMaximized(bool maximized) = 0;
    // The inner area where the widgets lie.
    virtual int clientWidth() const = 0;
    virtual int clientHeight() const = 0;

    // Asks the window to close: the close query decides.
    virtual void close() = 0;

    // Hands `words` to a screen reader as a notice it says by itself, the focus staying where
    // it is: why a key did nothing, a tutor's verdict. Without a screen reader nothing happens.
    virtual void announce(std::string_view /*words*/) {}

    // The logic's handlers. The close query returns whether the window may close.
    virtual void setKeyListener(KeyListener* listener) = 0;
    virtual void setOnActivate(Callback callback) = 0;
    virtual void setOnResize(Callback callback) = 0;
    virtual void setOnCloseQuery(std::function<bool()> callback) = 0;
};

// A window shown modally by another window's logic: showModal returns when it is closed.
class ModalWindow {
public:
    virtual ~ModalWindow() = default;
    virtual void showModal() = 0;
    virtual void closeModal() = 0;
};

// The menu items of a window by their numbers in the window's command table. A top-level menu
// is a control too: its click callback runs when the menu opens.
// A menu item as a toolkit holds it: a control with no place of its own on the window, which
// takes neither the focus nor colours.
class MenuItem : public Control {
public:
    Rect bounds() const override { return {}; }
    void setBounds(const Rect&) override {}
    bool focused() const override { return false; }
    void setFocus() override {}
    void setTextColor(Color) override {}
    void setBackgroundColor(Color) override {}
};

class MenuBar {
public:
    virtual ~MenuBar() = default;
    virtual Control& item(int id) = 0;
    // Puts the keyboard's focus on the bar's first menu, highlighted and not yet open, as F10
    // and Alt alone do in Windows programs; Esc gives the focus back to where it was.
    virtual void focusFirstMenu() {}
};

}  // namespace ui
