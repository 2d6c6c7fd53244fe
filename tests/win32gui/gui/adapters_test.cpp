// The Win32 adapter on real controls: positions that count CR LF as two, every byte of code
// page 1252 through the controls and the clipboard, pictures on the clipboard, keys meeting the
// window's listener before the focused control, the dialog keys, and menus built from a table.

#include <algorithm>
#include <array>
#include <cstring>

#include "editor/window/menu_commands.h"
#include "ui/control_spec.h"
#include "win32gui/controls/control_set.h"
#include "win32gui/controls/win32_menu.h"
#include "win32gui/services/win32_services.h"
#include "window_harness.h"

namespace {

using K = ui::ControlKind;
using ui::ControlSpec;
using win32_test::key;
using win32_test::settle;
using win32_test::tap;
using win32_test::type;

constexpr std::array kTable = {
    ControlSpec{"Label", K::Label, "Testo", {10, 10, 200, 20}},
    ControlSpec{"Memo", K::Memo, {}, {10, 34, 300, 120}},
    ControlSpec{"Line", K::LineEdit, {}, {10, 160, 300, 24}},
    ControlSpec{"List", K::ListBox, {}, {320, 10, 150, 100}, "Elenco"},
    ControlSpec{"Tabs", K::TabBar, {}, {320, 120, 150, 26}, "Schede"},
    ControlSpec{"Uno", K::RadioButton, "Uno", {10, 190, 100, 22}},
    ControlSpec{"Due", K::RadioButton, "Due", {120, 190, 100, 22}},
    ControlSpec{"Premi", K::Button, "&Premi", {10, 220, 100, 26}},
};

// Records the keys the window's logic meets, and changes some of them as a test asks.
struct Listener : ui::KeyListener {
    std::vector<std::string> events;
    char swallowPress = 0;
    char replaceFrom = 0;
    char replaceTo = 0;
    int swallowDown = 0;

    void keyDown(ui::KeyEvent& e) override {
        events.push_back("down " + std::to_string(e.key));
        if (e.key == swallowDown) {
            e.key = 0;
        }
    }
    void keyPress(ui::KeyPress& p) override {
        events.push_back(std::string("press ") + p.ch);
        if (p.ch == swallowPress) {
            p.ch = 0;
        } else if (p.ch == replaceFrom) {
            p.ch = replaceTo;
        }
    }
    void keyUp(ui::KeyEvent& e) override { events.push_back("up " + std::to_string(e.key)); }
};

class AdapterTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { OleInitialize(nullptr); }

    void SetUp() override {
        window = std::make_unique<win32gui::Win32Window>(
            win32gui::WindowOptions{.clientWidth = 480, .clientHeight = 260});
        controls = std::make_unique<win32gui::ControlSet>(*window, kTable,
                                                          [this] { return clipboard.text(); });
        window->setCaption("Prova");
        window->setVisible(true);
        ASSERT_TRUE(win32_test::toFront(window->handle())) << "the window never came to the front";
    }

    void TearDown() override {
        window->setKeyListener(nullptr);
        controls.reset();
        window.reset();
        win32gui::processPendingMessages();
    }

    win32gui::Win32Clipboard clipboard;
    std::unique_ptr<win32gui::Win32Window> window;
    std::unique_ptr<win32gui::ControlSet> controls;
};

