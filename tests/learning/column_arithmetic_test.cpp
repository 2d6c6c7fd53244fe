#include "learning/column_arithmetic.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <algorithm>
#include <cstdint>
#include <utility>

namespace {

using learning::LongDivision;
using learning::Refusal;
using learning::SelectionProblem;
using testing::ElementsAre;

learning::Prepared prepared(std::string_view text, int requested = 0) {
    return learning::prepare(learning::normaliseOperation(text), requested);
}

TEST(ColumnArithmetic, NormalisationFoldsBracketsBlanksAndSigns) {
    struct Case {
        std::string_view in;
        std::string_view text;
        bool negative;
    };
    const Case cases[] = {
        {"#b + #c", "#b+#c", false},
        {"?-#c*+#b", "-#c+#b", true},     // a bracketed negative number loses its brackets
        {"#e+?-#c*", "#e-#c", false},     // "+-" reads as "-"
        {"#e-?-#c*", "#e+#c", false},     // "--" reads as "+"
        {"#c(?-#b*", "#c(#b", true},      // "-" after the times sign: negative
        {"#c/-#b", "#c/#b", true},        // and after the division sign
        {"-#c(-#b", "-#c(#b", false},     // two minus signs: positive
        {"?-#c+#b*", "?-#c+#b*", false},  // a group with an operation keeps its brackets
        {"-#e", "-#e", true},
        {"", "", false},
    };
    for (const Case& c : cases) {
        const auto n = learning::normaliseOperation(c.in);
        EXPECT_EQ(n.text, c.text) << c.in;
        EXPECT_EQ(n.negative, c.negative) << c.in;
    }
}

TEST(ColumnArithmetic, SelectionsTheSheetTakes) {
    struct Case {
        std::string_view selection;
        SelectionProblem problem;
    };
    const Case cases[] = {
        {"", SelectionProblem::NothingSelected},
        {"#b", SelectionProblem::Invalid},
        {"#b+", SelectionProblem::Invalid},
        {"-#b", SelectionProblem::Invalid},
        {"#b+#c", SelectionProblem::None},
        {"-#c(-#b", SelectionProblem::None},
        {"#e+?-#c*", SelectionProblem::None},
        {"#b+#c+#d", SelectionProblem::SeveralOperations},
        {"#b+#c(#d", SelectionProblem::SeveralOperations},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(learning::checkSelection(c.selection), c.problem) << c.selection;
    }
}

TEST(ColumnArithmetic, PreparationRefusesWhatIsNotOneOperation) {
    struct Case {
        std::string_view text;
        Refusal refusal;
    };
    const Case cases[] = {
        {"", Refusal::Empty},
        {"#e", Refusal::Invalid},  // a lone number
        {"-#e", Refusal::Invalid},
        {"#e+", Refusal::Invalid},
        {"+#e", Refusal::Invalid},
        {"#b+#x", Refusal::Invalid},      // not a digit
        {"#b,c,d+#a", Refusal::Invalid},  // two commas
        {"#b+#,", Refusal::Invalid},      // no digit
        {"#g/#j", Refusal::DivisionByZero},
        {"#g/#j,jj", Refusal::DivisionByZero},
        {"#b+#c", Refusal::None},
        {"b+3", Refusal::None},  // decimal digits and cells without number signs
    };
    for (const Case& c : cases) {
        EXPECT_EQ(prepared(c.text).refusal, c.refusal) << c.text;
    }
}

TEST(ColumnArithmetic, PreparationAlignsSwapsAndWorksOutTheResult) {
    struct Case {
        std::string_view text;
        std::string_view first, second;
        char working;
        int decimals;
        bool swapped, negative;
        std::string_view expected;
    };
    const Case cases[] = {
        // 12,5 + 3: 125 + 030 with one decimal
        {"#ab,e+#c", "abe", "cj", '+', 1, false, false, "aee"},
        {"#c+#ab,e", "abe", "cj", '+', 1, false, false, "aee"},
        // 3 - 5 is worked as 5 - 3 and is negative
        {"#c-#e", "e", "c", '-', 0, true, true, "b"},
        // equal length, first smaller
        {"#ab-#ac", "ac", "ab", '-', 0, true, true, "a"},
        {"#jjc-#b", "c", "b", '-', 0, false, false, "a"},  // leading zeros say nothing
        // a leading minus turns the column operation round: -3 + 5 = 5 - 3, -3 - 5 = -(3 + 5)
        {"-#c+#e", "e", "c", '-', 0, true, false, "b"},
        {"-#e+#c", "e", "c", '-', 0, false, true, "b"},
        {"-#c-#e", "c", "e", '+', 0, false, true, "h"},
        {"#e+?-#c*", "e", "c", '-', 0, false, false, "b"},
        // products: the comma counts its decimals in the result, the longer operand first
        {"#b(#ac", "ac", "b", '(', 0, false, false, "bf"},
        {"#a,b(#c", "ab", "c", '(', 1, false, false, "cf"},
        {"-#c(-#b", "c", "b", '(', 0, false, false, "f"},
        {"#c(?-#b*", "c", "b", '(', 0, false, true, "f"},
        // quotients: the comma of both moves until the divisor is whole
        {"#g/#b", "g", "b", '/', 0, false, false, "c"},
        {"#g,e/#b,e", "ge", "be", '/', 0, false, false, "c"},
        {"#f/#b,j", "f", "b", '/', 0, false, false, "c"},
        {"#a,ef/#b,e", "aef", "be", '/', 1, false, false, "f"},
        {"#g/#b,ee", "gjj", "bee", '/', 0, false, false, "b"},
    };
    for (const Case& c : cases) {
        const auto p = prepared(c.text);
        ASSERT_EQ(p.refusal, Refusal::None) << c.text;
        const learning::Operation& op = p.operation;
        EXPECT_EQ(op.first, c.first) << c.text;
        EXPECT_EQ(op.second, c.second) << c.text;
        EXPECT_EQ(op.working, c.working) << c.text;
        EXPECT_EQ(op.decimals, c.decimals) << c.text;
        EXPECT_EQ(op.swapped, c.swapped) << c.text;
        EXPECT_EQ(op.resultNegative(), c.negative) << c.text;
        EXPECT_EQ(op.expected, c.expected) << c.text;
        EXPECT_FALSE(p.cut) << c.text;
    }
}

TEST(ColumnArithmetic, OperandsTooLongAreCutAndTheExpressionRewritten) {
    struct Case {
        std::string_view text;
        int requested;
        bool cut;
        std::string_view expression;
    };
    const Case cases[] = {
        {"#abcdefghi+#a", 0, false, ""},
        {"#abcdefghij+#a", 0, true, "#abcdefghi+#a"},
        {"#a+#abcdefgh,ij", 0, true, "#a+#abcdefgh"},  // no comma left dangling
        {"#abcdefg,bc-#a", 0, true, "#abcdefg,b-#a"},  // the comma counts as a cell
        {"#abcdefgh(#abcde", 0, false, ""},
        {"#abcdefgh,c(#ab", 0, true, "#abcdefgh(#ab"},  // the comma does not count as a digit
        {"#abcdefghi(#a", 0, true, "#abcdefgh(#a"},
        {"#a(#abcdef", 0, true, "#a(#abcde"},
        {"-#abcdefghi/#b", 0, true, "-#abcdefgh/#b"},  // the sign stays
        // the zeros F2 appended are the student's request, not his number
        {"#abcdefgh,jjjj/#c", 4, false, ""},
        {"#abcdefgh,jjjj/#c", 3, true, "#abcdefgh/#c"},
    };
    for (const Case& c : cases) {
        const auto p = prepared(c.text, c.requested);
        EXPECT_EQ(p.refusal, Refusal::None) << c.text;
        EXPECT_EQ(p.cut, c.cut) << c.text;
        EXPECT_EQ(p.expressionText, c.expression) << c.text;
    }
}

// Results beyond 32 bits: each would have wrapped in a 32-bit integer.
TEST(ColumnArithmetic, ResultsAtTheSizeLimitsAreExact) {
    struct Case {
        std::string_view text;
        int requested;
        std::string_view result;
    };
    const Case cases[] = {
        {"#iiiiiiiii+#iiiiiiiii", 0, "#aiiiiiiiih"},          // 1999999998
        {"#i,iiiiiii+#iiiiiiiii", 0, "#ajjjjjjjjh,iiiiiii"},  // 17 digits of sum
        {"#iiiiiiiii-#a,iiiiiii", 0, "#iiiiiiiig,jjjjjja"},
        {"#iiiiiiii(#iiiii", 0, "#iiiihiiijjjja"},   // 9999899900001
        {"#bdhcfbej(#bdhcf", 0, "#fafhccajejjj"},    // 24836250 * 24836
        {"#iiiiiiii,jjjj/#g", 4, "#adbhegad,adbh"},  // 99999999 / 7
        {"#iiiiiiii,jjjj/#aj", 4, "#iiiiiii,ijjj"},
    };
    for (const Case& c : cases) {
        const auto p = prepared(c.text, c.requested);
        ASSERT_EQ(p.refusal, Refusal::None) << c.text;
        EXPECT_FALSE(p.cut) << c.text;
        const auto& op = p.operation;
        EXPECT_EQ(learning::numberText(op.expected, op.expectedDecimals, op.resultNegative()),
                  c.result)
            << c.text;
    }
}

TEST(ColumnArithmetic, NumberTexts) {
    EXPECT_EQ(learning::numberText("aee", 1, false), "#ae,e");
    EXPECT_EQ(learning::numberText("e", 1, false), "#j,e");
    EXPECT_EQ(learning::numberText("e", 3, false), "#j,jje");
    EXPECT_EQ(learning::numberText("jje", 0, false), "#e");
    EXPECT_EQ(learning::numberText("jj,e", 0, false), "#j,e");
    EXPECT_EQ(learning::numberText("b", 0, true), "?-#b*");
    EXPECT_EQ(learning::numberText("jj", 1, true), "#j,j");  // no minus on zero
    EXPECT_TRUE(learning::sameValue("ej", 1, "e", 0));
    EXPECT_FALSE(learning::sameValue("ej", 1, "e", 1));
}

std::string answersOf(const std::vector<std::string>& rows) {
    std::string answers;
    for (const std::string& row : rows) {
        answers += learning::rowAnswer(row);
    }
    return answers;
}

TEST(ColumnArithmetic, AdditionAndSubtractionRowsAndTheirCheck) {
    const auto op = prepared("#ab,e+#c").operation;
    EXPECT_THAT(learning::columnRows(op), ElementsAre("e+j=", "b+c=", "a  =", "   ="));
    struct Case {
        std::string_view answers;  // from the units row to the carry row
        bool right;
        std::string_view result;
    };
    const Case cases[] = {
        {"eea ", true, "#ae,e"},    // 15,5: a blank carry is nothing
        {"eeaj", true, "#ae,e"},    // and so is a zero
        {"eda ", false, "#ad,e"},   // one wrong digit
        {"e ea", false, "#ae ,e"},  // a blank below a digit
        {"    ", false, "#"},
    };
    for (const Case& c : cases) {
        const auto v = learning::checkRows(op, c.answers);
        EXPECT_EQ(v.right, c.right) << c.answers;
        EXPECT_EQ(v.result, c.result) << c.answers;
    }

    const auto swapped = prepared("#c-#e").operation;
    EXPECT_THAT(learning::columnRows(swapped), ElementsAre("e-c=", "   ="));
    EXPECT_EQ(learning::checkRows(swapped, "b ").result, "?-#b*");
    EXPECT_TRUE(learning::checkRows(swapped, "b ").right);
    EXPECT_FALSE(learning::checkRows(swapped, "c ").right);

    const auto decimals = prepared("#j,e+#j,c").operation;
    EXPECT_THAT(learning::columnRows(decimals), ElementsAre("e+c=", "j+j=", "   ="));
    EXPECT_EQ(learning::checkRows(decimals, "hj ").result, "#j,h");
    EXPECT_TRUE(learning::checkRows(decimals, "hj ").right);
}

TEST(ColumnArithmetic, MultiplicationTablesAndTheirFinalSum) {
    const auto op = prepared("#ab(#ac").operation;  // 12 x 13
    const auto tables = learning::multiplicationTables(op);
    ASSERT_EQ(tables.size(), 2u);
    EXPECT_THAT(tables[0], ElementsAre("b(c=", "a(c=", "   ="));
    EXPECT_THAT(tables[1], ElementsAre("   =", "b(a=", "a(a=", "   ="));

    // The student's partial products 36 and 12, carries left blank.
    const std::vector<std::vector<std::string>> answered = {
        {"b(c=f", "a(c=c", "   = "},
        {"   =", "b(a=b", "a(a=a", "   = "},
    };
    const auto sum = learning::finalSumRows(answered);
    EXPECT_THAT(sum, ElementsAre("f  =", "c+b=", "  a=", "   =", "   ="));

    std::vector<std::string> rows = sum;
    const std::string right = "fea  ";  // 156
    for (std::size_t r = 0; r < rows.size(); ++r) {
        rows[r] += right[r];
    }
    EXPECT_EQ(answersOf(rows), right);
    EXPECT_TRUE(learning::checkRows(op, right).right);
    EXPECT_EQ(learning::checkRows(op, right).result, "#aef");
    const auto wrong = learning::checkRows(op, "fda  ");
    EXPECT_FALSE(wrong.right);
    EXPECT_EQ(wrong.result, "#adf");

    // Five tables at most, the fifth starting at its fifth row.
    const auto big = learning::multiplicationTables(prepared("#abcdef(#abcde").operation);
    ASSERT_EQ(big.size(), 5u);
    EXPECT_EQ(big[4].size(), 4u + 6u + 1u);
    EXPECT_EQ(big[4][3], "   =");
    EXPECT_EQ(big[4][4], "f(a=");
}

TEST(ColumnArithmetic, RowAnswers) {
    EXPECT_EQ(learning::rowAnswer("b+c="), '\0');
    EXPECT_EQ(learning::rowAnswer("b+c=e"), 'e');
    EXPECT_EQ(learning::rowAnswer("   = "), ' ');
    EXPECT_EQ(learning::rowAnswer("   ="), '\0');
}

TEST(ColumnArithmetic, LongDivisionRefusesImpossibleDigits) {
    const auto op = prepared("#age/#e").operation;  // 175 : 5
    LongDivision d(op, 0);
    EXPECT_EQ(d.stepLine(), "ag/e= ");
    EXPECT_EQ(d.enter(4), LongDivision::Step::Refused);  // 20 > 17
    EXPECT_EQ(d.enter(2), LongDivision::Step::Refused);  // remainder 7 is not below 5
    EXPECT_EQ(d.enter(3), LongDivision::Step::Next);
    EXPECT_EQ(d.stepLine(), "be/e= ");
    EXPECT_EQ(d.stepCount(), 2);
    EXPECT_EQ(d.enter(5), LongDivision::Step::Done);
    EXPECT_EQ(d.quotientText(), "#ce");
    EXPECT_EQ(d.remainderText(), "#j");
    EXPECT_TRUE(d.right());
    EXPECT_EQ(d.enter(1), LongDivision::Step::Refused);  // nothing left to divide
}

TEST(ColumnArithmetic, LongDivisionQuotientsAndRemainders) {
    struct Case {
        std::string_view text;
        int requested;
        std::vector<std::string_view> steps;  // the step lines of the correct working
        std::string_view quotient, remainder;
    };
    const Case cases[] = {
        {"#g/#b", 0, {"g/b= "}, "#c", "#a"},
        {"#g,j/#b", 1, {"g/b= ", "aj/b= "}, "#c,e", "#j"},  // F2 asked for one decimal
        {"#aj,j/#c", 1, {"aj/c= ", "aj/c= "}, "#c,c", "#j,a"},
        {"#e/#bj", 0, {"e/bj= "}, "#j", "#e"},  // a dividend smaller than the divisor
        {"#e,j/#bj", 1, {"ej/bj= "}, "#j,b", "#a,j"},
        // 7 : 2,5 with one decimal: the zero F2 added is worked out as 70 : 25, and one more
        // zero is brought down for the decimal asked
        {"#g,j/#b,e", 1, {"gj/be= ", "bjj/be= "}, "#b,h", "#j"},
        {"#ajh/#e", 0, {"aj/e= ", "h/e= "}, "#ba", "#c"},  // a zero remainder before a digit
        {"#ajb/#aj", 0, {"aj/aj= ", "b/aj= "}, "#aj", "#b"},
    };
    for (const Case& c : cases) {
        const auto p = prepared(c.text, c.requested);
        ASSERT_EQ(p.refusal, Refusal::None) << c.text;
        LongDivision d(p.operation, c.requested);
        std::vector<std::string_view> steps;
        std::vector<std::string> lines;
        for (;;) {
            lines.push_back(d.stepLine());
            const auto step = d.enter(d.correctDigit());
            if (step != LongDivision::Step::Next) {
                EXPECT_EQ(step, LongDivision::Step::Done) << c.text;
                break;
            }
        }
        EXPECT_EQ(std::vector<std::string>(c.steps.begin(), c.steps.end()), lines) << c.text;
        EXPECT_EQ(d.quotientText(), c.quotient) << c.text;
        EXPECT_EQ(d.remainderText(), c.remainder) << c.text;
        EXPECT_TRUE(d.right()) << c.text;
    }
}

TEST(ColumnArithmetic, LongDivisionOverflowsAtTheEighthStepLine) {
    // 12 dividend digits (8 and four decimals asked) by 2: eleven steps are needed.
    const auto p = prepared("#abcdefgh,jjjj/#b", 4);
    ASSERT_FALSE(p.cut);
    LongDivision d(p.operation, 4);
    for (int i = 1; i < learning::kMaxStepLines; ++i) {
        ASSERT_EQ(d.enter(d.correctDigit()), LongDivision::Step::Next) << "step " << i;
    }
    EXPECT_EQ(d.stepCount(), learning::kMaxStepLines);
    EXPECT_EQ(d.enter(d.correctDigit()), LongDivision::Step::Overflow);
    EXPECT_TRUE(d.finished());
    EXPECT_FALSE(d.right());
    EXPECT_EQ(d.quotientText(), "#fagbhci,j");  // the eight digits gathered so far
}

}  // namespace

