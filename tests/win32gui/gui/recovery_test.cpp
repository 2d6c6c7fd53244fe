// Recovery of unsaved work on Windows, by keyboard:
//   - the question at start is a Windows message box with the document's name and "Sì" as its
//     default button: Enter takes the work back into the window;
//   - the real tattilo.exe, a process of its own, typed into and killed (TerminateProcess, as a
//     power cut stops it) at a random moment, in Braille mode and across a mode switch: the copy
//     it left holds a state its window had, none older than the last one that stayed still for
//     a few seconds; the next tattilo.exe offers it, Enter takes it, and the copy that program
//     then writes of its window holds exactly that state, the document file untouched.

#include <chrono>
#include <iostream>
#include <random>

#include "../../editor/recovery_history.h"
#include "editor/document_file.h"
#include "editor/recovery/recovery_folder.h"
#include "window_harness.h"

namespace {

namespace fs = std::filesystem;
using recovery_test::Model;
using recovery_test::sameWork;
using win32_test::chord;
using win32_test::settle;
using win32_test::tap;
using win32_test::type;
using win32_test::waitUntil;

TEST(RecoveryWindows, TheQuestionAtStartIsAMessageBoxWhoseEnterTakesTheWorkBack) {
    OleInitialize(nullptr);
    win32_test::Scratch copies;
    const auto withRecovery = [&](win32gui::MainWindowOptions& o) {
        o.recovery = {copies.path, true};
    };
    {
        win32_test::Workbench first;
        ASSERT_NO_FATAL_FAILURE(first.start({}, true, {}, withRecovery));
        type("#ab ");
        ASSERT_TRUE(waitUntil(
            [&] {
                const fs::path file = first.view->workbench().recovery()->copyFile();
                return !file.empty() && fs::exists(file);
            },
            8000))
            << "no copy was written";
        // The window goes without closing, as when the program is killed.
    }
    std::string asked;
    std::string caption;
    std::string yes;
    win32_test::Answerer answer(L"#32770", [&](HWND box) {
        asked = win32_test::windowText(GetDlgItem(box, 0xFFFF));
        caption = win32_test::windowText(box);
        yes = win32_test::windowText(GetDlgItem(box, IDYES));
        win32_test::saveScreen("recovery-question");
        tap(VK_RETURN);
    });
    win32_test::Workbench second;
    ASSERT_NO_FATAL_FAILURE(second.start({}, true, {}, withRecovery));
    answer.join();
    ASSERT_TRUE(answer.seen()) << "no question at start";
    EXPECT_TRUE(
        asked.starts_with("Il nuovo documento esercizio000.mtf non era stato salvato "
                          "quando il programma si \xE8 interrotto."))
        << asked;
    EXPECT_NE(asked.find("Recuperare il documento?"), std::string::npos) << asked;
    EXPECT_EQ(caption, "Recupero documento");
    EXPECT_NE(yes.find("S\xEC"), std::string::npos) << yes;
    EXPECT_EQ(second.logic().widgets().Memo2.text(), "#ab ");
    EXPECT_TRUE(second.logic().modified());
}

// ---- the real program, killed

struct Child {
    PROCESS_INFORMATION info{};
    bool running = false;
};

BOOL CALLBACK findWindowOf(HWND hwnd, LPARAM data) {
    auto* search = reinterpret_cast<std::pair<DWORD, std::pair<const wchar_t*, HWND>>*>(data);
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    if (process == search->first && IsWindowVisible(hwnd) &&
        lstrcmpW(name, search->second.first) == 0) {
        search->second.second = hwnd;
        return FALSE;
    }
    return TRUE;
}

// The first visible window of class `className` of process `process`, waiting up to `ms`.
HWND windowOf(DWORD process, const wchar_t* className, int ms) {
    HWND found = nullptr;
    waitUntil(
        [&] {
            std::pair<DWORD, std::pair<const wchar_t*, HWND>> search{process, {className, nullptr}};
            EnumWindows(&findWindowOf, reinterpret_cast<LPARAM>(&search));
            found = search.second.second;
            return found != nullptr;
        },
        ms);
    return found;
}

class RecoveryKill : public ::testing::Test {
protected:
    void SetUp() override {
        const fs::path bin = fs::current_path();
        if (!fs::exists(bin / "tattilo.exe")) {
            GTEST_SKIP() << "tattilo.exe is not built";
        }
        // A program folder of its own, whose settings name everything the start asks for.
        program_ = scratch_.path / "programma";
        fs::create_directories(program_);
        for (const char* file : {"tattilo.exe", "filtro.base"}) {
            fs::copy_file(bin / file, program_ / file);
        }
        fs::copy(bin / "fonts", program_ / "fonts", fs::copy_options::recursive);
        fs::create_directories(scratch_.path / "esercizi");
        scratch_.write("programma/tattilo.ini",
                       "editor grafico = C:\\windows\\notepad.exe\r\nfiltro = filtro.base\r\n"
                       "font = braillecour.ttf\r\nworkdir = " +
                           win32gui::pathText(scratch_.path / "esercizi") + "\r\n");
        // The copies go to this test's own application data.
        SetEnvironmentVariableW(L"LOCALAPPDATA", (scratch_.path / "locale").c_str());
        const char* seed = std::getenv("TATTILO_KILL_SEED");
        const unsigned s = seed != nullptr ? static_cast<unsigned>(std::strtoul(seed, nullptr, 10))
                                           : std::random_device{}();
        random_.seed(s);
        std::cout << "TATTILO_KILL_SEED=" << s << '\n';
    }
    void TearDown() override {
        if (child_.running) {
            kill();
        }
        SetEnvironmentVariableW(L"LOCALAPPDATA", nullptr);
    }
    fs::path recoveryFolder() const { return scratch_.path / "locale" / "Tattilo" / "recupero"; }

