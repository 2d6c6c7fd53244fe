#include "notation/linear_layout.h"

#include "notation/mathml_tables.h"
#include "ui/cp1252.h"

#include <algorithm>
#include <utility>

namespace notation {

namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

// Room left and right of an operator, left of a sign (the minus of -2), and a blank's width.
constexpr int kOperatorSpace = 3;
constexpr int kSignSpace = 1;
constexpr int kBlankWidth = 4;
// Blank rows between a fraction bar and its numerator or denominator; room beyond its ends.
constexpr int kFractionGap = 2;
constexpr int kFractionOverhang = 2;
// Blank rows between a radicand or an overlined group and the line over it.
constexpr int kOverlineGap = 2;
// Where a line's baseline stands in a band of the nominal pitch, as a share of it: room above
// for numerators and exponents, below for denominators and indices.
constexpr double kBaselineShare = 0.6;
// Nesting deeper than this is drawn flat, so a page of nothing but openings cannot exhaust
// the stack.
constexpr int kMaxDepth = 48;

std::u32string unicodeOf(std::string_view cp1252) {
    std::u32string out;
    out.reserve(cp1252.size());
    for (const char c : cp1252) {
        out += ui::cp1252::toUnicode(static_cast<unsigned char>(c));
    }
    return out;
}

bool isOpenRound(const MathToken& t) {
    return t.code == MathCode::Open && t.text == "(";
}

// Code characters of one sign: a number's digits and a text region's words count one each.
std::size_t codeLength(const MathToken& t) {
    if (t.code == MathCode::Number || t.code == MathCode::TextRegion) {
        return t.text.size();
    }
    return 1;
}

// Where inside a sign its first code character stands, in cells from the sign's offset.
std::size_t firstCharacterCell(const MathToken& t) {
    if (t.code == MathCode::Number) {
        return t.opensNumber ? 1 : 0;
    }
    if (t.code == MathCode::TextRegion) {
        return 2;
    }
    return 0;
}

// A piece of drawing with its own pen (width) and baseline (0).
struct Box {
    std::vector<DisplayItem> items;
    std::vector<DisplayPart> parts;  // item ranges of `items`
    int width = 0;
    int top = 0;
    int bottom = 0;
};

class Layout {
public:
    Layout(const std::vector<MathToken>& code, std::size_t caret, const TextMetrics& metrics,
           std::string_view cells)
        : t_(code), m_(metrics), raised_(code.size(), false) {
        pairing_ = cells.empty() ? pairExponents(t_) : pairExponents(t_, cells);
        markShortExponents();
        locateCaret(caret);
    }

    DisplayLine run() {
        Box line = row(0, t_.size(), FontRole::Normal);
        if (caretToken_ == t_.size() || (caretToken_ != kNone && !caretDrawn_)) {
            caretMark(line, FontRole::Normal, 0);
        }
        DisplayLine out;
        out.parts = std::move(line.parts);
        out.items.reserve(line.items.size());
        for (DisplayItem item : line.items) {
            item.x += kLinePenStart;
            item.x2 += kLinePenStart;
            out.items.push_back(std::move(item));
        }
        out.width = kLinePenStart + line.width;
        out.top = line.top;
        out.bottom = line.bottom;
        return out;
    }

private:
    // ---- preparation

    // The tokens of each short exponent: the number, or the one sign, before its power end.
    void markShortExponents() {
        for (std::size_t e = 1; e < t_.size(); ++e) {
            if (!pairing_.shortEnd[e]) {
                continue;
            }
            std::size_t k = e - 1;
            if (t_[k].code == MathCode::Number) {
                while (k > 0 && !(t_[k].code == MathCode::Number && t_[k].opensNumber) &&
                       (t_[k - 1].code == MathCode::Number || t_[k - 1].code == MathCode::Comma ||
                        t_[k - 1].code == MathCode::Point ||
                        t_[k - 1].code == MathCode::Periodic)) {
                    --k;
                }
            }
            for (std::size_t j = k; j < e; ++j) {
                raised_[j] = true;
            }
        }
    }

    void locateCaret(std::size_t caret) {
        if (caret == kNone) {
            return;
        }
        std::size_t before = 0;
        for (std::size_t i = 0; i < t_.size(); ++i) {
            const std::size_t length = codeLength(t_[i]);
            if (caret < before + length || (caret == before && length == 0)) {
                caretToken_ = i;
                caretWithin_ = caret - before;
                return;
            }
            before += length;
        }
        caretToken_ = t_.size();
    }

