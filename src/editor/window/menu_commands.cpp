#include "editor/window/menu_commands.h"

#include <array>

#include "editor/messages.h"

namespace editor {
namespace {

using ui::Shortcut;
namespace sh = ui::shift;
namespace vk = ui::vk;

constexpr unsigned kCtrl = sh::kCtrl;
constexpr unsigned kShift = sh::kShift;
constexpr unsigned kCtrlShift = sh::kCtrl | sh::kShift;

constexpr Shortcut ctrl(char letter) {
    return {letter, kCtrl};
}
constexpr Shortcut fkey(int n, unsigned shift = 0) {
    return {vk::function(n), shift};
}
constexpr Shortcut none() {
    return {};
}

constexpr Command kNone = Command::None;
using C = Command;
using R = ModeRule;

constexpr std::array kTable = {
    MenuEntry{C::MenuFile, kNone, "File1", "File", ctrl('G'), true, R::None},
    MenuEntry{C::Nuovo1, C::MenuFile, "Nuovo1", "Nuovo", ctrl('N'), true, R::None},
    MenuEntry{C::Apri1, C::MenuFile, "Apri1", "Apri", {vk::function(12), kCtrl}, true, R::None},
    MenuEntry{C::Salva1, C::MenuFile, "Salva1", "Salva", fkey(12, kShift), true, R::None},
    MenuEntry{C::Salvacolnome1, C::MenuFile, "Salvacolnome1", "Salva con nome", ctrl('T'), true,
              R::None},
    MenuEntry{C::SalvacomeMathml1, C::MenuFile, "SalvacomeMathml1", "Salva come Mathml", ctrl('M'),
              true, R::Mathml},
    MenuEntry{C::Stampa1, C::MenuFile, "Stampa1", "Stampa", fkey(12, kCtrlShift), true, R::None},
    MenuEntry{C::Stampasufile1, C::MenuFile, "Stampasufile1", "Stampa su file", fkey(11, kCtrl),
              true, R::EnabledInBraille},
    MenuEntry{C::Stampaformule1, C::MenuFile, "Stampaformule1", "Stampa formule", fkey(11, kShift),
              true, R::None},
    MenuEntry{C::Esci1, C::MenuFile, "Esci1", "&Esci", none(), true, R::None},

    MenuEntry{C::MenuModifica, kNone, "Modifica1", "Modifica", none(), true, R::None},
    MenuEntry{C::Annullataglia1, C::MenuModifica, "Annullataglia1", "Annulla taglia", ctrl('Z'),
              false, R::None},
    MenuEntry{C::Annullaincolla1, C::MenuModifica, "Annullaincolla1", "Annulla incolla", ctrl('Z'),
              false, R::None},
    MenuEntry{C::Annulladigitazione1, C::MenuModifica, "Annulladigitazione1", "Annulla digitazione",
              ctrl('Z'), false, R::None},
    MenuEntry{C::Taglia1, C::MenuModifica, "Taglia1", "Taglia", ctrl('X'), true, R::None},
    MenuEntry{C::Copia1, C::MenuModifica, "Copia1", "Copia", ctrl('C'), true, R::None},
    MenuEntry{C::Incolla1, C::MenuModifica, "Incolla1", "Incolla", ctrl('V'), true, R::None},
    MenuEntry{C::Selezionatutto1, C::MenuModifica, "Selezionatutto1", "Seleziona tutto", ctrl('A'),
              true, R::None},
    MenuEntry{C::ModalitaBraille1, C::MenuModifica, "ModalitaBraille1", "Modalit\xE0 Braille",
              ctrl('B'), true, R::None},
    MenuEntry{C::Editorgrafico1, C::MenuModifica, "Editorgrafico1", "Editor grafico", ctrl('G'),
              true, R::None},
    MenuEntry{C::Duplicariga1, C::MenuModifica, "Duplicariga1", "Duplica riga", ctrl('D'), true,
              R::EnabledInBraille},
    MenuEntry{C::Carattere1, C::MenuModifica, "Carattere1", "Carattere", none(), true,
              R::VisibleInLatex},
    MenuEntry{C::Struttura2, C::MenuModifica, "Struttura2", "Struttura", ctrl('S'), false, R::None},
    MenuEntry{C::Parentesispaziate1, C::MenuModifica, "Parentesispaziate1", "Parentesi spaziate",
              fkey(1, kCtrlShift), true, R::None},
    MenuEntry{C::Parentesinonspaziate1, C::MenuModifica, "Parentesinonspaziate1",
              "Parentesi non spaziate", fkey(2, kCtrlShift), true, R::None},
    MenuEntry{C::Visualizzazionelineareoff1, C::MenuModifica, "Visualizzazionelineareoff1",
              "Visualizzazione lineare off", ctrl('R'), true, R::VisibleInBraille},

    MenuEntry{C::MenuPagina, kNone, "Pagina1", "Pagina", none(), true, R::None},
    MenuEntry{C::Avanti1, C::MenuPagina, "Avanti1", "Avanti", fkey(2), true, R::None},
    MenuEntry{C::Indietro1, C::MenuPagina, "Indietro1", "Indietro", fkey(3), true, R::None},

    MenuEntry{C::MenuOpzioni, kNone, "Opzioni1", "Opzioni", none(), true, R::EnabledInBraille},
    MenuEntry{C::InputDattilobraille1, C::MenuOpzioni, "InputDattilobraille1",
              "Input Dattilobraille", fkey(5), true, R::None},
    MenuEntry{C::DattiloBraille1, C::MenuOpzioni, "DattiloBraille1", "DattiloBraille", fkey(6),
              false, R::None},
    MenuEntry{C::Attivasintesivocale1, C::MenuOpzioni, "Attivasintesivocale1",
              "Attiva sintesi vocale", fkey(7), true, R::None},

    MenuEntry{C::MenuCalcolo, kNone, "Calcolo1", "Calcolo", none(), true, R::EnabledInBraille},
    MenuEntry{C::Aprifogliocalcolo1, C::MenuCalcolo, "Aprifogliocalcolo1", "Apri  foglio calcolo",
              ctrl('Q'), true, R::None},
    MenuEntry{C::Scomponi1, C::MenuCalcolo, "Scomponi1", "Scomponi", ctrl('W'), false, R::None},
    MenuEntry{C::Struttura1, C::MenuCalcolo, "Struttura1", "Struttura", ctrl('S'), false, R::None},

    MenuEntry{C::MenuImpostazioni, kNone, "Impostazioni1", "Impostazioni", none(), true, R::None},
    MenuEntry{C::Cambiaimpostazioni1, C::MenuImpostazioni, "Cambiaimpostazioni1",
              "Cambia impostazioni", none(), true, R::None},

    MenuEntry{C::MenuTutor, kNone, "Tutor1", "Tutor", none(), true, R::EnabledInBraille},
    MenuEntry{C::TutorTonde, C::MenuTutor, "Tutortonde1",
              "Operazioni all'interno delle parentesi tonde ", fkey(1, kShift), true, R::None},
    MenuEntry{C::TutorQuadre, C::MenuTutor, "Tutorquadre1",
              "Operazioni all'interno delle parentesi quadre ", fkey(2, kShift), true, R::None},
    MenuEntry{C::TutorGraffe, C::MenuTutor, "Tutorgraffe1",
              "Operazioni all'interno delle parentesi graffe ", fkey(3, kShift), true, R::None},
    MenuEntry{C::TutorFrazioni, C::MenuTutor, "Frazionicomplesse1", "Frazioni complesse",
              fkey(4, kShift), false, R::None},
    MenuEntry{C::TutorAddizioni, C::MenuTutor, "Addizioniesottrazioni1", "Addizioni e sottrazioni",
              fkey(5, kShift), true, R::None},
    MenuEntry{C::TutorMoltiplicazioni, C::MenuTutor, "Moltiplicazioniedivisioni1",
              "Moltiplicazioni e divisioni", fkey(6, kShift), true, R::None},
    MenuEntry{C::TutorPotenze, C::MenuTutor, "Potenze1", "Potenze", fkey(7, kShift), true, R::None},
    MenuEntry{C::TutorProprieta, C::MenuTutor, "Proprietadellepotenze1", "Proprieta delle potenze",
              fkey(8, kShift), true, R::None},

    MenuEntry{C::MenuEliminazioni, kNone, "Eliminazioni1", "Eliminazioni", none(), true,
              R::VisibleInBraille},
    MenuEntry{C::EliminaTonde, C::MenuEliminazioni, "Eliminacontenutoparentesitonde1",
              "Elimina contenuto parentesi tonde", fkey(3, kCtrlShift), true, R::None},
    MenuEntry{C::EliminaQuadre, C::MenuEliminazioni, "Eliminacontenutoparentesiquadre1",
              "Elimina contenuto parentesi quadre", fkey(4, kCtrlShift), true, R::None},
    MenuEntry{C::EliminaGraffe, C::MenuEliminazioni, "Eliminacontenutoparentesigraffe1",
              "Elimina contenuto parentesi graffe", fkey(5, kCtrlShift), true, R::None},
    MenuEntry{C::EliminaFrazione, C::MenuEliminazioni, "Eliminacontenutofrazionecomplessa1",
              "Elimina contenuto frazione complessa ", fkey(6, kCtrlShift), true, R::None},
    MenuEntry{C::EliminaRadice, C::MenuEliminazioni, "Eliminacontenutoradice1",
              "Elimina contenuto radice", fkey(7, kCtrlShift), true, R::None},
    MenuEntry{C::Ripristina1, C::MenuEliminazioni, "Ripristinaultimidatieliminati1",
              "Ripristina ultimi dati eliminati", fkey(9, kCtrlShift), false, R::None},

    MenuEntry{C::MenuParziali, kNone, "eLiminazparziali1", "e&Liminaz.parziali", none(), true,
              R::VisibleInBraille},
    MenuEntry{C::ParzialeTondaAperta, C::MenuParziali, "Eliminadalcursoreaparentesitondaaperta1",
              "Elimina dal cursore a parentesi tonda aperta", fkey(1, kCtrl), true, R::None},
    MenuEntry{C::ParzialeTondaChiusa, C::MenuParziali, "Eliminadalcursoreaparentesitondachiusa1",
              "Elimina dal cursore a parentesi tonda chiusa", fkey(2, kCtrl), true, R::None},
    MenuEntry{C::ParzialeQuadraAperta, C::MenuParziali, "Eliminadalcursoreaparentesiquadraaperta1",
              "Elimina dal cursore a parentesi quadra aperta", fkey(3, kCtrl), true, R::None},
    MenuEntry{C::ParzialeQuadraChiusa, C::MenuParziali, "Eliminadalcursoreaparentesiquadrachiusa1",
              "Elimina dal cursore a parentesi quadra chiusa", fkey(4, kCtrl), true, R::None},
    MenuEntry{C::ParzialeGraffaAperta, C::MenuParziali, "Eliminadalcursoreaparentesigraffaaperta1",
              "Elimina dal cursore a parentesi graffa aperta", fkey(5, kCtrl), true, R::None},
    MenuEntry{C::ParzialeGraffaChiusa, C::MenuParziali, "Eliminadalcursoreaparentesigraffachiusa1",
              "Elimina dal cursore a parentesi graffa chiusa", fkey(6, kCtrl), true, R::None},
    MenuEntry{C::ParzialeNumeratoreAperto, C::MenuParziali,
              "Eliminadalcursoreanumeratoreapertoescluso1",
              "Elimina dal cursore a numeratore aperto escluso", fkey(7, kCtrl), true, R::None},
    MenuEntry{C::ParzialeNumeratoreChiuso, C::MenuParziali,
              "Eliminadalcursoreanumeratorechiusoescluso1",
              "Elimina dal cursore a numeratore chiuso escluso", fkey(8, kCtrl), true, R::None},
    MenuEntry{C::ParzialeDenominatoreAperto, C::MenuParziali,
              "Eliminadalcursoreadenominatoreapertoescluso1",
              "Elimina dal cursore a denominatore aperto escluso", fkey(9, kCtrl), true, R::None},
    MenuEntry{C::ParzialeDenominatoreChiuso, C::MenuParziali,
              "Eliminadalcursoreadenominatorechiusoescluso1",
              "Elimina dal cursore a denominatore chiuso escluso", fkey(10, kCtrl), true, R::None},
    MenuEntry{C::Ripristina2, C::MenuParziali, "Ripristinaultimidatieliminati2",
              "Ripristina ultimi dati eliminati", fkey(10, kCtrlShift), false, R::None},

    MenuEntry{C::MenuAiuto, kNone, "N1", "?", none(), true, R::None},
    MenuEntry{C::Aiuto1, C::MenuAiuto, "Aiuto1", "Aiuto", fkey(1), true, R::None},
    MenuEntry{C::Codicitastnumerica1, C::MenuAiuto, "Codicitastnumerica1", "Codici tast. numerica",
              fkey(9), true, R::None},
    MenuEntry{C::Informazionisu1, C::MenuAiuto, "Informazionisu1", "Informazioni su ..", none(),
              true, R::None},
};

static_assert(kTable.size() == static_cast<std::size_t>(Command::Count) - 1,
              "every command has one entry");

}  // namespace

std::span<const MenuEntry> menuTable() {
    return kTable;
}

const MenuEntry* menuEntry(Command id) {
    for (const MenuEntry& e : kTable) {
        if (e.id == id) {
            return &e;
        }
    }
    return nullptr;
}

std::string_view unavailableReason(Command id, const MenuState& state) {
    const MenuEntry* entry = menuEntry(id);
    if (entry == nullptr) {
        return {};
    }
    if (id == Command::Attivasintesivocale1 && state.braille && !state.speechAvailable) {
        return text::kSpeechUnavailable;
    }
    // The entry's own rule first, then its menu's.
    for (const MenuEntry* e = entry; e != nullptr; e = menuEntry(e->parent)) {
        if (e->id == Command::MenuTutor && !state.tutorsShown) {
            return text::kTutorsOff;
        }
        switch (e->rule) {
            case ModeRule::VisibleInBraille:
            case ModeRule::EnabledInBraille:
                if (!state.braille) {
                    return text::kOnlyInBraille;
                }
                break;
            case ModeRule::VisibleInLatex:
                if (state.braille) {
                    return text::kOnlyInLatex;
                }
                break;
            case ModeRule::Mathml:
                if (!state.mathml) {
                    return text::kMathmlOff;
                }
                break;
            case ModeRule::None:
                break;
        }
    }
    return {};
}

std::string shortcutText(const ui::Shortcut& shortcut) {
    if (shortcut.empty()) {
        return {};
    }
    std::string text;
    if ((shortcut.shift & sh::kCtrl) != 0) {
        text += "Ctrl+";
    }
    if ((shortcut.shift & sh::kAlt) != 0) {
        text += "Alt+";
    }
    if ((shortcut.shift & sh::kShift) != 0) {
        text += "Shift+";
    }
    if (vk::isFunctionKey(shortcut.key)) {
        text += "F" + std::to_string(shortcut.key - vk::kF1 + 1);
    } else {
        text += static_cast<char>(shortcut.key);
    }
    return text;
}

}  // namespace editor
