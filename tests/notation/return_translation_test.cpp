#include "notation/return_translation.h"

#include <gtest/gtest.h>

#include "notation/conversion.h"
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
    // The blank after a logarithm goes, but not before a letter: "\\lnx" would be one command.
    EXPECT_EQ(translate("\\overline {3}+\\ln x+\\log 2+\\lg (x)#"), "'3+\\ln x+\\log2+\\log(x)");
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

// x^{2^{3}} is x to the 8th: rewritten as (x^{2})^{3} it would be x to the 6th. It comes back
// as it went out, and converts to the same Braille as the page it came from.
TEST(ReturnTranslation, PowerOfAPowerComesBackUnchanged) {
    EXPECT_EQ(translate("y=x^{2^{3}}#"), "y=x^{2^{3}}");
    EXPECT_EQ(translate("\\frac{1}{x^{2^{3}}}#"), "\\frac{1}{x^{2^{3}}}");
    EXPECT_EQ(translate("(a+b)^{2^{n}}#"), "(a+b)^{2^{n}}");
    EXPECT_EQ(translate("x^{2^{3}}+y^{4^{5}}#"), "x^{2^{3}}+y^{4^{5}}");
    EXPECT_EQ(translate("x^{2^{3}+1}#"), "x^{2^{3}+1}");
    const auto braille = notation::convertLatexToBraille(translate("x^{2^{3}}#"), 1);
    EXPECT_EQ(braille.text, "_x|#b#c11");
    EXPECT_EQ(notation::convertBrailleToLatex(braille.text, 1).text, "x^{2^{3}}");
}

// The braces a TeX fraction needs around "\over" go; braces that are an argument stay.
TEST(ReturnTranslation, FractionLosesTheGroupOfItsOver) {
    EXPECT_EQ(translate("{a\\over b}#"), "\\frac{a}{b}");
    EXPECT_EQ(translate("x+{1\\over 2}=y#"), "x+\\frac{1}{2}=y");
    EXPECT_EQ(translate("{{a\\over b}}#"), "\\frac{a}{b}");
    EXPECT_EQ(translate("{x\\over {a\\over b}}#"), "\\frac{x}{\\frac{a}{b}}");
    EXPECT_EQ(translate("x^{{1\\over 2}}#"), "x^{\\frac{1}{2}}");
    EXPECT_EQ(translate("x^{1\\over 2}#"), "x^{\\frac{1}{2}}") << "the exponent's braces stay";
    EXPECT_EQ(translate("\\sqrt{a\\over b}#"), "\\sqrt{\\frac{a}{b}}");
    EXPECT_EQ(translate("\\sqrt[3]{a\\over b}#"), "\\sqrt[3]{\\frac{a}{b}}");
    EXPECT_EQ(translate("x_{a\\over b}#"), "x_{\\frac{a}{b}}");
    EXPECT_EQ(translate("\\{\\frac{a}{b}\\}#"), "\\{\\frac{a}{b}\\}") << "set braces";
    EXPECT_EQ(translate("{\\frac{a}{b}+1}#"), "{\\frac{a}{b}+1}") << "more than one fraction";
}

}  // namespace
