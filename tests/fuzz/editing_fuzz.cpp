// The editing algorithms on arbitrary text and carets: no crash, carets stay inside the text,
// deletions only remove, restores give back what was there, spacing round trips.

#include "editor/input/deletions.h"
#include "editor/input/editing.h"
#include "editor/input/palettes.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    const std::size_t caret = data[0] | (static_cast<std::size_t>(data[1]) << 8);
    const std::string text(reinterpret_cast<const char*>(data + 2), size - 2);

    editor::Deletions deletions;
    for (int s = 0; s < 5; ++s) {
        const auto r = deletions.deleteStructure(text, caret, static_cast<editor::Structure>(s));
        if (r.changed) {
            check(r.text.size() < text.size() && r.caret <= r.text.size());
            const auto back = deletions.restoreStructure();
            check(back.changed && back.text == text);
        }
    }
    for (int p = 0; p < 10; ++p) {
        const auto r =
            deletions.deletePartial(text, caret, static_cast<editor::PartialDeletion>(p));
        if (r.changed) {
            check(r.text.size() < text.size() && r.caret <= r.text.size());
            const auto back = deletions.restorePartial();
            check(back.changed && back.text == text);
        }
    }

    if (const auto dup = editor::duplicateLine(text, caret)) {
        check(dup->text.size() > text.size() && dup->caret <= dup->text.size());
    }
    for (auto notation : {editor::Notation::Latex, editor::Notation::Braille}) {
        const std::string spaced = editor::addBracketSpaces(text, notation);
        // Removing undoes adding when no brackets had spaces beside them.
        if (editor::removeBracketSpaces(text, notation) == text) {
            check(editor::removeBracketSpaces(spaced, notation) == text);
        }
    }
    const auto inserted = editor::insertPaletteText(text, caret, "\\frac{}{}");
    check(inserted.caret <= inserted.text.size());
    return 0;
}
