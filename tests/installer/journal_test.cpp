// The installation journal: its file format, undoing it (also when the undo itself is cut
// short), the recovery at the next start, and the installed-files register that is written
// once and replaced in one step.

#include <gtest/gtest.h>

#include <random>

#include "installer/cerror.h"
#include "installer/journal/journal.h"
#include "installer/journal/recovery.h"
#include "installer/journal/undo_log.h"
#include "installer/profile.h"
#include "job_fixture.h"

namespace installer {
namespace {

namespace fs = std::filesystem;
using Kind = JournalRecord::Kind;
using system::RegRoot;
using system::RegValue;

constexpr const char* kJournal = "C:\\WINDOWS\\INSTELLO.JNL";

TEST(Journal, RecordsSurviveTheirFileAndATornLastLineIsLeftOut) {
    std::vector<JournalRecord> records = {
        JournalRecord::onFile(Kind::Folder, "C:\\Scuola\\Tattilo\\"),
        JournalRecord::onFile(Kind::NewFile, "C:\\Tattilo\\Perché 100%.txt"),
        JournalRecord::onFile(Kind::MovedAside, "C:\\A\\b.txt", "C:\\A\\un000003.tmp"),
        JournalRecord::onFile(Kind::CopyBegun, "C:\\A\\INST.INI", "C:\\A\\un000004.tmp"),
        JournalRecord::onFile(Kind::CopyDone, "C:\\A\\INST.INI", "C:\\A\\un000004.tmp"),
        JournalRecord::onKey(Kind::RegistryKey, RegRoot::CurrentUser, "Software\\Q"),
    };
    JournalRecord value = JournalRecord::onKey(Kind::RegistryValue, RegRoot::Users, "X\\Y");
    value.valueName = "tab\there";
    value.oldValue = RegValue{system::kRegBinary, std::string("\0\r\n%\xFF", 5)};
    records.push_back(value);
    JournalRecord absent = JournalRecord::onKey(Kind::RegistryValue, RegRoot::ClassesRoot, "K");
    records.push_back(absent);

    std::string bytes = encodeJournalHeader("Formix Scuola");
    for (const auto& r : records) {
        bytes += encodeJournalRecord(r);
    }
    const auto parsed = parseJournal(bytes);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->productName, "Formix Scuola");
    EXPECT_FALSE(parsed->committed);
    ASSERT_EQ(parsed->records.size(), records.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
        const auto& a = parsed->records[i];
        const auto& b = records[i];
        EXPECT_EQ(a.kind, b.kind) << i;
        EXPECT_EQ(a.path, b.path) << i;
        EXPECT_EQ(a.backup, b.backup) << i;
        EXPECT_EQ(a.valueName, b.valueName) << i;
        EXPECT_EQ(a.oldValue, b.oldValue) << i;
        if (b.kind == Kind::RegistryKey || b.kind == Kind::RegistryValue) {
            EXPECT_EQ(a.root, b.root) << i;
        }
    }

    // A power cut in the middle of the last write, and a damaged line in the middle.
    const std::string commit = encodeJournalRecord(JournalRecord::onFile(Kind::Commit, {}));
    EXPECT_EQ(parseJournal(bytes + commit.substr(0, commit.size() - 1))->records.size(),
              records.size());
    EXPECT_TRUE(parseJournal(bytes + commit)->committed);
    std::string damaged = bytes;
    damaged[damaged.find("un000003") + 2] = 'X';
    EXPECT_EQ(parseJournal(damaged)->records.size(), records.size() - 1);
    // Without its header the file is not a journal.
    EXPECT_FALSE(parseJournal(bytes.substr(bytes.find('\n') + 1)));
    EXPECT_FALSE(parseJournal(""));
}

// A machine with a file, a registry value and a folder of the user's, and an undo log that
// changes each of them.
struct Changes : test::JobFixture {
    std::map<std::string, std::string> before;

