#pragma once

// The texts of the learning tools that the user sees or hears: captions, messages, status
// texts. One block per window.

#include <array>
#include <string_view>

namespace learning::messages {

// A function key no command of the window uses, and Alt with a letter that opens no menu
// (the letter follows).
inline constexpr std::string_view kKeyNotAssigned = "Tasto non assegnato";
inline constexpr std::string_view kNoMenuLetter = "Nessun menu con la lettera ";

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

// Why a key of the sheet does nothing just now: said, and shown in the status bar until the
// next key.
inline constexpr std::string_view kDivisionFinished = "Divisione terminata";
inline constexpr std::string_view kOnlyInDivision = "Solo nella divisione";
inline constexpr std::string_view kMostDecimals = "Al massimo 4 decimali";
inline constexpr std::string_view kNoDecimals = "Nessun decimale da togliere";
inline constexpr std::string_view kDigitsOnly = "Solo cifre, lettere da A a J";
// The sheet's voice switched by its menu entry (F7).
inline constexpr std::string_view kVoiceOn = "sintesi vocale attivata";
inline constexpr std::string_view kVoiceOff = "sintesi vocale disattivata";

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

// ---- Tutors

// The "Tutor" menu of the main window.
inline constexpr std::string_view kTutorRelation =
    "Occorre risolvere il rapporto tra  frazioni \r\n prima di proseguire";
inline constexpr std::string_view kTutorSeveralWays =
    "Essendoci pi\xF9 modi di procedere non \xE8 possibile \r\nutilizzare il tutor per "
    "risolvere l'espressione";
inline constexpr std::string_view kTutorSequence =
    "Occorre rispettare la sequenza corretta di esecuzione";
inline constexpr std::string_view kNoPowers = "Non ci sono potenze da risolvere";
inline constexpr std::string_view kNoProperties =
    "Non ci sono propriet\xE0 delle potenze da risolvere";
inline constexpr std::string_view kNoProducts =
    "Non ci sono moltiplicazioni o divisioni da risolvere";
inline constexpr std::string_view kNoSums = "Non ci sono addizioni o sottrazioni da risolvere";
// A shortcut of an entry that the line does not allow.
inline constexpr std::string_view kNoRoundBrackets = "Non ci sono parentesi tonde da risolvere";
inline constexpr std::string_view kNoSquareBrackets = "Non ci sono parentesi quadre da risolvere";
inline constexpr std::string_view kNoBraces = "Non ci sono parentesi graffe da risolvere";
inline constexpr std::string_view kNoComplexFractions =
    "Non ci sono frazioni complesse da risolvere";

// The tutor windows.
inline constexpr std::string_view kBracketsTutorCaption = "Tutor- parentesi";
inline constexpr std::string_view kOperationsTutorCaption = "Tutor - operazioni";
inline constexpr std::string_view kFractionsTutorCaption = "Tutor -Frazioni complesse";
inline constexpr std::string_view kReportResult = "Riporta risultato ed esci";
inline constexpr std::string_view kMenuTutor = "Tutor";
inline constexpr std::string_view kEqualsInside = "Carattere = all'interno dell'espressione ";
inline constexpr std::string_view kNotWorkable = "Espressione non elaborabile dal tutor ";
inline constexpr std::string_view kCellNotAllowed = "Carattere non ammesso ";
inline constexpr std::string_view kPowerIncomplete = "Elevaz.potenza incompleta ";
inline constexpr std::string_view kExpressionIncomplete = "Espressione incompleta ";
inline constexpr std::string_view kFractionIncomplete = "Espressione frazione incompleta ";
inline constexpr std::string_view kFractionDivision =
    "La divisione tra due frazioni deve essere convertita in moltiplicazione per la frazione "
    "inversa";
// Why a key of the work area does nothing: the listed part of a line stays as it is.
inline constexpr std::string_view kListedPartKept = "Parte dell'esercizio non modificabile";
inline constexpr std::string_view kNoPasteInWork = "Incolla e taglia non ammessi nel lavoro";
// Spoken when the student's answer to a work line is checked.
inline constexpr std::string_view kAnswerRight = "Esatto";
inline constexpr std::string_view kAnswerWrong = "Sbagliato";
// ---- Structure view ("Struttura")

inline constexpr std::string_view kStructureCaption = "Struttura";
inline constexpr std::string_view kInitialExpression = "Espressione iniziale";
inline constexpr std::string_view kStructureBox = "Struttura";
inline constexpr std::string_view kContents = "Contenuti";
inline constexpr std::string_view kBrackets = "Parentesi";
inline constexpr std::string_view kSubstitute = "Sostituisci";
inline constexpr std::string_view kStoreStructure = "Memorizza risultato ed esci ";
inline constexpr std::string_view kStoreStructureMenu = "Mem.ris ed esci";
inline constexpr std::string_view kFont = "Font";
// Said by the "Font" button: the font the boxes show now.
inline constexpr std::string_view kBrailleFontShown = "Font Braille";
inline constexpr std::string_view kLatexFontShown = "Font Latex";
inline constexpr std::string_view kNoBrackets = "Nessuna espressione fra parentesi";
// More groups of one kind than the lists hold: the view does not open on the expression.
inline constexpr std::string_view kTooManyGroups =
    "Troppe parentesi dello stesso tipo: al massimo 21 gruppi";
// The names of the groups, said on reaching a content line, and the ordinals past "nona".
inline constexpr std::string_view kRoundGroup = "parentesi tonda ";
inline constexpr std::string_view kSquareGroup = "parentesi quadra ";
inline constexpr std::string_view kBraceGroup = "parentesi graffa ";
inline constexpr std::array<std::string_view, 12> kOrdinalsPastNine = {
    "decima",          "undicesima",     "dodicesima", "tredicesima",
    "quattordicesima", "quindicesima",   "sedicesima", "diciassettesima",
    "diciottesima",    "diciannovesima", "ventesima",  "ventunesima",
};
// Said on the empty line between two kinds of group, and for a store with no result.
inline constexpr std::string_view kEmptyLine = "riga vuota";
inline constexpr std::string_view kNoResultToStore = "Nessun risultato da memorizzare";
// Two blanks in mode "all": the reader stops speaking.
inline constexpr std::string_view kSilence = "  ";

// ---- Decomposition ("Scomposizione")

inline constexpr std::string_view kDecompositionCaption = "Scomposizione";
inline constexpr std::string_view kRoundGroups = "Parentesi tonde";
inline constexpr std::string_view kSquareGroups = "Parentesi quadre";
inline constexpr std::string_view kBraceGroups = "Parentesi graffe";
inline constexpr std::string_view kMulDiv = "Molt. - Div.";
inline constexpr std::string_view kPowers = "Potenze";
inline constexpr std::string_view kProceed = "Procedi";
inline constexpr std::string_view kEqualsLabel = "=";
inline constexpr std::string_view kHistory = "Passaggi";
inline constexpr std::string_view kWork = "Da calcolare";
inline constexpr std::string_view kInnerWork = "Da calcolare nella parentesi";
inline constexpr std::string_view kAnswer = "Risultato";
inline constexpr std::string_view kInnerAnswer = "Risultato nella parentesi";
inline constexpr std::string_view kExitWithoutStoring = "Esci senza memorizzare ";
inline constexpr std::string_view kQuit = "Uscita";
inline constexpr std::string_view kStoreDecomposition = "Mem.risultato ed esci";
inline constexpr std::string_view kStoreDecompositionMenu = "Memorizza risultato ed esci";
inline constexpr std::string_view kOpenSheet = "Apri foglio calcolo";
inline constexpr std::string_view kUnbalanced = "Errore -  Parentesi non bilanciate ";
inline constexpr std::string_view kErrorCaption = "messaggio di errore";
// "Procedi" with nothing to accept.
inline constexpr std::string_view kNoValue = "Nessun valore scritto";
inline constexpr std::string_view kNoWork = "Nessun passo in corso";
// Said when the expression holds nothing to decompose.
inline constexpr std::string_view kNothingToDecompose = "Niente da scomporre";

}  // namespace learning::messages
