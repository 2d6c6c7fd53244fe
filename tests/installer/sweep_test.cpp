// Whatever fails or is cancelled, a rolled-back installation leaves the machine exactly as it
// was: every file operation failed in turn, and cancel requested at every progress step. No
// run changes anything the journal has not named first.

#include <gtest/gtest.h>

#include "installer/component_list.h"
#include "installer/install_job.h"
#include "support.h"

namespace installer {
namespace {

namespace fs = std::filesystem;
using test::Fault;
using test::PackageBuilder;
using test::ProgramBuilder;

// A machine with an older installation in C:\INST\ and a distribution in C:\DIST\.
class Sweep : public ::testing::Test {
protected:
    void SetUp() override {
        golden_ = base_.path() / "golden";
        { system::SandboxSystem make(golden_); }
        auto put = [&](const std::string& relative, const std::string& bytes) {
            test::writeHost(golden_ / "C" / relative, bytes);
        };
        put("INST/over.txt", "old over");
        put("INST/old.txt", "to be deleted");
        put("INST/copy.txt", "old copy");
        put("INST/Prodotto", "[Sez]\r\nk=old\r\n");
        put("INST/BIN/INST.INI", "[INSTALLED-txt]\r\nover=1\r\n");
        put("INST/BIN/instundo.tmp", "a file of the user that happens to have this name");

        const std::string pkg = PackageBuilder()
                                    .member("over.txt", "new over")
                                    .folder("SUB\\DEEP")
                                    .member("a.txt", std::string(70000, 'a'))
                                    .member("b.txt=bee.txt", "bee", 0)
                                    .folder("BIN")
                                    .member("new.bin", std::string(300, '\x07'))
                                    .bytes;
        put("DIST/ONE.001", pkg.substr(0, pkg.size() / 2));
        put("DIST/ONE.002", pkg.substr(pkg.size() / 2));
        put("DIST/TWO.001", PackageBuilder().folder("WINDOWS").member("tattilo.ini", "w").bytes);
        put("DIST/copy.txt", "new copy");
        put("DIST/ONE.QKP", ProgramBuilder()
                                .op(73, {"ONE"})
                                .op(3, {"copy.txt", ""})
                                .op(75, {"old.txt"})
                                .op(217, {"Sez", "k", "!new"})
                                .op(202, {"G"})
                                .end());
        put("DIST/TWO.QKP", ProgramBuilder().op(73, {"TWO"}).op(233, {"Sez", "k", "more"}).end());
        before_ = test::snapshot(golden_);

        // The outcome of an undisturbed installation.
        Outcome clean = install(0, {}, 0);
        ASSERT_EQ(clean.code, -1);
        ASSERT_TRUE(clean.unjournalled.empty()) << clean.unjournalled.front();
        reference_ = clean.machine;
        ASSERT_EQ(reference_.at("C/INST/SUB/DEEP/bee.txt"), "bee");
        ASSERT_EQ(reference_.count("C/INST/old.txt"), 0u);
        ASSERT_EQ(reference_.at("C/INST/Prodotto"), "[Sez]\r\nk=C:\\INST\\new;more\r\n");
    }

    struct Outcome {
        int code = -1;  // -1 success, else the CError code
        bool fired = false;
        Fault kind = Fault::OpenRead;
        std::vector<std::string> unjournalled;
        std::map<std::string, std::string> machine;
    };

