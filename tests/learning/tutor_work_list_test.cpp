#include "learning/tutor_work_list.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>

#include "answer_key_fixture.h"

namespace learning {
namespace {

using testing::split;

TutorStep stepOfCode(const std::string& code) {
    static const std::map<std::string, TutorStep> kCodes{
        {"T", TutorStep::RoundBrackets},
        {"Q", TutorStep::SquareBrackets},
        {"G", TutorStep::Braces},
        {"F", TutorStep::ComplexFractions},
        {"A", TutorStep::AdditionsSubtractions},
        {"M", TutorStep::MultiplicationsDivisions},
        {"P", TutorStep::Powers},
        {"X", TutorStep::PowerProperties},
    };
    return kCodes.at(code);
}

TEST(TutorWorkList, FixtureCases) {
    std::ifstream in(std::string(TATTILO_TEST_DATA) + "/learning/tutor_work_lists.txt");
    ASSERT_TRUE(in) << "tutor_work_lists.txt missing";
    std::string line;
    int cases = 0;
    for (int number = 1; std::getline(in, line); ++number) {
        if (line.empty() || line.rfind("//", 0) == 0) {
            continue;
        }
        const std::vector<std::string> f = split(line, '\t');
        ASSERT_GE(f.size(), 3u) << "line " << number;
        ++cases;
        const WorkListResult r = buildWorkList(stepOfCode(f[0]), f[1]);
        const std::string where = "tutor_work_lists.txt:" + std::to_string(number) + " " + f[1];
        if (f[2] == "!equals" || f[2] == "!notworkable") {
            EXPECT_FALSE(r.list) << where;
            ASSERT_TRUE(r.error) << where;
            EXPECT_EQ(*r.error,
                      f[2] == "!equals" ? WorkListError::EqualsInside : WorkListError::NotWorkable)
                << where;
            continue;
        }
        ASSERT_TRUE(r.list) << where;
        EXPECT_EQ(r.list->labelled, f[2]) << where;
        std::vector<std::string> lines;
        for (const WorkUnit& u : r.list->units) {
            lines.push_back(u.line);
        }
        EXPECT_EQ(lines, std::vector<std::string>(f.begin() + 3, f.end())) << where;
    }
    EXPECT_GT(cases, 50);
}

TEST(TutorWorkList, LabelsCountFromAForEachKind) {
    const WorkListResult r = buildWorkList(TutorStep::ComplexFractions, "6#a+#bnp#c(#d4=");
    ASSERT_TRUE(r.list);
    ASSERT_EQ(r.list->units.size(), 2u);
    EXPECT_EQ(r.list->units[0].label, "NA");
    EXPECT_EQ(r.list->units[1].label, "DB");
    EXPECT_EQ(r.list->units[1].original, "#c(#d");

    // More units than letters is refused rather than labelled past "Z".
    std::string many;
    for (int i = 0; i < 27; ++i) {
        many += "?#a+#b*+";
    }
    EXPECT_EQ(buildWorkList(TutorStep::RoundBrackets, many + "#a=").error,
              WorkListError::NotWorkable);
    EXPECT_TRUE(buildWorkList(TutorStep::RoundBrackets, many.substr(0, 26 * 8) + "#a=").list);
}

TEST(TutorWorkList, CaptionsNameTheSteps) {
    EXPECT_EQ(stepCaption(TutorStep::PowerProperties), "Propriet\xE0 delle potenze");
    EXPECT_EQ(stepFromCaption("Parentesi graffe"), TutorStep::Braces);
    EXPECT_EQ(stepFromCaption("Frazioni complesse"), TutorStep::ComplexFractions);
    EXPECT_FALSE(stepFromCaption("Parentesi"));
}

TEST(TutorResult, AnswersReplaceTheLabels) {
    const WorkList list = *buildWorkList(TutorStep::RoundBrackets, "?#a+#b*(?#c+#d*=").list;
    EXPECT_EQ(resultLine(list, {"#a+#b=#c", "#c+#d= #g "}), "=#c(#g");
    // Working in several steps: the last one counts, empty ones are passed over.
    EXPECT_EQ(resultLine(list, {"#a+#b=#a+#b= #c =", "#c+#d=#g"}), "=#c(#g");
    // A line without an answer puts the group back as it stood.
    EXPECT_EQ(resultLine(list, {"#a+#b=#c", "#c+#d="}), "=#c(?#c+#d*");
    EXPECT_EQ(resultLine(list, {}), "=?#a+#b*(?#c+#d*");
}

TEST(TutorResult, InnerLabelsInsideOuterGroups) {
    const WorkList list = *buildWorkList(TutorStep::RoundBrackets, "?#a(?#b+#c*-#d*=").list;
    EXPECT_EQ(resultLine(list, {"#b+#c=#e", "#a(TA-#d=#a(#e-#d=#a"}), "=#a");
    // The outer line left open: its group comes back with the inner answer in it.
    EXPECT_EQ(resultLine(list, {"#b+#c=#e", "#a(TA-#d="}), "=?#a(#e-#d*");
    // The student may answer with the inner label itself.
    EXPECT_EQ(resultLine(list, {"#b+#c=#e", "#a(TA-#d=TA"}), "=#e");
}

TEST(TutorResult, EqualsAndNumbers) {
    // A leading "=" is kept once; a lower-digit seven in an answer is not a new step.
    const WorkList list = *buildWorkList(TutorStep::MultiplicationsDivisions, "=#b(#c+#a=").list;
    EXPECT_EQ(list.labelled, "=MA+#a=");
    EXPECT_EQ(resultLine(list, {"#b(#c=#="}), "=#=+#a");
    const WorkUnit& unit = list.units[0];
    EXPECT_EQ(unitAnswer(unit, "#b(#c=#="), "#=");
    EXPECT_EQ(unitAnswer(unit, "#b(#c=  = "), std::nullopt);
    // A line whose listed part was changed is read from its first "=".
    EXPECT_EQ(unitAnswer(unit, "#b(#d= #f"), "#f");
    EXPECT_EQ(unitAnswer(unit, "#b(#d"), std::nullopt);
}

TEST(TutorResult, ExamplesOfTheReadme) {
    const WorkList products = *buildWorkList(TutorStep::MultiplicationsDivisions, "=#c(#g=").list;
    EXPECT_EQ(products.labelled, "=MA=");
    EXPECT_EQ(resultLine(products, {"#c(#g=#ba"}), "=#ba");
    const WorkList fractions = *buildWorkList(TutorStep::ComplexFractions, "6#a+#bnp#c(#d4=").list;
    EXPECT_EQ(resultLine(fractions, {"#a+#b =#c", "#c(#d = #ab"}), "=6#cnp#ab4");
}

TEST(TutorWorkList, EqualsInsideOnlyOutsideNumbers) {
    EXPECT_TRUE(equalsInside("#a+#b=#c="));
    EXPECT_FALSE(equalsInside("=#a+#b="));
    EXPECT_FALSE(equalsInside(" =#a+#b= "));
    EXPECT_FALSE(equalsInside("#b(#=+#a="));  // "#=" is the number seven
}

TEST(TutorWorkList, PowerBases) {
    EXPECT_EQ(powerBaseStart("#b(x|#b1", 4), 3u);
    EXPECT_EQ(powerBaseStart("y|#b1", 1), 0u);  // no braces open: the letter y
    EXPECT_EQ(powerBaseStart("&#a+#by|#b1", 7), 0u);
    EXPECT_EQ(powerBaseStart("+|#b1", 1), std::nullopt);
    EXPECT_EQ(powerBaseStart("|#b1", 0), std::nullopt);
    EXPECT_EQ(exponentOpening("a|b|c11", 6), 1u);
    EXPECT_EQ(exponentOpening("ab1", 2), std::nullopt);
}

}  // namespace
}  // namespace learning
