// instello --unattended --uninstall on the sample distributions: an installation followed by
// its removal leaves the machine as it was, except the files the user made or changed (they
// stay, and the final message names their folders); what another product shares stays while
// it uses it; and a removal that finds nothing to remove says why.

#include <gtest/gtest.h>

#include <functional>
#include <sstream>

#include "installer/messages.h"
#include "installer/system/sandbox/sandbox_system.h"
#include "installer/unattended/unattended.h"
#include "installer/uninstall/install_record.h"
#include "support.h"

namespace installer {
namespace {

namespace fs = std::filesystem;

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// The cases' steps reach it from their tables: everything is public.
class Uninstall : public ::testing::Test {
public:
    void SetUp() override {
        machine_ = dir_.path() / "machine";
        { system::SandboxSystem make(machine_); }
        before_ = test::snapshot(machine_);
        tattilo_ = dir_.path() / "cd";
        fs::copy(fs::path(TATTILO_SOURCE_DIR) / "data" / "distribution", tattilo_);
        tex_ = dir_.path() / "cd-tex";
        fs::copy(fs::path(TATTILO_SOURCE_DIR) / "data" / "distribution-tex", tex_);
        test::writeHost(tex_ / "INSTELLO.EXE", "the installer");
    }

    Outcome run(std::vector<std::string> args, std::function<bool()> interrupted = {}) {
        args.insert(args.begin(), {"--unattended", "--root", machine_.string()});
        std::ostringstream out;
        std::ostringstream err;
        UnattendedHooks hooks;
        hooks.interrupted = std::move(interrupted);
        const int status = runUnattended(args, dir_.path(), out, err, hooks);
        return {status, out.str(), err.str()};
    }
    Outcome install(const fs::path& source, std::vector<std::string> extra = {}) {
        extra.insert(extra.begin(), {"--source", source.string(), "--accept-license"});
        return run(extra);
    }
    Outcome remove(const std::string& product, std::function<bool()> interrupted = {}) {
        return run({"--uninstall", "--product", product}, std::move(interrupted));
    }

    // The machine without the list of the programs the sandbox would have run (they do not
    // run here, so they made nothing).
    std::map<std::string, std::string> machine() const {
        auto files = test::snapshot(machine_);
        files.erase("processes.log");
        return files;
    }
    std::string registry() const { return test::readHost(machine_ / "registry.reg"); }

