// One meaning in every view. Generated school formulas, each with the shape it has (what is a
// fraction, an exponent, an index, a root, a limit, a sum, a bar, an arrow, and what stands in
// what), go to Braille; then the shape each view shows is read back from it: the MathML
// tree, the linear view's raised, lowered and stacked parts, the words the speech opens and
// closes them with. Every view must show the formula's own shape.
//
// A shape is written "F(numerator)(denominator)", "P(exponent)", "I(index)", "R(radicand)",
// "Q(index)(radicand)", "L(...)" (what stands under a limit), "S(lower)(upper)" (the limits of
// a sum, product or integral), "|" (a bar), "T" (a limit's arrow) and "M" (an implication);
// letters, numbers and operators leave no trace.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "notation/conversion.h"
#include "notation/linear_layout.h"
#include "notation/mathml_page.h"
#include "speech/rendering.h"

namespace {

struct Formula {
    std::string latex;
    std::string shape;
};

Formula operator+(Formula a, const Formula& b) {
    a.latex += b.latex;
    a.shape += b.shape;
    return a;
}

Formula plain(std::string latex) {
    return {std::move(latex), {}};
}

// ---- the formulas

class ShapeGenerator {
public:
    explicit ShapeGenerator(unsigned seed) : random_(seed) {}

    Formula formula() {
        Formula f = expression(2 + below(3));
        if (chance(6)) {
            f = f + Formula{"\\impl ", "M"} + expression(1);
        }
        return f;
    }

private:
    int below(int n) { return static_cast<int>(random_() % static_cast<unsigned>(n)); }
    bool chance(int oneIn) { return below(oneIn) == 0; }
    template <typename... T>
    std::string pick(T... options) {
        const std::string_view all[] = {options...};
        return std::string(all[below(sizeof...(T))]);
    }

    std::string letter() { return std::string(1, static_cast<char>('a' + below(26))); }
    std::string digits() {
        std::string d(1, static_cast<char>('1' + below(9)));
        if (chance(3)) {
            d += static_cast<char>('0' + below(10));
        }
        return d;
    }
    Formula atom() {
        switch (below(5)) {
            case 0:
                return plain(digits());
            case 1:
                return plain(pick("\\alpha ", "\\pi ", "\\theta "));
            default:
                return plain(letter());
        }
    }

    // What an index holds: one item, or several (a group). A letter and a digit run together
    // (k2) is left out: the group's end would read on as a numeric exponent's, which the
    // notation refuses to write.
    std::string index() {
        return pick("n", "i", "k", "0", "12") + (chance(2) ? pick("+1", "-1", "j", ",j") : "");
    }

    // What a power or an index stands on: a letter, a number, a Greek letter, a bracket.
    Formula base() {
        switch (below(5)) {
            case 0:
                return plain(digits());
            case 1:
                return plain("(") + expression(1) + plain(")");
            case 2:
                return plain(pick("\\alpha", "\\pi", "\\theta"));
            default:
                return plain(letter());
        }
    }

    // An exponent never ends in a digit: a number closing it would read on into the numeric
    // exponent of a power after it, which the notation refuses to write.
    Formula exponent(int depth) {
        switch (below(4)) {
            case 0:
                return plain(pick("2", "3", "n", "x", "-1"));
            case 1:
                return fraction(depth);
            default:
                return expression(depth) + plain(pick("x", "n", "a"));
        }
    }

    Formula fraction(int depth) {
        if (depth <= 0 || chance(3)) {
            return {"\\frac{" + digits() + "}{" + digits() + "}", "F()()"};
        }
        const Formula top = expression(depth - 1);
        const Formula bottom = expression(depth - 1);
        return {"\\frac{" + top.latex + "}{" + bottom.latex + "}",
                "F(" + top.shape + ")(" + bottom.shape + ")"};
    }

