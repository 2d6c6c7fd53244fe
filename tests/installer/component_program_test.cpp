// Component programs and the job: every operation, the errors of a program, missing
// components and the disk prompt, copying, and the undo log.

#include <gtest/gtest.h>

#include "installer/component_program.h"
#include "installer/package.h"
#include "job_fixture.h"

namespace installer {
namespace {

using test::JobFixture;
using test::PackageBuilder;
using test::ProgramBuilder;

int runProgram(JobFixture& f, const std::string& program, bool withSettings = false,
               std::string* file = nullptr) {
    f.put("P.QKP", program);
    InstallJob& j = f.makeJob(withSettings);
    return JobFixture::codeOf(
        [&] {
            j.prepare();
            ComponentProgram p(f.box.sys.operator*(), "C:\\DIST\\P.QKP");
            executeComponentProgram(j, p);
        },
        file);
}

TEST(ComponentProgram, QueuesAndRecordsEveryOperation) {
    JobFixture f;
    f.put("PKG.001", PackageBuilder().folder("BIN").member("x.txt", "x").bytes);
    f.put("copy.txt", "copied");
    const std::string program =
        ProgramBuilder()
            .op(73, {"PKG"})
            .op(3, {"copy.txt", "DOC\\SUB\\"})
            .op(84)
            .op(202, {"Gruppo"})
            .op(203, {"BIN\\x.txt", "Titolo", "BIN\\x.ico"})
            .op(203, {"*notepad.exe", "Note", ""})
            .op(204)
            .op(206)
            .op(207)
            .op(209, {"ignored"})
            .op(210, {"BIN\\", "bin\\KORVOWi.exe -i"})
            .op(210, {"", "BIN\\korvo3x &arg"})
            .op(210, {"", "tool.exe a&b"})
            .op(211, {"INC"})
            .op(212)
            .op(217, {"Sez", "Chiave", "!BIN\\"})
            .op(233, {"Sez", "Chiave", "altro"})
            .op(220, {"Braille", "!FONTS\\braille"})
            .op(220, {"Sans (TrueType)", "sans.TTF"})
            .op(230, {"@a=file %KORVO,x"})
            .op(231, {"@b=file %AR3,x"})
            .op(230, {"@c=file %OTHER,x"})
            .op(232)
            .op(235, {"BIN\\MY.LIB"})
            .op(236, {"HKEY_LOCAL_MACHINE\\SOFTWARE\\Q", "N", "NUMBER", "42"})
            .op(236, {"HKEY_LOCAL_MACHINE\\SOFTWARE\\Q", "W", "word", "1"})
            .end();
    ASSERT_EQ(runProgram(f, program, true), -1);
    InstallJob& j = *f.job;
    EXPECT_EQ(f.installed("BIN/x.txt"), "x");
    EXPECT_EQ(f.installed("DOC/SUB/copy.txt"), "copied");
    EXPECT_TRUE(f.sink.has("copying:C:\\INST\\DOC\\SUB\\copy.txt"));
    EXPECT_TRUE(j.updateFontLibrary);
    EXPECT_TRUE(j.updateTrueTypeAlias);
    EXPECT_TRUE(j.configureHyphenation);
    EXPECT_EQ(j.fontLibraryName, "BIN\\MY.LIB");

    const DeferredActions& d = j.deferred();
    ASSERT_EQ(d.groups.size(), 1u);
    ASSERT_EQ(d.groups[0].shortcuts.size(), 2u);
    EXPECT_EQ(d.groups[0].shortcuts[0].target, "C:\\INST\\BIN\\x.txt");
    EXPECT_EQ(d.groups[0].shortcuts[0].iconFile, "C:\\INST\\BIN\\x.ico");
    EXPECT_EQ(d.groups[0].shortcuts[1].target, "C:\\WINDOWS\\notepad.exe");
    EXPECT_EQ(d.groups[0].shortcuts[1].iconFile, "");
    ASSERT_EQ(d.firstRun.size(), 2u);
    EXPECT_EQ(d.firstRun[0].commandLine, "C:\\INST\\bin\\KORVOWh.exe -i");
    EXPECT_EQ(d.firstRun[0].folder, "C:\\INST\\BIN\\");
    EXPECT_EQ(d.firstRun[1].commandLine, "C:\\INST\\tool.exe a&b");
    ASSERT_EQ(d.secondRun.size(), 1u);
    EXPECT_EQ(d.secondRun[0].commandLine, "C:\\INST\\BIN\\korvo3h &arg");
    // Raster fonts are configured at once; here without a font library to match against.
    EXPECT_TRUE(f.sink.has("warning:Cannot open the C:\\INST\\BIN\\TFM.LIB library."));
    ASSERT_EQ(d.fonts.size(), 2u);
    EXPECT_EQ(d.fonts[0].valueName, "Braille(TrueType)");
    EXPECT_EQ(d.fonts[0].file, "C:\\INST\\FONTS\\braille.ttf");
    EXPECT_EQ(d.fonts[1].valueName, "Sans (TrueType)");
    EXPECT_EQ(d.fonts[1].file, "sans.TTF");
    ASSERT_EQ(d.texAliases.size(), 1u);
    EXPECT_EQ(d.texAliases[0].line, "@a=file %,x");
    EXPECT_FALSE(d.texAliases[0].replace);
    ASSERT_EQ(d.reader3Aliases.size(), 1u);
    EXPECT_TRUE(d.reader3Aliases[0].replace);
    EXPECT_TRUE(d.readerAliases.empty());
    ASSERT_EQ(d.registryValues.size(), 1u);  // "word" is no type: dropped
    EXPECT_EQ(d.registryValues[0].type, 2);
    EXPECT_EQ(d.registryValues[0].data, "42");

    EXPECT_EQ(
        f.installed("Prodotto"),
        "[Directories]\r\nINCDIR=C:\\INST\\INC\\\r\n\r\n[Sez]\r\nChiave=C:\\INST\\BIN\\;altro\r\n");
    for (const char* status :
         {"status:Creating Start Menu entries...", "status:Creating KORVO.INI...",
          "status:Updating KORVO.INI...", "status:Configuring raster fonts..."}) {
        EXPECT_TRUE(f.sink.has(status)) << status;
    }
    // Nothing of this touched the machine's registry or Start Menu.
    EXPECT_FALSE(f.box.sys->regKeyExists(system::RegRoot::LocalMachine, "SOFTWARE\\Q"));
}

TEST(ComponentProgram, ErrorsOfAProgram) {
    JobFixture f;
    std::string file;
    EXPECT_EQ(runProgram(f, "QKIX\xFF", false, &file), CError::kCannotRead);
    EXPECT_EQ(file, "C:\\DIST\\P.QKP");
    EXPECT_EQ(runProgram(f, "QK", false, &file), CError::kCannotRead);
    EXPECT_EQ(runProgram(f, ProgramBuilder().op(84).bytes, false, &file), CError::kCannotRead);
    EXPECT_EQ(runProgram(f,
                         "QKIP\xCA\x05"
                         "ab",
                         false, &file),
              CError::kCannotRead);  // cut operand
    EXPECT_EQ(runProgram(f, ProgramBuilder().op(99).end(), false, &file), CError::kCorrupted);
    EXPECT_EQ(file, "C:\\DIST\\P.QKP");
    EXPECT_EQ(runProgram(f, ProgramBuilder().op(203, {"a", "b", ""}).op(202, {"G"}).end()),
              CError::kStartMenu);
    EXPECT_EQ(CError(CError::kStartMenu).text(), "Can not add Start Menu icons!");
    // Copy and delete stay inside the install path.
    EXPECT_EQ(runProgram(f, ProgramBuilder().op(3, {"x.txt", "..\\..\\"}).end()),
              CError::kCorrupted);
    EXPECT_EQ(runProgram(f, ProgramBuilder().op(3, {"..\\x.txt", ""}).end()), CError::kCorrupted);
    EXPECT_EQ(runProgram(f, ProgramBuilder().op(75, {"..\\WINDOWS\\x"}).end()), CError::kCorrupted);
    EXPECT_EQ(runProgram(f, ProgramBuilder().op(3, {"absent.txt", ""}).end(), false, &file),
              CError::kCannotCopy);
    EXPECT_EQ(file, "C:\\DIST\\absent.txt");
    EXPECT_EQ(CError(CError::kCannotCopy, file).text(), "Can not copy file C:\\DIST\\absent.txt.");
    // Settings operations without a settings file are left out.
    EXPECT_EQ(runProgram(f, ProgramBuilder().op(206).op(217, {"a", "b", "c"}).end()), -1);
    EXPECT_FALSE(f.sink.has("status:Creating KORVO.INI..."));
}

// Every operand that becomes a path goes through the same root check as member names.
TEST(ComponentProgram, OperandsThatBecomePathsStayInsideTheirRoot) {
    JobFixture f;
    const std::vector<std::pair<int, std::vector<std::string>>> escaping = {
        {235, {"..\\TFM.LIB"}},
        {235, {"C:\\WINDOWS\\TFM.LIB"}},
        {203, {"..\\..\\x.exe", "T", ""}},
        {203, {"*..\\x.exe", "T", ""}},
        {203, {"BIN\\x.exe", "..\\T", ""}},
        {203, {"BIN\\x.exe", "a\\b", ""}},
        {203, {"BIN\\x.exe", "T", "..\\x.ico"}},
        {210, {"..\\", "BIN\\x.exe"}},
        {210, {"", "..\\x.exe -i"}},
        {210, {"", "C:\\x.exe"}},
        {220, {"F", "!..\\x"}},
        {220, {"F", "FONTS\\!x"}},
        {220, {"F", "..\\x"}},
        {202, {"..\\Startup"}},
    };
    for (const auto& [op, operands] : escaping) {
        ProgramBuilder program;
        if (op == 203) {
            program.op(202, {"G"});
        }
        std::string file;
        EXPECT_EQ(runProgram(f, program.op(op, operands).end(), false, &file), CError::kCorrupted)
            << op << " " << operands[0];
        EXPECT_EQ(file, "C:\\DIST\\P.QKP");
    }
    EXPECT_EQ(runProgram(f, ProgramBuilder()
                                .op(202, {"Tattilo\\Strumenti"})
                                .op(203, {"BIN\\x.exe", "Titolo", "BIN\\x.ico"})
                                .op(210, {"", "BIN\\x.exe C:\\any\\argument ..\\"})
                                .op(235, {"BIN\\TFM.LIB"})
                                .end()),
              -1);
    EXPECT_EQ(f.job->deferred().firstRun[0].folder, "C:\\INST\\");
}

// Whatever the installation thread raises ends as an error and a rollback, not in a dead
// process.
TEST(Job, AnyExceptionOnTheInstallationThreadRollsBack) {
    struct Throwing : test::FaultySystem {
        using FaultySystem::FaultySystem;
        int times = 0;
        bool setFileTime(std::string_view path, system::FileTime time) override {
            if (++times == 2) {
                throw std::length_error("a fault of the program itself");
            }
            return FaultySystem::setFileTime(path, time);
        }
    };
    JobFixture f;
    f.put("PKG.001", PackageBuilder().member("a.txt", "a").member("b.txt", "b").bytes);
    f.addComponent("ONE", ProgramBuilder().op(73, {"PKG"}).end());
    const auto before = test::snapshot(f.box.host("machine"));
    Throwing sys(*f.box.sys);
    JobSettings settings;
    settings.installPath = "C:\\INST\\";
    settings.distributionPath = "C:\\DIST\\";
    InstallJob job(sys, f.sink, f.components, settings, nullptr);
    StatusSlot status;
    startInstallThread(job, status).join();
    EXPECT_EQ(status.load().code(), CError::kCannotExecute);
    EXPECT_EQ(status.load().text(), "Error executing C:\\DIST\\ONE.QKP.");
    EXPECT_TRUE(job.rollBack());
    EXPECT_EQ(test::snapshot(f.box.host("machine")), before);
}

TEST(ComponentProgram, CopyKeepsTheSourceTimeAndDeletionsRollBack) {
    JobFixture f;
    const std::string big(3 * 4096 + 17, 'z');
    f.put("big.txt", big);
    f.put("exact.txt", std::string(8192, 'e'));
    auto& sys = *f.box.sys;
    const auto when = sys.fromLocalTime({2001, 9, 9, 1, 46, 40});
    sys.setFileTime("C:\\DIST\\big.txt", *when);
    test::writeHost(f.box.host("machine/C/INST/old.txt"), "old");
    test::writeHost(f.box.host("machine/C/INST/big.txt"), "overwritten");
    const auto before = test::snapshot(f.box.host("machine"));
    ASSERT_EQ(runProgram(f, ProgramBuilder()
                                .op(3, {"big.txt", ""})
                                .op(3, {"exact.txt", "NEW\\"})
                                .op(75, {"old.txt"})
                                .op(75, {"missing.txt"})
                                .end()),
              -1);
    EXPECT_EQ(f.installed("big.txt"), big);
    EXPECT_EQ(f.installed("NEW/exact.txt"), std::string(8192, 'e'));
    EXPECT_EQ(sys.fileTime("C:\\INST\\big.txt"), when);
    EXPECT_FALSE(f.exists("old.txt"));
    EXPECT_EQ(f.sink.advanced, big.size() + 8192);
    // The backups wait beside their files until commit; rollback puts everything back.
    f.job->rollBack();
    auto after = test::snapshot(f.box.host("machine"));
    after.erase("C/DIST/P.QKP");
    EXPECT_EQ(after, before);

    ASSERT_EQ(runProgram(f, ProgramBuilder().op(3, {"big.txt", ""}).op(75, {"old.txt"}).end()), -1);
    f.job->undo().commit();
    auto committed = test::snapshot(f.box.host("machine/C/INST"));
    EXPECT_EQ(committed.count("big.txt"), 1u);
    EXPECT_EQ(committed.count("old.txt"), 0u);
    for (const auto& [name, bytes] : committed) {
        EXPECT_EQ(name.find(".tmp"), std::string::npos) << name;
    }
}

TEST(Job, MissingComponentsAndTheDiskPrompt) {
    JobFixture f;
    f.put("PKG.001", PackageBuilder().member("a.txt", "A").bytes);
    f.put("B2.001", PackageBuilder().member("b.txt", "B").bytes);
    f.addComponent("ONE", ProgramBuilder().op(73, {"PKG"}).end());
    f.addComponent("TWO", "", false);  // its program is missing
    f.addComponent("THREE", ProgramBuilder().op(3, {"three.txt", ""}).end());
    f.put("three.txt", "3");

    // Without "Check for optional components" the missing one is skipped silently.
    f.makeJob(false, true).run();
    EXPECT_EQ(f.installed("a.txt"), "A");
    EXPECT_EQ(f.installed("three.txt"), "3");
    EXPECT_FALSE(f.sink.has("ask:Disk TWO:C:\\DIST\\TWO.QKP"));
    EXPECT_EQ(f.sink.total, 3 * 4);
    EXPECT_EQ(std::count(f.sink.lines.begin(), f.sink.lines.end(), "end"), 2);

    // With it, the prompt appears and Skip skips only that component.
    f.sink = {};
    f.makeJob(false, false).run();
    EXPECT_TRUE(f.sink.has("ask:Disk TWO:C:\\DIST\\TWO.QKP"));
    EXPECT_TRUE(f.sink.has("begin:Disk THREE:4"));

    // Cancel at the prompt cancels the installation.
    f.sink = {};
    f.sink.locationAnswers = {ProgressSink::kCancel};
    EXPECT_EQ(JobFixture::codeOf([&] { f.makeJob(false, false).run(); }), CError::kCancelled);
    f.job->rollBack();

    // "Apply to All": the typed folder becomes the source of this and later components.
    test::writeHost(f.box.host("machine/C/DISK2/TWO.QKP"), ProgramBuilder().op(73, {"B2"}).end());
    test::writeHost(f.box.host("machine/C/DISK2/B2.001"),
                    PackageBuilder().member("b.txt", "B").bytes);
    test::writeHost(f.box.host("machine/C/DISK2/THREE.QKP"), ProgramBuilder().op(204).end());
    f.sink = {};
    f.sink.typedLocation = "C:\\DISK2\\";
    f.sink.locationAnswers = {ProgressSink::kApplyToAll};
    f.makeJob(false, false).run();
    EXPECT_EQ(f.installed("b.txt"), "B");
    EXPECT_EQ(f.job->currentSource, "C:\\DISK2\\");
    EXPECT_TRUE(f.sink.has("status:Creating Start Menu entries..."));  // THREE from DISK2

    // "Retry" with a wrong place asks again.
    f.sink = {};
    f.sink.typedLocation = "C:\\NOWHERE\\";
    f.sink.locationAnswers = {ProgressSink::kRetry, ProgressSink::kSkip};
    f.makeJob(false, false).run();
    EXPECT_EQ(std::count_if(f.sink.lines.begin(), f.sink.lines.end(),
                            [](const std::string& l) { return l.rfind("ask:", 0) == 0; }),
              2);
}

TEST(Job, ClustersOf32768UseTheSeventhCount) {
    JobFixture f;
    Component& c = f.addComponent("ONE", ProgramBuilder().end());
    c.clusters[6] = 3;
    JobSettings s;
    s.installPath = "C:\\INST\\";
    s.distributionPath = "C:\\DIST\\";
    s.clusterSize = 32768;
    InstallJob job(*f.box.sys, f.sink, f.components, s, nullptr);
    job.run();
    EXPECT_EQ(f.sink.total, 96);
    EXPECT_TRUE(f.sink.has("begin:Disk ONE:96"));
}

TEST(Job, RunsOnItsThreadAndStoresTheOutcome) {
    JobFixture f;
    f.addComponent("ONE", ProgramBuilder().op(99).end());
    StatusSlot status;
    EXPECT_EQ(status.load().code(), CError::kSuccess);
    InstallJob& j = f.makeJob();
    startInstallThread(j, status).join();
    EXPECT_EQ(status.load().code(), CError::kCorrupted);
    EXPECT_EQ(status.load().text(), "File C:\\DIST\\ONE.QKP is bad or corrupted.");
    j.rollBack();
    EXPECT_FALSE(f.exists(""));  // the install folder it made is gone

    status.reset();
    f.components.clear();
    f.addComponent("TWO", ProgramBuilder().end());
    startInstallThread(f.makeJob(), status).join();
    EXPECT_EQ(status.load().code(), CError::kSuccess);
    EXPECT_EQ(status.load().text(), "Installation successfully complete!");
}

TEST(Job, CancelFlagWaitsWhileTheUserIsAsked) {
    CancelFlag flag;
    EXPECT_FALSE(flag.isSet());
    std::atomic<bool> polled{false};
    std::thread poller;
    {
        auto held = flag.hold();
        poller = std::thread([&] {
            polled = flag.isSet();  // blocks until the question is answered
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        flag.setLocked(held);
    }
    poller.join();
    EXPECT_TRUE(polled.load());
}

}  // namespace
}  // namespace installer
