#include "speech/rendering.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "notation/text_scan.h"
#include "speech/rendering_preparation.h"
#include "speech/rendering_tables.h"
#include "ui/text_trim.h"

namespace speech {
namespace {

using namespace rendering_words;

std::string_view bracketOfLevel(char letter) {
    for (const Sign& s : kLevelBrackets) {
        if (s.pattern[0] == letter) {
            return s.words;
        }
    }
    return {};
}

// ---------------------------------------------------------------------------------------------
// Patterns indexed by their first byte, in table order, so that each cell tries only the few
// entries that can start there.

struct PatternIndex {
    // Patterns after the capital-sign pass: the line is compared in that form, so a pattern
    // such as "_$f" must be too, or it could never match.
    std::vector<std::string> patterns;
    std::array<std::vector<std::uint8_t>, 256> byFirst;

    template <std::size_t N>
    explicit PatternIndex(const std::array<Sign, N>& table) {
        for (std::size_t i = 0; i < N; ++i) {
            std::string p(table[i].pattern);
            applyCapitalSign(p);
            byFirst[static_cast<unsigned char>(p[0])].push_back(static_cast<std::uint8_t>(i));
            patterns.push_back(std::move(p));
        }
    }
};

const PatternIndex& setIndex() {
    static const PatternIndex index(kSetSigns);
    return index;
}
const PatternIndex& logicIndex() {
    static const PatternIndex index(kLogicSigns);
    return index;
}
const PatternIndex& functionIndex() {
    static const PatternIndex index(kFunctions);
    return index;
}

const std::array<std::string_view, 256>& singleSignWords() {
    static const std::array<std::string_view, 256> words = [] {
        std::array<std::string_view, 256> w{};
        for (const Sign& s : kSingleSigns) {
            w[static_cast<unsigned char>(s.pattern[0])] = s.words;
        }
        return w;
    }();
    return words;
}

enum class Mode { None, Key, Last, All, Canc, Other };

Mode modeOf(std::string_view word) {
    if (word.empty()) {
        return Mode::None;
    }
    if (word == kModeKey) {
        return Mode::Key;
    }
    if (word == kModeLast) {
        return Mode::Last;
    }
    if (word == kModeAll) {
        return Mode::All;
    }
    if (word == kModeCanc) {
        return Mode::Canc;
    }
    return Mode::Other;
}

// The one diagnostic a whole line ends with: of those that apply, the last.
std::string_view lineDiagnostic(const Balance& b) {
    std::string_view diagnostic;
    if (b.exponents != 0) {
        diagnostic = kAllExponents;
    }
    if (b.indices != 0) {
        diagnostic = kAllIndices;
    }
    if (b.fractions != 0) {
        diagnostic = kAllFractions;
    }
    if (b.roots < 0) {
        diagnostic = kAllRootClosing;
    }
    if (b.roots > 0) {
        diagnostic = kAllRootMissing;
    }
    if (b.braces != 0) {
        diagnostic = kAllBraces;
    }
    if (b.squares != 0) {
        diagnostic = kAllSquares;
    }
    if (b.rounds != 0) {
        diagnostic = kAllRounds;
    }
    if (b.numerators != 0) {
        diagnostic = kAllNumerators;
    }
    if (b.denominators != 0) {
        diagnostic = kAllDenominators;
    }
    return diagnostic;
}

// The diagnostics of a typed key, in the order they are spoken: a closing without its opening.
struct KeyDiagnostic {
    int Balance::*count;
    std::string_view words;
};

constexpr std::array<KeyDiagnostic, 9> kKeyDiagnostics = {{
    {&Balance::fractions, kKeyFractions},
    {&Balance::roots, kKeyRoots},
    {&Balance::braces, kKeyBraces},
    {&Balance::squares, kKeySquares},
    {&Balance::rounds, kKeyRounds},
    {&Balance::numerators, kKeyNumerators},
    {&Balance::denominators, kKeyDenominators},
    {&Balance::exponents, kKeyExponents},
    {&Balance::indices, kKeyIndices},
}};

// How a cell typed inside a text region is said.
TokenKind kindOfCell(char c) {
    if (notation::isAsciiLetter(c)) {
        return TokenKind::Letter;
    }
    return notation::isDigit(c) ? TokenKind::Number : TokenKind::Words;
}

// ---------------------------------------------------------------------------------------------

class Renderer {
public:
    Renderer(Mode mode, std::string_view text) : mode_(mode) {
        PreparedLine line = prepareLine(text);
        s_ = std::move(line.cells);
        marked_ = std::move(line.marked);
        indexGroup_ = std::move(line.indexGroup);
        findRootIndices();
        // Tokens are short: a line of n cells rarely needs more than a dozen bytes per cell,
        // or more than one token per cell.
        whole_.text.reserve(s_.size() * 12);
        whole_.tokens.reserve(s_.size() + 1);
    }

