#include "win32gui/services/win32_services.h"

#include <cstring>

#include "ui/crlf_offsets.h"
#include "win32gui/dib.h"
#include "win32gui/wide_text.h"

namespace win32gui {
namespace {

// Puts `bytes` on the (open) clipboard as `format`.
bool putData(UINT format, const void* bytes, std::size_t size) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    if (memory == nullptr) {
        return false;
    }
    void* target = GlobalLock(memory);
    if (target == nullptr) {
        GlobalFree(memory);
        return false;
    }
    std::memcpy(target, bytes, size);
    GlobalUnlock(memory);
    if (SetClipboardData(format, memory) == nullptr) {
        GlobalFree(memory);
        return false;
    }
    return true;  // the clipboard owns it now
}

}  // namespace

Win32Clipboard::Win32Clipboard()
    : owner_(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                             GetModuleHandleW(nullptr), nullptr)) {}

Win32Clipboard::~Win32Clipboard() {
    if (owner_ != nullptr) {
        DestroyWindow(owner_);
    }
}

bool Win32Clipboard::open() const {
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (OpenClipboard(owner_)) {
            return true;
        }
        Sleep(20);
    }
    return false;
}

std::string Win32Clipboard::text() const {
    if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !open()) {
        return {};
    }
    std::string result;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* text = static_cast<const wchar_t*>(GlobalLock(data))) {
            const std::size_t limit = GlobalSize(data) / sizeof(wchar_t);
            std::size_t length = 0;
            while (length < limit && text[length] != L'\0') {
                ++length;
            }
            result = ui::normalizeLineBreaks(narrow(std::wstring_view(text, length)));
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return result;
}

void Win32Clipboard::setText(std::string_view text) {
    if (!open()) {
        return;
    }
    EmptyClipboard();
    const std::wstring wide = widen(ui::normalizeLineBreaks(text));
    putData(CF_UNICODETEXT, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
    CloseClipboard();
}

void Win32Clipboard::setBitmap(const ui::Bitmap& bitmap) {
    const std::string dib = packedDib(bitmap);
    if (dib.empty() || !open()) {
        return;
    }
    EmptyClipboard();
    putData(CF_DIB, dib.data(), dib.size());
    CloseClipboard();
}

bool Win32Clipboard::hasBitmap() const {
    return IsClipboardFormatAvailable(CF_DIB) || IsClipboardFormatAvailable(CF_BITMAP);
}

ui::Bitmap Win32Clipboard::bitmap() const {
    ui::Bitmap picture;
    if (!hasBitmap() || !open()) {
        return picture;
    }
    if (HANDLE data = GetClipboardData(CF_DIB)) {
        if (const void* bytes = GlobalLock(data)) {
            picture =
                fromPackedDib(std::string_view(static_cast<const char*>(bytes), GlobalSize(data)));
            GlobalUnlock(data);
        }
    }
    if (picture.empty()) {
        // A picture this reader does not know as a DIB: through GDI.
        picture = fromGdiBitmap(static_cast<HBITMAP>(GetClipboardData(CF_BITMAP)));
    }
    CloseClipboard();
    return picture;
}

void Win32Clipboard::clear() {
    if (open()) {
        EmptyClipboard();
        CloseClipboard();
    }
}

// ---- shell

std::wstring quoteArgument(const std::wstring& argument) {
    if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring::npos) {
        return argument;
    }
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        if (c == L'"') {
            // Each backslash before a quote doubled, and the quote escaped.
            quoted.append(backslashes * 2 + 1, L'\\');
        } else {
            quoted.append(backslashes, L'\\');
        }
        backslashes = 0;
        quoted += c;
    }
    // Before the closing quote too.
    quoted.append(backslashes * 2, L'\\');
    quoted += L'"';
    return quoted;
}

std::wstring commandLine(const std::wstring& program, const std::vector<std::wstring>& arguments) {
    // The program's own name is read up to the next quote, without escapes: it is quoted
    // whole, as Windows reads it.
    std::wstring line = program.find_first_of(L" \t") != std::wstring::npos || program.empty()
                            ? L"\"" + program + L"\""
                            : program;
    for (const std::wstring& a : arguments) {
        line += L' ';
        line += quoteArgument(a);
    }
    return line;
}

bool Win32Shell::open(const std::string& path) {
    const auto result = reinterpret_cast<INT_PTR>(ShellExecuteW(
        GetActiveWindow(), L"open", widen(path).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;
}

std::optional<int> Win32Shell::runAndWait(const std::string& program,
                                          const std::vector<std::string>& arguments,
                                          const std::string& directory) {
    std::vector<std::wstring> wideArguments;
    for (const std::string& a : arguments) {
        wideArguments.push_back(widen(a));
    }
    std::wstring line = commandLine(widen(program), wideArguments);
    const std::wstring folder = widen(directory);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &process)) {
        return std::nullopt;
    }
    CloseHandle(process.hThread);
    for (;;) {
        const DWORD woke =
            MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, INFINITE,
                                      QS_PAINT | QS_POSTMESSAGE | QS_SENDMESSAGE | QS_TIMER);
        if (woke == WAIT_OBJECT_0) {
            break;
        }
        if (woke == WAIT_FAILED) {
            WaitForSingleObject(process.hProcess, INFINITE);
            break;
        }
        // Painting, timers and messages from other threads; input stays in the queue.
        MSG msg{};
        while (PeekMessageW(&msg, nullptr, 0, 0,
                            PM_REMOVE | PM_QS_PAINT | PM_QS_POSTMESSAGE | PM_QS_SENDMESSAGE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                break;
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

}  // namespace win32gui
