#include "notation/formula_preview_image.h"

#include <gtest/gtest.h>

#include "png_image.h"

namespace notation {
namespace {

// Pictures of typeset lines made by tests/data/notation/formula_preview/make_images.sh.
ui::Bitmap picture(const std::string& name) {
    return test_png::readPng(std::string(TATTILO_TEST_DATA) + "/notation/formula_preview/" + name +
                             ".png");
}

bool columnHasInk(const ui::Bitmap& image, int x) {
    for (int y = 0; y < image.height; ++y) {
        if (!isWhite(image.pixels[static_cast<std::size_t>(y) * image.width + x])) {
            return true;
        }
    }
    return false;
}

TEST(FormulaPreviewImage, ThreeFormulasGiveThreeRowsStackedEightPixelsApart) {
    const ui::Bitmap line = picture("three_formulas");
    const std::optional<DoubleBar> bar = firstDoubleBar(line);
    ASSERT_TRUE(bar);
    EXPECT_GE(bar->bottom - bar->top + 1, line.height - 2) << "the bars are the tallest marks";
    const std::vector<FormulaRow> rows = formulaRows(line);
    ASSERT_EQ(rows.size(), 3u);
    for (std::size_t k = 0; k < rows.size(); ++k) {
        // Each row holds its formula and none of the bars around it.
        EXPECT_GT(rows[k].width(), 10) << k;
        EXPECT_FALSE(columnHasInk(line, rows[k].left)) << k;
        EXPECT_FALSE(columnHasInk(line, rows[k].right)) << k;
        EXPECT_TRUE(columnHasInk(line, rows[k].right + 2)) << "the next bar, 2 pixels on";
        if (k > 0) {
            EXPECT_GT(rows[k].left, rows[k - 1].right + 4) << "a double bar between rows";
        }
    }

    const ui::Bitmap stack = stackRows(line, rows);
    EXPECT_EQ(stack.width, kStackMinWidth);
    EXPECT_EQ(stack.height, kStackMinHeight);
    for (std::size_t k = 0; k < rows.size(); ++k) {
        const int top = kStackTop + static_cast<int>(k) * (line.height + 8);
        for (int y = 0; y < line.height; ++y) {
            for (int x = 0; x < rows[k].width(); ++x) {
                ASSERT_EQ(stack.pixels[static_cast<std::size_t>(top + y) * stack.width + x],
                          line.pixels[static_cast<std::size_t>(y) * line.width + rows[k].left + x])
                    << "row " << k << " at " << x << "," << y;
            }
        }
        // The 8 pixels under each row are white.
        for (int y = top + line.height; y < top + line.height + 8; ++y) {
            for (int x = 0; x < stack.width; ++x) {
                ASSERT_TRUE(isWhite(stack.pixels[static_cast<std::size_t>(y) * stack.width + x]));
            }
        }
    }
}

TEST(FormulaPreviewImage, AbsoluteValueBarsAreNotSeparators) {
    // Shorter than the double bars: not dark over the whole bar height.
    const ui::Bitmap shorter = picture("absolute_value");
    EXPECT_EQ(formulaRows(shorter).size(), 2u);
    const ui::Bitmap shortStack = stackRows(shorter, formulaRows(shorter));
    EXPECT_EQ(shortStack.height, kStackMinHeight);
    // As tall as the double bars: a bar standing alone pairs with nothing.
    const ui::Bitmap tall = picture("absolute_value_tall");
    const std::vector<FormulaRow> rows = formulaRows(tall);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_GT(rows[0].width(), rows[1].width()) << "|x|+1 stays one row, wider than f2";
}

TEST(FormulaPreviewImage, PicturesWithoutALeadingDoubleBarGiveNoRows) {
    EXPECT_FALSE(firstDoubleBar(picture("no_double_bar")));
    EXPECT_TRUE(formulaRows(picture("no_double_bar")).empty());
    EXPECT_TRUE(formulaRows(ui::Bitmap{}).empty());
    // All white, or a bar beyond column 15.
    ui::Bitmap blank{40, 30, std::vector<std::uint32_t>(40 * 30, 0xFFFFFFFF)};
    EXPECT_TRUE(formulaRows(blank).empty());
    for (int y = 2; y < 28; ++y) {
        blank.pixels[static_cast<std::size_t>(y) * 40 + 16] = 0xFF000000;
        blank.pixels[static_cast<std::size_t>(y) * 40 + 19] = 0xFF000000;
    }
    EXPECT_TRUE(formulaRows(blank).empty());
    // A buffer shorter than its size says is refused, not read past.
    EXPECT_TRUE(
        formulaRows(ui::Bitmap{40, 30, std::vector<std::uint32_t>(10, 0xFF000000)}).empty());
}

TEST(FormulaPreviewImage, ManyFormulasAndTheStackSize) {
    const ui::Bitmap line = picture("forty_formulas");
    const std::vector<FormulaRow> rows = formulaRows(line);
    ASSERT_EQ(rows.size(), 40u);
    const ui::Bitmap stack = stackRows(line, rows);
    EXPECT_EQ(stack.height, kStackTop + 39 * (line.height + 8) + line.height + 30);
    int widest = 0;
    for (const FormulaRow& row : rows) {
        widest = std::max(widest, row.width());
    }
    EXPECT_EQ(stack.width, std::max(widest + 50, kStackMinWidth));
}

TEST(FormulaPreviewImage, ZoomLimitsAndPrintFactors) {
    int zoom = kZoomStart;
    for (int i = 0; i < 20; ++i) {
        zoom = zoomIn(zoom);
    }
    EXPECT_EQ(zoom, 200);
    for (int i = 0; i < 30; ++i) {
        zoom = zoomOut(zoom);
    }
    EXPECT_EQ(zoom, 50);
    EXPECT_EQ(zoomIn(50), 60);

    EXPECT_EQ(screenPrintFactor(794, 1123), 1) << "a page at screen resolution";
    EXPECT_EQ(screenPrintFactor(4960, 7016), 6);
    EXPECT_EQ(screenPrintFactor(0, 0), 1);
    EXPECT_EQ(printPrintFactor(4960), 6);
    EXPECT_EQ(printPrintFactor(300), 1) << "never below 1";
    EXPECT_EQ(printPrintFactor(-5), 1);

    EXPECT_EQ(rowsPerPage(1123, 21, 1), (1123 - 100) / 29);
    EXPECT_EQ(rowsPerPage(7016, 21, 6), (7016 - 100) / (29 * 6));
    EXPECT_EQ(rowsPerPage(50, 400, 3), 1) << "a row taller than the page still prints";

    EXPECT_EQ(rowAt(39, 21), -1);
    EXPECT_EQ(rowAt(40, 21), 0);
    EXPECT_EQ(rowAt(68, 21), 0);
    EXPECT_EQ(rowAt(69, 21), 1);
}

}  // namespace
}  // namespace notation
