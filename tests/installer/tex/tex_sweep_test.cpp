// The TeX sample distribution under every fault, through the whole flow the installer runs
// (copy, finishing steps with the stand-in libraries, external programs, system integration,
// commit): each file operation failed in turn, and a cancel at every progress step. A run
// that fails or is cancelled leaves the machine exactly as it was, and no run changes a file,
// folder or registry value that the journal has not named first.

#include <gtest/gtest.h>

#include <algorithm>

#include "../support.h"
#include "installer/flow/install_flow.h"
#include "installer/flow/sandbox_machine.h"
#include "installer/journal/recovery.h"
#include "installer/tex/tex_libraries.h"
#include "installer/uninstall/install_record.h"

namespace installer {
namespace {

namespace fs = std::filesystem;
using test::Fault;

// The console's part in the sweep: the recommended selection, the default destination, the
// hyphenation library loaded as the unattended installer loads it.
class SweepSink : public test::RecordingSink {
public:
    explicit SweepSink(system::System& sys) : sys_(sys) {}
    void configureHyphenation(std::string_view installPath) override {
        tex::configureHyphenation(sys_, *this, nullptr, installPath);
    }

private:
    system::System& sys_;
};

class SweepFront : public FlowFrontEnd {
public:
    explicit SweepFront(system::System& sys) : sink(sys) {}
    Choice choose(Product& product, ClusterCache& clusters) override {
        clusters.moveTo(product.installPath[0]);
        return Choice::Install;
    }
    ProgressSink& openProgress(Product&, CancelFlag&) override { return sink; }
    void closeProgress(const CError&) override {}
    SweepSink sink;
};

class TexSweep : public ::testing::Test {
protected:
    void SetUp() override {
        cd_ = base_.path() / "cd";
        fs::copy(fs::path(TATTILO_SOURCE_DIR) / "data" / "distribution-tex", cd_);
        // The installer copy takes this one; the real program would only make the runs slow.
        test::writeHost(cd_ / "INSTELLO.EXE", "the installer");
        golden_ = base_.path() / "golden";
        { system::SandboxSystem make(golden_); }
        before_ = test::snapshot(golden_);

        const Outcome clean = install(0, {}, 0);
        ASSERT_EQ(clean.result, FlowResult::Installed);
        ASSERT_TRUE(clean.unjournalled.empty()) << clean.unjournalled.front();
        reference_ = clean.machine;
        ASSERT_EQ(reference_.at("C/KORVO/BIN/INSTELLO.EXE"), "the installer");
        ASSERT_EQ(reference_.count("C/KORVO/BIN/HYPHEN.CFG"), 1u);
        ASSERT_EQ(reference_.count("C/KORVO/BIN/RFONTS.SET"), 1u);
        ASSERT_EQ(reference_.count("processes.log"), 1u);  // the formats
    }

    struct Outcome {
        FlowResult result = FlowResult::NotStarted;
        bool fired = false;
        Fault kind = Fault::OpenRead;
        std::vector<std::string> unjournalled;
        std::map<std::string, std::string> machine;
    };

    // Installs on a fresh copy of the golden machine, failing the `failAt`th operation of
    // `kinds` or cancelling at sink call `cancelAt`.
    Outcome install(std::size_t failAt, std::vector<Fault> kinds, std::size_t cancelAt) {
        const fs::path run = base_.path() / "run";
        fs::remove_all(run);
        fs::copy(golden_, run, fs::copy_options::recursive);
        Outcome outcome;
        {
            SandboxMachine machine = openSandboxMachine(run, cd_.string(), {});
            EXPECT_TRUE(machine.sys) << machine.error;
            test::FaultySystem sys(*machine.sys);
            machine.sys->setLibrarySystem(&sys);
            sys.watchJournal(journalPath(sys));
            SweepFront front(sys);
            front.sink.cancelAtCall = cancelAt;
            test::ScriptedPrompter prompter;
            QueuedWindowThread thread;
            {
                InstallFlow flow(sys, prompter, thread, front);
                sys.failAt(failAt, std::move(kinds));
                if (flow.startUp(machine.source)) {
                    flow.begin();
                    thread.run([&] { return flow.ended(); });
                }
                outcome.result = flow.result();
            }
            outcome.fired = sys.fired();
            outcome.kind = sys.firedKind();
            outcome.unjournalled = sys.unjournalled();
            machine.sys->setLibrarySystem(nullptr);
        }
        outcome.machine = test::snapshot(run);
        return outcome;
    }

    // The machine after a run that failed or was cancelled. What the external programs did
    // is not journalled (they had run when a later step failed): only their log may differ.
    std::map<std::string, std::string> undone(std::map<std::string, std::string> machine) {
        machine.erase("processes.log");
        return machine;
    }

