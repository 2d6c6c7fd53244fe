// The system layer: INI profile semantics, the sandbox machine (paths, drives, registry file)
// and the text helpers for Windows paths.

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>

#include "installer/profile.h"
#include "installer/system/sandbox/registry_file.h"
#include "installer/win_path.h"
#include "support.h"

namespace installer {
namespace {

using system::RegRoot;
using system::RegValue;

TEST(Profile, LooksUpLikeTheWindowsProfileFunctions) {
    const Profile p(
        "; comment\r\n"
        "[AppInfo]\r\n"
        "  AppName = Tattilo  \r\n"
        "Version=\"1.1 beta\"\r\n"
        "Empty=\r\n"
        "[startup]\r\n"
        "License=1\r\n"
        "Reader3=-1\r\n"
        "Reader4= 0x10 \r\n"
        "Junk=abc\r\n"
        "Restart=7xyz\r\n"
        "License=2\r\n"
        "[AppInfo]\r\n"
        "AppName=Second\r\n");
    EXPECT_EQ(p.getString("APPINFO", "appname", "x"), "Tattilo");
    EXPECT_EQ(p.getString("AppInfo", "Version", ""), "1.1 beta");
    EXPECT_EQ(p.getString("AppInfo", "Missing", "fallback"), "fallback");
    EXPECT_EQ(p.getString("Nowhere", "AppName", "fallback"), "fallback");
    EXPECT_EQ(p.getInt("StartUp", "License", 0), 1);  // the first of two equal keys
    EXPECT_EQ(p.getInt("StartUp", "Reader3", 5), -1);
    EXPECT_EQ(p.getInt("StartUp", "Reader4", 5), 16);
    EXPECT_EQ(p.getInt("StartUp", "Junk", 5), 0);
    EXPECT_EQ(p.getInt("StartUp", "Restart", 5), 7);
    EXPECT_EQ(p.getInt("AppInfo", "Empty", 5), 5);
    EXPECT_EQ(p.getInt("StartUp", "Absent", -1), -1);
}

TEST(Profile, WritingKeepsOtherLinesAndPlacesNewKeys) {
    Profile p("; keep me\r\n[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n");
    p.set("a", "X", "10");
    p.set("A", "z", "3");
    p.set("C", "w", "4");
    p.erase("B", "Y");
    EXPECT_EQ(p.text(), "; keep me\r\n[A]\r\nX=10\r\nz=3\r\n\r\n[B]\r\n\r\n[C]\r\nw=4\r\n");
    EXPECT_EQ(Profile(p.text()).getString("c", "W", ""), "4");
    Profile empty;
    empty.set("S", "k", "v");
    EXPECT_EQ(empty.text(), "[S]\r\nk=v\r\n");
}

TEST(WinPath, SafeRelativePathsStayInsideTheirRoot) {
    for (const char* good : {"BIN", "BIN\\", "a\\b\\c.txt", "a/b", "liesmich.txt", "x y\\z"}) {
        EXPECT_TRUE(isSafeRelativePath(good)) << good;
    }
    for (const char* bad : {"", "..", "..\\x", "a\\..\\..\\x", "\\WINDOWS", "/etc/passwd", "C:\\x",
                            "C:x", "a\\\\b", "CON", "bin\\nul.txt", "Lpt1", "com9.log", "a.",
                            "a \\b", "x|y", "a\\.\\b", "\\\\srv\\s"}) {
        EXPECT_FALSE(isSafeRelativePath(bad)) << bad;
    }
    EXPECT_EQ(folderPart("D:\\DISK2\\PROG.QKP"), "D:\\DISK2\\");
    EXPECT_EQ(fileNamePart("D:\\DISK2\\PROG.QKP"), "PROG.QKP");
    EXPECT_TRUE(
        iequals("c:\\\xE0"
                "bc",
                "C:\\\xC0"
                "BC"));  // CP1252 à and À
    EXPECT_EQ(parseDecimal("  -12abc"), -12);
    EXPECT_EQ(parseDecimal("x"), 0);
    EXPECT_EQ(parseDecimal("99999999999"), 2147483647);
}

TEST(Sandbox, WindowsPathsIgnoreCaseAndNeverLeaveTheDrive) {
    test::Sandbox box;
    auto& sys = *box.sys;
    ASSERT_TRUE(sys.createFolder("C:\\Prova"));
    auto out = sys.openWrite("c:\\PROVA\\File.TXT");
    ASSERT_TRUE(out);
    ASSERT_TRUE(out->write("abc", 3));
    ASSERT_TRUE(out->close());
    EXPECT_TRUE(sys.fileExists("C:\\prova\\file.txt"));
    EXPECT_TRUE(sys.fileExists("C:/Prova/FILE.txt"));
    EXPECT_EQ(test::readHost(box.host("machine/C/Prova/File.TXT")), "abc");
    // Writing again through another spelling replaces the same file.
    out = sys.openWrite("C:\\PROVA\\FILE.TXT");
    ASSERT_TRUE(out);
    out->write("z", 1);
    out->close();
    EXPECT_EQ(test::readHost(box.host("machine/C/Prova/File.TXT")), "z");
    // One file, whatever the spelling (a second one would show on a host that tells case).
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(box.host("machine/C/Prova")),
                            std::filesystem::directory_iterator()),
              1);

