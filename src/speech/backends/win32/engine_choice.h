#pragma once

// Which engine speaks on Windows: ECI where "eci.dll" and its three files are beside the
// program and the library starts; else a SAPI 5 Italian voice; else none, and speech is off.
// An ECI whose files are there but which fails to start gives way to SAPI too, so a broken
// copy of the library never silences a machine that has an Italian voice.

#include <filesystem>
#include <functional>
#include <memory>

#include "speech/engine.h"

namespace speech {

// The Italian SAPI voice of the machine, or a stand-in for it.
struct SapiVoices {
    std::function<bool()> present;                  // an Italian voice is installed
    std::function<std::unique_ptr<Engine>()> open;  // an engine with it; null when it fails
};

// The machine's own SAPI voices.
SapiVoices systemSapiVoices();

// The engine for `options`, ECI first, then SAPI; null when neither starts. Only the sound
// device is supported.
std::unique_ptr<Engine> chooseEngine(const EngineOptions& options, const SapiVoices& sapi);

// Whether speech can start: the ECI files are beside the program or an Italian voice is there.
bool engineAvailable(const std::filesystem::path& programDirectory, const SapiVoices& sapi);

}  // namespace speech
