#include "editor/window/main_window.h"

#include <gtest/gtest.h>

#include <fstream>

#include "editor/messages.h"
#include "main_window_harness.h"
#include "speech/request_sources.h"

namespace {

using editor::Command;
using testing_support::MainWindow;
using testing_support::ProgramFolder;
using ui::Answer;
namespace vk = ui::vk;

int countLines(const std::string& text) {
    int n = 0;
    for (std::size_t i = text.find("\r\n"); i != std::string::npos; i = text.find("\r\n", i + 2)) {
        ++n;
    }
    return n;
}

TEST(MainWindowStart, BrailleModeByDefaultWithItsWidgets) {
    ProgramFolder folder;
    folder.complete();
    MainWindow w(folder);
    // Before the first activation the title already reads as it will.
    EXPECT_EQ(w.form.caption(), "Tattilo v. 1.1 - modalit\xE0 Braille");
    EXPECT_EQ(w.status.caption(), "Pag. 1 Braille");
    EXPECT_EQ(w.label2.caption(), "Tastiera");
    EXPECT_EQ(w.tabs.count(), 15);
    EXPECT_EQ(w.tabs.tabCaption(0), "Pag.  1");
    EXPECT_EQ(w.tabs.tabCaption(8), "Pag.  9");
    EXPECT_EQ(w.tabs.tabCaption(9), "Pag.10");
    EXPECT_EQ(w.clipboard.clears(), 1);
    EXPECT_TRUE(w.panel1.visible()) << "the about panel is the splash";

    w.start();
    EXPECT_TRUE(w.dialogs.messages().empty());
    EXPECT_EQ(w.form.caption(), "Tattilo v. 1.1 - modalit\xE0 Braille");
    EXPECT_TRUE(w.memo2.visible());
    EXPECT_FALSE(w.memo1.visible());
    EXPECT_TRUE(w.memo2.focused());
    EXPECT_EQ(w.memo2.font().family, "Braillecour");
    EXPECT_TRUE(w.memo2.font().bold);
    EXPECT_EQ(w.memo2.backgroundColor(), ui::colors::kAqua);
    EXPECT_EQ(w.label1.caption(), "Modalit\xE0 Braille");
    EXPECT_EQ(w.converti.caption(), "Modalit\xE0 Latex");
    EXPECT_EQ(w.item(Command::ModalitaBraille1).caption(), "Modalit\xE0 Latex");
    EXPECT_EQ(w.label4.caption(), "Sintesi vocale attivata");
    EXPECT_EQ(w.item(Command::Attivasintesivocale1).caption(), "Disattiva sintesi vocale");
    EXPECT_FALSE(w.funzioni.visible());
    EXPECT_TRUE(w.visualLineare.visible());
    EXPECT_TRUE(w.simb.visible());
    EXPECT_FALSE(w.item(Command::Carattere1).visible());
    EXPECT_TRUE(w.item(Command::MenuEliminazioni).visible());
    EXPECT_TRUE(w.item(Command::MenuParziali).visible());
    EXPECT_TRUE(w.item(Command::MenuOpzioni).enabled());
    EXPECT_TRUE(w.item(Command::MenuTutor).enabled());
    for (Command entry : {Command::TutorTonde, Command::TutorFrazioni, Command::TutorProprieta}) {
        EXPECT_FALSE(w.item(entry).enabled()) << "the tutor entries wait for the menu";
    }
    EXPECT_FALSE(w.item(Command::Annullataglia1).visible());
    EXPECT_FALSE(w.item(Command::DattiloBraille1).visible());

    EXPECT_TRUE(w.timer2.fire());
    EXPECT_FALSE(w.panel1.visible());
    EXPECT_FALSE(w.timer2.enabled()) << "the splash hides once";
}

TEST(MainWindowStart, LatexModeFromTheSettingsAndNoSpeech) {
    ProgramFolder folder;
    folder.complete("modalit\xE0 = - modalit\xE0 Latex\r\ntutor = 0\r\n");
    MainWindow w(folder, {}, false);
    w.start();
    EXPECT_EQ(w.form.caption(), "Tattilo v. 1.1 - modalit\xE0 Latex");
    EXPECT_EQ(w.status.caption(), "Pag. 1");
    EXPECT_TRUE(w.memo1.visible());
    EXPECT_TRUE(w.memo1.focused());
    EXPECT_EQ(w.memo1.font().family, "MS Sans Serif");
    EXPECT_EQ(w.memo1.font().pixelSize, 13);
    EXPECT_TRUE(w.funzioni.visible());
    EXPECT_FALSE(w.simb.visible());
    EXPECT_FALSE(w.label2.visible());
    EXPECT_FALSE(w.label4.visible());
    EXPECT_TRUE(w.item(Command::Carattere1).visible());
    EXPECT_FALSE(w.item(Command::MenuEliminazioni).visible());
    EXPECT_FALSE(w.item(Command::Duplicariga1).enabled());
    EXPECT_FALSE(w.item(Command::Stampasufile1).enabled());
    EXPECT_FALSE(w.item(Command::MenuCalcolo).enabled());
    EXPECT_FALSE(w.item(Command::MenuTutor).visible()) << "tutor = 0 hides the menu";
    EXPECT_EQ(w.item(Command::Attivasintesivocale1).caption(), "");
    EXPECT_FALSE(w.item(Command::Attivasintesivocale1).enabled());
    EXPECT_FALSE(w.logic->speechOn());

    // Into Braille mode: no speech means the label says so.
    w.press('B', ui::shift::kCtrl);
    EXPECT_TRUE(w.logic->brailleMode());
    EXPECT_EQ(w.label4.caption(), "Sintesi vocale disattivata");
    EXPECT_TRUE(w.speech.requests.empty());
}

TEST(MainWindowStart, DocumentOnTheCommandLineNamesTheTitle) {
    ProgramFolder folder;
    folder.complete();
    std::string loaded;
    editor::MainWindowHooks hooks;
    hooks.loadDocument = [&](const std::string& path, editor::PageStore& pages) {
        loaded = path;
        pages.brailleOf(1) = "#a";
        pages.latexOf(3) = "x";
    };
    MainWindow w(folder, {"/docs/esempio.mtf"}, true, hooks);
    w.start();
    EXPECT_EQ(loaded, "/docs/esempio.mtf");
    EXPECT_EQ(w.logic->currentFileName(), "/docs/esempio.mtf");
    EXPECT_EQ(w.form.caption(), "Tattilo v. 1.1 - esempio.mtf - modalit\xE0 Braille");
    EXPECT_EQ(w.memo2.text(), "#a");
    EXPECT_FALSE(w.logic->modified());
    EXPECT_EQ(w.label3.caption().substr(0, 15), "   *       *   ");
}

TEST(MainWindowStart, MissingSettingsFilterAndFontAreReportedAndStartGoesOn) {
    ProgramFolder folder;  // nothing in it: no settings file, no filter, no font
    MainWindow w(folder, {"/docs/prova.mtf"});
    std::string caption;
    w.settings.onShow([&](testing_support::SettingsWindow& s) {
        caption = s.form.caption();
        s.esci.click();
    });
    w.dialogs.answerText(std::nullopt);  // the font name box is cancelled
    w.start();
    EXPECT_EQ(caption, "Impostazioni -Inserire impostazioni mancanti");
    EXPECT_EQ(w.settings.form.caption(), "Impostazioni");
    const std::vector<std::string> expected = {
        "beep", "warning:Attenzione - Inserire impostazioni mancanti",
        "error:File filtro non trovato. ", "warning:Font Braille non installato"};
    EXPECT_EQ(w.dialogs.transcript(), expected);
    ASSERT_EQ(w.dialogs.log().size(), 5u);
    const auto& input = w.dialogs.log()[3];
    EXPECT_EQ(input.caption, "nome font braille non definito");
    EXPECT_EQ(input.prompt, "Digita nome font");
    EXPECT_EQ(input.value, "braillecour.ttf");
    EXPECT_EQ(w.logic->settings().brailleFont, "braillecour.ttf");
    EXPECT_EQ(w.logic->settings().exchangeFile, "formula.tex");
    EXPECT_EQ(w.logic->settings().exchangeMode, "tutto");
    EXPECT_EQ(w.logic->settings().workDir, (folder.path / "esercizi").string());
    EXPECT_TRUE(std::filesystem::is_directory(folder.path / "esercizi"))
        << "the default exercise folder is made, so that the first save finds it";
    // The rest of the start-up still ran: the document's name is in the title.
    EXPECT_EQ(w.form.caption(), "Tattilo v. 1.1 - prova.mtf - modalit\xE0 Braille");
    EXPECT_TRUE(w.logic->speechOn());
    // A second activation does nothing.
    w.form.activate();
    EXPECT_EQ(w.dialogs.log().size(), 5u);

    // A later opening from the menu keeps the caption the start-up left.
    std::string later;
    w.settings.onShow([&](testing_support::SettingsWindow& s) {
        later = s.form.caption();
        s.esci.click();
    });
    w.item(Command::Cambiaimpostazioni1).click();
    EXPECT_EQ(later, "Impostazioni");
}

TEST(MainWindowStart, FilterFileHookGetsTheFile) {
    ProgramFolder folder;
    folder.complete();
    std::filesystem::path filter;
    editor::MainWindowHooks hooks;
    hooks.loadFilterFile = [&](const std::filesystem::path& p) { filter = p; };
    MainWindow w(folder, {}, true, hooks);
    w.start();
    EXPECT_EQ(filter, folder.path / "filtro.base");
    EXPECT_EQ(w.settings.modal.timesShown(), 0);
}

TEST(MainWindowStart, AChosenWorkingFolderThatIsMissingIsNotMade) {
    ProgramFolder folder;
    const std::filesystem::path chosen = folder.path / "chiavetta" / "esercizi";
    folder.complete("workdir = " + chosen.string() + "\r\n");
    MainWindow w(folder);
    w.start();
    EXPECT_EQ(w.logic->settings().workDir, chosen.string());
    EXPECT_FALSE(std::filesystem::exists(folder.path / "chiavetta"));
    EXPECT_FALSE(std::filesystem::exists(folder.path / "esercizi"));
}

// Installed, the program directory holds the shipped files only: the settings and the
// exercise folder live in the user's own folders.
TEST(MainWindowStart, AnInstalledProgramWritesOnlyIntoTheUsersFolders) {
    ProgramFolder shipped;
    shipped.write("filtro.base", "x");
    shipped.write("fonts/braillecour.ttf", "x");
    shipped.write("editor.sh", "x");
    ProgramFolder home;
    home.write("tattilo.ini", "editor grafico = " + (shipped.path / "editor.sh").string() +
                                  "\r\nfiltro = filtro.base\r\nfont = braillecour.ttf\r\n");
    MainWindow w(shipped, {}, true, {}, [&](editor::MainWindowEnvironment& env) {
        env.configurationFile = home.path / "tattilo.ini";
        env.documentsDirectory = home.path / "dati";
    });
    w.start();
    EXPECT_EQ(w.settings.modal.timesShown(), 0) << "the shipped filter file and font are found";
    EXPECT_EQ(w.logic->settings().workDir, (home.path / "dati" / "esercizi").string());
    EXPECT_TRUE(std::filesystem::is_directory(home.path / "dati" / "esercizi"));
    w.dialogs.answer(Answer::Ok);
    w.form.close();
    ASSERT_TRUE(w.form.closed());
    EXPECT_NE(
        home.read("tattilo.ini").find("workdir = " + (home.path / "dati" / "esercizi").string()),
        std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(shipped.path / "esercizi"));
    EXPECT_FALSE(std::filesystem::exists(shipped.path / "tattilo.ini"));
}

TEST(MainWindowPages, F2AndF3WrapAroundAndAnnounceThePage) {
    ProgramFolder folder;
    folder.complete();
    MainWindow w(folder);
    w.start();
    w.memo2.setText("abc");
    w.press(vk::kF3);
    EXPECT_EQ(w.logic->currentPage(), 15);
    EXPECT_EQ(w.tabs.tabIndex(), 14);
    EXPECT_EQ(w.status.caption(), "Pag. 15 Braille");
    EXPECT_EQ(w.logic->pages().brailleOf(1), "abc") << "the page left is stored";
    EXPECT_EQ(w.memo2.text(), "");
    w.press(vk::kF2);
    EXPECT_EQ(w.logic->currentPage(), 1);
    EXPECT_EQ(w.memo2.text(), "abc");
    w.press(vk::kF2);
    EXPECT_EQ(w.logic->currentPage(), 2);
    const std::vector<std::string> spoken = {"\\\\@Pagina 15\\\\", "\\\\@Pagina 1\\\\",
                                             "\\\\@Pagina 2\\\\"};
    EXPECT_EQ(w.speech.texts(), spoken);
    EXPECT_EQ(w.speech.requests.front().mode, "");
    EXPECT_EQ(w.speech.requests.front().workingDirectory, folder.path.string());
    for (int i = 0; i < 13; ++i) {
        w.press(vk::kF2);
    }
    EXPECT_EQ(w.logic->currentPage(), 15);
    w.press(vk::kF2);
    EXPECT_EQ(w.logic->currentPage(), 1);
}

TEST(MainWindowPages, TabClickReadsTheCaptionAndPutsTheCaretAtZero) {
    ProgramFolder folder;
    folder.complete();
    MainWindow w(folder);
    w.start();
    w.logic->pages().brailleOf(3) = "uno\r\ndue";
    w.memo2.setText("x");
    w.tabs.choose(2);
    EXPECT_EQ(w.logic->currentPage(), 3);
    EXPECT_EQ(w.status.caption(), "Pag.   3 Braille");
    EXPECT_EQ(w.memo2.text(), "uno\r\ndue");
    EXPECT_EQ(w.memo2.selStart(), 0u);
    EXPECT_EQ(w.logic->pages().brailleOf(1), "x");
    w.tabs.choose(11);
    EXPECT_EQ(w.logic->currentPage(), 12);
    EXPECT_EQ(w.status.caption(), "Pag. 12 Braille");
    EXPECT_EQ(w.speech.texts().back(), "\\\\@Pagina 12\\\\");
}

TEST(MainWindowPages, OccupancyStripTrimsBlankPages) {
    ProgramFolder folder;
    folder.complete();
    MainWindow w(folder);
    w.start();
    auto& pages = w.logic->pages();
    pages.latexOf(1) = "  \r\n \r\n";
    pages.brailleOf(1) = "a";
    pages.latexOf(2) = " x ";
    pages.brailleOf(15) = "\t.";
    w.memo2.setText("a");  // page 1 is current: its text comes from the editor
    w.press(vk::kF2);
    const std::string strip = w.label3.caption();
    ASSERT_EQ(strip.size(), 75u);
    EXPECT_EQ(strip.substr(0, 5), "   * ");
    EXPECT_EQ(strip.substr(5, 5), " *   ");
    EXPECT_EQ(strip.substr(10, 60), std::string(60, ' '));
    EXPECT_EQ(strip.substr(70, 5), "   * ");
}

TEST(MainWindowMode, TwoSwitchesBringEachEditorBackToItsCaret) {
    ProgramFolder folder;
    folder.complete();
    MainWindow w(folder);
    w.start();
    w.memo2.setText("abcdef");
    w.memo2.setSelStart(4);
    w.memo1.setText("x+y=z");  // the hidden Latex editor holds the page's Latex text
    w.press('B', ui::shift::kCtrl);
    EXPECT_FALSE(w.logic->brailleMode());
    EXPECT_EQ(w.form.caption(), "Tattilo v. 1.1 - modalit\xE0 Latex");
    EXPECT_EQ(w.status.caption(), "Pag. 1");  // no blank left from " Braille"
    EXPECT_EQ(w.label1.caption(), "Modalit\xE0 Latex");
    EXPECT_EQ(w.label2.caption(), "");
    EXPECT_TRUE(w.memo1.focused());
    EXPECT_EQ(w.memo1.text(), "x+y=z");
    EXPECT_EQ(w.memo1.selStart(), 0u);
    w.memo1.setSelStart(3);
    w.converti.click();
    EXPECT_TRUE(w.logic->brailleMode());
    EXPECT_EQ(w.status.caption(), "Pag. 1 Braille") << "as a page change writes it";
    EXPECT_EQ(w.memo2.selStart(), 4u);
    EXPECT_EQ(w.label2.caption(), "Tastiera");
    w.item(Command::ModalitaBraille1).click();
    EXPECT_EQ(w.memo1.selStart(), 3u);
    EXPECT_EQ(w.logic->modeText(), " - modalit\xE0 Latex");
}

TEST(MainWindowMode, FailingConversionKeepsTheMode) {
    ProgramFolder folder;
    folder.complete();
    bool fail = true;
    std::vector<editor::ConversionDirection> calls;
    editor::MainWindowHooks hooks;
    hooks.convertAllPages = [&](editor::PageStore& pages, editor::ConversionDirection d) {
        calls.push_back(d);
        if (fail) {
            pages.latexOf(4) = "";
            return false;
        }
        pages.latexOf(1) = "converted";
        return true;
    };
    MainWindow w(folder, {}, true, hooks);
    w.start();
    w.logic->pages().latexOf(4) = "old";
    w.memo2.setText("#a");
    w.converti.click();
    EXPECT_TRUE(w.logic->brailleMode());
    EXPECT_EQ(w.label1.caption(), "Modalit\xE0 Braille");
    EXPECT_EQ(w.logic->pages().latexOf(4), "");
    EXPECT_EQ(w.logic->pages().brailleOf(1), "#a") << "the editors were stored first";
    fail = false;
    w.converti.click();
    EXPECT_FALSE(w.logic->brailleMode());
    EXPECT_EQ(w.memo1.text(), "converted");
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0], editor::ConversionDirection::BrailleToLatex);
}

