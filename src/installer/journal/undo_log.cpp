#include "installer/journal/undo_log.h"

#include <cstdio>

#include "installer/cerror.h"
#include "installer/win_path.h"

namespace installer {

using Kind = JournalRecord::Kind;

namespace {

// A registry value's identity for "already journalled"; the tab cannot occur in key names.
std::string valueId(system::RegRoot root, std::string_view key, std::string_view name) {
    return upper(std::string(system::regRootName(root)) + "\\" + std::string(key) + "\t" +
                 std::string(name));
}

}  // namespace

UndoLog::UndoLog(system::System& sys, std::string windowsDirectory)
    : sys_(sys), windows_(withBackslash(windowsDirectory)) {}

UndoLog::~UndoLog() = default;

void UndoLog::startJournal(std::string path, std::string_view productName) {
    // A journal that exists belongs to another installer, or to an interrupted installation
    // nobody has undone yet.
    bool busy = false;
    auto file = sys_.fileExists(path) ? nullptr : sys_.openLocked(path, busy);
    if (!file) {
        throw CError(CError::kCannotWrite, path);
    }
    const std::string header = encodeJournalHeader(productName);
    if (!file->write(header.data(), header.size()) || !file->flush()) {
        file.reset();
        sys_.deleteFile(path);
        throw CError(CError::kCannotWrite, path);
    }
    journal_ = std::move(file);
    journalPath_ = std::move(path);
    // Changes recorded before the journal existed go into it too.
    for (const auto& r : records_) {
        const std::string text = encodeJournalRecord(r);
        if (!journal_->write(text.data(), text.size())) {
            throw CError(CError::kCannotWrite, journalPath_);
        }
    }
    if (!records_.empty() && !journal_->flush()) {
        throw CError(CError::kCannotWrite, journalPath_);
    }
}

void UndoLog::record(JournalRecord r) {
    if (journal_) {
        // After a write that failed, the file may end in part of a line: a record written
        // after it would be lost with it, so no change may follow.
        if (journalBroken_) {
            throw CError(CError::kCannotWrite, journalPath_);
        }
        const std::string text = encodeJournalRecord(r);
        if (!journal_->write(text.data(), text.size()) ||
            (r.guardsExistingData() && !journal_->flush())) {
            journalBroken_ = true;
            throw CError(CError::kCannotWrite, journalPath_);
        }
        if (hook_) {
            hook_(++written_);
        }
    }
    records_.push_back(std::move(r));
}

void UndoLog::createFolders(std::string_view folder) {
    // Only the folders the path really names, so that no ".." leaves one behind.
    const std::string path = withBackslash(canonicalPath(folder));
    if (path.size() < 3 || path[1] != ':') {
        throw CError(CError::kCannotWrite, std::string(folder));
    }
    std::string current = path.substr(0, 3);  // "X:\"
    for (const auto& element : splitPath(path.substr(3))) {
        current += element + "\\";
        if (sys_.folderExists(current)) {
            continue;
        }
        record(JournalRecord::onFile(Kind::Folder, current));
        if (!sys_.createFolder(current)) {
            throw CError(CError::kCannotWrite, current);
        }
        folders_.push_back(current);
    }
}

bool UndoLog::journalled(std::string_view path) const {
    return files_.count(upper(path)) != 0;
}

std::string UndoLog::nextBackupName(std::string_view folder) {
    for (;;) {
        char name[32];
        std::snprintf(name, sizeof name, "un%06u.tmp", counter_++);
        std::string candidate = std::string(folder) + name;
        if (!sys_.fileExists(candidate) && !sys_.folderExists(candidate)) {
            backups_.insert(upper(candidate));
            return candidate;
        }
    }
}

bool UndoLog::isNewFile(std::string_view path) {
    if (sys_.fileExists(path)) {
        return false;
    }
    record(JournalRecord::onFile(Kind::NewFile, std::string(path)));
    files_.insert(upper(path));
    return true;
}

void UndoLog::backUp(std::string_view path) {
    const std::string backup = nextBackupName(folderPart(path));
    record(JournalRecord::onFile(Kind::MovedAside, std::string(path), backup));
    files_.insert(upper(path));
    if (!sys_.moveFile(path, backup)) {
        throw CError(CError::kCannotWrite, std::string(path));
    }
}

void UndoLog::backUpPersistently(std::string_view path) {
    const std::string backup = nextBackupName(folderPart(path));
    record(JournalRecord::onFile(Kind::CopyBegun, std::string(path), backup));
    files_.insert(upper(path));
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
    // The copy must be on the disk before the record says that it is complete.
    if (!out->flush() || !out->close()) {
        throw CError(CError::kCannotCopy, std::string(path));
    }
    if (auto time = sys_.fileTime(path)) {
        sys_.setFileTime(backup, *time);
    }
    record(JournalRecord::onFile(Kind::CopyDone, std::string(path), backup));
}

void UndoLog::prepareOverwrite(std::string_view path) {
    if (backups_.count(upper(path))) {
        // Writing over one of our own backups would lose what it keeps.
        throw CError(CError::kCannotWrite, std::string(path));
    }
    if (journalled(path) || isNewFile(path)) {
        return;
    }
    backUp(path);
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
    record(JournalRecord::onFile(Kind::MovedAside, std::string(path), backup));
    files_.insert(upper(path));
    return sys_.moveFile(path, backup);
}

bool UndoLog::createRegistryKey(system::RegRoot root, std::string_view key) {
    std::string current;
    for (const auto& element : splitPath(key)) {
        current += current.empty() ? element : "\\" + element;
        if (sys_.regKeyExists(root, current)) {
            continue;
        }
        record(JournalRecord::onKey(Kind::RegistryKey, root, current));
        if (!sys_.regCreateKey(root, current)) {
            return false;
        }
    }
    return sys_.regKeyWritable(root, key);
}

void UndoLog::prepareRegistryValue(system::RegRoot root, std::string_view key,
                                   std::string_view name) {
    if (!values_.insert(valueId(root, key, name)).second) {
        return;
    }
    JournalRecord r = JournalRecord::onKey(Kind::RegistryValue, root, std::string(key));
    r.valueName = std::string(name);
    r.oldValue = sys_.regQueryValue(root, key, name);
    record(std::move(r));
}

void UndoLog::startRemoval() {
    record(JournalRecord::onFile(Kind::Removal, {}));
}

bool UndoLog::removeRegistryValue(system::RegRoot root, std::string_view key,
                                  std::string_view name) {
    if (!sys_.regQueryValue(root, key, name)) {
        return true;
    }
    prepareRegistryValue(root, key, name);
    return sys_.regDeleteValue(root, key, name);
}

bool UndoLog::removeRegistryKey(system::RegRoot root, std::string_view key) {
    if (!sys_.regKeyExists(root, key)) {
        return true;
    }
    record(JournalRecord::onKey(Kind::RegistryKeyRemoved, root, std::string(key)));
    return sys_.regDeleteKey(root, key);
}

void UndoLog::removeFolderAtCommit(std::string_view folder) {
    record(JournalRecord::onFile(Kind::FolderRemoved, withBackslash(folder)));
}

void UndoLog::rollBackTo(std::size_t mark) {
    if (mark >= records_.size()) {
        return;
    }
    const std::vector<JournalRecord> later(records_.begin() + static_cast<std::ptrdiff_t>(mark),
                                           records_.end());
    undoRecords(sys_, later, windows_);
    records_.resize(mark);
    files_.clear();
    values_.clear();
    folders_.clear();
    for (const auto& r : records_) {
        if (r.kind == Kind::Folder) {
            folders_.push_back(r.path);
        } else if (r.kind == Kind::RegistryValue) {
            values_.insert(valueId(r.root, r.path, r.valueName));
        } else if (r.kind == Kind::NewFile || r.kind == Kind::MovedAside ||
                   r.kind == Kind::CopyBegun || r.kind == Kind::CopyDone) {
            files_.insert(upper(r.path));
        }
    }
}

bool UndoLog::commit() {
    if (journal_) {
        // Once this is on the disk the change counts as done, even if the process ends
        // before the backups are gone: the next run finishes the commit.
        record(JournalRecord::onFile(Kind::Commit, {}));
    }
    const bool complete = finishCommit(sys_, records_, windows_);
    leftovers_ = complete ? std::vector<std::string>() : leftoversOf(sys_, records_);
    closeJournal(complete);
    forget();
    return complete;
}

bool UndoLog::rollBack() {
    const bool complete = undoRecords(sys_, records_, windows_);
    closeJournal(complete);
    forget();
    return complete;
}

void UndoLog::forget() {
    records_.clear();
    folders_.clear();
    files_.clear();
    backups_.clear();
    values_.clear();
}

void UndoLog::closeJournal(bool deleteFile) {
    if (!journal_) {
        return;
    }
    journal_->close();
    journal_.reset();
    journalBroken_ = false;
    if (deleteFile) {
        sys_.deleteFile(journalPath_);
    }
    journalPath_.clear();
}

}  // namespace installer
