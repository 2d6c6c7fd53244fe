// New, Open, Save and Save As in the main window, the save asked for at closing and the
// document of the command line, with the real conversion and real files.

#include "editor/files/document_commands.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "document_window_fixture.h"
#include "editor/document_file.h"

namespace {

using namespace document_window_test;

TEST_F(DocumentWindow, SaveOfAnUntitledDocumentProposesTheNextExerciseAndAddsNoExtension) {
    put(work / "esercizio000.mtf", "x");
    put(work / "esercizio007.mtf", "x");
    start();
    w->type("_x+#a");
    ASSERT_TRUE(w->logic->modified());
    w->dialogs.answerText((work / "prova").string());
    w->press(vk::kF12, sh::kShift);

    const auto* dialog = lastOf(*w, Kind::Save);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->file.filter, "File mtf|*.mtf|Tutti|*.*");
    EXPECT_EQ(dialog->file.initialDirectory, work.string());
    EXPECT_EQ(dialog->file.fileName, (work / "esercizio008.mtf").string());

    ASSERT_TRUE(std::filesystem::exists(work / "prova")) << "Save adds no extension";
    EXPECT_FALSE(std::filesystem::exists(work / "prova.mtf"));
    EXPECT_EQ(w->logic->currentFileName(), (work / "prova").string());
    EXPECT_EQ(w->form.caption(), "Tattilo  - prova - modalit\xE0 Braille");
    EXPECT_FALSE(w->logic->modified());
    // The save converted the page: both notations are in the file.
    const std::string saved = file(work / "prova");
    EXPECT_TRUE(saved.starts_with("\\\\Step 1\r\nx+1\r\n\\\\\r\n_x+#a\r\n\\\\\r\n\\\\Step 2\r\n"))
        << saved.substr(0, 60);
    EXPECT_TRUE(w->dialogs.messages().empty());

    // A second Save writes to the same file without asking.
    w->type("-#b");
    w->press(vk::kF12, sh::kShift);
    EXPECT_EQ(lastOf(*w, Kind::Save), dialog) << "no second dialog";
    EXPECT_NE(file(work / "prova").find("_x+#a-#b"), std::string::npos);
}

TEST_F(DocumentWindow, SaveAsAppendsMtfAndTitlesWithTheFullPath) {
    start();
    w->type("#a");
    w->dialogs.answerText((work / "prova").string());
    w->press('T', sh::kCtrl);
    const std::string path = (work / "prova.mtf").string();
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(w->logic->currentFileName(), path);
    EXPECT_EQ(w->form.caption(), "Tattilo  - " + path + " - modalit\xE0 Braille");
    EXPECT_FALSE(w->logic->modified());

    // A name with an extension is kept as it is.
    w->dialogs.answerText((work / "copia.txt").string());
    w->press('T', sh::kCtrl);
    EXPECT_TRUE(std::filesystem::exists(work / "copia.txt"));
    EXPECT_EQ(w->logic->currentFileName(), (work / "copia.txt").string());

    // Cancelling the dialog changes nothing.
    w->type("+");
    w->press('T', sh::kCtrl);
    EXPECT_EQ(w->logic->currentFileName(), (work / "copia.txt").string());
    EXPECT_TRUE(w->logic->modified());
}

TEST_F(DocumentWindow, ReplacingAnExistingFileIsAskedAndARefusalKeepsTheFileAndTheOldName) {
    put(work / "prova.mtf", "vecchio");
    start();
    w->type("#a");

    // Save As onto it, No: nothing written, the document stays untitled.
    w->dialogs.answerText((work / "prova").string());
    w->dialogs.answer(ui::Answer::No);
    w->press('T', sh::kCtrl);
    EXPECT_EQ(w->dialogs.messages(), std::vector<std::string>{kFileExists});
    EXPECT_EQ(file(work / "prova.mtf"), "vecchio");
    EXPECT_EQ(w->logic->currentFileName(), "");
    EXPECT_EQ(w->form.caption(), "Tattilo v. 1.1 - modalit\xE0 Braille");

    // Save onto it, Cancel: the name chosen is given back, so the next Save asks again
    // instead of writing over the file the student kept.
    w->dialogs.answerText((work / "prova.mtf").string());
    w->dialogs.answer(ui::Answer::Cancel);
    w->press(vk::kF12, sh::kShift);
    EXPECT_EQ(file(work / "prova.mtf"), "vecchio");
    EXPECT_EQ(w->logic->currentFileName(), "");
    EXPECT_EQ(w->form.caption(), "Tattilo v. 1.1 - modalit\xE0 Braille");
    EXPECT_TRUE(w->logic->modified());

    w->dialogs.answerText((work / "prova.mtf").string());
    w->dialogs.answer(ui::Answer::Yes);
    w->press(vk::kF12, sh::kShift);
    EXPECT_TRUE(file(work / "prova.mtf").starts_with("\\\\Step 1\r\n"));
    EXPECT_EQ(w->form.caption(), "Tattilo  - prova.mtf - modalit\xE0 Braille");
    EXPECT_TRUE(w->dialogs.allAnswersUsed());
}