TEST(MainWindowMode, MathmlOffHidesBothEntriesInBothModes) {
    for (const bool on : {false, true}) {
        ProgramFolder folder;
        folder.complete(on ? "mathml = si\r\n" : "");
        MainWindow w(folder);
        w.start();
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(w.mathml.visible(), on) << "switch " << i;
            EXPECT_EQ(w.item(Command::SalvacomeMathml1).visible(), on) << "switch " << i;
            w.converti.click();
        }
    }
}

TEST(MainWindowKeys, ShortcutsFollowTheMenuState) {
    ProgramFolder folder;
    folder.complete("modalit\xE0 = Latex\r\n");
    MainWindow w(folder);
    w.start();
    int chord = 0;
    int structure = 0;
    w.logic->setCommandHandler(Command::DattiloBraille1, [&] { ++chord; });
    w.logic->setCommandHandler(Command::Struttura1, [&] { ++structure; });
    w.press(vk::kF6);
    EXPECT_EQ(chord, 0) << "\"Opzioni\" is disabled in Latex mode";
    w.press('B', ui::shift::kCtrl);
    w.press(vk::kF6);
    EXPECT_EQ(chord, 1) << "a hidden item keeps its shortcut";
    w.press('S', ui::shift::kCtrl);
    EXPECT_EQ(structure, 1) << "of the two Ctrl+S items the one with work to do runs";
    w.press(vk::kF6, ui::shift::kShift);
    EXPECT_EQ(chord, 1) << "modifiers must match exactly";

    // A key handler sees what the menus leave and may swallow it before the editor.
    struct Swallow : editor::KeyHandler {
        void keyPress(ui::KeyPress& p) override {
            if (p.ch == 'f') {
                p.ch = 0;
            }
        }
    } swallow;
    w.logic->addKeyHandler(swallow);
    w.form.type("fad");
    EXPECT_EQ(w.memo2.text(), "ad");
    EXPECT_TRUE(w.logic->modified());
}

