// The recovery of unsaved work in the window: when copies are written and removed, what the next
// start offers and what each answer does, and writes that fail.

#include "editor/recovery/document_recovery.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <string>
#include <vector>

#include "editor/document_file.h"
#include "editor/recovery/recovery_copy.h"
#include "recovery_window.h"
#include "temp_folder.h"

namespace {

using namespace recovery_test;
using editor::parseRecoveryCopy;
using editor::RecoveryState;
using editor::testing::readBytes;
using editor::testing::writeBytes;
using Kind = ui::memory::ScriptedDialogs::Kind;
namespace fs = std::filesystem;
namespace vk = ui::vk;
namespace sh = ui::shift;

const std::string kNotSaved = " non era stato salvato quando il programma si \xE8 interrotto.";

struct Recovery : ::testing::Test {
    ProgramFolder folder;
    fs::path work = folder.path / "esercizi";
    fs::path copies = folder.path / "stato" / "recupero";
    Program program;

    void SetUp() override {
        folder.complete();
        fs::create_directories(work);
    }
    // The copy of the running program, as the next start would read it.
    std::optional<editor::RecoveryCopy> copyOf(Program& p) {
        const fs::path file = p.recovery().copyFile();
        if (file.empty() || !fs::exists(file)) {
            return std::nullopt;
        }
        return parseRecoveryCopy(readBytes(file));
    }
    std::vector<std::string> questions(const WorkbenchWindow& w) const {
        std::vector<std::string> texts;
        for (const auto& e : w.dialogs.log()) {
            if (e.kind == Kind::Message && e.box.icon == ui::Icon::Question) {
                texts.push_back(e.box.text);
            }
        }
        return texts;
    }
    fs::path document(const std::string& name, const editor::PageStore& pages) const {
        const fs::path file = work / name;
        writeBytes(file, editor::formatDocument(pages));
        return file;
    }
};

TEST_F(Recovery, ACopyIsWrittenAPauseAfterTheLastChangeAndAtLeastEveryThirtySeconds) {
    program.start(folder, copies);
    program.type("#a");
    program.wait(1500);
    EXPECT_FALSE(copyOf(program)) << "not while the student may still be typing";
    program.wait(1000);
    auto copy = copyOf(program);
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->state.pages.brailleOf(1), "#a");
    EXPECT_TRUE(copy->state.braille);
    EXPECT_EQ(copy->state.document, "");
    EXPECT_EQ(copy->state.exerciseName, "esercizio000.mtf");

    // Typing on without a pause of two seconds: the copy still follows within thirty.
    const std::string before = readBytes(program.recovery().copyFile());
    std::string typed = "#a";
    for (int second = 1; second <= 29; ++second) {
        program.type("b");
        typed += "b";
        program.wait(1000);
    }
    EXPECT_EQ(readBytes(program.recovery().copyFile()), before);
    program.type("b");
    typed += "b";
    program.wait(1000);
    copy = copyOf(program);
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->state.pages.brailleOf(1), typed) << "what was there at the thirtieth second";
    // A keystroke alone never writes.
    const std::string now = readBytes(program.recovery().copyFile());
    program.type("d");
    EXPECT_EQ(readBytes(program.recovery().copyFile()), now);
    program.wait(2500);
    EXPECT_EQ(copyOf(program)->state.pages.brailleOf(1), typed + "d");
}

TEST_F(Recovery, TheCopyHoldsBothNotationsThePageAndTheModeAcrossAModeSwitch) {
    program.start(folder, copies);
    program.type("#a+#b ");
    program.w->press('B', sh::kCtrl);  // to Latex mode: every page converted
    ASSERT_FALSE(program.w->logic->brailleMode());
    program.type(" x\r\n");
    program.w->press(vk::kF2);
    program.type("y = 2  ");
    program.wait(2500);
    const auto copy = copyOf(program);
    ASSERT_TRUE(copy);
    EXPECT_FALSE(copy->state.braille);
    EXPECT_EQ(copy->state.page, 2);
    EXPECT_EQ(copy->state.pages.brailleOf(1), "#a+#b ");
    EXPECT_TRUE(copy->state.pages.latexOf(1).starts_with(" x\r\n")) << copy->state.pages.latexOf(1);
    EXPECT_EQ(copy->state.pages.latexOf(2), "y = 2  ");
    RecoveryState expected = windowState(*program.w->logic);
    expected.exerciseName = copy->state.exerciseName;
    EXPECT_EQ(copy->state, expected);
}

