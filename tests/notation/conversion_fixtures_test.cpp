#include <gtest/gtest.h>

#include "fixture_file.h"
#include "notation/conversion.h"
#include "notation/filter_table.h"
#include "notation/messages.h"
#include "notation/return_translation.h"
#include "notation/same_formula.h"

namespace {

using notation_test::FixtureCase;
using notation_test::readFixture;

std::string refusal(const FixtureCase& c) {
    return notation::messages::onPage(1, c.expected);
}

void expectConversion(const notation::Conversion& result, const FixtureCase& c) {
    if (c.refused) {
        EXPECT_EQ(result.error, refusal(c)) << "line " << c.line << ": " << c.input;
        EXPECT_EQ(result.text, "") << "line " << c.line;
    } else {
        EXPECT_EQ(result.error, "") << "line " << c.line << ": " << c.input;
        EXPECT_EQ(result.text, c.expected) << "line " << c.line << ": " << c.input;
    }
}

TEST(NotationFixtures, RoundTripPairsConvertBothWays) {
    const auto cases = readFixture("round_trip.txt");
    ASSERT_GT(cases.size(), 50u);
    for (const FixtureCase& c : cases) {
        const auto braille = notation::convertLatexToBraille(c.input, 1);
        EXPECT_TRUE(braille.ok()) << "line " << c.line << ": " << braille.error;
        EXPECT_EQ(braille.text, c.expected) << "line " << c.line << ": " << c.input;
        const auto latex = notation::convertBrailleToLatex(c.expected, 1);
        EXPECT_TRUE(latex.ok()) << "line " << c.line << ": " << latex.error;
        EXPECT_EQ(latex.text, c.input) << "line " << c.line << ": " << c.expected;
    }
}

TEST(NotationFixtures, LatexToBraille) {
    const auto cases = readFixture("latex_to_braille.txt");
    ASSERT_GT(cases.size(), 20u);
    for (const FixtureCase& c : cases) {
        expectConversion(notation::convertLatexToBraille(c.input, 1), c);
    }
}

// A construct gives the same cells however its pieces are spaced, braced or nested.
TEST(NotationFixtures, ConstructsWhateverTheirLayout) {
    const struct {
        std::string_view latex;
        std::string_view braille;
    } cases[] = {
        {"\\frac x {y}", "6_xnp_y4"},  // a bare numerator, a blank on each side
        {"\\frac {x}{y}", "6_xnp_y4"},
        {"\\frac{\\frac{a}{b}}{c}", "66_anp_b4np_c4"},
        {"\\frac{x}{\\frac{a}{b}}+\\frac{1}{2}", "6_xnp6_anp_b44+#,b"},
        {"\\frac{a}{b}^{2}", "6_anp_b4#b1"},
        {"x^{12}+y^{1,5}", "_x#ab1+_y#a,e1"},
        {"x^ {2}", "_x#b1"},
        {"x^{\\frac{1}{2}}", "_x#,b1"},  // a numeric fraction as exponent
        {"\\sqrt{x+1}", "9_x+#ao"},
        {"\\sqrt {x}", "9_xo"},
        {"\\sqrt\\pi", "9>po"},
        {"\\sqrt{\\sqrt{x}}", "99_xoo"},
        {"\\sqrt x^{2}", "9_xo#b1"},
    };
    for (const auto& c : cases) {
        const notation::Conversion result = notation::convertLatexToBraille(c.latex, 1);
        EXPECT_EQ(result.error, "") << c.latex;
        EXPECT_EQ(result.text, c.braille) << c.latex;
    }
}

TEST(NotationFixtures, BrailleToLatex) {
    const auto cases = readFixture("braille_to_latex.txt");
    ASSERT_GT(cases.size(), 20u);
    for (const FixtureCase& c : cases) {
        expectConversion(notation::convertBrailleToLatex(c.input, 1), c);
    }
}

notation::FilterTable defaultFilter() {
    notation::FilterTable table;
    EXPECT_EQ(
        notation::loadFilterTable(std::string(TATTILO_SOURCE_DIR) + "/data", "filtro.base", table),
        notation::FilterLoad::Loaded);
    return table;
}

TEST(NotationFixtures, ReturnTranslationWithTheDefaultFilter) {
    const notation::FilterTable table = defaultFilter();
    const auto cases = readFixture("return_translation.txt");
    ASSERT_GT(cases.size(), 30u);
    for (const FixtureCase& c : cases) {
        notation::FormulaErrorReport report;
        const std::string result = notation::returnTranslation(c.input, table, report);
        if (c.refused) {
            EXPECT_EQ(result, "") << "line " << c.line;
            EXPECT_EQ(report.message(), c.expected) << "line " << c.line << ": " << c.input;
            EXPECT_FALSE(report.raised()) << "the flag is lowered again, line " << c.line;
        } else {
            EXPECT_EQ(result, c.expected) << "line " << c.line << ": " << c.input;
            EXPECT_EQ(report.message(), "") << "line " << c.line;
        }
    }
}

// What formula editors write comes back through the default filter as the stated Latex-mode
// text, which converts to Braille and back to the same formula.
TEST(NotationFixtures, EditorTexThroughTheDefaultFilterAndBothConversions) {
    const notation::FilterTable table = defaultFilter();
    const auto cases = readFixture("editor_tex.txt");
    ASSERT_GE(cases.size(), 150u);
    for (const FixtureCase& c : cases) {
        notation::FormulaErrorReport report;
        const std::string latex = notation::returnTranslation(c.input, table, report);
        EXPECT_EQ(latex, c.expected) << "line " << c.line << ": " << c.input;
        const auto braille = notation::convertLatexToBraille(latex, 1);
        ASSERT_TRUE(braille.ok()) << "line " << c.line << ": " << latex << " " << braille.error;
        const auto back = notation::convertBrailleToLatex(braille.text, 1);
        ASSERT_TRUE(back.ok()) << "line " << c.line << ": " << braille.text << " " << back.error;
        EXPECT_TRUE(notation::sameFormula(back.text, latex))
            << "line " << c.line << ": " << latex << " came back as " << back.text;
    }
}

}  // namespace
