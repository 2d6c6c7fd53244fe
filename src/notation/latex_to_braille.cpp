// LaTeX-to-Braille: constructs are first rewritten into marker keywords ("\6" fraction start,
// "\9" root start, "\|" exponent start, ...), then a tokenizer maps keywords and characters
// to cells through the notation tables.

#include <algorithm>
#include <vector>

#include "notation/conversion.h"
#include "notation/messages.h"
#include "notation/notation_tables.h"
#include "notation/same_formula.h"
#include "notation/text_regions.h"
#include "notation/text_scan.h"

namespace notation {
namespace {

// Written after a marker whose keyword is the start of a longer one ("\P" of "\Pi", "\O" of
// "\Omega", "\7" of "\77"), so that the text after it cannot join it: a denominator "i" must
// not become a capital pi. The at sign has no cell and the tokenizer drops it.
constexpr std::string_view kMarkerEnd = "@";

std::size_t skipBlanks(std::string_view t, std::size_t pos) {
    while (pos < t.size() && t[pos] == ' ') {
        ++pos;
    }
    return pos;
}

// One argument after a command: a brace group (content without the braces), a command word,
// or one character; empty at the end of the text. `end` receives the position after it.
std::string_view readArgument(std::string_view t, std::size_t pos, std::size_t& end) {
    if (pos >= t.size()) {
        end = t.size();
        return {};
    }
    if (t[pos] == '{') {
        const std::size_t close = closingBrace(t, pos);
        if (close == std::string_view::npos) {
            end = t.size();
            return t.substr(pos + 1);
        }
        end = close + 1;
        return t.substr(pos + 1, close - pos - 1);
    }
    if (at(t, pos, kRegionPlaceholder)) {
        end = pos + kRegionPlaceholder.size();
    } else {
        end = t[pos] == '\\' ? commandEnd(t, pos) : pos + 1;
    }
    return t.substr(pos, end - pos);
}

// The next `keyword` from `pos` on that stands as a whole command word ("\\sum" is not the
// start of "\\summa") and is not made of the last backslashes of a region placeholder
// followed by plain letters.
std::size_t findCommand(std::string_view t, std::string_view keyword, std::size_t pos) {
    while ((pos = t.find(keyword, pos)) != std::string_view::npos) {
        const bool inPlaceholder = (pos >= 4 && at(t, pos - 4, kRegionPlaceholder)) ||
                                   (pos >= 5 && at(t, pos - 5, kRegionPlaceholder));
        if (!inPlaceholder && commandAt(t, pos, keyword)) {
            return pos;
        }
        ++pos;
    }
    return pos;
}

// `t` with [from, to) replaced by `with`, in place.
void splice(std::string& t, std::size_t from, std::size_t to, std::string_view with) {
    t.replace(from, to - from, with);
}

bool onlyDigitsAndBraces(std::string_view s) {
    bool digit = false;
    for (const char c : s) {
        if (isDigit(c)) {
            digit = true;
        } else if (c != '{' && c != '}') {
            return false;
        }
    }
    return digit;
}

// A braced exponent is numeric when it holds only digits, commas and braces, each "\frac"
// counting as a digit (but for one with a zero numerator, which takes the general form).
bool numericExponent(std::string_view s) {
    bool digit = false;
    std::size_t i = 0;
    while (i < s.size()) {
        if (at(s, i, "\\frac{0")) {
            return false;
        }
        if (at(s, i, "\\frac")) {
            digit = true;
            i += 5;
        } else if (isDigit(s[i])) {
            digit = true;
            ++i;
        } else if (s[i] == ',' || s[i] == '{' || s[i] == '}') {
            ++i;
        } else {
            return false;
        }
    }
    return digit;
}

// Where the commas of a lower limit stand. Braille-to-LaTeX ends the lower limit at its first
// comma, unless the commas belong to the number that ends it ("1,5", "i=0,'3"), which it reads
// whole when the upper limit follows with a cell of its own.
enum class LowerCommas { None, InFinalNumber, Elsewhere };

LowerCommas lowerCommas(std::string_view lower) {
    // The number may stand in a subscript that closes the limit ("N_{0,5}").
    std::size_t run = lower.find_last_not_of('}') + 1;
    const std::size_t end = run;
    while (run > 0 &&
           (isDigit(lower[run - 1]) || lower[run - 1] == ',' || lower[run - 1] == '\'')) {
        --run;
    }
    while (run < end && !isDigit(lower[run])) {
        ++run;  // the number begins with a digit
    }
    const std::string_view number = lower.substr(run, end - run);
    const bool wellFormed = number.find(",,") == std::string_view::npos && !number.ends_with(',') &&
                            !number.ends_with('\'');
    // Commas inside a group are read with the group; only those outside count.
    int depth = 0;
    for (std::size_t i = 0; i < run; ++i) {
        depth += lower[i] == '{' ? 1 : (lower[i] == '}' ? -1 : 0);
        if (lower[i] == ',' && depth <= 0) {
            return LowerCommas::Elsewhere;
        }
    }
    if (!wellFormed && number.find(',') != std::string_view::npos) {
        return LowerCommas::Elsewhere;
    }
    return number.find(',') == std::string_view::npos ? LowerCommas::None
                                                      : LowerCommas::InFinalNumber;
}

// Whether a group's content ends in a digit of its own (a_{n+1}; not x^{2}, whose exponent has
// its own closing).
bool endsInDigit(std::string_view s) {
    const std::size_t last = s.find_last_not_of(' ');
    return last != std::string_view::npos && isDigit(s[last]);
}

// Whether a subscript's content is one item that the subscript sign alone carries: a letter,
// a number, or one command.
bool oneItem(std::string_view s) {
    if (s.size() <= 1) {
        return s.empty() || isAsciiLetter(s[0]) || isDigit(s[0]);
    }
    if (s[0] == '\\') {
        return isAsciiLetter(s[1]) && commandEnd(s, 0) == s.size();
    }
    if (!isDigit(s[0]) || !isDigit(s.back())) {
        return false;
    }
    for (std::size_t i = 0; i < s.size(); ++i) {
        const bool mark = s[i] == ',' || s[i] == '\'';
        if (!isDigit(s[i]) && !(mark && (isDigit(s[i + 1]) || at(s, i, ",'")))) {
            return false;
        }
    }
    return true;
}

class LatexToBraille {
public:
    // `groupExponents`: write every one-cell exponent as a general one, "|" c "1".
    LatexToBraille(int page, bool groupExponents) : page_(page), groupExponents_(groupExponents) {}

