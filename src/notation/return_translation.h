#pragma once

// The return translation: what the graphic formula editor saved into the exchange file, back
// into Latex-mode notation. Fixed passes undo what the editor changes of the notation (accents
// inside text regions, escaped braces, blanks, colons, TeX fractions and roots, overlines of
// periodic decimals); the rules of the filter table adapt the output of a given editor.
//
// A start-of-line or body pattern that ends in a command word ("\\le") matches only where no
// letter follows, as TeX reads commands, so it leaves "\\left" alone. A pattern ending in
// "{...}" ("\\text{...}") matches the command with its whole brace group, and "..." in the
// replacement stands for the group's content. Letters that a replacement puts right after a
// command are kept apart from it by a blank.

#include <string>
#include <string_view>

#include "notation/filter_table.h"
#include "notation/formula_error_report.h"

namespace notation {

// Translates `text`, the whole exchange-file text with its lines already joined. The last
// character of the text (the closing "$" or the line end the editor wrote) is never part of
// the result. An empty text gives an empty result.
//
// A power of a power of a power is refused: "Formato non ammesso - usare espressione fra
// parentesi" goes through `report`, whose flag is then lowered again, and the result is empty
// (the caller leaves the page as it was). The text-region state is local to each call.
std::string returnTranslation(std::string_view text, const FilterTable& table,
                              FormulaErrorReport& report);

}  // namespace notation
