#include "notation/handoff_outgoing.h"

#include "notation/handoff_texts.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using notation::OutgoingFormula;
using Outcome = notation::OutgoingFormula::Outcome;

struct OutgoingCase {
    int line = 0;
    std::string input;
    std::string expected;
};

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// "< input" and "> expected" line pairs; a pilcrow stands for a CR LF line break.
std::vector<OutgoingCase> loadOutgoingCases() {
    const std::string bytes =
        readBytes(std::string(TATTILO_TEST_DATA) + "/notation/handoff/outgoing.txt");
    std::vector<OutgoingCase> cases;
    auto unescape = [](std::string_view s) {
        std::string out;
        for (char c : s) {
            if (c == '\xB6') {
                out += "\r\n";
            } else {
                out += c;
            }
        }
        return out;
    };
    std::size_t pos = 0;
    int lineNumber = 0;
    while (pos < bytes.size()) {
        std::size_t end = bytes.find("\r\n", pos);
        if (end == std::string::npos) {
            end = bytes.size();
        }
        const std::string_view line(bytes.data() + pos, end - pos);
        pos = end + 2;
        ++lineNumber;
        if (line.starts_with("< ")) {
            cases.push_back({lineNumber, unescape(line.substr(2)), {}});
        } else if (line.starts_with("> ")) {
            if (cases.empty()) {
                ADD_FAILURE() << "expected text without input at line " << lineNumber;
                continue;
            }
            cases.back().expected = unescape(line.substr(2));
        }
    }
    return cases;
}

TEST(HandoffOutgoing, PreparesEveryFixtureCase) {
    const std::vector<OutgoingCase> cases = loadOutgoingCases();
    ASSERT_GE(cases.size(), 30u);
    for (const OutgoingCase& c : cases) {
        const OutgoingFormula out = notation::prepareOutgoing(c.input, 1, false, {});
        ASSERT_EQ(out.outcome, Outcome::Send) << "line " << c.line;
        EXPECT_EQ(out.exchangeLine, c.expected) << "fixture line " << c.line;
    }
}

TEST(HandoffOutgoing, ScopeTakesThePageOrTheSelection) {
    const std::string page = "x+1\r\ny=2";
    EXPECT_EQ(notation::takeHandoffText(page, {5, 3}, true), page);
    EXPECT_EQ(notation::takeHandoffText(page, {5, 3}, false), "y=2");
    EXPECT_EQ(notation::takeHandoffText(page, {0, 0}, false), "");
    EXPECT_EQ(notation::takeHandoffText(page, {6, 50}, false), "=2");
    EXPECT_EQ(notation::takeHandoffText(page, {40, 2}, false), "");

    EXPECT_TRUE(notation::isWholePageScope("tutto"));
    EXPECT_FALSE(notation::isWholePageScope("Tutto"));
    EXPECT_FALSE(notation::isWholePageScope("selezione"));
    EXPECT_FALSE(notation::isWholePageScope(""));
}

TEST(HandoffOutgoing, EmptySelectionSendsABlankFormula) {
    const OutgoingFormula out = notation::prepareOutgoing("", 3, false, {});
    EXPECT_EQ(out.outcome, Outcome::Send);
    EXPECT_EQ(out.exchangeLine, "$ $");
    EXPECT_EQ(notation::exchangeFileContent(out.exchangeLine), "$ $\r\n");
}

TEST(HandoffOutgoing, PrintFormulasModeEnclosesTheTextOrStops) {
    EXPECT_EQ(notation::wrapFormula("", true), std::nullopt);
    EXPECT_EQ(notation::wrapFormula("x", true), "$||x||$");
    EXPECT_EQ(notation::wrapFormula(" x ", false), "$x$");
    EXPECT_EQ(notation::prepareOutgoing("", 1, true, {}).outcome, Outcome::NothingToPrint);
    EXPECT_EQ(notation::prepareOutgoing("a b", 1, true, {}).exchangeLine, "$||a\\ b||$");
}

TEST(HandoffOutgoing, LengthLimitCountsTheWrappedText) {
    const std::string fits(1798, 'x');  // 1800 with its two "$"
    const OutgoingFormula sent = notation::prepareOutgoing(fits, 7, false, {});
    EXPECT_EQ(sent.outcome, Outcome::Send);
    EXPECT_EQ(sent.exchangeLine.size(), 1800u);

    const OutgoingFormula refused = notation::prepareOutgoing(fits + "x", 7, false, {});
    EXPECT_EQ(refused.outcome, Outcome::TooLong);
    EXPECT_EQ(refused.message, "Pagina 7\r\nEspressione troppo lunga ");
    EXPECT_TRUE(refused.exchangeLine.empty());

    // Blanks around the formula are removed before counting.
    EXPECT_EQ(notation::prepareOutgoing("  " + fits + "  ", 7, false, {}).outcome, Outcome::Send);
}

