#include "notation/same_formula.h"

#include <utility>

#include "notation/text_scan.h"

namespace notation {
namespace {

bool bigOperator(std::string_view word) {
    return word == "\\sum" || word == "\\prod" || word == "\\int" || word == "\\iint" ||
           word == "\\iiint";
}

class KeyWriter {
public:
    explicit KeyWriter(std::string_view text) : t_(text) {}

    std::string run() {
        while (i_ < t_.size()) {
            step();
        }
        return std::move(out_);
    }

private:
    void skipBlanks() {
        while (charAt(t_, i_) == ' ') {
            ++i_;
        }
    }

    // One argument, always written braced: a brace group, a command, or one character.
    void argument() {
        skipBlanks();
        out_ += '{';
        if (charAt(t_, i_) == '{') {
            const std::size_t close = closingBrace(t_, i_);
            const std::size_t end = close == std::string_view::npos ? t_.size() : close;
            out_ += formulaKey(t_.substr(i_ + 1, end - i_ - 1));
            i_ = close == std::string_view::npos ? t_.size() : close + 1;
        } else if (charAt(t_, i_) == '\\') {
            const std::size_t end = commandEnd(t_, i_);
            out_.append(t_.substr(i_, end - i_));
            i_ = end;
        } else if (i_ < t_.size()) {
            out_ += t_[i_] == '\xA7' ? '^' : t_[i_];
            ++i_;
        }
        out_ += '}';
    }

    // A subscript or exponent; an empty one ("_{}") shows nothing and is left out.
    void script(char sign) {
        const std::size_t start = out_.size();
        out_ += sign;
        argument();
        if (out_.size() == start + 3) {
            out_.resize(start);
        }
    }

    // The subscript of a limit: the side of a one-sided limit is written without a power.
    void limitSubscript() {
        skipBlanks();
        std::string sub;
        if (charAt(t_, i_) == '{') {
            const std::size_t close = closingBrace(t_, i_);
            const std::size_t end = close == std::string_view::npos ? t_.size() : close;
            sub = t_.substr(i_ + 1, end - i_ - 1);
            i_ = close == std::string_view::npos ? t_.size() : close + 1;
        } else {
            argument();
            return;
        }
        for (const auto& [power, side] : {std::pair{"^{+}", "+"}, std::pair{"^{-}", "-"},
                                          std::pair{"^+", "+"}, std::pair{"^-", "-"}}) {
            sub = replaceAll(sub, power, side);
        }
        out_ += '{';
        out_ += formulaKey(sub);
        out_ += '}';
    }

    void command() {
        const std::size_t end = commandEnd(t_, i_);
        const std::string_view word = t_.substr(i_, end - i_);
        i_ = end;
        if (word.size() < 2 || !isAsciiLetter(word[1])) {
            out_.append(word);  // an escaped sign: "\{", "\:", "\%" ...
            return;
        }
        if (word == "\\limits") {
            skipBlanks();
            return;
        }
        if (word == "\\emptyset" || word == "\\varnothing") {
            out_ += "\\{\\}";
        } else {
            out_.append(word);
        }
        if (word == "\\frac") {
            argument();
            argument();
            return;
        }
        if (word == "\\sqrt") {
            skipBlanks();
            if (charAt(t_, i_) == '[') {
                const std::size_t close = t_.find(']', i_);
                const std::size_t stop = close == std::string_view::npos ? t_.size() : close;
                out_ += '[';
                out_ += formulaKey(t_.substr(i_ + 1, stop - i_ - 1));
                out_ += ']';
                i_ = close == std::string_view::npos ? t_.size() : close + 1;
            }
            argument();
            return;
        }
        if (word == "\\lim" && charAt(t_, i_) == '_') {
            ++i_;
            out_ += '_';
            limitSubscript();
            return;
        }
        if (bigOperator(word)) {
            // The limits, then the blanks before the operand, which TeX ignores.
            while (true) {
                skipBlanks();
                if (at(t_, i_, "\\limits")) {
                    i_ += 7;
                } else if (charAt(t_, i_) == '_' || charAt(t_, i_) == '^') {
                    script(t_[i_++]);
                } else {
                    return;
                }
            }
        }
        // Blanks after a command word end it and are otherwise ignored; one stays before a
        // letter, which would else join the word.
        const std::size_t blanks = i_;
        skipBlanks();
        if (i_ > blanks && isAsciiLetter(charAt(t_, i_))) {
            out_ += ' ';
        }
        if (charAt(t_, i_) == '{') {
            // A command's argument keeps its braces.
            const std::size_t close = closingBrace(t_, i_);
            if (close != std::string_view::npos) {
                out_ += '{';
                out_ += formulaKey(t_.substr(i_ + 1, close - i_ - 1));
                out_ += '}';
                i_ = close + 1;
            }
        }
    }

    void step() {
        const char c = t_[i_];
        if (at(t_, i_, "\\\\")) {
            // A text region: copied as it stands.
            const std::size_t close = t_.find("\\\\", i_ + 2);
            const std::size_t end = close == std::string_view::npos ? t_.size() : close + 2;
            out_.append(t_.substr(i_, end - i_));
            i_ = end;
        } else if (c == '\\') {
            command();
        } else if (c == '^' || c == '\xA7' || c == '_') {
            ++i_;
            script(c == '_' ? '_' : '^');
        } else if (c == '{') {
            const std::size_t close = closingBrace(t_, i_);
            if (close == std::string_view::npos) {
                out_ += c;
                ++i_;
            } else {
                out_ += formulaKey(t_.substr(i_ + 1, close - i_ - 1));
                i_ = close + 1;
            }
        } else {
            out_ += c == '|' ? '%' : c;
            ++i_;
        }
    }

    std::string_view t_;
    std::size_t i_ = 0;
    std::string out_;
};

}  // namespace

std::string formulaKey(std::string_view latex) {
    return KeyWriter(trimBlanks(latex)).run();
}

bool sameFormula(std::string_view a, std::string_view b) {
    return formulaKey(a) == formulaKey(b);
}

}  // namespace notation
