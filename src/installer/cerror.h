#pragma once

// The error object of every installation step, the status slot that keeps the last one, and
// the cancel flag that the window thread sets and the installation thread polls.

#include <mutex>
#include <string>
#include <string_view>

namespace installer {

// An installation error: a code 0..11 and an optional file name. Raised (thrown) by the steps
// and caught at thread and command boundaries.
class CError {
public:
    enum Code {
        kMemory = 0,
        kNotFound = 1,
        kCannotOpen = 2,
        kCannotRead = 3,
        kCannotWrite = 4,
        kCorrupted = 5,
        kCannotExecute = 6,
        kStartMenu = 7,
        kCancelled = 8,
        kSuccess = 9,
        kCannotCopy = 10,
        kBadIniName = 11,
    };

    explicit CError(int code, std::string file = {}) : code_(code), file_(std::move(file)) {}

    int code() const { return code_; }
    const std::string& file() const { return file_; }

    // The code's message with the file name in place of "%s".
    std::string text() const;

    // The message of a code, with "%s" still in it. Codes outside 0..11 give an empty text.
    static std::string_view message(int code);

private:
    int code_;
    std::string file_;
};

// A script value that the product forbids; raised and caught inside the script check.
struct CBadInitData {};

// The last error of the run. Starts as code 9 (success); every error a thread or a command
// catches replaces it. Every access takes the lock.
class StatusSlot {
public:
    void store(const CError& error);
    CError load() const;
    void reset();

private:
    mutable std::mutex lock_;
    CError error_{CError::kSuccess};
};

// The cancel request. The window thread holds the lock while it asks "Are you sure?", so the
// installation thread waits at its next poll instead of going on.
class CancelFlag {
public:
    // Blocks while a question holds the lock.
    bool isSet() const;
    void set();
    // Hold this while asking the user; set() through the returned lock's owner with
    // setLocked().
    std::unique_lock<std::mutex> hold() { return std::unique_lock<std::mutex>(lock_); }
    // Sets the flag while the caller holds the lock from hold().
    void setLocked(std::unique_lock<std::mutex>& held);

private:
    mutable std::mutex lock_;
    bool set_ = false;
};

}  // namespace installer
