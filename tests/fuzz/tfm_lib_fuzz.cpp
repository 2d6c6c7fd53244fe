// TFM.LIB: any bytes either give a directory whose every entry lies inside the file, or raise
// code 5 naming the library; never a read outside the bytes.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "installer/cerror.h"
#include "installer/tex/font_library.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A copy of exactly `size` bytes, so that ASan sees any read past them.
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    try {
        for (const auto& entry : installer::tex::readLibraryDirectory(bytes, "TFM.LIB")) {
            if (entry.name.empty() || entry.name.size() > 8 || entry.offset > bytes.size() ||
                entry.length > bytes.size() - entry.offset) {
                std::abort();
            }
        }
    } catch (const installer::CError& e) {
        if (e.code() != installer::CError::kCorrupted || e.file() != "TFM.LIB") {
            std::abort();
        }
    }
    return 0;
}
