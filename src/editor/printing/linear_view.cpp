#include "editor/printing/linear_view.h"

#include <algorithm>
#include <charconv>

#include "editor/text_lines.h"
#include "notation/mathml_tables.h"
#include "speech/rendering.h"
#include "ui/crlf_offsets.h"
#include "ui/text_trim.h"

namespace editor {

namespace {

template <class T>
bool readNumber(std::string_view& text, char end, T& value) {
    const std::size_t stop = end == '\0' ? text.size() : text.find(end);
    if (stop == std::string_view::npos || stop == 0) {
        return false;
    }
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + stop, value);
    if (ec != std::errc() || ptr != text.data() + stop) {
        return false;
    }
    text.remove_prefix(end == '\0' ? stop : stop + 1);
    return true;
}

// The lines of a page as the view shows them: after a final line break the caret can stand on
// one more, empty line.
std::vector<std::string_view> pageLines(std::string_view text) {
    std::vector<std::string_view> lines = editorLines(text);
    if (text.empty() || text.back() == '\n' || text.back() == '\r') {
        lines.push_back(text.substr(text.size()));
    }
    return lines;
}

}  // namespace

std::string formatPositionRecord(const PositionRecord& r) {
    return std::to_string(r.caretOffset) + "@" + std::to_string(r.caretColumn) + "#" +
           std::to_string(r.caretLine) + "*" + std::to_string(r.counter) + "$" +
           std::to_string(std::clamp(r.scrollStep, -kMaxScrollStep, kMaxScrollStep));
}

std::optional<PositionRecord> parsePositionRecord(std::string_view text) {
    PositionRecord r;
    if (!readNumber(text, '@', r.caretOffset) || !readNumber(text, '#', r.caretColumn) ||
        !readNumber(text, '*', r.caretLine) || !readNumber(text, '$', r.counter) ||
        !readNumber(text, '\0', r.scrollStep) || r.scrollStep < -kMaxScrollStep ||
        r.scrollStep > kMaxScrollStep) {
        return std::nullopt;
    }
    return r;
}

int boxFontSize(const ui::TextBox& box) {
    const ui::Font font = box.font();
    return font.pixelSize > 0 ? font.pixelSize : font.pointSize;
}

int linesThatFit(int height, int boxFontSize) {
    return std::max(1, height / std::max(1, boxFontSize + 9) - 1);
}

int drawingRoomFor(int lines, int boxFontSize) {
    return (lines + 1) * std::max(1, boxFontSize + 9);
}

int firstShownLine(int previousFirst, int caretLine, int scrollStep, int linesFit, int lineCount) {
    int first = scrollStep != 0 ? previousFirst + scrollStep : caretLine - linesFit / 2;
    first = std::max(first, 0);
    const int last = lineCount - 1;
    if (first + linesFit > lineCount) {
        // The last lines centred; a step upwards from there is not put back.
        const int end = std::max(last - linesFit / 2, 0);
        first = scrollStep < 0 ? std::min(first, end) : end;
    }
    if (scrollStep == 0) {
        // Following the caret, its line is always among those shown.
        first = std::clamp(first, caretLine - linesFit + 1, caretLine);
    }
    if (lineCount <= linesFit) {
        first = 0;
    }
    return std::max(first, 0);
}

std::vector<LegendEntry> symbolLegend() {
    std::vector<LegendEntry> legend;
    auto add = [&](std::span<const notation::MathmlSign> table) {
        for (const notation::MathmlSign& sign : table) {
            std::u32string glyph = notation::mathmlCharacters(sign.mathml);
            if (glyph.empty() || std::any_of(legend.begin(), legend.end(),
                                             [&](const auto& e) { return e.glyph == glyph; })) {
                continue;
            }
            std::string name(ui::trimBlanks(speech::render(speech::kModeAll, sign.cells).whole));
            legend.push_back({std::move(glyph), std::string(sign.cells),
                              name.empty() ? std::string(sign.cells) : std::move(name)});
        }
    };
    add(notation::mathmlSymbols());
    add(notation::mathmlExtraSigns());
    return legend;
}

LinearView::LinearView(TForm1& form) : form_(form) {
    const MainWindowWidgets& w = form_.widgets();
    form_.hooks().refreshLinearView = [this] { refresh(); };
    // A page put into the editor (page change, New, Open) is a change of text too.
    form_.addPageListener([this] { refresh(); });
    form_.setCommandHandler(Command::Visualizzazionelineareoff1, [this] { VisualLineareClick(); });
    w.Simb.setOnClick([this] { SimbClick(); });
    w.Image1.setOnClick([this] { Image1Click(); });
    w.Image1.setOnScroll([this](int lines) { Image1Scroll(lines); });
    setCaptions();
}

