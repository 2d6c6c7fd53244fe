#pragma once

// What a tutor window takes from the main window, on either toolkit: the speech it speaks
// through and the state of the main window it follows.

#include "editor/window/main_window.h"
#include "learning/tutor_window.h"
#include "speech/speech_request.h"

namespace editor {

// The tutor speaks through whatever the main window speaks through, while its speech is on.
class MainWindowSpeech : public speech::RequestSink {
public:
    explicit MainWindowSpeech(TForm1& form) : form_(form) {}
    void submit(const speech::Request& request) override { form_.speak(request); }

private:
    TForm1& form_;
};

// The main window's input mode, speech interval, speech switch and program folder, read when
// the tutor asks.
learning::TutorHost tutorHost(const TForm1& mainWindow);

}  // namespace editor
