#include "learning/tutor_value.h"

#include <gtest/gtest.h>

namespace learning {
namespace {

TEST(TutorValue, WholeNumbersAndFractions) {
    struct Case {
        const char* expression;
        std::optional<Rational> value;
    };
    const Case cases[] = {
        {"#c", Rational{3, 1}},
        {"#ab", Rational{12, 1}},
        {"#,;", Rational{12, 1}},  // lower digits
        {"#+", Rational{6, 1}},
        {"#a+#b", Rational{3, 1}},
        {"#b+#c(#d", Rational{14, 1}},  // times before plus
        {"?#b+#c*(#d", Rational{20, 1}},
        {"#j-#e-#b", Rational{-7, 1}},  // 0 - 5 - 2, from the left
        {"-#b+#c", Rational{1, 1}},
        {"#c(?-#b*", Rational{-6, 1}},
        {"#f/#d", Rational{3, 2}},
        {"6#anp#c4+6#anp#f4", Rational{1, 2}},
        {"6#a+#bnp#c(#d4", Rational{1, 4}},
        {"#b|#c1", Rational{8, 1}},
        {"#b|#a+#b1(#c", Rational{24, 1}},
        {"6#anp#b4|#b1", Rational{1, 4}},
        {"{#a+&#b(#c y}/#g", Rational{1, 1}},
        {" #a + #b ", Rational{3, 1}},
        // No value: letters, labels, roots, unfinished or unknown signs, division by zero.
        {"a+#b", std::nullopt},
        {"TA+#b", std::nullopt},
        {"9#do", std::nullopt},
        {"#a+", std::nullopt},
        {"?#a+#b", std::nullopt},
        {"#a/#j", std::nullopt},
        {"#", std::nullopt},
        {"", std::nullopt},
        {"#b|#jjjjjjj1", Rational{1, 1}},
        {"#b|#eje1", std::nullopt},                  // too large
        {"#jjjjjjjjjjjjjjjjjjjjb", Rational{2, 1}},  // leading zeros
        {"#abcdefghijabcdefghij", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(expressionValue(c.expression), c.value) << c.expression;
    }
}

}  // namespace
}  // namespace learning
