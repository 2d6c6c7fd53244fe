#include "notation/mathml_page.h"

#include "notation/mathml_code.h"
#include "notation/mathml_export.h"
#include "notation/mathml_tables.h"

#include "mathml_xml_check.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace {

using testing::ElementsAre;
using testing::HasSubstr;
using testing::Not;

std::string readFixture(const std::string& name) {
    std::ifstream in(std::string(TATTILO_TEST_DATA) + "/notation/mathml/" + name, std::ios::binary);
    EXPECT_TRUE(in.good()) << name;
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> fixtureLines(const std::string& name) {
    const std::string bytes = readFixture(name);
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        std::size_t end = bytes.find("\r\n", pos);
        if (end == std::string::npos) {
            end = bytes.size();
        }
        lines.push_back(bytes.substr(pos, end - pos));
        pos = end + 2;
    }
    return lines;
}

// All of the math content of a block: every element must be well-formed with the entities the
// export declares.
std::string checkBlock(const std::string& block) {
    std::set<std::string> entities = mathml_check::declaredEntities(notation::mathmlPrologue());
    return mathml_check::checkContent(block, entities);
}

struct FormulaCase {
    std::string cells;
    std::string expected;
};

TEST(MathmlPage, FormulasGiveTheirFixtureBlocks) {
    std::vector<FormulaCase> cases;
    for (const std::string& line : fixtureLines("formulas.txt")) {
        if (line.starts_with("-- ") || line.empty()) {
            continue;
        }
        if (line.starts_with("= ")) {
            cases.push_back({line.substr(2), {}});
        } else {
            ASSERT_FALSE(cases.empty()) << line;
            if (!cases.back().expected.empty()) {
                cases.back().expected += "\r\n";
            }
            cases.back().expected += line;
        }
    }
    ASSERT_GE(cases.size(), 50u);
    for (const FormulaCase& c : cases) {
        const std::string block = notation::formulaMathml(c.cells);
        EXPECT_EQ(block, c.expected) << "cells: " << c.cells;
        EXPECT_EQ(checkBlock(block), "") << "cells: " << c.cells;
    }
}

TEST(MathmlPage, EverySignOfTheTablesGivesItsElement) {
    int rows = 0;
    for (const std::string& line : fixtureLines("symbols.txt")) {
        if (line.starts_with("--") || line.empty()) {
            continue;
        }
        const std::size_t tab = line.find('\t');
        ASSERT_NE(tab, std::string::npos) << line;
        const std::string cells = line.substr(0, tab);
        const std::string expected = line.substr(tab + 1);
        const std::string block = notation::formulaMathml("_a" + cells + "_b");
        EXPECT_THAT(block, HasSubstr("<mi>a</mi>\r\n" + expected + "\r\n<mi>b</mi>"))
            << "cells: " << cells;
        ++rows;
    }
    // The symbol table, the not-for-all sign, 49 Greek letters and the other signs.
    EXPECT_GE(rows, 47 + 49 + 10);
}

TEST(MathmlPage, SubsetAndSupersetSignsMatchTheirPairs) {
    auto between = [](std::string_view cells) {
        return notation::formulaMathml("$a" + std::string(cells) + "$b");
    };
    EXPECT_THAT(between("_2"), HasSubstr("<mo>&SubsetEqual;</mo>"));
    EXPECT_THAT(between("_`"), HasSubstr("<mo>&SupersetEqual;</mo>"));
    EXPECT_THAT(between("<2"), HasSubstr("<mo>&sub;</mo>"));
    EXPECT_THAT(between("<`"), HasSubstr("<mo>&Superset;</mo>"));
}

TEST(MathmlPage, BracketsAreNeverFencedElements) {
    const std::string block = notation::formulaMathml("?_a+{_b-&_c+_dy}*");
    EXPECT_THAT(block, Not(HasSubstr("mfenced")));
    EXPECT_THAT(block, HasSubstr("<mrow><mo>(</mo>"));
    EXPECT_THAT(block, HasSubstr("<mrow><mo>[</mo>"));
    EXPECT_THAT(block, HasSubstr("<mrow><mo>{</mo>"));
    EXPECT_THAT(block, HasSubstr("<mo>)</mo>\r\n</mrow>"));
}