    Formula term(int depth) {
        if (depth <= 0) {
            return atom();
        }
        switch (below(12)) {
            case 0:
                return fraction(depth);
            case 1:
            case 2: {
                const Formula e = exponent(depth - 1);
                return base() + Formula{"^{" + e.latex + "}", "P(" + e.shape + ")"};
            }
            case 3:
                return base() + Formula{"_{" + index() + "}", "I()"};
            case 4: {
                const Formula e = exponent(depth - 1);
                return base() +
                       Formula{"_{" + index() + "}^{" + e.latex + "}", "I()P(" + e.shape + ")"};
            }
            case 5: {
                const Formula r = expression(depth - 1);
                return {"\\sqrt{" + r.latex + "}", "R(" + r.shape + ")"};
            }
            case 6: {
                const Formula r = expression(depth - 1);
                return {"\\sqrt[" + pick("3", "n") + "]{" + r.latex + "}", "Q()(" + r.shape + ")"};
            }
            case 7: {
                const Formula body = expression(depth - 1);
                return Formula{
                           "\\lim_{" + letter() + "\\to " + pick("0", "\\infty", "a", "2") + "}",
                           "L(T)"} +
                       plain("(") + body + plain(")");
            }
            case 8: {
                const Formula body = expression(depth - 1);
                const std::string limits = pick("_{i=1}^{n}", "_{0}^{1}", "_{a}^{b}", "_{k=0}^{m}");
                return Formula{pick("\\sum", "\\prod", "\\int") + limits, "S()()"} + plain("(") +
                       body + plain(")");
            }
            case 9:
                // In brackets: two bars side by side would be the double bar "%%".
                return Formula{"%(", "|"} + expression(depth - 1) + Formula{")%", "|"};
            case 10:
                return plain("(") + expression(depth - 1) + plain(")");
            default:
                return atom();
        }
    }

    Formula expression(int depth) {
        Formula e = term(depth);
        for (int n = below(3); n > 0; --n) {
            e = e + plain(pick("+", "-", "*", "=", "<", "+")) + term(depth);
        }
        return e;
    }

    std::mt19937 random_;
};

// ---- MathML: the element tree

struct Node {
    std::string name;  // empty for text
    std::string text;
    std::vector<Node> children;
};

class XmlReader {
public:
    explicit XmlReader(std::string_view xml) : s_(xml) {}

    Node root() {
        Node top;
        while (pos_ < s_.size()) {
            read(top);
        }
        return top;
    }

private:
    // Reads one element or text run into `parent`; false at a closing tag (consumed).
    bool read(Node& parent) {
        if (s_[pos_] != '<') {
            const std::size_t end = s_.find('<', pos_);
            const std::string_view text = s_.substr(pos_, end - pos_);
            if (text.find_first_not_of(" \r\n") != std::string_view::npos) {
                parent.children.push_back({{}, std::string(text), {}});
            }
            pos_ = end == std::string_view::npos ? s_.size() : end;
            return true;
        }
        const std::size_t close = s_.find('>', pos_);
        const std::string_view tag = s_.substr(pos_ + 1, close - pos_ - 1);
        pos_ = close + 1;
        if (tag.starts_with('/')) {
            return false;
        }
        Node element;
        element.name = std::string(tag.substr(0, tag.find(' ')));
        if (!tag.ends_with('/')) {
            while (pos_ < s_.size() && read(element)) {
            }
        }
        parent.children.push_back(std::move(element));
        return true;
    }

