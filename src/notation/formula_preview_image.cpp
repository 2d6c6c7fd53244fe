#include "notation/formula_preview_image.h"

#include <algorithm>

namespace notation {

namespace {

constexpr std::uint32_t kWhitePixel = 0xFFFFFFFF;

// A stroke taller than this many times its width; lower marks are letters, not bars.
constexpr int kStrokeSlenderness = 3;

bool dark(const ui::Bitmap& image, int x, int y) {
    if (x < 0 || y < 0 || x >= image.width || y >= image.height) {
        return false;
    }
    return !isWhite(image.pixels[static_cast<std::size_t>(y) * image.width + x]);
}

bool darkColumn(const ui::Bitmap& image, int x, int top, int bottom) {
    for (int y = top; y <= bottom; ++y) {
        if (!dark(image, x, y)) {
            return false;
        }
    }
    return true;
}

bool whiteColumn(const ui::Bitmap& image, int x, int top, int bottom) {
    for (int y = top; y <= bottom; ++y) {
        if (dark(image, x, y)) {
            return false;
        }
    }
    return true;
}

bool wellFormed(const ui::Bitmap& image) {
    return !image.empty() &&
           image.pixels.size() >= static_cast<std::size_t>(image.width) * image.height;
}

}  // namespace

bool isWhite(std::uint32_t pixel) {
    return (pixel & 0xFFFFFF) == 0xFFFFFF;
}

std::optional<DoubleBar> firstDoubleBar(const ui::Bitmap& image) {
    if (!wellFormed(image)) {
        return std::nullopt;
    }
    int x = -1;
    int y = 0;
    for (int column = 0; column < std::min(kDoubleBarSearchColumns, image.width) && x < 0;
         ++column) {
        for (int row = 0; row < image.height; ++row) {
            if (dark(image, column, row)) {
                x = column;
                y = row;
                break;
            }
        }
    }
    if (x < 0) {
        return std::nullopt;
    }
    DoubleBar bar;
    bar.top = y;
    while (dark(image, x, bar.top - 1)) {
        --bar.top;
    }
    bar.bottom = y;
    while (dark(image, x, bar.bottom + 1)) {
        ++bar.bottom;
    }
    int firstEnd = x;
    while (dark(image, firstEnd + 1, bar.bottom)) {
        ++firstEnd;
    }
    bar.strokeWidth = firstEnd - x + 1;
    int second = firstEnd + 1;
    while (second < image.width && !dark(image, second, bar.bottom)) {
        ++second;
    }
    const int height = bar.bottom - bar.top + 1;
    // The mark must be a tall thin stroke with a second one of the same height close by.
    if (second >= image.width || height < kStrokeSlenderness * bar.strokeWidth ||
        second - firstEnd > height || !darkColumn(image, second, bar.top, bar.bottom)) {
        return std::nullopt;
    }
    int secondEnd = second;
    while (dark(image, secondEnd + 1, bar.bottom)) {
        ++secondEnd;
    }
    bar.pairSpan = secondEnd - firstEnd + 1;
    bar.end = secondEnd;
    // Smoothed edges can make one stroke of the pair a pixel wider than the other: the test
    // for white beside a stroke must clear the wider one.
    bar.strokeWidth = std::max(bar.strokeWidth, secondEnd - second + 1);
    return bar;
}

std::vector<int> findStrokes(const ui::Bitmap& image, const DoubleBar& bar) {
    std::vector<int> strokes;
    if (!wellFormed(image)) {
        return strokes;
    }
    for (int x = bar.end + 1; x < image.width; ++x) {
        if (dark(image, x, bar.top) && darkColumn(image, x, bar.top, bar.bottom) &&
            whiteColumn(image, x - 1, bar.top, bar.bottom) &&
            whiteColumn(image, x + bar.strokeWidth, bar.top, bar.bottom)) {
            strokes.push_back(x);
        }
    }
    return strokes;
}

std::vector<FormulaRow> formulaRows(const ui::Bitmap& image) {
    std::vector<FormulaRow> rows;
    const std::optional<DoubleBar> bar = firstDoubleBar(image);
    if (!bar) {
        return rows;
    }
    const std::vector<int> strokes = findStrokes(image, *bar);
    int previousEnd = bar->end;
    for (std::size_t i = 0; i < strokes.size() && rows.size() < kMaxPreviewRows;) {
        std::size_t j = i + 1;
        while (j < strokes.size() && strokes[j] - strokes[j - 1] < bar->pairSpan) {
            ++j;
        }
        if (j - i >= 2) {
            const FormulaRow row{previousEnd + 1, strokes[i] - 2};
            if (row.right >= row.left) {
                rows.push_back(row);
            }
            previousEnd = strokes[j - 1] + bar->strokeWidth - 1;
        }
        i = j;
    }
    return rows;
}

ui::Bitmap stackRows(const ui::Bitmap& image, const std::vector<FormulaRow>& rows) {
    int widest = 0;
    for (const FormulaRow& row : rows) {
        widest = std::max(widest, row.width());
    }
    const int h = std::max(image.height, 0);
    ui::Bitmap stack;
    stack.width = std::max(widest + 50, kStackMinWidth);
    const int lastBottom =
        rows.empty() ? 0 : kStackTop + static_cast<int>(rows.size() - 1) * (h + kRowGap) + h;
    stack.height = std::max(lastBottom + 30, kStackMinHeight);
    stack.pixels.assign(static_cast<std::size_t>(stack.width) * stack.height, kWhitePixel);
    if (!wellFormed(image)) {
        return stack;
    }
    for (std::size_t k = 0; k < rows.size(); ++k) {
        const FormulaRow& row = rows[k];
        const int top = kStackTop + static_cast<int>(k) * (h + kRowGap);
        const int left = std::clamp(row.left, 0, image.width);
        const int right = std::clamp(row.right, left - 1, image.width - 1);
        for (int y = 0; y < h; ++y) {
            const auto from =
                image.pixels.begin() + static_cast<std::ptrdiff_t>(y) * image.width + left;
            std::copy(from, from + (right - left + 1),
                      stack.pixels.begin() + static_cast<std::ptrdiff_t>(top + y) * stack.width);
        }
    }
    return stack;
}

int screenPrintFactor(int pageWidth, int pageHeight) {
    return std::max(1, (std::min(pageWidth, pageHeight) + 1) / 800);
}

int printPrintFactor(int pageWidth) {
    return std::max(1, pageWidth / 748);
}

int rowsPerPage(int pageHeight, int imageHeight, int factor) {
    const int band = (std::max(imageHeight, 0) + kRowGap) * std::max(factor, 1);
    return std::max(1, (pageHeight - 100) / band);
}

int rowAt(int y, int imageHeight) {
    if (y < kRowViewTop) {
        return -1;
    }
    return (y - kRowViewTop) / (std::max(imageHeight, 0) + kRowGap);
}

int zoomIn(int zoom) {
    return std::clamp(zoom + kZoomStep, kZoomMin, kZoomMax);
}

int zoomOut(int zoom) {
    return std::clamp(zoom - kZoomStep, kZoomMin, kZoomMax);
}

}  // namespace notation
