#include "speech/sheet_voice.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "speech/messages.h"
#include "ui/text_trim.h"

namespace speech {
namespace {

char lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

std::optional<SheetWords> sheetWords(std::string_view message) {
    if (message.empty() || ui::trimBlanks(message) == "=") {
        return std::nullopt;
    }
    std::string text;
    text.reserve(message.size());
    for (std::size_t i = 0; i < message.size(); ++i) {
        if (message[i] == ' ' && i + 1 < message.size() && message[i + 1] == ' ') {
            continue;  // one blank of each run is enough
        }
        text += message[i];
    }

    SheetWords out;
    const char kind = text[0];
    std::size_t from = 0;
    if (kind == 'E') {
        out.words = messages::kSheetExpression;
        from = 2;
    } else if (kind == 'R') {
        out.words = messages::kSheetResult;
        out.words +=
            text.size() > 1 && text[1] == 'E' ? messages::kSheetRight : messages::kSheetWrong;
        from = 2;
    } else if (kind == 'K') {
        out.words = messages::kSheetMistaken;
        from = 1;
    } else if (kind == 'Q') {
        out.words = messages::kSheetRemainder;
        from = 1;
    }
    out.wait = kind == '@' || kind == 'E' || kind == 'R';

    static constexpr std::string_view kFrom = "abcdefghij#";
    static constexpr std::string_view kTo = "1234567890 ";
    // The signs said in words; the at sign says nothing.
    static constexpr std::pair<char, std::string_view> kWords[] = {
        {'@', ""},
        {'-', " meno"},
        {'(', " per "},
        {'/', " diviso "},
        {',', " virgola "},
        {' ', " spazio "},
        {'?', " aperta parentesi tonda "},
        {'*', " chiusa parentesi tonda "},
    };
    for (std::size_t i = from; i < text.size(); ++i) {
        const char c = text[i];
        if (const std::size_t k = kFrom.find(lower(c)); k != std::string_view::npos) {
            out.words += kTo[k];
            continue;
        }
        const auto word = std::find_if(std::begin(kWords), std::end(kWords),
                                       [c](const auto& w) { return w.first == c; });
        if (word != std::end(kWords)) {
            out.words += word->second;
        } else {
            out.words += c;
        }
    }
    return out;
}

SheetVoice::SheetVoice(std::unique_ptr<Engine> engine) : engine_(std::move(engine)) {}

void SheetVoice::speak(std::string_view message) {
    if (!on_ || !engine_) {
        return;
    }
    std::optional<SheetWords> words = sheetWords(message);
    if (!words) {
        return;
    }
    if (!queue_.empty() || holding()) {
        queue_.push_back(std::move(*words));
        return;
    }
    say(*words);
}

void SheetVoice::sayWords(std::string_view words) {
    if (!on_ || !engine_ || words.empty()) {
        return;
    }
    SheetWords plain{std::string(words), false};
    if (!queue_.empty() || holding()) {
        queue_.push_back(std::move(plain));
        return;
    }
    say(plain);
}

bool SheetVoice::pump() {
    while (!queue_.empty() && on_ && engine_) {
        if (holding()) {
            return true;
        }
        const SheetWords words = std::move(queue_.front());
        queue_.pop_front();
        say(words);
    }
    queue_.clear();
    return false;
}

bool SheetVoice::holding() {
    if (!waiting_) {
        return false;
    }
    if (engine_->speaking() && std::chrono::steady_clock::now() - waitStart_ < kLongestWait) {
        return true;
    }
    waiting_ = false;
    return false;
}

void SheetVoice::say(const SheetWords& words) {
    if (engine_->speaking()) {
        engine_->stop();
    }
    waiting_ = false;
    if (words.words.empty()) {
        return;
    }
    engine_->setVoiceParam(kVoiceActive, kVoiceParamSpeed, kDefaultSpeed);
    engine_->addText(words.words);
    engine_->synthesize();
    if (words.wait) {
        waiting_ = true;
        waitStart_ = std::chrono::steady_clock::now();
    }
}

void SheetVoice::toggle() {
    setOn(!on_);
}

void SheetVoice::setOn(bool on) {
    on_ = on;
    if (!on_) {
        queue_.clear();
    }
}

std::string_view SheetVoice::menuCaption() const {
    return on_ ? messages::kCaptionSwitchOff : messages::kCaptionSwitchOn;
}

}  // namespace speech
