#pragma once

// A refreshable Braille display reached directly (on Linux through BrlAPI, the server that
// BRLTTY runs), beside the screen reader. The workbench takes the display only while the Braille
// editor has the focus and gives it back to the screen reader otherwise.
//
// Every call is made on the window thread; keys come back on it too. An implementation without a
// display (none connected, no server, or a build without BrlAPI) reports width 0 and ignores the
// rest, silently: the program goes on as without a display.

#include <cstdint>
#include <functional>
#include <vector>

namespace ui {

// A cell's dots: dot 1 = bit 0 ... dot 8 = bit 7.
using BrailleDots = std::uint8_t;

struct DisplayKey {
    enum Kind { Route, PanLeft, PanRight };
    Kind kind = Route;
    int cell = 0;  // for Route: the cell whose routing key was pressed, from 0
};

class BrailleDisplay {
public:
    virtual ~BrailleDisplay() = default;
    // Takes the display when it is free to take (connecting to the server when needed) and
    // returns its width in cells, 0 when there is no display.
    virtual int acquire() = 0;
    // Shows `cells` from the first cell on; the rest of the display is blank.
    virtual void show(const std::vector<BrailleDots>& cells) = 0;
    // Gives the display back to the screen reader.
    virtual void release() = 0;
    // Routing and panning keys pressed while the display is held.
    virtual void setOnKey(std::function<void(DisplayKey)> onKey) = 0;
};

}  // namespace ui
