// A crash at any moment of an installation loses nothing: the real installer, a process of its
// own, is killed (SIGKILL, as a power cut stops it) right after each record of its journal
// has reached the disk, before the change it announces. The next run with --recover puts the
// machine back byte for byte, even when that recovery is itself killed and run again. A kill
// after the commit record finishes the installation instead.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "../support.h"
#include "installer/journal/journal.h"

extern char** environ;

namespace installer {
namespace {

namespace fs = std::filesystem;
using test::PackageBuilder;
using test::ProgramBuilder;

struct Exit {
    bool killed = false;  // by SIGKILL
    int status = -1;      // the exit status otherwise
};

// Runs instello with `args`, one extra environment variable, and its output into `log`.
Exit runInstaller(const std::vector<std::string>& args, const std::string& variable,
                  const fs::path& log) {
    const std::string program = std::string(TATTILO_BIN_DIR) + "/instello";
    std::vector<std::string> argStrings = {program};
    argStrings.insert(argStrings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : argStrings) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    std::vector<std::string> envStrings;
    for (char** e = environ; *e; ++e) {
        if (!std::string_view(*e).starts_with("INSTELLO_TEST_")) {
            envStrings.emplace_back(*e);
        }
    }
    if (!variable.empty()) {
        envStrings.push_back(variable);
    }
    std::vector<char*> envp;
    for (auto& e : envStrings) {
        envp.push_back(e.data());
    }
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    pid_t pid = 0;
    const int failed =
        posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    Exit result;
    int status = 0;
    if (failed != 0 || waitpid(pid, &status, 0) != pid) {
        return result;
    }
    result.killed = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

class Crash : public ::testing::Test {
protected:
    void SetUp() override {
        if (!fs::exists(std::string(TATTILO_BIN_DIR) + "/instello")) {
            GTEST_SKIP() << "instello is not built";
        }
        makeDistribution();
        makeMachine();
    }

    // An equation-editor product (it has an uninstall entry): files new and replaced, a
    // deletion, a copy, a Start Menu group with the editor's desktop link, a font and
    // registry values of every type, one of them replacing a value that was there.
    void makeDistribution() {
        cd_ = base_.path() / "cd";
        auto put = [&](const std::string& name, const std::string& bytes) {
            test::writeHost(cd_ / name, bytes);
        };
        put("INSTELLO.INI", "[AppInfo]\r\nAppName=Formix\r\nVersion=2.0\r\n");
        put("INSTALL.CFG", "Formix ; Formix ; FORMIX.QKP ; 4:4:4:4:4:4:4 ; L'editor.\r\n");
        put("license.txt", "Licenza\r\n");
        put("FORMIX.001", PackageBuilder()
                              .folder("BIN")
                              .member("FMX.EXE", std::string(3000, 'f'))
                              .member("LEGGIMI.TXT", "Leggimi, nuovo")
                              .member("WKORVO.EXE", "editor", 0)
                              .folder("FONTS")
                              .member("fmxsym.ttf", "a font")
                              .bytes);
        const std::string key = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Quillon\\Formix";
        put("FORMIX.QKP", ProgramBuilder()
                              .op(73, {"FORMIX"})
                              .op(3, {"license.txt", "DOC\\"})
                              .op(75, {"BIN\\OLD.DLL"})
                              .op(202, {"Formix"})
                              .op(203, {"BIN\\FMX.EXE", "Formix", "BIN\\FMX.EXE"})
                              .op(203, {"BIN\\WKORVO.EXE", "Editor", ""})
                              .op(220, {"Formix Sym (TrueType)", "!FONTS\\fmxsym"})
                              .op(236, {key, "Lingua", "string", "it"})
                              .op(236, {key, "Versione", "number", "2"})
                              .op(236, {key, "Codice", "hex", "c0ffee"})
                              .op(236, {key + "\\Opzioni", "Vuoto", "bin", ""})
                              .end());
    }

    // An older installation: the product key, a readme that will be replaced, a library that
    // will be deleted, the register, and a desktop link of the editor.
    void makeMachine() {
        golden_ = base_.path() / "golden";
        { system::SandboxSystem make(golden_); }
        test::writeHost(golden_ / "C/FORMIX/BIN/LEGGIMI.TXT", "Leggimi, vecchio");
        test::writeHost(golden_ / "C/FORMIX/BIN/OLD.DLL", "old library");
        test::writeHost(golden_ / "C/FORMIX/BIN/INST.INI", "[INSTALLED-TXT]\r\nLEGGIMI=1\r\n");
        test::writeHost(golden_ / "C/Documents and Settings/Studente/Desktop/Editor.lnk", "old");
        test::writeHost(golden_ / "registry.reg",
                        test::readHost(golden_ / "registry.reg") +
                            "\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Quillon\\Formix]\r\n"
                            "\"InstallPath\"=\"C:\\\\FORMIX\\\\\"\r\n"
                            "\"DistributivePath\"=\"D:\\\\\"\r\n\"Lingua\"=\"en\"\r\n");
        before_ = test::snapshot(golden_);
    }

    // A fresh copy of the older machine at `run_`.
    void resetMachine() {
        fs::remove_all(run_);
        fs::copy(golden_, run_, fs::copy_options::recursive);
    }

    Exit install(const std::string& variable = {}) {
        return runInstaller({"--unattended", "--root", run_.string(), "--source", cd_.string()},
                            variable, log_);
    }
    Exit recover(const std::string& variable = {}) {
        return runInstaller({"--unattended", "--root", run_.string(), "--recover"}, variable, log_);
    }

    std::string log() const { return test::readHost(log_); }

    test::TempDir base_;
    fs::path cd_;
    fs::path golden_;
    fs::path run_ = base_.path() / "run";
    fs::path log_ = base_.path() / "log.txt";
    std::map<std::string, std::string> before_;
};

TEST_F(Crash, KilledAtEveryJournalRecordTheMachineComesBack) {
    // The undisturbed installation, for the kills after its commit.
    resetMachine();
    const Exit clean = install();
    ASSERT_EQ(clean.status, 0) << log();
    const auto installed = test::snapshot(run_);
    ASSERT_EQ(installed.at("C/FORMIX/BIN/LEGGIMI.TXT"), "Leggimi, nuovo");
    ASSERT_EQ(installed.count("C/FORMIX/BIN/OLD.DLL"), 0u);
    ASSERT_EQ(installed.count("C/Documents and Settings/All Users/Start Menu/Programs/Formix/"
                              "Formix.lnk"),
              1u);
    ASSERT_NE(installed.at("C/Documents and Settings/Studente/Desktop/Editor.lnk"), "old");
    // The registry holds the product key, the uninstall entry, the font and the typed values.
    const std::string registry = installed.at("registry.reg");
    for (const char* entry : {
             "\"Formix Sym (TrueType)\"=\"C:\\\\FORMIX\\\\FONTS\\\\fmxsym.ttf\"\r\n",
             "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Quillon\\Formix]\r\n"
             "\"InstallPath\"=\"C:\\\\FORMIX\\\\\"\r\n\"DistributivePath\"=\"D:\\\\\"\r\n"
             "\"Lingua\"=\"it\"\r\n\"Versione\"=dword:00000002\r\n\"Codice\"=hex:c0,ff,ee\r\n",
             "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Quillon\\Formix\\Opzioni]\r\n\"Vuoto\"=hex(0):\r\n",
             "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Formix]"
             "\r\n\"DisplayName\"=\"Formix\"\r\n"
             "\"UninstallString\"=\"C:\\\\FORMIX\\\\BIN\\\\FMXUNINST.EXE\"\r\n",
         }) {
        EXPECT_NE(registry.find(entry), std::string::npos) << entry << "\n---\n" << registry;
    }

    std::size_t kills = 0;
    std::size_t undoKills = 0;
    for (std::size_t n = 1; n < 200; ++n) {
        resetMachine();
        const Exit run = install("INSTELLO_TEST_KILL_AT_RECORD=" + std::to_string(n));
        if (!run.killed) {
            // Past the last record: the installation ended by itself.
            EXPECT_EQ(run.status, 0) << log();
            EXPECT_EQ(test::snapshot(run_), installed);
            break;
        }
        ++kills;
        const auto journal = parseJournal(test::readHost(run_ / "C/WINDOWS/INSTELLO.JNL"));
        ASSERT_TRUE(journal) << "record " << n;
        ASSERT_EQ(journal->records.size(), n) << "the kill came right after record " << n;

        // The recovery, killed at one of its own steps, then run to its end.
        const Exit cut = recover("INSTELLO_TEST_KILL_AT_UNDO_STEP=" + std::to_string(1 + n % 5));
        if (cut.killed) {
            ++undoKills;
        } else {
            ASSERT_EQ(cut.status, 0) << log();
        }
        const Exit again = recover();
        ASSERT_EQ(again.status, 0) << "record " << n << "\n" << log();
        ASSERT_FALSE(again.killed);
        ASSERT_EQ(test::snapshot(run_), journal->committed ? installed : before_)
            << "killed at record " << n << "\n"
            << log();
    }
    EXPECT_GT(kills, 25u);
    EXPECT_GT(undoKills, 10u);

    // After a recovery, the next run installs as if nothing had happened.
    resetMachine();
    ASSERT_TRUE(install("INSTELLO_TEST_KILL_AT_RECORD=12").killed);
    const Exit next = install();
    EXPECT_EQ(next.status, 0);
    EXPECT_NE(log().find("The installation of Formix was interrupted before it ended."),
              std::string::npos)
        << log();
    EXPECT_EQ(test::snapshot(run_), installed);
}

// The TeX sample on a new machine: the files its finishing steps and its libraries write (the
// font library's temporary file, HYPHEN.CFG, the alias files) come back out too, at any kill.
TEST_F(Crash, TexSampleKilledAtEveryJournalRecordTheMachineComesBack) {
    cd_ = base_.path() / "cd-tex";
    fs::copy(fs::path(TATTILO_SOURCE_DIR) / "data" / "distribution-tex", cd_);
    test::writeHost(cd_ / "INSTELLO.EXE", "the installer");
    fs::remove_all(golden_);
    { system::SandboxSystem make(golden_); }
    before_ = test::snapshot(golden_);

    resetMachine();
    ASSERT_EQ(install().status, 0) << log();
    auto installed = test::snapshot(run_);
    ASSERT_EQ(installed.count("C/KORVO/BIN/HYPHEN.CFG"), 1u);
    // The formats ran before the commit; what they did is not the journal's to undo.
    installed.erase("processes.log");

    std::size_t kills = 0;
    for (std::size_t n = 1; n < 400; ++n) {
        resetMachine();
        const Exit run = install("INSTELLO_TEST_KILL_AT_RECORD=" + std::to_string(n));
        if (!run.killed) {
            EXPECT_EQ(run.status, 0) << log();
            break;
        }
        ++kills;
        const auto journal = parseJournal(test::readHost(run_ / "C/WINDOWS/INSTELLO.JNL"));
        ASSERT_TRUE(journal) << "record " << n;
        const Exit again = recover();
        ASSERT_EQ(again.status, 0) << "record " << n << "\n" << log();
        auto machine = test::snapshot(run_);
        machine.erase("processes.log");
        auto expected = journal->committed ? installed : before_;
        ASSERT_EQ(machine, expected) << "killed at record " << n << "\n" << log();
    }
    EXPECT_GT(kills, 40u);
}

}  // namespace
}  // namespace installer

namespace installer {
namespace {

// A removal killed at any of its journal records ends whole at the next run: the product back
// byte for byte (killed before the commit) or removed (after it), even when that recovery is
// itself killed and run again.
class RemovalCrash : public ::testing::Test {
protected:
    void SetUp() override {
        if (!fs::exists(std::string(TATTILO_BIN_DIR) + "/instello")) {
            GTEST_SKIP() << "instello is not built";
        }
        golden_ = base_.path() / "golden";
        { system::SandboxSystem make(golden_); }
        before_ = test::snapshot(golden_);
        const fs::path cd = fs::path(TATTILO_SOURCE_DIR) / "data" / "distribution";
        ASSERT_EQ(runInstaller({"--unattended", "--root", golden_.string(), "--source", cd.string(),
                                "--accept-license", "--components", "Programma,Documentazione"},
                               {}, log_)
                      .status,
                  0)
            << test::readHost(log_);
        installed_ = test::snapshot(golden_);
    }

