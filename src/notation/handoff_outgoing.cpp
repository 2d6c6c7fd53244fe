#include "notation/handoff_outgoing.h"

#include "notation/handoff_texts.h"
#include "notation/text_scan.h"

#include <algorithm>
#include <array>
#include <utility>

namespace notation {

namespace {

constexpr std::string_view kRegionDelimiter = "\\backslash \\backslash";  // 21 characters

// The index just past the brace group that opens at `open`, or npos when `open` is not a "{"
// or the group is not closed. The escaped "\\{" and "\\}" are not group braces.
std::size_t braceGroupEnd(std::string_view s, std::size_t open) {
    if (charAt(s, open) != '{') {
        return std::string_view::npos;
    }
    const std::size_t close = closingBrace(s, open);
    return close == std::string_view::npos ? close : close + 1;
}

// "\frac{a}{b}" -> "{a\over b}", innermost last. A "\frac" without two brace groups right
// after it is left as it is; it must not stop the others from being rewritten.
std::string fractionsToOver(std::string_view in) {
    constexpr std::string_view kFrac = "\\frac";
    std::string s(in);
    std::size_t from = 0;
    while (true) {
        const std::size_t at = s.find(kFrac, from);
        if (at == std::string::npos) {
            return s;
        }
        const std::size_t numOpen = at + kFrac.size();
        const std::size_t numEnd = braceGroupEnd(s, numOpen);
        const std::size_t denEnd =
            numEnd == std::string_view::npos ? numEnd : braceGroupEnd(s, numEnd);
        if (denEnd == std::string_view::npos) {
            from = numOpen;
            continue;
        }
        std::string rewritten = "{";
        rewritten += s.substr(numOpen + 1, numEnd - numOpen - 2);
        rewritten += "\\over ";
        rewritten += s.substr(numEnd + 1, denEnd - numEnd - 2);
        rewritten += "}";
        s.replace(at, denEnd - at, rewritten);
        from = at;  // fractions inside the numerator or denominator come next
    }
}

// "\sqrt[n]" -> "\root n\of"; the radicand after it stays as it is.
std::string rootsWithIndex(std::string_view s) {
    constexpr std::string_view kSqrt = "\\sqrt[";
    std::string out;
    std::size_t pos = 0;
    while (true) {
        const std::size_t at = s.find(kSqrt, pos);
        const std::size_t close =
            at == std::string_view::npos ? at : s.find(']', at + kSqrt.size());
        if (close == std::string_view::npos) {
            out.append(s.substr(pos));
            return out;
        }
        out.append(s.substr(pos, at - pos));
        out += "\\root ";
        out.append(s.substr(at + kSqrt.size(), close - at - kSqrt.size()));
        out += "\\of";
        pos = close + 1;
    }
}

// Calls `visit(position, insideRegion)` for each character of `s`. A text region is
// delimited by "\backslash \backslash"; the delimiter itself counts as outside, and the scan
// goes past all of it so that an empty region (two delimiters in a row) does not also flip at
// the overlap of the two.
template <typename Visit>
void scanRegions(std::string_view s, Visit&& visit) {
    bool inside = false;
    std::size_t i = 0;
    while (i < s.size()) {
        if (at(s, i, kRegionDelimiter)) {
            inside = !inside;
            for (std::size_t end = i + kRegionDelimiter.size(); i < end; ++i) {
                visit(i, false);
            }
            continue;
        }
        i = visit(i, inside);
    }
}

// "'" and the digits after it, outside text regions, -> "\overline{" digits "}".
std::string periodicToOverline(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    scanRegions(s, [&](std::size_t i, bool inside) -> std::size_t {
        if (inside || s[i] != '\'') {
            out += s[i];
            return i + 1;
        }
        std::size_t end = i + 1;
        while (end < s.size() && isDigit(s[end])) {
            ++end;
        }
        out += "\\overline{";
        out.append(s.substr(i + 1, end - i - 1));
        out += "}";
        return end;
    });
    return out;
}

// Every line break becomes "||". A lone CR or LF is a line break too: written as a single
// "|" it would come back as a bar.
std::string lineBreaksToBars(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\r' || s[i] == '\n') {
            out += "||";
            if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') {
                ++i;
            }
        } else {
            out += s[i];
        }
    }
    return out;
}

// Blanks as "\ " (visible spaces), single "%" as alternating "\left|" and "\right|", "%%" as
// "\Arrowvert ". The delimiters "\backslash " and fractions' "\over " keep their blank. The
// percent sign "\%" is no bar: it goes as it is, which TeX prints as a percent sign and which
// comes back unchanged, and it must not turn the next bar of an absolute value round.
std::string spacingAndBars(std::string_view s) {
    constexpr std::string_view kBackslash = "\\backslash ";
    constexpr std::string_view kOver = "\\over ";
    std::string out;
    out.reserve(s.size() + s.size() / 2);
    bool nextIsLeft = true;
    std::size_t i = 0;
    while (i < s.size()) {
        if (at(s, i, "%%")) {
            out += "\\Arrowvert ";
            i += 2;
        } else if (at(s, i, "\\%") && !at(s, i, "\\%%")) {
            out += "\\%";
            i += 2;
        } else if (at(s, i, kBackslash)) {
            out += kBackslash;
            i += kBackslash.size();
        } else if (at(s, i, kOver)) {
            out += kOver;
            i += kOver.size();
        } else if (s[i] == ' ') {
            out += "\\ ";
            ++i;
        } else if (s[i] == '%' && (i == 0 || s[i - 1] != '%') &&
                   (i + 1 == s.size() || s[i + 1] != '%')) {
            out += nextIsLeft ? "\\left|" : "\\right|";
            nextIsLeft = !nextIsLeft;
            ++i;
        } else {
            out += s[i];
            ++i;
        }
    }
    return out;
}

