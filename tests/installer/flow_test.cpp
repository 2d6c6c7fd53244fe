// The installation flow with a front end of its own: the commands in their order, the
// cancel lock, the refusal while external programs run, the questions before copying.

#include <gtest/gtest.h>

#include <condition_variable>
#include <future>
#include <mutex>

#include "installer/flow/install_flow.h"
#include "installer/flow/sandbox_machine.h"
#include "installer/messages.h"
#include "support.h"

namespace installer {
namespace {

namespace fs = std::filesystem;

// A prompter that records and answers from a script, safe on any thread, with a hook that
// runs on the thread that asks.
class ThreadPrompter : public Prompter {
public:
    std::function<Answer(std::string_view text)> onQuestion;
    std::function<void(std::string_view text)> onMessage;

    Answer message(std::string_view text, std::string_view, Icon, Buttons buttons) override {
        {
            std::lock_guard guard(lock_);
            shown_.emplace_back(text);
        }
        if (buttons == Buttons::Ok) {
            if (onMessage) {
                onMessage(text);
            }
            return Answer::Ok;
        }
        if (onQuestion) {
            return onQuestion(text);
        }
        return text.starts_with(msg::kRestartHead) ? Answer::No : Answer::Yes;
    }
    bool license(std::string_view) override { return true; }

    std::vector<std::string> shown() {
        std::lock_guard guard(lock_);
        return shown_;
    }
    bool saw(std::string_view text) {
        for (const auto& s : shown()) {
            if (s.find(text) != std::string::npos) {
                return true;
            }
        }
        return false;
    }

private:
    std::mutex lock_;
    std::vector<std::string> shown_;
};

// A sink that reads the real cancel flag and can hand a question to the window thread.
class FlagSink : public test::RecordingSink {
public:
    CancelFlag* flag = nullptr;
    std::function<void()> onAdvance;
    void advance(std::uint64_t bytes) override {
        RecordingSink::advance(bytes);
        if (onAdvance) {
            onAdvance();
        }
    }
    bool isCancelRequested() override { return flag->isSet(); }
};

class TestFront : public FlowFrontEnd {
public:
    std::vector<std::string> events;
    FlagSink sink;
    Choice answer = Choice::Install;
    std::optional<FlowResult> result;

    Choice choose(Product& product, ClusterCache& clusters) override {
        events.push_back("choose");
        clusters.moveTo(product.installPath[0]);
        return answer;
    }
    ProgressSink& openProgress(Product&, CancelFlag& cancel) override {
        events.push_back("progress");
        sink.flag = &cancel;
        return sink;
    }
    void closeProgress(const CError& outcome) override {
        events.push_back("closed " + std::to_string(outcome.code()));
    }
    void enableMainWindow(bool enabled) override {
        events.push_back(enabled ? "main window enabled" : "main window disabled");
    }
    void beep(Icon icon) override {
        events.push_back(icon == Icon::Information ? "information beep" : "other beep");
    }
    void rollingBack(bool running) override {
        if (running) {
            events.push_back("rollback");
        }
    }
    void succeeded(const SuccessReport&, const DeferredActions&) override {
        events.push_back("succeeded");
    }
    void ended(FlowResult r) override {
        events.push_back("ended");
        result = r;
    }
};

class Flow : public ::testing::Test {
protected:
    void SetUp() override {
        source_ = dir_.path() / "cd";
        fs::copy(fs::path(TATTILO_SOURCE_DIR) / "data" / "distribution", source_);
    }

    // Runs the flow to its end on this thread; `idle` runs while it waits.
    FlowResult run(const std::function<void(InstallFlow&)>& idle = {}) {
        machine_ = openSandboxMachine(dir_.path() / "machine", source_.string(), {});
        EXPECT_TRUE(machine_.sys) << machine_.error;
        QueuedWindowThread thread;
        InstallFlow flow(*machine_.sys, prompter_, thread, front_);
        flow_ = &flow;
        thread_ = &thread;
        if (flow.startUp(machine_.source)) {
            flow.begin();
            thread.run([&] { return flow.ended(); },
                       [&] {
                           if (idle) {
                               idle(flow);
                           }
                       });
        }
        flow_ = nullptr;
        thread_ = nullptr;
        return flow.result();
    }

    std::map<std::string, std::string> machineFiles() {
        return test::snapshot(dir_.path() / "machine");
    }