    // ---- drawing primitives

    static void extend(Box& box, int top, int bottom) {
        box.top = std::min(box.top, top);
        box.bottom = std::max(box.bottom, bottom);
    }

    // Appends `part`, a part of kind `kind`, with its pen at (dx, dy) of `into`'s coordinates.
    static void put(Box& into, Box&& part, int dx, int dy, PartKind kind) {
        const std::size_t first = into.items.size();
        into.parts.push_back({kind, first, first + part.items.size(), dy});
        for (DisplayPart& inner : part.parts) {
            inner.firstItem += first;
            inner.endItem += first;
            into.parts.push_back(inner);
        }
        for (DisplayItem& item : part.items) {
            item.x += dx;
            item.x2 += dx;
            item.y += dy;
            item.y2 += dy;
            into.items.push_back(std::move(item));
        }
        extend(into, part.top + dy, part.bottom + dy);
    }

    void ink(Box& box, DisplayKind kind, FontRole role, std::u32string text, bool operatorInk,
             int before = -1, int after = -1) {
        const int width =
            kind == DisplayKind::Glyph ? m_.glyphWidth(role, text) : m_.textWidth(role, text);
        const int space = operatorInk ? kOperatorSpace : 0;
        before = before < 0 ? space : before;
        after = after < 0 ? space : after;
        DisplayItem item;
        item.kind = kind;
        item.role = role;
        item.operatorInk = operatorInk;
        item.text = std::move(text);
        item.x = box.width + before;
        item.width = width;
        box.items.push_back(std::move(item));
        box.width += before + width + after;
        extend(box, -m_.ascent(role), m_.descent(role));
    }

    // A line of kLineThickness: its ink covers the rows and columns half the thickness either
    // side of the points given.
    static void line(Box& box, DisplayKind kind, int x, int y, int x2, int y2) {
        DisplayItem item;
        item.kind = kind;
        item.x = x;
        item.y = y;
        item.x2 = x2;
        item.y2 = y2;
        box.items.push_back(std::move(item));
        extend(box, std::min(y, y2) - kLineThickness / 2,
               std::max(y, y2) + kLineThickness - kLineThickness / 2);
    }

    // The caret takes a room of its own at the pen, so that it never covers ink; `dy` raises
    // or lowers it with the row it stands in.
    void caretMark(Box& box, FontRole role, int dy) {
        DisplayItem item;
        item.kind = DisplayKind::Caret;
        item.role = role;
        item.x = box.width + (kCaretRoom - kLineThickness) / 2;
        item.x2 = item.x;
        item.y = -m_.ascent(role) - 2 + dy;
        item.y2 = m_.descent(role) + 2 + dy;
        box.items.push_back(item);
        box.width += kCaretRoom;
        extend(box, item.y, item.y2);
        caretDrawn_ = true;
    }

    // The caret when the drawing reaches sign `i`.
    void reach(Box& box, std::size_t i, FontRole role) {
        if (i == caretToken_ && caretWithin_ == 0 && !caretDrawn_) {
            caretMark(box, role, 0);
        }
    }

    // ---- rows and signs

    // Lays out signs [from, to) with the pen at 0.
    Box row(std::size_t from, std::size_t to, FontRole role) {
        Box box;
        extend(box, -m_.ascent(role), m_.descent(role));
        ++depth_;
        rowStarts_.push_back(from);
        std::size_t i = from;
        while (i < to) {
            reach(box, i, role);
            if (raised_[i]) {
                std::size_t j = i;
                while (j < to && raised_[j]) {
                    raised_[j] = false;
                    ++j;
                }
                raise(box, i, j, role);
                i = j;
                continue;
            }
            i = sign(box, i, to, role);
        }
        rowStarts_.pop_back();
        --depth_;
        return box;
    }

    static FontRole smaller(FontRole role) {
        return role == FontRole::Label ? FontRole::Label : FontRole::Exponent;
    }

    // How far an exponent of a `role` row is raised: as far as the rule says; one that reaches
    // further down than its text (a fraction) goes up until all of it stands above the base
    // line, its lowest ink as high as a fraction bar of the base.
    int raiseFor(const Box& exponent, FontRole role) const {
        const bool reachesDown = exponent.bottom > m_.descent(smaller(role));
        return std::max(kExponentRaise, exponent.bottom + (reachesDown ? m_.ascent(role) / 3 : 1));
    }

