#include "notation/handoff_return.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using notation::Placement;

std::string identity(std::string_view s) {
    return std::string(s);
}

TEST(HandoffReturn, DoubleBarsBecomeLineBreaksButNotTheBarsOfLeftAndRight) {
    EXPECT_EQ(notation::joinExchangeLines("$x=1||y=2$\r\n"), "$x=1\r\ny=2$");
    EXPECT_EQ(notation::joinExchangeLines("$\\left||x|\\right|$"), "$\\left||x|\\right|$");
    EXPECT_EQ(notation::joinExchangeLines("$\\left|||x$"), "$\\left|\r\nx$");
    EXPECT_EQ(notation::joinExchangeLines("$\\right|||x$"), "$\\right|\r\nx$");
    EXPECT_EQ(notation::joinExchangeLines("$a||||b$"), "$a\r\n\r\nb$");
    EXPECT_EQ(notation::joinExchangeLines("$a|||b$"), "$a\r\n|b$");
}

TEST(HandoffReturn, LinesAreJoinedWithoutSeparator) {
    EXPECT_EQ(notation::joinExchangeLines("$a+\r\nb\nc\rd$\r\n"), "$a+bcd$");
    EXPECT_EQ(notation::joinExchangeLines("$a|\r\n|b$"), "$a||b$");  // not across lines
    EXPECT_EQ(notation::joinExchangeLines(""), "");
    EXPECT_EQ(notation::joinExchangeLines("\r\n\r\n"), "");
}

TEST(HandoffReturn, VisibleSpacesLoseTheirExtraBlanks) {
    EXPECT_EQ(notation::readBackExchange("$a\\  b$").text, "$a\\ b$");
    EXPECT_EQ(notation::readBackExchange("$a\\     b$").text, "$a\\ b$");
    EXPECT_EQ(notation::readBackExchange("$a\\ b\\  c$").text, "$a\\ b\\ c$");
    EXPECT_EQ(notation::readBackExchange("$a  b$").text, "$a  b$");
    EXPECT_EQ(notation::readBackExchange("$a\\   ").text, "$a\\ ");
}

TEST(HandoffReturn, WarnsWhenTheEditorGaveMoreThanTwoThousand) {
    // Measured before the extra blanks are dropped.
    const std::string longText = "$" + std::string(1000, 'a') + "\\" + std::string(999, ' ') + "$";
    const notation::ReadBack back = notation::readBackExchange(longText + "\r\n");
    EXPECT_TRUE(back.tooLongFromEditor);
    EXPECT_LT(back.text.size(), 2000u);
    EXPECT_FALSE(notation::readBackExchange(std::string(2000, 'a')).tooLongFromEditor);
}

TEST(HandoffReturn, ReturnedTextIsTrimmedAndEndsWithALineBreak) {
    std::vector<std::string> seen;
    auto translate = [&](std::string_view s) {
        seen.emplace_back(s);
        return "  x+1 ";
    };
    EXPECT_EQ(notation::returnedText("$x+1$", translate), "x+1\r\n");
    EXPECT_THAT(seen, testing::ElementsAre("$x+1$"));

    seen.clear();
    EXPECT_EQ(notation::returnedText("", translate), " \r\n");
    EXPECT_TRUE(seen.empty());

    EXPECT_EQ(notation::returnedText("$$", [](std::string_view) { return std::string(); }),
              " \r\n");
    EXPECT_EQ(notation::returnedText("x", [](std::string_view) { return "a\r\nb\r\n"; }),
              "a\r\nb\r\n");

    EXPECT_TRUE(notation::nothingCameBack(" \r\n"));
    EXPECT_TRUE(notation::nothingCameBack("\r\n\r\n"));
    EXPECT_FALSE(notation::nothingCameBack("x\r\n"));
}