    std::string_view s_;
    std::size_t pos_ = 0;
};

std::string textOf(const Node& n) {
    std::string t = n.text;
    for (const Node& c : n.children) {
        t += textOf(c);
    }
    return t;
}

bool isBigOperator(const Node& n) {
    const std::string t = textOf(n);
    return n.name == "mo" &&
           (t.find("&sum;") != std::string::npos || t.find("&prod;") != std::string::npos ||
            t.find("&Integral;") != std::string::npos);
}

std::string mathmlShape(const Node& n, bool underLimit);

std::string childrenShape(const Node& n, bool underLimit) {
    std::string s;
    for (const Node& c : n.children) {
        s += mathmlShape(c, underLimit);
    }
    return s;
}

std::string mathmlShape(const Node& n, bool underLimit) {
    const auto child = [&](std::size_t i) {
        return i < n.children.size() ? mathmlShape(n.children[i], underLimit) : "?";
    };
    if (n.name == "mfrac") {
        return "F(" + child(0) + ")(" + child(1) + ")";
    }
    if (n.name == "msup") {
        return child(0) + "P(" + child(1) + ")";
    }
    if (n.name == "msub") {
        return child(0) + "I(" + child(1) + ")";
    }
    if (n.name == "msubsup") {
        if (!n.children.empty() && isBigOperator(n.children[0])) {
            return "S(" + child(1) + ")(" + child(2) + ")";
        }
        return child(0) + "I(" + child(1) + ")P(" + child(2) + ")";
    }
    if (n.name == "msqrt") {
        return "R(" + childrenShape(n, underLimit) + ")";
    }
    if (n.name == "mroot") {
        return "Q(" + child(1) + ")(" + child(0) + ")";
    }
    if (n.name == "munder") {
        return "L(" + (n.children.size() > 1 ? mathmlShape(n.children[1], true) : "?") + ")";
    }
    if (n.name == "mo") {
        std::string s;
        const std::string t = textOf(n);
        for (std::size_t i = 0; i < t.size(); ++i) {
            if (t[i] == '|') {
                s += '|';
            } else if (t.compare(i, 6, "&rarr;") == 0) {
                s += underLimit ? 'T' : 'M';
            }
        }
        return s;
    }
    return childrenShape(n, underLimit);
}

std::string shapeInMathml(std::string_view cells) {
    return mathmlShape(XmlReader(notation::formulaMathml(cells)).root(), false);
}

// ---- the linear view: its parts

class LinearShape {
public:
    explicit LinearShape(const notation::DisplayLine& line) : line_(line) {}

    std::string shape() {
        std::size_t part = 0;
        return range(0, line_.items.size(), part);
    }

private:
    // The items [from, to), with the parts that start at `part` and lie inside them.
    std::string range(std::size_t from, std::size_t to, std::size_t& part) {
        std::string s;
        std::size_t item = from;
        while (item < to) {
            if (part < line_.parts.size() && line_.parts[part].firstItem == item &&
                line_.parts[part].endItem <= to) {
                s += construct(part, item);
                continue;
            }
            const notation::DisplayItem& i = line_.items[item];
            if (i.kind == notation::DisplayKind::Text && i.text == U"|") {
                s += '|';
            }
            ++item;
        }
        return s;
    }

    std::string inside(std::size_t& part, std::size_t& item) {
        const notation::DisplayPart p = line_.parts[part++];
        item = p.endItem;
        std::size_t inner = part;
        const std::string s = range(p.firstItem, p.endItem, inner);
        part = inner;
        return s;
    }

    // Whether the next part is of `kind` and starts at `item`, past the lines and baseline
    // shifts drawn between the two parts of one construct.
    bool next(std::size_t part, notation::PartKind kind, std::size_t item) const {
        if (part >= line_.parts.size() || line_.parts[part].kind != kind) {
            return false;
        }
        for (std::size_t i = item; i < line_.parts[part].firstItem; ++i) {
            if (line_.items[i].kind == notation::DisplayKind::Text ||
                line_.items[i].kind == notation::DisplayKind::Glyph) {
                return false;
            }
        }
        return line_.parts[part].firstItem >= item;
    }

    // Whether a sum, product or integral sign stands just before `item`.
    bool afterBigOperator(std::size_t item) const {
        while (item > 0 && line_.items[item - 1].kind == notation::DisplayKind::SubLevelShift) {
            --item;
        }
        if (item == 0 || line_.items[item - 1].kind != notation::DisplayKind::Glyph) {
            return false;
        }
        const std::u32string& t = line_.items[item - 1].text;
        return t == U"\u2211" || t == U"\u220F" || t == U"\u222B";
    }

