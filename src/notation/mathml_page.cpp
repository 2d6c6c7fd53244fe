#include "notation/mathml_page.h"

#include "notation/mathml_code.h"
#include "notation/mathml_tables.h"
#include "ui/text_trim.h"

#include <algorithm>
#include <functional>
#include <optional>

namespace notation {

namespace {

constexpr std::string_view kMathOpen =
    "<math xmlns=\"http://www.w3.org/1998/Math/MathML\" display=\"block\">";
constexpr std::string_view kEmptyRow = "<mrow></mrow>";
constexpr std::string_view kTextOpen = "<center><b>";
constexpr std::string_view kTextClose = "</b></center>";
constexpr std::string_view kRegionDelimiter = "\\\\";

// Deeper nesting than this is written flat: a page of nothing but opening brackets must not
// exhaust the stack.
constexpr int kMaxNesting = 64;

// One piece of a row of MathML. Numbers, letters and operators next to one another of the
// same kind are written as one element; every other piece is already a whole element.
struct Item {
    enum class Kind { Number, Letter, Operator, Element, Blank };
    Kind kind = Kind::Element;
    std::string text;
    bool opensNumber = false;  // the first digits of a number
    bool lowerLetter = false;
    bool operatorLike = false;  // an element that spaces itself like an operator
    // An index (msub) keeps its base and index apart, so that an exponent after it makes one
    // msubsup of the three.
    std::string indexBase{};
    std::string index{};
};
using Row = std::vector<Item>;

Item element(std::string markup) {
    return {Item::Kind::Element, std::move(markup)};
}

Item operatorElement(std::string markup) {
    Item item = element(std::move(markup));
    item.operatorLike = true;
    return item;
}

bool spacesItself(const Item& item) {
    return item.kind == Item::Kind::Operator || item.operatorLike;
}

std::string tokenElement(std::string_view tag, std::string_view content) {
    std::string out = "<";
    out += tag;
    out += ">";
    out += content;
    out += "</";
    out += tag;
    out += ">\r\n";
    return out;
}

// A cell without meaning goes into the element of its kind: letters mi, digits mn, others mo.
Item otherItem(std::string text) {
    const char first = text.empty() ? ' ' : text.front();
    Item item;
    item.text = std::move(text);
    if ((first >= 'a' && first <= 'z') || (first >= 'A' && first <= 'Z')) {
        item.kind = Item::Kind::Letter;
    } else if (first >= '0' && first <= '9') {
        item.kind = Item::Kind::Number;
    } else {
        item.kind = Item::Kind::Operator;
    }
    return item;
}

struct Rendered {
    std::string markup;
    int elements = 0;
};

Rendered render(const Row& row) {
    Rendered out;
    for (std::size_t i = 0; i < row.size();) {
        const Item& item = row[i];
        if (item.kind == Item::Kind::Blank) {
            // Signs kept apart by the student must not read as one; next to an operator the
            // operator's own spacing is enough.
            if (i > 0 && i + 1 < row.size() && !spacesItself(row[i - 1]) &&
                row[i + 1].kind != Item::Kind::Blank && !spacesItself(row[i + 1])) {
                out.markup += "<mspace width=\"0.5em\"/>\r\n";
                ++out.elements;
            }
            ++i;
            continue;
        }
        ++out.elements;
        if (item.kind == Item::Kind::Element) {
            out.markup += item.text;
            ++i;
            continue;
        }
        std::string run;
        std::size_t j = i;
        for (; j < row.size() && row[j].kind == item.kind; ++j) {
            run += row[j].text;
        }
        const std::string_view tag = item.kind == Item::Kind::Number   ? "mn"
                                     : item.kind == Item::Kind::Letter ? "mi"
                                                                       : "mo";
        out.markup += tokenElement(tag, run);
        i = j;
    }
    return out;
}

// A row as the one child of a script or root: itself when it is one element, else in an mrow.
std::string single(const Row& row) {
    Rendered r = render(row);
    if (r.elements == 1) {
        return std::move(r.markup);
    }
    return "<mrow>" + r.markup + "</mrow>";
}

std::string inRow(const Row& row) {
    return "<mrow>" + render(row).markup + "</mrow>";
}

std::string overlined(std::string_view content) {
    std::string out = "<mover accent=\"true\"><mrow>";
    out += content;
    out += "</mrow><mo>&OverBar;</mo></mover>\r\n";
    return out;
}

using Stop = std::function<bool(const MathToken&)>;

bool isOpenRound(const MathToken& t) {
    return t.code == MathCode::Open && t.text == "(";
}

class Parser {
public:
    Parser(const std::vector<MathToken>& tokens, std::string_view cells) : t_(tokens) {
        pairExponents(cells);
    }

