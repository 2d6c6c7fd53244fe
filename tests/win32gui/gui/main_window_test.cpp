// The workbench's main window on Windows, driven by keyboard as its users work: typing in
// Braille mode (plain, by chord, on the numeric keypad with NumLock), Ctrl+B both ways with the
// pages converted, Shift+F12 saving what the Linux build reads back, a message box answered,
// the settings dialog, the names a screen reader reads and the Braille font.

#include <oleacc.h>

#include <atomic>
#include <iostream>
#include <thread>

#include "../../notation/png_image.h"
#include "editor/document_file.h"
#include "editor/messages.h"
#include "editor/window/menu_commands.h"
#include "notation/conversion.h"
#include "win32gui/accessible.h"
#include "win32gui/wide_text.h"
#include "window_harness.h"

namespace {

using win32_test::chord;
using win32_test::key;
using win32_test::settle;
using win32_test::tap;
using win32_test::type;
using win32_test::waitUntil;

class MainWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { OleInitialize(nullptr); }

    win32_test::Workbench w;

    ui::TextBox& memo1() { return w.logic().widgets().Memo1; }
    ui::TextBox& memo2() { return w.logic().widgets().Memo2; }
    std::string caption(const char* name) { return w.controls().control(name).caption(); }
};

TEST_F(MainWindowTest, StartsInBrailleModeInTheBrailleFont) {
    ASSERT_NO_FATAL_FAILURE(w.start());
    EXPECT_EQ(caption("Label1"), "Modalit\xE0 Braille");
    EXPECT_EQ(caption("Label2"), "Tastiera");
    EXPECT_EQ(caption("StatusBar1"), "Pag. 1 Braille");
    EXPECT_EQ(caption("Converti"), "Modalit\xE0 Latex");
    EXPECT_EQ(w.view->window().caption(), "Tattilo v. 1.1 - modalit\xE0 Braille");
    ui::TabBar& tabs = w.logic().widgets().tabs;
    ASSERT_EQ(tabs.count(), 15);
    EXPECT_EQ(tabs.tabCaption(0), "Pag.  1");
    EXPECT_EQ(tabs.tabCaption(14), "Pag.15");
    EXPECT_TRUE(IsWindowVisible(w.handle("Memo2")));
    EXPECT_FALSE(IsWindowVisible(w.handle("Memo1")));
    EXPECT_EQ(GetFocus(), w.handle("Memo2"));

    // The Braille font, loaded for the program alone, is the one the editor draws with.
    EXPECT_TRUE(win32gui::fontFamilyAvailable(L"Braillecour"));
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(w.handle("Memo2"), WM_GETFONT, 0, 0)),
               sizeof(font), &font);
    EXPECT_EQ(std::wstring(font.lfFaceName), L"Braillecour");
    HDC dc = GetDC(w.handle("Memo2"));
    HGDIOBJ old = SelectObject(
        dc, reinterpret_cast<HFONT>(SendMessageW(w.handle("Memo2"), WM_GETFONT, 0, 0)));
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, face);
    SelectObject(dc, old);
    ReleaseDC(w.handle("Memo2"), dc);
    EXPECT_EQ(std::wstring(face), L"Braillecour") << "the system drew with another font";

    // The menus of the Braille mode, with their shortcuts.
    HMENU bar = GetMenu(w.view->window().handle());
    ASSERT_NE(bar, nullptr);
    std::vector<std::string> menus;
    for (int i = 0; i < GetMenuItemCount(bar); ++i) {
        wchar_t buffer[64] = {};
        GetMenuStringW(bar, static_cast<UINT>(i), buffer, 64, MF_BYPOSITION);
        menus.push_back(win32gui::narrow(buffer));
    }
    // Each menu of the bar opens with Alt and its access letter, as on Linux.
    EXPECT_EQ(menus.front(), "&File");
    EXPECT_NE(std::find(menus.begin(), menus.end(), "&Eliminazioni"), menus.end());
}

TEST_F(MainWindowTest, PlainTypingInTheBrailleEditor) {
    ASSERT_NO_FATAL_FAILURE(w.start());
    type("#ab");
    settle();
    EXPECT_EQ(memo2().text(), "#ab");
    EXPECT_EQ(memo2().selStart(), 3u);
    EXPECT_TRUE(w.logic().modified());
    tap(VK_BACK);
    tap(VK_RETURN);
    type("c");
    settle();
    EXPECT_EQ(memo2().text(), "#a\r\nc");
}

