#include "ui/memory/memory_widgets.h"

#include <algorithm>

#include "ui/crlf_offsets.h"

namespace ui::memory {
namespace {

// What the user does to a widget reaches the logic only while the widget is enabled; whether
// it did.
bool callIfEnabled(bool enabled, const Callback& callback) {
    if (enabled && callback) {
        callback();
    }
    return enabled;
}

}  // namespace

void FocusScope::setFocused(MemoryWidgetBase* widget) {
    if (focused_ == widget) {
        return;
    }
    MemoryWidgetBase* previous = focused_;
    focused_ = widget;
    if (previous != nullptr) {
        previous->focusLost();
    }
}

MemoryWidgetBase::~MemoryWidgetBase() {
    if (scope_ != nullptr && scope_->focused() == this) {
        scope_->setFocused(nullptr);
    }
}

bool MemoryControl::click() {
    return callIfEnabled(enabled_, onClick_);
}

// ---- text box

void MemoryTextBox::setText(std::string_view text) {
    text_ = multiLine_ ? normalizeLineBreaks(text) : std::string(text);
    anchor_ = caret_ = 0;
}

void MemoryTextBox::setSelStart(std::size_t position) {
    anchor_ = caret_ = snapOffset(text_, position);
}

void MemoryTextBox::setSelection(std::size_t start, std::size_t length) {
    anchor_ = snapOffset(text_, start);
    const std::size_t end = std::min(anchor_ + std::min(length, text_.size()), text_.size());
    caret_ = snapOffset(text_, end);
    if (caret_ < anchor_) {
        caret_ = anchor_;
    }
}

void MemoryTextBox::replaceRange(std::size_t from, std::size_t to, std::string_view with) {
    const std::string inserted = multiLine_ ? normalizeLineBreaks(with) : std::string(with);
    text_.replace(from, to - from, inserted);
    anchor_ = caret_ = from + inserted.size();
}

void MemoryTextBox::changed() {
    if (onChange_) {
        onChange_();
    }
}

void MemoryTextBox::setSelText(std::string_view text) {
    replaceRange(selStart(), selStart() + selLength(), text);
    changed();
}

void MemoryTextBox::cutToClipboard() {
    if (selLength() == 0 || readOnly_) {
        return;
    }
    copyToClipboard();
    setSelText("");
}

void MemoryTextBox::copyToClipboard() {
    if (clipboard_ != nullptr && selLength() > 0) {
        clipboard_->setText(selText());
    }
}

void MemoryTextBox::pasteFromClipboard() {
    if (clipboard_ != nullptr && !readOnly_) {
        setSelText(clipboard_->text());
    }
}

void MemoryTextBox::click(std::size_t position) {
    setFocus();
    setSelStart(position);
    if (onClick_) {
        onClick_();
    }
}

void MemoryTextBox::focusLost() {
    if (onExit_) {
        onExit_();
    }
}

namespace {

std::size_t lineStartOf(const std::string& text, std::size_t pos) {
    const std::size_t lf = pos == 0 ? std::string::npos : text.rfind('\n', pos - 1);
    return lf == std::string::npos ? 0 : lf + 1;
}

std::size_t lineEndOf(const std::string& text, std::size_t pos) {
    const std::size_t cr = text.find("\r\n", pos);
    return cr == std::string::npos ? text.size() : cr;
}

// One step left or right over the text, a CR LF pair being one step.
std::size_t stepLeft(const std::string& text, std::size_t pos) {
    if (pos == 0) {
        return 0;
    }
    return snapOffset(text, pos - 1);
}

std::size_t stepRight(const std::string& text, std::size_t pos) {
    if (pos >= text.size()) {
        return text.size();
    }
    if (text[pos] == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n') {
        return pos + 2;
    }
    return pos + 1;
}

}  // namespace

void MemoryTextBox::keyDownDefault(int key, unsigned shift) {
    const bool extend = (shift & shift::kShift) != 0;
    std::size_t target = caret_;
    switch (key) {
        case vk::kDelete:
            if (readOnly_) {
                return;
            }
            if (selLength() > 0) {
                setSelText("");
            } else if (caret_ < text_.size()) {
                replaceRange(caret_, stepRight(text_, caret_), "");
                changed();
            }
            return;
        case vk::kLeft:
            target = stepLeft(text_, caret_);
            break;
        case vk::kRight:
            target = stepRight(text_, caret_);
            break;
        case vk::kHome:
            target = lineStartOf(text_, caret_);
            break;
        case vk::kEnd:
            target = lineEndOf(text_, caret_);
            break;
        case vk::kUp:
        case vk::kDown: {
            const std::size_t start = lineStartOf(text_, caret_);
            const std::size_t column = caret_ - start;
            std::size_t lineStart = start;
            if (key == vk::kUp) {
                if (start == 0) {
                    return;
                }
                lineStart = lineStartOf(text_, start - 2);
            } else {
                const std::size_t end = lineEndOf(text_, caret_);
                if (end >= text_.size()) {
                    return;
                }
                lineStart = end + 2;
            }
            target = std::min(lineStart + column, lineEndOf(text_, lineStart));
            break;
        }
        default:
            return;
    }
    caret_ = target;
    if (!extend) {
        anchor_ = caret_;
    }
}

void MemoryTextBox::typeDefault(char ch) {
    if (readOnly_) {
        return;
    }
    const auto code = static_cast<unsigned char>(ch);
    if (code == 8) {
        if (selLength() > 0) {
            setSelText("");
        } else if (caret_ > 0) {
            replaceRange(stepLeft(text_, caret_), caret_, "");
            changed();
        }
    } else if (code == 13) {
        if (multiLine_) {
            setSelText("\r\n");
        }
    } else if (code >= 32) {
        setSelText(std::string(1, ch));
    }
}

// ---- list box, tabs, image, timer

void MemoryListBox::clear() {
    items_.clear();
    index_ = -1;
}

std::string MemoryListBox::item(int index) const {
    if (index < 0 || index >= count()) {
        return {};
    }
    return items_[static_cast<std::size_t>(index)];
}

void MemoryListBox::setItemIndex(int index) {
    index_ = (index >= 0 && index < count()) ? index : -1;
}

void MemoryListBox::doubleClick() {
    if (enabled_ && onDoubleClick_) {
        onDoubleClick_();
    }
}

void MemoryTabBar::setTabs(const std::vector<std::string>& captions) {
    captions_ = captions;
    index_ = captions_.empty() ? -1 : 0;
}

std::string MemoryTabBar::tabCaption(int index) const {
    if (index < 0 || index >= count()) {
        return {};
    }
    return captions_[static_cast<std::size_t>(index)];
}

void MemoryTabBar::setTabIndex(int index) {
    if (index >= 0 && index < count()) {
        index_ = index;
    }
}

void MemoryTabBar::choose(int index) {
    if (!enabled_ || index < 0 || index >= count() || index == index_) {
        return;
    }
    index_ = index;
    if (onChange_) {
        onChange_();
    }
}

void MemoryImageView::click() {
    if (onClick_) {
        onClick_();
    }
}

bool MemoryTimer::fire() {
    return callIfEnabled(enabled_, onTimer_);
}

// ---- window

void MemoryWindow::close() {
    if (closed_) {
        return;
    }
    if (!onCloseQuery_ || onCloseQuery_()) {
        closed_ = true;
    }
}

void MemoryWindow::activate() {
    if (onActivate_) {
        onActivate_();
    }
}

void MemoryWindow::resize(const Rect& bounds) {
    bounds_ = bounds;
    if (onResize_) {
        onResize_();
    }
}

MemoryTextBox* MemoryWindow::focusedBox() const {
    return dynamic_cast<MemoryTextBox*>(focus_.focused());
}

void MemoryWindow::keyDown(int key, unsigned shift) {
    KeyEvent event{key, shift};
    if (listener_ != nullptr) {
        listener_->keyDown(event);
    }
    if (event.key != 0) {
        if (MemoryTextBox* box = focusedBox()) {
            box->keyDownDefault(event.key, event.shift);
        }
    }
}

void MemoryWindow::keyPress(char ch, bool repeat) {
    KeyPress press{ch, repeat};
    if (listener_ != nullptr) {
        listener_->keyPress(press);
    }
    if (press.ch != 0) {
        if (MemoryTextBox* box = focusedBox()) {
            box->typeDefault(press.ch);
        }
    }
}

void MemoryWindow::keyUp(int key, unsigned shift) {
    KeyEvent event{key, shift};
    if (listener_ != nullptr) {
        listener_->keyUp(event);
    }
}

void MemoryWindow::pressKey(int key, unsigned shift, char ch) {
    keyDown(key, shift);
    if (ch != 0) {
        keyPress(ch);
    }
    keyUp(key, shift);
}

namespace {

// The key that types `c` on an Italian keyboard, near enough for tests: letters and digits
// are their own keys, the rest is a key the tables of the workbench do not look at.
int keyForCharacter(char c, unsigned& shift) {
    shift = 0;
    if (c >= 'a' && c <= 'z') {
        return c - 'a' + vk::kA;
    }
    if (c >= 'A' && c <= 'Z') {
        shift = shift::kShift;
        return c;
    }
    if (c >= '0' && c <= '9') {
        return c;
    }
    if (c == ' ') {
        return vk::kSpace;
    }
    return 0xBA;  // an OEM key
}

}  // namespace

void MemoryWindow::type(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
            pressKey(vk::kReturn, 0, '\r');
            continue;
        }
        unsigned shift = 0;
        const int key = keyForCharacter(c, shift);
        if (shift != 0) {
            keyDown(vk::kShift, shift);
        }
        pressKey(key, shift, c);
        if (shift != 0) {
            keyUp(vk::kShift, 0);
        }
    }
}

// ---- menu bar and modal windows

MemoryControl& MemoryMenuBar::item(int id) {
    auto& slot = items_[id];
    if (!slot) {
        slot = std::make_unique<MemoryControl>();
    }
    return *slot;
}

void ScriptedModal::showModal() {
    ++timesShown_;
    open_ = true;
    if (script_) {
        script_();
    }
    open_ = false;
}

}  // namespace ui::memory
