#include "notation/bracket_balance.h"
#include "notation/conversion.h"
#include "notation/messages.h"

namespace notation {

bool convertAllPages(ConversionDirection direction, PageTexts& latex, PageTexts& braille,
                     FormulaErrorReport& report, PageFlags* unconverted) {
    if (unconverted != nullptr) {
        unconverted->fill(false);
    }
    const bool leavingLatex = direction == ConversionDirection::LatexToBraille;
    PageTexts& source = leavingLatex ? latex : braille;
    PageTexts& target = leavingLatex ? braille : latex;
    // A refused page, and with `through` every page after it, keeps a target text that its
    // source no longer says.
    const auto refuse = [&](std::size_t i, const std::string& message, bool through) {
        report.report(message);
        for (std::size_t k = i; unconverted != nullptr && k < (through ? source.size() : i + 1);
             ++k) {
            (*unconverted)[k] = true;
        }
    };
    bool ok = true;
    for (std::size_t i = 0; i < source.size(); ++i) {
        const int page = static_cast<int>(i) + 1;
        Conversion c;
        if (leavingLatex) {
            LatexPageConversion p = convertLatexPage(source[i], page);
            if (p.unbalanced) {
                refuse(i, p.conversion.error, true);
                return false;
            }
            c = std::move(p.conversion);
        } else {
            c = convertBrailleToLatex(source[i], page);
        }
        if (!c.ok()) {
            refuse(i, c.error, false);
            ok = false;
            continue;
        }
        if (!leavingLatex && bracketBalance(c.text) != 0) {
            refuse(i, messages::onPage(page, messages::kBrackets), true);
            return false;
        }
        target[i] = std::move(c.text);
    }
    return ok;
}

}  // namespace notation
