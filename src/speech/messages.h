#pragma once

// The texts of the speech subsystem that the user sees or hears outside the rendering tables:
// messages, captions, status texts and the announcements sent as speech requests.

#include <string_view>

namespace speech::messages {

inline constexpr std::string_view kEngineFailed = "Errore nel caricamento sintesi vocale";

// The menu entry that switches speech (main window and calculation sheet).
inline constexpr std::string_view kCaptionSwitchOff = "Disattiva sintesi vocale";
inline constexpr std::string_view kCaptionSwitchOn = "Attiva sintesi vocale";

// The speech state label of the main window.
inline constexpr std::string_view kStatusOn = "Sintesi vocale attivata";
inline constexpr std::string_view kStatusUnavailable = "Sintesi vocale disattivata";

// Announcements: a text region opened with '@' speaks only its words.
inline constexpr std::string_view kAnnounceStart = "\\\\@";
inline constexpr std::string_view kAnnounceEnd = "\\\\";
inline constexpr std::string_view kAnnounceSpeechOff = "\\\\@sintesi vocale disattivata\\\\";
inline constexpr std::string_view kAnnounceSpeechOn = "\\\\@sintesi vocale attivata\\\\";
inline constexpr std::string_view kAnnouncePagePrefix = "\\\\@Pagina ";
inline constexpr std::string_view kAnnouncePageSuffix = "\\\\";
inline constexpr std::string_view kAnnounceKeyboard = "\\\\@attivata tastiera \\\\";
inline constexpr std::string_view kAnnounceChordInput = "\\\\@attivata dattilobraille \\\\";

// The text of a request that only silences speech.
inline constexpr std::string_view kSilence = "\x1B";

// The reader's prefix for a deleted cell.
inline constexpr std::string_view kDeleted = " cancellato ";

// Words of the calculation sheet's voice.
inline constexpr std::string_view kSheetExpression = "espressione ";
inline constexpr std::string_view kSheetResult = "risultato ";
inline constexpr std::string_view kSheetRight = " esatto ";
inline constexpr std::string_view kSheetWrong = " sbagliato ";
inline constexpr std::string_view kSheetMistaken = "errato ";
inline constexpr std::string_view kSheetRemainder = "resto";

}  // namespace speech::messages
