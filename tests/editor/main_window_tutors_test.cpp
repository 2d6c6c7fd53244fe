// The main window's "Tutor" menu: the analysis when it opens, the refusals with their beeps,
// the tutor opened on the caret's line and its result put in the line's place.

#include <gtest/gtest.h>

#include "main_window_harness.h"

namespace {

using editor::Command;
using testing_support::MainWindow;
using testing_support::ProgramFolder;

// Stands in for a tutor window: records what it was opened on and returns a set outcome.
struct FakeTutor : learning::TutorOpener {
    std::vector<std::pair<std::string, std::string>> opened;  // caption, line
    std::vector<learning::TutorOutcome> outcomes;
    learning::TutorOutcome openTutor(std::string_view caption, std::string_view line) override {
        opened.emplace_back(std::string(caption), std::string(line));
        if (outcomes.empty()) {
            return {};
        }
        learning::TutorOutcome next = outcomes.front();
        outcomes.erase(outcomes.begin());
        return next;
    }
};

struct TutorWindow {
    ProgramFolder folder;
    FakeTutor brackets, operations, fractions;
    std::unique_ptr<MainWindow> w;

    explicit TutorWindow(const std::string& settings = {}) {
        folder.complete(settings);
        editor::MainWindowHooks hooks;
        hooks.bracketsTutor = &brackets;
        hooks.operationsTutor = &operations;
        hooks.fractionsTutor = &fractions;
        w = std::make_unique<MainWindow>(folder, std::vector<std::string>{}, true, hooks);
        w->start();
    }
    // The page in the Braille editor with the caret at `caret`.
    void page(const std::string& text, std::size_t caret) {
        w->memo2.setText(text);
        w->memo2.setSelStart(caret);
    }
    bool enabled(Command id) { return w->item(id).enabled(); }
    bool visible(Command id) { return w->item(id).visible(); }
    void shiftF(int n) { w->press(ui::vk::kF1 + n - 1, ui::shift::kShift); }
};

TEST(MainWindowTutorMenu, OpeningAnalysesTheCaretLine) {
    TutorWindow t;
    t.page("#b+#c\r\n?#a+#b*(#c\r\n#d", 9);
    t.w->speech.requests.clear();
    t.w->item(Command::MenuTutor).click();
    ASSERT_FALSE(t.w->speech.requests.empty());
    EXPECT_EQ(t.w->speech.requests[0].text, "\x1B") << "the reader is silenced first";
    EXPECT_EQ(t.w->memo2.selText(), "?#a+#b*(#c") << "the caret's line is selected";
    EXPECT_TRUE(t.enabled(Command::TutorTonde));
    EXPECT_TRUE(t.enabled(Command::TutorMoltiplicazioni));
    EXPECT_TRUE(t.enabled(Command::TutorAddizioni));
    EXPECT_FALSE(t.enabled(Command::TutorQuadre));
    EXPECT_FALSE(t.enabled(Command::TutorPotenze));
    EXPECT_FALSE(t.visible(Command::TutorFrazioni));
    EXPECT_TRUE(t.w->dialogs.log().empty());

    // An empty page leaves every entry disabled.
    t.page("", 0);
    t.w->item(Command::MenuTutor).click();
    EXPECT_FALSE(t.enabled(Command::TutorTonde));
    EXPECT_FALSE(t.enabled(Command::TutorAddizioni));
}

TEST(MainWindowTutorMenu, FractionRelationComesFirst) {
    TutorWindow t;
    t.page("?6#a+#bnp#c4(#b*", 0);
    t.w->item(Command::MenuTutor).click();
    EXPECT_EQ(t.w->dialogs.transcript(),
              (std::vector<std::string>{
                  "beep",
                  "warning:Occorre risolvere il rapporto tra  frazioni \r\n prima di "
                  "proseguire"}));
    EXPECT_TRUE(t.visible(Command::TutorFrazioni));
    EXPECT_TRUE(t.enabled(Command::TutorFrazioni));
    EXPECT_FALSE(t.enabled(Command::TutorTonde)) << "the bracket entries wait";
    EXPECT_FALSE(t.visible(Command::TutorMoltiplicazioni));
    EXPECT_FALSE(t.visible(Command::TutorAddizioni));

    // A hidden entry's shortcut still answers: the fraction comes first.
    t.w->dialogs.clearLog();
    t.shiftF(6);
    EXPECT_EQ(t.w->dialogs.messages(),
              std::vector<std::string>{"Occorre rispettare la sequenza corretta di esecuzione"});
    EXPECT_TRUE(t.operations.opened.empty());

    t.shiftF(4);
    ASSERT_EQ(t.fractions.opened.size(), 1u);
    EXPECT_EQ(t.fractions.opened[0].first, "Frazioni complesse");
    EXPECT_EQ(t.fractions.opened[0].second, "?6#a+#bnp#c4(#b*=");

    // The next line has no fraction: the entries come back.
    t.page("#b(#c", 0);
    t.w->item(Command::MenuTutor).click();
    EXPECT_FALSE(t.visible(Command::TutorFrazioni));
    EXPECT_TRUE(t.visible(Command::TutorMoltiplicazioni));
}

TEST(MainWindowTutorMenu, SeveralWaysDisablesEverything) {
    TutorWindow t;
    t.page("#b(#c=#d+#a", 0);
    t.w->item(Command::MenuTutor).click();
    EXPECT_EQ(t.w->dialogs.messages(),
              std::vector<std::string>{"Essendoci pi\xF9 modi di procedere non \xE8 possibile "
                                       "\r\nutilizzare il tutor per risolvere l'espressione"});
    EXPECT_FALSE(t.enabled(Command::TutorMoltiplicazioni));
    EXPECT_FALSE(t.enabled(Command::TutorAddizioni));
}

TEST(MainWindowTutorMenu, RefusalsBeepAndLeaveTheLine) {
    TutorWindow t;
    // Round brackets and a multiplication outside them.
    t.page("?#a+#b*(#c", 3);
    t.w->item(Command::MenuTutor).click();
    t.w->item(Command::TutorMoltiplicazioni).click();
    EXPECT_EQ(t.w->dialogs.transcript(),
              (std::vector<std::string>{
                  "beep", "warning:Occorre rispettare la sequenza corretta di esecuzione"}));
    EXPECT_TRUE(t.operations.opened.empty());
    EXPECT_EQ(t.w->memo2.text(), "?#a+#b*(#c");

    // No exponent: the shortcut of the disabled entry says so.
    t.w->dialogs.clearLog();
    t.page("#b(#c", 0);
    t.shiftF(7);
    EXPECT_EQ(t.w->dialogs.transcript(),
              (std::vector<std::string>{"beep", "warning:Non ci sono potenze da risolvere"}));

    // A leading minus alone is no subtraction.
    t.w->dialogs.clearLog();
    t.page("-#b(#c", 0);
    t.w->item(Command::MenuTutor).click();
    EXPECT_FALSE(t.enabled(Command::TutorAddizioni));
    t.shiftF(5);
    EXPECT_EQ(t.w->dialogs.messages(),
              std::vector<std::string>{"Non ci sono addizioni o sottrazioni da risolvere"});
}

TEST(MainWindowTutorMenu, SequenceModeDecidesSquareBeforeRound) {
    {
        TutorWindow t;
        t.page("{#a+#b}(?#c+#d*", 0);
        t.shiftF(2);
        EXPECT_EQ(
            t.w->dialogs.messages(),
            std::vector<std::string>{"Occorre rispettare la sequenza corretta di esecuzione"});
        EXPECT_TRUE(t.brackets.opened.empty());
    }
    {
        TutorWindow t("tutor = 1\r\n");
        t.page("{#a+#b}(?#c+#d*", 0);
        t.shiftF(2);
        EXPECT_TRUE(t.w->dialogs.messages().empty());
        ASSERT_EQ(t.brackets.opened.size(), 1u);
        EXPECT_EQ(t.brackets.opened[0].first, "Parentesi quadre");
    }
}

TEST(MainWindowTutorMenu, AcceptedStepReplacesTheLine) {
    TutorWindow t;
    t.page("#b\r\n?#a+#b*(?#c+#d*\r\n#c", 6);
    t.brackets.outcomes.push_back({std::string("=#c(#g"), std::nullopt});
    t.w->item(Command::MenuTutor).click();
    t.w->item(Command::TutorTonde).click();
    ASSERT_EQ(t.brackets.opened.size(), 1u);
    EXPECT_EQ(t.brackets.opened[0].first, "Parentesi tonde");
    EXPECT_EQ(t.brackets.opened[0].second, "?#a+#b*(?#c+#d*=");
    EXPECT_EQ(t.w->memo2.text(), "#b\r\n=#c(#g\r\n#c");
    EXPECT_EQ(t.w->memo2.selStart(), 10u) << "the caret just after the result";
    EXPECT_EQ(t.w->memo2.selLength(), 0u);
    EXPECT_TRUE(t.w->logic->modified());

    // Leaving without a result changes nothing.
    t.page("#b(#c", 2);
    t.w->logic->setModified(false);
    t.shiftF(6);
    ASSERT_EQ(t.operations.opened.size(), 1u);
    EXPECT_EQ(t.operations.opened[0].first, "Moltiplicazioni e divisioni");
    EXPECT_EQ(t.w->memo2.text(), "#b(#c");
    EXPECT_FALSE(t.w->logic->modified());
}

TEST(MainWindowTutorMenu, StepChosenInsideATutorFollowsOnTheResult) {
    TutorWindow t;
    t.page("?#a+#b*(#c", 0);
    t.brackets.outcomes.push_back(
        {std::string("=#c(#c"), learning::TutorStep::MultiplicationsDivisions});
    t.operations.outcomes.push_back({std::string("=#i"), std::nullopt});
    t.shiftF(1);
    ASSERT_EQ(t.operations.opened.size(), 1u);
    EXPECT_EQ(t.operations.opened[0].second, "=#c(#c=");
    EXPECT_EQ(t.w->memo2.text(), "=#i");
}

TEST(MainWindowTutorMenu, NothingInLatexModeOrWhenHidden) {
    TutorWindow t("tutor = 0\r\n");
    EXPECT_FALSE(t.visible(Command::MenuTutor));
    t.page("?#a+#b*", 0);
    t.shiftF(1);
    EXPECT_TRUE(t.brackets.opened.empty());
    EXPECT_EQ(t.w->dialogs.transcript(), std::vector<std::string>{"beep"});
    EXPECT_EQ(t.w->status.caption(), "Tutor disattivati nelle impostazioni");
}

}  // namespace
