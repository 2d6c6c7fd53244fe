// Every window of both programs at the screen's scaling: each is opened as the program opens it
// (by its keys where it has them) and, while it shows, every control of it is checked: it lies
// inside the window's client area (inside its panel, for a panel's controls), no other control
// lies over it (a group frame holds controls, and buttons may lie on a drawn page, on purpose),
// the caption of a button or check box is not cut off, and the window itself lies on the
// screen. scripts/test_windows.sh runs this at 96, 120 and 144 dpi (100 %, 125 % and 150 %);
// with TATTILO_TEST_DPI set the test first checks that the screen really has that scaling.

#include <atomic>
#include <cctype>
#include <mutex>
#include <sstream>

#include "../../notation/png_image.h"
#include "editor/messages.h"
#include "installer/unattended/unattended.h"
#include "win32gui/accessible.h"
#include "win32gui/dpi.h"
#include "win32gui/installer/installer_app.h"
#include "win32gui/installer/uninstaller_app.h"
#include "win32gui/services/win32_dialogs.h"
#include "window_harness.h"

namespace fs = std::filesystem;

namespace {

using win32_test::chord;
using win32_test::tap;
using win32_test::waitUntil;
using win32_test::windowText;

std::string className(HWND hwnd) {
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    return win32gui::narrow(name);
}

// How a report names a control: its class and its text.
std::string describe(HWND hwnd) {
    std::string text = windowText(hwnd);
    std::erase(text, '&');
    text = text.substr(0, text.find_first_of("\r\n"));
    return className(hwnd) + " \"" + text.substr(0, 40) + "\"";
}

// A window's name as a file name.
std::string fileName(std::string name) {
    for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) {
            c = '-';
        }
    }
    return "fit-" + std::to_string(win32gui::screenDpi()) + "-" + name;
}

std::string show(const RECT& r) {
    std::ostringstream out;
    out << "(" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom << ")";
    return out.str();
}

