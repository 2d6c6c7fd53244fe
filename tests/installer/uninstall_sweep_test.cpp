// Whatever fails or is cancelled, a removal ends whole: the product removed as an undisturbed
// removal removes it, or everything put back byte for byte. Every file operation failed in
// turn, and a cancel at every step; no change that the journal has not named first.

#include <gtest/gtest.h>

#include <sstream>

#include "installer/cerror.h"
#include "installer/journal/recovery.h"
#include "installer/unattended/unattended.h"
#include "installer/uninstall/removal.h"
#include "support.h"

namespace installer {
namespace {

namespace fs = std::filesystem;
using test::Fault;

class StepSink : public RemovalSink {
public:
    std::size_t cancelAt = 0;  // 0: never
    std::size_t steps = 0;
    void setSteps(std::size_t) override {}
    void step(std::string_view) override { ++steps; }
    bool isCancelRequested() override { return cancelAt != 0 && steps + 1 >= cancelAt; }
};

// The entries that differ between two machines, by name (their bytes would fill pages).
std::string differences(const std::map<std::string, std::string>& a,
                        const std::map<std::string, std::string>& b) {
    std::string names;
    for (const auto& [name, bytes] : a) {
        const auto other = b.find(name);
        names += other == b.end() ? " +" + name : other->second != bytes ? " ~" + name : "";
    }
    for (const auto& [name, bytes] : b) {
        names += a.count(name) ? "" : " -" + name;
    }
    return names;
}

// The registry's values and their keys' names, without the lines of keys that hold nothing.
std::string valuesOf(const std::string& registry) {
    std::istringstream in(registry);
    std::string line;
    std::string header;
    std::string out;
    while (std::getline(in, line)) {
        if (line.starts_with("[")) {
            header = line;
        } else if (!line.empty() && line != "\r") {
            out += header + line + "\n";
        }
    }
    return out;
}

class RemovalSweep : public ::testing::Test {
protected:
    void SetUp() override {
        golden_ = base_.path() / "golden";
        { system::SandboxSystem make(golden_); }
        before_ = test::snapshot(golden_);
        const fs::path cd = fs::path(TATTILO_SOURCE_DIR) / "data" / "distribution";
        std::ostringstream out;
        std::ostringstream err;
        const std::vector<std::string> args = {
            "--unattended", "--root",           golden_.string(), "--source",
            cd.string(),    "--accept-license", "--components",   "Programma,Documentazione"};
        ASSERT_EQ(runUnattended(args, base_.path(), out, err), kExitInstalled) << out.str();
        // A document of the student's: it stays, and its folder with it.
        test::writeHost(golden_ / "C/Tattilo/ESERCIZI/compito.mtf", "mio");
        installed_ = test::snapshot(golden_);
        const Outcome clean = remove(0, {}, 0);
        ASSERT_EQ(clean.code, -1);
        ASSERT_TRUE(clean.unjournalled.empty()) << clean.unjournalled.front();
        removed_ = clean.machine;
        ASSERT_EQ(removed_.at("C/Tattilo/ESERCIZI/compito.mtf"), "mio");
        ASSERT_EQ(removed_.count("C/Tattilo/BIN/"), 0u);
        ASSERT_EQ(removed_.at("registry.reg"), before_.at("registry.reg"));
    }

    struct Outcome {
        int code = -1;  // -1 removed, else the CError code (-2: a file in use)
        bool fired = false;
        Fault kind = Fault::OpenRead;
        std::vector<std::string> unjournalled;
        std::map<std::string, std::string> machine;
    };