TEST_F(Recovery, SavingReplacingOrClosingTheDocumentRemovesItsCopy) {
    struct Case {
        const char* what;
        std::vector<ui::Answer> answers;
        std::function<void(WorkbenchWindow&)> act;
        bool copyStays;
    };
    const std::string saved = (work / "salvato.mtf").string();
    const std::vector<Case> cases = {
        {"Save",
         {},
         [&](WorkbenchWindow& w) {
             w.dialogs.answerText(saved);
             w.press(vk::kF12, sh::kShift);
         },
         false},
        {"close, No to saving",
         {ui::Answer::Ok, ui::Answer::No},
         [](WorkbenchWindow& w) { w.form.close(); },
         false},
        {"close, Yes to saving",
         {ui::Answer::Ok, ui::Answer::Yes},
         [&](WorkbenchWindow& w) {
             w.dialogs.answerText(saved);
             w.form.close();
         },
         false},
        {"close not confirmed", {ui::Answer::No}, [](WorkbenchWindow& w) { w.form.close(); }, true},
        {"New, No to saving",
         {ui::Answer::No},
         [](WorkbenchWindow& w) { w.press('N', sh::kCtrl); },
         false},
        {"New, Annulla",
         {ui::Answer::Cancel},
         [](WorkbenchWindow& w) { w.press('N', sh::kCtrl); },
         true},
        {"Open, No to saving",
         {ui::Answer::No},
         [&](WorkbenchWindow& w) {
             w.dialogs.answerText(document("altro.mtf", {}).string());
             w.press(vk::kF12, sh::kCtrl);
         },
         false},
    };
    for (const Case& c : cases) {
        fs::remove(saved);
        Program p;
        p.start(folder, copies);
        p.type("#a");
        p.wait(2500);
        const fs::path file = p.recovery().copyFile();
        ASSERT_TRUE(fs::exists(file)) << c.what;
        for (const ui::Answer a : c.answers) {
            p.w->dialogs.answer(a);
        }
        c.act(*p.w);
        p.wait(2500);
        EXPECT_EQ(fs::exists(file), c.copyStays) << c.what;
        EXPECT_EQ(liveCopies(copies).size(), c.copyStays ? 1u : 0u) << c.what;
        if (!c.copyStays) {
            // What is typed next gets a copy again, unless the window has closed.
            p.type("#b");
            p.wait(2500);
            EXPECT_EQ(liveCopies(copies).size(), p.w->form.closed() ? 0u : 1u) << c.what;
        }
        p.w->dialogs.answer(ui::Answer::Ok);
        p.w->dialogs.answer(ui::Answer::No);
        p.w->form.close();
        EXPECT_TRUE(liveCopies(copies).empty()) << c.what;
    }
}

