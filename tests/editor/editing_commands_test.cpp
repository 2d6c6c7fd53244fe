// The "Modifica" menu in the main window: the undo faces and the typing-run rule, cut, copy
// and paste, duplicate line, bracket spacing and the font of the Latex editor.

#include "editor/input/editing_commands.h"

#include <gtest/gtest.h>

#include "workbench_harness.h"

namespace {

using editor::Command;
using testing_support::ProgramFolder;
using testing_support::WorkbenchWindow;
namespace vk = ui::vk;
namespace sh = ui::shift;

struct EditingWindow : ::testing::Test {
    ProgramFolder folder;
    std::unique_ptr<WorkbenchWindow> w;

    void start(const std::string& settings = {}) {
        folder.complete(settings);
        w = std::make_unique<WorkbenchWindow>(folder);
        w->start();
    }
    void startInLatex() { start("modalit\xE0 = - modalit\xE0 Latex\r\n"); }

    // The captions of the undo items that show.
    std::vector<std::string> undoItems() {
        std::vector<std::string> shown;
        for (Command c :
             {Command::Annullataglia1, Command::Annullaincolla1, Command::Annulladigitazione1}) {
            if (w->item(c).visible()) {
                shown.push_back(w->item(c).caption());
            }
        }
        return shown;
    }
    void undo() { w->press('Z', sh::kCtrl); }
};

using Items = std::vector<std::string>;

TEST_F(EditingWindow, ATypingRunAfterAClickUndoesToTheTextBeforeIt) {
    start();
    w->memo2.setText("xy");
    w->memo2.click(1);
    EXPECT_EQ(undoItems(), Items{});
    w->form.type("abc");
    EXPECT_EQ(w->memo2.text(), "xabcy");
    EXPECT_EQ(undoItems(), Items{"Annulla digitazione"});
    undo();
    EXPECT_EQ(w->memo2.text(), "xy");
    EXPECT_EQ(w->memo2.selStart(), 1u);
    EXPECT_EQ(undoItems(), Items{});
    EXPECT_TRUE(w->logic->modified()) << "an undo is a change of the document";

    // Nothing is held any more: Ctrl+Z changes nothing.
    undo();
    EXPECT_EQ(w->memo2.text(), "xy");
}

TEST_F(EditingWindow, ANavigationKeyBetweenTwoRunsMakesUndoTakeBackOnlyTheSecond) {
    start();
    w->form.type("ab");
    w->press(vk::kLeft);
    EXPECT_EQ(undoItems(), Items{}) << "the arrow ends the run";
    w->form.type("cd");
    EXPECT_EQ(w->memo2.text(), "acdb");
    undo();
    EXPECT_EQ(w->memo2.text(), "ab");
    EXPECT_EQ(w->memo2.selStart(), 1u);

    // Enter ends a run too and is not part of the next one.
    w->memo2.setSelStart(2);
    w->form.type("e");
    w->form.pressKey(vk::kReturn, 0, '\r');
    w->form.type("f");
    undo();
    EXPECT_EQ(w->memo2.text(), "abe\r\n");
}

TEST_F(EditingWindow, BackspaceEndsARunInTheLatexEditorButNotInTheBrailleOne) {
    start();
    w->form.type("ab");
    w->form.pressKey(vk::kBack, 0, '\b');
    w->form.type("c");
    undo();
    EXPECT_EQ(w->memo2.text(), "") << "one Braille run, Backspace included";

    w->press('B', sh::kCtrl);
    ASSERT_FALSE(w->logic->brailleMode());
    w->memo1.setText("");
    w->memo1.click(0);
    w->form.type("xy");
    w->form.pressKey(vk::kBack, 0, '\b');
    w->form.type("z");
    EXPECT_EQ(w->memo1.text(), "xz");
    undo();
    EXPECT_EQ(w->memo1.text(), "xy") << "Backspace ended the first run and began the next";
}

TEST_F(EditingWindow, CutPasteAndUndoShowOneFaceAtATime) {
    start();
    w->memo2.setText("abcd");
    w->memo2.click(0);

    // Cut with nothing selected changes nothing and shows no undo item.
    w->press('X', sh::kCtrl);
    EXPECT_EQ(w->memo2.text(), "abcd");
    EXPECT_EQ(w->clipboard.text(), "");
    EXPECT_EQ(undoItems(), Items{});

    w->memo2.setSelection(1, 2);
    w->press('X', sh::kCtrl);
    EXPECT_EQ(w->memo2.text(), "ad");
    EXPECT_EQ(w->clipboard.text(), "bc");
    EXPECT_EQ(undoItems(), Items{"Annulla taglia"});

    w->memo2.setSelStart(2);
    w->press('V', sh::kCtrl);
    EXPECT_EQ(w->memo2.text(), "adbc");
    EXPECT_EQ(undoItems(), Items{"Annulla incolla"});
    undo();
    EXPECT_EQ(w->memo2.text(), "ad");
    EXPECT_EQ(w->memo2.selStart(), 2u);
    EXPECT_EQ(undoItems(), Items{});

    w->memo2.setSelection(0, 1);
    w->press('C', sh::kCtrl);
    EXPECT_EQ(w->clipboard.text(), "a");
    EXPECT_EQ(w->memo2.text(), "ad");
}

TEST_F(EditingWindow, PasteInLatexModeGivesTheFocusBackToTheLatexEditor) {
    startInLatex();
    w->clipboard.setText("\\alpha");
    w->funzioni.setFocus();
    w->logic->runCommand(Command::Incolla1);
    EXPECT_EQ(w->memo1.text(), "\\alpha");
    EXPECT_TRUE(w->memo1.focused());
    EXPECT_EQ(undoItems(), Items{"Annulla incolla"});
}

TEST_F(EditingWindow, UndoNeverBringsOnePageIntoAnother) {
    start();
    w->form.type("ab");  // page 1, run held
    w->press(vk::kF2);
    EXPECT_EQ(undoItems(), Items{});
    w->form.type("x");
    w->press(vk::kF3);
    undo();
    EXPECT_EQ(w->memo2.text(), "ab");
    EXPECT_EQ(w->logic->pages().brailleOf(2), "x");
}

TEST_F(EditingWindow, DuplicateLineInsertsAnEmptyLineOrAppendsAOneSpaceLine) {
    start();
    w->memo2.setText("ab\r\ncd");
    w->memo2.setSelStart(1);
    w->press('D', sh::kCtrl);
    EXPECT_EQ(w->memo2.text(), "ab\r\n\r\nab\r\ncd");
    EXPECT_EQ(w->memo2.selStart(), 6u);
    EXPECT_TRUE(w->logic->modified());

    w->memo2.setSelStart(w->memo2.text().size());
    w->press('D', sh::kCtrl);
    EXPECT_EQ(w->memo2.text(), "ab\r\n\r\nab\r\ncd\r\n \r\ncd");
    EXPECT_EQ(w->memo2.selStart(), 17u);

    // A blank line is not duplicated.
    w->memo2.setSelStart(4);
    w->press('D', sh::kCtrl);
    EXPECT_EQ(w->memo2.text(), "ab\r\n\r\nab\r\ncd\r\n \r\ncd");

    // Latex mode: the item is disabled.
    w->press('B', sh::kCtrl);
    w->memo1.setText("xy");
    w->press('D', sh::kCtrl);
    EXPECT_EQ(w->memo1.text(), "xy");
}

TEST_F(EditingWindow, BracketSpacingInBothModesKeepsTheCaretByItsCharacter) {
    startInLatex();
    w->memo1.setText("a(b)");
    w->memo1.setSelStart(3);  // before ")"
    w->press(vk::kF1, sh::kCtrl | sh::kShift);
    EXPECT_EQ(w->memo1.text(), "a (b) ");
    EXPECT_EQ(w->memo1.selStart(), 4u);
    EXPECT_TRUE(w->logic->modified());
    w->press(vk::kF2, sh::kCtrl | sh::kShift);
    EXPECT_EQ(w->memo1.text(), "a(b)");
    EXPECT_EQ(w->memo1.selStart(), 3u);

    w->memo1.setText("\\{x\\}[y]");
    w->press(vk::kF1, sh::kCtrl | sh::kShift);
    EXPECT_EQ(w->memo1.text(), "\\{x\\} [y] ");

    w->press('B', sh::kCtrl);
    ASSERT_TRUE(w->logic->brailleMode());
    w->memo2.setText("a?b*&c\r\ny{d}#?*");
    w->press(vk::kF1, sh::kCtrl | sh::kShift);
    EXPECT_EQ(w->memo2.text(), "a ?b* &c\r\ny {d} #?*") << "the digits of a number stay";
    w->press(vk::kF2, sh::kCtrl | sh::kShift);
    EXPECT_EQ(w->memo2.text(), "a?b*&c\r\ny{d}#?*");
}

TEST_F(EditingWindow, TheFontDialogChangesOnlyTheLatexEditor) {
    startInLatex();
    const ui::Font plain = w->memo1.font();
    const ui::Font braille = w->memo2.font();
    const ui::Font chosen{"DejaVu Sans Mono", 0, 14, true};
    w->dialogs.answerFont(std::nullopt);
    w->logic->runCommand(Command::Carattere1);
    EXPECT_EQ(w->memo1.font(), plain) << "cancelled";
    w->dialogs.answerFont(chosen);
    w->logic->runCommand(Command::Carattere1);
    EXPECT_EQ(w->memo1.font(), chosen);
    EXPECT_EQ(w->memo2.font(), braille);
}

}  // namespace