TEST(MainWindowKeys, TopLevelMenusSilenceSpeech) {
    ProgramFolder folder;
    folder.complete();
    MainWindow w(folder);
    w.start();
    w.item(Command::MenuFile).click();
    w.item(Command::MenuAiuto).click();
    w.item(Command::MenuTutor).click();  // its analysis silences the reader too
    ASSERT_EQ(w.speech.requests.size(), 3u);
    EXPECT_EQ(w.speech.requests[0].text, "\x1B");
    EXPECT_EQ(w.speech.requests[0].mode, "");

    // "Impostazioni" opens the dialog itself, with the caption the dialog was made with.
    w.item(Command::MenuImpostazioni).click();
    EXPECT_EQ(w.settings.modal.timesShown(), 1);
    EXPECT_EQ(w.settings.form.caption(), "Impostazioni ");
}

TEST(MainWindowClose, ConfirmFirstThenSaveQuestionThenSettings) {
    ProgramFolder folder;
    folder.complete("colore = blu\r\n");
    int saves = 0;
    bool saveWorks = false;
    editor::MainWindowHooks hooks;
    hooks.saveDocument = [&] {
        ++saves;
        return saveWorks;
    };
    MainWindow w(folder, {}, true, hooks);
    w.start();
    w.form.type("ab");
    ASSERT_TRUE(w.logic->modified());

    w.dialogs.answer(Answer::No);
    w.item(Command::Esci1).click();
    EXPECT_FALSE(w.form.closed());
    EXPECT_EQ(w.dialogs.messages(), std::vector<std::string>{"Confermi chiusura?"});

    // Yes to saving, but the save fails: the window stays open.
    w.dialogs.clearLog();
    w.dialogs.answer(Answer::Ok);
    w.dialogs.answer(Answer::Yes);
    w.form.close();
    EXPECT_FALSE(w.form.closed());
    EXPECT_EQ(saves, 1);

    w.dialogs.clearLog();
    saveWorks = true;
    w.dialogs.answer(Answer::Ok);
    w.dialogs.answer(Answer::Yes);
    w.form.close();
    EXPECT_TRUE(w.form.closed());
    const std::vector<std::string> asked = {"Confermi chiusura?",
                                            "Salvare i cambiamento correnti?"};
    EXPECT_EQ(w.dialogs.messages(), asked);
    EXPECT_EQ(w.dialogs.log()[1].box.caption, "Message Box");
    EXPECT_EQ(w.dialogs.log()[1].box.buttons, ui::Buttons::YesNo);
    EXPECT_EQ(w.dialogs.log()[0].box.buttons, ui::Buttons::OkNo);
    EXPECT_TRUE(w.logic->closing());

    const std::string ini = folder.read("tattilo.ini");
    EXPECT_EQ(countLines(ini), 20);  // the eighteen, then the workbench's own two
    EXPECT_EQ(ini.find("colore"), std::string::npos);
    EXPECT_EQ(ini.substr(0, 30), "wintop = 0\r\nwinleft = 0\r\nwinla");
    // The file had no geometry: the window got the default size, and that is kept.
    EXPECT_NE(ini.find("winlarg = 800\r\nwinlung = 600\r\n"), std::string::npos);
    EXPECT_NE(ini.find("modalit\xE0 =  - modalit\xE0 Braille\r\n"), std::string::npos);

    // After closing began, resizes do nothing.
    const ui::Rect memo = w.memo1.bounds();
    w.form.resize({0, 0, 300, 300});
    EXPECT_EQ(w.memo1.bounds(), memo);
}

