// The document the Windows build's window test saves with Shift+F12 (tests/win32gui/gui): the
// sample document, "#ab" typed at the start of page 3 in Braille mode. The Linux build writes
// those pages as the same bytes and reads the file back page for page.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "editor/document_file.h"
#include "notation/conversion.h"
#include "notation/formula_error_report.h"

namespace {

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(DocumentOnBothBuilds, TheSampleWithPage3TypedIsWhatWindowsSaved) {
    const std::string saved =
        readAll(std::string(TATTILO_TEST_DATA) + "/win32gui/esempio_pagina3.mtf");
    ASSERT_FALSE(saved.empty());

    editor::PageStore pages;
    ASSERT_TRUE(
        editor::loadDocument(std::string(TATTILO_SOURCE_DIR) + "/data/esempi/esempio.mtf", pages)
            .ok);
    pages.brailleOf(3) = "#ab" + pages.brailleOf(3);
    notation::FormulaErrorReport errors;
    ASSERT_TRUE(notation::convertAllPages(notation::ConversionDirection::BrailleToLatex,
                                          pages.latex, pages.braille, errors))
        << errors.message();
    EXPECT_EQ(editor::formatDocument(pages), saved);

    // Read back: the same pages, written again the same.
    editor::PageStore back;
    ASSERT_TRUE(editor::parseDocument(saved, back));
    EXPECT_EQ(back.latexOf(3), "12\r\n");
    EXPECT_EQ(back.brailleOf(3), "#ab\r\n");
    EXPECT_EQ(editor::formatDocument(back), saved);
}

}  // namespace
