#include "notation/same_formula.h"

#include <gtest/gtest.h>

namespace {

using notation::sameFormula;

TEST(SameFormula, SpellingsThatKeepTheMeaning) {
    const std::pair<const char*, const char*> same[] = {
        {"x_{i}+x^{2}", "x_i+x^2"},
        {"x^{\\alpha}", "x^\\alpha"},
        {"\\frac{a}{b}", "\\frac ab"},
        {"\\frac{1}{2}", "\\frac 1 2"},
        {"\\sqrt{x}+\\sqrt[3]{y}", "\\sqrt x+\\sqrt[3]y"},
        {"{d}x", "dx"},
        {"\\frac{{d}y}{{d}x}", "\\frac{dy}{dx}"},
        {"  x+1 ", "x+1"},
        {"\\lim_{x\\to\\infty}(x)", "\\lim_{x\\to \\infty}(x)"},
        {"\\sum_{i=1}^{n} (i)", "\\sum_{i=1}^{n}(i)"},
        {"\\sum\\limits_{i=1}^{n}(i)", "\\sum_{i=1}^{n}(i)"},
        {"x\xA7{2}", "x^{2}"},
        {"|x|", "%x%"},
        {"A=\\emptyset", "A=\\{\\}"},
        {"A=\\varnothing", "A=\\{\\}"},
        {"\\lim_{x\\to 0^+}(x)", "\\lim_{x\\to 0+}(x)"},
        {"\\lim_{x\\to 0^{-}}(x)", "\\lim_{x\\to 0-}(x)"},
        {"x^{ 2 }", "x^2"},
    };
    for (const auto& [a, b] : same) {
        EXPECT_TRUE(sameFormula(a, b)) << a << " / " << b;
        EXPECT_TRUE(sameFormula(b, a)) << b << " / " << a;
    }
}

TEST(SameFormula, DifferentFormulasStayDifferent) {
    const std::pair<const char*, const char*> different[] = {
        // The groups of the round-trip faults: a subscript of several tokens is not its first.
        {"a_{n+1}", "a_n+1"},
        {"a_{2n}", "a_2n"},
        {"x^{12}", "x^12"},
        {"n_{n-1}^{2}", "n_n-1^{2}"},
        {"\\int_{1,5}^{2}(x)", "\\int_{1}^{5,2}(x)"},
        {"\\frac{ab}{c}", "\\frac abc"},
        {"\\sqrt{xy}", "\\sqrt xy"},
        // Blanks inside the formula are spaces the student wrote.
        {"a b", "ab"},
        {"\\ne g", "\\neg"},
        {"\\alpha x", "\\alphax"},
        // Text regions are words: nothing in them is respelled.
        {"\\\\x_{i}\\\\", "\\\\x_i\\\\"},
        {"\\\\a  b\\\\", "\\\\a b\\\\"},
        {"x^{+}", "x+"},
        {"x+1", "x+2"},
        {"(a)", "a"},
    };
    for (const auto& [a, b] : different) {
        EXPECT_FALSE(sameFormula(a, b)) << a << " / " << b;
    }
}

TEST(SameFormula, UnfinishedTextsCompareWithoutRunningOff) {
    for (const char* text :
         {"x^", "\\frac{", "\\sqrt[3", "{{", "}", "\\", "\\\\a", "_{", "\\lim_{"}) {
        EXPECT_TRUE(sameFormula(text, text)) << text;
    }
    EXPECT_FALSE(sameFormula("x^", "x^2"));
}

}  // namespace
