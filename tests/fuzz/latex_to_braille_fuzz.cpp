// LaTeX-to-Braille on arbitrary bytes; what converts is converted back as well.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "notation/bracket_balance.h"
#include "notation/conversion.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    (void)notation::bracketBalance(text);
    const auto braille = notation::convertLatexToBraille(text, 1);
    if (braille.ok()) {
        (void)notation::convertBrailleToLatex(braille.text, 1);
    }
    if (!braille.ok() && !braille.text.empty()) {
        __builtin_trap();  // a refusal never leaves text behind
    }
    return 0;
}
