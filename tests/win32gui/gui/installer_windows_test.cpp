// The installer's windows on Windows, driven by keyboard alone from a helper thread while the
// window thread runs them: the licence, the main window, Details, the progress window, the
// disk prompt and the message boxes, on a sandbox machine and on this computer (the Wine
// prefix). Cancelling at the progress window holds the installation thread while the question
// is open and rolls the machine back. The flow itself is tested on Linux: here the adapter, the
// names readers hear and the three threads.

#include <oleacc.h>

#include <atomic>
#include <map>
#include <mutex>
#include <sstream>

#include "installer/messages.h"
#include "installer/system/win32/win32_system.h"
#include "installer/unattended/unattended.h"
#include "installer/windows/window_controls.h"
#include "ui/text_trim.h"
#include "win32gui/accessible.h"
#include "win32gui/installer/installer_app.h"
#include "window_harness.h"

namespace fs = std::filesystem;
namespace msg = installer::msg;

namespace {

using win32_test::chord;
using win32_test::tap;
using win32_test::type;
using win32_test::waitUntil;

// Every file below `root` with its bytes, by its path relative to it.
std::map<std::string, std::string> snapshot(const fs::path& root) {
    std::map<std::string, std::string> files;
    std::error_code ec;
    if (!fs::exists(root, ec)) {
        return files;
    }
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const std::string name = fs::relative(entry.path(), root).generic_string();
        files[name] = entry.is_regular_file() ? win32_test::readFile(entry.path()) : "<folder>";
    }
    return files;
}

struct Found {
    std::wstring title;
    std::wstring className;
    HWND hwnd = nullptr;
};

BOOL CALLBACK matchTitle(HWND hwnd, LPARAM data) {
    auto* f = reinterpret_cast<Found*>(data);
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    if (process == GetCurrentProcessId() && IsWindowVisible(hwnd) &&
        (f->className.empty() || f->className == name) &&
        win32_test::windowText(hwnd) == win32gui::narrow(f->title)) {
        f->hwnd = hwnd;
        return FALSE;
    }
    return TRUE;
}

// The visible window of this program titled `title` (and of the class, when given).
HWND openWindow(const std::wstring& title, const std::wstring& className = L"TattiloWindow") {
    Found f{title, className};
    EnumWindows(&matchTitle, reinterpret_cast<LPARAM>(&f));
    return f.hwnd;
}

// The text of a message box (its first STATIC with text), its line breaks as the program
// wrote them ("\n").
std::string boxText(HWND box) {
    for (HWND child = FindWindowExW(box, nullptr, L"Static", nullptr); child != nullptr;
         child = FindWindowExW(box, child, L"Static", nullptr)) {
        std::string text = win32_test::windowText(child);
        if (!text.empty()) {
            std::erase(text, '\r');
            return text;
        }
    }
    return {};
}

// A child button of `window` by its caption.
HWND button(HWND window, const wchar_t* caption) {
    return FindWindowExW(window, nullptr, L"Button", caption);
}

// The keyboard's user on a thread of its own: waits for each window, looks at it, presses
// keys. Every wait gives up after a while (the test then fails on what did not happen).
class Pilot {
public:
    explicit Pilot(std::function<void(Pilot&)> script)
        : thread_([this, script = std::move(script)] { script(*this); }) {}
    ~Pilot() { join(); }
    Pilot(const Pilot&) = delete;
    Pilot& operator=(const Pilot&) = delete;
    void join() {
        if (thread_.joinable()) {
            thread_.join();
        }
    }

