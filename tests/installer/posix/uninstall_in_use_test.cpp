// A file that a running program holds (here: another open file holds an flock lock on it, as
// the sandbox plays a running program) is never removed half-way: the removal names it and
// asks the student to close the program and retry; stopping there leaves the product whole.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <sstream>

#include "../support.h"
#include "installer/cerror.h"
#include "installer/flow/window_thread.h"
#include "installer/unattended/unattended.h"
#include "installer/uninstall/uninstall_flow.h"

namespace installer {
namespace {

namespace fs = std::filesystem;

// A program that keeps the file open while it runs.
class HeldFile {
public:
    explicit HeldFile(const fs::path& path) : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
        EXPECT_GE(fd_, 0) << path;
        EXPECT_EQ(::flock(fd_, LOCK_EX | LOCK_NB), 0);
    }
    ~HeldFile() { release(); }
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;
    // The program ends.
    void release() {
        if (fd_ >= 0) {
            ::close(fd_);
            fd_ = -1;
        }
    }

private:
    int fd_;
};

// Answers every message with OK or Yes; at the question about a file in use, first lets the
// program end when `closeProgram` is set.
class ClosingPrompter : public Prompter {
public:
    std::vector<std::string> shown;
    HeldFile* closeProgram = nullptr;
    bool retry = true;

    Answer message(std::string_view text, std::string_view, Icon, Buttons buttons) override {
        shown.emplace_back(text);
        if (text.starts_with("The file ")) {
            if (closeProgram) {
                closeProgram->release();
            }
            return retry ? Answer::Ok : Answer::Cancel;
        }
        return buttons == Buttons::YesNo ? Answer::Yes : Answer::Ok;
    }
    bool license(std::string_view) override { return true; }
};

class CountingSink : public RemovalSink {
public:
    void setSteps(std::size_t) override {}
    void step(std::string_view) override {}
    bool isCancelRequested() override { return false; }
};

class Front : public UninstallFrontEnd {
public:
    bool confirm(const UninstallInfo&) override { return true; }
    RemovalSink& openProgress(const UninstallInfo&, CancelFlag&) override { return sink_; }
    void closeProgress() override {}

private:
    CountingSink sink_;
};

class InUse : public ::testing::Test {
protected:
    void SetUp() override {
        machine_ = dir_.path() / "machine";
        { system::SandboxSystem make(machine_); }
        before_ = test::snapshot(machine_);
        const fs::path cd = fs::path(TATTILO_SOURCE_DIR) / "data" / "distribution";
        ASSERT_EQ(run({"--source", cd.string(), "--accept-license"}).status, kExitInstalled);
        installed_ = test::snapshot(machine_);
        fs::copy(machine_, golden_, fs::copy_options::recursive);
    }

    struct Outcome {
        int status;
        std::string out;
    };
    Outcome run(std::vector<std::string> args) {
        args.insert(args.begin(), {"--unattended", "--root", machine_.string()});
        std::ostringstream out;
        std::ostringstream err;
        const int status = runUnattended(args, dir_.path(), out, err);
        return {status, out.str() + err.str()};
    }

    // The removal through the flow, with `prompter` for the student.
    FlowResult removeWith(ClosingPrompter& prompter) {
        system::SandboxSystem sys(machine_);
        QueuedWindowThread thread;
        Front front;
        UninstallFlow flow(sys, prompter, thread, front);
        if (flow.startUp(UninstallTarget{"", "Tattilo"})) {
            flow.begin();
            thread.run([&] { return flow.ended(); });
        }
        return flow.result();
    }

    test::TempDir dir_;
    fs::path machine_;
    fs::path golden_ = dir_.path() / "installed";
    std::map<std::string, std::string> before_;
    std::map<std::string, std::string> installed_;
};

TEST_F(InUse, TheFileIsNamedAndTheStudentClosesTheProgramOrStops) {
    const fs::path readme = machine_ / "C/Tattilo/BIN/leggimi.txt";
    const std::string question =
        "The file C:\\Tattilo\\BIN\\leggimi.txt is in use by a program that is running.\n"
        "Close that program and press OK to try again, or Cancel to stop the removal.";
    {
        // Without windows nobody can close it: the removal stops before anything goes.
        HeldFile program(readme);
        const Outcome r = run({"--uninstall", "--product", "Tattilo"});
        EXPECT_EQ(r.status, kExitFailed);
        EXPECT_NE(r.out.find("[Tattilo Uninstall]\n" + question +
                             "\n-> Cancel (default answer)\n"
                             "[Tattilo Uninstall]\nNothing has been removed: the file "
                             "C:\\Tattilo\\BIN\\leggimi.txt is still in use.\n"),
                  std::string::npos)
            << r.out;
        EXPECT_EQ(test::snapshot(machine_), installed_);
    }
    {
        HeldFile program(readme);
        ClosingPrompter stops;
        stops.retry = false;
        EXPECT_EQ(removeWith(stops), FlowResult::Failed);
        ASSERT_EQ(stops.shown.size(), 2u);
        EXPECT_EQ(stops.shown[0], question);
        EXPECT_EQ(test::snapshot(machine_), installed_);
    }
    {
        // The student closes the program and presses OK: the removal goes on, whole.
        HeldFile program(readme);
        ClosingPrompter closes;
        closes.closeProgram = &program;
        EXPECT_EQ(removeWith(closes), FlowResult::Installed);
        ASSERT_EQ(closes.shown.size(), 2u);
        EXPECT_EQ(closes.shown[0], question);
        EXPECT_EQ(closes.shown[1], "Tattilo 1.1 has been removed from this computer.");
        EXPECT_EQ(test::snapshot(machine_), before_);
    }
}

// A program that takes a file after the removal has looked: asked again at that file; a stop
// there puts back what went before it.
TEST_F(InUse, AFileTakenDuringTheRemovalIsAskedAboutAgain) {
    for (const bool retry : {false, true}) {
        SCOPED_TRACE(retry ? "closed, retried" : "stopped");
        fs::remove_all(machine_);
        fs::copy(golden_, machine_, fs::copy_options::recursive);
        system::SandboxSystem sys(machine_);
        const std::string recordPath = "C:\\Tattilo\\BIN\\INSTALL.LOG";
        CountingSink sink;
        auto record = readInstallRecord(sys, recordPath);
        ASSERT_TRUE(record);
        std::unique_ptr<HeldFile> program;
        std::vector<std::string> asked;
        RemovalSettings settings;
        settings.journalPath = "C:\\WINDOWS\\INSTELLO.JNL";
        settings.recordPath = recordPath;
        settings.retryInUse = [&](const std::string& path) {
            asked.push_back(path);
            if (retry) {
                program->release();
            }
            return retry;
        };
        Removal removal(sys, sink, *record, settings);
        ASSERT_FALSE(removal.fileInUse());
        // The last file of the program's folder, after the others have gone.
        program = std::make_unique<HeldFile>(machine_ / "C/Tattilo/GUIDA/guida.htm");
        if (retry) {
            removal.run();
            ASSERT_TRUE(removal.commit());
            EXPECT_EQ(test::snapshot(machine_), before_);
        } else {
            EXPECT_THROW(removal.run(), FileInUseError);
            EXPECT_TRUE(removal.rollBack());
            EXPECT_EQ(test::snapshot(machine_), installed_);
        }
        EXPECT_EQ(asked, std::vector<std::string>{"C:\\Tattilo\\GUIDA\\guida.htm"});
    }
}

}  // namespace
}  // namespace installer
