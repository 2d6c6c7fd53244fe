// The platform's engine on Windows: the ECI library beside the program.

#include "speech/backends/eci/eci_engine.h"
#include "speech/engine.h"

namespace speech {

std::unique_ptr<Engine> createEngine(const EngineOptions& options) {
    if (options.output != AudioOutput::Device) {
        return nullptr;  // the ECI functions the workbench uses only speak aloud
    }
    return EciEngine::create(options.programDirectory);
}

std::optional<std::vector<std::string>> engineInput(const SpokenText& words) {
    const SpokenText separated = separatedTokens(words);
    if (separated.text.empty()) {
        return std::vector<std::string>{};
    }
    return std::vector<std::string>{separated.text};
}

bool speechAvailable(const std::filesystem::path& programDirectory) {
    return EciEngine::filesPresent(programDirectory);
}

}  // namespace speech
