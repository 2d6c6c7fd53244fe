// Any picture gives at most 301 rows, each inside the picture, and a stacked picture of the
// size its rows ask for.
#include "notation/formula_preview_image.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    // The first byte is the width; every later byte is eight pixels, a set bit dark.
    ui::Bitmap image;
    image.width = data[0] % 64 + 1;
    const std::size_t pixels = (size - 1) * 8;
    image.height = static_cast<int>(pixels / static_cast<std::size_t>(image.width));
    if (image.height == 0) {
        return 0;
    }
    image.pixels.resize(static_cast<std::size_t>(image.width) * image.height);
    for (std::size_t i = 0; i < image.pixels.size(); ++i) {
        const bool dark = (data[1 + i / 8] >> (i % 8)) & 1;
        image.pixels[i] = dark ? 0xFF000000 : 0xFFFFFFFF;
    }
    const auto rows = notation::formulaRows(image);
    if (rows.size() > static_cast<std::size_t>(notation::kMaxPreviewRows)) {
        std::abort();
    }
    for (const notation::FormulaRow& row : rows) {
        if (row.left < 0 || row.right >= image.width || row.right < row.left) {
            std::fprintf(stderr, "row %d..%d outside a picture %d wide\n", row.left, row.right,
                         image.width);
            std::abort();
        }
    }
    const ui::Bitmap stack = notation::stackRows(image, rows);
    if (stack.pixels.size() != static_cast<std::size_t>(stack.width) * stack.height) {
        std::abort();
    }
    return 0;
}
