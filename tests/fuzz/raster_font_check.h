#pragma once

// What every raster-font reader promises, for any bytes: a resolution of 1 to 65535 dots per
// inch, or a message; every message names the file ("<font>").

#include <cstdlib>
#include <string>

#include "installer/tex/raster_fonts.h"

namespace fuzz {

inline void checkRasterRead(const installer::tex::RasterRead& r) {
    if (r.resolution ? (*r.resolution < 1 || *r.resolution > 0xFFFF) : r.messages.empty()) {
        std::abort();
    }
    for (const auto& message : r.messages) {
        if (message.find("<font>") == std::string::npos) {
            std::abort();
        }
    }
}

}  // namespace fuzz
