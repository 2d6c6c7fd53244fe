// The configuration reader on any bytes: it never fails, and what it read survives a write
// and a second read unchanged.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "editor/settings/configuration.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    editor::Settings settings;
    editor::readConfiguration(std::string_view(reinterpret_cast<const char*>(data), size),
                              settings);
    const std::string written = editor::writeConfiguration(settings);
    editor::Settings again;
    editor::readConfiguration(written, again);
    if (editor::writeConfiguration(again) != written) {
        std::abort();
    }
    return 0;
}
