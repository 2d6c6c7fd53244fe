// Arbitrary bytes never crash, hang or reach outside the text: every conversion gives a
// result or a refusal. (The sanitizer build and the fuzz targets check the memory side.)

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "notation/bracket_balance.h"
#include "notation/conversion.h"
#include "notation/filter_table.h"
#include "notation/return_translation.h"

namespace {

// A refusal is a page message and no text; a success has no message.
void expectResultOrRefusal(const notation::Conversion& c) {
    if (!c.error.empty()) {
        EXPECT_EQ(c.text, "");
        EXPECT_TRUE(c.error.starts_with("Pagina 1\r\n")) << c.error;
    }
}

void convertEverything(std::string_view text) {
    const auto braille = notation::convertLatexToBraille(text, 1);
    expectResultOrRefusal(braille);
    if (braille.ok()) {
        expectResultOrRefusal(notation::convertBrailleToLatex(braille.text, 1));
    }
    expectResultOrRefusal(notation::convertBrailleToLatex(text, 1));
    notation::FormulaErrorReport report;
    notation::FilterTable table;
    notation::loadFilterTable(std::string(TATTILO_SOURCE_DIR) + "/data", "filtro.base", table);
    const std::string back = notation::returnTranslation(text, table, report);
    EXPECT_FALSE(report.raised()) << "the return translation lowers its flag itself";
    if (back.empty() && !text.empty() && text.size() > 1) {
        // Empty only for a refusal or for a text that holds nothing to keep.
        EXPECT_TRUE(!report.message().empty() || text.find_first_not_of(" $") >= text.size() - 1)
            << text.substr(0, 40);
    }
    // 0 when balanced, or the number of a line of the text.
    const int line = notation::bracketBalance(text);
    const auto lines = 1 + std::count(text.begin(), text.end(), '\n');
    EXPECT_TRUE(line >= 0 && line <= lines) << line;
}

TEST(Robustness, TroublesomeInputs) {
    const std::vector<std::string> inputs = {
        std::string("\0\0\0", 3),
        "\\",
        "\\\\",
        "\\\\\\",
        "{{{{",
        "}}}}",
        "\\frac{",
        "\\frac}{",
        "\\sqrt[",
        "\\sqrt[]",
        "\\log_{",
        "\\lim_{",
        "\\sum_{",
        "\\sum^",
        "^{^{^{",
        "^^^^",
        "x^{",
        "\\overline{",
        "\\over",
        "{\\over}",
        "\\root\\of",
        "\\root",
        "6666",
        "9999",
        "||||",
        "1111",
        "1 1 1",
        "7777777",
        "<S<S<S",
        "log.log.",
        "lim.lim.:o",
        "#)#)",
        "#,,,,",
        "\xF2\xF2\xF2:",
        "\\\\--\\\\",
        "\\\\\\\\x^\\\\a\\\\frac12",
        "x^\\\\a\\\\",
        std::string(1800, '^'),
        std::string(1800, '|') + std::string(1800, '1'),
    };
    for (const std::string& input : inputs) {
        SCOPED_TRACE(input.substr(0, 40));
        convertEverything(input);
    }
}

TEST(Robustness, DeepNestingWithinTheLimit) {
    convertEverything(std::string(900, '6') + std::string(900, '4'));
    convertEverything(std::string(1800, '9'));
    std::string fractions;
    for (int i = 0; i < 100; ++i) {
        fractions += "\\frac{";
    }
    convertEverything(fractions);
    std::string nested = "x";
    for (int i = 0; i < 60; ++i) {
        nested = "\\sqrt{" + nested + "}";
    }
    const auto braille = notation::convertLatexToBraille(nested, 1);
    ASSERT_TRUE(braille.ok());
    EXPECT_EQ(notation::convertBrailleToLatex(braille.text, 1).text, nested);

    // Deeper than any formula: refused, not read into pieces.
    const std::string deep = std::string(150, '9') + "_x" + std::string(150, 'o');
    EXPECT_EQ(notation::convertBrailleToLatex(deep, 1).error,
              "Pagina 1\r\nFormato non ammesso - formula troppo annidata");
    const std::string ninety = std::string(90, '9') + "_x" + std::string(90, 'o');
    const auto latex = notation::convertBrailleToLatex(ninety, 1);
    ASSERT_TRUE(latex.ok()) << latex.error;
    EXPECT_EQ(notation::convertLatexToBraille(latex.text, 1).text, ninety);
}

TEST(Robustness, RandomBytesAndHundredKilobytes) {
    std::mt19937 random(20240611);
    const std::string alphabet = "\\{}[]()^_#|16974no:,;?$>< !x2\r\n\xF2\xE0";
    for (int round = 0; round < 300; ++round) {
        std::string text;
        const int length = static_cast<int>(random() % 120);
        for (int i = 0; i < length; ++i) {
            text += (round % 2 == 0) ? alphabet[random() % alphabet.size()]
                                     : static_cast<char>(random() % 256);
        }
        convertEverything(text);
    }
    std::string big(100 * 1024, 'a');
    for (std::size_t i = 0; i < big.size(); i += 7) {
        big[i] = "\\{^_}"[i % 5];
    }
    const auto refused = notation::convertLatexToBraille(big, 1);
    EXPECT_FALSE(refused.ok());
    convertEverything(big);
}

}  // namespace
