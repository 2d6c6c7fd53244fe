#include "learning/tutor_value.h"

#include <numeric>
#include <string>

#include "notation/braille_numbers.h"

namespace learning {
namespace {

constexpr std::int64_t kLimit = std::int64_t{1} << 40;  // keeps every product in range

std::optional<Rational> make(std::int64_t n, std::int64_t d) {
    if (d == 0) {
        return std::nullopt;
    }
    if (d < 0) {
        n = -n;
        d = -d;
    }
    const std::int64_t g = std::gcd(n, d);
    n /= g;
    d /= g;
    if (n > kLimit || n < -kLimit || d > kLimit) {
        return std::nullopt;
    }
    return Rational{n, d};
}

std::optional<Rational> add(Rational a, Rational b) {
    return make(a.numerator * b.denominator + b.numerator * a.denominator,
                a.denominator * b.denominator);
}
std::optional<Rational> multiply(Rational a, Rational b) {
    return make(a.numerator * b.numerator, a.denominator * b.denominator);
}
std::optional<Rational> divide(Rational a, Rational b) {
    return make(a.numerator * b.denominator, a.denominator * b.numerator);
}

// A recursive-descent reader over the cells, without blanks.
class Reader {
public:
    explicit Reader(std::string cells) : s_(std::move(cells)) {}

    std::optional<Rational> whole() {
        auto v = expression();
        return pos_ == s_.size() ? v : std::nullopt;
    }

private:
    char peek() const { return pos_ < s_.size() ? s_[pos_] : '\0'; }
    bool take(char c) {
        if (peek() != c) {
            return false;
        }
        ++pos_;
        return true;
    }

    std::optional<Rational> expression() {
        auto v = term();
        while (v && (peek() == '+' || peek() == '-')) {
            const bool minus = s_[pos_++] == '-';
            auto t = term();
            if (!t) {
                return std::nullopt;
            }
            if (minus) {
                t->numerator = -t->numerator;
            }
            v = add(*v, *t);
        }
        return v;
    }

    std::optional<Rational> term() {
        auto v = factor();
        while (v && (peek() == '(' || peek() == '/')) {
            const bool times = s_[pos_++] == '(';
            auto f = factor();
            if (!f) {
                return std::nullopt;
            }
            v = times ? multiply(*v, *f) : divide(*v, *f);
        }
        return v;
    }

    std::optional<Rational> factor() {
        if (take('-')) {
            auto v = factor();
            if (v) {
                v->numerator = -v->numerator;
            }
            return v;
        }
        auto base = primary();
        if (!base || !take('|')) {
            return base;
        }
        auto exponent = expression();
        if (!exponent || !take('1') || exponent->denominator != 1 || exponent->numerator < 0 ||
            exponent->numerator > 64) {
            return std::nullopt;
        }
        std::optional<Rational> v = Rational{1, 1};
        for (std::int64_t k = 0; v && k < exponent->numerator; ++k) {
            v = multiply(*v, *base);
        }
        return v;
    }

    std::optional<Rational> group(char close) {
        auto v = expression();
        return v && take(close) ? v : std::nullopt;
    }

    std::optional<Rational> primary() {
        const char c = peek();
        if (c == '#') {
            return number();
        }
        ++pos_;
        switch (c) {
            case '?':
                return group('*');
            case '{':
                return group('}');
            case '&':
                return group('y');
            case '6': {
                auto top = expression();
                if (!top || !take('n') || !take('p')) {
                    return std::nullopt;
                }
                auto bottom = group('4');
                return bottom ? divide(*top, *bottom) : std::nullopt;
            }
            default:
                return std::nullopt;
        }
    }

    // "#" and the upper digits a-j, or the lower digits.
    std::optional<Rational> number() {
        ++pos_;
        static constexpr std::string_view kUpper = "abcdefghij";
        static constexpr std::string_view kLower = ",;:/?+=(*)";
        const std::string_view digits =
            kUpper.find(peek()) != std::string_view::npos ? kUpper : kLower;
        std::int64_t n = 0;
        std::size_t count = 0;
        for (std::size_t d;
             pos_ < s_.size() && (d = digits.find(s_[pos_])) != std::string_view::npos;
             ++pos_, ++count) {
            n = n * 10 + static_cast<std::int64_t>((d + 1) % 10);
            if (n > kLimit) {
                return std::nullopt;
            }
        }
        if (count == 0) {
            return std::nullopt;
        }
        return Rational{n, 1};
    }

    std::string s_;
    std::size_t pos_ = 0;
};

}  // namespace

std::optional<Rational> expressionValue(std::string_view expression) {
    std::string cells;
    for (char c : expression) {
        if (c != ' ') {
            cells += c;
        }
    }
    if (cells.empty()) {
        return std::nullopt;
    }
    return Reader(std::move(cells)).whole();
}

}  // namespace learning
