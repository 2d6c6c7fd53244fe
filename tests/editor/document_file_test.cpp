#include "editor/document_file.h"

#include "editor/exercise_name.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace editor {
namespace {

using testing::readBytes;
using testing::TempFolder;
using testing::testData;
using testing::writeBytes;

PageStore pageThreeOnly() {
    PageStore pages;
    // Blanks and line ends round the texts are not stored.
    pages.latexOf(3) = "  \\frac{1}{2}+x\r\ny=3\r\n\r\n   ";
    pages.brailleOf(3) = "\r\n6#anp#b4_x\r\n_y.=#c \t\r\n";
    return pages;
}

TEST(DocumentFile, WritesFifteenBlocksOfTrimmedTexts) {
    const std::string file = formatDocument(pageThreeOnly());
    EXPECT_EQ(file, readBytes(testData("documents/solo_pagina3.mtf")));

    const std::string empty = formatDocument(PageStore{});
    std::size_t lines = 0;
    for (std::size_t p = empty.find("\r\n"); p != std::string::npos;
         p = empty.find("\r\n", p + 2)) {
        ++lines;
    }
    EXPECT_EQ(lines, 75u);
    EXPECT_TRUE(empty.starts_with("\\\\Step 1\r\n\r\n\\\\\r\n\r\n\\\\\r\n\\\\Step 2\r\n"));
    EXPECT_TRUE(empty.ends_with("\\\\Step 15\r\n\r\n\\\\\r\n\r\n\\\\\r\n"));
}

TEST(DocumentFile, ReadsBlocksInAnyOrderAndSkipsPagesOutOfRange) {
    PageStore pages;
    pages.latexOf(5) = "kept\r\n";
    ASSERT_TRUE(parseDocument(readBytes(testData("documents/ordine_2_1.mtf")), pages));
    EXPECT_EQ(pages.latexOf(1), "a\r\nb\r\n");
    EXPECT_EQ(pages.brailleOf(1), "_a\r\n_b\r\n");  // the second separator is ignored
    EXPECT_EQ(pages.latexOf(2), "x+1\r\n");
    EXPECT_EQ(pages.brailleOf(2), "_x+#a\r\n");
    EXPECT_EQ(pages.latexOf(5), "kept\r\n");  // pages without a block stay as they are
    for (int page = 1; page <= kPageCount; ++page) {
        EXPECT_EQ(pages.latexOf(page).find("fuori"), std::string::npos) << page;
        EXPECT_EQ(pages.latexOf(page).find("zero"), std::string::npos) << page;
        EXPECT_EQ(pages.brailleOf(page).find("fuori"), std::string::npos) << page;
    }
}

TEST(DocumentFile, ReadsEmptyPagesAsOneLineBreak) {
    PageStore pages;
    ASSERT_TRUE(parseDocument(readBytes(testData("documents/solo_pagina3.mtf")), pages));
    EXPECT_EQ(pages.latexOf(3), "\\frac{1}{2}+x\r\ny=3\r\n");
    EXPECT_EQ(pages.brailleOf(3), "6#anp#b4_x\r\n_y.=#c\r\n");
    EXPECT_EQ(pages.latexOf(1), "\r\n");
    EXPECT_EQ(pages.brailleOf(15), "\r\n");
}

TEST(DocumentFile, HeaderNumbersAreReadFromCharactersSevenToNine) {
    auto pageOf = [](const std::string& header) {
        PageStore pages;
        EXPECT_TRUE(parseDocument(header + "\r\nL\r\n\\\\\r\nB\r\n\\\\\r\n", pages));
        for (int page = 1; page <= kPageCount; ++page) {
            if (!pages.latexOf(page).empty()) {
                return page;
            }
        }
        return 0;
    };
    EXPECT_EQ(pageOf("\\\\Step 1"), 1);
    EXPECT_EQ(pageOf("\\\\Step 12"), 12);
    EXPECT_EQ(pageOf("\\\\Step  7"), 7);
    EXPECT_EQ(pageOf("\\\\Step9"), 9);
    EXPECT_EQ(pageOf("\\\\Step 15 "), 15);
    EXPECT_EQ(pageOf("\\\\Step 16"), 0);
    EXPECT_EQ(pageOf("\\\\Step 0"), 0);
    EXPECT_EQ(pageOf("\\\\Step 100"), 0);  // not page 10
    EXPECT_EQ(pageOf("\\\\Step x"), 0);
    EXPECT_EQ(pageOf("\\\\Step"), 0);
}

TEST(DocumentFile, RejectsFilesThatDoNotBeginWithAHeader) {
    PageStore pages;
    pages.latexOf(1) = "before";
    EXPECT_FALSE(parseDocument("", pages));
    EXPECT_FALSE(parseDocument("\r\n\\\\Step 1\r\nx\r\n\\\\\r\n\\\\\r\n", pages));
    EXPECT_FALSE(parseDocument("\\Step 1\r\n", pages));
    EXPECT_EQ(pages.latexOf(1), "before");
}

TEST(DocumentFile, LinesThatLookLikeMarkersStayInTheirText) {
    PageStore pages;
    pages.latexOf(1) = "\\\\\r\ntesto\r\n\\\\Step 2\r\n \\\\";
    pages.brailleOf(1) = "\\\\Step\r\n_a";
    const std::string file = formatDocument(pages);
    EXPECT_EQ(file, readBytes(testData("documents/righe_marcatori.mtf")));

    PageStore read;
    ASSERT_TRUE(parseDocument(file, read));
    EXPECT_EQ(read.latexOf(1), "\\\\\r\ntesto\r\n\\\\Step 2\r\n \\\\\r\n");
    EXPECT_EQ(read.brailleOf(1), "\\\\Step\r\n_a\r\n");
    EXPECT_EQ(read.latexOf(2), "\r\n");
    EXPECT_EQ(read.brailleOf(2), "\r\n");
}

TEST(DocumentFile, SaveLoadSaveIsByteIdentical) {
    TempFolder folder;
    PageStore pages;
    pages.latexOf(1) = "x+1\r\n\\frac{3}{4}";
    pages.brailleOf(1) = "_x+#a\r\n#:d";
    pages.latexOf(15) = "\\\\ testo \\\\\r\n\r\n\xE8\xA7\xF9";
    pages.brailleOf(7) = "  \\\\Step 3\r\n\\\\\r\nfine";
    const auto first = folder / "prova.mtf";
    ASSERT_TRUE(saveDocument(first, pages).ok);

    PageStore loaded;
    const FileOutcome load = loadDocument(first, loaded);
    ASSERT_TRUE(load.ok) << load.message;
    EXPECT_TRUE(load.message.empty());
    const auto second = folder / "copia.mtf";
    ASSERT_TRUE(saveDocument(second, loaded).ok);
    EXPECT_EQ(readBytes(first), readBytes(second));

    // The sample document shipped with the program survives the same trip.
    PageStore sample;
    const auto shipped = std::filesystem::path(TATTILO_SOURCE_DIR) / "data/esempi/esempio.mtf";
    ASSERT_TRUE(loadDocument(shipped, sample).ok);
    ASSERT_TRUE(saveDocument(folder / "esempio.mtf", sample).ok);
    EXPECT_EQ(readBytes(folder / "esempio.mtf"), readBytes(shipped));
}

TEST(DocumentFile, LoadReportsReadErrorsAndWrongFormat) {
    TempFolder folder;
    PageStore pages;
    pages.brailleOf(2) = "unchanged";

    const auto missing = folder / "manca.mtf";
    FileOutcome r = loadDocument(missing, pages);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message,
              "Errore n. " + std::to_string(ENOENT) + " in lettura file " + missing.string());

