#pragma once

// Ends the running process at once, as a power cut would stop it: no destructor, no buffer
// flushed, no handler run; only what already reached the system survives. For the crash tests
// of the installer.

namespace installer::system {

[[noreturn]] void endProcessAbruptly();

}  // namespace installer::system
