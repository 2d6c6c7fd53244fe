#pragma once

// The registry keys the installer writes besides the queued values: the system fonts key,
// the product key and the uninstall entry.

#include <string>

#include "installer/system/system.h"

namespace installer {

// "SOFTWARE\Microsoft\Windows" + " NT" on Windows NT + "\CurrentVersion\Fonts", under
// HKEY_LOCAL_MACHINE.
std::string systemFontsKey(system::System& sys);

// "SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\" + the product's uninstall key name,
// under HKEY_LOCAL_MACHINE.
std::string uninstallKey(const std::string& keyName);

}  // namespace installer
