#include "learning/tutor_answer.h"

#include <vector>

#include "learning/messages.h"
#include "notation/braille_cells.h"
#include "notation/braille_numbers.h"
#include "notation/text_scan.h"

namespace learning {
namespace {

// How many of each construct's opening and closing cells a step holds, outside numbers.
struct Counts {
    int exponentOpen = 0;   // "|"
    int exponentClose = 0;  // "1"
    int fractionOpen = 0;   // "6"
    int fractionLine = 0;   // "np"
    int fractionClose = 0;  // "4"
    int rootOpen = 0;       // "9"
    int rootClose = 0;      // "o"
    int round = 0;          // "?" minus "*"
    int square = 0;         // "{" minus "}"
    int braces = 0;         // "&" minus "y"
    bool bracketClosedFirst = false;
};

Counts count(std::string_view step) {
    const std::vector<bool> digits = notation::numberDigits(step);
    Counts c;
    for (std::size_t i = 0; i < step.size(); ++i) {
        if (digits[i]) {
            continue;
        }
        switch (step[i]) {
            case '|':
                ++c.exponentOpen;
                break;
            case '1':
                ++c.exponentClose;
                break;
            case '6':
                ++c.fractionOpen;
                break;
            case 'n':
                c.fractionLine += notation::charAt(step, i + 1) == 'p' ? 1 : 0;
                break;
            case '4':
                ++c.fractionClose;
                break;
            case '9':
                ++c.rootOpen;
                break;
            case 'o':
                ++c.rootClose;
                break;
            case '?':
                ++c.round;
                break;
            case '*':
                --c.round;
                c.bracketClosedFirst = c.bracketClosedFirst || c.round < 0;
                break;
            case '{':
                ++c.square;
                break;
            case '}':
                --c.square;
                c.bracketClosedFirst = c.bracketClosedFirst || c.square < 0;
                break;
            case '&':
                ++c.braces;
                break;
            case 'y':
                // "y" closes braces only when some are open: else it is the letter.
                if (c.braces > 0) {
                    --c.braces;
                }
                break;
            default:
                break;
        }
    }
    return c;
}

std::optional<AnswerProblem> examineStep(TutorKind kind, std::string_view step) {
    const Counts c = count(step);
    if (c.exponentOpen > c.exponentClose) {
        return AnswerProblem::PowerIncomplete;
    }
    const bool fractionOpen = c.fractionOpen != c.fractionClose || c.fractionLine < c.fractionOpen;
    if (fractionOpen) {
        return kind == TutorKind::Operations ? AnswerProblem::FractionIncomplete
                                             : AnswerProblem::ExpressionIncomplete;
    }
    const char last = step.empty() ? '\0' : step.back();
    const bool hanging = std::string_view("+-(/|#").find(last) != std::string_view::npos;
    const std::vector<bool> digits = notation::numberDigits(step);
    const bool lastIsSign = !step.empty() && !digits.back() && hanging;
    if (c.exponentOpen < c.exponentClose || c.rootOpen != c.rootClose || c.round != 0 ||
        c.square != 0 || c.braces != 0 || c.bracketClosedFirst || lastIsSign) {
        return AnswerProblem::ExpressionIncomplete;
    }
    if (kind == TutorKind::ComplexFractions) {
        for (std::size_t i = 0; i + 2 < step.size(); ++i) {
            if (step.compare(i, 3, "4/6") == 0 && !digits[i + 1]) {
                return AnswerProblem::FractionDivision;
            }
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<AnswerProblem> examineAnswer(TutorKind kind, std::string_view written) {
    // Each step after an "=" is examined by itself.
    const std::vector<bool> digits = notation::numberDigits(written);
    std::size_t start = 0;
    for (std::size_t i = 0; i <= written.size(); ++i) {
        if (i < written.size() && (written[i] != '=' || digits[i])) {
            continue;
        }
        const std::string_view step = notation::trimBlanks(written.substr(start, i - start));
        if (!step.empty()) {
            if (auto problem = examineStep(kind, step)) {
                return problem;
            }
        }
        start = i + 1;
    }
    return std::nullopt;
}

std::string_view answerMessage(AnswerProblem problem) {
    switch (problem) {
        case AnswerProblem::PowerIncomplete:
            return messages::kPowerIncomplete;
        case AnswerProblem::ExpressionIncomplete:
            return messages::kExpressionIncomplete;
        case AnswerProblem::FractionIncomplete:
            return messages::kFractionIncomplete;
        case AnswerProblem::FractionDivision:
            return messages::kFractionDivision;
    }
    return {};
}

bool cellAllowed(char c) {
    return c == ' ' || notation::dotsOfCell(c) > 0;
}

}  // namespace learning