bool inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// The control's place in its parent's client area.
RECT placeOf(HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

LONG buttonType(HWND hwnd) {
    return className(hwnd) == "Button" ? GetWindowLongW(hwnd, GWL_STYLE) & BS_TYPEMASK : -1;
}

bool isGroupFrame(HWND hwnd) {
    return buttonType(hwnd) == BS_GROUPBOX;
}

// A drawn page (the program's own surface class) that buttons may lie on.
bool isDrawnPage(HWND hwnd) {
    return className(hwnd) == "TattiloSurface";
}

// The width the caption of a button, check box or radio button needs, and the room it has.
void checkCaption(HWND control, const std::string& where, std::vector<std::string>& problems) {
    const LONG type = buttonType(control);
    const bool push = type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
    const bool mark = type == BS_AUTOCHECKBOX || type == BS_CHECKBOX ||
                      type == BS_AUTORADIOBUTTON || type == BS_RADIOBUTTON;
    std::wstring text = win32gui::widen(windowText(control));
    if ((!push && !mark) || text.empty() || text.find(L'\n') != std::wstring::npos) {
        return;
    }
    HDC dc = GetDC(control);
    HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT needed{0, 0, 0, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &needed,
              DT_CALCRECT | DT_SINGLELINE);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    RECT client{};
    GetClientRect(control, &client);
    // A push button's frame, or the check mark and the gap after it.
    const int taken = push ? 2 * GetSystemMetrics(SM_CXEDGE) + 2
                           : GetSystemMetrics(SM_CXMENUCHECK) + GetSystemMetrics(SM_CXEDGE);
    if (needed.right - needed.left > client.right - taken) {
        problems.push_back(where + ": the caption of " + describe(control) + " needs " +
                           std::to_string(needed.right - needed.left) + " pixels, it has " +
                           std::to_string(client.right - taken));
    }
    if (needed.bottom - needed.top > client.bottom) {
        problems.push_back(where + ": the caption of " + describe(control) + " is " +
                           std::to_string(needed.bottom - needed.top) + " pixels high, it has " +
                           std::to_string(client.bottom));
    }
}

// The visible controls of `parent` (children only) against its client area and one another.
void checkControls(HWND parent, const std::string& where, std::vector<std::string>& problems,
                   int& checked) {
    RECT client{};
    GetClientRect(parent, &client);
    std::vector<HWND> above;  // the visible controls in front of the one looked at
    for (HWND c = GetWindow(parent, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
        if (!IsWindowVisible(c)) {
            continue;
        }
        const RECT r = placeOf(c);
        if (r.right <= r.left || r.bottom <= r.top) {
            continue;
        }
        ++checked;
        if (!inside(r, client)) {
            problems.push_back(where + ": " + describe(c) + " at " + show(r) +
                               " lies outside the client area " + show(client));
        }
        for (HWND a : above) {
            const RECT ra = placeOf(a);
            RECT overlap{};
            if (!IntersectRect(&overlap, &r, &ra)) {
                continue;
            }
            if (isGroupFrame(c) || (isDrawnPage(c) && inside(ra, r))) {
                continue;
            }
            problems.push_back(where + ": " + describe(c) + " at " + show(r) + " lies under " +
                               describe(a) + " at " + show(ra));
        }
        checkCaption(c, where, problems);
        if ((GetWindowLongW(c, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) != 0) {
            checkControls(c, where + " / " + describe(c), problems, checked);
        }
        above.push_back(c);
    }
}

// What is wrong with `window` as it shows now; the count of controls looked at goes to
// `checked`.
std::vector<std::string> checkWindow(HWND window, const std::string& name, int& checked) {
    std::vector<std::string> problems;
    RECT outer{};
    GetWindowRect(window, &outer);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    if (!inside(outer, monitor.rcMonitor)) {
        problems.push_back(name + ": the window at " + show(outer) + " is not all on the screen " +
                           show(monitor.rcMonitor));
    }
    checkControls(window, name, problems, checked);
    return problems;
}

class WindowFitTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { OleInitialize(nullptr); }

    void SetUp() override {
        if (const char* dpi = std::getenv("TATTILO_TEST_DPI"); dpi != nullptr && *dpi != '\0') {
            ASSERT_EQ(win32gui::screenDpi(), std::atoi(dpi))
                << "the screen does not have the scaling this run is for";
        }
        std::cout << "[ NOTE     ] the screen has " << win32gui::screenDpi() << " dpi\n";
    }

    // Checks the window of this program that `open` (run here) opens, once it shows and has
    // settled; then `close` (on the helper thread, with the window) puts it away, else the
    // close box does.
    void inspect(const std::string& name, const std::function<void()>& open,
                 const std::function<void(HWND)>& close = {}, HWND except = nullptr) {
        std::cout << "[ WINDOW   ] " << name << std::endl;
        std::atomic<bool> finished{false};
        std::atomic<HWND> opened{nullptr};
        {
            win32_test::Answerer answer(
                L"TattiloWindow",
                [&](HWND window) {
                    opened = window;
                    std::this_thread::sleep_for(std::chrono::milliseconds(400));
                    int count = 0;
                    const std::vector<std::string> found = checkWindow(window, name, count);
                    {
                        const std::lock_guard<std::mutex> hold(lock_);
                        problems_.insert(problems_.end(), found.begin(), found.end());
                        controls_ += count;
                        windows_.push_back(name);
                    }
                    win32_test::saveScreen(fileName(name));
                    if (close) {
                        close(window);
                    }
                    for (int i = 0; i < 100 && IsWindowVisible(window); ++i) {
                        std::this_thread::sleep_for(std::chrono::milliseconds(20));
                    }
                    if (IsWindowVisible(window)) {
                        PostMessageW(window, WM_CLOSE, 0, 0);
                    }
                    finished = true;
                },
                except);
            open();
            EXPECT_TRUE(waitUntil([&] { return finished.load(); }, 20000)) << name;
            answer.join();
            EXPECT_TRUE(answer.seen()) << name << " did not open";
        }
        waitUntil([&] { return opened.load() == nullptr || !IsWindowVisible(opened.load()); });
        win32_test::settle();
    }

    // The window that is open on this thread now, checked as it is.
    void inspectOpen(const std::string& name, HWND window) {
        std::cout << "[ WINDOW   ] " << name << std::endl;
        win32_test::settle(300);
        int count = 0;
        const std::vector<std::string> found = checkWindow(window, name, count);
        const std::lock_guard<std::mutex> hold(lock_);
        problems_.insert(problems_.end(), found.begin(), found.end());
        controls_ += count;
        windows_.push_back(name);
    }

    void report(std::size_t atLeast) {
        const std::lock_guard<std::mutex> hold(lock_);
        std::cout << "[ NOTE     ] " << windows_.size() << " windows, " << controls_
                  << " controls checked at " << win32gui::screenDpi() << " dpi\n";
        EXPECT_GE(windows_.size(), atLeast) << "some windows were never seen";
        EXPECT_GT(controls_, static_cast<int>(3 * windows_.size()));
        std::string all;
        for (const std::string& p : problems_) {
            all += "  " + p + "\n";
        }
        EXPECT_TRUE(problems_.empty()) << problems_.size() << " problems:\n" << all;
    }

    // The window of this program titled `title` once it shows and has the keys (null after
    // 20 s); called on a pilot thread.
    static HWND awaitWindow(const std::wstring& title, const wchar_t* cls = L"TattiloWindow") {
        for (int i = 0; i < 1000; ++i) {
            for (HWND w = FindWindowW(cls, title.c_str()); w != nullptr;
                 w = FindWindowExW(nullptr, w, cls, title.c_str())) {
                if (IsWindowVisible(w) && GetForegroundWindow() == w) {
                    std::this_thread::sleep_for(std::chrono::milliseconds(400));
                    return w;
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return nullptr;
    }
    // Checks a window a pilot thread found; false (and a failure) when it never came.
    bool checkShown(HWND window, const std::string& name) {
        if (window == nullptr) {
            ADD_FAILURE() << "the " << name << " never came";
            return false;
        }
        int count = 0;
        const auto found = checkWindow(window, name, count);
        win32_test::saveScreen(fileName(name));
        const std::lock_guard<std::mutex> hold(lock_);
        problems_.insert(problems_.end(), found.begin(), found.end());
        controls_ += count;
        windows_.push_back(name);
        return true;
    }
    // Answers the message box captioned `caption` with `key`, once it shows.
    static void answerMessageBox(const wchar_t* caption, WORD key) {
        if (HWND box = awaitWindow(caption, L"#32770")) {
            tap(key);
            for (int i = 0; i < 200 && IsWindowVisible(box); ++i) {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
        }
    }

    std::mutex lock_;
    std::vector<std::string> problems_;
    std::vector<std::string> windows_;
    int controls_ = 0;
};

TEST_F(WindowFitTest, EveryWindowOfTheWorkbench) {
    win32_test::Workbench w;
    ASSERT_NO_FATAL_FAILURE(w.start());
    HWND main = w.view->window().handle();
    ui::TextBox& page = w.logic().widgets().Memo2;
    auto putOnPage = [&](const std::string& text, bool selected) {
        page.setText(text);
        if (selected) {
            page.setSelection(0, text.size());
        } else {
            page.setSelStart(text.size());
        }
        win32_test::settle();
    };
    auto escape = [](HWND) { tap(VK_ESCAPE); };

    inspectOpen("main window in Braille", main);
    chord({VK_CONTROL}, 'B');
    ASSERT_TRUE(waitUntil([&] { return !w.logic().brailleMode(); }));
    inspectOpen("main window in Latex", main);
    chord({VK_CONTROL}, 'B');
    ASSERT_TRUE(waitUntil([&] { return w.logic().brailleMode(); }));

    inspect(
        "settings", [&] { w.logic().openSettings(); }, escape, main);
    win32gui::PrinterChoice printer;
    win32gui::Win32Dialogs dialogs(main, printer);
    inspect(
        "input box",
        [&] {
            dialogs.inputBox(editor::text::kFontInputCaption, editor::text::kFontInputPrompt,
                             "braillecour.ttf");
        },
        escape, main);

    putOnPage("#a+#b", false);
    inspect(
        "formula print", [] { chord({VK_SHIFT}, VK_F11); }, escape, main);

    w.view->clipboard().setBitmap(test_png::readPng(
        std::string(TATTILO_TEST_DATA) + "/notation/formula_preview/three_formulas.png"));
    win32gui::FormulaPreviewView& preview = w.view->formulaPreview();
    inspect(
        "formula preview",
        [&] {
            preview.logic().show("Tattilo  Stampa formule - prova.mtf", w.scratch.path.string());
        },
        [&](HWND window) {
            // The page with its buttons under it.
            chord({VK_CONTROL}, 'E');
            HWND stampa = preview.controls().handle("Stampa");
            for (int i = 0; i < 100 && !IsWindowVisible(stampa); ++i) {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            int count = 0;
            const auto found = checkWindow(window, "formula preview page", count);
            {
                const std::lock_guard<std::mutex> hold(lock_);
                problems_.insert(problems_.end(), found.begin(), found.end());
                controls_ += count;
                windows_.push_back("formula preview page");
            }
            // Del goes back to the rows, then closes the preview.
            tap(VK_DELETE);
            for (int i = 0; i < 100 && IsWindowVisible(stampa); ++i) {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
            tap(VK_DELETE);
        },
        main);

    // The sheet with each kind of operation: the boxes it shows differ.
    for (const char* operation : {"#b+#c", "#ab(#ac", "#ajh/#e"}) {
        putOnPage(operation, true);
        inspect(
            std::string("calculation sheet ") + operation, [] { chord({VK_CONTROL}, 'Q'); }, escape,
            main);
    }
    putOnPage("{?#b+#c*(#d}-#a", false);
    inspect(
        "structure view", [] { chord({VK_CONTROL}, 'S'); }, escape, main);
    putOnPage("?#b+#c*(#d", false);
    inspect(
        "decomposition", [] { chord({VK_CONTROL}, 'W'); }, escape, main);
    putOnPage("#b+#c\r\n?#a+#b*(?#c+#d*", false);
    inspect(
        "brackets tutor", [] { chord({VK_SHIFT}, VK_F1); }, escape, main);
    for (auto [kind, name] :
         {std::pair{learning::TutorKind::Operations, "operations tutor"},
          std::pair{learning::TutorKind::ComplexFractions, "fractions tutor"}}) {
        win32gui::LearningWindow& frame = w.view->tutor(kind).frame();
        inspect(
            name, [&frame] { frame.modal().showModal(); }, {}, main);
    }
    report(15);
}

TEST_F(WindowFitTest, EveryWindowOfTheInstaller) {
    win32_test::Scratch scratch;
    fs::copy(fs::path(TATTILO_SOURCE_DIR) / "data" / "distribution", scratch.path / "cd");
    scratch.write("machine/C/ALTROVE/DISCO2/EXTRA.QKP", "x");
    win32gui::InstallerOptions options;
    options.root = scratch.path / "machine";
    options.source = win32gui::pathText(scratch.path / "cd");
    options.programFolder = scratch.path;
    // Each journal record takes a while: the progress window stays long enough to be seen.
    options.hooks.journalRecord = [](std::size_t) { Sleep(40); };
    win32gui::InstallerApp app(options);

    // The keyboard's user on a thread of its own, checking each window as it comes.
    std::thread pilot([&] {
        auto await = [](const std::wstring& title, const wchar_t* cls = L"TattiloWindow") {
            return awaitWindow(title, cls);
        };
        auto check = [&](HWND window, const std::string& name) { return checkShown(window, name); };
        auto answerBox = [&](WORD key) { answerMessageBox(L"Tattilo Install", key); };
        if (!check(await(L"License Agreement"), "licence")) {
            return;
        }
        tap(VK_RETURN);  // "I Agree", the default button
        answerBox(VK_RETURN);
        HWND main = await(L"Tattilo Install");
        if (!check(main, "installer main window")) {
            return;
        }
        tap(VK_DOWN);  // a group
        chord({VK_MENU}, 'D');
        if (check(await(L"Details"), "details")) {
            tap(VK_ESCAPE);
        }
        await(L"Tattilo Install");
        chord({VK_MENU}, 'B');
        if (check(await(L"About The Installer"), "about")) {
            tap(VK_RETURN);
        }
        await(L"Tattilo Install");
        chord({VK_MENU}, 'A');  // Select All: the second disk is missing
        chord({VK_MENU}, 'O');  // and asked for
        tap(VK_RETURN);         // "Install"
        check(await(L"Installing..."), "progress");
        if (check(await(L"Select location"), "disk prompt")) {
            chord({VK_MENU}, 'S');  // Skip
        }
        answerBox('Y');  // Start Menu icons
        answerBox(VK_RETURN);
        answerBox('N');  // no restart
    });
    if (app.start()) {
        EXPECT_TRUE(waitUntil([&] { return app.finished(); }, 120000))
            << "the installer never ended";
    }
    pilot.join();
    EXPECT_EQ(app.exitStatus(), installer::kExitInstalled);
    report(6);
}

// The uninstaller's windows, over a product installed into a sandbox: the confirmation (read by
// a screen reader as it shows), the progress window and the final message.
TEST_F(WindowFitTest, EveryWindowOfTheUninstaller) {
    win32_test::Scratch scratch;
    fs::copy(fs::path(TATTILO_SOURCE_DIR) / "data" / "distribution", scratch.path / "cd");
    const std::string machine = win32gui::pathText(scratch.path / "machine");
    const std::vector<std::string> install = {
        "--unattended",    "--root", machine, "--source", win32gui::pathText(scratch.path / "cd"),
        "--accept-license"};
    std::ostringstream out, err;
    ASSERT_EQ(installer::runUnattended(install, scratch.path, out, err), installer::kExitInstalled)
        << out.str() << err.str();

    win32gui::UninstallerOptions options;
    options.root = scratch.path / "machine";
    options.product = "Tattilo";
    options.programFolder = scratch.path;
    // Each journal record takes a while: the progress window stays long enough to be seen.
    options.hooks.journalRecord = [](std::size_t) { Sleep(100); };
    win32gui::UninstallerApp app(options);
    std::string removeName;
    std::thread pilot([&] {
        HWND confirmation = awaitWindow(L"Tattilo Uninstall");
        if (!checkShown(confirmation, "uninstall confirmation")) {
            return;
        }
        removeName = win32gui::readAccessibleName(
            FindWindowExW(confirmation, nullptr, L"BUTTON", L"&Remove"));
        tap(VK_RETURN);  // "Remove", the default button
        checkShown(awaitWindow(L"Removing..."), "removal progress");
        answerMessageBox(L"Tattilo Uninstall", VK_RETURN);
    });
    if (app.start()) {
        EXPECT_TRUE(waitUntil([&] { return app.finished(); }, 120000))
            << "the uninstaller never ended";
    }
    pilot.join();
    EXPECT_EQ(app.exitStatus(), installer::kExitInstalled) << "0: removed";
    EXPECT_EQ(removeName, "Remove");
    report(2);
}

}  // namespace
