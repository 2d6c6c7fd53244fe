#include "learning/tutor_work_list.h"

#include <array>

#include "notation/braille_numbers.h"
#include "notation/text_scan.h"

namespace learning {
namespace {

using notation::charAt;
using notation::numberDigits;
using notation::trimBlanks;

constexpr std::size_t kMaxUnits = 26;

struct StepName {
    TutorStep step;
    std::string_view caption;
};
constexpr std::array<StepName, 8> kStepNames{{
    {TutorStep::RoundBrackets, "Parentesi tonde"},
    {TutorStep::SquareBrackets, "Parentesi quadre"},
    {TutorStep::Braces, "Parentesi graffe"},
    {TutorStep::ComplexFractions, "Frazioni complesse"},
    {TutorStep::AdditionsSubtractions, "Addizioni e sottrazioni"},
    {TutorStep::MultiplicationsDivisions, "Moltiplicazioni e divisioni"},
    {TutorStep::Powers, "Potenze"},
    {TutorStep::PowerProperties, "Propriet\xE0 delle potenze"},
}};

std::string label(char kind, std::size_t index) {
    return std::string{kind, static_cast<char>('A' + index)};
}

bool isCapital(char c) {
    return c >= 'A' && c <= 'Z';
}

// A letter a-j after a number sign is a digit.
bool isDigitLetter(char c) {
    return c >= 'a' && c <= 'j';
}

// Replaces `length` characters at `pos` by `what`, keeping the blanks at both ends of the
// replaced part where they stood.
void replaceKeepingBlanks(std::string& text, std::size_t pos, std::size_t length,
                          std::string_view what) {
    const std::string_view part = std::string_view(text).substr(pos, length);
    const std::string_view core = trimBlanks(part);
    const std::size_t lead = core.empty() ? 0 : static_cast<std::size_t>(core.data() - part.data());
    text.replace(pos + lead, core.size(), what);
}

// ---- brackets

struct BracketKind {
    char open;
    char close;
    char letter;
    bool negativeNumbers;  // "?-...*" is a bracketed negative number, not a group
};

BracketKind bracketKind(TutorStep step) {
    switch (step) {
        case TutorStep::SquareBrackets:
            return {'{', '}', 'Q', false};
        case TutorStep::Braces:
            return {'&', 'y', 'G', false};
        default:
            return {'?', '*', 'T', true};
    }
}

struct Group {
    std::size_t open = 0;
    std::size_t close = 0;
};

// The first group of the kind that closes, and whether an opening was left without closing.
struct GroupSearch {
    std::optional<Group> group;
    bool unbalanced = false;
};

GroupSearch innermostGroup(std::string_view text, const BracketKind& kind) {
    const std::vector<bool> digits = numberDigits(text);
    struct Opening {
        std::size_t pos;
        bool negative;
    };
    std::vector<Opening> open;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (digits[i]) {
            continue;
        }
        if (text[i] == kind.open) {
            open.push_back({i, kind.negativeNumbers && charAt(text, i + 1) == '-'});
        } else if (text[i] == kind.close) {
            if (open.empty()) {
                return {std::nullopt, true};
            }
            const Opening o = open.back();
            open.pop_back();
            if (!o.negative) {
                return {Group{o.pos, i}, false};
            }
        }
    }
    bool unclosed = false;
    for (const Opening& o : open) {
        unclosed = unclosed || !o.negative;
    }
    return {std::nullopt, unclosed};
}

WorkListResult bracketWorkList(TutorStep step, std::string_view expression) {
    const BracketKind kind = bracketKind(step);
    WorkList list{std::string(expression), {}};
    for (;;) {
        const GroupSearch found = innermostGroup(list.labelled, kind);
        if (found.unbalanced) {
            return {std::nullopt, WorkListError::NotWorkable};
        }
        if (!found.group) {
            break;
        }
        const Group g = *found.group;
        const std::string_view inner =
            std::string_view(list.labelled).substr(g.open + 1, g.close - g.open - 1);
        const std::string content(trimBlanks(inner));
        if (content.empty() || list.units.size() == kMaxUnits) {
            return {std::nullopt, WorkListError::NotWorkable};
        }
        if (equalsInside(content + "=")) {
            return {std::nullopt, WorkListError::EqualsInside};
        }
        WorkUnit unit{label(kind.letter, list.units.size()),
                      list.labelled.substr(g.open, g.close - g.open + 1), content + "="};
        list.labelled.replace(g.open, g.close - g.open + 1, unit.label);
        list.units.push_back(std::move(unit));
    }
    return {std::move(list), std::nullopt};
}

// ---- powers

WorkListResult powerWorkList(std::string_view expression) {
    WorkList list{std::string(expression), {}};
    for (std::size_t close = list.labelled.find('1'); close != std::string::npos;
         close = list.labelled.find('1')) {
        const std::optional<std::size_t> pipe = exponentOpening(list.labelled, close);
        const std::optional<std::size_t> base =
            pipe ? powerBaseStart(list.labelled, *pipe) : std::nullopt;
        if (!base || list.units.size() == kMaxUnits) {
            return {std::nullopt, WorkListError::NotWorkable};
        }
        const std::size_t length = close + 1 - *base;
        WorkUnit unit{label('P', list.units.size()), list.labelled.substr(*base, length),
                      list.labelled.substr(*base, length) + "="};
        list.labelled.replace(*base, length, unit.label);
        list.units.push_back(std::move(unit));
    }
    return {std::move(list), std::nullopt};
}

// ---- runs between separators

// Whether `c`, not a digit of a number, separates runs for the step; `previous` is the cell
// before it.
bool separates(TutorStep step, char c, char previous) {
    std::string_view cells;
    switch (step) {
        case TutorStep::PowerProperties:
            cells = "&*+=?y{}";
            break;
        case TutorStep::MultiplicationsDivisions:
            cells = "&*+146=npy{}";
            break;
        default:
            cells = "&(*/146=npy{}";
            break;
    }
    if (c == '-') {
        return step != TutorStep::AdditionsSubtractions && previous != '?';
    }
    return cells.find(c) != std::string_view::npos;
}

// Whether `text` holds one of `cells` outside numbers.
bool holdsSign(std::string_view text, std::string_view cells) {
    const std::vector<bool> digits = numberDigits(text);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!digits[i] && cells.find(text[i]) != std::string_view::npos) {
            return true;
        }
    }
    return false;
}

