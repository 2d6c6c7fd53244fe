#include "win32gui/services/win32_dialogs.h"

#include <commdlg.h>
#include <shlobj.h>
#include <array>
#include <vector>

#include "ui/control_spec.h"
#include "ui/keys.h"
#include "win32gui/controls/control_set.h"
#include "win32gui/dpi.h"
#include "win32gui/wide_text.h"
#include "win32gui/win32_window.h"

namespace win32gui {
namespace {

// ---- message boxes: the buttons renamed when the box first activates

struct ButtonTexts {
    HHOOK hook = nullptr;
    bool okForYes = false;
};
thread_local ButtonTexts pendingTexts;

LRESULT CALLBACK renameButtons(int code, WPARAM wParam, LPARAM lParam) {
    HHOOK hook = pendingTexts.hook;
    if (code == HCBT_ACTIVATE) {
        const auto box = reinterpret_cast<HWND>(wParam);
        wchar_t name[16] = {};
        GetClassNameW(box, name, 16);
        if (lstrcmpW(name, L"#32770") == 0) {
            namespace t = message_buttons;
            SetDlgItemTextW(box, IDOK, widen(t::kOk).c_str());
            SetDlgItemTextW(box, IDYES, widen(pendingTexts.okForYes ? t::kOk : t::kYes).c_str());
            SetDlgItemTextW(box, IDNO, widen(t::kNo).c_str());
            SetDlgItemTextW(box, IDCANCEL, widen(t::kCancel).c_str());
            UnhookWindowsHookEx(hook);
            pendingTexts.hook = nullptr;
        }
    }
    return CallNextHookEx(hook, code, wParam, lParam);
}

UINT iconStyle(ui::Icon icon) {
    switch (icon) {
        case ui::Icon::Information:
            return MB_ICONINFORMATION;
        case ui::Icon::Warning:
            return MB_ICONWARNING;
        case ui::Icon::Error:
            return MB_ICONERROR;
        case ui::Icon::Question:
            return MB_ICONQUESTION;
        case ui::Icon::None:
            return 0;
    }
    return 0;
}

UINT buttonStyle(ui::Buttons buttons) {
    switch (buttons) {
        case ui::Buttons::Ok:
            return MB_OK;
        case ui::Buttons::OkNo:
        case ui::Buttons::YesNo:
            return MB_YESNO;
        case ui::Buttons::YesNoCancel:
            return MB_YESNOCANCEL;
        case ui::Buttons::OkCancel:
            return MB_OKCANCEL;
    }
    return MB_OK;
}

// ---- the input box

constexpr std::array kInputBox = {
    ui::ControlSpec{"Prompt", ui::ControlKind::Label, {}, {12, 12, 316, 36}},
    ui::ControlSpec{"Value", ui::ControlKind::LineEdit, {}, {12, 52, 316, 24}},
    ui::ControlSpec{"Ok", ui::ControlKind::Button, message_buttons::kOk, {162, 88, 80, 26}},
    ui::ControlSpec{
        "Annulla", ui::ControlKind::Button, message_buttons::kCancel, {248, 88, 80, 26}},
};

// Esc leaves the input box as "Annulla" does.
class InputBoxKeys : public ui::KeyListener {
public:
    explicit InputBoxKeys(std::function<void()> cancel) : cancel_(std::move(cancel)) {}
    void keyDown(ui::KeyEvent& event) override {
        if (event.key == ui::vk::kEscape) {
            event.key = 0;
            cancel_();
        }
    }
    void keyPress(ui::KeyPress& press) override {
        if (press.ch == '\x1B') {
            press.ch = 0;
        }
    }

private:
    std::function<void()> cancel_;
};

std::wstring buffer(std::string_view text, std::size_t size) {
    std::wstring b = widen(text);
    b.resize(std::max(size, b.size() + 1), L'\0');
    return b;
}

std::string untilNul(const std::wstring& b) {
    return narrow(std::wstring_view(b.c_str()));
}

int CALLBACK folderStart(HWND hwnd, UINT msg, LPARAM /*lParam*/, LPARAM data) {
    if (msg == BFFM_INITIALIZED && data != 0) {
        SendMessageW(hwnd, BFFM_SETSELECTIONW, TRUE, data);
    }
    return 0;
}

}  // namespace

std::wstring fileFilter(std::string_view filter) {
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        const std::size_t bar = filter.find('|', start);
        parts.push_back(filter.substr(start, bar == std::string_view::npos ? bar : bar - start));
        if (bar == std::string_view::npos) {
            break;
        }
        start = bar + 1;
    }
    std::wstring out;
    // Name and pattern pairs; a name left without its pattern is dropped.
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        out += widen(parts[i]);
        out += L'\0';
        out += widen(parts[i + 1]);
        out += L'\0';
    }
    out += L'\0';
    return out;
}

