#pragma once

// Speech on and off in the main window: the state, the caption of the menu entry
// ("Attivasintesivocale1") and the speech state label. The window owns one and copies the
// captions into its widgets after each change; the speech reader asks it whether to speak.

#include <string>

#include "speech/speech_reader.h"
#include "speech/speech_request.h"

namespace speech {

class SpeechSwitch final : public SpeechGate {
public:
    // Off, with an empty caption and label, until start() runs.
    SpeechSwitch() = default;

    // The state at the window's first activation: on when speech is available (the backend's
    // check, see speechAvailable()); otherwise off with the menu entry emptied and disabled.
    void start(bool available);

    // The menu entry: switches speech off or on. The confirmation is sent to `reader` while
    // speech is still on, so switching off is heard too. Does nothing while the entry is
    // disabled.
    void toggle(RequestSink& reader, const std::string& programDirectory);

    bool speechOn() const override { return on_; }
    const std::string& menuCaption() const { return caption_; }
    bool menuEnabled() const { return enabled_; }
    const std::string& statusText() const { return status_; }

private:
    bool on_ = false;
    bool enabled_ = false;
    std::string caption_;
    std::string status_;
};

}  // namespace speech
