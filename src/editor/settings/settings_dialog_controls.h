#pragma once

// The controls of the settings dialog TForm3 as both toolkits build them, in tab order: each
// field just after the label that names it.

#include <span>

#include "ui/control_spec.h"

namespace editor {

std::span<const ui::ControlSpec> settingsDialogControls();

// The dialog's inner size, in pixels.
inline constexpr int kSettingsDialogWidth = 468;
inline constexpr int kSettingsDialogHeight = 436;

}  // namespace editor
