#include "speech/spoken_text.h"

#include <algorithm>

namespace speech {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

}  // namespace

SpokenText SpokenText::words(std::string_view text) {
    SpokenText s;
    s.append(text, TokenKind::Words);
    return s;
}

void SpokenText::append(std::string_view more, TokenKind kind) {
    if (more.empty()) {
        return;
    }
    tokens.push_back({text.size(), more.size(), kind});
    text += more;
}

void SpokenText::extendLast(std::string_view more, TokenKind kind) {
    if (tokens.empty()) {
        append(more, kind);
        return;
    }
    tokens.back().size += more.size();
    text += more;
}

void SpokenText::prepend(std::string_view words) {
    if (words.empty()) {
        return;
    }
    for (SpokenToken& t : tokens) {
        t.begin += words.size();
    }
    tokens.insert(tokens.begin(), {0, words.size(), TokenKind::Words});
    text.insert(0, words);
}

void appendSeparated(SpokenText& text, const SpokenText& spoken) {
    text.text.reserve(text.text.size() + spoken.text.size() + spoken.tokens.size());
    text.tokens.reserve(text.tokens.size() + spoken.tokens.size());
    for (const SpokenToken& t : spoken.tokens) {
        const std::string_view words = spoken.token(t);
        if (!text.tokens.empty() && !isBlank(text.text.back()) && !isBlank(words.front())) {
            text.extendLast(" ", text.tokens.back().kind);
        }
        text.append(words, t.kind);
    }
}

SpokenText separatedTokens(const SpokenText& spoken) {
    SpokenText out;
    appendSeparated(out, spoken);
    return out;
}

std::vector<SpokenText> cutIntoPieces(const SpokenText& text, std::size_t firstBytes,
                                      std::size_t pieceBytes) {
    std::vector<SpokenText> pieces;
    const std::string_view all = text.text;
    std::size_t pos = 0;
    std::size_t next = 0;  // the first token not wholly in a piece yet
    std::size_t limit = std::max<std::size_t>(1, firstBytes);
    while (pos < all.size()) {
        std::size_t end = all.size();
        if (all.size() - pos > limit) {
            const std::size_t most = pos + limit;
            std::size_t boundary = pos;
            for (std::size_t t = next; t < text.tokens.size(); ++t) {
                const std::size_t tokenEnd = text.tokens[t].begin + text.tokens[t].size;
                if (tokenEnd > most) {
                    break;
                }
                boundary = tokenEnd;
            }
            if (boundary > pos) {
                end = boundary;
            } else {
                // One token longer than the piece: cut it after a blank, else at the limit.
                const std::size_t blank = all.substr(0, most).find_last_of(" \t\r\n");
                end = blank != std::string_view::npos && blank >= pos ? blank + 1 : most;
            }
        }
        SpokenText piece;
        for (; next < text.tokens.size(); ++next) {
            const SpokenToken& t = text.tokens[next];
            const std::size_t from = std::max(t.begin, pos);
            const std::size_t to = std::min(t.begin + t.size, end);
            if (from < to) {
                piece.append(all.substr(from, to - from), t.kind);
            }
            if (t.begin + t.size > end) {
                break;  // goes on in the next piece
            }
        }
        pieces.push_back(std::move(piece));
        pos = end;
        limit = std::max<std::size_t>(1, pieceBytes);
    }
    return pieces;
}

}  // namespace speech