TEST(MathmlPage, TextRegionsBecomeCentredBoldLinesInTheirPlace) {
    const std::vector<std::string> lines =
        notation::convertPage("\\\\Calcola\\\\ _x+#a\r\n\r\n_a=#b \\\\cio\xE8 <due>\\\\ _b\r\n");
    const std::string sep(notation::kMathmlSeparator);
    std::vector<std::string> summary;
    for (const std::string& line : lines) {
        if (line.starts_with("<center>") || line == sep) {
            summary.push_back(line);
        } else if (line.starts_with("<math")) {
            summary.push_back("math");
        }
    }
    EXPECT_THAT(summary,
                ElementsAre("<center><b>Calcola</b></center>", sep, "math", sep, "math", sep,
                            "<center><b>cio&#232; &lt;due&gt;</b></center>", sep, "math", sep));
}

TEST(MathmlPage, SegmentsOfAPage) {
    const std::vector<notation::PageSegment> segments =
        notation::pageSegments("  \r\n_a \\\\uno\\\\\\\\due\\\\\r\n\\\\senza fine _x");
    ASSERT_EQ(segments.size(), 4u);
    EXPECT_FALSE(segments[0].textRegion);
    EXPECT_EQ(segments[0].content, "_a");
    EXPECT_TRUE(segments[1].textRegion);
    EXPECT_EQ(segments[1].content, "uno");
    EXPECT_EQ(segments[2].content, "due");
    EXPECT_TRUE(segments[3].textRegion);
    EXPECT_EQ(segments[3].content, "senza fine _x");

    EXPECT_TRUE(notation::convertPage("   \r\n\r\n").empty());
}

TEST(MathmlPage, InternalCodeKeepsTheCellsItWasReadFrom) {
    const std::vector<notation::MathToken> code = notation::mathCode("_x+#ab<S:6");
    ASSERT_EQ(code.size(), 5u);
    EXPECT_EQ(code[0].code, notation::MathCode::Letter);
    EXPECT_EQ(code[1].code, notation::MathCode::Operator);
    EXPECT_EQ(code[2].code, notation::MathCode::Number);
    EXPECT_EQ(code[2].text, "12");
    EXPECT_TRUE(code[2].opensNumber);
    EXPECT_EQ(code[3].code, notation::MathCode::Greek);
    EXPECT_EQ(code[3].text, "&Sigma;");
    EXPECT_EQ(code[4].code, notation::MathCode::FractionStart);
    std::size_t next = 0;
    for (const notation::MathToken& token : code) {
        EXPECT_EQ(token.offset, next);
        next += token.length;
    }
    EXPECT_EQ(next, 10u);
}

// Whatever a page holds, the export stays well-formed: every byte value, structure cells out
// of place, and nesting deeper than is ever written.
TEST(MathmlPage, AnyCellsGiveWellFormedMathml) {
    std::string everyByte;
    for (int b = 1; b < 256; ++b) {
        if (b != '\r' && b != '\n') {
            everyByte += static_cast<char>(b);
        }
    }
    std::vector<std::string> inputs = {everyByte,
                                       "1111|||<!<!np4o:9:6",
                                       "_x!",
                                       "_x<",
                                       "<S_i=#a,_n",
                                       "lim._x:o",
                                       "log.#b",
                                       "#)_x",
                                       std::string(5000, '?'),
                                       std::string(5000, '|') + std::string(5000, '1'),
                                       std::string(3000, '6') + std::string(3000, '9'),
                                       "\\\\a\\"};
    std::mt19937 random(20240607);
    const std::string alphabet =
        " abcdnop_$#>!<|1469:o?*{}&y,.'\xF2"
        "lg";
    for (int n = 0; n < 300; ++n) {
        std::string s;
        const int length = 1 + static_cast<int>(random() % 40);
        for (int i = 0; i < length; ++i) {
            s += alphabet[random() % alphabet.size()];
        }
        inputs.push_back(s);
    }
    for (const std::string& input : inputs) {
        std::string page;
        for (const std::string& line : notation::convertPage(input)) {
            page += line + "\r\n";
        }
        EXPECT_EQ(checkBlock(page), "") << "cells: " << input;
    }
}

}  // namespace
