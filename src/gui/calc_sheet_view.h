#pragma once

// The calculation sheet TForm2 on Qt: its menu, the expression box, the column memo, the five
// partial-product memos, the eight step lines, the result and remainder boxes, the labels, the
// buttons and the status line, each with an accessible name, in the Braille font, wired to the
// sheet's logic. The sheet speaks through a voice of its own.

#include <QDialog>
#include <memory>
#include <vector>

#include "gui/learning_window_frame.h"
#include "gui/qt_services.h"
#include "gui/qt_widgets.h"
#include "gui/qt_window.h"
#include "learning/calc_sheet.h"
#include "speech/sheet_voice.h"

namespace gui {

struct CalcSheetOptions {
    ui::Clipboard& clipboard;
    QtKeyboard& keyboard;
    // Dialogs to use instead of real ones over the sheet; null for real ones.
    ui::Dialogs* dialogs = nullptr;
    // The sheet voice's engine; null when it could not be created, which is said once when
    // `reportEngine` is set.
    std::unique_ptr<speech::Engine> engine;
    bool reportEngine = false;
    learning::SheetHost host;
};

class CalcSheetView : public LearningView<learning::TForm2> {
public:
    CalcSheetView(QWidget* parent, CalcSheetOptions options);
    ~CalcSheetView();

    speech::SheetVoice& voice() { return *voice_; }

private:
    std::unique_ptr<speech::SheetVoice> voice_;
    std::vector<std::unique_ptr<QtTimer>> timers_;
};

}  // namespace gui