    r = loadDocument(folder.path(), pages);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, readErrorMessage(EISDIR, folder.path().string()));

    writeBytes(folder / "lettera.txt", "Cara Maria,\r\n\\\\Step 1\r\n");
    r = loadDocument(folder / "lettera.txt", pages);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, "Formato del file errato");
    EXPECT_EQ(pages.brailleOf(2), "unchanged");
}

TEST(DocumentFile, FailedSaveKeepsThePreviousFile) {
    TempFolder folder;
    const auto path = folder / "compito.mtf";
    PageStore before;
    before.brailleOf(1) = "_a+_b";
    ASSERT_TRUE(saveDocument(path, before).ok);
    const std::string old = readBytes(path);

    PageStore after;
    after.brailleOf(1) = "nuovo";
    for (WriteStep failing :
         {WriteStep::Create, WriteStep::Write, WriteStep::Close, WriteStep::Replace}) {
        const FileOutcome r = saveDocument(
            path, after, [failing](WriteStep step) { return step == failing ? ENOSPC : 0; });
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.message,
                  "Errore n. " + std::to_string(ENOSPC) + " in scrittura file " + path.string());
        EXPECT_EQ(readBytes(path), old);
        EXPECT_EQ(folder.listing(), "compito.mtf\n");  // no temporary file left behind
    }

    // A real failure, whoever runs the test: the name is taken by a folder.
    std::filesystem::create_directory(folder / "cartella.mtf");
    const FileOutcome r = saveDocument(folder / "cartella.mtf", after);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.message.starts_with("Errore n. ")) << r.message;
    EXPECT_EQ(folder.listing(), "cartella.mtf\ncompito.mtf\n");

    const FileOutcome noFolder = saveDocument(folder / "manca" / "x.mtf", after);
    EXPECT_EQ(noFolder.message, writeErrorMessage(ENOENT, (folder / "manca" / "x.mtf").string()));
}

