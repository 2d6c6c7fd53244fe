// The platform's engine. The ECI backend is compiled on Windows only, the espeak-ng backend
// where the library was found; elsewhere there is no engine and speech stays off.

#include "speech/engine.h"

#if defined(_WIN32)
#include "speech/backends/eci/eci_engine.h"
#elif defined(TATTILO_HAVE_ESPEAK)
#include "speech/backends/espeak/espeak_engine.h"
#include "speech/backends/espeak/espeak_library.h"
#endif

namespace speech {

std::unique_ptr<Engine> createEngine(const EngineOptions& options) {
#if defined(_WIN32)
    if (options.output != AudioOutput::Device) {
        return nullptr;  // the ECI functions the workbench uses only speak aloud
    }
    return EciEngine::create(options.programDirectory);
#elif defined(TATTILO_HAVE_ESPEAK)
    return EspeakEngine::create(options);
#else
    (void)options;
    return nullptr;
#endif
}

std::optional<std::vector<std::string>> engineInput(const SpokenText& words) {
#if defined(_WIN32)
    const SpokenText separated = separatedTokens(words);
    if (separated.text.empty()) {
        return std::vector<std::string>{};
    }
    return std::vector<std::string>{separated.text};
#elif defined(TATTILO_HAVE_ESPEAK)
    if (!EspeakLibrary::instance().start({})) {
        return std::nullopt;
    }
    return EspeakEngine::inputFor(words);
#else
    (void)words;
    return std::nullopt;
#endif
}

bool speechAvailable(const std::filesystem::path& programDirectory) {
#if defined(_WIN32)
    return EciEngine::filesPresent(programDirectory);
#elif defined(TATTILO_HAVE_ESPEAK)
    return EspeakLibrary::instance().start(programDirectory);
#else
    (void)programDirectory;
    return false;
#endif
}

}  // namespace speech
