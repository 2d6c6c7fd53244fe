// The hand-off's text work on any input: the exchange line stays one line, the read-back
// and the placing of a result never leave their texts.
#include "notation/handoff_outgoing.h"
#include "notation/handoff_return.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void require(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "%s\n", what);
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const notation::OutgoingFormula out =
        notation::prepareOutgoing(text, 1, size % 2 == 1, [](std::string_view) { return 0; });
    require(out.exchangeLine.find_first_of("\r\n") == std::string::npos,
            "the exchange line holds a line break");

    const notation::ReadBack back = notation::readBackExchange(text);
    require(back.text.find("\\  ") == std::string::npos, "a doubled visible space came back");
    const std::string returned =
        notation::returnedText(back.text, [](std::string_view s) { return std::string(s); });
    require(returned.ends_with('\n'), "the returned text does not end with a line break");

    const std::size_t start = size == 0 ? 0 : data[0] * 7 % (size + 3);
    const std::size_t length = size < 2 ? 0 : data[1] * 5 % (size + 3);
    const notation::Placement placed =
        notation::placeLatexResult(text, {start, length}, false, returned, start + length);
    require(placed.caret <= placed.page.size(), "the caret left the page");
    const notation::Placement braille = notation::placeBrailleResult(
        text, {start, length}, size % 3 == 0, returned, start,
        [](std::string_view s) -> std::optional<std::string> { return std::string(s); });
    require(braille.caret <= braille.page.size(), "the Braille caret left the page");
    return 0;
}