    // Removes the product from a fresh copy of the installed machine, failing the `failAt`th
    // operation of `kinds` or cancelling at step `cancelAt`; puts everything back after a
    // failure.
    Outcome remove(std::size_t failAt, std::vector<Fault> kinds, std::size_t cancelAt) {
        const fs::path machine = base_.path() / "run";
        fs::remove_all(machine);
        fs::copy(golden_, machine, fs::copy_options::recursive);
        system::SandboxSystem sandbox(machine);
        test::FaultySystem sys(sandbox);
        const std::string recordPath = "C:\\Tattilo\\BIN\\INSTALL.LOG";
        auto record = readInstallRecord(sys, recordPath);
        EXPECT_TRUE(record);
        StepSink sink;
        sink.cancelAt = cancelAt;
        RemovalSettings settings;
        settings.journalPath = "C:\\WINDOWS\\INSTELLO.JNL";
        settings.recordPath = recordPath;
        Removal removal(sys, sink, *record, settings);
        sys.watchJournal(settings.journalPath);
        sys.failAt(failAt, std::move(kinds));
        Outcome outcome;
        try {
            removal.run();
            removal.commit();
        } catch (const CError& e) {
            outcome.code = e.code();
        } catch (const FileInUseError&) {
            outcome.code = -2;
        }
        outcome.fired = sys.fired();
        outcome.kind = sys.firedKind();
        sys.disarm();
        if (outcome.code != -1) {
            EXPECT_TRUE(removal.rollBack());
        }
        outcome.unjournalled = sys.unjournalled();
        outcome.machine = test::snapshot(machine);
        return outcome;
    }

    test::TempDir base_;
    fs::path golden_;
    std::map<std::string, std::string> before_;
    std::map<std::string, std::string> installed_;
    std::map<std::string, std::string> removed_;
};

TEST_F(RemovalSweep, FailingAnyFileOperationEndsWholeOrPutsEverythingBack) {
    const std::vector<Fault> all = {Fault::OpenRead, Fault::OpenWrite,    Fault::Read,
                                    Fault::Write,    Fault::Close,        Fault::Delete,
                                    Fault::Move,     Fault::CreateFolder, Fault::SetTime,
                                    Fault::Flush,    Fault::Replace,      Fault::Registry};
    std::size_t failures = 0;
    std::size_t n = 1;
    for (; n < 2000; ++n) {
        const Outcome o = remove(n, all, 0);
        ASSERT_TRUE(o.unjournalled.empty())
            << "operation " << n << " failed; not in the journal: " << o.unjournalled.front();
        if (!o.fired) {
            EXPECT_EQ(o.code, -1);
            EXPECT_EQ(o.machine, removed_);
            break;
        }
        if (o.code != -1) {
            ++failures;
            ASSERT_EQ(differences(o.machine, installed_), "")
                << "operation " << n << " failed, code " << o.code;
            continue;
        }
        // The removal survived the fault: only what does not matter may show.
        auto machine = o.machine;
        auto reference = removed_;
        if (o.kind == Fault::Delete) {
            // A backup that could not be deleted at commit stays, with the journal that says
            // the removal is complete (the next run finishes it), and the folders that hold it.
            std::erase_if(machine, [](const auto& entry) {
                return entry.first.find("/un0") != std::string::npos ||
                       entry.first == "C/WINDOWS/INSTELLO.JNL" || entry.first.ends_with("/");
            });
            std::erase_if(reference, [](const auto& entry) { return entry.first.ends_with("/"); });
        }
        if (o.kind == Fault::Registry) {
            // A key that could not be deleted stays, empty; every value went.
            machine["registry.reg"] = valuesOf(machine["registry.reg"]);
            reference["registry.reg"] = valuesOf(reference["registry.reg"]);
        }
        ASSERT_EQ(differences(machine, reference), "")
            << "operation " << n << " failed, removal went on";
    }
    EXPECT_LT(n, 2000u);
    EXPECT_GT(failures, 20u);
}

TEST_F(RemovalSweep, CancellingAtAnyStepPutsEverythingBack) {
    std::size_t cancelled = 0;
    for (std::size_t step = 1; step < 200; ++step) {
        const Outcome o = remove(0, {}, step);
        ASSERT_TRUE(o.unjournalled.empty()) << "cancel at step " << step;
        if (o.code == -1) {
            EXPECT_EQ(o.machine, removed_);  // past the last step
            break;
        }
        ++cancelled;
        EXPECT_EQ(o.code, CError::kCancelled);
        ASSERT_EQ(differences(o.machine, installed_), "") << "cancel at step " << step;
    }
    EXPECT_GT(cancelled, 10u);
}

}  // namespace
}  // namespace installer