TEST(MainWindowClose, UnmodifiedDocumentIsNotQuestioned) {
    ProgramFolder folder;
    folder.complete();
    MainWindow w(folder);
    w.start();
    w.press(vk::kF2);  // showing pages is not a change
    w.dialogs.answer(Answer::Ok);
    w.form.close();
    EXPECT_TRUE(w.form.closed());
    EXPECT_EQ(w.dialogs.messages(), std::vector<std::string>{"Confermi chiusura?"});
}

TEST(MainWindowResize, SavedGeometryOrADefaultAndTheLayout) {
    ProgramFolder folder;
    folder.complete("wintop = 5\r\nwinleft = 7\r\nwinlarg = 900\r\nwinlung = 700\r\n");
    MainWindow w(folder);
    w.start({0, 0, 1, 1});
    EXPECT_EQ(w.form.bounds(), (ui::Rect{7, 5, 900, 700}));
    EXPECT_EQ(w.memo1.bounds(), (ui::Rect{16, 100, 860, 547}));
    // Memo2: half of Memo1 less a tenth of its own height before.
    EXPECT_EQ(w.memo2.bounds(), (ui::Rect{16, 100, 860, 273 - 20}));
    EXPECT_EQ(w.image1.bounds(), (ui::Rect{16, 100 + 253, 860, 547 - 253}));
    EXPECT_EQ(w.simb.bounds().left, 16 + 860 - 50);
    EXPECT_EQ(w.simb.bounds().top, 353 + 294 - 28);
    EXPECT_EQ(w.panel1.bounds(), (ui::Rect{450 - 225, 350 - 165, 450, 330}));
    EXPECT_TRUE(w.logic->startupDone());

    // No geometry in the file: a usable default instead of a window of no size.
    ProgramFolder bare;
    bare.complete();
    MainWindow b(bare);
    b.start({0, 0, 1, 1});
    EXPECT_EQ(b.form.bounds().width, editor::TForm1::kDefaultWidth);
    EXPECT_EQ(b.form.bounds().height, editor::TForm1::kDefaultHeight);
    // A tiny window never gives negative sizes.
    b.form.resize({0, 0, 20, 20});
    EXPECT_EQ(b.memo1.bounds().width, 0);
    EXPECT_EQ(b.memo2.bounds().height, 0);
}