bool runQualifies(TutorStep step, std::string_view run, char separator) {
    const std::string_view core = trimBlanks(run);
    if (step == TutorStep::PowerProperties) {
        std::string withSeparator(run);
        if (separator != '\0') {
            withSeparator += separator;
        }
        for (std::string_view pattern : {"1(", "1/", "1#", "1*", "11", "1_", "1 ", "1np"}) {
            if (withSeparator.find(pattern) != std::string::npos) {
                return true;
            }
        }
        return false;
    }
    if (core.size() <= 1) {
        return false;
    }
    if (step == TutorStep::MultiplicationsDivisions) {
        return holdsSign(core, "(/");
    }
    // A sign in front of a number, or a bracketed negative number, is not a subtraction.
    const std::vector<bool> digits = numberDigits(core);
    for (std::size_t i = 0; i < core.size(); ++i) {
        if (digits[i]) {
            continue;
        }
        if (core[i] == '+' || (core[i] == '-' && i > 0 && core[i - 1] != '?')) {
            return true;
        }
    }
    return false;
}

char kindLetter(TutorStep step) {
    switch (step) {
        case TutorStep::PowerProperties:
            return 'X';
        case TutorStep::MultiplicationsDivisions:
            return 'M';
        default:
            return 'A';
    }
}

WorkListResult runWorkList(TutorStep step, std::string_view expression) {
    const std::vector<bool> digits = numberDigits(expression);
    WorkList list;
    const bool keepsNegatives = step != TutorStep::PowerProperties;
    std::size_t pos = 0;
    while (pos <= expression.size()) {
        std::size_t end = pos;
        int negativesOpen = 0;  // "?" opened inside the run, closed by a "*" that stays in it
        for (; end < expression.size(); ++end) {
            const char c = expression[end];
            if (digits[end]) {
                continue;
            }
            if (keepsNegatives && c == '?') {
                ++negativesOpen;
            } else if (keepsNegatives && c == '*' && negativesOpen > 0) {
                --negativesOpen;
                continue;
            }
            if (separates(step, c, end > 0 ? expression[end - 1] : '\0')) {
                break;
            }
        }
        const std::string_view run = expression.substr(pos, end - pos);
        const char separator = charAt(expression, end);
        if (runQualifies(step, run, separator)) {
            if (list.units.size() == kMaxUnits) {
                return {std::nullopt, WorkListError::NotWorkable};
            }
            WorkUnit unit{label(kindLetter(step), list.units.size()), std::string(trimBlanks(run)),
                          std::string(trimBlanks(run)) + "="};
            std::string piece(run);
            replaceKeepingBlanks(piece, 0, piece.size(), unit.label);
            list.labelled += piece;
            list.units.push_back(std::move(unit));
        } else {
            list.labelled += run;
        }
        if (end >= expression.size()) {
            break;
        }
        list.labelled += separator;
        pos = end + 1;
    }
    return {std::move(list), std::nullopt};
}