    // Waits until the window is open and has the keyboard.
    HWND await(const std::wstring& title, const std::wstring& className = L"TattiloWindow",
               int seconds = 20) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        while (std::chrono::steady_clock::now() < end) {
            HWND w = openWindow(title, className);
            if (w != nullptr && GetForegroundWindow() == w) {
                std::this_thread::sleep_for(std::chrono::milliseconds(150));
                return w;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        ADD_FAILURE() << "no window \"" << win32gui::narrow(title) << "\" came to the front";
        return nullptr;
    }

    // Waits for a message box with the product's caption; its text.
    std::string awaitBox(HWND& box, int seconds = 20) {
        box = await(L"Tattilo Install", L"#32770", seconds);
        const std::string text = box ? boxText(box) : std::string();
        std::lock_guard guard(lock_);
        boxes_.push_back(text);
        return text;
    }

    // Answers the next message box with `key` ('Y', 'N' or VK_RETURN) and returns its text.
    std::string answerBox(WORD key) {
        HWND box = nullptr;
        const std::string text = awaitBox(box);
        if (box != nullptr) {
            tap(key);
            waitGone(box);
        }
        return text;
    }

    // Tab until `target` has the focus of `window`'s thread.
    bool tabTo(HWND window, HWND target) {
        const DWORD thread = GetWindowThreadProcessId(window, nullptr);
        for (int i = 0; i < 40; ++i) {
            if (win32_test::focusOf(thread) == target) {
                return true;
            }
            tap(VK_TAB);
            std::this_thread::sleep_for(std::chrono::milliseconds(60));
        }
        ADD_FAILURE() << "the focus never came to " << win32_test::windowText(target);
        return false;
    }

    static bool waitGone(HWND window, int seconds = 10) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        while (IsWindow(window) && IsWindowVisible(window)) {
            if (std::chrono::steady_clock::now() > end) {
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return true;
    }

    std::vector<std::string> boxes() {
        std::lock_guard guard(lock_);
        return boxes_;
    }

private:
    std::mutex lock_;
    std::vector<std::string> boxes_;
    std::thread thread_;
};

// The licence by keyboard: Tab from the text to "I Agree", Space.
void agree(Pilot& p) {
    HWND license = p.await(L"License Agreement");
    if (license == nullptr) {
        return;
    }
    p.tabTo(license, button(license, L"I &Agree"));
    tap(VK_SPACE);
    Pilot::waitGone(license);
}

// The greeting before the background window.
void greeted(Pilot& p) {
    const std::string text = p.answerBox(VK_RETURN);
    EXPECT_EQ(text.rfind(std::string(msg::kAboutToInstallHead), 0), 0u) << text;
}

class InstallerWindowsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { OleInitialize(nullptr); }

    void SetUp() override {
        fs::copy(fs::path(TATTILO_SOURCE_DIR) / "data" / "distribution", scratch.path / "cd");
    }

    void TearDown() override {
        app.reset();
        win32gui::processPendingMessages();
    }

    void make(bool sandbox = true, bool realDialogs = true) {
        win32gui::InstallerOptions options;
        if (sandbox) {
            options.root = scratch.path / "machine";
        }
        options.source = win32gui::pathText(scratch.path / "cd");
        options.programFolder = scratch.path;
        options.dialogs = realDialogs ? nullptr : &scripted;
        options.hooks = hooks;
        app = std::make_unique<win32gui::InstallerApp>(options);
    }

    // Runs the installer on this thread until it has ended.
    void run() {
        if (app->start()) {
            ASSERT_TRUE(waitUntil([this] { return app->finished(); }, 90000))
                << "the installer never ended";
        }
    }

    win32_test::Scratch scratch;
    ui::memory::ScriptedDialogs scripted;
    installer::FlowHooks hooks;
    std::unique_ptr<win32gui::InstallerApp> app;
};

// The main window by keyboard: the list has the focus on its first line, Down and Space clear
// and choose "Documentazione", Alt+C brings the focus back to the list, Tab goes to "Install".
void chooseAndInstall(Pilot& p, std::atomic<int>& documentation) {
    HWND main = p.await(L"Tattilo Install");
    if (main == nullptr) {
        return;
    }
    HWND list = FindWindowExW(main, nullptr, WC_LISTVIEWW, nullptr);
    const DWORD thread = GetWindowThreadProcessId(main, nullptr);
    EXPECT_EQ(win32_test::focusOf(thread), list) << "the components have the focus";
    tap(VK_DOWN);
    tap(VK_SPACE);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    const auto mark = [list] {
        return static_cast<int>(
            (SendMessageW(list, LVM_GETITEMSTATE, 1, LVIS_STATEIMAGEMASK) >> 12) - 1);
    };
    documentation = mark() * 10;
    tap(VK_SPACE);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    documentation += mark();
    win32_test::saveScreen("component-chooser");
    p.tabTo(main, button(main, L"&Install"));
    tap(VK_SPACE);
    Pilot::waitGone(main);
}

// The success steps' questions and messages, answered as the user would: icons yes, no
// restart.
void succeeded(Pilot& p) {
    EXPECT_EQ(p.answerBox('Y'), msg::kStartMenuQuestion);
    const std::string done = p.answerBox(VK_RETURN);
    EXPECT_EQ(done.rfind("Installation succesful!", 0), 0u) << done;
    const std::string restart = p.answerBox('N');
    EXPECT_EQ(restart.rfind(std::string(msg::kRestartHead), 0), 0u) << restart;
}

TEST_F(InstallerWindowsTest, FromTheLicenceToSuccessIntoASandboxByKeyboard) {
    make();
    std::atomic<int> documentation{-1};
    Pilot pilot([&](Pilot& p) {
        agree(p);
        greeted(p);
        chooseAndInstall(p, documentation);
        succeeded(p);
    });
    run();
    pilot.join();
    EXPECT_EQ(documentation.load(), 1) << "Space cleared the group's line, then chose it again";
    EXPECT_EQ(app->exitStatus(), installer::kExitInstalled);
    const fs::path installed = scratch.path / "machine" / "C" / "Tattilo";
    EXPECT_TRUE(fs::exists(installed / "ESEMPI")) << "the group's members were installed";
    EXPECT_FALSE(fs::exists(installed / "DEUTSCH")) << "not chosen, not installed";

    // The same answers without windows install the same bytes.
    const std::vector<std::string> args = {"--unattended",
                                           "--root",
                                           win32gui::pathText(scratch.path / "twin"),
                                           "--source",
                                           win32gui::pathText(scratch.path / "cd"),
                                           "--accept-license",
                                           "--components",
                                           "Programma,Documentazione"};
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(installer::runUnattended(args, scratch.path, out, err), installer::kExitInstalled)
        << out.str() << err.str();
    const auto windows = snapshot(scratch.path / "machine");
    const auto unattended = snapshot(scratch.path / "twin");
    ASSERT_EQ(windows.size(), unattended.size());
    for (const auto& [name, bytes] : unattended) {
        ASSERT_EQ(windows.count(name), 1u) << name;
        EXPECT_TRUE(windows.at(name) == bytes) << name;
    }
}

}  // namespace

