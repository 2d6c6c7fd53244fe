#include "installer/flow/window_thread.h"

#include <chrono>

namespace installer {

void postAndWait(const std::function<void(std::function<void()>)>& post,
                 const std::function<void()>& work) {
    std::mutex doneLock;
    std::condition_variable doneSignal;
    bool done = false;
    post([&] {
        work();
        std::lock_guard guard(doneLock);
        done = true;
        doneSignal.notify_all();
    });
    std::unique_lock held(doneLock);
    doneSignal.wait(held, [&] { return done; });
}

void QueuedWindowThread::post(std::function<void()> work) {
    {
        std::lock_guard guard(lock_);
        queue_.push_back(std::move(work));
    }
    arrived_.notify_all();
}

void QueuedWindowThread::call(const std::function<void()>& work) {
    if (std::this_thread::get_id() == owner_) {
        work();
        return;
    }
    postAndWait([this](std::function<void()> piece) { post(std::move(piece)); }, work);
}

bool QueuedWindowThread::runPending() {
    bool ran = false;
    for (;;) {
        std::function<void()> work;
        {
            std::lock_guard guard(lock_);
            if (queue_.empty()) {
                return ran;
            }
            work = std::move(queue_.front());
            queue_.pop_front();
        }
        work();
        ran = true;
    }
}

void QueuedWindowThread::run(const std::function<bool()>& done, const std::function<void()>& idle,
                             int idleMs) {
    while (!done()) {
        if (idle) {
            idle();
        }
        std::function<void()> work;
        {
            std::unique_lock held(lock_);
            if (!arrived_.wait_for(held, std::chrono::milliseconds(idleMs),
                                   [&] { return !queue_.empty(); })) {
                continue;
            }
            work = std::move(queue_.front());
            queue_.pop_front();
        }
        work();
    }
}

}  // namespace installer
