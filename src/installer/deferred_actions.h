#pragma once

// The system-integration and TeX-configuration steps that component programs queue while
// files are copied. Nothing here touches the machine: the list is performed after a
// successful copy (external programs, Start Menu, fonts, registry), and dropped after a
// failed or cancelled one.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace installer {

struct ExternalProgram {
    std::string commandLine;
    std::string folder;  // made current while the program runs
};

struct Shortcut {
    std::string target;
    std::string title;
    std::string iconFile;  // may be empty
    int iconIndex = 0;
};

struct StartMenuGroup {
    std::string name;
    std::vector<Shortcut> shortcuts;
};

struct FontRegistration {
    std::string valueName;  // ends in "(TrueType)"
    std::string file;       // ends in ".ttf"
};

struct RegistryEntry {
    std::string keyPath;  // root name + "\" + sub-key
    std::string valueName;
    int type = 3;  // 0 hex, 1 bin, 2 number, 3 string
    std::string data;
};

// One Type 1 font alias line, without its tag.
struct AliasLine {
    std::string line;
    bool replace = false;  // add or replace; otherwise add only when absent
};

class DeferredActions {
public:
    void queueProgram(std::string commandLine, std::string folder);
    void queueGroup(std::string name);
    // Into the last queued group; false when no group was queued yet.
    bool queueShortcut(std::string target, std::string title, std::string iconFile);
    // Appends "(TrueType)" to the name and ".ttf" to the file unless already there.
    void queueFont(std::string_view name, std::string_view file);
    void queueRegistryValue(std::string keyPath, std::string valueName, int type, std::string data);
    // Sorts an alias line into its list by its tag (KORVO, AR, AR3, AR4) and removes the
    // tag; a line with another tag, or none, is dropped (returns false).
    bool queueAlias(std::string_view line, bool replace);

    bool hasPrograms() const { return !firstRun.empty() || !secondRun.empty(); }
    bool hasGroups() const { return !groups.empty(); }
    bool empty() const;

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

}  // namespace installer
