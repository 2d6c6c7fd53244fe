#pragma once

// Column arithmetic of the calculation sheet: one written operation between two numbers, done
// the way it is done on paper. This module reads the operation (Braille cells from the
// student's document), enforces the sheet's size limits, aligns the decimals, works out the
// exact expected result and lays out the rows the student fills in one digit at a time; it
// then judges the student's answer. It evaluates exactly one binary operation.
//
// Digits are the upper Braille digits: the letters "jabcdefghi" stand for 0 to 9. All values
// are held as digit strings, never in a fixed-size integer, so no size of operand or result
// can wrap and no verdict rests on a wrong number.
//
// Everything here is a pure function of its arguments; the sheet window (calc_sheet.h) calls
// it and decides what to show, speak or refuse.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace learning {

// The digit letter of a value 0..9 ('j' for 0, 'a' for 1, ... 'i' for 9).
char digitLetter(int value);
// The value of a digit letter, or -1 when the cell is not one ('A'..'J' count as 'a'..'j').
int letterValue(char cell);
// A digit the student typed as a letter or as a decimal digit, as its letter; 0 when the
// character is not a digit.
char typedDigit(char c);

// Operator cells.
inline constexpr char kTimes = '(';
inline constexpr char kDivide = '/';
inline constexpr char kPlus = '+';
inline constexpr char kMinus = '-';

// The operation text as the sheet shows it: a bracketed negative number "?-...*" loses its
// brackets, blanks go, and the signs are folded ("(-" and "/-" keep only the operator and
// make the result negative, "+-" becomes "-", "--" becomes "+"; a leading '-' stays and makes
// the result negative).
struct NormalisedOperation {
    std::string text;
    bool negative = false;       // the negative-result flag
    bool firstNegative = false;  // the first operand has a minus of its own (the leading one)
};
NormalisedOperation normaliseOperation(std::string_view text);

// Why an operation selected in the document cannot go to the sheet.
enum class SelectionProblem {
    None,
    NothingSelected,   // "Nessuna espressione selezionata"
    Invalid,           // "Espressione non valida": an operand or the operator is missing
    SeveralOperations  // "Selezionare una unica operazione"
};
// Checks a selection before the sheet opens on it: split at its first operator cell from the
// second cell on, after the sign folding of normaliseOperation (so "#e+?-#c*" is one
// operation), the second operand must hold no further operator cell.
SelectionProblem checkSelection(std::string_view selection);

enum class Refusal {
    None,
    Empty,           // nothing to do, nothing said
    Invalid,         // "Espressione non valida"
    DivisionByZero,  // "Divisione per zero"
};

// One prepared operation: the record the sheet works on.
struct Operation {
    char op = 0;                 // the operator as written: '(' '/' '+' '-'
    char working = 0;            // the column operation done: '+' and '-' trade places after a
                                 // leading minus (-3 + 5 is worked as 5 - 3, -3 - 5 as 3 + 5)
    std::string firstText;       // the operands as the expression box shows them after any cut:
    std::string secondText;      // digit letters and their comma
    std::string first;           // digit letters after alignment: no comma, swapped when needed
    std::string second;          // (for division the divisor without decimals)
    int decimals = 0;            // decimals of the result (for division, of the quotient before any
                                 // zero is brought down)
    bool negative = false;       // the negative-result flag of the normalisation
    bool firstNegative = false;  // the first operand is negative: a division's remainder
                                 // takes its sign (-17 : 5 = -3, remainder -2)
    bool swapped = false;        // a subtraction worked the other way round
    std::string expected;        // the magnitude of the expected result, digit letters; for
                                 // division the quotient with `expectedDecimals` decimals
    int expectedDecimals = 0;
    std::string remainder;    // division: the remainder, with `remainderDecimals()` decimals
    int divisorDecimals = 0;  // division: the places the comma of both moved to make the
                              // divisor whole

    // Whether the result carries a minus sign (negative flag and swap cancel each other).
    bool resultNegative() const { return negative != swapped; }
    // The remainder belongs to the numbers as written, not to the shifted ones: it has the
    // quotient's decimals and those the comma moved (1 : 0,3 = 3, remainder 0,1).
    int remainderDecimals() const { return expectedDecimals + divisorDecimals; }
};

struct Prepared {
    Refusal refusal = Refusal::None;
    // The operands were longer than the sheet takes: "Operatori troppo grandi". Work goes on
    // with the cut operands; `expressionText` is then the box's new text.
    bool cut = false;
    std::string expressionText;
    Operation operation;
};

// Size limits: cells of an addition or subtraction operand (the comma counts), digits of a
// multiplication or division operand (the comma does not).
inline constexpr std::size_t kMaxAddCells = 9;
inline constexpr std::size_t kMaxFirstFactorDigits = 8;
inline constexpr std::size_t kMaxSecondFactorDigits = 5;
inline constexpr int kMaxDivisionDecimals = 4;

// Prepares a normalised operation. `requestedDecimals` (0..4) is the number of decimals the
// student asked of a division with F2; the zeros F2 appended to the dividend are not counted
// against the size limit. An operand must be digit cells with at most one comma.
Prepared prepare(const NormalisedOperation& operation, int requestedDecimals = 0);

// The text of a number: "#" and the digits with the comma before the last `decimals` of them
// (zeros put before a leading comma, leading zeros of the whole part dropped), or "?-#" ...
// "*" when negative and not zero. Blanks in `digits` are kept as they are.
std::string numberText(std::string_view digits, int decimals, bool negative);