TEST(MainWindowHelp, HelpPagesAndLinksThroughTheShell) {
    ProgramFolder folder;
    folder.complete();
    MainWindow w(folder);
    w.start();
    w.press(vk::kF1);
    EXPECT_EQ(w.dialogs.transcript(), std::vector<std::string>{"error:Help.htm non trovato"});
    folder.write("help.htm", "<html></html>");
    folder.write("tastnum.htm", "<html></html>");
    w.press(vk::kF1);
    ASSERT_EQ(w.shell.opened.size(), 1u);
    EXPECT_EQ(w.shell.opened[0], (folder.path / "help.htm").string());
    w.shell.openSucceeds = false;
    w.dialogs.clearLog();
    w.press(vk::kF9);
    EXPECT_EQ(w.dialogs.messages(),
              std::vector<std::string>{"Errore caricamento tabella \r\ntastnum.htm"});

    // Link labels: a missing shortcut file is named after a beep; so is the failing one.
    w.dialogs.clearLog();
    w.link1.click();
    EXPECT_EQ(w.dialogs.transcript(), std::vector<std::string>{"beep"});
    EXPECT_EQ(w.status.caption(), "orbeta.url non trovato");
    w.dialogs.clearLog();
    folder.write("orbeta.url", "[InternetShortcut]");
    w.link1.click();
    EXPECT_EQ(w.dialogs.messages(),
              std::vector<std::string>{"Errore caricamento programma \r\norbeta.url"});
    w.logic->LinkMouseMove(2);
    EXPECT_EQ(w.link2.textColor(), ui::colors::kRed);
    w.logic->Panel1MouseMove();
    EXPECT_EQ(w.link2.textColor(), ui::colors::kWhite);
}