TEST_F(AdapterTest, EditPositionsCountALineBreakAsTwoAndNeverSplitIt) {
    win32gui::Win32TextBox& memo = controls->textBox("Memo");
    int changes = 0;
    memo.setOnChange([&] { ++changes; });

    memo.setText("ab\ncd\ref\r\ngh");
    EXPECT_EQ(memo.text(), "ab\r\ncd\r\nef\r\ngh") << "every line break held as CR LF";
    EXPECT_EQ(changes, 0) << "the logic's own text raises no change";
    EXPECT_EQ(memo.selStart(), 0u);

    memo.setSelection(4, 2);
    EXPECT_EQ(memo.selText(), "cd");
    memo.setSelStart(3);  // between CR and LF of the first line break
    EXPECT_EQ(memo.selStart(), 2u) << "a caret between CR and LF goes to the end of its line";
    memo.setSelection(3, 3);
    EXPECT_EQ(memo.selStart(), 2u);
    EXPECT_EQ(memo.selText(), "\r\nc") << "a selection never starts inside a line break";
    memo.setSelection(12, 100);
    EXPECT_EQ(memo.selText(), "gh") << "a selection past the end stops at the end";

    memo.setSelection(4, 2);
    memo.setSelText("X\nY");
    EXPECT_EQ(memo.text(), "ab\r\nX\r\nY\r\nef\r\ngh");
    EXPECT_EQ(memo.selStart(), 8u) << "the caret after what went in";
    EXPECT_EQ(memo.selLength(), 0u);
    EXPECT_EQ(changes, 1) << "an edit like typing raises one change";

    // The user's own typing counts the same way.
    memo.setFocus();
    memo.setSelStart(memo.text().size());
    tap(VK_RETURN);
    type("z");
    settle();
    EXPECT_EQ(memo.text(), "ab\r\nX\r\nY\r\nef\r\ngh\r\nz");
    EXPECT_EQ(memo.selStart(), memo.text().size());
    EXPECT_GE(changes, 3);
}

TEST_F(AdapterTest, EveryByteOfTheCodePageGoesThroughTheControlsUnchanged) {
    std::string all;
    for (int b = 0x20; b < 0x100; ++b) {
        all += static_cast<char>(b);
    }
    win32gui::Win32TextBox& memo = controls->textBox("Memo");
    memo.setText(all);
    EXPECT_EQ(memo.text(), all);
    // What the control really holds: the euro sign, not the byte 0x80.
    wchar_t shown[8] = {};
    GetWindowTextW(controls->handle("Line"), shown, 8);
    controls->textBox("Line").setText("\x80\x92\x9F");
    GetWindowTextW(controls->handle("Line"), shown, 8);
    EXPECT_EQ(std::wstring(shown), L"\u20AC\u2019\u0178");
    EXPECT_EQ(controls->textBox("Line").text(), "\x80\x92\x9F");

    ui::Control& label = controls->control("Label");
    label.setCaption("perch\xE9 \x80 \x84virgolette\x93");
    EXPECT_EQ(label.caption(), "perch\xE9 \x80 \x84virgolette\x93");
    window->setCaption("Tattilo  - \x80.mtf - modalit\xE0 Braille");
    EXPECT_EQ(window->caption(), "Tattilo  - \x80.mtf - modalit\xE0 Braille");

    win32gui::Win32ListBox& list = controls->listBox("List");
    list.add("\x96 meno \x96");
    list.add("\xB1");
    EXPECT_EQ(list.count(), 2);
    EXPECT_EQ(list.item(0), "\x96 meno \x96");
    list.setItemIndex(1);
    EXPECT_EQ(list.itemIndex(), 1);
    list.setItemIndex(7);
    EXPECT_EQ(list.itemIndex(), -1);

    win32gui::Win32TabBar& tabs = controls->tabBar("Tabs");
    int chosen = 0;
    tabs.setOnChange([&] { ++chosen; });
    tabs.setTabs({"Pag.  1", "Pag.\x80"});
    EXPECT_EQ(tabs.count(), 2);
    EXPECT_EQ(tabs.tabCaption(1), "Pag.\x80");
    tabs.setTabIndex(1);
    EXPECT_EQ(tabs.tabIndex(), 1);
    EXPECT_EQ(chosen, 0) << "the logic's own choice raises nothing";
}

