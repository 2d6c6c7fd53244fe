#include "speech/engine.h"

#include <algorithm>
#include <charconv>

#include "speech/messages.h"

namespace speech {

std::optional<std::string> prepareEngine(Engine* engine) {
    if (engine == nullptr) {
        return std::string(messages::kEngineFailed);
    }
    engine->setParam(kParamLanguageDialect, kDialectStandardItalian);
    engine->setVoiceParam(kVoiceActive, kVoiceParamSpeed, kDefaultSpeed);
    return std::nullopt;
}

int speedFromRate(std::string_view rate) {
    int value = 0;
    const char* first = rate.data();
    const char* last = first + rate.size();
    const auto [ptr, ec] = std::from_chars(first, last, value);
    if (rate.empty() || ec != std::errc() || ptr != last) {
        return kDefaultSpeed;
    }
    return std::clamp(value, 0, 250);
}

}  // namespace speech
