#pragma once

// Files and folders of the computer the installer runs on, by the host's own path: the small
// set of calls that the sandbox machine (its drives are host folders) and the Windows system
// layer share. posix/ and win32/ implement it. Nothing throws; each call reports by its result.

#include <filesystem>
#include <memory>
#include <optional>

#include "installer/system/system.h"

namespace installer::system {

// Null when the file cannot be opened.
std::unique_ptr<ReadFile> openHostRead(const std::filesystem::path& path);
// Creates or truncates; null when the file cannot be made.
std::unique_ptr<WriteFile> openHostWrite(const std::filesystem::path& path);
// Opens for appending (made when missing) with an exclusive lock that the system drops when the
// file is closed or the process ends, however it ends. Null when the file cannot be opened or
// another process holds the lock; `busy` then tells the second case.
std::unique_ptr<WriteFile> openHostLocked(const std::filesystem::path& path, bool& busy);
bool deleteHostFile(const std::filesystem::path& path);
// Whether another program holds the file so that it cannot be removed cleanly: on Windows, it
// cannot be opened for writing without sharing (a running program's own file, a document a
// program keeps open); elsewhere, another open file holds an flock lock on it (what a program
// standing for a running one does). False for a file that is not there.
bool hostFileInUse(const std::filesystem::path& path);
// Renames `from` over `to` (which may be missing) in one step.
bool replaceHostFile(const std::filesystem::path& from, const std::filesystem::path& to);
// One folder; fails when it exists or its parent is missing.
bool createHostFolder(const std::filesystem::path& path);
// An empty folder; fails when it holds anything.
bool removeHostFolder(const std::filesystem::path& path);
std::optional<FileTime> hostFileTime(const std::filesystem::path& path);
bool setHostFileTime(const std::filesystem::path& path, FileTime time);

}  // namespace installer::system
