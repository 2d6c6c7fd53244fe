// instello --unattended on the sample distribution: what it prints, what it installs, its
// exit status, and that failed and cancelled runs leave the machine as it was.

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <sstream>

#include "installer/journal/recovery.h"
#include "installer/journal/undo_log.h"
#include "installer/system/sandbox/sandbox_system.h"
#include "installer/system/this_machine.h"
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

// Everything the windows would do after the copy: the Start Menu (answered Yes), the font,
// the registry values and the product key, the success message only then, and the restart
// question (answered No).
TEST_F(Unattended, IntegratesTheProductWithTheSystem) {
    const Outcome r = run({"--accept-license", "--components", "Programma"});
    ASSERT_EQ(r.status, kExitInstalled) << r.out << r.err;
    const std::string tail =
        "Progress: 100%\n"
        "[Tattilo Install]\nDo you want to create icons in Start Menu\\Programs folder?\n"
        "-> Yes (default answer)\n"
        "[Tattilo Install]\nInstallation succesful!\nThank you for choosing Tattilo!\n"
        "System integration: 1 Start Menu group(s) with 2 link(s), 1 font(s), 4 registry "
        "value(s), 0 program(s) run.\n"
        "[Tattilo Install]\nYou must restart Windows before using Tattilo.\nDo you want to "
        "restart now?\n-> No (default answer)\n";
    ASSERT_GE(r.out.size(), tail.size());
    EXPECT_EQ(r.out.substr(r.out.size() - tail.size()), tail) << r.out;
    EXPECT_FALSE(has(test::readHost(machine_ / "sandbox.ini"), "[Restart]"));

    const std::string registry = test::readHost(machine_ / "registry.reg");
    for (const char* entry :
         {"\"Braillecour (TrueType)\"=\"braillecour.ttf\"\r\n",
          "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Quillon\\Tattilo]\r\n\"Lingua\"=\"it\"\r\n"
          "\"Velocita\"=dword:00000032\r\n\"Colori\"=hex:00,ff,80\r\n"
          "\"InstallPath\"=\"C:\\\\Tattilo\\\\\"\r\n\"DistributivePath\"=\"D:\\\\\"\r\n",
          "[HKEY_CURRENT_USER\\Software\\Quillon\\Tattilo]\r\n\"PrimoAvvio\"=hex(0):\r\n"}) {
        EXPECT_TRUE(has(registry, entry)) << entry << "\n---\n" << registry;
    }
    EXPECT_TRUE(fs::exists(machine_ / "C/WINDOWS/Fonts/braillecour.ttf"));

    // Every link written reads back with an independent reader of the format.
    const fs::path group =
        machine_ / "C/Documents and Settings/All Users/Start Menu/Programs/Tattilo";
    std::vector<fs::path> links;
    for (const auto& entry : fs::recursive_directory_iterator(machine_ / "C")) {
        if (entry.path().extension() == ".lnk") {
            links.push_back(entry.path());
        }
    }
    std::sort(links.begin(), links.end());
    ASSERT_EQ(links, (std::vector<fs::path>{group / "Esercizi.lnk", group / "Leggimi.lnk"}));
    if (!test::lnkinfo(links[0])) {
        GTEST_SKIP() << "lnkinfo (liblnk-utils) is not installed";
    }
    for (const auto& [link, target] : {std::pair{links[0], "C:\\Tattilo\\ESERCIZI\\esercizi.txt"},
                                       std::pair{links[1], "C:\\Tattilo\\BIN\\leggimi.txt"}}) {
        const std::string info = *test::lnkinfo(link);
        EXPECT_TRUE(has(info, std::string("Local path\t\t\t: ") + target)) << info;
        EXPECT_TRUE(has(info, "Description\t\t\t: " + link.stem().string() + "\n")) << info;
        EXPECT_TRUE(has(info, "Icon location\t\t\t: C:\\Tattilo\\BIN\\tattilo.ico\n")) << info;
    }
}

