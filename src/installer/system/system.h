#pragma once

// Every facility of the machine that the installer touches, behind one interface: files by
// Windows path, the registry, shell folders and shell links, drives, the Windows version,
// processes, libraries loaded by name and the restart. The sandbox implementation (sandbox/)
// plays a whole machine inside one folder; a Windows build makes the real calls.
//
// Paths are Windows paths in code page 1252 ("C:\TATTILO\BIN\INST.INI"), compared without
// regard to case; "/" is accepted as a separator. A path that is not absolute (drive letter,
// colon, backslash), that is longer than 259 characters, or that names a device fails like a
// missing file. No operation throws; each reports failure by its result.

#include <any>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace installer::system {

enum class DriveType { Unknown, NoRoot, Removable, Fixed, Remote, CdRom, RamDisk };

struct WindowsVersion {
    bool nt = true;  // Windows NT family (false: Windows 95/98)
    unsigned major = 5;
    unsigned minor = 1;
    unsigned build = 2600;
};

// A file's modification time in nanoseconds since 1970-01-01 UTC.
struct FileTime {
    std::int64_t nanoseconds = 0;
    bool operator==(const FileTime&) const = default;
};

// A wall-clock time of the machine's time zone, daylight saving unknown.
struct LocalTime {
    int year = 1980;
    int month = 1;  // 1..12
    int day = 1;    // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// An open file for reading. Destroying it closes it.
class ReadFile {
public:
    virtual ~ReadFile() = default;
    // Reads up to `size` bytes; 0 at the end of the file, nullopt on a read error.
    virtual std::optional<std::size_t> read(char* buffer, std::size_t size) = 0;
};

// An open file for writing. Destroying it closes it (without reporting); call close() to
// learn whether the data reached the disk.
class WriteFile {
public:
    virtual ~WriteFile() = default;
    // Writes all `size` bytes or fails. What was written survives the end of the process,
    // however it ends.
    virtual bool write(const char* data, std::size_t size) = 0;
    // Forces what was written so far onto the disk, so that it survives a power cut.
    virtual bool flush() = 0;
    virtual bool close() = 0;
};

// A library loaded by name. Its entry points are looked up by name and called with the
// signature the caller knows them by; one that is missing, or that the library offers with
// another signature, comes back empty. Destroying the object releases the library; the
// entry points must not be called afterwards.
class Library {
public:
    virtual ~Library() = default;

    template <typename Signature>
    std::function<Signature> entry(std::string_view name) {
        std::any found = lookUp(name);
        if (auto* callable = std::any_cast<std::function<Signature>>(&found)) {
            return *callable;
        }
        if (auto* raw = std::any_cast<RawEntry>(&found)) {
            return reinterpret_cast<Signature*>(*raw);
        }
        return {};
    }

protected:
    // The address of an entry point of a real library, to be cast to its signature.
    using RawEntry = void (*)();
    // The entry point `name`: a RawEntry (a real library), a std::function of its signature
    // (a stand-in), or an empty any when there is none.
    virtual std::any lookUp(std::string_view name) = 0;
};

// What a shell link (.lnk) holds.
struct ShellLink {
    std::string target;       // the file it opens, a Windows path
    std::string description;  // shown as the link's comment
    std::string iconFile;     // empty: the target's own icon
    int iconIndex = 0;
};

enum class RegRoot { ClassesRoot, CurrentUser, LocalMachine, Users };

// "HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_USERS".
std::string_view regRootName(RegRoot root);
// The root of a full name (any case); nullopt for another text.
std::optional<RegRoot> regRootFromName(std::string_view name);

// Registry value types, with the numbers Windows gives them.
enum RegType : std::uint32_t {
    kRegNone = 0,
    kRegSz = 1,
    kRegBinary = 3,
    kRegDword = 4,
};

struct RegValue {
    std::uint32_t type = kRegNone;
    // The value's bytes as the registry holds them (a REG_SZ with its terminating zero, a
    // REG_DWORD as four little-endian bytes).
    std::string data;
    bool operator==(const RegValue&) const = default;
};

enum class SpecialFolder {
    Programs,        // the user's Start Menu\Programs
    CommonPrograms,  // the all-users Start Menu\Programs (Windows NT)
    Desktop,         // the user's desktop
};

class System {
public:
    virtual ~System() = default;

