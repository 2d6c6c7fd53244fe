// A build without a speech library: there is no engine and speech stays off.

#include "speech/engine.h"

namespace speech {

std::unique_ptr<Engine> createEngine(const EngineOptions&) {
    return nullptr;
}

std::optional<std::vector<std::string>> engineInput(const SpokenText&) {
    return std::nullopt;
}

bool speechAvailable(const std::filesystem::path&) {
    return false;
}

}  // namespace speech