HWND Win32Dialogs::owner() const {
    return dialogOwner(owner_);
}

void Win32Dialogs::beep() {
    MessageBeep(MB_OK);
}

ui::Answer Win32Dialogs::message(const ui::MessageBox& box) {
    closeMenus();
    const UINT icon = iconStyle(box.icon);
    if (icon != 0) {
        MessageBeep(icon);
    }
    pendingTexts.okForYes = box.buttons == ui::Buttons::OkNo;
    pendingTexts.hook =
        italianButtons_ ? SetWindowsHookExW(WH_CBT, &renameButtons, nullptr, GetCurrentThreadId())
                        : nullptr;
    const std::wstring caption =
        box.caption.empty() ? std::wstring(L"Tattilo") : widen(box.caption);
    const int answer = MessageBoxW(owner(), widenLines(box.text).c_str(), caption.c_str(),
                                   icon | buttonStyle(box.buttons) | MB_TASKMODAL);
    if (pendingTexts.hook != nullptr) {
        UnhookWindowsHookEx(pendingTexts.hook);
        pendingTexts.hook = nullptr;
    }
    switch (answer) {
        case IDYES:
            return box.buttons == ui::Buttons::OkNo ? ui::Answer::Ok : ui::Answer::Yes;
        case IDNO:
            return ui::Answer::No;
        case IDOK:
            return ui::Answer::Ok;
        default:
            return box.buttons == ui::Buttons::Ok ? ui::Answer::Ok : ui::Answer::Cancel;
    }
}

std::optional<std::string> Win32Dialogs::inputBox(std::string_view caption, std::string_view prompt,
                                                  std::string_view value) {
    closeMenus();
    Win32Window window({.clientWidth = 340, .clientHeight = 126, .dialog = true, .owner = owner()});
    window.setCaption(caption.empty() ? std::string_view("Tattilo") : caption);
    ControlSet controls(window, kInputBox, {});
    Win32Modal modal(window);
    bool accepted = false;
    controls.control("Prompt").setCaption(prompt);
    Win32TextBox& field = controls.textBox("Value");
    field.setText(value);
    field.setSelection(0, value.size());
    controls.control("Ok").setOnClick([&] {
        accepted = true;
        modal.closeModal();
    });
    controls.control("Annulla").setOnClick([&] { modal.closeModal(); });
    InputBoxKeys keys([&] { modal.closeModal(); });
    window.setKeyListener(&keys);
    window.setDefaultButton(controls.handle("Ok"));
    field.setFocus();
    modal.showModal();
    window.setKeyListener(nullptr);
    if (!accepted) {
        return std::nullopt;
    }
    return field.text();
}

