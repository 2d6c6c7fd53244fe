#include "speech/request_sources.h"

#include <gtest/gtest.h>

#include "speech/speech_reader.h"

namespace {

using namespace speech;

const std::string kDir = "/prog";
// Two lines; offsets count CR LF as two characters.
const std::string kText = "#ab+c\r\n?x*";

TEST(RequestSources, FindTheStartOfTheCaretLine) {
    EXPECT_EQ(lineStart(kText, 0), 0u);
    EXPECT_EQ(lineStart(kText, 5), 0u);
    EXPECT_EQ(lineStart(kText, 7), 7u);
    EXPECT_EQ(lineStart(kText, 9), 7u);
    EXPECT_EQ(lineStart(kText, 500), 7u);  // past the end: the last line
}

TEST(RequestSources, TypedKeysSayTheLineUpToTheCaretAndTheCharacter) {
    const Request r = typedKeyRequest(kDir, kText, 9, 'a');
    EXPECT_EQ(r.workingDirectory, kDir);
    EXPECT_EQ(r.mode, "key");
    EXPECT_EQ(r.text, "?xa");
    EXPECT_EQ(typedKeyRequest(kDir, kText, 2, '\x7F').text, "#a_");
    EXPECT_EQ(typedKeyRequest(kDir, kText, 2, '\xA6').text, "#a_");
    EXPECT_EQ(wordsFor("key", typedKeyRequest(kDir, "", 0, '#').text), " segnanumero ");
}

TEST(RequestSources, DeletionsSayTheCellThatGoes) {
    const auto back = backspaceRequest(kDir, kText, 3);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->mode, "canc");
    EXPECT_EQ(back->text, "#ab");
    EXPECT_EQ(wordsFor(back->mode, back->text), " cancellato 2");
    EXPECT_FALSE(backspaceRequest(kDir, kText, 0));
    // At the start of a line the line break goes.
    EXPECT_EQ(wordsFor("canc", backspaceRequest(kDir, kText, 7)->text), " cancellato  a capo ");

    const auto del = deleteRequest(kDir, kText, 1, 0);
    ASSERT_TRUE(del);
    EXPECT_EQ(del->text, "#a");
    EXPECT_EQ(wordsFor(del->mode, del->text), " cancellato 1");
    EXPECT_FALSE(deleteRequest(kDir, kText, 1, 2));             // a selection
    EXPECT_FALSE(deleteRequest(kDir, kText, kText.size(), 0));  // nothing after the caret
    EXPECT_EQ(deleteRequest(kDir, kText, 5, 0)->text, "#ab+c\r");
}

TEST(RequestSources, ArrowsSayTheCellAfterTheCaretOrTheLastSelected) {
    const auto right = arrowRequest(kDir, kText, 8, false, 8, 0);
    ASSERT_TRUE(right);
    EXPECT_EQ(right->mode, "last");
    EXPECT_EQ(right->text, "?x");
    EXPECT_FALSE(arrowRequest(kDir, kText, kText.size(), false, 0, 0));
    EXPECT_FALSE(arrowRequest(kDir, "", 0, false, 0, 0));

    const auto shift = arrowRequest(kDir, kText, 3, true, 0, 3);
    ASSERT_TRUE(shift);
    EXPECT_EQ(shift->text, "#ab");
    EXPECT_FALSE(arrowRequest(kDir, kText, 3, true, 3, 0));
    // A selection that ends with a line break names the line break.
    EXPECT_EQ(arrowRequest(kDir, kText, 7, true, 4, 3)->text, "#ab+c\r");
}

TEST(RequestSources, UpAndDownReadTheWholeLine) {
    const auto line = lineRequest(kDir, kText, 2, "70");
    ASSERT_TRUE(line);
    EXPECT_EQ(line->mode, "all");
    EXPECT_EQ(line->rate, "70");
    EXPECT_EQ(line->text, "#ab+c");
    EXPECT_EQ(lineRequest(kDir, kText, 8, "70")->text, "?x*");
    EXPECT_EQ(lineRequest(kDir, "a\r\n  \r\nb", 4, "50")->text, " ");
    EXPECT_FALSE(lineRequest(kDir, "", 0, "50"));
}

TEST(RequestSources, ChordAndKeypadInput) {
    const Request chord = chordRequest(kDir, kText, 9);
    EXPECT_EQ(chord.mode, "last");
    EXPECT_EQ(chord.text, "?x");
    const Request keypad = keypadRequest(kDir, kText, 9);
    EXPECT_EQ(keypad.mode, "key");
    EXPECT_EQ(keypad.text, "#ab+c\r\n?x");
}

TEST(RequestSources, AnnouncementsAndSilence) {
    const Request page = pageRequest(kDir, 12);
    EXPECT_EQ(page.mode, "");
    EXPECT_EQ(page.text, "\\\\@Pagina 12\\\\");
    EXPECT_EQ(wordsFor(page.mode, page.text), "Pagina 12");
    EXPECT_EQ(wordsFor("", inputModeRequest(kDir, true).text), "attivata dattilobraille ");
    EXPECT_EQ(wordsFor("", inputModeRequest(kDir, false).text), "attivata tastiera ");
    const Request esc = silenceRequest(kDir);
    EXPECT_EQ(esc.text, "\x1B");
    EXPECT_EQ(wordsFor(esc.mode, esc.text), "");
}

TEST(RequestSources, ModeWordFromAKeyCode) {
    EXPECT_EQ(modeForKeyCode(37), "last");
    EXPECT_EQ(modeForKeyCode(39), "last");
    EXPECT_EQ(modeForKeyCode(38), "all");
    EXPECT_EQ(modeForKeyCode(40), "all");
    EXPECT_EQ(modeForKeyCode(256), "canc");
    EXPECT_EQ(modeForKeyCode(999), "error");
    EXPECT_EQ(modeForKeyCode(65), "key");
    EXPECT_EQ(modeForKeyCode(0), "key");
    const Request r = keyCodeRequest(kDir, 38, "#abc");
    EXPECT_EQ(r.mode, "all");
    EXPECT_EQ(r.text, "#abc");
    EXPECT_EQ(r.workingDirectory, kDir);
}

}  // namespace
