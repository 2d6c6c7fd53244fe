// The bracket balance check, the formula error report and the mode switch over fifteen pages.

#include <gtest/gtest.h>

#include "notation/bracket_balance.h"
#include "notation/conversion.h"
#include "notation/messages.h"

namespace {

using notation::ConversionDirection;
using notation::PageTexts;

class RecordingSink : public notation::FormulaErrorSink {
public:
    void formulaError(const std::string& message) override { messages.push_back(message); }
    std::vector<std::string> messages;
};

TEST(BracketBalance, ReportsTheFirstUnbalancedLine) {
    EXPECT_EQ(notation::bracketBalance(""), 0);
    EXPECT_EQ(notation::bracketBalance("(a+[b])\\{c\\}"), 0);
    EXPECT_EQ(notation::bracketBalance(")("), 0) << "only the final sum decides";
    EXPECT_EQ(notation::bracketBalance("(a"), 1);
    EXPECT_EQ(notation::bracketBalance("a\r\n(b\r\nc"), 2);
    EXPECT_EQ(notation::bracketBalance("(a\r\nb)\r\n[c"), 1)
        << "the first line whose end was unbalanced, even if a later one balanced it";
    EXPECT_EQ(notation::bracketBalance("\\\\(((\\\\x"), 0) << "text regions do not count";
    EXPECT_EQ(notation::bracketBalance("\\\\\\\\(x"), 1) << "\\\\\\\\ is an empty region";
    // Weights 1, 10, 100: ten round brackets do not make up for a square one.
    EXPECT_EQ(notation::bracketBalance("[))))))))))"), 0);
    EXPECT_EQ(notation::bracketBalance("{]"), 1);
}

TEST(FormulaErrorReport, StoresRaisesAndTellsTheSink) {
    RecordingSink sink;
    notation::FormulaErrorReport report(&sink);
    EXPECT_FALSE(report.raised());
    report.report("Pagina 2\r\nFunzione sconosciuta");
    EXPECT_TRUE(report.raised());
    EXPECT_EQ(report.message(), "Pagina 2\r\nFunzione sconosciuta");
    ASSERT_EQ(sink.messages.size(), 1u);
    report.clear();
    EXPECT_FALSE(report.raised());
    EXPECT_EQ(report.message(), "Pagina 2\r\nFunzione sconosciuta");

    notation::FormulaErrorReport silent;  // no sink: the message is only kept
    silent.report("x");
    EXPECT_TRUE(silent.raised());
}

TEST(ConvertAllPages, LeavingLatexConvertsEveryPage) {
    PageTexts latex;
    PageTexts braille;
    latex[0] = "x+1";
    latex[14] = "\\frac{3}{4}";
    braille[5] = "stale";
    RecordingSink sink;
    notation::FormulaErrorReport report(&sink);
    EXPECT_TRUE(
        notation::convertAllPages(ConversionDirection::LatexToBraille, latex, braille, report));
    EXPECT_EQ(braille[0], "_x+#a");
    EXPECT_EQ(braille[5], "") << "an empty page converts to an empty page";
    EXPECT_EQ(braille[14], "#:d");
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_FALSE(report.raised());
}

// A refused page keeps both its texts: the student's own and the other notation's last good
// one, which the flags say is no longer in step.
TEST(ConvertAllPages, ARefusedPageKeepsBothTextsAndTheLoopGoesOn) {
    PageTexts latex;
    PageTexts braille;
    latex[1] = "\\foo";
    latex[2] = "x^ab";
    latex[3] = "y";
    latex[4] = "30\xB0";
    braille[1] = "old";
    braille[4] = "_x";
    RecordingSink sink;
    notation::FormulaErrorReport report(&sink);
    notation::PageFlags unconverted{};
    unconverted[0] = true;  // cleared by the call
    EXPECT_FALSE(notation::convertAllPages(ConversionDirection::LatexToBraille, latex, braille,
                                           report, &unconverted));
    ASSERT_EQ(sink.messages.size(), 3u);
    EXPECT_EQ(sink.messages[0], "Pagina 2\r\nFunzione sconosciuta");
    EXPECT_EQ(sink.messages[1], "Pagina 3\r\nFunzione potenza - usare formula potenza complessa ");
    EXPECT_TRUE(sink.messages[2].starts_with("Pagina 5\r\nCarattere sconosciuto \"\xB0\""));
    EXPECT_EQ(braille[1], "old");
    EXPECT_EQ(braille[2], "");
    EXPECT_EQ(braille[4], "_x");
    EXPECT_EQ(braille[3], "_y") << "later pages are still converted";
    EXPECT_TRUE(report.raised());
    EXPECT_EQ(latex[1], "\\foo") << "the source page is never touched";
    const notation::PageFlags expected = {false, true, true, false, true};
    EXPECT_EQ(unconverted, expected);
}

TEST(ConvertAllPages, UnbalancedBracketsEndTheLoop) {
    PageTexts latex;
    PageTexts braille;
    latex[0] = "a";
    latex[4] = "(a+b";
    latex[6] = "c";
    braille[4] = "old";
    braille[6] = "old";
    RecordingSink sink;
    notation::FormulaErrorReport report(&sink);
    notation::PageFlags unconverted{};
    EXPECT_FALSE(notation::convertAllPages(ConversionDirection::LatexToBraille, latex, braille,
                                           report, &unconverted));
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0], "Pagina 5\r\nErrore nelle parentesi ");
    EXPECT_EQ(braille[0], "_a");
    EXPECT_EQ(braille[4], "old");
    EXPECT_EQ(braille[6], "old") << "pages after the unbalanced one are not reached";
    for (std::size_t i = 0; i < unconverted.size(); ++i) {
        EXPECT_EQ(unconverted[i], i >= 4) << "page " << i + 1;
    }
}

