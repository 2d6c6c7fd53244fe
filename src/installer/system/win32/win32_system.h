#pragma once

// The installer's system layer on Windows: every facility of system.h through the real calls.
// Windows paths (code page 1252) become UTF-16 paths for the wide-character calls; registry
// strings are stored as UTF-16 and read back in code page 1252, so a value reads as it was
// written. Shell links go through IShellLink and IPersistFile (COM is initialised for the
// calling thread for the length of each call). The restart asks Windows to reboot through
// rebootWindows(), which a test double overrides to record the request instead.

#include <optional>
#include <string>

#include "installer/system/system.h"

namespace installer::system {

class Win32System : public System {
public:
    bool fileExists(std::string_view path) override;
    bool folderExists(std::string_view path) override;
    std::unique_ptr<ReadFile> openRead(std::string_view path) override;
    std::unique_ptr<WriteFile> openWrite(std::string_view path) override;
    bool deleteFile(std::string_view path) override;
    bool moveFile(std::string_view from, std::string_view to) override;
    bool replaceFile(std::string_view from, std::string_view to) override;
    std::unique_ptr<WriteFile> openLocked(std::string_view path, bool& busy) override;
    bool createFolder(std::string_view path) override;
    bool removeFolder(std::string_view path) override;
    bool fileInUse(std::string_view path) override;
    std::optional<std::vector<std::string>> listFolder(std::string_view path) override;
    std::optional<FileTime> fileTime(std::string_view path) override;
    bool setFileTime(std::string_view path, FileTime time) override;
    std::optional<FileTime> fromLocalTime(const LocalTime& time) override;

    std::string windowsDirectory() override;
    WindowsVersion windowsVersion() override;
    unsigned defaultLanguage() override;
    std::optional<std::string> specialFolder(SpecialFolder folder) override;
    bool createShellLink(std::string_view path, const ShellLink& link) override;

    DriveType driveType(char letter) override;
    std::optional<std::uint64_t> freeBytes(char letter) override;
    std::string fileSystemName(char letter) override;
    std::optional<std::uint32_t> clusterBytes(char letter) override;

    bool regKeyExists(RegRoot root, std::string_view key) override;
    bool regKeyWritable(RegRoot root, std::string_view key) override;
    bool regCreateKey(RegRoot root, std::string_view key) override;
    std::optional<RegValue> regQueryValue(RegRoot root, std::string_view key,
                                          std::string_view name) override;
    bool regSetValue(RegRoot root, std::string_view key, std::string_view name,
                     const RegValue& value) override;
    bool regDeleteValue(RegRoot root, std::string_view key, std::string_view name) override;
    bool regDeleteKey(RegRoot root, std::string_view key) override;
    std::optional<std::vector<std::string>> regSubKeys(RegRoot root, std::string_view key) override;

    bool runAndWait(std::string_view commandLine, std::string_view folder) override;
    std::optional<std::string> runningProgram() override;
    // A hidden command processor (cmd.exe) that waits for the files to become deletable, at
    // most about two minutes, then deletes them and removes the folders.
    bool removeAfterExit(const std::vector<std::string>& paths) override;
    std::unique_ptr<Library> loadLibrary(std::string_view name) override;
    bool enableShutdownPrivilege() override;
    bool restart() override;

protected:
    // ExitWindowsEx with the reboot flag only; false when Windows refused.
    virtual bool rebootWindows();
};

// A Windows path in code page 1252 as a UTF-16 path; nullopt for a path that is not absolute,
// is 260 characters or longer, or names a device.
std::optional<std::wstring> widePath(std::string_view path);
// UTF-16 text in code page 1252 ('?' for what the code page lacks).
std::string narrowText(std::wstring_view text);
// Code page 1252 text in UTF-16.
std::wstring wideText(std::string_view text);

}  // namespace installer::system
