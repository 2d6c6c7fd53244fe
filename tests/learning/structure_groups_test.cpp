#include "learning/structure_groups.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

using learning::GroupKind;
using testing::ElementsAre;
using testing::IsEmpty;

// Expected texts write the label byte 0xA0 as '~'.
std::string marks(std::string text) {
    std::replace(text.begin(), text.end(), '~', '\xA0');
    return text;
}
std::vector<std::string> marks(std::vector<std::string> lines) {
    for (std::string& l : lines) {
        l = marks(l);
    }
    return lines;
}
const std::vector<std::string>& groups(const learning::GroupStructure& s, GroupKind kind) {
    return s.contents[static_cast<std::size_t>(kind)];
}

struct ExtractionCase {
    std::string expression;
    bool braille;
    std::string line;
    std::vector<std::string> round, square, brace;
    std::string bracketList;
};

TEST(StructureGroups, ExtractionByKindInnermostFirst) {
    const std::vector<ExtractionCase> cases = {
        // No brackets at all: nothing to list, the line as it was.
        {"#b+#c(#d", true, "#b+#c(#d", {}, {}, {}, ""},
        // Two siblings are 1 and 2 from left to right; their container is 3.
        {"??a+b*(?c-d**", true, "~T3~", {"a+b", "c-d", "~T1~(~T2~"}, {}, {}, "? ? * ? * * "},
        // Round, then square, then brace groups, each kind numbered on its own.
        {"{?a+b*(c}+&d-{e}y",
         true,
         "~Q1~+~G1~",
         {"a+b"},
         {"~T1~(c", "e"},
         {"d-~Q2~"},
         "{ ? * } & { } y "},
        // Latex mode: its own signs, the brace signs two cells each.
        {"\\{a+[b-(c)]\\}\\cdot 2",
         false,
         "~G1~\\cdot 2",
         {"c"},
         {"b-~T1~"},
         {"a+~Q1~"},
         "\\{ [ ( ) ] \\} "},
        // Brackets inside a text region are words, not groups.
        {"\\\\?x*\\\\+?a*", true, "\\\\?x*\\\\+~T1~", {"a"}, {}, {}, "? * "},
        // A stray closing or opening sign stays where it is.
        {"a*?b*", true, "a*~T1~", {"b"}, {}, {}, "* ? * "},
        {"?a+?b*", true, "?a+~T1~", {"b"}, {}, {}, "? ? * "},
        {"{a+{b}", true, "{a+~Q1~", {}, {"b"}, {}, "{ { } "},
    };
    for (const ExtractionCase& c : cases) {
        const learning::GroupStructure s = learning::extractGroups(c.expression, c.braille);
        EXPECT_FALSE(s.tooManyGroups) << c.expression;
        EXPECT_EQ(s.line, marks(c.line)) << c.expression;
        EXPECT_EQ(groups(s, GroupKind::Round), marks(c.round)) << c.expression;
        EXPECT_EQ(groups(s, GroupKind::Square), marks(c.square)) << c.expression;
        EXPECT_EQ(groups(s, GroupKind::Brace), marks(c.brace)) << c.expression;
        EXPECT_EQ(learning::bracketList(c.expression, c.braille), c.bracketList) << c.expression;
    }
}

TEST(StructureGroups, TwentyOneGroupsOfAKindAndNoMore) {
    std::string expression;
    for (int i = 0; i < 21; ++i) {
        expression += "?a*+";
    }
    expression += "{b}";
    const learning::GroupStructure full = learning::extractGroups(expression, true);
    EXPECT_FALSE(full.tooManyGroups);
    ASSERT_EQ(groups(full, GroupKind::Round).size(), 21u);
    EXPECT_EQ(groups(full, GroupKind::Square), std::vector<std::string>{"b"});
    // Past nine the numbers go on with the cells after '9'; the fifteenth is '?', the round
    // opening sign, and must not open a group; the thirteenth is '='.
    EXPECT_NE(full.line.find(marks("~T?~+~T@~")), std::string::npos);
    EXPECT_EQ(full.line.substr(full.line.size() - 9), marks("~TE~+~Q1~"));
    EXPECT_EQ(learning::bracketList(full.line, true), "");
    EXPECT_EQ(learning::findOutsideLabels(full.line + "=x", '=', 0, true), full.line.size());

    const learning::GroupStructure over = learning::extractGroups("?a*" + expression, true);
    EXPECT_TRUE(over.tooManyGroups);
    EXPECT_EQ(groups(over, GroupKind::Round).size(), 21u) << "the lists never grow past 21";
}

