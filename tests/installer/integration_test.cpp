// System integration after a successful copy: Start Menu groups and their shell links, the
// desktop copy, fonts, registry values of every type, the product key and the uninstall
// entry, the external programs and the restart.

#include <gtest/gtest.h>

#include "installer/component_program.h"
#include "installer/integration/external_programs.h"
#include "installer/integration/registry_values.h"
#include "installer/integration/success_steps.h"
#include "installer/product.h"
#include "job_fixture.h"

namespace installer {
namespace {

namespace fs = std::filesystem;
using system::RegRoot;
using system::RegValue;
using test::ProgramBuilder;

constexpr const char* kStartMenu =
    "machine/C/Documents and Settings/All Users/Start Menu/Programs/";
constexpr const char* kDesktop = "machine/C/Documents and Settings/Studente/Desktop/";

// An equation-editor product (it writes an uninstall entry) installed into C:\INST\ by one
// component program.
struct Integration : test::JobFixture {
    std::unique_ptr<Product> product = selectProduct("Formix", "2.0");
    test::ScriptedPrompter prompter;

    Integration() {
        product->installPath = "C:\\INST\\";
        product->distributionPath = "C:\\DIST\\";
    }

    // Runs `program` as the only component; returns the CError code or -1.
    int copy(const std::string& program, bool journal = false) {
        addComponent("ONE", program);
        InstallJob& j = makeJob(false, true, journal);
        return codeOf([&] { j.run(); });
    }

    void finish() { performSuccessSteps(*job, *product, prompter); }

