#pragma once

// The two conversions between the linear notations of a page, and the mode switch that
// converts all fifteen pages.
//
// Latex-mode text: LaTeX-like ASCII (code page 1252, CR LF lines) with the notation's own
// conventions (text regions between "\\" pairs, "%" absolute value, "'" periodic decimals...).
// Braille-mode text: one ASCII braille cell per character (see braille_cells.h).
//
// Each conversion checks the formula and refuses what the Braille notation cannot express.
// A refusal is a message of the form "Pagina " N, CR LF, text (see messages.h). Neither
// conversion ever reads or writes outside its input, whatever bytes it holds.

#include <array>
#include <string>
#include <string_view>

#include "notation/formula_error_report.h"

namespace notation {

// A formula text may hold at most this many characters.
inline constexpr std::size_t kMaxFormulaLength = 1800;

struct Conversion {
    std::string text;   // the converted text; empty when refused
    std::string error;  // the whole message of a refusal; empty on success
    bool ok() const { return error.empty(); }
};

// Latex-mode text of page `page` to Braille-mode text. The 1800-character limit is measured
// after the text regions have been taken out.
Conversion convertLatexToBraille(std::string_view latex, int page);

// A Latex-mode page as the mode switch converts it: its brackets must balance (bracketBalance)
// before anything else is looked at; `unbalanced` says that this was the refusal.
struct LatexPageConversion {
    Conversion conversion;
    bool unbalanced = false;
};
LatexPageConversion convertLatexPage(std::string_view latex, int page);

// Braille-mode text of page `page` to Latex-mode text. The 1800-character limit is measured on
// the whole input, text regions included.
Conversion convertBrailleToLatex(std::string_view braille, int page);

// The same conversions for the window: a refusal goes through `report` (which raises its flag
// and tells its sink) and the result is empty. The caller clears the flag when it stops.
std::string latexToBraille(std::string_view latex, int page, FormulaErrorReport& report);
std::string brailleToLatex(std::string_view braille, int page, FormulaErrorReport& report);

using PageTexts = std::array<std::string, 15>;
using PageFlags = std::array<bool, 15>;

enum class ConversionDirection {
    LatexToBraille,  // leaving Latex mode
    BrailleToLatex,  // leaving Braille mode
};

// The mode switch: converts the fifteen pages of the mode being left into the other mode's
// pages, page 1 to 15 in order, and returns whether the switch may go on.
// - Every source page is checked for bracket balance (the Latex-mode text before LaTeX-to-
//   Braille, the result after Braille-to-LaTeX). Unbalanced: "Pagina " N, CR LF, "Errore nelle
//   parentesi " is reported and the loop ends there.
// - A refused conversion is reported and the loop goes on with the next page; the switch is
//   cancelled.
// A page refused either way keeps both its texts as they were. When `unconverted` is given it
// marks the pages whose target text was not brought in step with their source: those
// refused and those after an unbalanced page. Source pages are never changed; an empty page
// converts to an empty page.
bool convertAllPages(ConversionDirection direction, PageTexts& latex, PageTexts& braille,
                     FormulaErrorReport& report, PageFlags* unconverted = nullptr);

}  // namespace notation
