#include "learning/calc_sheet.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "sheet_harness.h"

namespace {

using learning::SheetCommand;
using learning::testing::SheetHarness;
using testing::ElementsAre;
using testing::IsEmpty;
namespace vk = ui::vk;
namespace sh = ui::shift;

TEST(CalcSheet, TwoPlusThreeByTheKeyboard) {
    SheetHarness h;
    h.open("#b+#c", [&] {
        EXPECT_EQ(h.edit1.text(), "#b+#c");
        EXPECT_TRUE(h.memo1.visible());
        EXPECT_TRUE(h.memo1.focused());
        EXPECT_EQ(h.memo1.text(), "b+c=\r\n   =");
        EXPECT_EQ(h.memo1.selStart(), 4u);  // after the "="
        EXPECT_FALSE(h.edit10.visible());
        EXPECT_EQ(h.label2.caption(), "Input Tastiera");
        EXPECT_FALSE(h.item(SheetCommand::Aumentandecimali1).enabled());
        h.type("e");
        EXPECT_EQ(h.memo1.text(), "b+c=e\r\n   =");
        EXPECT_EQ(h.memo1.selStart(), 11u);  // the carry row's "="
        h.type(" ");
        EXPECT_EQ(h.status.caption(), "Esatto");
        EXPECT_TRUE(h.edit10.visible());
        EXPECT_EQ(h.edit10.text(), "#e");
        h.press('X', sh::kCtrl);
    });
    EXPECT_THAT(h.said(), ElementsAre("espressione  2+ 3", "2+3=", " 5", "  spazio ",
                                      "risultato  esatto  5"));
    EXPECT_EQ(h.clipboard.text(), "#e");
    EXPECT_FALSE(h.modal.open());
    EXPECT_THAT(h.dialogs.log(), IsEmpty());
}

TEST(CalcSheet, AWrongDigitIsCorrectedInItsRow) {
    SheetHarness h;
    h.open("#ab,e+#c", [&] {  // 12,5 + 3
        EXPECT_EQ(h.memo1.text(), "e+j=\r\nb+c=\r\na  =\r\n   =");
        h.type("eda ");
        EXPECT_EQ(h.status.caption(), "Sbagliato");
        EXPECT_EQ(h.edit10.text(), "#ad,e");
        EXPECT_TRUE(h.memo1.focused());
        h.press(vk::kUp);
        h.press(vk::kUp);
        EXPECT_EQ(h.lastSaid(), "2+3=4");  // the row with the student's digit
        h.type("e");
        EXPECT_EQ(h.status.caption(), "Esatto");
        EXPECT_EQ(h.edit10.text(), "#ae,e");
        EXPECT_EQ(h.memo1.text(), "e+j=e\r\nb+c=e\r\na  =a\r\n   = ");
    });
    const auto said = h.said();
    EXPECT_EQ(said.back(), "risultato  esatto  15 virgola 5");
    EXPECT_NE(std::find(said.begin(), said.end(), "risultato  sbagliato  14 virgola 5"),
              said.end());
}

TEST(CalcSheet, ArrowsSpeakTheRowAndKeepTheCaretAfterTheEqualsSign) {
    SheetHarness h;
    h.open("#c-#e", [&] {  // 3 - 5 is worked as 5 - 3
        EXPECT_EQ(h.memo1.text(), "e-c=\r\n   =");
        const std::size_t before = h.said().size();
        h.press(vk::kRight);
        h.press(vk::kLeft);
        EXPECT_EQ(h.memo1.selStart(), 4u);
        EXPECT_EQ(h.said().size(), before + 2);
        EXPECT_EQ(h.lastSaid(), "5 meno3=");
        h.press(vk::kDown);
        h.press(vk::kDown);  // no further than the last row
        EXPECT_EQ(h.memo1.selStart(), 10u);
        h.press(vk::kUp);
        h.type("b ");
        EXPECT_EQ(h.edit10.text(), "?-#b*");
        EXPECT_EQ(h.status.caption(), "Esatto");
    });
}

TEST(CalcSheet, RefusedOperationsLeaveTheSheetEmpty) {
    struct Case {
        std::string selection;
        std::vector<std::string> transcript;
    };
    const Case cases[] = {
        {"#e", {"beep", "warning:Espressione non valida"}},
        {"#b+#x", {"beep", "warning:Espressione non valida"}},
        {"#g/#j", {"beep", "warning:Divisione per zero"}},
        {"", {}},
    };
    for (const Case& c : cases) {
        SheetHarness h;
        h.open(c.selection, [&] {
            EXPECT_FALSE(h.memo1.visible()) << c.selection;
            EXPECT_FALSE(h.step(0).visible()) << c.selection;
            h.type("e");
            EXPECT_EQ(h.memo1.text(), "") << c.selection;
            h.press(vk::kEscape);
        });
        EXPECT_EQ(h.dialogs.transcript(), c.transcript) << c.selection;
        EXPECT_EQ(h.clipboard.text(), c.selection);  // closing copied nothing
        EXPECT_FALSE(h.modal.open());
    }
}

TEST(CalcSheet, OperandsTooLongAreCutAndSaidSo) {
    struct Case {
        std::string selection;
        std::string expression;
        std::vector<std::string> transcript;
    };
    const Case cases[] = {
        {"#abcdefghij+#a", "#abcdefghi+#a", {"message:Operatori troppo grandi"}},
        {"#abcdefghi(#a", "#abcdefgh(#a", {"beep", "message:Operatori troppo grandi"}},
        {"#ab/#abcdefg", "#ab/#abcde", {"beep", "message:Operatori troppo grandi"}},
    };
    for (const Case& c : cases) {
        SheetHarness h;
        h.open(c.selection, [&] { EXPECT_EQ(h.edit1.text(), c.expression) << c.selection; });
        EXPECT_EQ(h.dialogs.transcript(), c.transcript) << c.selection;
    }
}

TEST(CalcSheet, MultiplicationTablesThenTheFinalSum) {
    SheetHarness h;
    h.open("#ab(#ac", [&] {  // 12 x 13
        EXPECT_TRUE(h.partial(0).visible());
        EXPECT_TRUE(h.partial(1).visible());
        EXPECT_FALSE(h.partial(2).visible());
        EXPECT_FALSE(h.memo1.visible());
        EXPECT_TRUE(h.partial(0).focused());
        EXPECT_EQ(h.partial(0).selStart(), 4u);
        h.type("fc ");
        EXPECT_TRUE(h.partial(1).focused());
        EXPECT_EQ(h.partial(1).text(), "   =\r\nb(a=\r\na(a=\r\n   =");
        EXPECT_EQ(h.partial(1).selStart(), 10u);  // the table's first answer row is its second
        EXPECT_EQ(h.lastSaid(), "2 per 1=");
        h.type("ba ");
        EXPECT_TRUE(h.memo1.visible());
        EXPECT_TRUE(h.memo1.focused());
        EXPECT_EQ(h.memo1.text(), "f  =\r\nc+b=\r\n  a=\r\n   =\r\n   =");
        h.type("fda  ");
        EXPECT_EQ(h.status.caption(), "Sbagliato");
        EXPECT_EQ(h.edit10.text(), "#adf");
        for (int i = 0; i < 3; ++i) {
            h.press(vk::kUp);
        }
        h.type("e");
        EXPECT_EQ(h.status.caption(), "Esatto");
        EXPECT_EQ(h.edit10.text(), "#aef");
        h.press('V', sh::kCtrl);
    });
    EXPECT_EQ(h.clipboard.text(), "#ab(#ac = #aef");
}

TEST(CalcSheet, AOneDigitMultiplierNeedsNoSum) {
    SheetHarness h;
    h.open("-#a,b(#c", [&] {
        EXPECT_EQ(h.edit1.text(), "-#a,b(#c");
        h.type("fc ");
        EXPECT_EQ(h.status.caption(), "Esatto");
        EXPECT_EQ(h.edit10.text(), "?-#c,f*");
        EXPECT_FALSE(h.memo1.visible());
        h.button2.click();
    });
    EXPECT_EQ(h.clipboard.text(), "?-#c,f*");
}

TEST(CalcSheet, LongDivisionStepByStep) {
    SheetHarness h;
    h.open("#ajh/#e", [&] {  // 108 : 5
        EXPECT_TRUE(h.item(SheetCommand::Aumentandecimali1).enabled());
        EXPECT_TRUE(h.step(0).focused());
        EXPECT_EQ(h.step(0).text(), "aj/e= ");
        EXPECT_FALSE(h.step(1).visible());
        h.type("c");  // 15 > 10: refused
        EXPECT_EQ(h.step(0).text(), "aj/e= ");
        EXPECT_EQ(h.lastSaid(), "errato 3");
        h.type("b");
        EXPECT_EQ(h.step(0).text(), "aj/e= b");
        EXPECT_TRUE(h.step(1).visible());
        EXPECT_TRUE(h.step(1).focused());
        EXPECT_EQ(h.step(1).text(), "h/e= ");
        EXPECT_EQ(h.step(1).selStart(), 5u);
        h.type("a");
        EXPECT_EQ(h.status.caption(), "Esatto");
        EXPECT_EQ(h.edit10.text(), "#ba");
        EXPECT_TRUE(h.edit11.visible());
        EXPECT_EQ(h.edit11.text(), "#c");
        h.type("a");  // the division is over: the student hears so
        EXPECT_EQ(h.step(1).text(), "h/e= a");
        EXPECT_EQ(h.status.caption(), "Divisione terminata");
        EXPECT_EQ(h.dialogs.beeps(), 1);
        h.press(vk::kUp);
        EXPECT_TRUE(h.step(0).focused());
        EXPECT_EQ(h.status.caption(), "Esatto") << "the verdict comes back at the next key";
    });
    const auto said = h.said();
    ASSERT_GE(said.size(), 5u);
    EXPECT_THAT(std::vector<std::string>(said.end() - 5, said.end()),
                ElementsAre(" 1", "risultato  esatto  21", "resto 3", "Divisione terminata",
                            "10 diviso 5=2"));
}

// The remainder shown and spoken is the one of the numbers the student wrote, with its
// decimals, not the one of the numbers with the comma moved.
TEST(CalcSheet, RemainderOfADivisionByADecimal) {
    SheetHarness h;
    h.open("#a/#j,c", [&] {  // 1 : 0,3
        EXPECT_EQ(h.step(0).text(), "aj/c= ");
        h.type("c");
        EXPECT_EQ(h.status.caption(), "Esatto");
        EXPECT_EQ(h.edit10.text(), "#c");
        EXPECT_EQ(h.edit11.text(), "#j,a");
        EXPECT_EQ(h.lastSaid(), "resto 0 virgola 1");
        h.press(vk::kF2);  // one decimal: 3,3 and 0,01 left
        EXPECT_EQ(h.edit1.text(), "#a,j/#j,c");
        h.type("cc");
        EXPECT_EQ(h.status.caption(), "Esatto");
        EXPECT_EQ(h.edit10.text(), "#c,c");
        EXPECT_EQ(h.edit11.text(), "#j,ja");
        EXPECT_EQ(h.lastSaid(), "resto 0 virgola 01");
        h.press(vk::kEscape);
    });
}

// The remainder has the dividend's sign (-17 : 5 = -3 remainder -2), in the box and in words,
// and keeps it when F2 asks for decimals; the divisor's own minus stays where it was written.
TEST(CalcSheet, TheRemainderOfANegativeDividendIsNegative) {
    SheetHarness h;
    h.open("?-#ag*/#e", [&] {
        EXPECT_EQ(h.edit1.text(), "-#ag/#e");
        h.type("c");
        EXPECT_EQ(h.status.caption(), "Esatto");
        EXPECT_EQ(h.edit10.text(), "?-#c*");
        EXPECT_EQ(h.edit11.text(), "?-#b*");
        h.press(vk::kF2);
        EXPECT_EQ(h.edit1.text(), "-#ag,j/#e");
        h.type("cd");
        EXPECT_EQ(h.edit10.text(), "?-#c,d*");
        EXPECT_EQ(h.edit11.text(), "#j") << "-17 = -3,4 * 5";
        h.press(vk::kEscape);
    });
    h.open("#ag/-#e", [&] {
        EXPECT_EQ(h.edit1.text(), "#ag/-#e");
        h.type("c");
        EXPECT_EQ(h.edit10.text(), "?-#c*");
        EXPECT_EQ(h.edit11.text(), "#b");
        h.press(vk::kEscape);
    });
}

TEST(CalcSheet, DecimalsOfADivisionComeAndGoWithF2AndF3) {
    SheetHarness h;
    h.open("#g/#b", [&] {
        EXPECT_EQ(h.label1.caption(), "N.dec. 0");
        h.press(vk::kF2);
        EXPECT_EQ(h.edit1.text(), "#g,j/#b");
        EXPECT_EQ(h.label1.caption(), "N.dec. 1");
        EXPECT_EQ(h.step(0).text(), "g/b= ");
        h.type("c");
        EXPECT_EQ(h.step(1).text(), "aj/b= ");
        h.type("e");
        EXPECT_EQ(h.edit10.text(), "#c,e");
        EXPECT_EQ(h.edit11.text(), "#j");
        h.press(vk::kF3);
        EXPECT_EQ(h.edit1.text(), "#g/#b");
        EXPECT_EQ(h.label1.caption(), "N.dec. 0");
        EXPECT_FALSE(h.edit10.visible());
        EXPECT_FALSE(h.step(1).visible());
        EXPECT_EQ(h.dialogs.beeps(), 0);
        h.press(vk::kF3);  // not below none
        EXPECT_EQ(h.dialogs.beeps(), 1);
        for (int i = 0; i < 5; ++i) {
            h.press(vk::kF2);
        }
        EXPECT_EQ(h.edit1.text(), "#g,jjjj/#b");  // four at most
        EXPECT_EQ(h.dialogs.beeps(), 2);
        h.press(vk::kEscape);
    });
    // The student's own text stays on the clipboard for the main window to put back.
    EXPECT_EQ(h.clipboard.text(), "#g/#b");
}

TEST(CalcSheet, OverflowAtTheEighthStepLine) {
    SheetHarness h;
    h.open("#abcdefgh/#b", [&] {
        for (int i = 0; i < 4; ++i) {
            h.press(vk::kF2);
        }
        EXPECT_EQ(h.edit1.text(), "#abcdefgh,jjjj/#b");  // twelve digits, not cut
        EXPECT_THAT(h.dialogs.log(), IsEmpty());
        h.type("fagbhci");  // 12345678 : 2 = 6172839
        EXPECT_TRUE(h.step(7).visible());
        EXPECT_EQ(h.status.caption(), "");
        h.type("j");
        EXPECT_EQ(h.status.caption(), "Overflow");
        EXPECT_EQ(h.edit10.text(), "#fagbhci,j");
        EXPECT_FALSE(h.edit11.visible());
    });
    // Heard as well as shown, after the result.
    const auto said = h.said();
    ASSERT_GE(said.size(), 2u);
    EXPECT_THAT(std::vector<std::string>(said.end() - 2, said.end()),
                ElementsAre("risultato  sbagliato  6172839 virgola 0", "Overflow"));
}

TEST(CalcSheet, EveryWayOfClosing) {
    struct Case {
        std::string name;
        std::function<void(SheetHarness&)> close;
        std::string clipboard;
    };
    const Case cases[] = {
        {"Ctrl+X", [](SheetHarness& h) { h.press('X', sh::kCtrl); }, "#e"},
        {"Ctrl+V", [](SheetHarness& h) { h.press('V', sh::kCtrl); }, "#b+#c = #e"},
        {"Esc", [](SheetHarness& h) { h.press(vk::kEscape); }, "#e"},
        {"button Esci", [](SheetHarness& h) { h.button1.click(); }, "#b+#c"},
        {"button Mem. risultato", [](SheetHarness& h) { h.button2.click(); }, "#e"},
        {"button Mem. espressione", [](SheetHarness& h) { h.button3.click(); }, "#b+#c=#e"},
        {"the window", [](SheetHarness& h) { h.form.close(); }, "#e"},
    };
    for (const Case& c : cases) {
        SheetHarness h;
        h.open("#b+#c", [&] {
            h.type("e ");
            c.close(h);
        });
        EXPECT_EQ(h.clipboard.text(), c.clipboard) << c.name;
    }
    // Without a result nothing is copied.
    SheetHarness h;
    h.open("#b+#c", [&] { h.press('X', sh::kCtrl); });
    EXPECT_EQ(h.clipboard.text(), "#b+#c");
}

TEST(CalcSheet, OpenedFromAnotherToolWithoutItsCopyEntries) {
    SheetHarness h;
    const std::string answer = h.openFromTool("#e(#b", [&] {
        EXPECT_TRUE(h.sheet->openedFromTool());
        EXPECT_FALSE(h.item(SheetCommand::Copiarisultatoedesci1).visible());
        EXPECT_FALSE(h.item(SheetCommand::Copiaesprrisultatoedesci1).visible());
        EXPECT_TRUE(h.item(SheetCommand::Esci1).visible());
        h.type("ja");
        EXPECT_EQ(h.edit10.text(), "#aj");
        h.press('X', sh::kCtrl);  // the keys still work
    });
    EXPECT_EQ(answer, "#aj");
    EXPECT_EQ(h.clipboard.text(), "#aj");

    // Opened again from the main window: the entries are back.
    h.open("#b+#c", [&] {
        EXPECT_FALSE(h.sheet->openedFromTool());
        EXPECT_TRUE(h.item(SheetCommand::Copiarisultatoedesci1).visible());
    });
    EXPECT_EQ(h.openFromTool("#b+#c", [&] { h.button1.click(); }), "#b+#c");
}

TEST(CalcSheet, RestartOncePerKeyPress) {
    SheetHarness h;
    h.open("#b+#c", [&] {
        h.type("d");
        h.form.keyDown(vk::kF1, sh::kShift);
        h.form.keyDown(vk::kF1, sh::kShift);  // the key repeats while held
        h.form.keyUp(vk::kF1, sh::kShift);
        EXPECT_EQ(h.memo1.text(), "b+c=\r\n   =");
        h.type("e ");
        EXPECT_EQ(h.status.caption(), "Esatto");
        h.button4.click();
        EXPECT_EQ(h.status.caption(), "");
        EXPECT_FALSE(h.edit10.visible());
        h.button4.click();  // a click is not a key: each one restarts
    });
    const auto said = h.said();
    EXPECT_EQ(std::count(said.begin(), said.end(), "espressione  2+ 3"), 4);
}

TEST(CalcSheet, ChordInputAndTheKeypad) {
    SheetHarness h;
    h.chordInput = true;
    h.chordInterval = 150;
    h.open("#b+#c", [&] {
        EXPECT_EQ(h.label2.caption(), "Input DattiloBraille");
        EXPECT_EQ(h.timer1.interval(), 150);
        // F and K together: dots 1 and 5, the cell "e".
        h.form.keyDown('F');
        h.form.keyPress('f');
        h.form.keyDown('K');
        h.form.keyPress('k');
        h.form.keyUp('F');
        h.form.keyUp('K');
        EXPECT_EQ(h.memo1.text(), "b+c=\r\n   =");
        EXPECT_TRUE(h.timer1.enabled());
        h.timer1.fire();
        EXPECT_FALSE(h.timer1.enabled());
        EXPECT_EQ(h.memo1.text(), "b+c=e\r\n   =");
        h.form.keyDown(vk::kSpace);
        h.form.keyPress(' ');
        h.form.keyUp(vk::kSpace);
        h.timer1.fire();
        EXPECT_EQ(h.status.caption(), "Esatto");
    });
    EXPECT_THAT(h.said(), ElementsAre("espressione  2+ 3", "2+3=", " 5", "  spazio ",
                                      "risultato  esatto  5"));

    SheetHarness k;
    k.keyboard.numLock = true;
    k.open("#b+#c", [&] {
        EXPECT_EQ(k.label2.caption(), "Input Tastiera");
        k.press(vk::kNumpad0 + 5, 0, '5');
        k.press('0', 0, '0');
        EXPECT_EQ(k.status.caption(), "Esatto");
        EXPECT_EQ(k.memo1.text(), "b+c=e\r\n   =j");
    });
}

TEST(CalcSheet, TheVoiceFollowsTheMainWindowEachTimeItOpens) {
    SheetHarness h;
    h.speechOn = false;
    h.open("#b+#c", [&] {
        EXPECT_FALSE(h.item(SheetCommand::Disattivasintesivocale1).visible());
        h.type("e ");
    });
    EXPECT_THAT(h.said(), IsEmpty());
    EXPECT_FALSE(h.voice->on());

    // The main window speaks again: so does the sheet, the next time it opens.
    h.speechOn = true;
    h.open("#b+#c", [&] {
        ui::memory::MemoryControl& entry = h.item(SheetCommand::Disattivasintesivocale1);
        EXPECT_TRUE(entry.visible());
        EXPECT_EQ(entry.caption(), "Disattiva sintesi vocale");
        EXPECT_TRUE(h.said().size() >= 1u);
        // Its own switch has a key of its own, F7 as in the main window.
        h.press(vk::kF7);
        EXPECT_EQ(entry.caption(), "Attiva sintesi vocale");
        EXPECT_EQ(h.lastSaid(), "sintesi vocale disattivata");
        const std::size_t before = h.said().size();
        h.type("e");
        EXPECT_EQ(h.said().size(), before) << "off for this showing";
        h.press(vk::kF7);
        EXPECT_EQ(h.lastSaid(), "sintesi vocale attivata");
        h.press(vk::kF7);
    });
    h.open("#b+#c", [&] { EXPECT_TRUE(h.voice->on()) << "switched off in the sheet only"; });
}

TEST(CalcSheet, KeysThatCannotActSayWhy) {
    SheetHarness h;
    // The decimals are a division's: F2 and F3 say so in an addition; so do keys no digit
    // is typed with, and free function keys.
    h.open("#b+#c", [&] {
        const std::string rows = h.memo1.text();
        const struct {
            int key;
            char ch;
            const char* reason;
        } keys[] = {
            {vk::kF2, 0, "Solo nella divisione"},
            {vk::kF3, 0, "Solo nella divisione"},
            {'K', 'k', "Solo cifre, lettere da A a J"},
            {vk::kBack, '\b', "Solo cifre, lettere da A a J"},
            {vk::kF5, 0, "Tasto non assegnato"},
        };
        for (const auto& k : keys) {
            h.dialogs.clearLog();
            h.press(k.key, 0, k.ch);
            EXPECT_EQ(h.dialogs.beeps(), 1) << k.reason;
            EXPECT_EQ(h.status.caption(), k.reason);
            EXPECT_EQ(h.lastSaid(), k.reason);
        }
        EXPECT_EQ(h.memo1.text(), rows);
        h.type("e ");
        EXPECT_EQ(h.status.caption(), "Esatto");
    });
    // The limits of the decimals are said too.
    h.open("#g/#b", [&] {
        h.press(vk::kF3);
        EXPECT_EQ(h.lastSaid(), "Nessun decimale da togliere");
        for (int i = 0; i < 5; ++i) {
            h.press(vk::kF2);
        }
        EXPECT_EQ(h.lastSaid(), "Al massimo 4 decimali");
        EXPECT_EQ(h.status.caption(), "Al massimo 4 decimali");
    });
}

}  // namespace
