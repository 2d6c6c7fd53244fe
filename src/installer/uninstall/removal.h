#pragma once

// The removal of an installed product by its record (install_record.h): exactly what the
// installation made, and no more, in this order:
//   1. the files it installed, unless the user changed one since (it stays);
//   2. the folders it created, once they are empty (at the commit, after the files' backups);
//   3. the Start Menu shortcuts (their group is one of the folders);
//   4. the fonts: a font's registration goes with its file; a file below the Windows folder
//      goes only when no other product uses it any more (its SharedDLLs count reaches zero),
//      else the count drops by one and file and registration stay;
//   5. the registry values it set (a value that was there before the product comes back as it
//      was); 6. the record itself; 7. the product's entry in the list of programs; then the
//      registry keys it created, each after those below it, when they hold nothing else.
// Everything is journalled as an installation is (undo_log.h), in the journal marked as a
// removal's: a cancel, a failure or a crash before the commit puts back every file, value and
// key byte for byte; after the commit the next run only finishes it. A file that a running
// program holds is never removed half-way: the removal asks (retryInUse) and stops cleanly.
//
// The removal runs on a thread of its own; the sink and retryInUse are called there.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "installer/journal/undo_log.h"
#include "installer/system/system.h"
#include "installer/uninstall/install_record.h"

namespace installer {

// What the removal tells the user as it goes.
class RemovalSink {
public:
    virtual ~RemovalSink() = default;
    virtual void setSteps(std::size_t steps) = 0;
    // A step begins; `text` says what it removes.
    virtual void step(std::string_view text) = 0;
    // Reads the cancel flag (waits while the user is being asked).
    virtual bool isCancelRequested() = 0;
};

// The removal stopped at a file that a running program holds.
struct FileInUseError {
    std::string path;
};

struct RemovalSettings {
    std::string journalPath;  // empty: the journal is kept in memory only
    std::string recordPath;   // the record's own file, removed with the rest
    // A file is in use: true to look again (the user closed the program), false to stop.
    std::function<bool(const std::string& path)> retryInUse;
};

class Removal {
public:
    // Looks at the machine: which files are unchanged (they go) and which the user changed.
    Removal(system::System& sys, RemovalSink& sink, InstallRecord record, RemovalSettings settings);

    const InstallRecord& record() const { return record_; }
    // The files the removal deletes, in order.
    std::vector<std::string> filesToRemove() const;
    // The first of them that a running program holds, the running installer's own file
    // excepted (it is moved aside while it runs and deleted once it has ended).
    std::optional<std::string> fileInUse();

    // Removes; returns on success with the journal open for commit() or rollBack(). Raises
    // CError (8 when cancelled, 4 for a change that fails) or FileInUseError.
    void run();
    // The removal is complete: the backups go, then the empty folders. False when something
    // is left that only the end of this process frees (see UndoLog::commit()).
    bool commit();
    // Puts everything back; false when something could not be (the journal stays).
    bool rollBack();

    // After the commit: the folders that still hold files the user made or changed (those of
    // the installation and any folder in them), sorted.
    std::vector<std::string> keptFolders();
    const std::vector<std::string>& leftovers() const { return undo_.leftovers(); }
    UndoLog& undo() { return undo_; }

private:
    struct Shared {
        std::string path;
        std::uint32_t users = 1;
        bool changed = false;
    };
    void plan();
    void step(std::string_view text);
    void removeFile(const std::string& path);
    void restoreValue(const RecordEntry& value);
    bool inEntry(const RecordEntry& e) const;
    bool isFontValue(const RecordEntry& e) const;
    bool goesAway(const std::string& path) const;

    system::System& sys_;
    RemovalSink& sink_;
    InstallRecord record_;
    RemovalSettings settings_;
    UndoLog undo_;
    std::optional<std::string> running_;
    std::string fontsKey_;
    std::string entryKey_;
    // The plan.
    std::vector<std::string> files_;
    std::vector<std::string> shortcuts_;
    std::vector<std::string> kept_;
    std::vector<Shared> shared_;
};

}  // namespace installer