// Accented vowels inside text regions as vowel and apostrophe, which every TeX editor keeps.
std::string accentsToApostrophes(std::string_view s) {
    static constexpr std::array<std::pair<char, std::string_view>, 6> kAccents{{
        {'\xE0', "a'"},
        {'\xE8', "e'"},
        {'\xE9', "e'"},
        {'\xEC', "i'"},
        {'\xF2', "o'"},
        {'\xF9', "u'"},
    }};
    std::string out;
    out.reserve(s.size() + 8);
    scanRegions(s, [&](std::size_t i, bool inside) -> std::size_t {
        const auto accent = std::find_if(kAccents.begin(), kAccents.end(),
                                         [&](const auto& a) { return a.first == s[i]; });
        if (inside && accent != kAccents.end()) {
            out += accent->second;
        } else {
            out += s[i];
        }
        return i + 1;
    });
    return out;
}

}  // namespace

bool isWholePageScope(std::string_view editmod) {
    return editmod == handoff_text::kWholePageScope;
}

bool handoffSettingsMissing(std::string_view editor, std::string_view scambio) {
    return editor.empty() || scambio.empty();
}

std::string takeHandoffText(std::string_view page, TextSelection selection, bool wholePage) {
    if (wholePage) {
        return std::string(page);
    }
    const std::size_t start = std::min(selection.start, page.size());
    return std::string(page.substr(start, selection.length));
}

std::string pageMessage(int page, std::string_view text) {
    std::string message(handoff_text::kPagePrefix);
    message += std::to_string(page);
    message += "\r\n";
    message += text;
    return message;
}

std::optional<std::string> wrapFormula(std::string_view text, bool printFormulas) {
    std::string body(text);
    if (printFormulas) {
        if (body.empty()) {
            return std::nullopt;
        }
        body = "||" + body + "||";
    }
    const std::string_view trimmed = trimBlanks(body);
    if (trimmed.empty()) {
        return std::string("$ $");
    }
    std::string wrapped = "$";
    wrapped += trimmed;
    wrapped += "$";
    return wrapped;
}

std::string prepareForEditor(std::string_view wrapped) {
    std::string s = fractionsToOver(wrapped);
    s = replaceAll(s, "\\\\", "\\backslash \\backslash ");
    s = rootsWithIndex(s);
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 7> kSigns{{
        {"\\=", "=="},
        {"\\xor", "\\oplus"},
        {"\\discr", "\\triangle"},
        {"\\impl", "\\Rightarrow"},
        {"\\isimpl ", "\\Leftarrow "},
        {"\\iint", "\\int\\int"},
        {"\\iiint", "\\int\\int\\int"},
    }};
    for (const auto& [from, to] : kSigns) {
        s = replaceAll(s, from, to);
    }
    s = periodicToOverline(s);
    s = lineBreaksToBars(s);
    s = replaceAll(s, "\xA7", "^");
    s = replaceAll(s, "\\:", " :");
    if (s.size() > 3) {
        s = spacingAndBars(s);
    }
    return accentsToApostrophes(s);
}

OutgoingFormula prepareOutgoing(std::string_view text, int page, bool printFormulas,
                                const BracketCheck& bracketCheck) {
    OutgoingFormula result;
    const std::optional<std::string> wrapped = wrapFormula(text, printFormulas);
    if (!wrapped) {
        result.outcome = OutgoingFormula::Outcome::NothingToPrint;
        return result;
    }
    if (wrapped->size() > kHandoffFormulaLimit) {
        result.outcome = OutgoingFormula::Outcome::TooLong;
        result.message = pageMessage(page, handoff_text::kTooLong);
        return result;
    }
    if (bracketCheck && bracketCheck(*wrapped) != 0) {
        result.outcome = OutgoingFormula::Outcome::Unbalanced;
        result.message = pageMessage(page, handoff_text::kUnbalanced);
        return result;
    }
    result.exchangeLine = prepareForEditor(*wrapped);
    result.tooLongForEditor = result.exchangeLine.size() > kEditorTextWarningLimit;
    return result;
}

std::string exchangeFileContent(std::string_view exchangeLine) {
    std::string content(exchangeLine);
    content += "\r\n";
    return content;
}

std::optional<std::filesystem::path> exchangeFilePath(const std::filesystem::path& tempFolder,
                                                      std::string_view scambio) {
    const bool plainName =
        !scambio.empty() && scambio != "." && scambio != ".." &&
        std::none_of(scambio.begin(), scambio.end(), [](char c) {
            return c == '/' || c == '\\' || c == '"' || static_cast<unsigned char>(c) < 0x20;
        });
    if (!plainName) {
        return std::nullopt;
    }
    return tempFolder / std::filesystem::path(std::string(scambio));
}

std::optional<std::string> editorCommandLine(std::string_view editor,
                                             std::string_view exchangePath) {
    std::string line(editor);
    line += ' ';
    const bool quote = exchangePath.find_first_of(" \t") != std::string_view::npos;
    if (quote) {
        line += '"';
    }
    line += exchangePath;
    if (quote) {
        line += '"';
    }
    if (line.size() > kEditorCommandLineLimit) {
        return std::nullopt;
    }
    return line;
}

std::string editorStartFailure(std::string_view commandLine) {
    std::string message(handoff_text::kCannotStartEditor);
    message += "\r\n";
    message += commandLine;
    return message;
}

std::string formulaPrintTitle(std::string_view documentPath) {
    std::string title(handoff_text::kFormulaPrintTitle);
    const std::size_t slash = documentPath.find_last_of("/\\");
    title += slash == std::string_view::npos ? documentPath : documentPath.substr(slash + 1);
    return title;
}

}  // namespace notation