// ---- the remainder of a division, checked against exact arithmetic on the numbers as written

namespace exact {

// A number of Braille cells ("#j,c") as an integer and its decimals, read here rather than
// through the code under test.
struct Decimal {
    std::int64_t units = 0;
    int decimals = 0;
};

Decimal read(std::string_view cells) {
    Decimal d;
    bool comma = false;
    for (const char c : cells) {
        if (c == ',') {
            comma = true;
        } else if (const std::size_t v = std::string_view("jabcdefghi").find(c);
                   v != std::string_view::npos) {
            d.units = d.units * 10 + static_cast<std::int64_t>(v);
            d.decimals += comma ? 1 : 0;
        }
    }
    return d;
}

std::int64_t scaled(const Decimal& d, int decimals) {
    std::int64_t v = d.units;
    for (int i = d.decimals; i < decimals; ++i) {
        EXPECT_FALSE(__builtin_mul_overflow(v, 10, &v)) << "the check itself would overflow";
    }
    return v;
}

bool same(const Decimal& a, const Decimal& b) {
    const int decimals = std::max(a.decimals, b.decimals);
    return scaled(a, decimals) == scaled(b, decimals);
}

// Quotient truncated to `decimals` decimals and the remainder A - Q * B, both exact.
std::pair<Decimal, Decimal> divide(const Decimal& a, const Decimal& b, int decimals) {
    // Q * 10^decimals = floor(a * 10^(decimals + b.decimals) / (b * 10^a.decimals)).
    const int common = std::max(a.decimals, decimals + b.decimals);
    const std::int64_t numerator = scaled(a, common);
    const std::int64_t denominator = scaled({b.units, b.decimals}, common - decimals);
    const Decimal q{numerator / denominator, decimals};
    const Decimal r{numerator - q.units * denominator, common};
    return {q, r};
}

std::string_view digitsOf(std::string_view text) {
    text.remove_prefix(std::min(text.find('#') + 1, text.size()));
    return text;
}

}  // namespace exact

