#include "editor/window/braille_display_mirror.h"

#include <algorithm>
#include <string>

#include "editor/text_lines.h"
#include "notation/braille_cells.h"
#include "ui/crlf_offsets.h"

namespace editor {
namespace {

constexpr ui::BrailleDots kCaretDots = 0x40 | 0x80;  // dots 7 and 8
constexpr ui::BrailleDots kNotACell = 0x80;          // dot 8

}  // namespace

ui::BrailleDots displayDots(char c) {
    if (c >= 'A' && c <= 'Z') {
        c = static_cast<char>(c - 'A' + 'a');
    }
    const int dots = notation::dotsOfCell(c);
    return dots < 0 ? kNotACell : static_cast<ui::BrailleDots>(dots);
}

std::size_t displayWindowStart(std::size_t start, std::size_t caretColumn, std::size_t width) {
    if (caretColumn >= start && caretColumn < start + width) {
        return start;
    }
    return caretColumn / width * width;
}

std::vector<ui::BrailleDots> displayRow(std::string_view line, std::size_t start, std::size_t width,
                                        std::size_t caretColumn) {
    std::vector<ui::BrailleDots> cells;
    for (std::size_t column = start; column < start + width && column <= line.size(); ++column) {
        ui::BrailleDots dots = column < line.size() ? displayDots(line[column]) : 0;
        if (column == caretColumn) {
            dots |= kCaretDots;
        } else if (column == line.size()) {
            break;  // nothing past the end but the caret
        }
        cells.push_back(dots);
    }
    return cells;
}

BrailleDisplayMirror::BrailleDisplayMirror(TForm1& form, ui::BrailleDisplay& display)
    : form_(form), display_(display) {
    display_.setOnKey([this](ui::DisplayKey key) { onKey(key); });
    form_.addKeyHandler(*this);
    form_.addEditorListener([this](Editor editor, EditorEvent event) {
        // While the focus goes, the toolkit may still name the editor as the focused widget.
        if (editor == Editor::Braille && event == EditorEvent::Left) {
            release();
        } else {
            refresh();
        }
    });
    form_.addPageListener([this] { refresh(); });
}

bool BrailleDisplayMirror::wanted() const {
    return form_.settings().brailleDisplay && form_.brailleMode() &&
           form_.widgets().Memo2.visible() && form_.widgets().Memo2.focused();
}

BrailleDisplayMirror::CaretLine BrailleDisplayMirror::caretLine(std::string_view text) const {
    CaretLine c;
    const std::size_t caret = ui::snapOffset(text, form_.widgets().Memo2.selStart());
    c.lineStart = lineStartOf(text, caret);
    std::size_t end = text.find_first_of("\r\n", c.lineStart);
    if (end == std::string_view::npos) {
        end = text.size();
    }
    c.line = text.substr(c.lineStart, end - c.lineStart);
    c.column = caret - c.lineStart;
    return c;
}

void BrailleDisplayMirror::release() {
    if (held_) {
        display_.release();
        held_ = false;
    }
}

void BrailleDisplayMirror::refresh() {
    if (!wanted()) {
        release();
        return;
    }
    const int width = display_.acquire();
    if (width <= 0) {
        held_ = false;
        return;
    }
    held_ = true;
    width_ = static_cast<std::size_t>(width);
    const std::string text = form_.widgets().Memo2.text();
    const CaretLine c = caretLine(text);
    const std::size_t caret = c.lineStart + c.column;
    if (!panned_ || caret != pannedAtCaret_) {
        panned_ = false;
        start_ = displayWindowStart(start_, c.column, width_);
    }
    display_.show(displayRow(c.line, start_, width_, c.column));
}

void BrailleDisplayMirror::keyUp(ui::KeyEvent&) {
    refresh();
}

void BrailleDisplayMirror::onKey(ui::DisplayKey key) {
    if (!held_ || !wanted()) {
        return;
    }
    ui::TextBox& memo = form_.widgets().Memo2;
    const std::string text = memo.text();
    const CaretLine c = caretLine(text);
    switch (key.kind) {
        case ui::DisplayKey::Route: {
            if (key.cell < 0) {
                return;
            }
            const std::size_t column =
                std::min(start_ + static_cast<std::size_t>(key.cell), c.line.size());
            memo.setSelStart(c.lineStart + column);
            panned_ = false;
            form_.notifyEditor(Editor::Braille, EditorEvent::Clicked);
            break;
        }
        case ui::DisplayKey::PanRight:
            if (start_ + width_ <= c.line.size()) {
                start_ += width_;
                panned_ = true;
                pannedAtCaret_ = c.lineStart + c.column;
            }
            break;
        case ui::DisplayKey::PanLeft:
            if (start_ > 0) {
                start_ -= std::min(start_, width_);
                panned_ = true;
                pannedAtCaret_ = c.lineStart + c.column;
            }
            break;
    }
    refresh();
}

}  // namespace editor
