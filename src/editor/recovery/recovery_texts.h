#pragma once

// What the recovery of unsaved work says, word for word. Code page 1252 ("\xE8" is è).

#include <string_view>

namespace editor::text {

// The question at start: "Il documento esercizio004.mtf non era stato salvato quando il
// programma si è interrotto. Copia di recupero del 12/03/2025 alle 10:42. Recuperare il
// documento?"
inline constexpr std::string_view kRecoveryCaption = "Recupero documento";
inline constexpr std::string_view kRecoveryDocument = "Il documento ";
// A document never saved: "Il nuovo documento esercizio004.mtf non era stato salvato..."
inline constexpr std::string_view kRecoveryNewDocument = "Il nuovo documento ";
inline constexpr std::string_view kRecoveryNotSaved =
    " non era stato salvato quando il programma si \xE8 interrotto.";
inline constexpr std::string_view kRecoveryCopyOf = "Copia di recupero del ";
inline constexpr std::string_view kRecoveryAt = " alle ";
inline constexpr std::string_view kRecoveryQuestion = "Recuperare il documento?";

// After "No", and for a copy that cannot be taken whole: where the copy now lies (it opens with
// "Apri").
inline constexpr std::string_view kRecoveryKeptAside =
    "La copia di recupero non sar\xE0 pi\xF9 proposta. \xC8 conservata nel file:";
inline constexpr std::string_view kRecoveryDamaged =
    "Una copia di recupero \xE8 danneggiata e non pu\xF2 essere ripresa. \xC8 conservata nel file:";
inline constexpr std::string_view kRecoveryNotKeptAside =
    "La copia di recupero non pu\xF2 essere messa da parte e sar\xE0 proposta di nuovo. ";

// When the copies keep failing to be written: the write error follows.
inline constexpr std::string_view kRecoveryWriteFailing =
    "La copia di recupero del documento non pu\xF2 essere scritta: se il programma si "
    "interrompe, il lavoro non salvato va perso. Salvare il documento (Maiusc+F12). ";

}  // namespace editor::text
