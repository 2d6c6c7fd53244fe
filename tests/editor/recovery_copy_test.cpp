// The recovery copy's file: every text back byte for byte, a document file for every reader,
// and nothing handed back from a copy that is not whole.

#include "editor/recovery/recovery_copy.h"

#include <gtest/gtest.h>

#include "editor/document_file.h"

namespace editor {
namespace {

// What a document file cannot keep: blanks and line breaks at the ends, lone line feeds,
// marker lines, control characters, backslashes, code page 1252 letters, long lines.
RecoveryCopy awkwardCopy() {
    RecoveryCopy copy;
    RecoveryState& s = copy.state;
    s.pages.latexOf(1) = "x+1 ";
    s.pages.brailleOf(1) = "_x+#a\r\n\r\n";
    s.pages.latexOf(2) = "\\\\\r\n\\\\Step 3\r\n \\\\Step 0\r\n\\\\";
    s.pages.brailleOf(2) = "\\\\Step 0";
    s.pages.latexOf(7) = std::string("a\tb\x01\x1f\x7f\nc\rd\\x41\\\\n", 17);
    s.pages.brailleOf(9) = "\xE0\xE8\xF9\x80\x9F\xFF end";
    s.pages.latexOf(15) = std::string(1800, 'y') + "\r\n" + std::string(3, ' ');
    s.pages.brailleOf(15) = "\r\n";
    s.page = 15;
    s.braille = true;
    s.document = "/home/studente/esercizi/equazioni \xE0 due.mtf";
    copy.taken = 1741772525;
    copy.documentTime = -6917529027641081856LL;
    return copy;
}

TEST(RecoveryCopy, EveryStateComesBackExactly) {
    RecoveryCopy neverSaved;
    neverSaved.state.exerciseName = "esercizio004.mtf";
    neverSaved.state.pages.latexOf(3) = "\\frac{1}{2}";
    neverSaved.taken = 0;
    RecoveryCopy empty;
    empty.taken = 17;
    empty.documentTime = 0;
    RecoveryCopy latex = awkwardCopy();
    latex.state.braille = false;
    latex.state.page = 1;

    for (const RecoveryCopy& copy : {awkwardCopy(), neverSaved, empty, latex}) {
        const std::string file = formatRecoveryCopy(copy);
        const auto back = parseRecoveryCopy(file);
        ASSERT_TRUE(back.has_value()) << file;
        EXPECT_EQ(back->state, copy.state);
        EXPECT_EQ(back->taken, copy.taken);
        EXPECT_EQ(back->documentTime, copy.documentTime);
        EXPECT_EQ(formatRecoveryCopy(*back), file);
    }
}

TEST(RecoveryCopy, IsADocumentFileThatEveryReaderOpens) {
    const RecoveryCopy copy = awkwardCopy();
    const std::string file = formatRecoveryCopy(copy);
    ASSERT_TRUE(file.starts_with(formatDocument(copy.state.pages)));

    // A reader that knows nothing of the copy reads the pages a document file of them gives.
    PageStore asDocument;
    ASSERT_TRUE(parseDocument(file, asDocument));
    PageStore expected;
    ASSERT_TRUE(parseDocument(formatDocument(copy.state.pages), expected));
    EXPECT_EQ(asDocument, expected);
    EXPECT_EQ(asDocument.brailleOf(2), "\\\\Step 0\r\n") << "a text line stays in its page";
}

TEST(RecoveryCopy, APartOfACopyIsNeverTakenForAWholeOne) {
    const std::string file = formatRecoveryCopy(awkwardCopy());
    // Cut short anywhere, as a write killed midway or a full disk leaves it.
    for (std::size_t size = 0; size < file.size(); ++size) {
        ASSERT_FALSE(parseRecoveryCopy(file.substr(0, size)).has_value()) << "cut at " << size;
    }
    // Any byte changed.
    for (std::size_t at = 0; at < file.size(); ++at) {
        std::string damaged = file;
        damaged[at] = static_cast<char>(damaged[at] ^ 0x20);
        ASSERT_FALSE(parseRecoveryCopy(damaged).has_value()) << "byte " << at;
    }
    // Anything after the end, a block of zeros as a power cut can leave, another file.
    for (const std::string& other :
         {file + "x", file + "\r\n", std::string(4096, '\0'),
          file.substr(0, 100) + std::string(512, '\0'), formatDocument(awkwardCopy().state.pages),
          std::string("\\\\Step 1\r\n"), std::string()}) {
        EXPECT_FALSE(parseRecoveryCopy(other).has_value()) << other.substr(0, 40);
    }
}

}  // namespace
}  // namespace editor
