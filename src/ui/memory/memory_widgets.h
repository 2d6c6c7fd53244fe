#pragma once

// In-memory widgets: the ui interfaces without a screen. Tests build windows from them, press
// keys, click, fire timers and then look at texts, carets, captions and visibility; the
// program uses them for hidden scratch boxes. They behave like the edit controls the logic was
// written for: CR LF counts two, setting a text puts the caret at 0, Backspace works on the
// key press and Delete on the key down.

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ui/services.h"
#include "ui/widgets.h"

namespace ui::memory {

class MemoryWidgetBase;

// The widgets of one window that can hold the focus; one of them has it at a time.
class FocusScope {
public:
    MemoryWidgetBase* focused() const { return focused_; }
    void setFocused(MemoryWidgetBase* widget);

private:
    MemoryWidgetBase* focused_ = nullptr;
};

// The state every in-memory widget has.
class MemoryWidgetBase {
public:
    explicit MemoryWidgetBase(FocusScope* scope) : scope_(scope) {}
    virtual ~MemoryWidgetBase();
    MemoryWidgetBase(const MemoryWidgetBase&) = delete;
    MemoryWidgetBase& operator=(const MemoryWidgetBase&) = delete;

    Color textColor() const { return textColor_; }
    Color backgroundColor() const { return backgroundColor_; }
    // The name given with setAccessibleName (empty: none of its own) and the description.
    const std::string& ownAccessibleName() const { return accessibleName_; }
    const std::string& accessibleDescription() const { return accessibleDescription_; }

protected:
    friend class FocusScope;
    virtual void focusLost() {}

    FocusScope* scope_;
    bool visible_ = true;
    bool enabled_ = true;
    bool ownFocus_ = false;  // used when there is no scope
    Rect bounds_;
    Color textColor_ = colors::kBlack;
    Color backgroundColor_ = colors::kWhite;
    std::string accessibleName_;
    std::string accessibleDescription_;
};

// Implements the Widget part of an interface.
template <class Interface>
class MemoryWidget : public Interface, public MemoryWidgetBase {
public:
    explicit MemoryWidget(FocusScope* scope = nullptr) : MemoryWidgetBase(scope) {}

    bool visible() const override { return visible_; }
    void setVisible(bool visible) override { visible_ = visible; }
    bool enabled() const override { return enabled_; }
    void setEnabled(bool enabled) override { enabled_ = enabled; }
    Rect bounds() const override { return bounds_; }
    void setBounds(const Rect& bounds) override { bounds_ = bounds; }
    bool focused() const override {
        return scope_ != nullptr ? scope_->focused() == this : ownFocus_;
    }
    void setFocus() override {
        if (scope_ != nullptr) {
            scope_->setFocused(this);
        } else {
            ownFocus_ = true;
        }
    }
    void setTextColor(Color color) override { textColor_ = color; }
    void setBackgroundColor(Color color) override { backgroundColor_ = color; }
    void setAccessibleName(std::string_view name) override { accessibleName_ = name; }
    void setAccessibleDescription(std::string_view description) override {
        accessibleDescription_ = description;
    }
};

class MemoryControl : public MemoryWidget<Control> {
public:
    using MemoryWidget::MemoryWidget;
    explicit MemoryControl(std::string caption, FocusScope* scope = nullptr)
        : MemoryWidget(scope), caption_(std::move(caption)) {}

    std::string caption() const override { return caption_; }
    void setCaption(std::string_view caption) override { caption_ = caption; }
    // What a screen reader says: its own name, else the caption.
    std::string accessibleName() const {
        return accessibleName_.empty() ? caption_ : accessibleName_;
    }
    bool checked() const override { return checked_; }
    void setChecked(bool checked) override { checked_ = checked; }
    void setOnClick(Callback callback) override { onClick_ = std::move(callback); }

    // The user clicks (or opens the menu). Nothing happens when the control is disabled;
    // returns whether the click reached the handler.
    bool click();

private:
    std::string caption_;
    bool checked_ = false;
    Callback onClick_;
};

class MemoryTextBox : public MemoryWidget<TextBox> {
public:
    explicit MemoryTextBox(bool multiLine = true, FocusScope* scope = nullptr,
                           Clipboard* clipboard = nullptr)
        : MemoryWidget(scope), multiLine_(multiLine), clipboard_(clipboard) {}