TEST(ConvertAllPages, LeavingBrailleChecksTheConvertedText) {
    PageTexts latex;
    PageTexts braille;
    braille[0] = "9_xo";
    braille[1] = "6_a";
    braille[2] = "?_a";
    braille[3] = "_b";
    latex[1] = "old";
    latex[3] = "old";
    RecordingSink sink;
    notation::FormulaErrorReport report(&sink);
    EXPECT_FALSE(
        notation::convertAllPages(ConversionDirection::BrailleToLatex, latex, braille, report));
    ASSERT_EQ(sink.messages.size(), 2u);
    EXPECT_EQ(sink.messages[0], "Pagina 2\r\nFormula frazione errata");
    EXPECT_EQ(sink.messages[1], "Pagina 3\r\nErrore nelle parentesi ");
    EXPECT_EQ(latex[0], "\\sqrt{x}");
    EXPECT_EQ(latex[1], "old");
    EXPECT_EQ(latex[2], "");
    EXPECT_EQ(latex[3], "old");
}

TEST(ConversionLimits, EighteenHundredCharacters) {
    const std::string exact(1800, 'x');
    EXPECT_TRUE(notation::convertLatexToBraille(exact, 1).ok());
    EXPECT_EQ(notation::convertLatexToBraille(exact + "x", 7).error,
              notation::messages::onPage(7, "Espressione troppo lunga "));

    // LaTeX-to-Braille counts a text region as its placeholder; Braille-to-LaTeX counts it
    // whole.
    const std::string withRegion = std::string(1700, 'x') + "\\\\" + std::string(200, 'a') + "\\\\";
    EXPECT_TRUE(notation::convertLatexToBraille(withRegion, 1).ok());
    const std::string brailleWithRegion =
        std::string(1700, 'a') + "\\\\" + std::string(200, 'a') + "\\\\";
    EXPECT_EQ(notation::convertBrailleToLatex(brailleWithRegion, 1).error,
              notation::messages::onPage(1, "Espressione troppo lunga "));
    EXPECT_TRUE(notation::convertBrailleToLatex(std::string(1800, 'a'), 1).ok());
}

TEST(ConversionLimits, RegionsBeyondFiftyOnePassThroughAndCountWhole) {
    std::string text;
    for (int i = 0; i < 60; ++i) {
        text += "\\\\r" + std::to_string(i) + "\\\\+";
    }
    text += "x";
    const auto braille = notation::convertLatexToBraille(text, 1);
    ASSERT_TRUE(braille.ok()) << braille.error;
    EXPECT_NE(braille.text.find("\\\\r59\\\\+_x"), std::string::npos);
    EXPECT_EQ(notation::convertBrailleToLatex(braille.text, 1).text, text);

    // Beyond the 51 kept aside, regions count in the length with all their characters.
    std::string many;
    for (int i = 0; i < 52; ++i) {
        many += "\\\\" + std::string(i < 51 ? 1 : 1780, 'w') + "\\\\";
    }
    EXPECT_FALSE(notation::convertLatexToBraille(many, 1).ok());
}

// Plain braces must group, read outside text regions and after the characters are read as
// signs; a character without a sign is refused before the braces are judged.
TEST(ConversionChecks, BracesGroupAsTheTextReads) {
    const std::string brackets = notation::messages::onPage(1, notation::messages::kBrackets);
    const std::string unknown = notation::messages::onPage(1, "Carattere sconosciuto");
    const struct {
        std::string_view latex;
        const std::string* refusal;  // the start of the message; null: converted
    } cases[] = {
        {"{a}", nullptr},            // a group
        {"}{", &brackets},           // a brace closed before any opened
        {"{a", &brackets},           // a group never closed
        {"{a\r\nb}", nullptr},       // a group over two lines of a page
        {"\\{a", nullptr},           // "\{" is a character
        {"x^{2}\\}", nullptr},       // and so is "\}"
        {"\\\\{\\\\a", nullptr},     // a brace inside a text region
        {"\\\\--\\\\{a}", nullptr},  // a group right after a region
        {"\xB2}", &brackets},        // a superscript's braces close, the typed one does not
        {"\\\xB5}\\\\", nullptr},    // "\\mu": the backslash opens a region with the sign
        {"}{\xB0", &unknown},        // the character is refused first
    };
    for (const auto& c : cases) {
        const notation::Conversion result = notation::convertLatexToBraille(c.latex, 1);
        if (c.refusal == nullptr) {
            EXPECT_TRUE(result.ok()) << c.latex << ": " << result.error;
        } else {
            EXPECT_TRUE(result.error.starts_with(*c.refusal)) << c.latex << ": " << result.error;
        }
    }
}

