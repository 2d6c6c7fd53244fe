#include "notation/linear_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <utility>

#include "notation/mathml_tables.h"

namespace notation {
namespace {

const FixedMetrics kMetrics;

DisplayLine lay(std::string_view cells, std::size_t caretColumn = kNoCaret) {
    return layoutCells(cells, caretColumn, kMetrics);
}

// The first item of `kind` showing `text`; fails the test when there is none.
const DisplayItem& find(const DisplayLine& line, DisplayKind kind, std::u32string_view text = {}) {
    for (const DisplayItem& item : line.items) {
        if (item.kind == kind && (text.empty() || item.text == text)) {
            return item;
        }
    }
    ADD_FAILURE() << "no item of kind " << static_cast<int>(kind);
    static const DisplayItem none;
    return none;
}

std::size_t count(const DisplayLine& line, DisplayKind kind) {
    return static_cast<std::size_t>(
        std::count_if(line.items.begin(), line.items.end(),
                      [&](const DisplayItem& i) { return i.kind == kind; }));
}

TEST(LinearLayout, FractionStacksNumeratorOverDenominatorAcrossItsBar) {
    const DisplayLine line = lay("6_a+_bnp_c4=#a");
    const DisplayItem& a = find(line, DisplayKind::Text, U"a");
    const DisplayItem& c = find(line, DisplayKind::Text, U"c");
    const DisplayItem& bar = find(line, DisplayKind::FractionBar);
    EXPECT_EQ(bar.y, bar.y2);
    EXPECT_LT(a.y + kMetrics.descent(FontRole::Normal), bar.y) << "numerator above the bar";
    EXPECT_GT(c.y - kMetrics.ascent(FontRole::Normal), bar.y) << "denominator below it";
    EXPECT_LE(bar.x, a.x);
    EXPECT_GE(bar.x2, find(line, DisplayKind::Text, U"b").x + 10);
    EXPECT_GT(c.x, a.x) << "the shorter denominator is centred";
    // After the fraction the pen is back on the baseline, past the bar.
    const DisplayItem& equals = find(line, DisplayKind::Text, U"=");
    EXPECT_EQ(equals.y, 0);
    EXPECT_GT(equals.x, bar.x2);

    // A numeric fraction is stacked the same way; one still being typed gets its bar too.
    const DisplayLine numeric = lay("#:d");
    EXPECT_LT(find(numeric, DisplayKind::Text, U"3").y, find(numeric, DisplayKind::FractionBar).y);
    EXPECT_GT(find(numeric, DisplayKind::Text, U"4").y, find(numeric, DisplayKind::FractionBar).y);
    const DisplayLine typing = lay("6_a");
    EXPECT_EQ(count(typing, DisplayKind::FractionBar), 1u);
    EXPECT_LT(find(typing, DisplayKind::Text, U"a").y, 0);
}

TEST(LinearLayout, RootWithIndexSitsInTheCrookOfItsStrokes) {
    const DisplayLine line = lay("9#c:_x+#ao");
    const DisplayItem& index = find(line, DisplayKind::Text, U"3");
    const DisplayItem& x = find(line, DisplayKind::Text, U"x");
    const DisplayItem& over = find(line, DisplayKind::Overline);
    EXPECT_EQ(index.role, FontRole::Exponent);
    EXPECT_LT(index.y, 0) << "the index is raised";
    EXPECT_EQ(count(line, DisplayKind::RadicalStroke), 2u);
    const DisplayItem& stroke = find(line, DisplayKind::RadicalStroke);
    EXPECT_LT(stroke.x, x.x);
    EXPECT_LT(over.y, x.y - kMetrics.ascent(FontRole::Normal)) << "the line runs over the radicand";
    EXPECT_LE(over.x, x.x);
    EXPECT_GE(over.x2, find(line, DisplayKind::Text, U"1").x + 10);
    EXPECT_EQ(x.role, FontRole::Normal);

    // Without an index: a square root; a nested root's strokes stay inside the outer one.
    const DisplayLine nested = lay("9_x+9_yoo");
    EXPECT_EQ(count(nested, DisplayKind::RadicalStroke), 4u);
    EXPECT_EQ(count(nested, DisplayKind::Overline), 2u);
}

TEST(LinearLayout, ExponentsAreRaisedAndComeBackDown) {
    // General exponent "|" ... "1".
    DisplayLine line = lay("_x|_n+#a1+_y");
    EXPECT_EQ(find(line, DisplayKind::Text, U"n").y, -kExponentRaise);
    EXPECT_EQ(find(line, DisplayKind::Text, U"n").role, FontRole::Exponent);
    EXPECT_EQ(find(line, DisplayKind::Text, U"1").y, -kExponentRaise);
    EXPECT_EQ(find(line, DisplayKind::Text, U"y").y, 0);
    EXPECT_EQ(find(line, DisplayKind::Text, U"y").role, FontRole::Normal);

    // A numeric exponent closed by its power end, and a one-letter exponent.
    line = lay("_x#b1+_y_n1");
    EXPECT_EQ(find(line, DisplayKind::Text, U"2").y, -kExponentRaise);
    EXPECT_EQ(find(line, DisplayKind::Text, U"+").y, 0);
    EXPECT_EQ(find(line, DisplayKind::Text, U"n").y, -kExponentRaise);

    // An exponent of an exponent goes up twice, and both come down.
    line = lay("_e|_x|_a11-_b");
    EXPECT_EQ(find(line, DisplayKind::Text, U"a").y, -2 * kExponentRaise);
    EXPECT_EQ(find(line, DisplayKind::Text, U"b").y, 0);

    // The one-cell power sign raises the sign after it only.
    line = lay("_x<#c_y");
    EXPECT_EQ(find(line, DisplayKind::Text, U"3").y, -kExponentRaise);
    EXPECT_EQ(find(line, DisplayKind::Text, U"y").y, 0);
}

TEST(LinearLayout, IndexShiftsToTheSubLevelAndBack) {
    const DisplayLine line = lay("_a!_i+_b");
    const DisplayItem& i = find(line, DisplayKind::Text, U"i");
    EXPECT_EQ(i.y, kSubLevelShift);
    EXPECT_EQ(i.role, FontRole::Exponent);
    ASSERT_EQ(count(line, DisplayKind::SubLevelShift), 2u);
    std::vector<int> shifts;
    for (const DisplayItem& item : line.items) {
        if (item.kind == DisplayKind::SubLevelShift) {
            shifts.push_back(item.y2);
        }
    }
    EXPECT_EQ(shifts, (std::vector<int>{kSubLevelShift, -kSubLevelShift}));
    EXPECT_EQ(find(line, DisplayKind::Text, U"b").y, 0);

    // A logarithm's base and a sum's lower limit go down the same way; the upper limit goes up.
    const DisplayLine log = lay("log.#b:_x");
    EXPECT_EQ(find(log, DisplayKind::Text, U"2").y, kSubLevelShift);
    EXPECT_EQ(find(log, DisplayKind::Text, U"x").y, 0);
    EXPECT_EQ(count(log, DisplayKind::Text), 3u) << "the colon that ends the base draws nothing";
    const DisplayLine sum = lay("<S_i=#a,_n:?_i*");
    EXPECT_EQ(find(sum, DisplayKind::Glyph, U"\u2211").y, 0);
    EXPECT_GT(find(sum, DisplayKind::Text, U"1").y, 0);
    EXPECT_LT(find(sum, DisplayKind::Text, U"n").y, 0);
    EXPECT_EQ(find(sum, DisplayKind::Text, U"(").y, 0);
}

// An index of several items is lowered whole, an exponent after it raised: each character's
// height from the baseline, in the order drawn.
TEST(LinearLayout, AnIndexGroupIsLoweredWhole) {
    const int down = kSubLevelShift;
    const int up = -kExponentRaise;
    const struct {
        std::string_view cells;
        std::vector<std::pair<char32_t, int>> heights;
    } cases[] = {
        {"_a!|_n+#a1", {{U'a', 0}, {U'n', down}, {U'+', down}, {U'1', down}}},
        {"_a!|_n+#a1#b1", {{U'a', 0}, {U'n', down}, {U'+', down}, {U'1', down}, {U'2', up}}},
        {"_x!|_i_j1+_y", {{U'x', 0}, {U'i', down}, {U'j', down}, {U'+', 0}, {U'y', 0}}},
        {"_a!|#b_n1", {{U'a', 0}, {U'2', down}, {U'n', down}}},
        {"_a!|_n+#a1|_m1", {{U'a', 0}, {U'n', down}, {U'+', down}, {U'1', down}, {U'm', up}}},
        {"_a!|_n+#a", {{U'a', 0}, {U'n', down}, {U'+', down}, {U'1', down}}},  // being typed
    };
    for (const auto& c : cases) {
        const DisplayLine line = lay(c.cells);
        std::vector<std::pair<char32_t, int>> heights;
        for (const DisplayItem& item : line.items) {
            if (item.kind == DisplayKind::Text) {
                for (const char32_t ch : item.text) {
                    heights.emplace_back(ch == U'\u2212' ? U'-' : ch, item.y);
                }
            }
        }
        EXPECT_EQ(heights, c.heights) << c.cells;
    }
    // The caret at the group's end stands at the index's end, lowered with it.
    const DisplayLine typing = lay("_a!|_n1", 5);
    EXPECT_EQ(find(typing, DisplayKind::Caret).y, -kMetrics.ascent(FontRole::Exponent) - 2 + down);
}

// A root's index is what stands before its own colon: the colon of a sum's limits, of a
// logarithm's base or of a root inside it is not the root's. The kinds of the parts, in order.
TEST(LinearLayout, ARootsIndexEndsAtItsOwnColon) {
    using K = PartKind;
    const struct {
        std::string_view cells;
        std::vector<PartKind> parts;
    } cases[] = {
        {"9#c:_xo", {K::RootIndex, K::Radicand}},
        {"9<S_i=#a,_n:?_i*o", {K::Radicand, K::Index, K::Exponent}},
        {"99#c:_xo+_yo", {K::Radicand, K::RootIndex, K::Radicand}},
        {"9log.#b:#ho", {K::Radicand, K::Index}},
        {"9\xF2_x:+_yo", {K::Radicand, K::Overlined}},
        {"9#c:<S_i=#a,_n:?_i*o", {K::RootIndex, K::Radicand, K::Index, K::Exponent}},
    };
    for (const auto& c : cases) {
        std::vector<PartKind> kinds;
        for (const DisplayPart& part : lay(c.cells).parts) {
            kinds.push_back(part.kind);
        }
        EXPECT_EQ(kinds, c.parts) << c.cells;
    }
}

TEST(LinearLayout, GreekLettersAndSetAndLogicSignsAreGlyphs) {
    const DisplayLine line = lay(">a<+>b!2$a_?$.>p<(&y:o<D:");
    std::u32string glyphs;
    for (const DisplayItem& item : line.items) {
        if (item.kind == DisplayKind::Glyph) {
            glyphs += item.text;
        }
    }
    EXPECT_EQ(glyphs, U"\u03B1\u222A\u03B2\u2208\u2227\u2200\u03C0\u2229\u2205\u2192\u0394");
    EXPECT_TRUE(find(line, DisplayKind::Glyph, U"\u222A").operatorInk) << "relations in blue";
    EXPECT_FALSE(find(line, DisplayKind::Glyph, U"\u03B1").operatorInk);
    EXPECT_EQ(find(line, DisplayKind::Text, U"A").text, U"A");

    // Every sign of the symbol tables shows as the characters of its MathML, never as its
    // entity name or its cells.
    auto check = [](std::span<const MathmlSign> table) {
        for (const MathmlSign& sign : table) {
            const DisplayLine one = lay(sign.cells);
            std::u32string shown;
            for (const DisplayItem& item : one.items) {
                shown += item.text;
            }
            EXPECT_EQ(shown, mathmlCharacters(sign.mathml)) << sign.cells;
            EXPECT_EQ(shown.find(U'&'), std::u32string::npos) << sign.cells;
        }
    };
    check(mathmlSymbols());
    check(mathmlExtraSigns());
    check(mathmlGreek());
}

TEST(LinearLayout, TextRegionInTheLabelFontAndOtherForms) {
    const DisplayLine line = lay("\\\\Calcola\\\\_x-#a");
    const DisplayItem& words = find(line, DisplayKind::Text, U"Calcola");
    EXPECT_EQ(words.role, FontRole::Label);
    EXPECT_EQ(words.x, kLinePenStart);
    EXPECT_EQ(find(line, DisplayKind::Text, U"x").role, FontRole::Normal);
    EXPECT_TRUE(find(line, DisplayKind::Text, U"\u2212").operatorInk) << "minus in blue";
    // A region left open runs to the end of the line.
    EXPECT_EQ(find(lay("_x\\\\vero"), DisplayKind::Text, U"vero").role, FontRole::Label);

    // Overline and periodic digits.
    const DisplayLine over = lay("\xF2_a_b:");
    EXPECT_EQ(count(over, DisplayKind::Overline), 1u);
    EXPECT_EQ(count(over, DisplayKind::Text), 2u) << "its closing colon draws nothing";
    const DisplayLine periodic = lay("#j,'c");
    const DisplayItem& bar = find(periodic, DisplayKind::Overline);
    EXPECT_EQ(bar.x, find(periodic, DisplayKind::Text, U"3").x);
    EXPECT_EQ(count(periodic, DisplayKind::Text), 3u) << "0 , 3 without the apostrophe";
}

TEST(LinearLayout, CaretColumnIsCountedInCodeCharacters) {
    const std::vector<MathToken> code = lineCode("#abc+_x");
    EXPECT_EQ(caretCodeCharacters(code, 0), 0u);
    EXPECT_EQ(caretCodeCharacters(code, 1), 0u) << "after the number sign, before the digits";
    EXPECT_EQ(caretCodeCharacters(code, 3), 2u) << "between 2 and 3";
    EXPECT_EQ(caretCodeCharacters(code, 5), 4u) << "after the plus";
    EXPECT_EQ(caretCodeCharacters(code, 6), 4u) << "inside the letter's two cells";
    EXPECT_EQ(caretCodeCharacters(code, 7), 5u);

    // The caret stands in a room of its own, with what follows it moved right.
    auto caretX = [](const DisplayLine& line) { return find(line, DisplayKind::Caret).x; };
    const DisplayLine atStart = lay("#abc+_x", 0);
    EXPECT_EQ(caretX(atStart), kLinePenStart + (kCaretRoom - kLineThickness) / 2);
    EXPECT_EQ(find(atStart, DisplayKind::Text, U"123").x, kLinePenStart + kCaretRoom);
    const DisplayLine between = lay("#abc+_x", 3);
    EXPECT_EQ(find(between, DisplayKind::Text, U"12").x, kLinePenStart);
    EXPECT_EQ(caretX(between), kLinePenStart + 20 + 1);
    EXPECT_EQ(find(between, DisplayKind::Text, U"3").x, kLinePenStart + 20 + kCaretRoom);
    const DisplayLine afterPlus = lay("#abc+_x", 5);
    EXPECT_LT(caretX(afterPlus) + kLineThickness, find(afterPlus, DisplayKind::Text, U"x").x);
    EXPECT_GT(caretX(afterPlus), find(afterPlus, DisplayKind::Text, U"+").x + 10);
    const DisplayLine atEnd = lay("#abc+_x", 7);
    EXPECT_LT(caretX(atEnd) + kLineThickness, atEnd.width);
    EXPECT_EQ(count(lay("#abc+_x"), DisplayKind::Caret), 0u) << "no caret on other lines";

    // Inside an exponent the caret is raised with it.
    const DisplayLine raised = lay("_x|_n1", 4);
    EXPECT_LT(find(raised, DisplayKind::Caret).y2, find(lay("_x", 2), DisplayKind::Caret).y2);
}

TEST(LinearLayout, CaretOnAnEmptyLineIsAtItsStart) {
    const DisplayLine line = lay("", 0);
    ASSERT_EQ(line.items.size(), 1u);
    EXPECT_EQ(line.items[0].kind, DisplayKind::Caret);
    EXPECT_EQ(line.items[0].x, kLinePenStart + 1);
    EXPECT_LT(line.items[0].y, line.items[0].y2);
    EXPECT_TRUE(lay("").items.empty());
}

TEST(LinearLayout, AnyCellsLayOutWithoutFailing) {
    // Unbalanced and deeply nested constructs are drawn as far as they go.
    for (std::string_view cells : {"4np1o:|", "666666", "999:::", "|||||", "!!!<<<", "<S,:", "log.",
                                   "\xF2\xF2", "?????", "#", "$", "_", "\\\\", "7,:"}) {
        const DisplayLine line = lay(cells, cells.size());
        EXPECT_EQ(count(line, DisplayKind::Caret), 1u) << cells;
    }
    // Random lines of the construct cells: one caret, where the drawing reached it, and
    // every item inside the line.
    std::uint32_t seed = 12345;
    const std::string_view cells = "69:o|1<!np4#abc,'?*{}&y_x$a>a<S7,:\xF2 +=-log.";
    for (int n = 0; n < 3000; ++n) {
        std::string line;
        for (int k = 0; k < 24; ++k) {
            seed = seed * 1103515245u + 12345u;
            line += cells[(seed >> 16) % cells.size()];
        }
        const std::size_t caret = (seed >> 8) % (line.size() + 1);
        const DisplayLine laid = lay(line, caret);
        ASSERT_EQ(count(laid, DisplayKind::Caret), 1u) << line << " caret " << caret;
        for (const DisplayItem& item : laid.items) {
            ASSERT_GE(item.x, kLinePenStart - 1) << line;
            ASSERT_LE(std::max(item.x, item.x2), laid.width + 1) << line;
        }
    }

    // Past the nesting the drawing can follow, the cells are shown as they are.
    const std::string deep(5000, '6');
    const DisplayLine flat = lay(deep);
    EXPECT_GT(count(flat, DisplayKind::FractionBar), 10u);
    EXPECT_EQ(count(flat, DisplayKind::FractionBar) + count(flat, DisplayKind::Text), 5000u);
}

// The rows [first, second) an item inks, by the spans the layout promises.
std::pair<int, int> inkRows(const DisplayItem& item, const TextMetrics& metrics = kMetrics) {
    switch (item.kind) {
        case DisplayKind::Text:
        case DisplayKind::Glyph:
            return {item.y - metrics.ascent(item.role), item.y + metrics.descent(item.role)};
        case DisplayKind::Caret:
            return {item.y, item.y2};
        case DisplayKind::SubLevelShift:
            return {0, 0};
        default:
            return {std::min(item.y, item.y2) - kLineThickness / 2,
                    std::max(item.y, item.y2) + kLineThickness - kLineThickness / 2};
    }
}

// The columns [first, second) an item inks.
std::pair<int, int> inkColumns(const DisplayItem& item) {
    switch (item.kind) {
        case DisplayKind::Text:
        case DisplayKind::Glyph:
            return {item.x, item.x + item.width};
        case DisplayKind::Caret:
            return {item.x, item.x + kLineThickness};
        case DisplayKind::SubLevelShift:
            return {0, 0};
        default:
            if (item.y == item.y2) {
                return {std::min(item.x, item.x2), std::max(item.x, item.x2)};
            }
            return {std::min(item.x, item.x2) - kLineThickness / 2,
                    std::max(item.x, item.x2) + kLineThickness - kLineThickness / 2};
    }
}

bool overlap(std::pair<int, int> a, std::pair<int, int> b) {
    return a.first < b.second && b.first < a.second && a.first < a.second && b.first < b.second;
}

TEST(LinearLayout, AnExponentsFractionStandsWhollyAboveTheBaseLine) {
    for (std::string_view cells : {"_x|6#anp#b41", "_x|6_anp_b4+#a1", "_e|_x|6#anp#b411"}) {
        const DisplayLine line = lay(cells);
        int lowest = std::numeric_limits<int>::min();
        for (const DisplayItem& item : line.items) {
            if (item.role == FontRole::Exponent || item.kind == DisplayKind::FractionBar) {
                lowest = std::max(lowest, inkRows(item).second);
            }
        }
        EXPECT_LE(lowest, 0) << cells << ": the denominator reaches the base line";
        EXPECT_EQ(line.items.front().y, 0) << cells << ": the base stays on it";
    }
    // A plain exponent keeps its raise.
    EXPECT_EQ(find(lay("_x|_n1"), DisplayKind::Text, U"n").y, -kExponentRaise);
}

TEST(LinearLayout, ASignStandsAgainstWhatItSigns) {
    auto gap = [](std::string_view cells, std::u32string_view sign, std::u32string_view next) {
        const DisplayLine line = lay(cells);
        const DisplayItem& s = find(line, DisplayKind::Text, sign);
        return find(line, DisplayKind::Text, next).x - (s.x + s.width);
    };
    EXPECT_EQ(gap("_x|-#b1", U"\u2212", U"2"), 0) << "x to the minus two";
    EXPECT_EQ(gap("-_a+_b", U"\u2212", U"a"), 0) << "at the start of a line";
    EXPECT_EQ(gap("?-#c*", U"\u2212", U"3"), 0) << "after a bracket";
    EXPECT_EQ(gap("_x=-#c", U"\u2212", U"3"), 0) << "after a relation";
    EXPECT_EQ(gap("6-_anp_b4", U"\u2212", U"a"), 0) << "at the start of a numerator";
    // Between two terms it is an operation, with room either side.
    EXPECT_GT(gap("_x-#b", U"\u2212", U"2"), 0);
    EXPECT_GT(gap("_x|_n-#a1", U"\u2212", U"1"), 0);
    const DisplayLine binary = lay("_x-#b");
    EXPECT_GT(find(binary, DisplayKind::Text, U"\u2212").x,
              find(binary, DisplayKind::Text, U"x").x + 10);
}

// Every item lies within the line's ink rows, and the caret covers no ink: for the lines the
// issue showed and for random lines of the construct cells.
TEST(LinearLayout, InkStaysInsideTheLineAndTheCaretCoversNone) {
    auto check = [](std::string_view cells, std::size_t caret) {
        const DisplayLine line = lay(cells, caret);
        const DisplayItem* mark = nullptr;
        for (const DisplayItem& item : line.items) {
            const auto rows = inkRows(item);
            if (rows.first < rows.second) {
                EXPECT_GE(rows.first, line.top) << cells;
                EXPECT_LE(rows.second, line.bottom) << cells;
            }
            if (item.kind == DisplayKind::Caret) {
                mark = &item;
            }
        }
        ASSERT_NE(mark, nullptr) << cells;
        for (const DisplayItem& item : line.items) {
            if (&item != mark) {
                EXPECT_FALSE(overlap(inkColumns(item), inkColumns(*mark)) &&
                             overlap(inkRows(item), inkRows(*mark)))
                    << cells << " caret " << caret << " covers an item at " << item.x;
            }
        }
    };
    for (std::string_view cells : {"_x|_y|_z11", "_x|-#b1", "66_anp_b4np_c4", "9_x+#ao",
                                   "\xF2_a_b:", "#abc", "_x|6#anp#b41", "_a!6_inp_j4"}) {
        for (std::size_t caret = 0; caret <= cells.size(); ++caret) {
            check(cells, caret);
        }
    }
    std::uint32_t seed = 2024;
    const std::string_view cells = "69:o|1<!np4#abc,'?*_x$a>a<S\xF2 +=-";
    for (int n = 0; n < 2000; ++n) {
        std::string line;
        for (int k = 0; k < 16; ++k) {
            seed = seed * 1103515245u + 12345u;
            line += cells[(seed >> 16) % cells.size()];
        }
        check(line, (seed >> 8) % (line.size() + 1));
    }
}

DisplayLine tall(int top, int bottom) {
    DisplayLine line;
    line.top = top;
    line.bottom = bottom;
    return line;
}

TEST(LinearLayout, LinesShareTheStripInBandsTheirInkNeeds) {
    // Plain lines keep the nominal pitch; a tall one gets what it needs, margins included.
    const std::vector<DisplayLine> lines = {tall(-12, 4), tall(-40, 30), tall(-12, 4)};
    auto places = placeLines(lines, 46, 500, 1);
    ASSERT_EQ(places.size(), 3u);
    EXPECT_EQ(places[0].top, 0);
    EXPECT_EQ(places[0].height, 46);
    EXPECT_EQ(places[0].baseline, 27);
    for (std::size_t k = 0; k < 3; ++k) {
        const LinePlace& p = places[k];
        EXPECT_EQ(p.line, k);
        EXPECT_EQ(p.scale, 1.0);
        EXPECT_GE(p.height, 46);
        EXPECT_GE(p.baseline + lines[k].top, p.top + kLineMargin) << k;
        EXPECT_LE(p.baseline + lines[k].bottom, p.top + p.height - kLineMargin) << k;
        if (k > 0) {
            EXPECT_EQ(p.top, places[k - 1].top + places[k - 1].height) << "bands follow";
        }
    }
    EXPECT_EQ(places[1].height, 40 + 30 + 2 * kLineMargin);

    // Too many for the strip: the farthest from the kept line go first, below before above.
    const std::vector<DisplayLine> five(5, tall(-12, 4));
    auto shown = [](const std::vector<LinePlace>& p) {
        std::vector<std::size_t> out;
        for (const LinePlace& place : p) {
            out.push_back(place.line);
        }
        return out;
    };
    EXPECT_EQ(shown(placeLines(five, 46, 46 * 3, 2)), (std::vector<std::size_t>{1, 2, 3}));
    EXPECT_EQ(shown(placeLines(five, 46, 46 * 2, 2)), (std::vector<std::size_t>{1, 2}));
    EXPECT_EQ(shown(placeLines(five, 46, 46 * 3, 0)), (std::vector<std::size_t>{0, 1, 2}));
    EXPECT_EQ(shown(placeLines(five, 46, 46 * 3, 4)), (std::vector<std::size_t>{2, 3, 4}));
    EXPECT_EQ(shown(placeLines(five, 46, 1000, 9)), (std::vector<std::size_t>{0, 1, 2, 3, 4}));
    // A tall line next to the kept one stops the run there.
    EXPECT_EQ(
        shown(placeLines({tall(-12, 4), tall(-12, 4), tall(-90, 80), tall(-12, 4)}, 46, 46 * 3, 1)),
        (std::vector<std::size_t>{0, 1}));

    // Alone and taller than the strip, the kept line is drawn smaller to fit it whole.
    places = placeLines({tall(-12, 4), tall(-150, 150)}, 46, 200, 1);
    ASSERT_EQ(places.size(), 1u);
    EXPECT_EQ(places[0].line, 1u);
    EXPECT_LT(places[0].scale, 1.0);
    EXPECT_GE(places[0].baseline - 150 * places[0].scale, 0.0);
    EXPECT_LE(places[0].baseline + 150 * places[0].scale, 200.0);

    EXPECT_TRUE(placeLines(five, 46, 0, 0).empty());
    EXPECT_TRUE(placeLines({}, 46, 100, 0).empty());
}

// Metrics that count how often each font measures: the toolkits' metrics measure a text once
// per font, whatever asks for it.
class CountingMetrics : public CachedTextMetrics {
public:
    int ascent(FontRole) const override { return 12; }
    int descent(FontRole) const override { return 4; }
    mutable int measured = 0;

private:
    int measure(bool glyph, FontRole role, std::u32string_view text) const override {
        ++measured;
        return static_cast<int>(text.size()) * (glyph ? 20 : 10) + static_cast<int>(role);
    }
};

TEST(LinearLayout, EachTextIsMeasuredOncePerFont) {
    const CountingMetrics m;
    struct Case {
        bool glyph;
        FontRole role;
        std::u32string text;
        int width;
        int measuredAfter;  // a text already measured in that font costs nothing
    };
    const Case cases[] = {
        {false, FontRole::Normal, U"ab", 20, 1},   {false, FontRole::Normal, U"ab", 20, 1},
        {true, FontRole::Normal, U"ab", 40, 2},    {false, FontRole::Exponent, U"ab", 21, 3},
        {false, FontRole::Normal, U"abc", 30, 4},  {true, FontRole::Normal, U"ab", 40, 4},
        {true, FontRole::Label, U"\u03b1", 22, 5}, {false, FontRole::Exponent, U"ab", 21, 5},
    };
    for (const Case& c : cases) {
        const int width = c.glyph ? m.glyphWidth(c.role, c.text) : m.textWidth(c.role, c.text);
        EXPECT_EQ(width, c.width);
        EXPECT_EQ(m.measured, c.measuredAfter);
    }
}

}  // namespace
}  // namespace notation
