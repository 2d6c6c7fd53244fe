#pragma once

// The six symbol palettes of Latex mode: named constructs whose Latex text is inserted at the
// caret of the Latex editor, the caret then placed where the student goes on typing.

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace editor {

struct PaletteEntry {
    std::string_view name;   // shown in the list
    std::string_view latex;  // inserted
};

struct Palette {
    std::string_view caption;  // the button
    std::size_t capacity;      // longest name or text an entry may have
    std::span<const PaletteEntry> entries;
};

// The palettes in the order of their buttons: "Funzioni", "Operatori", "Insiemistica",
// "Logica mat.", "Lett.greche", "Simboli".
std::span<const Palette> palettes();

// The palette of a button caption; nullptr for any other caption.
const Palette* paletteByCaption(std::string_view caption);

struct PaletteInsertion {
    std::string text;
    std::size_t caret = 0;
};

// Inserts `latex` into `text` at `caret` (a selection is not replaced). The caret then goes after
// the first of % ( [ { | in the inserted text (after the second character when that is %), or
// after the whole text when it holds none of them; never past the end of the result.
PaletteInsertion insertPaletteText(std::string_view text, std::size_t caret,
                                   std::string_view latex);

}  // namespace editor