    void resetMachine() {
        fs::remove_all(run_);
        fs::copy(golden_, run_, fs::copy_options::recursive);
    }
    Exit remove(const std::string& variable = {}) {
        return runInstaller(
            {"--unattended", "--uninstall", "--root", run_.string(), "--product", "Tattilo"},
            variable, log_);
    }
    Exit recover(const std::string& variable = {}) {
        return runInstaller({"--unattended", "--root", run_.string(), "--recover"}, variable, log_);
    }
    std::string log() const { return test::readHost(log_); }

    test::TempDir base_;
    fs::path golden_;
    fs::path run_ = base_.path() / "run";
    fs::path log_ = base_.path() / "log.txt";
    std::map<std::string, std::string> before_;
    std::map<std::string, std::string> installed_;
};

TEST_F(RemovalCrash, KilledAtEveryJournalRecordTheRemovalEndsWhole) {
    std::size_t kills = 0;
    std::size_t undone = 0;
    for (std::size_t n = 1; n < 300; ++n) {
        resetMachine();
        const Exit run = remove("INSTELLO_TEST_KILL_AT_RECORD=" + std::to_string(n));
        if (!run.killed) {
            ASSERT_EQ(run.status, 0) << log();
            EXPECT_EQ(test::snapshot(run_), before_);
            break;
        }
        ++kills;
        const auto journal = parseJournal(test::readHost(run_ / "C/WINDOWS/INSTELLO.JNL"));
        ASSERT_TRUE(journal && journal->removal) << "record " << n;
        const Exit cut = recover("INSTELLO_TEST_KILL_AT_UNDO_STEP=" + std::to_string(1 + n % 7));
        ASSERT_TRUE(cut.killed || cut.status == 0) << log();
        const Exit again = recover();
        ASSERT_EQ(again.status, 0) << "record " << n << "\n" << log();
        undone += journal->committed ? 0 : 1;
        ASSERT_EQ(test::snapshot(run_), journal->committed ? before_ : installed_)
            << "killed at record " << n << "\n"
            << log();
    }
    EXPECT_GT(kills, 30u);
    EXPECT_GT(undone, 25u);

    // The next removal after a recovery removes as if nothing had happened.
    resetMachine();
    ASSERT_TRUE(remove("INSTELLO_TEST_KILL_AT_RECORD=9").killed);
    ASSERT_EQ(remove().status, 0) << log();
    EXPECT_NE(log().find("The removal of Tattilo was interrupted before it ended."),
              std::string::npos)
        << log();
    EXPECT_EQ(test::snapshot(run_), before_);
}

}  // namespace
}  // namespace installer