    test::TempDir dir_;
    fs::path machine_;
    fs::path tattilo_;
    fs::path tex_;
    std::map<std::string, std::string> before_;
};

TEST_F(Uninstall, InstallThenRemoveLeavesTheMachineAsItWas) {
    struct Case {
        const char* name;
        std::function<void(Uninstall&)> install;
        const char* product;
    };
    const Case cases[] = {
        {"every component of Tattilo",
         [](Uninstall& t) {
             ASSERT_EQ(
                 t.install(t.tattilo_, {"--components", "Programma,Documentazione,Deutsch"}).status,
                 kExitInstalled);
         },
         "Tattilo"},
        {"Tattilo installed twice (a repair)",
         [](Uninstall& t) {
             ASSERT_EQ(t.install(t.tattilo_).status, kExitInstalled);
             ASSERT_EQ(t.install(t.tattilo_, {"--components", "Programma,Esempi"}).status,
                       kExitInstalled);
         },
         "Tattilo"},
        {"the TeX system", [](Uninstall& t) { ASSERT_EQ(t.install(t.tex_).status, 0); }, "Korvo"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(machine_);
        { system::SandboxSystem make(machine_); }
        c.install(*this);
        ASSERT_NE(machine(), before_);
        const Outcome r = remove(c.product);
        ASSERT_EQ(r.status, kExitInstalled) << r.out << r.err;
        EXPECT_TRUE(has(r.out, std::string(" has been removed from this computer.\n"))) << r.out;
        EXPECT_FALSE(has(r.out, "still hold")) << r.out;
        EXPECT_EQ(machine(), before_);
    }
}

// The entry in the list of programs: the UninstallString runs the installer copy in BIN (the
// TeX sample ships INSTELLO.EXE), the size is that of the files installed.
TEST_F(Uninstall, TheEntryInTheListOfProgramsRunsTheInstallerCopy) {
    ASSERT_EQ(install(tex_).status, kExitInstalled);
    const std::string reg = registry();
    for (const char* value :
         {"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Korvo]\r\n"
          "\"DisplayName\"=\"Korvo 4.0\"\r\n\"DisplayVersion\"=\"4.0\"\r\n"
          "\"Publisher\"=\"Quillon\"\r\n"
          "\"UninstallString\"=\"\\\"C:\\\\KORVO\\\\BIN\\\\INSTELLO.EXE\\\" --uninstall\"\r\n"
          "\"QuietUninstallString\"=\"\\\"C:\\\\KORVO\\\\BIN\\\\INSTELLO.EXE\\\" --unattended "
          "--uninstall\"\r\n\"DisplayIcon\"=\"C:\\\\KORVO\\\\BIN\\\\INSTELLO.EXE\"\r\n"
          "\"InstallLocation\"=\"C:\\\\KORVO\\\\\"\r\n\"EstimatedSize\"=dword:",
          "\"NoModify\"=dword:00000001\r\n\"NoRepair\"=dword:00000001\r\n"}) {
        EXPECT_TRUE(has(reg, value)) << value << "\n---\n" << reg;
    }
    const auto record = parseInstallRecord(test::readHost(machine_ / "C/KORVO/BIN/INSTALL.LOG"));
    ASSERT_TRUE(record);
    std::uint64_t bytes = 0;
    for (const auto& e : record->entries) {
        bytes += e.kind == RecordEntry::Kind::File ? e.size : 0;
    }
    char size[16];
    std::snprintf(size, sizeof size, "%08x", static_cast<unsigned>((bytes + 1023) / 1024));
    EXPECT_TRUE(has(reg, std::string("\"EstimatedSize\"=dword:") + size + "\r\n")) << reg;

    // As the list of programs starts it: from the installed copy's folder, no product named.
    const Outcome r = run({"--uninstall", "--source", "C:\\KORVO\\BIN\\"});
    ASSERT_EQ(r.status, kExitInstalled) << r.out << r.err;
    EXPECT_TRUE(has(r.out, "Do you want to remove Korvo 4.0 from this computer?\n")) << r.out;
    EXPECT_EQ(machine(), before_);
}

TEST_F(Uninstall, TheFilesTheUserMadeOrChangedStay) {
    ASSERT_EQ(install(tattilo_).status, kExitInstalled);
    const fs::path inst = machine_ / "C" / "Tattilo";
    test::writeHost(inst / "ESERCIZI" / "compito.mtf", "il mio compito");
    test::writeHost(inst / "ESERCIZI" / "vecchi" / "prova.mtf", "una prova");
    test::writeHost(inst / "BIN" / "tattilo.ini", "font = braillecour.ttf\r\n");
    test::writeHost(inst / "BIN" / "leggimi.txt", test::readHost(inst / "BIN/leggimi.txt") + "!");
    const std::string changed = test::readHost(inst / "BIN" / "leggimi.txt");

    const Outcome r = remove("Tattilo");
    ASSERT_EQ(r.status, kExitInstalled) << r.out << r.err;
    EXPECT_TRUE(has(r.out,
                    "Tattilo 1.1 has been removed from this computer.\nThese folders still "
                    "hold files you made or changed; they have been kept:\n"
                    "C:\\Tattilo\\BIN\\\nC:\\Tattilo\\ESERCIZI\\\n"
                    "C:\\Tattilo\\ESERCIZI\\vecchi\\\n"))
        << r.out;
    auto expected = before_;
    expected["C/Tattilo/"] = "";
    expected["C/Tattilo/BIN/"] = "";
    expected["C/Tattilo/ESERCIZI/"] = "";
    expected["C/Tattilo/ESERCIZI/compito.mtf"] = "il mio compito";
    expected["C/Tattilo/ESERCIZI/vecchi/"] = "";
    expected["C/Tattilo/ESERCIZI/vecchi/prova.mtf"] = "una prova";
    expected["C/Tattilo/BIN/tattilo.ini"] = "font = braillecour.ttf\r\n";
    expected["C/Tattilo/BIN/leggimi.txt"] = changed;
    EXPECT_EQ(machine(), expected);
}

// A font both products install into the Windows folder: it stays, registered, until the last
// of them goes; a value that was there before an installation comes back after it.
TEST_F(Uninstall, WhatAnotherProductSharesStaysWhileItUsesIt) {
    const fs::path other = dir_.path() / "cd-other";
    test::writeHost(other / "INSTELLO.INI", "[AppInfo]\r\nAppName=Prova\r\nVersion=2\r\n");
    test::writeHost(other / "INSTALL.CFG", "Uno ; Uno ; UNO.QKP ; 1:1:1:1:1:1:1 ; Uno.\r\n");
    const std::string font =
        test::readHost(fs::path(TATTILO_SOURCE_DIR) / "data/fonts/braillecour.ttf");
    test::writeHost(other / "UNO.001", test::PackageBuilder()
                                           .folder("WINDOWS")
                                           .member("Fonts\\braillecour.ttf", font)
                                           .folder("BIN")
                                           .member("uno.txt", "uno")
                                           .bytes);
    test::writeHost(
        other / "UNO.QKP",
        test::ProgramBuilder()
            .op(73, {"UNO"})
            .op(220, {"Braillecour (TrueType)", "braillecour"})
            .op(236, {"HKEY_LOCAL_MACHINE\\SOFTWARE\\Quillon\\Tattilo", "Lingua", "string", "en"})
            .end());
    const std::string shared = "\"C:\\\\WINDOWS\\\\Fonts\\\\braillecour.ttf\"=dword:";
    const std::string registered = "\"Braillecour (TrueType)\"=\"braillecour.ttf\"";
    for (const bool tattiloFirst : {true, false}) {
        SCOPED_TRACE(tattiloFirst ? "Tattilo removed first" : "Prova removed first");
        fs::remove_all(machine_);
        { system::SandboxSystem make(machine_); }
        ASSERT_EQ(install(tattilo_, {"--components", "Programma"}).status, kExitInstalled);
        const auto onlyTattilo = machine();
        ASSERT_EQ(install(other).status, kExitInstalled);
        EXPECT_TRUE(has(registry(), shared + "00000002")) << registry();

        ASSERT_EQ(remove(tattiloFirst ? "Tattilo" : "Prova").status, kExitInstalled);
        EXPECT_TRUE(fs::exists(machine_ / "C/WINDOWS/Fonts/braillecour.ttf"));
        EXPECT_TRUE(has(registry(), registered)) << registry();
        EXPECT_TRUE(has(registry(), shared + "00000001")) << registry();
        if (!tattiloFirst) {
            // Prova's "Lingua" had replaced Tattilo's: it is Tattilo's again.
            EXPECT_EQ(machine(), onlyTattilo);
        }
        ASSERT_EQ(remove(tattiloFirst ? "Prova" : "Tattilo").status, kExitInstalled);
        EXPECT_EQ(machine(), before_);
    }
}

TEST_F(Uninstall, NothingToRemoveSaysWhy) {
    struct Case {
        const char* name;
        std::function<void(Uninstall&)> prepare;
        std::vector<std::string> args;
        std::string message;
    };
    const Case cases[] = {
        {"nothing installed",
         [](Uninstall&) {},
         {"--uninstall", "--product", "Tattilo"},
         "[Tattilo Uninstall]\nTattilo is not installed on this computer.\nThere is nothing to "
         "remove.\n"},
        {"no product named and no script",
         [](Uninstall&) {},
         {"--uninstall"},
         "The Installer does not know which product to remove."},
        {"the record gone",
         [](Uninstall& t) {
             ASSERT_EQ(t.install(t.tattilo_).status, 0);
             fs::remove(t.machine_ / "C/Tattilo/BIN/INSTALL.LOG");
         },
         {"--uninstall", "--product", "Tattilo"},
         "The Installer can not find the record of what it installed: "
         "C:\\Tattilo\\BIN\\INSTALL.LOG."},
        {"the record damaged",
         [](Uninstall& t) {
             ASSERT_EQ(t.install(t.tattilo_).status, 0);
             const fs::path log = t.machine_ / "C/Tattilo/BIN/INSTALL.LOG";
             std::string text = test::readHost(log);
             text[text.size() / 2] ^= 1;
             test::writeHost(log, text);
         },
         {"--uninstall", "--source", "C:\\Tattilo\\BIN\\"},
         "File C:\\Tattilo\\BIN\\INSTALL.LOG is bad or corrupted."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(machine_);
        { system::SandboxSystem make(machine_); }
        c.prepare(*this);
        const auto was = machine();
        const Outcome r = run(c.args);
        EXPECT_EQ(r.status, kExitNotStarted);
        EXPECT_TRUE(has(r.out, c.message)) << r.out << r.err;
        EXPECT_EQ(machine(), was);
    }
}

// Ctrl+C before the removal starts declines it; during it, everything comes back.
TEST_F(Uninstall, InterruptedRemovalsPutEverythingBack) {
    ASSERT_EQ(install(tattilo_).status, kExitInstalled);
    const auto installed = machine();
    const Outcome declined = remove("Tattilo", [] { return true; });
    EXPECT_EQ(declined.status, kExitDeclined) << declined.out;
    EXPECT_EQ(machine(), installed);
    int asked = 0;
    const Outcome cancelled = remove("Tattilo", [&] { return ++asked > 6; });
    EXPECT_EQ(cancelled.status, kExitCancelled) << cancelled.out;
    EXPECT_TRUE(has(cancelled.out,
                    "Putting everything back...\n[Tattilo Uninstall]\n"
                    "Removal canceled!\nEverything the removal had taken away is "
                    "back in its place.\n"))
        << cancelled.out;
    EXPECT_EQ(machine(), installed);
}

TEST(InstallRecord, EveryEntrySurvivesItsFileAndADamagedOneSpoilsIt) {
    InstallRecord record{"Tattilo", "1.1", "C:\\Tattilo\\", {}};
    auto entry = [](RecordEntry::Kind kind, std::string path) {
        RecordEntry e;
        e.kind = kind;
        e.path = std::move(path);
        return e;
    };
    record.entries.push_back(entry(RecordEntry::Kind::Folder, "C:\\Tattilo\\"));
    RecordEntry file = entry(RecordEntry::Kind::File, "C:\\Tattilo\\a\tb%.txt");
    file.size = 1234567890123;
    file.crc = 0xDEADBEEF;
    record.entries.push_back(file);
    file.kind = RecordEntry::Kind::SharedFile;
    record.entries.push_back(file);
    record.entries.push_back(entry(RecordEntry::Kind::Generated, "C:\\Tattilo\\FMT\\x.fmt"));
    RecordEntry key = entry(RecordEntry::Kind::Key, "SOFTWARE\\Quillon");
    key.root = system::RegRoot::CurrentUser;
    record.entries.push_back(key);
    RecordEntry value = entry(RecordEntry::Kind::Value, "SOFTWARE\\Quillon\\Tattilo");
    value.valueName = "Lingua";
    value.oldValue = system::RegValue{system::kRegSz, std::string("it\0", 3)};
    record.entries.push_back(value);
    value.oldValue.reset();
    record.entries.push_back(value);
    RecordEntry font = entry(RecordEntry::Kind::Font, "Braillecour (TrueType)");
    font.fontFile = "braillecour.ttf";
    record.entries.push_back(font);
    record.entries.push_back(entry(RecordEntry::Kind::UninstallEntry, "SOFTWARE\\U\\Tattilo"));

    const std::string text = encodeInstallRecord(record);
    const auto back = parseInstallRecord(text);
    ASSERT_TRUE(back);
    EXPECT_EQ(encodeInstallRecord(*back), text);
    EXPECT_EQ(back->installPath, "C:\\Tattilo\\");
    EXPECT_EQ(back->entries[1].path, "C:\\Tattilo\\a\tb%.txt");
    EXPECT_EQ(back->entries[1].size, 1234567890123u);
    EXPECT_EQ(back->entries[5].oldValue,
              (system::RegValue{system::kRegSz, std::string("it\0", 3)}));
    EXPECT_FALSE(back->entries[6].oldValue);
    EXPECT_EQ(back->entries[4].root, system::RegRoot::CurrentUser);

    // Any byte changed, and the end cut, make the record one not to be trusted.
    for (std::size_t at = 0; at < text.size(); at += 7) {
        std::string damaged = text;
        damaged[at] = damaged[at] == 'x' ? 'y' : 'x';
        EXPECT_FALSE(parseInstallRecord(damaged)) << "byte " << at;
    }
    EXPECT_FALSE(parseInstallRecord(text.substr(0, text.size() - 2)));
    EXPECT_FALSE(parseInstallRecord(""));
}

}  // namespace
}  // namespace installer
