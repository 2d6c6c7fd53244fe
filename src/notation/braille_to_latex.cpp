// Braille-to-LaTeX: a recursive reading of the cells. Constructs are recognised by their
// opening cell and read up to their own closing cell ("6" a "np" b "4", "9" n ":" r "o",
// "|" e "1", ...), so nested constructs close in the right order; everything else maps back
// through the notation tables, longest cells first.
//
// Reading rules that the tables leave open:
// - a letter sign, capital sign or Greek sign applies to the one cell after it; a number sign
//   to the digit letters (with decimal comma and periodic mark) that follow it;
// - a power end "1" closes the innermost general exponent "|", unless the cell before it
//   ends a one-cell or numeric exponent written without "|" (x^n is "_x_n1") and enough
//   power ends follow to close the open exponents;
// - the subscript of a limit ("lim." x ":o" target) is always braced, and its arrow is the
//   only one read as "\to": every other ":o" is an implication;
// - a cell with no meaning (no row, and neither a letter nor a digit), a construct's closing
//   without its opening and an opening without its closing are refused, and so is a control
//   byte anywhere: nothing is dropped and no control byte reaches the Latex-mode text;
// - a keyword ending in a letter gets a blank before a following letter, so that "\ne" and
//   "g" do not read as "\neg".

#include <algorithm>
#include <array>
#include <vector>

#include "notation/character_signs.h"
#include "notation/conversion.h"
#include "notation/messages.h"
#include "notation/notation_tables.h"
#include "notation/power_ends.h"
#include "notation/text_regions.h"
#include "notation/text_scan.h"

namespace notation {
namespace {

enum class Kind {
    None,
    Blank,
    Newline,
    Region,
    Letter,     // a latin letter
    Capital,    // a capital letter
    Number,     // digits, a decimal, a numeric fraction
    Symbol,     // a value written as a keyword: Greek letters, infinity, empty set
    Close,      // a closing bracket or bar
    Construct,  // a fraction, root, overline, limit...
    Power,      // a base with its exponent
    Operator,   // anything else
    Raw,        // a cell copied as it is
};

bool canBeExponent(Kind k) {
    return k == Kind::Letter || k == Kind::Capital || k == Kind::Number || k == Kind::Symbol;
}

bool canBeBase(Kind k) {
    return canBeExponent(k) || k == Kind::Close || k == Kind::Construct || k == Kind::Power;
}

// One reverse row: Braille cells back to Latex-mode text.
struct Reverse {
    std::string_view cells;
    std::string_view latex;
    Kind kind;
    bool setRow;  // a set or quantifier: a blank follows unless a blank is next
};

Kind kindOfKeyword(std::size_t keywordRow, std::string_view latex) {
    if (keywordRow >= 17 && keywordRow <= 65) {
        return Kind::Symbol;  // Greek letters
    }
    if (latex == "\\infty" || latex == "\\aleph" || latex == "\\{\\}" || latex == "\\nabla" ||
        latex == "\\discr" || latex == "\\%" || latex == "\\%%") {
        return Kind::Symbol;
    }
    if (latex == ")" || latex == "]" || latex == "\\}" || latex == "%") {
        return Kind::Close;
    }
    return Kind::Operator;
}

// The reverse rows grouped by their first cell, longest cells first, table order kept among
// equal lengths (so the keyword table wins over the set and character tables).
class ReverseIndex {
public:
    ReverseIndex() {
        for (std::size_t i = 0; i < kKeywordTable.size(); ++i) {
            const NotationRow& row = kKeywordTable[i];
            add({row.braille, row.latex, kindOfKeyword(i, row.latex), false});
        }
        for (const NotationRow& row : kSetTable) {
            add({row.braille, row.latex, kindOfKeyword(1000, row.latex), true});
        }
        for (const NotationRow& row : kCharacterTable) {
            if (row.latex.size() == 1 && row.latex[0] == '^') {
                continue;  // it gives no cell
            }
            add({row.braille, row.latex, kindOfKeyword(1000, row.latex), false});
        }
        for (auto& list : byFirst_) {
            std::stable_sort(list.begin(), list.end(), [](const Reverse& a, const Reverse& b) {
                return a.cells.size() > b.cells.size();
            });
        }
    }

    const Reverse* match(std::string_view s, std::size_t pos) const {
        if (pos >= s.size()) {
            return nullptr;
        }
        // The bucket's rows all start with this cell.
        const std::size_t room = s.size() - pos;
        for (const Reverse& r : byFirst_[static_cast<unsigned char>(s[pos])]) {
            if (r.cells.size() > room) {
                continue;
            }
            std::size_t k = 1;
            while (k < r.cells.size() && s[pos + k] == r.cells[k]) {
                ++k;
            }
            if (k == r.cells.size()) {
                return &r;
            }
        }
        return nullptr;
    }

private:
    void add(const Reverse& r) {
        if (r.cells.empty()) {
            return;
        }
        auto& list = byFirst_[static_cast<unsigned char>(r.cells[0])];
        for (const Reverse& existing : list) {
            if (existing.cells == r.cells) {
                return;  // first row wins
            }
        }
        list.push_back(r);
    }