TEST_F(DocumentWindow, NewAsksToSaveChangesAndCancelOrAFailedSaveKeepsTheDocument) {
    start();
    w->press(vk::kF2);  // page 2
    w->type("#b");

    w->dialogs.answer(ui::Answer::Cancel);
    w->press('N', sh::kCtrl);
    EXPECT_EQ(w->dialogs.messages(), std::vector<std::string>{kSaveChanges});
    EXPECT_EQ(w->memo2.text(), "#b");

    // Yes, then the name dialog is cancelled: nothing was saved, so nothing is thrown away.
    w->dialogs.answer(ui::Answer::Yes);
    w->press('N', sh::kCtrl);
    EXPECT_EQ(w->memo2.text(), "#b");
    EXPECT_TRUE(w->logic->modified());

    w->dialogs.answer(ui::Answer::No);
    w->press('N', sh::kCtrl);
    EXPECT_EQ(w->memo2.text(), "");
    EXPECT_EQ(w->logic->currentPage(), 2) << "the page stays";
    EXPECT_TRUE(w->logic->brailleMode());
    EXPECT_FALSE(w->logic->modified());
    EXPECT_EQ(w->form.caption(), "Tattilo - modalit\xE0 Braille");
    EXPECT_EQ(w->label3.caption(), std::string(75, ' '));

    // An unmodified document is not questioned.
    w->dialogs.clearLog();
    w->press('N', sh::kCtrl);
    EXPECT_TRUE(w->dialogs.log().empty());
}

TEST_F(DocumentWindow, NewSavesFirstOnYes) {
    start();
    w->type("#c");
    w->dialogs.answer(ui::Answer::Yes);
    w->dialogs.answerText((work / "primo.mtf").string());
    w->press('N', sh::kCtrl);
    EXPECT_NE(file(work / "primo.mtf").find("#c\r\n"), std::string::npos);
    EXPECT_EQ(w->memo2.text(), "");
    EXPECT_EQ(w->logic->currentFileName(), "");
}

TEST_F(DocumentWindow, OpenLoadsTheChosenFileWithTitleCaretsAndStrip) {
    put(work / "esercizio003.mtf", sampleDocument());
    start();
    w->type("#b");
    w->memo1.setSelStart(0);

    // Cancel ends the command: the document cannot be replaced by the next file chosen.
    w->dialogs.answer(ui::Answer::Cancel);
    w->press(vk::kF12, sh::kCtrl);
    EXPECT_EQ(lastOf(*w, Kind::Open), nullptr);
    EXPECT_EQ(w->dialogs.messages(), std::vector<std::string>{kSaveChanges});
    EXPECT_EQ(w->memo2.text(), "#b");
    EXPECT_TRUE(w->logic->modified());
    w->dialogs.clearLog();

    // No goes on to the dialog, where cancelling changes nothing.
    w->dialogs.answer(ui::Answer::No);
    w->dialogs.answerText(std::nullopt);
    w->press(vk::kF12, sh::kCtrl);
    ASSERT_NE(lastOf(*w, Kind::Open), nullptr);
    EXPECT_EQ(w->memo2.text(), "#b") << "a cancelled dialog changes nothing";
    w->dialogs.clearLog();
    w->dialogs.answer(ui::Answer::No);
    w->dialogs.answerText((work / "esercizio003.mtf").string());
    w->press(vk::kF12, sh::kCtrl);
    const auto* dialog = lastOf(*w, Kind::Open);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->file.filter, "File mtf|*.mtf|Tutti|*.*");
    EXPECT_EQ(dialog->file.initialDirectory, work.string());
    EXPECT_EQ(dialog->file.fileName, (work / "*.mtf").string());

    EXPECT_EQ(w->memo2.text(), "_x+#a\r\n");
    EXPECT_EQ(w->memo2.selStart(), 0u);
    EXPECT_TRUE(w->memo2.focused());
    EXPECT_EQ(w->logic->pages().brailleOf(2), "#:d\r\n");
    EXPECT_EQ(w->form.caption(), "Tattilo  - esercizio003.mtf - modalit\xE0 Braille");
    EXPECT_EQ(w->label3.caption().substr(0, 15), " * *  * *      ");
    EXPECT_FALSE(w->logic->modified());
    EXPECT_EQ(w->logic->currentFileName(), (work / "esercizio003.mtf").string());

    // Without a working directory the dialog starts in the program directory.
    std::filesystem::remove_all(work);
    w->press(vk::kF12, sh::kCtrl);
    EXPECT_EQ(lastOf(*w, Kind::Open)->file.initialDirectory, folder.path.string());
}

