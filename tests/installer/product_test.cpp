// Start-up: the script, the product handlers and their checks, the paths, the licence; the
// drive queries and the destination check.

#include <gtest/gtest.h>

#include "installer/ckey.h"
#include "installer/drives.h"
#include "installer/messages.h"
#include "installer/product.h"
#include "installer/startup.h"
#include "support.h"

namespace installer {
namespace {

using system::RegRoot;

// A sandbox with a distribution in C:\SETUP\ holding `script` as INSTELLO.INI.
struct StartFixture {
    test::Sandbox box;
    test::ScriptedPrompter prompter;
    explicit StartFixture(const std::string& script) {
        if (!script.empty()) {
            test::writeHost(box.host("machine/C/SETUP/INSTELLO.INI"), script);
        }
    }
    Startup start() { return startUp(*box.sys, prompter, "C:\\SETUP"); }
    void record(const std::string& app, const std::string& install, const std::string& dist) {
        CKey key(*box.sys, RegRoot::LocalMachine, "SOFTWARE\\Quillon\\" + app);
        ASSERT_TRUE(key.create());
        key.writeString("InstallPath", install);
        key.writeString("DistributivePath", dist);
    }
};

TEST(Startup, MissingOrEmptyScriptEndsWithItsMessage) {
    StartFixture none("");
    EXPECT_EQ(none.start().outcome, StartupOutcome::Failed);
    ASSERT_EQ(none.prompter.shown.size(), 1u);
    EXPECT_EQ(none.prompter.shown[0].text, "Can not find INSTELLO.INI.\nInstallation canceled.");
    EXPECT_EQ(none.prompter.shown[0].caption, "Installer");
    EXPECT_EQ(none.prompter.shown[0].icon, Icon::Error);

    StartFixture empty("[AppInfo]\r\nVersion=1\r\n");
    EXPECT_EQ(empty.start().outcome, StartupOutcome::Failed);
    ASSERT_EQ(empty.prompter.shown.size(), 1u);
    EXPECT_EQ(empty.prompter.shown[0].text, msg::kCannotInitialize);
}

TEST(Startup, GenericProductTakesItsFolderOnTheWindowsDrive) {
    StartFixture f("[AppInfo]\r\nAppName=Tattilo\r\nVersion=1.1\r\n");
    f.box.configure("\r\n[Windows]\r\nDirectory=E:\\WIN98\r\n");  // the first [Windows] wins
    Startup s = f.start();
    ASSERT_EQ(s.outcome, StartupOutcome::Ready);
    EXPECT_EQ(s.product->kind(), ProductKind::Generic);
    EXPECT_EQ(s.product->defaultFolder, "C:\\Tattilo\\");
    EXPECT_EQ(s.product->version, "1.1");
    EXPECT_EQ(s.product->installPath, "C:\\Tattilo\\");
    EXPECT_EQ(s.product->distributionPath, "C:\\SETUP\\");
    EXPECT_EQ(s.product->caption(), "Tattilo Install");
    ASSERT_EQ(f.prompter.shown.size(), 1u);
    EXPECT_EQ(f.prompter.shown[0].text,
              "Now you about to install Tattilo.\nPlease close all running applications and "
              "\nthen press [OK] to continue.");

    // The drive letter comes from the Windows directory.
    test::writeHost(f.box.host("machine/sandbox.ini"),
                    "[Windows]\r\nDirectory=D:\\WINNT\r\n[Drive C]\r\nType=fixed\r\n");
    f.box.reload();
    Startup d = f.start();
    ASSERT_EQ(d.outcome, StartupOutcome::Ready);
    EXPECT_EQ(d.product->installPath, "D:\\Tattilo\\");
}

TEST(Startup, ProductTableChoosesHandlers) {
    ASSERT_EQ(productTable().size(), 10u);
    int counts[4] = {};
    for (const auto& row : productTable()) {
        ++counts[static_cast<int>(row.kind)];
        EXPECT_EQ(row.defaultFolder.back(), '\\');
        EXPECT_EQ(row.defaultFolder.substr(1, 2), ":\\");
        EXPECT_EQ(selectProduct(row.name, "")->kind(), row.kind);
    }
    EXPECT_EQ(counts[static_cast<int>(ProductKind::EquationEditor)], 4);
    EXPECT_EQ(counts[static_cast<int>(ProductKind::FontPack)], 1);
    EXPECT_EQ(counts[static_cast<int>(ProductKind::TexSystem)], 5);
    EXPECT_EQ(selectProduct("formix", "")->kind(), ProductKind::Generic);  // exact match
    EXPECT_EQ(selectProduct("", ""), nullptr);
    auto formix = selectProduct("Formix", "");
    EXPECT_TRUE(formix->writesUninstallEntry());
    EXPECT_EQ(formix->uninstallKeyName(), "Formix");
    EXPECT_EQ(formix->uninstallerPath(), "BIN\\FMXUNINST.EXE");
    EXPECT_FALSE(selectProduct("Korvo", "")->writesUninstallEntry());
}

TEST(Startup, ForbiddenScriptValuesAbortWithBadScript) {
    for (const std::string& script :
         {std::string("[AppInfo]\r\nAppName=Korvo\r\n[StartUp]\r\nDeletePrev=1\r\n"),
          std::string("[AppInfo]\r\nAppName=Formix\r\n[Finish]\r\nCreateFormats=1\r\n"),
          std::string("[AppInfo]\r\nAppName=Formix\r\n[StartUp]\r\nReader4=0\r\n")}) {
        StartFixture f(script);
        EXPECT_EQ(f.start().outcome, StartupOutcome::Failed) << script;
        ASSERT_EQ(f.prompter.shown.size(), 1u);
        EXPECT_EQ(f.prompter.shown[0].text, "Bad INSTELLO.INI.\nInstallation aborted!");
        EXPECT_EQ(f.prompter.shown[0].icon, Icon::Warning);
    }
    // Reader values other than -1 are fine for the TeX system, DeletePrev for the editor.
    StartFixture ok("[AppInfo]\r\nAppName=Formix\r\n[StartUp]\r\nDeletePrev=1\r\n");
    EXPECT_EQ(ok.start().outcome, StartupOutcome::Ready);
}

TEST(Startup, EquationEditorNeedsTheFontsKeyOnNewerNt) {
    StartFixture f("[AppInfo]\r\nAppName=Formix\r\n");
    f.box.configure(
        "\r\n[Registry]\r\nReadOnly=HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows "
        "NT\\CurrentVersion\\Fonts\r\n");
    EXPECT_EQ(f.start().outcome, StartupOutcome::Failed);
    ASSERT_EQ(f.prompter.shown.size(), 1u);
    EXPECT_EQ(f.prompter.shown[0].text, msg::kNoFontRights);
    EXPECT_EQ(f.prompter.shown[0].caption, "Formix Install");

    // Windows NT 4 is not asked.
    std::string ini = test::readHost(f.box.host("machine/sandbox.ini"));
    ini.replace(ini.find("Version=5.1"), 11, "Version=4.0");
    test::writeHost(f.box.host("machine/sandbox.ini"), ini);
    f.box.reload();
    f.prompter.shown.clear();
    EXPECT_EQ(f.start().outcome, StartupOutcome::Ready);
}

TEST(Startup, InstalledCopyKeepsTheRecordedDistributionAndSkipsTheLicence) {
    StartFixture f("[AppInfo]\r\nAppName=Tattilo\r\n[StartUp]\r\nLicense=1\r\n");
    test::writeHost(f.box.host("machine/C/SETUP/license.txt"), "Licenza");
    f.record("Tattilo", "C:\\SETUP\\..", "E:\\CD");
    // Not the installed copy: InstallPath + "BIN\" is not the installer's folder.
    f.prompter.agree = false;
    EXPECT_EQ(f.start().outcome, StartupOutcome::Declined);
    EXPECT_EQ(f.prompter.licenses, 1);

    f.record("Tattilo", "c:\\tattilo", "E:\\CD");
    test::writeHost(f.box.host("machine/C/tattilo/BIN/INSTELLO.INI"),
                    "[AppInfo]\r\nAppName=Tattilo\r\n[StartUp]\r\nLicense=1\r\n");
    Startup s = startUp(*f.box.sys, f.prompter, "C:\\TATTILO\\BIN\\");
    ASSERT_EQ(s.outcome, StartupOutcome::Ready);
    EXPECT_EQ(f.prompter.licenses, 1);  // not shown again
    EXPECT_TRUE(s.product->runsFromInstalledCopy);
    EXPECT_EQ(s.product->installPath, "c:\\tattilo\\");
    EXPECT_EQ(s.product->distributionPath, "E:\\CD\\");

    // From the distribution, the registry's install path is kept and the source is used.
    f.prompter.agree = true;
    Startup d = f.start();
    ASSERT_EQ(d.outcome, StartupOutcome::Ready);
    EXPECT_FALSE(d.product->runsFromInstalledCopy);
    EXPECT_EQ(d.product->installPath, "c:\\tattilo\\");
    EXPECT_EQ(d.product->distributionPath, "C:\\SETUP\\");
}

TEST(Startup, MissingLicenceCountsAsRefused) {
    StartFixture f("[AppInfo]\r\nAppName=Tattilo\r\n[StartUp]\r\nLicense=1\r\n");
    EXPECT_EQ(f.start().outcome, StartupOutcome::Declined);
    EXPECT_EQ(f.prompter.licenses, 0);
}

TEST(Products, HandlerSpecifics) {
    test::Sandbox box;
    test::ScriptedPrompter prompter;
    auto korvo = selectProduct("Korvo", "");
    EXPECT_TRUE(korvo->acceptDestination("C:\\KORVO\\", prompter));
    EXPECT_TRUE(prompter.shown.empty());
    prompter.answers = {Answer::No};
    EXPECT_FALSE(korvo->acceptDestination("C:\\Program Files\\KORVO\\", prompter));
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text.substr(0, 42), "We strongly recommend not to install Korvo");
    EXPECT_EQ(prompter.shown[0].buttons, Buttons::YesNo);
    EXPECT_TRUE(korvo->acceptDestination("C:\\KORVO;2\\", prompter));  // default Yes

