#pragma once

// Convert page: one page of Braille-mode text to the XHTML lines of the MathML export. Each
// text region becomes a centred bold line, each formula one MathML block, each followed by a
// separator line. Pure functions; any input gives well-formed XML.

#include <string>
#include <string_view>
#include <vector>

namespace notation {

// The separator written after each text line and each formula block.
inline constexpr std::string_view kMathmlSeparator =
    "<h2><center> ______________________________________ </center></h2>";

// One piece of a page line: a text region (its words, without the "\\" delimiters) or a
// formula (Braille cells, blanks at both ends removed).
struct PageSegment {
    bool textRegion = false;
    std::string content;
};

// The pieces of a page, line by line and in the order they stand. Empty lines and blank
// formulas give no piece. A text region without its closing "\\" runs to the end of its line.
std::vector<PageSegment> pageSegments(std::string_view page);

// The MathML block of one formula: the "math" element with display="block", its "mrow" and
// the content, lines separated by CR LF (no line break at the end).
std::string formulaMathml(std::string_view cells);

// The XHTML lines of one page (without line breaks).
std::vector<std::string> convertPage(std::string_view page);

}  // namespace notation