// Whether two digit-letter numbers with their decimals have the same value.
bool sameValue(std::string_view a, int aDecimals, std::string_view b, int bDecimals);

// The dividend after "Aumenta n. decimali" (F2): one more zero, after a comma when it had no
// decimals ("g" becomes "g,j").
std::string withOneMoreDecimal(std::string_view dividend);
// The dividend after "Dimin. n. decimali" (F3): its last cell goes, and the comma too when no
// decimal is left ("g,j" becomes "g").
std::string withOneDecimalFewer(std::string_view dividend);
// The expression box of a prepared operation: "#" first operand, operator, "#" second operand,
// with "-" first when the result is made negative by a sign ("-#g,j/#b"). A division keeps
// each operand's own sign where it stands ("#ag/-#e", "-#ag/-#e"): its remainder follows the
// dividend's.
std::string expressionText(const Operation& operation);

// ---- rows of addition, subtraction and multiplication

inline constexpr std::string_view kCarryRow = "   =";

// Addition and subtraction: one row per column from the right ("c+b=", "a  =" where the second
// operand has no digit), then the carry row "   =". The student's answer goes after the "=".
std::vector<std::string> columnRows(const Operation& operation);

// Multiplication: one table per digit of the second operand, from the right, at most five.
// Table n (from 1) starts with n - 1 rows "   =" that stand for the places the partial product
// is moved left and take no answer; then one row per digit of the first operand from the right
// ("b(c="), then the carry row "   =".
std::vector<std::vector<std::string>> multiplicationTables(const Operation& operation);
// The first row of table `index` (from 0) that takes an answer.
inline std::size_t firstAnswerRow(std::size_t index) {
    return index;
}

// The answer cell of a row: what follows the first "=" (its last cell), or 0 when the row has
// no answer yet. A blank answer is returned as ' '.
char rowAnswer(std::string_view row);

// The final sum of a multiplication from its answered tables: one row per column from the
// right holding the digits the partial products have there, table 1 first, with "+" between
// two digits and blanks where a table has none ("f  =", "c+b="), then a carry row of blanks
// and "=". Each row is 2 * tables.size() cells long before its answer.
std::vector<std::string> finalSumRows(const std::vector<std::vector<std::string>>& tables);

// The verdict on a finished set of rows.
struct Verdict {
    bool right = false;
    std::string result;  // the result text shown: "#e", "#ae,e", "?-#c*"
};

// Judges the answers of the rows of an addition, a subtraction, a one-digit multiplication or
// the final sum of a multiplication: `answers` holds each row's answer cell from the first
// (units) row to the last (carry) row. Blanks before the first digit read from the top are
// nothing; a blank below a digit makes the answer wrong.
Verdict checkRows(const Operation& operation, std::string_view answers);

// The correct answer of each row of `rows` (same order), for an answer key: a digit, or 0 for
// a row that takes none (the places of a multiplication table, a carry or leading zero that is
// written as nothing). `table` is the multiplication table's index, or -1 for the column rows
// and the final sum.
std::string correctAnswers(const Operation& operation, const std::vector<std::string>& rows,
                           int table = -1);

// ---- long division

inline constexpr int kMaxStepLines = 8;

// Long division digit by digit, as the student does it on the step lines. The first step line
// holds the first partial dividend (as many leading digits of the dividend as the divisor has,
// one more when those are smaller than the divisor), "/", the divisor and "= "; each later
// line holds the remainder with the next digit brought down ("be/e= "). When the dividend's
// digits are used up and a remainder is left while fewer decimals than requested have been
// produced, a zero is brought down.
class LongDivision {
public:
    LongDivision(const Operation& operation, int requestedDecimals);

    enum class Step {
        Refused,   // the digit gives a negative remainder or one not smaller than the divisor
        Next,      // accepted; a new step line follows
        Done,      // accepted; the division is complete
        Overflow,  // accepted on the last step line without finishing
    };
    Step enter(int digit);

    // The step line being worked on, without its digit ("ag/e= ").
    std::string stepLine() const;
    // The digit that is right on the current step line.
    int correctDigit() const;
    // How many step lines have been opened (1 at the start).
    int stepCount() const { return steps_; }
    bool finished() const { return finished_; }

    // The quotient gathered so far and the remainder, as the result box and the remainder box
    // show them.
    std::string quotientText() const;
    std::string remainderText() const;
    // Whether the gathered quotient is the expected one.
    bool right() const;

private:
    Operation op_;
    int requested_;
    std::string dividend_;  // digits (0-9) of the dividend
    std::string divisor_;   // digits of the divisor
    std::size_t used_ = 0;  // dividend digits brought into the work
    std::string partial_;   // the current partial dividend, digits
    std::string quotient_;  // digit letters
    int decimals_ = 0;      // decimals of the quotient so far
    int steps_ = 1;
    bool finished_ = false;
    bool overflow_ = false;
};

// The answer key of a prepared operation, for the teacher: the work rows as the sheet lays
// them out with the right answer after each "=" (an empty line between the tables of a
// multiplication and before its final sum), or for a division the step lines of the correct
// working with their digits; then the result text the sheet shows for a right answer and, for
// a division, the remainder text. `overflow` when the division needs more step lines than the
// sheet has: the rows are then those the sheet shows and there is no result.
struct AnswerKey {
    std::vector<std::string> rows;
    std::string result;
    std::string remainder;
    bool overflow = false;
};
AnswerKey answerKey(const Operation& operation, int requestedDecimals = 0);

}  // namespace learning