TEST_F(MainWindowTest, FAndDTogetherTypeTheCellB) {
    ASSERT_NO_FATAL_FAILURE(w.start());
    tap(VK_F5);
    settle();
    ASSERT_TRUE(w.logic().chordInput());
    EXPECT_EQ(caption("Label2"), "Dattilobraille");

    key('F', false);
    key('D', false);
    key('F', true);
    key('D', true);
    ASSERT_TRUE(waitUntil([this] { return memo2().text() == "b"; }))
        << "the chord gave \"" << memo2().text() << "\"";
    // Space alone is a blank, V alone is dots 1 2 3, Enter alone a line break.
    tap(VK_SPACE);
    ASSERT_TRUE(waitUntil([this] { return memo2().text() == "b "; }));
    tap('V');
    ASSERT_TRUE(waitUntil([this] { return memo2().text() == "b l"; }));
    tap(VK_RETURN);
    ASSERT_TRUE(waitUntil([this] { return memo2().text() == "b l\r\n"; }));
    EXPECT_EQ(memo2().selStart(), 5u) << "the caret at the start of the new line";
    // Keys that are not chord keys type nothing.
    tap('Q');
    settle(500);
    EXPECT_EQ(memo2().text(), "b l\r\n");

    tap(VK_F5);
    settle();
    EXPECT_FALSE(w.logic().chordInput());
    EXPECT_EQ(caption("Label2"), "Input Tastiera");
}

TEST_F(MainWindowTest, TheNumericKeypadWithNumLockTypesItsCells) {
    ASSERT_NO_FATAL_FAILURE(w.start());
    const bool wasOn = (GetKeyState(VK_NUMLOCK) & 1) != 0;
    if (!wasOn) {
        tap(VK_NUMLOCK);
        settle();
    }
    ASSERT_EQ(GetKeyState(VK_NUMLOCK) & 1, 1) << "NumLock did not go on";
    tap(VK_NUMPAD1);
    settle();
    EXPECT_EQ(memo2().text(), "a");
    chord({VK_MENU}, VK_NUMPAD1);
    settle();
    EXPECT_EQ(memo2().text(), "a,");
    chord({VK_CONTROL}, VK_NUMPAD0);
    settle();
    EXPECT_EQ(memo2().text(), "a,|");
    chord({VK_CONTROL}, VK_MULTIPLY);
    settle();
    EXPECT_EQ(memo2().text(), "a,|#)jj") << "Ctrl+* is the per mille sign";
    chord({VK_CONTROL, VK_MENU}, VK_NUMPAD3);
    settle();
    EXPECT_EQ(memo2().text(), "a,|#)jjn");
    // An ordinary key still types its character, once.
    type("x");
    settle();
    EXPECT_EQ(memo2().text(), "a,|#)jjnx");
    EXPECT_EQ(GetFocus(), w.handle("Memo2")) << "Alt with the keypad opened no menu";
    if (!wasOn) {
        tap(VK_NUMLOCK);
        settle();
    }
}

TEST_F(MainWindowTest, CtrlBSwitchesBothWaysWithEveryPageConverted) {
    ASSERT_NO_FATAL_FAILURE(w.start());
    type("#ab");
    tap(VK_F2);
    settle();
    type("#c");
    settle();
    ASSERT_EQ(memo2().text(), "#c");

    chord({VK_CONTROL}, 'B');
    ASSERT_TRUE(waitUntil([this] { return IsWindowVisible(w.handle("Memo1")) != FALSE; }));
    EXPECT_FALSE(IsWindowVisible(w.handle("Memo2")));
    EXPECT_EQ(GetFocus(), w.handle("Memo1"));
    EXPECT_EQ(caption("Label1"), "Modalit\xE0 Latex");
    EXPECT_EQ(caption("Converti"), "Modalit\xE0 Braille");
    EXPECT_EQ(memo1().text(), notation::convertBrailleToLatex("#c", 2).text);
    win32_test::saveScreen("main-window-latex");
    EXPECT_EQ(w.logic().pages().latexOf(1), notation::convertBrailleToLatex("#ab", 1).text);
    EXPECT_TRUE(IsWindowVisible(w.handle("Funzioni")));

    // Typed in Latex mode and switched back: converted the other way.
    SendMessageW(w.handle("Memo1"), EM_SETSEL, memo1().text().size(), memo1().text().size());
    type("+1");
    settle();
    const std::string latex = memo1().text();
    chord({VK_CONTROL}, 'B');
    ASSERT_TRUE(waitUntil([this] { return IsWindowVisible(w.handle("Memo2")) != FALSE; }));
    EXPECT_EQ(GetFocus(), w.handle("Memo2"));
    EXPECT_EQ(memo2().text(), notation::convertLatexToBraille(latex, 2).text);
    EXPECT_EQ(caption("Label1"), "Modalit\xE0 Braille");
    EXPECT_FALSE(IsWindowVisible(w.handle("Funzioni")));
}

