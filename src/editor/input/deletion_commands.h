#pragma once

// The structural deletions of the Braille editor in the main window: the "Eliminazioni" and
// "e&Liminaz.parziali" menus with their two "Ripristina ultimi dati eliminati" items. The
// deletions themselves are in deletions.h; this runs them on `Memo2`, reports their messages
// through the formula error report (a beep and a warning), and shows each restore item only
// while its copy holds something.
//
// The restore copies are whole texts of the page they were taken from: when the window puts
// another page into the editors (page change, mode switch, New, Open) they are dropped, so that
// a restore never puts one page's text in place of another's.
//
// Ownership: keeps references to the TForm1 and the report, which must outlive it.

#include "editor/input/deletions.h"
#include "editor/window/main_window.h"
#include "notation/formula_error_report.h"

namespace editor {

class DeletionCommands {
public:
    DeletionCommands(TForm1& form, notation::FormulaErrorReport& report);
    DeletionCommands(const DeletionCommands&) = delete;
    DeletionCommands& operator=(const DeletionCommands&) = delete;

    void deleteStructure(Structure structure);
    void deletePartial(PartialDeletion deletion);
    void restoreStructure();
    void restorePartial();

private:
    // Puts a deletion or a restore into the page; `nothingDone` says why nothing changed.
    void apply(const DeletionResult& result, std::string_view nothingDone);
    void showRestoreItems();

    TForm1& form_;
    notation::FormulaErrorReport& report_;
    Deletions deletions_;
};

}  // namespace editor
