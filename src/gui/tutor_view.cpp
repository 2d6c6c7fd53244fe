#include "gui/tutor_view.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "learning/window_layout.h"

namespace gui {

// The tutor speaks through whatever the main window speaks through, while its speech is on.
class TutorView::MainWindowSpeech : public speech::RequestSink {
public:
    explicit MainWindowSpeech(editor::TForm1& form) : form_(form) {}
    void submit(const speech::Request& request) override { form_.speak(request); }

private:
    editor::TForm1& form_;
};

TutorView::TutorView(QWidget* parent, learning::TutorKind kind, editor::TForm1& mainWindow,
                     QtKeyboard& keyboard, ui::Dialogs* dialogs)
    : frame_(parent, learning::tutorLayout(kind), keyboard) {
    QDialog* dialog = frame_.dialog();
    if (dialogs == nullptr) {
        ownDialogs_ = std::make_unique<QtDialogs>(dialog);
        dialogs = ownDialogs_.get();
    }
    speech_ = std::make_unique<MainWindowSpeech>(mainWindow);

    QVBoxLayout* layout = frame_.layout();
    const std::vector<learning::TutorMenuEntry> table = learning::tutorMenuTable(kind);
    frame_.buildMenu(std::span<const learning::TutorMenuEntry>(table));

    auto* top = new QHBoxLayout;
    QtLabel& label1 = frame_.label("Label1");
    QtLabel& label2 = frame_.label("Label2");
    top->addWidget(label1.widget(), 1);
    top->addWidget(label2.widget());
    layout->addLayout(top);

    QtMemo& memo1 = frame_.memo("Memo1");
    layout->addWidget(memo1.widget());
    QtMemo& memo2 = frame_.memo("Memo2");
    layout->addWidget(memo2.widget(), 2);
    QtMathView& image1 = frame_.picture("Image1");
    layout->addWidget(image1.widget(), 1);

    auto* buttons = new QHBoxLayout;
    QtButton& button1 = frame_.button("Button1");
    QtButton& button2 = frame_.button("Button2");
    buttons->addWidget(button1.widget());
    buttons->addWidget(button2.widget());
    layout->addLayout(buttons);

    timer_ = std::make_unique<QtTimer>(dialog);
    learning::TutorHost host{[&mainWindow] { return mainWindow.chordInput(); },
                             [&mainWindow] { return mainWindow.widgets().Timer1.interval(); },
                             [&mainWindow] { return mainWindow.speechOn(); },
                             mainWindow.environment().programDirectory.string()};
    logic_ = std::make_unique<learning::TutorWindow>(
        kind,
        learning::TutorWidgets{frame_.window(), frame_.modal(), frame_.menu(), memo1, memo2, image1,
                               label1, label2, button1, button2, *timer_},
        *dialogs, speech_.get(), std::move(host));
    frame_.finish();
}

TutorView::~TutorView() {
    // Adapters before the logic; the dialog goes with its parent window.
    frame_.release();
    timer_.reset();
    logic_.reset();
}

}  // namespace gui