learning::Prepared withDecimalsAsked(std::string_view text, int decimals) {
    learning::Prepared p = prepared(text);
    for (int i = 0; i < decimals; ++i) {
        p.operation.firstText = learning::withOneMoreDecimal(p.operation.firstText);
    }
    return decimals == 0 ? p : prepared(learning::expressionText(p.operation), decimals);
}

TEST(ColumnArithmetic, DivisionRemainderBelongsToTheNumbersAsWritten) {
    struct Case {
        std::string_view text;
        int asked;  // decimals asked with F2
        std::string_view quotient, remainder;
    };
    const Case cases[] = {
        // decimals in the divisor only
        {"#a/#j,c", 0, "#c", "#j,a"},       // 1 : 0,3 = 3, resto 0,1
        {"#e/#a,b", 0, "#d", "#j,b"},       // 5 : 1,2 = 4, resto 0,2
        {"#e/#a,bj", 0, "#d", "#j,b"},      // a divisor's trailing zero says nothing
        {"#a,b/#j,jg", 0, "#ag", "#j,ja"},  // 1,2 : 0,07 = 17, resto 0,01
        {"#a,b/#j,jc", 0, "#dj", "#j"},     // exact
        {"#j,a/#j,c", 0, "#j", "#j,a"},     // a dividend smaller than the divisor
        // decimals in the dividend only, and on both sides
        {"#g,e/#b", 0, "#c,g", "#j,a"},       // 7,5 : 2 = 3,7, resto 0,1
        {"#ab,cd/#a,e", 0, "#h,b", "#j,jd"},  // 12,34 : 1,5 = 8,2, resto 0,04
        {"#j,jjje/#c", 0, "#j,jjja", "#j,jjjb"},
        // decimals asked with F2
        {"#a/#j,c", 1, "#c,c", "#j,ja"},    // 3,3, resto 0,01
        {"#e/#a,b", 2, "#d,af", "#j,jjh"},  // 5 : 1,2 = 4,16, resto 0,008
        {"#a/#j,c", 4, "#c,cccc", "#j,jjjja"},
        {"#g/#b", 1, "#c,e", "#j"},
        // the largest operands the sheet takes: 8 and 5 digits
        {"#abcdefgh/#abcde", 0, "#ajjj", "#fgh"},
        {"#abcd,efgh/#j,jjjg", 0, "#agfcffh", "#j,jjjb"},
        {"#iiiiiiii/#i,iiii", 0, "#ajjjjjii", "#i,jjii"},     // eight step lines
        {"#abcdefg,h/#j,iiii", 1, "#abcdfia,b", "#j,jfiab"},  // and one zero brought down
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " with " + std::to_string(c.asked) + " asked");
        const learning::Prepared p = withDecimalsAsked(c.text, c.asked);
        ASSERT_EQ(p.refusal, Refusal::None);
        ASSERT_FALSE(p.cut);
        const learning::AnswerKey key = learning::answerKey(p.operation, c.asked);
        ASSERT_FALSE(key.overflow);
        EXPECT_EQ(key.result, c.quotient);
        EXPECT_EQ(key.remainder, c.remainder);

        // The same by exact arithmetic on the numbers the student wrote (and the zeros F2 put
        // after the dividend): A = Q * B + R with 0 <= R < B.
        const std::string_view text = c.text;
        const std::size_t slash = text.find('/');
        exact::Decimal a = exact::read(text.substr(0, slash));
        const exact::Decimal b = exact::read(text.substr(slash + 1));
        for (int i = 0; i < c.asked; ++i) {
            a.units *= 10;
            ++a.decimals;
        }
        const exact::Decimal q = exact::read(exact::digitsOf(key.result));
        const exact::Decimal r = exact::read(exact::digitsOf(key.remainder));
        const auto [rightQ, rightR] = exact::divide(a, b, q.decimals);
        EXPECT_TRUE(exact::same(q, rightQ)) << rightQ.units << " with " << rightQ.decimals;
        EXPECT_TRUE(exact::same(r, rightR)) << rightR.units << " with " << rightR.decimals;
        // The quotient has at least the decimals asked, or is exact.
        EXPECT_TRUE(q.decimals >= c.asked || rightR.units == 0);
    }
}
