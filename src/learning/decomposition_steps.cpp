#include "learning/decomposition_steps.h"

#include <vector>

#include "learning/messages.h"
#include "ui/text_trim.h"

namespace learning {
namespace {

constexpr std::string_view kKeepsNumber = "()*+,/:;=?";
constexpr std::string_view kGroupWork = "(+-/146np";
constexpr std::size_t npos = std::string_view::npos;

struct CellState {
    bool number = false;    // in a number (after '#' and its lower digits)
    bool exponent = false;  // between '|' and '1'
};

// The flags after each cell.
std::vector<CellState> cellStates(std::string_view cells) {
    std::vector<CellState> states(cells.size());
    CellState s;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const char c = cells[i];
        if (c == '#') {
            s.number = true;
        } else if (c == '|') {
            s.exponent = true;
        } else if (c == '1') {
            s.exponent = false;
        } else if (kKeepsNumber.find(c) == npos) {
            s.number = false;
        }
        states[i] = s;
    }
    return states;
}

bool outside(const CellState& s) {
    return !s.number && !s.exponent;
}

// Whether the '?' at `i` opens a group to work on, not a bracketed negative number.
bool countedRound(std::string_view cells, const std::vector<CellState>& states, std::size_t i) {
    const bool minus = i + 1 < cells.size() && cells[i + 1] == '-';
    if (outside(states[i]) && !minus) {
        return true;
    }
    const std::size_t from = i + (minus ? 2 : 1);
    std::size_t to = cells.find('*', from);
    to = to == npos ? cells.size() : to;
    return from < to && cells.substr(from, to - from).find_first_of(kGroupWork) != npos;
}

enum class Role { Other, MulDiv, AddSub, Boundary };

Role roleOf(std::string_view cells, const std::vector<CellState>& states, std::size_t i) {
    if (!outside(states[i])) {
        return Role::Other;
    }
    switch (cells[i]) {
        case '(':
        case '/':
            return Role::MulDiv;
        case '+':
            return Role::AddSub;
        case '-':
            return i > 0 && cells[i - 1] == '?' ? Role::Other : Role::AddSub;
        case '=':
        case ' ':
            return Role::Boundary;
        default:
            return Role::Other;
    }
}

bool isOpening(char c) {
    return c == '?' || c == '{' || c == '&';
}
bool isClosing(char c) {
    return c == '*' || c == '}' || c == 'y';
}

// How many brackets are open after each cell (lower digits in numbers are not brackets).
std::vector<int> depths(std::string_view cells, const std::vector<CellState>& states) {
    std::vector<int> d(cells.size());
    int depth = 0;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (!states[i].number && isOpening(cells[i])) {
            ++depth;
        } else if (!states[i].number && isClosing(cells[i]) && depth > 0) {
            --depth;
        }
        d[i] = depth;
    }
    return d;
}

// The operand run around position `at` (an operator, or a cell inside an operand), between
// the separating operators at bracket depth 0.
WorkPiece operandsAround(std::string_view cells, std::size_t at, bool isOperator) {
    const std::vector<CellState> states = cellStates(cells);
    const std::vector<int> depth = depths(cells, states);
    auto separates = [&](std::size_t i) {
        return depth[i] == 0 && roleOf(cells, states, i) != Role::Other;
    };
    std::size_t start = at;
    while (start > 0 && !separates(start - 1)) {
        --start;
    }
    std::size_t end = at + (isOperator ? 1 : 0);
    while (end < cells.size() && !separates(end)) {
        ++end;
    }
    return {start, end - start, std::string(cells.substr(start, end - start))};
}

std::string counted(std::string_view caption, int count) {
    return std::string(caption) + " (" + std::to_string(count) + ")";
}

}  // namespace

WorkCounts countWork(std::string_view cells) {
    const std::vector<CellState> states = cellStates(cells);
    WorkCounts n;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const char c = cells[i];
        if (c == '1') {
            ++n.exponents;
        } else if (c == '?') {
            n.round += countedRound(cells, states, i) ? 1 : 0;
        } else if (outside(states[i]) && c == '{') {
            ++n.square;
        } else if (outside(states[i]) && c == '&') {
            ++n.brace;
        } else {
            const Role role = roleOf(cells, states, i);
            n.mulDiv += role == Role::MulDiv ? 1 : 0;
            n.addSub += role == Role::AddSub ? 1 : 0;
        }
    }
    return n;
}

