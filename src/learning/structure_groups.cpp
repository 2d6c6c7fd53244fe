#include "learning/structure_groups.h"

#include "learning/messages.h"
#include "learning/text_box_rows.h"
#include "notation/text_scan.h"
#include "speech/rendering_tables.h"
#include "ui/text_trim.h"

namespace learning {
namespace {

using notation::at;

struct BracketSigns {
    std::string_view open;
    std::string_view close;
};

constexpr std::array<GroupKind, 3> kKinds = {GroupKind::Round, GroupKind::Square, GroupKind::Brace};
constexpr std::string_view kTextRegion = "\\\\";

BracketSigns signsOf(GroupKind kind, bool braille) {
    switch (kind) {
        case GroupKind::Round:
            return braille ? BracketSigns{"?", "*"} : BracketSigns{"(", ")"};
        case GroupKind::Square:
            return braille ? BracketSigns{"{", "}"} : BracketSigns{"[", "]"};
        case GroupKind::Brace:
            break;
    }
    return braille ? BracketSigns{"&", "y"} : BracketSigns{"\\{", "\\}"};
}

bool isKindLetter(char c) {
    return c == 'T' || c == 'Q' || c == 'G';
}

// The delimiters a label of kind `letter` shows with.
BracketSigns shownDelimiters(char letter, bool braille) {
    if (!braille && letter == 'T') {
        return {"(", ")"};
    }
    if (!braille && letter == 'Q') {
        return {"[", "]"};
    }
    return {"\xA0", "\xA0"};
}

std::string shownLabel(char letter, char number, bool braille) {
    const BracketSigns d = shownDelimiters(letter, braille);
    return std::string(d.open) + letter + number + std::string(d.close);
}

bool shownLabelAt(std::string_view text, std::size_t pos, bool braille) {
    if (pos + 3 >= text.size() || !isKindLetter(text[pos + 1])) {
        return false;
    }
    const BracketSigns d = shownDelimiters(text[pos + 1], braille);
    return labelAt(text, pos) || (at(text, pos, d.open) && at(text, pos + 3, d.close));
}

}  // namespace

std::size_t findOutsideLabels(std::string_view text, char what, std::size_t from, bool braille) {
    for (std::size_t i = from; i < text.size(); ++i) {
        if (shownLabelAt(text, i, braille)) {
            i += 3;
        } else if (text[i] == what) {
            return i;
        }
    }
    return std::string_view::npos;
}

namespace {

// Calls `visit(pos)` for every position outside text regions and labels; `visit` returns the
// number of cells it took (0 to go on cell by cell) or npos to stop.
template <class Visit>
void scanCells(std::string_view text, Visit visit) {
    bool region = false;
    std::size_t i = 0;
    while (i < text.size()) {
        if (at(text, i, kTextRegion)) {
            region = !region;
            i += kTextRegion.size();
        } else if (labelAt(text, i)) {
            i += 4;
        } else if (region) {
            ++i;
        } else {
            const std::size_t taken = visit(i);
            if (taken == std::string_view::npos) {
                return;
            }
            i += taken == 0 ? 1 : taken;
        }
    }
}

struct GroupPlace {
    std::size_t open = std::string_view::npos;
    std::size_t close = std::string_view::npos;
};

// The innermost group of `signs`: the last opening sign before the first closing sign that has
// one. A closing sign without an opening one before it is passed over.
GroupPlace innermostGroup(std::string_view text, BracketSigns signs) {
    GroupPlace found;
    std::size_t lastOpen = std::string_view::npos;
    scanCells(text, [&](std::size_t i) -> std::size_t {
        if (at(text, i, signs.open)) {
            lastOpen = i;
            return signs.open.size();
        }
        if (at(text, i, signs.close)) {
            if (lastOpen == std::string_view::npos) {
                return signs.close.size();
            }
            found = {lastOpen, i};
            return std::string_view::npos;
        }
        return 0;
    });
    return found;
}

std::string ordinal(std::size_t number) {
    if (number >= 1 && number <= speech::rendering_words::kOrdinals.size()) {
        return std::string(speech::rendering_words::kOrdinals[number - 1]);
    }
    const std::size_t past = number - speech::rendering_words::kOrdinals.size() - 1;
    return past < messages::kOrdinalsPastNine.size()
               ? std::string(messages::kOrdinalsPastNine[past])
               : std::string();
}

}  // namespace

char kindLetter(GroupKind kind) {
    switch (kind) {
        case GroupKind::Round:
            return 'T';
        case GroupKind::Square:
            return 'Q';
        case GroupKind::Brace:
            break;
    }
    return 'G';
}

std::string groupLabel(GroupKind kind, std::size_t number) {
    return std::string(1, kLabelMark) + kindLetter(kind) + static_cast<char>('0' + number) +
           kLabelMark;
}

bool labelAt(std::string_view text, std::size_t pos) {
    return pos + 3 < text.size() && text[pos] == kLabelMark && isKindLetter(text[pos + 1]) &&
           text[pos + 3] == kLabelMark;
}

std::string bracketList(std::string_view expression, bool braille) {
    std::string list;
    scanCells(expression, [&](std::size_t i) -> std::size_t {
        for (GroupKind kind : kKinds) {
            const BracketSigns s = signsOf(kind, braille);
            for (std::string_view sign : {s.open, s.close}) {
                if (at(expression, i, sign)) {
                    list += std::string(sign) + ' ';
                    return sign.size();
                }
            }
        }
        return 0;
    });
    return list;
}

GroupStructure extractGroups(std::string_view expression, bool braille) {
    GroupStructure result;
    result.line = std::string(expression);
    for (GroupKind kind : kKinds) {
        const BracketSigns signs = signsOf(kind, braille);
        std::vector<std::string>& list = result.contents[static_cast<std::size_t>(kind)];
        for (;;) {
            const GroupPlace g = innermostGroup(result.line, signs);
            if (g.close == std::string_view::npos) {
                break;
            }
            if (list.size() == kMaxGroupsOfAKind) {
                result.tooManyGroups = true;
                return result;
            }
            const std::size_t from = g.open + signs.open.size();
            list.push_back(result.line.substr(from, g.close - from));
            result.line.replace(g.open, g.close + signs.close.size() - g.open,
                                groupLabel(kind, list.size()));
        }
    }
    return result;
}

std::string labelsForDisplay(std::string_view text, bool braille) {
    std::string shown(text);
    if (braille) {
        return shown;
    }
    for (std::size_t i = 0; i < shown.size(); ++i) {
        if (labelAt(shown, i)) {
            const BracketSigns d = shownDelimiters(shown[i + 1], false);
            shown.replace(i + 3, 1, d.close);
            shown.replace(i, 1, d.open);
            i += 3;
        }
    }
    return shown;
}

std::string structureLineText(const GroupStructure& groups, bool braille) {
    std::string line = labelsForDisplay(groups.line, braille);
    if (line.empty() || line.back() != '=') {
        line += " =";
    }
    return line;
}

std::vector<std::string> contentLines(const GroupStructure& groups, bool braille) {
    std::vector<std::string> lines;
    for (GroupKind kind : {GroupKind::Brace, GroupKind::Square, GroupKind::Round}) {
        const std::vector<std::string>& list = groups.contents[static_cast<std::size_t>(kind)];
        if (list.empty()) {
            continue;
        }
        if (!lines.empty()) {
            lines.emplace_back();
        }
        for (std::size_t n = 1; n <= list.size(); ++n) {
            lines.push_back(std::string(1, kindLetter(kind)) + static_cast<char>('0' + n) + "  " +
                            labelsForDisplay(list[n - 1], braille) + " =");
        }
    }
    return lines;
}

std::string groupName(std::string_view contentLine) {
    if (contentLine.size() < 2) {
        return {};
    }
    std::string_view kind;
    switch (contentLine[0]) {
        case 'T':
            kind = messages::kRoundGroup;
            break;
        case 'Q':
            kind = messages::kSquareGroup;
            break;
        case 'G':
            kind = messages::kBraceGroup;
            break;
        default:
            return {};
    }
    const int number = contentLine[1] - '0';
    if (number < 1 || number > static_cast<int>(kMaxGroupsOfAKind)) {
        return {};
    }
    return std::string(kind) + ordinal(static_cast<std::size_t>(number));
}

bool substituteValues(std::string& structureLine, std::vector<std::string>& contents,
                      bool braille) {
    bool changed = false;
    for (std::size_t i = 0; i < contents.size(); ++i) {
        const std::string& line = contents[i];
        if (line.size() < 2 || line.back() == '=' || groupName(line).empty()) {
            continue;
        }
        const std::size_t equals = findOutsideLabels(line, '=', 2, braille);
        if (equals == std::string::npos) {
            continue;
        }
        const std::string value(ui::trimBlanks(std::string_view(line).substr(equals + 1)));
        if (value.empty()) {
            continue;
        }
        const std::string label = shownLabel(line[0], line[1], braille);
        if (const std::size_t p = structureLine.find(label); p != std::string::npos) {
            structureLine.replace(p, label.size(), value);
            changed = true;
        }
        for (std::string& other : contents) {
            if (const std::size_t p = other.find(label, 3); p != std::string::npos) {
                other.replace(p, label.size(), value);
                changed = true;
            }
        }
    }
    return changed;
}

std::string storedStructure(std::string_view initialExpression, std::string_view structureBox,
                            bool braille) {
    std::vector<std::string> lines = splitLines(structureBox);
    const std::string text(structureBox);
    const std::size_t equals = findOutsideLabels(text, '=', 0, braille);
    if (equals == std::string::npos) {
        return {};
    }
    const std::size_t end = text.find("\r\n", equals);
    const std::string result(
        ui::trimBlanks(std::string_view(text).substr(equals + 1, end - equals - 1)));
    if (result.empty()) {
        return {};
    }
    lines[0] = std::string(initialExpression);
    lines.push_back(result);
    lines.emplace_back();
    return joinLines(lines);
}

}  // namespace learning
