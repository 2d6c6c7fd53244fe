#pragma once

// Helpers of the installer tests: sandboxes in temporary folders, package and component
// program builders, snapshots of a sandbox, a fault-injecting system, a recording sink and a
// scripted prompter.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "installer/progress_sink.h"
#include "installer/prompter.h"
#include "installer/system/sandbox/sandbox_system.h"
#include "installer/system/system.h"

namespace installer::test {

// A fresh folder under the system's temporary folder, removed on destruction.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// A default sandbox machine in a temporary folder.
struct Sandbox {
    TempDir dir;
    std::unique_ptr<system::SandboxSystem> sys;
    Sandbox();
    // Re-reads sandbox.ini (after a test changed it).
    void reload();
    // Appends lines to sandbox.ini and reloads.
    void configure(const std::string& iniText);
    std::filesystem::path host(const std::string& relative) const { return dir.path() / relative; }
};

std::string readHost(const std::filesystem::path& path);
void writeHost(const std::filesystem::path& path, const std::string& bytes);

// Every file (with its bytes) and folder below `root`, by relative path.
std::map<std::string, std::string> snapshot(const std::filesystem::path& root);

// What `lnkinfo` (liblnk-utils, an independent reader of shell links) prints for `link`;
// nullopt when it is not installed.
std::optional<std::string> lnkinfo(const std::filesystem::path& link);

// Builds package record streams.
struct PackageBuilder {
    std::string bytes;
    PackageBuilder& folder(const std::string& name);
    PackageBuilder& skip(char kind, const std::string& text);
    PackageBuilder& padding();
    PackageBuilder& quit();
    // A member; method 8 deflates (raw), 0 stores. `date`/`time` in MS-DOS form.
    PackageBuilder& member(const std::string& name, const std::string& data, int method = 8,
                           std::uint16_t date = 0x5462, std::uint16_t time = 0x4C20,
                           const std::string& extra = {});
    // A member with its header fields given as they are (for damaged headers).
    PackageBuilder& rawMember(const std::string& name, const std::string& packed,
                              std::uint16_t method, std::uint32_t crc, std::uint32_t compressed,
                              std::uint32_t uncompressed);
};

std::string deflateRaw(const std::string& data);
std::uint32_t crcOf(const std::string& data);

// Builds component programs.
struct ProgramBuilder {
    std::string bytes = "QKIP";
    ProgramBuilder& op(int code, std::vector<std::string> operands = {});
    std::string end() const { return bytes + '\xFF'; }
};

// Operations whose failure the fault-injecting system can force.
enum class Fault {
    OpenRead,
    OpenWrite,
    Read,
    Write,
    Close,
    Delete,
    Move,
    CreateFolder,
    SetTime,
    Flush,
    Replace,
    Registry,
    Link,
};

// Forwards to another system and fails the Nth operation of the chosen kinds (counted
// together), once. It can also watch the journal: every change of the machine must then be
// announced by a journal record before it is made.
class FaultySystem : public system::System {
public:
    explicit FaultySystem(system::System& inner) : inner_(inner) {}

    // Fail the `n`th (1-based) operation among `kinds`; 0 disables.
    void failAt(std::size_t n, std::vector<Fault> kinds);
    void disarm() { target_ = 0; }
    std::size_t count() const { return count_; }
    bool fired() const { return fired_; }
    Fault firedKind() const { return firedKind_; }

    // From now on, the journal at `journalPath` (written through this system) must name every
    // file and folder before it is written, created, moved, deleted or given a time, and every
    // registry key and value before it is created, set or deleted. Each change it does not
    // name is noted ("openWrite C:\X\Y") in unjournalled(); the journal itself is exempt.
    void watchJournal(std::string journalPath);
    const std::vector<std::string>& unjournalled() const { return unjournalled_; }
    // What the journal file was given to write.
    void journalWritten(const char* data, std::size_t size);