    korvo->installPath = "C:\\KORVO\\";
    EXPECT_EQ(korvo->makeSettingsFile(*box.sys)->path(), "C:\\KORVO\\BIN\\KORVO.INI");
    auto generic = selectProduct("Tattilo", "");
    generic->installPath = "C:\\T\\";
    EXPECT_EQ(generic->makeSettingsFile(*box.sys)->path(), "C:\\T\\Tattilo");
    EXPECT_EQ(selectProduct("Formix", "")->makeSettingsFile(*box.sys), nullptr);

    // The font pack follows an installed equation editor, or asks.
    auto fonts = selectProduct("Formix Fonts", "");
    fonts->installPath = "C:\\FORMIX\\";
    prompter.shown.clear();
    prompter.answers = {Answer::Cancel};
    EXPECT_FALSE(fonts->checkPrerequisites(*box.sys, prompter));
    EXPECT_EQ(prompter.shown.at(0).text, msg::kNoFormix);
    CKey key(*box.sys, RegRoot::LocalMachine, "Software\\Quillon\\Formix");
    ASSERT_TRUE(key.create());
    key.writeString("InstallPath", "C:\\EDITOR");
    test::writeHost(box.host("machine/C/EDITOR/BIN/FMX.EXE"), "MZ");
    EXPECT_TRUE(fonts->checkPrerequisites(*box.sys, prompter));
    EXPECT_EQ(fonts->installPath, "C:\\EDITOR\\");