    // ".." stops at the drive's root: nothing outside the machine folder is reachable.
    EXPECT_EQ(*sys.hostPath("C:\\..\\..\\x"), box.host("machine/C/x"));
    EXPECT_FALSE(sys.openWrite("C:\\NUL"));
    EXPECT_FALSE(sys.openWrite("C:\\Prova\\con.txt"));
    EXPECT_FALSE(sys.openWrite("Prova\\relative.txt"));
    EXPECT_FALSE(sys.openWrite("Q:\\nodrive.txt"));
    EXPECT_FALSE(sys.openWrite("C:\\" + std::string(300, 'a')));

    EXPECT_FALSE(sys.removeFolder("C:\\Prova"));  // not empty
    EXPECT_TRUE(sys.moveFile("C:\\Prova\\file.txt", "C:\\Prova\\other.txt"));
    EXPECT_FALSE(sys.moveFile("C:\\Prova\\other.txt", "C:\\Prova\\other.txt"));
    EXPECT_TRUE(sys.deleteFile("C:\\PROVA\\OTHER.TXT"));
    EXPECT_TRUE(sys.removeFolder("C:\\prova\\"));
    EXPECT_FALSE(sys.removeFolder("C:\\"));
}

// The names of a folder are read once and then kept up to date: after any change, made by
// the sandbox or behind its back, every spelling finds what is there and nothing that is gone.
TEST(Sandbox, NamesOfAFolderFollowEveryChange) {
    namespace fs = std::filesystem;
    test::Sandbox box;
    auto& sys = *box.sys;
    auto write = [&](const std::string& path) {
        auto out = sys.openWrite(path);
        return out && out->write("x", 1) && out->close();
    };
    ASSERT_TRUE(sys.createFolder("C:\\Big"));
    for (int i = 0; i < 300; ++i) {
        ASSERT_TRUE(write("C:\\Big\\File" + std::to_string(i) + ".txt"));
    }
    EXPECT_TRUE(sys.fileExists("C:\\BIG\\FILE7.TXT"));
    EXPECT_FALSE(sys.fileExists("C:\\BIG\\FILE300.TXT"));
    // Made after the folder was read: found in any spelling, and written over as one file.
    ASSERT_TRUE(write("C:\\Big\\Late.txt"));
    EXPECT_TRUE(sys.fileExists("c:\\big\\LATE.TXT"));
    ASSERT_TRUE(write("C:\\BIG\\late.TXT"));
    // The names as the host folder lists them (a Windows host finds any spelling by itself).
    auto listed = [&](const std::string& name) {
        for (const auto& entry : fs::directory_iterator(box.host("machine/C/Big"))) {
            if (entry.path().filename().string() == name) {
                return true;
            }
        }
        return false;
    };
    EXPECT_TRUE(listed("Late.txt"));
    EXPECT_FALSE(listed("late.TXT"));
    // Renamed, replaced, deleted.
    ASSERT_TRUE(sys.moveFile("C:\\big\\late.txt", "C:\\Big\\Moved.TXT"));
    EXPECT_FALSE(sys.fileExists("C:\\BIG\\LATE.TXT"));
    EXPECT_TRUE(sys.fileExists("C:\\BIG\\moved.txt"));
    ASSERT_TRUE(write("C:\\Big\\New.tmp"));
    ASSERT_TRUE(sys.replaceFile("C:\\BIG\\NEW.TMP", "C:\\Big\\Fresh.txt"));
    EXPECT_FALSE(sys.fileExists("C:\\big\\new.tmp"));
    EXPECT_TRUE(sys.fileExists("C:\\big\\FRESH.TXT"));
    ASSERT_TRUE(sys.deleteFile("C:\\BIG\\FILE7.TXT"));
    EXPECT_FALSE(sys.fileExists("C:\\Big\\file7.txt"));
    // A folder made, removed, and made again under another spelling.
    ASSERT_TRUE(sys.createFolder("C:\\Big\\Sub\\"));
    EXPECT_TRUE(sys.folderExists("C:\\BIG\\SUB"));
    ASSERT_TRUE(write("C:\\BIG\\SUB\\Inside.txt"));
    EXPECT_TRUE(sys.fileExists("C:\\big\\sub\\inside.TXT"));
    ASSERT_TRUE(sys.deleteFile("C:\\big\\sub\\INSIDE.TXT"));
    ASSERT_TRUE(sys.removeFolder("C:\\big\\sub\\"));
    EXPECT_FALSE(sys.folderExists("C:\\BIG\\SUB"));
    ASSERT_TRUE(sys.createFolder("C:\\BIG\\sub"));
    EXPECT_TRUE(fs::is_directory(box.host("machine/C/Big/sub")));
    EXPECT_FALSE(sys.fileExists("C:\\big\\SUB\\inside.txt"));

    // Behind the sandbox's back: seen once the folder's time shows the change (here set a
    // second on, as the clock would have moved).
    const fs::path big = box.host("machine/C/Big");
    // (Wine refuses to set a folder's time; there the change's own time has to show it.)
    auto touched = [&] {
        std::error_code ec;
        fs::last_write_time(big, fs::last_write_time(big) + std::chrono::seconds(1), ec);
    };
    test::writeHost(big / "Outside.TXT", "o");
    touched();
    EXPECT_TRUE(sys.fileExists("C:\\BIG\\outside.txt"));
    fs::remove(big / "Outside.TXT");
    touched();
    EXPECT_FALSE(sys.fileExists("C:\\BIG\\outside.txt"));
    ASSERT_TRUE(write("C:\\BIG\\OUTSIDE.txt"));
    EXPECT_TRUE(listed("OUTSIDE.txt"));
}

