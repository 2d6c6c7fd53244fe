#include <gtest/gtest.h>

#include "answer_key_fixture.h"
#include "learning/column_arithmetic.h"

namespace {

using learning::testing::KeyCase;
using learning::testing::readKeys;

// The answer key of every fixture line, as `tattilo-cli calc` prints it and as the sheet lays
// the operation out.
TEST(AnswerKey, FixtureOperations) {
    const auto cases = readKeys();
    ASSERT_GE(cases.size(), 10u);
    for (const KeyCase& c : cases) {
        auto p = learning::prepare(learning::normaliseOperation(c.operation));
        ASSERT_EQ(p.refusal, learning::Refusal::None) << "line " << c.line;
        if (c.decimals > 0) {
            for (int i = 0; i < c.decimals; ++i) {
                p.operation.firstText = learning::withOneMoreDecimal(p.operation.firstText);
            }
            p = learning::prepare(
                learning::normaliseOperation(learning::expressionText(p.operation)), c.decimals);
        }
        EXPECT_EQ(learning::expressionText(p.operation), c.expression) << "line " << c.line;
        const learning::AnswerKey key = learning::answerKey(p.operation, c.decimals);
        EXPECT_EQ(key.rows, c.rows) << "line " << c.line;
        EXPECT_EQ(key.result, c.result) << "line " << c.line;
        EXPECT_EQ(key.remainder, c.remainder) << "line " << c.line;
        EXPECT_FALSE(key.overflow) << "line " << c.line;
    }
}

TEST(AnswerKey, DecimalsAskedAndTakenBack) {
    EXPECT_EQ(learning::withOneMoreDecimal("g"), "g,j");
    EXPECT_EQ(learning::withOneMoreDecimal("g,j"), "g,jj");
    EXPECT_EQ(learning::withOneMoreDecimal("a,e"), "a,ej");
    EXPECT_EQ(learning::withOneDecimalFewer("g,jj"), "g,j");
    EXPECT_EQ(learning::withOneDecimalFewer("g,j"), "g");
    EXPECT_EQ(learning::withOneDecimalFewer("g"), "g");
}

}  // namespace