// A page is refused for its brackets exactly when the bracket balance says so, before any
// other refusal; otherwise it converts as the formula does. The reading of the characters
// weighs the brackets, so every way of reading one is here.
TEST(ConversionChecks, PageBracketsWeighedAsTheBalanceWeighsThem) {
    const std::string_view texts[] = {
        "(a+[b])",      "(a",           ")(",          "[))))))))))",  "{]",
        "\\\\{a",       "\\{a\\}",      "\\{a",        "x^{2}\\}",     "\\\\((\\\\x",
        "\\\\((\\\\x)", "\\\\\\\\(x",   "\\\\(",       "a\\\\b)\\\\)", "\\frac{(a}{b)}",
        "\\\xB5(",      "\\\xB5()\\\\", "\xB2(",       "\xB2()",       "(\xB0",
        "()\xB0",       "(a\r\nb)",     "(a\r\nb",     "a\r\n(b\r\nc", "\xA0T1\xA0(",
        "\xA0T1\xA0()", "\\sqrt[3]{x}", "\\sqrt[3{x}", "{a}}",         "\\(",
    };
    for (const std::string_view text : texts) {
        const notation::LatexPageConversion page = notation::convertLatexPage(text, 3);
        const bool unbalanced = notation::bracketBalance(text) != 0;
        EXPECT_EQ(page.unbalanced, unbalanced) << text;
        if (unbalanced) {
            EXPECT_EQ(page.conversion.error,
                      notation::messages::onPage(3, notation::messages::kBrackets))
                << text;
        } else {
            const notation::Conversion formula = notation::convertLatexToBraille(text, 3);
            EXPECT_EQ(page.conversion.text, formula.text) << text;
            EXPECT_EQ(page.conversion.error, formula.error) << text;
        }
    }
}

// The passes stop after as many keywords as the reading of the characters met: every
// construct of a kind is still converted, one after another, nested, or beside a keyword that
// is no command ("\fracx") or that stands in a text region.
TEST(ConversionChecks, EveryConstructOfAKindConverted) {
    const struct {
        std::string_view latex;
        std::string_view cells;  // empty: refused
    } cases[] = {
        {"\\frac{a}{b}+\\frac{c}{d}+\\frac{e}{f}", "6_anp_b4+6_cnp_d4+6_enp_f4"},
        {"\\frac{\\frac{\\frac{1}{x}}{y}}{z}", "666#anp_x4np_y4np_z4"},
        {"\\fracx+\\frac{a}{b}", ""},
        {"\\sqrt{a}\\sqrt{b}\\sqrt[3]{c}", "9_ao9_bo9#c:_co"},
        {"\\sqrt{\\sqrt{\\sqrt{x}}}", "999_xooo"},
        {"\\sum_{i=1}^{n}(\\sum_{j=1}^{n}(i))", "<S_i=#a,_n:?<S_j=#a,_n:?_i**"},
        {"\\int_{0}^{1}(x)+\\int_{1}^{2}(x)", "7#j,a:?_x*+7#a,b:?_x*"},
        {"\\\\\\frac\\\\\\frac{a}{b}", "\\\\\\frac\\\\6_anp_b4"},
    };
    for (const auto& c : cases) {
        const notation::Conversion result = notation::convertLatexToBraille(c.latex, 1);
        EXPECT_EQ(result.text, c.cells) << c.latex;
        EXPECT_EQ(result.ok(), !c.cells.empty()) << c.latex << ": " << result.error;
    }
}

TEST(ConversionReport, RefusalsGoThroughTheReport) {
    RecordingSink sink;
    notation::FormulaErrorReport report(&sink);
    EXPECT_EQ(notation::latexToBraille("\\foo", 4, report), "");
    EXPECT_TRUE(report.raised());
    EXPECT_EQ(report.message(), "Pagina 4\r\nFunzione sconosciuta");
    report.clear();
    EXPECT_EQ(notation::brailleToLatex("9_x", 12, report), "");
    EXPECT_EQ(sink.messages.back(), "Pagina 12\r\nErrore radice quadrata - manca chiusura");
    report.clear();
    EXPECT_EQ(notation::brailleToLatex("9_xo", 1, report), "\\sqrt{x}");
    EXPECT_FALSE(report.raised());
}

}  // namespace