    std::optional<RegValue> value(RegRoot root, const std::string& key, const std::string& name) {
        return box.sys->regQueryValue(root, key, name);
    }

    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (const auto& shown : prompter.shown) {
            out.push_back(shown.text);
        }
        return out;
    }
};

// Changes one line of the machine's sandbox.ini and reloads it.
void editMachine(test::Sandbox& box, const std::string& from, const std::string& to) {
    const fs::path ini = box.host("machine/sandbox.ini");
    std::string text = test::readHost(ini);
    const auto at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    text.replace(at, from.size(), to);
    test::writeHost(ini, text);
    box.reload();
}

RegValue sz(const std::string& text) {
    return {system::kRegSz, text + '\0'};
}

TEST(Integration, FontsTakeTheirSuffixesOnceAndOnlyExistingFilesAreRegistered) {
    Integration f;
    test::writeHost(f.box.host("machine/C/WINDOWS/Fonts/braille.ttf"), "font");
    test::writeHost(f.box.host("machine/C/INST/FONTS/Sans.TTF"), "font");
    ASSERT_EQ(f.copy(ProgramBuilder()
                         .op(220, {"Sans (truetype)", "!FONTS\\Sans.TTF"})
                         .op(220, {"Braille ", "braille"})
                         .op(220, {"Missing", "!FONTS\\missing"})
                         .end()),
              -1);
    const auto& fonts = f.job->deferred().fonts;
    ASSERT_EQ(fonts.size(), 3u);
    EXPECT_EQ(fonts[0].valueName, "Sans (truetype)");
    EXPECT_EQ(fonts[0].file, "C:\\INST\\FONTS\\Sans.TTF");
    EXPECT_EQ(fonts[1].valueName, "Braille (TrueType)");
    EXPECT_EQ(fonts[1].file, "braille.ttf");
    f.finish();
    const std::string key = systemFontsKey(*f.box.sys);
    EXPECT_EQ(key, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts");
    EXPECT_EQ(f.value(RegRoot::LocalMachine, key, "Sans (truetype)"),
              sz("C:\\INST\\FONTS\\Sans.TTF"));
    EXPECT_EQ(f.value(RegRoot::LocalMachine, key, "Braille (TrueType)"), sz("braille.ttf"));
    EXPECT_FALSE(f.value(RegRoot::LocalMachine, key, "Missing(TrueType)"));
    EXPECT_TRUE(f.job->deferred().fonts.empty());
}

TEST(Integration, RegistryValuesOfEveryTypeAndTheRootRule) {
    EXPECT_EQ(registryValueOf(0, "0aFFx"),
              (RegValue{system::kRegBinary, std::string("\x0A\xFF\x00", 3)}));
    EXPECT_EQ(registryValueOf(0, "ABC"), (RegValue{system::kRegBinary, "\xAB\xC0"}));
    EXPECT_EQ(registryValueOf(1, "ignored"), (RegValue{system::kRegNone, ""}));
    EXPECT_EQ(registryValueOf(2, "  -2junk"), (RegValue{system::kRegDword, "\xFE\xFF\xFF\xFF"}));
    EXPECT_EQ(registryValueOf(3, "testo"), sz("testo"));

    EXPECT_EQ(splitKeyPath("HKEY_LOCAL\\S")->first, RegRoot::LocalMachine);
    EXPECT_EQ(splitKeyPath("HKEY\\S")->first, RegRoot::ClassesRoot);  // the first that fits
    EXPECT_EQ(splitKeyPath("HKEY_U\\S")->first, RegRoot::Users);
    EXPECT_EQ(splitKeyPath("HKEY_CURRENT_USER\\A\\B")->second, "A\\B");
    for (const char* skipped : {"HKEY_LOCAL_MACHINE", "hkey_local_machine\\S",
                                "HKEY_LOCAL_MACHINEX\\S", "\\SOFTWARE\\X", "HKLM\\S"}) {
        EXPECT_FALSE(splitKeyPath(skipped)) << skipped;
    }

    Integration f;
    ASSERT_EQ(f.copy(ProgramBuilder()
                         .op(236, {"HKEY_LOCAL_MACHINE\\SOFTWARE\\Prova", "Hex", "HEX", "0102"})
                         .op(236, {"HKEY_LOCAL_MACHINE\\SOFTWARE\\Prova", "Bin", "bin", "99"})
                         .op(236, {"HKEY_CURRENT\\Software\\Prova", "Num", "Number", "7"})
                         .op(236, {"HKEY_LOCAL_MACHINE\\SOFTWARE\\Prova", "Str", "string", "s"})
                         .op(236, {"HKLM\\SOFTWARE\\Prova", "Lost", "string", "x"})
                         .end()),
              -1);
    f.finish();
    EXPECT_EQ(f.value(RegRoot::LocalMachine, "SOFTWARE\\Prova", "Hex"),
              (RegValue{system::kRegBinary, "\x01\x02"}));
    EXPECT_EQ(f.value(RegRoot::LocalMachine, "SOFTWARE\\Prova", "Bin"),
              (RegValue{system::kRegNone, ""}));
    EXPECT_EQ(f.value(RegRoot::CurrentUser, "Software\\Prova", "Num"),
              (RegValue{system::kRegDword, std::string("\x07\0\0\0", 4)}));
    EXPECT_EQ(f.value(RegRoot::LocalMachine, "SOFTWARE\\Prova", "Str"), sz("s"));
    const std::string registry = test::readHost(f.box.host("machine/registry.reg"));
    EXPECT_NE(registry.find("\"Bin\"=hex(0):\r\n"), std::string::npos) << registry;
    EXPECT_EQ(registry.find("Lost"), std::string::npos);
}

TEST(Integration, NoToTheStartMenuStillRegistersEverythingElse) {
    Integration f;
    test::writeHost(f.box.host("machine/C/INST/FONTS/f.ttf"), "font");
    ASSERT_EQ(f.copy(ProgramBuilder()
                         .op(202, {"Formix"})
                         .op(203, {"BIN\\FMX.EXE", "Formix", "BIN\\FMX.ICO"})
                         .op(220, {"Formix Sym", "!FONTS\\f"})
                         .op(236, {"HKEY_LOCAL_MACHINE\\SOFTWARE\\Quillon\\Formix", "Lingua",
                                   "string", "it"})
                         .end()),
              -1);
    f.prompter.answers = {Answer::No};
    f.finish();
    EXPECT_EQ(f.texts(), (std::vector<std::string>{
                             "Do you want to create icons in Start Menu\\Programs folder?",
                             "Installation succesful!\nThank you for choosing Formix!"}));
    EXPECT_EQ(f.prompter.shown[0].buttons, Buttons::YesNo);
    EXPECT_EQ(f.prompter.shown[0].caption, "Formix Install");
    EXPECT_FALSE(fs::exists(f.box.host(std::string(kStartMenu) + "Formix")));
    EXPECT_EQ(f.value(RegRoot::LocalMachine, systemFontsKey(*f.box.sys), "Formix Sym(TrueType)"),
              sz("C:\\INST\\FONTS\\f.ttf"));
    const std::string key = "SOFTWARE\\Quillon\\Formix";
    EXPECT_EQ(f.value(RegRoot::LocalMachine, key, "Lingua"), sz("it"));
    EXPECT_EQ(f.value(RegRoot::LocalMachine, key, "InstallPath"), sz("C:\\INST\\"));
    EXPECT_EQ(f.value(RegRoot::LocalMachine, key, "DistributivePath"), sz("C:\\DIST\\"));
    const std::string uninstall = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Formix";
    EXPECT_EQ(f.value(RegRoot::LocalMachine, uninstall, "DisplayName"), sz("Formix"));
    EXPECT_EQ(f.value(RegRoot::LocalMachine, uninstall, "UninstallString"),
              sz("C:\\INST\\BIN\\FMXUNINST.EXE"));
    EXPECT_EQ(f.job->currentSource, "C:\\DIST\\");

    // A product without an uninstaller of its own gets instello's entry, which can run the
    // installer copy only when there is one; no groups, no question.
    Integration generic;
    generic.product = selectProduct("Tattilo", "1.1");
    generic.product->installPath = "C:\\INST\\";
    ASSERT_EQ(generic.copy(ProgramBuilder().end()), -1);
    generic.finish();
    EXPECT_EQ(generic.texts().size(), 1u);
    const std::string entry = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tattilo";
    EXPECT_EQ(generic.value(RegRoot::LocalMachine, entry, "DisplayName"), sz("Tattilo 1.1"));
    EXPECT_EQ(generic.value(RegRoot::LocalMachine, entry, "Publisher"), sz("Quillon"));
    EXPECT_EQ(generic.value(RegRoot::LocalMachine, entry, "UninstallString"), std::nullopt);
    EXPECT_TRUE(generic.box.sys->fileExists("C:\\INST\\BIN\\INSTALL.LOG"));
}

TEST(Integration, ShortcutsAreShellLinksAndOnlyTheEditorGoesOnTheDesktop) {
    Integration f;
    test::writeHost(f.box.host("machine/C/INST/BIN/WKORVO.EXE"), std::string(1234, 'x'));
    test::writeHost(f.box.host(std::string(kDesktop) + "Korvo.lnk"), "an older link");
    ASSERT_EQ(f.copy(ProgramBuilder()
                         .op(202, {"Korvo\\Strumenti"})
                         .op(203, {"BIN\\wkorvo.exe", "Korvo", "BIN\\KORVO.ICO"})
                         .op(203, {"BIN\\LEGGIMI.TXT", "Leggimi \xE8", ""})
                         .op(202, {"Altro"})
                         .op(203, {"*notepad.exe", "Note", "BIN\\NOTE.ICO"})
                         .end()),
              -1);
    f.finish();
    const fs::path group = f.box.host(std::string(kStartMenu) + "Korvo/Strumenti");
    EXPECT_TRUE(fs::exists(group / "Korvo.lnk"));
    EXPECT_TRUE(fs::exists(group / "Leggimi \xE8.lnk"));
    EXPECT_TRUE(fs::exists(f.box.host(std::string(kStartMenu) + "Altro/Note.lnk")));
    // The editor's link replaced the older one on the desktop; nothing else went there.
    const fs::path desktop = f.box.host(kDesktop);
    EXPECT_EQ(test::readHost(desktop / "Korvo.lnk"), test::readHost(group / "Korvo.lnk"));
    int links = 0;
    for (const auto& entry : fs::directory_iterator(desktop)) {
        links += entry.path().extension() == ".lnk" ? 1 : 0;  // beside the older link's backup
    }
    EXPECT_EQ(links, 1);

    // Every link reads back with an independent reader of the format (when installed).
    if (const auto korvo = test::lnkinfo(group / "Korvo.lnk")) {
        EXPECT_NE(korvo->find("Local path\t\t\t: C:\\INST\\BIN\\wkorvo.exe"), std::string::npos)
            << *korvo;
        EXPECT_NE(korvo->find("Description\t\t\t: Korvo\n"), std::string::npos) << *korvo;
        EXPECT_NE(korvo->find("Icon location\t\t\t: C:\\INST\\BIN\\KORVO.ICO"), std::string::npos)
            << *korvo;
        EXPECT_NE(korvo->find("File size\t\t\t: 1234 bytes"), std::string::npos) << *korvo;
        const auto note = *test::lnkinfo(f.box.host(std::string(kStartMenu) + "Altro/Note.lnk"));
        EXPECT_NE(note.find("Local path\t\t\t: C:\\WINDOWS\\notepad.exe"), std::string::npos)
            << note;
        EXPECT_NE(note.find("Icon location\t\t\t: C:\\INST\\BIN\\NOTE.ICO"), std::string::npos);
        const auto leggimi = *test::lnkinfo(group / "Leggimi \xE8.lnk");
        EXPECT_NE(leggimi.find("Description\t\t\t: Leggimi \xC3\xA8"), std::string::npos)
            << leggimi;
        EXPECT_EQ(leggimi.find("Icon location"), std::string::npos);  // none given
    }
}

// A change of the success steps that cannot be journalled raises before the commit; the
// rollback then takes back every link, folder and value, and returns the older desktop link.
TEST(Integration, SuccessStepsThatFailRollBackWithTheCopy) {
    int failures = 0;
    for (std::size_t n = 1;; ++n) {
        Integration f;
        test::writeHost(f.box.host(std::string(kDesktop) + "Korvo.lnk"), "an older link");
        const auto before = test::snapshot(f.box.host("machine"));
        ASSERT_EQ(f.copy(ProgramBuilder()
                             .op(202, {"Korvo"})
                             .op(203, {"BIN\\WKORVO.EXE", "Korvo", ""})
                             .op(236, {"HKEY_LOCAL_MACHINE\\SOFTWARE\\Q", "V", "string", "v"})
                             .end(),
                         true),
                  -1);
        f.faulty->failAt(n, {test::Fault::Write});  // only the journal writes from here on
        const int code = test::JobFixture::codeOf([&] { f.finish(); });
        if (code == -1) {
            EXPECT_FALSE(f.faulty->fired());
            EXPECT_EQ(f.texts().back(), "Installation succesful!\nThank you for choosing Formix!");
            break;
        }
        ++failures;
        EXPECT_EQ(code, CError::kCannotWrite);
        // Success is never said of an installation that is then rolled back.
        for (const auto& text : f.texts()) {
            EXPECT_EQ(text.find("succesful"), std::string::npos);
        }
        f.faulty->disarm();
        EXPECT_TRUE(f.job->rollBack());
        auto after = test::snapshot(f.box.host("machine"));
        std::erase_if(after, [](const auto& e) { return e.first.starts_with("C/DIST"); });
        ASSERT_EQ(after, before) << "journal write " << n;
    }
    EXPECT_GT(failures, 5);
}

// Windows 95/98 keep the Start Menu per user, Windows NT for all users.
TEST(Integration, TheProgramsFolderFollowsTheWindowsFamily) {
    Integration f;
    editMachine(f.box, "Family=NT", "Family=9x");
    f.faulty = std::make_unique<test::FaultySystem>(*f.box.sys);
    ASSERT_EQ(f.copy(ProgramBuilder().op(202, {"G"}).op(203, {"A.EXE", "A", ""}).end()), -1);
    f.finish();
    EXPECT_TRUE(fs::exists(
        f.box.host("machine/C/Documents and Settings/Studente/Start Menu/Programs/G/A.lnk")));
    EXPECT_FALSE(fs::exists(f.box.host(std::string(kStartMenu) + "G")));
}

TEST(Integration, StartMenuFailures) {
    // A shortcut before any group fails the installation.
    Integration early;
    EXPECT_EQ(early.copy(ProgramBuilder().op(203, {"BIN\\A.EXE", "A", ""}).end()),
              CError::kStartMenu);
    EXPECT_EQ(CError(CError::kStartMenu).text(), "Can not add Start Menu icons!");

    // Shell folders that cannot be reached: the message, no half Start Menu, the later
    // steps still run.
    Integration f;
    editMachine(f.box, "CommonPrograms=", "Unused=");
    f.faulty = std::make_unique<test::FaultySystem>(*f.box.sys);
    ASSERT_EQ(f.copy(ProgramBuilder()
                         .op(202, {"G"})
                         .op(203, {"A.EXE", "A", ""})
                         .op(236, {"HKEY_LOCAL_MACHINE\\SOFTWARE\\Q", "V", "string", "v"})
                         .end()),
              -1);
    f.finish();
    EXPECT_EQ(f.texts(), (std::vector<std::string>{
                             "Do you want to create icons in Start Menu\\Programs folder?",
                             "Can not add Start Menu icons!",
                             "Installation succesful!\nThank you for choosing Formix!"}));
    EXPECT_EQ(f.value(RegRoot::LocalMachine, "SOFTWARE\\Q", "V"), sz("v"));

    // A link that cannot be written after the first group was made takes that group back.
    Integration g;
    const auto before = test::snapshot(g.box.host(std::string(kStartMenu)));
    ASSERT_EQ(g.copy(ProgramBuilder()
                         .op(202, {"Uno"})
                         .op(203, {"A.EXE", "A", ""})
                         .op(202, {"Due"})
                         .op(203, {"B.EXE", "B", ""})
                         .op(203, {"C.EXE", "C", ""})
                         .end()),
              -1);
    g.faulty->failAt(2, {test::Fault::Link});
    g.finish();
    EXPECT_EQ(g.texts()[1], "Can not add Start Menu icons!");
    EXPECT_EQ(test::snapshot(g.box.host(std::string(kStartMenu))), before);
}

TEST(Integration, ExternalProgramsRunInOrderAndOneThatCannotStartIsReported) {
    Integration f;
    test::writeHost(f.box.host("machine/C/INST/BIN/FIRST.EXE"), "x");
    test::writeHost(f.box.host("machine/C/INST/BIN/SECOND.EXE"), "x");
    ASSERT_EQ(f.copy(ProgramBuilder()
                         .op(210, {"BIN", "BIN\\SECOND.EXE &later"})
                         .op(210, {"", "BIN\\MISSING.EXE -x"})
                         .op(210, {"BIN\\", "BIN\\FIRST.EXE -i"})
                         .end()),
              -1);
    StatusSlot status;
    std::atomic<bool> running{false};
    IntegrationContext context{*f.faulty, f.job->undo(), f.prompter, "Formix Install", {}};
    bool startedHook = false;
    std::thread programs = startProgramsThread(f.job->deferred(), context, status, running,
                                               {[&] { startedHook = running; }, {}});
    programs.join();
    EXPECT_TRUE(startedHook);  // cancel requests were refused while the programs ran
    EXPECT_FALSE(running);
    EXPECT_EQ(status.load().code(), CError::kSuccess);
    EXPECT_EQ(f.texts(),
              (std::vector<std::string>{"Can not execute C:\\INST\\BIN\\MISSING.EXE -x"}));
    EXPECT_EQ(f.prompter.shown[0].icon, Icon::Warning);
    // The first run list before the second, each in its folder.
    EXPECT_EQ(test::readHost(f.box.host("machine/processes.log")),
              "C:\\INST\\BIN\\FIRST.EXE -i | C:\\INST\\BIN\\\r\n"
              "C:\\INST\\BIN\\SECOND.EXE &later | C:\\INST\\BIN\\\r\n");
}

TEST(Integration, TheRestartAndItsFailures) {
    Integration f;
    EXPECT_TRUE(askRestart(*f.product, f.prompter));
    EXPECT_EQ(f.texts().back(),
              "You must restart Windows before using Formix.\nDo you want to restart now?");
    EXPECT_TRUE(restartWindows(*f.box.sys, f.prompter));
    EXPECT_TRUE(restartWindows(*f.box.sys, f.prompter));
    EXPECT_EQ(f.texts().size(), 1u);
    f.box.reload();
    EXPECT_NE(test::readHost(f.box.host("machine/sandbox.ini")).find("[Restart]\r\nRequested=2"),
              std::string::npos);

    // No shutdown privilege: the message, and the restart is still asked for.
    f.box.configure("ShutdownPrivilege=0\r\n");
    EXPECT_TRUE(restartWindows(*f.box.sys, f.prompter));
    EXPECT_EQ(f.prompter.shown.back().caption, "System Restart");
    EXPECT_EQ(f.texts().back(),
              "Sorry, installation program was unable to restart system.\nPlease use the Start "
              "menu to reboot your computer.");
    // Windows 95/98 need no privilege; a refused restart is not passed over in silence.
    f.box.configure("Refuse=1\r\n");
    editMachine(f.box, "Family=NT", "Family=9x");
    const std::size_t shown = f.prompter.shown.size();
    EXPECT_FALSE(restartWindows(*f.box.sys, f.prompter));
    EXPECT_EQ(f.prompter.shown.size(), shown + 1);
}

}  // namespace
}  // namespace installer
