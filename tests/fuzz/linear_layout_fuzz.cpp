// Any line of cells, with the caret anywhere, lays out in bounded time with one caret mark
// inside the line and every item where the line can draw it.
#include "notation/linear_layout.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::size_t caret = data[0];
    const std::string line(reinterpret_cast<const char*>(data + 1), size - 1);
    const notation::FixedMetrics metrics;
    const notation::DisplayLine laid =
        notation::layoutCells(line, std::min(caret, line.size()), metrics);
    int carets = 0;
    for (const notation::DisplayItem& item : laid.items) {
        carets += item.kind == notation::DisplayKind::Caret;
        if (item.x < 0 || item.x > laid.width + 20 || item.x2 > laid.width + 20) {
            std::fprintf(stderr, "item outside the line at x=%d (width %d)\n", item.x, laid.width);
            std::abort();
        }
    }
    if (carets != 1) {
        std::fprintf(stderr, "%d caret marks\n", carets);
        std::abort();
    }
    return 0;
}
