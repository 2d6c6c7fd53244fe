#include "editor/printing/linear_view.h"

#include <gtest/gtest.h>

#include "workbench_harness.h"

namespace {

using editor::Command;
using editor::firstShownLine;
using editor::PositionRecord;
using testing_support::ProgramFolder;
using testing_support::WorkbenchWindow;
namespace t = editor::linear_view_text;

TEST(LinearViewRules, PositionRecordRoundTripsAndRefusesOtherText) {
    const PositionRecord r{1234, 7, 12, 45, -3};
    const std::string text = editor::formatPositionRecord(r);
    EXPECT_EQ(text, "1234@7#12*45$-3");
    const auto back = editor::parsePositionRecord(text);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->caretOffset, 1234u);
    EXPECT_EQ(back->caretColumn, 7u);
    EXPECT_EQ(back->caretLine, 12u);
    EXPECT_EQ(back->counter, 45);
    EXPECT_EQ(back->scrollStep, -3);
    // The scroll step has at most two digits.
    EXPECT_EQ(editor::formatPositionRecord({0, 0, 0, 0, 500}), "0@0#0*0$99");
    for (std::string_view bad :
         {"", "1@2#3*4", "1@2#3*4$", "a@2#3*4$0", "1@2#3*4$100", "1#2@3*4$0", "1@2#3*4$5x"}) {
        EXPECT_FALSE(editor::parsePositionRecord(bad)) << bad;
    }
}

TEST(LinearViewRules, FirstLineRules) {
    // Centred on the caret line, never above the first line.
    EXPECT_EQ(firstShownLine(0, 20, 0, 5, 40), 18);
    EXPECT_EQ(firstShownLine(0, 1, 0, 5, 40), 0);
    // Near the end the last line is centred.
    EXPECT_EQ(firstShownLine(0, 38, 0, 5, 40), 37);
    // A scroll step moves from the previous first line and stays within the page; upwards
    // from the page's end it is never put back.
    EXPECT_EQ(firstShownLine(10, 0, 3, 5, 40), 13);
    EXPECT_EQ(firstShownLine(37, 39, -1, 5, 40), 36);
    EXPECT_EQ(firstShownLine(36, 39, -1, 5, 40), 35);
    EXPECT_EQ(firstShownLine(36, 39, 1, 5, 40), 37);
    EXPECT_EQ(firstShownLine(37, 39, 1, 5, 40), 37);
    EXPECT_EQ(firstShownLine(10, 0, -99, 5, 40), 0);
    EXPECT_EQ(firstShownLine(30, 0, 99, 5, 40), 37);
    for (int step = -99; step <= 99; step += 7) {
        const int first = firstShownLine(20, 20, step, 5, 40);
        EXPECT_GE(first, 0) << step;
        EXPECT_LE(first, 39) << step;
    }
    // A page shorter than the view starts at line 1 whatever the caret or the step.
    EXPECT_EQ(firstShownLine(0, 3, 0, 5, 4), 0);
    EXPECT_EQ(firstShownLine(2, 3, 9, 5, 4), 0);
    EXPECT_EQ(firstShownLine(0, 0, 0, 5, 1), 0);
    // A page that just fits, or one line more, keeps its first lines while the caret is there:
    // the caret's line is never left out (three text lines and the empty one after the last
    // line break in a view of four lines once showed lines 2 to 4 only).
    EXPECT_EQ(firstShownLine(0, 0, 0, 4, 4), 0);
    EXPECT_EQ(firstShownLine(0, 0, 0, 4, 5), 0);
    EXPECT_EQ(firstShownLine(0, 1, 0, 5, 6), 0);
    for (int lines = 1; lines <= 12; ++lines) {
        for (int fit = 1; fit <= 6; ++fit) {
            for (int caret = 0; caret < lines; ++caret) {
                const int first = firstShownLine(0, caret, 0, fit, lines);
                EXPECT_LE(first, caret) << lines << " " << fit << " " << caret;
                EXPECT_GT(first + fit, caret) << lines << " " << fit << " " << caret;
            }
        }
    }

    EXPECT_EQ(editor::linesThatFit(294, 32), 6);
    EXPECT_EQ(editor::linesThatFit(20, 32), 1) << "at least one line";
}

