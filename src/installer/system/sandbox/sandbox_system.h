#pragma once

// A whole Windows machine inside one folder, for the tests and for `instello --unattended`:
//
//   SANDBOX/sandbox.ini     the machine: Windows folder, version, language, shell folders,
//                           one [Drive X] section per drive (type, file system, free bytes,
//                           cluster size, serial number, optionally a host folder and
//                           ReadOnly=1) and [Restart] (ShutdownPrivilege=0 and Refuse=1 make
//                           the two restart steps fail; Requested counts the restarts asked
//                           for, which are never done)
//   SANDBOX/registry.reg    the registry, in the REGEDIT4 export format
//   SANDBOX/C/ ...          drive C: (each drive letter is a folder unless mapped elsewhere)
//   SANDBOX/processes.log   the programs the installer asked to run (they are not run; with
//                           [Programs] RunMilliseconds=N in sandbox.ini each one takes N ms)
//
// A file of the sandbox counts as in use by a running program while a process of the host
// holds an flock lock on it (as a running program holds its files on Windows).
//
// Shell links are written as real .lnk files. Libraries are played by stand-ins registered by
// file name (stand_in_library.h).
//
// Windows paths are mapped element by element to the host folders, matching existing names
// without regard to case; ".." never climbs above a drive's root. The names of a folder are
// read once, into an index by upper-case name that the sandbox's own changes keep up to date,
// so that looking up a name costs the same in a folder of fifty thousand files as in an empty
// one; a change made behind the sandbox's back (another process, a test writing host files)
// is seen once it shows in the folder's modification time. The registry file is read once and
// written back whole after every change. The folder index has a lock of its own; nothing else
// here is shared between threads except through the installer's own locking (one
// installation thread at a time).

#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>

#include "installer/profile.h"
#include "installer/system/sandbox/registry_file.h"
#include "installer/system/sandbox/stand_in_library.h"
#include "installer/system/system.h"

namespace installer::system {

class SandboxSystem : public System {
public:
    // Opens the sandbox at `root`. When `root` has no sandbox.ini, a default machine is made
    // there first (see makeDefaultMachine). Throws std::runtime_error when the folder cannot
    // be made or read.
    explicit SandboxSystem(const std::filesystem::path& root);

    // Writes a default machine into `root` (which may exist): Windows XP (NT 5.1, build 2600),
    // Italian (1040), C:\WINDOWS, a fixed NTFS drive C: with 4096-byte clusters and 8 GiB
    // free, the shell folders, and a registry holding the system fonts key.
    static void makeDefaultMachine(const std::filesystem::path& root);

    // Maps a host folder as drive `letter` (a read-only CD-ROM drive unless `writable`), for
    // this run only. Returns false when the letter is taken.
    bool mountFolder(char letter, const std::filesystem::path& folder, bool writable);
    // The first letter from D: on that has no drive.
    std::optional<char> freeDriveLetter() const;

    // The folder of the running installer (a Windows path), where libraries given by a bare
    // name are looked for first.
    void setProgramFolder(std::string folder) { programFolder_ = std::move(folder); }
    // Plays the library with the file name `fileName` (any case) by what `make` returns.
    void registerLibrary(std::string fileName, StandInFactory make);
    // The system the stand-in libraries do their work through: the sandbox itself, unless a
    // wrapper around it (a test's) names itself here so that what they write passes through it
    // too. `sys` must outlive the libraries loaded afterwards.
    void setLibrarySystem(System* sys) { librarySystem_ = sys; }

    const std::filesystem::path& root() const { return root_; }
    // The host path a Windows path maps to; nullopt for an invalid path or a missing drive.
    std::optional<std::filesystem::path> hostPath(std::string_view path) const;

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
    // The installer runs on the host, never from a drive of the sandbox.
    std::optional<std::string> runningProgram() override { return std::nullopt; }
    bool removeAfterExit(const std::vector<std::string>&) override { return false; }
    std::unique_ptr<Library> loadLibrary(std::string_view name) override;
    bool enableShutdownPrivilege() override;
    bool restart() override;

private:
    struct Drive {
        DriveType type = DriveType::Unknown;
        std::string fileSystem;
        std::optional<std::uint64_t> freeBytes;
        std::optional<std::uint32_t> clusterBytes;
        std::filesystem::path folder;
        bool readOnly = false;
        std::uint32_t serial = 0;
    };
    const Drive* drive(char letter) const;
    // The host path of a writable place (false for read-only drives).
    std::optional<std::filesystem::path> writablePath(std::string_view path) const;
    bool writeRegistry();
    void appendLog(const char* name, const std::string& line);

    // The name in the host `folder` that equals `name` without regard to case, or `name`
    // itself when there is none; nullopt when the folder is not there. Under indexLock_.
    std::optional<std::string> entryName(const std::filesystem::path& folder,
                                         const std::string& name) const;
    // The sandbox made or removed the host entry `host`: its folder's index follows.
    void noteAdded(const std::filesystem::path& host) const;
    void noteRemoved(const std::filesystem::path& host) const;

    // The names of one host folder, by upper-case name, as they were when the folder had the
    // modification time `modified`.
    struct FolderIndex {
        std::filesystem::file_time_type modified;
        std::unordered_map<std::string, std::string> names;
    };
    void refreshTime(std::unordered_map<std::string, FolderIndex>::iterator it) const;

    std::filesystem::path root_;
    Profile settings_;
    RegistryFile registry_;
    std::map<char, Drive> drives_;
    std::string programFolder_;
    std::map<std::string, StandInFactory> libraries_;  // by upper-case file name
    System* librarySystem_ = nullptr;
    mutable std::mutex indexLock_;
    mutable std::unordered_map<std::string, FolderIndex> index_;  // by host folder
    // Host folders already found, by drive letter and upper-case elements ("C\INST\BIN").
    mutable std::unordered_map<std::string, std::filesystem::path> folders_;
};

}  // namespace installer::system
