#include "editor/input/deletions.h"

#include <gtest/gtest.h>

namespace editor {
namespace {

const std::string kNotInside = "Il cursore non \xE8 posizionato all'interno di ";

void expectChanged(const DeletionResult& r, const std::string& text, std::size_t caret) {
    EXPECT_TRUE(r.changed);
    EXPECT_TRUE(r.message.empty()) << r.message;
    EXPECT_EQ(r.text, text);
    EXPECT_EQ(r.caret, caret);
}

void expectMessage(const DeletionResult& r, const std::string& message) {
    EXPECT_FALSE(r.changed);
    EXPECT_EQ(r.message, message);
}

void expectNothing(const DeletionResult& r) {
    EXPECT_FALSE(r.changed);
    EXPECT_TRUE(r.message.empty()) << r.message;
}

TEST(Deletions, RoundBracketsDeletedAndRestored) {
    Deletions d;
    EXPECT_FALSE(d.canRestoreStructure());
    expectChanged(d.deleteStructure("a?bc*d", 3, Structure::Round), "ad", 1);
    EXPECT_TRUE(d.canRestoreStructure());
    EXPECT_FALSE(d.canRestorePartial());
    expectChanged(d.restoreStructure(), "a?bc*d", 1);
    EXPECT_FALSE(d.canRestoreStructure());
    expectNothing(d.restoreStructure());  // the copy is empty now
}

TEST(Deletions, EmptyStructuresAndEmptyTextsAreLeftAlone) {
    Deletions d;
    expectNothing(d.deleteStructure("a?*d", 2, Structure::Round));
    expectNothing(d.deleteStructure("", 0, Structure::Round));
    expectNothing(d.deletePartial("", 0, PartialDeletion::ToRoundOpen));
    EXPECT_FALSE(d.canRestoreStructure());
}

TEST(Deletions, NumberDigitsAreNeverDelimiters) {
    Deletions d;
    expectMessage(d.deleteStructure("#?*", 2, Structure::Round), kNotInside + "parentesi tonde");
    // The digits ? and * of #?* inside a real bracket.
    expectChanged(d.deleteStructure("?x#?*b*z", 6, Structure::Round), "z", 0);
    // A second number sign starts a number of its own.
    expectMessage(d.deleteStructure("#,,#?*", 5, Structure::Round), kNotInside + "parentesi tonde");
    expectMessage(d.deletePartial("a#?*", 3, PartialDeletion::ToRoundOpen),
                  kNotInside + "parentesi tonde");
}

TEST(Deletions, ScansStopAtLinesAndClosedStructures) {
    Deletions d;
    // After a closed inner bracket the caret is not inside.
    expectMessage(d.deleteStructure("?a?b*c*", 5, Structure::Round),
                  kNotInside + "parentesi tonde");
    expectMessage(d.deleteStructure("?a{b}c*", 6, Structure::Round),
                  kNotInside + "parentesi tonde");
    // A square bracket is not stopped by a closed round one.
    expectChanged(d.deleteStructure("x{a?b*c}", 7, Structure::Square), "x", 1);
    expectMessage(d.deleteStructure("{ay}", 3, Structure::Square), kNotInside + "parentesi quadre");
    // Opened on one line, closed on the next.
    expectMessage(d.deleteStructure("a?bc\r\nd*e", 3, Structure::Round),
                  "Manca parentesi tonda chiusa");
    expectMessage(d.deleteStructure("a\r\n?bc*", 3, Structure::Round),
                  kNotInside + "parentesi tonde");
    expectMessage(d.deleteStructure("abc", 0, Structure::Round), kNotInside + "parentesi tonde");
}

TEST(Deletions, EveryStructureHasItsCellsAndMessages) {
    Deletions d;
    expectChanged(d.deleteStructure("a{bc}d", 3, Structure::Square), "ad", 1);
    expectChanged(d.deleteStructure("a&bcyd", 3, Structure::Curly), "ad", 1);
    expectChanged(d.deleteStructure("x6anp#b4y", 3, Structure::Fraction), "xy", 1);
    expectChanged(d.deleteStructure("x9abcoy", 2, Structure::Root), "xy", 1);
    expectChanged(d.deleteStructure("?ab*\r\nz", 3, Structure::Round), "\r\nz", 0);

    expectMessage(d.deleteStructure("a{b", 2, Structure::Square), "Manca parentesi quadra chiusa");
    expectMessage(d.deleteStructure("a&b", 2, Structure::Curly), "Manca parentesi graffa chiusa");
    expectMessage(d.deleteStructure("6ab", 2, Structure::Fraction), "Manca chiusura frazione");
    expectMessage(d.deleteStructure("9ab", 2, Structure::Root), "Manca chiusura radice");
    expectMessage(d.deleteStructure("ab", 2, Structure::Curly), kNotInside + "parentesi graffe");
    expectMessage(d.deleteStructure("6a4b", 4, Structure::Fraction),
                  kNotInside + "frazioni complesse");
    expectMessage(d.deleteStructure("9aob", 4, Structure::Root), kNotInside + "una radice");
}

TEST(Deletions, PartialDeletionsKeepTheirTarget) {
    Deletions d;
    expectChanged(d.deletePartial("?abc*", 3, PartialDeletion::ToRoundOpen), "?c*", 1);
    expectChanged(d.deletePartial("?abc*", 2, PartialDeletion::ToRoundClose), "?a*", 2);
    expectChanged(d.deletePartial("{abc}", 3, PartialDeletion::ToSquareOpen), "{c}", 1);
    expectChanged(d.deletePartial("{abc}", 2, PartialDeletion::ToSquareClose), "{a}", 2);
    expectChanged(d.deletePartial("&abcy", 3, PartialDeletion::ToCurlyOpen), "&cy", 1);
    expectChanged(d.deletePartial("&abcy", 2, PartialDeletion::ToCurlyClose), "&ay", 2);
    expectChanged(d.deletePartial("x6abcnp_d4", 4, PartialDeletion::ToNumeratorOpen), "x6cnp_d4",
                  2);
    expectChanged(d.deletePartial("x6abcnp_d4", 3, PartialDeletion::ToNumeratorClose), "x6anp_d4",
                  3);
    expectChanged(d.deletePartial("6anp_dx4", 6, PartialDeletion::ToDenominatorOpen), "6anpx4", 4);
    expectChanged(d.deletePartial("6anp_dx4", 5, PartialDeletion::ToDenominatorClose), "6anp_4", 5);
    // At the start of the text the forward scan begins with the first cell.
    expectChanged(d.deletePartial("ab*c", 0, PartialDeletion::ToRoundClose), "*c", 0);
}

TEST(Deletions, PartialDeletionNextToItsTargetDoesNothing) {
    Deletions d;
    expectNothing(d.deletePartial("?abc", 1, PartialDeletion::ToRoundOpen));
    expectNothing(d.deletePartial("ab*c", 3, PartialDeletion::ToRoundClose));
    expectNothing(d.deletePartial("ab*c", 2, PartialDeletion::ToRoundClose));
    EXPECT_FALSE(d.canRestorePartial());
}

TEST(Deletions, PartialDeletionMessages) {
    Deletions d;
    expectMessage(d.deletePartial("a*bc", 3, PartialDeletion::ToRoundOpen),
                  kNotInside + "parentesi tonde");
    expectMessage(d.deletePartial("abc\r\n*", 2, PartialDeletion::ToRoundClose),
                  kNotInside + "parentesi tonde");
    expectMessage(d.deletePartial("{a}bc", 4, PartialDeletion::ToSquareOpen),
                  kNotInside + "parentesi quadre");
    expectMessage(d.deletePartial("abc", 1, PartialDeletion::ToSquareClose),
                  kNotInside + "parentesi quadre");
    expectMessage(d.deletePartial("&ayb", 4, PartialDeletion::ToCurlyOpen),
                  kNotInside + "parentesi graffe");
    expectMessage(d.deletePartial("abc", 1, PartialDeletion::ToCurlyClose),
                  kNotInside + "parentesi graffe");
    expectMessage(d.deletePartial("6a4bc", 5, PartialDeletion::ToNumeratorOpen),
                  kNotInside + "del numeratore di frazione complessa");
    expectMessage(d.deletePartial("6abc", 2, PartialDeletion::ToNumeratorClose),
                  kNotInside + "del numeratore di frazione comlessa");
    expectMessage(d.deletePartial("6a4 b", 5, PartialDeletion::ToDenominatorOpen),
                  kNotInside + "del denominatore di frazione complessa");
    expectMessage(d.deletePartial("npab", 3, PartialDeletion::ToDenominatorClose),
                  kNotInside + "del denominatore di frazione complessa");
}

TEST(Deletions, EachRestoreBringsBackItsOwnCopy) {
    Deletions d;
    const std::string text = "?ab*x{cd}";
    const DeletionResult partial = d.deletePartial(text, 7, PartialDeletion::ToSquareOpen);
    expectChanged(partial, "?ab*x{d}", 6);
    expectChanged(d.deleteStructure(partial.text, 2, Structure::Round), "x{d}", 0);
    EXPECT_TRUE(d.canRestorePartial());
    EXPECT_TRUE(d.canRestoreStructure());
    expectChanged(d.restorePartial(), text, 6);
    expectChanged(d.restoreStructure(), "?ab*x{d}", 0);
    EXPECT_FALSE(d.canRestorePartial());
    EXPECT_FALSE(d.canRestoreStructure());
}

}  // namespace
}  // namespace editor
