// instello --unattended on the sample distribution: what it prints, what it installs, its
// exit status, and that failed and cancelled runs leave the machine as it was.

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <sstream>

#include "installer/system/sandbox/sandbox_system.h"
#include "installer/unattended/unattended.h"
#include "support.h"

namespace installer {
namespace {

namespace fs = std::filesystem;

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

class Unattended : public ::testing::Test {
protected:
    void SetUp() override {
        source_ = dir_.path() / "cd";
        fs::copy(fs::path(TATTILO_SOURCE_DIR) / "data" / "distribution", source_);
        machine_ = dir_.path() / "machine";
    }

    Outcome run(std::vector<std::string> extra, std::function<bool()> interrupted = {}) {
        std::vector<std::string> args = {"--unattended", "--root", machine_.string(), "--source",
                                         source_.string()};
        args.insert(args.end(), extra.begin(), extra.end());
        std::ostringstream out;
        std::ostringstream err;
        UnattendedHooks hooks;
        hooks.interrupted = std::move(interrupted);
        const int status = runUnattended(args, dir_.path(), out, err, hooks);
        return {status, out.str(), err.str()};
    }

    static bool has(const std::string& text, const std::string& part) {
        return text.find(part) != std::string::npos;
    }

    test::TempDir dir_;
    fs::path source_;
    fs::path machine_;
};

TEST_F(Unattended, InstallsTheRecommendedSelection) {
    const fs::path log = dir_.path() / "install.log";
    const Outcome r = run({"--accept-license", "--log", log.string()});
    ASSERT_EQ(r.status, kExitInstalled) << r.out << r.err;
    for (const char* line :
         {"[Tattilo Install]\nNow you about to install Tattilo.\nPlease close all running "
          "applications and \nthen press [OK] to continue.\n",
          "Installing: Programma Tattilo\n", "Creating: C:\\Tattilo\\BIN\\leggimi.txt\n",
          "Coping: C:\\Tattilo\\DOC\\license.txt\n", "Creating KORVO.INI...\n", "Progress: 20%\n",
          "Progress: 100%\n", "Installing: Guida\n",
          "Installation succesful!\nThank you for choosing Tattilo!\n"}) {
        EXPECT_TRUE(has(r.out, line)) << line << "\n---\n" << r.out;
    }
    EXPECT_FALSE(has(r.out, "Installing: Esempi"));   // "-" prefix: not recommended
    EXPECT_FALSE(has(r.out, "Installing: Deutsch"));  // the user is Italian
    const fs::path inst = machine_ / "C" / "Tattilo";
    EXPECT_EQ(
        test::readHost(inst / "BIN" / "leggimi.txt"),
        test::readHost(fs::path(TATTILO_SOURCE_DIR) / "tools/distribution/files/leggimi.txt"));
    EXPECT_EQ(fs::file_size(inst / "ESERCIZI" / "esercizi.txt") > 200000, true);
    EXPECT_TRUE(fs::exists(inst / "GUIDA" / "guida.htm"));
    EXPECT_TRUE(has(test::readHost(inst / "Tattilo"), "Programma=C:\\Tattilo\\BIN\\\r\n"));
    EXPECT_TRUE(has(test::readHost(inst / "BIN" / "INST.INI"), "[INSTALLED-bin]\r\ncelle=1\r\n"));
    // The log holds the same lines, as Windows text.
    const std::string logged = test::readHost(log);
    EXPECT_TRUE(has(logged, "Installing: Programma Tattilo\r\n"));
    // The source is read-only and untouched.
    EXPECT_EQ(test::snapshot(source_),
              test::snapshot(fs::path(TATTILO_SOURCE_DIR) / "data" / "distribution"));
}

TEST_F(Unattended, ChoicesTargetsAndPrompts) {
    const Outcome r = run({"--accept-license", "--components", "esempi, Extra,Deutsch",
                           "--check-optional", "--target", "C:/Scuola//Tattilo"});
    ASSERT_EQ(r.status, kExitInstalled) << r.out << r.err;
    // A destination typed with slashes is used, shown and recorded with backslashes.
    EXPECT_TRUE(has(r.out, "Install to: C:\\Scuola\\Tattilo\\\n"));
    EXPECT_TRUE(has(test::readHost(machine_ / "C" / "Scuola" / "Tattilo" / "Tattilo"),
                    "Documenti=C:\\Scuola\\Tattilo\\ESEMPI\\\r\n"));
    EXPECT_TRUE(has(r.out, "Installing: Esempi\n"));
    EXPECT_TRUE(has(r.out, "Installing: Deutsch\n"));
    EXPECT_FALSE(has(r.out, "Installing: Programma"));
    EXPECT_TRUE(has(r.out, "Insert disk labeled Disco 2\n"));
    EXPECT_TRUE(has(r.out, "-> Skip (default answer)\n"));
    EXPECT_TRUE(fs::exists(machine_ / "C" / "Scuola" / "Tattilo" / "BIN" / "deutsch.ini"));

    // Without --check-optional a missing component is skipped without a word.
    const Outcome quiet = run({"--accept-license", "--components", "Extra,Guida"});
    EXPECT_EQ(quiet.status, kExitInstalled);
    EXPECT_FALSE(has(quiet.out, "Insert disk"));
}

TEST_F(Unattended, RunsThatDoNotStart) {
    EXPECT_EQ(run({}).status, kExitDeclined);  // the licence is not accepted by default
    EXPECT_TRUE(has(run({}).out, "-> I Disagree"));
    const Outcome unknown = run({"--accept-license", "--components", "Nessuno"});
    EXPECT_EQ(unknown.status, kExitNotStarted);
    EXPECT_TRUE(has(unknown.err, "Nessuno"));
    const Outcome none = run({"--accept-license", "--components", ""});
    EXPECT_EQ(none.status, kExitDeclined);
    EXPECT_TRUE(has(none.out, "You have not select any package to install!\nAre you sure?\n-> No"));
    const Outcome network = run({"--accept-license", "--target", "D:\\Tattilo"});  // the CD
    EXPECT_EQ(network.status, kExitNotStarted);
    EXPECT_TRUE(has(network.out, "You can not install to removable or network drive."));
    EXPECT_EQ(run({"--accept-license", "--frobnicate"}).status, kExitNotStarted);

    std::vector<std::string> noRoot = {"--unattended"};
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(runUnattended(noRoot, dir_.path(), out, err), kExitNotStarted);
    EXPECT_TRUE(has(err.str(), "Usage: instello --unattended --root SANDBOX"));

    // The installer's own folder holds no INSTELLO.INI.
    std::vector<std::string> here = {"--unattended", "--root", machine_.string()};
    std::ostringstream out2;
    EXPECT_EQ(runUnattended(here, dir_.path(), out2, err), kExitNotStarted);
    EXPECT_TRUE(has(out2.str(), "Can not find INSTELLO.INI.\nInstallation canceled.\n"));

    // A disk too small is not filled.
    test::writeHost(machine_ / "sandbox.ini",
                    "[Drive C]\r\nType=fixed\r\nFileSystem=NTFS\r\nFreeBytes=1024\r\n");
    const Outcome full = run({"--accept-license"});
    EXPECT_EQ(full.status, kExitDeclined);
    EXPECT_TRUE(has(full.out, "Available space is not suffucient!\nProceed anyway?\n-> No"));
}

TEST_F(Unattended, DamagedOrCancelledRunsRollBack) {
    run({"--components", "Guida", "--accept-license"});  // something installed before
    const auto before = test::snapshot(machine_);

    // A damaged second volume: the installation fails and is rolled back.
    std::string volume = test::readHost(source_ / "PROGRAM.002");
    volume[volume.size() / 3] = static_cast<char>(volume[volume.size() / 3] ^ 0x55);
    test::writeHost(source_ / "PROGRAM.002", volume);
    const Outcome damaged = run({"--accept-license"});
    EXPECT_EQ(damaged.status, kExitFailed) << damaged.out;
    EXPECT_TRUE(has(damaged.out, "is bad or corrupted."));
    EXPECT_TRUE(has(damaged.out, "Installation canceled!"));
    EXPECT_EQ(test::snapshot(machine_), before);

    // Ctrl+C before copying ends the run; while copying it cancels and rolls back.
    const Outcome early = run({"--accept-license"}, [] { return true; });
    EXPECT_EQ(early.status, kExitDeclined);
    EXPECT_EQ(test::snapshot(machine_), before);
    int asked = 0;
    const Outcome cancelled = run({"--accept-license"}, [&] { return ++asked > 5; });
    EXPECT_EQ(cancelled.status, kExitCancelled);
    EXPECT_TRUE(has(cancelled.out, "Installation canceled!"));
    EXPECT_FALSE(has(cancelled.out, "Installation cancelled!"));  // code 8 is not shown
    EXPECT_EQ(test::snapshot(machine_), before);

    // A damaged component list stops before anything is copied.
    test::writeHost(source_ / "INSTALL.CFG", "Broken ; line\r\n");
    const Outcome list = run({"--accept-license"});
    EXPECT_EQ(list.status, kExitNotStarted);
    EXPECT_TRUE(has(list.out, "File INSTALL.CFG is bad or corrupted."));
}

TEST_F(Unattended, SourceInsideTheMachine) {
    fs::create_directories(machine_ / "C");
    { system::SandboxSystem make(machine_); }
    fs::copy(source_, machine_ / "C" / "SETUP");
    std::vector<std::string> args = {"--unattended", "--root",    machine_.string(),
                                     "--source",     "c:\\setup", "--accept-license",
                                     "--components", "Guida"};
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(runUnattended(args, dir_.path(), out, err), kExitInstalled) << out.str();
    EXPECT_TRUE(fs::exists(machine_ / "C" / "Tattilo" / "GUIDA" / "guida.htm"));
}

// The committed sample distribution is what the generator makes from its plain files.
TEST(SampleDistribution, MatchesItsGenerator) {
    if (std::system("python3 --version > /dev/null 2>&1") != 0) {
        GTEST_SKIP() << "python3 is not installed";
    }
    test::TempDir out;
    const std::string command = "python3 \"" + std::string(TATTILO_SOURCE_DIR) +
                                "/tools/make_distribution.py\" \"" + out.path().string() + "\"";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(test::snapshot(out.path()),
              test::snapshot(fs::path(TATTILO_SOURCE_DIR) / "data" / "distribution"))
        << "run tools/make_distribution.py and commit data/distribution";
}

}  // namespace
}  // namespace installer
