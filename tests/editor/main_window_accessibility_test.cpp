// What a screen reader user meets in the main window: the names that carry what the screen
// shows, the focus on a mode switch, and keys that never stay silent.

#include <gtest/gtest.h>

#include "editor/messages.h"
#include "workbench_harness.h"

namespace {

using editor::Command;
using testing_support::MainWindow;
using testing_support::ProgramFolder;
using testing_support::WorkbenchWindow;
namespace vk = ui::vk;
namespace sh = ui::shift;

constexpr unsigned kCtrlShift = sh::kCtrl | sh::kShift;
const std::string kOnlyInBraille = "Disponibile solo in modalit\xE0 Braille";

// A key or a button that did nothing said why: one beep, the words spoken as words, the
// status bar showing them.
void expectExplained(MainWindow& w, const std::string& reason, const std::string& what) {
    EXPECT_EQ(w.dialogs.transcript(), std::vector<std::string>{"beep"}) << what;
    EXPECT_EQ(w.status.caption(), reason) << what;
    ASSERT_FALSE(w.speech.requests.empty()) << what;
    EXPECT_EQ(w.speech.requests.back().text, "\\\\@" + reason + "\\\\") << what;
    EXPECT_EQ(w.speech.requests.back().mode, "") << what;
    w.dialogs.clearLog();
    w.speech.requests.clear();
}

struct Key {
    int key;
    unsigned shift;
    const char* name;
};

TEST(SilentKeys, ShortcutsOfBrailleModeSaySoInLatexMode) {
    ProgramFolder folder;
    folder.complete("modalit\xE0 = Latex\r\n");
    WorkbenchWindow w(folder);
    w.start();
    ASSERT_FALSE(w.logic->brailleMode());
    const bool linear = w.logic->linearViewShown();
    w.dialogs.clearLog();
    w.speech.requests.clear();
    const Key keys[] = {
        {'Q', sh::kCtrl, "Apri foglio calcolo"}, {'W', sh::kCtrl, "Scomponi"},
        {'S', sh::kCtrl, "Struttura"},           {vk::kF1, sh::kShift, "tutor Shift+F1"},
        {vk::kF8, sh::kShift, "tutor Shift+F8"}, {vk::kF5, 0, "Input Dattilobraille"},
        {vk::kF6, 0, "DattiloBraille"},          {vk::kF7, 0, "speech switch"},
        {'D', sh::kCtrl, "Duplica riga"},        {vk::kF11, sh::kCtrl, "Stampa su file"},
        {vk::kF3, kCtrlShift, "a deletion"},     {vk::kF1, sh::kCtrl, "a partial deletion"},
        {'R', sh::kCtrl, "linear view"},
    };
    for (const Key& k : keys) {
        w.press(k.key, k.shift);
        expectExplained(w, kOnlyInBraille, k.name);
    }
    // None of them acted behind the student's back.
    EXPECT_FALSE(w.logic->chordInput());
    EXPECT_TRUE(w.logic->speechOn());
    EXPECT_EQ(w.logic->linearViewShown(), linear);
    EXPECT_EQ(w.memo1.text(), "");

    // The notice stays until the next key, and never reaches the page status the mode switch
    // builds on.
    w.press(vk::kF2);
    EXPECT_EQ(w.status.caption(), "Pag. 2");
    w.press('Q', sh::kCtrl);
    EXPECT_EQ(w.status.caption(), kOnlyInBraille);
    w.form.pressKey('A', 0, 'a');
    EXPECT_EQ(w.status.caption(), "Pag. 2");
    w.press('Q', sh::kCtrl);
    w.press('B', sh::kCtrl);
    EXPECT_EQ(w.status.caption(), "Pag. 2 Braille");
    EXPECT_EQ(w.logic->pageStatus(), "Pag. 2 Braille");
}

TEST(SilentKeys, SettingsSpeechAndFreeKeysSayWhy) {
    ProgramFolder folder;
    folder.complete();
    MainWindow w(folder, {}, false);  // no speech files
    w.start();
    w.dialogs.clearLog();
    w.press(vk::kF7);
    // Without speech nothing is heard from the program: the beep and the status bar remain.
    EXPECT_EQ(w.dialogs.transcript(), std::vector<std::string>{"beep"});
    EXPECT_EQ(w.status.caption(), "Sintesi vocale non disponibile");
    EXPECT_TRUE(w.speech.requests.empty());
    w.dialogs.clearLog();
    w.press('M', sh::kCtrl);
    EXPECT_EQ(w.status.caption(), "Mathml non attivato nelle impostazioni");
    w.press(vk::kF4);
    EXPECT_EQ(w.status.caption(), "Tasto non assegnato");
    w.press(vk::kF12);
    EXPECT_EQ(w.status.caption(), "Tasto non assegnato");
    EXPECT_EQ(w.dialogs.beeps(), 3);
    // F10 and Alt with a function key stay the system's.
    w.dialogs.clearLog();
    w.press(vk::kF10);
    w.press(vk::kF4, sh::kAlt);
    EXPECT_TRUE(w.dialogs.log().empty());
}

TEST(SilentKeys, AltWithALetterNeverTypesAndOnlyMenuKeysPassOn) {
    ProgramFolder folder;
    folder.complete();
    MainWindow w(folder);
    w.start();
    // The menus take their first letters as access keys, "e&Liminaz.parziali" keeps its own.
    EXPECT_EQ(w.item(Command::MenuFile).caption(), "&File");
    EXPECT_EQ(w.item(Command::MenuImpostazioni).caption(), "&Impostazioni");
    EXPECT_EQ(w.item(Command::MenuParziali).caption(), "e&Liminaz.parziali");
    EXPECT_EQ(w.item(Command::MenuAiuto).caption(), "?");
    w.dialogs.clearLog();
    w.speech.requests.clear();

    ui::KeyEvent menuKey{'F', sh::kAlt};
    w.logic->keyDown(menuKey);
    EXPECT_EQ(menuKey.key, 'F') << "the toolkit opens the File menu";
    ui::KeyEvent lowerL{'L', sh::kAlt | sh::kShift};
    w.logic->keyDown(lowerL);
    EXPECT_EQ(lowerL.key, 'L');
    EXPECT_TRUE(w.dialogs.log().empty());

    ui::KeyEvent other{'X', sh::kAlt};
    w.logic->keyDown(other);
    EXPECT_EQ(other.key, 0) << "swallowed: it never reaches the page";
    expectExplained(w, "Nessun menu con la lettera X", "Alt+X");

    // The key of a menu that does not open in this mode says why, rather than nothing.
    w.press('B', sh::kCtrl);
    w.dialogs.clearLog();
    w.speech.requests.clear();
    ui::KeyEvent options{'O', sh::kAlt};
    w.logic->keyDown(options);
    EXPECT_EQ(options.key, 0);
    expectExplained(w, kOnlyInBraille, "Alt+O in Latex mode");
}

TEST(SilentKeys, CommandsWithNothingToDoSayWhy) {
    ProgramFolder folder;
    folder.complete();
    WorkbenchWindow w(folder);
    w.start();
    w.dialogs.clearLog();
    w.speech.requests.clear();

    w.press('A', sh::kCtrl);
    expectExplained(w, "Pagina vuota", "select all");
    w.press('D', sh::kCtrl);
    expectExplained(w, "Riga vuota", "duplicate line");
    w.press('W', sh::kCtrl);
    expectExplained(w, "Nessuna espressione sulla riga del cursore", "Scomponi");
    w.press('S', sh::kCtrl);
    expectExplained(w, "Nessuna espressione sulla riga del cursore", "Struttura");
    w.press('Z', sh::kCtrl);
    expectExplained(w, "Niente da annullare", "undo");

    w.memo2.setText("ab");
    w.memo2.click(1);
    w.clipboard.setText("k");
    w.press('C', sh::kCtrl);
    expectExplained(w, "Nessun testo selezionato", "copy");
    EXPECT_EQ(w.clipboard.text(), "k") << "the clipboard keeps what it had";
    w.press('X', sh::kCtrl);
    expectExplained(w, "Nessun testo selezionato", "cut");
    w.clipboard.clear();
    w.press('V', sh::kCtrl);
    expectExplained(w, "Appunti vuoti", "paste");
    w.press(vk::kF1, kCtrlShift);
    expectExplained(w, "Nessuna parentesi da cambiare", "bracket spacing");
    EXPECT_EQ(w.memo2.text(), "ab");

    // The hidden F6 is heard as F5 is.
    w.press(vk::kF6);
    ASSERT_FALSE(w.speech.requests.empty());
    EXPECT_EQ(w.speech.requests.back().text, "\\\\@attivata dattilobraille \\\\");
}

TEST(AccessibleNames, TheStripNamesItsOccupiedPages) {
    ProgramFolder folder;
    folder.complete();
    WorkbenchWindow w(folder);
    w.start();
    EXPECT_EQ(w.label3.accessibleName(), "Pagine occupate: nessuna");
    EXPECT_EQ(w.label3.accessibleDescription(), "Pagine occupate");
    w.type("ab");
    w.press(vk::kF2);
    w.type("  \r\n ");  // blank: not occupied
    w.press(vk::kF2);
    w.type("#c");
    w.press(vk::kF2);
    EXPECT_EQ(w.label3.accessibleName(), "Pagine occupate: 1, 3");

    // Read from the stars themselves: either notation's star counts, whatever the strip's
    // length.
    std::string strip(75, ' ');
    strip[14 * 5 + 1] = '*';  // page 15, Latex
    strip[4 * 5 + 3] = '*';   // page 5, Braille
    EXPECT_EQ(editor::occupiedPagesName(strip), "Pagine occupate: 5, 15");
    EXPECT_EQ(editor::occupiedPagesName(" *"), "Pagine occupate: 1");
    EXPECT_EQ(editor::occupiedPagesName(""), "Pagine occupate: nessuna");
}

TEST(AccessibleNames, LabelsAreHeardByWhatTheyShowAndEachPaletteByItsName) {
    ProgramFolder folder;
    folder.complete();
    WorkbenchWindow w(folder);
    w.start();
    // No name of their own: a screen reader reads what they show, now and after each change.
    for (ui::memory::MemoryControl* c : {&w.label1, &w.label2, &w.label4, &w.status}) {
        EXPECT_EQ(c->ownAccessibleName(), "");
    }
    EXPECT_EQ(w.form.ownAccessibleName(), "") << "the title is what is heard";
    EXPECT_EQ(w.label1.accessibleDescription(), "Modalit\xE0");
    EXPECT_EQ(w.label2.accessibleDescription(), "Input");
    EXPECT_EQ(w.label4.accessibleDescription(), "Sintesi vocale");
    EXPECT_EQ(w.status.accessibleDescription(), "Pagina");

    w.press('B', sh::kCtrl);
    w.funzioni.click();
    EXPECT_EQ(w.listBox1.ownAccessibleName(), "Funzioni");
    w.press(vk::kEscape);
    w.operatori.click();
    EXPECT_EQ(w.listBox1.ownAccessibleName(), "Operatori");
}

TEST(ModeSwitch, TheNewEditorHasThePageAndTheFocusWhileTheOldOneStillShows) {
    ProgramFolder folder;
    folder.complete();
    WorkbenchWindow w(folder);
    w.start();
    struct Seen {
        bool latexFocused, brailleFocused, latexShown, brailleShown;
    };
    std::vector<Seen> seen;
    w.logic->addPageListener([&] {
        seen.push_back(
            {w.memo1.focused(), w.memo2.focused(), w.memo1.visible(), w.memo2.visible()});
    });
    w.press('B', sh::kCtrl);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_TRUE(seen[0].latexFocused && seen[0].latexShown && seen[0].brailleShown);
    EXPECT_FALSE(w.memo2.visible());
    w.press('B', sh::kCtrl);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_TRUE(seen[1].brailleFocused && seen[1].latexShown && seen[1].brailleShown);
    EXPECT_FALSE(w.memo1.visible());
    EXPECT_TRUE(w.memo2.focused());
}

}  // namespace
