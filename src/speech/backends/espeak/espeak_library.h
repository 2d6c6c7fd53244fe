#pragma once

// The espeak-ng library keeps one synthesiser for the whole process (its state is global), so
// every engine instance goes through this one guard: the library is started once and one
// synthesis runs at a time. Audio comes back as samples; playing them is the engine's job.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>

namespace speech {

class EspeakLibrary {
public:
    // Receives the samples of one synthesis chunk by chunk; returns false to abort it.
    using SampleSink = std::function<bool(const std::int16_t* samples, std::size_t count)>;

    static EspeakLibrary& instance();

    // Starts the library the first time (later calls report the first result): with the data
    // folder "espeak-ng-data" beside the program when there is one, else the system's. True
    // when it started and has the Italian voice.
    bool start(const std::filesystem::path& programDirectory);

    int sampleRate() const;

    // Synthesises UTF-8 text with a voice ("it") at a rate in words per minute, handing the
    // samples to `sink` as they come. Blocks other syntheses meanwhile. False when the library
    // is not started or refuses the text or voice; true also when the sink aborted.
    bool synthesize(const std::string& utf8, const std::string& voice, int wordsPerMinute,
                    const SampleSink& sink);

    EspeakLibrary(const EspeakLibrary&) = delete;
    EspeakLibrary& operator=(const EspeakLibrary&) = delete;

private:
    EspeakLibrary() = default;
    ~EspeakLibrary();

    mutable std::mutex mutex_;
    bool tried_ = false;
    bool started_ = false;
    int sampleRate_ = 0;
    std::string voice_;
};

}  // namespace speech