// ---- complex fractions

constexpr std::string_view kFractionCells = "6np4";
// Stand-ins for the cells of fractions set aside during the analysis.
constexpr std::string_view kSetAside = "\x01\x02\x03\x04";

// Sets aside the fraction cells of every fraction that is not four cells in a row (one that
// holds another fraction).
std::string setAsideOuterFractions(std::string_view expression) {
    std::vector<std::size_t> cells;
    for (std::size_t i = 0; i < expression.size(); ++i) {
        if (kFractionCells.find(expression[i]) != std::string_view::npos) {
            cells.push_back(i);
        }
    }
    std::vector<bool> worked(cells.size(), false);
    for (std::size_t k = 0; k + 3 < cells.size(); ++k) {
        bool inOrder = true;
        for (std::size_t m = 0; m < 4; ++m) {
            inOrder = inOrder && expression[cells[k + m]] == kFractionCells[m];
        }
        if (inOrder) {
            for (std::size_t m = 0; m < 4; ++m) {
                worked[k + m] = true;
            }
            k += 3;
        }
    }
    std::string text(expression);
    for (std::size_t k = 0; k < cells.size(); ++k) {
        if (!worked[k]) {
            text[cells[k]] = kSetAside[kFractionCells.find(text[cells[k]])];
        }
    }
    return text;
}

std::string putBackFractions(std::string text) {
    for (char& c : text) {
        const std::size_t k = kSetAside.find(c);
        if (k != std::string_view::npos) {
            c = kFractionCells[k];
        }
    }
    return text;
}

WorkListResult fractionWorkList(std::string_view expression) {
    WorkList list{setAsideOuterFractions(expression), {}};
    std::string& text = list.labelled;
    std::size_t start = 0;
    for (;;) {
        const std::size_t close = text.find_first_of("n4", start);
        if (close == std::string::npos) {
            break;
        }
        const std::size_t open =
            close == 0 ? std::string::npos : text.find_last_of("6p", close - 1);
        // A closing cell with nothing open before it (or only before the last label) is passed
        // over, so the search always moves on.
        if (open == std::string::npos || open + 1 < start) {
            start = close + 1;
            continue;
        }
        const std::string_view inner = std::string_view(text).substr(open + 1, close - open - 1);
        const std::string content(trimBlanks(inner));
        if (!holdsOperation(content)) {
            start = close + 1;
            continue;
        }
        if (list.units.size() == kMaxUnits) {
            return {std::nullopt, WorkListError::NotWorkable};
        }
        WorkUnit unit{label(text[open] == '6' ? 'N' : 'D', list.units.size()), std::string(inner),
                      content + " ="};
        replaceKeepingBlanks(text, open + 1, close - open - 1, unit.label);
        start = text.find(unit.label, open + 1) + unit.label.size();
        list.units.push_back(std::move(unit));
    }
    text = putBackFractions(std::move(text));
    return {std::move(list), std::nullopt};
}

}  // namespace

std::string_view stepCaption(TutorStep step) {
    for (const StepName& s : kStepNames) {
        if (s.step == step) {
            return s.caption;
        }
    }
    return {};
}

std::optional<TutorStep> stepFromCaption(std::string_view caption) {
    for (const StepName& s : kStepNames) {
        if (s.caption == caption) {
            return s.step;
        }
    }
    return std::nullopt;
}

bool equalsInside(std::string_view text) {
    const std::string_view core = trimBlanks(text);
    const std::vector<bool> digits = numberDigits(core);
    for (std::size_t i = 1; i + 1 < core.size(); ++i) {
        if (core[i] == '=' && !digits[i]) {
            return true;
        }
    }
    return false;
}

std::optional<std::size_t> exponentOpening(std::string_view text, std::size_t close) {
    int depth = 0;
    for (std::size_t k = std::min(close, text.size()); k > 0; --k) {
        const char c = text[k - 1];
        if (c == '1') {
            ++depth;
        } else if (c == '|') {
            if (depth == 0) {
                return k - 1;
            }
            --depth;
        }
    }
    return std::nullopt;
}