namespace {

// What MSAA gives a reader for each control of a window made from `table`: the names of the
// Linux build (a value text's own name only where the system has annotations).
void readsTheTableNames(win32gui::ControlSet& controls, const installer::WindowTable& table,
                        const char* window) {
    using K = ui::ControlKind;
    for (const ui::ControlSpec& item : table.controls) {
        const bool valueText = item.kind == K::Label && item.caption.empty();
        if (valueText && !win32gui::annotationsAvailable()) {
            continue;
        }
        const std::string wanted = ui::accessibleName(table.controls, item);
        if (wanted.empty()) {
            continue;
        }
        // A reader says nothing of the blanks around a name.
        const std::string read = win32gui::readAccessibleName(controls.handle(item.name));
        EXPECT_EQ(std::string(ui::trimControls(read)), wanted) << window << ": " << item.name;
    }
}

TEST_F(InstallerWindowsTest, CancelAtTheProgressWindowHoldsTheCopyAndRollsBack) {
    // Each journal record takes a while: the copy lasts long enough to be cancelled.
    std::atomic<std::size_t> records{0};
    hooks.journalRecord = [&](std::size_t n) {
        records = n;
        Sleep(150);
    };
    make();
    std::map<std::string, std::string> before;
    std::atomic<bool> held{false};
    std::atomic<bool> wentOn{false};
    std::string reported;
    std::atomic<int> totalShown{0};
    Pilot pilot([&](Pilot& p) {
        CoInitialize(nullptr);
        agree(p);
        greeted(p);
        HWND main = p.await(L"Tattilo Install");
        if (main == nullptr) {
            return;
        }
        before = snapshot(scratch.path / "machine");
        if (auto* view = app->mainDialog()) {
            readsTheTableNames(view->dialog().controls(), installer::mainDialogControls(), "main");
        }
        p.tabTo(main, button(main, L"&Install"));
        tap(VK_SPACE);
        HWND progress = p.await(L"Installing...");
        if (progress == nullptr) {
            return;
        }
        if (auto* view = app->progress()) {
            readsTheTableNames(view->dialog().controls(), installer::progressDialogControls(),
                               "progress");
        }
        // The installation thread's reports reach the window: the component's name above,
        // the bars moving.
        HWND upper = FindWindowExW(progress, nullptr, L"Static", nullptr);
        HWND totalBar =
            FindWindowExW(progress, FindWindowExW(progress, nullptr, PROGRESS_CLASSW, nullptr),
                          PROGRESS_CLASSW, nullptr);
        const auto end0 = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < end0 &&
               !(win32_test::windowText(upper).rfind(std::string(msg::kInstalling), 0) == 0 &&
                 SendMessageW(totalBar, PBM_GETPOS, 0, 0) > 0)) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        reported = win32_test::windowText(upper);
        totalShown = static_cast<int>(SendMessageW(totalBar, PBM_GETPOS, 0, 0));
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        win32_test::saveScreen("progress");
        tap(VK_SPACE);  // the focus is on Cancel
        HWND box = nullptr;
        EXPECT_EQ(p.awaitBox(box), msg::kNotCompleted);
        // While the question is open the installation thread waits at its next poll.
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
        const std::size_t asked = records.load();
        std::this_thread::sleep_for(std::chrono::milliseconds(1200));
        held = records.load() == asked;
        tap('N');
        Pilot::waitGone(box);
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (records.load() <= asked + 1 && std::chrono::steady_clock::now() < end) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        wentOn = records.load() > asked + 1;
        EXPECT_TRUE(IsWindowVisible(progress)) << "No keeps the progress window";
        // The background window's close box asks the same.
        PostMessageW(FindWindowW(L"InstelloBackground", nullptr), WM_CLOSE, 0, 0);
        EXPECT_EQ(p.answerBox('N'), msg::kNotCompleted);
        EXPECT_TRUE(IsWindow(FindWindowW(L"InstelloBackground", nullptr)));
        tap(VK_ESCAPE);  // Esc asks the same
        EXPECT_EQ(p.answerBox('Y'), msg::kNotCompleted);
        EXPECT_EQ(p.answerBox(VK_RETURN), msg::kCanceled);
        CoUninitialize();
    });
    run();
    pilot.join();
    EXPECT_EQ(reported.rfind(std::string(msg::kInstalling), 0), 0u) << reported;
    EXPECT_GT(totalShown.load(), 0) << "the total bar moves while copying";
    EXPECT_LE(totalShown.load(), installer::kBarMaximum);
    EXPECT_TRUE(held) << "the copy went on while \"Are you sure?\" was open";
    EXPECT_TRUE(wentOn) << "the copy did not go on after No";
    EXPECT_EQ(app->exitStatus(), installer::kExitCancelled);
    ASSERT_FALSE(before.empty());
    EXPECT_TRUE(snapshot(scratch.path / "machine") == before) << "the machine as it was";
}