    Rendering run() {
        while (pos_ < s_.size()) {
            step();
        }
        result_.lastToken = token_.text;
        result_.inTextRegion = textRegion_;
        if (mode_ == Mode::All) {
            // The whole rendering is spoken as it is, with its diagnostic after it: its tokens
            // move over, and only its text is kept a second time, without the diagnostic.
            result_.whole = whole_.text;
            if (!whole_.text.empty()) {
                whole_.append(lineDiagnostic(result_.balance), TokenKind::Words);
                result_.spoken = std::move(whole_.text);
                result_.spokenTokens = std::move(whole_.tokens);
            }
            return std::move(result_);
        }
        SpokenText spoken = ending();
        result_.spoken = std::move(spoken.text);
        result_.spokenTokens = std::move(spoken.tokens);
        result_.whole = std::move(whole_.text);
        return std::move(result_);
    }

private:
    // ---- matching ---------------------------------------------------------------------------

    char cell(std::size_t i) const { return i < s_.size() ? s_[i] : '\0'; }

    // `pattern` at position i; with `respectMarks`, a marked cell never matches.
    bool matches(std::size_t i, std::string_view pattern, bool respectMarks) const {
        if (i + pattern.size() > s_.size()) {
            return false;
        }
        for (std::size_t k = 0; k < pattern.size(); ++k) {
            if (s_[i + k] != pattern[k] || (respectMarks && marked_[i + k])) {
                return false;
            }
        }
        return true;
    }

    // The first entry of `index` that matches here, or -1.
    int firstMatch(const PatternIndex& index, bool respectMarks) const {
        for (std::uint8_t i : index.byFirst[static_cast<unsigned char>(s_[pos_])]) {
            if (matches(pos_, index.patterns[i], respectMarks)) {
                return i;
            }
        }
        return -1;
    }

    bool isPair(std::size_t i) const { return cell(i) == '\\' && cell(i + 1) == '\\'; }
    bool isDelimiter(std::size_t i) const {
        return i < s_.size() && (s_[i] == kLevelMarker || isPair(i));
    }

    // ---- the token of a step ------------------------------------------------------------------

    void say(std::string_view words, TokenKind kind = TokenKind::Words) {
        token_.clear();
        token_.append(words, kind);
    }

    // More words of the same token go on its last part; a letter or a number is a part of
    // its own.
    void sayMore(std::string_view words, TokenKind kind = TokenKind::Words) {
        if (kind == TokenKind::Words && !token_.tokens.empty() &&
            token_.tokens.back().kind == TokenKind::Words) {
            token_.extendLast(words, kind);
        } else {
            token_.append(words, kind);
        }
    }

    void sayDigit(char cell) {
        const char digit = digitOf(cell);
        sayMore({&digit, 1}, TokenKind::Number);
    }

    void silence() { token_.clear(); }
    bool saysNothing() const { return token_.text.empty(); }

    // Whether the cell is one of the letters the rendering wrote in place of a sign, which
    // make a word together ("di" of a logarithm's base).
    bool inWrittenWord(std::size_t i) const {
        return std::any_of(writtenWords_.begin(), writtenWords_.end(),
                           [i](const auto& w) { return i >= w.first && i < w.second; });
    }

    // The token goes after the others. A digit that carries on the number of the step before
    // it becomes part of that number ("#abc" is the number 123, not 1, 2, 3); a letter of a
    // written word carries on the letters of that word before it.
    void appendToWhole() {
        const bool joinsWord = letterOfWord_ && wordGoesOn_;
        for (std::size_t i = 0; i < token_.tokens.size(); ++i) {
            const SpokenToken& t = token_.tokens[i];
            if (i == 0 && ((numberGoesOn_ && t.kind == TokenKind::Number) || joinsWord)) {
                whole_.extendLast(token_.token(t), t.kind);
            } else {
                whole_.append(token_.token(t), t.kind);
            }
        }
        numberGoesOn_ = !token_.tokens.empty() && token_.tokens.back().kind == TokenKind::Number;
        // The letter signs between the letters of a written word say nothing in a whole line.
        if (!saysNothing()) {
            wordGoesOn_ = letterOfWord_;
        }
        letterOfWord_ = false;
    }