    // Signs [from, to) as an exponent of `box`; returns how far it was raised.
    int raise(Box& box, std::size_t from, std::size_t to, FontRole role) {
        Box exponent = row(from, to, smaller(role));
        const int width = exponent.width;
        const int by = raiseFor(exponent, role);
        put(box, std::move(exponent), box.width, -by, PartKind::Exponent);
        box.width += width;
        return by;
    }

    // Signs [from, to) as an index of `box`: the baseline goes down and comes back.
    void lower(Box& box, std::size_t from, std::size_t to, FontRole role) {
        shift(box, 0, kSubLevelShift);
        Box index = row(from, to, smaller(role));
        const int width = index.width;
        put(box, std::move(index), box.width, kSubLevelShift, PartKind::Index);
        box.width += width;
        shift(box, kSubLevelShift, -kSubLevelShift);
    }

    static void shift(Box& box, int from, int by) {
        DisplayItem item;
        item.kind = DisplayKind::SubLevelShift;
        item.x = box.width;
        item.x2 = box.width;
        item.y = from;
        item.y2 = by;
        box.items.push_back(std::move(item));
    }

    // Draws the sign at `i` (with what belongs to it) and returns where the next one starts.
    std::size_t sign(Box& box, std::size_t i, std::size_t to, FontRole role) {
        const MathToken& tok = t_[i];
        const bool tooDeep = depth_ > kMaxDepth;
        switch (tok.code) {
            case MathCode::Number:
            case MathCode::TextRegion:
                characters(box, i, tok.code == MathCode::TextRegion ? FontRole::Label : role);
                return i + 1;
            case MathCode::Comma:
            case MathCode::Point:
            case MathCode::Letter:
            case MathCode::Open:
            case MathCode::Close:
                ink(box, DisplayKind::Text, role, unicodeOf(tok.text), false);
                return i + 1;
            case MathCode::Periodic:
                if (i + 1 < to && t_[i + 1].code == MathCode::Number && !t_[i + 1].opensNumber) {
                    overlined(box, i + 1, i + 2, role);
                    return i + 2;
                }
                ink(box, DisplayKind::Text, role, U"'", false);
                return i + 1;
            case MathCode::NumericFraction:
                numericFraction(box, tok, role);
                return i + 1;
            case MathCode::Greek:
                ink(box, DisplayKind::Glyph, role, mathmlCharacters(tok.text), false);
                return i + 1;
            case MathCode::Symbol: {
                const bool identifier =
                    tok.text.starts_with("<mi>") || tok.text.starts_with("<mtext>");
                ink(box, DisplayKind::Glyph, role, mathmlCharacters(tok.text), !identifier);
                return i + 1;
            }
            case MathCode::BigOperator:
                return bigOperator(box, i, to, role);
            case MathCode::Function:
                return function(box, i, to, role);
            case MathCode::Operator:
                operatorSign(box, tok.text, role, isSign(i));
                return i + 1;
            case MathCode::FractionStart:
                return tooDeep ? stray(box, "6", i, role) : fraction(box, i, to, role);
            case MathCode::RootStart:
                return tooDeep ? stray(box, "9", i, role) : root(box, i, to, role);
            case MathCode::Overline:
                return tooDeep ? stray(box, "\xF2", i, role) : overline(box, i, to, role);
            case MathCode::ExponentStart: {
                if (tooDeep) {
                    return stray(box, "|", i, role);
                }
                std::size_t end = pairing_.match[i];
                if (end == kNone || end > to) {
                    end = to;
                }
                const int by = raise(box, i + 1, end, role);
                if (end < to) {
                    // The caret just before the power end stands at the exponent's end, raised.
                    if (end == caretToken_ && caretWithin_ == 0 && !caretDrawn_) {
                        caretMark(box, smaller(role), -by);
                    }
                    return end + 1;
                }
                return end;
            }
            case MathCode::ExponentEnd:
                if (pairing_.shortEnd[i]) {
                    return i + 1;  // its exponent is already drawn raised
                }
                return stray(box, "1", i, role);
            case MathCode::PowerSign:
            case MathCode::IndexSign: {
                if (tok.code == MathCode::IndexSign && !tooDeep && i + 1 < to &&
                    t_[i + 1].code == MathCode::ExponentStart) {
                    return indexGroup(box, i + 1, to, role);
                }
                const std::size_t end = tooDeep ? i + 1 : operandEnd(i + 1, to);
                if (tok.code == MathCode::PowerSign) {
                    raise(box, i + 1, end, role);
                } else {
                    lower(box, i + 1, end, role);
                }
                return end;
            }
            case MathCode::FractionMiddle:
                return stray(box, "np", i, role);
            case MathCode::FractionEnd:
                return stray(box, "4", i, role);
            case MathCode::RootEnd:
                return stray(box, "o", i, role);
            case MathCode::Colon:
                operatorSign(box, ":", role);
                return i + 1;
            case MathCode::Blank:
                box.width += kBlankWidth;
                return i + 1;
            case MathCode::Other:
                // A letter or capital sign with nothing to sign draws nothing.
                if (tok.text != "_" && tok.text != "$") {
                    ink(box, DisplayKind::Text, role, mathmlCharacters(tok.text), false);
                }
                return i + 1;
        }
        return i + 1;
    }

