#include "editor/braille_print.h"

#include "temp_folder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>

namespace editor {
namespace {

using testing::readBytes;
using testing::TempFolder;
using testing::testData;
using Pieces = std::vector<std::string_view>;

TEST(BraillePrint, BreaksAfterTheLastBreakCellAndRepeatsIt) {
    EXPECT_EQ(breakBrailleLine("ab+cd+efgh+ij", 8), (Pieces{"ab+cd+", "+efgh+", "+ij"}));
    EXPECT_EQ(breakBrailleLine("ab-cd/ef(gh", 6), (Pieces{"ab-cd/", "/ef(", "(gh"}));
    // Exactly W long: whole. A remainder exactly W long is broken again.
    EXPECT_EQ(breakBrailleLine("abc+defg", 8), (Pieces{"abc+defg"}));
    EXPECT_EQ(breakBrailleLine("ab+cdefghij", 8), (Pieces{"ab+", "+cdefg", "ghij"}));
    EXPECT_EQ(breakBrailleLine("", 8), (Pieces{""}));
}

TEST(BraillePrint, WithoutABreakCellCutsAfterWidthMinusTwo) {
    EXPECT_EQ(breakBrailleLine("abcdefghijkl", 8), (Pieces{"abcdef", "fghijkl"}));
    // A break cell in position 1 cannot be used: it would not shorten the line.
    EXPECT_EQ(breakBrailleLine("+bcdefghij", 8), (Pieces{"+bcdef", "fghij"}));
    EXPECT_EQ(breakBrailleLine("abcdefg", 4), (Pieces{"ab", "bc", "cd", "de", "efg"}));
}

TEST(BraillePrint, NeverBreaksInsideANumber) {
    // "+" after "#," is the digit 6 of the number 16: break before the number instead.
    EXPECT_EQ(breakBrailleLine("ab+#,+;:x", 8), (Pieces{"ab+", "+#,+;:x"}));
    // "-" is not a digit cell: a break right after a number is fine.
    EXPECT_EQ(breakBrailleLine("ab+#,;-xyz", 8), (Pieces{"ab+#,;-", "-xyz"}));
    // Two numbers in a row: the break moves before both.
    EXPECT_EQ(breakBrailleLine("ab-#,+c#;/:qr", 12), (Pieces{"ab-", "-#,+c#;/:qr"}));
    // A number at the start with no break cell before it: cut after W - 2.
    EXPECT_EQ(breakBrailleLine("#,+;:=(*/abc", 8), (Pieces{"#,+;:=", "=(*/abc"}));
}

TEST(BraillePrint, PiecesNeverExceedTheWidthAndTheLoopEnds) {
    const std::string cells = "ab+#,(/-?=#*";
    for (int width = 4; width <= 14; ++width) {
        for (unsigned seed = 1; seed < 60; ++seed) {
            std::string line;
            unsigned x = seed * 2654435761u;
            for (int i = 0; i < 40; ++i) {
                x = x * 1103515245u + 12345u;
                line += cells[(x >> 16) % cells.size()];
            }
            const Pieces pieces = breakBrailleLine(line, width);
            std::string joined;
            for (std::size_t i = 0; i < pieces.size(); ++i) {
                ASSERT_LE(pieces[i].size(), static_cast<std::size_t>(width)) << line;
                ASSERT_FALSE(pieces[i].empty()) << line;
                // Each piece after the first begins with the last cell of the one before.
                joined += i == 0 ? pieces[i] : pieces[i].substr(1);
                if (i > 0) {
                    ASSERT_EQ(pieces[i].front(), pieces[i - 1].back()) << line;
                }
            }
            EXPECT_EQ(joined, line);
        }
    }
}

// The fixtures are named pagina_w<W>_h<H>.prn after the settings they were printed with.
TEST(BraillePrint, EmbosserFilesMatchTheirFixtures) {
    const std::string page = readBytes(testData("emboss/pagina.txt"));
    int checked = 0;
    for (const auto& entry : std::filesystem::directory_iterator(testData("emboss"))) {
        const std::string file = entry.path().filename().string();
        int width = 0;
        int height = 0;
        if (std::sscanf(file.c_str(), "pagina_w%d_h%d.prn", &width, &height) != 2) {
            continue;
        }
        const auto out = embosserFile("esempio.mtf", page, width, height);
        ASSERT_TRUE(out.has_value());
        EXPECT_EQ(*out, readBytes(entry.path())) << file;
        ++checked;
    }
    EXPECT_EQ(checked, 2);
}

TEST(BraillePrint, FormFeedsFollowTheCountedLines) {
    // H = 2: header, blank, two lines, form feed, then three lines per form feed.
    const auto out = embosserFile("", "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n", 50, 2);
    ASSERT_TRUE(out.has_value());
    EXPECT_EQ(*out, "\r\n \r\n1\r\n2\r\n\f\r\n3\r\n4\r\n5\r\n\f\r\n6\r\n");
    // An empty page still has its two first lines.
    EXPECT_EQ(embosserFile("a.mtf", "", 50, 30), "a.mtf\r\n \r\n");
}

TEST(BraillePrint, UnusableSettingsAreRefused) {
    EXPECT_FALSE(printerSettingsUsable(0, 30));
    EXPECT_FALSE(printerSettingsUsable(3, 30));
    EXPECT_FALSE(printerSettingsUsable(40, 0));
    EXPECT_FALSE(printerSettingsUsable(40, -1));
    EXPECT_TRUE(printerSettingsUsable(4, 1));
    EXPECT_EQ(embosserFile("x", "abcdef", 3, 30), std::nullopt);

    TempFolder folder;
    const FileOutcome r = writeEmbosserFile(folder / "a.prn", "x", "abc", 0, 30);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, "Impostare  parametri stampante Braille");
    EXPECT_EQ(folder.listing(), "");
}

TEST(BraillePrint, WritesThePrintFileAndReportsFailures) {
    TempFolder folder;
    const auto path = folder / "compito.prn";
    FileOutcome r = writeEmbosserFile(path, "compito.mtf", "ab+cd+efgh+ij", 8, 30);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.message, "DATI REGISTRATI SUL FILE " + path.string());
    EXPECT_EQ(readBytes(path), "compito.mtf\r\n \r\nab+cd+\r\n+efgh+\r\n+ij\r\n");

    r = writeEmbosserFile(path, "x", "nuovo", 8, 30,
                          [](WriteStep s) { return s == WriteStep::Write ? EACCES : 0; });
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, writeErrorMessage(EACCES, path.string()));
    EXPECT_EQ(readBytes(path), "compito.mtf\r\n \r\nab+cd+\r\n+efgh+\r\n+ij\r\n");
}

TEST(BraillePrint, FileNamesAndPrinterLines) {
    EXPECT_EQ(printFileName("stampa"), "stampa.prn");
    EXPECT_EQ(printFileName("stampa.prn"), "stampa.prn");
    EXPECT_EQ(printFileName("a.prn.txt"), "a.prn.txt");
    EXPECT_EQ(printerLines("ab\r\n\r\n#a\r\n"),
              (std::vector<std::string>{"   ab", "   ", "   #a"}));
    EXPECT_TRUE(printerLines("").empty());
}

}  // namespace
}  // namespace editor