// Both notations hold the page line for line: Ctrl+B keeps the caret's line, both ways. The
// title reads the same after a switch as at start, with its separators.
TEST_F(MainWindowTest, CtrlBKeepsTheCaretsLineAndTheTitleItsSeparators) {
    ASSERT_NO_FATAL_FAILURE(w.start({}, false, "modalit\xE0 =  - modalit\xE0 Braille\r\n"));
    EXPECT_EQ(w.view->window().caption(), "Tattilo v. 1.1 - modalit\xE0 Braille");
    type("#a");
    tap(VK_RETURN);
    type("#b");
    tap(VK_RETURN);
    type("#c");
    tap(VK_UP);
    settle();
    const auto lineOf = [this](const char* box) {
        return SendMessageW(w.handle(box), EM_LINEFROMCHAR, static_cast<WPARAM>(-1), 0);
    };
    ASSERT_EQ(lineOf("Memo2"), 1);
    chord({VK_CONTROL}, 'B');
    ASSERT_TRUE(waitUntil([this] { return GetFocus() == w.handle("Memo1"); }));
    EXPECT_EQ(lineOf("Memo1"), 1);
    EXPECT_EQ(w.view->window().caption(), "Tattilo v. 1.1 - modalit\xE0 Latex");
    tap(VK_DOWN);
    chord({VK_CONTROL}, 'B');
    ASSERT_TRUE(waitUntil([this] { return GetFocus() == w.handle("Memo2"); }));
    EXPECT_EQ(lineOf("Memo2"), 2);
    EXPECT_EQ(w.view->window().caption(), "Tattilo v. 1.1 - modalit\xE0 Braille");
}

