#pragma once

#include <string>

namespace app {

// Whether a window can be shown: a platform plugin was named (QT_QPA_PLATFORM), a Wayland
// display is set, or the X display named by DISPLAY accepts a connection. Without one, Qt
// would abort; the program says how to run it instead. `why` gets the reason on failure.
bool displayAvailable(std::string& why);

// The text printed when no display is available.
std::string noDisplayAdvice(const std::string& program, const std::string& why);

}  // namespace app
