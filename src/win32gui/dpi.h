#pragma once

// The screen's scaling. The programs declare themselves aware of the system's dots per inch
// (their manifest), so Windows draws them as they draw themselves, crisp at 125 % and 150 %
// too. Every size the window logic and the control tables give is in pixels of a 96-dpi screen,
// as in the Qt build; the adapter turns them into the screen's pixels on the way to a window and
// back on the way to the logic, and scales the fonts it makes the same way. At 96 dpi nothing
// changes.

#include "ui/widgets.h"
#include "win32gui/native.h"

namespace win32gui {

// The system's dots per inch (96 at 100 %), read once: it stays for the process's life.
int screenDpi();

// A length in the logic's pixels as screen pixels, and back (rounded to the nearest).
int toScreen(int logical);
int toLogical(int screen);

// A rectangle each way. Its edges are converted, not its size, so controls that touch in the
// logic's pixels touch on the screen too.
RECT toScreen(const ui::Rect& logical);
ui::Rect toLogical(const RECT& screen);

}  // namespace win32gui
