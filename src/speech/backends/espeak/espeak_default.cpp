// The platform's engine where espeak-ng was found.

#include "speech/backends/espeak/espeak_engine.h"
#include "speech/backends/espeak/espeak_library.h"
#include "speech/engine.h"

namespace speech {

std::unique_ptr<Engine> createEngine(const EngineOptions& options) {
    return EspeakEngine::create(options);
}

std::optional<std::vector<std::string>> engineInput(const SpokenText& words) {
    if (!EspeakLibrary::instance().start({})) {
        return std::nullopt;
    }
    return EspeakEngine::inputFor(words);
}

bool speechAvailable(const std::filesystem::path& programDirectory) {
    return EspeakLibrary::instance().start(programDirectory);
}

}  // namespace speech
