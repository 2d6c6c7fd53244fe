#pragma once

// The controls of the installer's windows as a toolkit builds them, in tab order: a label just
// before the control it names, captions with their access keys, the names screen readers
// announce (the same on every build) and where each control stands in the window's inner area,
// in pixels (MS Sans Serif 8-point dialog units made pixels, with room for larger fonts).
//
// Texts the logic sets as the window opens (the prompt, the values, the group's name in the
// Details window) have no caption here.

#include <span>

#include "ui/control_spec.h"

namespace installer {

struct WindowTable {
    std::span<const ui::ControlSpec> controls;
    int width = 0;  // the inner area
    int height = 0;
};

// The main window: the components, the destination, the space, the buttons.
WindowTable mainDialogControls();
// The Details window on one group; its label "Group" shows the group's name and names the list.
WindowTable detailsDialogControls();
WindowTable progressDialogControls();
WindowTable diskPromptControls();
WindowTable licenseDialogControls();
WindowTable aboutDialogControls();

}  // namespace installer