TEST_F(DocumentWindow, AFileThatCannotBeOpenedLeavesTheDocumentItsNameAndTitle) {
    put(work / "testo.txt", "non un documento\r\n");
    put(work / "vuota.mtf", "\r\n\\\\Step 1\r\nx\r\n");
    start();
    w->type("#b");
    const std::string title = w->form.caption();

    for (const char* name : {"testo.txt", "vuota.mtf"}) {
        w->dialogs.clearLog();
        w->dialogs.answer(ui::Answer::No);
        w->dialogs.answerText((work / name).string());
        w->press(vk::kF12, sh::kCtrl);
        EXPECT_EQ(w->dialogs.transcript().back(), "error:Formato del file errato") << name;
        EXPECT_EQ(w->memo2.text(), "#b");
        EXPECT_EQ(w->logic->currentFileName(), "") << "a Save must not write over " << name;
        EXPECT_EQ(w->form.caption(), title);
        EXPECT_TRUE(w->logic->modified());
    }

    w->dialogs.clearLog();
    w->dialogs.answer(ui::Answer::No);
    const std::string missing = (work / "sparito.mtf").string();
    w->dialogs.answerText(missing);
    w->press(vk::kF12, sh::kCtrl);
    EXPECT_EQ(w->dialogs.transcript().back(),
              "warning:Errore n. " + std::to_string(ENOENT) + " in lettura file " + missing);
    EXPECT_EQ(w->memo2.text(), "#b");
}

TEST_F(DocumentWindow, TheDocumentOfTheCommandLineOpensAtStart) {
    put(work / "esempio.mtf", sampleDocument());
    start({(work / "esempio.mtf").string()});
    EXPECT_EQ(w->memo2.text(), "_x+#a\r\n");
    EXPECT_EQ(w->logic->pages().latexOf(1), "x+1\r\n");
    EXPECT_EQ(w->form.caption(), "Tattilo v. 1.1 - esempio.mtf - modalit\xE0 Braille");
    EXPECT_FALSE(w->logic->modified());
    EXPECT_TRUE(w->dialogs.messages().empty());

    // Saved back unchanged, the file is the same.
    const std::string before = file(work / "esempio.mtf");
    w->press(vk::kF12, sh::kShift);
    EXPECT_EQ(file(work / "esempio.mtf"), before);
}

TEST_F(DocumentWindow, ACommandLineFileThatIsNotADocumentIsNotWrittenOver) {
    put(work / "appunti.txt", "appunti\r\n");
    start({(work / "appunti.txt").string()});
    EXPECT_EQ(w->dialogs.transcript(), std::vector<std::string>{"error:Formato del file errato"});
    EXPECT_EQ(w->form.caption(), "Tattilo v. 1.1 - modalit\xE0 Braille");
    EXPECT_EQ(w->logic->currentFileName(), "");
    w->type("#a");
    w->dialogs.answerText(std::nullopt);
    w->press(vk::kF12, sh::kShift);
    EXPECT_NE(lastOf(*w, Kind::Save), nullptr) << "Save asks for a name";
    EXPECT_EQ(file(work / "appunti.txt"), "appunti\r\n");

    // A name that does not exist yet is kept: Save creates it.
    const std::string fresh = (work / "nuovo.mtf").string();
    WorkbenchWindow other(folder, {fresh});
    other.start();
    EXPECT_EQ(other.dialogs.transcript().back(),
              "warning:Errore n. " + std::to_string(ENOENT) + " in lettura file " + fresh);
    EXPECT_EQ(other.logic->currentFileName(), fresh);
    other.type("#a");
    other.press(vk::kF12, sh::kShift);
    EXPECT_TRUE(std::filesystem::exists(fresh));
}

