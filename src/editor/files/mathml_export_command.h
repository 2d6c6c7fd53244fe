#pragma once

// "Salva come Mathml" (Ctrl+M) and the "Mathml" button: the whole document as one XHTML file
// with MathML, for a sighted reader's browser. The window proposes the file (the document's
// own name, or the next free exercise name, with ".xml"), asks before replacing a file,
// converts all pages so that every Braille page is current, and writes the file without ever
// leaving a half-written one: a failed write keeps the old file and says why. A page whose
// Braille text could not be brought in step with its Latex-mode text (it was refused, and
// said so) is left out rather than shown as it was before.
//
// Ownership: keeps references to the window and to the pages the last conversion of all pages
// left out of step, both of which outlive it.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "editor/window/main_window.h"
#include "notation/conversion.h"

namespace editor {

// The chosen name with ".xml" appended when it has no extension.
std::string exportFileName(std::string_view chosen);

class MathmlExportCommand {
public:
    MathmlExportCommand(TForm1& form, const notation::PageFlags& unconverted)
        : form_(form), unconverted_(unconverted) {}
    MathmlExportCommand(const MathmlExportCommand&) = delete;
    MathmlExportCommand& operator=(const MathmlExportCommand&) = delete;

    // The command; returns the file written, nullopt when nothing was written.
    std::optional<std::filesystem::path> SalvacomeMathmlClick();

private:
    TForm1& form_;
    const notation::PageFlags& unconverted_;
};

}  // namespace editor