    bool multiLine() const override { return multiLine_; }
    std::string text() const override { return text_; }
    void setText(std::string_view text) override;
    std::size_t selStart() const override { return std::min(anchor_, caret_); }
    std::size_t selLength() const override {
        return anchor_ > caret_ ? anchor_ - caret_ : caret_ - anchor_;
    }
    void setSelStart(std::size_t position) override;
    void setSelection(std::size_t start, std::size_t length) override;
    void setSelText(std::string_view text) override;
    Font font() const override { return font_; }
    void setFont(const Font& font) override { font_ = font; }
    bool readOnly() const override { return readOnly_; }
    void setReadOnly(bool readOnly) override { readOnly_ = readOnly; }
    void setOnChange(Callback callback) override { onChange_ = std::move(callback); }
    void setOnClick(Callback callback) override { onClick_ = std::move(callback); }
    void setOnExit(Callback callback) override { onExit_ = std::move(callback); }
    void cutToClipboard() override;
    void copyToClipboard() override;
    void pasteFromClipboard() override;

    // Where the caret is (the moving end of the selection).
    std::size_t caret() const { return caret_; }

    // What the user does: a click that puts the caret at `position`; the default action of a
    // key down (Delete, arrows, Home, End) and of a typed character (Backspace, Enter,
    // printable characters). Each raises the callbacks the real box would.
    void click(std::size_t position);
    void keyDownDefault(int key, unsigned shift);
    void typeDefault(char ch);

private:
    void focusLost() override;
    void replaceRange(std::size_t from, std::size_t to, std::string_view with);
    void changed();

    bool multiLine_;
    Clipboard* clipboard_;
    std::string text_;
    std::size_t anchor_ = 0;
    std::size_t caret_ = 0;
    Font font_;
    bool readOnly_ = false;
    Callback onChange_;
    Callback onClick_;
    Callback onExit_;
};

class MemoryListBox : public MemoryWidget<ListBox> {
public:
    using MemoryWidget::MemoryWidget;

    void clear() override;
    void add(std::string_view item) override { items_.emplace_back(item); }
    int count() const override { return static_cast<int>(items_.size()); }
    std::string item(int index) const override;
    int itemIndex() const override { return index_; }
    void setItemIndex(int index) override;
    void setOnDoubleClick(Callback callback) override { onDoubleClick_ = std::move(callback); }

    void doubleClick();

private:
    std::vector<std::string> items_;
    int index_ = -1;
    Callback onDoubleClick_;
};

class MemoryTabBar : public MemoryWidget<TabBar> {
public:
    using MemoryWidget::MemoryWidget;

    void setTabs(const std::vector<std::string>& captions) override;
    int count() const override { return static_cast<int>(captions_.size()); }
    std::string tabCaption(int index) const override;
    int tabIndex() const override { return index_; }
    void setTabIndex(int index) override;
    void setOnChange(Callback callback) override { onChange_ = std::move(callback); }

    // The user chooses the tab.
    void choose(int index);

private:
    std::vector<std::string> captions_;
    int index_ = -1;
    Callback onChange_;
};

class MemoryImageView : public MemoryWidget<ImageView> {
public:
    using MemoryWidget::MemoryWidget;

    void setBitmap(const Bitmap& bitmap) override { bitmap_ = bitmap; }
    void setOnClick(Callback callback) override { onClick_ = std::move(callback); }

    const Bitmap& bitmap() const { return bitmap_; }
    void click();

private:
    Bitmap bitmap_;
    Callback onClick_;
};

class MemoryMathView : public MemoryWidget<MathView> {
public:
    using MemoryWidget::MemoryWidget;

    void setLines(const std::vector<MathLine>& lines, int lineHeight) override {
        lines_ = lines;
        lineHeight_ = lineHeight;
        ++draws_;
    }
    void setOnClick(Callback callback) override { onClick_ = std::move(callback); }
    void setOnScroll(std::function<void(int)> callback) override {
        onScroll_ = std::move(callback);
    }

    const std::vector<MathLine>& lines() const { return lines_; }
    int lineHeight() const { return lineHeight_; }
    int draws() const { return draws_; }
    void click() {
        if (onClick_) {
            onClick_();
        }
    }
    void scroll(int lines) {
        if (onScroll_) {
            onScroll_(lines);
        }
    }

private:
    std::vector<MathLine> lines_;
    int lineHeight_ = 0;
    int draws_ = 0;
    Callback onClick_;
    std::function<void(int)> onScroll_;
};

class MemoryCanvas : public MemoryWidget<Canvas> {
public:
    using MemoryWidget::MemoryWidget;

    void setShapes(std::vector<Shape> shapes, int width, int height) override {
        shapes_ = std::move(shapes);
        width_ = width;
        height_ = height;
    }
    void setOnMouse(std::function<void(const MouseEvent&)> callback) override {
        onMouse_ = std::move(callback);
    }

