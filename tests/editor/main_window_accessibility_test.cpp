// What a screen reader user meets in the main window: the names that carry what the screen
// shows, the focus on a mode switch, and keys that never stay silent.

#include <gtest/gtest.h>

#include "editor/messages.h"
#include "editor/text_lines.h"
#include "editor/window/main_window.h"
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
    // and the screen reader hears it by itself.
    ASSERT_FALSE(w.form.announced().empty()) << what;
    EXPECT_EQ(w.form.announced().back(), reason) << what;
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
    // F10 goes to the menu bar; Alt with a function key stays the system's.
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

// The editor left on Ctrl+B keeps its text and its selection: setting them again would be a
// change a screen reader announces ("non selezionato") in the editor the student just left.
TEST(ModeSwitch, TheEditorLeftKeepsItsSelection) {
    ProgramFolder folder;
    folder.complete();
    WorkbenchWindow w(folder);
    w.start();
    w.form.type("#a+#b");
    w.memo2.setSelection(0, 5);
    w.press('B', sh::kCtrl);
    ASSERT_FALSE(w.logic->brailleMode());
    EXPECT_EQ(w.memo2.selLength(), 5u);
    EXPECT_EQ(w.memo2.text(), "#a+#b");
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

// F10 and Alt pressed and released alone put the focus on the menu bar, as in Windows
// programs; Alt used with another key does not.
TEST(MenuBarKeys, F10AndAltAloneReachTheMenuBar) {
    ProgramFolder folder;
    folder.complete();
    MainWindow w(folder);
    w.start();
    w.memo2.setText("#a");
    struct Case {
        const char* keys;
        std::function<void()> press;
        int reached;
    };
    const Case cases[] = {
        {"F10", [&] { w.press(vk::kF10); }, 1},
        {"Alt alone",
         [&] {
             w.form.keyDown(vk::kMenu, sh::kAlt);
             w.form.keyUp(vk::kMenu);
         },
         1},
        {"Alt held (repeating)",
         [&] {
             w.form.keyDown(vk::kMenu, sh::kAlt);
             w.form.keyDown(vk::kMenu, sh::kAlt);
             w.form.keyUp(vk::kMenu);
         },
         1},
        {"Shift+F10", [&] { w.press(vk::kF10, sh::kShift); }, 0},
        {"Alt+F",
         [&] {
             w.form.keyDown(vk::kMenu, sh::kAlt);
             w.press('F', sh::kAlt);
             w.form.keyUp(vk::kMenu);
         },
         0},
        {"Alt+F4",
         [&] {
             w.form.keyDown(vk::kMenu, sh::kAlt);
             w.press(vk::kF4, sh::kAlt);
             w.form.keyUp(vk::kMenu);
         },
         0},
        {"Ctrl+Alt",
         [&] {
             w.form.keyDown(vk::kControl, sh::kCtrl);
             w.form.keyDown(vk::kMenu, sh::kCtrl | sh::kAlt);
             w.form.keyUp(vk::kMenu, sh::kCtrl);
             w.form.keyUp(vk::kControl);
         },
         0},
    };
    for (const Case& c : cases) {
        const int before = w.menu.barFocused();
        c.press();
        EXPECT_EQ(w.menu.barFocused() - before, c.reached) << c.keys;
    }
    EXPECT_EQ(w.memo2.text(), "#a") << "nothing typed";
    EXPECT_EQ(w.dialogs.beeps(), 0);
}

// Both notations hold a page line for line: after Ctrl+B the caret is on the line it was on,
// where the editor's own caret stood when that is on the line, else at the line's start.
TEST(ModeSwitch, TheCaretStaysOnItsLine) {
    ProgramFolder folder;
    folder.complete();
    MainWindow w(folder);
    w.start();
    struct Case {
        std::size_t brailleCaret;  // where the student is in the Braille editor
        std::size_t latexCaret;    // where the Latex editor's caret was left
        std::size_t latexAfter;
    };
    // "#a+#b" / "1+2" on lines 0..2 (CR LF counts two).
    const std::string braille = "#a\r\n#b+#c\r\n#d";
    const std::string latex = "1\r\n2+3\r\n4";
    const Case cases[] = {
        {0, 0, 0},   // line 0: its own caret is on it
        {5, 0, 3},   // line 1: the start of line 1
        {13, 0, 8},  // line 2, at the end
        {6, 5, 5},   // line 1 and the kept caret is on it
        {1, 8, 0},   // line 0, the kept caret on line 1 is not used
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(w.logic->brailleMode());
        w.memo2.setText(braille);
        w.memo1.setText(latex);  // the page's Latex text, as a conversion would make it
        w.press('B', sh::kCtrl);
        w.memo1.setSelStart(c.latexCaret);
        w.press('B', sh::kCtrl);
        w.memo2.setText(braille);
        w.memo2.setSelStart(c.brailleCaret);
        w.memo1.setText(latex);
        w.press('B', sh::kCtrl);
        EXPECT_EQ(w.memo1.selStart(), c.latexAfter) << c.brailleCaret << " " << c.latexCaret;
        EXPECT_EQ(editor::lineNumberOf(latex, w.memo1.selStart()),
                  editor::lineNumberOf(braille, c.brailleCaret));
        w.press('B', sh::kCtrl);
    }
    // A page shorter in the other notation: the caret goes to its last line.
    w.memo2.setText("#a\r\n#b\r\n#c");
    w.memo2.setSelStart(9);
    w.memo1.setText("1");
    w.press('B', sh::kCtrl);
    EXPECT_EQ(w.memo1.selStart(), 0u);
}

TEST(WindowTitle, ReadsTheSameAtStartAsAfterASwitch) {
    struct Case {
        const char* prefix;
        const char* stored;
        const char* title;
    };
    const Case cases[] = {
        {"Tattilo v. 1.1 - ", "Braille", "Tattilo v. 1.1 - modalit\xE0 Braille"},
        {"Tattilo v. 1.1 - ", "- modalit\xE0 Latex", "Tattilo v. 1.1 - modalit\xE0 Latex"},
        {"Tattilo v. 1.1 - ", " - modalit\xE0 Braille", "Tattilo v. 1.1 - modalit\xE0 Braille"},
        {"Tattilo v. 1.1 - esempio.mtf", "Braille",
         "Tattilo v. 1.1 - esempio.mtf - modalit\xE0 Braille"},
        {"Tattilo v. 1.1 - esempio.mtf", "- modalit\xE0 Latex",
         "Tattilo v. 1.1 - esempio.mtf - modalit\xE0 Latex"},
        {"Tattilo  - ", " - modalit\xE0 Latex", "Tattilo - modalit\xE0 Latex"},
        {"Tattilo  - /home/a/b.mtf", "Latex", "Tattilo  - /home/a/b.mtf - modalit\xE0 Latex"},
        {"Tattilo v. 1.1 - ", "", "Tattilo v. 1.1 - modalit\xE0 Latex"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(editor::windowTitle(c.prefix, c.stored), c.title) << c.prefix << c.stored;
    }

    // The stored mode text comes back trimmed at the next start: the title keeps its blank.
    ProgramFolder folder;
    folder.complete("modalit\xE0 = - modalit\xE0 Latex\r\n");
    MainWindow w(folder);
    EXPECT_EQ(w.form.caption(), "Tattilo v. 1.1 - modalit\xE0 Latex") << "before the activation";
    w.start();
    EXPECT_EQ(w.form.caption(), "Tattilo v. 1.1 - modalit\xE0 Latex");
    w.press('B', sh::kCtrl);
    w.press('B', sh::kCtrl);
    EXPECT_EQ(w.form.caption(), "Tattilo v. 1.1 - modalit\xE0 Latex");
}

// Most students have no graphic editor: leaving it empty at the first start is a choice that
// holds, and "Editor grafico" then says why it cannot start.
TEST(FirstStart, TheDialogShowsTheDefaultsAndAnEmptyEditorIsAChoice) {
    ProgramFolder folder;
    folder.write("filtro.base", "x");
    folder.write("fonts/braillecour.ttf", "x");
    folder.write("tattilo.ini", "filtro = filtro.base\r\nfont = braillecour.ttf\r\n");
    {
        MainWindow w(folder);
        bool all = false;
        bool selection = true;
        w.settings.onShow([&](testing_support::SettingsWindow& s) {
            all = s.tutto.checked();
            selection = s.selezione.checked();
            s.esci.click();
        });
        w.start();
        EXPECT_EQ(w.settings.modal.timesShown(), 1);
        EXPECT_TRUE(all && !selection) << "the first start shows the default, Tutto";
        EXPECT_TRUE(w.logic->settings().withoutGraphicEditor);
        w.dialogs.answer(ui::Answer::Ok);
        w.form.close();
        ASSERT_TRUE(w.form.closed());
    }
    EXPECT_NE(folder.read("tattilo.ini").find("senza editor grafico = si\r\n"), std::string::npos);
    WorkbenchWindow w(folder);
    w.start();
    EXPECT_EQ(w.settings.modal.timesShown(), 0) << "no dialog at the next start";
    w.dialogs.clearLog();
    w.speech.requests.clear();
    w.press('G', sh::kCtrl);
    EXPECT_EQ(w.settings.modal.timesShown(), 0);
    expectExplained(w, std::string(editor::text::kNoGraphicEditor), "Editor grafico");

    // Naming an editor later ends the choice.
    w.settings.onShow([&](testing_support::SettingsWindow& s) {
        s.editor.setText((folder.path / "filtro.base").string());
        s.ok.click();
    });
    w.item(Command::Cambiaimpostazioni1).click();
    EXPECT_FALSE(w.logic->settings().withoutGraphicEditor);
}

}  // namespace