TEST(StructureGroups, LinesAsTheViewShowsThem) {
    const learning::GroupStructure braille = learning::extractGroups("{?a+b*(c}+&d-{e}y", true);
    EXPECT_EQ(learning::structureLineText(braille, true), marks("~Q1~+~G1~ ="));
    EXPECT_EQ(learning::contentLines(braille, true),
              marks({"G1  d-~Q2~ =", "", "Q1  ~T1~(c =", "Q2  e =", "", "T1  a+b ="}));

    // Latex mode shows round and square labels in their brackets, brace labels as blanks.
    const learning::GroupStructure latex = learning::extractGroups("\\{a+[b-(c)]\\}=", false);
    EXPECT_EQ(learning::structureLineText(latex, false), marks("~G1~=")) << "ends with =";
    EXPECT_EQ(learning::contentLines(latex, false),
              marks({"G1  a+[Q1] =", "", "Q1  b-(T1) =", "", "T1  c ="}));

    const learning::GroupStructure none = learning::extractGroups("#b+#c", true);
    EXPECT_EQ(learning::structureLineText(none, true), "#b+#c =");
    EXPECT_THAT(learning::contentLines(none, true), IsEmpty());
}

TEST(StructureGroups, GroupNames) {
    EXPECT_EQ(learning::groupName("T1  a+b ="), "parentesi tonda prima");
    EXPECT_EQ(learning::groupName("Q2  e ="), "parentesi quadra seconda");
    EXPECT_EQ(learning::groupName("G9"), "parentesi graffa nona");
    EXPECT_EQ(learning::groupName("T:  x ="), "parentesi tonda decima");
    EXPECT_EQ(learning::groupName("TE  x ="), "parentesi tonda ventunesima");
    for (const char* nothing : {"", "T", "x1  a =", "T0  a =", "TF  a ="}) {
        EXPECT_EQ(learning::groupName(nothing), "") << nothing;
    }
}

TEST(StructureGroups, SubstitutionInTheLineAndInTheContainer) {
    // Siblings 1 and 2 inside 3; the value of 1 goes into the content of 3.
    const learning::GroupStructure nested = learning::extractGroups("#b(??a+b*(?c-d**", true);
    std::string line = learning::structureLineText(nested, true);
    std::vector<std::string> contents = learning::contentLines(nested, true);
    contents[0] += " #e ";
    EXPECT_TRUE(learning::substituteValues(line, contents, true));
    EXPECT_EQ(line, marks("#b(~T3~ ="));
    EXPECT_EQ(contents, marks({"T1  a+b = #e ", "T2  c-d =", "T3  #e(~T2~ ="}));
    // Again: nothing left to replace.
    EXPECT_FALSE(learning::substituteValues(line, contents, true));
    contents[2] += "#f";
    EXPECT_TRUE(learning::substituteValues(line, contents, true));
    EXPECT_EQ(line, "#b(#f =");

    // Top-level siblings, in Latex mode, where the labels show in brackets.
    const learning::GroupStructure latex = learning::extractGroups("(a)+[b]", false);
    line = learning::structureLineText(latex, false);
    contents = learning::contentLines(latex, false);
    EXPECT_EQ(line, "(T1)+[Q1] =");
    EXPECT_EQ(contents, (std::vector<std::string>{"Q1  b =", "", "T1  a ="}));
    contents.back() += "x";
    EXPECT_TRUE(learning::substituteValues(line, contents, false));
    EXPECT_EQ(line, "x+[Q1] =");

    // A blank value, an empty separator line and a line without "=" change nothing.
    line = "~T1~ =";
    contents = {"T1  a = ", "", "T2  b"};
    EXPECT_FALSE(learning::substituteValues(line, contents, true));
}

TEST(StructureGroups, StoredResult) {
    EXPECT_EQ(learning::storedStructure("?a*+?b*", "#c+#d = #g ", true), "?a*+?b*\r\n#g\r\n");
    EXPECT_EQ(learning::storedStructure("?a*", marks("~T1~ =  "), true), "")
        << "nothing typed after the =";
    EXPECT_EQ(learning::storedStructure("?a*", marks("~T1~ ~T=~"), true), "")
        << "a label's number cell is not the =";
    EXPECT_EQ(learning::storedStructure("?a*", "#c =#c\r\nnota", true), "?a*\r\nnota\r\n#c\r\n");
}

}  // namespace