    // ---- main loop --------------------------------------------------------------------------

    void step() {
        silence();
        textRegionsAndMarkers();
        if (saysNothing() && pos_ < s_.size() && (s_[pos_] == '>' || s_[pos_] == '<')) {
            greekLetters();
        }
        bool consumed = !saysNothing();
        if (!consumed && pos_ < s_.size()) {
            consumed = signsAndFunctions();
        }
        if (!consumed && saysNothing() && pos_ < s_.size()) {
            singleCell();
        }
        if (mode_ == Mode::All && ui::trimBlanks(token_.text) == "spazio") {
            silence();  // blanks are silent when a whole line is read
        }
        appendToWhole();
    }

    void textRegionsAndMarkers() {
        if (textRegion_ && isDelimiter(pos_)) {
            textRegion_ = false;
            pos_ += s_[pos_] == kLevelMarker ? 1 : 2;
        }
        // A closing delimiter may be followed at once by the next opening one, as two bracket
        // labels side by side are: that opening is read here too, not as plain cells.
        if (textRegion_ || !isDelimiter(pos_)) {
            return;
        }
        if (s_[pos_] == kLevelMarker) {
            say(bracketOfLevel(cell(pos_ + 1)));
            const char level = cell(pos_ + 2);
            if (level >= '1' && level <= '9') {
                sayMore(kOrdinals[static_cast<std::size_t>(level - '1')]);
            }
            textRegion_ = true;
            pos_ += 3;
            return;
        }
        const std::size_t open = pos_;
        std::size_t close = std::string::npos;
        for (std::size_t i = open + 3; i + 1 < s_.size(); ++i) {
            if (isPair(i)) {
                close = i;
                break;
            }
        }
        if (close == std::string::npos) {
            // Unterminated: the rest of the line, delimiter included, is the comment. The
            // reading goes on at its last cell, so that the cell deleted or moved onto inside
            // a comment not yet closed is what the last token names. A whole line does not
            // say that cell twice, and a typed key names its cell at the end anyway.
            say(kComment);
            sayMore(std::string_view(s_).substr(open));
            textRegion_ = true;
            pos_ = mode_ == Mode::All || mode_ == Mode::Key ? s_.size() : s_.size() - 1;
            return;
        }
        if (cell(open + 2) == '@') {
            say(std::string_view(s_).substr(open + 3, close - (open + 3)));  // an announcement
        } else {
            say(kComment);
            sayMore(std::string_view(s_).substr(open + 2, close - (open + 2)));
        }
        pos_ = close + 2;
        // The blank that separates a text region from what follows is not read; any other
        // cell is.
        if (cell(pos_) == ' ') {
            ++pos_;
        }
    }

    void greekLetters() {
        for (const Greek& g : kGreek) {
            if (matches(pos_, g.lower, true)) {
                say(g.name);
                pos_ += 2;
                // A capital right after is read in the next step, not in place of this one.
                return;
            }
        }
        for (const Greek& g : kGreek) {
            if (!g.capital.empty() && matches(pos_, g.capital, true)) {
                say(g.name);
                sayMore(kCapitalSuffix);
                pos_ += 3;
                return;
            }
        }
    }

    // Returns whether a sign was read.
    bool signsAndFunctions() {
        if (pos_ == limitArrow_) {
            say(kTendsTo);
            pos_ += 2;
            return true;
        }
        if (const int i = firstMatch(setIndex(), true); i >= 0) {
            say(kSetSigns[static_cast<std::size_t>(i)].words);
            pos_ += setIndex().patterns[static_cast<std::size_t>(i)].size();
            return true;
        }
        if (const int i = firstMatch(logicIndex(), true); i >= 0) {
            say(kLogicSigns[static_cast<std::size_t>(i)].words);
            pos_ += logicIndex().patterns[static_cast<std::size_t>(i)].size();
            return true;
        }
        const int i = firstMatch(functionIndex(), false);
        if (i < 0) {
            return false;
        }
        const Sign& f = kFunctions[static_cast<std::size_t>(i)];
        say(f.words);
        pos_ += functionIndex().patterns[static_cast<std::size_t>(i)].size();
        if (f.pattern == kLogPattern) {
            logarithmBase();
        } else if (f.pattern == kLimitPattern) {
            findLimitArrow();
        }
        return true;
    }