TEST_F(AdapterTest, TheClipboardHoldsProgramTextAndPictures) {
    // Put there by another program, with line feeds alone: a paste brings CR LF.
    ASSERT_TRUE(OpenClipboard(window->handle()));
    EmptyClipboard();
    const std::wstring other = L"uno\ndue \u20AC";
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (other.size() + 1) * sizeof(wchar_t));
    std::memcpy(GlobalLock(memory), other.c_str(), (other.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
    EXPECT_EQ(clipboard.text(), "uno\r\ndue \x80");

    win32gui::Win32TextBox& memo = controls->textBox("Memo");
    memo.setText("[]");
    memo.setSelStart(1);
    memo.pasteFromClipboard();
    EXPECT_EQ(memo.text(), "[uno\r\ndue \x80]");
    EXPECT_EQ(memo.selStart(), 11u);

    clipboard.setText("a\x80\x9C");
    EXPECT_EQ(clipboard.text(), "a\x80\x9C");
    EXPECT_FALSE(clipboard.hasBitmap());

    ui::Bitmap picture;
    picture.width = 3;
    picture.height = 2;
    picture.pixels = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF, 0xFF000000, 0xFF808080};
    clipboard.setBitmap(picture);
    EXPECT_TRUE(clipboard.hasBitmap());
    const ui::Bitmap back = clipboard.bitmap();
    EXPECT_EQ(back.width, 3);
    EXPECT_EQ(back.height, 2);
    EXPECT_EQ(back.pixels, picture.pixels);
    clipboard.clear();
    EXPECT_FALSE(clipboard.hasBitmap());
    EXPECT_EQ(clipboard.text(), "");
}

TEST_F(AdapterTest, TheWindowSeesEveryKeyBeforeTheFocusedControl) {
    Listener keys;
    window->setKeyListener(&keys);
    win32gui::Win32TextBox& memo = controls->textBox("Memo");
    memo.setFocus();

    type("a");
    settle();
    EXPECT_EQ(memo.text(), "a");
    EXPECT_EQ(keys.events, (std::vector<std::string>{"down 65", "press a", "up 65"}));

    // A character swallowed, one replaced, a key down swallowed: nothing typed twice or lost.
    keys.events.clear();
    keys.swallowPress = 'b';
    keys.replaceFrom = 'c';
    keys.replaceTo = 'X';
    keys.swallowDown = 'D';
    type("bcde");
    settle();
    EXPECT_EQ(memo.text(), "aXe");
    EXPECT_EQ(std::count(keys.events.begin(), keys.events.end(), "press d"), 0)
        << "a key swallowed at its key down types nothing";

    // Keys that overlap, as in fast typing: each goes in once, in order.
    keys.events.clear();
    keys.swallowDown = 0;
    key('F', false);
    key('G', false);
    key('F', true);
    key('G', true);
    settle();
    EXPECT_EQ(memo.text(), "aXefg");
    EXPECT_EQ(keys.events, (std::vector<std::string>{"down 70", "press f", "down 71", "press g",
                                                     "up 70", "up 71"}));

    // Modifiers as the logic expects them.
    keys.events.clear();
    win32_test::chord({VK_CONTROL, VK_SHIFT}, VK_F12);
    settle();
    ASSERT_FALSE(keys.events.empty());
    EXPECT_EQ(keys.events[2], "down 123");
}

TEST_F(AdapterTest, TabEnterAndTheArrowsMoveAsInADialog) {
    Listener keys;
    window->setKeyListener(&keys);
    controls->textBox("Memo").setFocus();
    tap(VK_TAB);
    settle();
    EXPECT_TRUE(controls->textBox("Line").focused()) << "Tab leaves even a multi-line box";
    EXPECT_EQ(controls->textBox("Memo").text(), "") << "and types no tab";
    win32_test::chord({VK_SHIFT}, VK_TAB);
    settle();
    EXPECT_TRUE(controls->textBox("Memo").focused());

    // The arrows within a group of radio buttons choose the next one.
    int uno = 0;
    int due = 0;
    controls->control("Uno").setOnClick([&] { ++uno; });
    controls->control("Due").setOnClick([&] { ++due; });
    controls->control("Uno").setChecked(true);
    controls->control("Uno").setFocus();
    tap(VK_DOWN);
    settle();
    EXPECT_TRUE(controls->control("Due").checked());
    EXPECT_FALSE(controls->control("Uno").checked());
    EXPECT_TRUE(controls->control("Due").focused());
    EXPECT_EQ(due, 1);
    EXPECT_EQ(uno, 0) << "setting a check from the logic raises nothing";

    // Enter and Space press a focused button.
    int pressed = 0;
    controls->control("Premi").setOnClick([&] { ++pressed; });
    controls->control("Premi").setFocus();
    tap(VK_RETURN);
    tap(VK_SPACE);
    settle();
    EXPECT_EQ(pressed, 2);
}

