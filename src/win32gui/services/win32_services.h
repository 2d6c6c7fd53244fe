#pragma once

// The desktop services of the ui layer on Windows: the clipboard (CF_UNICODETEXT for text,
// CF_DIB for pictures), the shell ("open" with ShellExecuteW; a program started with
// CreateProcessW and waited for) and the keyboard state (NumLock from GetKeyState).

#include <optional>
#include <string>
#include <vector>

#include "ui/services.h"
#include "win32gui/native.h"

namespace win32gui {

class Win32Clipboard : public ui::Clipboard {
public:
    Win32Clipboard();
    ~Win32Clipboard() override;
    Win32Clipboard(const Win32Clipboard&) = delete;
    Win32Clipboard& operator=(const Win32Clipboard&) = delete;

    // The text with its line breaks made CR LF; empty when the clipboard holds none.
    std::string text() const override;
    void setText(std::string_view text) override;
    void setBitmap(const ui::Bitmap& bitmap) override;
    bool hasBitmap() const override;
    ui::Bitmap bitmap() const override;
    void clear() override;

private:
    // Another program may hold the clipboard for a moment: a few tries.
    bool open() const;

    HWND owner_;  // a hidden window: the clipboard needs an owner to be given data
};

// A command line as Windows programs split it (CommandLineToArgvW and the C runtime): each
// argument quoted when it is empty or holds a blank, a tab or a quote; backslashes before a
// quote doubled.
std::wstring quoteArgument(const std::wstring& argument);
std::wstring commandLine(const std::wstring& program, const std::vector<std::wstring>& arguments);

class Win32Shell : public ui::Shell {
public:
    bool open(const std::string& path) override;
    // While the program runs the windows keep painting and their timers run; keys and clicks
    // wait until it has ended.
    std::optional<int> runAndWait(const std::string& program,
                                  const std::vector<std::string>& arguments,
                                  const std::string& directory) override;
};

class Win32Keyboard : public ui::Keyboard {
public:
    // NumLock toggled on and its key not held.
    bool numLockOn() const override { return GetKeyState(VK_NUMLOCK) == 1; }
};

}  // namespace win32gui
