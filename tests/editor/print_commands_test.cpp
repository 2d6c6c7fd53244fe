// "Stampa" and "Stampa su file" in the main window: the printer gets the active editor's lines
// and font; the embosser file is asked for, written from the Braille page and announced.

#include "editor/printing/print_commands.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "editor/document_file.h"
#include "workbench_harness.h"

namespace {

using editor::Command;
using testing_support::ProgramFolder;
using testing_support::SettingsWindow;
using testing_support::WorkbenchWindow;
using Kind = ui::memory::ScriptedDialogs::Kind;
namespace vk = ui::vk;
namespace sh = ui::shift;

std::string readBytes(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct PrintWindow : ::testing::Test {
    ProgramFolder folder;
    std::filesystem::path work = folder.path / "esercizi";
    std::unique_ptr<WorkbenchWindow> w;

    // A window on the document "esempio.mtf" whose first Braille page is the fixture page.
    void start(const std::string& settings) {
        folder.complete(settings);
        std::filesystem::create_directories(work);
        editor::PageStore pages;
        pages.brailleOf(1) =
            readBytes(std::filesystem::path(TATTILO_TEST_DATA) / "editor/emboss/pagina.txt");
        std::ofstream(work / "esempio.mtf", std::ios::binary) << editor::formatDocument(pages);
        w = std::make_unique<WorkbenchWindow>(
            folder, std::vector<std::string>{(work / "esempio.mtf").string()});
        w->start();
        w->dialogs.clearLog();
    }
    void printToFile() { w->press(vk::kF11, sh::kCtrl); }
};

TEST_F(PrintWindow, ThePrintFileIsProposedWrittenAndAnnounced) {
    start("printer caratteri per riga = 8\r\nprinter righe per pagina = 2\r\n");
    w->dialogs.answerText((work / "pagina").string());
    printToFile();
    const auto& log = w->dialogs.log();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.front().kind, Kind::Save);
    EXPECT_EQ(log.front().file.filter, "File prn |*.prn|Tutti|*.*");
    EXPECT_EQ(log.front().file.initialDirectory, work.string());
    EXPECT_EQ(log.front().file.fileName, (work / "*.prn").string());

    const std::filesystem::path written = work / "pagina.prn";
    EXPECT_EQ(readBytes(written), readBytes(std::filesystem::path(TATTILO_TEST_DATA) /
                                            "editor/emboss/pagina_w8_h2.prn"));
    EXPECT_EQ(w->dialogs.transcript(),
              std::vector<std::string>{"information:DATI REGISTRATI SUL FILE " + written.string()});

    // An existing file is replaced only on Yes.
    w->dialogs.clearLog();
    w->memo2.setText("abc");
    w->dialogs.answerText(written.string());
    w->dialogs.answer(ui::Answer::No);
    printToFile();
    EXPECT_EQ(w->dialogs.messages(),
              std::vector<std::string>{"Il file esiste gi\xE0. Sostituirlo ? "});
    EXPECT_NE(readBytes(written).find("ab+cd+"), std::string::npos);

    w->dialogs.answerText(written.string());
    w->dialogs.answer(ui::Answer::Yes);
    printToFile();
    EXPECT_EQ(readBytes(written), "esempio.mtf\r\n \r\nabc\r\n");

    // A cancelled dialog ends the command silently.
    w->dialogs.clearLog();
    printToFile();
    EXPECT_EQ(w->dialogs.messages(), std::vector<std::string>{});
}

TEST_F(PrintWindow, AFailedWriteKeepsTheOldFileAndSaysSo) {
    start("printer caratteri per riga = 8\r\nprinter righe per pagina = 2\r\n");
    const std::filesystem::path target = work / "vecchia.prn";
    std::ofstream(target, std::ios::binary) << "vecchia";
    w->workbench->printing().setWriteFault(
        [](editor::WriteStep step) { return step == editor::WriteStep::Replace ? EACCES : 0; });
    w->dialogs.answerText(target.string());
    w->dialogs.answer(ui::Answer::Yes);
    printToFile();
    EXPECT_EQ(w->dialogs.transcript().back(), "warning:Errore n. " + std::to_string(EACCES) +
                                                  " in scrittura file " + target.string());
    EXPECT_EQ(readBytes(target), "vecchia");
}

TEST_F(PrintWindow, UnusablePrinterSettingsBringTheSettingsDialogBack) {
    start("printer caratteri per riga = 3\r\nprinter righe per pagina = 0\r\n");
    int shown = 0;
    w->settings.onShow([&shown](SettingsWindow& s) {
        ++shown;
        s.chars.setText(shown == 1 ? "0" : "40");
        s.lines.setText("25");
        s.ok.click();
    });
    w->dialogs.answerText(std::nullopt);
    printToFile();
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(w->dialogs.transcript(),
              (std::vector<std::string>{"error:Impostare  parametri stampante Braille",
                                        "error:Impostare  parametri stampante Braille"}));
    EXPECT_EQ(w->dialogs.log().back().kind, Kind::Save);

    // Leaving the dialog without changing them ends the command instead of asking forever.
    w->logic->settings().printerChars = 2;
    w->dialogs.clearLog();
    w->settings.onShow([](SettingsWindow& s) { s.esci.click(); });
    printToFile();
    EXPECT_EQ(w->dialogs.transcript(),
              std::vector<std::string>{"error:Impostare  parametri stampante Braille"});
}

TEST_F(PrintWindow, PrintingToAFileIsForBrailleModeOnly) {
    start("printer caratteri per riga = 8\r\nprinter righe per pagina = 2\r\n");
    w->press('B', sh::kCtrl);
    ASSERT_FALSE(w->logic->brailleMode());
    EXPECT_FALSE(w->item(Command::Stampasufile1).enabled());
    printToFile();
    EXPECT_EQ(w->dialogs.transcript(), std::vector<std::string>{"beep"});
    EXPECT_EQ(w->status.caption(), "Disponibile solo in modalit\xE0 Braille");
}

TEST_F(PrintWindow, ThePrinterGetsTheActiveEditorsLinesInItsFont) {
    start({});
    w->memo2.setText("ab\r\n\r\ncd\r\n");
    w->dialogs.answerPrint(false);
    w->press(vk::kF12, sh::kCtrl | sh::kShift);
    EXPECT_TRUE(w->printer.jobs.empty());

    w->dialogs.answerPrint(true);
    w->press(vk::kF12, sh::kCtrl | sh::kShift);
    ASSERT_EQ(w->printer.jobs.size(), 1u);
    EXPECT_EQ(w->printer.jobs[0].lines, (std::vector<std::string>{"   ab", "   ", "   cd"}));
    EXPECT_EQ(w->printer.jobs[0].font, w->memo2.font());
    EXPECT_EQ(w->printer.jobs[0].font.family, "Braillecour");

    w->press('B', sh::kCtrl);
    ASSERT_FALSE(w->logic->brailleMode());
    w->memo1.setText("x+1");
    w->dialogs.answerPrint(true);
    w->printer.succeeds = false;
    w->press(vk::kF12, sh::kCtrl | sh::kShift);
    ASSERT_EQ(w->printer.jobs.size(), 2u);
    EXPECT_EQ(w->printer.jobs[1].lines, std::vector<std::string>{"   x+1"});
    EXPECT_EQ(w->printer.jobs[1].font, w->memo1.font());
    EXPECT_EQ(w->dialogs.transcript().back(), "warning:Stampa non riuscita");
}

}  // namespace