    std::string content() {
        std::size_t pos = 0;
        return render(parseRow(pos, t_.size(), nullptr)).markup;
    }

private:
    void pairExponents(std::string_view cells) {
        ExponentPairing pairing = notation::pairExponents(t_, cells);
        match_ = std::move(pairing.match);
        shortEnd_ = std::move(pairing.shortEnd);
    }

    Row parseRow(std::size_t& pos, std::size_t end, const Stop& stop) {
        Row row;
        while (pos < end && !(stop && stop(t_[pos]))) {
            parseItem(pos, end, row, stop);
        }
        return row;
    }

    Row parseRange(std::size_t from, std::size_t to) {
        std::size_t pos = from;
        return parseRow(pos, to, nullptr);
    }

    // Reads one sign (with everything that belongs to it) at `pos` into `row`; always moves
    // `pos` on by at least one.
    void parseItem(std::size_t& pos, std::size_t end, Row& row, const Stop& stop) {
        const MathToken& tok = t_[pos];
        const bool tooDeep = depth_ >= kMaxNesting;
        ++depth_;
        switch (tok.code) {
            case MathCode::Number:
                readNumber(pos, end, row, stop);
                break;
            case MathCode::Comma:
            case MathCode::Point:
                row.push_back({Item::Kind::Number, tok.text});
                ++pos;
                break;
            case MathCode::Periodic:
                row.push_back({Item::Kind::Operator, "'"});
                ++pos;
                break;
            case MathCode::NumericFraction:
                row.push_back(
                    element("<mfrac><mrow>" + tokenElement("mn", tok.text) + "</mrow><mrow>" +
                            (tok.denominator.empty() ? std::string()
                                                     : tokenElement("mn", tok.denominator)) +
                            "</mrow></mfrac>\r\n"));
                ++pos;
                break;
            case MathCode::Letter: {
                Item item{Item::Kind::Letter, tok.text};
                item.lowerLetter = tok.text[0] >= 'a' && tok.text[0] <= 'z';
                row.push_back(std::move(item));
                ++pos;
                break;
            }
            case MathCode::Greek:
                row.push_back(element(tokenElement("mi", tok.text)));
                ++pos;
                break;
            case MathCode::Symbol:
                if (!tok.text.starts_with('<')) {
                    row.push_back(operatorElement(tokenElement("mo", tok.text)));
                } else if (tok.text.starts_with("<mo>")) {
                    row.push_back(operatorElement(tok.text + "\r\n"));
                } else {
                    row.push_back(element(tok.text + "\r\n"));
                }
                ++pos;
                break;
            case MathCode::BigOperator:
                if (tooDeep) {
                    row.push_back(operatorElement(tokenElement("mo", tok.text)));
                    ++pos;
                } else {
                    readBigOperator(pos, end, row);
                }
                break;
            case MathCode::Function:
                readFunction(pos, end, row);
                break;
            case MathCode::Operator:
                row.push_back({Item::Kind::Operator, tok.text});
                ++pos;
                break;
            case MathCode::Open:
                if (tooDeep) {
                    row.push_back(operatorElement(tokenElement("mo", tok.text)));
                    ++pos;
                } else {
                    readGroup(pos, end, row);
                }
                break;
            case MathCode::Close:
                row.push_back(operatorElement(tokenElement("mo", tok.text)));
                ++pos;
                break;
            case MathCode::FractionStart:
                if (tooDeep) {
                    row.push_back(otherItem("6"));
                    ++pos;
                } else {
                    readFraction(pos, end, row);
                }
                break;
            case MathCode::RootStart:
                if (tooDeep) {
                    row.push_back(otherItem("9"));
                    ++pos;
                } else {
                    readRoot(pos, end, row);
                }
                break;
            case MathCode::ExponentStart:
                if (tooDeep) {
                    row.push_back(otherItem("|"));
                    ++pos;
                } else {
                    readGeneralExponent(pos, end, row);
                }
                break;
            case MathCode::ExponentEnd:
                readExponentEnd(pos, row);
                break;
            case MathCode::PowerSign:
            case MathCode::IndexSign:
                if (tooDeep) {
                    row.push_back(otherItem(tok.code == MathCode::PowerSign ? "&lt;" : "!"));
                    ++pos;
                } else {
                    readScript(pos, end, row);
                }
                break;
            case MathCode::Overline:
                if (tooDeep) {
                    row.push_back(otherItem("&#242;"));
                    ++pos;
                } else {
                    readOverline(pos, end, row);
                }
                break;
            case MathCode::FractionMiddle:
                row.push_back(otherItem("np"));
                ++pos;
                break;
            case MathCode::FractionEnd:
                row.push_back(otherItem("4"));
                ++pos;
                break;
            case MathCode::RootEnd:
                row.push_back(otherItem("o"));
                ++pos;
                break;
            case MathCode::Colon:
                row.push_back({Item::Kind::Operator, ":"});
                ++pos;
                break;
            case MathCode::Blank:
                row.push_back({Item::Kind::Blank, {}});
                ++pos;
                break;
            case MathCode::Other:
                row.push_back(otherItem(tok.text));
                ++pos;
                break;
            case MathCode::TextRegion:
                row.push_back(element(tokenElement("mtext", xmlText(tok.text))));
                ++pos;
                break;
        }
        --depth_;
    }

