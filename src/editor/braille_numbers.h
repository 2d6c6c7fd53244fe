#pragma once

// Numbers in Braille text, for the editor: the one definition lives with the notation, where
// the learning tools read it too.

#include "notation/braille_numbers.h"

namespace editor {

using notation::isDigitCell;
using notation::kDigitCells;
using notation::kNumberSign;
using notation::numberDigits;

}  // namespace editor
