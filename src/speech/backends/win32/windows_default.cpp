// The platform's engine on Windows: ECI beside the program, else a SAPI 5 Italian voice.

#include "speech/backends/eci/eci_engine.h"
#include "speech/backends/sapi/sapi_engine.h"
#include "speech/backends/win32/engine_choice.h"
#include "speech/engine.h"

namespace speech {

SapiVoices systemSapiVoices() {
    return {[] { return SapiEngine::italianVoicePresent(); },
            []() -> std::unique_ptr<Engine> { return SapiEngine::createItalian(); }};
}

std::unique_ptr<Engine> chooseEngine(const EngineOptions& options, const SapiVoices& sapi) {
    if (options.output != AudioOutput::Device) {
        return nullptr;  // both engines only speak aloud
    }
    if (EciEngine::filesPresent(options.programDirectory)) {
        if (auto eci = EciEngine::create(options.programDirectory)) {
            return eci;
        }
    }
    return sapi.open();
}

bool engineAvailable(const std::filesystem::path& programDirectory, const SapiVoices& sapi) {
    return EciEngine::filesPresent(programDirectory) || sapi.present();
}

std::unique_ptr<Engine> createEngine(const EngineOptions& options) {
    return chooseEngine(options, systemSapiVoices());
}

// Both engines read code page 1252 text (SAPI gets it as UTF-16), the tokens kept apart, in
// one piece.
std::optional<std::vector<std::string>> engineInput(const SpokenText& words) {
    const SpokenText separated = separatedTokens(words);
    if (separated.text.empty()) {
        return std::vector<std::string>{};
    }
    return std::vector<std::string>{separated.text};
}

bool speechAvailable(const std::filesystem::path& programDirectory) {
    return engineAvailable(programDirectory, systemSapiVoices());
}

}  // namespace speech