    Changes() {
        test::writeHost(box.host("machine/C/INST/old.txt"), "old");
        test::writeHost(box.host("machine/C/INST/gone.txt"), "to be removed");
        test::writeHost(box.host("machine/C/INST/in place.ini"), "[a]\r\nb=1\r\n");
        box.sys->regCreateKey(RegRoot::LocalMachine, "SOFTWARE\\Old");
        box.sys->regSetValue(RegRoot::LocalMachine, "SOFTWARE\\Old", "V",
                             RegValue{system::kRegSz, std::string("old\0", 4)});
        before = test::snapshot(box.host("machine"));
    }

    // Makes every kind of change through `undo`.
    void change(UndoLog& undo) {
        auto write = [&](const std::string& path, const std::string& bytes) {
            auto out = box.sys->openWrite(path);
            out->write(bytes.data(), bytes.size());
            out->close();
        };
        undo.createFolders("C:\\INST\\NEW\\DEEP\\");
        undo.prepareOverwrite("C:\\INST\\NEW\\DEEP\\new.txt");
        write("C:\\INST\\NEW\\DEEP\\new.txt", "new");
        undo.prepareOverwrite("C:\\INST\\old.txt");
        write("C:\\INST\\old.txt", "replaced");
        undo.prepareChange("C:\\INST\\in place.ini");
        write("C:\\INST\\in place.ini", "[a]\r\nb=2\r\n");
        undo.removeFile("C:\\INST\\gone.txt");
        ASSERT_TRUE(undo.createRegistryKey(RegRoot::LocalMachine, "SOFTWARE\\Quillon\\Prova"));
        undo.prepareRegistryValue(RegRoot::LocalMachine, "SOFTWARE\\Quillon\\Prova", "N");
        box.sys->regSetValue(RegRoot::LocalMachine, "SOFTWARE\\Quillon\\Prova", "N",
                             RegValue{system::kRegDword, std::string("\1\0\0\0", 4)});
        undo.prepareRegistryValue(RegRoot::LocalMachine, "SOFTWARE\\Old", "V");
        box.sys->regSetValue(RegRoot::LocalMachine, "SOFTWARE\\Old", "V",
                             RegValue{system::kRegSz, std::string("new\0", 4)});
    }