TEST(HandoffReturn, LatexResultReplacesThePageOrOnlyTheSelection) {
    const std::string page = "a=1\r\nb=x+1 fine";
    // Scope "tutto": the whole page.
    Placement whole = notation::placeLatexResult(page, {9, 3}, true, "y=2\r\n", 4);
    EXPECT_TRUE(whole.changed);
    EXPECT_EQ(whole.page, "y=2\r\n");
    EXPECT_EQ(whole.caret, 3u);  // was between CR and LF of the new text: end of its line

    // Any other scope: the selection "x+1", the line stays one line.
    Placement part = notation::placeLatexResult(page, {7, 3}, false, "(x+1)\r\n", 10);
    EXPECT_TRUE(part.changed);
    EXPECT_EQ(part.page, "a=1\r\nb=(x+1) fine");
    EXPECT_EQ(part.caret, 10u);

    // A selection that ended with a line break keeps one.
    Placement line = notation::placeLatexResult(page, {0, 5}, false, "a=2\r\n", 0);
    EXPECT_EQ(line.page, "a=2\r\nb=x+1 fine");
}

TEST(HandoffReturn, NothingBackLeavesTheLatexPage) {
    const std::string page = "x+1";
    for (std::string_view nothing : {" \r\n", "\r\n"}) {
        const Placement p = notation::placeLatexResult(page, {0, 0}, false, nothing, 2);
        EXPECT_FALSE(p.changed);
        EXPECT_EQ(p.page, page);
        EXPECT_EQ(p.caret, 2u);
    }
}

TEST(HandoffReturn, BrailleResultIsConvertedOrThePageKept) {
    const std::string page = "_a=#a\r\n_x+#a";
    std::vector<std::string> converted;
    auto toBraille = [&](std::string_view latex) -> std::optional<std::string> {
        converted.emplace_back(latex);
        return std::string("[") + std::string(latex) + "]";
    };
    Placement part = notation::placeBrailleResult(page, {7, 5}, false, "x+2\r\n", 0, toBraille);
    EXPECT_TRUE(part.changed);
    EXPECT_EQ(part.page, "_a=#a\r\n[x+2]");
    EXPECT_EQ(part.caret, 12u);
    EXPECT_THAT(converted, testing::ElementsAre("x+2"));

    Placement whole = notation::placeBrailleResult(page, {7, 5}, true, "x+2\r\n", 40, toBraille);
    EXPECT_EQ(whole.page, "[x+2\r\n]");
    EXPECT_EQ(whole.caret, whole.page.size());

    converted.clear();
    Placement nothing = notation::placeBrailleResult(page, {0, 0}, true, " \r\n", 0, toBraille);
    EXPECT_FALSE(nothing.changed);
    EXPECT_TRUE(converted.empty());

    // A refused conversion never empties the student's page.
    auto refuse = [](std::string_view) -> std::optional<std::string> { return std::nullopt; };
    Placement refused = notation::placeBrailleResult(page, {0, 0}, true, "\\foo\r\n", 3, refuse);
    EXPECT_FALSE(refused.changed);
    EXPECT_EQ(refused.page, page);
}

// An editor that saves exactly what it was given: what goes out comes back, line breaks
// included, and a bar next to "\left|" is not taken for a line break.
TEST(HandoffReturn, UnchangedEditorGivesBackTheSentText) {
    struct Case {
        std::string formula;
        std::string back;
    };
    const std::vector<Case> cases = {
        {"x=1\r\ny=2", "$x=1\r\ny=2$"},
        {"%|x|%", "$\\left||x|\\right|$"},
        {"%a%\r\nb", "$\\left|a\\right|\r\nb$"},
        {"a b", "$a\\ b$"},
    };
    for (const Case& c : cases) {
        const notation::OutgoingFormula out = notation::prepareOutgoing(c.formula, 1, false, {});
        const std::string file = notation::exchangeFileContent(out.exchangeLine);
        EXPECT_EQ(notation::readBackExchange(file).text, c.back) << c.formula;
        EXPECT_EQ(notation::returnedText(notation::readBackExchange(file).text, identity),
                  c.back + "\r\n");
    }
}

}  // namespace