    test::TempDir dir_;
    fs::path source_;
    SandboxMachine machine_;
    ThreadPrompter prompter_;
    TestFront front_;
    InstallFlow* flow_ = nullptr;
    QueuedWindowThread* thread_ = nullptr;
};

TEST_F(Flow, CommandsRunInTheirOrder) {
    EXPECT_EQ(run(), FlowResult::Installed);
    EXPECT_EQ(front_.events,
              (std::vector<std::string>{"choose", "progress", "closed 9", "succeeded", "ended"}));
    EXPECT_TRUE(prompter_.saw("Installation succesful!\nThank you for choosing Tattilo!"));
    EXPECT_TRUE(fs::exists(dir_.path() / "machine/C/Tattilo/BIN/leggimi.txt"));
    EXPECT_GT(front_.sink.total, 0);
    EXPECT_EQ(front_.sink.lines.front().rfind("begin:Programma Tattilo:", 0), 0u);
}

TEST_F(Flow, RunsThatEndBeforeCopying) {
    // A cancel in the main window is said by the flow, whichever front end drives it.
    front_.answer = FlowFrontEnd::Choice::Cancel;
    EXPECT_EQ(run(), FlowResult::Declined);
    EXPECT_EQ(front_.events, (std::vector<std::string>{"choose", "ended"}));
    EXPECT_FALSE(fs::exists(dir_.path() / "machine/C/Tattilo"));
    EXPECT_EQ(prompter_.shown().back(), msg::kCanceled);

    // A choice that cannot be made has been explained by the front end: no cancel message.
    front_ = {};
    front_.answer = FlowFrontEnd::Choice::Impossible;
    const auto before = prompter_.shown().size();
    EXPECT_EQ(run(), FlowResult::NotStarted);
    const auto shown = prompter_.shown();
    EXPECT_EQ(std::count(shown.begin() + static_cast<std::ptrdiff_t>(before), shown.end(),
                         std::string(msg::kCanceled)),
              0);

    // A damaged component list: said, and nothing chosen.
    test::writeHost(source_ / "INSTALL.CFG", "Broken ; line\r\n");
    front_ = {};
    EXPECT_EQ(run(), FlowResult::NotStarted);
    EXPECT_EQ(front_.events, (std::vector<std::string>{"ended"}));
    EXPECT_TRUE(prompter_.saw("File INSTALL.CFG is bad or corrupted."));

    // No INSTELLO.INI: the run is over before the background window would open.
    fs::remove(source_ / "INSTELLO.INI");
    front_ = {};
    EXPECT_EQ(run(), FlowResult::NotStarted);
}

// The window thread asks "Are you sure?" while copying; meanwhile the installation thread
// waits at its next poll. No goes on; Yes cancels, and everything is rolled back.
TEST_F(Flow, CancelWhileCopyingHoldsTheInstallationAndRollsBack) {
    openSandboxMachine(dir_.path() / "machine", "C:\\", {});
    const auto before = machineFiles();
    int asked = 0;
    std::vector<std::future<bool>> polls;  // each ends once the question has gone
    prompter_.onQuestion = [&](std::string_view text) {
        if (text != msg::kNotCompleted) {
            return Answer::Yes;
        }
        // The installation thread cannot get past the flag while the question is open.
        polls.push_back(
            std::async(std::launch::async, [&] { return flow_->cancelFlag().isSet(); }));
        EXPECT_EQ(polls.back().wait_for(std::chrono::milliseconds(100)),
                  std::future_status::timeout);
        ++asked;
        return asked == 1 ? Answer::No : Answer::Yes;
    };
    std::size_t advances = 0;
    front_.sink.onAdvance = [&] {
        // As the progress window's Cancel does: on the window thread, while the
        // installation thread goes on to its next poll.
        if (++advances == 2 || advances == 4) {
            bool yes = false;
            thread_->post([&] { yes = flow_->confirmCancel(); });
            thread_->call([] {});
            EXPECT_EQ(yes, advances == 4);
            polls.back().wait();  // the poll ends while the flow and its flag are still there
        }
    };
    const FlowResult result = run();
    EXPECT_EQ(result, FlowResult::Cancelled);
    EXPECT_EQ(asked, 2);
    ASSERT_EQ(polls.size(), 2u);
    EXPECT_TRUE(polls[1].get());  // the poll that waited saw the Yes
    EXPECT_FALSE(prompter_.saw(CError(CError::kCancelled).text()));
    EXPECT_TRUE(prompter_.saw(msg::kCanceled));
    EXPECT_EQ(front_.events,
              (std::vector<std::string>{"choose", "progress", "closed 8", "rollback", "ended"}));
    EXPECT_EQ(machineFiles(), before);
}

// While the external programs run, the main window is disabled and the close box is refused;
// the programs go on. When they end, the information beep sounds and the window takes input
// again, before the questions of the system integration.
TEST_F(Flow, CloseIsRefusedWhileExternalProgramsRun) {
    fs::remove_all(source_);
    test::writeHost(source_ / "INSTELLO.INI", "[AppInfo]\r\nAppName=Prova\r\n");
    test::writeHost(source_ / "INSTALL.CFG", "Uno ; Uno ; UNO.QKP ; 1:1:1:1:1:1:1 ; Uno.\r\n");
    test::writeHost(source_ / "UNO.001",
                    test::PackageBuilder().folder("BIN").member("RUN.EXE", "MZ").bytes);
    test::writeHost(source_ / "UNO.QKP", test::ProgramBuilder()
                                             .op(73, {"UNO"})
                                             .op(210, {"", "BIN\\MISSING.EXE"})
                                             .op(210, {"BIN", "BIN\\RUN.EXE -x"})
                                             .end());
    // The programs thread reports the missing program and waits until the close was tried.
    std::mutex lock;
    std::condition_variable changed;
    bool inPrograms = false;
    bool tried = false;
    std::vector<std::string> eventsWhileRunning;
    prompter_.onMessage = [&](std::string_view text) {
        if (text.starts_with(msg::kCanNotExecute)) {
            std::unique_lock held(lock);
            eventsWhileRunning = front_.events;
            inPrograms = true;
            changed.notify_all();
            changed.wait(held, [&] { return tried; });
        }
    };
    std::optional<InstallFlow::CloseAnswer> answer;
    const FlowResult result = run([&](InstallFlow& flow) {
        std::lock_guard guard(lock);
        if (inPrograms && !tried) {
            answer = flow.closeRequested();
            tried = true;
            changed.notify_all();
        }
    });
    EXPECT_EQ(result, FlowResult::Installed);
    EXPECT_EQ(answer, InstallFlow::CloseAnswer::Refused);
    EXPECT_TRUE(prompter_.saw(msg::kCannotTerminate));
    EXPECT_FALSE(prompter_.saw(msg::kNotCompleted));
    EXPECT_EQ(test::readHost(dir_.path() / "machine/processes.log"),
              "C:\\Prova\\BIN\\RUN.EXE -x | C:\\Prova\\BIN\\\r\n");
    EXPECT_EQ(front_.events, (std::vector<std::string>{
                                 "choose", "progress", "closed 9", "main window disabled",
                                 "main window enabled", "information beep", "succeeded", "ended"}));
    ASSERT_FALSE(eventsWhileRunning.empty());
    EXPECT_EQ(eventsWhileRunning.back(), "main window disabled");
}

// A system whose programs run until the test lets them end.
class HeldPrograms : public test::FaultySystem {
public:
    using FaultySystem::FaultySystem;
    bool runAndWait(std::string_view commandLine, std::string_view folder) override {
        std::unique_lock held(lock_);
        running_ = true;
        changed_.notify_all();
        // A window thread that waits for the program could never let it end: time out.
        timedOut_ = !changed_.wait_for(held, std::chrono::seconds(20), [&] { return released_; });
        running_ = false;
        return FaultySystem::runAndWait(commandLine, folder);
    }
    bool running() {
        std::lock_guard guard(lock_);
        return running_;
    }
    void release() {
        std::lock_guard guard(lock_);
        released_ = true;
        changed_.notify_all();
    }
    bool timedOut() {
        std::lock_guard guard(lock_);
        return timedOut_;
    }

private:
    std::mutex lock_;
    std::condition_variable changed_;
    bool running_ = false;
    bool released_ = false;
    bool timedOut_ = false;
};

// The previous version's uninstaller runs on a worker thread: meanwhile the window thread
// goes on answering (here a close request, refused), and copying starts only when the
// uninstaller has ended. One that cannot start is said, and copying starts all the same.
TEST_F(Flow, PreviousVersionIsRemovedOffTheWindowThread) {
    fs::remove_all(source_);
    test::writeHost(source_ / "INSTELLO.INI",
                    "[AppInfo]\r\nAppName=Formix\r\nVersion=2.0\r\n[StartUp]\r\nDeletePrev=1\r\n");
    test::writeHost(source_ / "INSTALL.CFG",
                    "Fmx ; Formix ; FMX.QKP ; 1:1:1:1:1:1:1 ; L'editor.\r\n");
    test::writeHost(source_ / "FMX.001",
                    test::PackageBuilder().folder("BIN").member("FMX.EXE", "MZ").bytes);
    test::writeHost(source_ / "FMX.QKP", test::ProgramBuilder().op(73, {"FMX"}).end());
    prompter_.onQuestion = [](std::string_view text) {
        return text == msg::kRemovePrevious ? Answer::Ok : Answer::Yes;
    };

    // No uninstaller on the machine: said, then copied.
    EXPECT_EQ(run(), FlowResult::Installed);
    EXPECT_TRUE(prompter_.saw("Can not execute fmxuninst.exe -i"));
    EXPECT_TRUE(fs::exists(dir_.path() / "machine/C/FORMIX/BIN/FMX.EXE"));

    test::writeHost(dir_.path() / "machine/C/WINDOWS/fmxuninst.exe", "MZ");
    machine_ = openSandboxMachine(dir_.path() / "machine", source_.string(), {});
    ASSERT_TRUE(machine_.sys);
    HeldPrograms sys(*machine_.sys);
    ThreadPrompter prompter;
    prompter.onQuestion = prompter_.onQuestion;
    TestFront front;
    QueuedWindowThread thread;
    InstallFlow flow(sys, prompter, thread, front);
    ASSERT_TRUE(flow.startUp(machine_.source));
    flow.begin();
    int answeredWhileRunning = 0;
    std::optional<InstallFlow::CloseAnswer> closed;
    bool copyWaited = true;
    bool released = false;
    thread.run([&] { return flow.ended(); },
               [&] {
                   // Once released, the uninstaller's thread may take a while to wake: a
                   // loaded machine must not make the test count a fourth answer.
                   if (released || !sys.running()) {
                       return;
                   }
                   // The window thread is free while the uninstaller runs.
                   ++answeredWhileRunning;
                   EXPECT_EQ(flow.stage(), FlowStage::RemovingPrevious);
                   copyWaited = copyWaited && front.events.size() == 1;  // only "choose"
                   if (answeredWhileRunning == 3) {
                       closed = flow.closeRequested();
                       released = true;
                       sys.release();
                   }
               });
    EXPECT_EQ(flow.result(), FlowResult::Installed);
    EXPECT_FALSE(sys.timedOut());
    EXPECT_EQ(answeredWhileRunning, 3);
    EXPECT_EQ(closed, InstallFlow::CloseAnswer::Refused);
    EXPECT_TRUE(prompter.saw(msg::kCannotTerminate));
    EXPECT_FALSE(prompter.saw(msg::kCanNotExecute));
    EXPECT_TRUE(copyWaited);
    EXPECT_EQ(front.events,
              (std::vector<std::string>{"choose", "progress", "closed 9", "succeeded", "ended"}));
    EXPECT_NE(test::readHost(dir_.path() / "machine/processes.log").find("fmxuninst.exe -i"),
              std::string::npos);
}

TEST(ConfirmSelection, AsksAboutTheEmptySelectionFirstThenAboutSpace) {
    test::ScriptedPrompter prompter;
    prompter.answers = {Answer::Yes, Answer::Yes};
    EXPECT_TRUE(confirmSelection(prompter, "T Install", 0, -1));
    ASSERT_EQ(prompter.shown.size(), 2u);
    EXPECT_EQ(prompter.shown[0].text, msg::kNothingSelected);
    EXPECT_EQ(prompter.shown[1].text, msg::kNoSpace);
    EXPECT_EQ(prompter.shown[1].caption, "T Install");

    test::ScriptedPrompter no;
    no.answers = {Answer::No};
    EXPECT_FALSE(confirmSelection(no, "T Install", 0, -1));
    EXPECT_EQ(no.shown.size(), 1u);  // a No stays: the space is not asked about

    test::ScriptedPrompter enough;
    EXPECT_TRUE(confirmSelection(enough, "T Install", 100, 100));
    EXPECT_TRUE(enough.shown.empty());
    enough.answers = {Answer::No};
    EXPECT_FALSE(confirmSelection(enough, "T Install", 101, 100));
}

TEST(SandboxMachineTest, FoldersAndSources) {
    EXPECT_EQ(normalizeFolder("C:/Scuola//Tattilo"), "C:\\Scuola\\Tattilo\\");
    EXPECT_EQ(normalizeFolder("C:\\"), "C:\\");
    // "." and ".." are resolved on the drive, never above its root.
    EXPECT_EQ(normalizeFolder("C:\\a\\..\\b"), "C:\\b\\");
    EXPECT_EQ(normalizeFolder("C:\\Tattilo\\..\\..\\..\\x\\.\\"), "C:\\x\\");
    EXPECT_EQ(normalizeFolder("c:/a/./b/../.."), "c:\\");
    EXPECT_EQ(normalizeFolder("C:\\..."), "C:\\...\\");  // a name, not a step up
    EXPECT_EQ(normalizeFolder("Tattilo"), "Tattilo\\");  // no drive: left to the check
    test::TempDir dir;
    const SandboxMachine missing = openSandboxMachine(dir.path() / "m", "/no/such/folder", {});
    EXPECT_FALSE(missing.sys);
    EXPECT_NE(missing.error.find("/no/such/folder"), std::string::npos);
    const SandboxMachine inside = openSandboxMachine(dir.path() / "m", "c:/setup", {});
    ASSERT_TRUE(inside.sys);
    EXPECT_EQ(inside.source, "c:\\setup\\");
    EXPECT_TRUE(inside.mountedFrom.empty());
}

}  // namespace
}  // namespace installer
