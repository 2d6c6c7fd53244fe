#pragma once

// How another learning window (the decomposition) hands one operation to the calculation sheet
// and takes the student's answer back. The sheet (TForm2, calc_sheet.h) implements it; a test
// of the other window may put a fake in its place.

#include <string>
#include <string_view>

#include "learning/column_arithmetic.h"
#include "learning/messages.h"

namespace learning {

class CalcSheetOpener {
public:
    virtual ~CalcSheetOpener() = default;

    // Opens the calculation sheet modally on `expression` (one operation in Braille cells, for
    // example "#b+#c"), with the copy entries of its menu hidden as for a learning tool.
    // Returns when the sheet has closed, with what it left on the clipboard: the result the
    // student copied ("#e", "?-#b*", or the expression, " = " and the result), or `expression`
    // itself when he closed without copying a result. The clipboard keeps that text too.
    virtual std::string openFromTool(std::string_view expression) = 0;
};

// What the student is told when the sheet cannot take `problem`; empty for None.
inline std::string_view selectionProblemText(SelectionProblem problem) {
    switch (problem) {
        case SelectionProblem::NothingSelected:
            return messages::kNoExpression;
        case SelectionProblem::Invalid:
            return messages::kInvalidExpression;
        case SelectionProblem::SeveralOperations:
            return messages::kSingleOperation;
        case SelectionProblem::None:
            break;
    }
    return {};
}

}  // namespace learning