TEST(HandoffOutgoing, BracketCheckSeesTheWrappedTextAndRefuses) {
    std::vector<std::string> checked;
    auto unbalancedAtLine2 = [&](std::string_view text) {
        checked.emplace_back(text);
        return 2;
    };
    const OutgoingFormula out = notation::prepareOutgoing("(a\r\n", 12, false, unbalancedAtLine2);
    EXPECT_EQ(out.outcome, Outcome::Unbalanced);
    EXPECT_EQ(out.message, "Pagina 12\r\nErrore nelle parentesi ");
    EXPECT_THAT(checked, testing::ElementsAre("$(a\r\n$"));

    auto balanced = [](std::string_view) { return 0; };
    EXPECT_EQ(notation::prepareOutgoing("(a)", 1, false, balanced).outcome, Outcome::Send);

    // A text that is too long is refused before its brackets are looked at.
    checked.clear();
    notation::prepareOutgoing(std::string(1801, '('), 1, false, unbalancedAtLine2);
    EXPECT_TRUE(checked.empty());
}

TEST(HandoffOutgoing, WarnsWhenThePreparedTextPassesTwoThousand) {
    // 900 blanks each become "\ ": 1800 wrapped characters grow to 2700.
    std::string spaced;
    for (int i = 0; i < 899; ++i) {
        spaced += "a ";
    }
    const OutgoingFormula out = notation::prepareOutgoing(spaced, 1, false, {});
    ASSERT_EQ(out.outcome, Outcome::Send);
    EXPECT_TRUE(out.tooLongForEditor);
    EXPECT_GT(out.exchangeLine.size(), notation::kEditorTextWarningLimit);

    EXPECT_FALSE(notation::prepareOutgoing(std::string(1798, 'a'), 1, false, {}).tooLongForEditor);
}

TEST(HandoffOutgoing, LoneLineFeedsAndCarriageReturnsAreLineBreaksToo) {
    EXPECT_EQ(notation::prepareForEditor("$a\nb\rc\r\nd$"), "$a||b||c||d$");
}

TEST(HandoffOutgoing, BarsAlternateAfreshWithEachHandoff) {
    EXPECT_EQ(notation::prepareForEditor("$%a$"), "$\\left|a$");
    EXPECT_EQ(notation::prepareForEditor("$%a$"), "$\\left|a$");
}

TEST(HandoffOutgoing, SettingsAndExchangeFile) {
    EXPECT_TRUE(notation::handoffSettingsMissing("", "formula.tex"));
    EXPECT_TRUE(notation::handoffSettingsMissing("editor", ""));
    EXPECT_FALSE(notation::handoffSettingsMissing("editor", "formula.tex"));

    const std::filesystem::path temp = "/run/user/1000/tattilo";
    EXPECT_EQ(notation::exchangeFilePath(temp, "formula.tex"), temp / "formula.tex");
    EXPECT_EQ(notation::exchangeFilePath(temp, "mia formula.tex"), temp / "mia formula.tex");
    for (std::string_view bad : {"", ".", "..", "../formula.tex", "a/b.tex", "..\\x.tex",
                                 "/etc/passwd", "a\"b.tex", "a\nb.tex"}) {
        EXPECT_EQ(notation::exchangeFilePath(temp, bad), std::nullopt) << bad;
    }
}

TEST(HandoffOutgoing, CommandLineIsEditorBlankPath) {
    EXPECT_EQ(notation::editorCommandLine("texeditor", "/tmp/t/formula.tex"),
              "texeditor /tmp/t/formula.tex");
    EXPECT_EQ(notation::editorCommandLine("\"/opt/my editor/ed\" -x", "/tmp/a b/formula.tex"),
              "\"/opt/my editor/ed\" -x \"/tmp/a b/formula.tex\"");

    const std::string path = "/tmp/formula.tex";
    const std::string editorAtLimit(notation::kEditorCommandLineLimit - 1 - path.size(), 'e');
    const auto atLimit = notation::editorCommandLine(editorAtLimit, path);
    ASSERT_TRUE(atLimit.has_value());
    EXPECT_EQ(atLimit->size(), notation::kEditorCommandLineLimit);
    EXPECT_EQ(notation::editorCommandLine(editorAtLimit + "e", path), std::nullopt);

    EXPECT_EQ(notation::editorStartFailure("ed /tmp/f.tex"),
              "Errore nel caricamento Editor grafico\r\ned /tmp/f.tex");
}

TEST(HandoffOutgoing, FormulaPrintTitleNamesTheDocumentWithoutFolder) {
    EXPECT_EQ(notation::formulaPrintTitle("/home/anna/esercizi/esercizio004.mtf"),
              "Tattilo  Stampa formule - esercizio004.mtf");
    EXPECT_EQ(notation::formulaPrintTitle("C:\\esercizi\\prova.mtf"),
              "Tattilo  Stampa formule - prova.mtf");
    EXPECT_EQ(notation::formulaPrintTitle(""), "Tattilo  Stampa formule - ");
}

}  // namespace
