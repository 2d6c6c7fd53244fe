#include "learning/tutor_menu.h"

#include <vector>

#include "learning/messages.h"
#include "notation/braille_numbers.h"
#include "notation/text_scan.h"

namespace learning {
namespace {

using notation::at;
using notation::charAt;
using notation::numberDigits;

constexpr std::string_view kRegionDelimiter = "\\\\";

// For each cell, whether it counts for the analysis: not a digit of a number and not inside a
// text region (delimiters included).
std::vector<bool> mathematicsCells(std::string_view line) {
    const std::vector<bool> digits = numberDigits(line);
    std::vector<bool> counts(line.size(), false);
    bool inRegion = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (at(line, i, kRegionDelimiter)) {
            inRegion = !inRegion;
            ++i;
            continue;
        }
        counts[i] = !inRegion && !digits[i];
    }
    return counts;
}

void setFlags(std::string_view line, StepFlags& f) {
    const std::vector<bool> counts = mathematicsCells(line);
    int minuses = 0;
    bool leadingMinus = false;
    bool plus = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (!counts[i]) {
            continue;
        }
        const char c = line[i];
        const bool negativeNumber = charAt(line, i + 1) == '-';
        switch (c) {
            case '?':
                f.round = f.round || !negativeNumber;
                break;
            case '{':
                f.square = f.square || !negativeNumber;
                break;
            case '&':
                f.braces = f.braces || !negativeNumber;
                break;
            case '1':
                f.exponents = true;
                break;
            case '(':
            case '/':
                f.products = true;
                break;
            case '+':
                f.sums = plus = true;
                break;
            case '-':
                // The sign of a bracketed negative number is no subtraction.
                if (i == 0 || line[i - 1] != '?') {
                    f.sums = true;
                    ++minuses;
                    leadingMinus = leadingMinus || i < 2;
                }
                break;
            default:
                break;
        }
    }
    if (minuses == 1 && leadingMinus && !plus) {
        f.sums = false;
    }
}

// The content of the innermost bracket group of any kind, or the whole line without one.
std::string_view innermostContent(std::string_view line) {
    const std::vector<bool> counts = mathematicsCells(line);
    struct Opening {
        std::size_t pos;
        bool negative;
    };
    std::vector<Opening> open;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (!counts[i]) {
            continue;
        }
        const char c = line[i];
        if (c == '?' || c == '{' || c == '&') {
            open.push_back({i, c == '?' && charAt(line, i + 1) == '-'});
        } else if ((c == '*' || c == '}' || c == 'y') && !open.empty()) {
            const Opening o = open.back();
            open.pop_back();
            if (!o.negative) {
                return line.substr(o.pos + 1, i - o.pos - 1);
            }
        }
    }
    return line;
}

struct Power {
    std::size_t baseStart = 0;
    std::size_t pipe = 0;
    std::size_t close = 0;
    std::string_view base;
    std::string_view exponent;
};

std::vector<Power> powersOf(std::string_view text) {
    const std::vector<bool> counts = mathematicsCells(text);
    std::vector<Power> powers;
    for (std::size_t close = 0; close < text.size(); ++close) {
        if (!counts[close] || text[close] != '1') {
            continue;
        }
        const auto pipe = exponentOpening(text, close);
        const auto base = pipe ? powerBaseStart(text, *pipe) : std::nullopt;
        if (base) {
            powers.push_back({*base, *pipe, close, text.substr(*base, *pipe - *base),
                              text.substr(*pipe + 1, close - *pipe - 1)});
        }
    }
    return powers;
}

bool akin(const Power& a, const Power& b) {
    return a.base == b.base || a.exponent == b.exponent;
}

void examinePowers(std::string_view structural, StepFlags& f) {
    const std::vector<Power> powers = powersOf(structural);
    for (const Power& p : powers) {
        for (const Power& q : powers) {
            if (q.baseStart <= p.close) {
                continue;
            }
            const std::string_view between =
                structural.substr(p.close + 1, q.baseStart - p.close - 1);
            // A power multiplied or divided by a power.
            if ((between == "(" || between == "/") && akin(p, q)) {
                f.properties = true;
            }
            // A fraction of powers.
            if (between == "np" && p.baseStart > 0 && structural[p.baseStart - 1] == '6' &&
                charAt(structural, q.close + 1) == '4') {
                f.fractionOfPowers = true;
                f.properties = f.properties || akin(p, q);
            }
        }
        // A bracketed power raised to a power.
        if (structural[p.baseStart] == '?' && structural[p.pipe - 1] == '*') {
            for (const Power& inner : powers) {
                if (inner.baseStart == p.baseStart + 1 && inner.close + 2 == p.pipe) {
                    f.properties = true;
                }
            }
        }
    }
}

