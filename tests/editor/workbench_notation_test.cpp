#include "editor/workbench.h"

#include <gtest/gtest.h>

#include "workbench_harness.h"

namespace {

using editor::Command;
using testing_support::ProgramFolder;
using testing_support::WorkbenchWindow;

TEST(WorkbenchNotation, ModeSwitchConvertsEveryPageBothWays) {
    ProgramFolder folder;
    folder.complete();
    WorkbenchWindow w(folder);
    w.start();
    ASSERT_TRUE(w.logic->brailleMode());
    w.type("_x+#a");
    w.press(ui::vk::kF2);  // page 2
    w.type("#:d");
    w.press('B', ui::shift::kCtrl);
    ASSERT_FALSE(w.logic->brailleMode());
    EXPECT_EQ(w.memo1.text(), "\\frac{3}{4}");
    EXPECT_EQ(w.logic->pages().latexOf(1), "x+1");
    EXPECT_TRUE(w.dialogs.messages().empty());

    // Back to Braille from what the student edited in Latex mode.
    w.memo1.setText("\\sqrt{x}");
    w.press('B', ui::shift::kCtrl);
    ASSERT_TRUE(w.logic->brailleMode());
    EXPECT_EQ(w.memo2.text(), "9_xo");
    EXPECT_EQ(w.logic->pages().brailleOf(1), "_x+#a");
}

TEST(WorkbenchNotation, FailingPageKeepsTheModeAndIsReportedByNumber) {
    ProgramFolder folder;
    folder.complete("modalit\xE0 = - modalit\xE0 Latex\r\n");
    WorkbenchWindow w(folder);
    w.start();
    ASSERT_FALSE(w.logic->brailleMode());
    w.type("x+1");
    w.press(ui::vk::kF2);
    w.press(ui::vk::kF2);  // page 3
    w.type("\\foo");
    w.dialogs.clearLog();
    w.logic->runCommand(Command::ModalitaBraille1);
    EXPECT_FALSE(w.logic->brailleMode()) << "a refused page keeps the mode";
    ASSERT_FALSE(w.dialogs.messages().empty());
    EXPECT_EQ(w.dialogs.messages().back(), "Pagina 3\r\nFunzione sconosciuta");
    EXPECT_EQ(w.dialogs.transcript(),
              (std::vector<std::string>{"beep", "warning:Pagina 3\r\nFunzione sconosciuta"}));
    EXPECT_EQ(w.logic->pages().brailleOf(1), "_x+#a") << "the other pages are converted";
    EXPECT_FALSE(w.workbench->formulaErrors().raised()) << "the flag is cleared after the stop";

    // Mended, the switch goes through.
    w.memo1.setText("\\alpha");
    w.logic->runCommand(Command::ModalitaBraille1);
    EXPECT_TRUE(w.logic->brailleMode());
    EXPECT_EQ(w.memo2.text(), ">a");
}

// A character the notation has no sign for is never dropped: the switch is refused with its
// name, and the page keeps both its texts as they were; one the notation reads as a sign of
// the same meaning converts.
TEST(WorkbenchNotation, ACharacterWithoutASignRefusesThePageAndKeepsBothTexts) {
    ProgramFolder folder;
    folder.complete("modalit\xE0 = - modalit\xE0 Latex\r\n");
    WorkbenchWindow w(folder);
    w.start();
    w.type("x+1");
    w.press('B', ui::shift::kCtrl);
    ASSERT_TRUE(w.logic->brailleMode());
    w.press('B', ui::shift::kCtrl);
    ASSERT_FALSE(w.logic->brailleMode());
    w.memo1.setText("30\xB0+x");
    w.dialogs.clearLog();
    w.press('B', ui::shift::kCtrl);
    EXPECT_FALSE(w.logic->brailleMode());
    EXPECT_EQ(w.dialogs.transcript(),
              (std::vector<std::string>{
                  "beep",
                  "warning:Pagina 1\r\nCarattere sconosciuto \"\xB0\" (codice 176), riga 1\r\n"
                  " togliere il carattere o scriverlo fra \\\\ e \\\\"}));
    EXPECT_EQ(w.memo1.text(), "30\xB0+x");
    EXPECT_EQ(w.logic->pages().latexOf(1), "30\xB0+x");
    EXPECT_EQ(w.logic->pages().brailleOf(1), "_x+#a") << "the Braille text stays as it was";

    w.memo1.setText(
        "3\xD7"
        "4=12");
    w.press('B', ui::shift::kCtrl);
    ASSERT_TRUE(w.logic->brailleMode());
    EXPECT_EQ(w.memo2.text(), "#c(#d=#ab");
}

TEST(WorkbenchNotation, FilterFileIsReadAtTheFirstActivation) {
    ProgramFolder folder;
    folder.complete();
    folder.write("filtro.base",
                 "[inizio riga]\r\n$\r\n[fine riga]\r\n$\r\n[corpo riga]\r\n"
                 "\\left|              %\r\n");
    WorkbenchWindow w(folder);
    EXPECT_TRUE(w.workbench->filter().empty());
    w.start();
    EXPECT_TRUE(w.dialogs.messages().empty());
    ASSERT_EQ(w.workbench->filter().rules(notation::FilterSection::Body).size(), 1u);
    EXPECT_EQ(w.workbench->filter().rules(notation::FilterSection::Body)[0].replacement, "%");

    ProgramFolder bare;
    bare.complete();
    std::filesystem::remove(bare.path / "filtro.base");
    WorkbenchWindow missing(bare);
    missing.start();
    ASSERT_FALSE(missing.dialogs.messages().empty());
    EXPECT_EQ(missing.dialogs.messages().front(), "File filtro non trovato. ");
    EXPECT_TRUE(missing.workbench->filter().empty());
}

}  // namespace
