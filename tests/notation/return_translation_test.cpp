#include "notation/return_translation.h"

#include <gtest/gtest.h>

#include "notation/messages.h"

namespace {

class RecordingSink : public notation::FormulaErrorSink {
public:
    void formulaError(const std::string& message) override { messages.push_back(message); }
    std::vector<std::string> messages;
};

std::string translate(std::string_view text) {
    const notation::FilterTable noRules;
    notation::FormulaErrorReport report;
    return notation::returnTranslation(text, noRules, report);
}

TEST(ReturnTranslation, FixedPassesWithoutAFilter) {
    EXPECT_EQ(translate(""), "");
    EXPECT_EQ(translate("x"), "") << "the only character is the last one";
    EXPECT_EQ(translate("  a\\ b :c  #"), "a b \\:c");
    EXPECT_EQ(translate("\\\\\\\\%% x#"), "\\\\%%x");
    EXPECT_EQ(translate("\\{ a\\} #"), "\\{a\\}");
    EXPECT_EQ(translate("\\overline {3}+\\ln x#"), "'3+\\lnx");
}

TEST(ReturnTranslation, AccentsOnlyInsideTextRegions) {
    EXPECT_EQ(translate("e' \\backslash \\backslash e'a'i'o'u' \\backslash \\backslash e'#"),
              "e' \\backslash \\backslash \xE8\xE0\xEC\xF2\xF9 \\backslash \\backslash e'");
    // Two regions side by side: the delimiters between them close and open.
    EXPECT_EQ(translate("\\backslash \\backslash a'\\backslash \\backslash "
                        "\\backslash \\backslash o'\\backslash \\backslash #"),
              "\\backslash \\backslash \xE0\\backslash \\backslash \\backslash \\backslash "
              "\xF2\\backslash \\backslash");
}

TEST(ReturnTranslation, DegenerateTexConstructsEndWithinTheText) {
    EXPECT_EQ(translate("a\\over b\\over c#"), "\\frac{a}{\\frac{b}{c}}");
    EXPECT_EQ(translate("{a\\over#"), "{\\frac{a}{}");
    EXPECT_EQ(translate("\\root 3#"), "\\root 3");
    EXPECT_EQ(translate("\\root\\of#"), "\\sqrt[]");
    EXPECT_EQ(translate("\\sqrt#"), "\\sqrt");
    EXPECT_EQ(translate("\\frac{1}#"), "\\frac{1}");
    EXPECT_EQ(translate("\\frac{1#"), "\\frac{1");
    EXPECT_EQ(translate("\\overline{12#"), "\\overline{12");
}

TEST(ReturnTranslation, PowerOfAPowerOfAPowerIsRefusedThroughTheReport) {
    RecordingSink sink;
    notation::FormulaErrorReport report(&sink);
    const notation::FilterTable noRules;
    EXPECT_EQ(notation::returnTranslation("x^{2^{3^{4}}}#", noRules, report), "");
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0], notation::messages::kPowerOfPower);
    EXPECT_FALSE(report.raised());

    EXPECT_EQ(notation::returnTranslation("(x^{2})^{3}#", noRules, report), "(x^{2})^{3}");
    EXPECT_EQ(sink.messages.size(), 1u);
}

TEST(ReturnTranslation, PowerOfAPowerKeepsTheRestOfTheText) {
    EXPECT_EQ(translate("y=x^{2^{3}}#"), "y=(x^{2})^{3}");
    EXPECT_EQ(translate("\\frac{1}{x^{2^{3}}}#"), "\\frac{1}{(x^{2})^{3}}");
    EXPECT_EQ(translate("(a+b)^{2^{n}}#"), "((a+b)^{2})^{n}");
    EXPECT_EQ(translate("x^{2^{3}}+y^{4^{5}}#"), "(x^{2})^{3}+(y^{4})^{5}");
    EXPECT_EQ(translate("x^{2^{3}+1}#"), "x^{2^{3}+1}") << "not a plain power of a power";
}

}  // namespace
