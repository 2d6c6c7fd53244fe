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
    QtLine& edit1 = frame_.line("Edit1");
    top->addWidget(frame_.captionFor("Edit1"));
    top->addWidget(edit1.widget(), 1);
    QtLabel& label2 = frame_.label("Label2");
    QtLabel& label1 = frame_.label("Label1");
    top->addWidget(label2.widget());
    top->addWidget(label1.widget());
    layout->addLayout(top);

    // ---- the work: the column memo and the partial products side by side, the step lines of
    // a long division one under the other; only those of the operation show
    auto* work = new QHBoxLayout;
    QtMemo& memo1 = frame_.memo("Memo1");
    work->addWidget(memo1.widget());
    std::array<ui::TextBox*, learning::kPartialMemos> partials{};
    for (std::size_t i = 0; i < partials.size(); ++i) {
        QtMemo& m = frame_.memo("Memo" + std::to_string(i + 2));
        work->addWidget(m.widget());
        partials[i] = &m;
    }
    auto* stepColumn = new QVBoxLayout;
    std::array<ui::TextBox*, learning::kMaxStepLines> steps{};
    for (std::size_t i = 0; i < steps.size(); ++i) {
        QtLine& s = frame_.line("Edit" + std::to_string(i + 2));
        stepColumn->addWidget(s.widget());
        steps[i] = &s;
    }
    stepColumn->addStretch(1);
    work->addLayout(stepColumn, 1);
    layout->addLayout(work, 1);

    // ---- result and remainder
    auto* results = new QGridLayout;
    QtLine& edit10 = frame_.line("Edit10");
    QtLine& edit11 = frame_.line("Edit11");
    results->addWidget(edit10.widget(), 0, 0);
    results->addWidget(edit11.widget(), 0, 1);
    layout->addLayout(results);

    // ---- buttons and the status line
    frame_.addButtonRow({"Button1", "Button2", "Button3", "Button4"});
    QtLabel& status = frame_.label("StatusBar1");
    layout->addWidget(status.widget());

    timers_.push_back(std::make_unique<QtTimer>(dialog));
    timers_.push_back(std::make_unique<QtTimer>(dialog));

    adopt(std::make_unique<learning::TForm2>(
        learning::CalcSheetWidgets{
            frame_.window(), frame_.modal(), frame_.menu(), edit1, memo1, partials, steps, edit10,
            edit11, label1, label2, status, frame_.button("Button1"), frame_.button("Button2"),
            frame_.button("Button3"), frame_.button("Button4"), *timers_[0], *timers_[1]},
        learning::CalcSheetServices{dialogs, options.clipboard, options.keyboard}, *voice_,
        std::move(options.host)));
}

CalcSheetView::~CalcSheetView() {
    // The logic goes before the timers it runs on.
    close();
}

}  // namespace gui