TEST(Sandbox, MachineSettingsAndMountedSources) {
    test::Sandbox box;
    box.configure(
        "\r\n[Drive E]\r\nType=remote\r\nFileSystem=FAT\r\n"
        "\r\n[Drive F]\r\nType=removable\r\nFreeBytes=1024000\r\nClusterBytes=512\r\n");
    auto& sys = *box.sys;
    EXPECT_EQ(sys.windowsDirectory(), "C:\\WINDOWS");
    EXPECT_EQ(sys.defaultLanguage(), 1040u);
    EXPECT_TRUE(sys.windowsVersion().nt);
    EXPECT_EQ(sys.windowsVersion().major, 5u);
    EXPECT_EQ(sys.driveType('c'), system::DriveType::Fixed);
    EXPECT_EQ(sys.driveType('E'), system::DriveType::NoRoot);  // its folder does not exist
    std::filesystem::create_directories(box.host("machine/E"));
    EXPECT_EQ(sys.driveType('E'), system::DriveType::Remote);
    EXPECT_EQ(sys.driveType('Z'), system::DriveType::NoRoot);
    EXPECT_EQ(sys.freeBytes('F'), 1024000u);
    EXPECT_EQ(sys.clusterBytes('F'), 512u);
    EXPECT_FALSE(sys.freeBytes('E'));
    EXPECT_EQ(sys.fileSystemName('C'), "NTFS");
    ASSERT_TRUE(sys.specialFolder(system::SpecialFolder::Desktop));
    EXPECT_TRUE(sys.folderExists(*sys.specialFolder(system::SpecialFolder::Desktop)));

    test::TempDir source;
    test::writeHost(source.path() / "SETUP.TXT", "hello");
    const auto letter = sys.freeDriveLetter();
    ASSERT_EQ(letter, 'D');
    ASSERT_TRUE(sys.mountFolder('D', source.path(), false));
    EXPECT_FALSE(sys.mountFolder('D', source.path(), false));
    EXPECT_EQ(sys.driveType('D'), system::DriveType::CdRom);
    EXPECT_TRUE(sys.fileExists("D:\\setup.txt"));
    EXPECT_FALSE(sys.openWrite("D:\\new.txt"));  // a CD-ROM is read-only
    EXPECT_FALSE(sys.deleteFile("D:\\SETUP.TXT"));
    EXPECT_TRUE(std::filesystem::exists(source.path() / "SETUP.TXT"));
}