TEST_F(AdapterTest, MenusComeFromTheCommandTableWithTheirShortcuts) {
    win32gui::Win32MenuBar menu;
    menu.build(editor::menuTable(), [](const ui::Shortcut& s) { return editor::shortcutText(s); });
    menu.setWindow(window->handle());
    window->setMenuBar(&menu);
    auto text = [](HMENU m, int position) {
        wchar_t buffer[128] = {};
        GetMenuStringW(m, static_cast<UINT>(position), buffer, 128, MF_BYPOSITION);
        return win32gui::narrow(buffer);
    };
    HMENU bar = GetMenu(window->handle());
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(text(bar, 0), "File");
    HMENU file = menu.popupOf(static_cast<int>(editor::Command::MenuFile));
    EXPECT_EQ(text(file, 0), "Nuovo\tCtrl+N");
    EXPECT_EQ(text(file, 1), "Apri\tCtrl+F12");
    EXPECT_EQ(text(file, 5), "Stampa\tCtrl+Shift+F12");

    // Hidden items are out of their menu and come back in their place.
    const int items = GetMenuItemCount(file);
    ui::Control& salva = menu.item(static_cast<int>(editor::Command::Salva1));
    salva.setVisible(false);
    EXPECT_EQ(GetMenuItemCount(file), items - 1);
    EXPECT_EQ(text(file, 2), "Salva con nome\tCtrl+T");
    salva.setVisible(true);
    EXPECT_EQ(text(file, 2), "Salva\tShift+F12");
    salva.setEnabled(false);
    EXPECT_NE(GetMenuState(file, 2, MF_BYPOSITION) & MF_GRAYED, 0u);
    salva.setCaption("Salva ora");
    EXPECT_EQ(text(file, 2), "Salva ora\tShift+F12");

    // A menu of the bar hidden and shown again.
    const int menus = GetMenuItemCount(bar);
    menu.item(static_cast<int>(editor::Command::MenuModifica)).setVisible(false);
    EXPECT_EQ(GetMenuItemCount(bar), menus - 1);
    EXPECT_EQ(text(bar, 1), "Pagina");
    menu.item(static_cast<int>(editor::Command::MenuModifica)).setVisible(true);
    EXPECT_EQ(text(bar, 1), "Modifica");

    // Choosing an item runs its handler.
    int opened = 0;
    menu.item(static_cast<int>(editor::Command::Apri1)).setOnClick([&] { ++opened; });
    SendMessageW(window->handle(), WM_COMMAND, GetMenuItemID(file, 1), 0);
    EXPECT_EQ(opened, 1);
    window->setMenuBar(nullptr);
}

}  // namespace