TEST_F(InstallerWindowsTest, TheDiskPromptByKeyboard) {
    make();
    std::atomic<bool> optional{false};
    std::atomic<bool> noMenu{false};
    std::atomic<bool> stayed{false};
    std::atomic<bool> okEnabledAfter{false};
    std::string label;
    std::string validation;
    bool okDisabled = false;
    Pilot pilot([&](Pilot& p) {
        agree(p);
        greeted(p);
        HWND main = p.await(L"Tattilo Install");
        if (main == nullptr) {
            return;
        }
        // A folder of the machine that holds the second disk's program file.
        scratch.write("machine/C/ALTROVE/DISCO2/EXTRA.QKP", "x");
        p.tabTo(main, button(main, L"Select &All"));
        tap(VK_SPACE);
        chord({VK_MENU}, 'O');  // " Check for &optional components"
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        GUITHREADINFO info{};
        info.cbSize = sizeof(info);
        GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &info);
        noMenu = (info.flags & (GUI_INMENUMODE | GUI_SYSTEMMENUMODE)) == 0;
        optional = SendMessageW(button(main, L" Check for &optional components"), BM_GETCHECK, 0,
                                0) == BST_CHECKED;
        p.tabTo(main, button(main, L"&Install"));
        tap(VK_SPACE);
        HWND prompt = p.await(L"Select location");
        if (prompt == nullptr) {
            return;
        }
        label = win32_test::windowText(FindWindowExW(prompt, nullptr, L"Static", nullptr));
        okDisabled = !IsWindowEnabled(button(prompt, L"OK"));
        for (HWND s = FindWindowExW(prompt, nullptr, L"Static", nullptr); s != nullptr;
             s = FindWindowExW(prompt, s, L"Static", nullptr)) {
            if (win32_test::windowText(s) == msg::kCannotFindPackageAt) {
                validation = win32_test::windowText(s);
            }
        }
        tap(VK_ESCAPE);
        EXPECT_EQ(p.answerBox('N'), msg::kNotCompleted);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        stayed = IsWindowVisible(prompt) != FALSE;
        // The path typed over the proposed one (the field has the focus).
        tap(VK_END);
        chord({VK_SHIFT}, VK_HOME);
        tap(VK_DELETE);
        type("C:\\ALTROVE\\");
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        okEnabledAfter = IsWindowEnabled(button(prompt, L"OK")) != FALSE;
        chord({VK_MENU}, 'S');  // "&Skip"
        Pilot::waitGone(prompt);
        succeeded(p);
    });
    run();
    pilot.join();
    EXPECT_TRUE(optional) << "Alt+O checks \"Check for optional components\"";
    EXPECT_TRUE(noMenu) << "the release of Alt opened the system menu";
    EXPECT_EQ(label, "Insert disk labeled Disco 2");
    EXPECT_TRUE(okDisabled);
    EXPECT_EQ(validation, msg::kCannotFindPackageAt);
    EXPECT_TRUE(stayed) << "No returns to the prompt";
    EXPECT_TRUE(okEnabledAfter) << "a folder that holds the program enables OK";
    EXPECT_EQ(app->exitStatus(), installer::kExitInstalled);
    EXPECT_TRUE(fs::exists(scratch.path / "machine/C/Tattilo/ESEMPI")) << "Select All";
}