    // The construct of the part at `part`, with the parts after it that belong to it.
    std::string construct(std::size_t& part, std::size_t& item) {
        using K = notation::PartKind;
        const notation::DisplayPart p = line_.parts[part];
        const bool bigOperator = afterBigOperator(item);
        // A part must stand where its kind says: exponents up, indices down, numerators over
        // denominators.
        const bool up = p.dy < 0;
        switch (p.kind) {
            case K::Numerator: {
                std::string s = "F(" + inside(part, item) + ")(";
                if (next(part, K::Denominator, item) && line_.parts[part].dy > p.dy) {
                    s += inside(part, item);
                } else {
                    s += "?";
                }
                return up ? s + ")" : "?" + s + ")";
            }
            case K::Index: {
                const std::string low = inside(part, item);
                if (bigOperator && next(part, K::Exponent, item)) {
                    return "S(" + low + ")(" + inside(part, item) + ")";
                }
                return (p.dy > 0 ? "I(" : "?I(") + low + ")";
            }
            case K::Exponent:
                return (up ? "P(" : "?P(") + inside(part, item) + ")";
            case K::RootIndex: {
                std::string s = "Q(" + inside(part, item) + ")(";
                s += next(part, K::Radicand, item) ? inside(part, item) : "?";
                return s + ")";
            }
            case K::Radicand:
                return "R(" + inside(part, item) + ")";
            default:
                return inside(part, item);
        }
    }

    const notation::DisplayLine& line_;
};

std::string shapeInLinearView(std::string_view cells) {
    const notation::FixedMetrics metrics;
    return LinearShape(notation::layoutCells(cells, notation::kNoCaret, metrics)).shape();
}

// The linear view draws a limit on one line, its arrow as any arrow: its shape is the
// formula's without limits and arrows.
std::string withoutLimitsAndArrows(std::string_view shape) {
    std::string s;
    for (std::size_t i = 0; i < shape.size(); ++i) {
        if (shape.compare(i, 4, "L(T)") == 0) {
            i += 3;
        } else if (shape[i] != 'M') {
            s += shape[i];
        }
    }
    return s;
}

// ---- speech: the words that open and close

class SpokenShape {
public:
    std::string shape(std::string_view cells) {
        const speech::Rendering r = speech::render("all", cells);
        for (const speech::SpokenToken& t : r.spokenTokens) {
            word(std::string_view(r.spoken).substr(t.begin, t.size));
        }
        while (levels_.size() > 1) {
            close("?");
        }
        return join(levels_.back().items);
    }

private:
    struct Level {
        std::string open;                // how the construct begins its shape: "F(", "P(", ...
        std::vector<std::string> items;  // a leaf is an empty item
    };

    static std::string join(const std::vector<std::string>& items) {
        std::string s;
        for (const std::string& i : items) {
            s += i;
        }
        return s;
    }

    void item(std::string s) {
        if (pendingIndex_) {
            pendingIndex_ = false;
            s = "I(" + s + ")";
        }
        levels_.back().items.push_back(std::move(s));
    }
    void open(std::string how) { levels_.push_back({std::move(how), {}}); }
    // Ends the construct being read with `end` after its content.
    void close(std::string_view end) {
        Level done = std::move(levels_.back());
        levels_.pop_back();
        item(done.open + join(done.items) + std::string(end));
    }
    bool within(std::string_view how) const { return levels_.back().open.starts_with(how); }

    // The last item as the content of a construct that closes without having opened.
    void wrapLast(std::string_view how) {
        std::vector<std::string>& items = levels_.back().items;
        std::string last = items.empty() ? "?" : items.back();
        if (!items.empty()) {
            items.pop_back();
        }
        item(std::string(how) + last + ")");
    }