struct LinearViewWindow : WorkbenchWindow {
    explicit LinearViewWindow(const ProgramFolder& folder) : WorkbenchWindow(folder) { start(); }
    // The window as the user would find it after resizing it to 900 x 700.
    void resize() {
        form.setBounds({0, 0, 900, 700});
        logic->FormResize();
    }
    std::vector<std::string> shownCells() const {
        std::vector<std::string> cells;
        for (const ui::MathLine& line : image1.lines()) {
            cells.push_back(line.cells);
        }
        return cells;
    }
};

TEST(LinearView, FollowsTheBrailleEditorWithTheCaretMarked) {
    ProgramFolder folder;
    folder.complete();
    LinearViewWindow w(folder);
    ASSERT_TRUE(w.logic->brailleMode());
    w.resize();
    // An empty page: one empty line with the caret at its start.
    ASSERT_EQ(w.image1.lines().size(), 1u);
    EXPECT_EQ(w.image1.lines()[0], (ui::MathLine{"", 0, true}));
    EXPECT_EQ(w.image1.lineHeight(), 32 + 14);

    const int before = w.image1.draws();
    w.type("6_anp_b4");
    EXPECT_GT(w.image1.draws(), before) << "every change redraws";
    EXPECT_EQ(w.image1.lines()[0], (ui::MathLine{"6_anp_b4", 8, true}));
    w.type("\r\n");
    ASSERT_EQ(w.image1.lines().size(), 2u);
    EXPECT_EQ(w.image1.lines()[1], (ui::MathLine{"", 0, true})) << "caret on the new empty line";
    EXPECT_EQ(w.image1.lines()[0].caret, -1);
    EXPECT_FALSE(w.image1.lines()[0].anchor);
    EXPECT_EQ(w.workbench->linearView().positionRecord(),
              "10@0#1*" + std::to_string(w.logic->changeCounter()) + "$0");

    // Another page shows its own lines.
    w.press(ui::vk::kF2);
    EXPECT_EQ(w.image1.lines(), (std::vector<ui::MathLine>{{"", 0, true}}));
    w.press(ui::vk::kF3);
    EXPECT_EQ(w.image1.lines()[0].cells, "6_anp_b4");

    // A click in the editor moves the caret: the view follows.
    w.memo2.click(3);
    EXPECT_EQ(w.image1.lines()[0].caret, 3);
}

TEST(LinearView, ShowsTheLinesThatFitAroundTheCaretAndScrolls) {
    ProgramFolder folder;
    folder.complete();
    LinearViewWindow w(folder);
    w.resize();
    std::string page;
    for (int k = 0; k < 30; ++k) {
        page += "_x+#" + std::string(1, static_cast<char>('a' + k % 10)) + "\r\n";
    }
    w.type(page);
    const int fit = w.workbench->linearView().linesFit();
    ASSERT_GT(fit, 2);
    // The caret is on the empty line after the last: the last lines show.
    EXPECT_EQ(static_cast<int>(w.image1.lines().size()), 30 - (30 - fit / 2) + 1);
    EXPECT_EQ(w.image1.lines().back(), (ui::MathLine{"", 0, true}));

    // From there the wheel goes up one line at a time, all the way to the top, and the top
    // line shown is the one kept in view; down again it stops where the last lines centre.
    const int end = 30 - fit / 2;
    ASSERT_EQ(w.workbench->linearView().firstLine(), end);
    for (int first = end - 1; first >= 0; --first) {
        w.image1.scroll(-1);
        ASSERT_EQ(w.workbench->linearView().firstLine(), first);
        ASSERT_TRUE(w.image1.lines().front().anchor) << first;
    }
    EXPECT_EQ(w.shownCells().front(), "_x+#a");
    for (int k = 0; k < 40; ++k) {
        w.image1.scroll(1);
    }
    EXPECT_EQ(w.workbench->linearView().firstLine(), end);
    w.image1.scroll(-2);
    EXPECT_EQ(w.workbench->linearView().firstLine(), end - 2);

    w.memo2.click(15 * 7);  // the start of line 16
    EXPECT_EQ(w.workbench->linearView().firstLine(), 15 - fit / 2);
    ASSERT_EQ(static_cast<int>(w.image1.lines().size()), fit);
    EXPECT_EQ(w.image1.lines()[static_cast<std::size_t>(fit / 2)].caret, 0);

    // The wheel pages from there; the page's end and start hold.
    w.image1.scroll(3);
    EXPECT_EQ(w.workbench->linearView().firstLine(), 15 - fit / 2 + 3);
    w.image1.scroll(-99);
    EXPECT_EQ(w.workbench->linearView().firstLine(), 0);
    EXPECT_EQ(w.shownCells().front(), "_x+#a");
}

