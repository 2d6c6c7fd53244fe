#pragma once

// The calculation sheet's own voice: its own engine instance and a small word table for the
// sheet's messages (expression, result, right or wrong, remainder). The first character of a
// message says what it is: 'E' expression, 'R' result ('E' after it: right), 'K' mistaken,
// 'Q' remainder, '@' a message to wait for.

#include <chrono>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "speech/engine.h"

namespace speech {

struct SheetWords {
    std::string words;
    bool wait = false;  // expression and result messages are spoken to the end
};

// The words of a sheet message; nullopt when the message says nothing (empty, or only "="
// between blanks).
std::optional<SheetWords> sheetWords(std::string_view message);

class SheetVoice {
public:
    // `engine` may be null (creation failed): the voice is then silent.
    explicit SheetVoice(std::unique_ptr<Engine> engine);

    // Speaks a message when the sheet's speech is on, interrupting what is being said. The
    // expression, result and '@' messages are spoken to the end: while one of them is still
    // being said, later messages wait their turn and pump() says them once it has ended. The
    // caller never waits for the voice.
    void speak(std::string_view message);
    // Says `words` as they are written (why a key did nothing, "Overflow"), not through the
    // word table, in their turn like a message.
    void sayWords(std::string_view words);
    // Says the messages held back as far as the voice has finished; true while some still
    // wait (the sheet's deferred-speech timer calls it until then).
    bool pump();
    bool pending() const { return !queue_.empty(); }

    // The sheet's menu entry ("Disattivasintesivocale1"): on at creation.
    void toggle();
    void setOn(bool on);
    bool on() const { return on_; }
    std::string_view menuCaption() const;

    Engine* engine() const { return engine_.get(); }

    // A message waited for holds the others back at most this long, should the audio output
    // stop making progress.
    static constexpr std::chrono::seconds kLongestWait{30};

private:
    void say(const SheetWords& words);
    bool holding();

    std::unique_ptr<Engine> engine_;
    bool on_ = true;
    bool waiting_ = false;  // the last message said is one to be spoken to the end
    std::chrono::steady_clock::time_point waitStart_;
    std::deque<SheetWords> queue_;
};

}  // namespace speech