    test::TempDir base_;
    fs::path cd_;
    fs::path golden_;
    std::map<std::string, std::string> before_;
    std::map<std::string, std::string> reference_;
};

// The files of the steps that go on when they fail (the libraries' own files, the raster
// font table): a run that survived a fault there may hold them differently, or not at all.
bool warnsOnly(const std::string& relative) {
    return relative == "C/KORVO/BIN/HYPHEN.CFG" || relative == "C/KORVO/SRC/ALIASING.WIN" ||
           relative == "C/KORVO/BIN/RFONTS.SET";
}

// The record of the installation is true to the machine: every file it names as installed
// is there with the bytes it names. Empty when so, else the first file that is not.
std::string recordMismatch(const std::map<std::string, std::string>& machine) {
    const auto log = machine.find("C/KORVO/BIN/INSTALL.LOG");
    if (log == machine.end()) {
        return "no record";
    }
    const auto record = parseInstallRecord(log->second);
    if (!record) {
        return "a damaged record";
    }
    for (const auto& e : record->entries) {
        if (e.kind != RecordEntry::Kind::File && e.kind != RecordEntry::Kind::SharedFile) {
            continue;
        }
        std::string relative = e.path;
        relative.erase(1, 1);  // "C:\X" -> "C\X"
        std::replace(relative.begin(), relative.end(), '\\', '/');
        const auto file = machine.find(relative);
        if (file == machine.end() || file->second.size() != e.size ||
            test::crcOf(file->second) != e.crc) {
            return e.path;
        }
    }
    return {};
}

// Without what follows from the files that the warn-only steps wrote or not (and from the
// registry values that could not be written): the record and the size the list of programs
// shows.
void withoutRecord(std::map<std::string, std::string>& machine) {
    machine.erase("C/KORVO/BIN/INSTALL.LOG");
    auto registry = machine.find("registry.reg");
    if (registry == machine.end()) {
        return;
    }
    std::string& text = registry->second;
    const auto at = text.find("\"EstimatedSize\"=");
    if (at != std::string::npos) {
        text.erase(at, text.find('\n', at) + 1 - at);
    }
}

// The files that differ between two machines, by name (their bytes would fill pages).
std::string differences(const std::map<std::string, std::string>& a,
                        const std::map<std::string, std::string>& b) {
    std::string names;
    for (const auto& [name, bytes] : a) {
        const auto other = b.find(name);
        if (other == b.end()) {
            names += " +" + name;
        } else if (other->second != bytes) {
            names += " ~" + name;
        }
    }
    for (const auto& [name, bytes] : b) {
        if (!a.count(name)) {
            names += " -" + name;
        }
    }
    return names;
}

TEST_F(TexSweep, FailingAnyFileOperationRollsBackToTheSameBytes) {
    const std::vector<Fault> all = {Fault::OpenRead, Fault::OpenWrite,    Fault::Read,
                                    Fault::Write,    Fault::Close,        Fault::Delete,
                                    Fault::Move,     Fault::CreateFolder, Fault::SetTime,
                                    Fault::Flush,    Fault::Replace,      Fault::Registry};
    std::size_t failures = 0;
    std::size_t n = 1;
    for (; n < 5000; ++n) {
        const Outcome o = install(n, all, 0);
        ASSERT_TRUE(o.unjournalled.empty())
            << "operation " << n << " failed; not in the journal: " << o.unjournalled.front();
        if (!o.fired) {
            EXPECT_EQ(o.result, FlowResult::Installed);
            EXPECT_EQ(differences(o.machine, reference_), "");
            break;
        }
        if (o.result != FlowResult::Installed) {
            ++failures;
            ASSERT_NE(o.result, FlowResult::NotRecovered) << "operation " << n;
            ASSERT_EQ(differences(undone(o.machine), before_), "")
                << "operation " << n << " failed";
            continue;
        }
        // The run survived the fault: only what does not matter, or what was warned about,
        // may differ.
        auto machine = o.machine;
        auto reference = reference_;
        std::erase_if(machine, [&](const auto& entry) {
            // A backup that could not be deleted at commit, or the journal that says the
            // installation is complete (the next run finishes the commit).
            return o.kind == Fault::Delete && (entry.first.find("/un0") != std::string::npos ||
                                               entry.first == "C/WINDOWS/INSTELLO.JNL");
        });
        ASSERT_EQ(recordMismatch(machine), "") << "operation " << n << " failed, run succeeded";
        std::erase_if(machine, [](const auto& entry) { return warnsOnly(entry.first); });
        std::erase_if(reference, [](const auto& entry) { return warnsOnly(entry.first); });
        withoutRecord(machine);
        withoutRecord(reference);
        if (o.kind == Fault::Registry) {
            // Registry values report nothing when they cannot be written; the record of the
            // installation names the ones that were.
            machine.erase("registry.reg");
            reference.erase("registry.reg");
        }
        if (o.kind == Fault::Move) {
            // A metric file that could not be deleted after the merge stays; it is ignored.
            std::erase_if(machine, [](const auto& entry) {
                return entry.first.starts_with("C/KORVO/BIN/") && entry.first.ends_with(".tfm");
            });
        }
        ASSERT_EQ(differences(machine, reference), "")
            << "operation " << n << " failed, run succeeded";
    }
    EXPECT_LT(n, 5000u);
    EXPECT_GT(failures, 100u);
}

TEST_F(TexSweep, CancellingAtAnyStepRollsBackToTheSameBytes) {
    std::size_t cancelled = 0;
    std::size_t step = 1;
    for (; step < 2000; ++step) {
        const Outcome o = install(0, {}, step);
        ASSERT_TRUE(o.unjournalled.empty())
            << "cancel at step " << step << "; not in the journal: " << o.unjournalled.front();
        if (o.result == FlowResult::Installed) {
            // Cancel came after the last poll: the installation is complete.
            EXPECT_EQ(differences(o.machine, reference_), "");
            break;
        }
        ++cancelled;
        ASSERT_EQ(o.result, FlowResult::Cancelled) << "cancel at step " << step;
        ASSERT_EQ(differences(undone(o.machine), before_), "") << "cancel at step " << step;
    }
    EXPECT_LT(step, 2000u);
    EXPECT_GT(cancelled, 20u);
}

}  // namespace
}  // namespace installer
