#pragma once

// The texts of the learning tools that the user sees or hears: captions, messages, status
// texts. One block per window.

#include <string_view>

namespace learning::messages {

// ---- Calculation sheet ("Foglio di calcolo")

inline constexpr std::string_view kSheetCaption = "Foglio di calcolo";

// Opening and preparing an operation.
inline constexpr std::string_view kNoExpression = "Nessuna espressione selezionata";
inline constexpr std::string_view kInvalidExpression = "Espressione non valida";
inline constexpr std::string_view kSingleOperation = "Selezionare una unica operazione";
inline constexpr std::string_view kOperandsTooLong = "Operatori troppo grandi";
inline constexpr std::string_view kDivisionByZero = "Divisione per zero";

// The status bar.
inline constexpr std::string_view kRight = "Esatto";
inline constexpr std::string_view kWrong = "Sbagliato";
inline constexpr std::string_view kOverflow = "Overflow";

// Labels.
inline constexpr std::string_view kDecimalsLabel = "N.dec.";
inline constexpr std::string_view kInputKeyboard = "Input Tastiera";
inline constexpr std::string_view kInputChord = "Input DattiloBraille";

// The menu and the buttons.
inline constexpr std::string_view kMenuFile = "File";
inline constexpr std::string_view kCopyResult = "Copia risultato ed esci";
inline constexpr std::string_view kCopyExpressionResult = "Copia espr+risultato ed esci";
inline constexpr std::string_view kExit = "Esci";
inline constexpr std::string_view kRestart = "Ricomincia";
inline constexpr std::string_view kMoreDecimals = "Aumenta n. decimali";
inline constexpr std::string_view kFewerDecimals = "Dimin. n. decimali";
inline constexpr std::string_view kStoreResult = "Mem. risultato ed esci";
inline constexpr std::string_view kStoreExpressionResult = "Mem. espressione+risultato ed esci";

// What joins the expression and the result: the menu entry puts blanks around the sign, the
// button does not.
inline constexpr std::string_view kEqualsSpaced = " = ";
inline constexpr std::string_view kEquals = "=";

}  // namespace learning::messages