std::optional<std::string> Win32Dialogs::fileDialog(const ui::FileDialog& d, bool save) {
    closeMenus();
    const std::wstring filter = fileFilter(d.filter);
    const std::wstring title = widen(d.title);
    const std::wstring folder = widen(d.initialDirectory);
    std::wstring file = buffer(d.fileName, 32768);
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner();
    ofn.lpstrFilter = filter.size() > 1 ? filter.c_str() : nullptr;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
    // The logic asks its own question before replacing a file, and takes a name without an
    // extension as it was typed.
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST |
                (save ? 0 : OFN_FILEMUSTEXIST);
    const BOOL chosen = save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
    if (!chosen) {
        return std::nullopt;
    }
    return untilNul(file);
}

std::optional<std::string> Win32Dialogs::openFile(const ui::FileDialog& dialog) {
    return fileDialog(dialog, false);
}

std::optional<std::string> Win32Dialogs::saveFile(const ui::FileDialog& dialog) {
    return fileDialog(dialog, true);
}

std::optional<std::string> Win32Dialogs::chooseFolder(std::string_view title,
                                                      std::string_view start) {
    closeMenus();
    const std::wstring heading = widen(title);
    const std::wstring from = widen(start);
    BROWSEINFOW info{};
    info.hwndOwner = owner();
    info.lpszTitle = heading.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    info.lpfn = &folderStart;
    info.lParam = from.empty() ? 0 : reinterpret_cast<LPARAM>(from.c_str());
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info);
    if (chosen == nullptr) {
        return std::nullopt;
    }
    std::wstring path(MAX_PATH * 4, L'\0');
    const bool ok = SHGetPathFromIDListW(chosen, path.data()) != FALSE;
    CoTaskMemFree(chosen);
    if (!ok) {
        return std::nullopt;
    }
    return untilNul(path);
}

std::optional<ui::Font> Win32Dialogs::chooseFont(const ui::Font& current) {
    closeMenus();
    LOGFONTW lf{};
    HDC screen = GetDC(nullptr);
    lf.lfHeight = current.pixelSize > 0 ? -toScreen(current.pixelSize)
                                        : -MulDiv(current.pointSize > 0 ? current.pointSize : 10,
                                                  GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    lf.lfWeight = current.bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = current.italic ? TRUE : FALSE;
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(lf.lfFaceName, widen(current.family).c_str(), LF_FACESIZE);
    CHOOSEFONTW cf{};
    cf.lStructSize = sizeof(cf);
    cf.hwndOwner = owner();
    cf.lpLogFont = &lf;
    cf.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT;
    if (!ChooseFontW(&cf)) {
        return std::nullopt;
    }
    ui::Font font;
    font.family = narrow(lf.lfFaceName);
    font.pixelSize = toLogical(lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight);
    if (font.pixelSize == 0) {
        font.pointSize = cf.iPointSize / 10;
    }
    font.bold = lf.lfWeight >= FW_BOLD;
    font.italic = lf.lfItalic != FALSE;
    return font;
}

bool Win32Dialogs::printDialog() {
    closeMenus();
    PRINTDLGW pd{};
    pd.lStructSize = sizeof(pd);
    pd.hwndOwner = owner();
    pd.hDevMode = printer_.devMode();
    pd.hDevNames = printer_.devNames();
    pd.Flags = PD_NOPAGENUMS | PD_NOSELECTION | PD_USEDEVMODECOPIESANDCOLLATE | PD_HIDEPRINTTOFILE;
    const BOOL chosen = PrintDlgW(&pd);
    printer_.take(pd.hDevMode, pd.hDevNames);
    return chosen != FALSE;
}

bool Win32Dialogs::printerSetup() {
    closeMenus();
    PAGESETUPDLGW psd{};
    psd.lStructSize = sizeof(psd);
    psd.hwndOwner = owner();
    psd.hDevMode = printer_.devMode();
    psd.hDevNames = printer_.devNames();
    psd.Flags = PSD_DISABLEMARGINS;
    const BOOL chosen = PageSetupDlgW(&psd);
    printer_.take(psd.hDevMode, psd.hDevNames);
    return chosen != FALSE;
}

}  // namespace win32gui
