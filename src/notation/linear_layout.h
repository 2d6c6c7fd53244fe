#pragma once

// The linear view's layout: one line of a Braille-mode page, read into the internal code of
// the MathML conversion (lineCode), laid out as ordinary mathematics in one line of print. The
// result is a display list: what to draw and where, with no toolkit in it, so that any painter
// (the main window's strip, the tutors' expression) draws it the same way and tests can check
// it item by item.
//
// Coordinates are pixels. x grows to the right from the line's left edge (the pen starts at
// x = 10); y grows downwards from the line's baseline (y = 0), so raised items have negative y.
// Ink spans are half open: a text item's ink covers the rows [y - ascent, y + descent) of its
// font role and the columns [x, x + width); a line (bar, stroke, overline) is kLineThickness
// wide, its ink covering [c - thickness / 2, c + thickness - thickness / 2) around its points
// across its run, and a level line the columns [x, x2) along it; the caret covers the columns
// [x, x + kLineThickness) and the rows [y, y2).
//
// Several lines share a strip through placeLines: each gets a band at least as high as the
// nominal pitch and as its own ink, so no line is ever drawn over another or cut off.
// Text widths come from a TextMetrics, which the painter gives from its real fonts; FixedMetrics
// gives fixed widths for tests and benchmarks.
//
// Every input is accepted: unfinished constructs (a fraction still being typed, a root without
// its end) are drawn as far as they go, never refused.

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "notation/mathml_code.h"

namespace notation {

// The fonts of the view: normal text, exponents (and indices and limits), text-region labels.
enum class FontRole { Normal, Exponent, Label };

enum class DisplayKind {
    Text,           // `text` in the role's text font
    Glyph,          // `text`: a mathematical symbol, drawn in the symbol font at the role's size
    FractionBar,    // a line from (x, y) to (x2, y2), full black
    RadicalStroke,  // one stroke of a radical sign, from (x, y) to (x2, y2)
    Overline,       // a line over a root's radicand, an overlined group or periodic digits
    SubLevelShift,  // the baseline moves by `y2` pixels from `y` (down when positive) at x
    Caret,          // the caret mark: a red bar from (x, y) to (x, y2)
};

struct DisplayItem {
    DisplayKind kind = DisplayKind::Text;
    FontRole role = FontRole::Normal;
    bool operatorInk = false;  // operators and operator words are drawn in blue
    std::u32string text;
    int x = 0;  // Text, Glyph: the pen at the start of the baseline
    int y = 0;
    int x2 = 0;  // lines: the other end
    int y2 = 0;
    int width = 0;  // Text, Glyph: the advance

    friend bool operator==(const DisplayItem&, const DisplayItem&) = default;
};

// A part of the line that the layout moved off the line of the signs around it: the items
// [firstItem, endItem) of `items`, drawn `dy` pixels below (positive) or above (negative) the
// baseline of what holds them. Parts nest as the constructs do; a part inside another comes
// after it in the list.
enum class PartKind {
    Exponent,     // raised: a power's exponent, an upper limit
    Index,        // lowered: an index, a logarithm's base, a lower limit
    Numerator,    // stacked over a fraction bar
    Denominator,  // stacked under it
    RootIndex,    // in the crook of a radical sign
    Radicand,     // under a radical sign
    Overlined,    // under an overline
};

struct DisplayPart {
    PartKind kind = PartKind::Exponent;
    std::size_t firstItem = 0;
    std::size_t endItem = 0;
    int dy = 0;

