#pragma once

// The journal of one installation: every folder it created, every file it created, and a
// backup of every file it changed, overwrote or deleted. Rolling back puts the machine back
// exactly as it was; committing deletes the backups.
//
// Backups live beside their file: "un" + a six-digit counter + ".tmp" (the counter starts at 0
// and is shared by the whole run; a name that is already taken is skipped). A file about to
// be overwritten is first moved aside to "instundo.tmp" in its folder (or straight to the next
// "un" name when that name is taken); once the new file is complete the backup takes an "un"
// name of its own and is kept until commit.
//
// Used by the installation thread while it runs and by the window thread after it ended;
// never by both at once. Failures raise CError (4 for a file or folder that cannot be
// written, 10 for a backup copy that fails) naming the path.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "installer/system/system.h"

namespace installer {

class UndoLog {
public:
    // `windowsDirectory` is never removed by a rollback.
    UndoLog(system::System& sys, std::string windowsDirectory);

    // Creates `folder` and each missing parent, journalling each one created.
    void createFolders(std::string_view folder);
    // Journals a folder created by someone else (no duplicates, case ignored).
    void journalFolder(std::string_view folder);

    // Records `path` as a new file when it does not exist yet; returns whether it did not.
    bool isNewFile(std::string_view path);
    // Moves an existing file aside before it is overwritten (transient backup).
    void backUp(std::string_view path);
    // The file written after backUp() is complete: its backup is kept until commit.
    void commitBackup();
    // Copies a file that is about to be changed in place, before its first change.
    void backUpPersistently(std::string_view path);

    // Journals a file that is about to be written: new, or backed up when it exists. A file
    // already journalled in this run needs nothing more. Returns whether a transient backup
    // was taken (then call commitBackup() once the file is complete).
    bool prepareOverwrite(std::string_view path);
    // Journals a file that is about to be changed in place: persistent backup when it
    // exists, else new. Nothing when already journalled.
    void prepareChange(std::string_view path);
    // Deletes a file so that a rollback brings it back; false when it could not be deleted
    // (nothing changed then).
    bool removeFile(std::string_view path);

    // Deletes every backup and forgets the journal.
    void commit();
    // Undoes everything in reverse order; removes created folders longest first (a folder
    // that is not empty stays). Never raises; keeps going past failures.
    void rollBack();

    const std::vector<std::string>& createdFolders() const { return folders_; }
    bool empty() const { return files_.empty() && folders_.empty(); }

private:
    struct FileEntry {
        std::string path;
        std::string backup;  // empty: a new file
    };
    bool journalled(std::string_view path) const;
    std::string nextBackupName(std::string_view folder);

    system::System& sys_;
    std::string windows_;
    std::vector<std::string> folders_;
    std::vector<FileEntry> files_;
    std::uint32_t counter_ = 0;
    // Index in files_ of the transient backup waiting for commitBackup(), or -1.
    std::ptrdiff_t pending_ = -1;
};

}  // namespace installer
