#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "learning/column_arithmetic.h"

namespace {

struct KeyCase {
    int line = 0;
    std::string operation;
    int decimals = 0;
    std::string expression;
    std::vector<std::string> rows;
    std::string result;
    std::string remainder;
};

std::vector<std::string> split(const std::string& s, char at) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = s.find(at, start);
        parts.push_back(s.substr(start, end - start));
        if (end == std::string::npos) {
            return parts;
        }
        start = end + 1;
    }
}

std::vector<KeyCase> readKeys() {
    std::ifstream in(std::string(TATTILO_TEST_DATA) + "/learning/answer_keys.txt");
    std::vector<KeyCase> cases;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (line.empty() || (line[0] == '#' && line.find('\t') == std::string::npos)) {
            continue;
        }
        const auto f = split(line, '\t');
        if (f.size() != 6) {
            ADD_FAILURE() << "answer_keys.txt:" << number << ": six fields expected";
            continue;
        }
        cases.push_back({number, f[0], std::stoi(f[1]), f[2], split(f[3], '|'), f[4], f[5]});
    }
    return cases;
}

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
