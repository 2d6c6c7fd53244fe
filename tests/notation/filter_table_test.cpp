#include "notation/filter_table.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "notation/formula_error_report.h"
#include "notation/return_translation.h"

namespace {

using notation::FilterSection;
using notation::FilterTable;

std::string column(std::string_view pattern, std::string_view replacement = "") {
    std::string line(pattern);
    if (!replacement.empty()) {
        line.resize(20, ' ');
        line += replacement;
    }
    return line;
}

TEST(FilterFile, SectionsAreTakenByTheOrderOfTheirHeaders) {
    FilterTable table;
    notation::readFilterText(
        "ignored before any header\r\n"
        "[corpo riga]\r\n"
        "alpha\r\n"
        "\r\n"
        "[inizio riga]\r\n"
        "beta\r\n"
        "[fine riga]\r\n"
        "gamma\r\n"
        "delta\r\n"
        "[corpo riga]\r\n"
        "ignored after a fourth header\n",
        table);
    ASSERT_EQ(table.rules(FilterSection::Start).size(), 1u);
    EXPECT_EQ(table.rules(FilterSection::Start)[0].pattern, "alpha");
    ASSERT_EQ(table.rules(FilterSection::End).size(), 1u);
    EXPECT_EQ(table.rules(FilterSection::End)[0].pattern, "beta");
    ASSERT_EQ(table.rules(FilterSection::Body).size(), 2u);
    EXPECT_EQ(table.rules(FilterSection::Body)[1].pattern, "delta");
}

TEST(FilterFile, RulesAreTwoTwentyCharacterColumnsCutAtForty) {
    FilterTable table;
    table.add(FilterSection::Body, column("  \\left|  ", "  %  "));
    table.add(FilterSection::Body, "short rule");
    table.add(FilterSection::Body, column("\\Arrowvert", "0123456789012345678901234"));
    const auto& rules = table.rules(FilterSection::Body);
    EXPECT_EQ(rules[0].pattern, "\\left|");
    EXPECT_EQ(rules[0].replacement, "%");
    EXPECT_EQ(rules[1].pattern, "short rule");
    EXPECT_EQ(rules[1].replacement, "");
    EXPECT_EQ(rules[2].text.size(), 40u);
    EXPECT_EQ(rules[2].replacement, "01234567890123456789");
}

TEST(FilterFile, ASectionKeepsTwoHundredRules) {
    FilterTable table;
    std::string text = "[inizio riga]\n";
    for (int i = 0; i < 250; ++i) {
        text += "rule" + std::to_string(i) + "\n";
    }
    notation::readFilterText(text, table);
    ASSERT_EQ(table.rules(FilterSection::Start).size(), 200u);
    EXPECT_EQ(table.rules(FilterSection::Start).back().pattern, "rule199");
    EXPECT_FALSE(table.add(FilterSection::Start, "more"));
}

TEST(FilterFile, MissingFileLeavesTheTableEmpty) {
    FilterTable table;
    table.add(FilterSection::Body, "old");
    EXPECT_EQ(notation::loadFilterTable("/nonexistent/folder", "filtro.base", table),
              notation::FilterLoad::Missing);
    EXPECT_TRUE(table.empty());
    EXPECT_EQ(notation::loadFilterTable(TATTILO_TEST_DATA, "", table),
              notation::FilterLoad::Missing);
    EXPECT_EQ(notation::loadFilterTable(TATTILO_TEST_DATA, "notation", table),
              notation::FilterLoad::Missing)
        << "a folder is no filter file";

    const auto dir = std::filesystem::temp_directory_path() / "tattilo_filter_test";
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "filtro.txt", std::ios::binary) << "[inizio riga]\r\n$\r\n";
    EXPECT_EQ(notation::loadFilterTable(dir, "filtro.txt", table), notation::FilterLoad::Loaded);
    EXPECT_EQ(table.rules(FilterSection::Start).size(), 1u);
    std::filesystem::remove_all(dir);
}

std::string translate(std::string_view text, const FilterTable& table) {
    notation::FormulaErrorReport report;
    return notation::returnTranslation(text, table, report);
}

