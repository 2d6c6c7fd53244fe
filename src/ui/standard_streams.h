#pragma once

// Standard input and output as bytes. The command-line programs read and write code page 1252
// text with CR LF where the text holds it; Windows' C runtime would otherwise turn every LF
// into CR LF on output, drop CRs and stop at the byte 0x1A on input.

namespace ui {

// Puts standard input, output and error into binary mode (nothing to do on POSIX systems).
void useBinaryStandardStreams();

}  // namespace ui