TEST(Sandbox, FileTimesFollowTheLocalClock) {
    test::Sandbox box;
    auto& sys = *box.sys;
    auto out = sys.openWrite("C:\\t.txt");
    out->close();
    const auto time = sys.fromLocalTime({2022, 3, 2, 9, 30, 4});
    ASSERT_TRUE(time);
    ASSERT_TRUE(sys.setFileTime("C:\\t.txt", *time));
    EXPECT_EQ(sys.fileTime("C:\\t.txt"), time);
    EXPECT_FALSE(sys.fromLocalTime({2022, 2, 30, 0, 0, 0}));  // 30 February
}

TEST(RegistryFile, ReadsAndWritesTheExportFormat) {
    const std::string text =
        test::readHost(std::string(TATTILO_TEST_DATA) + "/installer/registry.reg");
    system::RegistryFile reg(text);
    EXPECT_EQ(reg.text(), text);  // the fixture is in the form we write
    const auto path = reg.value(RegRoot::LocalMachine, "software\\quillon\\KORVO", "installpath");
    ASSERT_TRUE(path);
    EXPECT_EQ(path->data, std::string("C:\\KORVO\\") + '\0');
    EXPECT_EQ(reg.value(RegRoot::LocalMachine, "SOFTWARE\\Quillon\\Korvo", "Count"),
              (RegValue{system::kRegDword, std::string("\x2A\0\0\0", 4)}));
    EXPECT_EQ(reg.value(RegRoot::LocalMachine, "SOFTWARE\\Quillon\\Korvo", "Blob")->data,
              "\x01\xAB\xFF");
    EXPECT_EQ(reg.value(RegRoot::LocalMachine, "SOFTWARE\\Quillon\\Korvo", "Flag"),
              (RegValue{system::kRegNone, ""}));
    EXPECT_EQ(reg.value(RegRoot::LocalMachine, "SOFTWARE\\Quillon\\Korvo", "")->data,
              std::string("predefinito") + '\0');
    EXPECT_EQ(reg.value(RegRoot::CurrentUser, "Software\\Quillon", "Nome")->data,
              std::string("Virgolette \"doppie\"") + '\0');
    EXPECT_TRUE(reg.keyExists(RegRoot::LocalMachine, "SOFTWARE"));  // parent of a listed key
    EXPECT_FALSE(reg.keyExists(RegRoot::LocalMachine, "SOFTWARE\\Other"));

    // A hex value split over continuation lines.
    system::RegistryFile split("REGEDIT4\r\n\r\n[HKEY_USERS\\x]\r\n\"b\"=hex:01,02,\\\r\n  03\r\n");
    EXPECT_EQ(split.value(RegRoot::Users, "x", "b")->data, "\x01\x02\x03");
}

