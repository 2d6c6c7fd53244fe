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

    std::array<ui::TextBox*, learning::kPartialMemos> partials{};
    for (std::size_t i = 0; i < partials.size(); ++i) {
        partials[i] = &frame_.box("Memo" + std::to_string(i + 2));
    }
    std::array<ui::TextBox*, learning::kMaxStepLines> steps{};
    for (std::size_t i = 0; i < steps.size(); ++i) {
        steps[i] = &frame_.box("Edit" + std::to_string(i + 2));
    }
    adopt(std::make_unique<learning::TForm2>(
        learning::CalcSheetWidgets{
            frame_.window(), frame_.modal(), frame_.menu(), frame_.box("Edit1"),
            frame_.box("Memo1"), partials, steps, frame_.box("Edit10"), frame_.box("Edit11"),
            frame_.control("Label1"), frame_.control("Label2"), frame_.control("StatusBar1"),
            frame_.control("Button1"), frame_.control("Button2"), frame_.control("Button3"),
            frame_.control("Button4"), timer1_, timer2_},
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
