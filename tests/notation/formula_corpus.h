#pragma once

// A seeded generator of school formulas in Latex-mode text: subscripts simple and compound,
// powers (of subscripted letters too), fractions, roots, integrals, sums and products with
// simple, decimal, periodic and compound limits, logarithms to a base, limits, overlines,
// periodic numbers and text regions beside each of them. The same seed gives the same corpus.

#include <random>
#include <string>
#include <vector>

namespace notation_test {

class FormulaGenerator {
public:
    explicit FormulaGenerator(unsigned seed) : random_(seed) {}

    // One formula; most are short, some nest constructs two deep.
    std::string formula() {
        std::string f = expression(below(5) == 0 ? 2 : below(2));
        if (chance(4)) {
            f += pick({"=", "<", ">", "\\ne ", "="});
            f += expression(1);
        }
        if (chance(12)) {
            f = region() + f;
        }
        if (chance(12)) {
            f += region();
        }
        return f;
    }

private:
    int below(int n) { return static_cast<int>(random_() % static_cast<unsigned>(n)); }
    bool chance(int oneIn) { return below(oneIn) == 0; }
    std::string pick(std::initializer_list<const char*> options) {
        return *(options.begin() + below(static_cast<int>(options.size())));
    }

    std::string letter() { return std::string(1, static_cast<char>('a' + below(26))); }
    std::string capital() { return std::string(1, static_cast<char>('A' + below(26))); }
    // A number of one digit and up to `more` further digits.
    std::string digits(int more) {
        std::string d(1, static_cast<char>('1' + below(9)));
        for (int n = below(more + 1); n > 0; --n) {
            d += static_cast<char>('0' + below(10));
        }
        return d;
    }
    std::string decimal() {
        const int kind = below(4);
        if (kind == 0) {
            return digits(2) + "," + digits(2);
        }
        if (kind == 1) {
            return "0," + digits(1);
        }
        if (kind == 2) {
            return "0,'" + digits(1);  // a periodic number
        }
        return digits(1) + ",'" + digits(1);
    }
    std::string number() { return below(3) == 0 ? decimal() : (chance(8) ? "0" : digits(2)); }
    std::string symbol() { return pick({"\\alpha", "\\beta", "\\pi", "\\theta", "\\lambda"}); }
    std::string region() {
        return pick({"\\\\testo\\\\", "\\\\per ogni \\\\", "\\\\se\\\\ ", " \\\\dove\\\\"});
    }

    std::string variable() {
        const int kind = below(10);
        if (kind < 6) {
            return letter();
        }
        if (kind < 8) {
            return capital();
        }
        return symbol();
    }

    // What a subscript or a limit holds: simple or compound.
    std::string index() {
        switch (below(14)) {
            case 0:
                return letter();
            case 1:
                return digits(1);
            case 2:
                return letter() + "+" + digits(0);
            case 3:
                return letter() + "-" + digits(0);
            case 4:
                return digits(0) + letter();
            case 5:
                return letter() + letter();
            case 6:
                return digits(0) + "," + digits(0);
            case 7:
                return letter() + "," + letter();
            case 8:
                return decimal();
            case 9:
                return "-" + digits(0);
            case 10:
                return letter() + "=" + digits(0);
            case 11:
                return symbol();
            case 12:
                return letter() + "_" + digits(0);
            default:
                return digits(1) + symbol();
        }
    }

    std::string subscripted() {
        const std::string base = below(3) == 0 ? capital() : letter();
        const std::string i = index();
        const bool single = i.size() == 1 || i == "\\alpha" || i == "\\pi";
        if (single && chance(2)) {
            return base + "_" + i;
        }
        return base + "_{" + i + "}";
    }

    std::string exponent() {
        switch (below(9)) {
            case 0:
                return "{" + digits(1) + "}";
            case 1:
                return digits(0);
            case 2:
                return letter();
            case 3:
                return "{" + index() + "}";
            case 4:
                return "{-" + digits(0) + "}";
            case 5:
                return "{\\frac{" + digits(0) + "}{" + digits(0) + "}}";
            case 6:
                return "{" + decimal() + "}";
            case 7:
                return "{" + letter() + "+" + letter() + "}";
            default:
                return "{" + subscripted() + "}";
        }
    }

    std::string limits() {
        std::string l;
        if (!chance(6)) {
            l += "_{" + limitValue(true) + "}";
        }
        if (!chance(6)) {
            l += "^{" + limitValue(false) + "}";
        }
        return l;
    }

    std::string limitValue(bool lower) {
        switch (below(10)) {
            case 0:
                return digits(0);
            case 1:
                return digits(1);
            case 2:
                return decimal();
            case 3:
                return letter();
            case 4:
                return lower ? letter() + "=" + digits(0) : letter() + "+" + digits(0);
            case 5:
                return "-" + digits(0);
            case 6:
                return symbol();
            case 7:
                return digits(0) + symbol();
            case 8:
                return "\\infty";
            default:
                return subscripted();
        }
    }

    std::string bigOperator(int depth) {
        const std::string name = pick({"\\int", "\\int", "\\sum", "\\prod", "\\iint", "\\iiint"});
        return name + limits() + "(" + expression(depth - 1) + ")";
    }

    std::string logarithm(int depth) {
        const int kind = below(4);
        if (kind == 0) {
            return "\\log " + variable();
        }
        if (kind == 1) {
            return "\\ln(" + expression(depth - 1) + ")";
        }
        const int baseKind = below(3);
        const std::string base =
            baseKind == 0 ? digits(1) : (baseKind == 1 ? index() : subscripted());
        return "\\log_{" + base + "}(" + expression(depth - 1) + ")";
    }

    std::string limit(int depth) {
        const std::string x = letter();
        const std::string target = pick(
            {"0", "\\infty", "+\\infty", "-\\infty", "0^+", "0^{-}", "2", "1,5", "a", "2\\pi"});
        return "\\lim_{" + x + "\\to " + target + "}" + term(depth - 1);
    }

    std::string term(int depth) {
        const int kind = depth <= 0 ? below(5) : below(17);
        switch (kind) {
            case 0:
                return variable();
            case 1:
                return number();
            case 2:
                return subscripted();
            case 3:
                return variable() + "^" + exponent();
            case 4:
                return number() + variable();
            case 5:
                return subscripted() + "^" + exponent();
            case 6:
                return "(" + expression(depth - 1) + ")";
            case 7:
                return "(" + expression(depth - 1) + ")^" + exponent();
            case 8:
                return "\\frac{" + expression(depth - 1) + "}{" + expression(depth - 1) + "}";
            case 9:
                return "\\frac{" + digits(1) + "}{" + digits(1) + "}";
            case 10:
                return "\\sqrt{" + expression(depth - 1) + "}";
            case 11:
                return "\\sqrt[" + pick({"3", "n", "4"}) + "]{" + expression(depth - 1) + "}";
            case 12:
                return bigOperator(depth);
            case 13:
                return logarithm(depth);
            case 14:
                return limit(depth);
            case 15:
                return "\\overline{" + pick({"AB", "x", "PQ", "x+1"}) + "}";
            default:
                return "[" + expression(depth - 1) + "]";
        }
    }

    std::string expression(int depth) {
        std::string e = chance(6) ? "-" : "";
        e += term(depth);
        for (int n = below(3); n > 0; --n) {
            e += pick({"+", "-", "+", "*", "/", ",", ";", " "});
            e += term(depth);
        }
        return e;
    }

    std::mt19937 random_;
};

}  // namespace notation_test
