#pragma once

// The product's settings file (an INI file the component programs fill in) and the register
// of installed files (BIN\INST.INI). Both are read and written through the system layer. A
// write that does not reach the disk raises CError 4 with the file's path, so that a lost
// setting fails the installation instead of passing unnoticed.

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "installer/profile.h"
#include "installer/system/system.h"

namespace installer {

class UndoLog;

// The settings file of a product. Every value written through it has each "!" replaced by
// the root folder (the install path, ending in a backslash).
class SettingsFile {
public:
    // An empty `path` raises CError 11 at the first use.
    SettingsFile(system::System& sys, std::string path, std::string root);
    virtual ~SettingsFile() = default;

    // Makes the file's initial content (this kind: nothing).
    virtual void create();
    // section/key = value.
    virtual void set(std::string_view section, std::string_view key, std::string_view value);
    // section/key = old value + ";" (unless empty or already ending in ";") + value; nothing
    // when the ";" list already holds the value (compared without regard to case, and to a
    // trailing backslash).
    virtual void append(std::string_view section, std::string_view key, std::string_view value);
    // Adds root + `folder` (ending in a backslash) to [Directories] INCDIR, ";"-separated.
    void appendFolder(std::string_view folder);

    const std::string& path() const { return path_; }
    const std::string& root() const { return root_; }

protected:
    std::string expand(std::string_view value) const;
    Profile load() const;
    void save(const Profile& profile) const;

    system::System& sys_;

private:
    std::string path_;
    std::string root_;
};

// The installed-files register: for every file written, key (name up to its first dot) = "1"
// in section "INSTALLED-" + (text after its last dot). Files are recorded in memory and the
// register is written once, by save(), so that installing N files costs time linear in N. It
// is written whole into a new file beside it, forced onto the disk, and then put in its
// place, so that a crash leaves the old register or the new one, never a part. Its folder is
// created (and journalled) when missing.
class InstalledRegister {
public:
    InstalledRegister(system::System& sys, UndoLog& undo, std::string path);

    // Reads the existing register (CError 3 when it exists and cannot be read).
    void load();
    // Records the file (only its name counts).
    void record(std::string_view file);
    // Writes the register with every file recorded (CError 4 when it cannot be written).
    void save();
    // The register as save() writes it.
    std::string text() const;
    const std::string& path() const { return path_; }

private:
    void merge();

    system::System& sys_;
    UndoLog& undo_;
    std::string path_;
    Profile profile_;
    std::vector<Profile::Entry> pending_;
    std::unordered_set<std::string> recorded_;  // upper-case section and key
};

}  // namespace installer
