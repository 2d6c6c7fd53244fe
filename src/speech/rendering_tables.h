#pragma once

// The words of the spoken rendering, kept apart from the rendering that walks them. The words
// are spoken as written; their leading and trailing blanks are what separates one token from
// the next. Accented letters are code page 1252 bytes (the escapes are split from the
// following letters so that they stay one byte).

#include <array>
#include <string_view>

namespace speech::rendering_words {

struct Sign {
    std::string_view pattern;
    std::string_view words;
};

struct Greek {
    std::string_view lower;
    std::string_view capital;  // empty: this letter has no capital form
    std::string_view name;
};

inline constexpr std::array<Greek, 25> kGreek = {{
    {">a", "<A:", "Alpha"}, {">b", "<B:", "Beta"},    {">c", "<C:", "Chi"},
    {">d", "<D:", "Delta"}, {">e", "<E:", "Epsilon"}, {">f", "<F:", "Phi"},
    {">g", "<G:", "Gamma"}, {">h", "<H:", "Eta"},     {">i", "<I:", "Iota"},
    {">k", "<K:", "Kappa"}, {">l", "<L:", "Lambda"},  {">m", "<M:", "Mu"},
    {">n", "<N:", "Nu"},    {">o", "<O:", "Omicron"}, {">p", "<P:", "Pi greca"},
    {">q", "<Q:", "Theta"}, {">r", "<R:", "Rho"},     {">s", "<S:", "Sigma"},
    {">t", "<T:", "Tau"},   {">u", "<U:", "Upsilon"}, {">j", "", "Varphi"},
    {">w", "<W:", "Omega"}, {">x", "<X:", "Xi"},      {">y", "<Y:", "Psi"},
    {">z", "<Z:", "Zeta"},
}};

inline constexpr std::string_view kCapitalSuffix = " maiuscola";

// Set signs.
inline constexpr std::array<Sign, 17> kSetSigns = {{
    {"!2", " appartiene"},
    {">!2", " non appartiene"},
    {"<2", " \xE8 incluso"},
    {"<`", " include"},
    {"_2", " include in senso lato"},
    {"_`", " \xE8 incluso in senso lato"},
    {"<(", " intersezione"},
    {"<+", " unione"},
    {"$.", " per ogni"},
    {">$.", " non per ogni"},
    {"$?", " esiste"},
    {">$?", " non esiste"},
    {"==", " coincide"},
    {"..", " differente"},
    {"8", " alef"},
    {"_$f", " frontiera"},
    {"$;", "esiste ed \xE8 unico"},
}};

// Logic signs. "==" can never match here: the set signs take it first.
inline constexpr std::array<Sign, 17> kLogicSigns = {{
    {"<v", "proposizione vera"},
    {">v", " proposizione non vera"},
    {"_?", " and logico"},
    {"_*", " or logico"},
    {"_)", " or esclusivo"},
    {"9:o", " se  e solo se"},
    {":o", " implica"},
    {"_0", " negazione"},
    {"!=,", " equivale"},
    {">_?", " and negativo"},
    {">_*", " or negativo"},
    {"9:", " \xE8 implicato"},
    {"==", " identico"},
    {"&y", "insieme vuoto"},
    {" !l ", "tale che"},
    {"_=", "tautologia"},
    {"_:", "contraddizione"},
}};

inline constexpr std::string_view kLogPattern = "log.";
inline constexpr std::string_view kLimitPattern = "lim.";
inline constexpr std::string_view kMatrixPattern = "%%";

// Functions and operators; matched without regard to number marking.
inline constexpr std::array<Sign, 25> kFunctions = {{
    {kLimitPattern, "limite"},
    {"#)jj", " permille"},
    {"#)j", " percento"},
    {"_.", " fattoriale"},
    {kLogPattern, " logaritmo "},
    {"ln.", " logaritmo naturale o neperiano"},
    {"lg.", " logaritmo naturale o neperiano"},
    {"777", " integrale triplo "},
    {"77", "integrale doppio "},
    {"7", " integrale"},
    {"<S", " sommatoria"},
    {"<P", " produttoria"},
    {"<d!", "operatore laplaciano"},
    {"<d", "discriminante"},
    {"!=", " circa uguale"},
    {"``", " molto maggiore"},
    {"22", " molto minore"},
    {">=", " non uguale"},
    {">`", " non maggiore"},
    {">2", " non minore"},
    {kMatrixPattern, " matrice "},
    {"det", " determinante di "},
    {"_+", " progressione aritmetica"},
    {"_(", " progressione geometrica"},
    {"<)", "composto"},
}};

inline constexpr std::string_view kLogBase = "in base ";
inline constexpr std::string_view kLogDecimal = " decimale";
inline constexpr std::string_view kLogBaseCells = "_d_i";

// Single signs, one cell each.
inline constexpr std::array<Sign, 37> kSingleSigns = {{
    {"\r", " a capo "},
    {"+", " +"},
    {"?", " apertaparentesitonda "},
    {"*", " chiusaparentesitonda "},
    {"{", " apertaparentesiquadra "},
    {"}", " chiusaparentesiquadra "},
    {"&", " apertaparentesigraffa "},
    {"y", " chiusaparentesigraffa "},
    {" ", " spazio"},
    {"(", "  per"},
    {"/", " diviso"},
    {"-", " meno"},
    {".", "punto"},
    {",", "virgola"},
    {";", "punto e virgola"},
    {"\"", " punto 4"},
    {"!", " punto 5"},
    {">", " punti 4 e 5"},
    {"<", " punti 5 e 6"},
    {"\xEC", " punti 3 e 4"},
    {")", " punti 3 5 e 6"},
    {"\xE8", " punti 2 3 4 6"},
    {"\xF9", " punti 2 3 4 5 6"},
    {"\xE0", " punto uno 2 3 5 6"},
    {"[", " punti 1 2 3 5 6"},
    {"]", "punti 2 3 4 5 6"},
    {"|", " elevato"},
    {"1", " chiusapotenza"},
    {"`", " maggiore"},
    {"2", " minore"},
    {"3", " diverso da"},
    {"5", " punti uno 5 e 6"},
    {"'", " periodico "},
    {"0", " infinito "},
    {"%", " valore assoluto "},
    {":", "due punti"},
    {"d", "differenziale"},
}};

// Level markers: the byte 0xA0, a bracket letter, a level digit.
inline constexpr char kLevelMarker = '\xA0';
inline constexpr char kOverbar = '\xF2';

// The bracket letter of a level marker and its words.
inline constexpr std::array<Sign, 3> kLevelBrackets = {{
    {"T", "parentesitonda "},
    {"Q", "parentesiquadra "},
    {"G", "parentesigraffa "},
}};

inline constexpr std::array<std::string_view, 9> kOrdinals = {
    "prima", "seconda", "terza", "quarta", "quinta", "sesta", "settima", "ottava", "nona",
};

inline constexpr std::string_view kComment = "commento ";

// Cells of fixed meaning.
inline constexpr std::string_view kFractionOpen = "frazione apertonumeratore ";
inline constexpr std::string_view kFractionClose = " chiusodenominatore chiusafrazione  ";
inline constexpr std::string_view kNumeratorEnd = " chiusonumeratore";
inline constexpr std::string_view kDenominator = " denominatore ";
inline constexpr std::string_view kProportion = " st\xE0 ";
inline constexpr std::string_view kRootOpen =
    "aperta rad\xEC"
    "ce ";
inline constexpr std::string_view kSquareRoot = " quadrata di";
inline constexpr std::string_view kRootClose =
    " chiusa rad\xEC"
    "ce";
inline constexpr std::string_view kRootIndexEnd = " di";
// An index of several items, "!|" index "1", after the index sign's own " punto 5".
inline constexpr std::string_view kIndexOpen = " apertoindice";
inline constexpr std::string_view kIndexClose = " chiusoindice";
// The arrow within a limit, in the palette's words ("Tende a").
inline constexpr std::string_view kTendsTo = " tende a";
inline constexpr std::string_view kOverbarOpen = " sopralineatura";
inline constexpr std::string_view kOverbarClose = " fine sopralinatura";
inline constexpr std::string_view kDollar = " dollaro ";
inline constexpr std::string_view kNumberSign = " segnanumero ";
inline constexpr std::string_view kFractionOf = " fratto ";
inline constexpr std::string_view kLetterSign =
    " l\xE8"
    "ttera ";
inline constexpr std::string_view kCapitalSign = " maiuscola ";
inline constexpr std::string_view kAs = " come";
inline constexpr std::string_view kEquals = " = ";
inline constexpr std::string_view kFractionError = " errore frazione ";

// Diagnostics spoken at the end of a whole line: only the last that applies is spoken.
inline constexpr std::string_view kAllExponents = " chiusa potenza errata";
inline constexpr std::string_view kAllIndices = " chiuso indice errato";
inline constexpr std::string_view kAllFractions = " chiusa frazione errata";
inline constexpr std::string_view kAllRootClosing = " chiusura radice errata";
inline constexpr std::string_view kAllRootMissing = " manca chiusura radice ";
inline constexpr std::string_view kAllBraces = " parentesi graffe errate";
inline constexpr std::string_view kAllSquares = " parentesi quadre errate";
inline constexpr std::string_view kAllRounds = " parentesi tonde errate";
inline constexpr std::string_view kAllNumerators = " chiuso numeratore errato";
inline constexpr std::string_view kAllDenominators = " chiuso denominatore errato";

// Diagnostics of a typed key: every closing without its opening.
inline constexpr std::string_view kKeyFractions = " chiusura frazione errata";
inline constexpr std::string_view kKeyRoots = " chiusura radice errata";
inline constexpr std::string_view kKeyBraces = " chiusura parentesi graffa errata";
inline constexpr std::string_view kKeySquares = " chiusura parentesi quadra errata";
inline constexpr std::string_view kKeyRounds = " chiusura parentesi tonda errata";
inline constexpr std::string_view kKeyNumerators = " chiusura numeratore  errata";
inline constexpr std::string_view kKeyDenominators = " chiusura denominatore  errata";
inline constexpr std::string_view kKeyExponents = " chiusura potenza errata";
inline constexpr std::string_view kKeyIndices = " chiusura indice errata";

}  // namespace speech::rendering_words
