// "Salva come Mathml" in the main window: the proposed file, the dialogs, converting all pages
// first, and a file that is written whole or not at all.

#include "editor/files/mathml_export_command.h"

#include <gtest/gtest.h>

#include "../notation/mathml_xml_check.h"
#include "editor/file_io.h"
#include "notation/mathml_export.h"
#include "workbench_harness.h"

namespace {

using editor::Command;
using testing_support::ProgramFolder;
using testing_support::WorkbenchWindow;
using ui::memory::ScriptedDialogs;

const std::string kMathmlOn = "mathml = si\r\n";
const std::string kLatexMode = "modalit\xE0 = - modalit\xE0 Latex\r\n";

struct MathmlExport : ::testing::Test {
    ProgramFolder folder;
    std::unique_ptr<WorkbenchWindow> w;

    void start(const std::string& settings, std::vector<std::string> arguments = {}) {
        folder.complete(settings);
        w = std::make_unique<WorkbenchWindow>(folder, std::move(arguments));
        w->start();
        w->timer2.fire();
        w->dialogs.clearLog();
    }
    const ScriptedDialogs::Entry* saveDialog() const {
        for (const auto& e : w->dialogs.log()) {
            if (e.kind == ScriptedDialogs::Kind::Save) {
                return &e;
            }
        }
        return nullptr;
    }
    std::string read(const std::filesystem::path& p) const {
        return editor::readWholeFile(p).bytes;
    }
};

TEST_F(MathmlExport, UntitledDocumentIsProposedAsTheNextExerciseAndWrittenWhole) {
    start(kMathmlOn + kLatexMode);
    std::filesystem::create_directories(folder.path / "esercizi");
    folder.write("esercizi/esercizio006.mtf", "x");
    w->type("\\frac{a}{b}+\\alpha");
    w->press(ui::vk::kF2);
    w->press(ui::vk::kF2);  // page 3
    w->type("\\\\Esercizio\\\\\r\n\\sqrt{x}");
    const auto out = folder.path / "compito.xml";
    w->dialogs.answerText(out.string());
    w->press('M', ui::shift::kCtrl);

    const ScriptedDialogs::Entry* save = saveDialog();
    ASSERT_NE(save, nullptr);
    EXPECT_EQ(save->file.filter, "File xml|*.xml|Tutti|*.*");
    EXPECT_EQ(save->file.fileName, (folder.path / "esercizi" / "esercizio007.xml").string());
    EXPECT_EQ(save->file.initialDirectory, (folder.path / "esercizi").string());

    // Every page was converted first: the export is made of current Braille pages.
    EXPECT_EQ(w->logic->pages().brailleOf(1), "6_anp_b4+>a");
    EXPECT_EQ(w->logic->pages().brailleOf(3), "\\\\Esercizio\\\\\r\n9_xo");
    const std::string xml = read(out);
    EXPECT_EQ(xml, notation::exportDocument(w->logic->pages().braille, out));
    EXPECT_EQ(mathml_check::checkDocument(xml), "");
    EXPECT_NE(xml.find("<mfrac>"), std::string::npos);
    EXPECT_NE(xml.find("&alpha;"), std::string::npos);
    EXPECT_NE(xml.find("<center><b>Esercizio</b></center>"), std::string::npos);
    EXPECT_NE(xml.find("<a href=\"#pagina 3\">pagina 3</a>"), std::string::npos);
    EXPECT_EQ(xml.find("pagina 2"), std::string::npos) << "blank pages are left out";
    EXPECT_TRUE(w->dialogs.messages().empty());
}

TEST_F(MathmlExport, OpenDocumentIsProposedBesideItself) {
    // A real document: a file that is not one is not taken as the current document.
    folder.write("lezione.mtf", "\\\\Step 1\r\nx\r\n\\\\\r\n_x\r\n\\\\\r\n");
    start(kMathmlOn, {(folder.path / "lezione.mtf").string()});
    w->dialogs.answerText(std::nullopt);
    w->mathml.click();
    ASSERT_NE(saveDialog(), nullptr);
    EXPECT_EQ(saveDialog()->file.fileName, (folder.path / "lezione.xml").string());
    EXPECT_FALSE(std::filesystem::exists(folder.path / "lezione.xml")) << "cancelled";
}

TEST_F(MathmlExport, ReplacingAFileIsAskedAndANameGetsItsExtension) {
    start(kMathmlOn);
    w->type("_x+#a");
    const auto out = folder.path / "verifica.xml";
    folder.write("verifica.xml", "vecchio");

    w->dialogs.answerText(out.string());
    w->dialogs.answer(ui::Answer::No);
    w->logic->runCommand(Command::SalvacomeMathml1);
    ASSERT_EQ(w->dialogs.messages(),
              std::vector<std::string>{"Il file esiste gi\xE0. Sostituirlo ? "});
    EXPECT_EQ(w->dialogs.log().back().box.buttons, ui::Buttons::YesNoCancel);
    EXPECT_EQ(read(out), "vecchio");

    w->dialogs.answerText((folder.path / "verifica").string());  // the extension is added
    w->dialogs.answer(ui::Answer::Yes);
    w->logic->runCommand(Command::SalvacomeMathml1);
    EXPECT_NE(read(out).find("<mi>x</mi>"), std::string::npos);
    EXPECT_NE(read(out).find("Tattilo to Mathml - verifica</center>"), std::string::npos);
}

TEST_F(MathmlExport, FailedWriteIsReportedAndWritesNothing) {
    start(kMathmlOn);
    w->type("_x");
    const auto out = folder.path / "manca" / "file.xml";
    w->dialogs.answerText(out.string());
    w->logic->runCommand(Command::SalvacomeMathml1);
    EXPECT_EQ(w->dialogs.messages(),
              std::vector<std::string>{editor::writeErrorMessage(ENOENT, out.string())});
    EXPECT_FALSE(std::filesystem::exists(out));
}

// A refused page keeps the Braille text of its last switch, which no longer says what its
// Latex-mode text does: it is left out, not exported as it was.
TEST_F(MathmlExport, FailingPageIsReportedAndTheExportGoesOn) {
    start(kMathmlOn + kLatexMode);
    w->type("x+1");
    w->press(ui::vk::kF2);
    w->type("y");
    w->press('B', ui::shift::kCtrl);
    w->press('B', ui::shift::kCtrl);
    ASSERT_EQ(w->logic->pages().brailleOf(2), "_y");
    w->memo1.setText("\\foo");
    w->dialogs.clearLog();
    const auto out = folder.path / "parziale.xml";
    w->dialogs.answerText(out.string());
    w->logic->runCommand(Command::SalvacomeMathml1);
    EXPECT_EQ(w->dialogs.transcript(),
              (std::vector<std::string>{"beep", "warning:Pagina 2\r\nFunzione sconosciuta"}));
    const std::string xml = read(out);
    EXPECT_NE(xml.find("pagina 1"), std::string::npos);
    EXPECT_EQ(xml.find("pagina 2"), std::string::npos);
    EXPECT_EQ(mathml_check::checkDocument(xml), "");
}

TEST_F(MathmlExport, WithoutTheSettingTheCommandIsNotThere) {
    start("");
    w->type("_x");
    w->press('M', ui::shift::kCtrl);
    w->mathml.click();
    EXPECT_EQ(saveDialog(), nullptr);
    EXPECT_FALSE(w->mathml.visible());
    EXPECT_FALSE(w->item(Command::SalvacomeMathml1).visible());
    w->press('B', ui::shift::kCtrl);  // in both modes
    EXPECT_FALSE(w->mathml.visible());
    EXPECT_FALSE(w->item(Command::SalvacomeMathml1).visible());
}

}  // namespace
