#pragma once

// Every text the notation engine shows to the user, exactly as the student sees it. The
// trailing and doubled blanks belong to the messages.

#include <string>
#include <string_view>

namespace notation::messages {

inline constexpr std::string_view kFilterMissing = "File filtro non trovato. ";
inline constexpr std::string_view kPowerOfPower =
    "Formato non ammesso - usare espressione fra parentesi";

inline constexpr std::string_view kPagePrefix = "Pagina ";
inline constexpr std::string_view kLineBreak = "\r\n";

inline constexpr std::string_view kTooLong = "Espressione troppo lunga ";
inline constexpr std::string_view kUnclosedRegionLatex = "Commento senza chiusura";
inline constexpr std::string_view kUnclosedRegionBraille = "Commento senza chiusura ";
inline constexpr std::string_view kUnknownFunction = "Funzione sconosciuta";
inline constexpr std::string_view kComplexPower =
    "Funzione potenza - usare formula potenza complessa ";
inline constexpr std::string_view kFractionError = "Formula frazione errata";
inline constexpr std::string_view kRootUnclosed = "Errore radice quadrata - manca chiusura";
inline constexpr std::string_view kZeroNumerator = "Frazione con numeratore che comincia con zero ";
inline constexpr std::string_view kBrackets = "Errore nelle parentesi ";

// Two-line messages: the function name, a line break, then the advice.
inline constexpr std::string_view kSumLatex = "Funzione \\sum ";
inline constexpr std::string_view kProdLatex = "Funzione \\prod ";
inline constexpr std::string_view kIntLatex = "Funzione \\int ";
inline constexpr std::string_view kSumBraille = "Funzione sommatoria ";
inline constexpr std::string_view kProdBraille = "Funzione produttoria ";
inline constexpr std::string_view kIntBraille = "Funzione integrale ";
inline constexpr std::string_view kOperandAdvice = " racchiudere operando  fra parentesi tonde";
// A comma in a lower limit would read as the comma that separates it from the upper one.
inline constexpr std::string_view kLowerLimitAdvice = " separare indici con punto e virgola";
// A limit's function must not begin where the cells of its value could go on, and its
// variable and value are one item each: Braille has no cell that ends the value.
inline constexpr std::string_view kLimitLatex = "Funzione \\lim_ ";
inline constexpr std::string_view kLimitOperandAdvice = " racchiudere funzione fra parentesi tonde";
inline constexpr std::string_view kLimitValueAdvice =
    " scrivere variabile e valore senza operazioni";
inline constexpr std::string_view kLogLatex = "Funzione \\log_ ";
inline constexpr std::string_view kLogAdvice = " racchiudere indice fra parentesi graffe";
// Braille writes the arrow of a limit and an implication with the same cells, and reads the
// arrow as "\to" only within a limit: elsewhere it would come back as an implication.
inline constexpr std::string_view kArrowLatex = "Funzione \\to ";
inline constexpr std::string_view kArrowAdvice = " usare \\to solo nei limiti, \\impl per implica";

// A construct without its opening or a part of it.
inline constexpr std::string_view kIndexMissing = "Errore indice - manca indice";
inline constexpr std::string_view kIndexUnclosed = "Errore indice - manca chiusura";
inline constexpr std::string_view kRootUnopened = "Errore radice quadrata - manca apertura";
inline constexpr std::string_view kOverlineMissing = "Errore sopralineatura - manca argomento";
inline constexpr std::string_view kTooDeep = "Formato non ammesso - formula troppo annidata";

// A character of the Latex-mode text, or a cell of the Braille-mode text, that the notation
// has no sign for: the first line names it (and its line), the second says what to do.
inline constexpr std::string_view kUnknownCharacter = "Carattere sconosciuto ";
inline constexpr std::string_view kUnknownCell = "Segno braille sconosciuto ";
inline constexpr std::string_view kCodeOpen = "(codice ";
inline constexpr std::string_view kCodeClose = ")";
inline constexpr std::string_view kDotWord = "punto ";
inline constexpr std::string_view kDotsWord = "punti ";
inline constexpr std::string_view kOnLine = ", riga ";
inline constexpr std::string_view kWordsAdvice =
    " scrivere lettere accentate e parole fra \\\\ e \\\\";
inline constexpr std::string_view kCharacterAdvice =
    " togliere il carattere o scriverlo fra \\\\ e \\\\";
inline constexpr std::string_view kControlAdvice = " togliere il carattere";
inline constexpr std::string_view kCellAdvice = " togliere il segno o scriverlo fra \\\\ e \\\\";
inline constexpr std::string_view kControlCellAdvice = " togliere il segno";

// "Pagina " N, a line break, then the text.
inline std::string onPage(int page, std::string_view text) {
    std::string m(kPagePrefix);
    m += std::to_string(page);
    m += kLineBreak;
    m += text;
    return m;
}

// A function name and its advice on two lines.
inline std::string twoLines(std::string_view function, std::string_view advice) {
    std::string m(function);
    m += kLineBreak;
    m += advice;
    return m;
}

}  // namespace notation::messages