    // "!|" index "1": the whole group lowered; returns where the next sign starts.
    std::size_t indexGroup(Box& box, std::size_t start, std::size_t to, FontRole role) {
        std::size_t end = pairing_.match[start];
        if (end == kNone || end > to) {
            end = to;
        }
        reach(box, start, role);
        lower(box, start + 1, end, role);
        if (end < to) {
            // The caret just before the group's end stands at the index's end, lowered.
            if (end == caretToken_ && caretWithin_ == 0 && !caretDrawn_) {
                caretMark(box, smaller(role), kSubLevelShift);
            }
            return end + 1;
        }
        return end;
    }

    std::size_t stray(Box& box, std::string_view cells, std::size_t i, FontRole role) {
        ink(box, DisplayKind::Text, role, unicodeOf(cells), false);
        return i + 1;
    }

    // Whether the operator at `i` is the sign of what follows it (the minus of x^-2, of (-3),
    // of -a + b) rather than an operation between two terms: nothing stands before it in its
    // row but an opening, another operator or a relation.
    bool isSign(std::size_t i) const {
        if (rowStarts_.empty() || i == rowStarts_.back()) {
            return true;
        }
        const MathToken& before = t_[i - 1];
        switch (before.code) {
            case MathCode::Open:
            case MathCode::Operator:
            case MathCode::Colon:
            case MathCode::Comma:
            case MathCode::ExponentStart:
            case MathCode::FractionStart:
            case MathCode::FractionMiddle:
            case MathCode::RootStart:
            case MathCode::PowerSign:
            case MathCode::IndexSign:
                return true;
            case MathCode::Symbol:
                // A relation (=, <, the set signs) before it; an identifier is a term.
                return !before.text.starts_with("<mi>") && !before.text.starts_with("<mtext>");
            default:
                return false;
        }
    }

    void operatorSign(Box& box, std::string_view xml, FontRole role, bool sign = false) {
        std::u32string text = mathmlCharacters(xml);
        const bool plusOrMinus = text == U"-" || text == U"+" || text == U"\u00B1";
        if (text == U"-") {
            text = U"\u2212";
        }
        if (sign && plusOrMinus) {
            // A sign stands against what it signs.
            ink(box, DisplayKind::Text, role, std::move(text), true, kSignSpace, 0);
            return;
        }
        // Apostrophes and bars stand close to what they mark.
        const bool spaced = text != U"'" && text != U"|";
        ink(box, DisplayKind::Text, role, std::move(text), spaced);
    }

    // A number's digits or a text region's words, with the caret among them.
    void characters(Box& box, std::size_t i, FontRole role) {
        const MathToken& tok = t_[i];
        std::u32string text = unicodeOf(tok.text);
        if (i == caretToken_ && caretWithin_ > 0 && caretWithin_ <= text.size() && !caretDrawn_) {
            // The caret between two digits: each part is drawn on its side of the caret's room.
            ink(box, DisplayKind::Text, role, text.substr(0, caretWithin_), false);
            caretMark(box, role, 0);
            text.erase(0, caretWithin_);
            if (text.empty()) {
                return;
            }
        }
        ink(box, DisplayKind::Text, role, std::move(text), false);
    }

