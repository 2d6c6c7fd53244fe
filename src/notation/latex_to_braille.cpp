// LaTeX-to-Braille: constructs are first rewritten into marker keywords ("\6" fraction start,
// "\9" root start, "\|" exponent start, ...), then a tokenizer maps keywords and characters
// to cells through the notation tables.

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <optional>
#include <vector>

#include "notation/bracket_balance.h"
#include "notation/braille_numbers.h"
#include "notation/character_signs.h"
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
static_assert(kMarkerEnd == "@", "the passes that write in place spell the markers with it");

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
        const char before = pos > 0 ? t[pos - 1] : '\0';  // '-' or '\\' in a placeholder
        const bool inPlaceholder = (before == '-' || before == '\\') &&
                                   ((pos >= 4 && at(t, pos - 4, kRegionPlaceholder)) ||
                                    (pos >= 5 && at(t, pos - 5, kRegionPlaceholder)));
        if (!inPlaceholder && commandAt(t, pos, keyword)) {
            return pos;
        }
        ++pos;
    }
    return pos;
}

// Whether an argument of a command can start at `pos`: not past the end of its line, not at
// the brace that closes the group around the command, nor at a power or index sign.
bool argumentAt(std::string_view t, std::size_t pos) {
    const char c = charAt(t, pos);
    return pos < t.size() && c != '}' && c != '^' && c != '_' && c != '\r' && c != '\n';
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

// A braced exponent is numeric when it holds only digits, commas and braces, each numeric
// fraction counting as a digit: digits over digits, but for a zero numerator, which takes the
// general form as any other fraction does.
bool numericExponent(std::string_view s) {
    bool digit = false;
    std::size_t i = 0;
    while (i < s.size()) {
        if (at(s, i, "\\frac")) {
            std::size_t endA = 0;
            const std::string_view a = readArgument(s, skipBlanks(s, i + 5), endA);
            std::size_t endB = 0;
            const std::string_view b = readArgument(s, skipBlanks(s, endA), endB);
            const std::size_t first = a.find_first_not_of('{');
            if (!onlyDigitsAndBraces(a) || !onlyDigitsAndBraces(b) ||
                (first != std::string_view::npos && a[first] == '0')) {
                return false;
            }
            digit = true;
            i = endB;
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

// The keywords of the command passes, as a set of flags.
enum Command : unsigned {
    kLimit = 1U << 0,  // "\\lim_{"
    kSum = 1U << 1,
    kProd = 1U << 2,
    kInt = 1U << 3,
    kIint = 1U << 4,
    kIiint = 1U << 5,
    kFrac = 1U << 6,
    kSqrt = 1U << 7,
    kLog = 1U << 8,  // "\\log_"
    kOverline = 1U << 9,
    kArrow = 1U << 10,        // "\\to"
    kTypedMarker = 1U << 11,  // not a keyword: a marker of the passes typed as a command
};

// The keywords of the passes, each looked for as plain text, whatever follows it.
constexpr std::pair<std::string_view, Command> kPassKeywords[] = {
    {"\\lim_{", kLimit}, {"\\sum", kSum},           {"\\prod", kProd}, {"\\int", kInt},
    {"\\iint", kIint},   {"\\iiint", kIiint},       {"\\frac", kFrac}, {"\\sqrt", kSqrt},
    {"\\log_", kLog},    {"\\overline", kOverline}, {"\\to", kArrow},
};

// The markers the construct passes write are no commands of the notation: typed in the text,
// their cells would be a construct's pieces without the construct.
constexpr std::string_view kPassMarkers[] = {
    "\\9", "\\O", "\\6", "\\N", "\\P", "\\4", "\\|", "\\1", "\\7", "\\susu", "\\propro",
};

// Which keywords and markers may start so, by the character after the backslash: bit k of
// `keywords` for kPassKeywords[k], of `markers` for kPassMarkers[k].
struct Starts {
    unsigned short keywords = 0;
    unsigned short markers = 0;
};
constexpr std::array<Starts, 256> kStarts = [] {
    std::array<Starts, 256> starts{};
    for (std::size_t k = 0; k < std::size(kPassKeywords); ++k) {
        starts[static_cast<unsigned char>(kPassKeywords[k].first[1])].keywords |= 1U << k;
    }
    for (std::size_t k = 0; k < std::size(kPassMarkers); ++k) {
        starts[static_cast<unsigned char>(kPassMarkers[k][1])].markers |= 1U << k;
    }
    return starts;
}();

// The keywords that stand at the backslash at `pos`, as the passes would find them.
unsigned commandsAt(std::string_view t, std::size_t pos, unsigned candidates) {
    unsigned found = 0;
    for (; candidates != 0; candidates &= candidates - 1) {
        const auto& [keyword, command] = kPassKeywords[std::countr_zero(candidates)];
        if (at(t, pos, keyword)) {
            found |= command;
        }
    }
    return found;
}

// Whether a marker stands at the backslash at `pos` as a command of its own.
bool markerAt(std::string_view t, std::size_t pos, unsigned candidates) {
    for (; candidates != 0; candidates &= candidates - 1) {
        if (commandAt(t, pos, kPassMarkers[std::countr_zero(candidates)])) {
            return true;
        }
    }
    return false;
}

// What the reading of the characters notes at a backslash of the mathematics: the keywords of
// the passes standing there, and a marker typed as a command. No pass writes a keyword, a power
// sign or a subscript sign, so a pass whose start the text lacks has nothing to do.
unsigned passCommandsAt(std::string_view text, std::size_t backslash) {
    const Starts& starts = kStarts[static_cast<unsigned char>(charAt(text, backslash + 1))];
    if ((starts.keywords | starts.markers) == 0) {
        return 0;
    }
    return commandsAt(text, backslash, starts.keywords) |
           (markerAt(text, backslash, starts.markers) ? kTypedMarker : 0U);
}

// The text the passes rewrite and the pieces they write, kept from one conversion of the thread
// to the next: a formula then costs no allocation for them. A conversion never starts another
// while it uses them.
struct Scratch {
    std::string text;
    std::string with;
    std::string cells;  // the tokenizer's output, of which only the written part counts
};

Scratch& scratch() {
    static thread_local Scratch s;
    return s;
}

class LatexToBraille {
public:
    // `groupExponents`: write every one-cell exponent as a general one, "|" c "1".
    LatexToBraille(int page, bool groupExponents) : page_(page), groupExponents_(groupExponents) {}

    // `marks`: those of the reading of `input` (or of the page it is).
    Conversion run(std::string_view input, const TextMarks& marks);

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
    bool limitsPass(std::string& t, std::size_t count, std::string_view keyword,
                    std::string_view marker, std::string_view message);
    bool arrowsInLimits(std::string_view t);
    bool indicesPresent(std::string_view t);
    bool subscriptPass(std::string& t);
    bool powerPass(std::string& t);
    bool fractionPass(std::string& t, std::size_t count);
    bool rootPass(std::string& t, std::size_t count);
    bool logPass(std::string& t);
    bool overlinePass(std::string& t);
    // The cells of `t`, written into `buffer`; empty on failure.
    std::optional<std::string_view> tokenize(std::string_view t, std::string& buffer);

    int page_;
    bool groupExponents_ = false;
    bool oneCellExponent_ = false;
    bool groupEndsInNumber_ = false;
    std::string error_;
    std::string& with_ = scratch().with;  // what a pass writes in place of a construct
};

// In "\lim_{x\to 0^+}" the side of the limit loses its "^", so that it is not an exponent.
bool LatexToBraille::oneSidedLimits(std::string& t) {
    std::size_t pos = 0;
    while ((pos = findCommand(t, "\\lim_{", pos)) != std::string::npos) {
        const std::size_t open = pos + 5;
        const std::size_t closing = closingBrace(t, open);
        const std::size_t close = closing == std::string::npos ? t.size() : closing;
        std::size_t subEnd = close;
        // Most limits have no side: their subscript stays as it is.
        if (std::string_view(t).substr(open, close - open).find('^') != std::string_view::npos) {
            std::string sub = t.substr(open, close - open);
            sub = replaceAll(sub, "^{+}", "+");
            sub = replaceAll(sub, "^{-}", "-");
            sub = replaceAll(sub, "^+", "+");
            sub = replaceAll(sub, "^-", "-");
            splice(t, open, close, sub);
            subEnd = open + sub.size();
        }
        if (closing != std::string::npos && !limitReadable(t, open, subEnd)) {
            return false;
        }
        pos = open;
    }
    return true;
}

// Braille writes the arrow of a limit and an implication alike and reads the arrow as "\to"
// only within a limit's subscript: an arrow anywhere else is refused rather than come back as
// an implication.
bool LatexToBraille::arrowsInLimits(std::string_view t) {
    std::size_t arrow = findCommand(t, "\\to", 0);
    if (arrow == std::string_view::npos) {
        return true;
    }
    std::vector<std::pair<std::size_t, std::size_t>> limits;  // subscripts, braces included
    for (std::size_t pos = findCommand(t, "\\lim_{", 0); pos < t.size();
         pos = findCommand(t, "\\lim_{", pos + 1)) {
        const std::size_t close = closingBrace(t, pos + 5);
        limits.emplace_back(pos + 5, close == std::string_view::npos ? t.size() : close);
    }
    for (; arrow != std::string_view::npos; arrow = findCommand(t, "\\to", arrow + 1)) {
        const bool inLimit = std::any_of(limits.begin(), limits.end(), [&](const auto& l) {
            return arrow > l.first && arrow < l.second;
        });
        if (!inLimit) {
            return fail(messages::twoLines(messages::kArrowLatex, messages::kArrowAdvice));
        }
    }
    return true;
}

// Sums, products and integrals: "\sum_{l}^{u}(" becomes the marker, l ",", u ":" and "(".
bool LatexToBraille::limitsPass(std::string& t, std::size_t count, std::string_view keyword,
                                std::string_view marker, std::string_view message) {
    std::size_t pos = 0;
    for (; count > 0 && (pos = findCommand(t, keyword, pos)) != std::string::npos; --count) {
        std::size_t q = skipBlanks(t, pos + keyword.size());
        if (at(t, q, "\\limits")) {
            q = skipBlanks(t, q + 7);
        }
        std::string_view lower;  // both in `t`, which stays as it is until the splice
        std::string_view upper;
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
        if (charAt(t, q) != '(') {
            return fail(messages::twoLines(message, messages::kOperandAdvice));
        }
        if (commas == LowerCommas::Elsewhere) {
            return fail(messages::twoLines(message, messages::kLowerLimitAdvice));
        }
        std::string& with = with_;
        with.assign(marker);
        with += kMarkerEnd;
        if (hasLower) {
            with += lower;
            with += ',';
        }
        if (hasUpper) {
            const bool decimalLower = commas == LowerCommas::InFinalNumber;
            if (!hasLower && upper.find(',') != std::string_view::npos) {
                // An empty lower limit first: the upper's decimal comma must not read as the
                // comma between the limits.
                with += ',';
            } else if (decimalLower && isDigit(charAt(trimBlanks(upper), 0))) {
                // After a decimal lower limit the upper keeps its own number sign: read on
                // as the same number, it would take the lower's last digits.
                with += "{}";
            }
            with += upper;
            with += ':';
        }
        splice(t, pos, q, with);
        pos += marker.size();
    }
    return true;
}

// Every subscript sign needs its index (a logarithm's base has a message of its own, a limit's
// subscript is read with the limit, and the limits of sums and integrals are taken out by
// now).
bool LatexToBraille::indicesPresent(std::string_view t) {
    for (std::size_t pos = t.find('_'); pos != std::string_view::npos; pos = t.find('_', pos + 1)) {
        const std::string_view before = t.substr(0, pos);
        if (before.ends_with("\\log") || before.ends_with("\\lim")) {
            continue;
        }
        const std::size_t first = skipBlanks(t, pos + 1);
        if (!argumentAt(t, first) || at(t, first, "{}")) {
            return fail(messages::kIndexMissing);
        }
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
// subscript sign alone carries one item, and a_{n}+1 would read the same. A subscript sign
// with no index after it is refused; blanks between the two go, as TeX ignores them.
bool LatexToBraille::subscriptPass(std::string& t) {
    std::size_t pos = 0;
    while ((pos = t.find('_', pos)) != std::string::npos) {
        const std::string_view before = std::string_view(t).substr(0, pos);
        if (before.ends_with("\\log") || before.ends_with("\\lim")) {
            ++pos;
            continue;
        }
        t.erase(pos + 1, skipBlanks(t, pos + 1) - pos - 1);
        const std::size_t open = pos + 1;
        const std::size_t close =
            charAt(t, open) == '{' ? closingBrace(t, open) : std::string::npos;
        if (close == std::string::npos) {
            ++pos;
            continue;
        }
        const std::string_view content =
            trimBlanks(std::string_view(t).substr(open + 1, close - open - 1));
        if (oneItem(content)) {
            pos = close;
            continue;
        }
        groupEndsInNumber_ = groupEndsInNumber_ || endsInDigit(content);
        std::string& with = with_;
        with.assign("\\|");
        with += content;
        with += "\\1";
        splice(t, pos + 1, close + 1, with);
        ++pos;  // subscripts inside come next
    }
    return true;
}

bool LatexToBraille::powerPass(std::string& t) {
    std::string& with = with_;
    std::size_t pos = 0;
    while ((pos = t.find('^', pos)) != std::string::npos) {
        if (pos > 0 && t[pos - 1] == ',') {
            ++pos;
            continue;
        }
        const std::size_t q = skipBlanks(t, pos + 1);
        if (q >= t.size() || t[q] == '^' || t[q] == '_' || t[q] == '}' || t[q] == '\r' ||
            t[q] == '\n') {
            return fail(messages::kComplexPower);  // a power sign with no exponent after it
        }
        if (t[q] == '{') {
            std::size_t end = 0;
            const std::string_view content = readArgument(t, q, end);
            const bool numeric = numericExponent(content);
            groupEndsInNumber_ = groupEndsInNumber_ || (!numeric && endsInDigit(content));
            if (numeric && end - pos == content.size() + 3) {
                // "^{" c "}" and "#" c "\\1" have the same length: the content moves in place.
                char* const p = t.data() + pos;
                std::memmove(p + 1, content.data(), content.size());
                p[0] = '#';
                p[content.size() + 1] = '\\';
                p[content.size() + 2] = '1';
            } else {
                with.assign(numeric ? "#" : "\\|");
                with += content;
                with += "\\1";
                splice(t, pos, end, with);
            }
            pos += numeric ? 1 : 2;  // the content may hold further powers
        } else if (isDigit(t[q])) {
            std::size_t end = q;
            while (end < t.size() && isDigit(t[end])) {
                ++end;
            }
            with.assign("#");
            with.append(t, q, end - q);
            with += "\\1";
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
            with.assign(groupExponents_ ? "\\|" : "@");
            with += arg;
            with += "\\1";
            splice(t, pos, end, with);
            pos += with.size();
        }
    }
    return true;
}

bool LatexToBraille::fractionPass(std::string& t, std::size_t count) {
    std::string& with = with_;
    std::size_t pos = 0;
    for (; count > 0 && (pos = findCommand(t, "\\frac", pos)) != std::string::npos; --count) {
        // The two arguments are read in place; `with` is made before the text changes.
        const std::size_t startA = skipBlanks(t, pos + 5);
        if (!argumentAt(t, startA)) {
            return fail(messages::kFractionError);
        }
        std::size_t endA = 0;
        const std::string_view a = readArgument(t, startA, endA);
        const std::size_t startB = skipBlanks(t, endA);
        if (!argumentAt(t, startB)) {
            return fail(messages::kFractionError);
        }
        std::size_t endB = 0;
        const std::string_view b = readArgument(t, startB, endB);
        // A numerator starting with zero takes the general form: its lower digit ")" after
        // the number sign would read as a percent sign or be refused.
        const std::size_t first = a.find_first_not_of('{');
        const bool zeroNumerator = first != std::string_view::npos && a[first] == '0';
        with.clear();
        if (onlyDigitsAndBraces(a) && onlyDigitsAndBraces(b) && !zeroNumerator) {
            with += '#';
            for (const char c : a) {
                if (isDigit(c)) {
                    with += lowerDigitCell(c);
                }
            }
            with += '{';
            with += b;
            with += '}';
            splice(t, pos, endB, with);
            pos += with.size();
        } else if (endB - pos == a.size() + b.size() + 9) {
            // "\\frac{a}{b}" and "\\6" a "\\N\\P@" b "\\4" have the same length, and each
            // piece moves left: written in place, from the left.
            char* const p = t.data() + pos;
            const std::size_t sizeA = a.size();
            const std::size_t sizeB = b.size();
            std::memmove(p + 2, a.data(), sizeA);
            std::memcpy(p + 2 + sizeA, "\\N\\P@", 5);
            std::memmove(p + 7 + sizeA, b.data(), sizeB);
            std::memcpy(p, "\\6", 2);
            std::memcpy(p + 7 + sizeA + sizeB, "\\4", 2);
            pos += 2;
        } else {
            with += "\\6";
            with += a;
            with += "\\N\\P";
            with += kMarkerEnd;
            with += b;
            with += "\\4";
            splice(t, pos, endB, with);
            pos += 2;
        }
    }
    return true;
}

// A number sign written right after another, or after the one of a numeric fraction's
// numerator and its brace, is one sign too many.
void doubleNumberSigns(std::string& t) {
    // Most lines hold neither: one look at each number sign, and no copy is made for them.
    bool twice = false;
    bool afterBrace = false;
    for (std::size_t i = t.find('#'); i != std::string::npos; i = t.find('#', i + 1)) {
        twice = twice || charAt(t, i + 1) == '#';
        afterBrace = afterBrace || at(t, i + 1, "{#");
    }
    if (twice) {
        t = replaceAll(t, "##", "#");
        afterBrace = t.find("#{#") != std::string::npos;
    }
    if (afterBrace) {
        t = replaceAll(t, "#{#", "#{");
    }
}

// A root needs its radicand, and an index opened with "[" its "]".
bool LatexToBraille::rootPass(std::string& t, std::size_t count) {
    std::size_t pos = 0;
    for (; count > 0 && (pos = findCommand(t, "\\sqrt", pos)) != std::string::npos; --count) {
        std::size_t q = pos + 5;
        if (charAt(t, q) == ' ') {
            t.erase(q, 1);
        }
        std::size_t end = 0;
        if (charAt(t, q) == '[') {
            std::string& with = with_;
            with.assign("\\9");
            const std::size_t close = t.find(']', q + 1);
            const std::size_t radicand = close == std::string::npos ? t.size() : close + 1;
            if (close == std::string::npos || !argumentAt(t, radicand)) {
                return fail(messages::kRootUnclosed);
            }
            with.append(t, q + 1, close - q - 1);
            with += ':';
            with.append(readArgument(t, radicand, end));
            with += "\\O";
            with += kMarkerEnd;
            splice(t, pos, end, with);
            pos += 2;
        } else {
            if (!argumentAt(t, q)) {
                return fail(messages::kRootUnclosed);
            }
            // "\\9" r "\\O@" is no longer than "\\sqrt" and its radicand r: written in place,
            // from the left, the radicand moving left.
            const std::string_view radicand = readArgument(t, q, end);
            char* const p = t.data() + pos;
            const std::size_t size = radicand.size();
            std::memmove(p + 2, radicand.data(), size);
            std::memcpy(p, "\\9", 2);
            std::memcpy(p + 2 + size, "\\O@", 3);
            t.erase(pos + size + 5, end - pos - size - 5);
            pos += 2;
        }
    }
    return true;
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

bool LatexToBraille::overlinePass(std::string& t) {
    std::size_t pos = 0;
    while ((pos = findCommand(t, "\\overline", pos)) != std::string::npos) {
        const std::size_t start = skipBlanks(t, pos + 9);
        if (!argumentAt(t, start)) {
            return fail(messages::kOverlineMissing);
        }
        std::size_t end = 0;
        const std::string content(readArgument(t, start, end));
        splice(t, pos, end, "\\over" + std::string(kMarkerEnd) + content + ":");
        pos += 5;
    }
    return true;
}

// A digit, or a decimal comma or periodic mark that a running number carries on.
bool numberCharacter(char c) {
    return isDigit(c) || c == ',' || c == '\'';
}

// The rows of the keyword and set tables grouped by the character after their backslash, in
// table order (the keyword rows of a character before its set rows), so that the first row
// standing at a position is found without reading all.
class KeywordIndex {
public:
    KeywordIndex() {
        std::array<std::size_t, 257> counts{};
        const auto countRow = [&](const NotationRow& row) {
            if (row.latex.size() >= 2 && row.latex[0] == '\\') {
                ++counts[static_cast<unsigned char>(row.latex[1]) + 1U];
            }
        };
        for (const NotationRow& row : kKeywordTable) {
            countRow(row);
        }
        for (const NotationRow& row : kSetTable) {
            countRow(row);
        }
        for (std::size_t key = 0; key < 256; ++key) {
            counts[key + 1] += counts[key];
            begin_[key + 1] = static_cast<unsigned char>(counts[key + 1]);
        }
        std::array<std::size_t, 256> next{};
        std::copy(counts.begin(), counts.end() - 1, next.begin());
        for (const NotationRow& row : kKeywordTable) {
            add(row, next);
        }
        for (const NotationRow& row : kSetTable) {
            add(row, next);
        }
        for (std::size_t key = 0; key < 256; ++key) {
            direct_[key] = directRow(key);
        }
    }

    // The first keyword row, else the first set row, standing at `pos` (a backslash). A
    // keyword written with a blank at its end is a command word and the blank that ends it;
    // as in TeX, any other character that is not a letter ends it too ("\\to\\infty"), and
    // so does the end of the text (which was trimmed).
    const NotationRow* find(std::string_view t, std::size_t pos, std::size_t& length) const {
        const auto key = static_cast<unsigned char>(charAt(t, pos + 1));
        const char third = charAt(t, pos + 2);
        if (!isAsciiLetter(third) && direct_[key] != nullptr) {
            length = 2;
            return direct_[key];
        }
        for (std::size_t e = begin_[key]; e < begin_[key + 1U]; ++e) {
            const Keyword& keyword = keywords_[e];
            // Most rows differ at the third character.
            if (keyword.thirdDecides && keyword.third != third) {
                continue;
            }
            std::string_view k = keyword.latex;
            if (!restAt(t, pos, k)) {
                if (!keyword.blankEnd) {
                    continue;
                }
                k.remove_suffix(1);
                if (!restAt(t, pos, k)) {
                    continue;
                }
            } else if (keyword.blankEnd) {
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

private:
    struct Keyword {
        const NotationRow* row = nullptr;
        std::string_view latex;     // the row's, kept beside the rest
        char third = '\0';          // the character after the first two
        bool thirdDecides = false;  // a text without `third` there cannot hold the row
        bool blankEnd = false;      // written with a blank at its end
        bool commandWord = false;   // ends in a command word: no letter may follow
    };

    void add(const NotationRow& row, std::array<std::size_t, 256>& next) {
        const std::string_view k = row.latex;
        if (k.size() < 2 || k[0] != '\\') {
            return;
        }
        Keyword& keyword = keywords_[next[static_cast<unsigned char>(k[1])]++];
        keyword.row = &row;
        keyword.latex = k;
        keyword.blankEnd = k.back() == ' ';
        keyword.third = k.size() > 2 ? k[2] : '\0';
        keyword.thirdDecides = k.size() > 2 && (k.size() > 3 || !keyword.blankEnd);
        keyword.commandWord = endsInCommandWord(keyword.blankEnd ? k.substr(0, k.size() - 1) : k);
    }

    // Whether `t` holds `k` at `pos`, where the index has matched its first two characters.
    static bool restAt(std::string_view t, std::size_t pos, std::string_view k) {
        if (t.size() - pos < k.size()) {
            return false;
        }
        for (std::size_t j = 2; j < k.size(); ++j) {
            if (t[pos + j] != k[j]) {
                return false;
            }
        }
        return true;
    }

    // The row that stands at a backslash, key and a character that is no letter, whatever the
    // characters after these: the key's first row that can stand there is its two-character
    // one ("\\6", "\\N" after "\\Nu"), not a row whose third character could be there too.
    // None when no such row decides.
    const NotationRow* directRow(std::size_t key) const {
        for (std::size_t e = begin_[key]; e < begin_[key + 1U]; ++e) {
            const Keyword& keyword = keywords_[e];
            if (keyword.latex.size() == 2) {
                return keyword.row;
            }
            if (!isAsciiLetter(keyword.latex[2])) {
                return nullptr;  // "\\77", "\\{\\}", "\\x ": the third character decides
            }
        }
        return nullptr;
    }

    std::array<Keyword, kKeywordTable.size() + kSetTable.size()> keywords_{};
    std::array<const NotationRow*, 256> direct_{};  // directRow of each key
    std::array<unsigned char, 257> begin_{};  // the rows of key c are [begin_[c], begin_[c+1])
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

// The finished form of a cell: the letter sign "_", the square brackets "{" and "}".
constexpr char finishedCell(char c) {
    return c == '^' ? '_' : c == '\xE0' ? '{' : c == '\xF9' ? '}' : c;
}

// What the tokenizer needs of each character, looked up once per character, outside a number
// and within one: a digit inside a running number is written without a further number sign.
struct CharacterCells {
    enum Kind : unsigned char { kNone, kCells, kSpecial };
    struct Entry {
        char cells[4] = {};  // finished; a character has two cells at most
        unsigned char size = 0;
        Kind kind = kNone;
        // Whether a number runs on after the character: one that ran before it still runs
        // when `keep`, a new one starts when `starts`.
        bool keep = false;
        bool starts = false;
    };
    std::array<std::array<Entry, 256>, 2> entries;  // [within a number][character]
    std::size_t widest = 1;                         // the most cells of one entry
    unsigned widestShift = 0;                       // 1 << widestShift: widest or more

    CharacterCells() {
        for (int c = 0; c < 256; ++c) {
            const char ch = static_cast<char>(c);
            Entry e;
            if (ch == '\\' || ch == '<' || ch == '#') {
                e.kind = kSpecial;
            } else if (ch == '}') {
                e.kind = kCells;  // no cell: the brace that closes a group ends a number
            } else if (const NotationRow* row = characterRow(ch)) {
                e.kind = kCells;
                e.size = static_cast<unsigned char>(std::min<std::size_t>(row->braille.size(), 4));
                for (std::size_t k = 0; k < e.size; ++k) {
                    e.cells[k] = finishedCell(row->braille[k]);
                }
            }
            const bool digitClass = numberCharacter(ch);
            e.keep = e.kind == kNone || digitClass;
            e.starts = e.kind != kNone && isDigit(ch);
            Entry outside = e;
            Entry within = e;
            if (e.kind == kCells && digitClass && e.size == 2) {
                within.cells[0] = e.cells[1];  // the number sign stands once per number
                within.cells[1] = '\0';
                within.size = 1;
            }
            widest = std::max<std::size_t>(widest, e.size);
            while ((std::size_t{1} << widestShift) < widest) {
                ++widestShift;
            }
            entries[0][static_cast<std::size_t>(c)] = outside;
            entries[1][static_cast<std::size_t>(c)] = within;
        }
    }
};

const CharacterCells& characterCells() {
    static const CharacterCells cells;
    return cells;
}

// The tokenizer's output, written in its finished form into a buffer kept from one text to the
// next (it only grows); it keeps room for one more character's cells at all times.
class CellWriter {
public:
    CellWriter(std::string& out, std::size_t expected) : out_(out) {
        if (out_.size() < expected + kRoom) {
            out_.resize(expected + kRoom);
        }
        next_ = out_.data();
        room_ = out_.data() + out_.size() - kRoom;
    }

    // What has been written.
    std::string_view written() const {
        return {out_.data(), static_cast<std::size_t>(next_ - out_.data())};
    }

    void put(char c) {
        *next_++ = finishedCell(c);
        keepRoom();
    }
    void put(std::string_view cells) {
        for (const char c : cells) {
            put(c);
        }
    }

    // The cells of the characters from `i` on up to the first special one (or the end), as
    // `table` gives them (all four bytes of an entry are copied, its `size` count); `number` says
    // whether a number runs, before and after. Returns the position of the special character. The
    // loop keeps its state in locals: written through the members, every cell would wait for the
    // one before.
    std::size_t putRun(const CharacterCells& table, std::string_view t, std::size_t i,
                       bool& number) {
        const char* const text = t.data();
        const std::size_t n = t.size();
        char* next = next_;
        char* room = room_;
        bool running = number;
        while (i < n) {
            // The characters that fit in the room left without a look at it after each.
            // (A shift: a division here would cost more than the characters it counts.)
            const std::size_t fit = static_cast<std::size_t>(room - next) >> table.widestShift;
            if (fit == 0) {
                next_ = next;
                grow();
                next = next_;
                room = room_;
                continue;
            }
            const std::size_t stop = std::min(n, i + fit);
            for (; i < stop; ++i) {
                // Whether a number runs is read from the state-free entry, so that the next
                // character's lookup does not wait for this one's.
                const auto u = static_cast<unsigned char>(text[i]);
                const CharacterCells::Entry& outside = table.entries[0][u];
                if (outside.kind == CharacterCells::kSpecial) {
                    next_ = next;
                    number = running;
                    return i;
                }
                const CharacterCells::Entry& e = table.entries[running ? 1 : 0][u];
                std::memcpy(next, e.cells, sizeof e.cells);
                next += e.size;
                running = (running & outside.keep) | outside.starts;
            }
        }
        next_ = next;
        number = running;
        return i;
    }

private:
    static constexpr std::size_t kRoom = sizeof CharacterCells::Entry::cells;

    void keepRoom() {
        if (next_ > room_) {
            grow();
        }
    }
    void grow() {
        const auto size = static_cast<std::size_t>(next_ - out_.data());
        out_.resize(out_.size() * 2);
        next_ = out_.data() + size;
        room_ = out_.data() + out_.size() - kRoom;
    }

    std::string& out_;
    char* next_ = nullptr;  // where the next cell goes
    char* room_ = nullptr;  // past it, fewer than kRoom bytes are left
};

std::optional<std::string_view> LatexToBraille::tokenize(std::string_view t, std::string& buffer) {
    const CharacterCells& table = characterCells();
    CellWriter cells(buffer, t.size() * 2);
    // A number runs from its number sign through digits, decimal commas and periodic marks;
    // a digit inside it is written without a further number sign. A comma or an apostrophe
    // after anything else (a list "a,2", a derivative "f'2") does not start one, and the
    // brace that closes a group (the denominator of a numeric fraction, a subscript) ends it.
    bool number = false;
    std::size_t i = 0;
    const std::size_t n = t.size();
    while ((i = cells.putRun(table, t, i, number)) < n) {
        const char c = t[i];
        if (c == '\\') {
            if (charAt(t, i + 1) == '\\' && at(t, i, kRegionPlaceholder)) {
                cells.put(kRegionPlaceholder);
                i += kRegionPlaceholder.size();
                number = false;
                continue;
            }
            std::size_t length = 0;
            const NotationRow* row = keywordIndex().find(t, i, length);
            if (row == nullptr) {
                fail(messages::kUnknownFunction);
                return std::nullopt;
            }
            cells.put(row->braille);
            i += length;
            number = false;
        } else if (c == '<') {
            if (at(t, i, "<>")) {
                cells.put('3');
                i += 2;
                number = false;
            } else {
                ++i;
                if (const NotationRow* row = characterRow(c)) {
                    cells.put(row->braille);
                    number = false;
                }
            }
        } else {  // '#'
            // A number sign carries the lower digits of a numeric numerator after it.
            cells.put('#');
            ++i;
            while (i < t.size() && isDigitCell(t[i])) {
                cells.put(t[i]);
                ++i;
            }
            number = true;
        }
    }
    return cells.written();
}

Conversion LatexToBraille::run(std::string_view input, const TextMarks& marks) {
    Conversion result;
    const std::string_view trimmed = trimBlanks(input);
    if (trimmed.empty()) {
        return result;
    }
    TakenRegions taken;
    std::string& t = scratch().text;
    if (marks.regions) {
        taken = takeOutRegions(trimmed);
        t.swap(taken.text);
    } else {
        // Nothing to take out. (Cleared and appended: the buffer has the room, and assign's
        // general replacement costs more than the copy of a formula.)
        t.clear();
        t.append(trimmed);
        taken.countedLength = trimmed.size();
    }
    if (taken.countedLength > kMaxFormulaLength) {
        result.error = messages::onPage(page_, messages::kTooLong);
        return result;
    }
    if (taken.unclosed) {
        result.error = messages::onPage(page_, messages::kUnclosedRegionLatex);
        return result;
    }
    if (!marks.bracesNest) {
        result.error = messages::onPage(page_, messages::kBrackets);
        return result;
    }
    if ((marks.commands & kTypedMarker) != 0) {
        result.error = messages::onPage(page_, messages::kUnknownFunction);
        return result;
    }
    // Each pass of a command looks for its keyword; most lines hold one or two of them, none at
    // all when they have no backslash. No pass writes a keyword that a pass looks for (they
    // write markers, and always put a cell between the pieces of text they join), so what the
    // text holds now decides for every pass.
    const unsigned commands = marks.commands;
    if (((commands & kLimit) != 0 && !oneSidedLimits(t)) ||
        ((commands & kArrow) != 0 && !arrowsInLimits(t))) {
        result.error = error_;
        return result;
    }
    if (marks.subscript) {
        digitSubscripts(t);
    }
    // No pass writes a keyword or joins text into one, and each construct takes its keyword
    // out: a pass is done once it has met as many keywords as the reading did (it met each
    // standing at a backslash, whatever followed), and need not look on to the end.
    const auto count = [&](Command command) {
        return marks.commandCounts[static_cast<std::size_t>(std::countr_zero(unsigned{command}))];
    };
    const auto limits = [&](Command command, std::string_view keyword, std::string_view marker,
                            std::string_view message) {
        return (commands & command) == 0 || limitsPass(t, count(command), keyword, marker, message);
    };
    const bool constructs = limits(kSum, "\\sum", "\\susu", messages::kSumLatex) &&
                            limits(kProd, "\\prod", "\\propro", messages::kProdLatex) &&
                            limits(kInt, "\\int", "\\7", messages::kIntLatex) &&
                            limits(kIint, "\\iint", "\\77", messages::kIntLatex) &&
                            limits(kIiint, "\\iiint", "\\777", messages::kIntLatex);
    if (!constructs || (marks.subscript && !indicesPresent(t)) || (marks.power && !powerPass(t))) {
        result.error = error_;
        return result;
    }
    if ((commands & kFrac) != 0 && !fractionPass(t, count(kFrac))) {
        result.error = error_;
        return result;
    }
    // Number signs come from the text, from numeric powers and from numeric fractions.
    if (marks.numberSign || marks.power || (commands & kFrac) != 0) {
        doubleNumberSigns(t);
    }
    if (((commands & kSqrt) != 0 && !rootPass(t, count(kSqrt))) ||
        ((commands & kLog) != 0 && !logPass(t)) || (marks.subscript && !subscriptPass(t)) ||
        ((commands & kOverline) != 0 && !overlinePass(t))) {
        result.error = error_;
        return result;
    }
    const std::optional<std::string_view> cells = tokenize(t, scratch().cells);
    if (!cells) {
        result.error = error_;
        return result;
    }
    if (cells->find("111") != std::string_view::npos) {
        // Three closings in a row: Braille-to-LaTeX could not tell which power each ends.
        result.error = messages::onPage(page_, messages::kPowerOfPower);
        return result;
    }
    const bool log = cells->find("log ") != std::string_view::npos;
    if (!log && taken.regions.empty()) {
        result.text = std::string(trimBlanks(*cells));
        return result;
    }
    std::string out = log ? replaceAll(*cells, "log ", "log.") : std::string(*cells);
    if (!taken.regions.empty()) {
        out = putBackRegions(out, taken.regions);
    }
    result.text.assign(trimBlanks(out));
    return result;
}

}  // namespace

namespace {

// One formula, or a page whose lines cannot be taken apart, given what the plain conversion
// `plain` made of it.
// `marks`: those of the reading of `latex`.
Conversion checkedConversion(std::string_view latex, const TextMarks& marks, int page,
                             const LatexToBraille& plain, Conversion c) {
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
        Conversion grouped = LatexToBraille(page, true).run(latex, marks);
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

// A line of a page whose characters have been read: it reads as it stands, and its own
// reading gives its marks.
Conversion convertFormula(std::string_view latex, int page) {
    const TextMarks marks = readCharacters(latex, passCommandsAt).marks;
    LatexToBraille plain(page, false);
    Conversion c = plain.run(latex, marks);
    return checkedConversion(latex, marks, page, plain, std::move(c));
}

// The lines of a page with the line break after each (none after the last), when every line
// can stand alone: no text region and no brace group runs on into the next line. Empty when
// the page is one line or its lines hang together.
std::vector<std::pair<std::string_view, std::string_view>> separateLines(std::string_view page) {
    std::vector<std::pair<std::string_view, std::string_view>> lines;
    if (page.find_first_of("\r\n") == std::string_view::npos) {
        return lines;
    }
    std::size_t start = 0;
    int depth = 0;
    for (std::size_t i = 0; i <= page.size(); ++i) {
        const char c = charAt(page, i);
        if (c == '\\' && charAt(page, i + 1) == '\\') {
            const std::size_t close = page.find("\\\\", i + 2);
            if (close == std::string_view::npos ||
                page.substr(i, close - i).find_first_of("\r\n") != std::string_view::npos) {
                return {};
            }
            i = close + 1;
        } else if (c == '\\' && (charAt(page, i + 1) == '{' || charAt(page, i + 1) == '}')) {
            ++i;  // "\{" and "\}" are characters
        } else if (c == '{' || c == '}') {
            depth += c == '{' ? 1 : -1;
        } else if (c == '\r' || c == '\n' || i == page.size()) {
            if (depth != 0) {
                return {};
            }
            const std::size_t breakLength = at(page, i, "\r\n") ? 2 : (i < page.size() ? 1 : 0);
            lines.emplace_back(page.substr(start, i - start), page.substr(i, breakLength));
            i += breakLength - (breakLength > 0 ? 1 : 0);
            start = i + 1;
        }
    }
    return lines;
}

}  // namespace

namespace {

// The conversion of `text` whose characters `reading` has read.
Conversion convertRead(std::string_view text, int page, const CharacterReading& reading) {
    if (!reading.ok()) {
        return {{}, messages::onPage(page, reading.refusal)};
    }
    const std::string_view latex =
        trimBlanks(reading.changed ? std::string_view(reading.text) : text);
    // Most texts hold nothing that must be read back to be sure of: converted whole, a page of
    // them gives what its lines give one by one.
    LatexToBraille whole(page, false);
    Conversion c = whole.run(latex, reading.marks);
    if (c.ok() && !whole.oneCellExponentBesideGroup(c) && !whole.groupEndsInNumber()) {
        return c;
    }
    const auto lines = separateLines(latex);
    if (lines.empty()) {
        return c.ok() ? checkedConversion(latex, reading.marks, page, whole, std::move(c)) : c;
    }
    // Each line of a page is a formula of its own: converted alone, so that it converts the
    // same on any page. The page's own limits hold first.
    const TakenRegions taken = takeOutRegions(latex);
    if (taken.countedLength > kMaxFormulaLength) {
        return {{}, messages::onPage(page, messages::kTooLong)};
    }
    Conversion out;
    for (const auto& [line, lineBreak] : lines) {
        const std::string_view core = trimBlanks(line);
        c = convertFormula(core, page);
        if (!c.ok()) {
            return c;
        }
        // The blanks around a line inside the page are cells of the page.
        const std::size_t before = core.empty() ? line.size() : core.data() - line.data();
        out.text.append(before, ' ');
        out.text += c.text;
        out.text.append(line.size() - before - core.size(), ' ');
        out.text += lineBreak;
    }
    return out;
}

}  // namespace

Conversion convertLatexToBraille(std::string_view text, int page) {
    // Characters without a row are read as the sign they stand for, or refused.
    return convertRead(text, page, readCharacters(text, passCommandsAt));
}

LatexPageConversion convertLatexPage(std::string_view text, int page) {
    // The reading of the characters weighs the brackets too, unless it stopped or changed the
    // text.
    const CharacterReading reading = readCharacters(text, passCommandsAt);
    if (reading.weighed ? reading.bracketWeight != 0 : bracketBalance(text) != 0) {
        return {{{}, messages::onPage(page, messages::kBrackets)}, true};
    }
    return {convertRead(text, page, reading), false};
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