TEST(MainWindowHelp, AboutPanelShowsCentredAndEscHidesIt) {
    ProgramFolder folder;
    folder.complete();
    MainWindow w(folder);
    w.start();
    w.timer2.fire();
    w.form.resize({0, 0, 1000, 800});
    w.item(Command::Informazionisu1).click();
    EXPECT_TRUE(w.panel1.visible());
    EXPECT_TRUE(w.panelOk.focused());
    EXPECT_EQ(w.panel1.bounds(), (ui::Rect{500 - 225, 400 - 165, 450, 330}));
    w.press(vk::kEscape);
    EXPECT_FALSE(w.panel1.visible());
    EXPECT_TRUE(w.memo2.focused());
    w.item(Command::Informazionisu1).click();
    w.panelOk.click();
    EXPECT_FALSE(w.panel1.visible());
}

TEST(MainWindowSpeech, SwitchingOffIsSaidBeforeItGoesQuiet) {
    ProgramFolder folder;
    folder.complete();
    MainWindow w(folder);
    w.start();
    w.press(vk::kF7);
    EXPECT_FALSE(w.logic->speechOn());
    EXPECT_EQ(w.item(Command::Attivasintesivocale1).caption(), "Attiva sintesi vocale");
    EXPECT_EQ(w.label4.caption(), "");
    w.press(vk::kF2);  // not spoken: speech is off
    w.press(vk::kF7);
    EXPECT_EQ(w.label4.caption(), "Sintesi vocale attivata");
    const std::vector<std::string> spoken = {"\\\\@sintesi vocale disattivata\\\\",
                                             "\\\\@sintesi vocale attivata\\\\"};
    EXPECT_EQ(w.speech.texts(), spoken);
    w.logic->speak(speech::keyCodeRequest("", 38, "riga"));  // Up: the whole line
    EXPECT_EQ(w.speech.requests.back().rate, "50");
}