    // Installs on a fresh copy of the golden machine, failing the `failAt`th operation of
    // `kinds` or cancelling at sink call `cancelAt`; rolls back a failed run.
    Outcome install(std::size_t failAt, std::vector<Fault> kinds, std::size_t cancelAt) {
        const fs::path machine = base_.path() / "run";
        fs::remove_all(machine);
        fs::copy(golden_, machine, fs::copy_options::recursive);
        system::SandboxSystem sandbox(machine);
        test::FaultySystem sys(sandbox);
        test::RecordingSink sink;
        sink.cancelAtCall = cancelAt;
        ComponentList components = parseComponentList(
            "One ; Uno ; ONE.QKP ; 1:1:1:1:1:1:1\r\nTwo ; Due ; TWO.QKP ; 1:1:1:1:1:1:1\r\n", 1040);
        JobSettings settings;
        settings.installPath = "C:\\INST\\";
        settings.distributionPath = "C:\\DIST\\";
        settings.clusterSize = 4096;
        settings.productName = "Prodotto";
        settings.journalPath = "C:\\WINDOWS\\INSTELLO.JNL";
        InstallJob job(sys, sink, components, settings,
                       std::make_unique<SettingsFile>(sys, "C:\\INST\\Prodotto", "C:\\INST\\"));
        sys.watchJournal(settings.journalPath);
        sys.failAt(failAt, std::move(kinds));
        Outcome outcome;
        try {
            job.run();
            job.commit();
        } catch (const CError& e) {
            outcome.code = e.code();
        }
        outcome.fired = sys.fired();
        outcome.kind = sys.firedKind();
        sys.disarm();
        if (outcome.code != -1) {
            job.rollBack();
        }
        outcome.unjournalled = sys.unjournalled();
        outcome.machine = test::snapshot(machine);
        return outcome;
    }

    test::TempDir base_;
    fs::path golden_;
    std::map<std::string, std::string> before_;
    std::map<std::string, std::string> reference_;
};

TEST_F(Sweep, FailingAnyFileOperationRollsBackToTheSameBytes) {
    const std::vector<Fault> all = {Fault::OpenRead, Fault::OpenWrite,    Fault::Read,
                                    Fault::Write,    Fault::Close,        Fault::Delete,
                                    Fault::Move,     Fault::CreateFolder, Fault::SetTime,
                                    Fault::Flush,    Fault::Replace,      Fault::Registry};
    std::size_t failures = 0;
    std::size_t n = 1;
    for (; n < 2000; ++n) {
        const Outcome o = install(n, all, 0);
        ASSERT_TRUE(o.unjournalled.empty())
            << "operation " << n << " failed; not in the journal: " << o.unjournalled.front();
        if (!o.fired) {
            EXPECT_EQ(o.code, -1);
            break;
        }
        if (o.code != -1) {
            ++failures;
            ASSERT_EQ(o.machine, before_) << "operation " << n << " failed, code " << o.code;
            continue;
        }
        // The run survived the fault: only a failure that does not matter may show.
        auto machine = o.machine;
        if (o.kind == Fault::Delete) {
            // A backup that could not be deleted at commit stays behind, or the journal that
            // says the installation is complete (the next run finishes the commit).
            std::erase_if(machine, [](const auto& entry) {
                return entry.first.find("/un0") != std::string::npos ||
                       entry.first == "C/WINDOWS/INSTELLO.JNL";
            });
        }
        if (o.kind == Fault::Move && machine.count("C/INST/old.txt")) {
            machine.erase("C/INST/old.txt");  // a deletion that failed is ignored
        }
        ASSERT_EQ(machine, reference_) << "operation " << n << " failed, run succeeded";
    }
    EXPECT_LT(n, 2000u);
    EXPECT_GT(failures, 40u);
}

TEST_F(Sweep, CancellingAtAnyStepRollsBackToTheSameBytes) {
    std::size_t cancelled = 0;
    std::size_t step = 1;
    for (; step < 500; ++step) {
        const Outcome o = install(0, {}, step);
        ASSERT_TRUE(o.unjournalled.empty())
            << "cancel at step " << step << ": " << o.unjournalled.front();
        if (o.code == -1) {
            // Cancel came after the last poll: the installation is complete.
            EXPECT_EQ(o.machine, reference_);
            break;
        }
        ++cancelled;
        EXPECT_EQ(o.code, CError::kCancelled);
        ASSERT_EQ(o.machine, before_) << "cancel at step " << step;
    }
    EXPECT_GT(cancelled, 10u);
}

}  // namespace
}  // namespace installer
