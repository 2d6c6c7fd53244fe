#pragma once

// Line helpers shared by the editor's algorithms. Texts use CR LF line breaks; a lone CR or a
// lone LF is taken as a line break too, so that text that did not come through an editor is
// still read line by line.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace editor {

// The lines of an editor's text, as the editor lists them: a line break at the very end of the
// text does not start another line, and an empty text has no lines. The views point into `text`.
std::vector<std::string_view> editorLines(std::string_view text);

// The position where the line holding `caret` starts (just after the previous line feed).
// A caret past the end counts as the end.
std::size_t lineStartOf(std::string_view text, std::size_t caret);

// The number of the line holding `caret`, counted from 0 by the line feeds before it.
std::size_t lineNumberOf(std::string_view text, std::size_t caret);

// Where a caret goes to stand on line `line` of `text` (the last line when the text has fewer):
// `kept` when it already lies on that line, else the line's start.
std::size_t caretOnLine(std::string_view text, std::size_t line, std::size_t kept);

}  // namespace editor