TEST(LinearView, ToggleHidesAndShowsTheStripWithItsCaptions) {
    ProgramFolder folder;
    folder.complete();
    LinearViewWindow w(folder);
    w.resize();
    auto& item = w.logic->menuItem(Command::Visualizzazionelineareoff1);
    EXPECT_EQ(w.visualLineare.caption(), t::kButtonOff);
    EXPECT_EQ(item.caption(), t::kMenuOff);
    const ui::Rect strip = w.image1.bounds();
    const int shortHeight = w.memo2.bounds().height;
    ASSERT_EQ(strip.top, w.memo2.bounds().top + shortHeight);

    w.visualLineare.click();
    EXPECT_FALSE(w.image1.visible());
    EXPECT_FALSE(w.simb.visible());
    EXPECT_EQ(w.memo2.bounds().height, strip.top + strip.height - w.memo2.bounds().top);
    EXPECT_EQ(w.visualLineare.caption(), t::kButtonOn);
    EXPECT_EQ(item.caption(), t::kMenuOn);
    EXPECT_TRUE(w.memo2.focused());
    // Typing while it is off draws nothing; a resize keeps the editor at full height.
    const int draws = w.image1.draws();
    w.type("_x");
    EXPECT_EQ(w.image1.draws(), draws);
    w.resize();
    const ui::Rect movedStrip = w.image1.bounds();
    EXPECT_EQ(w.memo2.bounds().height, movedStrip.top + movedStrip.height - w.memo2.bounds().top);

    // Ctrl+R switches it back on: the editor is shortened by the strip, which is redrawn.
    w.press('R', ui::shift::kCtrl);
    EXPECT_TRUE(w.image1.visible());
    EXPECT_TRUE(w.simb.visible());
    EXPECT_EQ(w.memo2.bounds().height, movedStrip.top - w.memo2.bounds().top);
    EXPECT_EQ(w.visualLineare.caption(), t::kButtonOff);
    EXPECT_EQ(item.caption(), t::kMenuOff);
    EXPECT_GT(w.image1.draws(), draws);
    EXPECT_EQ(w.image1.lines()[0].cells, "_x");
    EXPECT_TRUE(w.memo2.focused());

    // Not in Latex mode: the toggle is a Braille-mode command.
    w.press('B', ui::shift::kCtrl);
    ASSERT_FALSE(w.logic->brailleMode());
    EXPECT_FALSE(w.image1.visible());
    EXPECT_FALSE(w.visualLineare.visible());
}