TEST_F(Recovery, TheNextStartOffersWhatAKilledProgramHadAndYesPutsItBack) {
    editor::PageStore pages;
    pages.latexOf(1) = "x+1";
    pages.brailleOf(1) = "_x+#a";
    const fs::path doc = document("equazioni.mtf", pages);
    const std::string onDisk = readBytes(doc);

    program.start(folder, copies, {doc.string()});
    program.w->press(vk::kF2);
    program.type("#c:#d ");
    program.w->press('B', sh::kCtrl);
    program.type("z");
    program.wait(2500);
    const RecoveryState killed = windowState(*program.w->logic);
    program.kill();
    EXPECT_EQ(readBytes(doc), onDisk);

    Program next;
    next.start(folder, copies, {doc.string()}, true,
               [](WorkbenchWindow& w) { w.dialogs.answer(ui::Answer::Yes); });
    WorkbenchWindow& w = *next.w;
    ASSERT_EQ(questions(w).size(), 1u);
    const auto asked = std::find_if(w.dialogs.log().begin(), w.dialogs.log().end(),
                                    [](const auto& e) { return e.box.icon == ui::Icon::Question; });
    const std::string question = questions(w).front();
    EXPECT_TRUE(question.starts_with("Il documento equazioni.mtf" + kNotSaved +
                                     "\r\nCopia di recupero del "))
        << question;
    EXPECT_TRUE(question.ends_with(".\r\nRecuperare il documento?")) << question;
    EXPECT_EQ(asked->box.caption, "Recupero documento");
    EXPECT_EQ(asked->box.buttons, ui::Buttons::YesNo);
    // Spoken as an announcement: a text region of words only, the line breaks as pauses.
    std::string spoken = question;
    std::replace(spoken.begin(), spoken.end(), '\r', ' ');
    std::replace(spoken.begin(), spoken.end(), '\n', ' ');
    spoken = "\\\\@" + spoken + "\\\\";
    const std::vector<std::string> said = w.speech.texts();
    EXPECT_NE(std::find(said.begin(), said.end(), spoken), said.end())
        << "speech reads the question " << spoken << "; it said " << testing::PrintToString(said);

    RecoveryState back = windowState(*w.logic);
    EXPECT_EQ(back.pages, killed.pages);
    EXPECT_EQ(back.page, 2);
    EXPECT_FALSE(back.braille);
    EXPECT_EQ(w.memo1.text(), killed.pages.latexOf(2));
    EXPECT_TRUE(w.logic->modified());
    EXPECT_EQ(w.logic->currentFileName(), doc.string());
    EXPECT_EQ(w.form.caption(), "Tattilo  - equazioni.mtf - modalit\xE0 Latex");
    EXPECT_EQ(readBytes(doc), onDisk) << "the file waits for the student's Save";

    // The copy is this program's now; killed again, it comes back once more.
    next.wait(2500);
    ASSERT_EQ(liveCopies(copies).size(), 1u);
    EXPECT_EQ(liveCopies(copies).front(), next.recovery().copyFile());
    next.kill();
    Program third;
    third.start(folder, copies, {doc.string()}, true,
                [](WorkbenchWindow& w3) { w3.dialogs.answer(ui::Answer::Yes); });
    EXPECT_EQ(windowState(*third.w->logic).pages, killed.pages);
    third.w->press(vk::kF12, sh::kShift);
    editor::PageStore saved;
    ASSERT_TRUE(editor::parseDocument(readBytes(doc), saved));
    EXPECT_NE(saved.latexOf(2).find("z"), std::string::npos);
    EXPECT_TRUE(liveCopies(copies).empty()) << "saved: nothing left to recover";
}

TEST_F(Recovery, NoSetsTheCopyAsideWhereOpenFindsItAndNoStartOffersItAgain) {
    program.start(folder, copies);
    program.type("#a#b#c");
    program.wait(2500);
    program.kill();

    Program next;
    next.start(folder, copies, {}, true,
               [](WorkbenchWindow& w) { w.dialogs.answer(ui::Answer::No); });
    ASSERT_EQ(questions(*next.w).size(), 1u);
    EXPECT_TRUE(
        questions(*next.w).front().starts_with("Il nuovo documento esercizio000.mtf" + kNotSaved));
    EXPECT_FALSE(next.w->logic->modified());
    EXPECT_EQ(next.w->memo2.text(), "");
    const std::string told = next.w->dialogs.messages().back();
    const std::string prefix =
        "La copia di recupero non sar\xE0 pi\xF9 proposta. \xC8 conservata nel file:\r\n";
    ASSERT_TRUE(told.starts_with(prefix)) << told;
    const fs::path kept = told.substr(prefix.size());
    EXPECT_EQ(kept.parent_path(), copies);
    EXPECT_TRUE(kept.filename().string().starts_with("esercizio000 - copia di recupero del "));
    next.kill();

    Program third;
    third.start(folder, copies);
    EXPECT_TRUE(questions(*third.w).empty());
    // Opened as any document.
    third.w->dialogs.answerText(kept.string());
    third.w->press(vk::kF12, sh::kCtrl);
    EXPECT_EQ(third.w->memo2.text(), "#a#b#c\r\n");
}

