#pragma once

// The caret's line of the Braille editor on a refreshable Braille display, in the workbench's own
// cell code, so that no screen-reader table stands between the page and the student's fingers.
// The caret is shown as dots 7 and 8 under its cell. The routing key over a cell moves the caret
// there; the panning keys move along a line longer than the display. The display is held only
// while the Braille editor has the focus in Braille mode and the setting is on; otherwise it goes
// back to the screen reader. The display only mirrors: speech and the screen behave as without it.
//
// Ownership: the mirror keeps references to the window and the display, which outlive it.

#include <cstddef>
#include <string_view>
#include <vector>

#include "editor/window/main_window.h"
#include "ui/braille_display.h"

namespace editor {

// The dots a character of the Braille editor shows: a cell its own dots, a capital letter the
// cell of its small letter (as the Braille font draws it), any other character dot 8 alone.
ui::BrailleDots displayDots(char c);

// Where the display's window starts on a line so that `caretColumn` is shown: `start` when it
// already is, else the start of the width-long stretch that holds it. `width` is at least 1.
std::size_t displayWindowStart(std::size_t start, std::size_t caretColumn, std::size_t width);

// The cells of `line` from `start`, at most `width` of them, with dots 7 and 8 added at
// `caretColumn` (a caret just past the line's end marks a blank cell).
std::vector<ui::BrailleDots> displayRow(std::string_view line, std::size_t start, std::size_t width,
                                        std::size_t caretColumn);

class BrailleDisplayMirror : public KeyHandler {
public:
    BrailleDisplayMirror(TForm1& form, ui::BrailleDisplay& display);

    // Shows the caret's line, or gives the display back when the Braille editor is not where
    // the student works.
    void refresh();

    void keyUp(ui::KeyEvent& event) override;

private:
    struct CaretLine {
        std::string_view line;
        std::size_t lineStart = 0;
        std::size_t column = 0;
    };
    bool wanted() const;
    void release();
    CaretLine caretLine(std::string_view text) const;
    void onKey(ui::DisplayKey key);

    TForm1& form_;
    ui::BrailleDisplay& display_;
    bool held_ = false;
    std::size_t width_ = 0;
    std::size_t start_ = 0;
    // The caret where panning left it: the window stays put until the caret moves.
    std::size_t pannedAtCaret_ = 0;
    bool panned_ = false;
};

}  // namespace editor