    // A number with its decimal comma and repeating digits.
    void readNumber(std::size_t& pos, std::size_t end, Row& row, const Stop& stop) {
        Item first{Item::Kind::Number, t_[pos].text};
        first.opensNumber = t_[pos].opensNumber;
        row.push_back(std::move(first));
        ++pos;
        auto continuesNumber = [&](std::size_t i) {
            return i < end && t_[i].code == MathCode::Number && !t_[i].opensNumber;
        };
        while (pos < end) {
            const MathToken& next = t_[pos];
            if (continuesNumber(pos)) {
                row.push_back({Item::Kind::Number, next.text});
                ++pos;
            } else if (next.code == MathCode::Comma &&
                       (continuesNumber(pos + 1) ||
                        (pos + 1 < end && t_[pos + 1].code == MathCode::Periodic)) &&
                       !(stop && stop(next))) {
                row.push_back({Item::Kind::Number, ","});
                ++pos;
            } else if (next.code == MathCode::Periodic && continuesNumber(pos + 1)) {
                row.push_back(element(overlined(tokenElement("mn", t_[pos + 1].text))));
                pos += 2;
            } else {
                break;
            }
        }
    }

    // What stands just before a power or index sign: a bracket group, a number, a run of
    // small letters, else the one piece before it. Taken out of `row`; an index taken as the
    // base goes to `indexed` instead, when given.
    std::string popBase(Row& row, Item* indexed = nullptr) {
        while (!row.empty() && row.back().kind == Item::Kind::Blank) {
            row.pop_back();
        }
        if (row.empty()) {
            return std::string(kEmptyRow);
        }
        if (indexed != nullptr && !row.back().index.empty()) {
            *indexed = std::move(row.back());
            row.pop_back();
            return {};
        }
        Row base;
        const Item::Kind kind = row.back().kind;
        if (kind == Item::Kind::Number) {
            while (!row.empty() && row.back().kind == Item::Kind::Number) {
                base.push_back(std::move(row.back()));
                row.pop_back();
                if (base.back().opensNumber) {
                    break;
                }
            }
        } else if (kind == Item::Kind::Letter && row.back().lowerLetter) {
            while (!row.empty() && row.back().kind == Item::Kind::Letter &&
                   row.back().lowerLetter) {
                base.push_back(std::move(row.back()));
                row.pop_back();
            }
        } else {
            base.push_back(std::move(row.back()));
            row.pop_back();
        }
        std::reverse(base.begin(), base.end());
        return single(base);
    }

    // The exponent a short power end closes: the number or the one letter just before it.
    static bool hasShortExponent(const Row& row) {
        return !row.empty() &&
               (row.back().kind == Item::Kind::Number || row.back().kind == Item::Kind::Letter ||
                row.back().kind == Item::Kind::Element);
    }