TEST_F(DocumentWindow, ADocumentSavedReopenedConvertedAndSavedAgainIsByteIdentical) {
    const std::filesystem::path sample =
        std::filesystem::path(TATTILO_SOURCE_DIR) / "data/esempi/esempio.mtf";
    std::filesystem::copy_file(sample, work / "esempio.mtf");
    start({(work / "esempio.mtf").string()});
    ASSERT_FALSE(w->memo2.text().empty());
    w->dialogs.answerText((work / "primo").string());
    w->press('T', sh::kCtrl);
    const std::string first = file(work / "primo.mtf");
    ASSERT_FALSE(first.empty());

    w->dialogs.answerText((work / "primo.mtf").string());
    w->press(vk::kF12, sh::kCtrl);
    w->press('B', sh::kCtrl);  // to Latex mode and back, converting every page
    ASSERT_FALSE(w->logic->brailleMode());
    w->press('B', sh::kCtrl);
    ASSERT_TRUE(w->logic->brailleMode());
    w->dialogs.answerText((work / "secondo").string());
    w->press('T', sh::kCtrl);
    EXPECT_EQ(file(work / "secondo.mtf"), first);
    EXPECT_TRUE(w->dialogs.messages().empty()) << w->dialogs.messages().front();
}

TEST_F(DocumentWindow, LinesThatLookLikeHeadersOrSeparatorsComeBackOnTheirOwnPage) {
    folder.write("tattilo.ini",
                 folder.read("tattilo.ini") + "modalit\xE0 = - modalit\xE0 Latex\r\n");
    start();
    const std::string typed = "x\r\n\\\\Step 3\r\n\\\\\r\ny";
    w->type(typed);
    w->dialogs.answerText((work / "marcatori.mtf").string());
    w->press('T', sh::kCtrl);
    ASSERT_TRUE(std::filesystem::exists(work / "marcatori.mtf"));

    w->dialogs.answerText((work / "marcatori.mtf").string());
    w->press(vk::kF12, sh::kCtrl);
    EXPECT_EQ(w->logic->pages().latexOf(1), typed + "\r\n");
    EXPECT_EQ(w->logic->pages().latexOf(3), "\r\n") << "page 3 was saved empty and stays so";
}

TEST_F(DocumentWindow, AFailedSaveKeepsThePreviousFileAndSaysSo) {
    put(work / "prova.mtf", sampleDocument());
    start({(work / "prova.mtf").string()});
    w->type("-#b");
    w->workbench->documents().setWriteFault(
        [](editor::WriteStep step) { return step == editor::WriteStep::Write ? ENOSPC : 0; });
    w->press(vk::kF12, sh::kShift);
    EXPECT_EQ(w->dialogs.transcript(),
              std::vector<std::string>{"warning:Errore n. " + std::to_string(ENOSPC) +
                                       " in scrittura file " + (work / "prova.mtf").string()});
    EXPECT_EQ(file(work / "prova.mtf"), sampleDocument());
    EXPECT_TRUE(w->logic->modified());

    // Closing with the save failing keeps the window open.
    w->dialogs.clearLog();
    w->dialogs.answer(ui::Answer::Ok);
    w->dialogs.answer(ui::Answer::Yes);
    w->logic->runCommand(Command::Esci1);
    EXPECT_FALSE(w->form.closed());
    EXPECT_EQ(file(work / "prova.mtf"), sampleDocument());

    w->workbench->documents().setWriteFault({});
    w->dialogs.answer(ui::Answer::Ok);
    w->dialogs.answer(ui::Answer::Yes);
    w->logic->runCommand(Command::Esci1);
    EXPECT_TRUE(w->form.closed());
    EXPECT_NE(file(work / "prova.mtf").find("-#b_x+#a"), std::string::npos);
}

TEST_F(DocumentWindow, AConversionErrorDoesNotStopTheSave) {
    folder.write("tattilo.ini",
                 folder.read("tattilo.ini") + "modalit\xE0 = - modalit\xE0 Latex\r\n");
    start();
    ASSERT_FALSE(w->logic->brailleMode());
    w->type("x+1");
    w->press(vk::kF2);
    w->type("\\foo");
    w->dialogs.answerText((work / "errore.mtf").string());
    w->press(vk::kF12, sh::kShift);
    EXPECT_EQ(w->dialogs.transcript(),
              (std::vector<std::string>{"beep", "warning:Pagina 2\r\nFunzione sconosciuta"}));
    const std::string saved = file(work / "errore.mtf");
    EXPECT_TRUE(
        saved.starts_with("\\\\Step 1\r\nx+1\r\n\\\\\r\n_x+#a\r\n\\\\\r\n"
                          "\\\\Step 2\r\n\\foo\r\n\\\\\r\n\r\n\\\\\r\n"))
        << saved.substr(0, 80);
    EXPECT_FALSE(w->logic->modified());
}

}  // namespace
