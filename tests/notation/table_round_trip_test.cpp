// Every row of the three notation tables, written in a short formula, converts to Braille and
// back to the same Latex-mode text. The exceptions are rows that share their cells with an
// earlier row (their Braille cannot tell them apart) and the markers of constructs, which the
// construct fixtures cover in their real forms.

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "notation/conversion.h"
#include "notation/messages.h"
#include "notation/notation_tables.h"
#include "notation/text_scan.h"

namespace {

// Rows whose Braille form belongs to an earlier row: what comes back instead.
const std::map<std::string_view, std::string_view> kSharedCells = {
    {"\\emptyset", "\\{\\}"},
    {"\\varnothing", "\\{\\}"},
    {"|", "%"},  // the bar and the absolute value share the cell "%"
};

// Markers the construct passes write and read; their own forms are constructs, and a closing
// marker alone is a closing without its opening, which Braille-to-LaTeX refuses.
const std::set<std::string_view> kConstructMarkers = {
    "\\9",   "\\O",  "\\6", "\\N",    "\\P",    "\\4",    "\\|",     "\\1",
    "\\777", "\\77", "\\7", "\\log_", "\\sum_", "\\susu", "\\prod_", "\\propro",
};

// A short formula that uses `latex`, with a letter before and after it.
std::string formulaWith(std::string_view latex) {
    if (latex == "\\to ") {
        return "\\lim_{x\\to 0}(x)";  // the arrow reads back as "\to " in a limit
    }
    if (latex == "\\{" || latex == "\\}") {
        return "a\\{b\\} c";
    }
    if (latex == "^") {
        return "a,^ b";  // after a comma "^" is no exponent and gives no cell
    }
    std::string text = "a";
    text += latex;
    text += latex.back() == ' ' ? "b" : " b";
    return text;
}

std::string expectedBack(std::string_view latex) {
    if (latex == "^") {
        return "a, b";
    }
    if (latex == "_") {
        return "a_b";  // blanks between the index sign and its index go, as in TeX
    }
    const auto shared = kSharedCells.find(latex);
    if (shared == kSharedCells.end()) {
        return formulaWith(latex);
    }
    return "a" + std::string(shared->second) + " b";
}

template <std::size_t N>
void checkTable(const std::array<notation::NotationRow, N>& table, const char* name) {
    for (std::size_t i = 0; i < table.size(); ++i) {
        const std::string_view latex = table[i].latex;
        if (kConstructMarkers.contains(latex)) {
            continue;
        }
        const std::string text = formulaWith(latex);
        const auto braille = notation::convertLatexToBraille(text, 1);
        ASSERT_TRUE(braille.ok()) << name << " row " << i + 1 << ": " << braille.error;
        // "\{" and "\}" always read as keywords, so their character rows give no cells.
        const bool keywordFirst = N == notation::kCharacterTable.size() && latex[0] == '\\';
        if (!table[i].braille.empty() && latex != "\\to " && !keywordFirst) {
            // The row's own cells appear (the letter sign is written "_" in the finished text).
            std::string cells(table[i].braille);
            for (char& c : cells) {
                c = c == '^' ? '_' : (c == '\xE0' ? '{' : (c == '\xF9' ? '}' : c));
            }
            if (cells.back() == ' ') {
                cells.pop_back();
            }
            EXPECT_NE(braille.text.find(cells), std::string::npos)
                << name << " row " << i + 1 << " " << latex << " gave " << braille.text;
        }
        const auto back = notation::convertBrailleToLatex(braille.text, 1);
        ASSERT_TRUE(back.ok()) << name << " row " << i + 1 << ": " << back.error;
        EXPECT_EQ(back.text, expectedBack(latex))
            << name << " row " << i + 1 << " via " << braille.text;
    }
}

TEST(NotationTables, EveryKeywordRowComesBack) {
    checkTable(notation::kKeywordTable, "keyword");
}

TEST(NotationTables, EverySetRowComesBack) {
    checkTable(notation::kSetTable, "set");
}

TEST(NotationTables, EveryCharacterRowComesBack) {
    checkTable(notation::kCharacterTable, "character");
}

// A keyword that ends in a command word stands only where no letter follows it, as TeX reads
// command words: with a letter after it, it is the start of another command, which the tables
// do not know. Any other character ends it.
template <std::size_t N>
void checkWholeWords(const std::array<notation::NotationRow, N>& table, const char* name) {
    const std::string unknown = notation::messages::onPage(1, notation::messages::kUnknownFunction);
    for (std::size_t i = 0; i < table.size(); ++i) {
        std::string_view keyword = table[i].latex;
        if (keyword.back() == ' ') {
            keyword.remove_suffix(1);  // "\to ": the blank is what ends the word
        }
        if (!notation::endsInCommandWord(keyword) || kConstructMarkers.contains(keyword)) {
            continue;  // the markers are no commands: typed, they are refused by name
        }
        const std::string longer = std::string(keyword) + "zz";
        EXPECT_EQ(notation::convertLatexToBraille(longer, 1).error, unknown)
            << name << " row " << i + 1 << ": " << longer;
        for (const std::string_view after : {"2", "(x)", " x", "\\alpha", "+1"}) {
            const std::string text = std::string(keyword) + std::string(after);
            EXPECT_NE(notation::convertLatexToBraille(text, 1).error, unknown)
                << name << " row " << i + 1 << ": " << text;
        }
    }
}

TEST(NotationTables, AKeywordIsAWholeCommandWord) {
    checkWholeWords(notation::kKeywordTable, "keyword");
    checkWholeWords(notation::kSetTable, "set");
    // TeX commands that begin with a keyword are other commands, refused by name.
    const std::string unknown = notation::messages::onPage(1, notation::messages::kUnknownFunction);
    for (const char* command : {"a\\neq b",
                                "a\\newline b",
                                "\\nearrow",
                                "\\negthinspace",
                                "\\inf A",
                                "\\intercal",
                                "\\lnot p",
                                "\\lneq",
                                "a\\middle b",
                                "\\overbrace{x}",
                                "\\overrightarrow{v}",
                                "p\\implies q",
                                "\\top",
                                "\\pitchfork",
                                "\\nuu",
                                "\\Pisymbol",
                                "\\logo",
                                "\\equivalent",
                                "\\cuprod",
                                "\\capital",
                                "\\emptysetx",
                                "\\existsx",
                                "\\forallx",
                                "\\sqrtx",
                                "\\fracab",
                                "\\summa(i)",
                                "\\intop(x)",
                                "\\iintop(x)",
                                "\\limits",
                                "\\overlined{x}",
                                "\\Imath"}) {
        EXPECT_EQ(notation::convertLatexToBraille(command, 1).error, unknown) << command;
    }
}

TEST(NotationTables, LowerDigitsMapBothWays) {
    const std::string_view digits = "1234567890";
    std::string cells;
    for (const char d : digits) {
        cells += notation::lowerDigitCell(d);
        EXPECT_EQ(notation::digitOfLowerCell(notation::lowerDigitCell(d)), d);
    }
    EXPECT_EQ(cells, ",;:/?+=(*)");
    EXPECT_EQ(notation::lowerDigitCell('x'), '\0');
    EXPECT_EQ(notation::digitOfLowerCell('a'), '\0');
    EXPECT_EQ(notation::digitOfLetterCell('j'), '0');
    EXPECT_EQ(notation::digitOfLetterCell('k'), '\0');
}

}  // namespace