// The programs the component programs queue run after the copy, announced, before the Start
// Menu question; one that cannot start is reported and the installation still succeeds.
TEST_F(Unattended, ExternalProgramsRunAfterTheCopy) {
    fs::remove_all(source_);
    auto put = [&](const std::string& name, const std::string& bytes) {
        test::writeHost(source_ / name, bytes);
    };
    put("INSTELLO.INI", "[AppInfo]\r\nAppName=Prova\r\n[Finish]\r\nRunMsg=1\r\n");
    put("INSTALL.CFG", "Uno ; Uno ; UNO.QKP ; 1:1:1:1:1:1:1 ; Uno.\r\n");
    put("UNO.001", test::PackageBuilder().folder("BIN").member("RUN.EXE", "MZ").bytes);
    put("UNO.QKP", test::ProgramBuilder()
                       .op(73, {"UNO"})
                       .op(210, {"", "BIN\\RUN.EXE &dopo"})
                       .op(210, {"BIN", "BIN\\RUN.EXE -x"})
                       .op(210, {"", "BIN\\MISSING.EXE"})
                       .op(202, {"Prova"})
                       .op(203, {"BIN\\RUN.EXE", "Prova", ""})
                       .end());
    const Outcome r = run({});
    ASSERT_EQ(r.status, kExitInstalled) << r.out << r.err;
    const auto at = [&](const std::string& text) { return r.out.find(text); };
    EXPECT_LT(at("Progress: 100%"), at("Now intstaller will run external programs.\nIt may take "
                                       "some time. Please be patient."));
    EXPECT_LT(at("Please be patient."), at("Can not execute C:\\Prova\\BIN\\MISSING.EXE"));
    EXPECT_LT(at("MISSING.EXE"), at("Do you want to create icons"));
    EXPECT_TRUE(has(r.out, "2 program(s) run."));
    EXPECT_EQ(test::readHost(machine_ / "processes.log"),
              "C:\\Prova\\BIN\\RUN.EXE -x | C:\\Prova\\BIN\\\r\n"
              "C:\\Prova\\BIN\\RUN.EXE &dopo | C:\\Prova\\\r\n");
}

// --recover undoes an interrupted installation and nothing else; every run does it first.
TEST_F(Unattended, RecoverUndoesAnInterruptedInstallation) {
    const Outcome nothing = run({"--recover"});
    EXPECT_EQ(nothing.status, kExitInstalled);
    EXPECT_TRUE(has(nothing.out, "No interrupted installation was found.\n"));

    const auto before = test::snapshot(machine_);
    {
        system::SandboxSystem sys(machine_);
        UndoLog undo(sys, "C:\\WINDOWS");
        undo.startJournal(journalPath(sys), "Tattilo");
        undo.createFolders("C:\\Tattilo\\BIN\\");
    }
    ASSERT_NE(test::snapshot(machine_), before);
    const Outcome recovered = run({"--recover"});
    EXPECT_EQ(recovered.status, kExitInstalled);
    EXPECT_TRUE(has(recovered.out,
                    "[Tattilo Install]\nThe installation of Tattilo was "
                    "interrupted before it ended."))
        << recovered.out;
    EXPECT_FALSE(has(recovered.out, "Now you about to install"));
    EXPECT_EQ(test::snapshot(machine_), before);

    // While another installer holds the journal, nothing starts.
    system::SandboxSystem sys(machine_);
    UndoLog running(sys, "C:\\WINDOWS");
    running.startJournal(journalPath(sys), "Tattilo");
    running.createFolders("C:\\Altro\\");
    const Outcome busy = run({"--accept-license"});
    EXPECT_EQ(busy.status, kExitNotStarted);
    EXPECT_TRUE(has(busy.out, "Another installation is running."));
    EXPECT_FALSE(has(busy.out, "Now you about to install"));
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
    // Every cancel ends with "Installation canceled!", as in the windows.
    const Outcome none = run({"--accept-license", "--components", ""});
    EXPECT_EQ(none.status, kExitDeclined);
    EXPECT_TRUE(has(none.out,
                    "You have not select any package to install!\nAre you sure?\n"
                    "-> No (default answer)\n[Tattilo Install]\nInstallation canceled!\n"))
        << none.out;
    const Outcome network = run({"--accept-license", "--target", "D:\\Tattilo"});  // the CD
    EXPECT_EQ(network.status, kExitNotStarted);
    EXPECT_TRUE(has(network.out, "You can not install to removable or network drive."));
    EXPECT_EQ(run({"--accept-license", "--frobnicate"}).status, kExitNotStarted);

    // Without a sandbox only a build with a system layer for this computer installs (here
    // from a folder that holds no distribution).
    std::vector<std::string> noRoot = {"--unattended"};
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(runUnattended(noRoot, dir_.path(), out, err), kExitNotStarted);
    if (system::openThisMachine()) {
        EXPECT_TRUE(has(out.str(), "Can not find INSTELLO.INI.\nInstallation canceled.\n"));
    } else {
        EXPECT_TRUE(has(err.str(), "--root SANDBOX is required"));
    }

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
    EXPECT_TRUE(has(full.out,
                    "Available space is not suffucient!\nProceed anyway?\n"
                    "-> No (default answer)\n[Tattilo Install]\nInstallation canceled!\n"))
        << full.out;
}

