// The learning windows on Windows, driven by keyboard as a blind student works: each opened
// from the main window, worked through its keys, read back through its controls, with the
// names screen readers read and the focus back where it was when it closes. The windows'
// logic is tested on Linux; here the adapter: windows built, keys delivered, controls read.

#include <oleacc.h>

#include <atomic>
#include <map>
#include <mutex>
#include <utility>

#include "win32gui/accessible.h"
#include "window_harness.h"

namespace {

using win32_test::chord;
using win32_test::settle;
using win32_test::tap;
using win32_test::type;
using win32_test::waitUntil;
using win32_test::windowText;

// What the main window said, "mode:text" each, read from the helper thread too.
struct RecordingSpeech : speech::RequestSink {
    std::mutex lock;
    std::vector<std::string> said;
    void submit(const speech::Request& r) override {
        const std::lock_guard<std::mutex> hold(lock);
        said.push_back(r.mode + ":" + r.text);
    }
    // What was said since the last look.
    std::vector<std::string> take() {
        const std::lock_guard<std::mutex> hold(lock);
        return std::exchange(said, {});
    }
    bool heard(const std::string& one) {
        const std::lock_guard<std::mutex> hold(lock);
        return std::find(said.begin(), said.end(), one) != said.end();
    }
};

// Speaks at once and writes down what it said (the sheet's voice, without sound).
struct InstantEngine : speech::Engine {
    std::shared_ptr<std::vector<std::string>> said;
    explicit InstantEngine(std::shared_ptr<std::vector<std::string>> log) : said(std::move(log)) {}
    int setParam(int, int) override { return 0; }
    int setVoiceParam(int, int, int) override { return 0; }
    bool addText(std::string_view text) override {
        queued += text;
        return true;
    }
    bool synthesize() override {
        said->push_back(queued);
        queued.clear();
        return true;
    }
    bool synchronize() override { return true; }
    bool speaking() override { return false; }
    bool stop() override { return true; }
    std::string queued;
};

// On the helper thread: waits (without handling messages: the program's thread does) until
// `done` holds.
bool eventually(const std::function<bool()>& done, int milliseconds = 5000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

class LearningWindowsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { OleInitialize(nullptr); }

    win32_test::Workbench w;
    std::shared_ptr<std::vector<std::string>> said = std::make_shared<std::vector<std::string>>();
    DWORD thread = GetCurrentThreadId();

    RecordingSpeech speech;

    // `speaking`: the main window's speech on, said to `speech`.
    void start(bool speaking = false) {
        w.start({}, false, {}, [this, speaking](win32gui::MainWindowOptions& options) {
            options.sheetVoice = true;
            options.sheetEngine = std::make_unique<InstantEngine>(said);
            if (speaking) {
                options.environment.speechAvailable = true;
                options.speech = &speech;
            }
        });
    }
    // On the helper thread: the focus on `control`, within the time a key takes.
    bool focusOn(HWND control) const {
        return eventually([this, control] { return focus() == control; });
    }
    ui::TextBox& memo2() { return w.logic().widgets().Memo2; }
    // Puts `text` on the Braille page with the caret at its end (the keyboard's layout under
    // Wine types no round bracket); `selected`: the whole page selected instead.
    void putOnPage(const std::string& text, bool selected = false) {
        memo2().setText(text);
        if (selected) {
            memo2().setSelection(0, text.size());
        } else {
            memo2().setSelStart(text.size());
        }
        settle();
    }
    HWND focus() const { return win32_test::focusOf(thread); }

    // Runs `work` on a helper thread once a learning window is open over the main window,
    // while `open` (here) opens it; the window is closed should `work` stop half way.
    void withWindow(const std::function<void(HWND)>& work, const std::function<void()>& open) {
        HWND main = w.view->window().handle();
        std::atomic<HWND> opened{nullptr};
        std::atomic<bool> finished{false};
        {
            win32_test::Answerer answer(
                L"TattiloWindow",
                [&](HWND window) {
                    opened = window;
                    work(window);
                    if (!eventually([window] { return !IsWindowVisible(window); }, 3000)) {
                        PostMessageW(window, WM_CLOSE, 0, 0);
                    }
                    finished = true;
                },
                main);
            open();
            EXPECT_TRUE(waitUntil([&] { return finished.load(); }, 20000));
            answer.join();
            ASSERT_TRUE(answer.seen()) << "no learning window came";
        }
        ASSERT_TRUE(waitUntil([&] { return !IsWindowVisible(opened.load()); }));
        settle();
    }
};

TEST_F(LearningWindowsTest, TheSheetWorksAnAdditionByKeyboardAndPastesItsResult) {
    ASSERT_NO_FATAL_FAILURE(start(true));
    type("#b+#c");
    chord({VK_SHIFT}, VK_HOME);
    ASSERT_TRUE(waitUntil([this] { return memo2().selText() == "#b+#c"; }));
    win32gui::LearningWindow& sheet = w.view->calcSheet().frame();
    HWND columns = sheet.controlHandle("Memo1");
    HWND result = sheet.controlHandle("Edit10");
    HWND status = sheet.controlHandle("StatusBar1");

    std::string caption, before, expression, mode, after, verdict, answer;
    bool focused = false, resultHidden = false, resultShown = false, altTyped = true;
    withWindow(
        [&](HWND window) {
            caption = windowText(window);
            focused = eventually([&] { return focus() == columns; });
            before = windowText(columns);
            expression = windowText(sheet.controlHandle("Edit1"));
            mode = windowText(sheet.controlHandle("Label2"));
            resultHidden = IsWindowVisible(result) == FALSE;
            // Alt with a letter never types into the sheet.
            chord({VK_MENU}, 'E');
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            altTyped = windowText(columns) != before;
            if (!IsWindowVisible(window)) {
                return;
            }
            tap('E');
            tap(VK_SPACE);
            eventually([&] { return windowText(status) == "Esatto"; });
            verdict = windowText(status);
            after = windowText(columns);
            resultShown = IsWindowVisible(result) != FALSE;
            answer = windowText(result);
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            win32_test::saveScreen("calc-sheet-esatto");
            chord({VK_CONTROL}, 'X');
        },
        [] { chord({VK_CONTROL}, 'Q'); });

    EXPECT_EQ(caption, "Foglio di calcolo");
    EXPECT_TRUE(focused) << "the column memo has the focus when the sheet opens";
    EXPECT_EQ(expression, "#b+#c");
    EXPECT_EQ(mode, "Input Tastiera");
    EXPECT_EQ(before, "b+c=\r\n   =");
    EXPECT_TRUE(resultHidden);
    EXPECT_FALSE(altTyped) << "Alt+E typed into the sheet";
    EXPECT_EQ(verdict, "Esatto");
    EXPECT_EQ(after, "b+c=e\r\n   = ");
    EXPECT_TRUE(resultShown);
    EXPECT_EQ(answer, "#e");
    // Ctrl+X put the result in place of the selection, and the focus is back in the page.
    EXPECT_EQ(memo2().text(), "#e");
    EXPECT_EQ(GetFocus(), w.handle("Memo2"));
    // Alt+E did nothing but say why; then the digit, the blank and the verdict.
    const std::vector<std::string> expected = {
        "espressione  2+ 3",   "2+3=", "Nessun menu con la lettera E", " 5", "  spazio ",
        "risultato  esatto  5"};
    EXPECT_EQ(*said, expected);
    EXPECT_TRUE(w.scripted.messages().empty());
}

TEST_F(LearningWindowsTest, TheSheetIsLaidOutFromItsTableWithTheNamesOfTheLinuxBuild) {
    ASSERT_NO_FATAL_FAILURE(start());
    putOnPage("#ab(#ac", true);
    ASSERT_TRUE(waitUntil([this] { return memo2().selText() == "#ab(#ac"; }));
    win32gui::LearningWindow& sheet = w.view->calcSheet().frame();
    std::map<std::string, std::string> names;
    std::map<std::string, RECT> places;
    std::map<std::string, bool> shown;
    std::string font;
    bool readOnly = false, firstFocused = false;
    withWindow(
        [&](HWND window) {
            eventually([&] { return focus() == sheet.controlHandle("Memo2"); });
            firstFocused = focus() == sheet.controlHandle("Memo2");
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            for (const char* name : {"Edit1", "Memo1", "Memo2", "Memo3", "Memo4", "Edit2", "Edit10",
                                     "Button1", "StatusBar1"}) {
                HWND h = sheet.controlHandle(name);
                RECT r{};
                GetWindowRect(h, &r);
                MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
                places[name] = r;
                shown[name] = IsWindowVisible(h) != FALSE;
            }
            LOGFONTW lf{};
            GetObjectW(reinterpret_cast<HFONT>(
                           SendMessageW(sheet.controlHandle("Memo1"), WM_GETFONT, 0, 0)),
                       sizeof(lf), &lf);
            font = win32gui::narrow(lf.lfFaceName);
            readOnly = (GetWindowLongW(sheet.controlHandle("Memo1"), GWL_STYLE) & ES_READONLY) != 0;
            tap(VK_ESCAPE);
        },
        [] { chord({VK_CONTROL}, 'Q'); });
    for (const char* name : {"Edit1", "Memo1", "Memo2", "Memo3", "Edit10", "Button1"}) {
        names[name] = win32gui::readAccessibleName(sheet.controlHandle(name));
    }

    // A product by a two-digit number: its two partial products side by side, the first with
    // the focus, and no gap where the column memo (the final sum, later) and the others would be.
    EXPECT_TRUE(firstFocused);
    EXPECT_TRUE(shown["Memo2"] && shown["Memo3"]);
    EXPECT_FALSE(shown["Memo1"]) << "the final sum comes after the partial products";
    EXPECT_FALSE(shown["Memo4"]);
    EXPECT_FALSE(shown["Edit2"]) << "the step lines are a division's";
    EXPECT_LT(places["Memo2"].left, 20);
    EXPECT_LT(places["Memo2"].right, places["Memo3"].left);
    EXPECT_LT(places["Memo3"].left - places["Memo2"].right, 20);
    EXPECT_EQ(places["Memo2"].top, places["Memo3"].top);
    EXPECT_LT(places["Edit1"].bottom, places["Memo2"].top);
    EXPECT_LT(places["Memo2"].bottom, places["Button1"].top);
    EXPECT_LT(places["Button1"].bottom, places["StatusBar1"].top);
    EXPECT_EQ(font, "Braillecour");
    EXPECT_TRUE(readOnly);
    EXPECT_EQ(names["Edit1"], "Espressione");
    EXPECT_EQ(names["Memo1"], "Calcolo in colonna");
    EXPECT_EQ(names["Memo2"], "Prodotto parziale 1");
    EXPECT_EQ(names["Memo3"], "Prodotto parziale 2");
    EXPECT_EQ(names["Edit10"], "Risultato");
    EXPECT_EQ(names["Button1"], "Esci");
    EXPECT_EQ(memo2().text(), "#ab(#ac") << "Esc put nothing in the page";
    EXPECT_EQ(GetFocus(), w.handle("Memo2"));
}

TEST_F(LearningWindowsTest, TheStructureViewByKeyboard) {
    ASSERT_NO_FATAL_FAILURE(start(true));
    putOnPage("{?#b+#c*(#d}-#a");
    win32gui::LearningWindow& view = w.view->structureView().frame();
    HWND edit1 = view.controlHandle("Edit1");
    HWND edit2 = view.controlHandle("Edit2");
    HWND memo1 = view.controlHandle("Memo1");
    HWND contentsBox = view.controlHandle("Memo2");
    HWND store = view.controlHandle("Button2");
    speech.take();

    std::string caption, expression, brackets, structure, contents, substituted, storeCaption;
    bool tabbed = false, squareSaid = false, roundSaid = false, stored = false;
    withWindow(
        [&](HWND window) {
            caption = windowText(window);
            // The expression is taken right after the window shows.
            eventually([&] { return windowText(edit1) == "{?#b+#c*(#d}-#a"; });
            expression = windowText(edit1);
            if (!focusOn(edit1)) {
                return;
            }
            tap(VK_TAB);
            tabbed = focusOn(edit2);
            brackets = windowText(edit2);
            tap(VK_TAB);
            focusOn(memo1);
            structure = windowText(memo1);
            tap(VK_TAB);
            focusOn(contentsBox);
            // Entering the contents says the group of the line, however the focus came.
            squareSaid = eventually([&] { return speech.heard("error:parentesi quadra prima"); });
            tap(VK_DOWN);
            tap(VK_DOWN);
            roundSaid = eventually([&] { return speech.heard("error:parentesi tonda prima"); });
            type("#e");
            chord({VK_CONTROL}, 'S');
            eventually([&] { return windowText(contentsBox).starts_with("Q1  #e("); });
            contents = windowText(contentsBox);
            tap(VK_UP);
            tap(VK_UP);
            type("#bj");
            chord({VK_CONTROL}, 'S');
            eventually([&] { return windowText(memo1) == "#bj-#a ="; });
            substituted = windowText(memo1);
            chord({VK_SHIFT}, VK_TAB);
            focusOn(memo1);
            tap(VK_END);
            type("#ai");
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            win32_test::saveScreen("structure-view");
            // Along the tab order to "Memorizza risultato ed esci ", pressed with Space.
            tap(VK_TAB);
            tap(VK_TAB);
            tap(VK_TAB);
            stored = focusOn(store);
            storeCaption = windowText(store);
            tap(VK_SPACE);
        },
        [] { chord({VK_CONTROL}, 'S'); });

    EXPECT_EQ(caption, "Struttura");
    EXPECT_EQ(expression, "{?#b+#c*(#d}-#a");
    EXPECT_TRUE(tabbed);
    EXPECT_EQ(brackets, "{ ? * } ");
    EXPECT_EQ(structure, "\xA0Q1\xA0-#a =");
    EXPECT_TRUE(squareSaid);
    EXPECT_TRUE(roundSaid);
    EXPECT_EQ(contents, "Q1  #e(#d =\r\n\r\nT1  #b+#c =#e");
    EXPECT_EQ(substituted, "#bj-#a =");
    EXPECT_TRUE(stored);
    EXPECT_EQ(storeCaption, "Memorizza risultato ed esci ");
    EXPECT_EQ(memo2().text(), "{?#b+#c*(#d}-#a\r\n#ai\r\n");
    EXPECT_EQ(GetFocus(), w.handle("Memo2"));
    // Each box by the name the Linux build gives it, the bracket list read only.
    EXPECT_EQ(win32gui::readAccessibleName(edit1), "Espressione iniziale");
    EXPECT_EQ(win32gui::readAccessibleName(edit2), "Parentesi");
    EXPECT_EQ(win32gui::readAccessibleName(memo1), "Struttura");
    EXPECT_EQ(win32gui::readAccessibleName(contentsBox), "Contenuti");
    EXPECT_NE(GetWindowLongW(edit2, GWL_STYLE) & ES_READONLY, 0);
    EXPECT_TRUE(w.scripted.messages().empty());
}

TEST_F(LearningWindowsTest, TheDecompositionWithTheSheetOverIt) {
    ASSERT_NO_FATAL_FAILURE(start(true));
    putOnPage("?#b+#c*(#d");
    win32gui::LearningWindow& steps = w.view->decomposition().frame();
    win32gui::LearningWindow& sheet = w.view->calcSheet().frame();
    HWND step = steps.controlHandle("Button1");
    HWND work = steps.controlHandle("Edit1");
    HWND answer = steps.controlHandle("Edit2");
    HWND exit = steps.controlHandle("Button6");
    HWND history = steps.controlHandle("Memo1");
    speech.take();

    std::string caption, firstStep, workText, fromSheet, secondStep, product, lines;
    bool stepFocused = false, sheetOpened = false, answerAgain = false, exitFocused = false,
         workHidden = false;
    withWindow(
        [&](HWND window) {
            caption = windowText(window);
            stepFocused = focusOn(step);
            firstStep = windowText(step);
            tap(VK_SPACE);
            if (!focusOn(answer)) {
                return;
            }
            workText = windowText(work);
            // The addition in the calculation sheet, over the decomposition; its result comes
            // back as the answer, with the focus.
            chord({VK_CONTROL}, 'A');
            sheetOpened = eventually([&] {
                return GetForegroundWindow() == sheet.handle() &&
                       focus() == sheet.controlHandle("Memo1");
            });
            if (!sheetOpened) {
                return;
            }
            tap('E');
            tap(VK_SPACE);
            eventually([&] { return windowText(sheet.controlHandle("StatusBar1")) == "Esatto"; });
            chord({VK_CONTROL}, 'X');
            answerAgain = focusOn(answer);
            fromSheet = windowText(answer);
            tap(VK_RETURN);
            focusOn(step);
            eventually([&] { return windowText(step) != firstStep; });
            secondStep = windowText(step);
            tap(VK_SPACE);
            focusOn(answer);
            product = windowText(work);
            type("#bj");
            tap(VK_RETURN);
            exitFocused = focusOn(exit);
            workHidden = IsWindowVisible(work) == FALSE;
            lines = windowText(history);
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            win32_test::saveScreen("decomposition");
            chord({VK_CONTROL}, 'C');
        },
        [] { chord({VK_CONTROL}, 'W'); });

    EXPECT_EQ(caption, "Scomposizione");
    EXPECT_TRUE(stepFocused);
    EXPECT_EQ(firstStep, "Parentesi tonde (1)");
    EXPECT_EQ(workText, "#b+#c");
    EXPECT_TRUE(sheetOpened) << "the sheet never came over the decomposition";
    EXPECT_TRUE(answerAgain) << "the focus did not come back to the answer";
    EXPECT_EQ(fromSheet, "#e");
    EXPECT_EQ(secondStep, "Molt. - Div. (1)");
    EXPECT_EQ(product, "#e(#d");
    EXPECT_TRUE(exitFocused);
    EXPECT_TRUE(workHidden);
    EXPECT_EQ(lines, "?#b+#c*(#d\r\n#e(#d\r\n#bj");
    EXPECT_EQ(memo2().text(), "?#b+#c*(#d\r\n#e(#d\r\n#bj");
    EXPECT_EQ(GetFocus(), w.handle("Memo2"));
    EXPECT_TRUE(speech.heard("all:#bj"));
    EXPECT_EQ(win32gui::readAccessibleName(history), "Passaggi");
    EXPECT_EQ(win32gui::readAccessibleName(work), "Da calcolare");
    EXPECT_EQ(win32gui::readAccessibleName(answer), "Risultato");
    EXPECT_EQ(win32gui::readAccessibleName(steps.controlHandle("Edit4")),
              "Risultato nella parentesi");
    EXPECT_TRUE(w.scripted.messages().empty());
}

TEST_F(LearningWindowsTest, TheBracketsTutorWithItsPicture) {
    ASSERT_NO_FATAL_FAILURE(start(true));
    putOnPage("#b+#c\r\n?#a+#b*(?#c+#d*");
    ASSERT_TRUE(waitUntil([this] { return memo2().text() == "#b+#c\r\n?#a+#b*(?#c+#d*"; }));
    win32gui::TutorView& tutor = w.view->tutor(learning::TutorKind::Brackets);
    win32gui::LearningWindow& frame = tutor.frame();
    HWND workBox = frame.controlHandle("Memo2");
    HWND picture = frame.controlHandle("Image1");

    std::string caption, before, expression, stepName, mode, after, button1;
    bool focused = false, pictureShown = false;
    RECT pictureRect{};
    withWindow(
        [&](HWND window) {
            caption = windowText(window);
            focused = focusOn(workBox);
            before = windowText(workBox);
            expression = windowText(frame.controlHandle("Memo1"));
            stepName = windowText(frame.controlHandle("Label1"));
            mode = windowText(frame.controlHandle("Label2"));
            button1 = windowText(frame.controlHandle("Button1"));
            pictureShown = IsWindowVisible(picture) != FALSE;
            GetClientRect(picture, &pictureRect);
            type("#c");
            tap(VK_RETURN);
            type("#g");
            eventually([&] { return windowText(workBox) == "#a+#b=#c\r\n#c+#d=#g"; });
            after = windowText(workBox);
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            win32_test::saveScreen("tutor-brackets");
            chord({VK_CONTROL}, 'A');
        },
        [] { chord({VK_SHIFT}, VK_F1); });

    EXPECT_EQ(caption, "Tutor- parentesi");
    EXPECT_TRUE(focused);
    EXPECT_EQ(before, "#a+#b=\r\n#c+#d=");
    EXPECT_EQ(expression, "?#a+#b*(?#c+#d*=\r\nTA(TB=");
    EXPECT_EQ(stepName, "Parentesi tonde");
    EXPECT_EQ(mode, "Input Tastiera");
    EXPECT_EQ(button1, "Riporta risultato ed esci");
    EXPECT_EQ(after, "#a+#b=#c\r\n#c+#d=#g");
    // The expression drawn as mathematics, in a picture as tall as the table asks at least.
    EXPECT_TRUE(pictureShown);
    EXPECT_GE(pictureRect.bottom, 100);
    EXPECT_FALSE(tutor.frame().picture("Image1").displayLines().empty());
    EXPECT_EQ(win32gui::readAccessibleName(picture), "Visualizzazione lineare");
    EXPECT_EQ(win32gui::readAccessibleName(workBox), "Passaggi");
    EXPECT_EQ(memo2().text(), "#b+#c\r\n=#c(#g");
    EXPECT_EQ(GetFocus(), w.handle("Memo2"));
    const std::vector<std::string> heard = speech.take();
    // The verdict is said as words and waited for, then the next work line is read.
    const auto verdict = std::find(heard.begin(), heard.end(), "error:Esatto");
    ASSERT_NE(verdict, heard.end()) << "the verdict is said: " << testing::PrintToString(heard);
    ASSERT_NE(verdict + 1, heard.end());
    EXPECT_EQ(*(verdict + 1), "all:#c+#d=");
}

}  // namespace
