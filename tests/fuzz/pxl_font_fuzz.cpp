// PXL raster fonts (and, for inputs of odd length, "!F!" files): any bytes give a resolution
// or a message naming the file; never a read outside the bytes.

#include <cstddef>
#include <cstdint>
#include <string>

#include "raster_font_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A copy of exactly `size` bytes, so that ASan sees any read past them.
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    fuzz::checkRasterRead(size % 2 ? installer::tex::readPxl(bytes, "<font>", false)
                                   : installer::tex::readPxl(bytes, "<font>"));
    return 0;
}
