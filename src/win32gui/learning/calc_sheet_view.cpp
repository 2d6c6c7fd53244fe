#include "win32gui/learning/calc_sheet_view.h"

#include <array>
#include <string>

#include "learning/window_layout.h"

namespace win32gui {

CalcSheetView::CalcSheetView(HWND owner, CalcSheetOptions options)
    : LearningView(owner, learning::calcSheetLayout(), options.clipboard) {
    if (options.reportEngine) {
        if (const auto problem = speech::prepareEngine(options.engine.get())) {
            options.dialogs.message({*problem, {}, ui::Icon::None, ui::Buttons::Ok});
        }
    }
    voice_ = std::make_unique<speech::SheetVoice>(std::move(options.engine));
    frame_.buildMenu(learning::sheetMenuTable());
    adopt(std::make_unique<learning::TForm2>(
        learning::calcSheetWidgets(frame_, timer1_, timer2_),
        learning::CalcSheetServices{options.dialogs, options.clipboard, options.keyboard}, *voice_,
        std::move(options.host)));
}

CalcSheetView::~CalcSheetView() {
    // The timers stop before the logic they serve goes.
    timer1_.setEnabled(false);
    timer2_.setEnabled(false);
    close();
}

}  // namespace win32gui