    // "lim." followed by its variable (a letter, a capital or a Greek letter) and ":o": that
    // arrow is the limit's, "tende a", as Braille-to-LaTeX reads it; every other is " implica".
    void findLimitArrow() {
        const char first = cell(pos_);
        if ((first == '_' || first == '$' || first == '>') && matches(pos_ + 2, ":o", true)) {
            limitArrow_ = pos_ + 2;
        }
    }

    // "log." followed within five cells by ':' has a base: the ':' becomes the letters
    // "_d_i", read "di" ("logaritmo in base 2 di 8").
    void logarithmBase() {
        const std::size_t end = std::min(pos_ + 5, s_.size());
        for (std::size_t i = pos_; i < end; ++i) {
            if (s_[i] == ':' && !marked_[i]) {
                sayMore(kLogBase);
                s_.replace(i, 1, kLogBaseCells);
                marked_.erase(marked_.begin() + static_cast<std::ptrdiff_t>(i));
                marked_.insert(marked_.begin() + static_cast<std::ptrdiff_t>(i),
                               kLogBaseCells.size(), 0);
                for (auto& [first, last] : writtenWords_) {
                    if (first > i) {
                        first += kLogBaseCells.size() - 1;
                        last += kLogBaseCells.size() - 1;
                    }
                }
                writtenWords_.emplace_back(i, i + kLogBaseCells.size());
                // The marks of the cells after here move with them.
                const auto at = static_cast<std::ptrdiff_t>(i) + 1;
                const std::size_t more = kLogBaseCells.size() - 1;
                indexGroup_.insert(indexGroup_.begin() + at, more, 0);
                rootIndexEnd_.insert(rootIndexEnd_.begin() + at, more, 0);
                squareRoot_.insert(squareRoot_.begin() + at, more, 0);
                return;
            }
        }
        sayMore(kLogDecimal);
    }

    // Which roots are square roots and which ':' ends a root's index, read as the conversion
    // reads them: a ':' belongs to the innermost construct still open that takes one (a root
    // without its index yet, an overline, the limits of a sum, product or integral, a
    // logarithm's base); an arrow ":o" and a lower digit are no colon; a root ends at its 'o'.
    void findRootIndices() {
        rootIndexEnd_.assign(s_.size(), 0);
        squareRoot_.assign(s_.size(), 0);
        enum class Owner { Root, RootWithIndex, Overline, Limits, LogBase };
        std::vector<std::pair<Owner, std::size_t>> open;  // and where each opened
        const auto closeRoot = [&] {
            while (!open.empty()) {
                const auto [owner, at] = open.back();
                open.pop_back();
                if (owner == Owner::Root || owner == Owner::RootWithIndex) {
                    squareRoot_[at] = owner == Owner::Root ? 1 : 0;
                    return;
                }
            }
        };
        for (std::size_t i = 0; i < s_.size(); ++i) {
            const char c = s_[i];
            const char prev = i > 0 ? s_[i - 1] : '\0';
            if (isPair(i)) {
                std::size_t close = i + 2;
                while (close < s_.size() && !isPair(close)) {
                    ++close;
                }
                i = close + 1;
                continue;
            }
            if (marked_[i] != 0) {
                continue;
            }
            if (c == '9' && cell(i + 1) == ':') {
                i += cell(i + 2) == 'o' ? 2 : 1;  // "se e solo se", "e implicato"
            } else if (c == '9') {
                open.emplace_back(Owner::Root, i);
            } else if (c == 'o' && prev != '$' && prev != '_') {
                closeRoot();
            } else if (c == kOverbar) {
                open.emplace_back(Owner::Overline, i);
            } else if (c == '7' || matches(i, "<S", false) || matches(i, "<P", false)) {
                open.emplace_back(Owner::Limits, i);
                i += c == '7' ? 0 : 1;
            } else if (c == '?' && !open.empty() && open.back().first == Owner::Limits) {
                open.pop_back();  // the operand opens: no upper limit
            } else if (matches(i, kLogPattern, false)) {
                const std::size_t end = std::min(i + 4 + 5, s_.size());
                for (std::size_t k = i + 4; k < end; ++k) {
                    if (s_[k] == ':' && marked_[k] == 0) {
                        open.emplace_back(Owner::LogBase, i);
                        break;
                    }
                }
                i += 3;
            } else if (c == ':' && cell(i + 1) == 'o') {
                ++i;  // an arrow
            } else if (c == ':' && !open.empty()) {
                if (open.back().first == Owner::Root) {
                    open.back().first = Owner::RootWithIndex;
                    rootIndexEnd_[i] = 1;
                } else if (open.back().first != Owner::RootWithIndex) {
                    open.pop_back();
                }
            }
        }
        while (!open.empty()) {
            closeRoot();  // roots never closed: square unless they had an index
        }
    }

