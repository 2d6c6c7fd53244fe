#pragma once

// The machine the installer runs on, for an installation into the real system rather than a
// sandbox: the Win32 system layer on Windows; none elsewhere (a Linux build installs into
// sandboxes only).

#include <memory>

#include "installer/system/system.h"

namespace installer::system {

// Null when this build has no system layer for the machine it runs on.
std::unique_ptr<System> openThisMachine();

}  // namespace installer::system