    void word(std::string_view w) {
        if (w.starts_with("frazione apertonumeratore")) {
            open("F(");
        } else if (w == " chiusonumeratore" && within("F(")) {
            levels_.back().open = "F(" + join(levels_.back().items) + ")(";
            levels_.back().items.clear();
        } else if (w.starts_with(" chiusodenominatore") && within("F(")) {
            close(")");
        } else if (w.starts_with(" fratto ")) {
            wrapLast("F(");  // a numeric fraction: its numerator's digits, then the rest
            levels_.back().items.back() += "()";
            denominator_ = true;  // the digits that follow are its denominator
        } else if (w == " elevato") {
            open("P(");
        } else if (w == " chiusapotenza") {
            if (within("P(")) {
                close(")");
            } else {
                wrapLast("P(");
            }
        } else if (w == " punto 5") {
            pendingIndex_ = true;
        } else if (w == " apertoindice") {
            pendingIndex_ = false;
            open("I(");
        } else if (w == " chiusoindice" && within("I(")) {
            close(")");
        } else if (w.starts_with("aperta rad")) {
            open(w.find("quadrata") != std::string_view::npos ? "R(" : "Q(");
        } else if (w == " di" && within("Q(")) {
            levels_.back().open = "Q(" + join(levels_.back().items) + ")(";
            levels_.back().items.clear();
        } else if (w.starts_with(" chiusa rad") && (within("R(") || within("Q("))) {
            close(")");
        } else if (w == "limite") {
            limit_ = true;
        } else if (w == " tende a" && limit_) {
            limit_ = false;
            item("L(T)");
        } else if (w == " implica") {
            item("M");
        } else if (w == " valore assoluto ") {
            item("|");
        } else if (w == " sommatoria" || w == " produttoria" || w == " integrale") {
            open("S(");
            limits_ = 1;
        } else if (w == "virgola" && limits_ == 1 && within("S(")) {
            levels_.back().open = "S(" + join(levels_.back().items) + ")(";
            levels_.back().items.clear();
            limits_ = 2;
        } else if (w == "due punti" && limits_ == 2 && within("S(")) {
            limits_ = 0;
            close(")");
        } else if (std::exchange(denominator_, false) && !w.empty() &&
                   w.find_first_not_of("0123456789") == std::string_view::npos) {
            // the denominator of the numeric fraction just read
        } else {
            item({});  // a letter, a number, an operator: a leaf
        }
    }

    std::vector<Level> levels_{Level{}};
    bool pendingIndex_ = false;
    bool denominator_ = false;
    bool limit_ = false;
    int limits_ = 0;
};

std::string shapeInSpeech(std::string_view cells) {
    return SpokenShape().shape(cells);
}

// ---- the check

TEST(CrossView, GeneratedFormulasShowOneShapeInEveryView) {
    ShapeGenerator generator(20250501);
    int faults = 0;
    for (int i = 0; i < 3000 && faults < 10; ++i) {
        const Formula f = generator.formula();
        const notation::Conversion braille = notation::convertLatexToBraille(f.latex, 1);
        if (!braille.ok()) {
            ADD_FAILURE() << "refused: " << f.latex << "\n  " << braille.error;
            ++faults;
            continue;
        }
        const std::string mathml = shapeInMathml(braille.text);
        const std::string linear = shapeInLinearView(braille.text);
        const std::string spoken = shapeInSpeech(braille.text);
        const bool agree =
            mathml == f.shape && spoken == f.shape && linear == withoutLimitsAndArrows(f.shape);
        EXPECT_TRUE(agree) << f.latex << "\n  Braille " << braille.text << "\n  shape   " << f.shape
                           << "\n  MathML  " << mathml << "\n  linear  " << linear << "\n  speech  "
                           << spoken;
        faults += agree ? 0 : 1;
    }
    EXPECT_EQ(faults, 0);
}

// The extractors themselves tell shapes apart: a wrong view would be seen.
TEST(CrossView, TheShapesOfKnownFormulas) {
    const struct {
        std::string_view cells;
        std::string_view shape;
    } cases[] = {
        {"_a!|_n+#a1", "I()"},        {"_a!|_n+#a1#b1", "I()P()"},  {"_x|6_anp_b41", "P(F()())"},
        {"6_x#b1np#b4", "F(P())()"},  {"9#c:_xo+9_yo", "Q()()R()"}, {"lim._x:o#j?_x*:o_y", "L(T)M"},
        {"<S_i=#a,_n:?_i*", "S()()"}, {"%_x-#c%2#b", "||"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(shapeInMathml(c.cells), c.shape) << c.cells;
        EXPECT_EQ(shapeInSpeech(c.cells), c.shape) << c.cells;
        EXPECT_EQ(shapeInLinearView(c.cells), withoutLimitsAndArrows(c.shape)) << c.cells;
    }
    // An exponent read as an index, or a fraction out of its exponent, is another shape.
    EXPECT_NE(shapeInMathml("_a|_n+#a1"), "I()");
    EXPECT_NE(shapeInLinearView("_x6_anp_b4"), "P(F()())");
}

}  // namespace
