#pragma once

// Braille printing from the main window: "Stampa" sends the lines of the active editor to the
// printer chosen in the print dialog, in that editor's font; "Stampa su file" (Braille mode)
// writes the Braille page as an embosser file (braille_print.h) after asking for its name.
//
// Printer settings that cannot be printed with (fewer than 4 characters per line, no lines per
// page) are refused with "Impostare  parametri stampante Braille" and the settings dialog; the
// two come back until the settings are usable, or until the student leaves the dialog without
// changing them, which ends the command instead of trapping him in the loop.
//
// Ownership: keeps a reference to the TForm1, which must outlive it.

#include "editor/file_io.h"
#include "editor/window/main_window.h"

namespace editor {

class PrintCommands {
public:
    explicit PrintCommands(TForm1& form);
    PrintCommands(const PrintCommands&) = delete;
    PrintCommands& operator=(const PrintCommands&) = delete;

    void print();        // "Stampa"
    void printToFile();  // "Stampa su file"

    // Test hook: the writes fail at the steps `fault` chooses.
    void setWriteFault(WriteFault fault) { fault_ = std::move(fault); }

private:
    bool printerSettingsReady();

    TForm1& form_;
    WriteFault fault_;
};

}  // namespace editor
