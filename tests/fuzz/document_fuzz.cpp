// Document files and the embosser layout on arbitrary bytes: reading never fails but by
// rejecting the file, what is written once reads back and writes again unchanged, and every
// printed piece fits the width.

#include "editor/braille_print.h"
#include "editor/document_file.h"
#include "editor/text_lines.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    editor::PageStore pages;
    if (!editor::parseDocument(bytes, pages)) {
        return 0;
    }
    const std::string first = editor::formatDocument(pages);
    editor::PageStore again;
    if (!editor::parseDocument(first, again) || editor::formatDocument(again) != first) {
        std::abort();
    }
    const int width = size > 0 ? 4 + data[0] % 40 : 4;
    for (int page = 1; page <= editor::kPageCount; ++page) {
        for (std::string_view line : editor::editorLines(pages.brailleOf(page))) {
            for (std::string_view piece : editor::breakBrailleLine(line, width)) {
                if (piece.size() > static_cast<std::size_t>(width) ||
                    (piece.empty() && !line.empty())) {
                    std::abort();
                }
            }
        }
        if (!editor::embosserFile("f.mtf", pages.brailleOf(page), width, 1 + size % 30)) {
            std::abort();
        }
    }
    return 0;
}
