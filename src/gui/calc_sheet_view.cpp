#include "gui/calc_sheet_view.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <array>
#include <string>

#include "learning/window_layout.h"

namespace gui {

CalcSheetView::CalcSheetView(QWidget* parent, CalcSheetOptions options)
    : LearningView(parent, learning::calcSheetLayout(), options.keyboard) {
    QDialog* dialog = frame_.dialog();
    ui::Dialogs& dialogs = frame_.dialogsOr(options.dialogs);
    if (options.reportEngine) {
        if (const auto problem = speech::prepareEngine(options.engine.get())) {
            dialogs.message({*problem, {}, ui::Icon::None, ui::Buttons::Ok});
        }
    }
    voice_ = std::make_unique<speech::SheetVoice>(std::move(options.engine));

    QVBoxLayout* layout = frame_.layout();
    frame_.buildMenu(learning::sheetMenuTable());

    // ---- expression, input mode, decimals
    auto* top = new QHBoxLayout;
    top->addWidget(frame_.captionFor("Edit1"));
    top->addWidget(frame_.widget("Edit1"), 1);
    top->addWidget(frame_.widget("Label2"));
    top->addWidget(frame_.widget("Label1"));
    layout->addLayout(top);

    // ---- the work: the column memo and the partial products side by side, the step lines of
    // a long division one under the other; only those of the operation show
    auto* work = new QHBoxLayout;
    for (std::size_t i = 1; i <= learning::kPartialMemos + 1; ++i) {
        work->addWidget(frame_.widget("Memo" + std::to_string(i)));
    }
    auto* stepColumn = new QVBoxLayout;
    for (std::size_t i = 2; i < learning::kMaxStepLines + 2; ++i) {
        stepColumn->addWidget(frame_.widget("Edit" + std::to_string(i)));
    }
    stepColumn->addStretch(1);
    work->addLayout(stepColumn, 1);
    layout->addLayout(work, 1);

    // ---- result and remainder
    auto* results = new QGridLayout;
    results->addWidget(frame_.widget("Edit10"), 0, 0);
    results->addWidget(frame_.widget("Edit11"), 0, 1);
    layout->addLayout(results);

    // ---- buttons and the status line
    frame_.addButtonRow({"Button1", "Button2", "Button3", "Button4"});
    layout->addWidget(frame_.widget("StatusBar1"));

    timers_.push_back(std::make_unique<QtTimer>(dialog));
    timers_.push_back(std::make_unique<QtTimer>(dialog));

    adopt(std::make_unique<learning::TForm2>(
        learning::calcSheetWidgets(frame_, *timers_[0], *timers_[1]),
        learning::CalcSheetServices{dialogs, options.clipboard, options.keyboard}, *voice_,
        std::move(options.host)));
}

CalcSheetView::~CalcSheetView() {
    // The logic goes before the timers it runs on.
    close();
}

}  // namespace gui
