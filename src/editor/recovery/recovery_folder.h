#pragma once

// The folder of recovery copies, private to the user (recovery_copy.h says what a copy holds),
// and this program's place in it. The names in the folder:
//
//   .tattilo-<id>.lock             the lock of the running program <id> (instance_lock.h)
//   .tattilo-<id>-<n>.mtf          that program's copy of its n-th document
//   .tattilo-<id>-<n>.mtf.~k.tmp   a copy being written (file_io.h); never read
//   <document> - copia di recupero del <date>.mtf
//   copia di recupero danneggiata del <date>.mtf
//                                  copies set aside: never offered again, opened with "Apri"
//
// <id> is random and its lock file is made exclusively, so neither two programs nor two
// documents of one program ever share a copy. A copy takes the place of the previous one only
// once it is whole and on disk; a program killed while writing leaves its previous copy and a
// temporary file, which the next start removes.
//
// Errors are errno values; nothing here throws for I/O failures.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "editor/file_io.h"
#include "editor/recovery/instance_lock.h"
#include "editor/recovery/recovery_copy.h"

namespace editor {

// This program's place in the recovery folder: its lock, held while it runs, and the name of the
// copy of its document.
class RecoverySlot {
public:
    // Takes a place in `folder`, which is made when missing (readable by the user alone where
    // the system has such rights). Null, with the error number in `error`, when the folder cannot
    // be made or no lock can be made in it.
    static std::unique_ptr<RecoverySlot> take(const std::filesystem::path& folder, int& error);
    RecoverySlot(const RecoverySlot&) = delete;
    RecoverySlot& operator=(const RecoverySlot&) = delete;
    // Lets go of the lock and removes its file; the copy stays where it is.
    ~RecoverySlot();

    const std::filesystem::path& folder() const { return folder_; }
    const std::string& id() const { return id_; }
    // Where the copy of the current document is written.
    std::filesystem::path copyFile() const;
    // The next document gets a copy under a name of its own.
    void nextDocument() { ++document_; }
    // Removes the current document's copy; 0 when it is gone (or was never there).
    int removeCopy() const;
    // Makes a copy left by a stopped program this program's copy of its current document; 0, or
    // the error number (the left copy is then where it was).
    int adopt(const std::filesystem::path& leftCopy) const;

private:
    RecoverySlot(std::filesystem::path folder, std::string id, InstanceLock lock)
        : folder_(std::move(folder)), id_(std::move(id)), lock_(std::move(lock)) {}

    std::filesystem::path folder_;
    std::string id_;
    int document_ = 1;
    InstanceLock lock_;
};

// A copy left in the folder by a program that no longer runs.
struct LeftCopy {
    std::filesystem::path file;
    std::optional<RecoveryCopy> copy;  // nullopt: cut short, damaged, or unreadable
    std::filesystem::file_time_type fileTime;
};

// What a left copy is good for.
enum class LeftCopyUse {
    Offer,       // it holds work the document file on disk does not have
    Superseded,  // the document file was saved after the copy was taken
    Damaged,     // it is not a whole copy
};

// The copies that stopped programs left in a folder. While this object lives it holds the locks
// of those programs, so that a program starting at the same moment leaves them alone; it lets
// go of them when it is destroyed, removing the locks that no longer guard any copy.
class LeftCopies {
public:
    LeftCopies() = default;
    LeftCopies(LeftCopies&&) = default;
    LeftCopies& operator=(LeftCopies&&) = default;
    ~LeftCopies();

    std::vector<LeftCopy> copies;  // newest first

private:
    friend LeftCopies findLeftCopies(const std::filesystem::path&, std::string_view);
    std::filesystem::path folder_;
    std::vector<std::pair<std::string, InstanceLock>> locks_;  // program id, its lock
};

// The copies in `folder` of programs other than `ownId` that no longer run, newest first. The
// temporary files those programs left are removed. A folder that is missing or cannot be read
// has none.
LeftCopies findLeftCopies(const std::filesystem::path& folder, std::string_view ownId);

// Whether `left` should be offered: a whole copy is, unless its document file exists and was
// saved after the copy was taken (changed since the copy's pages were loaded or saved, at or
// after the moment the copy was taken).
LeftCopyUse judge(const LeftCopy& left);

// Moves a left copy out of the way under a name that tells what it holds and when (see above),
// beside it in the folder, never over another file. The new path, or nullopt with the error
// number in `error`.
std::optional<std::filesystem::path> setAside(const LeftCopy& left, int& error);

// The document file's time of change in the file system's ticks; nullopt when there is no file.
std::optional<std::int64_t> documentFileTime(const std::string& document);

// Now, in seconds since 1970-01-01 UTC.
std::int64_t secondsNow();

// `seconds` (since 1970, UTC) as a local date and time: "12/03/2025" and "10:42".
std::pair<std::string, std::string> localDateAndTime(std::int64_t seconds);

}  // namespace editor
