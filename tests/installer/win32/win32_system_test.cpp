// The Win32 system layer against the real calls (run under Wine by make test-windows): files,
// registry values of the four types, shell links read back through the shell, special folders,
// drives, processes, libraries, the version, and the restart recorded by a test double.

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "installer/system/this_machine.h"
#include "installer/system/win32/win32_system.h"

#include "../../scratch_folder.h"

namespace {

using namespace installer::system;

// A machine whose restart is recorded, never done.
class RecordingRestart : public Win32System {
public:
    int reboots = 0;

protected:
    bool rebootWindows() override {
        ++reboots;
        return true;
    }
};

// A scratch folder as a Windows path, removed at the end.
struct ScratchFolder {
    std::filesystem::path host =
        testing_support::makeScratchFolder(std::filesystem::temp_directory_path(), "win32-system-");
    std::string path = narrowText(host.wstring());
    ~ScratchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(host, ec);
    }
    std::string operator/(std::string_view name) const { return path + "\\" + std::string(name); }
};

// A registry key of this test run below HKEY_CURRENT_USER\Software, removed at the end.
struct ScratchKey {
    std::string path = "Software\\TattiloTest\\" + std::to_string(std::random_device()());
    ~ScratchKey() {
        RegDeleteTreeW(HKEY_CURRENT_USER, wideText(path).c_str());
        RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\TattiloTest");
    }
};

bool write(System& sys, const std::string& path, std::string_view bytes) {
    auto out = sys.openWrite(path);
    return out && out->write(bytes.data(), bytes.size()) && out->close();
}

TEST(Win32System, IsTheMachineOfThisBuild) {
    EXPECT_NE(dynamic_cast<Win32System*>(openThisMachine().get()), nullptr);
}

TEST(Win32System, FilesAndFoldersByWindowsPath) {
    Win32System sys;
    ScratchFolder folder;
    const std::string name = folder / "Caff\xE8.txt";  // a code page 1252 name
    ASSERT_TRUE(write(sys, name, "uno"));
    EXPECT_TRUE(std::filesystem::exists(folder.host / L"Caff\u00E8.txt"));
    EXPECT_TRUE(sys.fileExists(name));
    EXPECT_FALSE(sys.folderExists(name));
    EXPECT_EQ(readWholeFile(sys, name), "uno");
    EXPECT_TRUE(sys.fileExists(folder / "CAFF\xC8.TXT")) << "names compare without regard to case";

    // moveFile refuses an existing target; replaceFile takes its place.
    ASSERT_TRUE(write(sys, folder / "b.txt", "due"));
    EXPECT_FALSE(sys.moveFile(name, folder / "b.txt"));
    EXPECT_TRUE(sys.replaceFile(name, folder / "b.txt"));
    EXPECT_FALSE(sys.fileExists(name));
    EXPECT_EQ(readWholeFile(sys, folder / "b.txt"), "uno");
    EXPECT_TRUE(sys.moveFile(folder / "b.txt", folder / "c.txt"));

    ASSERT_TRUE(sys.createFolder(folder / "Sub"));
    EXPECT_FALSE(sys.createFolder(folder / "Sub"));
    EXPECT_FALSE(sys.createFolder(folder / "Missing\\Sub"));
    auto names = sys.listFolder(folder.path);
    ASSERT_TRUE(names);
    std::sort(names->begin(), names->end());
    EXPECT_EQ(*names, (std::vector<std::string>{"Sub", "c.txt"}));
    EXPECT_FALSE(sys.removeFolder(folder.path)) << "a folder that holds anything stays";
    EXPECT_TRUE(sys.removeFolder(folder / "Sub"));
    EXPECT_FALSE(sys.removeFolder("C:\\"));

    const FileTime stamp{1000000000LL * 1700000000};
    EXPECT_TRUE(sys.setFileTime(folder / "c.txt", stamp));
    EXPECT_EQ(sys.fileTime(folder / "c.txt"), stamp);
    EXPECT_TRUE(sys.deleteFile(folder / "c.txt"));
    EXPECT_FALSE(sys.deleteFile(folder / "c.txt"));

    // Paths that are not absolute, too long, or name a device fail like missing files.
    EXPECT_FALSE(write(sys, "relative.txt", "x"));
    EXPECT_FALSE(write(sys, folder / "NUL", "x"));
    EXPECT_FALSE(write(sys, folder / std::string(260, 'a'), "x"));
    EXPECT_FALSE(sys.fromLocalTime({2001, 2, 30, 12, 0, 0}));
    EXPECT_TRUE(sys.fromLocalTime({2001, 2, 28, 12, 0, 0}));
}

