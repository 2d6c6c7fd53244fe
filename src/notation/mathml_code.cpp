#include "notation/mathml_code.h"

#include "notation/mathml_tables.h"
#include "notation/power_ends.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace notation {

namespace {

constexpr std::string_view kDigitLetters = "abcdefghij";  // 1..9, 0
constexpr std::string_view kLowerDigits = ",;:/?+=(*)";   // 1..9, 0

bool isDigitLetter(char c) {
    return kDigitLetters.find(c) != std::string_view::npos;
}
bool isLowerDigit(char c) {
    return kLowerDigits.find(c) != std::string_view::npos;
}
bool isLowerLetter(char c) {
    return c >= 'a' && c <= 'z';
}

char digitOfLetter(char c) {
    return "1234567890"[kDigitLetters.find(c)];
}
char digitOfLowerDigit(char c) {
    return "1234567890"[kLowerDigits.find(c)];
}

struct SignMatch {
    const MathmlSign* sign = nullptr;
    MathCode code = MathCode::Symbol;
};

// The longest sign of the three tables that stands at `pos`.
SignMatch longestSign(std::string_view s, std::size_t pos) {
    SignMatch best;
    auto consider = [&](std::span<const MathmlSign> table, MathCode code) {
        for (const MathmlSign& sign : table) {
            if (sign.cells.front() == s[pos] && s.substr(pos).starts_with(sign.cells) &&
                (best.sign == nullptr || sign.cells.size() > best.sign->cells.size())) {
                best.sign = &sign;
                best.code = code;
            }
        }
    };
    consider(mathmlSymbols(), MathCode::Symbol);
    consider(mathmlExtraSigns(), MathCode::Symbol);
    consider(mathmlGreek(), MathCode::Greek);
    if (best.sign != nullptr && best.code == MathCode::Symbol &&
        isBigOperatorSign(best.sign->cells)) {
        best.code = MathCode::BigOperator;
    }
    return best;
}

// The capital of a small Greek letter (">d" -> "<D:"); the letter itself when it is already
// a capital or the alphabet has no capital for it.
std::string_view capitalOf(const MathmlSign& greek) {
    if (greek.cells.size() != 2) {
        return greek.mathml;
    }
    const char capital[3] = {'<', static_cast<char>(greek.cells[1] - 'a' + 'A'), ':'};
    for (const MathmlSign& sign : mathmlGreek()) {
        if (sign.cells == std::string_view(capital, 3)) {
            return sign.mathml;
        }
    }
    return greek.mathml;
}

std::optional<std::string_view> functionAt(std::string_view s, std::size_t pos) {
    for (std::string_view word : {"log.", "lim.", "ln.", "lg.", "det"}) {
        if (s.substr(pos).starts_with(word)) {
            return word;
        }
    }
    return std::nullopt;
}

class Reader {
public:
    explicit Reader(std::string_view cells) : s_(cells) {}

    std::vector<MathToken> read() {
        while (pos_ < s_.size()) {
            readOne();
        }
        return std::move(tokens_);
    }

private:
    void emit(MathCode code, std::size_t length, std::string text = {}) {
        MathToken token;
        token.code = code;
        token.text = std::move(text);
        token.offset = pos_;
        token.length = length;
        tokens_.push_back(std::move(token));
        pos_ += length;
    }

    // Digit letters from `pos_` on, as digits.
    std::string digitRun() {
        std::string digits;
        while (pos_ + digits.size() < s_.size() && isDigitLetter(s_[pos_ + digits.size()])) {
            digits += digitOfLetter(s_[pos_ + digits.size()]);
        }
        return digits;
    }

    // After the number sign: digits, or a numeric fraction (numerator in lower digits,
    // denominator as digit letters). Returns false when neither follows.
    bool readNumber() {
        const std::size_t start = pos_;
        std::size_t i = pos_ + 1;
        std::string numerator;
        while (i < s_.size() && isLowerDigit(s_[i])) {
            numerator += digitOfLowerDigit(s_[i]);
            ++i;
        }
        std::string digits;
        while (i < s_.size() && isDigitLetter(s_[i])) {
            digits += digitOfLetter(s_[i]);
            ++i;
        }
        if (numerator.empty() && digits.empty()) {
            return false;
        }
        MathToken token;
        token.offset = start;
        token.length = i - start;
        if (numerator.empty()) {
            token.code = MathCode::Number;
            token.text = std::move(digits);
            token.opensNumber = true;
            inNumber_ = true;
        } else {
            token.code = MathCode::NumericFraction;
            token.text = std::move(numerator);
            token.denominator = std::move(digits);
            inNumber_ = false;
        }
        tokens_.push_back(std::move(token));
        pos_ = i;
        return true;
    }

