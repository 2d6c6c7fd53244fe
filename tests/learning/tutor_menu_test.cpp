#include "learning/tutor_menu.h"

#include <gtest/gtest.h>

#include "learning/messages.h"

namespace learning {
namespace {

struct FlagCase {
    const char* line;
    const char* flags;  // positions 1..10
    bool severalWays;
};

TEST(TutorMenuAnalysis, StepFlags) {
    const FlagCase cases[] = {
        {"?#a+#b*(#c", "1000011000", false},
        {"{#a+#b}", "0100001000", false},
        {"&#a(#b y", "0010010000", false},
        // A bracketed negative number is neither a group nor a subtraction.
        {"?-#b*(#c", "0000010000", false},
        // A leading sign alone is no subtraction; with another term it is.
        {"-#b(#c", "0000010000", false},
        {" -#b", "0000000000", false},
        {"-#b+#c", "0000001000", false},
        {"#b-#c", "0000001000", false},
        {"-#b-#c", "0000001000", false},
        // Digits of numbers and text regions never count.
        {"#?+#b", "0000000000", false},
        {"\\\\testo ?1(\\\\#a+#b", "0000001000", false},
        // Powers: properties when two powers share base or exponent.
        {"a|#b1(a|#c1", "0001110000", false},
        {"a|#b1/c|#b1", "0001110000", false},
        {"a|#b1(c|#d1", "0001010000", false},
        {"?a|#b1*|#c1", "1001100000", false},
        {"?a+#b*|#c1", "1001001000", false},
        // Fractions: a numerator or denominator with an operation is a relation to solve first.
        {"6#a+#bnp#c4", "0000001001", false},
        {"6#anp#c4+#b", "0000001000", false},
        {"6a|#b1npa|#c14", "0001100011", false},
        {"6a|#b1npc|#d14", "0001000011", false},
        {"?6#a+#bnp#c4(#b*", "1000011001", false},
        {"?#a+#b*(6#a+#bnp#c4", "1000011000", false},
        // "=" parts: one expression with work is one way, two are several.
        {"#b(#c=#f", "0000010000", false},
        {"=#b(#c", "0000010000", false},
        {"#b(#c=#d+#a", "0000011000", true},
        {"", "0000000000", false},
    };
    for (const FlagCase& c : cases) {
        const TutorAnalysis a = analyseTutorLine(c.line);
        EXPECT_EQ(a.flags.text(), c.flags) << c.line;
        EXPECT_EQ(a.severalWays, c.severalWays) << c.line;
    }
}

TEST(TutorMenuAnalysis, CurrentLineAndStructuralCopy) {
    TutorAnalysis a = analyseTutorLine("#b ( #c");
    EXPECT_EQ(a.line, "#b ( #c=");
    EXPECT_EQ(a.structural, "#b(#c=");
    a = analyseTutorLine("#b(#c=");
    EXPECT_EQ(a.line, "#b(#c=");
    EXPECT_EQ(analyseTutorLine("").line, "=");
}

struct StepCase {
    const char* line;
    TutorStep step;
    int mode;
    std::optional<StepRefusal> expected;
};

TEST(TutorMenuChoice, OrderOfOperations) {
    using R = StepRefusal;
    using S = TutorStep;
    const StepCase cases[] = {
        // Round brackets and a multiplication outside them.
        {"?#a+#b*(#c", S::MultiplicationsDivisions, 2, R::Sequence},
        {"?#a+#b*(#c", S::RoundBrackets, 2, std::nullopt},
        {"?#a+#b*(#c", S::AdditionsSubtractions, 2, R::Sequence},
        // Nothing of the kind on the line.
        {"#b(#c", S::Powers, 2, R::NoPowers},
        {"#b(#c", S::PowerProperties, 2, R::NoProperties},
        {"#b+#c", S::MultiplicationsDivisions, 2, R::NoProducts},
        {"-#b(#c", S::AdditionsSubtractions, 2, R::NoSums},
        {"#b+#c", S::RoundBrackets, 2, R::NoRoundBrackets},
        {"#b+#c", S::SquareBrackets, 2, R::NoSquareBrackets},
        {"#b+#c", S::Braces, 2, R::NoBraces},
        {"#b+#c", S::ComplexFractions, 2, R::NoComplexFractions},
        // Square before round only outside sequence mode 2.
        {"{#a+#b}(?#c+#d*", S::SquareBrackets, 2, R::Sequence},
        {"{#a+#b}(?#c+#d*", S::SquareBrackets, 1, std::nullopt},
        {"{#a+#b}(?#c+#d*", S::SquareBrackets, 0, std::nullopt},
        {"&#a+#b y({#c}", S::Braces, 2, R::Sequence},
        {"&#a+#b y({#c}", S::Braces, 3, std::nullopt},
        {"&#a+#b y(#c", S::Braces, 2, std::nullopt},
        // Powers after brackets and properties, products after powers, sums last.
        {"#b|#c1(#d", S::Powers, 2, std::nullopt},
        {"#b|#c1(#d", S::MultiplicationsDivisions, 2, R::Sequence},
        {"?#b|#c1*", S::Powers, 2, R::Sequence},
        {"a|#b1(a|#c1", S::Powers, 2, R::Sequence},
        {"a|#b1(a|#c1", S::PowerProperties, 2, std::nullopt},
        {"?a|#b1(a|#c1*", S::PowerProperties, 2, R::Sequence},
        {"#b(#c+#d", S::AdditionsSubtractions, 2, R::Sequence},
        {"#b(#c+#d", S::MultiplicationsDivisions, 2, std::nullopt},
        {"#b+#d", S::AdditionsSubtractions, 2, std::nullopt},
        // A pending complex fraction comes before everything, even what is absent.
        {"6#a+#bnp#c4(#b", S::ComplexFractions, 2, std::nullopt},
        {"6#a+#bnp#c4(#b", S::MultiplicationsDivisions, 2, R::Sequence},
        {"6#a+#bnp#c4(#b", S::Powers, 2, R::Sequence},
        {"6#a+#bnp#c4(#b", S::RoundBrackets, 2, R::Sequence},
        {"?6#a+#bnp#c4(#b*", S::RoundBrackets, 2, R::Sequence},
        // Several ways of proceeding refuse every step.
        {"#b(#c=#d+#a", S::MultiplicationsDivisions, 2, R::SeveralWays},
    };
    for (const StepCase& c : cases) {
        EXPECT_EQ(checkStep(analyseTutorLine(c.line), c.step, c.mode), c.expected)
            << c.line << " step " << static_cast<int>(c.step) << " mode " << c.mode;
    }
}

TEST(TutorMenuChoice, Messages) {
    EXPECT_EQ(refusalMessage(StepRefusal::Sequence),
              "Occorre rispettare la sequenza corretta di esecuzione");
    EXPECT_EQ(refusalMessage(StepRefusal::NoPowers), "Non ci sono potenze da risolvere");
    EXPECT_EQ(refusalMessage(StepRefusal::NoProperties),
              "Non ci sono propriet\xE0 delle potenze da risolvere");
    EXPECT_EQ(refusalMessage(StepRefusal::NoProducts),
              "Non ci sono moltiplicazioni o divisioni da risolvere");
    EXPECT_EQ(refusalMessage(StepRefusal::NoSums),
              "Non ci sono addizioni o sottrazioni da risolvere");
    EXPECT_EQ(refusalMessage(StepRefusal::SeveralWays), messages::kTutorSeveralWays);
    EXPECT_EQ(messages::kTutorRelation,
              "Occorre risolvere il rapporto tra  frazioni \r\n prima di proseguire");
}

}  // namespace
}  // namespace learning
