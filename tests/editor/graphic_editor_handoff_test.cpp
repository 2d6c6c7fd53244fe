// "Editor grafico" and "Stampa formule" in the main window, with a stand-in editor program:
// the recording shell runs a function that does to the exchange file what an editor would.

#include "editor/files/graphic_editor_handoff.h"

#include <gtest/gtest.h>

#include "editor/file_io.h"
#include "workbench_harness.h"

namespace {

using editor::Command;
using testing_support::ProgramFolder;
using testing_support::WorkbenchWindow;
using ui::memory::RecordingShell;

const std::string kLatexMode = "modalit\xE0 = - modalit\xE0 Latex\r\n";

std::string readFile(const std::filesystem::path& path) {
    return editor::readWholeFile(path).bytes;
}

// An editor that saves `content` over the exchange file it was given.
std::function<void(const RecordingShell::Run&)> editorSaves(std::string content) {
    return [content](const RecordingShell::Run& run) {
        ASSERT_FALSE(run.arguments.empty());
        ASSERT_EQ(editor::writeFileSafely(run.arguments.back(), content), 0);
    };
}

struct Handoff : ::testing::Test {
    ProgramFolder folder;
    std::unique_ptr<WorkbenchWindow> w;
    std::vector<std::string> sent;  // the exchange file as the editor found it

    void start(const std::string& settings = {}) {
        folder.complete(settings);
        folder.write("filtro.base",
                     readFile(std::string(TATTILO_SOURCE_DIR) + "/data/filtro.base"));
        w = std::make_unique<WorkbenchWindow>(folder);
        w->start();
        w->timer2.fire();
        w->dialogs.clearLog();
    }
    std::filesystem::path exchange() const { return folder.path / "tmp" / "formula.tex"; }
    // The editor reads what it was sent, then does `then`.
    void editor(std::function<void(const RecordingShell::Run&)> then = {}) {
        w->shell.onRun = [this, then](const RecordingShell::Run& run) {
            sent.push_back(readFile(run.arguments.back()));
            if (then) {
                then(run);
            }
        };
    }
    void handoff() { w->press('G', ui::shift::kCtrl); }
};

TEST_F(Handoff, LatexPageGoesOutAsTexAndComesBackInPlace) {
    start(kLatexMode);
    w->type("\\frac{a}{b}+x");
    w->memo1.setSelStart(4);
    w->clipboard.setText("appunti dello studente");
    w->logic->setModified(false);
    bool busyWhileRunning = false;
    editor([&](const RecordingShell::Run&) {
        busyWhileRunning = !w->memo1.enabled() && !w->memo2.enabled() &&
                           !w->editorGrafico.enabled() && w->logic->modified() == false &&
                           w->status.caption() == editor::handoff_window_text::kEditorRunning &&
                           w->workbench->handoff().editorRunning();
    });
    handoff();

    ASSERT_EQ(w->shell.runs.size(), 1u);
    const RecordingShell::Run& run = w->shell.runs[0];
    EXPECT_EQ(run.program, (folder.path / "editor.sh").string());
    EXPECT_EQ(run.arguments, std::vector<std::string>{exchange().string()});
    EXPECT_EQ(run.directory, folder.path.string());
    EXPECT_EQ(sent[0], "${a\\over b}+x$\r\n");
    EXPECT_TRUE(busyWhileRunning) << "no edits while the editor runs, and the status says why";

    EXPECT_EQ(w->memo1.text(), "\\frac{a}{b}+x\r\n");
    EXPECT_EQ(w->memo1.selStart(), 4u) << "the caret goes back where it was";
    EXPECT_TRUE(w->memo1.focused());
    EXPECT_TRUE(w->memo1.enabled() && w->memo2.enabled() && w->editorGrafico.enabled());
    EXPECT_EQ(w->status.caption(), "Pag. 1");
    EXPECT_EQ(w->logic->pages().latexOf(1), "\\frac{a}{b}+x\r\n");
    EXPECT_TRUE(w->logic->modified());
    EXPECT_EQ(w->clipboard.text(), "appunti dello studente") << "the clipboard is not used";
    EXPECT_TRUE(w->dialogs.messages().empty());
}

TEST_F(Handoff, ScopeSelectionReplacesOnlyTheSelection) {
    start(kLatexMode + "editmod = sel\r\n");
    w->type("a+b=c\r\nd");
    w->memo1.setSelection(2, 1);  // "b"
    editor(editorSaves("${1 \\over 2}$\r\n"));
    handoff();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0], "$b$\r\n");
    EXPECT_EQ(w->memo1.text(), "a+\\frac{1}{2}=c\r\nd") << "the line stays one line";
    EXPECT_EQ(w->memo1.selStart(), 2u);

    // The same with the whole page: everything is replaced.
    w->logic->settings().exchangeMode = "tutto";
    w->memo1.setSelection(2, 1);
    handoff();
    EXPECT_EQ(sent[1], "$a+{1\\over 2}=c||d$\r\n");
    EXPECT_EQ(w->memo1.text(), "\\frac{1}{2}\r\n") << "the whole page is replaced";
}

