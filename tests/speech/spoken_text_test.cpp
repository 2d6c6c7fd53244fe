// The tokens of what is said, and the engine text formed from them: blanks between tokens
// that would touch, and pieces of synthesis cut at token boundaries.

#include "speech/spoken_text.h"

#include <gtest/gtest.h>

#include "fixture.h"
#include "speech/speech_reader.h"

namespace {

using speech::SpokenText;
using speech::TokenKind;

std::string shown(const SpokenText& s) {
    std::string out;
    for (const speech::SpokenToken& t : s.tokens) {
        if (!out.empty()) {
            out += '|';
        }
        out += t.kind == TokenKind::Letter ? "l:" : t.kind == TokenKind::Number ? "n:" : "w:";
        out += s.token(t);
    }
    return out;
}

// The tokens cover the text exactly: in order, none empty, no gap, no overlap.
void expectCovers(const SpokenText& s, const std::string& where) {
    std::size_t at = 0;
    for (const speech::SpokenToken& t : s.tokens) {
        EXPECT_EQ(t.begin, at) << where;
        EXPECT_GT(t.size, 0u) << where;
        at = t.begin + t.size;
    }
    EXPECT_EQ(at, s.text.size()) << where;
}

TEST(SpokenTokens, TheReaderSaysEachTokenOfTheFixtureAsWhatItIs) {
    const auto cases = speech::test::readFixture("tokens.txt", 3);
    ASSERT_GT(cases.size(), 20u);
    for (const auto& c : cases) {
        const std::string mode = c.fields[0] == "none" ? "" : c.fields[0];
        const std::string where = "tokens.txt line " + std::to_string(c.number);
        const SpokenText s = speech::spokenFor(mode, c.fields[1]);
        EXPECT_EQ(shown(s), c.fields[2]) << where;
        EXPECT_EQ(s.text, speech::wordsFor(mode, c.fields[1])) << where;
        expectCovers(s, where);
    }
}

TEST(SpokenTokens, EveryRenderingIsCoveredByItsTokens) {
    for (const auto& c : speech::test::readFixture("rendering.txt", 3)) {
        const std::string mode = c.fields[0] == "none" ? "" : c.fields[0];
        const SpokenText s = speech::spokenFor(mode, c.fields[1]);
        EXPECT_EQ(s.text, c.fields[2]);
        expectCovers(s, "rendering.txt line " + std::to_string(c.number));
    }
}

SpokenText tokens(std::initializer_list<std::pair<std::string_view, TokenKind>> parts) {
    SpokenText s;
    for (const auto& [words, kind] : parts) {
        s.append(words, kind);
    }
    return s;
}

TEST(SpokenTokens, AreKeptApartByABlankOnlyWhereTheyWouldTouch) {
    const SpokenText s = tokens({{"quadrata di", TokenKind::Words},
                                 {"x", TokenKind::Letter},
                                 {" chiusa", TokenKind::Words},
                                 {"12", TokenKind::Number},
                                 {"punto ", TokenKind::Words},
                                 {"virgola", TokenKind::Words}});
    const SpokenText apart = speech::separatedTokens(s);
    EXPECT_EQ(apart.text, "quadrata di x chiusa 12 punto virgola");
    EXPECT_EQ(shown(apart), "w:quadrata di |l:x|w: chiusa |n:12 |w:punto |w:virgola");
    expectCovers(apart, "separated");

    // Words queued after others are kept apart from them too.
    SpokenText queued = SpokenText::words("sommatoria");
    speech::appendSeparated(queued, tokens({{"i", TokenKind::Letter}}));
    EXPECT_EQ(queued.text, "sommatoria i");

    EXPECT_TRUE(speech::separatedTokens(SpokenText{}).tokens.empty());
    SpokenText deleted = tokens({{"b", TokenKind::Letter}});
    deleted.prepend(" cancellato ");
    EXPECT_EQ(shown(deleted), "w: cancellato |l:b");
}

TEST(SpokenTokens, AreCutIntoPiecesAtTheirBoundariesTheFirstShort) {
    SpokenText line;
    for (int i = 0; i < 40; ++i) {
        line.append("aperta radice ", TokenKind::Words);  // 14 bytes
        line.append("x ", TokenKind::Letter);
        line.append("12 ", TokenKind::Number);
    }
    const auto pieces = speech::cutIntoPieces(line, 20, 100);
    ASSERT_GT(pieces.size(), 2u);
    EXPECT_EQ(pieces[0].text, "aperta radice x 12 ");  // the next token would pass 20 bytes
    std::string joined;
    std::size_t tokenCount = 0;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const SpokenText& p = pieces[i];
        EXPECT_LE(p.text.size(), i == 0 ? 20u : 100u);
        EXPECT_EQ(p.text.rfind("aperta", 0), 0u) << "piece " << i << " starts inside a token";
        expectCovers(p, "piece " + std::to_string(i));
        joined += p.text;
        tokenCount += p.tokens.size();
    }
    EXPECT_EQ(joined, line.text);
    EXPECT_EQ(tokenCount, line.tokens.size());  // no token cut in two
    EXPECT_EQ(shown(pieces[1]).substr(0, 29), "w:aperta radice |l:x |n:12 |w");

    // A token longer than a piece is cut after a blank, and both parts keep its kind; without
    // a blank, at the limit.
    const SpokenText comment = tokens({{"commento uno due tre", TokenKind::Words}});
    auto cut = speech::cutIntoPieces(comment, 10, 10);
    ASSERT_EQ(cut.size(), 3u);
    EXPECT_EQ(cut[0].text, "commento ");
    EXPECT_EQ(cut[1].text, "uno due ");
    EXPECT_EQ(cut[2].text, "tre");
    const SpokenText number = tokens({{"1234567", TokenKind::Number}});
    cut = speech::cutIntoPieces(number, 3, 3);
    ASSERT_EQ(cut.size(), 3u);
    EXPECT_EQ(shown(cut[2]), "n:7");

    EXPECT_TRUE(speech::cutIntoPieces(SpokenText{}, 10, 10).empty());
    EXPECT_EQ(speech::cutIntoPieces(line, 100000, 10).size(), 1u);
}

}  // namespace