TEST(Win32System, ALockedFileIsBusyForASecondOpen) {
    Win32System sys;
    ScratchFolder folder;
    bool busy = true;
    auto first = sys.openLocked(folder / "lock", busy);
    ASSERT_TRUE(first);
    EXPECT_FALSE(busy);
    EXPECT_FALSE(sys.openLocked(folder / "lock", busy));
    EXPECT_TRUE(busy);
    ASSERT_TRUE(first->write("a", 1) && first->flush() && first->close());
    first.reset();
    EXPECT_TRUE(sys.openLocked(folder / "lock", busy));
}

TEST(Win32System, RegistryValuesOfTheFourTypes) {
    Win32System sys;
    ScratchKey key;
    EXPECT_FALSE(sys.regKeyExists(RegRoot::CurrentUser, key.path));
    EXPECT_FALSE(sys.regSetValue(RegRoot::CurrentUser, key.path, "x", {kRegSz, "a"}));
    ASSERT_TRUE(sys.regCreateKey(RegRoot::CurrentUser, key.path + "\\Sub"));
    EXPECT_TRUE(sys.regKeyExists(RegRoot::CurrentUser, key.path));
    EXPECT_TRUE(sys.regKeyWritable(RegRoot::CurrentUser, key.path));

    const RegValue text{kRegSz, std::string("C:\\Perch\xE9\\\0", 11)};
    const RegValue number{kRegDword, std::string("\x2A\x00\x00\x00", 4)};
    const RegValue binary{kRegBinary, std::string("\x01\xFF\x00", 3)};
    const RegValue none{kRegNone, ""};
    for (const auto& [name, value] :
         {std::pair{"Testo", text}, {"Numero", number}, {"Dati", binary}, {"Vuoto", none}}) {
        ASSERT_TRUE(sys.regSetValue(RegRoot::CurrentUser, key.path, name, value)) << name;
        EXPECT_EQ(sys.regQueryValue(RegRoot::CurrentUser, key.path, name), value) << name;
    }
    // What another program reads: the string as Unicode, the number as a DWORD.
    wchar_t stored[64];
    DWORD size = sizeof stored;
    ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, wideText(key.path).c_str(), L"Testo", RRF_RT_REG_SZ,
                           nullptr, stored, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(std::wstring(stored), L"C:\\Perch\u00E9\\");
    DWORD value = 0;
    size = sizeof value;
    ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, wideText(key.path).c_str(), L"Numero",
                           RRF_RT_REG_DWORD, nullptr, &value, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(value, 42u);

    EXPECT_FALSE(sys.regDeleteKey(RegRoot::CurrentUser, key.path)) << "it holds values";
    EXPECT_TRUE(sys.regDeleteKey(RegRoot::CurrentUser, key.path + "\\Sub"));
    for (const char* name : {"Testo", "Numero", "Dati", "Vuoto", "Mai"}) {
        EXPECT_TRUE(sys.regDeleteValue(RegRoot::CurrentUser, key.path, name)) << name;
    }
    EXPECT_FALSE(sys.regQueryValue(RegRoot::CurrentUser, key.path, "Testo"));
    EXPECT_TRUE(sys.regDeleteKey(RegRoot::CurrentUser, key.path));
    EXPECT_FALSE(sys.regKeyExists(RegRoot::CurrentUser, key.path));
    EXPECT_TRUE(sys.regDeleteKey(RegRoot::CurrentUser, key.path)) << "already gone";
}

