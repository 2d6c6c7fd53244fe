#include "notation/return_translation.h"

#include <algorithm>
#include <bitset>
#include <vector>

#include "notation/messages.h"
#include "notation/text_scan.h"

namespace notation {
namespace {

constexpr std::string_view kRegionMark = "\\backslash \\backslash";
// A rule pattern that ends so takes a brace group as its argument ("\\text{...}").
constexpr std::string_view kGroupArgument = "{...}";
constexpr std::string_view kGroupContent = "...";

// Body rules are bounded so that no rule file can make the translation run without end.
constexpr std::size_t kMaxBodyReplacements = 20000;
constexpr std::size_t kMaxBodyText = 32 * 1024;

// Inside text regions the editor wrote accented vowels as vowel + apostrophe. The last
// character of the text is not carried over.
std::string accentPass(std::string_view s) {
    std::string out;
    if (s.empty()) {
        return out;
    }
    out.reserve(s.size());
    const std::size_t last = s.size() - 1;
    bool inRegion = false;
    std::size_t i = 0;
    while (i < last) {
        if (at(s, i, kRegionMark)) {
            // One delimiter flips the region once; adjacent delimiters must not overlap.
            inRegion = !inRegion;
            const std::size_t take = std::min(kRegionMark.size(), last - i);
            out.append(s.substr(i, take));
            i += take;
            continue;
        }
        if (inRegion && s[i + 1] == '\'') {
            const char* accented = nullptr;
            switch (s[i]) {
                case 'a':
                    accented = "\xE0";
                    break;
                case 'e':
                    accented = "\xE8";
                    break;
                case 'i':
                    accented = "\xEC";
                    break;
                case 'o':
                    accented = "\xF2";
                    break;
                case 'u':
                    accented = "\xF9";
                    break;
                default:
                    break;
            }
            if (accented != nullptr) {
                out += accented;
                i += 2;
                continue;
            }
        }
        out += s[i];
        ++i;
    }
    return out;
}

// "\{ " and "\} " lose the blank after the escaped brace.
std::string bracePass(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        out += s[i];
        if (s[i] == '\\' && (at(s, i + 1, "{ ") || at(s, i + 1, "} "))) {
            out += s[i + 1];
            i += 2;
        }
    }
    return out;
}

// How a rule's pattern is found in the text. A pattern that ends in a command word matches
// only where no letter follows, as TeX reads it: a rule for "\le" leaves
// "\left" and "\lessdot" alone. A pattern ending in "{...}" matches its command followed
// by a whole brace group, whose content takes the place of "..." in the replacement.
struct RulePattern {
    std::string_view needle;  // the text searched for
    bool wholeWord = false;
    bool group = false;
};

struct RuleMatch {
    std::size_t pos = std::string::npos;
    std::size_t end = 0;
    std::string_view content;  // the brace group's content, for a group pattern
};

// "\backslash" matches only "\backslash " with one blank behind it, "\backslash*" the word
// with or without anything behind it.
RulePattern rulePattern(const std::string& pattern) {
    RulePattern p;
    if (pattern == "\\backslash") {
        p.needle = "\\backslash ";
        return p;
    }
    if (pattern == "\\backslash*") {
        p.needle = "\\backslash";
        return p;
    }
    const std::string_view text = pattern;
    if (text.ends_with(kGroupArgument)) {
        p.needle = text.substr(0, text.size() - kGroupArgument.size() + 1);  // keeps the "{"
        p.group = true;
        return p;
    }
    p.needle = text;
    p.wholeWord = endsInCommandWord(text);
    return p;
}

RuleMatch matchAt(std::string_view text, std::size_t pos, const RulePattern& p) {
    RuleMatch m;
    if (!at(text, pos, p.needle) ||
        (p.wholeWord && isAsciiLetter(charAt(text, pos + p.needle.size())))) {
        return m;
    }
    if (p.group) {
        const std::size_t open = pos + p.needle.size() - 1;
        const std::size_t close = closingBrace(text, open);
        if (close == std::string::npos) {
            return m;
        }
        m.content = text.substr(open + 1, close - open - 1);
        m.end = close + 1;
    } else {
        m.end = pos + p.needle.size();
    }
    m.pos = pos;
    return m;
}

RuleMatch findRule(std::string_view text, std::size_t from, const RulePattern& p) {
    for (std::size_t pos = text.find(p.needle, from); pos != std::string_view::npos;
         pos = text.find(p.needle, pos + 1)) {
        const RuleMatch m = matchAt(text, pos, p);
        if (m.pos != std::string::npos) {
            return m;
        }
    }
    return {};
}

std::string replacementFor(const FilterRule& rule, const RulePattern& p, const RuleMatch& m) {
    return p.group ? replaceAll(rule.replacement, kGroupContent, m.content) : rule.replacement;
}

void applyStartRules(std::string& text, const FilterTable& table) {
    for (const FilterRule& rule : table.rules(FilterSection::Start)) {
        const RulePattern p = rulePattern(rule.pattern);
        const RuleMatch m = p.needle.empty() ? RuleMatch{} : matchAt(text, 0, p);
        if (m.pos != std::string::npos) {
            text = replacementFor(rule, p, m) + text.substr(m.end);
        }
    }
}

void applyEndRules(std::string& text, const FilterTable& table) {
    for (const FilterRule& rule : table.rules(FilterSection::End)) {
        if (!rule.pattern.empty() && text.ends_with(rule.pattern)) {
            text = text.substr(0, text.size() - rule.pattern.size()) + rule.replacement;
        }
    }
}

// The pairs of neighbouring characters that the text holds or has held. A pattern with a pair
// the text never held cannot match, so most rules of a long filter file are passed over
// without reading the text.
class CharacterPairs {
public:
    void add(std::string_view s) {
        for (std::size_t i = 0; i + 1 < s.size(); ++i) {
            pairs_.set(key(s[i], s[i + 1]));
        }
    }
    bool mayHold(std::string_view needle) const {
        for (std::size_t i = 0; i + 1 < needle.size(); ++i) {
            if (!pairs_.test(key(needle[i], needle[i + 1]))) {
                return false;
            }
        }
        return true;
    }

private:
    static std::size_t key(char a, char b) {
        return static_cast<std::size_t>(static_cast<unsigned char>(a)) << 8 |
               static_cast<unsigned char>(b);
    }
    std::bitset<65536> pairs_;
};

void applyBodyRules(std::string& text, const FilterTable& table) {
    std::size_t budget = kMaxBodyReplacements;
    CharacterPairs pairs;
    pairs.add(text);
    for (const FilterRule& rule : table.rules(FilterSection::Body)) {
        const RulePattern p = rulePattern(rule.pattern);
        if (p.needle.empty()) {
            continue;  // an empty pattern would match everywhere, forever
        }
        if (!pairs.mayHold(p.needle)) {
            continue;
        }
        // A replacement that holds its own pattern would be applied again and again without
        // end: each occurrence present now is replaced once.
        const bool once = rule.replacement.find(p.needle) != std::string::npos;
        std::size_t pos = 0;
        while (budget > 0 && text.size() <= kMaxBodyText) {
            const RuleMatch m = findRule(text, pos, p);
            if (m.pos == std::string::npos) {
                break;
            }
            std::string with = replacementFor(rule, p, m);
            if (isAsciiLetter(charAt(with, 0)) &&
                endsInCommandWord(std::string_view(text).substr(0, m.pos))) {
                // Letters put right after a command would join it ("\\alpha\\cos" must not
                // become the command "\\alphacos"): a blank ends the command, as in TeX.
                with.insert(0, 1, ' ');
            }
            text.replace(m.pos, m.end - m.pos, with);
            text += ' ';
            --budget;
            // The replacement, the pairs it makes with its neighbours, the blank at the end.
            const std::size_t from = m.pos > 0 ? m.pos - 1 : 0;
            pairs.add(std::string_view(text).substr(from, with.size() + 2));
            pairs.add(std::string_view(text).substr(text.size() >= 2 ? text.size() - 2 : 0));
            // Nothing before the replaced text changed: only an occurrence that overlaps it, or
            // a command word that it now ends, can be new there.
            pos = once ? m.pos + with.size()
                       : (m.pos >= p.needle.size() ? m.pos - p.needle.size() : 0);
        }
    }
}

// ":" becomes "\:", "\ " a blank, "\\\\" "\\", "%% " "%%"; a pair "\\" is copied whole.
std::string escapePass(std::string_view s) {
    // A text region's delimiter stays whole: a blank after it is no escaped blank.
    return replaceEach(
        s, {{":", "\\:"}, {"\\ ", " "}, {"\\\\\\\\", "\\\\"}, {"\\\\", "\\\\"}, {"%% ", "%%"}});
}

std::size_t firstNonBlank(std::string_view s, std::size_t from) {
    while (from < s.size() && s[from] == ' ') {
        ++from;
    }
    return from;
}

// One argument of a command without braces: a command word, or one character.
std::size_t argumentEnd(std::string_view s, std::size_t pos) {
    return s[pos] == '\\' ? commandEnd(s, pos) : pos + 1;
}

void wrapArgument(std::string& text, std::size_t pos) {
    const std::size_t end = argumentEnd(text, pos);
    text.insert(end, 1, '}');
    text.insert(pos, 1, '{');
}

// «\sqrt 2» becomes «\sqrt{2}».
void rootArgumentPass(std::string& text) {
    std::size_t pos = 0;
    while ((pos = text.find("\\sqrt", pos)) != std::string::npos) {
        const std::size_t after = pos + 5;
        const std::size_t arg = firstNonBlank(text, after);
        if (arg >= text.size()) {
            break;  // "\sqrt" at the very end stays as it is
        }
        if (text[arg] != '{' && text[arg] != '[') {
            text.erase(after, arg - after);
            wrapArgument(text, after);
        }
        pos = after;
    }
}

// «\frac12» becomes «\frac{1}{2}».
void fractionArgumentPass(std::string& text) {
    std::size_t pos = 0;
    while ((pos = text.find("\\frac", pos)) != std::string::npos) {
        const std::size_t first = pos + 5;
        pos = first;
        if (first >= text.size()) {
            break;
        }
        if (text[first] != '{') {
            wrapArgument(text, first);
        }
        const std::size_t close = closingBrace(text, first);
        if (close == std::string::npos) {
            continue;
        }
        std::size_t second = close + 1;
        const std::size_t next = firstNonBlank(text, second);
        if (next < text.size() && text[next] == '{') {
            text.erase(second, next - second);  // blanks between the two groups
        }
        if (second < text.size() && text[second] != '{') {
            wrapArgument(text, second);
        }
    }
}

bool escapedAt(std::string_view s, std::size_t pos) {
    return pos > 0 && s[pos - 1] == '\\';
}

// The brace of the group around `from`: the first '{' before it that no '}' between closes,
// or (`after`) the first '}' from it on that no '{' between opens; npos when there is none.
// Escaped braces count for nothing.
std::size_t enclosingBrace(std::string_view text, std::size_t from, bool after) {
    const char inner = after ? '{' : '}';
    const char outer = after ? '}' : '{';
    int depth = 0;
    const auto size = static_cast<std::ptrdiff_t>(text.size());
    const std::ptrdiff_t step = after ? 1 : -1;
    for (auto k = static_cast<std::ptrdiff_t>(from) + (after ? 0 : -1); k >= 0 && k < size;
         k += step) {
        const char c = text[static_cast<std::size_t>(k)];
        if ((c == '{' || c == '}') && escapedAt(text, static_cast<std::size_t>(k))) {
            continue;
        }
        if (c == inner) {
            ++depth;
        } else if (c == outer) {
            if (depth == 0) {
                return static_cast<std::size_t>(k);
            }
            --depth;
        }
    }
    return std::string::npos;
}

// «{a \over b}» becomes «{\frac{a}{b}}». "\over" counts only as a whole command word, so
// "\overline", "\overset" and the like are left alone. Without an enclosing group the whole
// text is the fraction, as in TeX.
void texFractionPass(std::string& text) {
    std::size_t pos = 0;
    while (true) {
        std::size_t p = text.find("\\over", pos);
        while (p != std::string::npos && isAsciiLetter(charAt(text, p + 5))) {
            p = text.find("\\over", p + 5);
        }
        if (p == std::string::npos) {
            return;
        }
        const std::size_t open = enclosingBrace(text, p, false);
        const std::size_t close = enclosingBrace(text, p + 5, true);
        const std::size_t numStart = open == std::string::npos ? 0 : open + 1;
        const std::size_t end = close == std::string::npos ? text.size() : close;
        const std::size_t denStart = std::min(firstNonBlank(text, p + 5), end);
        std::string result = text.substr(0, numStart);
        result += "\\frac{";
        // The blanks an editor writes before "\over" are TeX spacing, not part of the formula:
        // kept, they would read as a blank cell in the Braille numerator.
        std::size_t numEnd = p;
        while (numEnd > numStart && text[numEnd - 1] == ' ') {
            --numEnd;
        }
        result.append(text, numStart, numEnd - numStart);
        result += "}{";
        result.append(text, denStart, end - denStart);
        result += '}';
        result.append(text, end, std::string::npos);
        text = std::move(result);
        pos = numStart;
    }
}

// Whether the brace at `open` is an argument (of a command, a power, an index, a root with
// an index or the second group of a fraction) rather than a group of its own.
bool argumentBrace(std::string_view text, std::size_t open) {
    if (open == 0) {
        return false;
    }
    const char before = text[open - 1];
    if (before == '^' || before == '_' || before == ']' || before == '}' || before == '\\') {
        return true;
    }
    if (!isAsciiLetter(before)) {
        return false;
    }
    std::size_t k = open - 1;
    while (k > 0 && isAsciiLetter(text[k - 1])) {
        --k;
    }
    return k > 0 && text[k - 1] == '\\';
}

// «{\frac{a}{b}}» becomes «\frac{a}{b}»: the braces that a TeX fraction needs around
// "\over" are not part of the student's formula, and kept they would pile up with every trip
// through the editor. Braces that are an argument stay.
void fractionGroupPass(std::string& text) {
    constexpr std::string_view kGroup = "{\\frac{";
    std::size_t pos = 0;
    while ((pos = text.find(kGroup, pos)) != std::string::npos) {
        const std::size_t numClose = closingBrace(text, pos + 6);
        const std::size_t denClose =
            numClose != std::string::npos && charAt(text, numClose + 1) == '{'
                ? closingBrace(text, numClose + 1)
                : std::string::npos;
        if (denClose == std::string::npos || charAt(text, denClose + 1) != '}' ||
            argumentBrace(text, pos)) {
            ++pos;
            continue;
        }
        text.erase(denClose + 1, 1);
        text.erase(pos, 1);
        pos = pos > 0 ? pos - 1 : 0;  // the group around this one may now be a single fraction
    }
}

// «\root 3 \of {x}» becomes «\sqrt[3]{x}». A "\root" without "\of" is left alone.
void texRootPass(std::string& text) {
    std::size_t pos = 0;
    while ((pos = text.find("\\root", pos)) != std::string::npos) {
        const std::size_t of = text.find("\\of", pos + 5);
        if (of == std::string::npos) {
            pos += 5;
            continue;
        }
        const std::size_t indexStart = std::min(firstNonBlank(text, pos + 5), of);
        const std::size_t radicandStart = firstNonBlank(text, of + 3);
        std::size_t close = text.find('}', radicandStart);
        if (close == std::string::npos) {
            close = text.size();
        }
        const std::size_t radicandEnd = std::max(close, radicandStart);
        std::string result = text.substr(0, pos);
        result += "\\sqrt[";
        std::size_t indexEnd = of;  // "\root 3 \of": the blank before "\of" is TeX spacing
        while (indexEnd > indexStart && text[indexEnd - 1] == ' ') {
            --indexEnd;
        }
        result.append(text, indexStart, indexEnd - indexStart);
        result += ']';
        if (radicandStart < text.size()) {
            result.append(text, radicandStart, radicandEnd - radicandStart);
        }
        if (close < text.size()) {
            result.append(text, close, std::string::npos);
        }
        text = std::move(result);
        pos += 6;
    }
}

// "\\log " becomes `to` ("\\log" or "\\ln"): the blank goes, except before a letter, where it
// keeps the command apart from the letters ("\\log x", not the unknown command "\\logx").
std::string logarithmBlanks(std::string_view text, std::string_view from, std::string_view to) {
    std::string out(text);
    std::size_t pos = 0;
    while ((pos = out.find(from, pos)) != std::string::npos) {
        out.replace(pos, from.size(), to);
        pos += to.size();
        if (isAsciiLetter(charAt(out, pos))) {
            out.insert(pos, 1, ' ');
        }
    }
    return out;
}

// «\overline{3}» becomes «'3»: a periodic decimal. Any other content stays an overline.
void periodicPass(std::string& text) {
    std::size_t pos = 0;
    while ((pos = text.find("\\overline{", pos)) != std::string::npos) {
        const std::size_t contentStart = pos + 10;
        const std::size_t close = text.find('}', contentStart);
        if (close == std::string::npos) {
            return;
        }
        const std::string_view content(text.data() + contentStart, close - contentStart);
        if (std::all_of(content.begin(), content.end(), isDigit)) {
            text = text.substr(0, pos) + "'" + std::string(content) + text.substr(close + 1);
            pos += 1;
        } else {
            pos = contentStart;
        }
    }
}

// Whether a power stands in the exponent of a power that stands in the exponent of a third.
// An exponent group "^{...}" raises the level of everything inside it; a bare exponent
// ("^2", "^\alpha") is one level above its base, and one written straight after another
// bare exponent ("x^2^3") one level above that. Powers side by side (x^2y^2z^2, x^{2}^{3})
// stay at one level, whatever characters stand between them.
bool powersNestedThreeDeep(std::string_view text) {
    std::vector<int> outer;  // the level outside each open brace group
    int level = 0;
    std::size_t chainEnd = std::string_view::npos;  // just after the last bare exponent
    int chainLevel = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\\') {
            if (i + 1 < text.size() && !isAsciiLetter(text[i + 1])) {
                ++i;  // "\{", "\}", "\^": escaped, not structure
            }
            continue;
        }
        if (c == '{') {
            outer.push_back(level);
        } else if (c == '}') {
            if (!outer.empty()) {
                level = outer.back();
                outer.pop_back();
            }
        } else if (c == '^') {
            const int here = (i == chainEnd ? chainLevel : level) + 1;
            if (here >= 3) {
                return true;
            }
            const std::size_t arg = firstNonBlank(text, i + 1);
            if (arg >= text.size()) {
                break;
            }
            if (text[arg] == '{') {
                outer.push_back(level);
                level = here;
                i = arg;
            } else {
                chainEnd = argumentEnd(text, arg);
                chainLevel = here;
                i = chainEnd - 1;
            }
        }
    }
    return false;
}

}  // namespace

std::string returnTranslation(std::string_view input, const FilterTable& table,
                              FormulaErrorReport& report) {
    if (input.empty()) {
        return {};
    }
    std::string text = accentPass(input);
    text = bracePass(text);
    applyStartRules(text, table);
    applyEndRules(text, table);
    applyBodyRules(text, table);
    text = std::string(trimBlanks(text));
    text = escapePass(text);
    text = replaceAll(text, "\\frac ", "\\frac");
    text = replaceAll(text, "\\sqrt ", "\\sqrt");
    rootArgumentPass(text);
    fractionArgumentPass(text);
    texFractionPass(text);
    fractionGroupPass(text);
    texRootPass(text);
    text = replaceAll(text, "\\overline {", "\\overline{");
    text = logarithmBlanks(text, "\\log ", "\\log");
    text = logarithmBlanks(text, "\\lg ", "\\log");
    text = logarithmBlanks(text, "\\ln ", "\\ln");
    periodicPass(text);
    if (powersNestedThreeDeep(text)) {
        report.report(std::string(messages::kPowerOfPower));
        report.clear();
        return {};
    }
    // A power of a power (x^{2^{3}}) stays as it is: it reads back to the same Braille.
    return text;
}

}  // namespace notation
