#pragma once

// The speech requests that windows send, built from the editor's text and caret. Offsets
// count a line break (CR LF) as two characters, as the edit boxes do. Each builder returns
// the whole request; the window only checks that speech is on before sending it (the reader
// checks again). Builders that may have nothing to say return nullopt.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "speech/speech_request.h"

namespace speech {

// Where the line that holds `caret` starts: just after the previous line feed, or 0.
std::size_t lineStart(std::string_view text, std::size_t caret);

// A character typed in the Braille box: "key", the line up to the caret followed by the
// character (127 and 166 are typed as '_').
Request typedKeyRequest(const std::string& programDirectory, std::string_view text,
                        std::size_t caret, char typed);

// Backspace, before the edit: "canc", the line up to the caret, whose last cell is the one
// removed. At the start of a line the line break goes, and that is what is said.
// Nothing at the start of the text.
std::optional<Request> backspaceRequest(const std::string& programDirectory, std::string_view text,
                                        std::size_t caret);

// Delete, before the edit: "canc", the line through the cell after the caret. Nothing when
// a selection is there or no cell follows the caret.
std::optional<Request> deleteRequest(const std::string& programDirectory, std::string_view text,
                                     std::size_t caret, std::size_t selectionLength);

// Left or Right released: "last", the line through the cell after the caret (nothing when
// none follows). With Shift and Right, the line through the last selected cell (nothing when
// the selection is empty). Nothing when the text is empty.
std::optional<Request> arrowRequest(const std::string& programDirectory, std::string_view text,
                                    std::size_t caret, bool shiftRight, std::size_t selectionStart,
                                    std::size_t selectionLength);

// Up or Down released: "all" at `rate`, the whole line that holds the caret; a single blank
// when that line is blank. Nothing when the text is empty.
std::optional<Request> lineRequest(const std::string& programDirectory, std::string_view text,
                                   std::size_t caret, const std::string& rate);

// A cell entered by chord input: "last", the line up to the caret.
Request chordRequest(const std::string& programDirectory, std::string_view text, std::size_t caret);

// A cell entered through the numeric keypad: "key", the text from its start to the caret.
Request keypadRequest(const std::string& programDirectory, std::string_view text,
                      std::size_t caret);

// After a page change in Braille mode: "Pagina " and the number, as an announcement.
Request pageRequest(const std::string& programDirectory, int page);

// After the keyboard input mode was toggled: chord input on or off.
Request inputModeRequest(const std::string& programDirectory, bool chordInputOn);

// Words said as words, not read as cells (why a key did nothing, a verdict): an
// announcement with an empty mode word.
Request announcementRequest(const std::string& programDirectory, std::string_view words);

// Only silences what is being spoken (menus opened, settings dialog).
Request silenceRequest(const std::string& programDirectory);

// The key codes of the learning windows that are no keys: a removed cell and a message.
inline constexpr int kKeyCodeDeleted = 256;
inline constexpr int kKeyCodeError = 999;

// The mode word for a key code, used by the learning windows: Left/Right "last", Up/Down
// "all", 256 "canc", 999 "error", anything else "key".
std::string_view modeForKeyCode(int keyCode);

// The request for a key code and the text to speak.
Request keyCodeRequest(const std::string& programDirectory, int keyCode, std::string text);

}  // namespace speech