TEST(Win32System, ShellLinksReadBackThroughTheShell) {
    Win32System sys;
    ScratchFolder folder;
    ASSERT_TRUE(write(sys, folder / "tattilo-cli.exe", "MZ"));
    const installer::system::ShellLink link{
        folder / "tattilo-cli.exe", "Tattilo da riga di comando", folder / "tattilo-cli.exe", 0};
    ASSERT_TRUE(sys.createShellLink(folder / "Tattilo.lnk", link));
    EXPECT_FALSE(sys.createShellLink(folder / "Missing\\Tattilo.lnk", link));

    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    IShellLinkW* shell = nullptr;
    ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                           IID_IShellLinkW, reinterpret_cast<void**>(&shell))));
    IPersistFile* file = nullptr;
    ASSERT_TRUE(
        SUCCEEDED(shell->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))));
    ASSERT_TRUE(SUCCEEDED(file->Load(wideText(folder / "Tattilo.lnk").c_str(), STGM_READ)));
    wchar_t target[MAX_PATH];
    ASSERT_TRUE(SUCCEEDED(shell->GetPath(target, MAX_PATH, nullptr, 0)));
    wchar_t description[MAX_PATH];
    ASSERT_TRUE(SUCCEEDED(shell->GetDescription(description, MAX_PATH)));
    file->Release();
    shell->Release();
    CoUninitialize();
    EXPECT_TRUE(std::filesystem::equivalent(target, folder.host / "tattilo-cli.exe"));
    EXPECT_EQ(std::wstring(description), L"Tattilo da riga di comando");
}

TEST(Win32System, TheMachineItsFoldersAndDrives) {
    Win32System sys;
    EXPECT_TRUE(sys.windowsVersion().nt);
    EXPECT_GE(sys.windowsVersion().major, 5u);
    EXPECT_TRUE(sys.folderExists(sys.windowsDirectory()));
    EXPECT_NE(sys.windowsDirectory().back(), '\\');
    EXPECT_EQ(sys.defaultLanguage(), GetUserDefaultLangID());
    for (SpecialFolder f :
         {SpecialFolder::Programs, SpecialFolder::CommonPrograms, SpecialFolder::Desktop}) {
        const auto path = sys.specialFolder(f);
        ASSERT_TRUE(path);
        EXPECT_TRUE(sys.folderExists(*path)) << *path;
    }
    const char system = sys.windowsDirectory()[0];
    EXPECT_EQ(sys.driveType(system), DriveType::Fixed);
    EXPECT_GT(sys.freeBytes(system).value_or(0), 0u);
    EXPECT_GT(sys.clusterBytes(system).value_or(0), 0u);
    EXPECT_FALSE(sys.fileSystemName(system).empty());
    char unused = 0;
    for (char letter = 'Y'; letter > 'D' && unused == 0; --letter) {
        if ((GetLogicalDrives() & (1u << (letter - 'A'))) == 0) {
            unused = letter;
        }
    }
    ASSERT_NE(unused, 0);
    EXPECT_EQ(sys.driveType(unused), DriveType::NoRoot);
    EXPECT_FALSE(sys.freeBytes(unused));
    EXPECT_EQ(sys.driveType('?'), DriveType::NoRoot);
}

TEST(Win32System, ProgramsRunInTheirFolderAndAreWaitedFor) {
    Win32System sys;
    ScratchFolder folder;
    EXPECT_TRUE(sys.runAndWait("cmd.exe /c echo fatto> risultato.txt", folder.path));
    // Waited for: the file is there as soon as the call returns.
    EXPECT_TRUE(sys.fileExists(folder / "risultato.txt"));
    EXPECT_FALSE(sys.runAndWait(folder / "MISSING.EXE -x", ""));
}

TEST(Win32System, LibrariesByNameAndTheirEntryPoints) {
    Win32System sys;
    auto library = sys.loadLibrary("msvcrt.dll");
    ASSERT_TRUE(library);
    auto abs = library->entry<int(int)>("abs");
    ASSERT_TRUE(abs);
    EXPECT_EQ(abs(-5), 5);
    EXPECT_FALSE(library->entry<int(int)>("no_such_entry"));
    EXPECT_FALSE(sys.loadLibrary("no_such_library.dll"));
    EXPECT_FALSE(sys.loadLibrary("sub\\msvcrt.dll"));
    ScratchFolder folder;
    ASSERT_TRUE(write(sys, folder / "notalib.dll", "not a library"));
    EXPECT_FALSE(sys.loadLibrary(folder / "notalib.dll"));
}

TEST(Win32System, RestartAsksWindowsThroughTheRebootCall) {
    RecordingRestart sys;
    EXPECT_TRUE(sys.enableShutdownPrivilege());
    EXPECT_TRUE(sys.restart());
    EXPECT_EQ(sys.reboots, 1);
}

}  // namespace
