#pragma once

// The tutors' work lists. A tutor takes one expression line of Braille cells and the step the
// student chose; every unit of work of that step is taken out of the expression, from the left
// (innermost first for brackets), listed as a work line for the student to complete, and
// replaced in the expression by a two-character label: a kind letter and "A" for the first
// unit, "B" for the second, and so on. Labels are capitals, which are never Braille cells, so
// they cannot be mistaken for the student's cells.
//
// When the student has written the working after each work line's "=", resultLine() puts the
// last answer of each line in place of its label and gives the line that goes back into the
// page.
//
// Nothing here throws: an expression the tutor cannot work gives an error naming the message
// to show, and no work list.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace learning {

// The kinds of step of the "Tutor" menus, in the order of the main window's entries.
enum class TutorStep {
    RoundBrackets,
    SquareBrackets,
    Braces,
    ComplexFractions,
    AdditionsSubtractions,
    MultiplicationsDivisions,
    Powers,
    PowerProperties,
};

// The caption that names a step to the tutor windows ("Parentesi tonde", "Potenze", ...).
std::string_view stepCaption(TutorStep step);
// The step a caption names; nullopt for any other text.
std::optional<TutorStep> stepFromCaption(std::string_view caption);

struct WorkUnit {
    std::string label;     // "TA", "MB", "NA", ...
    std::string original;  // what the label stands for in the expression, as it stood
    std::string line;      // the work line: the unit's content and "=" (" =" for fractions)
};

struct WorkList {
    std::string labelled;  // the expression with every unit replaced by its label
    std::vector<WorkUnit> units;
};

enum class WorkListError {
    EqualsInside,  // "Carattere = all'interno dell'espressione "
    NotWorkable,   // "Espressione non elaborabile dal tutor "
};

struct WorkListResult {
    std::optional<WorkList> list;
    std::optional<WorkListError> error;
};

// Builds the work list of `step` for `expression` (the caret line with its final "=").
// Brackets: each group of the kind, innermost first; a bracketed negative number "?-...*" is
// not a group. Powers: each power, base and exponent, innermost exponent first. Properties,
// multiplications and divisions, additions and subtractions: each qualifying run between
// separators. Complex fractions: each numerator or denominator that holds an operation, of the
// fractions that hold no other fraction. An expression with an "=" (outside numbers) anywhere
// but in its first or last cell, an unbalanced group, a power without its base and more than 26
// units are refused.
WorkListResult buildWorkList(TutorStep step, std::string_view expression);

// Whether `text` holds an "=" outside numbers anywhere but in its first or last cell.
bool equalsInside(std::string_view text);

// The answer the student gave on the work line of `unit`: the last non-empty part after an
// "=" that follows the listed line, without blanks at both ends; nullopt when there is none.
std::optional<std::string> unitAnswer(const WorkUnit& unit, std::string_view workLine);

// The line that goes back into the page: each label replaced by the answer of its work line
// (`workLines` in the order of list.units; a line without an answer puts back what its label
// stood for), "=" in front unless it begins with one, a final "=" removed.
std::string resultLine(const WorkList& list, const std::vector<std::string>& workLines);

// ---- helpers shared with the menu analysis

// Where the base of the power whose exponent opens at `pipe` (a "|") begins, scanning left: a
// whole fraction, root or bracket group, a number with its sign, a label or one letter.
// nullopt when nothing before the "|" can be a base.
std::optional<std::size_t> powerBaseStart(std::string_view text, std::size_t pipe);

// The "|" that opens the exponent closed by the "1" at `close`, counting nested exponents;
// nullopt when there is none.
std::optional<std::size_t> exponentOpening(std::string_view text, std::size_t close);

// Whether a numerator or denominator holds an operation: "(", "+", "/", "1", or a "-" not
// directly after "?" (cells of numbers do not count).
bool holdsOperation(std::string_view part);

}  // namespace learning
