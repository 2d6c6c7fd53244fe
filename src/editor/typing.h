#pragma once

// Plain typing in the Braille editor and the texts spoken while typing. Carets count the
// characters before them, CR LF as two.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace editor {

// The character a plain key press puts into the Braille editor: codes 127 and 166 become "_".
char plainTypedChar(char c);

// The caret's line from its start up to the caret: spoken with "last" after a chord.
std::string_view lineToCaret(std::string_view text, std::size_t caret);

// The caret's line up to the caret followed by the typed character: spoken with "key".
std::string keySpeechText(std::string_view text, std::size_t caret, char typed);

// What Backspace (`backspace` true) or Delete is about to remove, spoken with "canc": the line
// from its start up to and including the character removed (a line break removed whole).
// nullopt when the key removes nothing (Backspace at the start, Delete at the end).
std::optional<std::string> deletionSpeechText(std::string_view text, std::size_t caret,
                                              bool backspace);

}  // namespace editor
