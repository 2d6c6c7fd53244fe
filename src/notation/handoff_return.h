#pragma once

// The graphic-editor hand-off, returning side: reading the exchange file the editor saved,
// turning it into the text that goes back into the page, and putting it in place of the page
// or the selection. Pure functions; the window reads the file, shows the warnings, sets the
// page text and caret and refreshes the views.
//
// For the window, after the editor has ended:
//   1. readBackExchange(file bytes) -> warn handoff_text::kTooLongFromEditor if flagged.
//   2. returnedText(read back, return translation).
//   3. placeLatexResult or placeBrailleResult -> when `changed`, the new page text and caret.

#include "notation/handoff_outgoing.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace notation {

// The lines of the exchange file (CR LF, LF or CR line ends) joined with no separator; in
// each line every "||" becomes a line break (CR LF), except that the bar of "\left|" or
// "\right|" is never taken as half of one.
std::string joinExchangeLines(std::string_view fileContent);

struct ReadBack {
    std::string text;                // joined, every "\  " reduced to "\ "
    bool tooLongFromEditor = false;  // warn handoff_text::kTooLongFromEditor, then go on
};

ReadBack readBackExchange(std::string_view fileContent);

// The return translation of the editor's TeX into Latex-mode text; empty when it is refused
// (the translation has reported why).
using ReturnTranslation = std::function<std::string(std::string_view)>;

// What goes back into the page: the translation of `readBack` (not called for an empty text)
// with blanks removed at both ends, a single blank when nothing is left, always ending with a
// line break.
std::string returnedText(std::string_view readBack, const ReturnTranslation& translate);

// True when `returned` holds nothing but blanks and line breaks: the editor gave nothing
// back, or the translation refused it. The page is then left as it is.
bool nothingCameBack(std::string_view returned);

struct Placement {
    bool changed = false;   // false: leave the page, its text and caret as they are
    std::string page;       // the new page text
    std::size_t caret = 0;  // the new caret offset (CR LF counted as two)
};

// Latex mode: `returned` replaces the whole page (scope "tutto") or the selection, and the
// caret goes back to where it was before the hand-off (kept inside the new text). A selection
// gets the returned text without the line break that ends it, unless the selection itself
// ended with one, so that a formula sent from inside a line stays on that line.
Placement placeLatexResult(std::string_view page, TextSelection selection, bool wholePage,
                           std::string_view returned, std::size_t rememberedCaret);

// LaTeX-to-Braille conversion of the returned text; nullopt when it is refused (the
// conversion has reported why).
using ToBrailleConversion = std::function<std::optional<std::string>(std::string_view)>;

// Braille mode: the returned text, converted to Braille cells, replaces the whole Braille page
// (scope "tutto", caret where it was) or the selection (caret after the inserted cells). A
// refused conversion leaves the page as it is: the student's cells are never replaced by an
// empty text.
Placement placeBrailleResult(std::string_view page, TextSelection selection, bool wholePage,
                             std::string_view returned, std::size_t rememberedCaret,
                             const ToBrailleConversion& toBraille);

}  // namespace notation
