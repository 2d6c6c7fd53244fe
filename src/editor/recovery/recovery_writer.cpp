#include "editor/recovery/recovery_writer.h"

#include <utility>

namespace editor {

RecoveryWriter::RecoveryWriter() : thread_([this] { run(); }) {}

RecoveryWriter::~RecoveryWriter() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

bool RecoveryWriter::start(std::filesystem::path file, std::string bytes, WriteFault fault) {
    {
        std::lock_guard lock(mutex_);
        if (started_) {
            return false;
        }
        started_ = true;
        outcome_.reset();
        job_ = Job{std::move(file), std::move(bytes), std::move(fault)};
    }
    wake_.notify_all();
    return true;
}

bool RecoveryWriter::busy() const {
    std::lock_guard lock(mutex_);
    return started_;
}

std::optional<int> RecoveryWriter::takeOutcome() {
    std::lock_guard lock(mutex_);
    if (!started_ || !outcome_) {
        return std::nullopt;
    }
    started_ = false;
    return std::exchange(outcome_, std::nullopt);
}

void RecoveryWriter::wait() {
    std::unique_lock lock(mutex_);
    done_.wait(lock, [this] { return !started_ || outcome_.has_value(); });
}

void RecoveryWriter::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || job_.has_value(); });
        if (!job_) {
            return;  // stopping, nothing left to write
        }
        Job job = std::move(*job_);
        job_.reset();
        lock.unlock();
        const int code = writeFileSafely(job.file, job.bytes, job.fault);
        lock.lock();
        outcome_ = code;
        done_.notify_all();
    }
}

}  // namespace editor
