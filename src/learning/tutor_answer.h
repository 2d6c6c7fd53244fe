#pragma once

// What a tutor checks in a line the student has finished: its structure (a closed exponent,
// finished fractions, roots and brackets, no sign left hanging at the end) and, in the
// complex-fractions tutor, that a division between two fractions is not written as one.

#include <optional>
#include <string_view>

namespace learning {

enum class TutorKind { Brackets, Operations, ComplexFractions };

enum class AnswerProblem {
    PowerIncomplete,       // "Elevaz.potenza incompleta "
    ExpressionIncomplete,  // "Espressione incompleta "
    FractionIncomplete,    // "Espressione frazione incompleta " (operations tutor)
    FractionDivision,      // "La divisione tra due frazioni deve essere con..."
};

// Examines what the student wrote after a work line (every step after its "=", the "="
// included); nullopt when it is sound. Cells of numbers do not count as signs.
std::optional<AnswerProblem> examineAnswer(TutorKind kind, std::string_view written);

// The message of a problem, as the warning shows it.
std::string_view answerMessage(AnswerProblem problem);

// Whether a tutor accepts the character typed into its work area: a Braille cell, "=" and
// the blank; any other character is refused with "Carattere non ammesso ".
bool cellAllowed(char c);

}  // namespace learning
