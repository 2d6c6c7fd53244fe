#include "speech/speech_reader.h"

#include "speech/messages.h"
#include "speech/rendering.h"

namespace speech {

SpokenText spokenFor(std::string_view mode, std::string_view text) {
    if (mode == kModeError) {
        return SpokenText::words(text);
    }
    Rendering r = render(mode, text);
    SpokenText words{std::move(r.spoken), std::move(r.spokenTokens)};
    if (mode == kModeCanc && !words.text.empty()) {
        words.prepend(messages::kDeleted);
    }
    return words;
}

std::string wordsFor(std::string_view mode, std::string_view text) {
    return spokenFor(mode, text).text;
}

SpeechReader::SpeechReader(std::unique_ptr<Engine> engine, const SpeechGate* gate)
    : engine_(std::move(engine)), gate_(gate) {}

// The request's working directory is not applied: the engine's files are found through the
// program directory it was created with, and the process's current directory is left alone.
void SpeechReader::submit(const Request& request) {
    if ((gate_ != nullptr && !gate_->speechOn()) || request.text.empty() || !engine_) {
        return;
    }
    if (engine_->speaking()) {
        engine_->stop();
    }
    if (request.mode == kModeError) {
        engine_->setVoiceParam(kVoiceActive, kVoiceParamSpeed, kDefaultSpeed);
        engine_->addText(request.text);
        engine_->synthesize();
        engine_->synchronize();
        return;
    }
    const SpokenText words = spokenFor(request.mode, request.text);
    if (words.text.empty()) {
        return;  // the request only silenced what was being spoken
    }
    if (request.mode == kModeAll) {
        engine_->setParam(kParamLanguageDialect, kDialectStandardItalian);
        engine_->setVoiceParam(kVoiceActive, kVoiceParamSpeed, speedFromRate(request.rate));
    } else {
        engine_->setVoiceParam(kVoiceActive, kVoiceParamSpeed, kDefaultSpeed);
    }
    engine_->addWords(words);
    engine_->synthesize();
}

}  // namespace speech