std::optional<std::size_t> powerBaseStart(std::string_view text, std::size_t pipe) {
    if (pipe == 0 || pipe > text.size()) {
        return std::nullopt;
    }
    const std::vector<bool> digits = numberDigits(text);
    const std::size_t last = pipe - 1;
    // The opening that matches the closing cell at `last`, nested groups of the same kind
    // counted.
    auto matching = [&](char open, char close) -> std::optional<std::size_t> {
        int depth = 0;
        for (std::size_t k = last + 1; k > 0; --k) {
            if (digits[k - 1]) {
                continue;
            }
            if (text[k - 1] == close) {
                ++depth;
            } else if (text[k - 1] == open && --depth == 0) {
                return k - 1;
            }
        }
        return std::nullopt;
    };
    if (!digits[last]) {
        static constexpr std::array<std::pair<char, char>, 5> kWhole{
            {{'6', '4'}, {'9', 'o'}, {'?', '*'}, {'{', '}'}, {'&', 'y'}}};
        for (const auto& [open, close] : kWhole) {
            if (text[last] == close) {
                if (auto start = matching(open, close)) {
                    return start;
                }
            }
        }
        if (isCapital(text[last]) && last > 0 && isCapital(text[last - 1])) {
            return last - 1;  // a label standing for a worked part
        }
    }
    std::size_t k = pipe;
    while (k > 0 && (digits[k - 1] || isDigitLetter(text[k - 1]))) {
        --k;
    }
    if (k < pipe && k > 0 && text[k - 1] == notation::kNumberSign) {
        return k - 1;
    }
    if (notation::isLowerLetter(text[last])) {
        return last;
    }
    return std::nullopt;
}

bool holdsOperation(std::string_view part) {
    const std::vector<bool> digits = numberDigits(part);
    for (std::size_t i = 0; i < part.size(); ++i) {
        if (digits[i]) {
            continue;
        }
        const char c = part[i];
        if (c == '(' || c == '+' || c == '/' || c == '1' ||
            (c == '-' && (i == 0 || part[i - 1] != '?'))) {
            return true;
        }
    }
    return false;
}

WorkListResult buildWorkList(TutorStep step, std::string_view expression) {
    if (equalsInside(expression)) {
        return {std::nullopt, WorkListError::EqualsInside};
    }
    // The final "=" only ends the expression: a number written in lower digits before it
    // must not take it for a digit.
    const bool finalEquals = !expression.empty() && expression.back() == '=';
    if (finalEquals) {
        expression.remove_suffix(1);
    }
    WorkListResult result;
    switch (step) {
        case TutorStep::RoundBrackets:
        case TutorStep::SquareBrackets:
        case TutorStep::Braces:
            result = bracketWorkList(step, expression);
            break;
        case TutorStep::Powers:
            result = powerWorkList(expression);
            break;
        case TutorStep::ComplexFractions:
            result = fractionWorkList(expression);
            break;
        default:
            result = runWorkList(step, expression);
            break;
    }
    if (result.list && result.list->units.empty()) {
        return {std::nullopt, WorkListError::NotWorkable};
    }
    if (result.list && finalEquals) {
        result.list->labelled += '=';
    }
    return result;
}

std::optional<std::string> unitAnswer(const WorkUnit& unit, std::string_view workLine) {
    // The student writes after the work line as it was listed; a line changed some other way
    // is read from its first "=".
    std::string_view answers;
    if (workLine.substr(0, unit.line.size()) == unit.line) {
        answers = workLine.substr(unit.line.size());
    } else {
        const std::vector<bool> digits = numberDigits(workLine);
        std::size_t first = 0;
        while (first < workLine.size() && (workLine[first] != '=' || digits[first])) {
            ++first;
        }
        if (first == workLine.size()) {
            return std::nullopt;
        }
        answers = workLine.substr(first + 1);
    }
    const std::vector<bool> digits = numberDigits(answers);
    std::optional<std::string> answer;
    std::size_t partStart = 0;
    for (std::size_t i = 0; i <= answers.size(); ++i) {
        if (i < answers.size() && (answers[i] != '=' || digits[i])) {
            continue;
        }
        const std::string_view part = trimBlanks(answers.substr(partStart, i - partStart));
        if (!part.empty()) {
            answer = std::string(part);
        }
        partStart = i + 1;
    }
    return answer;
}

std::string resultLine(const WorkList& list, const std::vector<std::string>& workLines) {
    std::string text = list.labelled;
    // Outer units were built last and may hold the labels of inner ones: put them in first.
    for (std::size_t k = list.units.size(); k > 0; --k) {
        const WorkUnit& unit = list.units[k - 1];
        std::optional<std::string> answer;
        if (k - 1 < workLines.size()) {
            answer = unitAnswer(unit, workLines[k - 1]);
        }
        const std::size_t at = text.find(unit.label);
        if (at != std::string::npos) {
            text.replace(at, unit.label.size(), answer ? *answer : unit.original);
        }
    }
    if (text.empty() || text.front() != '=') {
        text.insert(text.begin(), '=');
    }
    if (text.size() > 1 && text.back() == '=') {
        text.pop_back();
    }
    return text;
}

}  // namespace learning
