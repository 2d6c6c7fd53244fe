#include "speech/rendering.h"

#include <gtest/gtest.h>

#include <random>

#include "fixture.h"
#include "speech/speech_reader.h"

namespace {

using speech::render;

std::string visible(const std::string& s) {
    return "[" + s + "]";
}

// Every line of the fixture: mode, input, the words the reader hands to the engine.
TEST(Rendering, SpeaksTheFixtureLinesWordForWord) {
    const auto cases = speech::test::readFixture("rendering.txt", 3);
    ASSERT_GT(cases.size(), 50u);
    for (const auto& c : cases) {
        const std::string mode = c.fields[0] == "none" ? "" : c.fields[0];
        EXPECT_EQ(visible(speech::wordsFor(mode, c.fields[1])), visible(c.fields[2]))
            << "rendering.txt line " << c.number << ": mode '" << mode << "', input "
            << visible(c.fields[1]);
    }
}

TEST(Rendering, KeepsTheWholeLineAndTheLastTokenApart) {
    const speech::Rendering r = render("last", "#ab a");
    EXPECT_EQ(r.whole, " segnanumero 12 spazioa");
    EXPECT_EQ(r.lastToken, "a");
    EXPECT_EQ(r.spoken, "a");
    // A lower digit keeps a number going: the letter after it is still a digit.
    EXPECT_EQ(render("last", "#ab+c").whole, " segnanumero 12 +3");

    // A cell that says nothing leaves the last token empty, even after words.
    EXPECT_EQ(render("last", "a%b@").lastToken, "");
    EXPECT_EQ(render("last", "").whole, "");
}

TEST(Rendering, CountsOpeningsAndClosings) {
    speech::Balance b = render("all", "6?a*np&{9x").balance;
    EXPECT_EQ(b.fractions, 1);
    EXPECT_EQ(b.numerators, 0);
    EXPECT_EQ(b.denominators, 1);
    EXPECT_EQ(b.rounds, 0);
    EXPECT_EQ(b.braces, 1);
    EXPECT_EQ(b.squares, 1);
    EXPECT_EQ(b.roots, 1);

    // After a letter sign or a capital sign the closing cells are letters, not closings.
    b = render("all", "_n_p_o_y").balance;
    EXPECT_EQ(b, speech::Balance{});

    // A '?' that is a digit of a number is no bracket.
    EXPECT_EQ(render("all", "#?").balance.rounds, 0);
    EXPECT_EQ(render("all", "?").balance.rounds, 1);

    // Exponents: '|' opens, '1' closes; number exponents have no opening.
    EXPECT_EQ(render("all", "|a|b11").balance.exponents, 0);
    EXPECT_EQ(render("all", "x#b1").balance.exponents, 0);
    EXPECT_EQ(render("all", "x1").balance.exponents, -1);
    EXPECT_EQ(render("all", "|x").balance.exponents, 1);
}

TEST(Rendering, ReadsAWholeLineDiagnosticOnlyOnceAndTheLastThatApplies) {
    // Braces and round brackets both open: the round brackets are named.
    EXPECT_EQ(render("all", "&?").spoken,
              " apertaparentesigraffa  apertaparentesitonda  parentesi tonde errate");
    // An open fraction leaves its numerator open too, and that comes last.
    EXPECT_EQ(render("all", "6").spoken, "frazione apertonumeratore  chiuso numeratore errato");
    // A typed key names every closing without its opening.
    EXPECT_EQ(render("key", "y}").spoken,
              " chiusaparentesiquadra  chiusura parentesi graffa errata chiusura parentesi "
              "quadra errata");
    // Openings without their closings are no concern of a typed key.
    EXPECT_EQ(render("key", "&{").spoken, " apertaparentesiquadra ");
}

TEST(Rendering, InsertsTheOpeningOfANumberExponentWrittenWithoutIt) {
    // After a number and after a closing bracket the exponent gets its opening.
    EXPECT_EQ(render("all", "?a*#b1").spoken,
              " apertaparentesitonda a chiusaparentesitonda  elevato2 chiusapotenza");
    // Only once, however many closings follow.
    EXPECT_EQ(render("all", "#b#c11").spoken, "2 elevato3 chiusapotenza chiusapotenza");
}

TEST(Rendering, TheModeWordChangesOnlyWhatItShould) {
    // Unknown mode words read like "last".
    EXPECT_EQ(render("other", "#ab").spoken, render("last", "#ab").spoken);
    // A root names its kind only when the whole line is read.
    EXPECT_EQ(render("last", "9").spoken,
              "aperta rad\xEC"
              "ce ");
    // Capital letters say so except in a whole line.
    EXPECT_EQ(render("key", "A").spoken, "A maiuscola");
    EXPECT_EQ(render("all", "A").spoken, "A");
}

// Lines far longer than any page: every root of a long run and every implicit exponent
// opening is still read in its place, in time linear in the line (a file handed to tattilo-cli may
// hold such a line).
TEST(Rendering, ReadsVeryLongLinesToTheEnd) {
    const std::string open =
        "aperta rad\xEC"
        "ce ";
    const std::size_t n = 200000;
    std::string roots(n, '9');
    roots += "#b:#co";
    std::string expected;
    for (std::size_t i = 1; i < n; ++i) {
        expected += open;  // the ':' is the innermost root's index: the others are square
        expected += " quadrata di";
    }
    expected += open;
    expected +=
        "2 di3 chiusa rad\xEC"
        "ce manca chiusura radice ";
    EXPECT_TRUE(render("all", roots).spoken == expected);

    std::string powers;
    std::string spoken;
    for (int i = 0; i < 50000; ++i) {
        powers += "#b#c1";
        spoken += "2 elevato3 chiusapotenza";
    }
    const speech::Rendering r = render("all", powers);
    EXPECT_TRUE(r.spoken == spoken);
    EXPECT_EQ(r.balance.exponents, 0);
}

// Any bytes at all: no crash, no endless loop, and the same words twice.
TEST(Rendering, AcceptsAnyBytes) {
    std::mt19937 random(20240611);
    const std::string cells = "#$_69:opn4k|1?*{}&y%\\\xA0\xF2>.<abcdefghij,;:/?+=(*)TQG@ \r\n";
    for (int round = 0; round < 3000; ++round) {
        std::string line;
        const int length = static_cast<int>(random() % 40);
        for (int i = 0; i < length; ++i) {
            line +=
                round % 2 == 0 ? cells[random() % cells.size()] : static_cast<char>(random() % 256);
        }
        for (const char* mode : {"all", "key", "last", "canc", ""}) {
            const speech::Rendering first = render(mode, line);
            const speech::Rendering second = render(mode, line);
            ASSERT_EQ(first.spoken, second.spoken) << visible(line);
        }
    }
}

}  // namespace