    Conversion run(std::string_view input);

    // Whether the text had a one-cell exponent ("x^n") and the cells a group beside it: the
    // one-cell exponent's closing may then read as the group's.
    bool oneCellExponentBesideGroup(const Conversion& c) const {
        return oneCellExponent_ && c.text.find('|') != std::string::npos;
    }

    // Whether a group ends in a number (x^{y2}): its closing may read as a numeric exponent's.
    bool groupEndsInNumber() const { return groupEndsInNumber_; }

private:
    bool fail(std::string_view text) {
        error_ = messages::onPage(page_, text);
        return false;
    }

    bool oneSidedLimits(std::string& t);
    bool limitReadable(std::string_view t, std::size_t open, std::size_t close);
    bool limitsPass(std::string& t, std::string_view keyword, std::string_view marker,
                    std::string_view message);
    void subscriptPass(std::string& t);
    bool powerPass(std::string& t);
    void fractionPass(std::string& t);
    void rootPass(std::string& t);
    bool logPass(std::string& t);
    void overlinePass(std::string& t);
    bool tokenize(std::string_view t, std::string& out);

    int page_;
    bool groupExponents_ = false;
    bool oneCellExponent_ = false;
    bool groupEndsInNumber_ = false;
    std::string error_;
};

// In "\lim_{x\to 0^+}" the side of the limit loses its "^", so that it is not an exponent.
bool LatexToBraille::oneSidedLimits(std::string& t) {
    std::size_t pos = 0;
    while ((pos = findCommand(t, "\\lim_{", pos)) != std::string::npos) {
        const std::size_t open = pos + 5;
        const std::size_t closing = closingBrace(t, open);
        const std::size_t close = closing == std::string::npos ? t.size() : closing;
        std::string sub = t.substr(open, close - open);
        sub = replaceAll(sub, "^{+}", "+");
        sub = replaceAll(sub, "^{-}", "-");
        sub = replaceAll(sub, "^+", "+");
        sub = replaceAll(sub, "^-", "-");
        splice(t, open, close, sub);
        if (closing != std::string::npos && !limitReadable(t, open, open + sub.size())) {
            return false;
        }
        pos = open;
    }
    return true;
}

// Sums, products and integrals: "\sum_{l}^{u}(" becomes the marker, l ",", u ":" and "(".
bool LatexToBraille::limitsPass(std::string& t, std::string_view keyword, std::string_view marker,
                                std::string_view message) {
    std::size_t pos = 0;
    while ((pos = findCommand(t, keyword, pos)) != std::string::npos) {
        std::size_t q = skipBlanks(t, pos + keyword.size());
        if (at(t, q, "\\limits")) {
            q = skipBlanks(t, q + 7);
        }
        std::string lower;
        std::string upper;
        bool hasLower = false;
        bool hasUpper = false;
        if (charAt(t, q) == '_') {
            std::size_t end = 0;
            lower = readArgument(t, q + 1, end);
            hasLower = true;
            q = skipBlanks(t, end);
        }
        if (charAt(t, q) == '^') {
            std::size_t end = 0;
            upper = readArgument(t, q + 1, end);
            hasUpper = true;
            q = skipBlanks(t, end);
        }
        const LowerCommas commas = lowerCommas(lower);
        std::string limits;
        if (hasLower) {
            limits = lower + ",";
        }
        if (hasUpper) {
            const bool decimalLower = commas == LowerCommas::InFinalNumber;
            if (!hasLower && upper.find(',') != std::string::npos) {
                // An empty lower limit first: the upper's decimal comma must not read as the
                // comma between the limits.
                limits = ",";
            } else if (decimalLower && isDigit(charAt(trimBlanks(upper), 0))) {
                // After a decimal lower limit the upper keeps its own number sign: read on
                // as the same number, it would take the lower's last digits.
                limits += "{}";
            }
            limits += upper + ":";
        }
        if (charAt(t, q) != '(') {
            return fail(messages::twoLines(message, messages::kOperandAdvice));
        }
        if (commas == LowerCommas::Elsewhere) {
            return fail(messages::twoLines(message, messages::kLowerLimitAdvice));
        }
        splice(t, pos, q, std::string(marker) + std::string(kMarkerEnd) + limits);
        pos += marker.size();
    }
    return true;
}

// In x_1,5 the digit alone is the subscript: braced, its number ends with it instead of going on
// over the comma (x_{1,5}).
void digitSubscripts(std::string& t) {
    std::size_t pos = 0;
    while ((pos = t.find('_', pos)) != std::string::npos) {
        ++pos;
        if (isDigit(charAt(t, pos)) && (charAt(t, pos + 1) == ',' || charAt(t, pos + 1) == '\'')) {
            t.insert(pos + 1, 1, '}');
            t.insert(pos, 1, '{');
        }
    }
}

// A subscript of more than one item (a_{n+1}, a_{2n}) is written as a group, "!|" index "1": the
// subscript sign alone carries one item, and a_{n}+1 would read the same.
void LatexToBraille::subscriptPass(std::string& t) {
    std::size_t pos = 0;
    while ((pos = t.find('_', pos)) != std::string::npos) {
        const std::string_view before = std::string_view(t).substr(0, pos);
        const std::size_t open = skipBlanks(t, pos + 1);
        const std::size_t close =
            charAt(t, open) == '{' ? closingBrace(t, open) : std::string::npos;
        if (close == std::string::npos || before.ends_with("\\log") || before.ends_with("\\lim")) {
            ++pos;
            continue;
        }
        const std::string content(
            trimBlanks(std::string_view(t).substr(open + 1, close - open - 1)));
        if (oneItem(content)) {
            pos = close;
            continue;
        }
        groupEndsInNumber_ = groupEndsInNumber_ || endsInDigit(content);
        splice(t, pos + 1, close + 1, "\\|" + content + "\\1");
        ++pos;  // subscripts inside come next
    }
}

bool LatexToBraille::powerPass(std::string& t) {
    std::size_t pos = 0;
    while ((pos = t.find('^', pos)) != std::string::npos) {
        if (pos > 0 && t[pos - 1] == ',') {
            ++pos;
            continue;
        }
        const std::size_t q = skipBlanks(t, pos + 1);
        if (q >= t.size()) {
            t.erase(pos);  // a "^" with nothing after it has no exponent
            break;
        }
        if (t[q] == '{') {
            std::size_t end = 0;
            const std::string content(readArgument(t, q, end));
            const bool numeric = numericExponent(content);
            groupEndsInNumber_ = groupEndsInNumber_ || (!numeric && endsInDigit(content));
            splice(t, pos, end, (numeric ? "#" : "\\|") + content + "\\1");
            pos += numeric ? 1 : 2;  // the content may hold further powers
        } else if (isDigit(t[q])) {
            std::size_t end = q;
            while (end < t.size() && isDigit(t[end])) {
                ++end;
            }
            const std::string with = "#" + t.substr(q, end - q) + "\\1";
            splice(t, pos, end, with);
            pos += with.size();
        } else {
            std::size_t end = 0;
            const std::string_view arg = readArgument(t, q, end);
            if (arg == "\\frac") {
                return fail(messages::kComplexPower);
            }
            if (arg.size() == 1 && isLowerLetter(charAt(t, end))) {
                return fail(messages::kComplexPower);
            }
            oneCellExponent_ = true;
            const std::string with = (groupExponents_ ? "\\|" : "@") + std::string(arg) + "\\1";
            splice(t, pos, end, with);
            pos += with.size();
        }
    }
    return true;
}

void LatexToBraille::fractionPass(std::string& t) {
    std::size_t pos = 0;
    while ((pos = findCommand(t, "\\frac", pos)) != std::string::npos) {
        std::size_t endA = 0;
        const std::string a(readArgument(t, skipBlanks(t, pos + 5), endA));
        std::size_t endB = 0;
        const std::string b(readArgument(t, skipBlanks(t, endA), endB));
        // A numerator starting with zero takes the general form: its lower digit ")" after
        // the number sign would read as a percent sign or be refused.
        const std::size_t first = a.find_first_not_of('{');
        const bool zeroNumerator = first != std::string::npos && a[first] == '0';
        if (onlyDigitsAndBraces(a) && onlyDigitsAndBraces(b) && !zeroNumerator) {
            std::string with = "#";
            for (const char c : a) {
                if (isDigit(c)) {
                    with += lowerDigitCell(c);
                }
            }
            with += '{' + b + '}';
            splice(t, pos, endB, with);
            pos += with.size();
        } else {
            splice(t, pos, endB, "\\6" + a + "\\N\\P" + std::string(kMarkerEnd) + b + "\\4");
            pos += 2;
        }
    }
    // Most lines hold neither: no copy is made for them.
    if (t.find("##") != std::string::npos) {
        t = replaceAll(t, "##", "#");
    }
    if (t.find("#{#") != std::string::npos) {
        t = replaceAll(t, "#{#", "#{");
    }
}

void LatexToBraille::rootPass(std::string& t) {
    std::size_t pos = 0;
    while ((pos = findCommand(t, "\\sqrt", pos)) != std::string::npos) {
        std::size_t q = pos + 5;
        if (charAt(t, q) == ' ') {
            t.erase(q, 1);
        }
        std::string with = "\\9";
        std::size_t end = 0;
        if (charAt(t, q) == '[') {
            std::size_t close = t.find(']', q + 1);
            if (close == std::string::npos) {
                close = t.size();
            }
            with.append(t, q + 1, close - q - 1);
            with += ':';
            with.append(readArgument(t, std::min(close + 1, t.size()), end));
        } else {
            with.append(readArgument(t, q, end));
        }
        with += "\\O";
        with += kMarkerEnd;
        splice(t, pos, end, with);
        pos += 2;
    }
}

bool LatexToBraille::logPass(std::string& t) {
    std::size_t pos = 0;
    while ((pos = findCommand(t, "\\log_", pos)) != std::string::npos) {
        const std::size_t open = pos + 5;
        const std::size_t close =
            charAt(t, open) == '{' ? closingBrace(t, open) : std::string::npos;
        if (close == std::string::npos || close - open >= 10) {
            return fail(messages::twoLines(messages::kLogLatex, messages::kLogAdvice));
        }
        // The base keeps its opening brace, which gives no cell; ":" ends it.
        splice(t, pos, close + 1, "\\log" + t.substr(open, close - open) + ":");
        pos += 4;
    }
    return true;
}

void LatexToBraille::overlinePass(std::string& t) {
    std::size_t pos = 0;
    while ((pos = findCommand(t, "\\overline", pos)) != std::string::npos) {
        std::size_t end = 0;
        const std::string content(readArgument(t, pos + 9, end));
        splice(t, pos, end, "\\over" + std::string(kMarkerEnd) + content + ":");
        pos += 5;
    }
}

// A digit, or a decimal comma or periodic mark that a running number carries on.
bool numberCharacter(char c) {
    return isDigit(c) || c == ',' || c == '\'';
}

// The rows of the keyword and set tables grouped by the character after their backslash, in
// table order, so that the first row standing at a position is found without reading all.
class KeywordIndex {
public:
    KeywordIndex() {
        for (const NotationRow& row : kKeywordTable) {
            add(keywords_, row);
        }
        for (const NotationRow& row : kSetTable) {
            add(sets_, row);
        }
    }

