#pragma once

// The order of operations of the decomposition, over a line of Braille cells: first the round
// bracket groups from the innermost, then the square groups, then the brace groups, then the
// multiplications and divisions, and at the end the additions and subtractions; inside a group
// the powers come first, then the multiplications and divisions.
//
// Counting walks the cells with two flags. The number flag is set by '#' and kept by the lower
// digits ( ) * + , / : ; = ? that may follow it; any other cell clears it, except '|' (opens an
// exponent) and '1' (closes it), which leave it as it is. Operators inside a number or an
// exponent are not counted. A round group inside a number or an exponent, or one that starts
// with '-', counts only when its content holds one of ( + - / 1 4 6 n p: "?-#b*" is the number
// minus two, not a group.
//
// Operands (decided here, in line with the counting): an operand is the run of cells between
// two counted operators (or the start, the end, a blank or "="). So around a multiplication
// the student gets whole numbers with their number sign ("#ab(#c"), letters and the numbers
// written against them ("#ba/c"), bracketed negative numbers ("?-#b*(#c"), powers with their
// base and exponent ("#b|#c1(#d"), and what is left of a group, as it stands.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace learning {

struct WorkCounts {
    int round = 0;
    int square = 0;
    int brace = 0;
    int exponents = 0;  // exponent closings
    int mulDiv = 0;
    int addSub = 0;
};
WorkCounts countWork(std::string_view cells);

// The class of work the step button names, or the end of the work.
enum class StepKind {
    Nothing,  // nothing counted: nothing to decompose
    Round,
    Square,
    Brace,
    MulDiv,
    Final,  // only additions and subtractions (or only powers) left: the student gives the value
};
struct Stage {
    StepKind kind = StepKind::Nothing;
    int count = 0;
};
Stage stageOf(const WorkCounts& counts);

// The work inside a group that holds more than one class of work: powers first, then
// multiplications and divisions. Nothing when the group is worked out in one go.
enum class InnerKind { Nothing, Powers, MulDiv };
struct InnerStage {
    InnerKind kind = InnerKind::Nothing;
    int count = 0;
};
InnerStage innerStageOf(const WorkCounts& counts);

// "Parentesi tonde (2)", "Molt. - Div. (1)", "Potenze (3)"; empty for the other kinds.
std::string stepCaption(StepKind kind, int count);
std::string innerCaption(InnerKind kind, int count);

// A piece of the expression to be worked: `start` and `length` of what the value replaces (a
// group with its brackets, an operation with its operands), and what the work box shows (a
// group's content, the operation itself).
struct WorkPiece {
    std::size_t start = 0;
    std::size_t length = 0;
    std::string shown;
};
// The next group of a bracket kind: the first one that holds no other group of its kind.
// Nothing when there is none, or when its closing bracket is missing.
std::optional<WorkPiece> nextGroup(std::string_view cells, StepKind kind);
// The first multiplication or division outside numbers and exponents, with its operands.
std::optional<WorkPiece> nextOperation(std::string_view cells);
// The first power outside exponents: the operand that holds its exponent.
std::optional<WorkPiece> nextPower(std::string_view cells);

// The typed value as it goes into the expression: trimmed, a negative value in round brackets.
std::string valueToStore(std::string_view typed);
// Whether the brackets of a typed value balance (& ? { open, * y } close).
bool bracketsBalance(std::string_view value);

}  // namespace learning
