#pragma once

// Printing through GDI. The printer chosen in the last print or printer setup dialog (its
// DEVMODE and DEVNAMES, kept in PrinterChoice and shared with the dialogs) is the one every job
// goes to; without a choice, the system's default printer. A job is StartDocW, a page for each
// StartPage/EndPage, EndDoc; a failed call aborts the job and reports false.

#include <string>
#include <vector>

#include "ui/services.h"
#include "win32gui/native.h"

namespace win32gui {

// The printer and its settings as the common dialogs hand them over (global memory handles,
// owned here).
class PrinterChoice {
public:
    PrinterChoice() = default;
    ~PrinterChoice();
    PrinterChoice(const PrinterChoice&) = delete;
    PrinterChoice& operator=(const PrinterChoice&) = delete;

    HGLOBAL devMode() const { return devMode_; }
    HGLOBAL devNames() const { return devNames_; }
    // Takes the handles a dialog returned (freeing the old ones unless they are the same).
    void take(HGLOBAL devMode, HGLOBAL devNames);
    // Asks the system for its default printer when none was chosen; false when there is none.
    bool ensure();
    // A device context for the chosen printer; null when there is none. The caller deletes it.
    HDC createDC();

private:
    HGLOBAL devMode_ = nullptr;
    HGLOBAL devNames_ = nullptr;
};

class Win32Printer : public ui::Printer {
public:
    explicit Win32Printer(PrinterChoice& choice) : choice_(choice) {}

    int pageWidth() const override;
    int pageHeight() const override;
    ui::Orientation orientation() const override;
    void setOrientation(ui::Orientation orientation) override;
    bool printPages(const std::vector<ui::PrintPage>& pages, const std::string& imageFile) override;
    bool printLines(const std::vector<std::string>& lines, const ui::Font& font) override;
    bool printBitmap(const ui::Bitmap& bitmap) override;

private:
    int deviceCaps(int index) const;

    PrinterChoice& choice_;
};

// The page's picture with its heading written over it at (10, 15) in 14-pixel type.
ui::Bitmap pageWithHeading(const ui::PrintPage& page);

}  // namespace win32gui