    // The first keyword row, else the first set row, standing at `pos` (a backslash). A
    // keyword written with a blank at its end is a command word and the blank that ends it;
    // as in TeX, any other character that is not a letter ends it too ("\\to\\infty"), and
    // so does the end of the text (which was trimmed).
    const NotationRow* find(std::string_view t, std::size_t pos, std::size_t& length) const {
        const auto key = static_cast<unsigned char>(charAt(t, pos + 1));
        if (const NotationRow* row = first(keywords_[key], t, pos, length)) {
            return row;
        }
        return first(sets_[key], t, pos, length);
    }

private:
    struct Keyword {
        const NotationRow* row;
        bool commandWord;  // ends in a command word: no letter may follow
    };
    using Buckets = std::array<std::vector<Keyword>, 256>;

    static void add(Buckets& buckets, const NotationRow& row) {
        if (row.latex.size() >= 2 && row.latex[0] == '\\') {
            std::string_view word = row.latex;
            if (word.back() == ' ') {
                word.remove_suffix(1);
            }
            buckets[static_cast<unsigned char>(row.latex[1])].push_back(
                {&row, endsInCommandWord(word)});
        }
    }

    static const NotationRow* first(const std::vector<Keyword>& rows, std::string_view t,
                                    std::size_t pos, std::size_t& length) {
        const char third = charAt(t, pos + 2);
        for (const Keyword& keyword : rows) {
            std::string_view k = keyword.row->latex;
            const bool blankEnd = k.back() == ' ';
            // The bucket matched the first two characters; most rows differ at the third.
            if (k.size() > 2 && k[2] != third && (k.size() > 3 || !blankEnd)) {
                continue;
            }
            if (!at(t, pos, k)) {
                if (!blankEnd) {
                    continue;
                }
                k.remove_suffix(1);
                if (!at(t, pos, k)) {
                    continue;
                }
            } else if (blankEnd) {
                length = k.size();  // its own blank ends the command
                return keyword.row;
            }
            if (keyword.commandWord && isAsciiLetter(charAt(t, pos + k.size()))) {
                continue;
            }
            length = k.size();
            return keyword.row;
        }
        return nullptr;
    }