Stage stageOf(const WorkCounts& n) {
    if (n.round > 0) {
        return {StepKind::Round, n.round};
    }
    if (n.square > 0) {
        return {StepKind::Square, n.square};
    }
    if (n.brace > 0) {
        return {StepKind::Brace, n.brace};
    }
    if (n.mulDiv > 0) {
        return {StepKind::MulDiv, n.mulDiv};
    }
    if (n.addSub > 0 || n.exponents > 0) {
        return {StepKind::Final, 0};
    }
    return {};
}

InnerStage innerStageOf(const WorkCounts& n) {
    const int classes = (n.exponents > 0) + (n.mulDiv > 0) + (n.addSub > 0);
    if (classes < 2) {
        return {};
    }
    if (n.exponents > 0) {
        return {InnerKind::Powers, n.exponents};
    }
    return {InnerKind::MulDiv, n.mulDiv};
}

std::string stepCaption(StepKind kind, int count) {
    switch (kind) {
        case StepKind::Round:
            return counted(messages::kRoundGroups, count);
        case StepKind::Square:
            return counted(messages::kSquareGroups, count);
        case StepKind::Brace:
            return counted(messages::kBraceGroups, count);
        case StepKind::MulDiv:
            return counted(messages::kMulDiv, count);
        default:
            return {};
    }
}

std::string innerCaption(InnerKind kind, int count) {
    switch (kind) {
        case InnerKind::Powers:
            return counted(messages::kPowers, count);
        case InnerKind::MulDiv:
            return counted(messages::kMulDiv, count);
        default:
            return {};
    }
}

std::optional<WorkPiece> nextGroup(std::string_view cells, StepKind kind) {
    const std::vector<CellState> states = cellStates(cells);
    char open = '?';
    char close = '*';
    if (kind == StepKind::Square) {
        open = '{';
        close = '}';
    } else if (kind == StepKind::Brace) {
        open = '&';
        close = 'y';
    } else if (kind != StepKind::Round) {
        return std::nullopt;
    }
    auto opens = [&](std::size_t i) {
        if (cells[i] != open) {
            return false;
        }
        return kind == StepKind::Round ? countedRound(cells, states, i) : outside(states[i]);
    };
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (!opens(i)) {
            continue;
        }
        // Its closing bracket, passing over the brackets of the same kind inside it.
        int depth = 0;
        bool holdsGroup = false;
        for (std::size_t j = i + 1; j < cells.size(); ++j) {
            if (states[j].number) {
                continue;
            }
            if (cells[j] == open) {
                holdsGroup = holdsGroup || opens(j);
                ++depth;
            } else if (cells[j] == close && depth > 0) {
                --depth;
            } else if (cells[j] == close) {
                if (holdsGroup) {
                    break;  // an inner group comes first
                }
                return WorkPiece{i, j + 1 - i, std::string(cells.substr(i + 1, j - i - 1))};
            }
        }
    }
    return std::nullopt;
}

std::optional<WorkPiece> nextOperation(std::string_view cells) {
    const std::vector<CellState> states = cellStates(cells);
    const std::vector<int> depth = depths(cells, states);
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (depth[i] == 0 && roleOf(cells, states, i) == Role::MulDiv) {
            return operandsAround(cells, i, true);
        }
    }
    return std::nullopt;
}

std::optional<WorkPiece> nextPower(std::string_view cells) {
    const std::vector<CellState> states = cellStates(cells);
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (cells[i] == '|' && (i == 0 || !states[i - 1].exponent)) {
            return operandsAround(cells, i, false);
        }
    }
    return std::nullopt;
}

std::string valueToStore(std::string_view typed) {
    const std::string value(ui::trimBlanks(typed));
    return !value.empty() && value[0] == '-' ? "?" + value + "*" : value;
}

bool bracketsBalance(std::string_view value) {
    int balance = 0;
    for (char c : value) {
        balance += isOpening(c) ? 1 : (isClosing(c) ? -1 : 0);
    }
    return balance == 0;
}

}  // namespace learning
