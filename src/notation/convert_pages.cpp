#include "notation/bracket_balance.h"
#include "notation/conversion.h"
#include "notation/messages.h"

namespace notation {

bool convertAllPages(ConversionDirection direction, PageTexts& latex, PageTexts& braille,
                     FormulaErrorReport& report) {
    bool ok = true;
    for (std::size_t i = 0; i < latex.size(); ++i) {
        const int page = static_cast<int>(i) + 1;
        if (direction == ConversionDirection::LatexToBraille) {
            if (bracketBalance(latex[i]) != 0) {
                report.report(messages::onPage(page, messages::kBrackets));
                braille[i].clear();
                return false;
            }
            Conversion c = convertLatexToBraille(latex[i], page);
            if (!c.ok()) {
                report.report(c.error);
                braille[i].clear();
                ok = false;
                continue;
            }
            braille[i] = std::move(c.text);
        } else {
            Conversion c = convertBrailleToLatex(braille[i], page);
            if (!c.ok()) {
                report.report(c.error);
                latex[i].clear();
                ok = false;
                continue;
            }
            if (bracketBalance(c.text) != 0) {
                report.report(messages::onPage(page, messages::kBrackets));
                latex[i].clear();
                return false;
            }
            latex[i] = std::move(c.text);
        }
    }
    return ok;
}

}  // namespace notation