    static std::string popShortExponent(Row& row) {
        Row exponent;
        if (row.back().kind == Item::Kind::Number) {
            while (!row.empty() && row.back().kind == Item::Kind::Number) {
                exponent.push_back(std::move(row.back()));
                row.pop_back();
                if (exponent.back().opensNumber) {
                    break;
                }
            }
            std::reverse(exponent.begin(), exponent.end());
        } else {
            exponent.push_back(std::move(row.back()));
            row.pop_back();
        }
        return render(exponent).markup;
    }

    static std::string power(std::string_view tag, std::string_view base, std::string_view script) {
        std::string out = "<";
        out += tag;
        out += ">";
        out += base;
        out += "<mrow>";
        out += script;
        out += "</mrow></";
        out += tag;
        out += ">\r\n";
        return out;
    }

    // An index: its base and index kept for an exponent that may follow.
    static Item indexItem(std::string base, std::string index) {
        Item item = element(power("msub", base, index));
        item.indexBase = std::move(base);
        item.index = index.empty() ? std::string(kEmptyRow) : std::move(index);
        return item;
    }

    // `exponent` raised over what stands before it: over an index, one msubsup.
    void pushPower(Row& row, std::string exponent) {
        Item indexed;
        std::string base = popBase(row, &indexed);
        if (indexed.index.empty()) {
            row.push_back(element(power("msup", base, exponent)));
            return;
        }
        std::string index = indexed.index == kEmptyRow ? std::string() : std::move(indexed.index);
        row.push_back(element("<msubsup>" + indexed.indexBase + "<mrow>" + index + "</mrow><mrow>" +
                              exponent + "</mrow></msubsup>\r\n"));
    }

    // The content of the group "|" ... "1" that opens at `start`, up to its power end (or to
    // `end` when none closes it); `pos` goes past it.
    Row readGroupContent(std::size_t start, std::size_t& pos, std::size_t end) {
        pos = start + 1;
        if (match_[start] != kNone && match_[start] < end) {
            Row content = parseRange(pos, match_[start]);
            pos = match_[start] + 1;
            return content;
        }
        return parseRow(pos, end, nullptr);
    }

    void readGeneralExponent(std::size_t& pos, std::size_t end, Row& row) {
        const Row exponent = readGroupContent(pos, pos, end);
        pushPower(row, render(exponent).markup);
    }

    void readExponentEnd(std::size_t& pos, Row& row) {
        if (shortEnd_[pos] && hasShortExponent(row)) {
            pushPower(row, popShortExponent(row));
        } else {
            row.push_back(otherItem("1"));
        }
        ++pos;
    }

    // The one-cell power sign and the index sign act on the next sign only; an index group
    // ("!|" index "1") is one index.
    void readScript(std::size_t& pos, std::size_t end, Row& row) {
        const bool isPower = t_[pos].code == MathCode::PowerSign;
        ++pos;
        if (isPower) {
            Row operand;
            readOperand(pos, end, operand);
            pushPower(row, render(operand).markup);
            return;
        }
        std::string base = popBase(row);
        if (pos < end && t_[pos].code == MathCode::ExponentStart) {
            const Row index = readGroupContent(pos, pos, end);
            row.push_back(indexItem(std::move(base), render(index).markup));
            return;
        }
        Row operand;
        readOperand(pos, end, operand);
        row.push_back(indexItem(std::move(base), render(operand).markup));
    }

    // The one sign a power sign or index sign acts on, when one stands at `pos`.
    void readOperand(std::size_t& pos, std::size_t end, Row& operand) {
        if (pos < end) {
            switch (t_[pos].code) {
                case MathCode::Number:
                case MathCode::NumericFraction:
                case MathCode::Letter:
                case MathCode::Greek:
                case MathCode::Symbol:
                case MathCode::Function:
                case MathCode::Open:
                case MathCode::FractionStart:
                case MathCode::RootStart:
                case MathCode::Overline:
                case MathCode::Other:
                    parseItem(pos, end, operand, nullptr);
                    break;
                default:
                    break;
            }
        }
    }