// More than one of the expressions that the line's "="s part still holds an operation.
bool severalWays(std::string_view line) {
    const std::vector<bool> counts = mathematicsCells(line);
    int working = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= line.size(); ++i) {
        if (i < line.size() && !(counts[i] && line[i] == '=')) {
            continue;
        }
        const std::string_view part = notation::trimBlanks(line.substr(start, i - start));
        if (holdsOperation(part)) {
            ++working;
        }
        start = i + 1;
    }
    return working > 1;
}

}  // namespace

std::string StepFlags::text() const {
    std::string t(10, '0');
    const bool set[10] = {round,    square, braces, exponents,        properties,
                          products, sums,   false,  fractionOfPowers, fractionRelation};
    for (std::size_t i = 0; i < t.size(); ++i) {
        t[i] = set[i] ? '1' : '0';
    }
    return t;
}

TutorAnalysis analyseTutorLine(std::string_view line) {
    TutorAnalysis a;
    a.line = std::string(line);
    if (a.line.empty() || a.line.back() != '=') {
        a.line += '=';
    }
    for (char c : a.line) {
        if (c != ' ') {
            a.structural += c;
        }
    }
    const WorkListResult fractions =
        buildWorkList(TutorStep::ComplexFractions, innermostContent(a.line));
    a.flags.fractionRelation = fractions.list.has_value();
    setFlags(a.line, a.flags);
    examinePowers(a.structural, a.flags);
    a.severalWays = severalWays(a.line);
    return a;
}

std::optional<StepRefusal> checkStep(const TutorAnalysis& analysis, TutorStep step,
                                     int sequenceMode) {
    if (analysis.severalWays) {
        return StepRefusal::SeveralWays;
    }
    const StepFlags& f = analysis.flags;
    const bool fraction = f.fractionRelation;
    // A step the line does not hold: said so, unless a complex fraction is waiting anyway.
    auto absent = [fraction](StepRefusal none) { return fraction ? StepRefusal::Sequence : none; };
    auto sequenceIf = [](bool earlier) -> std::optional<StepRefusal> {
        if (earlier) {
            return StepRefusal::Sequence;
        }
        return std::nullopt;
    };
    switch (step) {
        case TutorStep::RoundBrackets:
            return f.round ? sequenceIf(fraction) : absent(StepRefusal::NoRoundBrackets);
        case TutorStep::SquareBrackets:
            return f.square ? sequenceIf(fraction || (sequenceMode == 2 && f.round))
                            : absent(StepRefusal::NoSquareBrackets);
        case TutorStep::Braces:
            return f.braces ? sequenceIf(fraction || (sequenceMode == 2 && (f.round || f.square)))
                            : absent(StepRefusal::NoBraces);
        case TutorStep::ComplexFractions:
            return fraction ? std::nullopt : std::optional(StepRefusal::NoComplexFractions);
        case TutorStep::Powers:
            return f.exponents ? sequenceIf(f.brackets() || f.properties || fraction)
                               : absent(StepRefusal::NoPowers);
        case TutorStep::PowerProperties:
            return f.properties ? sequenceIf(f.brackets() || fraction)
                                : absent(StepRefusal::NoProperties);
        case TutorStep::MultiplicationsDivisions:
            return f.products ? sequenceIf(f.brackets() || f.exponents || f.properties || fraction)
                              : absent(StepRefusal::NoProducts);
        case TutorStep::AdditionsSubtractions:
            return f.sums ? sequenceIf(f.brackets() || f.exponents || f.properties || f.products ||
                                       fraction)
                          : absent(StepRefusal::NoSums);
    }
    return std::nullopt;
}

std::string_view refusalMessage(StepRefusal refusal) {
    namespace msg = messages;
    switch (refusal) {
        case StepRefusal::Sequence:
            return msg::kTutorSequence;
        case StepRefusal::NoPowers:
            return msg::kNoPowers;
        case StepRefusal::NoProperties:
            return msg::kNoProperties;
        case StepRefusal::NoProducts:
            return msg::kNoProducts;
        case StepRefusal::NoSums:
            return msg::kNoSums;
        case StepRefusal::NoRoundBrackets:
            return msg::kNoRoundBrackets;
        case StepRefusal::NoSquareBrackets:
            return msg::kNoSquareBrackets;
        case StepRefusal::NoBraces:
            return msg::kNoBraces;
        case StepRefusal::NoComplexFractions:
            return msg::kNoComplexFractions;
        case StepRefusal::SeveralWays:
            return msg::kTutorSeveralWays;
    }
    return {};
}

}  // namespace learning