    // Removing the previous editor: Cancel stops; OK names the uninstaller for the flow to
    // run (flow_test runs it). Other products have nothing to run.
    auto formix = selectProduct("Formix", "");
    prompter.shown.clear();
    prompter.answers = {Answer::Cancel};
    std::string uninstaller = "left over";
    EXPECT_FALSE(formix->removePreviousVersion(prompter, uninstaller));
    EXPECT_EQ(prompter.shown.at(0).text, msg::kRemovePrevious);
    prompter.answers = {Answer::Ok};
    EXPECT_TRUE(formix->removePreviousVersion(prompter, uninstaller));
    EXPECT_EQ(uninstaller, "fmxuninst.exe -i");
    auto plain = selectProduct("Prova", "");
    EXPECT_TRUE(plain->removePreviousVersion(prompter, uninstaller));
    EXPECT_EQ(uninstaller, "");
}

TEST(Drives, ClusterSizesAndFreeSpace) {
    test::Sandbox box;
    box.configure(
        "\r\n[Drive D]\r\nType=fixed\r\nFileSystem=FAT32\r\nClusterBytes=65536\r\n"
        "\r\n[Drive E]\r\nType=fixed\r\nFileSystem=FAT\r\nClusterBytes=2048\r\nFreeBytes=5000\r\n"
        "\r\n[Drive F]\r\nType=fixed\r\nFileSystem=ntfs\r\nClusterBytes=512\r\n"
        "\r\n[Drive G]\r\nType=fixed\r\nFileSystem=FAT32\r\nClusterBytes=3000\r\n");
    auto& sys = *box.sys;
    EXPECT_EQ(clusterSize(sys, 'C'), 4096u);
    EXPECT_EQ(clusterSize(sys, 'D'), 32768u);  // 65536 is taken as 32768
    EXPECT_EQ(clusterSize(sys, 'E'), 32768u);  // FAT16 is not asked
    EXPECT_EQ(clusterSize(sys, 'F'), 512u);
    EXPECT_EQ(clusterSize(sys, 'G'), 32768u);
    EXPECT_EQ(clusterSize(sys, 'Q'), 32768u);
    EXPECT_EQ(clusterColumn(512), 0);
    EXPECT_EQ(clusterColumn(16384), 5);
    EXPECT_EQ(clusterColumn(32768), 6);
    EXPECT_EQ(freeKilobytes(sys, 'C'), 8388608);
    EXPECT_EQ(freeKilobytes(sys, 'E'), 4);
    EXPECT_EQ(freeKilobytes(sys, 'D'), -1);

    ClusterCache cache;
    EXPECT_EQ(cache.get(sys), 4096u);
    cache.moveTo('f');
    EXPECT_EQ(cache.letter(), 'F');
    EXPECT_EQ(cache.get(sys), 512u);
}

TEST(Drives, DestinationCheck) {
    test::Sandbox box;
    box.configure(
        "\r\n[Drive N]\r\nType=remote\r\n\r\n[Drive A]\r\nType=removable\r\n"
        "\r\n[Drive U]\r\nType=unknown\r\n");
    for (char letter : {'N', 'A', 'U'}) {
        std::filesystem::create_directories(box.host(std::string("machine/") + letter));
    }
    auto& sys = *box.sys;
    struct Case {
        const char* path;
        int code;
        std::string_view text;
    };
    const Case cases[] = {
        {"", 4, "Set destination folder."},
        {"C", 3, "Invalid path."},
        {"C\\x", 3, "Invalid path."},
        {"C:x", 3, "Invalid path."},
        {"1:\\x", 2, "Set drive."},
        {"Q:\\x", 3, "Invalid path."},
        {"U:\\x", 3, "Invalid path."},
        {"N:\\x", 1, "You can not install to removable or network drive."},
        {"A:\\x", 1, "You can not install to removable or network drive."},
        {"c:/Tattilo", 0, ""},
        {"C:", 0, ""},
    };
    for (const auto& c : cases) {
        const auto check = checkDestination(sys, c.path);
        EXPECT_EQ(check.code, c.code) << c.path;
        EXPECT_EQ(check.text, c.text) << c.path;
    }
}

}  // namespace
}  // namespace installer