// Into this computer (the Wine prefix of the Windows tests): the registry and the Start Menu
// of the system itself. Only where TATTILO_TEST_INSTALL_HERE=1 says the machine may be changed.
TEST_F(InstallerWindowsTest, FromTheLicenceToSuccessIntoThisComputer) {
    const char* allowed = std::getenv("TATTILO_TEST_INSTALL_HERE");
    if (allowed == nullptr || std::string(allowed) != "1") {
        GTEST_SKIP() << "TATTILO_TEST_INSTALL_HERE=1 lets this test install into this computer";
    }
    const std::string target = "C:\\TattiloFinestre\\";
    make(false);
    Pilot pilot([&](Pilot& p) {
        agree(p);
        greeted(p);
        HWND main = p.await(L"Tattilo Install");
        if (main == nullptr) {
            return;
        }
        chord({VK_MENU}, 'T');  // "Install &to:" puts the focus in the field, all selected
        type(target);
        tap(VK_RETURN);  // the default button, "Install"
        succeeded(p);
    });
    run();
    pilot.join();
    ASSERT_EQ(app->exitStatus(), installer::kExitInstalled);
    installer::system::Win32System here;
    EXPECT_TRUE(here.fileExists(target + "BIN\\celle.bin"));
    EXPECT_TRUE(here.fileExists(target + "GUIDA\\guida.htm")) << "the recommended selection";
    const auto path = here.regQueryValue(installer::system::RegRoot::LocalMachine,
                                         "Software\\Quillon\\Tattilo", "InstallPath");
    ASSERT_TRUE(path.has_value());
    EXPECT_EQ(path->data, target + '\0');
    bool linked = false;
    for (const auto folder : {installer::system::SpecialFolder::Programs,
                              installer::system::SpecialFolder::CommonPrograms}) {
        const auto programs = here.specialFolder(folder);
        const auto links = programs ? here.listFolder(*programs + "\\Tattilo") : std::nullopt;
        linked = linked || (links && !links->empty());
    }
    EXPECT_TRUE(linked) << "the Start Menu shortcut";
}

