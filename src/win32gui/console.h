#pragma once

// Standard output and error of a program without a console of its own (a GUI program): where
// they were redirected to a file or a pipe, they stay so; otherwise, when the program was
// started from a console (a command prompt), its lines go to that console. Started from the
// desktop there is none, and what is written goes nowhere.

namespace win32gui {

// Call before the first line is written. True when standard output or error leads somewhere.
bool connectStandardStreams();

}  // namespace win32gui