TEST_F(Handoff, EmptySelectionSendsABlankFormulaAndNothingBackLeavesThePage) {
    start(kLatexMode + "editmod = sel\r\n");
    w->type("x+1");
    w->memo1.setSelStart(2);
    editor();  // saves nothing new: "$ $" comes back
    handoff();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0], "$ $\r\n");
    EXPECT_EQ(w->memo1.text(), "x+1");
    EXPECT_EQ(w->memo1.selStart(), 2u);

    // An editor that empties the file gives nothing back either.
    editor(editorSaves(""));
    w->logic->settings().exchangeMode = "tutto";
    handoff();
    EXPECT_EQ(w->memo1.text(), "x+1");
    EXPECT_TRUE(w->dialogs.messages().empty());
}

TEST_F(Handoff, AllBlankPageSendsOnlyItsLineBreak) {
    start(kLatexMode);
    w->type("   \r\n  ");
    editor();
    handoff();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0], "$||$\r\n");
    EXPECT_EQ(w->memo1.text(), "   \r\n  ") << "nothing came back: the page is left alone";
}

TEST_F(Handoff, LengthLimitCountsTheWrappedFormula) {
    start(kLatexMode);
    editor();
    w->type(std::string(1798, 'x'));  // 1800 with its "$" pair
    handoff();
    ASSERT_EQ(w->shell.runs.size(), 1u);
    EXPECT_EQ(sent[0].size(), 1802u);
    EXPECT_EQ(w->memo1.text(), std::string(1798, 'x') + "\r\n");

    w->memo1.setText(std::string(1799, 'x'));
    w->memo1.setSelStart(40);
    w->dialogs.clearLog();
    handoff();
    EXPECT_EQ(w->shell.runs.size(), 1u) << "1801 characters are not sent";
    EXPECT_EQ(w->dialogs.transcript(),
              (std::vector<std::string>{"beep", "warning:Pagina 1\r\nEspressione troppo lunga "}));
    EXPECT_EQ(w->memo1.selStart(), 0u);
    EXPECT_FALSE(w->workbench->formulaErrors().raised());
}

TEST_F(Handoff, LineBreaksAndBarsGoOutAndComeBack) {
    start(kLatexMode);
    w->type("%|x|%\r\ny=%%v%%");
    editor();
    handoff();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0], "$\\left||x|\\right|||y=\\Arrowvert v\\Arrowvert $\r\n");
    EXPECT_EQ(w->memo1.text(), "%|x|%\r\ny=%%v%%\r\n");
}

TEST_F(Handoff, RefusalsStopBeforeTheEditor) {
    start(kLatexMode);
    editor();
    w->type("(a+b\r\nc");
    handoff();
    EXPECT_TRUE(w->shell.runs.empty());
    EXPECT_EQ(w->dialogs.transcript(),
              (std::vector<std::string>{"beep", "warning:Pagina 1\r\nErrore nelle parentesi "}));

    // A power of a power of a power that the editor saves is refused on the way back.
    w->memo1.setText("x");
    w->dialogs.clearLog();
    editor(editorSaves("$x^{2^{3^{4}}}$\r\n"));
    handoff();
    EXPECT_EQ(w->memo1.text(), "x");
    EXPECT_EQ(w->dialogs.transcript(),
              (std::vector<std::string>{
                  "beep", "warning:Formato non ammesso - usare espressione fra parentesi"}));
    EXPECT_FALSE(w->workbench->formulaErrors().raised());
}