    std::map<std::string, std::string> machine() const {
        return test::snapshot(box.host("machine"));
    }
};

TEST(Journal, UndoingPutsBackEveryKindOfChangeEvenWhenItselfCutShort) {
    // Stopped before each step in turn, then undone again from the start: the same end.
    struct Stop {};
    for (std::size_t stopAt = 1;; ++stopAt) {
        Changes c;
        UndoLog undo(*c.box.sys, "C:\\WINDOWS");
        undo.startJournal(kJournal, "Prova");
        c.change(undo);
        const auto journal =
            parseJournal(test::readHost(c.box.host("machine/C/WINDOWS/INSTELLO.JNL")));
        ASSERT_TRUE(journal);
        ASSERT_EQ(journal->records.size(), 11u);
        ASSERT_NE(c.machine(), c.before);
        bool stopped = false;
        try {
            undoRecords(*c.box.sys, journal->records, "C:\\WINDOWS", [&](std::size_t step) {
                if (step == stopAt) {
                    stopped = true;
                    throw Stop{};
                }
            });
        } catch (const Stop&) {
        }
        EXPECT_TRUE(undoRecords(*c.box.sys, journal->records, "C:\\WINDOWS"));
        auto after = c.machine();
        after.erase("C/WINDOWS/INSTELLO.JNL");
        ASSERT_EQ(after, c.before) << "stopped at step " << stopAt;
        if (!stopped) {
            break;
        }
    }
}

TEST(Journal, RollbackAndCommitEndTheJournal) {
    Changes c;
    {
        UndoLog undo(*c.box.sys, "C:\\WINDOWS");
        undo.startJournal(kJournal, "Prova");
        c.change(undo);
        EXPECT_TRUE(undo.rollBack());
    }
    EXPECT_EQ(c.machine(), c.before);

    UndoLog undo(*c.box.sys, "C:\\WINDOWS");
    undo.startJournal(kJournal, "Prova");
    // While an installation runs, a second one cannot start its journal.
    UndoLog second(*c.box.sys, "C:\\WINDOWS");
    EXPECT_EQ(test::JobFixture::codeOf([&] { second.startJournal(kJournal, "Altro"); }),
              CError::kCannotWrite);
    c.change(undo);
    undo.commit();
    const auto committed = c.machine();
    EXPECT_EQ(committed.count("C/WINDOWS/INSTELLO.JNL"), 0u);
    EXPECT_EQ(committed.at("C/INST/old.txt"), "replaced");
    EXPECT_EQ(committed.count("C/INST/gone.txt"), 0u);
    for (const auto& [name, content] : committed) {
        EXPECT_EQ(name.find(".tmp"), std::string::npos) << name;
    }
}

TEST(Recovery, TheNextRunUndoesAnInterruptedInstallation) {
    Changes c;
    test::ScriptedPrompter prompter;
    EXPECT_EQ(recoverInterruptedInstallation(*c.box.sys, prompter), RecoveryOutcome::Nothing);
    EXPECT_TRUE(prompter.shown.empty());
    {
        // The process ends without a rollback or a commit: the journal stays.
        UndoLog undo(*c.box.sys, "C:\\WINDOWS");
        undo.startJournal(kJournal, "Formix");
        c.change(undo);
    }
    EXPECT_EQ(recoverInterruptedInstallation(*c.box.sys, prompter), RecoveryOutcome::RolledBack);
    EXPECT_EQ(c.machine(), c.before);
    ASSERT_EQ(prompter.shown.size(), 2u);
    EXPECT_EQ(prompter.shown[0].text,
              "The installation of Formix was interrupted before it ended.\nThe Installer will "
              "now undo it and put back every file it changed.");
    EXPECT_EQ(prompter.shown[0].caption, "Formix Install");
    EXPECT_EQ(prompter.shown[1].text,
              "The interrupted installation has been undone.\nYour computer is as it was before "
              "it began.");

    // One that had committed is finished: its backups go, its changes stay.
    std::map<std::string, std::string> committed;
    {
        UndoLog undo(*c.box.sys, "C:\\WINDOWS");
        undo.startJournal(kJournal, "Formix");
        c.change(undo);
        committed = c.machine();
        auto journal = c.box.sys->openWrite("C:\\WINDOWS\\copy.jnl");
        const auto bytes = test::readHost(c.box.host("machine/C/WINDOWS/INSTELLO.JNL")) +
                           encodeJournalRecord(JournalRecord::onFile(Kind::Commit, {}));
        journal->write(bytes.data(), bytes.size());
        journal->close();
    }
    c.box.sys->deleteFile(kJournal);
    c.box.sys->moveFile("C:\\WINDOWS\\copy.jnl", kJournal);
    prompter.shown.clear();
    EXPECT_EQ(recoverInterruptedInstallation(*c.box.sys, prompter), RecoveryOutcome::Finished);
    std::erase_if(committed, [](const auto& entry) {
        return entry.first.find(".tmp") != std::string::npos ||
               entry.first == "C/WINDOWS/INSTELLO.JNL";
    });
    EXPECT_EQ(c.machine(), committed);
    EXPECT_EQ(prompter.shown.size(), 1u);

    // A journal held by a running installer is left alone.
    UndoLog running(*c.box.sys, "C:\\WINDOWS");
    running.startJournal(kJournal, "Formix");
    running.createFolders("C:\\RUNNING\\");
    prompter.shown.clear();
    EXPECT_EQ(recoverInterruptedInstallation(*c.box.sys, prompter), RecoveryOutcome::Busy);
    EXPECT_EQ(prompter.shown.at(0).text,
              "Another installation is running.\nWait until it ends and run the Installer "
              "again.");
    EXPECT_TRUE(c.box.sys->folderExists("C:\\RUNNING\\"));
}

TEST(Recovery, AnUndoThatCannotFinishKeepsTheJournal) {
    Changes c;
    test::FaultySystem faulty(*c.box.sys);
    {
        UndoLog undo(faulty, "C:\\WINDOWS");
        undo.startJournal(kJournal, "Formix");
        c.change(undo);
        faulty.failAt(1, {test::Fault::Move});
        EXPECT_FALSE(undo.rollBack());
    }
    EXPECT_TRUE(c.box.sys->fileExists(kJournal));
    test::ScriptedPrompter prompter;
    EXPECT_EQ(recoverInterruptedInstallation(*c.box.sys, prompter), RecoveryOutcome::RolledBack);
    EXPECT_EQ(c.machine(), c.before);
}

// The register is merged in one pass: the same text as setting each key in turn.
TEST(InstalledRegister, OnePassMergeEqualsSettingEachKey) {
    std::mt19937 random(16);
    const std::string sections[] = {"A", "b", "INSTALLED-txt", "installed-TXT", "New", "Z"};
    const std::string keys[] = {"k", "K", "x", " y ", "long key", "z"};
    for (int round = 0; round < 200; ++round) {
        const Profile start(
            "; head\r\n[A]\r\nk=0\r\n\r\n[INSTALLED-txt]\r\nx = 1\r\n; note\r\n\r\n\r\n[b]\r\n[A]"
            "\r\nz=dup\r\n");
        std::vector<Profile::Entry> entries;
        Profile oneByOne = start;
        for (int i = static_cast<int>(random() % 12); i > 0; --i) {
            Profile::Entry e{sections[random() % 6], keys[random() % 6],
                             std::to_string(random() % 3)};
            oneByOne.set(e.section, e.key, e.value);
            entries.push_back(e);
        }
        Profile merged = start;
        merged.setAll(entries);
        ASSERT_EQ(merged.text(), oneByOne.text()) << "round " << round;
    }
}

TEST(InstalledRegister, WrittenOnceAndReplacedWhole) {
    test::JobFixture f;
    test::writeHost(f.box.host("machine/C/INST/BIN/INST.INI"), "[INSTALLED-txt]\r\nold=1\r\n");
    InstallJob& job = f.makeJob();
    job.prepare();
    for (int i = 0; i < 3; ++i) {
        job.installed().record("C:\\INST\\file" + std::to_string(i) + ".txt");
    }
    job.installed().record("C:\\INST\\SUB\\FILE0.TXT");  // the same key: once
    // Nothing reaches the disk before save().
    EXPECT_EQ(f.installed("BIN/INST.INI"), "[INSTALLED-txt]\r\nold=1\r\n");
    // A save that cannot put the new register in place leaves the old one whole.
    f.faulty->failAt(1, {test::Fault::Replace});
    EXPECT_EQ(test::JobFixture::codeOf([&] { job.installed().save(); }), CError::kCannotWrite);
    EXPECT_EQ(f.installed("BIN/INST.INI"), "[INSTALLED-txt]\r\nold=1\r\n");
    job.installed().save();
    EXPECT_EQ(f.installed("BIN/INST.INI"),
              "[INSTALLED-txt]\r\nold=1\r\nfile0=1\r\nfile1=1\r\nfile2=1\r\n");
    EXPECT_FALSE(f.exists("BIN/INST.INI.new"));
    job.rollBack();
    EXPECT_EQ(f.installed("BIN/INST.INI"), "[INSTALLED-txt]\r\nold=1\r\n");
    EXPECT_FALSE(f.exists("BIN/INST.INI.new"));
}

}  // namespace
}  // namespace installer