TEST_F(Recovery, EachProgramGetsBackItsOwnDocument) {
    const fs::path a = document("a.mtf", {});
    const fs::path b = document("b.mtf", {});
    Program first;
    Program second;
    first.start(folder, copies, {a.string()});
    second.start(folder, copies, {b.string()});
    first.type("#a");
    second.type("#b");
    first.wait(2500);
    second.wait(2500);
    EXPECT_TRUE(questions(*second.w).empty()) << "a running program's copy is not offered";
    first.kill();
    second.kill();
    ASSERT_EQ(liveCopies(copies).size(), 2u);

    for (const auto& [doc, cells] : {std::pair{b, "#b\r\n"}, std::pair{a, "#a\r\n"}}) {
        Program p;
        p.start(folder, copies, {doc.string()}, true,
                [](WorkbenchWindow& w) { w.dialogs.answer(ui::Answer::Yes); });
        ASSERT_EQ(questions(*p.w).size(), 1u) << doc;
        EXPECT_TRUE(questions(*p.w).front().starts_with("Il documento " + doc.filename().string()));
        EXPECT_EQ(p.w->memo2.text(), cells);
        p.w->press(vk::kF12, sh::kShift);
    }
    EXPECT_TRUE(liveCopies(copies).empty());

    // Without a document on the command line, each copy left is asked about in turn, until one
    // is taken.
    first.start(folder, copies, {a.string()});
    second.start(folder, copies, {b.string()});
    first.type("#c");
    second.type("#d");
    first.wait(2500);
    second.wait(2500);
    // The second program's copy is the newer.
    fs::last_write_time(
        first.recovery().copyFile(),
        fs::last_write_time(second.recovery().copyFile()) - std::chrono::seconds(60));
    first.kill();
    second.kill();
    Program plain;
    plain.start(folder, copies, {}, true, [](WorkbenchWindow& w) {
        w.dialogs.answer(ui::Answer::No);
        w.dialogs.answer(ui::Answer::Yes);
    });
    ASSERT_EQ(questions(*plain.w).size(), 2u);
    EXPECT_EQ(plain.w->logic->currentFileName(), a.string());
    EXPECT_EQ(plain.w->memo2.text(), "#c#a\r\n") << "typed before what the file held";
}

TEST_F(Recovery, ACopyOlderThanItsSavedDocumentIsKeptAsideWithoutAWord) {
    const fs::path doc = document("a.mtf", {});
    program.start(folder, copies, {doc.string()});
    program.type("#a");
    program.wait(2500);
    // Saved after the copy (by this program in its last moment, or by another one).
    editor::PageStore newer;
    newer.brailleOf(1) = "#z";
    writeBytes(doc, editor::formatDocument(newer));
    fs::last_write_time(doc, fs::last_write_time(doc) + std::chrono::seconds(5));
    program.kill();

    Program next;
    next.start(folder, copies, {doc.string()});
    EXPECT_TRUE(next.w->dialogs.messages().empty());
    EXPECT_EQ(next.w->memo2.text(), "#z\r\n");
    EXPECT_TRUE(liveCopies(copies).empty());
    EXPECT_EQ(std::distance(fs::directory_iterator(copies), fs::directory_iterator()), 1)
        << "set aside, not deleted";
}

