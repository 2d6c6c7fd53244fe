// Spoken rendering of any bytes in every mode: no crash, no endless loop, no read past the
// line, and the words of a deleted cell always carry their prefix.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "speech/rendering.h"
#include "speech/sheet_voice.h"
#include "speech/speech_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const std::string_view mode : {"all", "key", "last", "canc", ""}) {
        const speech::Rendering r = speech::render(mode, text);
        if (mode == "all" && r.whole.empty() && !r.spoken.empty()) {
            __builtin_trap();  // a diagnostic without any words before it
        }
    }
    const std::string canc = speech::wordsFor("canc", text);
    if (!canc.empty() && canc.rfind(" cancellato ", 0) != 0) {
        __builtin_trap();
    }
    speech::sheetWords(text);
    return 0;
}
