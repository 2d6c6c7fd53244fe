#pragma once

// The six symbol palettes of Latex mode in the main window: each button fills `ListBox1` with
// the names of its palette (and the hidden `ListBox2` with their Latex texts), shows it under
// the button and gives it the focus. A double click on an entry, or Enter released on the list,
// inserts the entry's text at the caret of `Memo1` (palettes.h places the caret); Esc released
// on the list, or a click in `Memo1`, closes the list.
//
// Ownership: keeps a reference to the TForm1, which must outlive it.

#include "editor/input/palettes.h"
#include "editor/window/main_window.h"

namespace editor {

class PaletteCommands : public KeyHandler {
public:
    explicit PaletteCommands(TForm1& form);

    void openPalette(const Palette& palette, ui::Control& button);
    void insertSelected();
    void close();

    void keyUp(ui::KeyEvent& event) override;

private:
    TForm1& form_;
};

}  // namespace editor