// F10 and Alt alone enter the system's menu mode on the bar's first menu, not open; Esc gives
// the Braille editor back. Seen from a helper thread while the program's thread runs the menu.
TEST_F(MainWindowTest, F10AndAltAloneHighlightTheFirstMenu) {
    ASSERT_NO_FATAL_FAILURE(w.start());
    const HWND main = w.view->window().handle();
    const DWORD thread = GetCurrentThreadId();
    const auto inMenuMode = [thread] {
        GUITHREADINFO info{};
        info.cbSize = sizeof(info);
        return GetGUIThreadInfo(thread, &info) && (info.flags & GUI_INMENUMODE) != 0;
    };
    for (const WORD pressed : {static_cast<WORD>(VK_F10), static_cast<WORD>(VK_MENU)}) {
        std::atomic<bool> entered{false}, firstLit{false}, popupOpen{true}, done{false};
        std::thread helper([&] {
            const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
            while (!inMenuMode() && std::chrono::steady_clock::now() < end) {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
            entered = inMenuMode();
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            firstLit = (GetMenuState(GetMenu(main), 0, MF_BYPOSITION) & MF_HILITE) != 0;
            popupOpen = win32_test::findOpenWindow(L"#32768") != nullptr;
            tap(VK_ESCAPE);
            done = true;
        });
        tap(pressed);
        waitUntil([&] { return done.load(); }, 8000);
        helper.join();
        EXPECT_TRUE(entered) << pressed;
        EXPECT_TRUE(firstLit) << pressed;
        EXPECT_FALSE(popupOpen) << pressed << ": highlighted, not open";
        EXPECT_TRUE(waitUntil([&] { return !inMenuMode() && GetFocus() == w.handle("Memo2"); }))
            << pressed << ": Esc gives the editor back";
    }
    type("#a");
    settle();
    EXPECT_EQ(memo2().text(), "#a");
}

// A key that cannot act says why to screen readers too: the words in the status bar and in
// an alert raised with them.
std::vector<HWND> alerts;
void CALLBACK heardAlert(HWINEVENTHOOK, DWORD, HWND hwnd, LONG, LONG, DWORD, DWORD) {
    alerts.push_back(hwnd);
}

TEST_F(MainWindowTest, ARefusedKeyIsAnAlertWithItsWords) {
    ASSERT_NO_FATAL_FAILURE(w.start());
    chord({VK_CONTROL}, 'B');
    ASSERT_TRUE(waitUntil([this] { return GetFocus() == w.handle("Memo1"); }));
    alerts.clear();
    HWINEVENTHOOK hook =
        SetWinEventHook(EVENT_SYSTEM_ALERT, EVENT_SYSTEM_ALERT, nullptr, &heardAlert,
                        GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(hook, nullptr);
    chord({VK_CONTROL}, 'Q');
    waitUntil([] { return !alerts.empty(); });
    UnhookWinEvent(hook);
    const std::string why = "Disponibile solo in modalit\xE0 Braille";
    EXPECT_EQ(caption("StatusBar1"), why);
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(win32_test::windowText(alerts.front()), why);
    EXPECT_EQ(win32gui::readAccessibleName(alerts.front()), why);
    EXPECT_EQ(GetFocus(), w.handle("Memo1")) << "the focus stays";
}

TEST_F(MainWindowTest, ShiftF12SavesWhatTheLinuxBuildReadsBackIdentical) {
    const std::filesystem::path document = w.scratch.path / "esempio.mtf";
    std::filesystem::copy_file("esempi/esempio.mtf", document);
    ASSERT_NO_FATAL_FAILURE(w.start({win32gui::pathText(document)}));
    tap(VK_F2);
    tap(VK_F2);
    settle();
    ASSERT_EQ(caption("StatusBar1"), "Pag. 3 Braille");
    type("#ab");
    settle();
    win32_test::saveScreen("main-window-braille-page3");
    chord({VK_SHIFT}, VK_F12);
    settle(300);
    EXPECT_FALSE(w.logic().modified());
    const std::string expected =
        win32_test::readFile(std::string(TATTILO_TEST_DATA) + "/win32gui/esempio_pagina3.mtf");
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(win32_test::readFile(document), expected)
        << "the saved file differs from what the Linux build writes for the same pages";
    EXPECT_TRUE(w.scripted.messages().empty());
}

TEST_F(MainWindowTest, AMessageBoxIsAnsweredByKeyboard) {
    ASSERT_NO_FATAL_FAILURE(w.start({}, true));
    std::string asked;
    {
        // "No" keeps the window open.
        win32_test::Answerer answer(L"#32770", [&](HWND box) {
            asked = win32_test::windowText(GetDlgItem(box, 0xFFFF));
            tap('N');
        });
        w.view->window().close();
        answer.join();
        ASSERT_TRUE(answer.seen()) << "no message box came";
    }
    EXPECT_EQ(asked, "Confermi chiusura?");
    EXPECT_TRUE(w.view->window().visible());
    EXPECT_FALSE(w.logic().closing());
    {
        // "OK" (the default button, Enter) closes it.
        win32_test::Answerer answer(L"#32770", [&](HWND box) {
            asked = win32_test::windowText(GetDlgItem(box, IDYES));
            tap(VK_RETURN);
        });
        w.view->window().close();
        answer.join();
    }
    EXPECT_EQ(asked, "OK") << "the button of the OK and No question";
    EXPECT_TRUE(w.logic().closing());
    EXPECT_FALSE(w.view->window().visible());
    MSG quit{};
    EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
        << "closing the main window ends the program";
}

TEST_F(MainWindowTest, TheSettingsDialogByKeyboard) {
    ASSERT_NO_FATAL_FAILURE(w.start());
    const HWND main = w.view->window().handle();
    const HWND timerField = w.view->settings().controls().handle("EditTimer");
    const DWORD mainThread = GetCurrentThreadId();
    std::string field;
    {
        // Tab to the chord interval, type it, Enter presses "Ok".
        win32_test::Answerer answer(
            L"TattiloWindow",
            [&](HWND dialog) {
                field = win32_test::windowText(dialog);
                win32_test::saveScreen("settings-dialog");
                // A group of radio buttons is one stop on the way.
                for (int i = 0; i < 20 && win32_test::focusOf(mainThread) != timerField; ++i) {
                    tap(VK_TAB);
                    Sleep(50);
                }
                type("300");
                tap(VK_RETURN);
            },
            main);
        w.logic().openSettings();
        answer.join();
        ASSERT_TRUE(answer.seen()) << "the settings dialog did not open";
    }
    EXPECT_EQ(field, "Impostazioni ");
    EXPECT_EQ(w.view->settings().controls().textBox("EditTimer").text(), "300");
    EXPECT_EQ(w.logic().settings().timer, 300);
    EXPECT_EQ(w.logic().widgets().Timer1.interval(), 300);
    EXPECT_FALSE(IsWindowVisible(w.view->settings().window().handle()));
    EXPECT_TRUE(IsWindowEnabled(main)) << "the main window takes input again";
    ASSERT_TRUE(waitUntil([&] { return GetForegroundWindow() == main; }));

    // Esc leaves it with nothing changed, even a field typed into.
    const std::string editor = w.logic().settings().graphicEditor;
    {
        win32_test::Answerer answer(
            L"TattiloWindow",
            [&](HWND) {
                type("x");
                tap(VK_ESCAPE);
            },
            main);
        w.logic().openSettings();
        answer.join();
    }
    EXPECT_EQ(w.logic().settings().graphicEditor, editor);
    EXPECT_EQ(w.logic().settings().timer, 300);
}

// The first start without a graphic editor: the settings dialog opens showing the exchange
// mode the program will use ("Tutto"), and Esc leaves the editor empty as a choice that holds.
TEST_F(MainWindowTest, TheFirstStartsSettingsShowTheRealDefaults) {
    const std::wstring caption = win32gui::widen(editor::text::kSettingsCaptionMissing);
    std::atomic<bool> seen{false};
    std::atomic<LRESULT> all{BST_UNCHECKED}, selection{BST_CHECKED};
    std::thread answer([&] {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        HWND dialog = nullptr;
        while (std::chrono::steady_clock::now() < end &&
               (dialog == nullptr || GetForegroundWindow() != dialog)) {
            dialog = FindWindowW(nullptr, caption.c_str());
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        if (dialog == nullptr) {
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        all = SendMessageW(FindWindowExW(dialog, nullptr, L"BUTTON", L"Tutto"), BM_GETCHECK, 0, 0);
        selection =
            SendMessageW(FindWindowExW(dialog, nullptr, L"BUTTON", L"Solo testo selezionato"),
                         BM_GETCHECK, 0, 0);
        seen = true;
        tap(VK_ESCAPE);
    });
    // The settings of a first start: no graphic editor named.
    const auto withoutEditor = [this](win32gui::MainWindowOptions&) {
        w.scratch.write("tattilo.ini", "filtro = filtro.base\r\nfont = braillecour.ttf\r\n");
    };
    w.start({}, false, {}, withoutEditor);
    answer.join();
    ASSERT_TRUE(seen) << "the settings dialog did not open at the first start";
    EXPECT_EQ(all, BST_CHECKED);
    EXPECT_EQ(selection, BST_UNCHECKED);
    EXPECT_TRUE(w.logic().settings().graphicEditor.empty());
    EXPECT_TRUE(w.logic().settings().withoutGraphicEditor) << "left empty, it is a choice";
}

TEST_F(MainWindowTest, OpeningTheSettingsMenuOpensTheDialogAndTheMenuGoes) {
    ASSERT_NO_FATAL_FAILURE(w.start());
    const HWND main = w.view->window().handle();
    {
        win32_test::Answerer answer(
            L"TattiloWindow", [&](HWND) { tap(VK_ESCAPE); }, main);
        // F10 to the menu bar, right to "Impostazioni", down opens it: the dialog comes.
        tap(VK_F10);
        for (int i = 0; i < 5; ++i) {
            tap(VK_RIGHT);
        }
        tap(VK_DOWN);
        ASSERT_TRUE(waitUntil([&] { return answer.seen(); }, 5000)) << "no settings dialog";
        answer.join();
    }
    ASSERT_TRUE(waitUntil([&] {
        return !IsWindowVisible(w.view->settings().window().handle()) &&
               GetForegroundWindow() == main && GetFocus() == w.handle("Memo2");
    })) << "the window did not come back to the Braille editor";
    EXPECT_TRUE(IsWindowEnabled(main));
    // No menu is left open: typing goes into the page.
    type("#a");
    settle();
    EXPECT_EQ(memo2().text(), "#a");
}

TEST_F(MainWindowTest, TheAboutPanelFromTheMenuByKeyboard) {
    ASSERT_NO_FATAL_FAILURE(w.start());
    // F10, left past the window's own menu to "?", open it, up to its last item
    // "Informazioni su ..", Enter.
    tap(VK_F10);
    tap(VK_LEFT);
    tap(VK_LEFT);
    tap(VK_DOWN);
    tap(VK_UP);
    tap(VK_RETURN);
    ASSERT_TRUE(waitUntil([this] { return w.logic().widgets().Panel1.visible(); }))
        << "the menu item did not show the panel";
    EXPECT_EQ(GetFocus(), w.handle("Button1")) << "the panel's OK has the focus";
    EXPECT_EQ(win32gui::readAccessibleName(w.handle("Panel1")), "Informazioni su Tattilo");
    tap(VK_RETURN);
    ASSERT_TRUE(waitUntil([this] { return !w.logic().widgets().Panel1.visible(); }));
    EXPECT_EQ(GetFocus(), w.handle("Memo2"));
}

TEST_F(MainWindowTest, ScreenReadersReadTheSameNamesAsOnLinux) {
    ASSERT_NO_FATAL_FAILURE(w.start());
    // What MSAA gives a reader: a button by its text, an editor by the label before it, the
    // tab strip and the linear view by their own names.
    EXPECT_EQ(win32gui::readAccessibleName(w.handle("Converti")), "Modalit\xE0 Latex");
    EXPECT_EQ(win32gui::readAccessibleRole(w.handle("Memo2")), ROLE_SYSTEM_TEXT);
    EXPECT_EQ(win32gui::readAccessibleName(w.handle("Memo2")), "Editor Braille");
    EXPECT_EQ(win32gui::readAccessibleName(w.handle("Memo1")), "Editor Latex");
    EXPECT_EQ(win32gui::readAccessibleName(w.handle("TabControl1")), "Pagine");
    EXPECT_EQ(win32gui::readAccessibleName(w.handle("Image1")), "Visualizzazione lineare");
    // After the mode switch the button says the other mode.
    chord({VK_CONTROL}, 'B');
    ASSERT_TRUE(waitUntil([this] { return IsWindowVisible(w.handle("Memo1")) != FALSE; }));
    EXPECT_EQ(win32gui::readAccessibleName(w.handle("Converti")), "Modalit\xE0 Braille");
    // A field of the settings dialog by the label just before it.
    win32gui::ControlSet& settings = w.view->settings().controls();
    EXPECT_EQ(win32gui::readAccessibleName(settings.handle("EditTimer")),
              "Interval Timer per Dattilobraille");
    EXPECT_EQ(win32gui::readAccessibleName(settings.handle("EditSpeed")),
              "Velocit\xE0 voce (min 30 max 90)");
    // The two "Sfoglia" buttons are told apart by their annotations, where the system has them.
    if (win32gui::annotationsAvailable()) {
        EXPECT_EQ(win32gui::readAccessibleName(settings.handle("SfogliaDir")),
                  "Sfoglia directory lavoro");
        EXPECT_EQ(win32gui::readAccessibleName(settings.handle("SfogliaEditor")),
                  "Sfoglia editor grafico");
    } else {
        std::cout << "[ NOTE     ] no annotation service here: the browse buttons read as "
                     "their caption\n";
    }
}

TEST_F(MainWindowTest, TheFormulaPrintConfirmationAsksFirstAndEscAsksNoMore) {
    ASSERT_NO_FATAL_FAILURE(w.start());
    type("#a+#b");
    win32gui::FormulaPrintDialogView& confirmation = w.view->formulaPrint();
    HWND procedi = confirmation.controls().handle("Procedi");
    const DWORD thread = GetCurrentThreadId();
    std::string caption, question;
    bool procediFocused = false;
    win32_test::Answerer answer(
        L"TattiloWindow",
        [&](HWND window) {
            caption = win32_test::windowText(window);
            question = win32_test::windowText(confirmation.controls().handle("Label1"));
            for (int i = 0; i < 100 && !procediFocused; ++i) {
                procediFocused = win32_test::focusOf(thread) == procedi;
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
            tap(VK_ESCAPE);
        },
        w.view->window().handle());
    chord({VK_SHIFT}, VK_F11);
    ASSERT_TRUE(waitUntil([&] { return answer.seen(); }, 10000)) << "no confirmation came";
    answer.join();
    ASSERT_TRUE(waitUntil([&] { return !w.view->formulaPrint().window().visible(); }));
    settle();
    EXPECT_EQ(caption, "Stampa formule");
    EXPECT_EQ(question, "Stampa formule in formato grafico");
    EXPECT_TRUE(procediFocused) << "\"Procedi\" has the focus when it opens";
    EXPECT_EQ(w.view->formulaPrint().logic().answer(), "");
    // Nothing was handed to the graphic editor: no message, the page as it was, the focus in it.
    EXPECT_TRUE(w.scripted.messages().empty());
    EXPECT_EQ(memo2().text(), "#a+#b");
    EXPECT_EQ(GetFocus(), w.handle("Memo2"));
    EXPECT_EQ(win32gui::readAccessibleName(procedi), "Procedi");
}

TEST_F(MainWindowTest, TheFormulaPreviewShowsTheRowsThenThePageByKeyboard) {
    ASSERT_NO_FATAL_FAILURE(w.start());
    // A line of three formulas typeset by TeX, as the graphic editor leaves it on the clipboard.
    w.view->clipboard().setBitmap(test_png::readPng(
        std::string(TATTILO_TEST_DATA) + "/notation/formula_preview/three_formulas.png"));
    win32gui::FormulaPreviewView& preview = w.view->formulaPreview();
    HWND stampa = preview.controls().handle("Stampa");
    HWND canvas = preview.controls().handle("Canvas");
    std::string caption;
    std::vector<std::string> bar;
    bool buttonsHidden = false, buttonsShown = false, backToRows = false, closedByKey = false;
    RECT canvasRect{}, client{};
    win32_test::Answerer answer(
        L"TattiloWindow",
        [&](HWND window) {
            caption = win32_test::windowText(window);
            buttonsHidden = IsWindowVisible(stampa) == FALSE;
            GetClientRect(window, &client);
            GetClientRect(canvas, &canvasRect);
            // "Anteprima": the page, with its buttons under it.
            chord({VK_CONTROL}, 'E');
            for (int i = 0; i < 100 && !buttonsShown; ++i) {
                buttonsShown = IsWindowVisible(stampa) != FALSE;
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
            HMENU menus = GetMenu(window);
            for (int i = 0; i < GetMenuItemCount(menus); ++i) {
                wchar_t text[64] = {};
                GetMenuStringW(menus, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
                bar.push_back(win32gui::narrow(text));
            }
            // Del leaves the page for the rows, then closes the preview ("Chiudi").
            tap(VK_DELETE);
            for (int i = 0; i < 100 && IsWindowVisible(stampa); ++i) {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
            backToRows = IsWindowVisible(stampa) == FALSE;
            tap(VK_DELETE);
            for (int i = 0; i < 100 && IsWindowVisible(window); ++i) {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
            closedByKey = IsWindowVisible(window) == FALSE;
            if (!closedByKey) {
                PostMessageW(window, WM_CLOSE, 0, 0);
            }
        },
        w.view->window().handle());
    preview.logic().show("Tattilo  Stampa formule - prova.mtf", w.scratch.path.string());
    answer.join();
    ASSERT_TRUE(answer.seen()) << "the preview never showed";
    settle();
    EXPECT_EQ(caption, "Tattilo  Stampa formule - prova.mtf");
    EXPECT_EQ(preview.logic().rowCount(), 3);
    EXPECT_TRUE(buttonsHidden) << "the rows first, without the page's buttons";
    EXPECT_TRUE(buttonsShown);
    EXPECT_TRUE(backToRows);
    EXPECT_TRUE(closedByKey) << "Del (\"Chiudi\") did not close the preview";
    EXPECT_EQ(canvasRect.right, client.right) << "the canvas fills the window";
    EXPECT_EQ(canvasRect.bottom, client.bottom);
    // The menus, and the commands on the bar itself.
    ASSERT_FALSE(bar.empty());
    EXPECT_EQ(bar.front(), "Modifica");
    // A command on the bar shows its shortcut after a tab, as the items of a menu do.
    EXPECT_NE(std::find_if(bar.begin(), bar.end(),
                           [](const std::string& m) { return m.starts_with("Chiudi\t"); }),
              bar.end());
    EXPECT_NE(std::find(bar.begin(), bar.end(), "Dimensioni stampa"), bar.end());
    EXPECT_FALSE(preview.window().visible());
    EXPECT_EQ(win32gui::readAccessibleName(canvas), "Formule");
    EXPECT_EQ(win32gui::readAccessibleName(stampa), "Stampa");
}

}  // namespace
