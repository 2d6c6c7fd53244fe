#include "learning/decomposition_steps.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using learning::InnerKind;
using learning::StepKind;

struct CountCase {
    const char* cells;
    int round, square, brace, exponents, mulDiv, addSub;
};

TEST(DecompositionSteps, Counting) {
    const std::vector<CountCase> cases = {
        {"#b+#c", 0, 0, 0, 0, 0, 1},
        {"?#b+#c*(#d", 1, 0, 0, 0, 1, 1},
        // A bracketed negative number is a number, its minus no subtraction.
        {"?-#b*(#c", 0, 0, 0, 0, 1, 0},
        // ... but a group that starts with a minus and goes on is a group.
        {"?-#b+#c*", 1, 0, 0, 0, 0, 1},
        // Operators in an exponent are not counted; its closing is.
        {"#b|#c+#d(#e1(#f", 0, 0, 0, 1, 1, 0},
        // Lower digits after the number sign are digits: "#(+" is a number.
        {"#(+#c", 0, 0, 0, 0, 0, 0},
        {"#b,e(#c", 0, 0, 0, 0, 1, 0},
        // In an exponent a round group counts only when it holds work.
        {"#b|?-#c*1", 0, 0, 0, 1, 0, 0},
        {"#b|?#c+#d*1", 1, 0, 0, 1, 0, 0},
        {"{#b-?#c(#d*}(&#e+#fy", 1, 1, 1, 0, 2, 2},
        {"", 0, 0, 0, 0, 0, 0},
    };
    for (const CountCase& c : cases) {
        const learning::WorkCounts n = learning::countWork(c.cells);
        EXPECT_EQ(n.round, c.round) << c.cells;
        EXPECT_EQ(n.square, c.square) << c.cells;
        EXPECT_EQ(n.brace, c.brace) << c.cells;
        EXPECT_EQ(n.exponents, c.exponents) << c.cells;
        EXPECT_EQ(n.mulDiv, c.mulDiv) << c.cells;
        EXPECT_EQ(n.addSub, c.addSub) << c.cells;
    }
}

TEST(DecompositionSteps, StagesAndCaptionsInTheirPriority) {
    struct Case {
        const char* cells;
        std::string caption;
        StepKind kind;
    };
    const std::vector<Case> cases = {
        {"{#b-?#c(#d*}(&#e+#fy", "Parentesi tonde (1)", StepKind::Round},
        {"?#b+#c*(?#d-#a*", "Parentesi tonde (2)", StepKind::Round},
        {"{#b-#c}(&#e+#fy", "Parentesi quadre (1)", StepKind::Square},
        {"#b(&#e+#fy", "Parentesi graffe (1)", StepKind::Brace},
        {"#b(#c/#d+#e", "Molt. - Div. (2)", StepKind::MulDiv},
        {"#b+#c-#d", "", StepKind::Final},
        {"#b|#c1", "", StepKind::Final},
        {"?-#b*", "", StepKind::Nothing},
    };
    for (const Case& c : cases) {
        const learning::Stage s = learning::stageOf(learning::countWork(c.cells));
        EXPECT_EQ(s.kind, c.kind) << c.cells;
        EXPECT_EQ(learning::stepCaption(s.kind, s.count), c.caption) << c.cells;
    }

    const learning::InnerStage powers = learning::innerStageOf(learning::countWork("#b+#c|#b1(#d"));
    EXPECT_EQ(powers.kind, InnerKind::Powers);
    EXPECT_EQ(learning::innerCaption(powers.kind, powers.count), "Potenze (1)");
    const learning::InnerStage products = learning::innerStageOf(learning::countWork("#b+#c(#d"));
    EXPECT_EQ(learning::innerCaption(products.kind, products.count), "Molt. - Div. (1)");
    // One class of work only: the group is worked out in one go.
    EXPECT_EQ(learning::innerStageOf(learning::countWork("#b+#c-#d")).kind, InnerKind::Nothing);
    EXPECT_EQ(learning::innerStageOf(learning::countWork("#b(#c(#d")).kind, InnerKind::Nothing);
}

