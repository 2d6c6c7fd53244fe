#include "speech/backends/espeak/espeak_library.h"

#include <espeak-ng/speak_lib.h>

#include <system_error>

namespace speech {
namespace {

// The sink of the synthesis running on this thread; the library calls back on the caller's
// thread in synchronous mode.
thread_local const EspeakLibrary::SampleSink* currentSink = nullptr;

int onSamples(short* wav, int count, espeak_EVENT* /*events*/) {
    if (wav == nullptr || count <= 0 || currentSink == nullptr) {
        return 0;
    }
    const bool more =
        (*currentSink)(reinterpret_cast<const std::int16_t*>(wav), static_cast<std::size_t>(count));
    return more ? 0 : 1;
}

}  // namespace

EspeakLibrary& EspeakLibrary::instance() {
    static EspeakLibrary library;
    return library;
}

EspeakLibrary::~EspeakLibrary() {
    if (started_) {
        espeak_Terminate();
    }
}

bool EspeakLibrary::start(const std::filesystem::path& programDirectory) {
    std::lock_guard lock(mutex_);
    if (tried_) {
        return started_;
    }
    tried_ = true;
    std::string dataPath;
    std::error_code ec;
    if (!programDirectory.empty() &&
        std::filesystem::is_directory(programDirectory / "espeak-ng-data", ec)) {
        dataPath = programDirectory.string();
    }
    // Synchronous output: the samples come back to us, and the library never opens a sound
    // device of its own (nor prints the audio library's complaints when there is none).
    const int rate = espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0,
                                       dataPath.empty() ? nullptr : dataPath.c_str(),
                                       espeakINITIALIZE_DONT_EXIT);
    if (rate <= 0) {
        return false;
    }
    if (espeak_SetVoiceByName("it") != EE_OK) {
        espeak_Terminate();
        return false;
    }
    voice_ = "it";
    espeak_SetSynthCallback(onSamples);
    sampleRate_ = rate;
    started_ = true;
    return true;
}

int EspeakLibrary::sampleRate() const {
    std::lock_guard lock(mutex_);
    return sampleRate_;
}

bool EspeakLibrary::synthesize(const std::string& utf8, const std::string& voice,
                               int wordsPerMinute, const SampleSink& sink) {
    std::lock_guard lock(mutex_);
    if (!started_) {
        return false;
    }
    if (voice != voice_) {
        if (espeak_SetVoiceByName(voice.c_str()) != EE_OK) {
            return false;
        }
        voice_ = voice;
    }
    espeak_SetParameter(espeakRATE, wordsPerMinute, 0);
    currentSink = &sink;
    const espeak_ERROR result = espeak_Synth(utf8.c_str(), utf8.size() + 1, 0, POS_CHARACTER, 0,
                                             espeakCHARS_UTF8, nullptr, nullptr);
    currentSink = nullptr;
    return result == EE_OK;
}

}  // namespace speech