    void readGroup(std::size_t& pos, std::size_t end, Row& row) {
        const std::string open = t_[pos].text;
        const std::string close = open == "(" ? ")" : open == "[" ? "]" : "}";
        ++pos;
        Row inside = parseRow(pos, end, [&](const MathToken& k) {
            return k.code == MathCode::Close && k.text == close;
        });
        std::string markup = "<mrow>" + tokenElement("mo", open) + render(inside).markup;
        if (pos < end) {
            markup += tokenElement("mo", close);
            ++pos;
        }
        markup += "</mrow>\r\n";
        row.push_back(element(std::move(markup)));
    }

    void readFraction(std::size_t& pos, std::size_t end, Row& row) {
        ++pos;
        Row numerator = parseRow(
            pos, end, [](const MathToken& k) { return k.code == MathCode::FractionMiddle; });
        Row denominator;
        if (pos < end) {
            ++pos;
            denominator = parseRow(
                pos, end, [](const MathToken& k) { return k.code == MathCode::FractionEnd; });
            if (pos < end) {
                ++pos;
            }
        }
        row.push_back(element("<mfrac>" + inRow(numerator) + inRow(denominator) + "</mfrac>\r\n"));
    }

    void readRoot(std::size_t& pos, std::size_t end, Row& row) {
        ++pos;
        Row first = parseRow(pos, end, [](const MathToken& k) {
            return k.code == MathCode::Colon || k.code == MathCode::RootEnd;
        });
        if (pos < end && t_[pos].code == MathCode::Colon) {
            ++pos;
            Row radicand =
                parseRow(pos, end, [](const MathToken& k) { return k.code == MathCode::RootEnd; });
            if (pos < end) {
                ++pos;
            }
            row.push_back(element("<mroot>" + inRow(radicand) + single(first) + "</mroot>\r\n"));
            return;
        }
        if (pos < end) {
            ++pos;
        }
        row.push_back(element("<msqrt>" + render(first).markup + "</msqrt>\r\n"));
    }

    void readOverline(std::size_t& pos, std::size_t end, Row& row) {
        ++pos;
        Row content =
            parseRow(pos, end, [](const MathToken& k) { return k.code == MathCode::Colon; });
        if (pos < end) {
            ++pos;
        }
        row.push_back(element(overlined(render(content).markup)));
    }

    // Sums, products and integrals take their limits written lower "," upper ":" before the
    // bracket of their operand; either limit may be missing.
    void readBigOperator(std::size_t& pos, std::size_t end, Row& row) {
        const std::string op = tokenElement("mo", t_[pos].text);
        ++pos;
        Row lower = parseRow(pos, end, [](const MathToken& k) {
            return k.code == MathCode::Comma || k.code == MathCode::Colon || isOpenRound(k);
        });
        if (pos < end && t_[pos].code == MathCode::Comma) {
            ++pos;
            Row upper = parseRow(pos, end, [](const MathToken& k) {
                return k.code == MathCode::Colon || isOpenRound(k);
            });
            if (pos < end && t_[pos].code == MathCode::Colon) {
                ++pos;
                row.push_back(
                    element("<msubsup>" + op + inRow(lower) + inRow(upper) + "</msubsup>\r\n"));
                return;
            }
            if (upper.empty()) {
                row.push_back(element(power("msub", op, render(lower).markup)));
                return;
            }
            // Not limits after all: the signs stay as they were read.
            row.push_back(operatorElement(op));
            row.insert(row.end(), lower.begin(), lower.end());
            row.push_back({Item::Kind::Number, ","});
            row.insert(row.end(), upper.begin(), upper.end());
            return;
        }
        if (pos < end && t_[pos].code == MathCode::Colon && !lower.empty()) {
            ++pos;
            row.push_back(element(power("msup", op, render(lower).markup)));
            return;
        }
        row.push_back(operatorElement(op));
        row.insert(row.end(), lower.begin(), lower.end());
    }

    void readFunction(std::size_t& pos, std::size_t end, Row& row) {
        const MathToken& fn = t_[pos];
        const std::string name = tokenElement("mi", fn.text);
        ++pos;
        if (fn.text == "log") {
            // A base is written before a ":" that follows within 20 cells.
            const std::size_t reach = fn.offset + fn.length + 20;
            for (std::size_t q = pos; q < end && t_[q].offset <= reach; ++q) {
                if (t_[q].code == MathCode::Colon) {
                    Row base = parseRange(pos, q);
                    pos = q + 1;
                    row.push_back(element(power("msub", name, render(base).markup)));
                    return;
                }
            }
        } else if (fn.text == "lim") {
            if (const std::size_t q = limitEnd(pos, end); q != kNone) {
                Row below = parseRange(pos, q);
                pos = q;
                row.push_back(element("<munder>" + name + inRow(below) + "</munder>\r\n"));
                return;
            }
        }
        row.push_back(element(name));
    }