    void readOne() {
        const char c = s_[pos_];
        const bool wasInNumber = std::exchange(inNumber_, false);

        if (c == ' ' || c == '\t') {
            const std::size_t end = s_.find_first_not_of(" \t", pos_);
            emit(MathCode::Blank, (end == std::string_view::npos ? s_.size() : end) - pos_);
            return;
        }
        // Inside a number a comma, a periodic mark and the digit letters after them go on
        // with the same number.
        if (wasInNumber) {
            const bool digitsFollow = pos_ + 1 < s_.size() && isDigitLetter(s_[pos_ + 1]);
            const bool periodFollows =
                pos_ + 2 < s_.size() && s_[pos_ + 1] == '\'' && isDigitLetter(s_[pos_ + 2]);
            if (c == ',' && (digitsFollow || periodFollows)) {
                emit(MathCode::Comma, 1, ",");
                inNumber_ = true;
                return;
            }
            if (c == '\'' && digitsFollow) {
                emit(MathCode::Periodic, 1, "'");
                inNumber_ = true;
                return;
            }
            if (isDigitLetter(c)) {
                const std::string digits = digitRun();
                emit(MathCode::Number, digits.size(), digits);
                inNumber_ = true;
                return;
            }
        }
        if (const auto word = functionAt(s_, pos_)) {
            std::string name(*word);
            if (name.ends_with('.')) {
                name.pop_back();
            }
            emit(MathCode::Function, word->size(), name);
            return;
        }
        if (const SignMatch match = longestSign(s_, pos_); match.sign != nullptr) {
            emit(match.code, match.sign->cells.size(), std::string(match.sign->mathml));
            return;
        }
        if (c == '#' && readNumber()) {
            return;
        }
        // A letter or capital sign written before a Greek letter belongs to it; the capital
        // sign makes it a capital where the alphabet has one.
        if ((c == '_' || c == '$') && pos_ + 1 < s_.size()) {
            if (const SignMatch greek = longestSign(s_, pos_ + 1); greek.code == MathCode::Greek) {
                emit(MathCode::Greek, 1 + greek.sign->cells.size(),
                     std::string(c == '$' ? capitalOf(*greek.sign) : greek.sign->mathml));
                return;
            }
        }
        if ((c == '_' || c == '$') && pos_ + 1 < s_.size() && isLowerLetter(s_[pos_ + 1])) {
            const char letter = s_[pos_ + 1];
            emit(MathCode::Letter, 2,
                 std::string(1, c == '$' ? static_cast<char>(letter - 'a' + 'A') : letter));
            return;
        }
        if (s_.substr(pos_).starts_with("np")) {
            emit(MathCode::FractionMiddle, 2);
            return;
        }
        switch (c) {
            case '?':
                return emit(MathCode::Open, 1, "(");
            case '*':
                return emit(MathCode::Close, 1, ")");
            case '{':
                return emit(MathCode::Open, 1, "[");
            case '}':
                return emit(MathCode::Close, 1, "]");
            case '&':
                return emit(MathCode::Open, 1, "{");
            case 'y':
            case 'Y':
                return emit(MathCode::Close, 1, "}");
            case '6':
                return emit(MathCode::FractionStart, 1);
            case '4':
                return emit(MathCode::FractionEnd, 1);
            case '9':
                return emit(MathCode::RootStart, 1);
            case 'o':
                return emit(MathCode::RootEnd, 1);
            case ':':
                return emit(MathCode::Colon, 1, ":");
            case '|':
                return emit(MathCode::ExponentStart, 1);
            case '1':
                return emit(MathCode::ExponentEnd, 1);
            case '<':
                return emit(MathCode::PowerSign, 1);
            case '!':
                return emit(MathCode::IndexSign, 1);
            case '\xF2':
                return emit(MathCode::Overline, 1);
            case ',':
                return emit(MathCode::Comma, 1, ",");
            case '.':
                return emit(MathCode::Point, 1, ".");
            case '(':
                return emit(MathCode::Operator, 1, "&sdot;");  // times
            case 'k':
                return emit(MathCode::Operator, 1, ":");  // ratio
            case '%':
                return emit(MathCode::Operator, 1, "|");  // absolute value bar
            case '+':
            case '-':
            case '=':
            case '/':
            case ';':
            case '\'':
                return emit(MathCode::Operator, 1, std::string(1, c));
            default:
                return emit(MathCode::Other, 1, xmlText(std::string_view(&s_[pos_], 1)));
        }
    }