TEST(MainWindowCalcolo, SelectionChecksBeforeTheCalculationSheet) {
    ProgramFolder folder;
    folder.complete();
    ui::memory::ScriptedModal sheet;
    editor::MainWindowHooks hooks;
    hooks.calculationSheet = &sheet;
    MainWindow w(folder, {}, true, hooks);
    sheet.setScript([&] { w.clipboard.setText("#ab"); });
    w.start();
    w.memo2.setText("x #b+#c y");
    w.press('Q', ui::shift::kCtrl);
    EXPECT_EQ(w.dialogs.messages(), std::vector<std::string>{"Nessuna espressione selezionata"});
    struct Case {
        std::size_t start, length;
        const char* message;
    };
    for (const Case& c :
         {Case{2, 3, "Espressione non valida"}, Case{4, 3, "Espressione non valida"},
          Case{2, 8, "Selezionare una unica operazione"}}) {
        w.dialogs.clearLog();
        w.memo2.setText("x #b+#c-#d y");
        w.memo2.setSelection(c.start, c.length);
        w.item(Command::Aprifogliocalcolo1).click();
        ASSERT_EQ(w.dialogs.messages().size(), 1u) << w.memo2.selText();
        EXPECT_EQ(w.dialogs.messages()[0], c.message);
        EXPECT_EQ(w.dialogs.log()[0].box.caption, w.memo2.selText());
    }
    EXPECT_EQ(sheet.timesShown(), 0);
    w.dialogs.clearLog();
    w.memo2.setSelection(2, 5);
    w.item(Command::Aprifogliocalcolo1).click();
    EXPECT_TRUE(w.dialogs.log().empty());
    EXPECT_EQ(sheet.timesShown(), 1);
    EXPECT_EQ(w.memo2.text(), "x #ab-#d y") << "the sheet's result replaces the selection";

    // A bracketed negative number is a number: one operation, not two.
    w.memo2.setText("x #e+?-#c* y");
    w.memo2.setSelection(2, 8);
    w.item(Command::Aprifogliocalcolo1).click();
    EXPECT_TRUE(w.dialogs.log().empty());
    EXPECT_EQ(sheet.timesShown(), 2);

    // A selection that takes the line break with it leaves the break in the page.
    w.memo2.setText("#b+#c\r\nx");
    w.memo2.setSelection(0, 7);
    w.item(Command::Aprifogliocalcolo1).click();
    EXPECT_EQ(w.memo2.text(), "#ab\r\nx");
}

