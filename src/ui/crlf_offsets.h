#pragma once

// Positions in core text count a line break (CR LF) as two characters, as the edit controls
// the workbench was designed for do; a display toolkit counts a line break as one. These
// functions convert between the two for one text.
//
// Text boxes hold line breaks as CR LF only: normalizeLineBreaks turns a lone CR or a lone LF
// into CR LF, so that both counts stay in step whatever was pasted or loaded.

#include <cstddef>
#include <string>
#include <string_view>

namespace ui {

// The text with every lone CR and every lone LF written as CR LF.
std::string normalizeLineBreaks(std::string_view text);

// The display position of a CR LF-counted offset in `text` (CR LF line breaks). An offset
// between CR and LF is taken as the end of its line; an offset past the end is the end.
std::size_t displayPosition(std::string_view text, std::size_t offset);

// The CR LF-counted offset of a display position in `text`. A position past the end is the
// end of the text.
std::size_t coreOffset(std::string_view text, std::size_t position);

// An offset moved off the middle of a CR LF pair (to the end of its line) and into the text.
std::size_t snapOffset(std::string_view text, std::size_t offset);

}  // namespace ui
