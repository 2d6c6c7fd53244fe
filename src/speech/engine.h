#pragma once

// The speech engine: the few operations the workbench uses, with the engine's own blocking
// behaviour. synthesize() starts speaking what was queued and returns at once; synchronize()
// blocks until everything queued has been spoken; stop() cuts off current speech and discards
// what was queued. Backends: espeak-ng (Linux), ECI (Windows), and a recorder for tests.
//
// An engine instance is used from one thread (the window thread); backends that speak in the
// background keep their own threads. A null engine pointer stands for an engine that could not
// be created: callers skip every call then and the program goes on silent.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "speech/spoken_text.h"

namespace speech {

// Parameter values the workbench sets.
inline constexpr int kParamLanguageDialect = 9;
inline constexpr int kDialectStandardItalian = 0x50000;
inline constexpr int kVoiceActive = 0;
inline constexpr int kVoiceParamSpeed = 6;
inline constexpr int kDefaultSpeed = 50;

// Audio synthesised by an engine that writes to memory instead of a sound device.
struct Pcm {
    int sampleRate = 0;
    std::vector<std::int16_t> samples;  // mono
};

class Engine {
public:
    virtual ~Engine() = default;

    // Engine parameter (9 = language dialect). Returns the previous value, -1 when refused.
    virtual int setParam(int param, int value) = 0;
    // Parameter of a voice (voice 0 = the active voice; parameter 6 = speed). Returns the
    // previous value, -1 when refused.
    virtual int setVoiceParam(int voice, int param, int value) = 0;
    // Queues code page 1252 text.
    virtual bool addText(std::string_view text) = 0;
    // Queues rendered words. An engine that reads the joined words right may queue them as
    // text (the default); the others form their own input from the tokens.
    virtual bool addWords(const SpokenText& words) { return addText(words.text); }
    // Starts speaking the queued text; returns at once.
    virtual bool synthesize() = 0;
    // Blocks until everything queued has been spoken. A backend may give up (and return false)
    // when its audio output stops making progress: it never hangs the caller.
    virtual bool synchronize() = 0;
    // True while audio is being produced.
    virtual bool speaking() = 0;
    // Cuts off current speech and discards queued text.
    virtual bool stop() = 0;

    // The audio produced so far, for engines created to write to memory; empty otherwise.
    // Call after synchronize().
    virtual Pcm takeAudio() { return {}; }
};

enum class AudioOutput {
    Device,  // the sound device; speech is played in the background
    Memory,  // kept for takeAudio(); nothing is played
};

struct EngineOptions {
    std::filesystem::path programDirectory;  // where the engine's own files are looked up
    AudioOutput output = AudioOutput::Device;
};

// The platform's engine: ECI on Windows, espeak-ng where it was built in. Null when it cannot
// be created (the library is missing or fails to start, or no Italian voice is there).
std::unique_ptr<Engine> createEngine(const EngineOptions& options);

// What the platform's engine reads for rendered words, piece by piece of synthesis, in the
// engine's own encoding: for espeak-ng UTF-8, the tokens kept apart, each letter as the voice
// names it, the first piece one short phrase; for ECI code page 1252, the tokens kept apart,
// in one piece. Nullopt when this build or machine has no engine.
std::optional<std::vector<std::string>> engineInput(const SpokenText& words);

// Whether speech can start: the backend's own check. For ECI, the engine library and its three
// files beside the program; for espeak-ng, the library starts and has the Italian voice.
bool speechAvailable(const std::filesystem::path& programDirectory);

// Sets a freshly created engine to standard Italian at the default speed. Returns the message
// to show when the engine could not be created (`engine` null), nothing otherwise.
std::optional<std::string> prepareEngine(Engine* engine);

// Reads a speech rate text ("50"): 50 when empty or not a number, else clamped to the
// engine's range 0..250.
int speedFromRate(std::string_view rate);

}  // namespace speech
