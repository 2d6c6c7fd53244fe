#pragma once

// Writes recovery copies on a thread of its own, so that the window's thread never waits for the
// disk: a copy is made durable (file_io.h) before it takes the place of the previous one, and a
// slow or stuck disk must not hold up typing, speech or the chord timer.
//
// One write at a time: the window's thread starts a write, goes on with its work and collects
// the outcome later, when it next looks. Nothing calls back into the window from the writer's
// thread.

#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "editor/file_io.h"

namespace editor {

class RecoveryWriter {
public:
    RecoveryWriter();
    // Finishes the write under way, if any, then stops the thread.
    ~RecoveryWriter();
    RecoveryWriter(const RecoveryWriter&) = delete;
    RecoveryWriter& operator=(const RecoveryWriter&) = delete;

    // Starts writing `bytes` safely to `file`; `fault` (a test hook) runs on the writer's
    // thread. False, starting nothing, while a write is under way or its outcome was not taken.
    bool start(std::filesystem::path file, std::string bytes, WriteFault fault = {});
    // Whether a write was started whose outcome has not been taken yet.
    bool busy() const;
    // The outcome of the write once it is over (0, or the errno value), and the writer is free
    // again; nullopt while it is under way or when no write was started.
    std::optional<int> takeOutcome();
    // Waits until the write under way, if any, is over (its outcome is still to be taken).
    void wait();

private:
    struct Job {
        std::filesystem::path file;
        std::string bytes;
        WriteFault fault;
    };
    void run();

    mutable std::mutex mutex_;
    std::condition_variable wake_;  // a job came, or the writer stops
    std::condition_variable done_;  // a job is over
    std::optional<Job> job_;
    std::optional<int> outcome_;
    bool started_ = false;  // a job was handed over and its outcome not taken
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace editor