    // Where the operand of a one-cell power sign or index sign that starts at `i` ends.
    std::size_t operandEnd(std::size_t i, std::size_t to) const {
        if (i >= to) {
            return to;
        }
        switch (t_[i].code) {
            case MathCode::Open: {
                int depth = 0;
                for (std::size_t k = i; k < to; ++k) {
                    if (t_[k].code == MathCode::Open) {
                        ++depth;
                    } else if (t_[k].code == MathCode::Close && --depth == 0) {
                        return k + 1;
                    }
                }
                return to;
            }
            case MathCode::FractionStart:
                return closing(i, to, MathCode::FractionStart, MathCode::FractionEnd) + 1;
            case MathCode::RootStart:
                return closing(i, to, MathCode::RootStart, MathCode::RootEnd) + 1;
            case MathCode::Overline:
                return firstOf(i + 1, to, MathCode::Colon) + 1;
            case MathCode::Number:
            case MathCode::NumericFraction:
            case MathCode::Letter:
            case MathCode::Greek:
            case MathCode::Symbol:
            case MathCode::Function:
            case MathCode::Other:
                return i + 1;
            default:
                return i;  // nothing to raise
        }
    }

    // The sign that closes the construct opened at `i`, or `to` - 1 when none does.
    std::size_t closing(std::size_t i, std::size_t to, MathCode open, MathCode close) const {
        return std::min(constructEnd(i, to, open, close), to - 1);
    }

    // The sign that closes the construct opened at `i`, or `to` when none does; `middle`, when
    // given, receives the fraction's own middle sign (kNone if none).
    std::size_t constructEnd(std::size_t i, std::size_t to, MathCode open, MathCode close,
                             std::size_t* middle = nullptr) const {
        if (middle != nullptr) {
            *middle = kNone;
        }
        int depth = 0;
        for (std::size_t k = i + 1; k < to; ++k) {
            if (t_[k].code == open) {
                ++depth;
            } else if (t_[k].code == close) {
                if (depth == 0) {
                    return k;
                }
                --depth;
            } else if (middle != nullptr && t_[k].code == MathCode::FractionMiddle && depth == 0 &&
                       *middle == kNone) {
                *middle = k;
            }
        }
        return to;
    }

    std::size_t firstOf(std::size_t from, std::size_t to, MathCode code) const {
        for (std::size_t k = from; k < to; ++k) {
            if (t_[k].code == code) {
                return k;
            }
        }
        return to - 1;
    }

    // Numerator over denominator, centred, with a bar between them on the math axis.
    void stack(Box& box, Box&& numerator, Box&& denominator, FontRole role) {
        const int inner = std::max(numerator.width, denominator.width);
        const int width = inner + 2 * kFractionOverhang;
        const int bar = -m_.ascent(role) / 3;
        const int x = box.width;
        const int numWidth = numerator.width;
        const int denWidth = denominator.width;
        // The bar's rows are [bar - 1, bar + 1); the gap's blank rows lie either side of them.
        const int numBaseline = bar - kLineThickness / 2 - kFractionGap - numerator.bottom;
        const int denBaseline =
            bar + kLineThickness - kLineThickness / 2 + kFractionGap - denominator.top;
        put(box, std::move(numerator), x + kFractionOverhang + (inner - numWidth) / 2, numBaseline,
            PartKind::Numerator);
        put(box, std::move(denominator), x + kFractionOverhang + (inner - denWidth) / 2,
            denBaseline, PartKind::Denominator);
        line(box, DisplayKind::FractionBar, x, bar, x + width, bar);
        box.width += width + 1;
    }

    std::size_t fraction(Box& box, std::size_t i, std::size_t to, FontRole role) {
        std::size_t middle = kNone;
        const std::size_t end =
            constructEnd(i, to, MathCode::FractionStart, MathCode::FractionEnd, &middle);
        const std::size_t numeratorEnd = middle == kNone ? end : middle;
        Box numerator = row(i + 1, numeratorEnd, role);
        if (numeratorEnd < to) {
            reach(numerator, numeratorEnd, role);
        }
        Box denominator;
        extend(denominator, -m_.ascent(role), m_.descent(role));
        if (middle != kNone) {
            denominator = row(middle + 1, end, role);
            if (end < to) {
                reach(denominator, end, role);
            }
        }
        stack(box, std::move(numerator), std::move(denominator), role);
        return end < to ? end + 1 : to;
    }

