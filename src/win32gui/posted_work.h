#pragma once

// Work handed to a window thread by other threads: each piece is queued and a message posted to
// a hidden window of that thread, whose procedure runs the queue in order. Messages to a window
// are dispatched by every loop of the thread, the modal ones of dialogs and message boxes too,
// so the work runs while a modal window is open (messages to the thread itself would be lost
// there).
//
// Made, run and destroyed on the window thread; post() and call() from any thread.

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

#include "win32gui/native.h"

namespace win32gui {

class PostedWork {
public:
    PostedWork();
    ~PostedWork();
    PostedWork(const PostedWork&) = delete;
    PostedWork& operator=(const PostedWork&) = delete;

    // Runs `work` later on the window thread, in the order posted.
    void post(std::function<void()> work);
    // Runs `work` on the window thread and returns once it has run; on the window thread
    // itself it runs at once.
    void call(const std::function<void()>& work);
    bool onWindowThread() const { return GetCurrentThreadId() == thread_; }

    // Runs what has been posted so far (the hidden window's message does the same).
    void runPending();

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    DWORD thread_;
    HWND hwnd_ = nullptr;
    std::mutex lock_;
    std::deque<std::function<void()>> queue_;
};

}  // namespace win32gui
