#pragma once

// What the "Tutor" menu decides about the caret's line: which kinds of step the line holds
// (the step flags), whether a relation between fractions must be solved first, whether the
// line allows more than one way of proceeding, and, for the entry the student chooses, whether
// the step may be taken now or which message refuses it.
//
// The rules of the order of operations that the menu applies:
//   - brackets before everything, round before square before braces in sequence mode 2;
//   - a fraction whose numerator or denominator still holds an operation (a relation between
//     fractions) before anything outside it;
//   - properties of powers before powers, powers before multiplications and divisions, those
//     before additions and subtractions.
// Pure functions; the main window shows the messages and sets its entries.

#include <optional>
#include <string>
#include <string_view>

#include "learning/tutor_work_list.h"

namespace learning {

// The step flags, positions 1 to 10 of the menu's flag string (8 is not used).
struct StepFlags {
    bool round = false;             // 1 round brackets
    bool square = false;            // 2 square brackets
    bool braces = false;            // 3 braces
    bool exponents = false;         // 4
    bool properties = false;        // 5 a property of powers applies
    bool products = false;          // 6 multiplications or divisions
    bool sums = false;              // 7 additions or subtractions
    bool fractionOfPowers = false;  // 9 a fraction whose numerator and denominator are powers
    bool fractionRelation = false;  // 10 a relation between fractions to be solved first

    // The ten '0'/'1' characters.
    std::string text() const;
    bool brackets() const { return round || square || braces; }
};

struct TutorAnalysis {
    std::string line;        // the caret line, with "=" appended when it did not end with one
    std::string structural;  // the line without blanks
    StepFlags flags;
    bool severalWays = false;  // more than one way of proceeding
};

// Analyses the caret's line (without its line break). Flags are set outside numbers and text
// regions; a bracketed negative number "?-...*" is neither a bracket group nor a subtraction,
// and a line whose only "-" is a leading sign holds no subtraction.
//
// A relation between fractions: the innermost bracket group (the whole line when there is
// none) holds a fraction, of those holding no other fraction, whose numerator or denominator
// holds an operation. A property of powers: two powers multiplied or divided, or the numerator
// and the denominator of a fraction, with the same base or the same exponent; or a bracketed
// power raised to a power. More than one way of proceeding: the line's "="s part it into more
// than one expression that still holds an operation.
TutorAnalysis analyseTutorLine(std::string_view line);

enum class StepRefusal {
    Sequence,         // "Occorre rispettare la sequenza corretta di esecuzione"
    NoPowers,         // "Non ci sono potenze da risolvere"
    NoProperties,     // "Non ci sono propriet\xE0 delle potenze da risolvere"
    NoProducts,       // "Non ci sono moltiplicazioni o divisioni da risolvere"
    NoSums,           // "Non ci sono addizioni o sottrazioni da risolvere"
    NoRoundBrackets,  // no group of that kind on the line
    NoSquareBrackets,
    NoBraces,
    NoComplexFractions,
    SeveralWays,  // the line allows more than one way of proceeding
};

// Whether `step` may be worked on the analysed line now; nullopt when it may. `sequenceMode`
// is the tutor setting: in mode 2 square brackets wait for round ones and braces for both.
std::optional<StepRefusal> checkStep(const TutorAnalysis& analysis, TutorStep step,
                                     int sequenceMode);

// The message of a refusal, as the warning shows it.
std::string_view refusalMessage(StepRefusal refusal);

}  // namespace learning
