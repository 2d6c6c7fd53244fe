#pragma once

// The calculation sheet's own voice: its own engine instance and a small word table for the
// sheet's messages (expression, result, right or wrong, remainder). The first character of a
// message says what it is: 'E' expression, 'R' result ('E' after it: right), 'K' mistaken,
// 'Q' remainder, '@' a message to wait for.

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

    // Speaks a message when the sheet's speech is on. Interrupts what is being spoken; waits
    // until expression, result and '@' messages have been spoken.
    void speak(std::string_view message);

    // The sheet's menu entry ("Disattivasintesivocale1"): on at creation.
    void toggle();
    bool on() const { return on_; }
    std::string_view menuCaption() const;

    Engine* engine() const { return engine_.get(); }

private:
    std::unique_ptr<Engine> engine_;
    bool on_ = true;
};

}  // namespace speech