    std::array<std::vector<Reverse>, 256> byFirst_;
};

const ReverseIndex& reverseIndex() {
    static const ReverseIndex index;
    return index;
}

// What the preparation of the cells needs of each cell, looked up once per cell.
enum CellInfo : unsigned char {
    kWorkingForm = 1,  // changes in working form: the letter sign, the square brackets
    kKeepsNumber = 2,  // in working form a digit letter or lower digit, decimal comma or
                       // periodic mark: a number runs on over it
};
constexpr std::array<unsigned char, 256> kCellInfo = [] {
    std::array<unsigned char, 256> info{};
    for (int c = 0; c < 256; ++c) {
        const char cell = static_cast<char>(c);
        const bool changes = cell == '_' || cell == '{' || cell == '}';
        if (changes) {
            info[static_cast<std::size_t>(c)] |= kWorkingForm;
        }
        // Of the cell in working form.
        const char working = cell == '_' ? '^' : cell == '{' ? '\xE0' : cell == '}' ? '\xF9' : cell;
        if (digitOfLetterCell(working) != 0 || working == ',' || working == '\'' ||
            digitOfLowerCell(working) != 0) {
            info[static_cast<std::size_t>(c)] |= kKeepsNumber;
        }
    }
    return info;
}();

// The flags of a prepared cell.
enum CellFlag : char { kNumericOne = 1, kInRegion = 2 };

// Constructs nested deeper than this are refused: no formula nests so deep, and the reading's
// stack stays bounded.
constexpr int kMaxDepth = 100;

// Terminators of the sequence being read.
enum Stop : unsigned {
    kStopN = 1u << 0,              // fraction: numerator ends at "n"
    kStopFour = 1u << 1,           // fraction: denominator ends at "4"
    kStopO = 1u << 2,              // root ends at "o"
    kStopColon = 1u << 3,          // index, limit, base or overline ends at ":"
    kStopColonNotArrow = 1u << 4,  // as above, but ":o" is an arrow
    kStopComma = 1u << 5,          // lower limit ends at ","
    kStopParen = 1u << 6,          // limits end where the operand "?" begins
    kGroup = 1u << 7,              // a general exponent, ended by its "1"
    kContinueNumber = 1u << 8,     // digit letters at the start continue a number
};

enum class Ended { None, End, N, Four, O, Colon, Comma, Paren, One };

// The pieces one after another, in a buffer of the thread kept from one construct to the next:
// what it gives is copied into a sequence at once, before the next construct is joined.
template <typename... Pieces>
std::string_view joined(const Pieces&... pieces) {
    static thread_local std::string buffer;
    buffer.clear();
    (buffer.append(std::string_view(pieces)), ...);
    return buffer;
}

struct Seq {
    std::string out;
    Kind last = Kind::None;
    Kind before = Kind::None;
    std::size_t lastStart = 0;
    std::size_t beforeStart = 0;
    std::size_t spacedAt = std::string::npos;  // an item after a blank that ends a command

    bool endsWithCommandWord() const {
        std::size_t k = out.size();
        while (k > 0 && isAsciiLetter(out[k - 1])) {
            --k;
        }
        return k < out.size() && k > 0 && out[k - 1] == '\\' && (k < 2 || out[k - 2] != '\\');
    }

    void add(Kind kind, std::string_view text) {
        if (!text.empty() && isAsciiLetter(text[0]) && endsWithCommandWord()) {
            out += ' ';
            spacedAt = out.size();
        }
        // A subscript of several digits is one group: x_{12}, not x_1 followed by 2.
        const bool groupSubscript = kind == Kind::Number && text.size() > 1 &&
                                    last == Kind::Operator && !out.empty() && out.back() == '_';
        // A number after a one-digit subscript is not part of it: x_{1}2, not x_12.
        if (!text.empty() && isDigit(text[0]) && last == Kind::Number && lastStart > 0 &&
            out[lastStart - 1] == '_' && out.size() - lastStart == 1) {
            out.insert(lastStart, 1, '{');
            out += '}';
        }
        before = last;
        beforeStart = lastStart;
        last = kind;
        lastStart = out.size();
        if (groupSubscript) {
            out += '{';
            out.append(text);
            out += '}';
        } else {
            out.append(text);
        }
    }

    // The last item becomes the exponent of the one before it.
    void raiseLast() {
        const std::string exponent = out.substr(lastStart);
        out.erase(lastStart);
        if (lastStart == spacedAt && lastStart > 0) {
            out.pop_back();  // the blank that kept it apart from a command: "\\lambda^n"
            --lastStart;
        }
        // One letter or sign stays bare (x^n); numbers and longer exponents are braced.
        const bool single = exponent.size() == 1 && last != Kind::Number;
        out += single ? "^" : "^{";
        out += exponent;
        if (!single) {
            out += '}';
        }
        last = Kind::Power;
        lastStart = beforeStart;
        before = Kind::None;
    }
};

class BrailleToLatex {
public:
    // `ends`, when given, receives how the power ends were read (see power_ends.h).
    BrailleToLatex(std::string_view input, int page, std::vector<std::size_t>* ends = nullptr)
        : input_(input), page_(page), ends_(ends) {}