    void numericFraction(Box& box, const MathToken& tok, FontRole role) {
        Box numerator;
        ink(numerator, DisplayKind::Text, role, unicodeOf(tok.text), false);
        Box denominator;
        extend(denominator, -m_.ascent(role), m_.descent(role));
        if (!tok.denominator.empty()) {
            ink(denominator, DisplayKind::Text, role, unicodeOf(tok.denominator), false);
        }
        stack(box, std::move(numerator), std::move(denominator), role);
    }

    // A radical sign of strokes over the radicand, the index (if any) in the crook.
    std::size_t root(Box& box, std::size_t i, std::size_t to, FontRole role) {
        const std::size_t end = constructEnd(i, to, MathCode::RootStart, MathCode::RootEnd);
        const std::size_t colon = rootIndexColon(i, end);
        Box index;
        std::size_t radicandStart = i + 1;
        if (colon != kNone) {
            index = row(i + 1, colon, smaller(role));
            reach(index, colon, smaller(role));
            radicandStart = colon + 1;
        }
        Box radicand = row(radicandStart, end, role);
        if (end < to) {
            reach(radicand, end, role);
        }
        const int x = box.width;
        const int top = radicand.top - kOverlineGap - 1;
        const int bottom = radicand.bottom;
        const int middle = (top + bottom) / 2 + 2;
        int x0 = x;
        if (colon != kNone) {
            const int indexWidth = index.width;
            put(box, std::move(index), x, middle - 1 - index.bottom, PartKind::RootIndex);
            x0 = x + std::max(0, indexWidth - 3);
        }
        line(box, DisplayKind::RadicalStroke, x0, middle, x0 + 3, bottom);
        line(box, DisplayKind::RadicalStroke, x0 + 3, bottom, x0 + 8, top);
        const int radicandWidth = radicand.width;
        put(box, std::move(radicand), x0 + 10, 0, PartKind::Radicand);
        line(box, DisplayKind::Overline, x0 + 8, top, x0 + 12 + radicandWidth, top);
        box.width = x0 + 13 + radicandWidth;
        return end < to ? end + 1 : to;
    }

    // The colon that ends the index of the root opened at `i` (whose end is `end`): the first
    // one of the root's own, past those of the constructs inside it (a nested root's index,
    // the limits of a sum, a logarithm's base, an overline's end); kNone for a square root.
    std::size_t rootIndexColon(std::size_t i, std::size_t end) const {
        for (std::size_t k = i + 1; k < end; ++k) {
            switch (t_[k].code) {
                case MathCode::Colon:
                    return k;
                case MathCode::RootStart:
                    k = closing(k, end, MathCode::RootStart, MathCode::RootEnd);
                    break;
                case MathCode::Overline:
                    k = firstOf(k + 1, end, MathCode::Colon);
                    break;
                case MathCode::BigOperator:
                    k = limitsColon(k, end);
                    break;
                case MathCode::Function:
                    k = t_[k].text == "log" ? logBaseColon(k, end) : k;
                    break;
                default:
                    break;
            }
        }
        return kNone;
    }

    // The first sign from `from` on that ends a limit of a sum, product or integral: a colon,
    // an open round bracket, or for the lower limit a comma; `to` when none does.
    std::size_t limitEnd(std::size_t from, std::size_t to, bool lower) const {
        while (from < to && t_[from].code != MathCode::Colon && !isOpenRound(t_[from]) &&
               !(lower && t_[from].code == MathCode::Comma)) {
            ++from;
        }
        return from;
    }

    // The colon that ends the upper limit of the sum, product or integral at `i`; `i` when
    // its signs are no limits.
    std::size_t limitsColon(std::size_t i, std::size_t to) const {
        const std::size_t p = limitEnd(i + 1, to, true);
        if (p < to && t_[p].code == MathCode::Comma) {
            const std::size_t q = limitEnd(p + 1, to, false);
            return q < to && t_[q].code == MathCode::Colon ? q : i;
        }
        return p < to && t_[p].code == MathCode::Colon && p > i + 1 ? p : i;
    }

    // The colon that ends the base of the logarithm at `i`, within 20 cells; `i` when none.
    std::size_t logBaseColon(std::size_t i, std::size_t to) const {
        const std::size_t reachEnd = t_[i].offset + t_[i].length + 20;
        for (std::size_t q = i + 1; q < to && t_[q].offset <= reachEnd; ++q) {
            if (t_[q].code == MathCode::Colon) {
                return q;
            }
        }
        return i;
    }