    bool fileExists(std::string_view path) override { return inner_.fileExists(path); }
    bool folderExists(std::string_view path) override { return inner_.folderExists(path); }
    std::unique_ptr<system::ReadFile> openRead(std::string_view path) override;
    std::unique_ptr<system::WriteFile> openWrite(std::string_view path) override;
    bool deleteFile(std::string_view path) override;
    bool moveFile(std::string_view from, std::string_view to) override;
    bool replaceFile(std::string_view from, std::string_view to) override;
    std::unique_ptr<system::WriteFile> openLocked(std::string_view path, bool& busy) override;
    bool createFolder(std::string_view path) override;
    bool removeFolder(std::string_view path) override {
        expectFile("removeFolder", path);
        return inner_.removeFolder(path);
    }
    bool fileInUse(std::string_view path) override { return inner_.fileInUse(path); }
    std::optional<std::vector<std::string>> listFolder(std::string_view path) override {
        return inner_.listFolder(path);
    }
    std::optional<system::FileTime> fileTime(std::string_view path) override {
        return inner_.fileTime(path);
    }
    bool setFileTime(std::string_view path, system::FileTime time) override;
    std::optional<system::FileTime> fromLocalTime(const system::LocalTime& time) override {
        return inner_.fromLocalTime(time);
    }
    std::string windowsDirectory() override { return inner_.windowsDirectory(); }
    system::WindowsVersion windowsVersion() override { return inner_.windowsVersion(); }
    unsigned defaultLanguage() override { return inner_.defaultLanguage(); }
    std::optional<std::string> specialFolder(system::SpecialFolder f) override {
        return inner_.specialFolder(f);
    }
    bool createShellLink(std::string_view path, const system::ShellLink& link) override {
        expectFile("createShellLink", path);
        return !hit(Fault::Link) && inner_.createShellLink(path, link);
    }
    system::DriveType driveType(char l) override { return inner_.driveType(l); }
    std::optional<std::uint64_t> freeBytes(char l) override { return inner_.freeBytes(l); }
    std::string fileSystemName(char l) override { return inner_.fileSystemName(l); }
    std::optional<std::uint32_t> clusterBytes(char l) override { return inner_.clusterBytes(l); }
    bool regKeyExists(system::RegRoot r, std::string_view k) override {
        return inner_.regKeyExists(r, k);
    }
    bool regKeyWritable(system::RegRoot r, std::string_view k) override {
        return inner_.regKeyWritable(r, k);
    }
    bool regCreateKey(system::RegRoot r, std::string_view k) override {
        expectKey("regCreateKey", r, k);
        return !hit(Fault::Registry) && inner_.regCreateKey(r, k);
    }
    std::optional<system::RegValue> regQueryValue(system::RegRoot r, std::string_view k,
                                                  std::string_view n) override {
        return inner_.regQueryValue(r, k, n);
    }
    bool regSetValue(system::RegRoot r, std::string_view k, std::string_view n,
                     const system::RegValue& v) override {
        expectValue("regSetValue", r, k, n);
        return !hit(Fault::Registry) && inner_.regSetValue(r, k, n, v);
    }
    bool regDeleteValue(system::RegRoot r, std::string_view k, std::string_view n) override {
        expectValue("regDeleteValue", r, k, n);
        return !hit(Fault::Registry) && inner_.regDeleteValue(r, k, n);
    }
    bool regDeleteKey(system::RegRoot r, std::string_view k) override {
        expectKey("regDeleteKey", r, k);
        return !hit(Fault::Registry) && inner_.regDeleteKey(r, k);
    }
    std::optional<std::vector<std::string>> regSubKeys(system::RegRoot r,
                                                       std::string_view k) override {
        return inner_.regSubKeys(r, k);
    }
    bool runAndWait(std::string_view c, std::string_view f) override {
        return inner_.runAndWait(c, f);
    }
    std::optional<std::string> runningProgram() override { return inner_.runningProgram(); }
    bool removeAfterExit(const std::vector<std::string>& paths) override {
        return inner_.removeAfterExit(paths);
    }
    std::unique_ptr<system::Library> loadLibrary(std::string_view name) override {
        return inner_.loadLibrary(name);
    }
    bool enableShutdownPrivilege() override { return inner_.enableShutdownPrivilege(); }
    bool restart() override { return inner_.restart(); }

    // Whether this operation fails (counts it).
    bool hit(Fault kind);

private:
    // Notes the change `what` of `path` when the journal does not name it.
    void expectFile(std::string_view what, std::string_view path);
    void expectKey(std::string_view what, system::RegRoot root, std::string_view key);
    void expectValue(std::string_view what, system::RegRoot root, std::string_view key,
                     std::string_view name);
    void readJournal();

    std::string journalPath_;
    std::string journalText_;
    std::size_t journalRead_ = 0;  // bytes of journalText_ taken into the sets below
    std::string journalHeader_;
    std::set<std::string> knownFiles_;   // upper case, folders with a trailing backslash
    std::set<std::string> knownKeys_;    // root\key, upper case
    std::set<std::string> knownValues_;  // root\key<TAB>name, upper case
    std::vector<std::string> unjournalled_;
    system::System& inner_;
    std::vector<Fault> kinds_;
    std::size_t target_ = 0;
    std::size_t count_ = 0;
    bool fired_ = false;
    Fault firedKind_ = Fault::OpenRead;
};

// Records what the job shows; answers disk prompts from a script; can request cancel at the
// Nth call of any operation.
class RecordingSink : public ProgressSink {
public:
    std::vector<std::string> lines;    // "begin:LABEL", "creating:PATH", "status:TEXT", ...
    std::vector<int> locationAnswers;  // used in order; Skip when exhausted
    std::string typedLocation;         // what the user types at the prompt (when not empty)
    std::size_t cancelAtCall = 0;      // 0: never
    std::size_t calls = 0;
    std::uint64_t advanced = 0;
    std::int64_t total = -1;
    bool cancel = false;

    int askLocation(std::string& path, std::string_view label) override;
    void setTotal(std::int64_t kb) override;
    void beginComponent(std::string_view label, std::int64_t kb) override;
    void advance(std::uint64_t bytes) override;
    void endComponent() override;
    void showCopying(std::string_view path) override;
    void showCreating(std::string_view path) override;
    void showStatus(std::string_view text) override;
    void warning(std::string_view text) override;
    bool isCancelRequested() override { return cancel; }
    void configureHyphenation(std::string_view) override { lines.push_back("hyphenation"); }

    bool has(const std::string& line) const;

private:
    void step();
};

// Answers message boxes from a script (default: OK / Yes) and records them.
class ScriptedPrompter : public Prompter {
public:
    struct Shown {
        std::string text;
        std::string caption;
        Icon icon;
        Buttons buttons;
    };
    std::vector<Shown> shown;
    std::vector<Answer> answers;  // used in order for OK/Cancel and Yes/No questions
    bool agree = true;
    int licenses = 0;

    Answer message(std::string_view text, std::string_view caption, Icon icon,
                   Buttons buttons) override;
    bool license(std::string_view text) override;
};

}  // namespace installer::test