    // The end of "x tends to a" (with an optional sign before a, and "+" or "-" after it for
    // a one-sided limit) starting at `p`, or kNone when no such limit stands there.
    std::size_t limitEnd(std::size_t p, std::size_t end) const {
        auto is = [&](std::size_t i, MathCode code) { return i < end && t_[i].code == code; };
        auto isSign = [&](std::size_t i) {
            return is(i, MathCode::Operator) && (t_[i].text == "+" || t_[i].text == "-");
        };
        if (!(is(p, MathCode::Letter) || is(p, MathCode::Greek)) ||
            !(is(p + 1, MathCode::Symbol) && t_[p + 1].text == "&rarr;")) {
            return kNone;
        }
        std::size_t q = p + 2;
        if (isSign(q)) {
            ++q;
        }
        if (is(q, MathCode::Number)) {
            ++q;
            while (is(q, MathCode::Number) && !t_[q].opensNumber) {
                ++q;
            }
            while ((is(q, MathCode::Comma) || is(q, MathCode::Periodic)) &&
                   is(q + 1, MathCode::Number) && !t_[q + 1].opensNumber) {
                q += 2;
            }
        } else if (is(q, MathCode::NumericFraction) || is(q, MathCode::Letter) ||
                   is(q, MathCode::Greek) || is(q, MathCode::Symbol)) {
            ++q;
        } else {
            return kNone;
        }
        if (isSign(q)) {
            ++q;
        }
        return q;
    }

    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    const std::vector<MathToken>& t_;
    std::vector<std::size_t> match_;
    std::vector<bool> shortEnd_;
    int depth_ = 0;
};

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t pos = 0;
    while (pos <= text.size()) {
        const std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) {
            lines.push_back(text.substr(pos));
            break;
        }
        lines.push_back(text.substr(pos, end - pos));
        pos = end + 1;
        if (text[end] == '\r' && pos < text.size() && text[pos] == '\n') {
            ++pos;
        }
    }
    return lines;
}

}  // namespace

std::vector<PageSegment> pageSegments(std::string_view page) {
    std::vector<PageSegment> segments;
    auto addFormula = [&](std::string_view cells) {
        const std::string_view trimmed = ui::trimAny(cells, " \t");
        if (!trimmed.empty()) {
            segments.push_back({false, std::string(trimmed)});
        }
    };
    for (const std::string_view line : splitLines(page)) {
        std::size_t pos = 0;
        while (pos < line.size()) {
            const std::size_t open = line.find(kRegionDelimiter, pos);
            if (open == std::string_view::npos) {
                addFormula(line.substr(pos));
                break;
            }
            addFormula(line.substr(pos, open - pos));
            const std::size_t textStart = open + kRegionDelimiter.size();
            const std::size_t close = line.find(kRegionDelimiter, textStart);
            if (close == std::string_view::npos) {
                segments.push_back({true, std::string(line.substr(textStart))});
                break;
            }
            segments.push_back({true, std::string(line.substr(textStart, close - textStart))});
            pos = close + kRegionDelimiter.size();
        }
    }
    return segments;
}

std::string formulaMathml(std::string_view cells) {
    const std::vector<MathToken> tokens = mathCode(cells);
    std::string block(kMathOpen);
    block += "\r\n<mrow>";
    block += Parser(tokens, cells).content();
    block += "</mrow></math>";
    return block;
}

std::vector<std::string> convertPage(std::string_view page) {
    std::vector<std::string> lines;
    for (const PageSegment& segment : pageSegments(page)) {
        if (segment.textRegion) {
            lines.push_back(std::string(kTextOpen) + xmlText(segment.content) +
                            std::string(kTextClose));
        } else {
            const std::string block = formulaMathml(segment.content);
            for (const std::string_view line : splitLines(block)) {
                lines.emplace_back(line);
            }
        }
        lines.emplace_back(kMathmlSeparator);
    }
    return lines;
}

}  // namespace notation