TEST_F(Handoff, BraillePageGoesOutAsLatexAndComesBackAsCells) {
    start();
    ASSERT_TRUE(w->logic->brailleMode());
    w->type("6_anp_b4+9#bo");
    w->memo2.setSelStart(3);
    // A TeX editor writes its own spacing and unbraced arguments.
    editor(editorSaves("${a \\over b}+\\sqrt 2$\r\n"));
    handoff();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0], "${a\\over b}+\\sqrt{2}$\r\n");
    EXPECT_EQ(w->memo2.text(), "6_anp_b4+9#bo\r\n");
    EXPECT_EQ(w->memo2.selStart(), 3u);
    EXPECT_TRUE(w->memo2.focused());
    EXPECT_EQ(w->logic->pages().brailleOf(1), "6_anp_b4+9#bo\r\n");

    // The editor changes the formula: the cells follow.
    editor(editorSaves("$\\root 3 \\of {x}$\r\n"));
    handoff();
    EXPECT_EQ(w->memo2.text(), "9#c:_xo\r\n");
}

TEST_F(Handoff, BrailleSelectionIsReplacedByItsCells) {
    start("editmod = sel\r\n");
    w->type("_a+_b=_c");
    w->memo2.setSelection(3, 2);  // "_b"
    editor(editorSaves("${1\\over 2}$\r\n"));
    handoff();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0], "$b$\r\n");
    EXPECT_EQ(w->memo2.text(), "_a+#,b=_c");
    EXPECT_EQ(w->memo2.selStart(), 6u) << "after the cells put in";
}

TEST_F(Handoff, BrailleThatCannotBeConvertedIsNotSent) {
    start();
    w->type("#)a");
    editor();
    handoff();
    EXPECT_TRUE(w->shell.runs.empty());
    EXPECT_EQ(w->dialogs.transcript(),
              (std::vector<std::string>{
                  "beep", "warning:Pagina 1\r\nFrazione con numeratore che comincia con zero "}));
    EXPECT_FALSE(w->workbench->formulaErrors().raised());
    EXPECT_EQ(w->memo2.text(), "#)a");
}

TEST_F(Handoff, MissingSettingsAreAskedForFirst) {
    start(kLatexMode);
    w->type("x");
    w->logic->settings().graphicEditor.clear();
    w->settings.onShow([&](testing_support::SettingsWindow& s) {
        s.editor.setText((folder.path / "editor.sh").string());
        s.ok.click();
    });
    editor();
    const int shown = w->settings.modal.timesShown();
    handoff();
    ASSERT_FALSE(w->dialogs.log().empty());
    EXPECT_EQ(w->dialogs.log()[0].box.text, "Inserire impostazioni mancanti");
    EXPECT_EQ(w->dialogs.log()[0].box.caption, "Attenzione");
    EXPECT_EQ(w->settings.modal.timesShown(), shown + 1);
    EXPECT_EQ(w->shell.runs.size(), 1u) << "goes on with what was entered";

    // Left empty, no program is started: the exchange file is never run in its place.
    w->logic->settings().graphicEditor.clear();
    w->settings.onShow([](testing_support::SettingsWindow& s) { s.esci.click(); });
    w->dialogs.clearLog();
    handoff();
    EXPECT_EQ(w->shell.runs.size(), 1u);
    ASSERT_EQ(w->dialogs.messages().size(), 3u);  // the dialog warns of its empty field too
    EXPECT_EQ(w->dialogs.messages()[0], "Inserire impostazioni mancanti");
    EXPECT_EQ(w->dialogs.messages()[2],
              "Errore nel caricamento Editor grafico\r\n " + exchange().string());
}

TEST_F(Handoff, ExchangeAndEditorFailuresAreReported) {
    start(kLatexMode);
    w->type("x+1");
    editor();

    w->shell.exitStatus = std::nullopt;  // the program cannot be started
    handoff();
    EXPECT_EQ(
        w->dialogs.messages(),
        std::vector<std::string>{"Errore nel caricamento Editor grafico\r\n" +
                                 (folder.path / "editor.sh").string() + " " + exchange().string()});
    EXPECT_EQ(w->memo1.text(), "x+1");
    EXPECT_TRUE(w->memo1.enabled());
    EXPECT_EQ(w->status.caption(), "Pag. 1");

    w->shell.exitStatus = 0;
    w->dialogs.clearLog();
    w->logic->settings().exchangeFile = "../fuori.tex";  // never outside the private folder
    handoff();
    EXPECT_EQ(w->dialogs.messages(), std::vector<std::string>{"Errore in scrittura file scambio"});
    EXPECT_FALSE(std::filesystem::exists(folder.path / "fuori.tex"));

    w->logic->settings().exchangeFile = "formula.tex";
    w->dialogs.clearLog();
    editor([](const RecordingShell::Run& run) { std::filesystem::remove(run.arguments.back()); });
    handoff();
    EXPECT_EQ(w->dialogs.messages(), std::vector<std::string>{"Errore in lettura file .Tex"});
    EXPECT_EQ(w->memo1.text(), "x+1");
}

