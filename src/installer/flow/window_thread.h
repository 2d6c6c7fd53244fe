#pragma once

// The installer's window thread as the other threads see it. The installation thread and the
// external-programs thread never touch a window: they post work to the window thread (a
// command message, a new text for the progress window) or hand it a question and wait for the
// answer (the disk prompt, a message box).
//
// The windows implement it over the toolkit's event loop; the unattended installer and the
// tests use QueuedWindowThread, whose loop is run() on the thread that made it.

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace installer {

class WindowThread {
public:
    virtual ~WindowThread() = default;
    // Runs `work` later on the window thread, in the order posted. Any thread.
    virtual void post(std::function<void()> work) = 0;
    // Runs `work` on the window thread and returns when it has run; from the window thread
    // itself it runs at once.
    virtual void call(const std::function<void()>& work) = 0;
};

// Hands `work` to the window thread through `post` and returns once it has run there: the
// call() of a window thread, for a caller on another thread.
void postAndWait(const std::function<void(std::function<void()>)>& post,
                 const std::function<void()>& work);

class QueuedWindowThread : public WindowThread {
public:
    QueuedWindowThread() : owner_(std::this_thread::get_id()) {}

    void post(std::function<void()> work) override;
    void call(const std::function<void()>& work) override;

    // The loop: runs the posted work until `done()` holds. `idle` runs before each wait for
    // work, and again every `idleMs` milliseconds while nothing comes. Owner thread only.
    void run(const std::function<bool()>& done, const std::function<void()>& idle = {},
             int idleMs = 20);
    // Runs what has been posted so far and returns; true when something ran. Owner thread only.
    bool runPending();

private:
    std::thread::id owner_;
    std::mutex lock_;
    std::condition_variable arrived_;
    std::deque<std::function<void()>> queue_;
};

}  // namespace installer
