#include "speech/rendering.h"

#include <array>
#include <cstdint>
#include <vector>

#include "speech/rendering_preparation.h"
#include "speech/rendering_tables.h"

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

std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && s.front() == ' ') {
        s.remove_prefix(1);
    }
    while (!s.empty() && s.back() == ' ') {
        s.remove_suffix(1);
    }
    return s;
}

// ---------------------------------------------------------------------------------------------

class Renderer {
public:
    Renderer(Mode mode, std::string_view text) : mode_(mode) {
        PreparedLine line = prepareLine(text);
        s_ = std::move(line.cells);
        marked_ = std::move(line.marked);
        // Tokens are short: a line of n cells rarely needs more than a dozen bytes per cell.
        result_.whole.reserve(s_.size() * 12);
    }

    Rendering run() {
        while (pos_ < s_.size()) {
            step();
        }
        result_.lastToken = token_;
        result_.inTextRegion = textRegion_;
        result_.spoken = ending();
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

    // ---- main loop --------------------------------------------------------------------------

    void step() {
        token_.clear();
        textRegionsAndMarkers();
        if (token_.empty() && pos_ < s_.size() && (s_[pos_] == '>' || s_[pos_] == '<')) {
            greekLetters();
        }
        bool consumed = !token_.empty();
        if (!consumed && pos_ < s_.size()) {
            consumed = signsAndFunctions();
        }
        if (!consumed && token_.empty() && pos_ < s_.size()) {
            singleCell();
        }
        if (mode_ == Mode::All && trimBlanks(token_) == "spazio") {
            token_.clear();  // blanks are silent when a whole line is read
        }
        result_.whole += token_;
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
            token_ = bracketOfLevel(cell(pos_ + 1));
            const char level = cell(pos_ + 2);
            if (level >= '1' && level <= '9') {
                token_ += kOrdinals[static_cast<std::size_t>(level - '1')];
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
            token_ = kComment;
            token_.append(s_, open, std::string::npos);
            textRegion_ = true;
            pos_ = mode_ == Mode::All || mode_ == Mode::Key ? s_.size() : s_.size() - 1;
            return;
        }
        if (cell(open + 2) == '@') {
            token_.assign(s_, open + 3, close - (open + 3));  // an announcement
        } else {
            token_ = kComment;
            token_.append(s_, open + 2, close - (open + 2));
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
                token_ = g.name;
                pos_ += 2;
                // A capital right after is read in the next step, not in place of this one.
                return;
            }
        }
        for (const Greek& g : kGreek) {
            if (!g.capital.empty() && matches(pos_, g.capital, true)) {
                token_ = g.name;
                token_ += kCapitalSuffix;
                pos_ += 3;
                return;
            }
        }
    }

    // Returns whether a sign was read (its token may be empty: a closing "%%").
    bool signsAndFunctions() {
        if (const int i = firstMatch(setIndex(), true); i >= 0) {
            token_ = kSetSigns[static_cast<std::size_t>(i)].words;
            pos_ += setIndex().patterns[static_cast<std::size_t>(i)].size();
            return true;
        }
        if (const int i = firstMatch(logicIndex(), true); i >= 0) {
            token_ = kLogicSigns[static_cast<std::size_t>(i)].words;
            pos_ += logicIndex().patterns[static_cast<std::size_t>(i)].size();
            return true;
        }
        const int i = firstMatch(functionIndex(), false);
        if (i < 0) {
            return false;
        }
        const Sign& f = kFunctions[static_cast<std::size_t>(i)];
        token_ = f.words;
        pos_ += functionIndex().patterns[static_cast<std::size_t>(i)].size();
        if (f.pattern == kLogPattern) {
            logarithmBase();
        } else if (f.pattern == kMatrixPattern) {
            toggleBars();
        }
        // After a closing "%%" nothing was said: the next cell is read in this same step.
        return !token_.empty();
    }

    // "log." followed within five cells by ':' has a base: the ':' becomes the letters
    // "_d_i", read "di" ("logaritmo in base 2 di 8").
    void logarithmBase() {
        const std::size_t end = std::min(pos_ + 5, s_.size());
        for (std::size_t i = pos_; i < end; ++i) {
            if (s_[i] == ':' && !marked_[i]) {
                token_ += kLogBase;
                s_.replace(i, 1, kLogBaseCells);
                marked_.erase(marked_.begin() + static_cast<std::ptrdiff_t>(i));
                marked_.insert(marked_.begin() + static_cast<std::ptrdiff_t>(i),
                               kLogBaseCells.size(), 0);
                rootScanValid_ = false;  // the cells after here have moved
                return;
            }
        }
        token_ += kLogDecimal;
    }

    // '%' and "%%" open and close bars; the closing one is silent.
    void toggleBars() {
        if (bars_) {
            bars_ = false;
            token_.clear();
        } else {
            bars_ = true;
        }
    }

    // Is the root opened here a square root: no unmarked ':' (index separator) before the
    // first 'o' that follows. The answer of one scan holds for every '9' up to the cell where
    // it stopped, so a run of roots does not scan the rest of the line again for each one.
    bool isSquareRoot() {
        if (!rootScanValid_ || pos_ >= rootScanEnd_) {
            std::size_t i = pos_ + 1;
            while (i < s_.size() && s_[i] != 'o' && !(s_[i] == ':' && !marked_[i])) {
                ++i;
            }
            rootScanEnd_ = i;
            rootScanSquare_ = i == s_.size() || s_[i] == 'o';
            rootScanValid_ = true;
        }
        return rootScanSquare_;
    }

