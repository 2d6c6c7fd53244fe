#pragma once

// The controls of the main window TForm1 as both toolkits build them: kind, caption, place,
// accessible name and the panel that holds them, in tab order. The editors, the linear view,
// the legend and the about panel are placed again by the window's resize logic; the places
// here are where they start.

#include <span>

#include "ui/control_spec.h"

namespace editor {

std::span<const ui::ControlSpec> mainWindowControls();

}  // namespace editor
