// Nothing typed is lost when the real program is killed: tattilo runs on a virtual X display, a
// process of its own, and the test types on the X keyboard in bursts and pauses (in Braille
// mode, in Latex mode, across a mode switch, up to a save) and kills it with SIGKILL at a random
// moment, as a power cut stops it. Then:
//   - the copy it left holds exactly one of the states the window went through, byte for byte in
//     both notations, and none older than the last one that stayed unchanged for a few seconds;
//     or, when a save had finished, the document file holds the work and no copy is offered;
//   - the next start offers the copy; the test answers with Enter ("Sì"), lets the program write
//     its own copy of what its window then holds, and kills it again: that copy holds exactly
//     the state offered, and the document file is untouched;
//   - two programs on two documents, killed together, each give back their own.
// The seed of the random moments is printed; TATTILO_KILL_SEED repeats a run.
//
// Runs on a virtual display of its own, where TATTILO_VIRTUAL_DISPLAY says there is one (ctest
// runs it under xvfb-run as editor_recovery_kill); skipped elsewhere.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <random>
#include <thread>

#include "../recovery_history.h"
#include "../temp_folder.h"
#include "editor/document_file.h"
#include "editor/recovery/recovery_folder.h"
#include "notation/conversion.h"
#include "x_keyboard.h"

extern char** environ;