TEST_F(Handoff, LongTextsAreSentAndTakenWithAWarning) {
    start(kLatexMode);
    std::string spaced;
    while (spaced.size() < 1790) {
        spaced += "a ";
    }
    w->type(spaced);
    editor(editorSaves("$" + std::string(2100, 'b') + "$\r\n"));
    handoff();
    ASSERT_EQ(w->shell.runs.size(), 1u);
    EXPECT_EQ(w->dialogs.messages(),
              (std::vector<std::string>{"Espressione troppo lunga per editor grafico ",
                                        "Espressione troppo lunga da editor grafico "}));
    EXPECT_EQ(w->memo1.text(), std::string(2100, 'b') + "\r\n");
}

TEST_F(Handoff, ButtonAndMenuRunTheSameCommand) {
    start(kLatexMode);
    w->type("x");
    editor();
    w->editorGrafico.click();
    w->item(Command::Editorgrafico1).click();
    EXPECT_EQ(w->shell.runs.size(), 2u);
}

TEST_F(Handoff, PrintFormulasAsksFirstAndSendsTheWholePageEnclosed) {
    start(kLatexMode + "editmod = sel\r\n");
    w->type("x+1\r\ny");
    editor();
    w->formulaPrint.onShow([](testing_support::FormulaPrintWindow& d) {
        EXPECT_EQ(d.form.caption(), "Stampa formule");
        EXPECT_EQ(d.label.caption(), "Stampa formule in formato grafico");
        EXPECT_TRUE(d.procedi.focused());
        d.esci.click();
    });
    w->press(ui::vk::function(11), ui::shift::kShift);
    EXPECT_EQ(w->formulaPrint.modal.timesShown(), 1);
    EXPECT_TRUE(w->shell.runs.empty()) << "Esci stops";

    w->formulaPrint.onShow([](testing_support::FormulaPrintWindow& d) { d.procedi.click(); });
    w->memo1.setSelStart(1);
    w->logic->runCommand(Command::Stampaformule1);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0], "$||x+1||y||$\r\n");
    EXPECT_FALSE(w->workbench->handoff().printFormulasMode());
    EXPECT_EQ(w->memo1.text(), "x+1\r\ny\r\n") << "no picture: back as an ordinary hand-off";
}

TEST_F(Handoff, PrintFormulasWithAPictureShowsThePreviewAndLeavesThePage) {
    start(kLatexMode);
    w->type("x+1");
    w->clipboard.setBitmap({1, 1, {0xFF000000}});
    bool oldPictureGone = false;
    editor([&](const RecordingShell::Run&) {
        oldPictureGone = !w->clipboard.hasBitmap();
        w->clipboard.setBitmap({2, 2, {0, 0, 0, 0}});
        editor::writeFileSafely(exchange(), "$y$\r\n");
    });
    std::string title, shownFolder;
    w->workbench->handoff().setPreview([&](const std::string& t, const std::string& f) {
        title = t;
        shownFolder = f;
    });
    w->formulaPrint.onShow([](testing_support::FormulaPrintWindow& d) { d.procedi.click(); });
    w->logic->runCommand(Command::Stampaformule1);
    EXPECT_TRUE(oldPictureGone) << "an old picture is not taken for the new one";
    EXPECT_EQ(title, "Tattilo  Stampa formule - ");
    EXPECT_EQ(shownFolder, w->logic->settings().workDir);
    EXPECT_EQ(w->memo1.text(), "x+1");
    EXPECT_EQ(w->memo1.selStart(), 0u);
    EXPECT_FALSE(w->workbench->handoff().printFormulasMode());
}

TEST_F(Handoff, PrintFormulasInBrailleModeConvertsEveryPageFirst) {
    start();
    w->type("_x+#a");
    w->press(ui::vk::kF2);
    w->type("#:d");
    editor();
    w->formulaPrint.onShow([](testing_support::FormulaPrintWindow& d) { d.procedi.click(); });
    w->logic->runCommand(Command::Stampaformule1);
    EXPECT_EQ(w->logic->pages().latexOf(1), "x+1");
    EXPECT_EQ(w->logic->pages().latexOf(2), "\\frac{3}{4}");
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0], "$||{3\\over 4}||$\r\n");
    EXPECT_EQ(w->memo2.text(), "#:d\r\n") << "no picture: the cells come back as they were";
}

}  // namespace