// Details, About and Item Info from the main window by keyboard, and Quit: Alt with the
// underlined letters, Esc for Cancel, Enter for OK.
TEST_F(InstallerWindowsTest, DetailsAboutItemInfoAndQuitByKeyboard) {
    make();
    std::string group;
    std::string listName;
    std::string info;
    std::atomic<int> marksAfterCancel{-1};
    std::atomic<bool> aboutSeen{false};
    Pilot pilot([&](Pilot& p) {
        CoInitialize(nullptr);
        agree(p);
        greeted(p);
        HWND main = p.await(L"Tattilo Install");
        if (main == nullptr) {
            return;
        }
        HWND list = FindWindowExW(main, nullptr, WC_LISTVIEWW, nullptr);
        tap(VK_DOWN);           // "Documentazione", a group
        chord({VK_MENU}, 'D');  // "&Details..."
        HWND details = p.await(L"Details");
        if (details == nullptr) {
            return;
        }
        HWND members = FindWindowExW(details, nullptr, WC_LISTVIEWW, nullptr);
        group = win32_test::windowText(FindWindowExW(details, nullptr, L"Static", nullptr));
        listName = win32gui::readAccessibleName(members);
        tap(VK_DOWN);    // "Esempi"
        tap(VK_SPACE);   // chosen ...
        tap(VK_ESCAPE);  // ... and put back by Cancel
        Pilot::waitGone(details);
        marksAfterCancel = static_cast<int>(
            (SendMessageW(list, LVM_GETITEMSTATE, 1, LVIS_STATEIMAGEMASK) >> 12) - 1);
        chord({VK_MENU}, 'B');  // "A&bout..."
        if (HWND about = p.await(L"About The Installer")) {
            aboutSeen = true;
            tap(VK_RETURN);
            Pilot::waitGone(about);
        }
        p.tabTo(main, button(main, L"Item &Info..."));
        tap(VK_SPACE);
        if (HWND box = p.await(L"Documentazione", L"#32770")) {
            info = boxText(box);
            tap(VK_RETURN);
            Pilot::waitGone(box);
        }
        chord({VK_MENU}, 'Q');  // "&Quit"
        EXPECT_EQ(p.answerBox('Y'), msg::kReallyQuit);
        EXPECT_EQ(p.answerBox(VK_RETURN), msg::kCanceled);
        CoUninitialize();
    });
    run();
    pilot.join();
    EXPECT_EQ(group, "Documentazione") << "the group's name over its members";
    EXPECT_EQ(listName, "Documentazione") << "names the members' list for a reader";
    EXPECT_EQ(marksAfterCancel.load(), 2) << "Cancel put the group back, partly chosen";
    EXPECT_TRUE(aboutSeen);
    EXPECT_EQ(info, "La guida e i documenti di esempio.");
    EXPECT_EQ(app->exitStatus(), installer::kExitDeclined);
}

}  // namespace
