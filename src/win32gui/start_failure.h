#pragma once

// A program that cannot start says so: a message box with what failed (the system shows none
// without a display, so the same text goes to standard error too, which leads to the console
// the program was started from, if any: console.h), and a clean exit status instead of an
// uncaught exception.

#include <functional>
#include <string_view>

namespace win32gui {

inline constexpr int kStartFailed = 1;

// Shows `text` (code page 1252, "\n" between lines) with an error icon and writes it to
// standard error after the program's name.
void reportStartFailure(std::string_view program, std::string_view caption, std::string_view text);

// Runs `run` and returns its status; an exception that escapes it is reported as `heading`
// followed by what failed, and gives kStartFailed.
int runReportingFailure(std::string_view program, std::string_view caption,
                        std::string_view heading, const std::function<int()>& run);

}  // namespace win32gui