TEST(FilterRules, StartEndAndBodyRulesApplyInSlotOrder) {
    FilterTable table;
    table.add(FilterSection::Start, column("$"));
    table.add(FilterSection::Start, column("ab", "X"));
    table.add(FilterSection::End, column("$"));
    table.add(FilterSection::Body, column("X", "YY"));
    table.add(FilterSection::Body, column("YY", "z"));
    // The last character is never carried over, so the closing "#" goes first.
    EXPECT_EQ(translate("$abcX$#", table), "zcz");
    EXPECT_EQ(translate("cab#", table), "cab") << "a start rule applies only at the start";
    // A pattern that an earlier rule makes across the edge of its replacement is found.
    FilterTable joined;
    joined.add(FilterSection::Body, column("x", "a"));
    joined.add(FilterSection::Body, column("ae", "Z"));
    EXPECT_EQ(translate("xe#", joined), "Z");
}

TEST(FilterRules, TheTwoBackslashPatternsAreToldApart) {
    FilterTable blank;
    blank.add(FilterSection::Body, column("\\backslash", "\\"));
    EXPECT_EQ(translate("a\\backslash\\backslash#", blank), "a\\backslash\\backslash");
    EXPECT_EQ(translate("\\backslash \\backslash a#", blank), "\\\\a");

    FilterTable any;
    any.add(FilterSection::Body, column("\\backslash*", "\\"));
    EXPECT_EQ(translate("a\\backslash\\backslash#", any), "a\\\\");
}

TEST(FilterRules, ARuleThatContainsItsPatternAppliesOncePerOccurrence) {
    FilterTable table;
    table.add(FilterSection::Body, column("a", "aa"));
    table.add(FilterSection::Body, column("   "));  // no pattern: skipped, never loops
    EXPECT_EQ(translate("xaya#", table), "xaayaa");
}

TEST(FilterRules, APatternEndingInACommandWordMatchesOnlyThatCommand) {
    FilterTable table;
    table.add(FilterSection::Start, column("\\sin", "sin"));
    table.add(FilterSection::Body, column("\\le", "<="));
    table.add(FilterSection::Body, column("\\cos", "cos"));
    table.add(FilterSection::Body, column("ab", "X"));
    EXPECT_EQ(translate("\\sinh x\\le 2\\left(\\lessdot\\le3\\le#", table),
              "\\sinh x<= 2\\left(\\lessdot<=3<=");
    EXPECT_EQ(translate("\\sin(x)#", table), "sin(x)");
    // Letters put after a command would join it: a blank keeps them apart.
    EXPECT_EQ(translate("\\alpha\\cos x+2\\cos y#", table), "\\alpha cos x+2cos y");
    // Plain letters are no command: they match anywhere.
    EXPECT_EQ(translate("cabd#", table), "cXd");
}

TEST(FilterRules, AGroupPatternTakesTheWholeBraceGroup) {
    FilterTable table;
    table.add(FilterSection::Body, column("\\text{...}", "\\\\...\\\\"));
    table.add(FilterSection::Body, column("\\mathrm{...}", "{...}"));
    table.add(FilterSection::Body, column("\\mbox{...}", "\\mbox{...}"));
    EXPECT_EQ(translate("\\text{se {a} b}+\\mathrm{\\mathrm{d}}x#", table),
              "\\\\se {a} b\\\\+{{d}}x");
    // A region's delimiter followed by a blank stays whole.
    EXPECT_EQ(translate("\\text{e} y#", table), "\\\\e\\\\ y");
    // Without its closing brace the command is left as it is.
    EXPECT_EQ(translate("\\text{ab#", table), "\\text{ab");
    // A replacement that holds its own command is applied once to each.
    EXPECT_EQ(translate("\\mbox{a}\\mbox{b}#", table), "\\mbox{a}\\mbox{b}");
}

TEST(FilterRules, AGrowingRewriteStopsWithinBounds) {
    FilterTable table;
    table.add(FilterSection::Body, column("ab", "bba"));
    const std::string result = translate(std::string(3000, 'a') + "b#", table);
    EXPECT_FALSE(result.empty());
    EXPECT_LE(result.size(), 64u * 1024u);
}

}  // namespace