    void singleCell() {
        const char c = s_[pos_];
        const bool marked = marked_[pos_] != 0;
        const char prev = pos_ > 0 ? s_[pos_ - 1] : '\0';
        const bool all = mode_ == Mode::All;
        bool roundBracket = false;

        if (!textRegion_) {
            if (c == 'y' && prev == '_') {
                say("y", TokenKind::Letter);
            }
            if (c == kOverbar) {
                say(kOverbarOpen);
                ++overbarDepth_;
            }
            if (c == '6') {
                say(kFractionOpen);
            }
            if (c == '4') {
                say(kFractionClose);
            }
            if (c == 'n' && prev != '_') {
                say(kNumeratorEnd);
            }
            if (c == 'p' && prev != '_') {
                say(kDenominator);
            }
            if (c == 'k' && prev != '_') {
                say(kProportion);
            }
            if (c == '9') {
                say(kRootOpen);
                if (all && squareRoot_[pos_] != 0) {
                    sayMore(kSquareRoot);
                }
            }
            if (c == 'o' && prev != '$' && prev != '_') {
                say(kRootClose);
            }
            if (c == ':' && !marked) {
                if (rootIndexEnd_[pos_] != 0 && all) {
                    say(kRootIndexEnd);
                }
                if (overbarDepth_ > 0) {
                    say(kOverbarClose);
                    --overbarDepth_;
                }
            }
        }
        if (c == '=' && !marked) {
            number_ = false;
        }
        if (c == '$' && (mode_ == Mode::Key || mode_ == Mode::Canc)) {
            say(kDollar);
        }
        if (c == '#') {
            if (!all) {
                say(kNumberSign);
            }
            number_ = true;
            if (isLowerDigit(cell(pos_ + 1))) {
                lowerNumber_ = true;
            }
        }
        if (lowerNumber_ && isUpperDigit(c)) {
            say(kFractionOf);
            sayDigit(c);
            lowerNumber_ = false;
        } else if (isUpperDigit(c) && number_) {
            silence();
            sayDigit(c);
        } else if (lowerNumber_ && isLowerDigit(c)) {
            silence();
            sayDigit(c);
        }
        if (c == 'k') {
            proportion_ = !proportion_;
        }
        if (!lowerNumber_) {
            if (c == '_' && !all) {
                say(kLetterSign);
            }
            if (c == '$' && !all) {
                say(kCapitalSign);
            }
            const bool keepsNumber = isLowerDigit(c) || isUpperDigit(c) || c == '#' || c == '\'';
            if (!keepsNumber) {
                number_ = false;
            }
            if (c == '=' && !marked) {
                say(proportion_ ? kAs : kEquals);
            }
            if (saysNothing() && !textRegion_) {
                const std::string_view words = singleSignWords()[static_cast<unsigned char>(c)];
                if (!words.empty()) {
                    say(words);
                    roundBracket = c == '?' || c == '*';
                    if (c == 'd' && prev == '_') {
                        silence();
                    }
                }
            }
        }
        if (indexGroup_[pos_] != 0 && !textRegion_) {
            say(c == '|' ? kIndexOpen : kIndexClose);  // never an exponent's words
        }
        if (saysNothing() && c >= 'A' && c <= 'Z') {
            say({&c, 1}, TokenKind::Letter);
            if (!all) {
                sayMore(kCapitalSuffix);
            }
        }
        if (saysNothing() && c >= 'a' && c <= 'z' && c != 'y') {
            if (inWrittenWord(pos_)) {
                say({&c, 1}, TokenKind::Words);
                letterOfWord_ = true;
            } else {
                say({&c, 1}, TokenKind::Letter);
            }
        }
        count(c, prev, roundBracket);
        if ((c == 'n' || c == 'p') && prev != '$' && prev != '_' &&
            result_.balance.fractions == 0 && !textRegion_) {
            sayMore(kFractionError);
        }
        ++pos_;
    }

