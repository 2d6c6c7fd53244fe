#include "editor/window/braille_display_mirror.h"

#include <gtest/gtest.h>

#include "ui/keys.h"
#include "ui/memory/memory_braille_display.h"
#include "workbench_harness.h"

namespace editor {
namespace {

using testing_support::ProgramFolder;
using testing_support::WorkbenchWindow;
using ui::DisplayKey;
using Cells = std::vector<ui::BrailleDots>;

constexpr ui::BrailleDots kCaret = 0xC0;

// Dot numbers as a cell is read aloud: "134" is dots 1, 3 and 4.
ui::BrailleDots dots(std::string_view numbers) {
    ui::BrailleDots d = 0;
    for (char n : numbers) {
        d |= static_cast<ui::BrailleDots>(1 << (n - '1'));
    }
    return d;
}

ui::BrailleDots underCaret(ui::BrailleDots d) {
    return static_cast<ui::BrailleDots>(d | kCaret);
}

TEST(BrailleDisplayRow, CellsAreTheirDotsAndTheCaretIsDotsSevenAndEight) {
    EXPECT_EQ(displayDots('a'), dots("1"));
    EXPECT_EQ(displayDots('|'), dots("34"));  // the exponent opening
    EXPECT_EQ(displayDots('1'), dots("16"));  // the exponent closing
    EXPECT_EQ(displayDots('\xE8'), dots("2346"));
    EXPECT_EQ(displayDots('%'), dots("123456"));
    EXPECT_EQ(displayDots(' '), 0);
    EXPECT_EQ(displayDots('X'), dots("1346"));  // a capital as the font draws it
    EXPECT_EQ(displayDots('\t'), dots("8"));    // not a cell
    EXPECT_EQ(displayDots('\xC0'), dots("8"));

    // _x|_a1 with the caret before "|".
    EXPECT_EQ(displayRow("_x|_a1", 0, 40, 2),
              (Cells{dots("456"), dots("1346"), underCaret(dots("34")), dots("456"), dots("1"),
                     dots("16")}));
    // The caret after the last cell marks a blank cell; no caret, no extra cell.
    EXPECT_EQ(displayRow("#a", 0, 40, 2), (Cells{dots("3456"), dots("1"), kCaret}));
    EXPECT_EQ(displayRow("#a", 0, 40, 99), (Cells{dots("3456"), dots("1")}));
    EXPECT_EQ(displayRow("", 0, 40, 0), (Cells{kCaret}));
    // A window of three cells from the fourth.
    EXPECT_EQ(displayRow("abcdefgh", 3, 3, 4),
              (Cells{dots("145"), underCaret(dots("15")), dots("124")}));
    EXPECT_EQ(displayRow("abcdefgh", 6, 3, 8), (Cells{dots("1245"), dots("125"), kCaret}));
}

TEST(BrailleDisplayRow, TheWindowFollowsTheCaretByWholeWidths) {
    EXPECT_EQ(displayWindowStart(0, 5, 40), 0u);
    EXPECT_EQ(displayWindowStart(0, 40, 40), 40u);
    EXPECT_EQ(displayWindowStart(0, 95, 40), 80u);
    EXPECT_EQ(displayWindowStart(40, 45, 40), 40u);  // still shown: the window stays
    EXPECT_EQ(displayWindowStart(40, 39, 40), 0u);
    EXPECT_EQ(displayWindowStart(10, 12, 5), 10u);  // a start left by panning is kept
    EXPECT_EQ(displayWindowStart(10, 15, 5), 15u);
}

struct DisplayWindow : WorkbenchWindow {
    ui::memory::MemoryBrailleDisplay display;

