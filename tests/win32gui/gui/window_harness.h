#pragma once

// Real windows on a display, driven as the student drives them: keys go in through SendInput,
// the way the keyboard's keys come (with the system's own key state, NumLock included), the
// message loop takes them as the program's does, and the test reads the controls back.
// A helper thread answers the modal boxes and dialogs the program opens, by keyboard too.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "ui/memory/scripted_dialogs.h"
#include "win32gui/dib.h"
#include "win32gui/message_loop.h"
#include "win32gui/native.h"
#include "win32gui/services/program_fonts.h"
#include "win32gui/wide_text.h"
#include "win32gui/workbench/main_window_view.h"

namespace win32_test {

// Handles the program's messages until `done` holds or `milliseconds` have passed.
inline bool waitUntil(const std::function<bool()>& done, int milliseconds = 3000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    for (;;) {
        win32gui::processPendingMessages();
        if (done()) {
            return true;
        }
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

// Lets the program handle what the keys sent so far caused.
inline void settle(int milliseconds = 150) {
    waitUntil([] { return false; }, milliseconds);
}

inline bool extendedKey(WORD vk) {
    switch (vk) {
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
        case VK_HOME:
        case VK_END:
        case VK_PRIOR:
        case VK_NEXT:
        case VK_INSERT:
        case VK_DELETE:
        case VK_DIVIDE:
        case VK_NUMLOCK:
            return true;
        default:
            return false;
    }
}

// One key going down or up, as the keyboard sends it.
inline void key(WORD vk, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (extendedKey(vk) ? KEYEVENTF_EXTENDEDKEY : 0);
    SendInput(1, &input, sizeof(input));
}

inline void tap(WORD vk) {
    key(vk, false);
    key(vk, true);
}

// A key with modifiers held around it.
inline void chord(std::initializer_list<WORD> modifiers, WORD vk) {
    for (WORD m : modifiers) {
        key(m, false);
    }
    tap(vk);
    for (auto m = std::rbegin(modifiers); m != std::rend(modifiers); ++m) {
        key(*m, true);
    }
}

// Types `text` key by key on the keyboard's layout (Shift where the character needs it).
inline void type(std::string_view text) {
    for (const char c : text) {
        const SHORT scan = VkKeyScanW(win32gui::widenChar(c));
        ASSERT_NE(scan, -1) << "no key types '" << c << "'";
        const auto vk = static_cast<WORD>(scan & 0xFF);
        const bool shift = (scan & 0x100) != 0;
        if (shift) {
            key(VK_SHIFT, false);
        }
        tap(vk);
        if (shift) {
            key(VK_SHIFT, true);
        }
    }
}

// The control with the keyboard's focus in `thread` (another thread's focus, seen from a
// helper thread).
inline HWND focusOf(DWORD thread) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

// Brings `window` to the front with the keyboard's focus; false when the system would not.
inline bool toFront(HWND window) {
    SetForegroundWindow(window);
    SetActiveWindow(window);
    return waitUntil([window] { return GetForegroundWindow() == window; });
}

inline std::string windowText(HWND hwnd) {
    wchar_t buffer[1024] = {};
    GetWindowTextW(hwnd, buffer, 1024);
    return win32gui::narrow(buffer);
}

struct WindowSearch {
    const wchar_t* className;
    HWND except;
    HWND found;
};

inline BOOL CALLBACK matchWindow(HWND hwnd, LPARAM data) {
    auto* s = reinterpret_cast<WindowSearch*>(data);
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    if (process == GetCurrentProcessId() && IsWindowVisible(hwnd) && hwnd != s->except &&
        lstrcmpW(name, s->className) == 0) {
        s->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

// The first visible window of this program with the class `className` other than `except`
// (a message box is "#32770"); null when none is open.
inline HWND findOpenWindow(const wchar_t* className, HWND except = nullptr) {
    WindowSearch search{className, except, nullptr};
    EnumWindows(&matchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// A helper thread that waits for a window of this program to open, tells what it saw and
// answers it by keyboard; the test's own thread meanwhile runs the program (which shows the
// window modally).
class Answerer {
public:
    // `answer` runs on the helper thread with the window that opened; it sends keys only.
    Answerer(const wchar_t* className, std::function<void(HWND)> answer, HWND except = nullptr)
        : thread_([this, className, except, answer = std::move(answer)] {
              HWND window = nullptr;
              const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
              while (window == nullptr && std::chrono::steady_clock::now() < end && !stop_) {
                  window = findOpenWindow(className, except);
                  if (window == nullptr) {
                      std::this_thread::sleep_for(std::chrono::milliseconds(20));
                  }
              }
              if (window == nullptr) {
                  return;
              }
              // Until it is the window the keys go to.
              while (GetForegroundWindow() != window && std::chrono::steady_clock::now() < end) {
                  std::this_thread::sleep_for(std::chrono::milliseconds(20));
              }
              std::this_thread::sleep_for(std::chrono::milliseconds(100));
              seen_ = true;
              answer(window);
          }) {}
    ~Answerer() {
        stop_ = true;
        join();
    }
    Answerer(const Answerer&) = delete;
    Answerer& operator=(const Answerer&) = delete;

    bool seen() const { return seen_; }
    void join() {
        if (thread_.joinable()) {
            thread_.join();
        }
    }

private:
    std::atomic<bool> stop_{false};
    std::atomic<bool> seen_{false};
    std::thread thread_;
};

// With TATTILO_EVIDENCE_DIR naming a folder, the screen as it is now is saved there as
// `name`.bmp, for the record of what the windows look like; without it, nothing happens.
inline void saveScreen(const std::string& name) {
    const char* folder = std::getenv("TATTILO_EVIDENCE_DIR");
    if (folder == nullptr || *folder == '\0') {
        return;
    }
    ui::Bitmap shot;
    shot.width = GetSystemMetrics(SM_CXSCREEN);
    shot.height = GetSystemMetrics(SM_CYSCREEN);
    shot.pixels.assign(static_cast<std::size_t>(shot.width) * shot.height, 0);
    std::uint32_t* bits = nullptr;
    HBITMAP section = win32gui::dibSection(shot, &bits);
    if (section == nullptr) {
        return;
    }
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(memory, section);
    BitBlt(memory, 0, 0, shot.width, shot.height, screen, 0, 0, SRCCOPY);
    GdiFlush();
    std::copy(bits, bits + shot.pixels.size(), shot.pixels.begin());
    for (std::uint32_t& p : shot.pixels) {
        p |= 0xFF000000U;  // GDI leaves the alpha byte empty
    }
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    DeleteObject(section);
    std::ofstream(std::filesystem::path(folder) / (name + ".bmp"), std::ios::binary)
        << win32gui::bmpFile(shot);
}

// A scratch folder that goes with the test.
struct Scratch {
    std::filesystem::path path;
    Scratch() {
        wchar_t base[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, base);
        // Two scratch folders made in the same tick get names of their own.
        static int made = 0;
        path = std::filesystem::path(base) /
               ("tattilo-gui-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(GetTickCount()) + "-" + std::to_string(++made));
        std::filesystem::create_directories(path);
    }
    ~Scratch() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    void write(const std::string& name, const std::string& content) const {
        std::filesystem::create_directories((path / name).parent_path());
        std::ofstream(path / name, std::ios::binary) << content;
    }
    std::string read(const std::string& name) const {
        std::ifstream in(path / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
};

inline std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The workbench's main window as the program builds it, from the program folder of the build
// (help pages, filter file, Braille font, sample documents), with settings of its own in a
// scratch folder that name everything the first activation asks for.
struct Workbench {
    Scratch scratch;
    ui::memory::ScriptedDialogs scripted;
    std::unique_ptr<win32gui::MainWindowView> view;

    // `realDialogs`: the program's own message boxes and dialogs instead of answers given in
    // advance. `adjust` changes the options before the window is made.
    void start(std::vector<std::string> arguments = {}, bool realDialogs = false,
               const std::string& extraSettings = {},
               const std::function<void(win32gui::MainWindowOptions&)>& adjust = nullptr) {
        const std::filesystem::path program = std::filesystem::current_path();
        wchar_t windows[MAX_PATH] = {};
        GetWindowsDirectoryW(windows, MAX_PATH);
        const std::string editor = win32gui::narrow(windows) + "\\notepad.exe";
        scratch.write("tattilo.ini", "editor grafico = " + editor +
                                         "\r\nfiltro = filtro.base\r\nfont = braillecour.ttf\r\n"
                                         "workdir = " +
                                         win32gui::pathText(scratch.path / "esercizi") + "\r\n" +
                                         extraSettings);
        std::filesystem::create_directories(scratch.path / "esercizi");
        std::filesystem::create_directories(scratch.path / "tmp");
        win32gui::loadProgramFonts(program, {});
        win32gui::MainWindowOptions options;
        options.environment.programDirectory = program;
        options.environment.configurationFile = scratch.path / "tattilo.ini";
        options.environment.documentsDirectory = scratch.path;
        options.environment.temporaryDirectory = scratch.path / "tmp";
        options.environment.fontDirectories = {program / "fonts"};
        options.environment.arguments = std::move(arguments);
        options.environment.speechAvailable = false;
        options.dialogs = realDialogs ? nullptr : &scripted;
        if (adjust) {
            adjust(options);
        }
        view = std::make_unique<win32gui::MainWindowView>(std::move(options));
        view->window().setVisible(true);
        ASSERT_TRUE(toFront(view->window().handle()))
            << "the window never came to the front: keys could not reach it";
        // The first activation has run once an editor has the focus; Esc then puts the splash
        // away, as the student may.
        ASSERT_TRUE(waitUntil([this] { return view->logic().activeEditor().focused(); }, 5000));
        tap(VK_ESCAPE);
        ASSERT_TRUE(waitUntil([this] { return !view->logic().widgets().Panel1.visible(); }, 5000));
    }

    ~Workbench() {
        view.reset();
        win32gui::processPendingMessages();
    }

    editor::TForm1& logic() { return view->logic(); }
    win32gui::ControlSet& controls() { return view->controls(); }
    HWND handle(std::string_view name) { return view->controls().handle(name); }
};

}  // namespace win32_test
