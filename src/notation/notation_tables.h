#pragma once

// The tables of the two linear notations, each kept in this one place. A row pairs a
// Latex-mode text with its Braille cells. The cells are written in their working form: "^" is
// the letter sign (written "_" in a finished Braille text), "\xE0" and "\xF9" (à, ù) are the
// square brackets (written "{" and "}"). The 64-cell order itself is in braille_cells.h.

#include <array>
#include <string_view>

namespace notation {

struct NotationRow {
    std::string_view latex;
    std::string_view braille;
};

// Keywords, searched in this order: the first row whose keyword stands at the scan position
// wins. Rows 69-80 and 86-89 are the markers the conversion writes for constructs.
inline constexpr std::array<NotationRow, 105> kKeywordTable = {{
    {"\\true", "<v "},     {"\\not true", ">v"}, {"\\to ", ":o"},
    {"\\land", "^?"},      {"\\lor", "^*"},      {"\\taut", "^="},
    {"\\contr", "^:"},     {"\\neg", "^0"},      {"\\iff", "9:o"},
    {"\\impl", ":o"},      {"\\isimpl ", "9:"},  {"\\xor", "^)"},
    {"\\equiv", "=="},     {"\\=", "!=,"},       {"\\nand", ">^?"},
    {"\\nor", ">^*"},      {"\\mid", " !l "},    {"\\alpha", ">a"},
    {"\\beta", ">b"},      {"\\chi", ">c"},      {"\\delta", ">d"},
    {"\\epsilon", ">e"},   {"\\varphi", ">f"},   {"\\gamma", ">g"},
    {"\\eta", ">h"},       {"\\iota", ">i"},     {"\\kappa", ">k"},
    {"\\lambda", ">l"},    {"\\mu", ">m"},       {"\\nu", ">n"},
    {"\\omicron", ">o"},   {"\\pi", ">p"},       {"\\phi", ">j"},
    {"\\theta", ">q"},     {"\\rho", ">r"},      {"\\sigma", ">s"},
    {"\\tau", ">t"},       {"\\upsilon", ">u"},  {"\\omega", ">w"},
    {"\\xi", ">x"},        {"\\psi", ">y"},      {"\\zeta", ">z"},
    {"\\Alpha", "<A:"},    {"\\Beta", "<B:"},    {"\\Chi", "<C:"},
    {"\\Delta", "<D:"},    {"\\Epsilon", "<E:"}, {"\\Phi", "<F:"},
    {"\\Gamma", "<G:"},    {"\\Eta", "<H:"},     {"\\Iota", "<I:"},
    {"\\Kappa", "<K:"},    {"\\Lambda", "<L:"},  {"\\Mu", "<M:"},
    {"\\Nu", "<N:"},       {"\\Omicron", "<O:"}, {"\\Pi", "<P:"},
    {"\\Theta", "<Q:"},    {"\\Rho", "<R:"},     {"\\Sigma", "<S:"},
    {"\\Tau", "<T:"},      {"\\Upsilon", "<U:"}, {"\\Omega", "<W:"},
    {"\\Xi", "<X:"},       {"\\Psi", "<Y:"},     {"\\Zeta", "<Z:"},
    {"\\{", "&"},          {"\\}", "y"},         {"\\9", "9"},
    {"\\O", "o"},          {":", ":"},           {"\\6", "6"},
    {"\\N", "n"},          {"\\P", "p"},         {"\\4", "4"},
    {"\\|", "|"},          {"\\1", "1"},         {"\\777", "777"},
    {"\\77", "77"},        {"\\7", "7"},         {"\\log_", "log_"},
    {"\\log", "log "},     {"\\ln", "ln."},      {"\\lg", "lg."},
    {"\\:", "k"},          {"\\sum_", "<S"},     {"\\susu", "<S"},
    {"\\prod_", "<P"},     {"\\propro", "<P"},   {"\\ne", ">="},
    {"\\cong", "!="},      {"\\nless", ">2"},    {"\\ngtr", ">`"},
    {"\\over", "\xF2"},    {"\\%%", "#)jj"},     {"\\%", "#)j"},
    {"\\infty", "0"},      {"\\det", "det"},     {"\\prograrit", "^+"},
    {"\\progrgeom", "^("}, {"\\nabla", "<d!"},   {"\\discr", "<d"},
    {"\\difr", " d"},      {"\\bullet ", "<)"},  {"\\lim_", "lim."},
}};

// Sets and quantifiers, tried when no keyword row matched.
inline constexpr std::array<NotationRow, 20> kSetTable = {{
    {"\\forall", "$."},     {"\\notforall", ">$."}, {"\\existsonly", "$;"}, {"\\exists", "$?"},
    {"\\notexists", ">$?"}, {"\\equiv", "=="},      {"\\{\\}", "&y"},       {"\\emptyset", "&y"},
    {"\\varnothing", "&y"}, {"\\cup", "<+"},        {"\\cap", "<("},        {"\\in", "!2"},
    {"\\notin", ">!2"},     {"\\diff", ".."},       {"\\supseteq", "^`"},   {"\\subseteq", "^2"},
    {"\\supset", "<`"},     {"\\subset", "<2"},     {"\\aleph", "8"},       {"\\Im", "^$f"},
}};

// Single characters (and the pairs "\{", "\}", "<>"), first match wins. "^" has a row that
// gives nothing; a plain brace has none (it groups). Any other character without a row is
// read through kCharacterSigns or refused before the tokenizer sees it.
inline constexpr std::array<NotationRow, 91> kCharacterTable = {{
    {"1", "#a"},   {"2", "#b"},  {"3", "#c"},   {"4", "#d"}, {"5", "#e"}, {"6", "#f"},
    {"7", "#g"},   {"8", "#h"},  {"9", "#i"},   {"0", "#j"}, {"a", "^a"}, {"b", "^b"},
    {"c", "^c"},   {"d", "^d"},  {"e", "^e"},   {"f", "^f"}, {"g", "^g"}, {"h", "^h"},
    {"i", "^i"},   {"j", "^j"},  {"k", "^k"},   {"l", "^l"}, {"m", "^m"}, {"n", "^n"},
    {"o", "^o"},   {"'", "'"},   {"p", "^p"},   {"q", "^q"}, {"r", "^r"}, {"s", "^s"},
    {"t", "^t"},   {"u", "^u"},  {"v", "^v"},   {"w", "^w"}, {"x", "^x"}, {"y", "^y"},
    {"z", "^z"},   {"A", "$a"},  {"B", "$b"},   {"C", "$c"}, {"D", "$d"}, {"E", "$e"},
    {"F", "$f"},   {"G", "$g"},  {"H", "$h"},   {"I", "$i"}, {"J", "$j"}, {"K", "$k"},
    {"L", "$l"},   {"M", "$m"},  {"N", "$n"},   {"O", "$o"}, {"P", "$p"}, {"Q", "$q"},
    {"R", "$r"},   {"S", "$s"},  {"T", "$t"},   {"U", "$u"}, {"V", "$v"}, {"W", "$w"},
    {"X", "$x"},   {"Y", "$y"},  {"Z", "$z"},   {"(", "?"},  {")", "*"},  {"[", "\xE0"},
    {"]", "\xF9"}, {"\\{", "&"}, {"\\}", "Y"},  {"+", "+"},  {"-", "-"},  {".", "."},
    {"=", "="},    {":", ":"},   {",", ","},    {" ", " "},  {"^", ""},   {"_", "!"},
    {"#", "#"},    {"*", "("},   {"/", "/"},    {"<>", "3"}, {">", "`"},  {"<", "2"},
    {";", ";"},    {"!", "^."},  {"\xA7", "<"}, {"%", "%"},  {"|", "%"},  {"\n", "\n"},
    {"\r", "\r"},
}};

// Characters that have no row above but whose meaning the notation has a sign for: each is
// read as the Latex-mode text beside it. The operators are spelled as the graphic editor's
// TeX comes back (\times and \cdot as "*", \div as "\:", \pm as "+-"); the dashes stand
// for the minus sign that code page 1252 lacks; a tab and the no-break space are blanks. A
// run of superscript digits is one exponent (x, superscript 2, superscript 3 is "x^{23}"),
// and a command word gets a blank before a letter (not sign, p is "\neg p"). Every other
// character without a row is refused; a plain brace is grouping, not a character.
struct CharacterSign {
    char character;
    std::string_view latex;
};

inline constexpr std::array<CharacterSign, 18> kCharacterSigns = {{
    {'\t', " "},
    {'\xA0', " "},
    {'\x96', "-"},
    {'\x97', "-"},
    {'\xD7', "*"},
    {'\xB7', "*"},
    {'\xF7', "\\:"},
    {'\xB1', "+-"},
    {'\x85', "..."},
    {'\x89', "\\%%"},
    {'\xAC', "\\neg"},
    {'\xB5', "\\mu"},
    {'\xB9', "1"},  // superscript digits: the digit of an exponent
    {'\xB2', "2"},
    {'\xB3', "3"},
    {'\xBC', "\\frac{1}{4}"},
    {'\xBD', "\\frac{1}{2}"},
    {'\xBE', "\\frac{3}{4}"},
}};

// Constructs that Braille-to-LaTeX writes and copies through unchanged.
inline constexpr std::array<std::string_view, 10> kConstructTable = {
    "\\sqrt{", "\\sqrt[\\",  "\\frac", "\\fracs", "\\sum",
    "\\prod",  "\\overline", "\\int",  "\\iint",  "\\iiint",
};

// Numeric numerators are written in the lower digits: the cell of '1' is ",", ... of '0' ")".
inline constexpr std::string_view kLowerDigits = ",;:/?+=(*)";  // digits 1..9, then 0

// The lower-digit cell of a digit character, or 0 when `digit` is not '0'..'9'.
constexpr char lowerDigitCell(char digit) {
    if (digit >= '1' && digit <= '9') {
        return kLowerDigits[static_cast<std::size_t>(digit - '1')];
    }
    return digit == '0' ? kLowerDigits[9] : '\0';
}

// The digit character of a lower-digit cell, or 0 when `cell` is not one.
constexpr char digitOfLowerCell(char cell) {
    for (std::size_t i = 0; i < kLowerDigits.size(); ++i) {
        if (kLowerDigits[i] == cell) {
            return i == 9 ? '0' : static_cast<char>('1' + i);
        }
    }
    return '\0';
}

// The digit a letter a..j stands for after a number sign ('a' = '1' ... 'j' = '0'), or 0.
constexpr char digitOfLetterCell(char cell) {
    if (cell >= 'a' && cell <= 'i') {
        return static_cast<char>('1' + (cell - 'a'));
    }
    return cell == 'j' ? '0' : '\0';
}

// The row of a single character in the character table, or null when it has none.
const NotationRow* characterRow(char c);

}  // namespace notation
