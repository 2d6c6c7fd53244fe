#pragma once

// The keyboard and mouse of an X display, as a student's hands on them: keys and clicks go in
// through the XTEST extension, so the program under test takes them from the X server like any
// real key. The X libraries are loaded at run time; without them, or without a display, the
// keyboard does not open and the tests that need it are skipped.

#include <dlfcn.h>

#include <chrono>
#include <initializer_list>
#include <string>
#include <string_view>
#include <thread>

namespace editor::testing {

class XKeyboard {
public:
    XKeyboard() {
        x11_ = ::dlopen("libX11.so.6", RTLD_NOW);
        xtst_ = ::dlopen("libXtst.so.6", RTLD_NOW);
        if (x11_ == nullptr || xtst_ == nullptr || !load()) {
            return;
        }
        display_ = open_(nullptr);
    }
    ~XKeyboard() {
        if (display_ != nullptr) {
            close_(display_);
        }
        for (void* library : {xtst_, x11_}) {
            if (library != nullptr) {
                ::dlclose(library);
            }
        }
    }
    XKeyboard(const XKeyboard&) = delete;
    XKeyboard& operator=(const XKeyboard&) = delete;

    bool ready() const { return display_ != nullptr; }

    void key(const char* keysym, bool down) {
        fakeKey_(display_, keysymToKeycode_(display_, stringToKeysym_(keysym)), down ? 1 : 0, 0);
        sync_(display_, 0);
    }
    void tap(const char* keysym, std::initializer_list<const char*> modifiers = {}) {
        for (const char* m : modifiers) {
            key(m, true);
        }
        key(keysym, true);
        key(keysym, false);
        for (auto m = std::rbegin(modifiers); m != std::rend(modifiers); ++m) {
            key(*m, false);
        }
    }
    // Types `c` on the US layout of the virtual display: a-z, 0-9, blank, Enter and # + = -.
    void type(char c) {
        const std::string letter(1, c);
        switch (c) {
            case ' ':
                return tap("space");
            case '\r':
                return tap("Return");
            case '#':
                return tap("numbersign", {"Shift_L"});
            case '+':
                return tap("plus", {"Shift_L"});
            case '=':
                return tap("equal");
            case '-':
                return tap("minus");
            default:
                return tap(letter.c_str());
        }
    }
    void click(int x, int y) {
        fakeMotion_(display_, 0, x, y, 0);
        fakeButton_(display_, 1, 1, 0);
        fakeButton_(display_, 1, 0, 0);
        sync_(display_, 0);
    }
    // Whether a top-level window whose title begins with `title` (or, with `anywhere`, holds
    // it) is there.
    bool windowTitled(std::string_view title, bool anywhere = false) {
        unsigned long rootReturn = 0;
        unsigned long parent = 0;
        unsigned long* children = nullptr;
        unsigned int count = 0;
        if (queryTree_(display_, defaultRoot_(display_), &rootReturn, &parent, &children, &count) ==
            0) {
            return false;
        }
        bool found = false;
        for (unsigned int i = 0; i < count && !found; ++i) {
            char* name = nullptr;
            if (fetchName_(display_, children[i], &name) != 0 && name != nullptr) {
                const std::string_view shown(name);
                found = anywhere ? shown.find(title) != std::string_view::npos
                                 : shown.starts_with(title);
                free_(name);
            }
        }
        if (children != nullptr) {
            free_(children);
        }
        return found;
    }
    // The title of the top-level window that has the keyboard's focus; empty when none has.
    std::string focusedTitle() {
        unsigned long window = 0;
        int revert = 0;
        getInputFocus_(display_, &window, &revert);
        const unsigned long root = defaultRoot_(display_);
        // 0 and 1 are None and PointerRoot: no window of a program holds the focus.
        while (window > 1 && window != root) {
            char* name = nullptr;
            if (fetchName_(display_, window, &name) != 0 && name != nullptr) {
                std::string title(name);
                free_(name);
                return title;
            }
            unsigned long rootReturn = 0;
            unsigned long parent = 0;
            unsigned long* children = nullptr;
            unsigned int count = 0;
            if (queryTree_(display_, window, &rootReturn, &parent, &children, &count) == 0) {
                break;
            }
            if (children != nullptr) {
                free_(children);
            }
            window = parent;
        }
        return {};
    }
    // Waits until the window whose title holds `part` has the keyboard's focus: keys sent before
    // would reach the window that had it, as a second program's window takes the focus a while
    // after it shows.
    bool waitForFocus(std::string_view part, int seconds) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        while (std::chrono::steady_clock::now() < end) {
            if (focusedTitle().find(part) != std::string::npos) {
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return false;
    }
    // Waits until such a window is there; false after `seconds`.
    bool waitForWindow(std::string_view title, int seconds, bool anywhere = false) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        while (std::chrono::steady_clock::now() < end) {
            if (windowTitled(title, anywhere)) {
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return false;
    }

private:
    using Display = void;
    template <class F>
    bool symbol(void* library, const char* name, F& function) {
        function = reinterpret_cast<F>(::dlsym(library, name));
        return function != nullptr;
    }
    bool load() {
        return symbol(x11_, "XOpenDisplay", open_) && symbol(x11_, "XCloseDisplay", close_) &&
               symbol(x11_, "XStringToKeysym", stringToKeysym_) &&
               symbol(x11_, "XKeysymToKeycode", keysymToKeycode_) && symbol(x11_, "XSync", sync_) &&
               symbol(x11_, "XQueryTree", queryTree_) &&
               symbol(x11_, "XDefaultRootWindow", defaultRoot_) &&
               symbol(x11_, "XFetchName", fetchName_) && symbol(x11_, "XFree", free_) &&
               symbol(x11_, "XGetInputFocus", getInputFocus_) &&
               symbol(xtst_, "XTestFakeKeyEvent", fakeKey_) &&
               symbol(xtst_, "XTestFakeMotionEvent", fakeMotion_) &&
               symbol(xtst_, "XTestFakeButtonEvent", fakeButton_);
    }

    void* x11_ = nullptr;
    void* xtst_ = nullptr;
    Display* display_ = nullptr;
    Display* (*open_)(const char*) = nullptr;
    int (*close_)(Display*) = nullptr;
    unsigned long (*stringToKeysym_)(const char*) = nullptr;
    unsigned char (*keysymToKeycode_)(Display*, unsigned long) = nullptr;
    int (*sync_)(Display*, int) = nullptr;
    int (*queryTree_)(Display*, unsigned long, unsigned long*, unsigned long*, unsigned long**,
                      unsigned int*) = nullptr;
    unsigned long (*defaultRoot_)(Display*) = nullptr;
    int (*fetchName_)(Display*, unsigned long, char**) = nullptr;
    int (*free_)(void*) = nullptr;
    int (*getInputFocus_)(Display*, unsigned long*, int*) = nullptr;
    int (*fakeKey_)(Display*, unsigned int, int, unsigned long) = nullptr;
    int (*fakeMotion_)(Display*, int, int, int, unsigned long) = nullptr;
    int (*fakeButton_)(Display*, unsigned int, int, unsigned long) = nullptr;
};

}  // namespace editor::testing
