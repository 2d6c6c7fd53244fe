// Braille-to-LaTeX on arbitrary bytes; what converts is converted back as well.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "notation/character_signs.h"
#include "notation/conversion.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto latex = notation::convertBrailleToLatex(text, 1);
    if (!latex.ok() && !latex.text.empty()) {
        __builtin_trap();  // a refusal never leaves text behind
    }
    if (latex.ok()) {
        for (const char byte : latex.text) {
            if (notation::isControlByte(byte)) {
                __builtin_trap();  // no control byte reaches the Latex-mode text
            }
        }
        (void)notation::convertLatexToBraille(latex.text, 1);
    }
    return 0;
}
