#pragma once

// The espeak-ng library keeps one synthesiser for the whole process (its state is global), so
// every engine instance goes through this one guard: the library is started once and one
// synthesis runs at a time. Audio comes back as samples; playing them is the engine's job.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "speech/spoken_text.h"

namespace speech {

class EspeakLibrary {
public:
    // Receives the samples of one synthesis chunk by chunk; returns false to abort it.
    using SampleSink = std::function<bool(const std::int16_t* samples, std::size_t count)>;

    static EspeakLibrary& instance();

    // Loads and starts the library the first time (later calls report the first result): with the
    // data folder "espeak-ng-data" beside the program when there is one, else the system's. True
    // when it started and has the Italian voice.
    bool start(const std::filesystem::path& programDirectory);

    int sampleRate() const;

    // The text the library reads for a piece of rendered words, in a voice ("it"): UTF-8, the
    // words and numbers as they are, each letter as the voice names it on its own, written in
    // the library's phoneme codes ("[['O:]]": the voice would read a lone "o" between words as
    // the word "o", not as the letter). Empty when the library is not started or refuses the
    // voice.
    std::string inputText(const SpokenText& piece, const std::string& voice);

    // Synthesises a piece of rendered words (read as inputText() gives) with a voice at a rate
    // in words per minute, handing the samples to `sink` as they come. Blocks other syntheses
    // meanwhile. False when the library is not started or refuses the text or voice; true also
    // when the sink aborted.
    bool synthesize(const SpokenText& piece, const std::string& voice, int wordsPerMinute,
                    const SampleSink& sink);

    EspeakLibrary(const EspeakLibrary&) = delete;
    EspeakLibrary& operator=(const EspeakLibrary&) = delete;

private:
    struct Functions;

    EspeakLibrary();
    ~EspeakLibrary();

    // With the mutex held.
    bool selectVoice(const std::string& voice);
    std::string formInput(const SpokenText& piece);
    const std::string& letterName(char letter);

    mutable std::mutex mutex_;
    std::unique_ptr<Functions> f_;
    bool tried_ = false;
    bool started_ = false;
    int sampleRate_ = 0;
    std::string voice_;
    // The phonemes of each letter said alone, by voice; filled as letters come.
    std::map<std::string, std::map<char, std::string>> letterNames_;
};

}  // namespace speech
