#pragma once

// Splitting a program's command line, written as one string in the settings, into the program
// and its arguments the way a shell would: blanks separate words, double quotes keep blanks
// inside a word (a quoted path with blanks stays one word) and are removed. Backslashes are
// ordinary characters, so Windows paths pass unchanged.

#include <string>
#include <string_view>
#include <vector>

namespace ui {

std::vector<std::string> splitCommandLine(std::string_view commandLine);

}  // namespace ui
