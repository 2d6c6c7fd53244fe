#pragma once

// The linear view: the strip under the Braille editor (`Image1`) that shows the lines around
// the caret as ordinary mathematics for a sighted teacher, with the caret marked, and the
// legend of the symbols (`Image3`) under it. This class is the view's logic: which lines are
// shown, where the caret is, the "Visual. lineare off"/"on" toggle (button and menu item), the
// "Simb." legend. The drawing itself is the MathView's, which lays each line out and gives the
// lines their bands with notation/linear_layout.h; the window places the strip
// (TForm1::placeStrip).
//
// The main window hands the caret over as a position record, the text the view's hidden input
// field held: caret offset "@" caret column "#" caret line "*" change counter "$" scroll step.
// Every new record redraws the view.
//
// Ownership: keeps a reference to the window, which outlives it (the Workbench owns both).

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/window/main_window.h"

namespace editor {

namespace linear_view_text {
inline constexpr std::string_view kButtonOff = "Visual. lineare off";
inline constexpr std::string_view kButtonOn = "Visual. lineare on";
inline constexpr std::string_view kMenuOff = "Visualizzazione lineare off";
inline constexpr std::string_view kMenuOn = "Visualizzazione lineare on";
}  // namespace linear_view_text

struct PositionRecord {
    std::size_t caretOffset = 0;  // characters before the caret, a line break counting two
    std::size_t caretColumn = 0;  // characters between the start of its line and the caret
    std::size_t caretLine = 0;    // line breaks before the caret
    int counter = 0;              // the main window's change counter
    int scrollStep = 0;           // lines the first shown line moves by; 0: follow the caret
};

std::string formatPositionRecord(const PositionRecord& record);
// None when `text` is not a position record.
std::optional<PositionRecord> parsePositionRecord(std::string_view text);

// The scroll step a record can carry: at most two digits.
inline constexpr int kMaxScrollStep = 99;

// How many lines fit in a drawing `height` pixels high for the Braille editor's font size:
// height / (size + 9) - 1, at least 1.
int linesThatFit(int height, int boxFontSize);
// The height a drawing needs for `lines` lines to fit.
int drawingRoomFor(int lines, int boxFontSize);
// The Braille editor's font size, in the unit its font gives.
int boxFontSize(const ui::TextBox& box);
// Room between the drawing and the legend under it.
inline constexpr int kLegendGap = 10;

// The first line to show. Following the caret (no scroll step) the caret line is centred;
// when the lines would run past the page the last lines are centred instead. A scroll step
// moves the previous first line by it, up to where the last lines are centred, and never
// back down again when it goes up. Never below 0; a page with fewer lines than fit starts at
// its first line.
int firstShownLine(int previousFirst, int caretLine, int scrollStep, int linesFit, int lineCount);

// One sign of the legend: its glyph as the view draws it, its cells and its Italian name.
struct LegendEntry {
    std::u32string glyph;
    std::string cells;
    std::string name;
};

// The legend of the symbols, from the tables the view draws with, named as speech reads them;
// each glyph once.
std::vector<LegendEntry> symbolLegend();

class LinearView {
public:
    explicit LinearView(TForm1& form);
    LinearView(const LinearView&) = delete;
    LinearView& operator=(const LinearView&) = delete;

    // The window the focus goes back to after a click on the drawing, when a learning tool is
    // open; null: none is.
    void setOpenLearningTool(std::function<ui::Widget*()> tool) { learningTool_ = std::move(tool); }

    // Writes the Braille editor's caret as a position record and redraws.
    void refresh(int scrollStep = 0);
    // The hidden input field: a new record redraws the view.
    void setPositionRecord(std::string_view record);
    const std::string& positionRecord() const { return record_; }

    // The toggle ("Visual. lineare off"/"on" and the menu item, Ctrl+R).
    void VisualLineareClick();
    // "Simb.": the legend under the drawing, shown or hidden.
    void SimbClick();
    // A click on the drawing.
    void Image1Click();
    // The mouse wheel over the drawing.
    void Image1Scroll(int lines);

    int firstLine() const { return firstLine_; }
    int linesFit() const;
    bool legendShown() const;

private:
    void redraw(const PositionRecord& record);
    void setCaptions();

    TForm1& form_;
    std::function<ui::Widget*()> learningTool_;
    std::string record_;
    int firstLine_ = 0;
};

}  // namespace editor