    Conversion run();

private:
    bool fail(std::string_view text) {
        if (error_.empty()) {
            error_ = messages::onPage(page_, text);
        }
        return false;
    }

    void prepare();
    bool nestedPowers() const;
    Ended stopAt(const Seq& seq, unsigned flags) const;
    bool readSeq(Seq& seq, unsigned flags, Ended& ended);
    bool readSeqAtDepth(Seq& seq, unsigned flags, Ended& ended);
    bool readToColon(Seq& seq);
    bool readClosed(Seq& seq, unsigned stop, Ended end, std::string_view refusal);
    bool readItem(Seq& seq, unsigned flags);
    bool readNumber(Seq& seq, unsigned flags);
    void readDigitRun(std::string& digits, unsigned flags);
    bool readFraction(Seq& seq);
    bool readRoot(Seq& seq);
    bool readGroup(Seq& seq);
    bool readSubscriptGroup(Seq& seq);
    bool readGroupContent(std::size_t cells, Seq& content);
    bool decimalLowerLimit() const;
    bool readPowerEnd(Seq& seq);
    bool readLimits(Seq& seq, std::string_view name, std::size_t cells, std::string_view message);
    bool readOverline(Seq& seq);
    bool readLog(Seq& seq);
    bool readLimit(Seq& seq);
    bool readRow(Seq& seq);
    bool stray(Seq& seq, std::string_view message);
    bool unknownCell();

    char cell(std::size_t offset = 0) const { return charAt(s_, pos_ + offset); }
    bool atCells(std::string_view cells) const { return at(s_, pos_, cells); }
    bool inRegionStart() const { return pos_ < regionEnd_.size() && regionEnd_[pos_] != 0; }

