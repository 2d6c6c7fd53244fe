#include <gtest/gtest.h>

#include <sstream>

#include "../editor/temp_folder.h"
#include "../notation/mathml_xml_check.h"
#include "app/cli/cli.h"
#include "cli_run.h"
#include "editor/document_file.h"
#include "notation/mathml_export.h"

namespace {

using editor::testing::readBytes;
using editor::testing::TempFolder;
using editor::testing::writeBytes;

using cli::testing::CliRun;

CliRun mathml(std::vector<std::string> args) {
    args.insert(args.begin(), "mathml");
    return cli::testing::runCli(args);
}

std::string document(const editor::PageStore& pages) {
    return editor::formatDocument(pages);
}

TEST(CliMathml, WritesTheExportBesideTheDocumentFromItsBraillePages) {
    TempFolder dir;
    editor::PageStore pages;
    pages.brailleOf(1) = "6_anp_b4+9_xo=_x#b1";
    pages.brailleOf(4) = "\\\\Esercizio\\\\\r\n>a+<W:";
    pages.latexOf(2) = "text that is not current";  // the Braille side decides
    writeBytes(dir / "compito.mtf", document(pages));

    const CliRun r = mathml({(dir / "compito.mtf").string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const std::string xml = readBytes(dir / "compito.xml");
    EXPECT_EQ(xml, notation::exportDocument(pages.braille, dir / "compito.xml"));
    EXPECT_EQ(mathml_check::checkDocument(xml), "");
    EXPECT_NE(xml.find("Tattilo to Mathml - compito</center>"), std::string::npos);
    EXPECT_NE(xml.find("pagina 4"), std::string::npos);
    EXPECT_EQ(xml.find("pagina 2"), std::string::npos);
}

TEST(CliMathml, FromLatexMakesTheBraillePagesFirst) {
    TempFolder dir;
    editor::PageStore pages;
    pages.latexOf(1) = "\\frac{a}{b}";
    pages.brailleOf(1) = "_x";  // out of date
    writeBytes(dir / "doc.mtf", document(pages));
    const CliRun r =
        mathml({"--from", "latex", "-o", (dir / "altro.xml").string(), (dir / "doc.mtf").string()});
    EXPECT_EQ(r.status, 0) << r.err;
    const std::string xml = readBytes(dir / "altro.xml");
    EXPECT_NE(xml.find("<mfrac>"), std::string::npos);
    EXPECT_EQ(xml.find("<mi>x</mi>"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir / "doc.xml"));
}

TEST(CliMathml, RefusedPagesAreReportedAndTheRestIsWritten) {
    TempFolder dir;
    editor::PageStore pages;
    pages.latexOf(1) = "x+1";
    pages.latexOf(3) = "\\foo";
    writeBytes(dir / "doc.mtf", document(pages));
    const CliRun r = mathml({"--from", "latex", (dir / "doc.mtf").string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Pagina 3\nFunzione sconosciuta\n");
    const std::string xml = readBytes(dir / "doc.xml");
    EXPECT_NE(xml.find("pagina 1"), std::string::npos);
    EXPECT_EQ(xml.find("pagina 3"), std::string::npos);
}

TEST(CliMathml, BadArgumentsAndFiles) {
    TempFolder dir;
    EXPECT_EQ(mathml({}).status, 2);
    EXPECT_EQ(mathml({"--from", "tex", "x.mtf"}).status, 2);
    EXPECT_EQ(mathml({"a.mtf", "b.mtf"}).status, 2);
    const CliRun missing = mathml({(dir / "manca.mtf").string()});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("manca.mtf"), std::string::npos);

    writeBytes(dir / "non.mtf", "non un documento\r\n");
    const CliRun wrong = mathml({(dir / "non.mtf").string()});
    EXPECT_EQ(wrong.status, 1);
    EXPECT_NE(wrong.err.find("Formato del file errato"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir / "non.xml"));

    editor::PageStore pages;
    pages.brailleOf(1) = "_x";
    writeBytes(dir / "doc.mtf", document(pages));
    writeBytes(dir / "doc.xml", "vecchio");
    const CliRun unwritable =
        mathml({"-o", (dir / "no" / "doc.xml").string(), (dir / "doc.mtf").string()});
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_NE(unwritable.err.find("in scrittura file"), std::string::npos);
    EXPECT_EQ(readBytes(dir / "doc.xml"), "vecchio");
}

}  // namespace
