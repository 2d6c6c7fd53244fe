#include "ui/memory/memory_widgets.h"

#include <gtest/gtest.h>

#include "ui/memory/memory_services.h"
#include "ui/memory/scripted_dialogs.h"

namespace {

using namespace ui;
using namespace ui::memory;

// Counts the key events it sees and swallows what it is told to.
struct Listener : KeyListener {
    std::vector<std::string> seen;
    int swallowDown = 0;
    char swallowPress = 0;
    char replacePress = 0;

    void keyDown(KeyEvent& e) override {
        seen.push_back("down " + std::to_string(e.key));
        if (e.key == swallowDown) {
            e.key = 0;
        }
    }
    void keyPress(KeyPress& p) override {
        seen.push_back(std::string("press ") + p.ch);
        if (p.ch == swallowPress) {
            p.ch = 0;
        } else if (replacePress != 0) {
            p.ch = replacePress;
        }
    }
    void keyUp(KeyEvent& e) override { seen.push_back("up " + std::to_string(e.key)); }
};

TEST(MemoryTextBox, EditingCountsCrLfAsTwoAndNeverSplitsIt) {
    MemoryTextBox box;
    int changes = 0;
    box.setOnChange([&] { ++changes; });
    box.setText("ab\ncd");
    EXPECT_EQ(box.text(), "ab\r\ncd");
    EXPECT_EQ(box.selStart(), 0u);
    EXPECT_EQ(changes, 0) << "setting the text is not a user change";

    box.setSelStart(3);  // between CR and LF
    EXPECT_EQ(box.selStart(), 2u);
    box.setSelStart(6);
    box.typeDefault('x');
    EXPECT_EQ(box.text(), "ab\r\ncdx");
    EXPECT_EQ(box.selStart(), 7u);
    box.setSelStart(4);
    box.typeDefault(8);  // Backspace removes the whole line break
    EXPECT_EQ(box.text(), "abcdx");
    EXPECT_EQ(box.selStart(), 2u);
    box.typeDefault(13);
    EXPECT_EQ(box.text(), "ab\r\ncdx");
    EXPECT_EQ(box.selStart(), 4u);
    box.setSelStart(2);
    box.keyDownDefault(vk::kDelete, 0);
    EXPECT_EQ(box.text(), "abcdx");
    EXPECT_EQ(changes, 4);

    box.setSelection(1, 3);
    EXPECT_EQ(box.selText(), "bcd");
    box.setSelText("Z\nY");
    EXPECT_EQ(box.text(), "aZ\r\nYx");
    EXPECT_EQ(box.selStart(), 5u);
    EXPECT_EQ(box.selLength(), 0u);
    box.setSelection(4, 100);
    EXPECT_EQ(box.selText(), "Yx");
}

TEST(MemoryTextBox, ArrowsHomeEndAndShiftSelection) {
    MemoryTextBox box;
    box.setText("abc\r\nde\r\nfghij");
    box.setSelStart(2);
    box.keyDownDefault(vk::kDown, 0);
    EXPECT_EQ(box.selStart(), 7u) << "column 2 of a two-character line is its end";
    box.keyDownDefault(vk::kDown, 0);
    EXPECT_EQ(box.selStart(), 11u);
    box.keyDownDefault(vk::kDown, 0);
    EXPECT_EQ(box.selStart(), 11u);
    box.keyDownDefault(vk::kUp, 0);
    box.keyDownDefault(vk::kUp, 0);
    EXPECT_EQ(box.selStart(), 2u);
    box.keyDownDefault(vk::kEnd, 0);
    EXPECT_EQ(box.selStart(), 3u);
    box.keyDownDefault(vk::kRight, 0);
    EXPECT_EQ(box.selStart(), 5u);
    box.keyDownDefault(vk::kLeft, 0);
    EXPECT_EQ(box.selStart(), 3u);
    box.keyDownDefault(vk::kHome, shift::kShift);
    EXPECT_EQ(box.selStart(), 0u);
    EXPECT_EQ(box.selText(), "abc");
    box.keyDownDefault(vk::kRight, 0);
    EXPECT_EQ(box.selLength(), 0u);
}

TEST(MemoryTextBox, ClipboardAndReadOnly) {
    MemoryClipboard clipboard;
    MemoryTextBox box(true, nullptr, &clipboard);
    box.setText("uno due");
    box.cutToClipboard();  // nothing selected: nothing happens
    EXPECT_EQ(box.text(), "uno due");
    EXPECT_EQ(clipboard.text(), "");
    box.setSelection(0, 4);
    box.cutToClipboard();
    EXPECT_EQ(box.text(), "due");
    EXPECT_EQ(clipboard.text(), "uno ");
    box.setSelStart(3);
    box.pasteFromClipboard();
    EXPECT_EQ(box.text(), "dueuno ");
    box.setReadOnly(true);
    box.typeDefault('x');
    box.pasteFromClipboard();
    EXPECT_EQ(box.text(), "dueuno ");
}

TEST(MemoryWindow, ListenerSeesKeysFirstAndMaySwallowOrReplace) {
    MemoryWindow window;
    MemoryTextBox box(true, &window.focusScope());
    Listener listener;
    window.setKeyListener(&listener);
    box.setFocus();

    window.type("ab");
    EXPECT_EQ(box.text(), "ab");
    EXPECT_EQ(listener.seen.front(), "down 65");
    EXPECT_EQ(listener.seen.at(1), "press a");
    EXPECT_EQ(listener.seen.at(2), "up 65");

    listener.swallowPress = 'c';
    window.type("cd");
    EXPECT_EQ(box.text(), "abd");

    listener.replacePress = '_';
    window.type("e");
    EXPECT_EQ(box.text(), "abd_");

    listener.replacePress = 0;
    listener.swallowDown = vk::kLeft;
    window.pressKey(vk::kLeft);
    EXPECT_EQ(box.selStart(), 4u) << "a swallowed key down has no default action";
    listener.swallowDown = 0;
    window.pressKey(vk::kLeft);
    EXPECT_EQ(box.selStart(), 3u);
    window.pressKey(vk::kBack, 0, 8);
    EXPECT_EQ(box.text(), "ab_");
}

TEST(MemoryWindow, FocusMovesAndTellsTheBoxLeft) {
    MemoryWindow window;
    MemoryTextBox a(true, &window.focusScope());
    MemoryTextBox b(true, &window.focusScope());
    int exits = 0;
    a.setOnExit([&] { ++exits; });
    a.setFocus();
    EXPECT_TRUE(a.focused());
    b.setFocus();
    EXPECT_FALSE(a.focused());
    EXPECT_TRUE(b.focused());
    EXPECT_EQ(exits, 1);
    window.type("x");
    EXPECT_EQ(b.text(), "x");
    EXPECT_EQ(a.text(), "");
}

TEST(MemoryWindow, CloseAsksTheQueryAndResizeNotifies) {
    MemoryWindow window;
    bool allow = false;
    int resizes = 0;
    window.setOnCloseQuery([&] { return allow; });
    window.setOnResize([&] { ++resizes; });
    window.close();
    EXPECT_FALSE(window.closed());
    allow = true;
    window.close();
    EXPECT_TRUE(window.closed());
    window.setBounds({1, 2, 3, 4});
    EXPECT_EQ(resizes, 0) << "the logic's own bounds do not call it back";
    window.resize({0, 0, 640, 480});
    EXPECT_EQ(resizes, 1);
    EXPECT_EQ(window.clientWidth(), 640);
}

TEST(MemoryControls, DisabledControlsIgnoreClicksAndTabsNotifyOnlyTheUser) {
    MemoryControl button("Ok");
    int clicks = 0;
    button.setOnClick([&] { ++clicks; });
    EXPECT_TRUE(button.click());
    button.setEnabled(false);
    EXPECT_FALSE(button.click());
    EXPECT_EQ(clicks, 1);

    MemoryTabBar tabs;
    int changes = 0;
    tabs.setOnChange([&] { ++changes; });
    tabs.setTabs({"uno", "due", "tre"});
    EXPECT_EQ(tabs.tabIndex(), 0);
    tabs.setTabIndex(2);
    EXPECT_EQ(changes, 0);
    tabs.choose(1);
    EXPECT_EQ(tabs.tabIndex(), 1);
    EXPECT_EQ(changes, 1);
    tabs.setTabIndex(7);
    EXPECT_EQ(tabs.tabIndex(), 1);

    MemoryListBox list;
    list.add("a");
    list.add("b");
    list.setItemIndex(5);
    EXPECT_EQ(list.itemIndex(), -1);
    list.setItemIndex(1);
    EXPECT_EQ(list.item(list.itemIndex()), "b");
    EXPECT_EQ(list.item(9), "");

    MemoryTimer timer(200, false);
    int ticks = 0;
    timer.setOnTimer([&] { ++ticks; });
    EXPECT_FALSE(timer.fire());
    timer.setEnabled(true);
    EXPECT_TRUE(timer.fire());
    EXPECT_EQ(ticks, 1);
}

TEST(ScriptedDialogs, AnswersInOrderAndUnansweredQuestionsCancel) {
    ScriptedDialogs dialogs;
    dialogs.answer(Answer::Yes);
    dialogs.answerText("prova");
    dialogs.beep();
    dialogs.warning("attenzione");
    EXPECT_EQ(dialogs.question("Salvare?", Buttons::YesNoCancel), Answer::Yes);
    EXPECT_EQ(dialogs.question("Ancora?", Buttons::YesNoCancel), Answer::Cancel);
    EXPECT_EQ(dialogs.question("E poi?", Buttons::OkNo), Answer::No);
    EXPECT_EQ(dialogs.inputBox("c", "p", "v"), "prova");
    EXPECT_EQ(dialogs.saveFile({}), std::nullopt);
    EXPECT_EQ(dialogs.unanswered(), 3);
    EXPECT_TRUE(dialogs.allAnswersUsed());
    const std::vector<std::string> expected = {"beep", "warning:attenzione", "question:Salvare?",
                                               "question:Ancora?", "question:E poi?"};
    EXPECT_EQ(dialogs.transcript(), expected);
    EXPECT_EQ(dialogs.beeps(), 1);
}

}  // namespace