    std::string_view input_;
    int page_;
    std::string_view text_;               // the trimmed input
    std::string s_;                       // the cells in working form
    std::vector<std::size_t> regionEnd_;  // at a region start: the position after it
    // What stands at or after a position, to the end of its line, outside text regions.
    struct CountsFrom {
        unsigned ones = 0;         // power ends
        unsigned numericOnes = 0;  // power ends inside a number
        unsigned bars = 0;         // group openings "|"
        unsigned colons = 0;
    };
    std::vector<CountsFrom> countsFrom_;
    std::vector<char> cellFlags_;  // kNumericOne, kInRegion
    bool unclosedRegion_ = false;
    std::size_t pos_ = 0;
    int openGroups_ = 0;
    int depth_ = 0;           // constructs being read, one inside the other
    std::string tabless_;     // the input with its tabs read as blanks, when it has any
    std::size_t origin_ = 0;  // where the cells read start in the input
    std::vector<std::size_t>* ends_;
    std::string error_;
};

// The letter sign becomes "^" and square brackets "à" "ù", outside text regions; the power
// ends are counted for the reading of exponents.
void BrailleToLatex::prepare() {
    s_.assign(text_);
    const std::size_t n = s_.size();
    regionEnd_.assign(n + 1, 0);
    std::size_t pos = 0;
    std::size_t nextLabel = text_.find('\xA0');  // most texts have none
    while (true) {
        if (nextLabel != std::string_view::npos && nextLabel < pos) {
            nextLabel = text_.find('\xA0', pos);
        }
        const std::size_t open = std::min(text_.find('\\', pos), nextLabel);
        if (open == std::string_view::npos) {
            break;
        }
        if (text_[open] == '\xA0') {
            // A level label stands as it is, like a text region.
            const std::size_t label = levelLabelAt(text_, open);
            regionEnd_[open] = label > 0 ? open + label : 0;
            pos = open + std::max<std::size_t>(label, 1);
            continue;
        }
        if (charAt(text_, open + 1) != '\\') {
            pos = open + 1;
            continue;
        }
        const std::size_t close = text_.find("\\\\", open + 2);
        if (close == std::string_view::npos) {
            unclosedRegion_ = true;
            break;
        }
        regionEnd_[open] = close + 2;
        pos = close + 2;
    }
    countsFrom_.assign(n + 2, CountsFrom{});
    cellFlags_.assign(n + 1, 0);
    bool inNumber = false;
    for (std::size_t i = 0; i < n; ++i) {
        if (regionEnd_[i] != 0) {
            std::fill(cellFlags_.begin() + static_cast<std::ptrdiff_t>(i),
                      cellFlags_.begin() + static_cast<std::ptrdiff_t>(regionEnd_[i]), kInRegion);
            i = regionEnd_[i] - 1;
            inNumber = false;
            continue;
        }
        char& c = s_[i];
        const unsigned char info = kCellInfo[static_cast<unsigned char>(c)];
        if ((info & kWorkingForm) != 0) {
            c = c == '_' ? '^' : (c == '{' ? '\xE0' : '\xF9');
        }
        if (c == '1' && inNumber) {
            cellFlags_[i] = kNumericOne;
        }
        inNumber = c == '#' || (inNumber && (info & kKeepsNumber) != 0);
    }
    // Counted to the end of the line only: a line reads the same whatever the lines after it
    // hold, so a page reads as its lines do.
    for (std::size_t i = n; i-- > 0;) {
        const bool cellHere = (cellFlags_[i] & kInRegion) == 0;
        const char c = s_[i];
        if (cellHere && (c == '\r' || c == '\n')) {
            continue;  // the counts from here on stay 0
        }
        const CountsFrom& next = countsFrom_[i + 1];
        CountsFrom& here = countsFrom_[i];
        here.ones = next.ones + (cellHere && c == '1' ? 1 : 0);
        here.numericOnes = next.numericOnes + ((cellFlags_[i] & kNumericOne) != 0 ? 1 : 0);
        here.bars = next.bars + (cellHere && c == '|' ? 1 : 0);
        here.colons = next.colons + (cellHere && c == ':' ? 1 : 0);
    }
}

// Powers nested three deep end in three power ends in a row.
bool BrailleToLatex::nestedPowers() const {
    // A text region starts with a backslash or a level label's sign, so three power ends stand
    // either wholly inside one or wholly outside.
    for (std::size_t i = s_.find("111"); i != std::string::npos; i = s_.find("111", i + 1)) {
        if ((cellFlags_[i] & kInRegion) == 0) {
            return true;
        }
    }
    return false;
}

Ended BrailleToLatex::stopAt(const Seq& seq, unsigned flags) const {
    if (pos_ >= s_.size()) {
        return Ended::End;
    }
    if (inRegionStart()) {
        return Ended::None;
    }
    const char c = s_[pos_];
    if ((flags & kStopN) != 0 && c == 'n') {
        return Ended::N;
    }
    if ((flags & kStopFour) != 0 && c == '4') {
        return Ended::Four;
    }
    if ((flags & kStopO) != 0 && c == 'o') {
        return Ended::O;
    }
    if (c == ':' &&
        ((flags & kStopColon) != 0 || ((flags & kStopColonNotArrow) != 0 && cell(1) != 'o'))) {
        return Ended::Colon;
    }
    if ((flags & kStopComma) != 0 && c == ',') {
        return Ended::Comma;
    }
    if ((flags & kStopParen) != 0 && c == '?') {
        return Ended::Paren;
    }
    if ((flags & kGroup) != 0 && c == '1') {
        // A one-cell or numeric exponent inside the group ends here instead, when the power
        // ends that follow can still close every open group. Of those, the ones that close a
        // later group or a later numeric exponent are taken.
        if (canBeExponent(seq.last) && canBeBase(seq.before)) {
            const CountsFrom& after = countsFrom_[pos_ + 1];
            const unsigned later = after.ones;
            const unsigned taken =
                after.bars + ((cellFlags_[pos_] & kNumericOne) != 0 ? 0u : after.numericOnes);
            if (later >= taken + static_cast<unsigned>(openGroups_)) {
                return Ended::None;
            }
        }
        return Ended::One;
    }
    return Ended::None;
}

bool BrailleToLatex::readSeq(Seq& seq, unsigned flags, Ended& ended) {
    ++depth_;
    const bool ok = readSeqAtDepth(seq, flags, ended);
    --depth_;
    return ok;
}

bool BrailleToLatex::readSeqAtDepth(Seq& seq, unsigned flags, Ended& ended) {
    if ((flags & kContinueNumber) != 0 && digitOfLetterCell(cell()) != 0) {
        std::string digits;
        readDigitRun(digits, flags);
        seq.add(Kind::Number, digits);
    }
    flags &= ~kContinueNumber;
    while (true) {
        ended = stopAt(seq, flags);
        if (ended != Ended::None) {
            return true;
        }
        if (!readItem(seq, flags)) {
            return false;
        }
    }
}

// Whether the number at the scan position ends a lower limit and has decimal commas: its digit
// run holds a comma and is followed by the comma between the limits and a cell that cannot go
// on with it ("7#a,e,#b:" is \int_{1,5}^{2}). In every other lower limit the first comma ends
// it ("7#a,e,b:" is \int_{1}^{5,2}).
bool BrailleToLatex::decimalLowerLimit() const {
    std::size_t i = pos_;
    bool comma = false;
    while (i < s_.size()) {
        const char c = s_[i];
        if (digitOfLetterCell(c) != 0) {
            ++i;
        } else if ((c == ',' || c == '\'') && digitOfLetterCell(charAt(s_, i + 1)) != 0) {
            comma = comma || c == ',';
            ++i;
        } else if (at(s_, i, ",'") && digitOfLetterCell(charAt(s_, i + 2)) != 0) {
            comma = true;
            i += 2;
        } else {
            break;
        }
    }
    const char next = charAt(s_, i + 1);
    const bool goesOn = digitOfLetterCell(next) != 0 || next == '\'' ||
                        (next == '#' && digitOfLowerCell(charAt(s_, i + 2)) != 0);
    return comma && charAt(s_, i) == ',' && !goesOn;
}

// Digit letters a-j after a number sign, with a decimal comma and the periodic mark "'".
void BrailleToLatex::readDigitRun(std::string& digits, unsigned flags) {
    const bool decimalCommas = (flags & kStopComma) == 0 || decimalLowerLimit();
    while (pos_ < s_.size()) {
        const char c = cell();
        if (const char d = digitOfLetterCell(c); d != 0) {
            digits += d;
            ++pos_;
        } else if (c == ',' && decimalCommas &&
                   (digitOfLetterCell(cell(1)) != 0 ||
                    (cell(1) == '\'' && digitOfLetterCell(cell(2)) != 0))) {
            digits += ',';
            ++pos_;
        } else if (c == '\'' && digitOfLetterCell(cell(1)) != 0) {
            digits += '\'';
            ++pos_;
        } else {
            return;
        }
    }
}

bool BrailleToLatex::readNumber(Seq& seq, unsigned flags) {
    if (atCells("#)jj")) {
        pos_ += 4;
        seq.add(Kind::Symbol, "\\%%");
        return true;
    }
    if (atCells("#)j")) {
        pos_ += 3;
        seq.add(Kind::Symbol, "\\%");
        return true;
    }
    if (cell(1) == ')') {
        return fail(messages::kZeroNumerator);
    }
    if (digitOfLowerCell(cell(1)) != 0) {
        // A numeric fraction: the numerator in lower digits, the denominator continues as a
        // number.
        ++pos_;
        std::string latex = "\\frac{";
        while (pos_ < s_.size() && digitOfLowerCell(cell()) != 0) {
            latex += digitOfLowerCell(cell());
            ++pos_;
        }
        latex += "}{";
        while (pos_ < s_.size() && digitOfLetterCell(cell()) != 0) {
            latex += digitOfLetterCell(cell());
            ++pos_;
        }
        latex += '}';
        seq.add(Kind::Number, latex);
        return true;
    }
    if (digitOfLetterCell(cell(1)) != 0) {
        ++pos_;
        std::string digits;
        readDigitRun(digits, flags);
        seq.add(Kind::Number, digits);
        return true;
    }
    ++pos_;
    seq.add(Kind::Operator, "#");
    return true;
}

// What stands up to the cell that ends it (`end`), that cell taken too; refused with `refusal`
// when something else ends it first.
bool BrailleToLatex::readClosed(Seq& seq, unsigned stop, Ended end, std::string_view refusal) {
    Ended ended = Ended::None;
    if (!readSeq(seq, stop, ended)) {
        return false;
    }
    if (ended != end) {
        return fail(refusal);
    }
    ++pos_;
    return true;
}

bool BrailleToLatex::readFraction(Seq& seq) {
    ++pos_;
    Seq numerator;
    if (!readClosed(numerator, kStopN, Ended::N, messages::kFractionError)) {
        return false;
    }
    while (cell() == ' ' || cell() == '\r' || cell() == '\n') {
        ++pos_;
    }
    if (cell() != 'p') {
        return fail(messages::kFractionError);
    }
    ++pos_;
    Seq denominator;
    if (!readClosed(denominator, kStopFour, Ended::Four, messages::kFractionError)) {
        return false;
    }
    seq.add(Kind::Construct, joined("\\frac{", numerator.out, "}{", denominator.out, "}"));
    return true;
}

bool BrailleToLatex::readRoot(Seq& seq) {
    ++pos_;
    Seq first;
    Ended ended = Ended::None;
    if (!readSeq(first, kStopColonNotArrow | kStopO, ended)) {
        return false;
    }
    if (ended == Ended::O) {
        ++pos_;
        seq.add(Kind::Construct, joined("\\sqrt{", first.out, "}"));
        return true;
    }
    if (ended != Ended::Colon) {
        return fail(messages::kRootUnclosed);
    }
    ++pos_;
    Seq radicand;
    if (!readClosed(radicand, kStopO, Ended::O, messages::kRootUnclosed)) {
        return false;
    }
    seq.add(Kind::Construct, joined("\\sqrt[", first.out, "]{", radicand.out, "}"));
    return true;
}

// The content of a group that opens `cells` cells before the scan position and ends at its
// power end "1"; a group never closed is refused.
bool BrailleToLatex::readGroupContent(std::size_t cells, Seq& content) {
    const std::size_t opening = pos_ + cells - 1;
    pos_ += cells;
    Ended ended = Ended::None;
    ++openGroups_;
    const bool ok = readSeq(content, kGroup, ended);
    --openGroups_;
    if (!ok) {
        return false;
    }
    if (ended != Ended::One) {
        // A group never closed: an exponent or index without its end.
        return fail(cells == 2 ? messages::kIndexUnclosed : messages::kComplexPower);
    }
    if (ends_ != nullptr) {
        (*ends_)[origin_ + opening] = origin_ + pos_;
    }
    ++pos_;
    return true;
}

// "|" e "1": a general exponent of the item before it.
bool BrailleToLatex::readGroup(Seq& seq) {
    Seq exponent;
    if (!readGroupContent(1, exponent)) {
        return false;
    }
    seq.out += "^{";
    seq.out += exponent.out;
    seq.out += '}';
    if (seq.last == Kind::None) {
        seq.lastStart = seq.out.size();
    }
    seq.last = Kind::Power;
    seq.before = Kind::None;
    return true;
}

// "!|" index "1": a subscript of more than one item (a_{n+1}).
bool BrailleToLatex::readSubscriptGroup(Seq& seq) {
    Seq index;
    if (!readGroupContent(2, index)) {
        return false;
    }
    seq.add(Kind::Power, joined("_{", index.out, "}"));
    return true;
}

// A power end without "|": the item before it was a one-cell or numeric exponent.
bool BrailleToLatex::readPowerEnd(Seq& seq) {
    if (seq.last == Kind::None || seq.last == Kind::Blank || seq.last == Kind::Newline ||
        seq.last == Kind::Region) {
        return fail(messages::kComplexPower);  // a power end with no exponent before it
    }
    if (ends_ != nullptr) {
        (*ends_)[origin_ + pos_] = kShortEnd;
    }
    ++pos_;
    if (seq.last == Kind::Raw && isLowerLetter(seq.out.back()) && seq.before == Kind::Letter) {
        return fail(messages::kComplexPower);  // a letter exponent of more than one letter
    }
    seq.raiseLast();
    return true;
}

// Sums, products and integrals: lower "," upper ":" then the operand, which must open with
// "?" (a round bracket).
bool BrailleToLatex::readLimits(Seq& seq, std::string_view name, std::size_t cells,
                                std::string_view message) {
    pos_ += cells;
    std::string lower;
    std::string upper;
    bool hasLower = false;
    bool hasUpper = false;
    bool ownNumberSign = false;  // the upper limit's number has a number sign of its own
    if (cell() != '?') {
        Seq first;
        Ended ended = Ended::None;
        if (!readSeq(first, kStopComma | kStopColon | kStopParen, ended)) {
            return false;
        }
        if (ended == Ended::Comma) {
            ++pos_;
            hasLower = true;
            lower = first.out;
            Seq second;
            const unsigned cont = first.last == Kind::Number ? kContinueNumber : 0u;
            ownNumberSign = cell() == '#';
            if (!readSeq(second, kStopColon | kStopParen | cont, ended)) {
                return false;
            }
            if (ended == Ended::Colon) {
                ++pos_;
                hasUpper = true;
            } else {
                hasUpper = !second.out.empty();
            }
            upper = second.out;
        } else if (ended == Ended::Colon) {
            ++pos_;
            hasUpper = true;
            upper = first.out;
        } else {
            hasLower = !first.out.empty();
            lower = first.out;
        }
    }
    if (cell() != '?') {
        return fail(messages::twoLines(message, messages::kOperandAdvice));
    }
    if (ownNumberSign && lower.size() >= 2 && lower[lower.size() - 2] == '_' &&
        isDigit(lower.back())) {
        // A one-digit subscript ends the lower limit: braced, the upper limit's number does not
        // go on from it ("7_j!#i,#fi:" is \int_{j_{9}}^{69}).
        lower.insert(lower.size() - 1, 1, '{');
        lower += '}';
    }
    std::string latex(name);
    if (hasLower) {
        latex += "_{" + lower + "}";
    }
    if (hasUpper) {
        latex += "^{" + upper + "}";
    }
    seq.add(Kind::Construct, latex);
    return true;
}

// What stands up to the next ":" of this level (an overline's content, a logarithm's base),
// the colon taken too.
bool BrailleToLatex::readToColon(Seq& seq) {
    Ended ended = Ended::None;
    if (!readSeq(seq, kStopColon, ended)) {
        return false;
    }
    if (ended == Ended::Colon) {
        ++pos_;
    }
    return true;
}

bool BrailleToLatex::readOverline(Seq& seq) {
    ++pos_;
    if (countsFrom_[pos_].colons == 0) {
        seq.add(Kind::Operator, "\\over");  // a TeX fraction bar, no overline
        return true;
    }
    Seq content;
    if (!readToColon(content)) {
        return false;
    }
    seq.add(Kind::Construct, joined("\\overline{", content.out, "}"));
    return true;
}

// "log." and, when a ":" closes a short base right after it, the base.
bool BrailleToLatex::readLog(Seq& seq) {
    pos_ += 4;
    std::size_t end = pos_;
    const std::string_view baseCells = "abcdefghijklmnopqrstuvwxyz^#$>',;/?+=(*)!-|1";
    while (end < s_.size() && end - pos_ < 20 &&
           baseCells.find(s_[end]) != std::string_view::npos) {
        ++end;
    }
    if (end == pos_ || charAt(s_, end) != ':' || end - pos_ >= 20) {
        seq.add(Kind::Operator, "\\log");
        return true;
    }
    Seq base;
    if (!readToColon(base)) {
        return false;
    }
    seq.add(Kind::Construct, joined("\\log_{", base.out, "}"));
    return true;
}

// "lim." variable ":o" target: the subscript is braced.
bool BrailleToLatex::readLimit(Seq& seq) {
    pos_ += 4;
    const char first = cell();
    if (first != '^' && first != '$' && first != '>') {
        seq.add(Kind::Operator, "\\lim_");
        return true;
    }
    Seq sub;
    if (!readItem(sub, 0)) {
        return false;
    }
    if (atCells(":o")) {
        pos_ += 2;
        sub.out += "\\to ";
        if (cell() == '+' || cell() == '-') {
            sub.out += cell();
            ++pos_;
        }
        // The target: one number, letter or symbol, with its subscript (x_0), or a number
        // times a symbol (2\pi).
        Seq target;
        const auto startsValue = [](char c) {
            return c == '#' || c == '^' || c == '$' || c == '>' || c == '0';
        };
        if (startsValue(cell()) && !inRegionStart()) {
            if (!readItem(target, 0)) {
                return false;
            }
            if (cell() == '!' && startsValue(cell(1))) {
                ++pos_;
                target.out += '_';
                if (!readItem(target, 0)) {
                    return false;
                }
            } else if (target.last == Kind::Number && cell() == '>') {
                if (!readItem(target, 0)) {
                    return false;
                }
            }
        }
        sub.out += target.out;
        if (!target.out.empty() && (cell() == '+' || cell() == '-')) {
            sub.out += cell();  // the side of a one-sided limit
            ++pos_;
        }
    }
    seq.add(Kind::Construct, joined("\\lim_{", sub.out, "}"));
    return true;
}

// A cell with no meaning here, as the student wrote it.
bool BrailleToLatex::unknownCell() {
    return fail(unknownCellMessage(charAt(text_, pos_), lineOf(text_, pos_)));
}

// Keywords, sets and characters through the tables.
bool BrailleToLatex::readRow(Seq& seq) {
    const Reverse* row = reverseIndex().match(s_, pos_);
    if (row == nullptr) {
        // A letter without a row of its own stands for itself (the letters of a function
        // name); any other cell means nothing. (The one digit character without a row, the
        // cell of dots 1 5 6, is no digit: Braille writes digits after the number sign.)
        if (!isAsciiLetter(cell())) {
            return unknownCell();
        }
        seq.add(Kind::Raw, std::string_view(s_).substr(pos_, 1));
        ++pos_;
        return true;
    }
    pos_ += row->cells.size();
    std::string_view latex = row->latex;
    if (row->cells == ":o") {
        latex = "\\impl";  // the arrow of a limit was read with its limit
    }
    if (row->setRow) {
        std::string text(latex);
        const char next = cell();
        if (pos_ < s_.size() && next != ' ' && next != '\r' && next != '\n') {
            text += ' ';
        }
        seq.add(row->kind, text);
        return true;
    }
    seq.add(row->kind, latex);
    return true;
}

bool BrailleToLatex::readItem(Seq& seq, unsigned flags) {
    if (inRegionStart()) {
        const std::size_t end = regionEnd_[pos_];
        seq.add(Kind::Region, text_.substr(pos_, end - pos_));
        pos_ = end;
        return true;
    }
    const char c = cell();
    if (depth_ >= kMaxDepth &&
        (c == '6' || (c == '9' && cell(1) != ':') || c == '|' || c == '7' || c == '\xF2' ||
         atCells("<S") || atCells("<P") || atCells("lim.") || atCells("log."))) {
        return fail(messages::kTooDeep);
    }
    switch (c) {
        case '\r':
        case '\n':
            seq.add(Kind::Newline, std::string_view(s_).substr(pos_, 1));
            ++pos_;
            return true;
        case ' ':
            if (atCells(" det")) {
                seq.add(Kind::Blank, " ");
                ++pos_;
                return true;
            }
            if (atCells(" !l ") || atCells(" d")) {
                return readRow(seq);
            }
            seq.add(Kind::Blank, " ");
            ++pos_;
            return true;
        case '^':
            if (isLowerLetter(cell(1))) {
                seq.add(Kind::Letter, std::string_view(s_).substr(pos_ + 1, 1));
                pos_ += 2;
                return true;
            }
            if (reverseIndex().match(s_, pos_) != nullptr) {
                return readRow(seq);
            }
            return unknownCell();  // a letter sign with no letter after it
        case '$':
            if (isLowerLetter(cell(1))) {
                const char capital = static_cast<char>(cell(1) - 'a' + 'A');
                seq.add(Kind::Capital, std::string(1, capital));
                pos_ += 2;
                return true;
            }
            if (reverseIndex().match(s_, pos_) != nullptr) {
                return readRow(seq);
            }
            return unknownCell();
        case '>':
            if (reverseIndex().match(s_, pos_) != nullptr) {
                return readRow(seq);
            }
            return unknownCell();
        case '.':
            if (atCells("...")) {
                // An ellipsis: three dot cells, never the set difference ".." and a dot.
                pos_ += 3;
                seq.add(Kind::Operator, "...");
                return true;
            }
            return readRow(seq);
        case '#':
            return readNumber(seq, flags);
        case '6':
            return readFraction(seq);
        case '9':
            if (atCells("9:")) {
                return readRow(seq);  // "\iff" or "\isimpl "
            }
            return readRoot(seq);
        case '|':
            return readGroup(seq);
        case '!':
            if (cell(1) == '|') {
                return readSubscriptGroup(seq);
            }
            if (pos_ + 1 >= s_.size() || cell(1) == ' ' || cell(1) == '\r' || cell(1) == '\n') {
                return fail(messages::kIndexMissing);  // an index sign with no index after it
            }
            return readRow(seq);
        case '1':
            return readPowerEnd(seq);
        case 'n':
        case 'p':
        case '4':
            return fail(messages::kFractionError);  // a fraction's end outside a fraction
        case 'o':
            return fail(messages::kRootUnopened);
        case '7': {
            std::size_t n = 1;
            while (n < 3 && cell(n) == '7') {
                ++n;
            }
            const std::string_view name = n == 3 ? "\\iiint" : (n == 2 ? "\\iint" : "\\int");
            return readLimits(seq, name, n, messages::kIntBraille);
        }
        case '<':
            if (isAsciiLetter(cell(1)) && cell(2) == ':') {
                return readRow(seq);  // a capital Greek letter
            }
            if (cell(1) == 'S') {
                return readLimits(seq, "\\sum", 2, messages::kSumBraille);
            }
            if (cell(1) == 'P') {
                return readLimits(seq, "\\prod", 2, messages::kProdBraille);
            }
            if (atCells("<v") && pos_ + 2 == s_.size()) {
                pos_ += 2;
                seq.add(Kind::Symbol, "\\true");
                return true;
            }
            return readRow(seq);
        case '\xF2':
            return readOverline(seq);
        case 'l':
            if (atCells("log.")) {
                return readLog(seq);
            }
            if (atCells("lim.")) {
                return readLimit(seq);
            }
            return readRow(seq);
        default:
            return readRow(seq);
    }
}

Conversion BrailleToLatex::run() {
    Conversion result;
    text_ = trimBlanks(input_);
    origin_ = static_cast<std::size_t>(text_.data() - input_.data());
    if (ends_ != nullptr) {
        ends_->assign(input_.size(), kNoPowerEnd);
    }
    if (text_.empty()) {
        return result;
    }
    if (text_.size() > kMaxFormulaLength) {
        result.error = messages::onPage(page_, messages::kTooLong);
        return result;
    }
    for (std::size_t i = 0; i < text_.size(); ++i) {
        if (isControlByte(text_[i])) {
            result.error = messages::onPage(page_, unknownCellMessage(text_[i], lineOf(text_, i)));
            return result;
        }
    }
    if (text_.find('\t') != std::string_view::npos) {
        // A tab is a blank, in text regions too.
        tabless_.assign(text_);
        std::replace(tabless_.begin(), tabless_.end(), '\t', ' ');
        text_ = trimBlanks(tabless_);
        origin_ += static_cast<std::size_t>(text_.data() - tabless_.data());
    }
    prepare();
    if (unclosedRegion_) {
        result.error = messages::onPage(page_, messages::kUnclosedRegionBraille);
        return result;
    }
    if (nestedPowers()) {
        result.error = messages::onPage(page_, messages::kPowerOfPower);
        return result;
    }
    Seq seq;
    seq.out.reserve(s_.size() * 2);
    Ended ended = Ended::None;
    while (true) {
        if (!readSeq(seq, 0, ended)) {
            result.error = error_;
            return result;
        }
        if (ended == Ended::End) {
            break;
        }
    }
    result.text = std::string(trimBlanks(seq.out));
    return result;
}

}  // namespace

Conversion convertBrailleToLatex(std::string_view braille, int page) {
    return BrailleToLatex(braille, page).run();
}

std::vector<std::size_t> readPowerEnds(std::string_view cells) {
    std::vector<std::size_t> ends;
    if (!BrailleToLatex(cells, 1, &ends).run().ok()) {
        ends.clear();
    }
    return ends;
}

std::string brailleToLatex(std::string_view braille, int page, FormulaErrorReport& report) {
    Conversion c = convertBrailleToLatex(braille, page);
    if (!c.ok()) {
        report.report(c.error);
        return {};
    }
    return std::move(c.text);
}

}  // namespace notation