TEST(LinearView, LegendShortensTheDrawingAndClicksGiveTheFocusBack) {
    ProgramFolder folder;
    folder.complete();
    LinearViewWindow w(folder);
    w.resize();
    const ui::Rect strip = w.image1.bounds();
    const int fit = w.workbench->linearView().linesFit();
    EXPECT_FALSE(w.image3.visible());
    EXPECT_EQ(w.logic->stripBounds(), strip);
    w.simb.click();
    EXPECT_TRUE(w.image3.visible());
    EXPECT_TRUE(w.workbench->linearView().legendShown());
    // The legend lies under the drawing, which is shortened by its height and the gap.
    const ui::Rect drawing = w.image1.bounds();
    const ui::Rect legend = w.image3.bounds();
    EXPECT_EQ(drawing.top, strip.top);
    EXPECT_EQ(drawing.height + editor::kLegendGap + legend.height, strip.height);
    EXPECT_EQ(legend.top, drawing.top + drawing.height + editor::kLegendGap);
    EXPECT_EQ(legend.top + legend.height, strip.top + strip.height);
    EXPECT_EQ(w.workbench->linearView().linesFit(), editor::linesThatFit(drawing.height, 32));
    EXPECT_LE(w.workbench->linearView().linesFit(), fit);
    EXPECT_GE(w.workbench->linearView().linesFit(), 2) << "the legend leaves two lines";
    EXPECT_LE(w.simb.bounds().top + w.simb.bounds().height, drawing.top + drawing.height);
    EXPECT_TRUE(w.memo2.focused());
    w.simb.click();
    EXPECT_FALSE(w.image3.visible());
    EXPECT_EQ(w.image1.bounds(), strip);
    EXPECT_EQ(w.workbench->linearView().linesFit(), fit);

    // In the default window the legend is cut to what leaves two lines, and scrolls.
    w.form.setBounds({0, 0, editor::TForm1::kDefaultWidth, editor::TForm1::kDefaultHeight});
    w.logic->FormResize();
    w.simb.click();
    EXPECT_EQ(w.workbench->linearView().linesFit(), 2);
    EXPECT_LT(w.image3.bounds().height, 214);
    EXPECT_GT(w.image3.bounds().height, 0);
    // Latex mode hides the legend; back in Braille mode the drawing has all the strip again.
    w.press('B', ui::shift::kCtrl);
    w.press('B', ui::shift::kCtrl);
    ASSERT_TRUE(w.logic->brailleMode());
    EXPECT_FALSE(w.image3.visible());
    EXPECT_EQ(w.image1.bounds(), w.logic->stripBounds());
    // Switching the view off and on again gives the Braille editor the strip and back.
    w.simb.click();
    w.visualLineare.click();
    EXPECT_EQ(w.memo2.bounds().top + w.memo2.bounds().height,
              w.logic->stripBounds().top + w.logic->stripBounds().height);
    EXPECT_FALSE(w.image3.visible());
    w.visualLineare.click();
    EXPECT_EQ(w.image1.bounds(), w.logic->stripBounds());

    // A click on the drawing: back to the Braille editor, or to an open learning tool.
    w.tabs.setFocus();
    w.image1.click();
    EXPECT_TRUE(w.memo2.focused());
    testing_support::MemoryControl tool{"", &w.form.focusScope()};
    w.workbench->linearView().setOpenLearningTool([&] { return &tool; });
    w.image1.click();
    EXPECT_TRUE(tool.focused());
}

TEST(LinearView, LegendNamesEachGlyphOnceInItalian) {
    const std::vector<editor::LegendEntry> legend = editor::symbolLegend();
    ASSERT_GT(legend.size(), 40u);
    for (std::size_t i = 0; i < legend.size(); ++i) {
        EXPECT_FALSE(legend[i].glyph.empty());
        EXPECT_FALSE(legend[i].name.empty()) << legend[i].cells;
        for (std::size_t j = 0; j < i; ++j) {
            EXPECT_NE(legend[i].glyph, legend[j].glyph) << legend[i].cells;
        }
    }
    auto nameOf = [&](std::u32string_view glyph) {
        for (const auto& e : legend) {
            if (e.glyph == glyph) {
                return e.name;
            }
        }
        return std::string("(missing)");
    };
    EXPECT_EQ(nameOf(U"\u222A"), "unione");
    EXPECT_EQ(nameOf(U"\u2200"), "per ogni");
}

}  // namespace