TEST(Sandbox, RegistryChangesReachTheFileAndReadOnlyKeysRefuseThem) {
    test::Sandbox box;
    box.configure("\r\n[Registry]\r\nReadOnly=HKEY_LOCAL_MACHINE\\SOFTWARE\\Locked\r\n");
    auto& sys = *box.sys;
    const std::string before = test::readHost(box.host("machine/registry.reg"));
    EXPECT_TRUE(sys.regKeyWritable(RegRoot::LocalMachine,
                                   "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts"));
    EXPECT_FALSE(sys.regSetValue(RegRoot::LocalMachine, "SOFTWARE\\Missing", "v", {1, "x"}));
    EXPECT_EQ(test::readHost(box.host("machine/registry.reg")), before);

    ASSERT_TRUE(sys.regCreateKey(RegRoot::LocalMachine, "SOFTWARE\\Quillon\\Tattilo"));
    ASSERT_TRUE(sys.regSetValue(RegRoot::LocalMachine, "SOFTWARE\\Quillon\\Tattilo", "InstallPath",
                                {system::kRegSz, std::string("C:\\T\\") + '\0'}));
    box.reload();
    EXPECT_EQ(
        box.sys->regQueryValue(RegRoot::LocalMachine, "software\\quillon\\tattilo", "INSTALLPATH")
            ->data,
        std::string("C:\\T\\") + '\0');

    EXPECT_FALSE(box.sys->regCreateKey(RegRoot::LocalMachine, "SOFTWARE\\Locked\\Sub"));
    EXPECT_FALSE(box.sys->regKeyWritable(RegRoot::LocalMachine, "SOFTWARE\\Locked"));
}

}  // namespace
}  // namespace installer