    friend bool operator==(const DisplayPart&, const DisplayPart&) = default;
};

struct DisplayLine {
    std::vector<DisplayItem> items;
    std::vector<DisplayPart> parts;  // what the constructs made of the items (painters may
                                     // ignore it: the items already stand where they belong)
    int width = 0;                   // where the pen ends
    int top = 0;                     // the first row of ink, from the baseline (negative)
    int bottom = 0;                  // the row after the last row of ink
};

// How wide and tall text is in each font role.
class TextMetrics {
public:
    virtual ~TextMetrics() = default;
    virtual int textWidth(FontRole role, std::u32string_view text) const = 0;
    virtual int glyphWidth(FontRole role, std::u32string_view glyph) const = 0;
    virtual int ascent(FontRole role) const = 0;
    virtual int descent(FontRole role) const = 0;
};

// Metrics that measure each text once per font: a page repeats the same few signs.
class CachedTextMetrics : public TextMetrics {
public:
    int textWidth(FontRole role, std::u32string_view text) const final;
    int glyphWidth(FontRole role, std::u32string_view glyph) const final;

protected:
    // The width of `text` in the role's text font, or its symbol font when `glyph`.
    virtual int measure(bool glyph, FontRole role, std::u32string_view text) const = 0;

private:
    int cached(bool glyph, FontRole role, std::u32string_view text) const;

    mutable std::unordered_map<std::u32string, int> widths_[6];  // by font
};

// Every character as wide as the role's `advance` (10, 7 and 6 pixels), ascent 12, 9, 8 and
// descent 4, 3, 2 for normal, exponent and label text.
class FixedMetrics : public TextMetrics {
public:
    int textWidth(FontRole role, std::u32string_view text) const override;
    int glyphWidth(FontRole role, std::u32string_view glyph) const override;
    int ascent(FontRole role) const override;
    int descent(FontRole role) const override;
    static int advance(FontRole role);
};

// Where the pen starts on every line.
inline constexpr int kLinePenStart = 10;
// How far exponents are raised (at least: an exponent that reaches down, such as a fraction,
// goes up until all of it stands above the base line) and indices lowered.
inline constexpr int kExponentRaise = 6;
inline constexpr int kSubLevelShift = 10;
// The width of fraction bars, radical strokes, overlines and the caret: partially sighted
// readers must see them.
inline constexpr int kLineThickness = 2;
// The caret's own room at the pen: what follows it moves right, so it never covers ink.
inline constexpr int kCaretRoom = 4;
// Blank rows a line keeps above and below its ink in a strip.
inline constexpr int kLineMargin = 2;

// The number of code characters before the caret when it stands `column` cells into the line
// whose code is `code`: one per sign, one per digit of a number, one per character of a text
// region's words. A caret inside a sign of several cells counts as before it.
std::size_t caretCodeCharacters(const std::vector<MathToken>& code, std::size_t column);

// Lays out one line's code. `caret` is the caret in code characters (caretCodeCharacters), or
// npos for a line without the caret; the caret mark is drawn just left of the pen when the
// drawing reaches it, and at the start of an empty line.
DisplayLine layoutLine(const std::vector<MathToken>& code, std::size_t caret,
                       const TextMetrics& metrics);

// The same for a line of Braille cells with the caret `caretColumn` cells into it (npos: none).
DisplayLine layoutCells(std::string_view line, std::size_t caretColumn, const TextMetrics& metrics);

inline constexpr std::size_t kNoCaret = static_cast<std::size_t>(-1);

// Where one line goes in a strip, from the strip's top.
struct LinePlace {
    std::size_t line = 0;  // which of the lines given
    int top = 0;           // the top of its band
    int height = 0;        // the band's height: the next line's band starts below it
    int baseline = 0;      // the line's baseline; the painter draws the line scaled about it
    double scale = 1;      // below 1 only for a line taller than the whole strip

    friend bool operator==(const LinePlace&, const LinePlace&) = default;
};

// Places `lines` one under the other from the top of a strip `height` pixels high. Each band is
// at least `pitch` high with the baseline at the same share of it on every plain line, and high
// enough for the line's ink with kLineMargin blank rows above and below. When not all fit,
// lines are left out, farthest from line `keep` first (below it before above it at the same
// distance); `keep` itself is always placed, drawn smaller when even alone it is taller than
// the strip. Returns the places in order from the top; none when `height` is not positive.
std::vector<LinePlace> placeLines(const std::vector<DisplayLine>& lines, int pitch, int height,
                                  std::size_t keep);

}  // namespace notation
