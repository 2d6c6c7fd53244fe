#include "notation/mathml_export.h"

#include "notation/mathml_page.h"
#include "notation/mathml_tables.h"

#include "mathml_xml_check.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <string>
#include "../scratch_folder.h"

namespace {

using Pages = std::array<std::string, 15>;
using testing::HasSubstr;

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in.good()) << path;
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string fixture(const std::string& name) {
    return readFile(std::filesystem::path(TATTILO_TEST_DATA) / "notation" / "mathml" / name);
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find("\r\n", pos);
        if (end == std::string::npos) {
            end = text.size();
        }
        out.push_back(text.substr(pos, end - pos));
        pos = end + 2;
    }
    return out;
}

// Every formula of the fixtures and every sign, on the fifteen pages of one document.
Pages everythingDocument() {
    Pages pages;
    std::size_t page = 0;
    for (const std::string& line : lines(fixture("formulas.txt"))) {
        if (line.starts_with("= ")) {
            pages[page % 15] += line.substr(2) + "\r\n";
            ++page;
        }
    }
    for (const std::string& line : lines(fixture("symbols.txt"))) {
        if (!line.starts_with("--") && !line.empty()) {
            pages[page % 15] += "_a" + line.substr(0, line.find('\t')) + "_b\r\n";
            ++page;
        }
    }
    pages[0] += "\\\\Testo con <segni> & \"virgolette\" e accenti: perch\xE9 \x80\\\\\r\n";
    return pages;
}

TEST(MathmlExport, AllBlankDocumentHasOnlyTheFrame) {
    Pages pages;
    pages[4] = "   \r\n \r\n";
    const std::string xml = notation::exportDocument(pages, "/home/anna/esercizi/esercizio000.xml");
    EXPECT_EQ(xml, fixture("blank.xml"));
    const std::vector<std::string> all = lines(xml);
    ASSERT_EQ(all.size(), 6u);
    EXPECT_EQ(all[0], notation::mathmlPrologue());
    EXPECT_EQ(all[5], "</html>");
}

TEST(MathmlExport, PagesAreLinkedByLowerCaseAnchors) {
    Pages pages;
    pages[2] = "\\\\Esercizio 3\\\\\r\n6_anp_b4+9_xo=_x#b1\r\n";
    pages[11] = "<S_i=#a,_n:?_i*\r\n";
    const std::string xml = notation::exportDocument(pages, "C:\\esercizi\\verifica & prova.xml");
    EXPECT_EQ(xml, fixture("two_pages.xml"));
    for (int page : {3, 12}) {
        const std::string name = "pagina " + std::to_string(page);
        EXPECT_THAT(xml, HasSubstr("<a href=\"#" + name + "\">" + name + "</a> &nbsp;\r\n"));
        EXPECT_THAT(xml, HasSubstr("<center><h3 id=\"" + name + "\">" + name + "</h3></center>"));
    }
    EXPECT_THAT(xml, testing::Not(HasSubstr("Pagina")));
    EXPECT_THAT(xml, testing::Not(HasSubstr("pagina 1\"")));
}

TEST(MathmlExport, ProposesTheDocumentOrTheNextExerciseAsXml) {
    EXPECT_EQ(notation::proposeExportPath("/home/anna/esercizi/compito.mtf", "/srv/altro",
                                          "esercizio004.mtf"),
              "/home/anna/esercizi/compito.xml");
    EXPECT_EQ(notation::proposeExportPath("/home/anna/prova", "/srv", "x.mtf"),
              "/home/anna/prova.xml");
    EXPECT_EQ(notation::proposeExportPath("", "/home/anna/esercizi", "esercizio004.mtf"),
              "/home/anna/esercizi/esercizio004.xml");
}

TEST(MathmlExport, EveryExportIsWellFormedPlainAscii) {
    const std::string xml = notation::exportDocument(everythingDocument(), "tutto.xml");
    EXPECT_EQ(mathml_check::checkDocument(xml), "");
    EXPECT_THAT(xml, HasSubstr("perch&#233; &#8364;"));
    EXPECT_THAT(xml, HasSubstr("&lt;segni&gt; &amp; &quot;virgolette&quot;"));
}