    explicit DisplayWindow(const ProgramFolder& folder, int width)
        : WorkbenchWindow(folder), display(width) {
        workbench->mirrorOnBrailleDisplay(display);
        start();
    }
};

TEST(BrailleDisplayMirror, ShowsTheCaretLineWhileTheBrailleEditorHasTheFocus) {
    ProgramFolder folder;
    folder.complete();
    DisplayWindow w(folder, 8);
    ASSERT_TRUE(w.logic->brailleMode());
    w.memo2.setFocus();
    w.type("#ab\r\n_x|_a1");
    EXPECT_TRUE(w.display.held());
    EXPECT_EQ(w.display.shown(), (Cells{dots("456"), dots("1346"), dots("34"), dots("456"),
                                        dots("1"), dots("16"), kCaret}));

    // Up to the first line: the caret stays in column 3, after "#ab".
    w.memo2.setSelStart(3);
    w.press(ui::vk::kUp);
    EXPECT_EQ(w.display.shown(), (Cells{dots("3456"), dots("1"), dots("12"), kCaret}));

    // Another control takes the focus: the display goes back to the screen reader.
    w.converti.setFocus();
    w.press(ui::vk::kTab);
    EXPECT_FALSE(w.display.held());
    w.memo2.setFocus();
    w.press(ui::vk::kTab);
    EXPECT_TRUE(w.display.held());

    // Latex mode: the display is not taken.
    w.press('B', ui::shift::kCtrl);
    ASSERT_FALSE(w.logic->brailleMode());
    w.memo1.setFocus();
    w.press(ui::vk::kRight);
    EXPECT_FALSE(w.display.held());
}

TEST(BrailleDisplayMirror, RoutingKeysMoveTheCaretAndPanningWalksALongLine) {
    ProgramFolder folder;
    folder.complete();
    DisplayWindow w(folder, 4);
    w.memo2.setFocus();
    w.type("ab\r\ncdefghij");  // the caret ends after "j", column 8: the window shows 8..11
    EXPECT_EQ(w.display.shown(), (Cells{kCaret}));

    w.display.press({DisplayKey::PanLeft, 0});
    EXPECT_EQ(w.display.shown(), (Cells{dots("1245"), dots("125"), dots("24"), dots("245")}));
    w.display.press({DisplayKey::PanLeft, 0});
    EXPECT_EQ(w.display.shown(), (Cells{dots("14"), dots("145"), dots("15"), dots("124")}));
    w.display.press({DisplayKey::PanLeft, 0});  // already at the start of the line
    EXPECT_EQ(w.display.shown(), (Cells{dots("14"), dots("145"), dots("15"), dots("124")}));
    EXPECT_EQ(w.memo2.selStart(), 12u) << "panning does not move the caret";

    // The routing key over "e" (third cell) puts the caret there.
    w.display.press({DisplayKey::Route, 2});
    EXPECT_EQ(w.memo2.selStart(), 6u);
    EXPECT_EQ(w.display.shown(),
              (Cells{dots("14"), dots("145"), underCaret(dots("15")), dots("124")}));
    w.display.press({DisplayKey::PanRight, 0});
    EXPECT_EQ(w.display.shown(), (Cells{dots("1245"), dots("125"), dots("24"), dots("245")}));
    // A routing key beyond the line's end puts the caret at its end.
    w.display.press({DisplayKey::PanRight, 0});
    w.display.press({DisplayKey::Route, 3});
    EXPECT_EQ(w.memo2.selStart(), 12u);
    // Typing goes on where the caret is, and the window follows it.
    w.type("a");
    EXPECT_EQ(w.memo2.text(), "ab\r\ncdefghija");
    EXPECT_EQ(w.display.shown(), (Cells{dots("1"), kCaret}));
}

TEST(BrailleDisplayMirror, TheSettingSwitchesItOffAndNoDisplayChangesNothing) {
    ProgramFolder folder;
    folder.complete("display braille = no\r\n");
    DisplayWindow w(folder, 40);
    w.memo2.setFocus();
    w.type("#a");
    EXPECT_FALSE(w.display.held());
    EXPECT_TRUE(w.display.shown().empty());

    ProgramFolder other;
    other.complete();
    DisplayWindow none(other, 0);  // no server, no display
    none.memo2.setFocus();
    none.type("#a");
    EXPECT_FALSE(none.display.held());
    EXPECT_EQ(none.memo2.text(), "#a");
}

}  // namespace
}  // namespace editor