    // Signs [from, to) with a line over them.
    void overlined(Box& box, std::size_t from, std::size_t to, FontRole role) {
        overlined(box, row(from, to, role));
    }

    void overlined(Box& box, Box&& content) {
        const int x = box.width;
        const int top = content.top - kOverlineGap - 1;
        const int width = content.width;
        put(box, std::move(content), x, 0, PartKind::Overlined);
        line(box, DisplayKind::Overline, x, top, x + width, top);
        box.width += width;
    }

    std::size_t overline(Box& box, std::size_t i, std::size_t to, FontRole role) {
        std::size_t colon = i + 1;
        while (colon < to && t_[colon].code != MathCode::Colon) {
            ++colon;
        }
        Box content = row(i + 1, colon, role);
        if (colon < to) {
            reach(content, colon, role);
        }
        overlined(box, std::move(content));
        box.width += 1;
        return colon < to ? colon + 1 : to;
    }

    // Sums, products and integrals with their limits written lower "," upper ":".
    std::size_t bigOperator(Box& box, std::size_t i, std::size_t to, FontRole role) {
        ink(box, DisplayKind::Glyph, role, mathmlCharacters(t_[i].text), false);
        const std::size_t p = limitEnd(i + 1, to, true);
        if (p < to && t_[p].code == MathCode::Comma) {
            const std::size_t q = limitEnd(p + 1, to, false);
            if (q < to && t_[q].code == MathCode::Colon) {
                limits(box, i + 1, p, p + 1, q, role);
                return q + 1;
            }
            if (q == p + 1) {
                lower(box, i + 1, p, role);
                reach(box, p, role);
                return q;
            }
            return i + 1;  // not limits after all: the signs follow as they are
        }
        if (p < to && t_[p].code == MathCode::Colon && p > i + 1) {
            raise(box, i + 1, p, role);
            return p + 1;
        }
        return i + 1;
    }

    // The lower limit lowered and the upper one raised, both starting at the pen.
    void limits(Box& box, std::size_t lowFrom, std::size_t lowTo, std::size_t upFrom,
                std::size_t upTo, FontRole role) {
        const int x = box.width;
        shift(box, 0, kSubLevelShift);
        Box low = row(lowFrom, lowTo, smaller(role));
        reach(low, lowTo, smaller(role));
        const int lowWidth = low.width;
        put(box, std::move(low), x, kSubLevelShift, PartKind::Index);
        shift(box, kSubLevelShift, -kSubLevelShift);
        Box up = row(upFrom, upTo, smaller(role));
        reach(up, upTo, smaller(role));
        const int upWidth = up.width;
        const int upBy = raiseFor(up, role) + 2;
        put(box, std::move(up), x, -upBy, PartKind::Exponent);
        box.width = x + std::max(lowWidth, upWidth) + 2;
    }

    // "log" with its base written before a ":" within 20 cells, and the other function names.
    std::size_t function(Box& box, std::size_t i, std::size_t to, FontRole role) {
        const MathToken& fn = t_[i];
        ink(box, DisplayKind::Text, role, unicodeOf(fn.text), false);
        if (fn.text == "log") {
            const std::size_t reachEnd = fn.offset + fn.length + 20;
            for (std::size_t q = i + 1; q < to && t_[q].offset <= reachEnd; ++q) {
                if (t_[q].code == MathCode::Colon) {
                    lower(box, i + 1, q, role);
                    reach(box, q, role);
                    box.width += 2;
                    return q + 1;
                }
            }
        }
        box.width += 2;
        return i + 1;
    }

    const std::vector<MathToken>& t_;
    const TextMetrics& m_;
    ExponentPairing pairing_;
    std::vector<bool> raised_;
    std::size_t caretToken_ = kNone;
    std::size_t caretWithin_ = 0;
    bool caretDrawn_ = false;
    int depth_ = 0;
    std::vector<std::size_t> rowStarts_;  // the first sign of each row being laid out
};

}  // namespace

int CachedTextMetrics::textWidth(FontRole role, std::u32string_view text) const {
    return cached(false, role, text);
}

int CachedTextMetrics::glyphWidth(FontRole role, std::u32string_view glyph) const {
    return cached(true, role, glyph);
}