TEST_F(Recovery, CopiesCutShortOrDamagedAreNeverOfferedAndTheStartGoesOn) {
    program.start(folder, copies);
    program.type("#a#b");
    program.wait(2500);
    const std::string whole = readBytes(program.recovery().copyFile());
    program.kill();
    for (const fs::path& f : liveCopies(copies)) {
        fs::remove(f);
    }
    writeBytes(copies / ".tattilo-aaaaaaaaaaaa-1.mtf", whole.substr(0, whole.size() - 7));
    writeBytes(copies / ".tattilo-bbbbbbbbbbbb-1.mtf", std::string(512, '\0'));
    writeBytes(copies / ".tattilo-bbbbbbbbbbbb-2.mtf.~0.tmp", whole.substr(0, 40));

    Program next;
    next.start(folder, copies);
    EXPECT_TRUE(questions(*next.w).empty());
    const auto messages = next.w->dialogs.messages();
    ASSERT_EQ(messages.size(), 2u);
    for (const std::string& m : messages) {
        EXPECT_TRUE(m.starts_with("Una copia di recupero \xE8 danneggiata")) << m;
    }
    EXPECT_TRUE(liveCopies(copies).empty());
    EXPECT_FALSE(fs::exists(copies / ".tattilo-bbbbbbbbbbbb-2.mtf.~0.tmp"));
    // The window works as ever.
    next.type("#c");
    next.wait(2500);
    EXPECT_EQ(liveCopies(copies).size(), 1u);
}

TEST_F(Recovery, WithoutLookingAtStartNothingIsAskedAndCopiesAreStillWritten) {
    program.start(folder, copies);
    program.type("#a");
    program.wait(2500);
    program.kill();
    Program next;
    next.start(folder, copies, {}, false);
    EXPECT_TRUE(next.w->dialogs.log().empty());
    EXPECT_EQ(liveCopies(copies).size(), 1u);
    next.type("#b");
    next.wait(2500);
    EXPECT_EQ(liveCopies(copies).size(), 2u);
}

TEST_F(Recovery, FailingWritesAreRetriedQuietlyAndToldOnceWhenTheyKeepFailing) {
    program.start(folder, copies);
    program.type("#a");
    program.wait(2500);
    const fs::path file = program.recovery().copyFile();
    const std::string good = readBytes(file);

    std::atomic<int> attempts = 0;
    std::atomic<bool> diskFull = true;
    program.recovery().setWriteFault([&](editor::WriteStep step) {
        if (step == editor::WriteStep::Write) {
            ++attempts;
            return diskFull ? ENOSPC : 0;
        }
        return 0;
    });
    // Typing on through the failures: nothing is said while the student types.
    for (int second = 0; second < 35; ++second) {
        program.type("b");
        program.wait(1000);
    }
    EXPECT_GE(attempts, 1);
    EXPECT_TRUE(program.w->dialogs.messages().empty());
    EXPECT_EQ(readBytes(file), good) << "the last whole copy stays";
    // A pause: the retries go on, growing apart, and then the student is told once.
    program.wait(60000);
    const int tried = attempts;
    EXPECT_GE(tried, editor::DocumentRecovery::kReportAfterFailures);
    EXPECT_LE(tried, 12) << "retries wait longer each time";
    const auto messages = program.w->dialogs.messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(
        messages[0].starts_with("La copia di recupero del documento non pu\xF2 essere "
                                "scritta"));
    EXPECT_NE(messages[0].find("Errore n. 28 in scrittura file "), std::string::npos)
        << messages[0];
    program.wait(120000);
    EXPECT_EQ(program.w->dialogs.messages().size(), 1u) << "told once";
    EXPECT_EQ(program.w->dialogs.log().back().box.icon, ui::Icon::Warning);

    // The disk has room again: the next retry writes what the window holds.
    diskFull = false;
    program.wait(61000);
    ASSERT_TRUE(copyOf(program));
    EXPECT_EQ(copyOf(program)->state.pages.brailleOf(1), "#a" + std::string(35, 'b'));
}

TEST_F(Recovery, AChangeNoEditorReportedIsFoundToo) {
    program.start(folder, copies);
    program.type("#a");
    program.wait(2500);
    // As the graphic editor's result is put in: the text and the modified flag, no event.
    program.w->memo2.setText("#a+#b");
    program.w->logic->setModified(true);
    program.wait(5000);
    ASSERT_TRUE(copyOf(program));
    EXPECT_EQ(copyOf(program)->state.pages.brailleOf(1), "#a+#b");
}

}  // namespace
