#include "editor/settings/configuration.h"

#include <gtest/gtest.h>
#include <fstream>

#include "main_window_harness.h"

namespace {

using editor::Settings;

std::string readFile(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

const std::filesystem::path kData = std::filesystem::path(TATTILO_TEST_DATA) / "editor";

TEST(Configuration, CapitalKeysReadLikeSmallOnesAndWriteBackInOrder) {
    Settings s;
    editor::readConfiguration(readFile(kData / "config_capitals.ini"), s);
    EXPECT_EQ(s.winTop, 12);
    EXPECT_EQ(s.winLeft, 10);
    EXPECT_EQ(s.winWidth, 640);
    EXPECT_EQ(s.winHeight, 480);
    EXPECT_EQ(s.graphicEditor, "C:\\Programmi\\Editor\\editor.exe");
    EXPECT_EQ(s.filter, "filtro.base");
    EXPECT_EQ(s.exchangeMode, "sel");
    EXPECT_EQ(s.brailleFont, "braillecour.ttf");
    EXPECT_EQ(s.exchangeFile, "formula.tex");
    EXPECT_EQ(s.workDir, "C:\\tattilo\\esercizi");
    EXPECT_EQ(s.timer, 250);
    EXPECT_EQ(s.printerChars, 42);
    EXPECT_EQ(s.printerLines, 27);
    EXPECT_EQ(s.speechRate, 70);
    EXPECT_EQ(s.modeText, "- modalit\xE0 Latex");
    EXPECT_EQ(s.tutor, 0);
    EXPECT_TRUE(s.maximized);
    EXPECT_TRUE(s.mathml);
    EXPECT_EQ(editor::writeConfiguration(s), readFile(kData / "config_capitals_written.ini"));
}

TEST(Configuration, ValuesAndFlags) {
    Settings s;
    editor::readConfiguration("mathml = yes\r\nwinstate = Maximized\r\n", s);
    EXPECT_FALSE(s.mathml);
    EXPECT_FALSE(s.maximized) << "only the exact word maximizes";
    editor::readConfiguration("mathml=si", s);  // last line without a line end
    EXPECT_TRUE(s.mathml);

    // A value is at most 100 characters, taken after the first "=".
    Settings l;
    const std::string longPath(150, 'p');
    editor::readConfiguration("workdir = " + longPath + "\nscambio = a=b.tex\n", l);
    EXPECT_EQ(l.workDir, std::string(100, 'p'));
    EXPECT_EQ(l.exchangeFile, "a=b.tex");

    // A line without "=" gives the line itself; a key may be followed by anything.
    Settings n;
    editor::readConfiguration("filtroXYZ\nfontana = x.ttf\n", n);
    EXPECT_EQ(n.filter, "filtroXYZ");
    EXPECT_EQ(n.brailleFont, "x.ttf");

    // Numbers that are not decimal integers leave the default; good ones replace it, even 0.
    Settings d;
    editor::readConfiguration(
        "timer = 2x0\nvelvoce = \ntutor = 99999999999\nwintop = -5\n"
        "winleft = 0x10\nprinter righe per pagina = 0\n",
        d);
    EXPECT_EQ(d.timer, 200);
    EXPECT_EQ(d.speechRate, 50);
    EXPECT_EQ(d.tutor, 2);
    EXPECT_EQ(d.winTop, -5);
    EXPECT_EQ(d.winLeft, 0);
    EXPECT_EQ(d.printerLines, 0);
    EXPECT_EQ(d.printerChars, 50);
}

TEST(Configuration, WritesEighteenLinesThenTheWorkbenchsTwoAndSpeechRateZeroAsFifty) {
    Settings s;
    s.speechRate = 0;
    const std::string out = editor::writeConfiguration(s);
    std::size_t lines = 0;
    for (std::size_t i = out.find("\r\n"); i != std::string::npos; i = out.find("\r\n", i + 2)) {
        ++lines;
    }
    EXPECT_EQ(lines, 20u);
    EXPECT_EQ(out.substr(0, 11), "wintop = 0\r");
    EXPECT_NE(out.find("\r\nvelvoce = 50\r\n"), std::string::npos);
    EXPECT_NE(out.find("\r\nmodalit\xE0 = Braille\r\n"), std::string::npos);
    EXPECT_NE(out.find("\r\nwinstate = normal\r\nmathml = no\r\ndisplay braille = si\r\n"),
              std::string::npos);
    EXPECT_EQ(out.size(), out.rfind("display braille = si\r\nsenza editor grafico = no\r\n") + 49)
        << "the added lines come last";
    EXPECT_EQ(out.find('\n', 0), out.find("\r\n") + 1) << "no bare line feeds";

    Settings back;
    editor::readConfiguration(out, back);
    EXPECT_EQ(editor::writeConfiguration(back), out);
    // Working without a graphic editor is kept; "editor grafico" does not read the line.
    back.withoutGraphicEditor = true;
    Settings again;
    editor::readConfiguration(editor::writeConfiguration(back), again);
    EXPECT_TRUE(again.withoutGraphicEditor);
    EXPECT_EQ(again.graphicEditor, "");

    // The display is on unless the file says no; a file of an older version has no such line.
    editor::readConfiguration("DISPLAY BRAILLE = No\r\n", back);
    EXPECT_FALSE(back.brailleDisplay);
    editor::readConfiguration("display braille = si\r\n", back);
    EXPECT_TRUE(back.brailleDisplay);
    Settings older;
    editor::readConfiguration("mathml = si\r\n", older);
    EXPECT_TRUE(older.brailleDisplay);
}

TEST(Configuration, IntegersAndTrimming) {
    EXPECT_EQ(editor::parseInteger("  42 "), 42);
    EXPECT_EQ(editor::parseInteger("-7"), -7);
    EXPECT_EQ(editor::parseInteger("+7"), 7);
    EXPECT_EQ(editor::parseInteger(""), std::nullopt);
    EXPECT_EQ(editor::parseInteger("4 2"), std::nullopt);
    EXPECT_EQ(editor::parseInteger("1.5"), std::nullopt);
    EXPECT_EQ(editor::parseInteger("+-1"), std::nullopt);
    EXPECT_EQ(editor::parseInteger("2147483648"), std::nullopt);
}

TEST(Configuration, ExchangeFileEndsInTex) {
    EXPECT_EQ(editor::withTexExtension("scambio"), "scambio.tex");
    EXPECT_EQ(editor::withTexExtension("scambio.txt"), "scambio.tex");
    EXPECT_EQ(editor::withTexExtension("a.b.tex"), "a.b.tex");
    EXPECT_EQ(editor::withTexExtension("a.b.txt"), "a.tex");
    EXPECT_EQ(editor::withTexExtension("a."), "a.tex");
    // The folders before the name are never cut.
    EXPECT_EQ(editor::withTexExtension("C:\\my.dir\\scambio"), "C:\\my.dir\\scambio.tex");
    EXPECT_EQ(editor::withTexExtension("/home/u/v1.2/f.txt"), "/home/u/v1.2/f.tex");
    EXPECT_EQ(editor::withTexExtension(""), "formula.tex");
}

TEST(ConfigurationFile, FontLookup) {
    testing_support::ProgramFolder folder;
    folder.write("fonts/braillecour.ttf", "x");
    const std::vector<std::filesystem::path> dirs{folder.path / "none", folder.path / "fonts"};
    EXPECT_TRUE(editor::fontInstalled("braillecour.ttf", dirs));
    EXPECT_FALSE(editor::fontInstalled("other.ttf", dirs));
    EXPECT_FALSE(editor::fontInstalled("", dirs));
    EXPECT_EQ(editor::fontDirectories("/opt/t").front(), std::filesystem::path("/opt/t/fonts"));
}

}  // namespace
