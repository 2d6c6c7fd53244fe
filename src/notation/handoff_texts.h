#pragma once

// The texts of the graphic-editor hand-off: messages, titles and setting values, kept exactly
// as the user sees them (code page 1252).

#include <string_view>

namespace notation::handoff_text {

// Settings check before a hand-off.
inline constexpr std::string_view kSettingsMissing = "Inserire impostazioni mancanti";
inline constexpr std::string_view kSettingsMissingTitle = "Attenzione";

// The value of the "editmod" setting that sends the whole page instead of the selection.
inline constexpr std::string_view kWholePageScope = "tutto";

// Refusals, each after "Pagina " N and a line break, through the formula error report.
inline constexpr std::string_view kPagePrefix = "Pagina ";
inline constexpr std::string_view kTooLong = "Espressione troppo lunga ";
inline constexpr std::string_view kUnbalanced = "Errore nelle parentesi ";

// Warnings; the hand-off goes on after them.
inline constexpr std::string_view kTooLongForEditor =
    "Espressione troppo lunga per editor grafico ";
inline constexpr std::string_view kTooLongFromEditor =
    "Espressione troppo lunga da editor grafico ";

// Failures of the exchange with the editor program.
inline constexpr std::string_view kCannotWriteExchange = "Errore in scrittura file scambio";
inline constexpr std::string_view kCannotReadExchange = "Errore in lettura file .Tex";
inline constexpr std::string_view kCannotStartEditor = "Errore nel caricamento Editor grafico";

// Title of the formula print preview, followed by the document's file name.
inline constexpr std::string_view kFormulaPrintTitle = "Tattilo  Stampa formule - ";

}  // namespace notation::handoff_text
