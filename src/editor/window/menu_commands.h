#pragma once

// The main window's menus: every menu and item with its caption, shortcut, starting state and
// how the mode changes it. The window logic dispatches commands and shortcuts from this table
// and the Qt side builds its menu bar from it, so both always agree.

#include <span>
#include <string>
#include <string_view>

#include "ui/keys.h"

namespace editor {

enum class Command : int {
    None = 0,
    // "File"
    MenuFile,
    Nuovo1,
    Apri1,
    Salva1,
    Salvacolnome1,
    SalvacomeMathml1,
    Stampa1,
    Stampasufile1,
    Stampaformule1,
    Esci1,
    // "Modifica"
    MenuModifica,
    Annullataglia1,
    Annullaincolla1,
    Annulladigitazione1,
    Taglia1,
    Copia1,
    Incolla1,
    Selezionatutto1,
    ModalitaBraille1,
    Editorgrafico1,
    Duplicariga1,
    Carattere1,
    Struttura2,  // structure result insertion (hidden)
    Parentesispaziate1,
    Parentesinonspaziate1,
    Visualizzazionelineareoff1,
    // "Pagina"
    MenuPagina,
    Avanti1,
    Indietro1,
    // "Opzioni"
    MenuOpzioni,
    InputDattilobraille1,
    DattiloBraille1,
    Attivasintesivocale1,
    // "Calcolo"
    MenuCalcolo,
    Aprifogliocalcolo1,
    Scomponi1,
    Struttura1,
    // "Impostazioni"
    MenuImpostazioni,
    Cambiaimpostazioni1,
    // "Tutor"
    MenuTutor,
    TutorTonde,
    TutorQuadre,
    TutorGraffe,
    TutorFrazioni,
    TutorAddizioni,
    TutorMoltiplicazioni,
    TutorPotenze,
    TutorProprieta,
    // "Eliminazioni"
    MenuEliminazioni,
    EliminaTonde,
    EliminaQuadre,
    EliminaGraffe,
    EliminaFrazione,
    EliminaRadice,
    Ripristina1,
    // "e&Liminaz.parziali"
    MenuParziali,
    ParzialeTondaAperta,
    ParzialeTondaChiusa,
    ParzialeQuadraAperta,
    ParzialeQuadraChiusa,
    ParzialeGraffaAperta,
    ParzialeGraffaChiusa,
    ParzialeNumeratoreAperto,
    ParzialeNumeratoreChiuso,
    ParzialeDenominatoreAperto,
    ParzialeDenominatoreChiuso,
    Ripristina2,
    // "?"
    MenuAiuto,
    Aiuto1,
    Codicitastnumerica1,
    Informazionisu1,
    Count
};

// How the mode shows or enables an entry.
enum class ModeRule {
    None,
    VisibleInBraille,  // shown in Braille mode only
    VisibleInLatex,    // shown in Latex mode only
    EnabledInBraille,  // enabled in Braille mode only
    Mathml,            // shown only when the mathml setting is on, in both modes
};

struct MenuEntry {
    Command id;
    Command parent;  // Command::None for a menu of the menu bar
    std::string_view name;
    std::string_view caption;  // "&" marks the access key
    ui::Shortcut shortcut;
    bool visible;  // at start
    ModeRule rule;
};

// The menus and items in the order they appear, each menu followed by its items.
std::span<const MenuEntry> menuTable();

// The entry of a command; nullptr for Command::None and Command::Count.
const MenuEntry* menuEntry(Command id);

// The shortcut as the menus show it, e.g. "Ctrl+Shift+F12"; empty for none.
std::string shortcutText(const ui::Shortcut& shortcut);

// What decides whether a command can act just now, besides its own handler.
struct MenuState {
    bool braille = false;          // Braille mode
    bool mathml = false;           // the mathml setting is on
    bool tutorsShown = true;       // the tutor setting is not 0
    bool speechAvailable = false;  // the speech entry can switch speech
};

// Why a command cannot act in `state`, as the student hears it and the status bar shows it:
// a menu of one mode only, a setting that turns it off, no speech; empty when it can.
std::string_view unavailableReason(Command id, const MenuState& state);

}  // namespace editor