    HWND launch(const fs::path& document) {
        std::wstring command =
            L"\"" + (program_ / "tattilo.exe").wstring() + L"\" \"" + document.wstring() + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        const BOOL made = CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0,
                                         nullptr, program_.c_str(), &startup, &child_.info);
        EXPECT_TRUE(made) << "tattilo.exe did not start";
        child_.running = made != FALSE;
        return made ? windowOf(child_.info.dwProcessId, L"TattiloWindow", 30000) : nullptr;
    }
    void kill() {
        TerminateProcess(child_.info.hProcess, 1);
        WaitForSingleObject(child_.info.hProcess, 10000);
        CloseHandle(child_.info.hProcess);
        CloseHandle(child_.info.hThread);
        child_.running = false;
    }
    std::vector<editor::LeftCopy> leftCopies() const {
        return editor::findLeftCopies(recoveryFolder(), "").copies;
    }

    win32_test::Scratch scratch_;
    fs::path program_;
    Child child_;
    std::mt19937 random_;
};

TEST_F(RecoveryKill, KilledWhileTypingAndAcrossAModeSwitchTheNextStartGivesTheWorkBack) {
    const fs::path doc = scratch_.path / "esercizi" / "compito.mtf";
    scratch_.write("esercizi/compito.mtf", editor::formatDocument({}));
    Model m;
    ASSERT_TRUE(editor::parseDocument(win32_test::readFile(doc), m.state.pages));
    m.state.braille = true;

    const HWND main = launch(doc);
    ASSERT_NE(main, nullptr) << "tattilo.exe showed no window";
    ASSERT_TRUE(win32_test::toFront(main)) << "the window never came to the front";
    settle(1500);
    tap(VK_ESCAPE);
    chord({VK_CONTROL}, VK_END);
    settle(300);

    const auto start = std::chrono::steady_clock::now();
    const auto switchAt = start + std::chrono::seconds(4);
    const auto until =
        start + std::chrono::milliseconds(std::uniform_int_distribution(6000, 12000)(random_));
    bool switched = false;
    while (std::chrono::steady_clock::now() < until) {
        if (!switched && std::chrono::steady_clock::now() >= switchAt) {
            switched = true;
            if (m.switchMode()) {
                chord({VK_CONTROL}, 'B');
                m.record();
                settle(500);
                chord({VK_CONTROL}, VK_END);
            }
        }
        const std::string alphabet = m.state.braille ? "abcdefghij#+= " : "xyz123+=- ";
        const int burst = std::uniform_int_distribution(1, 6)(random_);
        for (int k = 0; k < burst && std::chrono::steady_clock::now() < until; ++k) {
            const char c = alphabet[std::uniform_int_distribution<std::size_t>(
                0, alphabet.size() - 1)(random_)];
            type(std::string_view(&c, 1));
            m.text() += c;
            m.record();
            Sleep(std::uniform_int_distribution(40, 120)(random_));
        }
        // The kill comes at its moment, in a pause or in the middle of a burst.
        const auto pause =
            std::chrono::milliseconds(std::uniform_int_distribution(100, 4000)(random_));
        std::this_thread::sleep_until(std::min(std::chrono::steady_clock::now() + pause, until));
    }
    const auto killedAt = std::chrono::steady_clock::now();
    kill();

    const auto copies = leftCopies();
    const auto oldest = m.oldestAllowed(killedAt);
    std::cout << m.history.size() << " states typed, mode " << (switched ? "" : "not ")
              << "switched, " << copies.size() << " copy left\n";
    if (copies.empty()) {
        EXPECT_FALSE(oldest) << "a copy was due and none was left";
        return;
    }
    ASSERT_EQ(copies.size(), 1u);
    ASSERT_TRUE(copies[0].copy) << "the copy left is not whole";
    const editor::RecoveryState left = copies[0].copy->state;
    const auto found = m.find(left);
    ASSERT_TRUE(found) << "the copy holds a state the window never had:\n"
                       << left.pages.brailleOf(1) << "\n"
                       << left.pages.latexOf(1);
    if (oldest) {
        EXPECT_GE(*found, *oldest) << "the copy is older than it may be";
    }
    std::cout << "the copy holds state " << *found + 1 << ", in "
              << (left.braille ? "Braille" : "Latex") << " mode\n";

    // The next start asks; Enter ("Sì") takes it.
    const std::string onDisk = win32_test::readFile(doc);
    ASSERT_NE(launch(doc), nullptr);
    const HWND box = windowOf(child_.info.dwProcessId, L"#32770", 30000);
    ASSERT_NE(box, nullptr) << "no question at start";
    EXPECT_EQ(win32_test::windowText(box), "Recupero documento");
    ASSERT_TRUE(win32_test::toFront(box));
    settle(300);
    win32_test::saveScreen("recovery-question-after-kill");
    tap(VK_RETURN);
    settle(3000);
    kill();
    std::vector<editor::RecoveryState> back;
    for (const editor::LeftCopy& c : leftCopies()) {
        if (c.copy) {
            back.push_back(c.copy->state);
        }
    }
    ASSERT_EQ(back.size(), 1u);
    EXPECT_TRUE(sameWork(back[0], left)) << back[0].pages.brailleOf(1);
    EXPECT_EQ(win32_test::readFile(doc), onDisk) << "the file waits for the student's Save";
}

}  // namespace