// The destination is made canonical before it is checked, shown, stored or created: nothing
// is made on the way to it, and the registry and the settings file hold the folder itself.
TEST_F(Unattended, TargetsAreCanonical) {
    const Outcome r =
        run({"--accept-license", "--components", "Programma", "--target", "C:\\a\\..\\b"});
    ASSERT_EQ(r.status, kExitInstalled) << r.out << r.err;
    EXPECT_TRUE(has(r.out, "Install to: C:\\b\\\n"));
    EXPECT_FALSE(fs::exists(machine_ / "C" / "a"));
    EXPECT_TRUE(
        has(test::readHost(machine_ / "C" / "b" / "Tattilo"), "Programma=C:\\b\\BIN\\\r\n"));
    EXPECT_TRUE(
        has(test::readHost(machine_ / "registry.reg"), "\"InstallPath\"=\"C:\\\\b\\\\\"\r\n"));

    // ".." never climbs above the drive, and leaves nothing behind on its way.
    const Outcome above = run(
        {"--accept-license", "--components", "Guida", "--target", "C:\\Tattilo\\..\\..\\..\\x"});
    ASSERT_EQ(above.status, kExitInstalled) << above.out;
    EXPECT_TRUE(has(above.out, "Install to: C:\\x\\\n"));
    EXPECT_TRUE(fs::exists(machine_ / "C" / "x" / "GUIDA" / "guida.htm"));
    EXPECT_FALSE(fs::exists(machine_ / "C" / "Tattilo"));
}

// Installing the same components again (a repair) leaves the same machine: in particular a
// settings list that operation 233 appends to does not grow on each run.
TEST_F(Unattended, RepairInstallLeavesTheSameMachine) {
    const std::vector<std::string> args = {"--accept-license", "--components",
                                           "Programma,Documentazione"};
    ASSERT_EQ(run(args).status, kExitInstalled);
    const fs::path settings = machine_ / "C" / "Tattilo" / "Tattilo";
    // PROGRAM.QKP and ESEMPI.QKP both append the examples folder: it is there once.
    EXPECT_TRUE(has(test::readHost(settings), "Documenti=C:\\Tattilo\\ESEMPI\\\r\n"))
        << test::readHost(settings);
    const auto first = test::snapshot(machine_);
    ASSERT_EQ(run(args).status, kExitInstalled);
    EXPECT_EQ(test::snapshot(machine_), first);
}

// The finishing steps and the operations that ask for them run for a product that is not a
// TeX system too: the installer copy, the font library, hyphenation, the TrueType aliases.
TEST_F(Unattended, FinishingStepsRunForEveryProduct) {
    fs::remove_all(source_);
    auto put = [&](const std::string& name, const std::string& bytes) {
        test::writeHost(source_ / name, bytes);
    };
    put("INSTELLO.INI", "[AppInfo]\r\nAppName=Prova\r\n[Finish]\r\nCopyInstaller=1\r\n");
    put("INSTALL.CFG", "Uno ; Uno ; UNO.QKP ; 1:1:1:1:1:1:1 ; Uno.\r\n");
    put("INSTELLO.EXE", "the installer");
    put("HYPSET.DLL", "the hyphenation library");
    const std::string tfm =
        test::readHost(fs::path(TATTILO_TEST_DATA) / "installer/tex/tfm/cmr10.tfm");
    put("UNO.001", test::PackageBuilder()
                       .folder("BIN")
                       .member("cmr10.tfm", tfm)
                       .folder("SRC")
                       .member("itpat.pat", "patterns")
                       .bytes);
    put("UNO.QKP", test::ProgramBuilder().op(73, {"UNO"}).op(84).op(232).op(207).end());
    const Outcome r = run({});
    ASSERT_EQ(r.status, kExitInstalled) << r.out << r.err;
    const fs::path bin = machine_ / "C" / "Prova" / "BIN";
    EXPECT_EQ(test::readHost(bin / "INSTELLO.EXE"), "the installer");
    EXPECT_EQ(test::readHost(bin / "INSTELLO.INI"), test::readHost(source_ / "INSTELLO.INI"));
    EXPECT_EQ(test::readHost(bin / "HYPSET.DLL"), "the hyphenation library");
    EXPECT_EQ(test::readHost(bin / "TFM.LIB").substr(16, 5), "cmr10");
    EXPECT_FALSE(fs::exists(bin / "cmr10.tfm"));
    EXPECT_EQ(test::readHost(bin / "HYPHEN.CFG"),
              "[Hyphenation]\r\nRoot=C:\\Prova\\\r\nPattern1=itpat.pat\r\n");
    EXPECT_TRUE(has(r.out, "Can not find C:\\Prova\\BIN\\KORVOTTF.DLL"));
    // No Type 1 alias was queued: no alias file of its own.
    EXPECT_FALSE(fs::exists(machine_ / "C" / "Prova" / "SRC" / "ALIASING.PST"));
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
