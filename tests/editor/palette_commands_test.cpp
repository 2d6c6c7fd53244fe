// The six palettes in the main window: the list under the button, insertion at the caret of
// the Latex editor with the caret rule, Enter, double click and Esc on the list.

#include "editor/input/palette_commands.h"

#include <gtest/gtest.h>

#include "workbench_harness.h"

namespace {

using testing_support::ProgramFolder;
using testing_support::WorkbenchWindow;
namespace vk = ui::vk;

struct PaletteWindow : ::testing::Test {
    ProgramFolder folder;
    std::unique_ptr<WorkbenchWindow> w;

    void SetUp() override {
        folder.complete("modalit\xE0 = - modalit\xE0 Latex\r\n");
        w = std::make_unique<WorkbenchWindow>(folder);
        w->start();
        w->timer2.fire();  // the splash is gone
        ASSERT_FALSE(w->logic->brailleMode());
    }
    // Chooses the entry `name` of the open list with the arrow keys and Enter, as the student
    // does; false when the list has no such entry.
    bool choose(const std::string& name) {
        for (int i = 0; i < w->listBox1.count(); ++i) {
            if (w->listBox1.item(i) == name) {
                w->listBox1.setItemIndex(i);
                w->press(vk::kReturn);
                return true;
            }
        }
        return false;
    }
};

TEST_F(PaletteWindow, AButtonFillsBothListsAndShowsTheNamesUnderIt) {
    w->greche.setBounds({452, 26, 76, 24});
    w->listBox1.setBounds({140, 100, 220, 260});
    w->greche.click();
    EXPECT_TRUE(w->listBox1.visible());
    EXPECT_TRUE(w->listBox1.focused());
    EXPECT_EQ(w->listBox1.bounds(), (ui::Rect{452, 100, 220, 260}));
    ASSERT_EQ(w->listBox1.count(), 48);
    EXPECT_EQ(w->listBox1.itemIndex(), 0);
    EXPECT_EQ(w->listBox1.item(0), "Alpha");
    EXPECT_EQ(w->listBox2.item(47), "\\omega");
    EXPECT_FALSE(w->listBox2.visible());

    // Another palette replaces the entries.
    w->operatori.click();
    ASSERT_EQ(w->listBox1.count(), 18);
    EXPECT_EQ(w->listBox2.count(), 18);
    EXPECT_EQ(w->listBox1.item(0), "Pi\xF9");
}

TEST_F(PaletteWindow, InsertionPutsTheCaretWhereTheStudentGoesOnTyping) {
    struct Case {
        const char* name;
        std::string before;
        std::size_t caret;
        std::string after;
        std::size_t caretAfter;
    };
    const Case cases[] = {
        {"Radice quadrata", "", 0, "\\sqrt{}", 6},
        {"Frazione", "", 0, "\\frac{}{}", 6},
        {"Tende a", "x", 1, "x\\to ", 5},
        {"Valore assoluto", "", 0, "| |", 1},
        {"Matrice", "", 0, "%%  %%", 2},
        {"Limite", "a\r\nb", 3, "a\r\n\\lim_{ \\to }()b", 9},
    };
    for (const Case& c : cases) {
        w->memo1.setText(c.before);
        w->memo1.setSelStart(c.caret);
        w->funzioni.click();
        ASSERT_TRUE(choose(c.name)) << c.name;
        EXPECT_EQ(w->memo1.text(), c.after) << c.name;
        EXPECT_EQ(w->memo1.selStart(), c.caretAfter) << c.name;
        EXPECT_EQ(w->memo1.selLength(), 0u);
        EXPECT_TRUE(w->memo1.focused());
        EXPECT_FALSE(w->listBox1.visible());
        EXPECT_EQ(w->logic->pages().latexOf(1), c.after) << "the page holds the new text";
    }
    EXPECT_TRUE(w->logic->modified());

    // "Percento" with text after it: the caret goes one past the inserted text.
    w->memo1.setText("ab");
    w->memo1.setSelection(1, 1);  // a selection is not replaced
    w->simboli.click();
    ASSERT_TRUE(choose("Percento"));
    EXPECT_EQ(w->memo1.text(), "a\\%b");
    EXPECT_EQ(w->memo1.selStart(), 4u);

    // The section sign of "Indice esponente" is one byte.
    w->memo1.setText("x");
    w->memo1.setSelStart(1);
    w->simboli.click();
    ASSERT_TRUE(choose("Indice esponente"));
    EXPECT_EQ(w->memo1.text(), "x\xA7");
}

TEST_F(PaletteWindow, DoubleClickInsertsAndEscOrAClickInTheEditorCloses) {
    w->memo1.setText("y");
    w->memo1.setSelStart(1);
    w->insiemistica.click();
    w->listBox1.setItemIndex(2);  // Esiste
    w->listBox1.doubleClick();
    EXPECT_EQ(w->memo1.text(), "y\\exists ");

    w->logica.click();
    w->press(vk::kEscape);
    EXPECT_FALSE(w->listBox1.visible());
    EXPECT_TRUE(w->memo1.focused());
    EXPECT_EQ(w->memo1.text(), "y\\exists ");

    w->logica.click();
    w->memo1.click(0);
    EXPECT_FALSE(w->listBox1.visible());
    EXPECT_EQ(w->memo1.text(), "y\\exists ");

    // Enter in the editor, with the list closed, is ordinary typing.
    w->form.pressKey(vk::kReturn, 0, '\r');
    EXPECT_EQ(w->memo1.text(), "\r\ny\\exists ");
}

TEST_F(PaletteWindow, TheListClosesOnTheSwitchToBrailleMode) {
    w->funzioni.click();
    w->press('B', ui::shift::kCtrl);
    ASSERT_TRUE(w->logic->brailleMode());
    EXPECT_FALSE(w->listBox1.visible());
    EXPECT_FALSE(w->funzioni.visible());
}

}  // namespace
