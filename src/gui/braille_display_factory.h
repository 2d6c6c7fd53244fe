#pragma once

// The program's Braille display: BrlAPI when the program was built with Debian's libbrlapi-dev,
// otherwise a display that is never there.

#include <memory>

#include "ui/braille_display.h"

namespace gui {

std::unique_ptr<ui::BrailleDisplay> makeBrailleDisplay();

}  // namespace gui