namespace {

constexpr std::array kListTable = {
    ControlSpec{"Lines", K::CheckList, {}, {10, 10, 300, 120}, "Componenti"},
    ControlSpec{"Bar", K::ProgressBar, {}, {10, 140, 300, 20}, "Avanzamento"},
    ControlSpec{"LabelDir", K::Label, "Cartella", {10, 170, 80, 20}},
    ControlSpec{"Dir", K::ComboBox, {}, {100, 170, 200, 24}},
};

TEST_F(AdapterTest, CheckListsLeaveTheMarksToTheLogic) {
    win32gui::ControlSet lists(*window, kListTable, {});
    win32gui::Win32CheckList& checks = lists.checkList("Lines");
    std::vector<int> toggled;
    int selected = 0;
    checks.setOnToggle([&](int i) { toggled.push_back(i); });
    checks.setOnSelect([&] { ++selected; });
    checks.setLines({{"Programma", 1, {}}, {"Documentazione", 2, 0xFF0000}, {"Extra", 0, {}}});
    EXPECT_EQ(checks.count(), 3);
    EXPECT_EQ(checks.line(1), (ui::CheckLine{"Documentazione", 2, 0xFF0000}));
    EXPECT_EQ(selected, 0) << "the logic's own lines raise nothing";
    checks.setItemIndex(2);
    EXPECT_EQ(checks.itemIndex(), 2);
    EXPECT_EQ(selected, 0);

    // Space on a line asks the logic; the mark stays until the logic sets it.
    checks.setFocus();
    tap(VK_SPACE);
    settle();
    ASSERT_EQ(toggled, std::vector<int>{2});
    EXPECT_EQ(checks.line(2).mark, 0);
    EXPECT_EQ(ListView_GetItemState(lists.handle("Lines"), 2, LVIS_STATEIMAGEMASK),
              INDEXTOSTATEIMAGEMASK(1u));
    checks.setLine(2, {"Extra", 1, {}});
    EXPECT_EQ(ListView_GetItemState(lists.handle("Lines"), 2, LVIS_STATEIMAGEMASK),
              INDEXTOSTATEIMAGEMASK(2u));
    tap(VK_UP);
    settle();
    EXPECT_EQ(checks.itemIndex(), 1);
    EXPECT_EQ(selected, 1) << "the user's choice of another line";
    // A partly checked line asks the same (the list's own toggle would leave it alone).
    tap(VK_SPACE);
    settle();
    EXPECT_EQ(toggled, (std::vector<int>{2, 1}));
    EXPECT_EQ(checks.line(1).mark, 2);

    win32gui::Win32ProgressBar& bar = lists.progressBar("Bar");
    bar.setRange(0, 65535);
    bar.setPosition(40000);
    EXPECT_EQ(bar.position(), 40000);

    win32gui::Win32ComboBox& dir = lists.comboBox("Dir");
    int changes = 0;
    dir.setOnChange([&] { ++changes; });
    dir.setItems({"C:\\Tattilo", "D:\\Tattilo"});
    dir.setText("C:\\Tattilo");
    EXPECT_EQ(dir.items(), (std::vector<std::string>{"C:\\Tattilo", "D:\\Tattilo"}));
    EXPECT_EQ(changes, 0);
    dir.setFocus();
    EXPECT_TRUE(dir.focused()) << "the focus is in its field";
    SendMessageW(lists.handle("Dir"), CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
    type("E:\\x");
    settle();
    EXPECT_EQ(dir.text(), "E:\\x");
    EXPECT_GT(changes, 0);
    window->setKeyListener(nullptr);
}

}  // namespace

namespace {

constexpr std::array kDialog = {
    ControlSpec{"NameLabel", K::Label, "&Nome", {10, 10, 80, 20}},
    ControlSpec{"Line", K::LineEdit, {}, {100, 8, 200, 24}},
    ControlSpec{"Memo", K::Memo, {}, {10, 40, 140, 60}, "Appunti"},
    ControlSpec{"ReadOnly", K::Memo, {}, {160, 40, 140, 60}, "Testo"},
    ControlSpec{"List", K::ListBox, {}, {10, 106, 140, 60}, "Elenco"},
    ControlSpec{"Check", K::CheckBox, "&Spunta", {160, 106, 140, 22}},
    ControlSpec{"Ok", K::Button, "Ok", {10, 176, 90, 26}},
    ControlSpec{"Cancel", K::Button, "Annulla", {110, 176, 90, 26}},
};

bool drawnAsDefault(HWND button) {
    return (GetWindowLongW(button, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
}

// A dialog of the program: a window without a menu bar, with a default button.
class DialogKeysTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { OleInitialize(nullptr); }

    void SetUp() override {
        window = std::make_unique<win32gui::Win32Window>(
            win32gui::WindowOptions{.clientWidth = 320, .clientHeight = 210, .dialog = true});
        controls =
            std::make_unique<win32gui::ControlSet>(*window, kDialog, [] { return std::string(); });
        controls->textBox("ReadOnly").setReadOnly(true);
        controls->listBox("List").add("uno");
        controls->listBox("List").add("due");
        controls->control("Ok").setOnClick([this] { ++ok; });
        controls->control("Cancel").setOnClick([this] { ++cancel; });
        window->setDefaultButton(controls->handle("Ok"));
        window->setOnCloseQuery([this] {
            ++closeAsked;
            return false;
        });
        window->setCaption("Dialogo");
        window->setVisible(true);
        ASSERT_TRUE(win32_test::toFront(window->handle())) << "the window never came to the front";
    }
    void TearDown() override {
        window->setOnCloseQuery({});
        controls.reset();
        window.reset();
        win32gui::processPendingMessages();
    }

    std::unique_ptr<win32gui::Win32Window> window;
    std::unique_ptr<win32gui::ControlSet> controls;
    int ok = 0;
    int cancel = 0;
    int closeAsked = 0;
};

TEST_F(DialogKeysTest, ReturnPressesTheDefaultButtonFromAnyControlThatDoesNotTakeIt) {
    struct Case {
        const char* from;
        int ok;      // presses of "Ok" after Return
        int cancel;  // of "Annulla"
    };
    const Case cases[] = {
        {"Line", 1, 0},     {"List", 1, 0}, {"Check", 1, 0},
        {"ReadOnly", 1, 0}, {"Memo", 0, 0},  // a box that can be typed in keeps its Return
        {"Cancel", 0, 1},                    // a focused push button is pressed itself
    };
    for (const Case& c : cases) {
        ok = cancel = 0;
        controls->textBox("Memo").setText("");
        controls->widget(c.from).setFocus();
        tap(VK_RETURN);
        settle();
        EXPECT_EQ(ok, c.ok) << "Return from " << c.from;
        EXPECT_EQ(cancel, c.cancel) << "Return from " << c.from;
        if (std::string_view(c.from) == "Memo") {
            EXPECT_EQ(controls->textBox("Memo").text(), "\r\n");
        }
    }
    // A default button that cannot be pressed is not.
    ok = 0;
    controls->control("Ok").setEnabled(false);
    controls->widget("Line").setFocus();
    tap(VK_RETURN);
    settle();
    EXPECT_EQ(ok, 0);
}

TEST_F(DialogKeysTest, TheDefaultButtonIsDrawnSoAndMovesToAFocusedPushButton) {
    HWND okButton = controls->handle("Ok");
    HWND cancelButton = controls->handle("Cancel");
    struct Case {
        const char* focus;
        HWND marked;
    };
    const Case cases[] = {{"Line", okButton}, {"Cancel", cancelButton}, {"List", okButton},
                          {"Ok", okButton},   {"Cancel", cancelButton}, {"Check", okButton}};
    for (const Case& c : cases) {
        controls->widget(c.focus).setFocus();
        settle(60);
        EXPECT_EQ(drawnAsDefault(okButton), c.marked == okButton) << "focus on " << c.focus;
        EXPECT_EQ(drawnAsDefault(cancelButton), c.marked == cancelButton) << "focus on " << c.focus;
    }
    // Tab goes through the buttons as well: the mark follows the keys, not only the logic.
    controls->widget("Ok").setFocus();
    tap(VK_TAB);
    settle();
    EXPECT_TRUE(controls->control("Cancel").focused());
    EXPECT_TRUE(drawnAsDefault(cancelButton));
    EXPECT_FALSE(drawnAsDefault(okButton));
}

TEST_F(DialogKeysTest, EscAndTheAccessLettersOfAWindowWithoutMenus) {
    // Esc closes only a window that leaves Esc to its close query.
    controls->widget("Line").setFocus();
    tap(VK_ESCAPE);
    settle();
    EXPECT_EQ(closeAsked, 0);
    window->setEscapeCloses(true);
    tap(VK_ESCAPE);
    settle();
    EXPECT_EQ(closeAsked, 1);
    EXPECT_EQ(controls->textBox("Line").text(), "") << "Esc types nothing";

    // Alt with a label's letter: the field after it, all selected; with a check box's: ticked.
    controls->textBox("Line").setText("Maria");
    controls->widget("List").setFocus();
    win32_test::chord({VK_MENU}, 'N');
    settle();
    EXPECT_TRUE(controls->textBox("Line").focused());
    EXPECT_EQ(controls->textBox("Line").selText(), "Maria");
    win32_test::chord({VK_MENU}, 'S');
    settle();
    EXPECT_TRUE(controls->control("Check").checked());
    EXPECT_TRUE(controls->control("Check").focused());
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    GetGUIThreadInfo(GetCurrentThreadId(), &info);
    EXPECT_EQ(info.flags & (GUI_INMENUMODE | GUI_SYSTEMMENUMODE), 0u)
        << "the release of Alt opened the system menu";
    EXPECT_EQ(ok, 0);
}

}  // namespace