    Buckets keywords_;
    Buckets sets_;
};

const KeywordIndex& keywordIndex() {
    static const KeywordIndex index;
    return index;
}

// Whether a value of a limit stands alone: one letter, number or command.
bool limitItem(std::string_view s) {
    if (s.size() == 1) {
        return isAsciiLetter(s[0]) || isDigit(s[0]);
    }
    return oneItem(s) && !s.empty();
}

// Braille writes a limit as "lim." variable ":o" value with no cell that ends the value, which
// Braille-to-LaTeX reads as one item, a subscripted item (x_0) or a number times a symbol
// (2\pi), with the side of a one-sided limit after it. A limit that does not read so is
// refused: what follows it would be taken into its value.
bool LatexToBraille::limitReadable(std::string_view t, std::size_t open, std::size_t close) {
    const std::string_view content = t.substr(open + 1, close - open - 1);
    std::size_t arrow = content.find("\\to");
    while (arrow != std::string_view::npos && !commandAt(content, arrow, "\\to")) {
        arrow = content.find("\\to", arrow + 1);
    }
    if (arrow == std::string_view::npos) {
        return true;
    }
    const std::string_view variable = trimBlanks(content.substr(0, arrow));
    std::string_view value = trimBlanks(content.substr(arrow + 3));
    if (!value.empty() && (value[0] == '+' || value[0] == '-')) {
        value = trimBlanks(value.substr(1));
    }
    const bool side = value.ends_with('+') || value.ends_with('-');
    if (side) {
        value = trimBlanks(value.substr(0, value.size() - 1));
    }
    const std::size_t bar = value.find('_');
    const std::size_t symbol = value.find('\\');
    const bool numberTimesSymbol = symbol != std::string_view::npos && symbol > 0 &&
                                   isDigit(value[0]) && oneItem(value.substr(0, symbol)) &&
                                   limitItem(value.substr(symbol));
    const bool valueReads = limitItem(value) || numberTimesSymbol ||
                            (bar != std::string_view::npos && limitItem(value.substr(0, bar)) &&
                             limitItem(trimBlanks(value.substr(bar + 1))));
    if (!limitItem(variable) || isDigit(variable[0]) || !valueReads) {
        return fail(messages::twoLines(messages::kLimitLatex, messages::kLimitValueAdvice));
    }
    // What follows must not read as part of the value: a sign as the side of the limit, a
    // symbol after a number as its factor.
    const char next = charAt(t, close + 1);
    std::size_t length = 0;
    const bool greek = next == '\\' && [&] {
        const NotationRow* row = keywordIndex().find(t, close + 1, length);
        return row != nullptr && row->braille.starts_with('>');
    }();
    if (!side && ((next == '+' || next == '-') || (greek && isDigit(value[0]) && oneItem(value)))) {
        return fail(messages::twoLines(messages::kLimitLatex, messages::kLimitOperandAdvice));
    }
    return true;
}

bool LatexToBraille::tokenize(std::string_view t, std::string& out) {
    out.reserve(t.size() * 2);
    // A number runs from its number sign through digits, decimal commas and periodic marks;
    // a digit inside it is written without a further number sign. A comma or an apostrophe
    // after anything else (a list "a,2", a derivative "f'2") does not start one, and the
    // brace that closes a group (the denominator of a numeric fraction, a subscript) ends it.
    bool number = false;
    std::size_t i = 0;
    while (i < t.size()) {
        if (t[i] == '\\') {
            if (at(t, i, kRegionPlaceholder)) {
                out.append(kRegionPlaceholder);
                i += kRegionPlaceholder.size();
                number = false;
                continue;
            }
            std::size_t length = 0;
            const NotationRow* row = keywordIndex().find(t, i, length);
            if (row == nullptr) {
                return fail(messages::kUnknownFunction);
            }
            out.append(row->braille);
            i += length;
            number = false;
            continue;
        }
        if (at(t, i, "<>")) {
            out += '3';
            i += 2;
            number = false;
            continue;
        }
        if (t[i] == '#') {
            // A number sign carries the lower digits of a numeric numerator after it.
            out += '#';
            ++i;
            while (i < t.size() &&
                   std::string_view("()*+,/:;=?").find(t[i]) != std::string_view::npos) {
                out += t[i];
                ++i;
            }
            number = true;
            continue;
        }
        const char c = t[i];
        ++i;
        if (c == '}') {
            number = false;
            continue;
        }
        const NotationRow* row = characterRow(c);
        if (row == nullptr) {
            continue;
        }
        const bool digitClass = numberCharacter(c);
        if (number && digitClass && row->braille.size() == 2) {
            out += row->braille[1];  // the number sign stands once per number
        } else {
            out.append(row->braille);
        }
        number = digitClass && (number || isDigit(c));
    }
    return true;
}

Conversion LatexToBraille::run(std::string_view input) {
    Conversion result;
    const std::string_view trimmed = trimBlanks(input);
    if (trimmed.empty()) {
        return result;
    }
    TakenRegions taken = takeOutRegions(trimmed);
    if (taken.countedLength > kMaxFormulaLength) {
        result.error = messages::onPage(page_, messages::kTooLong);
        return result;
    }
    if (taken.unclosed) {
        result.error = messages::onPage(page_, messages::kUnclosedRegionLatex);
        return result;
    }
    std::string t = std::move(taken.text);
    // The passes of commands look for their keyword; a line without a backslash (a good part
    // of school mathematics) holds none, and no pass before them inserts one they look for.
    const bool commands = t.find('\\') != std::string::npos;
    if (commands && !oneSidedLimits(t)) {
        result.error = error_;
        return result;
    }
    digitSubscripts(t);
    const bool constructs =
        !commands || (limitsPass(t, "\\sum", "\\susu", messages::kSumLatex) &&
                      limitsPass(t, "\\prod", "\\propro", messages::kProdLatex) &&
                      limitsPass(t, "\\int", "\\7", messages::kIntLatex) &&
                      limitsPass(t, "\\iint", "\\77", messages::kIntLatex) &&
                      limitsPass(t, "\\iiint", "\\777", messages::kIntLatex));
    if (!constructs || !powerPass(t)) {
        result.error = error_;
        return result;
    }
    fractionPass(t);
    if (commands) {
        rootPass(t);
        if (!logPass(t)) {
            result.error = error_;
            return result;
        }
    }
    subscriptPass(t);
    if (commands) {
        overlinePass(t);
    }
    std::string out;
    if (!tokenize(t, out)) {
        result.error = error_;
        return result;
    }
    if (out.find("111") != std::string::npos) {
        // Three closings in a row: Braille-to-LaTeX could not tell which power each ends.
        result.error = messages::onPage(page_, messages::kPowerOfPower);
        return result;
    }
    for (char& c : out) {
        if (c == '^') {
            c = '_';
        } else if (c == '\xE0') {
            c = '{';
        } else if (c == '\xF9') {
            c = '}';
        }
    }
    if (out.find("log ") != std::string::npos) {
        out = replaceAll(out, "log ", "log.");
    }
    if (!taken.regions.empty()) {
        out = putBackRegions(out, taken.regions);
    }
    const std::string_view trimmedOut = trimBlanks(out);
    result.text = trimmedOut.size() == out.size() ? std::move(out) : std::string(trimmedOut);
    return result;
}

}  // namespace

Conversion convertLatexToBraille(std::string_view latex, int page) {
    LatexToBraille plain(page, false);
    Conversion c = plain.run(latex);
    const bool oneCell = plain.oneCellExponentBesideGroup(c);
    if (!c.ok() || (!oneCell && !plain.groupEndsInNumber())) {
        return c;
    }
    // The closing of a one-cell exponent (x^n, "_x_n1") looks like the closing of a group: when
    // the cells would read back as another formula, the one-cell exponents are written as
    // general ones, and if even that reads otherwise the student is asked for braces.
    const auto readsBack = [&](const Conversion& cells) {
        const Conversion back = convertBrailleToLatex(cells.text, page);
        return back.ok() && sameFormula(back.text, latex);
    };
    if (readsBack(c)) {
        return c;
    }
    if (oneCell) {
        Conversion grouped = LatexToBraille(page, true).run(latex);
        if (grouped.ok() && readsBack(grouped)) {
            return grouped;
        }
    }
    // A group that ends in a number reads otherwise: brackets around its content end it.
    Conversion refused;
    refused.error =
        messages::onPage(page, oneCell ? messages::kComplexPower : messages::kPowerOfPower);
    return refused;
}

std::string latexToBraille(std::string_view latex, int page, FormulaErrorReport& report) {
    Conversion c = convertLatexToBraille(latex, page);
    if (!c.ok()) {
        report.report(c.error);
        return {};
    }
    return std::move(c.text);
}

}  // namespace notation
