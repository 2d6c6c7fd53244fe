#include "win32gui/learning/tutor_view.h"

#include <vector>

#include "learning/window_layout.h"

namespace win32gui {

// The tutor speaks through whatever the main window speaks through, while its speech is on.
class TutorView::MainWindowSpeech : public speech::RequestSink {
public:
    explicit MainWindowSpeech(editor::TForm1& form) : form_(form) {}
    void submit(const speech::Request& request) override { form_.speak(request); }

private:
    editor::TForm1& form_;
};

TutorView::TutorView(HWND owner, learning::TutorKind kind, editor::TForm1& mainWindow,
                     ui::Dialogs& dialogs, ui::Clipboard& clipboard, const MathFonts& fonts)
    : frame_(
          owner, learning::tutorLayout(kind), [&clipboard] { return clipboard.text(); }, &fonts),
      speech_(std::make_unique<MainWindowSpeech>(mainWindow)) {
    const std::vector<learning::TutorMenuEntry> table = learning::tutorMenuTable(kind);
    frame_.buildMenu(std::span<const learning::TutorMenuEntry>(table));
    learning::TutorHost host{[&mainWindow] { return mainWindow.chordInput(); },
                             [&mainWindow] { return mainWindow.widgets().Timer1.interval(); },
                             [&mainWindow] { return mainWindow.speechOn(); },
                             mainWindow.environment().programDirectory.string()};
    LearningWindow& f = frame_;
    logic_ = std::make_unique<learning::TutorWindow>(
        kind,
        learning::TutorWidgets{f.window(), f.modal(), f.menu(), f.box("Memo1"), f.box("Memo2"),
                               f.picture("Image1"), f.control("Label1"), f.control("Label2"),
                               f.control("Button1"), f.control("Button2"), timer_},
        dialogs, speech_.get(), std::move(host));
    frame_.finish();
}

TutorView::~TutorView() {
    // Adapters before the logic; the window last.
    frame_.release();
    timer_.setEnabled(false);
    logic_.reset();
}

}  // namespace win32gui
