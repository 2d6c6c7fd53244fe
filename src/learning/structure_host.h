#pragma once

// What the structure view and the decomposition read from the main window, and how both speak
// what the student types in their boxes: mode "key" for a typed cell, "last" for Left and
// Right, "canc" for Backspace and Delete (said before the cell goes), and, with the keypad
// key mapping active, the keypad keys turned into their cells as in the Braille editor.

#include <cstddef>
#include <functional>
#include <string>

#include "speech/speech_request.h"
#include "ui/dialogs.h"
#include "ui/keys.h"
#include "ui/services.h"
#include "ui/widgets.h"

namespace learning {

// Every function may be left unset: no selection, Braille mode, silence, no keypad mapping,
// nothing pasted, the boxes' own fonts.
struct ToolHost {
    std::string programDirectory;
    // The selection of the current page's editor (the caret line the main window selected).
    std::function<std::string()> selection;
    std::function<bool()> brailleMode;
    // Sends a speech request; the main window drops it while speech is off.
    std::function<void(speech::Request)> speak;
    // Whether the keypad types cells (NumLock on, chord input off), and the cells of a keypad
    // key with the modifiers held; empty for a key that is not one of the keypad's.
    std::function<bool()> keypadMapping;
    std::function<std::string(int key, unsigned shift)> keypadText;
    // Pastes the clipboard over the selection of the main window's Braille page.
    std::function<void()> pasteIntoBraillePage;
    // The Braille editor's font and the Latex editor's font of the main window.
    std::function<ui::Font()> brailleFont;
    std::function<ui::Font()> latexFont;
};

// The services both windows use: message boxes and the clipboard.
struct ToolServices {
    ui::Dialogs& dialogs;
    ui::Clipboard& clipboard;
};

// Sends `text` with the mode word of `keyCode` (speech::keyCodeRequest) through the host.
void speakCode(const ToolHost& host, int keyCode, std::string text);

// The caret's line of `box` from its cell `skip` on, up to the caret and `extra` cells past it.
std::string lineToCaret(const ui::TextBox& box, std::size_t skip, std::size_t extra = 0);

// The speech and keypad typing of one window's editable boxes. The window hands it the keys
// that reach a box the student types in, with the cells of the line that are not read (the
// head of a content line).
class BoxTyping {
public:
    explicit BoxTyping(const ToolHost& host) : host_(host) {}

    // Backspace and Delete are said before the cell goes; a keypad key the mapping types is
    // swallowed and typed on its key up.
    void keyDown(const ui::TextBox& box, ui::KeyEvent& event, std::size_t skip);
    // Swallows the character of a keypad key the mapping types.
    void keyPress(ui::KeyPress& press);
    // Types the keypad key's cells, then says the line up to the caret. Returns whether the
    // key was one that is said.
    bool keyUp(ui::TextBox& box, const ui::KeyEvent& event, std::size_t skip);

private:
    const ToolHost& host_;
    int keypadKey_ = 0;  // the keypad key down whose cells go in on its key up
    unsigned keypadShift_ = 0;
};

}  // namespace learning