TEST(MainWindowCalcolo, CaretLineGoesToTheLearningWindows) {
    ProgramFolder folder;
    folder.complete();
    ui::memory::ScriptedModal structure;
    std::string seen;
    editor::MainWindowHooks hooks;
    hooks.structureView = &structure;
    MainWindow w(folder, {}, true, hooks);
    structure.setScript([&] { seen = w.memo2.selText(); });
    w.start();
    w.memo2.setText("ab\r\n?c+d*\r\ne");
    w.memo2.setSelStart(6);
    w.press('S', ui::shift::kCtrl);
    EXPECT_EQ(seen, "?c+d*");
    w.memo2.setSelStart(12);
    w.press('S', ui::shift::kCtrl);
    EXPECT_EQ(structure.timesShown(), 1) << "a one-character line is not analysed";
}

}  // namespace

namespace {

TEST(MainWindowHelp, HelpPagesShipBesideTheProgram) {
    // The build copies data/ beside the programs: F1 and F9 find their pages there.
    const std::filesystem::path bin = TATTILO_BIN_DIR;
    ProgramFolder folder;
    folder.complete();
    for (const char* name : {"help.htm", "tastnum.htm"}) {
        std::ifstream in(bin / name, std::ios::binary);
        const std::string page{std::istreambuf_iterator<char>(in),
                               std::istreambuf_iterator<char>()};
        ASSERT_FALSE(page.empty()) << name;
        EXPECT_NE(page.find("charset=\"windows-1252\""), std::string::npos) << name;
        for (std::size_t i = page.find('\n'); i != std::string::npos; i = page.find('\n', i + 1)) {
            ASSERT_TRUE(i > 0 && page[i - 1] == '\r') << name << " has a bare line feed";
        }
        folder.write(name, page);
    }
    MainWindow w(folder);
    w.start();
    w.press(vk::kF1);
    w.press(vk::kF9);
    EXPECT_TRUE(w.dialogs.log().empty());
    ASSERT_EQ(w.shell.opened.size(), 2u);
    EXPECT_EQ(w.shell.opened[1], (folder.path / "tastnum.htm").string());
}

}  // namespace