    std::string_view s_;
    std::size_t pos_ = 0;
    bool inNumber_ = false;
    std::vector<MathToken> tokens_;
};

}  // namespace

std::vector<MathToken> mathCode(std::string_view cells) {
    return Reader(cells).read();
}

std::vector<MathToken> lineCode(std::string_view line) {
    constexpr std::string_view kDelimiter = "\\\\";
    std::vector<MathToken> code;
    auto addFormula = [&](std::size_t from, std::size_t to) {
        for (MathToken& token : mathCode(line.substr(from, to - from))) {
            token.offset += from;
            code.push_back(std::move(token));
        }
    };
    std::size_t pos = 0;
    while (pos < line.size()) {
        const std::size_t open = line.find(kDelimiter, pos);
        if (open == std::string_view::npos) {
            addFormula(pos, line.size());
            break;
        }
        addFormula(pos, open);
        const std::size_t words = open + kDelimiter.size();
        const std::size_t close = line.find(kDelimiter, words);
        const std::size_t end = close == std::string_view::npos ? line.size() : close;
        MathToken region;
        region.code = MathCode::TextRegion;
        region.text = std::string(line.substr(words, end - words));
        region.offset = open;
        region.length = (close == std::string_view::npos ? end : end + kDelimiter.size()) - open;
        code.push_back(std::move(region));
        pos = open + region.length;
    }
    return code;
}

namespace {

bool takesShortExponent(const MathToken& before) {
    switch (before.code) {
        case MathCode::Number:
        case MathCode::NumericFraction:
        case MathCode::Letter:
        case MathCode::Greek:
        case MathCode::Symbol:
            return true;
        default:
            return false;
    }
}

}  // namespace

ExponentPairing pairExponents(const std::vector<MathToken>& t) {
    constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    const std::size_t n = t.size();
    ExponentPairing pairing;
    pairing.match.assign(n, kNone);
    pairing.shortEnd.assign(n, false);
    auto capable = [&](std::size_t end) { return end > 0 && takesShortExponent(t[end - 1]); };
    std::vector<std::size_t> startsAfter(n + 1, 0);
    std::vector<std::size_t> endsFrom(n + 1, 0);
    std::vector<std::size_t> capableAfter(n + 1, 0);
    for (std::size_t i = n; i-- > 0;) {
        startsAfter[i] =
            startsAfter[i + 1] + (i + 1 < n && t[i + 1].code == MathCode::ExponentStart);
        const bool end = t[i].code == MathCode::ExponentEnd;
        endsFrom[i] = endsFrom[i + 1] + end;
        capableAfter[i] = capableAfter[i + 1] +
                          (i + 1 < n && t[i + 1].code == MathCode::ExponentEnd && capable(i + 1));
    }
    std::vector<std::size_t> open;
    for (std::size_t i = 0; i < n; ++i) {
        if (t[i].code == MathCode::ExponentStart) {
            open.push_back(i);
        } else if (t[i].code == MathCode::ExponentEnd) {
            if (open.empty()) {
                pairing.shortEnd[i] = capable(i);
                continue;
            }
            const std::size_t starts = open.size() + startsAfter[i];
            const std::size_t excess = endsFrom[i] > starts ? endsFrom[i] - starts : 0;
            if (excess > 0 && capableAfter[i] < excess && capable(i)) {
                pairing.shortEnd[i] = true;
            } else {
                pairing.match[open.back()] = i;
                open.pop_back();
            }
        }
    }
    return pairing;
}

ExponentPairing pairExponents(const std::vector<MathToken>& code, std::string_view cells) {
    const std::vector<std::size_t> ends = readPowerEnds(cells);
    if (ends.empty()) {
        return pairExponents(code);
    }
    constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    ExponentPairing pairing;
    pairing.match.assign(code.size(), kNone);
    pairing.shortEnd.assign(code.size(), false);
    std::vector<std::size_t> endAt(cells.size(), kNone);  // the power end token at a cell
    for (std::size_t i = 0; i < code.size(); ++i) {
        if (code[i].code == MathCode::ExponentEnd && code[i].offset < cells.size()) {
            endAt[code[i].offset] = i;
            pairing.shortEnd[i] = ends[code[i].offset] == kShortEnd;
        }
    }
    for (std::size_t i = 0; i < code.size(); ++i) {
        const std::size_t cell = code[i].offset;
        if (code[i].code == MathCode::ExponentStart && cell < ends.size() &&
            ends[cell] < cells.size()) {
            pairing.match[i] = endAt[ends[cell]];
        }
    }
    return pairing;
}

}  // namespace notation