namespace installer {
namespace {

using system::RegRoot;

// Libraries are found where Windows looks for them and played by the stand-in registered
// under their file name; entry points come back only with the signature they were offered
// with.
TEST(Sandbox, LibrariesLoadByNameThroughTheirStandIns) {
    test::Sandbox box;
    auto& sys = *box.sys;
    std::vector<std::string> calls;
    sys.registerLibrary("HypSet.dll", [&](system::System&, const std::string& path) {
        auto library = std::make_unique<system::StandInLibrary>();
        library->add<int(void*, const char*)>("ConfigureHyphenOnInstall",
                                              [&calls, path](void*, const char* root) {
                                                  calls.push_back(path + " " + root);
                                                  return 1;
                                              });
        return library;
    });
    EXPECT_FALSE(sys.loadLibrary("hypset.dll"));  // no file anywhere
    test::writeHost(box.host("machine/C/WINDOWS/SYSTEM32/HYPSET.DLL"), "MZ");
    test::writeHost(box.host("machine/C/SETUP/hypset.dll"), "MZ");
    auto library = sys.loadLibrary("HYPSET.DLL");
    ASSERT_TRUE(library);
    auto configure = library->entry<int(void*, const char*)>("ConfigureHyphenOnInstall");
    ASSERT_TRUE(configure);
    EXPECT_EQ(configure(nullptr, "C:\\KORVO\\"), 1);
    EXPECT_FALSE(library->entry<int(const char*)>("ConfigureHyphenOnInstall"));
    EXPECT_FALSE(library->entry<int(void*, const char*)>("configurehyphenoninstall"));
    // The installer's own folder comes before the system folders.
    sys.setProgramFolder("C:\\SETUP");
    sys.loadLibrary("hypset.dll")
        ->entry<int(void*, const char*)>("ConfigureHyphenOnInstall")(nullptr, "R");
    EXPECT_EQ(calls, (std::vector<std::string>{"C:\\WINDOWS\\SYSTEM32\\HYPSET.DLL C:\\KORVO\\",
                                               "C:\\SETUP\\hypset.dll R"}));
    // A full path must name the file itself; a file without a stand-in does not load.
    EXPECT_FALSE(sys.loadLibrary("C:\\KORVO\\BIN\\HYPSET.DLL"));
    EXPECT_TRUE(sys.loadLibrary("c:\\setup\\HYPSET.DLL"));
    test::writeHost(box.host("machine/C/SETUP/OTHER.DLL"), "MZ");
    EXPECT_FALSE(sys.loadLibrary("C:\\SETUP\\OTHER.DLL"));
    EXPECT_FALSE(sys.loadLibrary("..\\SETUP\\hypset.dll"));
}

TEST(Sandbox, JournalFilesLocksReplacesAndRegistryDeletes) {
    test::Sandbox box;
    auto& sys = *box.sys;
    bool busy = true;
    auto first = sys.openLocked("C:\\WINDOWS\\TEST.JNL", busy);
    ASSERT_TRUE(first);
    EXPECT_FALSE(busy);
    EXPECT_FALSE(sys.openLocked("C:\\WINDOWS\\test.jnl", busy));
    EXPECT_TRUE(busy);
    ASSERT_TRUE(first->write("ab", 2) && first->flush() && first->write("c", 1));
    first->close();
    auto again = sys.openLocked("C:\\WINDOWS\\TEST.JNL", busy);
    ASSERT_TRUE(again);  // appends after what is there
    again->write("d", 1);
    again->close();
    EXPECT_EQ(test::readHost(box.host("machine/C/WINDOWS/TEST.JNL")), "abcd");

    test::writeHost(box.host("machine/C/A/new"), "new");
    EXPECT_TRUE(sys.replaceFile("C:\\A\\new", "C:\\A\\old"));  // the target may be missing
    test::writeHost(box.host("machine/C/A/new"), "newer");
    EXPECT_TRUE(sys.replaceFile("C:\\A\\NEW", "C:\\A\\OLD"));
    EXPECT_EQ(test::readHost(box.host("machine/C/A/old")), "newer");
    EXPECT_FALSE(sys.replaceFile("C:\\A\\missing", "C:\\A\\old"));

    const std::string before = test::readHost(box.host("machine/registry.reg"));
    ASSERT_TRUE(sys.regCreateKey(RegRoot::LocalMachine, "SOFTWARE\\Q"));
    ASSERT_TRUE(sys.regCreateKey(RegRoot::LocalMachine, "SOFTWARE\\Q\\Sub"));
    ASSERT_TRUE(sys.regSetValue(RegRoot::LocalMachine, "SOFTWARE\\Q", "v", {1, "x"}));
    EXPECT_FALSE(sys.regDeleteKey(RegRoot::LocalMachine, "SOFTWARE\\Q"));  // a sub-key
    EXPECT_TRUE(sys.regDeleteKey(RegRoot::LocalMachine, "SOFTWARE\\Q\\Sub"));
    EXPECT_FALSE(sys.regDeleteKey(RegRoot::LocalMachine, "SOFTWARE\\Q"));  // a value
    EXPECT_TRUE(sys.regDeleteValue(RegRoot::LocalMachine, "SOFTWARE\\Q", "V"));
    EXPECT_TRUE(sys.regDeleteValue(RegRoot::LocalMachine, "SOFTWARE\\Q", "V"));  // gone
    EXPECT_TRUE(sys.regDeleteKey(RegRoot::LocalMachine, "software\\q"));
    EXPECT_TRUE(sys.regDeleteKey(RegRoot::LocalMachine, "SOFTWARE\\Q"));  // never there
    EXPECT_EQ(test::readHost(box.host("machine/registry.reg")), before);
}

}  // namespace
}  // namespace installer