    const std::vector<Shape>& shapes() const { return shapes_; }
    int contentWidth() const { return width_; }
    int contentHeight() const { return height_; }
    void mouse(MouseEvent::Kind kind, int x, int y, bool left = true) {
        if (onMouse_) {
            onMouse_({kind, x, y, left});
        }
    }

private:
    std::vector<Shape> shapes_;
    int width_ = 0;
    int height_ = 0;
    std::function<void(const MouseEvent&)> onMouse_;
};

class MemoryTimer : public Timer {
public:
    explicit MemoryTimer(int interval = 1000, bool enabled = true)
        : interval_(interval), enabled_(enabled) {}

    int interval() const override { return interval_; }
    void setInterval(int milliseconds) override { interval_ = milliseconds; }
    bool enabled() const override { return enabled_; }
    void setEnabled(bool enabled) override { enabled_ = enabled; }
    void setOnTimer(Callback callback) override { onTimer_ = std::move(callback); }

    // The interval has passed: calls the handler when the timer is enabled.
    bool fire();

private:
    int interval_;
    bool enabled_;
    Callback onTimer_;
};

// A top-level window with its focus scope. It routes simulated keys as the program does: the
// key listener first, then the focused box's default action unless the key was swallowed.
class MemoryWindow : public MemoryWidget<Window> {
public:
    MemoryWindow() : MemoryWidget(&focus_) {}

    FocusScope& focusScope() { return focus_; }

    std::string caption() const override { return caption_; }
    void setCaption(std::string_view caption) override { caption_ = caption; }
    // What a screen reader says: its own name, else the title.
    std::string accessibleName() const {
        return accessibleName_.empty() ? caption_ : accessibleName_;
    }
    bool maximized() const override { return maximized_; }
    void setMaximized(bool maximized) override { maximized_ = maximized; }
    int clientWidth() const override { return bounds_.width; }
    int clientHeight() const override { return bounds_.height; }
    void close() override;
    void announce(std::string_view words) override { announced_.emplace_back(words); }
    // Every notice handed to a screen reader, in order.
    const std::vector<std::string>& announced() const { return announced_; }
    void setKeyListener(KeyListener* listener) override { listener_ = listener; }
    void setOnActivate(Callback callback) override { onActivate_ = std::move(callback); }
    void setOnResize(Callback callback) override { onResize_ = std::move(callback); }
    void setOnCloseQuery(std::function<bool()> callback) override {
        onCloseQuery_ = std::move(callback);
    }

    // What the user and the system do.
    void activate();
    void resize(const Rect& bounds);  // the user or the system gives the window a new size
    bool closed() const { return closed_; }

    // A whole keystroke: key down, key press with `ch` (when not 0), key up. `ch` is the
    // character the key types with these modifiers: 'a' for the A key, 8 for Backspace,
    // 13 for Enter, 0 for keys that type nothing.
    void pressKey(int key, unsigned shift = 0, char ch = 0);
    // Types each character as its key (letters, digits, blanks and signs, CR LF as Enter).
    void type(std::string_view text);
    // The single events, for chords and held keys.
    void keyDown(int key, unsigned shift = 0);
    void keyPress(char ch, bool repeat = false);
    void keyUp(int key, unsigned shift = 0);

private:
    MemoryTextBox* focusedBox() const;

    FocusScope focus_;
    std::string caption_;
    std::vector<std::string> announced_;
    bool maximized_ = false;
    bool closed_ = false;
    KeyListener* listener_ = nullptr;
    Callback onActivate_;
    Callback onResize_;
    std::function<bool()> onCloseQuery_;
};

// Menu items made on first use, captioned after the window's command table by whoever builds
// the window.
class MemoryMenuBar : public MenuBar {
public:
    MemoryControl& item(int id) override;
    void focusFirstMenu() override { ++barFocused_; }
    // How often the focus went to the bar.
    int barFocused() const { return barFocused_; }

private:
    std::map<int, std::unique_ptr<MemoryControl>> items_;
    int barFocused_ = 0;
};

// A modal window whose showing runs a scripted action (what the user does in it).
class ScriptedModal : public ModalWindow {
public:
    void showModal() override;
    void closeModal() override { open_ = false; }

    void setScript(std::function<void()> script) { script_ = std::move(script); }
    int timesShown() const { return timesShown_; }
    bool open() const { return open_; }

private:
    std::function<void()> script_;
    int timesShown_ = 0;
    bool open_ = false;
};

}  // namespace ui::memory