    // Files and folders.
    virtual bool fileExists(std::string_view path) = 0;
    virtual bool folderExists(std::string_view path) = 0;
    virtual std::unique_ptr<ReadFile> openRead(std::string_view path) = 0;
    // Creates or truncates; fails when the folder is missing.
    virtual std::unique_ptr<WriteFile> openWrite(std::string_view path) = 0;
    virtual bool deleteFile(std::string_view path) = 0;
    // Renames a file; fails when `to` exists.
    virtual bool moveFile(std::string_view from, std::string_view to) = 0;
    // Renames a file over `to` in one step: afterwards `to` holds either its old bytes or all
    // of `from`'s, never a mixture, even after a power cut. `to` may be missing.
    virtual bool replaceFile(std::string_view from, std::string_view to) = 0;
    // Opens `path` for appending (made when missing) and holds an exclusive lock on it until
    // the file is closed or the process ends, however it ends. Null when the file cannot be
    // opened or another process holds the lock; `busy` then tells the second case.
    virtual std::unique_ptr<WriteFile> openLocked(std::string_view path, bool& busy) = 0;
    // Creates one folder; fails when it exists or its parent is missing.
    virtual bool createFolder(std::string_view path) = 0;
    // Removes an empty folder; fails when it holds anything.
    virtual bool removeFolder(std::string_view path) = 0;
    // Whether a running program holds the file (on Windows: it cannot be opened for writing
    // without sharing), so that removing it would not be clean. False for a missing file.
    virtual bool fileInUse(std::string_view path) = 0;
    // The names in a folder (files and folders), in no particular order.
    virtual std::optional<std::vector<std::string>> listFolder(std::string_view path) = 0;
    virtual std::optional<FileTime> fileTime(std::string_view path) = 0;
    virtual bool setFileTime(std::string_view path, FileTime time) = 0;
    // The machine's time for a wall-clock time of its zone; nullopt when it does not exist.
    virtual std::optional<FileTime> fromLocalTime(const LocalTime& time) = 0;

    // The machine.
    // The Windows directory, without a trailing backslash ("C:\WINDOWS").
    virtual std::string windowsDirectory() = 0;
    virtual WindowsVersion windowsVersion() = 0;
    // The user's default language identifier (1040 Italian, 1031 German, ...).
    virtual unsigned defaultLanguage() = 0;
    virtual std::optional<std::string> specialFolder(SpecialFolder folder) = 0;

    // Shell links. Writes a link file at `path` (a folder that exists; an existing file is
    // replaced); false when it cannot be written.
    virtual bool createShellLink(std::string_view path, const ShellLink& link) = 0;

    // Drives, by letter ('A'..'Z', either case).
    virtual DriveType driveType(char letter) = 0;
    // Bytes free to the caller; nullopt when the drive cannot be asked.
    virtual std::optional<std::uint64_t> freeBytes(char letter) = 0;
    // The file system's name ("NTFS", "FAT32", "FAT", ...); empty when unknown.
    virtual std::string fileSystemName(char letter) = 0;
    // Sectors per cluster times bytes per sector; nullopt when the drive cannot be asked.
    virtual std::optional<std::uint32_t> clusterBytes(char letter) = 0;

    // The registry. Key paths are below a root, elements separated by backslashes.
    virtual bool regKeyExists(RegRoot root, std::string_view key) = 0;
    // Whether the key exists and the user may change it.
    virtual bool regKeyWritable(RegRoot root, std::string_view key) = 0;
    // Creates the key and its missing parents; true when it exists afterwards and may be
    // changed.
    virtual bool regCreateKey(RegRoot root, std::string_view key) = 0;
    virtual std::optional<RegValue> regQueryValue(RegRoot root, std::string_view key,
                                                  std::string_view name) = 0;
    // Fails when the key is missing or may not be changed.
    virtual bool regSetValue(RegRoot root, std::string_view key, std::string_view name,
                             const RegValue& value) = 0;
    // True when the value is gone afterwards (also when it was never there).
    virtual bool regDeleteValue(RegRoot root, std::string_view key, std::string_view name) = 0;
    // Deletes a key that holds no values and no sub-keys; true when the key is gone
    // afterwards (also when it was never there), false when it holds anything.
    virtual bool regDeleteKey(RegRoot root, std::string_view key) = 0;
    // The names of the key's sub-keys, in no particular order; nullopt when the key is missing.
    virtual std::optional<std::vector<std::string>> regSubKeys(RegRoot root,
                                                               std::string_view key) = 0;

    // Processes: starts the command line with `folder` as the current folder (empty: keep
    // the current one) and waits for it to end. False when it cannot be started.
    virtual bool runAndWait(std::string_view commandLine, std::string_view folder) = 0;
    // The file of the running installer itself, when it lies on this machine (so that it may
    // be asked to remove it); nullopt otherwise.
    virtual std::optional<std::string> runningProgram() = 0;
    // Once this process has ended: deletes each file of `paths` (waiting a while for one that
    // is still in use) and removes each folder (a path ending in a backslash) that is empty
    // by then, in order. False when this machine cannot do that (nothing is done then).
    virtual bool removeAfterExit(const std::vector<std::string>& paths) = 0;

    // Libraries. `name` is a full Windows path, or a bare file name looked for where Windows
    // looks: the installer's own folder, then the Windows system folders. Null when the file
    // is missing or is not a library this machine can load.
    virtual std::unique_ptr<Library> loadLibrary(std::string_view name) = 0;

    // The restart. Windows NT needs the shutdown privilege first: false when it cannot be
    // had (Windows 95/98 need none and always get true).
    virtual bool enableShutdownPrivilege() = 0;
    // Asks Windows to restart (a plain reboot, nothing forced); false when it refused.
    virtual bool restart() = 0;
};

// Reads a file to its end, handing `take` each piece as it comes; false when it cannot be opened
// or read.
bool readInPieces(System& sys, std::string_view path,
                  const std::function<void(std::string_view piece)>& take);
// The whole content of a file; nullopt when it cannot be opened or read.
std::optional<std::string> readWholeFile(System& sys, std::string_view path);

}  // namespace installer::system