struct PieceCase {
    const char* cells;
    std::size_t start, length;
    const char* shown;
};

void expectPiece(const std::optional<learning::WorkPiece>& piece, const PieceCase& c) {
    ASSERT_TRUE(piece.has_value()) << c.cells;
    EXPECT_EQ(piece->start, c.start) << c.cells;
    EXPECT_EQ(piece->length, c.length) << c.cells;
    EXPECT_EQ(piece->shown, c.shown) << c.cells;
}

TEST(DecompositionSteps, GroupsCutOutInnermostFirst) {
    expectPiece(learning::nextGroup("??#b+#c*(#d-#e*", StepKind::Round),
                {"??#b+#c*(#d-#e*", 1, 7, "#b+#c"});
    // The bracketed negative number inside stays in its group.
    expectPiece(learning::nextGroup("?#b+?-#c**(#b", StepKind::Round),
                {"?#b+?-#c**(#b", 0, 10, "#b+?-#c*"});
    expectPiece(learning::nextGroup("#b(?-#c*+{#b+#c}", StepKind::Square),
                {"#b(?-#c*+{#b+#c}", 9, 7, "#b+#c"});
    expectPiece(learning::nextGroup("&#b+{#c}y(#d", StepKind::Brace),
                {"&#b+{#c}y(#d", 0, 9, "#b+{#c}"});
    EXPECT_FALSE(learning::nextGroup("?#b+#c", StepKind::Round)) << "never closed";
    EXPECT_FALSE(learning::nextGroup("?-#b*+#c", StepKind::Round)) << "only a number";
    EXPECT_FALSE(learning::nextGroup("?#b*", StepKind::MulDiv));
}

TEST(DecompositionSteps, OperandsAroundAMultiplicationOrDivision) {
    const std::vector<PieceCase> cases = {
        {"#b+#c(#d-#e", 3, 5, "#c(#d"},
        {"?-#b*(#c", 0, 8, "?-#b*(#c"},
        {"#b|#c+#d1(#e+#a", 0, 12, "#b|#c+#d1(#e"},
        {"a/#b=", 0, 4, "a/#b"},
        {"#ba(c+#d", 0, 5, "#ba(c"},
        {"#ab,e/#e-#a", 0, 8, "#ab,e/#e"},
        {"#b+?-#c*/?-#d*", 3, 11, "?-#c*/?-#d*"},
    };
    for (const PieceCase& c : cases) {
        expectPiece(learning::nextOperation(c.cells), c);
    }
    EXPECT_FALSE(learning::nextOperation("#b+#c"));
    EXPECT_FALSE(learning::nextOperation("#b|#c(#d1")) << "only inside an exponent";

    expectPiece(learning::nextPower("#b+#c|#b1(#d"), {"#b+#c|#b1(#d", 3, 6, "#c|#b1"});
    expectPiece(learning::nextPower("a|#b+#c1"), {"a|#b+#c1", 0, 8, "a|#b+#c1"});
    EXPECT_FALSE(learning::nextPower("#b(#c"));
}

TEST(DecompositionSteps, TypedValues) {
    EXPECT_EQ(learning::valueToStore(" -#b "), "?-#b*");
    EXPECT_EQ(learning::valueToStore("#e"), "#e");
    EXPECT_EQ(learning::valueToStore("  "), "");
    for (const char* balanced : {"?-#b*", "&{#b}y", "#e", ""}) {
        EXPECT_TRUE(learning::bracketsBalance(balanced)) << balanced;
    }
    for (const char* unbalanced : {"?#b", "#b*", "&{#b}", "{?#c}"}) {
        EXPECT_FALSE(learning::bracketsBalance(unbalanced)) << unbalanced;
    }
}

}  // namespace