    void singleCell() {
        const char c = s_[pos_];
        const bool marked = marked_[pos_] != 0;
        const char prev = pos_ > 0 ? s_[pos_ - 1] : '\0';
        const bool all = mode_ == Mode::All;
        bool roundBracket = false;

        if (!textRegion_) {
            if (c == 'y' && prev == '_') {
                token_ = "y";
            }
            if (c == kOverbar) {
                token_ = kOverbarOpen;
                ++overbarDepth_;
            }
            if (c == '6') {
                token_ = kFractionOpen;
            }
            if (c == '4') {
                token_ = kFractionClose;
            }
            if (c == 'n' && prev != '_') {
                token_ = kNumeratorEnd;
            }
            if (c == 'p' && prev != '_') {
                token_ = kDenominator;
            }
            if (c == 'k' && prev != '_') {
                token_ = kProportion;
            }
            if (c == '9') {
                token_ = kRootOpen;
                ++rootDepth_;
                if (all && isSquareRoot()) {
                    token_ += kSquareRoot;
                }
            }
            if (c == 'o' && prev != '$' && prev != '_') {
                token_ = kRootClose;
                --rootDepth_;
            }
            if (c == ':' && !marked) {
                if (rootDepth_ > 0 && all) {
                    token_ = kRootIndexEnd;
                }
                if (overbarDepth_ > 0) {
                    token_ = kOverbarClose;
                    --overbarDepth_;
                }
            }
        }
        if (c == '=' && !marked) {
            number_ = false;
        }
        if (c == '$' && (mode_ == Mode::Key || mode_ == Mode::Canc)) {
            token_ = kDollar;
        }
        if (c == '#') {
            if (!all) {
                token_ = kNumberSign;
            }
            number_ = true;
            if (isLowerDigit(cell(pos_ + 1))) {
                lowerNumber_ = true;
            }
        }
        if (lowerNumber_ && isUpperDigit(c)) {
            token_ = kFractionOf;
            token_ += digitOf(c);
            lowerNumber_ = false;
        } else if (isUpperDigit(c) && number_) {
            token_.assign(1, digitOf(c));
        } else if (lowerNumber_ && isLowerDigit(c)) {
            token_.assign(1, digitOf(c));
        }
        if (c == 'k') {
            proportion_ = !proportion_;
        }
        if (!lowerNumber_) {
            if (c == '_' && !all) {
                token_ = kLetterSign;
            }
            if (c == '$' && !all) {
                token_ = kCapitalSign;
            }
            const bool keepsNumber = isLowerDigit(c) || isUpperDigit(c) || c == '#' || c == '\'';
            if (!keepsNumber) {
                number_ = false;
            }
            if (c == '=' && !marked) {
                token_ = proportion_ ? kAs : kEquals;
            }
            if (token_.empty() && !textRegion_) {
                const std::string_view words = singleSignWords()[static_cast<unsigned char>(c)];
                if (!words.empty()) {
                    token_ = words;
                    roundBracket = c == '?' || c == '*';
                    if (c == '%') {
                        toggleBars();
                    } else if (c == 'd' && prev == '_') {
                        token_.clear();
                    }
                }
            }
        }
        if (token_.empty() && c >= 'A' && c <= 'Z') {
            token_.assign(1, c);
            if (!all) {
                token_ += kCapitalSuffix;
            }
        }
        if (token_.empty() && c >= 'a' && c <= 'z' && c != 'y') {
            token_.assign(1, c);
        }
        count(c, prev, roundBracket);
        if ((c == 'n' || c == 'p') && prev != '$' && prev != '_' &&
            result_.balance.fractions == 0 && !textRegion_) {
            token_ += kFractionError;
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
        if (c == '#' || c == '_') {
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

    std::string ending() const {
        const Balance& b = result_.balance;
        if (mode_ == Mode::All) {
            if (result_.whole.empty()) {
                return {};
            }
            std::string_view diagnostic;
            if (b.exponents != 0) {
                diagnostic = kAllExponents;
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
            std::string spoken = result_.whole;
            spoken += diagnostic;
            return spoken;
        }
        std::string spoken = token_;
        if (mode_ != Mode::Key) {
            return spoken;
        }
        if (textRegion_) {
            // Typing inside a text region names the cell typed, as it stands.
            const char last = s_.empty() ? '\0' : s_.back();
            if (!s_.empty() && last != '\\') {
                spoken.assign(1, last);
            }
            return spoken;
        }
        if (b.fractions < 0) {
            spoken += kKeyFractions;
        }
        if (b.roots < 0) {
            spoken += kKeyRoots;
        }
        if (b.braces < 0) {
            spoken += kKeyBraces;
        }
        if (b.squares < 0) {
            spoken += kKeySquares;
        }
        if (b.rounds < 0) {
            spoken += kKeyRounds;
        }
        if (b.numerators < 0) {
            spoken += kKeyNumerators;
        }
        if (b.denominators < 0) {
            spoken += kKeyDenominators;
        }
        if (b.exponents < 0) {
            spoken += kKeyExponents;
        }
        return spoken;
    }

    const Mode mode_;
    std::string s_;
    std::vector<std::uint8_t> marked_;
    std::size_t pos_ = 0;
    std::string token_;
    Rendering result_;

    bool textRegion_ = false;
    bool number_ = false;
    bool lowerNumber_ = false;
    bool proportion_ = false;
    bool bars_ = false;  // shared by '%' and "%%"
    bool implicitExponentPossible_ = false;
    int rootDepth_ = 0;
    int overbarDepth_ = 0;
    // The last square-root scan: where it stopped and what it found.
    bool rootScanValid_ = false;
    std::size_t rootScanEnd_ = 0;
    bool rootScanSquare_ = false;
};

}  // namespace

Rendering render(std::string_view mode, std::string_view text) {
    return Renderer(modeOf(mode), text).run();
}

}  // namespace speech