namespace editor {
namespace {

namespace fs = std::filesystem;
using recovery_test::Model;
using recovery_test::sameWork;
using Clock = std::chrono::steady_clock;
using testing::readBytes;
using testing::TempFolder;
using testing::writeBytes;
using testing::XKeyboard;

void sleepMs(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

class RecoveryKill : public ::testing::Test {
protected:
    void SetUp() override {
        const fs::path program = fs::path(TATTILO_BIN_DIR) / "tattilo";
        if (!fs::exists(program)) {
            GTEST_SKIP() << "tattilo is not built";
        }
        // Keys typed on a real desktop would go to whatever window has the focus there.
        if (std::getenv("TATTILO_VIRTUAL_DISPLAY") == nullptr) {
            GTEST_SKIP()
                << "runs only on a virtual display of its own (ctest: editor_recovery_kill)";
        }
        if (!keys_.ready()) {
            GTEST_SKIP() << "no X display with the XTEST extension";
        }
        // Laid out as installed, so that settings and documents live in the test's folders.
        fs::create_directories(root_ / "prefix" / "bin");
        fs::create_directories(root_ / "prefix" / "share");
        fs::copy_file(program, root_ / "prefix" / "bin" / "tattilo");
        fs::create_directory_symlink(TATTILO_BIN_DIR, root_ / "prefix" / "share" / "tattilo");
        const char* seed = std::getenv("TATTILO_KILL_SEED");
        seed_ = seed != nullptr ? static_cast<unsigned>(std::strtoul(seed, nullptr, 10))
                                : std::random_device{}();
        random_.seed(seed_);
        std::cout << "TATTILO_KILL_SEED=" << seed_ << '\n';
    }

    // A fresh user for one run: settings naming everything the start asks for, in `mode`.
    void newUser(bool latex) {
        ++run_;
        home_ = root_ / ("utente" + std::to_string(run_));
        fs::create_directories(home_ / "config" / "tattilo");
        fs::create_directories(home_ / "data" / "tattilo" / "esercizi");
        writeBytes(home_ / "config" / "tattilo" / "tattilo.ini",
                   std::string("editor grafico = /bin/true\r\nfiltro = filtro.base\r\n"
                               "font = braillecour.ttf\r\nmodalit\xE0 = ") +
                       (latex ? " - modalit\xE0 Latex" : " - modalit\xE0 Braille") + "\r\n");
    }
    fs::path recoveryFolder() const { return home_ / "state" / "tattilo" / "recupero"; }
    fs::path document(const std::string& name) const {
        return home_ / "data" / "tattilo" / "esercizi" / name;
    }

    pid_t launch(const std::vector<std::string>& arguments) {
        std::vector<std::string> argStrings = {(root_ / "prefix" / "bin" / "tattilo").string()};
        argStrings.insert(argStrings.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (auto& a : argStrings) {
            argv.push_back(a.data());
        }
        argv.push_back(nullptr);
        std::vector<std::string> envStrings;
        for (char** e = environ; *e != nullptr; ++e) {
            const std::string_view v(*e);
            if (!v.starts_with("XDG_") && !v.starts_with("QT_QPA_PLATFORM=") &&
                !v.starts_with("HOME=")) {
                envStrings.emplace_back(v);
            }
        }
        for (const auto& [name, folder] :
             {std::pair{"XDG_CONFIG_HOME", "config"}, std::pair{"XDG_DATA_HOME", "data"},
              std::pair{"XDG_STATE_HOME", "state"}}) {
            envStrings.push_back(std::string(name) + "=" + (home_ / folder).string());
        }
        envStrings.push_back("HOME=" + home_.string());
        envStrings.push_back("QT_QPA_PLATFORM=xcb");
        std::vector<char*> envp;
        for (auto& e : envStrings) {
            envp.push_back(e.data());
        }
        envp.push_back(nullptr);
        const std::string log = (home_ / "tattilo.log").string();
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_APPEND,
                                         0644);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
        pid_t pid = -1;
        const int failed = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
        posix_spawn_file_actions_destroy(&actions);
        EXPECT_EQ(failed, 0);
        return pid;
    }
    // Started, with its window ready for keys; the splash put away, the caret at the end.
    // The window of a program started on a document has the document's name in its title: a
    // second program is waited for by that, not by the first one's window.
    pid_t startTyping(const std::vector<std::string>& arguments) {
        const pid_t pid = launch(arguments);
        const std::string shown =
            arguments.empty() ? "Tattilo" : fs::path(arguments.back()).filename().string();
        EXPECT_TRUE(keys_.waitForWindow(shown, 30, true)) << "the window never showed";
        sleepMs(1000);
        keys_.click(300, 250);
        EXPECT_TRUE(keys_.waitForFocus(shown, 30)) << "the window never took the keys";
        keys_.tap("Escape");
        keys_.tap("End", {"Control_L"});
        sleepMs(300);
        return pid;
    }
    static void kill(pid_t pid) {
        ::kill(pid, SIGKILL);
        int status = 0;
        ::waitpid(pid, &status, 0);
    }

    // Types in bursts of a few keys and pauses of up to four seconds, until `until`; at
    // `switchAt` (if any) the mode is switched.
    void typeUntil(Model& m, Clock::time_point until,
                   std::optional<Clock::time_point> switchAt = std::nullopt) {
        const std::string braille = "abcdefghij#+= ";
        const std::string latex = "xyz123+=- ";
        while (Clock::now() < until) {
            if (switchAt && Clock::now() >= *switchAt) {
                switchAt.reset();
                if (m.switchMode()) {
                    std::cout << "mode switched\n";
                    keys_.tap("b", {"Control_L"});
                    m.record();
                    sleepMs(400);
                    keys_.tap("End", {"Control_L"});
                }
            }
            const int burst = std::uniform_int_distribution(1, 6)(random_);
            for (int k = 0; k < burst && Clock::now() < until; ++k) {
                const std::string& alphabet = m.state.braille ? braille : latex;
                const char c = alphabet[std::uniform_int_distribution<std::size_t>(
                    0, alphabet.size() - 1)(random_)];
                keys_.type(c);
                m.text() += c;
                m.record();
                sleepMs(std::uniform_int_distribution(40, 120)(random_));
            }
            // The kill comes at its moment, in a pause or in the middle of a burst.
            const auto pause =
                std::chrono::milliseconds(std::uniform_int_distribution(100, 4000)(random_));
            std::this_thread::sleep_until(std::min(Clock::now() + pause, until));
        }
    }

    // The copies the killed programs left, as the next start finds them.
    std::vector<LeftCopy> leftCopies() const { return findLeftCopies(recoveryFolder(), "").copies; }

    // The next start with `document`: the copy offered is taken with Enter; the program then
    // writes its own copy of its window and is killed once more. What that copy holds.
    std::optional<RecoveryState> takeBack(const fs::path& doc) {
        const pid_t pid = launch({doc.string()});
        const bool asked = keys_.waitForWindow("Recupero documento", 30);
        EXPECT_TRUE(asked) << "the copy was not offered";
        sleepMs(500);
        keys_.tap("Return");
        sleepMs(3000);
        kill(pid);
        std::vector<RecoveryState> copies;
        for (const LeftCopy& c : leftCopies()) {
            if (c.copy && c.copy->state.document == doc.string()) {
                copies.push_back(c.copy->state);
            }
        }
        EXPECT_EQ(copies.size(), 1u) << "one copy of " << doc;
        if (!asked || copies.size() != 1) {
            return std::nullopt;
        }
        return copies[0];
    }

    // One program on an empty document, typed into and killed: what it left is checked, then
    // taken back.
    void killWhileTyping(bool latex, bool switchMode, bool saveAtTheEnd) {
        newUser(latex);
        const fs::path doc = document("compito.mtf");
        writeBytes(doc, formatDocument({}));
        Model m;
        ASSERT_TRUE(parseDocument(readBytes(doc), m.state.pages));
        m.state.braille = !latex;
        m.state.document = doc.string();

        const pid_t pid = startTyping({doc.string()});
        const auto start = Clock::now();
        const auto until =
            start + std::chrono::milliseconds(std::uniform_int_distribution(4000, 11000)(random_));
        std::optional<Clock::time_point> switchAt;
        if (switchMode) {
            switchAt = start + (until - start) / 3;
        }
        typeUntil(m, until, switchAt);
        bool saved = false;
        if (saveAtTheEnd) {
            keys_.tap("F12", {"Shift_L"});
            sleepMs(std::uniform_int_distribution(0, 400)(random_));
            saved = true;
        }
        const auto killedAt = Clock::now();
        kill(pid);

        const std::vector<LeftCopy> copies = leftCopies();
        ASSERT_LE(copies.size(), 1u);
        const bool offered = !copies.empty() && judge(copies[0]) == LeftCopyUse::Offer;
        std::cout << m.history.size() << " states typed, " << copies.size() << " copy left"
                  << (copies.empty() || offered ? "" : ", older than the saved file") << '\n';
        if (offered) {
            const RecoveryState& left = copies[0].copy->state;
            EXPECT_EQ(left.document, doc.string());
            const std::optional<std::size_t> found = m.find(left);
            ASSERT_TRUE(found) << "the copy holds a state the window never had:\n"
                               << left.pages.brailleOf(1) << "\n"
                               << left.pages.latexOf(1);
            const auto oldest = m.oldestAllowed(killedAt);
            if (oldest && !saved) {
                EXPECT_GE(*found, *oldest) << "the copy is older than it may be";
            }
            std::cout << "the copy holds state " << *found + 1 << ", in "
                      << (left.braille ? "Braille" : "Latex") << " mode\n";
            const std::string onDisk = readBytes(doc);
            const auto back = takeBack(doc);
            ASSERT_TRUE(back);
            EXPECT_TRUE(sameWork(*back, left)) << "not what was offered:\n"
                                               << back->pages.brailleOf(1) << "\n"
                                               << back->pages.latexOf(1);
            EXPECT_EQ(readBytes(doc), onDisk) << "the file waits for the student's Save";
        } else {
            ASSERT_TRUE(copies.empty() || judge(copies[0]) == LeftCopyUse::Superseded)
                << "a damaged copy";
            // The document file holds everything typed when the save finished; else nothing
            // had stayed still long enough to be copied.
            PageStore file;
            ASSERT_TRUE(parseDocument(readBytes(doc), file));
            const bool fileHasWork = saved && file == savedPages(m.state);
            if (!copies.empty()) {
                EXPECT_TRUE(fileHasWork) << "a copy older than its file, which lacks the work";
            }
            EXPECT_TRUE(fileHasWork || !m.oldestAllowed(killedAt))
                << "a copy was due and none was left";
            const pid_t next = launch({doc.string()});
            EXPECT_TRUE(keys_.waitForWindow("Tattilo", 30));
            sleepMs(2000);
            EXPECT_FALSE(keys_.windowTitled("Recupero documento"));
            kill(next);
            EXPECT_TRUE(leftCopies().empty()) << "an older copy is set aside, not offered";
        }
    }

    // The pages a save of `state` writes, as a reader reads them back: both notations, the
    // other one converted from the mode's own.
    static PageStore savedPages(const RecoveryState& state) {
        PageStore pages = state.pages;
        notation::FormulaErrorReport report;
        notation::convertAllPages(state.braille ? notation::ConversionDirection::BrailleToLatex
                                                : notation::ConversionDirection::LatexToBraille,
                                  pages.latex, pages.braille, report);
        PageStore read;
        parseDocument(formatDocument(pages), read);
        return read;
    }

    TempFolder root_;
    fs::path home_;
    int run_ = 0;
    unsigned seed_ = 0;
    std::mt19937 random_;
    XKeyboard keys_;
};

TEST_F(RecoveryKill, TypingInBrailleMode) {
    killWhileTyping(false, false, false);
}

TEST_F(RecoveryKill, TypingInLatexMode) {
    killWhileTyping(true, false, false);
}

TEST_F(RecoveryKill, AcrossAModeSwitch) {
    killWhileTyping(false, true, false);
}

TEST_F(RecoveryKill, DuringASave) {
    killWhileTyping(false, false, true);
}

TEST_F(RecoveryKill, TwoProgramsOnTwoDocumentsEachGetTheirOwnBack) {
    newUser(false);
    std::vector<Model> models(2);
    std::vector<pid_t> pids;
    const std::vector<fs::path> docs = {document("primo.mtf"), document("secondo.mtf")};
    for (std::size_t i = 0; i < 2; ++i) {
        writeBytes(docs[i], formatDocument({}));
        ASSERT_TRUE(parseDocument(readBytes(docs[i]), models[i].state.pages));
        models[i].state.braille = true;
        // The second window comes over the first: the keys go to it from then on.
        pids.push_back(startTyping({docs[i].string()}));
        typeUntil(models[i], Clock::now() + std::chrono::seconds(3));
        sleepMs(4000);
    }
    for (const pid_t pid : pids) {
        kill(pid);
    }
    ASSERT_EQ(leftCopies().size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        const auto back = takeBack(docs[i]);
        ASSERT_TRUE(back) << docs[i];
        EXPECT_TRUE(sameWork(*back, models[i].state))
            << docs[i] << ":\n"
            << back->pages.brailleOf(1) << "\ntyped:\n"
            << ::testing::PrintToString(models[i].state.pages.brailleOf(1)) << " / "
            << ::testing::PrintToString(back->pages.brailleOf(1)) << "\npage " << back->page << ", "
            << (back->braille ? "Braille" : "Latex");
    }
}

}  // namespace
}  // namespace editor
