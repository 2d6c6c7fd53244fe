#pragma once

// ui::Dialogs on Windows: message boxes (MessageBoxW after the MessageBeep of their icon, with
// the buttons named in Italian whatever the system's language: "OK", "Sì", "No", "Annulla"; OK
// and No is a Yes/No box whose Yes reads "OK"), an input box of the program's own, the common
// dialogs for opening and saving files (GetOpenFileNameW / GetSaveFileNameW), choosing a folder
// (SHBrowseForFolderW), a font (ChooseFontW), printing (PrintDlgW) and the printer's page
// (PageSetupDlgW). Each closes an open menu first and belongs to the program's active window.
//
// The printer chosen in a print or page dialog goes to `printer`, which the Printer prints on.

#include <optional>
#include <string>

#include "ui/dialogs.h"
#include "win32gui/native.h"
#include "win32gui/services/win32_printer.h"

namespace win32gui {

class Win32Dialogs : public ui::Dialogs {
public:
    // `owner` is the window the dialogs belong to when none of the program's is active.
    // `italianButtons` off: the message boxes keep the system's own button texts (a program in
    // English, as the installer is).
    Win32Dialogs(HWND owner, PrinterChoice& printer, bool italianButtons = true)
        : owner_(owner), printer_(printer), italianButtons_(italianButtons) {}

    // The window the dialogs belong to from now on when none of the program's is active.
    void setOwner(HWND owner) { owner_ = owner; }

    void beep() override;
    ui::Answer message(const ui::MessageBox& box) override;
    std::optional<std::string> inputBox(std::string_view caption, std::string_view prompt,
                                        std::string_view value) override;
    std::optional<std::string> openFile(const ui::FileDialog& dialog) override;
    std::optional<std::string> saveFile(const ui::FileDialog& dialog) override;
    std::optional<std::string> chooseFolder(std::string_view title,
                                            std::string_view start) override;
    std::optional<ui::Font> chooseFont(const ui::Font& current) override;
    bool printDialog() override;
    bool printerSetup() override;

private:
    HWND owner() const;
    std::optional<std::string> fileDialog(const ui::FileDialog& dialog, bool save);

    HWND owner_;
    PrinterChoice& printer_;
    bool italianButtons_;
};

// "Name|pattern|Name|pattern" as the common dialogs want it: "Name\0pattern\0...\0\0".
std::wstring fileFilter(std::string_view filter);

// The texts of the message boxes' buttons.
namespace message_buttons {
inline constexpr std::string_view kOk = "OK";
inline constexpr std::string_view kYes = "&S\xEC";
inline constexpr std::string_view kNo = "&No";
inline constexpr std::string_view kCancel = "Annulla";
}  // namespace message_buttons

}  // namespace win32gui
