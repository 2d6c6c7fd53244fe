// The mode switch never changes what a formula means: over generated corpora of school
// formulas, every Latex-mode text that LaTeX-to-Braille accepts comes back from Braille as the
// same formula, every one it refuses is refused with a message, and the Braille it wrote comes
// back identical from a Braille-first round trip.

#include <gtest/gtest.h>

#include "fixture_file.h"
#include "formula_corpus.h"
#include "notation/conversion.h"
#include "notation/same_formula.h"
#include "notation/text_scan.h"

namespace {

struct Tally {
    int accepted = 0;
    int refused = 0;
    int faults = 0;
};

void checkFormula(const std::string& latex, Tally& tally) {
    const auto braille = notation::convertLatexToBraille(latex, 1);
    if (!braille.ok()) {
        ++tally.refused;
        EXPECT_TRUE(braille.text.empty()) << latex;
        EXPECT_TRUE(braille.error.starts_with("Pagina 1\r\n") && braille.error.size() > 10)
            << latex << ": " << braille.error;
        return;
    }
    ++tally.accepted;
    const auto back = notation::convertBrailleToLatex(braille.text, 1);
    const bool same = back.ok() && notation::sameFormula(back.text, latex);
    EXPECT_TRUE(same) << latex << "\n  Braille " << braille.text << "\n  back    "
                      << (back.ok() ? back.text : back.error);
    const auto again = notation::convertLatexToBraille(back.text, 1);
    EXPECT_EQ(again.text, braille.text)
        << "Braille first: " << braille.text << " via " << back.text;
    if (!same || again.text != braille.text) {
        ++tally.faults;
    }
}

TEST(RoundTripProperty, GeneratedSchoolFormulasKeepTheirMeaning) {
    notation_test::FormulaGenerator generator(20240921);
    Tally tally;
    // Stops early after a few faults, so that a broken conversion does not flood the log.
    for (int i = 0; i < 20000 && tally.faults < 20; ++i) {
        checkFormula(generator.formula(), tally);
    }
    EXPECT_EQ(tally.faults, 0);
    EXPECT_EQ(tally.accepted + tally.refused, 20000);
    EXPECT_GT(tally.accepted, 19000) << "the corpus must mostly be formulas the notation can say";
    RecordProperty("accepted", tally.accepted);
    RecordProperty("refused", tally.refused);
}

TEST(RoundTripProperty, FixtureFormulasBesideGeneratedOnes) {
    notation_test::FormulaGenerator generator(7);
    Tally tally;
    for (const auto& c : notation_test::readFixture("round_trip.txt")) {
        checkFormula(c.input, tally);
        checkFormula(generator.formula() + "+" + c.input, tally);
        checkFormula(c.input + " " + generator.formula(), tally);
    }
    EXPECT_EQ(tally.faults, 0);
}

}  // namespace

// A page converts as its lines do: what each line gives alone, the page gives line by line.
TEST(RoundTripProperty, APageConvertsAsItsLines) {
    notation_test::FormulaGenerator generator(99);
    int pages = 0;
    int faults = 0;
    for (int i = 0; i < 3000 && faults < 10; ++i) {
        // Blanks at the ends of a page are trimmed, those of its inner lines kept.
        const std::string first(notation::trimBlanks(generator.formula()));
        const std::string second(notation::trimBlanks(generator.formula()));
        const auto a = notation::convertLatexToBraille(first, 1);
        const auto b = notation::convertLatexToBraille(second, 1);
        if (!a.ok() || !b.ok()) {
            continue;
        }
        ++pages;
        const auto page = notation::convertLatexToBraille(first + "\r\n" + second, 1);
        const bool same = page.ok() && page.text == a.text + "\r\n" + b.text;
        EXPECT_TRUE(same) << first << "\n"
                          << second << "\n  alone " << a.text << " / " << b.text << "\n  page  "
                          << (page.ok() ? page.text : page.error);
        const auto back = notation::convertBrailleToLatex(a.text + "\r\n" + b.text, 1);
        const auto backA = notation::convertBrailleToLatex(a.text, 1);
        const auto backB = notation::convertBrailleToLatex(b.text, 1);
        const bool sameBack = back.ok() && back.text == backA.text + "\r\n" + backB.text;
        EXPECT_TRUE(sameBack) << a.text << "\n"
                              << b.text << "\n  page back " << (back.ok() ? back.text : back.error);
        faults += same && sameBack ? 0 : 1;
    }
    EXPECT_GT(pages, 2500);
}
