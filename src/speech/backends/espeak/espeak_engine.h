#pragma once

// The engine on Linux: espeak-ng with its Italian voice. Each instance has two threads of its
// own, so synthesize() returns at once and typing never waits: one synthesises, one plays.
// stop() takes effect at once (speaking() is false when it returns) and both threads drop the
// rest within one chunk of audio (20 ms).
//
// Rendered words are read token by token (see spoken_text.h): a blank keeps each token apart
// from the next, so that espeak-ng says the digits of one number as that number and never
// reads a letter together with the word before it ("di" + "x" is "di ics", not the word
// "dix"), and each letter is handed over as the voice names it on its own (see
// EspeakLibrary::inputText()). The library synthesises one
// text at a time for the whole process, far faster than it is heard. An utterance is therefore
// synthesised a piece at a time, each piece's audio handed to the player as it comes: the
// first piece is one short phrase, so that its sound is ready within milliseconds; each later
// piece is synthesised while a few seconds of audio still wait to be played, so that playback
// never waits for it, an instance playing a long line never holds up the other instance, and
// memory stays bounded.
//
// Speed: the workbench's speed scale (30 slow .. 50 normal .. 90 fast; the engine accepts
// 0..250) maps to words per minute as speed * 3.5, clamped to espeak-ng's 80..450: 30 gives
// 105, 50 gives 175 (espeak-ng's own normal rate), 90 gives 315.
//
// Without a sound output (see soundOutputPresent()) the engine still synthesises, then drops
// the audio: nothing is heard, nothing waits, nothing is printed. An engine created for memory
// keeps the audio for takeAudio() instead.
//
// For checking what the program says where nobody can listen: when the environment variable
// TATTILO_SPEECH_WAV_DIR names a folder, an engine that speaks to the device also writes each
// utterance there, as it was played (cut short when stopped), into the next free
// "utterance-NNNN.wav" with its words in "utterance-NNNN.txt" (UTF-8, with the blanks that
// keep the tokens apart). Written on the playing thread: typing never waits for it.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "speech/engine.h"

namespace speech {

class SoundOutput;

// Words per minute for an engine speed.
int wordsPerMinute(int speed);

class EspeakEngine final : public Engine {
public:
    // Opens the output of an engine that speaks aloud, on the engine's playing thread; null
    // when there is none (the audio is then dropped).
    using OutputOpener = std::function<std::unique_ptr<SoundOutput>(int sampleRate)>;

    // Null when the library cannot start or has no Italian voice.
    static std::unique_ptr<EspeakEngine> create(const EngineOptions& options);
    // The same, with another output than the sound device for AudioOutput::Device.
    static std::unique_ptr<EspeakEngine> create(const EngineOptions& options,
                                                OutputOpener openOutput);

    // The text the library reads for rendered words in the Italian voice, in pieces of
    // synthesis (UTF-8): the tokens kept apart, each letter as the voice names it, the first
    // piece one short phrase. Empty when the library cannot start.
    static std::vector<std::string> inputFor(const SpokenText& words);

    ~EspeakEngine() override;
    EspeakEngine(const EspeakEngine&) = delete;
    EspeakEngine& operator=(const EspeakEngine&) = delete;

    int setParam(int param, int value) override;
    int setVoiceParam(int voice, int param, int value) override;
    bool addText(std::string_view text) override;
    bool addWords(const SpokenText& words) override;
    bool synthesize() override;
    bool synchronize() override;
    bool speaking() override;
    bool stop() override;
    Pcm takeAudio() override;

private:
    using Clock = std::chrono::steady_clock;

    struct Job {
        std::vector<SpokenText> pieces;
        std::string voice;
        int wordsPerMinute = 0;
        unsigned long generation = 0;
        unsigned long serial = 0;  // one per utterance
    };

    // Synthesised audio waiting to be played, as the library made it.
    struct Block {
        std::vector<std::int16_t> samples;
        unsigned long generation = 0;
        unsigned long serial = 0;
        bool last = false;                         // no samples: the end of its utterance
        std::shared_ptr<const std::string> words;  // of the utterance, UTF-8
    };

    // The audio of one utterance as it was played, for the utterance folder.
    struct Recording {
        unsigned long serial = 0;
        unsigned long generation = 0;
        std::shared_ptr<const std::string> words;  // null: nothing being recorded
        std::vector<std::int16_t> samples;
    };

    EspeakEngine(AudioOutput output, int sampleRate, std::filesystem::path wavFolder,
                 OutputOpener openOutput);
    void synthesiseJobs();
    void playBlocks();
    std::size_t play(const Block& block, std::unique_ptr<SoundOutput>& device);
    bool current(unsigned long generation);
    void finishRecording(Recording& recording);
    void writeUtterance(const std::string& words, std::vector<std::int16_t> samples);

    const AudioOutput output_;
    const int sampleRate_;
    const std::filesystem::path wavFolder_;  // empty: utterances are not written
    const OutputOpener openOutput_;
    int nextUtterance_ = 1;  // the player's

    std::mutex mutex_;
    std::condition_variable changed_;
    SpokenText pending_;  // added, not yet synthesised; tokens kept apart
    std::deque<Job> jobs_;
    std::deque<Block> blocks_;
    std::size_t queuedSamples_ = 0;  // in blocks_
    bool synthBusy_ = false;         // the synthesiser is on a job
    unsigned long synthGeneration_ = 0;
    bool playBusy_ = false;  // the player is on a block, or waits for it to be heard
    unsigned long playGeneration_ = 0;
    unsigned long generation_ = 0;  // raised by stop(): older jobs and blocks are dropped
    unsigned long serial_ = 0;
    Clock::time_point lastActivity_;  // the last progress of either thread
    Clock::time_point playEnd_;       // when the audio written so far has been heard
    bool quit_ = false;
    int dialect_ = kDialectStandardItalian;
    int speed_ = kDefaultSpeed;
    Pcm audio_;

    std::thread synthesiser_;
    std::thread player_;  // only for the sound device
};

}  // namespace speech
