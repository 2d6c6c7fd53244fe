#pragma once

// The calculation sheet TForm2 on Windows: its menu, the expression box, the column memo, the
// five partial-product memos, the eight step lines, the result and remainder boxes, the
// labels, the buttons and the status line, each with its accessible name, in the Braille font,
// built from the sheet's layout table and wired to the sheet's logic. The sheet speaks through
// a voice of its own.

#include <memory>
#include <vector>

#include "learning/calc_sheet.h"
#include "speech/sheet_voice.h"
#include "win32gui/controls/win32_controls.h"
#include "win32gui/learning/learning_window.h"

namespace win32gui {

struct CalcSheetOptions {
    ui::Clipboard& clipboard;
    ui::Keyboard& keyboard;
    ui::Dialogs& dialogs;
    // The sheet voice's engine; null when it could not be created, which is said once when
    // `reportEngine` is set.
    std::unique_ptr<speech::Engine> engine;
    bool reportEngine = false;
    learning::SheetHost host;
};

class CalcSheetView : public LearningView<learning::TForm2> {
public:
    CalcSheetView(HWND owner, CalcSheetOptions options);
    ~CalcSheetView();

    speech::SheetVoice& voice() { return *voice_; }

private:
    std::unique_ptr<speech::SheetVoice> voice_;
    Win32Timer timer1_;
    Win32Timer timer2_;
};

}  // namespace win32gui