    void count(char c, char prev, bool roundBracket) {
        Balance& b = result_.balance;
        const bool plainPrev = prev != '$' && prev != '_';
        switch (c) {
            case '6':
                ++b.fractions;
                ++b.numerators;
                break;
            case '4':
                --b.fractions;
                --b.denominators;
                break;
            case 'n':
                b.numerators -= plainPrev ? 1 : 0;
                break;
            case 'p':
                b.denominators += plainPrev ? 1 : 0;
                break;
            case '9':
                ++b.roots;
                break;
            case 'o':
                b.roots -= plainPrev ? 1 : 0;
                break;
            case '&':
                ++b.braces;
                break;
            case 'y':
                b.braces -= plainPrev ? 1 : 0;
                break;
            case '{':
                ++b.squares;
                break;
            case '}':
                --b.squares;
                break;
            case '?':
                b.rounds += roundBracket ? 1 : 0;
                break;
            case '*':
                b.rounds -= roundBracket ? 1 : 0;
                break;
            default:
                break;
        }
        countExponent(c);
    }

    // '|' opens an exponent and '1' closes the innermost one. A number or a letter exponent is
    // written without an opening ("x#b1" is x squared), so a '1' with nothing open is a
    // closing without its opening only when no number sign or letter sign came before it.
    void countExponent(char c) {
        if (textRegion_) {
            return;
        }
        Balance& b = result_.balance;
        if (indexGroup_[pos_] != 0) {
            b.indices += c == '|' ? 1 : -1;
        } else if (c == '#' || c == '_') {
            implicitExponentPossible_ = true;
        } else if (c == '|') {
            ++b.exponents;
        } else if (c == '1') {
            if (b.exponents > 0 || !implicitExponentPossible_) {
                --b.exponents;
            }
        }
    }

    // ---- ending -----------------------------------------------------------------------------

    // What a mode other than "all" speaks, as tokens.
    SpokenText ending() const {
        const Balance& b = result_.balance;
        SpokenText spoken = token_;
        if (mode_ != Mode::Key) {
            return spoken;
        }
        if (textRegion_) {
            // Typing inside a text region names the cell typed, as it stands.
            const char last = s_.empty() ? '\0' : s_.back();
            if (!s_.empty() && last != '\\') {
                spoken.clear();
                spoken.append({&last, 1}, kindOfCell(last));
            }
            return spoken;
        }
        for (const KeyDiagnostic& d : kKeyDiagnostics) {
            if (b.*d.count < 0) {
                spoken.append(d.words, TokenKind::Words);
            }
        }
        return spoken;
    }

    const Mode mode_;
    std::string s_;
    std::vector<std::uint8_t> marked_;
    std::vector<std::uint8_t> indexGroup_;
    std::vector<std::uint8_t> rootIndexEnd_;  // per cell: the ':' that ends a root's index
    std::vector<std::uint8_t> squareRoot_;    // per cell: the '9' of a root without index
    std::size_t pos_ = 0;
    std::size_t limitArrow_ = std::string::npos;  // the cell where a limit's arrow stands
    SpokenText token_;                            // the words of the current step
    SpokenText whole_;                            // every token so far
    bool numberGoesOn_ = false;                   // the last token ended with a digit of a number
    // Cells [first, second) that the rendering wrote as a word in place of a sign.
    std::vector<std::pair<std::size_t, std::size_t>> writtenWords_;
    bool letterOfWord_ = false;  // this step says a letter of a written word
    bool wordGoesOn_ = false;    // the last token said one
    Rendering result_;

    bool textRegion_ = false;
    bool number_ = false;
    bool lowerNumber_ = false;
    bool proportion_ = false;
    bool implicitExponentPossible_ = false;
    int overbarDepth_ = 0;
};

}  // namespace

Rendering render(std::string_view mode, std::string_view text) {
    return Renderer(modeOf(mode), text).run();
}

}  // namespace speech
