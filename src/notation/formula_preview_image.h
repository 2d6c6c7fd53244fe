#pragma once

// The formula print preview's work on the picture a graphic editor leaves on the clipboard:
// one typeset line holding every formula of a page, each between double bars ("‖ f1 ‖ f2 ‖").
// These functions find the bars, cut the line into one row per formula, stack the rows into
// one picture and work out the sizes the preview and the printout use. Pure functions over a
// pixel buffer; any picture is accepted (an empty or unrecognisable one gives no rows).
//
// White is pure white (red, green and blue all 255); every other colour is dark.

#include <optional>
#include <vector>

#include "ui/widgets.h"

namespace notation {

inline constexpr int kMaxPreviewRows = 301;
// The first double bar must begin within this many columns of the left edge.
inline constexpr int kDoubleBarSearchColumns = 16;
// The stacked picture: rows one under the other from y = 10, 8 pixels apart.
inline constexpr int kStackTop = 10;
inline constexpr int kRowGap = 8;
inline constexpr int kStackMinWidth = 700;
inline constexpr int kStackMinHeight = 500;
// The row view draws the stack under a 30-pixel margin: row k starts at y = 40 + k (H + 8).
inline constexpr int kRowViewTop = 40;
// Preview zoom, in percent.
inline constexpr int kZoomStart = 100;
inline constexpr int kZoomMin = 50;
inline constexpr int kZoomMax = 200;
inline constexpr int kZoomStep = 10;

bool isWhite(std::uint32_t pixel);

// The first double bar, measured where it begins within the first 16 columns.
struct DoubleBar {
    int top = 0;  // the bar's first and last rows
    int bottom = 0;
    int strokeWidth = 0;  // the wider stroke of the pair, along the bottom row
    int pairSpan = 0;     // from the end of the first stroke to the end of the second, plus 1
    int end = 0;          // the last column of the double bar
};

// None when the picture has no recognisable double bar there: no dark pixel in the first 16
// columns, a mark that is not a tall thin stroke, or a stroke without its pair.
std::optional<DoubleBar> firstDoubleBar(const ui::Bitmap& image);

// The x of every stroke right of the first double bar: a column dark over the whole bar
// height, white just left of it and white one stroke width to its right.
std::vector<int> findStrokes(const ui::Bitmap& image, const DoubleBar& bar);

// One formula: the columns from `left` to `right`, both included, over the full height.
struct FormulaRow {
    int left = 0;
    int right = 0;
    int width() const { return right - left + 1; }
    friend bool operator==(const FormulaRow&, const FormulaRow&) = default;
};

// The formulas between the double bars, at most 301. Strokes closer than the pair span make
// one double bar; a stroke standing alone (an absolute-value bar as tall as the double bars)
// separates nothing. Each row ends 2 pixels short of the next bar.
std::vector<FormulaRow> formulaRows(const ui::Bitmap& image);

// The rows one under the other at x = 0, the first at y = 10, each next one H + 8 lower, on
// white. Width: the widest row plus 50, at least 700; height: the last row's bottom plus 30,
// at least 500.
ui::Bitmap stackRows(const ui::Bitmap& image, const std::vector<FormulaRow>& rows);

// The print size factor of the on-screen layout: (the smaller page side + 1) / 800, at least 1.
int screenPrintFactor(int pageWidth, int pageHeight);
// The print size factor of a printout: page width / 748, at least 1.
int printPrintFactor(int pageWidth);
// How many rows of a picture H pixels high a printed page holds: (page height - 100) /
// ((H + 8) factor), at least 1.
int rowsPerPage(int pageHeight, int imageHeight, int factor);

// The row under y in the row view (rows are bands of H + 8 pixels from y = 40); -1 above them.
int rowAt(int y, int imageHeight);

// The zoom one step up or down, kept within 50 to 200.
int zoomIn(int zoom);
int zoomOut(int zoom);

}  // namespace notation
