#pragma once

// The speech reader: the one place where notation becomes speech for the main window, the
// structure view, the decomposition window and the tutors. Each request interrupts what is
// being spoken; "error" requests are spoken verbatim and waited for, "all" requests speak the
// whole rendered line at the request's rate, every other mode speaks the last token only.

#include <memory>
#include <string>
#include <string_view>

#include "speech/engine.h"
#include "speech/speech_request.h"

namespace speech {

// Whether speech is on. The main window owns the state (SpeechSwitch); the reader only asks.
class SpeechGate {
public:
    virtual ~SpeechGate() = default;
    virtual bool speechOn() const = 0;
};

// The words the reader hands to the engine for `mode` and `text`: the text itself for
// "error", " cancellato " and the token for "canc", the rendering's spoken words otherwise
// (see render()), with their tokens. Empty: nothing is said.
SpokenText spokenFor(std::string_view mode, std::string_view text);
// The same words without their tokens.
std::string wordsFor(std::string_view mode, std::string_view text);

class SpeechReader final : public RequestSink {
public:
    // `engine` may be null (creation failed): every request then goes by silently. `gate`
    // (not owned, must outlive the reader) may be null, meaning speech is always on.
    SpeechReader(std::unique_ptr<Engine> engine, const SpeechGate* gate);

    // Handles the request at once. Returns while the engine speaks, except for "error"
    // requests, which return when their message has been spoken.
    void submit(const Request& request) override;

    Engine* engine() const { return engine_.get(); }

private:
    std::unique_ptr<Engine> engine_;
    const SpeechGate* gate_;
};

}  // namespace speech
