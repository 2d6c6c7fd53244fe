#include "notation/mathml_tables.h"

#include "ui/cp1252.h"

#include <algorithm>
#include <array>
#include <optional>
#include <utility>

namespace notation {

namespace {

constexpr std::array<MathmlSign, 47> kSymbols{{
    {"<d!", "&nabla;"},
    {"_+", "&divide;"},
    {"_(", "&divide;&divide;"},
    {"3", "&NotEqual;"},
    {"!=", "&TildeFullEqual;"},
    {"2", "&lt;"},
    {"`", "&gt;"},
    {"2=", "&le;"},
    {"`=", "&GreaterEqual;"},
    {"22", "&Lt;"},
    {"``", "&Gt;"},
    {">=", "&NotEqual;"},
    {">2", "&NotLess;"},
    {">`", "&NotGreater;"},
    {"<S", "&sum;"},
    {"<P", "&prod;"},
    {"777", "&iiint;"},
    {"77", "&Int;"},
    {"7", "&Integral;"},
    {"<d", "<mtext>&Delta;</mtext>"},
    {"!2", "&Element;"},
    {">!2", "&NotElement;"},
    {"<2", "&sub;"},
    {"<`", "&Superset;"},
    {"_2", "&SubsetEqual;"},
    {"_`", "&SupersetEqual;"},
    {"<(", "&cap;"},
    {"<+", "&cup;"},
    {"$.", "&ForAll;"},
    {"$?", "&Exists;"},
    {">$?", "&NotExists;"},
    {"==", "&equiv;"},
    {"&y", "&empty;"},
    {"_?", "&and;"},
    {"_*", "&or;"},
    {":o", "&rarr;"},
    {"9:o", "&DoubleLeftRightArrow;"},
    {"9:", "&DoubleLeftArrow;"},
    {"!=,", "&DoubleLeftRightArrow;"},
    {">_?", "&VerticalBar;"},
    {">_*", "&DoubleVerticalBar;"},
    {"_)", "&CirclePlus;"},
    {"0", "<mi>&infin;</mi>"},
    {"8", "<mi>&alefsym;</mi>"},
    {"#)j", "<mo>%</mo>"},
    {"#)jj", "<mo>%%</mo>"},
    // Not for all: negation and the for-all sign.
    {">$.", "<mo>&not;</mo><mo>&ForAll;</mo>"},
}};

constexpr std::array<MathmlSign, 11> kExtraSigns{{
    {"$;", "<mo>&Exists;</mo><mo>!</mo>"},  // exists exactly one
    {"_0", "&not;"},                        // negation
    {"_=", "&top;"},                        // tautology
    {"_:", "&bottom;"},                     // contradiction
    {"..", "&setminus;"},                   // set difference
    {"_$f", "<mi>&image;</mi>"},            // imaginary part
    {"<)", "&bullet;"},
    {"!l", "&mid;"},
    {"<v", "<mi>V</mi>"},                // true
    {">v", "<mo>&not;</mo><mi>V</mi>"},  // not true
    {"_.", "!"},                         // factorial
}};

constexpr std::array<MathmlSign, 49> kGreek{{
    {">a", "&alpha;"},    {">b", "&beta;"},     {">c", "&chi;"},      {">d", "&delta;"},
    {">e", "&epsilon;"},  {">f", "&phi;"},      {">g", "&gamma;"},    {">h", "&eta;"},
    {">i", "&iota;"},     {">k", "&kappa;"},    {">l", "&lambda;"},   {">m", "&mu;"},
    {">n", "&nu;"},       {">o", "&omicron;"},  {">p", "&pi;"},       {">q", "&theta;"},
    {">r", "&rho;"},      {">s", "&sigma;"},    {">t", "&tau;"},      {">u", "&upsilon;"},
    {">j", "&varphi;"},   {">w", "&omega;"},    {">x", "&xi;"},       {">y", "&psi;"},
    {">z", "&zeta;"},     {"<A:", "&Alpha;"},   {"<B:", "&Beta;"},    {"<C:", "&Chi;"},
    {"<D:", "&Delta;"},   {"<E:", "&Epsilon;"}, {"<F:", "&Phi;"},     {"<G:", "&Gamma;"},
    {"<H:", "&Eta;"},     {"<I:", "&Iota;"},    {"<K:", "&Kappa;"},   {"<L:", "&Lambda;"},
    {"<M:", "&Mu;"},      {"<N:", "&Nu;"},      {"<O:", "&Omicron;"}, {"<P:", "&Pi;"},
    {"<Q:", "&Theta;"},   {"<R:", "&Rho;"},     {"<S:", "&Sigma;"},   {"<T:", "&Tau;"},
    {"<U:", "&Upsilon;"}, {"<W:", "&Omega;"},   {"<X:", "&Xi;"},      {"<Y:", "&Psi;"},
    {"<Z:", "&Zeta;"},
}};

constexpr std::array<MathmlEntity, 97> kEntities{{
    {"nbsp", 0xA0},
    {"not", 0xAC},
    {"divide", 0xF7},
    {"Alpha", 0x391},
    {"Beta", 0x392},
    {"Gamma", 0x393},
    {"Delta", 0x394},
    {"Epsilon", 0x395},
    {"Zeta", 0x396},
    {"Eta", 0x397},
    {"Theta", 0x398},
    {"Iota", 0x399},
    {"Kappa", 0x39A},
    {"Lambda", 0x39B},
    {"Mu", 0x39C},
    {"Nu", 0x39D},
    {"Xi", 0x39E},
    {"Omicron", 0x39F},
    {"Pi", 0x3A0},
    {"Rho", 0x3A1},
    {"Sigma", 0x3A3},
    {"Tau", 0x3A4},
    {"Upsilon", 0x3A5},
    {"Phi", 0x3A6},
    {"Chi", 0x3A7},
    {"Psi", 0x3A8},
    {"Omega", 0x3A9},
    {"alpha", 0x3B1},
    {"beta", 0x3B2},
    {"gamma", 0x3B3},
    {"delta", 0x3B4},
    {"epsilon", 0x3B5},
    {"zeta", 0x3B6},
    {"eta", 0x3B7},
    {"theta", 0x3B8},
    {"iota", 0x3B9},
    {"kappa", 0x3BA},
    {"lambda", 0x3BB},
    {"mu", 0x3BC},
    {"nu", 0x3BD},
    {"xi", 0x3BE},
    {"omicron", 0x3BF},
    {"pi", 0x3C0},
    {"rho", 0x3C1},
    {"sigma", 0x3C3},
    {"tau", 0x3C4},
    {"upsilon", 0x3C5},
    {"phi", 0x3C6},
    {"chi", 0x3C7},
    {"psi", 0x3C8},
    {"omega", 0x3C9},
    {"varphi", 0x3D5},
    {"bullet", 0x2022},
    {"OverBar", 0x203E},
    {"image", 0x2111},
    {"alefsym", 0x2135},
    {"rarr", 0x2192},
    {"DoubleLeftArrow", 0x21D0},
    {"DoubleLeftRightArrow", 0x21D4},
    {"ForAll", 0x2200},
    {"Exists", 0x2203},
    {"NotExists", 0x2204},
    {"empty", 0x2205},
    {"nabla", 0x2207},
    {"Element", 0x2208},
    {"NotElement", 0x2209},
    {"prod", 0x220F},
    {"sum", 0x2211},
    {"setminus", 0x2216},
    {"infin", 0x221E},
    {"VerticalBar", 0x2223},
    {"mid", 0x2223},
    {"DoubleVerticalBar", 0x2225},
    {"and", 0x2227},
    {"or", 0x2228},
    {"cap", 0x2229},
    {"cup", 0x222A},
    {"Integral", 0x222B},
    {"Int", 0x222C},
    {"iiint", 0x222D},
    {"TildeFullEqual", 0x2245},
    {"NotEqual", 0x2260},
    {"equiv", 0x2261},
    {"le", 0x2264},
    {"GreaterEqual", 0x2265},
    {"Lt", 0x226A},
    {"Gt", 0x226B},
    {"NotLess", 0x226E},
    {"NotGreater", 0x226F},
    {"sub", 0x2282},
    {"Superset", 0x2283},
    {"SubsetEqual", 0x2286},
    {"SupersetEqual", 0x2287},
    {"CirclePlus", 0x2295},
    {"sdot", 0x22C5},
    {"top", 0x22A4},
    {"bottom", 0x22A5},
}};

}  // namespace

std::span<const MathmlSign> mathmlSymbols() {
    return kSymbols;
}

std::span<const MathmlSign> mathmlExtraSigns() {
    return kExtraSigns;
}

std::span<const MathmlSign> mathmlGreek() {
    return kGreek;
}

bool isBigOperatorSign(std::string_view cells) {
    return cells == "<S" || cells == "<P" || cells == "7" || cells == "77" || cells == "777";
}

std::span<const MathmlEntity> mathmlEntities() {
    return kEntities;
}

namespace {

std::optional<char32_t> entityCharacter(std::string_view name) {
    static constexpr std::array<std::pair<std::string_view, char32_t>, 5> kPredefined{
        {{"amp", U'&'}, {"lt", U'<'}, {"gt", U'>'}, {"quot", U'"'}, {"apos", U'\''}}};
    for (const auto& [entity, character] : kPredefined) {
        if (name == entity) {
            return character;
        }
    }
    if (name.size() > 1 && name.front() == '#') {
        char32_t code = 0;
        for (const char c : name.substr(1)) {
            if (c < '0' || c > '9' || code > 0x10FFFF) {
                return std::nullopt;
            }
            code = code * 10 + static_cast<char32_t>(c - '0');
        }
        return code <= 0x10FFFF ? std::optional<char32_t>(code) : std::nullopt;
    }
    for (const MathmlEntity& entity : kEntities) {
        if (entity.name == name) {
            return static_cast<char32_t>(entity.codePoint);
        }
    }
    return std::nullopt;
}

}  // namespace

std::u32string mathmlCharacters(std::string_view mathml) {
    std::u32string out;
    for (std::size_t i = 0; i < mathml.size(); ++i) {
        const char c = mathml[i];
        if (c == '<') {
            const std::size_t close = mathml.find('>', i);
            if (close != std::string_view::npos) {
                i = close;
                continue;
            }
        } else if (c == '&') {
            const std::size_t semicolon = mathml.find(';', i);
            if (semicolon != std::string_view::npos) {
                if (const auto character =
                        entityCharacter(mathml.substr(i + 1, semicolon - i - 1))) {
                    out += *character;
                    i = semicolon;
                    continue;
                }
            }
        }
        out += static_cast<char32_t>(cp1252ToUnicode(static_cast<unsigned char>(c)));
    }
    return out;
}

std::u32string symbolCharacters() {
    std::u32string all;
    for (const auto table : {mathmlSymbols(), mathmlExtraSigns(), mathmlGreek()}) {
        for (const MathmlSign& sign : table) {
            all += mathmlCharacters(sign.mathml);
        }
    }
    return all;
}

std::uint32_t cp1252ToUnicode(unsigned char byte) {
    return ui::cp1252::assigned(byte) ? ui::cp1252::toUnicode(byte) : 0xFFFD;
}

std::string xmlText(std::string_view cp1252) {
    std::string out;
    out.reserve(cp1252.size());
    for (char c : cp1252) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                if (byte >= 0x20 && byte < 0x7F) {
                    out += c;
                } else if (byte == '\t') {
                    out += ' ';
                } else {
                    const std::uint32_t code =
                        byte < 0x20 || byte == 0x7F ? 0xFFFD : cp1252ToUnicode(byte);
                    out += "&#" + std::to_string(code) + ";";
                }
        }
    }
    return out;
}

}  // namespace notation
