#pragma once

// What the main window and the settings dialog show and say, word for word: captions, labels,
// messages and spoken texts. Code page 1252 ("\xE0" is à).

#include <string_view>

namespace editor::text {

// Window title.
inline constexpr std::string_view kTitleAtStart = "Tattilo v. 1.1 - ";
inline constexpr std::string_view kTitle = "Tattilo  - ";
inline constexpr std::string_view kModeTextAtStart = "Braille";
inline constexpr std::string_view kModeTextLatex = " - modalit\xE0 Latex";
inline constexpr std::string_view kModeTextBraille = " - modalit\xE0 Braille";
inline constexpr std::string_view kBrailleWord =
    "Braille";  // a mode text with it starts in Braille

// Labels, buttons and the status text.
inline constexpr std::string_view kLatexMode = "Modalit\xE0 Latex";
inline constexpr std::string_view kBrailleMode = "Modalit\xE0 Braille";
inline constexpr std::string_view kKeyboardInput = "Tastiera";
inline constexpr std::string_view kChordInput = "DattiloBraille";
inline constexpr std::string_view kStatusPage = "Pag. ";
inline constexpr std::string_view kStatusBraille = " Braille";
inline constexpr std::string_view kTabPrefix = "Pag.";
// The chord input switch: "Input Dattilobraille" (F5) and the hidden "DattiloBraille" (F6).
inline constexpr std::string_view kChordOnLabel = "Dattilobraille";
inline constexpr std::string_view kChordOffLabel = "Input Tastiera";
inline constexpr std::string_view kChordOnItem = "Input Tastiera";
inline constexpr std::string_view kChordOffItem = "Input Dattilobraille";

inline constexpr std::string_view kButtonFunzioni = "Funzioni";
inline constexpr std::string_view kButtonOperatori = "Operatori";
inline constexpr std::string_view kButtonInsiemistica = "Insiemistica";
inline constexpr std::string_view kButtonLogica = "Logica mat.";
inline constexpr std::string_view kButtonGreche = "Lett.greche";
inline constexpr std::string_view kButtonSimboli = "Simboli";
inline constexpr std::string_view kButtonEditorGrafico = "Editor grafico";
inline constexpr std::string_view kButtonVisualLineare = "Visual. lineare off";
inline constexpr std::string_view kButtonMathml = "Mathml";
inline constexpr std::string_view kButtonSimb = "Simb.";

// What screen readers call the labels beside the text they show, and the page strip
// ("Pagine occupate: 1, 3").
inline constexpr std::string_view kNameModeLabel = "Modalit\xE0";
inline constexpr std::string_view kNameInputLabel = "Input";
inline constexpr std::string_view kNameSpeechLabel = "Sintesi vocale";
inline constexpr std::string_view kNameStatusBar = "Pagina";
inline constexpr std::string_view kNameOccupiedPages = "Pagine occupate";
inline constexpr std::string_view kNameNoPageOccupied = "nessuna";

// Why a key or a button does nothing just now: after a beep, said and shown in the status bar
// until the next key.
inline constexpr std::string_view kOnlyInBraille = "Disponibile solo in modalit\xE0 Braille";
inline constexpr std::string_view kOnlyInLatex = "Disponibile solo in modalit\xE0 Latex";
inline constexpr std::string_view kSpeechUnavailable = "Sintesi vocale non disponibile";
inline constexpr std::string_view kTutorsOff = "Tutor disattivati nelle impostazioni";
inline constexpr std::string_view kMathmlOff = "Mathml non attivato nelle impostazioni";
inline constexpr std::string_view kNoLineExpression = "Nessuna espressione sulla riga del cursore";
inline constexpr std::string_view kNothingToUndo = "Niente da annullare";
inline constexpr std::string_view kNothingSelected = "Nessun testo selezionato";
inline constexpr std::string_view kClipboardEmpty = "Appunti vuoti";
inline constexpr std::string_view kPageEmpty = "Pagina vuota";
inline constexpr std::string_view kLineEmpty = "Riga vuota";
inline constexpr std::string_view kBracketsUnchanged = "Nessuna parentesi da cambiare";
inline constexpr std::string_view kNothingToDelete = "Niente da eliminare";
inline constexpr std::string_view kNothingToRestore = "Niente da ripristinare";
inline constexpr std::string_view kNotFound = " non trovato";

// About panel.
inline constexpr std::string_view kAboutName = "Tattilo";
inline constexpr std::string_view kAboutVersion = "versione 1.1";
inline constexpr std::string_view kAboutCredits =
    "Ambiente per scrivere e leggere la matematica in Braille e in notazione Latex,\r\n"
    "con la sintesi vocale in italiano.";
inline constexpr std::string_view kAboutLink1 = "Sito del progetto";
inline constexpr std::string_view kAboutLink2 = "Centro di documentazione";
inline constexpr std::string_view kAboutScreenReader =
    "Per lavorare senza vedere lo schermo deve essere installato un lettore di schermo "
    "(JAWS su Windows, Orca su Linux).";
inline constexpr std::string_view kAboutOk = "OK";

// Messages of the main window.
inline constexpr std::string_view kFilterNotFound = "File filtro non trovato. ";
inline constexpr std::string_view kFontNotInstalled = "Font Braille non installato";
inline constexpr std::string_view kFontInputCaption = "nome font braille non definito";
inline constexpr std::string_view kFontInputPrompt = "Digita nome font";
inline constexpr std::string_view kConfirmClose = "Confermi chiusura?";
inline constexpr std::string_view kSaveChangesOnClose = "Salvare i cambiamento correnti?";
inline constexpr std::string_view kMessageBoxCaption = "Message Box";
inline constexpr std::string_view kHelpNotFound = "Help.htm non trovato";
inline constexpr std::string_view kHelpLoadError = "Errore caricamento programma \r\nhelp.htm";
inline constexpr std::string_view kKeypadNotFound = "tastnum.htm non trovato";
inline constexpr std::string_view kKeypadLoadError = "Errore caricamento tabella \r\ntastnum.htm";
inline constexpr std::string_view kLinkLoadError = "Errore caricamento programma \r\n";

// Document, printing and editing commands (the file formats keep their own texts beside them).
inline constexpr std::string_view kSaveChangesQuestion = "Salvare i cambiamenti correnti?";
inline constexpr std::string_view kOpenDialogTitle = "Apri";
inline constexpr std::string_view kSaveDialogTitle = "Salva con nome";
inline constexpr std::string_view kPrintFileDialogTitle = "Stampa su file";
inline constexpr std::string_view kDocumentPattern = "*.mtf";
inline constexpr std::string_view kPrintFilePattern = "*.prn";
inline constexpr std::string_view kPrintFailed = "Stampa non riuscita";

// Files beside the program.
inline constexpr std::string_view kHelpFile = "help.htm";
inline constexpr std::string_view kKeypadFile = "tastnum.htm";
inline constexpr std::string_view kLink1File = "orbeta.url";
inline constexpr std::string_view kLink2File = "lumenia.url";
inline constexpr std::string_view kConfigurationFile = "tattilo.ini";
// The first line of the message when the windows cannot be made at start; the reason follows.
inline constexpr std::string_view kCannotStart = "Tattilo non si \xE8 potuto avviare.";
// The settings a first start begins with (the shipped filter file and Braille font).
inline constexpr std::string_view kConfigurationDefaults = "tattilo-iniziale.ini";
inline constexpr std::string_view kWorkDirName = "esercizi";
inline constexpr std::string_view kDefaultExchangeFile = "formula.tex";
inline constexpr std::string_view kDefaultExchangeMode = "tutto";
inline constexpr std::string_view kSelectionExchangeMode = "sel";
inline constexpr std::string_view kDefaultBrailleFont = "braillecour.ttf";
inline constexpr std::string_view kDefaultFilter = "filtro.base";

// Fonts of the two editors.
inline constexpr std::string_view kPlainFontFamily = "MS Sans Serif";
inline constexpr int kPlainFontPixels = 13;
inline constexpr std::string_view kBrailleFontFamily = "Braillecour";
inline constexpr int kBrailleFontPixels = 32;

// Settings dialog.
inline constexpr std::string_view kSettingsCaption = "Impostazioni ";
inline constexpr std::string_view kSettingsCaptionAfter = "Impostazioni";
inline constexpr std::string_view kSettingsCaptionMissing =
    "Impostazioni -Inserire impostazioni mancanti";
inline constexpr std::string_view kSettingsMissing = "Attenzione - Inserire impostazioni mancanti";
// "Editor grafico" while the student works without one.
inline constexpr std::string_view kNoGraphicEditor =
    "Nessun editor grafico: sceglierlo in Impostazioni";
inline constexpr std::string_view kSettingsFontNotFound = "Attenzione - file non trovato -";
inline constexpr std::string_view kSettingsEditorNotFound =
    "Attenzione - editor grafico : file non trovato";
inline constexpr std::string_view kSettingsFilterNotFound =
    "Attenzione - file filtro : file non trovato";
inline constexpr std::string_view kWorkDirMissing1 = "Directory non esistente \r";
inline constexpr std::string_view kWorkDirMissing2 = "\rDesideri crearla?";
inline constexpr std::string_view kWorkDirCreateError = "Errore in creazione directory\r";

inline constexpr std::string_view kLabelEditor = "Editor grafico";
inline constexpr std::string_view kLabelWorkDir = "Directory lavoro";
inline constexpr std::string_view kLabelExchangeFile = "File di scambio ";
inline constexpr std::string_view kGroupExchangeMode = "Modalit\xE0 scambio dati";
inline constexpr std::string_view kRadioAll = "Tutto";
inline constexpr std::string_view kRadioSelection = "Solo testo selezionato";
inline constexpr std::string_view kCheckDisplay = "Riga del cursore sul display Braille";
inline constexpr std::string_view kLabelFont = "Font Braille ";
inline constexpr std::string_view kLabelFilter = "Nome file filtro";
inline constexpr std::string_view kLabelTimer = "Interval Timer per Dattilobraille";
inline constexpr std::string_view kLabelSpeed = "Velocit\xE0 voce (min 30 max 90)";
inline constexpr std::string_view kGroupPrinter = "Stampante Braille";
inline constexpr std::string_view kLabelChars = "Caratteri per riga";
inline constexpr std::string_view kLabelLines = "Righe per pagina";
inline constexpr std::string_view kButtonBrowse = "Sfoglia";
inline constexpr std::string_view kButtonOk = "Ok";
inline constexpr std::string_view kButtonEsci = "Esci";
inline constexpr std::string_view kBrowseEditorTitle = "Editor grafico";
inline constexpr std::string_view kBrowseWorkDirTitle = "Directory lavoro";
inline constexpr std::string_view kProgramsFilter = "Programmi|*|Tutti|*.*";

// Dialog field defaults.
inline constexpr std::string_view kFieldTimer = "200";
inline constexpr std::string_view kFieldSpeed = "50";
inline constexpr std::string_view kFieldChars = "40";
inline constexpr std::string_view kFieldLines = "25";

// Configuration file problems (the program goes on with what it has).
inline constexpr std::string_view kConfigReadError =
    "Impossibile leggere le impostazioni dal file ";
inline constexpr std::string_view kConfigWriteError =
    "Impossibile salvare le impostazioni nel file ";

}  // namespace editor::text
