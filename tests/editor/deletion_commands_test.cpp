// The "Eliminazioni" and "e&Liminaz.parziali" menus in the main window: deletions on the
// Braille editor, their messages with beeps, the two restores and their menu items.

#include "editor/input/deletion_commands.h"

#include <gtest/gtest.h>

#include "workbench_harness.h"

namespace {

using editor::Command;
using testing_support::ProgramFolder;
using testing_support::WorkbenchWindow;
namespace vk = ui::vk;
namespace sh = ui::shift;

constexpr unsigned kCtrlShift = sh::kCtrl | sh::kShift;

struct DeletionWindow : ::testing::Test {
    ProgramFolder folder;
    std::unique_ptr<WorkbenchWindow> w;

    void SetUp() override {
        folder.complete();
        w = std::make_unique<WorkbenchWindow>(folder);
        w->start();
        ASSERT_TRUE(w->logic->brailleMode());
    }
    void put(const std::string& text, std::size_t caret) {
        w->memo2.setText(text);
        w->memo2.click(caret);
        w->dialogs.clearLog();
    }
    // What the student hears and sees when a deletion is refused.
    std::vector<std::string> refused(const std::string& message) {
        return {"beep", "warning:" + message};
    }
};

TEST_F(DeletionWindow, RoundBracketsAreDeletedAndRestoredWithTheirCaret) {
    put("a?bc*d", 3);
    EXPECT_FALSE(w->item(Command::Ripristina1).visible());
    w->press(vk::kF3, kCtrlShift);
    EXPECT_EQ(w->memo2.text(), "ad");
    EXPECT_EQ(w->memo2.selStart(), 1u);
    EXPECT_TRUE(w->logic->modified());
    EXPECT_TRUE(w->item(Command::Ripristina1).visible());
    EXPECT_FALSE(w->item(Command::Ripristina2).visible());
    EXPECT_TRUE(w->dialogs.log().empty());

    w->memo2.click(2);
    w->press(vk::kF9, kCtrlShift);
    EXPECT_EQ(w->memo2.text(), "a?bc*d");
    EXPECT_EQ(w->memo2.selStart(), 1u);
    EXPECT_FALSE(w->item(Command::Ripristina1).visible());

    // The copy is used up.
    w->press(vk::kF9, kCtrlShift);
    EXPECT_EQ(w->memo2.text(), "a?bc*d");
}

TEST_F(DeletionWindow, RefusalsBeepAndSayWhyLeavingTheText) {
    struct Case {
        std::string text;
        std::size_t caret;
        int key;
        unsigned shift;
        std::string message;
    };
    const std::string notInside = "Il cursore non \xE8 posizionato all'interno di ";
    const Case cases[] = {
        {"#?*", 2, vk::kF3, kCtrlShift, notInside + "parentesi tonde"},  // digits of a number
        {"?a?b*c*d", 7, vk::kF3, kCtrlShift, notInside + "parentesi tonde"},
        {"?ab\r\ncd*", 2, vk::kF3, kCtrlShift, "Manca parentesi tonda chiusa"},
        {"{ab", 2, vk::kF4, kCtrlShift, "Manca parentesi quadra chiusa"},
        {"ab", 1, vk::kF5, kCtrlShift, notInside + "parentesi graffe"},
        {"6anp", 2, vk::kF6, kCtrlShift, "Manca chiusura frazione"},
        {"9ab", 2, vk::kF7, kCtrlShift, "Manca chiusura radice"},
        {"ab", 1, vk::kF7, kCtrlShift, notInside + "una radice"},
        {"6ab", 2, vk::kF8, sh::kCtrl, notInside + "del numeratore di frazione comlessa"},
        {"ab", 1, vk::kF7, sh::kCtrl, notInside + "del numeratore di frazione complessa"},
        {"ab", 1, vk::kF10, sh::kCtrl, notInside + "del denominatore di frazione complessa"},
    };
    for (const Case& c : cases) {
        put(c.text, c.caret);
        w->press(c.key, c.shift);
        EXPECT_EQ(w->dialogs.transcript(), refused(c.message)) << c.text;
        EXPECT_EQ(w->memo2.text(), c.text);
        EXPECT_FALSE(w->workbench->formulaErrors().raised());
    }
    EXPECT_FALSE(w->item(Command::Ripristina1).visible());
    EXPECT_FALSE(w->item(Command::Ripristina2).visible());

    // Empty brackets, an empty editor, nothing to restore: nothing changes, and a beep and
    // the status bar say why.
    put("a?*d", 2);
    w->press(vk::kF3, kCtrlShift);
    EXPECT_EQ(w->memo2.text(), "a?*d");
    EXPECT_EQ(w->status.caption(), "Niente da eliminare");
    EXPECT_EQ(w->dialogs.transcript(), std::vector<std::string>{"beep"});
    put("", 0);
    w->press(vk::kF3, kCtrlShift);
    w->press(vk::kF9, kCtrlShift);
    EXPECT_EQ(w->status.caption(), "Niente da ripristinare");
    EXPECT_EQ(w->dialogs.transcript(), (std::vector<std::string>{"beep", "beep"}));
}

TEST_F(DeletionWindow, PartialAndFullDeletionsKeepTheirOwnCopies) {
    put("&a+b+cy", 2);
    w->press(vk::kF5, sh::kCtrl);  // back to "&"
    EXPECT_EQ(w->memo2.text(), "&+b+cy");
    EXPECT_EQ(w->memo2.selStart(), 1u);
    w->memo2.click(3);
    w->press(vk::kF6, sh::kCtrl);  // on to "y"
    EXPECT_EQ(w->memo2.text(), "&+by");
    EXPECT_EQ(w->memo2.selStart(), 3u);
    w->press(vk::kF5, kCtrlShift);  // the whole curly brackets
    EXPECT_EQ(w->memo2.text(), "");
    EXPECT_TRUE(w->item(Command::Ripristina1).visible());
    EXPECT_TRUE(w->item(Command::Ripristina2).visible());

    w->memo2.setText("z");
    w->press(vk::kF10, kCtrlShift);  // the text before the last partial deletion
    EXPECT_EQ(w->memo2.text(), "&+b+cy");
    EXPECT_EQ(w->memo2.selStart(), 3u);
    EXPECT_FALSE(w->item(Command::Ripristina2).visible());
    EXPECT_TRUE(w->item(Command::Ripristina1).visible());
    w->press(vk::kF9, kCtrlShift);  // the text before the full deletion
    EXPECT_EQ(w->memo2.text(), "&+by");
    EXPECT_EQ(w->memo2.selStart(), 0u);
}

TEST_F(DeletionWindow, OpeningAMenuSilencesSpeechAndShowsItsRestoreItem) {
    put("9ab+co", 3);
    w->press(vk::kF7, kCtrlShift);
    ASSERT_EQ(w->memo2.text(), "");
    w->item(Command::Ripristina1).setVisible(false);
    w->speech.requests.clear();
    w->item(Command::MenuEliminazioni).click();
    EXPECT_TRUE(w->item(Command::Ripristina1).visible());
    EXPECT_EQ(w->speech.texts(), std::vector<std::string>{"\x1B"});
    w->item(Command::MenuParziali).click();
    EXPECT_FALSE(w->item(Command::Ripristina2).visible());
}

TEST_F(DeletionWindow, ADeletionEndsTheTypingRun) {
    put("x?ab*", 1);
    w->form.type("y");  // a run: the undo would go back to "x?ab*"
    w->memo2.setSelStart(5);
    w->press(vk::kF1, sh::kCtrl);  // back to "?": deletes "ab"
    EXPECT_EQ(w->memo2.text(), "xy?*");
    w->press('Z', sh::kCtrl);
    EXPECT_EQ(w->memo2.text(), "xy?*") << "the deletion armed the undo";
}

TEST_F(DeletionWindow, ARestoreNeverPutsOnePageInPlaceOfAnother) {
    put("a?bc*d", 3);
    w->press(vk::kF3, kCtrlShift);
    w->press(vk::kF2);
    w->form.type("#b");
    EXPECT_FALSE(w->item(Command::Ripristina1).visible());
    w->press(vk::kF9, kCtrlShift);
    EXPECT_EQ(w->memo2.text(), "#b");
    w->press(vk::kF3);
    EXPECT_EQ(w->memo2.text(), "ad");
}

TEST_F(DeletionWindow, ADeletionThatTookTheWholeTextIsRestored) {
    put("?ab+c*", 3);
    w->press(vk::kF3, kCtrlShift);
    ASSERT_EQ(w->memo2.text(), "");
    w->press(vk::kF9, kCtrlShift);
    EXPECT_EQ(w->memo2.text(), "?ab+c*");
    EXPECT_EQ(w->memo2.selStart(), 0u);

    // The partial copy too, once the whole structure has gone.
    put("&a+by", 3);
    w->press(vk::kF5, sh::kCtrl);
    ASSERT_EQ(w->memo2.text(), "&by");
    w->press(vk::kF5, kCtrlShift);
    ASSERT_EQ(w->memo2.text(), "");
    w->press(vk::kF10, kCtrlShift);
    EXPECT_EQ(w->memo2.text(), "&a+by");
    EXPECT_EQ(w->memo2.selStart(), 1u);
    EXPECT_TRUE(w->dialogs.messages().empty());
}

TEST_F(DeletionWindow, TheKeysDoNothingInLatexMode) {
    put("a?bc*d", 3);
    w->press('B', sh::kCtrl);
    ASSERT_FALSE(w->logic->brailleMode());
    w->press(vk::kF3, kCtrlShift);
    w->press(vk::kF1, sh::kCtrl);
    EXPECT_EQ(w->memo2.text(), "a?bc*d");
    EXPECT_TRUE(w->dialogs.messages().empty());
}

}  // namespace
