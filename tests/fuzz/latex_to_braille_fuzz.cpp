// LaTeX-to-Braille on arbitrary bytes; what converts is converted back as well. The page
// conversion of the mode switch refuses exactly the unbalanced texts and otherwise gives what
// the formula conversion gives.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "notation/bracket_balance.h"
#include "notation/character_signs.h"
#include "notation/conversion.h"

namespace {

// Nothing but line ends and cells comes out: no control byte reaches a converted text.
void checkClean(const notation::Conversion& c) {
    for (const char byte : c.text) {
        if (notation::isControlByte(byte)) {
            __builtin_trap();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const bool unbalanced = notation::bracketBalance(text) != 0;
    const auto braille = notation::convertLatexToBraille(text, 1);
    const auto page = notation::convertLatexPage(text, 1);
    if (page.unbalanced != unbalanced || (unbalanced && page.conversion.ok()) ||
        (!unbalanced &&
         (page.conversion.text != braille.text || page.conversion.error != braille.error))) {
        __builtin_trap();
    }
    if (braille.ok()) {
        checkClean(braille);
        checkClean(notation::convertBrailleToLatex(braille.text, 1));
    }
    if (!braille.ok() && !braille.text.empty()) {
        __builtin_trap();  // a refusal never leaves text behind
    }
    return 0;
}
