#include "installer/undo_log.h"

#include <algorithm>
#include <cstdio>

#include "installer/cerror.h"
#include "installer/win_path.h"

namespace installer {

UndoLog::UndoLog(system::System& sys, std::string windowsDirectory)
    : sys_(sys), windows_(withBackslash(windowsDirectory)) {}

void UndoLog::journalFolder(std::string_view folder) {
    const std::string path = withBackslash(folder);
    for (const auto& known : folders_) {
        if (iequals(known, path)) {
            return;
        }
    }
    folders_.push_back(path);
}

void UndoLog::createFolders(std::string_view folder) {
    const std::string path = withBackslash(folder);
    if (path.size() < 3 || path[1] != ':') {
        throw CError(CError::kCannotWrite, std::string(folder));
    }
    std::string current = path.substr(0, 3);  // "X:\"
    for (const auto& element : splitPath(path.substr(3))) {
        current += element + "\\";
        if (sys_.folderExists(current)) {
            continue;
        }
        if (!sys_.createFolder(current)) {
            throw CError(CError::kCannotWrite, current);
        }
        journalFolder(current);
    }
}

bool UndoLog::journalled(std::string_view path) const {
    return std::any_of(files_.begin(), files_.end(),
                       [&](const FileEntry& e) { return iequals(e.path, path); });
}

std::string UndoLog::nextBackupName(std::string_view folder) {
    for (;;) {
        char name[32];
        std::snprintf(name, sizeof name, "un%06u.tmp", counter_++);
        std::string candidate = std::string(folder) + name;
        if (!sys_.fileExists(candidate) && !sys_.folderExists(candidate)) {
            return candidate;
        }
    }
}

bool UndoLog::isNewFile(std::string_view path) {
    if (sys_.fileExists(path)) {
        return false;
    }
    files_.push_back({std::string(path), {}});
    return true;
}

void UndoLog::backUp(std::string_view path) {
    const std::string folder = folderPart(path);
    std::string backup = folder + "instundo.tmp";
    if (sys_.fileExists(backup) || sys_.folderExists(backup)) {
        backup = nextBackupName(folder);  // not ours: never overwrite it
    }
    if (!sys_.moveFile(path, backup)) {
        throw CError(CError::kCannotWrite, std::string(path));
    }
    files_.push_back({std::string(path), backup});
    pending_ = static_cast<std::ptrdiff_t>(files_.size() - 1);
}

void UndoLog::commitBackup() {
    if (pending_ < 0) {
        return;
    }
    FileEntry& entry = files_[static_cast<std::size_t>(pending_)];
    pending_ = -1;
    if (!iendsWith(entry.backup, "\\instundo.tmp")) {
        return;
    }
    // The next overwrite in this folder needs "instundo.tmp" again.
    const std::string kept = nextBackupName(folderPart(entry.backup));
    if (!sys_.moveFile(entry.backup, kept)) {
        throw CError(CError::kCannotWrite, entry.backup);
    }
    entry.backup = kept;
}

void UndoLog::backUpPersistently(std::string_view path) {
    const std::string backup = nextBackupName(folderPart(path));
    // Journal the copy first, so that a copy that fails half-way is cleaned up too.
    files_.push_back({backup, {}});
    auto in = sys_.openRead(path);
    auto out = in ? sys_.openWrite(backup) : nullptr;
    if (!in || !out) {
        throw CError(CError::kCannotCopy, std::string(path));
    }
    char buffer[4096];
    for (;;) {
        const auto got = in->read(buffer, sizeof buffer);
        if (!got) {
            throw CError(CError::kCannotCopy, std::string(path));
        }
        if (*got == 0) {
            break;
        }
        if (!out->write(buffer, *got)) {
            throw CError(CError::kCannotCopy, std::string(path));
        }
    }
    if (!out->close()) {
        throw CError(CError::kCannotCopy, std::string(path));
    }
    if (auto time = sys_.fileTime(path)) {
        sys_.setFileTime(backup, *time);
    }
    // From here the copy is the backup, not a new file.
    files_.back() = {std::string(path), backup};
}

bool UndoLog::prepareOverwrite(std::string_view path) {
    for (const auto& e : files_) {
        if (!e.backup.empty() && iequals(e.backup, path)) {
            // Writing over one of our own backups would lose what it keeps.
            throw CError(CError::kCannotWrite, std::string(path));
        }
    }
    if (journalled(path)) {
        return false;
    }
    if (isNewFile(path)) {
        return false;
    }
    backUp(path);
    return true;
}

void UndoLog::prepareChange(std::string_view path) {
    if (journalled(path)) {
        return;
    }
    if (!isNewFile(path)) {
        backUpPersistently(path);
    }
}

bool UndoLog::removeFile(std::string_view path) {
    if (!sys_.fileExists(path)) {
        return false;
    }
    const std::string backup = nextBackupName(folderPart(path));
    if (!sys_.moveFile(path, backup)) {
        return false;
    }
    files_.push_back({std::string(path), backup});
    return true;
}

void UndoLog::commit() {
    for (const auto& entry : files_) {
        if (!entry.backup.empty()) {
            sys_.deleteFile(entry.backup);
        }
    }
    files_.clear();
    folders_.clear();
    pending_ = -1;
}

void UndoLog::rollBack() {
    for (auto it = files_.rbegin(); it != files_.rend(); ++it) {
        sys_.deleteFile(it->path);
        if (!it->backup.empty()) {
            sys_.moveFile(it->backup, it->path);
        }
    }
    std::vector<std::string> folders = folders_;
    std::stable_sort(
        folders.begin(), folders.end(),
        [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
    for (const auto& folder : folders) {
        if (!iequals(folder, windows_)) {
            sys_.removeFolder(folder);
        }
    }
    files_.clear();
    folders_.clear();
    pending_ = -1;
}

}  // namespace installer
