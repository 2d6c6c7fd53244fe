#include "win32gui/posted_work.h"

#include "installer/flow/window_thread.h"

namespace win32gui {
namespace {

constexpr wchar_t kClass[] = L"TattiloPostedWork";
constexpr UINT kRunMessage = WM_APP + 40;

}  // namespace

PostedWork::PostedWork() : thread_(GetCurrentThreadId()) {
    static const ATOM atom = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = &PostedWork::windowProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = kClass;
        return RegisterClassExW(&wc);
    }();
    hwnd_ = CreateWindowExW(0, MAKEINTATOM(atom), L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

PostedWork::~PostedWork() {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
}

LRESULT CALLBACK PostedWork::windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kRunMessage) {
        if (auto* self = reinterpret_cast<PostedWork*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA))) {
            self->runPending();
        }
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

void PostedWork::post(std::function<void()> work) {
    {
        std::lock_guard guard(lock_);
        queue_.push_back(std::move(work));
    }
    PostMessageW(hwnd_, kRunMessage, 0, 0);
}

void PostedWork::call(const std::function<void()>& work) {
    if (onWindowThread()) {
        work();
        return;
    }
    installer::postAndWait([this](std::function<void()> piece) { post(std::move(piece)); }, work);
}

void PostedWork::runPending() {
    // One piece at a time: a piece may open a modal window, whose loop runs the rest.
    for (;;) {
        std::function<void()> work;
        {
            std::lock_guard guard(lock_);
            if (queue_.empty()) {
                return;
            }
            work = std::move(queue_.front());
            queue_.pop_front();
        }
        work();
    }
}

}  // namespace win32gui
