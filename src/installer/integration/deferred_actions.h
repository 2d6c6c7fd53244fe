#pragma once

// The system-integration and TeX-configuration steps that component programs queue while
// files are copied. Queueing touches nothing; after a successful copy the list is performed:
// the external programs on their own thread (external_programs.h), then, on the window
// thread, the Start Menu, fonts and registry values (success_steps.h). After a failed or
// cancelled copy it is dropped unperformed.
//
// Each entry knows how to perform itself and how to undo what it did. Every change an entry
// makes to the machine goes through the undo log first, so that a rollback (or the recovery
// after a crash) takes it back; undo() takes back one entry at once, for a step that fails
// half-way.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "installer/prompter.h"
#include "installer/system/system.h"

namespace installer {

class UndoLog;

// What performing an entry needs.
struct IntegrationContext {
    system::System& sys;
    UndoLog& undo;
    Prompter& prompter;
    std::string caption;  // AppName + " Install"
    // The Programs folder the groups go in, looked up once by the first group.
    std::optional<std::string> programsFolder;
};

class DeferredEntry {
public:
    virtual ~DeferredEntry() = default;
    // Raises CError when a change cannot be journalled; other failures are the entry's own
    // (see each kind).
    virtual void perform(IntegrationContext& context) = 0;
    // Takes back what perform() did; by default there is nothing to take back at once.
    virtual void undo(IntegrationContext&) {}
};

// A program to run after copying: started with `folder` as the current folder and waited
// for. One that cannot be started is reported ("Can not execute " + command line, warning)
// and the run goes on; perform() returns nothing either way.
struct ExternalProgram : DeferredEntry {
    std::string commandLine;
    std::string folder;

    ExternalProgram(std::string command, std::string in)
        : commandLine(std::move(command)), folder(std::move(in)) {}
    void perform(IntegrationContext& context) override;
    // Whether the last perform() could start the program.
    bool started = false;
};

struct Shortcut {
    std::string target;
    std::string title;
    std::string iconFile;  // may be empty
    int iconIndex = 0;
};

// A Start Menu group: a folder under the Programs folder with one link per shortcut. When
// the target of a shortcut ends in "WKORVO.EXE", the link is also copied to the desktop.
// perform() raises CError 7 when the shell's folders cannot be reached or a link cannot be
// written; undo() takes back every folder and link it made.
struct StartMenuGroup : DeferredEntry {
    std::string name;
    std::vector<Shortcut> shortcuts;

    explicit StartMenuGroup(std::string groupName) : name(std::move(groupName)) {}
    void perform(IntegrationContext& context) override;
    void undo(IntegrationContext& context) override;

private:
    std::optional<std::size_t> mark_;
};

// A TrueType font: registered in the system fonts key when its file exists (a bare name is a
// file of the Windows fonts folder), else left out.
struct FontRegistration : DeferredEntry {
    std::string valueName;  // ends in "(TrueType)"
    std::string file;       // ends in ".ttf"

    FontRegistration(std::string name, std::string fontFile)
        : valueName(std::move(name)), file(std::move(fontFile)) {}
    void perform(IntegrationContext& context) override;
    // Whether the last perform() registered the font.
    bool registered = false;
};

// A registry value: the root is the first of "HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER",
// "HKEY_LOCAL_MACHINE", "HKEY_USERS" that starts with the text before the first backslash
// (compared exactly). A key path without a backslash or with an unknown root, and a key that
// cannot be created, are skipped without a word.
struct RegistryEntry : DeferredEntry {
    std::string keyPath;  // root name + "\" + sub-key
    std::string valueName;
    int type = 3;  // 0 hex, 1 bin, 2 number, 3 string
    std::string data;

    RegistryEntry(std::string key, std::string name, int valueType, std::string valueData)
        : keyPath(std::move(key)),
          valueName(std::move(name)),
          type(valueType),
          data(std::move(valueData)) {}
    void perform(IntegrationContext& context) override;
    // Whether the last perform() wrote the value.
    bool written = false;
};

// One Type 1 font alias line, without its tag.
struct AliasLine {
    std::string line;
    bool replace = false;  // add or replace; otherwise add only when absent
};

class DeferredActions {
public:
    // The external-program list. A command line that holds a word starting with "&" goes to
    // the second run, any other to the first; each run keeps the order of queueing. Both
    // runs are performed, first then second, by runExternalPrograms (external_programs.h)
    // after a successful copy, each program in its folder and waited for. Component
    // programs (operation 210) and the TeX system's finishing steps queue here.
    void queueProgram(std::string commandLine, std::string folder);
    bool hasPrograms() const { return !firstRun.empty() || !secondRun.empty(); }

    void queueGroup(std::string name);
    // Into the last queued group; false when no group was queued yet.
    bool queueShortcut(std::string target, std::string title, std::string iconFile);
    bool hasGroups() const { return !groups.empty(); }
    // Appends "(TrueType)" to the name and ".ttf" to the file unless already there (any
    // case).
    void queueFont(std::string_view name, std::string_view file);
    void queueRegistryValue(std::string keyPath, std::string valueName, int type, std::string data);
    // Sorts an alias line into its list by its tag (KORVO, AR, AR3, AR4) and removes the
    // tag; a line with another tag, or none, is dropped (returns false).
    bool queueAlias(std::string_view line, bool replace);

    std::vector<ExternalProgram> firstRun;
    std::vector<ExternalProgram> secondRun;
    std::vector<StartMenuGroup> groups;
    std::vector<FontRegistration> fonts;
    std::vector<RegistryEntry> registryValues;
    std::vector<AliasLine> texAliases;      // tag KORVO
    std::vector<AliasLine> readerAliases;   // tag AR: both PDF readers
    std::vector<AliasLine> reader3Aliases;  // tag AR3
    std::vector<AliasLine> reader4Aliases;  // tag AR4
};

// The type index of a registry type word ("hex", "bin", "number", "string", any case), or
// nullopt for another word.
std::optional<int> registryTypeIndex(std::string_view word);

// The value a registry entry stores: its type and bytes (see the table in RegistryEntry).
system::RegValue registryValueOf(int type, std::string_view data);

// The root and sub-key of a key path by the rule of RegistryEntry; nullopt when skipped.
std::optional<std::pair<system::RegRoot, std::string>> splitKeyPath(std::string_view keyPath);

}  // namespace installer
