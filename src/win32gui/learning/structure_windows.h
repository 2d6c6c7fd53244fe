#pragma once

// The two learning windows that work on the caret line of the Braille page, on Windows:
//   - the structure view TForm5: the initial expression, the bracket list, the structure line
//     and the contents list, each after its label, and the buttons "Sostituisci", "Memorizza
//     risultato ed esci ", "Esci" and "Font";
//   - the decomposition TForm9: the history, the step button with its work and answer boxes,
//     the same inside a group, and "Ricomincia", "Esci", "Mem.risultato ed esci".
// Each is built from its layout table with the accessible names of the Linux build and wired
// to its logic, which hears whenever the focus enters or leaves one of its boxes.

#include <memory>

#include "learning/decomposition.h"
#include "learning/structure_view.h"
#include "win32gui/learning/learning_window.h"

namespace win32gui {

class StructureWindow : public LearningView<learning::TForm5> {
public:
    StructureWindow(HWND owner, ui::Dialogs& dialogs, ui::Clipboard& clipboard,
                    learning::ToolHost host);
};

class DecompositionWindow : public LearningView<learning::TForm9> {
public:
    // `sheet` (may be null) is what "Apri foglio calcolo" opens.
    DecompositionWindow(HWND owner, ui::Dialogs& dialogs, ui::Clipboard& clipboard,
                        learning::ToolHost host, learning::CalcSheetOpener* sheet);
};

}  // namespace win32gui
