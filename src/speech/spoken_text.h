#pragma once

// What the speech reader hands to the engine: the words exactly as the rendering wrote them,
// together with the tokens they are made of. The rendering joins its tokens without any
// separator ("quadrata di" + "x" is "quadrata dix"); an engine that reads the joined string
// hears other words, so each engine forms its own input from the tokens instead, saying a
// word as a word, a letter as a letter and the digits of one number as that number.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace speech {

// How a token is to be said.
enum class TokenKind : std::uint8_t {
    Words,   // as written
    Letter,  // one letter a-z or A-Z, spelt as a letter ("x" is "ics")
    Number,  // the digits of one number, said as that number ("123" is "centoventitre")
};

struct SpokenToken {
    std::size_t begin = 0;  // in SpokenText::text
    std::size_t size = 0;   // never 0
    TokenKind kind = TokenKind::Words;

    friend bool operator==(const SpokenToken&, const SpokenToken&) = default;
};

struct SpokenText {
    std::string text;                 // code page 1252
    std::vector<SpokenToken> tokens;  // in order; together they are exactly `text`

    // One token of words (empty text: no token).
    static SpokenText words(std::string_view text);
    // Appends a token; empty text adds nothing.
    void append(std::string_view more, TokenKind kind);
    // Appends to the last token (a number going on); with no token yet, starts one.
    void extendLast(std::string_view more, TokenKind kind);
    // Puts words in front, as a token of their own.
    void prepend(std::string_view words);
    void clear() {
        text.clear();
        tokens.clear();
    }

    std::string_view token(const SpokenToken& t) const { return {text.data() + t.begin, t.size}; }
};

// The text an engine reads for `spoken`: the same tokens, with a blank between two that would
// otherwise touch (no blank at the end of the one and none at the start of the next). The
// blank goes at the end of the token before it, so that the tokens still cover the text.
SpokenText separatedTokens(const SpokenText& spoken);
// The same, appending `spoken` to `text` (kept apart from what `text` ends with too).
void appendSeparated(SpokenText& text, const SpokenText& spoken);

// Cuts engine text into pieces of synthesis, each ending at a token boundary: the first piece
// at most `firstBytes` long (one short phrase, so that the first sound comes at once), the
// others at most `pieceBytes`. A token longer than its piece is cut after a blank within it,
// or, when it has none, at the limit; both parts keep its kind. The pieces joined are the
// text.
std::vector<SpokenText> cutIntoPieces(const SpokenText& text, std::size_t firstBytes,
                                      std::size_t pieceBytes);

}  // namespace speech
