#include "win32gui/controls/win32_text_box.h"

#include <algorithm>

#include "ui/crlf_offsets.h"
#include "win32gui/dpi.h"
#include "win32gui/wide_text.h"

namespace win32gui {

HFONT createFont(const ui::Font& font) {
    LOGFONTW lf{};
    if (font.pixelSize > 0) {
        lf.lfHeight = -toScreen(font.pixelSize);
    } else {
        HDC screen = GetDC(nullptr);
        lf.lfHeight =
            -MulDiv(font.pointSize > 0 ? font.pointSize : 9, GetDeviceCaps(screen, LOGPIXELSY), 72);
        ReleaseDC(nullptr, screen);
    }
    lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = font.italic ? TRUE : FALSE;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfOutPrecision = OUT_TT_PRECIS;
    lf.lfQuality = CLEARTYPE_QUALITY;
    const std::wstring family = widen(font.family);
    lstrcpynW(lf.lfFaceName, family.c_str(), LF_FACESIZE);
    return CreateFontIndirectW(&lf);
}

Win32TextBox::Win32TextBox(HWND edit, std::function<std::string()> clipboardText)
    : Win32Widget(edit), clipboardText_(std::move(clipboardText)) {
    // No limit of its own: a page may be long.
    SendMessageW(edit, EM_SETLIMITTEXT, 0, 0);
    subclass();
}

Win32TextBox::~Win32TextBox() {
    if (hfont_ != nullptr) {
        if (IsWindow(hwnd())) {
            SendMessageW(hwnd(), WM_SETFONT, 0, FALSE);
        }
        DeleteObject(hfont_);
    }
}

bool Win32TextBox::multiLine() const {
    return (GetWindowLongW(hwnd(), GWL_STYLE) & ES_MULTILINE) != 0;
}

std::string Win32TextBox::text() const {
    const int length = GetWindowTextLengthW(hwnd());
    std::wstring t(static_cast<std::size_t>(length) + 1, L'\0');
    t.resize(static_cast<std::size_t>(GetWindowTextW(hwnd(), t.data(), length + 1)));
    return narrow(t);
}

void Win32TextBox::setText(std::string_view text) {
    quiet_ = true;
    SetWindowTextW(hwnd(), widen(ui::normalizeLineBreaks(text)).c_str());
    SendMessageW(hwnd(), EM_SETSEL, 0, 0);
    SendMessageW(hwnd(), EM_SCROLLCARET, 0, 0);
    quiet_ = false;
}

std::size_t Win32TextBox::selStart() const {
    DWORD from = 0;
    DWORD to = 0;
    SendMessageW(hwnd(), EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    return std::min(from, to);
}

std::size_t Win32TextBox::selLength() const {
    DWORD from = 0;
    DWORD to = 0;
    SendMessageW(hwnd(), EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    return from > to ? from - to : to - from;
}

void Win32TextBox::setSelection(std::size_t start, std::size_t length) {
    const std::string t = text();
    const std::size_t from = ui::snapOffset(t, start);
    const std::size_t to = ui::snapOffset(t, std::min(from + std::min(length, t.size()), t.size()));
    SendMessageW(hwnd(), EM_SETSEL, static_cast<WPARAM>(from),
                 static_cast<LPARAM>(std::max(from, to)));
    SendMessageW(hwnd(), EM_SCROLLCARET, 0, 0);
}

void Win32TextBox::setSelText(std::string_view text) {
    replaceSelection(text);
}

void Win32TextBox::replaceSelection(std::string_view text) {
    // An edit like typing: the change callback runs (EN_CHANGE), and Ctrl+Z of the control
    // itself can take it back.
    SendMessageW(hwnd(), EM_REPLACESEL, TRUE,
                 reinterpret_cast<LPARAM>(widen(ui::normalizeLineBreaks(text)).c_str()));
    SendMessageW(hwnd(), EM_SCROLLCARET, 0, 0);
}

void Win32TextBox::setFont(const ui::Font& font) {
    HFONT made = createFont(font);
    if (made == nullptr) {
        return;
    }
    SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(made), TRUE);
    if (hfont_ != nullptr) {
        DeleteObject(hfont_);
    }
    hfont_ = made;
    font_ = font;
}

bool Win32TextBox::readOnly() const {
    return (GetWindowLongW(hwnd(), GWL_STYLE) & ES_READONLY) != 0;
}

void Win32TextBox::setReadOnly(bool readOnly) {
    SendMessageW(hwnd(), EM_SETREADONLY, readOnly ? TRUE : FALSE, 0);
}

void Win32TextBox::cutToClipboard() {
    SendMessageW(hwnd(), WM_CUT, 0, 0);
}

void Win32TextBox::copyToClipboard() {
    SendMessageW(hwnd(), WM_COPY, 0, 0);
}

void Win32TextBox::pasteFromClipboard() {
    SendMessageW(hwnd(), WM_PASTE, 0, 0);
}

void Win32TextBox::command(int code) {
    switch (code) {
        case EN_CHANGE:
            if (!quiet_ && onChange_) {
                onChange_();
            }
            break;
        default:
            break;
    }
}

bool Win32TextBox::message(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (msg) {
        case WM_PASTE:
            // Every paste (the logic's, Ctrl+V, the context menu's) goes in with CR LF line
            // breaks, through the program's clipboard.
            if (!readOnly() && clipboardText_) {
                replaceSelection(clipboardText_());
            }
            result = 0;
            return true;
        case WM_LBUTTONUP:
            result = callOriginal(msg, wParam, lParam);
            if (onClick_) {
                onClick_();
            }
            return true;
        case WM_KILLFOCUS: {
            result = callOriginal(msg, wParam, lParam);
            // The focus going to a dialog or a menu over the window does not leave the box:
            // the student comes back to the same place.
            const auto to = reinterpret_cast<HWND>(wParam);
            if (onExit_ && to != nullptr &&
                GetAncestor(to, GA_ROOT) == GetAncestor(hwnd(), GA_ROOT)) {
                onExit_();
            }
            return true;
        }
        default:
            return false;
    }
}

}  // namespace win32gui
