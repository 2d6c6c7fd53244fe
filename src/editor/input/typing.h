#pragma once

// Plain typing in the Braille editor. What is spoken while typing is built by the speech
// requests of speech/request_sources.h.

namespace editor {

// The character a plain key press puts into the Braille editor: codes 127 and 166 become "_".
char plainTypedChar(char c);

}  // namespace editor