int CachedTextMetrics::cached(bool glyph, FontRole role, std::u32string_view text) const {
    auto& known = widths_[(glyph ? 3 : 0) + static_cast<int>(role)];
    const std::u32string key(text);
    if (const auto found = known.find(key); found != known.end()) {
        return found->second;
    }
    const int width = measure(glyph, role, text);
    known.emplace(key, width);
    return width;
}

int FixedMetrics::advance(FontRole role) {
    switch (role) {
        case FontRole::Normal:
            return 10;
        case FontRole::Exponent:
            return 7;
        case FontRole::Label:
            return 6;
    }
    return 10;
}

int FixedMetrics::textWidth(FontRole role, std::u32string_view text) const {
    return advance(role) * static_cast<int>(text.size());
}

int FixedMetrics::glyphWidth(FontRole role, std::u32string_view glyph) const {
    return advance(role) * static_cast<int>(glyph.size());
}

int FixedMetrics::ascent(FontRole role) const {
    return role == FontRole::Normal ? 12 : role == FontRole::Exponent ? 9 : 8;
}

int FixedMetrics::descent(FontRole role) const {
    return role == FontRole::Normal ? 4 : role == FontRole::Exponent ? 3 : 2;
}

std::size_t caretCodeCharacters(const std::vector<MathToken>& code, std::size_t column) {
    std::size_t count = 0;
    for (const MathToken& t : code) {
        if (t.offset + t.length <= column) {
            count += codeLength(t);
        } else {
            if (t.offset < column &&
                (t.code == MathCode::Number || t.code == MathCode::TextRegion)) {
                const std::size_t into = column - t.offset;
                const std::size_t first = firstCharacterCell(t);
                count += std::min(into > first ? into - first : 0, codeLength(t));
            }
            break;
        }
    }
    return count;
}

DisplayLine layoutLine(const std::vector<MathToken>& code, std::size_t caret,
                       const TextMetrics& metrics) {
    return Layout(code, caret, metrics, {}).run();
}

std::vector<LinePlace> placeLines(const std::vector<DisplayLine>& lines, int pitch, int height,
                                  std::size_t keep) {
    std::vector<LinePlace> places;
    if (lines.empty() || height <= 0) {
        return places;
    }
    keep = std::min(keep, lines.size() - 1);
    pitch = std::max(pitch, 1);
    const int above = static_cast<int>(pitch * kBaselineShare);
    std::vector<LinePlace> bands(lines.size());
    for (std::size_t k = 0; k < lines.size(); ++k) {
        const int up = std::max(above, kLineMargin - lines[k].top);
        const int down = std::max(pitch - above, lines[k].bottom + kLineMargin);
        bands[k].line = k;
        bands[k].baseline = up;  // within the band, for now
        bands[k].height = up + down;
    }
    // The lines kept: a run around `keep`, grown on the side nearer to it, above first.
    std::size_t first = keep;
    std::size_t last = keep;
    long total = bands[keep].height;
    for (;;) {
        const std::size_t below = last + 1 - keep;
        const std::size_t aboveBy = keep - first + 1;
        const bool canBelow = last + 1 < lines.size();
        const bool canAbove = first > 0;
        if (!canBelow && !canAbove) {
            break;
        }
        const bool takeBelow = canBelow && (!canAbove || below < aboveBy);
        const std::size_t next = takeBelow ? last + 1 : first - 1;
        if (total + bands[next].height > height) {
            break;
        }
        total += bands[next].height;
        (takeBelow ? last : first) = next;
    }
    int top = 0;
    for (std::size_t k = first; k <= last; ++k) {
        LinePlace place = bands[k];
        place.top = top;
        if (place.height > height) {
            // Alone and still too tall: drawn smaller, about its baseline, to fit the strip.
            place.scale = static_cast<double>(height) / place.height;
            place.baseline = static_cast<int>(place.baseline * place.scale);
            place.height = height;
        } else {
            place.baseline += top;
        }
        top += place.height;
        places.push_back(place);
    }
    return places;
}

DisplayLine layoutCells(std::string_view line, std::size_t caretColumn,
                        const TextMetrics& metrics) {
    const std::vector<MathToken> code = lineCode(line);
    const std::size_t caret =
        caretColumn == kNoCaret ? kNoCaret : caretCodeCharacters(code, caretColumn);
    // The exponents are paired as the conversion reads the line.
    return Layout(code, caret, metrics, line).run();
}

}  // namespace notation