void LinearView::setCaptions() {
    namespace t = linear_view_text;
    const bool shown = form_.linearViewShown();
    // The caption names what a click does.
    form_.widgets().VisualLineare.setCaption(shown ? t::kButtonOff : t::kButtonOn);
    form_.menuItem(Command::Visualizzazionelineareoff1)
        .setCaption(shown ? t::kMenuOff : t::kMenuOn);
}

bool LinearView::legendShown() const {
    return form_.widgets().Image3.visible();
}

int LinearView::linesFit() const {
    // The legend, when shown, lies under the drawing, not over it.
    const MainWindowWidgets& w = form_.widgets();
    return linesThatFit(w.Image1.bounds().height, boxFontSize(w.Memo2));
}

void LinearView::refresh(int scrollStep) {
    if (!form_.brailleMode() || !form_.linearViewShown()) {
        return;
    }
    const ui::TextBox& memo = form_.widgets().Memo2;
    const std::string text = memo.text();
    const std::size_t caret = ui::snapOffset(text, memo.selStart());
    PositionRecord r;
    r.caretOffset = caret;
    r.caretColumn = caret - lineStartOf(text, caret);
    for (std::size_t i = 0; i < caret; ++i) {
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n'))) {
            ++r.caretLine;
        }
    }
    r.counter = form_.changeCounter();
    r.scrollStep = std::clamp(scrollStep, -kMaxScrollStep, kMaxScrollStep);
    setPositionRecord(formatPositionRecord(r));
}

void LinearView::setPositionRecord(std::string_view record) {
    record_ = record;
    if (const std::optional<PositionRecord> r = parsePositionRecord(record)) {
        redraw(*r);
    }
}

void LinearView::redraw(const PositionRecord& r) {
    const std::string text = form_.widgets().Memo2.text();
    const std::vector<std::string_view> lines = pageLines(text);
    const int count = static_cast<int>(lines.size());
    const int fit = linesFit();
    const int caretLine = static_cast<int>(std::min<std::size_t>(r.caretLine, lines.size() - 1));
    firstLine_ = firstShownLine(firstLine_, caretLine, r.scrollStep, fit, count);

    std::vector<ui::MathLine> shown;
    for (int k = firstLine_; k < std::min(count, firstLine_ + fit); ++k) {
        ui::MathLine line{std::string(lines[static_cast<std::size_t>(k)]), -1};
        if (k == caretLine) {
            line.caret = static_cast<int>(std::min(r.caretColumn, line.cells.size()));
        }
        // When tall lines leave no room for all: the caret's line stays, or after a scroll
        // the first line, so that the view moves the way it was scrolled.
        line.anchor = r.scrollStep != 0 ? k == firstLine_ : k == caretLine;
        shown.push_back(std::move(line));
    }
    form_.widgets().Image1.setLines(shown, boxFontSize(form_.widgets().Memo2) + 14);
}

void LinearView::VisualLineareClick() {
    const MainWindowWidgets& w = form_.widgets();
    const ui::Rect memo = w.Memo2.bounds();
    const ui::Rect strip = form_.stripBounds();
    if (form_.linearViewShown()) {
        // The Braille editor takes the strip's place too.
        form_.setLinearViewShown(false);
        w.Memo2.setBounds({memo.left, memo.top, memo.width, strip.top + strip.height - memo.top});
        w.Image3.setVisible(false);
        form_.placeStrip();
    } else {
        form_.setLinearViewShown(true);
        w.Memo2.setBounds({memo.left, memo.top, memo.width, std::max(0, strip.top - memo.top)});
        refresh();
    }
    setCaptions();
    if (w.Memo2.visible()) {
        w.Memo2.setFocus();
    }
}

void LinearView::SimbClick() {
    const MainWindowWidgets& w = form_.widgets();
    w.Image3.setVisible(!w.Image3.visible() && form_.linearViewShown());
    form_.placeStrip();
    refresh();
    if (w.Memo2.visible()) {
        w.Memo2.setFocus();
    }
}

void LinearView::Image1Click() {
    ui::Widget* tool = learningTool_ ? learningTool_() : nullptr;
    if (tool != nullptr && tool->visible()) {
        tool->setFocus();
    } else if (form_.widgets().Memo2.visible()) {
        form_.widgets().Memo2.setFocus();
    }
}

void LinearView::Image1Scroll(int lines) {
    if (lines != 0) {
        refresh(lines);
    }
}

}  // namespace editor