// The declared entities stand for the characters a browser's XHTML parser gives them, so the
// file reads the same whether or not the reader knows the document type.
TEST(MathmlExport, DeclaredEntitiesAreTheStandardCharacters) {
    std::map<std::string, std::string> standard;
    for (const std::string& line : lines(fixture("entities.txt"))) {
        if (!line.starts_with("--") && !line.empty()) {
            const std::size_t tab = line.find('\t');
            standard[line.substr(0, tab)] = line.substr(tab + 1);
        }
    }
    const std::string prologue = notation::mathmlPrologue();
    EXPECT_THAT(prologue, HasSubstr("<!ENTITY mathml \"http://www.w3.org/1998/Math/MathML\">"));
    std::size_t declared = 0;
    for (const notation::MathmlEntity& entity : notation::mathmlEntities()) {
        const std::string name(entity.name);
        ASSERT_EQ(standard.count(name), 1u) << name << " is not a standard entity";
        char hex[16];
        std::snprintf(hex, sizeof hex, "%04X", static_cast<unsigned>(entity.codePoint));
        EXPECT_EQ(standard[name], hex) << name;
        EXPECT_THAT(prologue, HasSubstr("<!ENTITY " + name + " \"&#x" + standard[name] + ";\">"));
        ++declared;
    }
    EXPECT_EQ(declared, standard.size());
}

// An independent XML parser reads the export with no network and no DTD.
TEST(MathmlExport, XmllintReadsTheExport) {
    if (std::system("xmllint --version > /dev/null 2>&1") != 0) {
        GTEST_SKIP() << "xmllint is not installed";
    }
    const std::filesystem::path dir = testing_support::scratchName("mathml_export_test_");
    std::filesystem::create_directories(dir);
    const std::filesystem::path file = dir / "tutto.xml";
    {
        std::ofstream out(file, std::ios::binary);
        out << notation::exportDocument(everythingDocument(), file);
    }
    const std::filesystem::path expanded = dir / "expanded.xml";
    const std::string command = "xmllint --nonet --noout " + file.string() +
                                " && xmllint --nonet --noent --encode UTF-8 " + file.string() +
                                " > " + expanded.string();
    EXPECT_EQ(std::system(command.c_str()), 0);
    const std::string text = readFile(expanded);
    // With entities expanded (UTF-8): the sum sign, alpha, not equal, the per-cent element.
    for (std::string_view expected :
         {"<mo>\xE2\x88\x91</mo>", "<mi>\xCE\xB1</mi>", "<mo>\xE2\x89\xA0</mo>", "<mo>%</mo>"}) {
        EXPECT_NE(text.find(expected), std::string::npos) << expected;
    }
    std::filesystem::remove_all(dir);
}

// Documents of signs out of place (constructs never closed or closed twice, stray limits and
// exponent ends, every byte value, text regions left open) all read as XML to xmllint.
TEST(MathmlExport, XmllintReadsExportsOfMalformedPages) {
    if (std::system("xmllint --version > /dev/null 2>&1") != 0) {
        GTEST_SKIP() << "xmllint is not installed";
    }
    const std::vector<std::string> pieces = {
        "6",    "np",   "4",    "9",    "o",    ":",    "|",  "1",   "<",   "!",    "?",
        "*",    "{",    "}",    "&",    "y",    "#",    "#a", "#,b", "#)j", "#)jj", ",",
        "'",    "_a",   "$b",   ">a",   "$>d",  "<S",   "<P", "7",   "777", ":o",   "9:o",
        ">$.",  "<d",   "0",    "log.", "lim.", "\\\\", " ",  "<",   ">",   "\"",   "\xE0",
        "\x80", "\x81", "\x9D", "\xFF", "\x01", "\x1F", "\t", "%",   "\xF2"};
    std::mt19937 random(4242);
    const std::filesystem::path dir = testing_support::scratchName("mathml_malformed_test_");
    std::filesystem::create_directories(dir);
    for (int document = 0; document < 12; ++document) {
        Pages pages;
        for (std::string& page : pages) {
            for (int line = static_cast<int>(random() % 4); line > 0; --line) {
                for (int n = 1 + static_cast<int>(random() % 50); n > 0; --n) {
                    page += pieces[random() % pieces.size()];
                }
                page += "\r\n";
            }
        }
        const std::filesystem::path file = dir / ("malformed" + std::to_string(document) + ".xml");
        const std::string xml = notation::exportDocument(pages, file);
        {
            std::ofstream out(file, std::ios::binary);
            out << xml;
        }
        const std::string command = "xmllint --nonet --noout " + file.string() + " 2>&1";
        EXPECT_EQ(std::system(command.c_str()), 0) << "document " << document;
        EXPECT_TRUE(std::all_of(xml.begin(), xml.end(),
                                [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
            << "document " << document;
    }
    std::filesystem::remove_all(dir);
}

}  // namespace
