#pragma once

// The undo log of one installation: every folder and file it created, a backup of every file
// it changed, overwrote or deleted, and the old state of every registry value and key it set.
// Rolling back puts the machine back exactly as it was; committing deletes the backups.
//
// Each change is recorded before it is made, in memory and, once startJournal() has been
// called, in the journal file on disk (journal.h), so that the next run of the installer can
// roll back an installation that a crash or a power cut interrupted (recovery.h). Every record
// is written to the file before its change; the records that guard something that existed
// before (a file moved or copied aside, a registry value about to be replaced, the commit)
// are also forced onto the disk first.
//
// Backups live beside their file: "un" + a six-digit counter + ".tmp" (the counter starts at 0
// and is shared by the whole run; a name that is taken is skipped, and no name is used twice,
// so that undoing the journal twice can never put one backup in another's place). A file
// about to be overwritten is moved to its backup name; a file about to be changed in place is
// first copied there.
//
// Used by the installation thread while it copies and by the window thread after it ended;
// never by both at once. Failures raise CError (4 for a file, folder or journal that cannot
// be written, 10 for a backup copy that fails) naming the path. Once a journal write has
// failed, every later change is refused with CError 4 (only the rollback goes on).

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "installer/journal/journal.h"
#include "installer/system/system.h"

namespace installer {

class UndoLog {
public:
    // `windowsDirectory` is never removed by a rollback.
    UndoLog(system::System& sys, std::string windowsDirectory);
    ~UndoLog();

    // Keeps the journal on disk from here on, at `path` (a new file, locked while the
    // installation runs). Raises CError 4 with the path when it cannot be made, when another
    // installation holds it, or when it already holds an interrupted installation.
    void startJournal(std::string path, std::string_view productName);
    // Called after each record has been written and before its change is made, with the
    // record's number from 1: lets a test stop the process at any change.
    void setRecordHook(std::function<void(std::size_t)> hook) { hook_ = std::move(hook); }

    // Creates `folder` and each missing parent, journalling each one created.
    void createFolders(std::string_view folder);

    // Records `path` as a new file when it does not exist yet; returns whether it did not.
    bool isNewFile(std::string_view path);
    // Moves an existing file aside before it is overwritten.
    void backUp(std::string_view path);
    // Copies a file that is about to be changed in place, before its first change.
    void backUpPersistently(std::string_view path);

    // Journals a file that is about to be written: new, or moved aside when it exists. A file
    // already journalled in this run needs nothing more. Raises CError 4 for one of this
    // run's own backups.
    void prepareOverwrite(std::string_view path);
    // Journals a file that is about to be changed in place: copied aside when it exists, else
    // new. Nothing when already journalled.
    void prepareChange(std::string_view path);
    // Deletes a file so that a rollback brings it back; false when it could not be deleted
    // (nothing changed then).
    bool removeFile(std::string_view path);

    // Creates a registry key and its missing parents, journalling each one created; false
    // when it cannot be created.
    bool createRegistryKey(system::RegRoot root, std::string_view key);
    // Journals the current state of a registry value that is about to be set.
    void prepareRegistryValue(system::RegRoot root, std::string_view key, std::string_view name);

    // The removal of a product (an uninstallation). Marks the journal as a removal's; call
    // before anything else.
    void startRemoval();
    // Deletes a registry value so that a rollback brings it back; false when it could not be
    // deleted (nothing changed then).
    bool removeRegistryValue(system::RegRoot root, std::string_view key, std::string_view name);
    // Deletes a registry key that holds nothing (a rollback makes it again); false when it
    // holds something or cannot be deleted.
    bool removeRegistryKey(system::RegRoot root, std::string_view key);
    // Removes `folder` at the commit, when it is empty by then (after the backups of the files
    // removed from it have gone).
    void removeFolderAtCommit(std::string_view folder);

    // The position of the next change, for undoing the changes made after it.
    std::size_t mark() const { return records_.size(); }
    // Undoes every change made after `mark` (never raises; keeps going past failures).
    void rollBackTo(std::size_t mark);

    // Deletes every backup, removes the folders of removeFolderAtCommit() that are empty and
    // forgets the journal (and deletes its file). A backup that cannot be deleted (the
    // running program's own file, moved aside) stays, with the journal, which says that the
    // change is complete: leftovers() then names what is left, and the next run of the
    // installer finishes the commit. False in that case.
    bool commit();
    // What the last commit could not finish: backups still there, then the folders still to be
    // removed; empty after a complete commit.
    const std::vector<std::string>& leftovers() const { return leftovers_; }
    // Undoes everything in reverse order; removes created folders longest first (a folder
    // that is not empty stays). Never raises; keeps going past failures. The journal file is
    // deleted when everything was undone; otherwise it stays for the next run to try again,
    // and the result is false.
    bool rollBack();

    const std::vector<std::string>& createdFolders() const { return folders_; }
    // Every change recorded so far, in order.
    const std::vector<JournalRecord>& records() const { return records_; }
    // The journal file; empty while the log is kept in memory only.
    const std::string& journalPath() const { return journalPath_; }

private:
    // Writes the record (to the journal too) before its change.
    void record(JournalRecord r);
    bool journalled(std::string_view path) const;
    std::string nextBackupName(std::string_view folder);
    void forget();
    void closeJournal(bool deleteFile);

    system::System& sys_;
    std::string windows_;
    std::vector<JournalRecord> records_;
    std::vector<std::string> folders_;
    // Upper-case paths of journalled files and of this run's backups, and journalled values.
    std::unordered_set<std::string> files_;
    std::unordered_set<std::string> backups_;
    std::unordered_set<std::string> values_;
    std::uint32_t counter_ = 0;
    std::string journalPath_;
    std::unique_ptr<system::WriteFile> journal_;
    bool journalBroken_ = false;  // a write failed: nothing more may be recorded
    std::size_t written_ = 0;
    std::function<void(std::size_t)> hook_;
    std::vector<std::string> leftovers_;
};

}  // namespace installer