TEST(DocumentFile, SaveAsAddsTheExtensionOnlyWhenThereIsNone) {
    EXPECT_EQ(saveAsFileName("prova"), "prova.mtf");
    EXPECT_EQ(saveAsFileName("/home/ada/esercizi/prova"), "/home/ada/esercizi/prova.mtf");
    EXPECT_EQ(saveAsFileName("prova.mtf"), "prova.mtf");
    EXPECT_EQ(saveAsFileName("prova.txt"), "prova.txt");
    EXPECT_EQ(saveAsFileName("/home/a.b/prova"), "/home/a.b/prova.mtf");
    EXPECT_EQ(saveAsFileName("C:\\es.1\\prova"), "C:\\es.1\\prova.mtf");
    EXPECT_EQ(fileNamePart("C:\\esercizi\\esercizio001.mtf"), "esercizio001.mtf");
    EXPECT_EQ(fileNamePart("/tmp/x/esempio.mtf"), "esempio.mtf");
    EXPECT_EQ(fileNamePart(""), "");
}

TEST(ExerciseName, NextNameAfterTheGreatestExercise) {
    using Names = std::vector<std::string>;
    EXPECT_EQ(nextExerciseName(Names{}), "esercizio000.mtf");
    EXPECT_EQ(nextExerciseName(Names{"note.txt", "esercizio.mtf"}), "esercizio000.mtf");
    EXPECT_EQ(nextExerciseName(Names{"esercizio000.mtf", "esercizio007.mtf", "altro.mtf"}),
              "esercizio008.mtf");
    EXPECT_EQ(nextExerciseName(Names{"esercizio041.mtf"}), "esercizio042.mtf");
    EXPECT_EQ(nextExerciseName(Names{"esercizio099.mtf", "esercizio100.mtf"}), "esercizio101.mtf");
    EXPECT_EQ(nextExerciseName(Names{"esercizio999.mtf"}), "esercizio000.mtf");
    EXPECT_EQ(nextExerciseName(Names{"esercizioA041.mtf", "esercizio500.mtf"}),
              "esercizioA042.mtf");  // byte-wise greatest
    EXPECT_EQ(nextExerciseName(Names{"esercizio_vecchio.mtf", "esercizio003.mtf"}),
              "esercizio_vecchio.mtf");  // not numbered: proposed as it is
    EXPECT_EQ(nextExerciseName(Names{"esercizio009.mtf.bak", "Esercizio004.mtf"}),
              "esercizio000.mtf");

    TempFolder folder;
    EXPECT_EQ(nextExerciseName(folder.path()), "esercizio000.mtf");
    writeBytes(folder / "esercizio000.mtf", "");
    writeBytes(folder / "esercizio007.mtf", "");
    EXPECT_EQ(nextExerciseName(folder.path()), "esercizio008.mtf");
    EXPECT_EQ(nextExerciseName(folder / "manca"), "esercizio000.mtf");
}

}  // namespace
}  // namespace editor
